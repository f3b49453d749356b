// Writes the seed corpora: valid files made by the real save functions, so
// the fuzzer starts from inputs the parsers fully accept.
//   fuzz-makeseeds <corpus folder>
#include "crc8.h"
#include "logfile.h"
#include "o2refgrid.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "zantolog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void logSeeds(const QDir& dir)
{
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog log(nullptr, bus, notifier);
    for (int samples : {1, 3, 40}) {
        LogColumns columns;
        columns.resize(samples);
        for (int i = 0; i < samples; ++i) {
            columns.colConverter[i] = i * 7 % 256;
            columns.colMarker[i] = i % 5 == 0 ? 4 : 0;
            columns.colEnrichment[i] = 128;
            columns.colMaf[i] = i * 3;
            columns.colTps[i] = i * 11 % 256;
            columns.colRpm[i] = 800 + i * 97;
            columns.colO2[i] = 200 - i;
            columns.colCorr[i] = i - 20;
            columns.colIat[i] = 30;
            columns.colEct[i] = 90;
            columns.colO2sm[i] = 190;
            columns.colLogCorr[i] = 20 - i;
        }
        log.store().replaceLog(columns);
        log.rangeLow = 10;
        log.rangeHigh = 240;
        log.SaveLog(dir.filePath(QStringLiteral("samples%1.log").arg(samples)));
    }
    // An older file: no magic, 8-byte records.
    QByteArray old(LogFile::HeaderSize + LogFile::OldHeaderExtension, '\0');
    for (int i = 0; i < 5; ++i)
        old += QByteArray::fromHex("0102030405060708");
    writeFile(dir.filePath(QStringLiteral("old.log")), old);
}

void tableSeeds(const QDir& dir)
{
    RecordingNotifier notifier;
    TextSettingsBoxes boxes;
    Table table(notifier);
    table.SetUpTableView(&boxes, nullptr, true, [](const QString&) {}, [](const QString&) {});
    table.FillOneToOne();
    table.SaveTableFile(dir.filePath(QStringLiteral("onetoone.tab")));
    // The other lengths a load treats differently.
    for (int size : {1, 256, 300, 512, 600}) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 13 % 256);
        writeFile(dir.filePath(QStringLiteral("len%1.tab").arg(size)), bytes);
    }
}

void firmwareSeeds(const QDir& dir)
{
    writeFile(dir.filePath(QStringLiteral("twoblocks.enc")), "00 03 AA BB CC 00 01 DD\r\n");
    writeFile(dir.filePath(QStringLiteral("lines.enc")), "00\r\n02 ab\n\tcd\n");
    QByteArray big = "00 40";
    for (int i = 0; i < 64; ++i)
        big += QByteArray::number(i % 256, 16).rightJustified(2, '0').toUpper() + (i % 16 == 15 ? "\n" : " ");
    writeFile(dir.filePath(QStringLiteral("block64.enc")), big);
    writeFile(dir.filePath(QStringLiteral("pastend.enc")), "00 05 AA BB");
}

void stateSeeds(const QDir& dir)
{
    RecordingNotifier notifier;
    O2RefGrid grid;
    ProgramState state;
    SaveProgramState(dir.filePath(QStringLiteral("defaults.cfg")), state, grid, notifier);
    grid.FillO2Defaults(147, 7000, 255);
    state.LanguageId = 1;
    state.LastDeviceAddress = QStringLiteral("00:11:22:33:44:55");
    state.FileFolder = QStringLiteral("/home/driver/logs");
    state.KickDownPointIndex = 200;
    SaveProgramState(dir.filePath(QStringLiteral("filled.cfg")), state, grid, notifier);
}

// Live frames as the Converter sends them, back to back, with a bad one
// between and a cut at the end. The leading byte is the fuzz target's chunk
// seed (bit 7: marker held).
void liveSeeds(const QDir& dir)
{
    auto frame = [](int seed) {
        QByteArray f(19, '\0');
        for (int i = 0; i < 18; ++i)
            f[i] = char((seed * 31 + i * 7) & 0xFF);
        f[18] = char(crc8(reinterpret_cast<const std::uint8_t*>(f.constData()), 18));
        return f;
    };
    QByteArray stream(1, char(0x05));
    for (int i = 0; i < 6; ++i)
        stream += frame(i);
    writeFile(dir.filePath(QStringLiteral("goodframes.bin")), stream);
    QByteArray broken = QByteArray(1, char(0x93)) + frame(1) + frame(2).left(7) + frame(3) + frame(4) + frame(5).left(10);
    writeFile(dir.filePath(QStringLiteral("shifted.bin")), broken);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const auto sub = [&root](const char* name) {
        root.mkpath(QString::fromLatin1(name));
        return QDir(root.filePath(QString::fromLatin1(name)));
    };
    logSeeds(sub("fuzz_logfile"));
    tableSeeds(sub("fuzz_tablefile"));
    firmwareSeeds(sub("fuzz_firmwareimage"));
    stateSeeds(sub("fuzz_programstate"));
    liveSeeds(sub("fuzz_liveframes"));
    return 0;
}
