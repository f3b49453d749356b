#include "liveframe.h"

#include "converterprotocol.h"
#include "crc8.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 SweepPeriodMs = 4000;    // closed -> open -> closed
constexpr int FullOpenTenths = 900;
constexpr int Line1Closed = 102;          // 0.5 V
constexpr int Line1Span = 819;            // up to 4.5 V
constexpr double O2PeriodMs = 1200.0;
constexpr double Pi = 3.14159265358979323846;

int toReading10(double volts)
{
    return std::clamp(int(std::lround(volts / 5.0 * 1024.0)), 0, 1023);
}

void putWord(QByteArray& frame, int index, quint16 word)
{
    frame[2 * index] = char(word & 0xFF);
    frame[2 * index + 1] = char(word >> 8);
}

}  // namespace

QByteArray encodeLiveFrame(const LiveFrameValues& v, bool corruptCheck)
{
    QByteArray frame(ConverterProtocol::FrameSize, '\0');
    const quint16 words[] = {v.rawOutput, v.rawAngle, v.rawIat, v.rawAt, v.rawLine1,
                             v.rawLine2, v.rawRef, v.rawAux, v.rawO2};
    for (int i = 0; i < 9; ++i)
        putWord(frame, i, words[i]);
    std::uint8_t check = crc8(reinterpret_cast<const std::uint8_t*>(frame.constData()), 18);
    if (corruptCheck)
        check = std::uint8_t(~check);
    frame[18] = char(check);
    return frame;
}

int throttleAngleAt(qint64 deviceMs)
{
    const qint64 half = SweepPeriodMs / 2;
    qint64 phase = deviceMs % SweepPeriodMs;
    if (phase < 0)
        phase += SweepPeriodMs;
    const qint64 rising = phase < half ? phase : SweepPeriodMs - phase;
    return int(rising * FullOpenTenths / half);
}

int sensorLine1At(qint64 deviceMs)
{
    return Line1Closed + throttleAngleAt(deviceMs) * Line1Span / FullOpenTenths;
}

LiveFrameValues liveValuesAt(qint64 deviceMs, const SignalInputs& inputs)
{
    const double t = double(deviceMs);
    LiveFrameValues v;
    const int angle = throttleAngleAt(deviceMs);
    v.rawAngle = quint16(angle);
    v.rawLine1 = quint16(sensorLine1At(deviceMs));
    v.rawLine2 = quint16(Line1Closed + Line1Span - (v.rawLine1 - Line1Closed));  // the mirrored track

    // The output follows the sensor: its 8-bit reading, turned by the angle
    // setting (tenths of a degree -> counts) and moved by the correction.
    const int sensor8 = v.rawLine1 >> 2;
    const int shift = inputs.angleSetting * 255 / FullOpenTenths;
    v.rawOutput = quint16(std::clamp(sensor8 + shift + inputs.correction, 0, 255));

    // A narrow-band sensor: it flips between rich (~0.83 V) and lean (~0.07 V)
    // around 0.45 V, as a closed loop makes it do.
    const double swing = std::tanh(3.0 * std::sin(2.0 * Pi * t / O2PeriodMs));
    v.rawO2 = quint16(toReading10(0.45 + 0.38 * swing));

    // Slow, small drifts on the other inputs.
    v.rawIat = quint16(toReading10(2.10 + 0.05 * std::sin(2.0 * Pi * t / 60000.0)));
    v.rawAt = quint16(std::clamp(int(std::lround((3.20 + 0.02 * std::sin(2.0 * Pi * t / 700.0)) / 5.0 * 256.0)), 0, 255));
    v.rawRef = quint16(toReading10(4.96 + 0.01 * std::sin(2.0 * Pi * t / 900.0)));
    v.rawAux = inputs.counter;
    return v;
}
