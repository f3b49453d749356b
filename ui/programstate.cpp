#include "programstate.h"

#include "o2refgrid.h"
#include "atomicsave.h"
#include "statereader.h"
#include "statetexts.h"
#include "usernotifier.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A state file is about 3 KB plus two paths; anything past this is not ours.
constexpr qint64 MaxStateFileBytes = 1 << 20;
// Read a piece at a time: a read of the whole cap would allocate it on every
// load however small the file.
constexpr qint64 ReadChunkBytes = 4096;

void appendByte(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
}

void appendLittleEndian32(QByteArray& out, qint32 value)
{
    const auto v = static_cast<quint32>(value);
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void appendZeroTerminated(QByteArray& out, const QString& text)
{
    QByteArray bytes = text.toLocal8Bit();
    // A zero inside the text would end the field early on reading.
    bytes.truncate(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
    out.append(bytes);
    out.append('\0');
}

// At most MaxStateFileBytes of the file, to its end even where the size the
// file reports is wrong (nothing, or a file still growing).
QByteArray readCapped(QFile& file)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(qBound<qint64>(0, file.size(), MaxStateFileBytes)));
    char chunk[ReadChunkBytes];
    while (bytes.size() < MaxStateFileBytes) {
        const qint64 n = file.read(chunk, qMin<qint64>(ReadChunkBytes, MaxStateFileBytes - bytes.size()));
        if (n <= 0)
            break;
        bytes.append(chunk, qsizetype(n));
    }
    return bytes;
}

}  // namespace

QByteArray encodeProgramState(const ProgramState& s, const O2RefGrid& grid)
{
    QByteArray out;
    appendByte(out, s.LanguageId);
    appendByte(out, s.o2SensorTypeIndex);
    appendByte(out, s.o2OutputUnitIndex);
    appendByte(out, s.autoCorrTypeIndex);
    appendByte(out, s.tpsSetupUnitIndex);
    appendByte(out, s.vFall ? 1 : 0);
    for (qint32 box : {s.mafPulsations, s.fastInterval, s.fineInterval, s.forcedIdleRpm,
                       s.forcedIdleTps, s.o2Ref, s.o2Offset})
        appendLittleEndian32(out, box);
    appendLittleEndian32(out, s.dashChartVisible ? 1 : 0);
    grid.WriteO2RefGrid(out);
    appendZeroTerminated(out, s.LastDeviceAddress);
    appendZeroTerminated(out, s.FileFolder);
    appendByte(out, s.MinPointIndex);
    appendByte(out, s.MaxPointIndex);
    appendByte(out, s.KickDownPointIndex);
    appendByte(out, s.VoltmeterChannel);
    return out;
}

void SaveProgramState(const QString& fileName, const ProgramState& state, const O2RefGrid& grid,
                      UserNotifier& notifier)
{
    // Replaces the old file only once the new one is whole on the disk, so a
    // full disk never leaves a short state file for the next start.
    const SaveOutcome saved = SaveAtomically(fileName, encodeProgramState(state, grid));
    if (saved)
        return;
    if (saved.oldFileInTheWay())
        notifier.showMessage(QString::fromUtf8(StateTexts::SaveError1) + u'\n' + saved.reason);
    else
        notifier.showMessage(QString::fromUtf8(StateTexts::SaveError2) + saved.reason);
}

bool LoadProgramState(const QString& fileName, ProgramState& s, O2RefGrid& grid, UserNotifier& notifier)
{
    if (!QFileInfo::exists(fileName)) {
        notifier.showMessage(QString::fromUtf8(StateTexts::FileNotExist));
        return false;
    }
    // Anything but a plain file is refused before opening: a pipe would hold
    // start-up until someone wrote to it, and a folder has nothing to read.
    if (!QFileInfo(fileName).isFile()) {
        notifier.showMessage(QString::fromUtf8(StateTexts::LoadError2) + QString::fromUtf8(StateTexts::NotARegularFile));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        notifier.showMessage(QString::fromUtf8(StateTexts::LoadError2) + file.errorString());
        return false;
    }
    StateReader in(readCapped(file));
    file.close();

    try {
        s.LanguageId = in.readByte();
        s.o2SensorTypeIndex = in.readByte();
        s.o2OutputUnitIndex = in.readByte();
        s.autoCorrTypeIndex = in.readByte();
        s.tpsSetupUnitIndex = in.readByte();
        s.vFall = in.readByte() != 0;
        s.mafPulsations = in.readLittleEndian32();
        s.fastInterval = in.readLittleEndian32();
        s.fineInterval = in.readLittleEndian32();
        s.forcedIdleRpm = in.readLittleEndian32();
        s.forcedIdleTps = in.readLittleEndian32();
        s.o2Ref = in.readLittleEndian32();
        s.o2Offset = in.readLittleEndian32();
        s.dashChartVisible = in.readLittleEndian32() != 0;
        grid.ReadO2RefGrid(in);
        s.LastDeviceAddress = in.readZeroTerminated();
        s.FileFolder = in.readZeroTerminated();
        s.MinPointIndex = in.readByte();
        s.MaxPointIndex = in.readByte();
        s.KickDownPointIndex = in.readByte();
        s.VoltmeterChannel = in.readByte();
    } catch (const StateReadError& e) {
        notifier.showMessage(QString::fromUtf8(StateTexts::LoadError2) + QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}
