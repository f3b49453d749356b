#include "commandparser.h"

namespace {

using Kind = ConverterCommand::Kind;

const QByteArray StopWord = QByteArrayLiteral("fius");
const QByteArray PrefixedStart = QByteArrayLiteral("fiusfiu");
const QByteArray WordStart = QByteArrayLiteral("fiu");

void emitCommand(QList<ConverterCommand>& out, Kind kind, const QByteArray& data = {})
{
    out.append(ConverterCommand{kind, data});
}

// Neighbouring stray bytes are reported as one run.
void ignore(QList<ConverterCommand>& out, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if (!out.isEmpty() && out.last().kind == Kind::Ignored)
        out.last().data += bytes;
    else
        emitCommand(out, Kind::Ignored, bytes);
}

}  // namespace

ConverterCommandParser::ConverterCommandParser(bool readsAreSendsArg) : readsAreSends(readsAreSendsArg)
{
}

QList<ConverterCommand> ConverterCommandParser::feed(const QByteArray& read, qint64 nowMs)
{
    QList<ConverterCommand> out = advance(nowMs);
    if (read.isEmpty())
        return out;
    lastByteMs = nowMs;
    for (char c : read)
        feedByte(static_cast<unsigned char>(c), out);
    // On a packet channel a read is one client send, and a word ends with it.
    if (readsAreSends && state == State::Word)
        finishWord(out);
    return out;
}

QList<ConverterCommand> ConverterCommandParser::advance(qint64 nowMs)
{
    QList<ConverterCommand> out;
    if (state == State::Word && !word.isEmpty() && nowMs - lastByteMs >= WordGapMs)
        finishWord(out);
    if (state == State::Firmware && nowMs - lastByteMs >= FirmwareIdleMs) {
        emitCommand(out, Kind::LeaveFirmware, block);
        block.clear();
        state = State::Word;
    }
    return out;
}

qint64 ConverterCommandParser::nextDeadlineMs() const
{
    if (state == State::Word && !word.isEmpty())
        return lastByteMs + WordGapMs;
    if (state == State::Firmware)
        return lastByteMs + FirmwareIdleMs;
    return -1;
}

void ConverterCommandParser::feedByte(unsigned char byte, QList<ConverterCommand>& out)
{
    switch (state) {
    case State::Firmware:
        feedFirmware(byte, out);
        return;
    case State::Data:
        data.append(char(byte));
        if (data.size() < dataNeeded)
            return;
        emitCommand(out, dataKind, data);
        if (dataKind == Kind::Offset) {
            // The same word carries the angle preview when a 255 follows.
            offsetByte = static_cast<unsigned char>(data.at(0));
            state = State::AngleCheck;
        } else {
            state = State::Word;
        }
        data.clear();
        return;
    case State::AngleCheck:
        state = State::Word;
        if (byte == 255) {
            emitCommand(out, Kind::AnglePreview, QByteArray(1, char(offsetByte)));
            return;
        }
        break;   // an ordinary byte: the start of the next word
    case State::Word:
        break;
    }
    word.append(char(byte));
    matchWord(out);
}

void ConverterCommandParser::startData(Kind kind, int count)
{
    word.clear();
    state = State::Data;
    dataKind = kind;
    dataNeeded = count;
    data.clear();
}

void ConverterCommandParser::matchWord(QList<ConverterCommand>& out)
{
    const qsizetype n = word.size();
    if (word.startsWith(StopWord)) {
        // A stop, possibly the prefix of a probe or of a longer command.
        auto rematchAfterStop = [&](qsizetype from) {
            emitCommand(out, Kind::StopEnd);
            const QByteArray rest = word.mid(from);
            word.clear();
            for (char c : rest)
                feedByte(static_cast<unsigned char>(c), out);
        };
        if (n == 4) {
            emitCommand(out, Kind::Stop);
            return;
        }
        if (n == 5 && word.at(4) == '\0') {
            word.clear();
            emitCommand(out, Kind::Probe);
            return;
        }
        if (n < 8) {
            if (PrefixedStart.startsWith(word))
                return;
            rematchAfterStop(4);
            return;
        }
        if (n == 8) {
            switch (word.at(7)) {
            case 'v':
                return;   // the zero byte must follow
            case 'l': word.clear(); emitCommand(out, Kind::StartStream); return;
            case 'r': word.clear(); emitCommand(out, Kind::ReadTable); return;
            case 'g': word.clear(); emitCommand(out, Kind::CalibrateClosed); return;
            case 'z': word.clear(); emitCommand(out, Kind::CalibrateOpen); return;
            case 'k': word.clear(); emitCommand(out, Kind::ToggleReference); return;
            case 'w':
                emitCommand(out, Kind::WriteTableWord);
                startData(Kind::WriteTable, 1);
                return;
            default:
                // A second stop, or a command that means the same with or
                // without the stop in front of it.
                rematchAfterStop(4);
                return;
            }
        }
        // "fiusfiuv" and one more byte.
        if (word.at(8) == '\0') {
            word.clear();
            emitCommand(out, Kind::VersionQuery);
            return;
        }
        emitCommand(out, Kind::StopEnd);
        ignore(out, word.mid(4, 4));
        const char last = word.at(8);
        word.clear();
        feedByte(static_cast<unsigned char>(last), out);
        return;
    }

    if (n < 4 && WordStart.startsWith(word))
        return;
    if (n == 4 && word.startsWith(WordStart)) {
        switch (word.at(3)) {
        case 't': startData(Kind::SendTable, 2); return;
        case 'c': startData(Kind::Correction, 2); return;
        case 'g': startData(Kind::MafBorder, 2); return;
        case 'b': startData(Kind::Offset, 1); return;
        case 'k': word.clear(); emitCommand(out, Kind::ResetTable); return;
        case 'd':
            word.clear();
            emitCommand(out, Kind::EnterFirmware);
            state = State::Firmware;
            block.clear();
            return;
        case 'f':
            break;    // resynchronise on this 'f'
        default:
            // Unknown, or a word that needs the stop in front ("fiur" alone).
            ignore(out, word);
            word.clear();
            return;
        }
    }
    // Not the start of any word: drop one byte and look again.
    const QByteArray rest = word.mid(1);
    ignore(out, word.left(1));
    word.clear();
    for (char c : rest)
        feedByte(static_cast<unsigned char>(c), out);
}

void ConverterCommandParser::finishWord(QList<ConverterCommand>& out)
{
    if (word.isEmpty())
        return;
    if (word.startsWith(StopWord)) {
        emitCommand(out, Kind::StopEnd);
        ignore(out, word.mid(4));
    } else {
        ignore(out, word);
    }
    word.clear();
}

void ConverterCommandParser::feedFirmware(unsigned char byte, QList<ConverterCommand>& out)
{
    block.append(char(byte));
    if (block.size() < 2)
        return;
    const int length = (static_cast<unsigned char>(block.at(0)) << 8) | static_cast<unsigned char>(block.at(1));
    if (block.size() == length + 2) {
        emitCommand(out, Kind::FirmwareBlock, block);
        block.clear();
    }
}
