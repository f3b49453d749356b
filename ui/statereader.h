#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// Raised when the state file ends before a field is complete.
class StateReadError : public std::runtime_error {
public:
    StateReadError() : std::runtime_error("Unexpected end of file") {}
};

// Reads the state file's fields from a byte buffer, never past its end.
class StateReader {
public:
    explicit StateReader(QByteArray data) : bytes(std::move(data)) {}

    quint8 readByte();
    qint32 readLittleEndian32();
    quint16 readBigEndian16();
    // Bytes up to the first zero byte, converted from the 8-bit code page.
    QString readZeroTerminated();

private:
    void need(qsizetype count) const;

    QByteArray bytes;
    qsizetype pos = 0;
};
