#pragma once

#include "converterprotocol.h"

#include <QByteArray>

// Misbehaviour on demand, so that the client's error paths can be driven.
// Every field's default means "behave".
struct SimulatorFaults {
    // Receives and acts, but sends nothing at all: no answer, no frame, no ack.
    bool silent = false;
    // When not empty, sent instead of the real handshake answer.
    QByteArray handshakeAnswer;
    // Command answers (handshake, table read, write echo) lose their last byte.
    bool shortAnswers = false;
    // Answers, acknowledgements and the first frame of a stream come this late.
    int answerDelayMs = 0;
    // When > 0, answers and acknowledgements go out one byte per packet with
    // this pause between the bytes.
    int trickleMs = 0;
    // Sent after every finished command (except a stream start), so that they
    // lie waiting in the channel when the client sends its next command.
    QByteArray staleBytes;
    // Frames n, 2n, 3n, ... of each stream (counted from 1) carry a wrong check byte.
    int badCrcEvery = 0;
    // Frames badCrcRunStart .. badCrcRunStart + badCrcRunLength - 1 of each
    // stream (counted from 0) carry a wrong check byte.
    int badCrcRunStart = 0;
    int badCrcRunLength = 0;
    // The line drops after this many frames of a stream (-1: never); with
    // dropMidFrame the next frame is cut off half way first.
    int dropAfterFrames = -1;
    bool dropMidFrame = false;
    // The line drops once this many bytes have been received in all (-1: never).
    qint64 dropAfterReceivedBytes = -1;
    // Firmware block number rejectBlock (counted from 0 in the image; -1: every
    // block) is rejected rejectTimes times before it is accepted.
    int rejectBlock = -1;
    int rejectTimes = 0;
    // Firmware block number silentBlock (counted from 0) is never answered (-1: none).
    int silentBlock = -1;
};

// How a simulated Converter starts.
struct SimulatorOptions {
    int firmwareVersion = ConverterProtocol::DefaultFirmwareVersion;   // handshake byte 2
    int referenceMode = ConverterProtocol::DefaultReferenceMode;       // handshake byte 3
    unsigned char table0 = ConverterProtocol::DefaultTable0;           // factory table
    unsigned char table1 = ConverterProtocol::DefaultTable1;
    SimulatorFaults faults;
};
