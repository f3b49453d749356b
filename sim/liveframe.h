#pragma once

#include <QByteArray>
#include <QtGlobal>

// The nine words of one live frame, in wire order after rawOutput/rawAngle:
// rawIat, rawAt, rawLine1, rawLine2, rawRef, rawAux, rawO2.
struct LiveFrameValues {
    quint16 rawOutput = 0;   // Converter output, its low byte is the output value
    quint16 rawAngle = 0;    // throttle angle, tenths of a degree, 0..900
    quint16 rawIat = 0;      // 10-bit
    quint16 rawAt = 0;       // 8-bit
    quint16 rawLine1 = 0;    // 10-bit
    quint16 rawLine2 = 0;    // 10-bit
    quint16 rawRef = 0;      // 10-bit
    quint16 rawAux = 0;      // frame counter
    quint16 rawO2 = 0;       // 10-bit oxygen sensor
};

// What the device's settings contribute to the signals.
struct SignalInputs {
    int angleSetting = 0;    // table entry 0 as a signed byte, tenths of a degree
    int correction = 0;      // last correction value, output counts
    quint16 counter = 0;     // frame number, goes into rawAux
};

// 19 bytes: the nine words little-endian and the CRC-8 of the 18 before it.
// A corrupt frame carries the complement of the right check byte.
QByteArray encodeLiveFrame(const LiveFrameValues& values, bool corruptCheck = false);

// The throttle as the device sees it at a moment of its clock: it sweeps
// 0..90 degrees and back every few seconds.
int throttleAngleAt(qint64 deviceMs);
// Track 1 of the throttle sensor (0.5..4.5 V as a 10-bit reading).
int sensorLine1At(qint64 deviceMs);

// Lifelike values at a moment of the device's clock: the throttle sweeping,
// the oxygen sensor swinging rich and lean around 0.45 V, the output
// following the sensor shifted by the angle setting and the correction.
LiveFrameValues liveValuesAt(qint64 deviceMs, const SignalInputs& inputs);
