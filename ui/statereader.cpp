#include "statereader.h"

void StateReader::need(qsizetype count) const
{
    if (bytes.size() - pos < count)
        throw StateReadError();
}

quint8 StateReader::readByte()
{
    need(1);
    return static_cast<quint8>(bytes.at(pos++));
}

qint32 StateReader::readLittleEndian32()
{
    need(4);
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<quint32>(static_cast<quint8>(bytes.at(pos + i))) << (8 * i);
    pos += 4;
    return static_cast<qint32>(value);
}

quint16 StateReader::readBigEndian16()
{
    need(2);
    const quint16 value = static_cast<quint16>((static_cast<quint8>(bytes.at(pos)) << 8) |
                                               static_cast<quint8>(bytes.at(pos + 1)));
    pos += 2;
    return value;
}

QString StateReader::readZeroTerminated()
{
    const qsizetype end = bytes.indexOf('\0', pos);
    if (end < 0)
        throw StateReadError();
    const QString text = QString::fromLocal8Bit(bytes.constData() + pos, end - pos);
    pos = end + 1;
    return text;
}
