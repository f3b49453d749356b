#pragma once

#include "crc8.h"
#include "logcolumns.h"

#include <QByteArray>
#include <QIODevice>

#include <array>
#include <cstdint>

// A recording whose every column differs and covers its field's whole width:
// the unsigned bytes, RPM's 16 bits and both signs of the correction columns.
inline LogColumns patternedRecording(qsizetype n)
{
    LogColumns c;
    for (qsizetype k = 0; k < n; ++k) {
        const auto i = static_cast<qint32>(k);
        c.colConverter.append(i % 256);
        c.colMarker.append((i * 7 + 1) % 256);
        c.colEnrichment.append((i * 11 + 2) % 256);
        c.colMaf.append((i * 13 + 3) % 256);
        c.colTps.append((i * 17 + 4) % 256);
        c.colRpm.append((i * 257 + 5) % 65536);
        c.colO2.append((i * 19 + 6) % 256);
        c.colCorr.append((i * 23) % 511 - 255);
        c.colIat.append((i * 29 + 7) % 256);
        c.colEct.append((i * 31 + 8) % 256);
        c.colO2sm.append((i * 37 + 9) % 256);
        c.colLogCorr.append(255 - (i * 41) % 511);
    }
    return c;
}

// A 15-byte header in the current form, or with another format byte.
inline QByteArray logHeader(quint8 rangeLow, quint8 rangeHigh, quint8 format = 1)
{
    QByteArray h(15, '\0');
    h[0] = char(rangeLow);
    h[1] = char(rangeHigh);
    h.replace(2, 5, "ZaNtO");
    h[10] = char(format);
    return h;
}

// A live frame of nine words with its check byte.
inline std::array<std::uint8_t, 19> liveFrame(const std::array<std::uint16_t, 9>& words)
{
    std::array<std::uint8_t, 19> f{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        f[2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
        f[2 * i + 1] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    f[18] = crc8(f.data(), 18);
    return f;
}

// Hands out its bytes, then fails every further read the way a disk or a
// network share does part way through a file.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray data) : bytes(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (position >= bytes.size()) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 n = std::min<qint64>(max, bytes.size() - position);
        std::copy_n(bytes.constData() + position, n, data);
        position += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes;
    qint64 position = 0;
};
