#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// What the Converter understood in the bytes it received.
struct ConverterCommand {
    enum Kind {
        Stop,              // "fius" seen: the stream stops at once
        StopEnd,           // that "fius" stood alone (no probe, no command after it)
        Probe,             // "fius" + zero byte
        VersionQuery,      // "fiusfiuv" + zero byte
        StartStream,       // "fiusfiul"
        ReadTable,         // "fiusfiur"
        WriteTableWord,    // "fiusfiuw", its data byte follows as WriteTable
        WriteTable,        // data: the byte to store
        CalibrateClosed,   // "fiusfiug"
        CalibrateOpen,     // "fiusfiuz"
        ToggleReference,   // "fiusfiuk"
        SendTable,         // "fiut", data: 2 bytes
        Correction,        // "fiuc", data: magnitude, sign
        MafBorder,         // "fiug", data: 2 bytes
        Offset,            // "fiub", data: 1 byte
        AnglePreview,      // the Offset just reported was an angle: data: angle byte (255 followed)
        ResetTable,        // "fiuk"
        EnterFirmware,     // "fiud"
        FirmwareBlock,     // data: one whole block, length bytes included
        LeaveFirmware,     // firmware mode ended after a silence; data: an unfinished block
        Ignored,           // data: bytes that formed no command
    };
    Kind kind;
    QByteArray data;

    bool operator==(const ConverterCommand& other) const { return kind == other.kind && data == other.data; }
};

// Splits the raw byte stream into commands, exactly as the client sends
// them: words without framing, data bytes in later sends, any chunking.
//
// A leading "fius" changes the meaning of "fiug" and "fiuk" (calibrate /
// MAF border, reference switch / reset), and the client sends "fius" alone
// as well (stop), so where one word ends matters. On a packet channel every
// read is one client send and a word never spans two reads. On a byte stream
// (a pty) a word is held together by time: its bytes come in one write, so a
// pause of WordGapMs ends it. Data bytes may come any time later.
class ConverterCommandParser {
public:
    static constexpr qint64 WordGapMs = 100;
    // Firmware mode has no end marker; the device returns to commands after
    // this long without a byte.
    static constexpr qint64 FirmwareIdleMs = 3000;

    explicit ConverterCommandParser(bool readsAreSends);

    // One read from the channel at the given moment.
    QList<ConverterCommand> feed(const QByteArray& read, qint64 nowMs);
    // Lets time pass: ends a word after its gap, leaves firmware mode.
    QList<ConverterCommand> advance(qint64 nowMs);
    // When advance() next has something to do; -1 for never.
    qint64 nextDeadlineMs() const;

    bool inFirmwareMode() const { return state == State::Firmware; }

private:
    enum class State { Word, Data, AngleCheck, Firmware };

    void feedByte(unsigned char byte, QList<ConverterCommand>& out);
    void matchWord(QList<ConverterCommand>& out);
    void finishWord(QList<ConverterCommand>& out);
    void startData(ConverterCommand::Kind kind, int count);
    void feedFirmware(unsigned char byte, QList<ConverterCommand>& out);

    bool readsAreSends;
    State state = State::Word;
    QByteArray word;
    ConverterCommand::Kind dataKind = ConverterCommand::Ignored;
    int dataNeeded = 0;
    QByteArray data;
    unsigned char offsetByte = 0;
    QByteArray block;
    qint64 lastByteMs = 0;
};
