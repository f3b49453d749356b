#pragma once

#include "commandparser.h"
#include "simulatoroptions.h"
#include "simulatorstate.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <array>
#include <deque>
#include <vector>

// The Converter's side of every command, as a plain object: bytes go in with
// the moment they arrived, packets come out with the moment they are due.
// Time is whatever clock the caller uses (milliseconds), so tests can run it
// without waiting. Not thread-safe; a host serialises the calls.
class SimulatedConverter {
public:
    // One thing to put on the line: a packet, or the line dropping.
    struct Output {
        qint64 dueMs = 0;
        QByteArray bytes;
        bool frame = false;    // a live frame, which a lagging line may lose
        bool hangUp = false;   // the connection drops here

        bool operator==(const Output& other) const
        {
            return dueMs == other.dueMs && bytes == other.bytes && frame == other.frame && hangUp == other.hangUp;
        }
    };

    // readsAreSends: each receive() is one client send (a packet channel),
    // else the bytes are a stream with no boundaries (a pty).
    explicit SimulatedConverter(const SimulatorOptions& options = SimulatorOptions(), bool readsAreSends = true);

    // One read from the channel.
    void receive(const QByteArray& bytes, qint64 nowMs);
    // Everything due up to nowMs, in the order it goes out.
    std::vector<Output> takeDue(qint64 nowMs);
    // When takeDue() next has something (or time-driven work is due); -1 for never.
    qint64 nextWakeMs() const;

    // Every byte received, in order, and the same split by read.
    QByteArray received() const { return receivedBytes; }
    QList<QByteArray> receivedReads() const { return reads; }
    void clearReceived();

    SimulatorState state() const;
    SimulatorFaults faults() const { return currentFaults; }
    void setFaults(const SimulatorFaults& faults) { currentFaults = faults; }
    void setFirmwareVersion(int version) { firmwareVersion = version; }
    void setReferenceMode(int mode) { referenceMode = mode; }
    void setTable(unsigned char entry0, unsigned char entry1);

    // A readable account of what the device understood and did, for a
    // verbose tool; collected only when enabled.
    void setJournalEnabled(bool enabled) { journalEnabled = enabled; }
    QStringList takeJournal();

private:
    void act(const ConverterCommand& command, qint64 nowMs);
    void answer(const QByteArray& bytes, qint64 nowMs, bool shortable);
    void afterCommand(qint64 nowMs);
    void enqueue(Output output);
    void hangUpNow(qint64 nowMs, const QByteArray& lastPiece = QByteArray());
    void scheduleDueFrames(qint64 nowMs);
    void acknowledgeBlock(const QByteArray& block, qint64 nowMs);
    void note(const QString& line);

    SimulatorOptions initial;
    SimulatorFaults currentFaults;
    ConverterCommandParser parser;

    std::array<unsigned char, 2> ramTable{};
    std::array<unsigned char, 2> eepromTable{};
    int firmwareVersion;
    int referenceMode;
    int closedPosition = -1;
    int openPosition = -1;
    int correction = 0;
    bool correctionReceived = false;
    int offset = 0;
    int offsetBeforePreview = 0;
    bool offsetReceived = false;
    bool offsetReceivedBeforePreview = false;
    int anglePreview = 0;
    bool anglePreviewReceived = false;
    int mafBegin = -1;
    int mafEnd = -1;

    bool streaming = false;
    qint64 nextFrameDueMs = 0;
    int streamFrames = 0;          // frames of the current stream so far
    qint64 framesSent = 0;
    quint16 frameCounter = 0;      // goes into the auxiliary word

    int blockNumber = 0;           // image block the device waits for
    int rejectionsOfBlock = 0;
    int rejectionsSent = 0;
    QList<QByteArray> acceptedBlocks;

    bool hungUp = false;
    qint64 receivedCount = 0;
    QByteArray receivedBytes;
    QList<QByteArray> reads;

    std::deque<Output> queue;      // answers waiting for their moment, in due order
    qint64 lastAnswerDueMs = 0;    // answers keep their order whatever the delays

    bool journalEnabled = false;
    QStringList journal;
};
