#include "simulatedconverter.h"

#include "liveframe.h"

#include <algorithm>

namespace P = ConverterProtocol;
using Kind = ConverterCommand::Kind;

namespace {

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

int signedByte(char c)
{
    return static_cast<signed char>(c);
}

}  // namespace

SimulatedConverter::SimulatedConverter(const SimulatorOptions& options, bool readsAreSends)
    : initial(options),
      currentFaults(options.faults),
      parser(readsAreSends),
      ramTable{options.table0, options.table1},
      eepromTable{options.table0, options.table1},
      firmwareVersion(options.firmwareVersion),
      referenceMode(options.referenceMode)
{
}

void SimulatedConverter::receive(const QByteArray& bytes, qint64 nowMs)
{
    if (bytes.isEmpty())
        return;
    receivedBytes += bytes;
    reads.append(bytes);
    if (hungUp)
        return;
    // Frames that fell due before this read went out before it.
    scheduleDueFrames(nowMs);
    if (hungUp)
        return;

    QByteArray usable = bytes;
    bool dropAfterThese = false;
    const qint64 dropAt = currentFaults.dropAfterReceivedBytes;
    if (dropAt >= 0 && receivedCount + bytes.size() >= dropAt) {
        usable = bytes.left(qMax<qint64>(0, dropAt - receivedCount));
        dropAfterThese = true;
    }
    receivedCount += bytes.size();
    for (const ConverterCommand& command : parser.feed(usable, nowMs))
        act(command, nowMs);
    if (dropAfterThese && !hungUp)
        hangUpNow(nowMs);
}

std::vector<SimulatedConverter::Output> SimulatedConverter::takeDue(qint64 nowMs)
{
    if (!hungUp) {
        for (const ConverterCommand& command : parser.advance(nowMs))
            act(command, nowMs);
        scheduleDueFrames(nowMs);
    }
    std::vector<Output> due;
    while (!queue.empty() && queue.front().dueMs <= nowMs) {
        due.push_back(queue.front());
        queue.pop_front();
        if (due.back().hangUp) {
            queue.clear();
            break;
        }
    }
    return due;
}

qint64 SimulatedConverter::nextWakeMs() const
{
    qint64 wake = queue.empty() ? -1 : queue.front().dueMs;
    auto consider = [&wake](qint64 t) {
        if (t >= 0 && (wake < 0 || t < wake))
            wake = t;
    };
    if (!hungUp) {
        if (streaming)
            consider(nextFrameDueMs);
        consider(parser.nextDeadlineMs());
    }
    return wake;
}

void SimulatedConverter::clearReceived()
{
    receivedBytes.clear();
    reads.clear();
}

void SimulatedConverter::setTable(unsigned char entry0, unsigned char entry1)
{
    ramTable = {entry0, entry1};
    eepromTable = ramTable;
}

SimulatorState SimulatedConverter::state() const
{
    SimulatorState s;
    s.ramTable = ramTable;
    s.eepromTable = eepromTable;
    s.firmwareVersion = firmwareVersion;
    s.referenceMode = referenceMode;
    s.closedPosition = closedPosition;
    s.openPosition = openPosition;
    s.correction = correction;
    s.correctionReceived = correctionReceived;
    s.offset = offset;
    s.offsetReceived = offsetReceived;
    s.anglePreview = anglePreview;
    s.anglePreviewReceived = anglePreviewReceived;
    s.mafBegin = mafBegin;
    s.mafEnd = mafEnd;
    s.streaming = streaming;
    s.firmwareMode = parser.inFirmwareMode();
    s.hungUp = hungUp;
    s.framesSent = framesSent;
    s.firmwareBlocks = acceptedBlocks;
    s.firmwareRejections = rejectionsSent;
    return s;
}

QStringList SimulatedConverter::takeJournal()
{
    QStringList lines;
    lines.swap(journal);
    return lines;
}

void SimulatedConverter::note(const QString& line)
{
    if (journalEnabled)
        journal.append(line);
}

void SimulatedConverter::act(const ConverterCommand& command, qint64 nowMs)
{
    const QByteArray& data = command.data;
    switch (command.kind) {
    case Kind::Stop:
        if (streaming)
            note(QStringLiteral("stream stopped after %1 frames").arg(streamFrames));
        streaming = false;
        return;
    case Kind::StopEnd:
        note(QStringLiteral("fius: stop"));
        afterCommand(nowMs);
        return;
    case Kind::Probe:
        note(QStringLiteral("fius\\0: probe"));
        afterCommand(nowMs);
        return;
    case Kind::VersionQuery: {
        QByteArray reply = currentFaults.handshakeAnswer;
        if (reply.isEmpty()) {
            reply = QByteArray(P::HandshakeAnswerSize, '\0');
            reply[2] = char(firmwareVersion);
            reply[3] = char(referenceMode);
        }
        note(QStringLiteral("fiusfiuv\\0: handshake, answer %1").arg(hex(reply)));
        answer(reply, nowMs, true);
        afterCommand(nowMs);
        return;
    }
    case Kind::StartStream:
        note(QStringLiteral("fiusfiul: stream started"));
        streaming = true;
        streamFrames = 0;
        nextFrameDueMs = nowMs + qMax(0, currentFaults.answerDelayMs) + P::FramePeriodMs;
        return;
    case Kind::ReadTable: {
        const QByteArray reply{reinterpret_cast<const char*>(ramTable.data()), P::TableSize};
        note(QStringLiteral("fiusfiur: table read, answer %1").arg(hex(reply)));
        answer(reply, nowMs, true);
        afterCommand(nowMs);
        return;
    }
    case Kind::WriteTableWord:
        note(QStringLiteral("fiusfiuw: table write, waiting for the byte"));
        afterCommand(nowMs);
        return;
    case Kind::WriteTable:
        // RAM first, then EEPROM; the echo tells the client the byte arrived.
        ramTable[0] = static_cast<unsigned char>(data.at(0));
        eepromTable[0] = ramTable[0];
        note(QStringLiteral("table write: entry 0 := %1, echoed").arg(ramTable[0]));
        answer(data, nowMs, true);
        afterCommand(nowMs);
        return;
    case Kind::CalibrateClosed:
        closedPosition = sensorLine1At(nowMs);
        note(QStringLiteral("fiusfiug: closed position := %1").arg(closedPosition));
        afterCommand(nowMs);
        return;
    case Kind::CalibrateOpen:
        openPosition = sensorLine1At(nowMs);
        note(QStringLiteral("fiusfiuz: open position := %1").arg(openPosition));
        afterCommand(nowMs);
        return;
    case Kind::ToggleReference:
        referenceMode = referenceMode == 0 ? 1 : 0;
        note(QStringLiteral("fiusfiuk: reference mode := %1").arg(referenceMode));
        afterCommand(nowMs);
        return;
    case Kind::SendTable:
        ramTable = {static_cast<unsigned char>(data.at(0)), static_cast<unsigned char>(data.at(1))};
        note(QStringLiteral("fiut: table := %1").arg(hex(data)));
        afterCommand(nowMs);
        return;
    case Kind::Correction: {
        const int magnitude = static_cast<unsigned char>(data.at(0));
        correction = data.at(1) != 0 ? -magnitude : magnitude;
        correctionReceived = true;
        note(QStringLiteral("fiuc: correction := %1").arg(correction));
        afterCommand(nowMs);
        return;
    }
    case Kind::MafBorder:
        mafBegin = static_cast<unsigned char>(data.at(0));
        mafEnd = static_cast<unsigned char>(data.at(1));
        note(QStringLiteral("fiug: MAF border %1 .. %2").arg(mafBegin).arg(mafEnd));
        afterCommand(nowMs);
        return;
    case Kind::Offset:
        offsetBeforePreview = offset;
        offsetReceivedBeforePreview = offsetReceived;
        offset = signedByte(data.at(0));
        offsetReceived = true;
        note(QStringLiteral("fiub: offset := %1").arg(offset));
        afterCommand(nowMs);
        return;
    case Kind::AnglePreview:
        // The byte just taken for an offset was an angle: the offset stays as it was.
        offset = offsetBeforePreview;
        offsetReceived = offsetReceivedBeforePreview;
        anglePreview = signedByte(data.at(0));
        anglePreviewReceived = true;
        note(QStringLiteral("fiub: that was an angle preview %1, offset back to %2").arg(anglePreview).arg(offset));
        return;
    case Kind::ResetTable:
        ramTable = {initial.table0, initial.table1};
        eepromTable = ramTable;
        note(QStringLiteral("fiuk: table reset"));
        afterCommand(nowMs);
        return;
    case Kind::EnterFirmware:
        streaming = false;
        blockNumber = 0;
        rejectionsOfBlock = 0;
        note(QStringLiteral("fiud: firmware mode"));
        afterCommand(nowMs);
        return;
    case Kind::FirmwareBlock:
        acknowledgeBlock(data, nowMs);
        return;
    case Kind::LeaveFirmware:
        note(QStringLiteral("firmware mode left after %1 blocks%2")
                 .arg(acceptedBlocks.size())
                 .arg(data.isEmpty() ? QString() : QStringLiteral(", %1 bytes of an unfinished block dropped").arg(data.size())));
        return;
    case Kind::Ignored:
        note(QStringLiteral("ignored: %1").arg(hex(data)));
        return;
    }
}

void SimulatedConverter::acknowledgeBlock(const QByteArray& block, qint64 nowMs)
{
    const SimulatorFaults& f = currentFaults;
    if (f.silentBlock == blockNumber) {
        note(QStringLiteral("firmware block %1 (%2 bytes): no answer").arg(blockNumber).arg(block.size()));
        return;
    }
    const bool reject = f.rejectTimes > 0 && (f.rejectBlock < 0 || f.rejectBlock == blockNumber)
                        && rejectionsOfBlock < f.rejectTimes;
    if (reject) {
        ++rejectionsOfBlock;
        ++rejectionsSent;
        note(QStringLiteral("firmware block %1 (%2 bytes): rejected").arg(blockNumber).arg(block.size()));
        answer(QByteArray(1, char(P::BlockRejected)), nowMs, false);
    } else {
        acceptedBlocks.append(block);
        note(QStringLiteral("firmware block %1 (%2 bytes): accepted").arg(blockNumber).arg(block.size()));
        ++blockNumber;
        rejectionsOfBlock = 0;
        answer(QByteArray(1, char(P::BlockAccepted)), nowMs, false);
    }
    afterCommand(nowMs);
}

void SimulatedConverter::answer(const QByteArray& bytes, qint64 nowMs, bool shortable)
{
    if (currentFaults.silent)
        return;
    QByteArray reply = bytes;
    if (shortable && currentFaults.shortAnswers)
        reply.chop(1);
    if (reply.isEmpty())
        return;
    const qint64 start = qMax(nowMs + qMax(0, currentFaults.answerDelayMs), lastAnswerDueMs);
    if (currentFaults.trickleMs > 0) {
        for (qsizetype i = 0; i < reply.size(); ++i)
            enqueue(Output{start + i * currentFaults.trickleMs, reply.mid(i, 1)});
        lastAnswerDueMs = start + (reply.size() - 1) * currentFaults.trickleMs;
    } else {
        enqueue(Output{start, reply});
        lastAnswerDueMs = start;
    }
}

void SimulatedConverter::afterCommand(qint64 nowMs)
{
    if (currentFaults.silent || currentFaults.staleBytes.isEmpty())
        return;
    const qint64 due = qMax(nowMs, lastAnswerDueMs);
    enqueue(Output{due, currentFaults.staleBytes});
    lastAnswerDueMs = due;
}

void SimulatedConverter::enqueue(Output output)
{
    // Stable: among equal moments, first queued goes out first.
    auto at = std::upper_bound(queue.begin(), queue.end(), output.dueMs,
                               [](qint64 due, const Output& queued) { return due < queued.dueMs; });
    queue.insert(at, std::move(output));
}

void SimulatedConverter::hangUpNow(qint64 nowMs, const QByteArray& lastPiece)
{
    // What was due before this moment is on the wire already; the rest is
    // lost with the line.
    while (!queue.empty() && queue.back().dueMs > nowMs)
        queue.pop_back();
    if (!lastPiece.isEmpty() && !currentFaults.silent)
        enqueue(Output{nowMs, lastPiece, true});
    enqueue(Output{nowMs, {}, false, true});
    hungUp = true;
    streaming = false;
    note(QStringLiteral("line dropped"));
}

void SimulatedConverter::scheduleDueFrames(qint64 nowMs)
{
    while (streaming && nextFrameDueMs <= nowMs) {
        const qint64 due = nextFrameDueMs;
        const SimulatorFaults& f = currentFaults;
        SignalInputs inputs;
        inputs.angleSetting = static_cast<signed char>(ramTable[0]);
        inputs.correction = correction;
        inputs.counter = frameCounter;
        if (f.dropAfterFrames >= 0 && streamFrames >= f.dropAfterFrames) {
            const QByteArray piece = f.dropMidFrame ? encodeLiveFrame(liveValuesAt(due, inputs)).left(P::FrameSize / 2)
                                                    : QByteArray();
            hangUpNow(due, piece);
            return;
        }
        const int number = streamFrames + 1;
        const bool bad = (f.badCrcEvery > 0 && number % f.badCrcEvery == 0)
                         || (f.badCrcRunLength > 0 && streamFrames >= f.badCrcRunStart
                             && streamFrames < f.badCrcRunStart + f.badCrcRunLength);
        const QByteArray frame = encodeLiveFrame(liveValuesAt(due, inputs), bad);
        ++streamFrames;
        ++frameCounter;
        nextFrameDueMs += P::FramePeriodMs;
        if (!f.silent) {
            enqueue(Output{due, frame, true});
            ++framesSent;
        }
    }
}
