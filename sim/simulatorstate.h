#pragma once

#include <QByteArray>
#include <QList>

#include <array>

// A snapshot of what the simulated Converter holds, for tests and tools.
struct SimulatorState {
    std::array<unsigned char, 2> ramTable{};
    std::array<unsigned char, 2> eepromTable{};
    int firmwareVersion = 0;
    int referenceMode = 0;
    // 10-bit sensor readings stored by the calibration commands; -1 until calibrated.
    int closedPosition = -1;
    int openPosition = -1;
    int correction = 0;          // signed, from magnitude and sign byte
    bool correctionReceived = false;
    int offset = 0;              // signed byte, tenths
    bool offsetReceived = false;
    int anglePreview = 0;        // signed byte, tenths
    bool anglePreviewReceived = false;
    int mafBegin = -1;           // the two border bytes last sent; -1 until sent
    int mafEnd = -1;
    bool streaming = false;
    bool firmwareMode = false;
    bool hungUp = false;
    qint64 framesSent = 0;       // in all streams
    QList<QByteArray> firmwareBlocks;   // accepted blocks, length bytes included
    int firmwareRejections = 0;         // rejections sent in all
};
