#include "o2refgrid.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "statetexts.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A state with every field away from its default.
ProgramState unusualState()
{
    ProgramState s;
    s.LanguageId = 1;
    s.o2SensorTypeIndex = 3;
    s.o2OutputUnitIndex = -1;  // no selection: stored as 255
    s.autoCorrTypeIndex = 2;
    s.tpsSetupUnitIndex = 1;
    s.vFall = true;
    s.mafPulsations = 77;
    s.fastInterval = 9;
    s.fineInterval = 100;
    s.forcedIdleRpm = 6000;
    s.forcedIdleTps = 0;
    s.o2Ref = 147;
    s.o2Offset = -255;
    s.dashChartVisible = true;
    s.LastDeviceAddress = "00:11:22:AA:BB:CC";
    s.FileFolder = "/home/driver/логи";
    s.MinPointIndex = 12;
    s.MaxPointIndex = 240;
    s.KickDownPointIndex = 200;
    s.VoltmeterChannel = 5;
    return s;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

}  // namespace

class TestProgramState : public QObject {
    Q_OBJECT
private slots:
    void init();

    void defaultGridHasItsAxesAndValues();
    void roundTripGivesBackEveryField();
    void emptyTextsAreSingleZeroBytes();
    void gridCellsAreStoredAsTheirIntegerPrefix_data();
    void gridCellsAreStoredAsTheirIntegerPrefix();
    void missingFileSaysSoOnce();
    void notAPlainFileIsRefusedAtOnce_data();
    void notAPlainFileIsRefusedAtOnce();
    void shortFileKeepsWhatWasRead_data();
    void shortFileKeepsWhatWasRead();
    void arbitraryBytesNeverCrash();
    void failedSaveKeepsThePreviousFile();
    void saveIntoMissingFolderSaysWhy();

private:
    QTemporaryDir dir;
    QString path;
    RecordingNotifier notifier;
};

void TestProgramState::init()
{
    QVERIFY(dir.isValid());
    path = dir.filePath(StateTexts::FileName);
    QFile::remove(path);
    notifier.clear();
}

void TestProgramState::defaultGridHasItsAxesAndValues()
{
    O2RefGrid grid;
    int changes = 0;
    grid.onChanged = [&] { ++changes; };
    grid.FillO2Defaults(25, 6500, 100);
    QVERIFY(changes > 0);
    QCOMPARE(grid.cell(0, 0), QString("100"));
    QCOMPARE(grid.cell(0, 1), QString("99"));
    QCOMPARE(grid.cell(0, 98), QString("2"));
    QCOMPARE(grid.cell(1, 99), QString("464"));
    QCOMPARE(grid.cell(14, 99), QString("6496"));
    QCOMPARE(grid.cell(0, 99), QString());  // the corner is never filled
    QCOMPARE(grid.cell(7, 50), QString("25"));

    grid.FillO2Cells(147);
    QCOMPARE(grid.cell(14, 98), QString("147"));
    QCOMPARE(grid.cell(0, 0), QString("100"));
    QCOMPARE(grid.cell(3, 99), QString("1392"));
}

void TestProgramState::roundTripGivesBackEveryField()
{
    O2RefGrid grid;
    grid.FillO2Defaults(25, 6500, 100);
    grid.setCell(5, 10, "199");
    grid.TpsMin = 17;
    grid.TpsMax = 231;
    const ProgramState saved = unusualState();
    SaveProgramState(path, saved, grid, notifier);
    QVERIFY(notifier.entries.isEmpty());

    const QByteArray bytes = readAll(path);
    // The texts start right after the fixed part.
    QCOMPARE(bytes.indexOf("00:11:22"), 3040);
    QCOMPARE(static_cast<quint8>(bytes.at(2)), quint8(255));
    QCOMPARE(bytes.mid(6, 4), QByteArray("\x4D\0\0\0", 4));
    QCOMPARE(bytes.mid(34, 4), QByteArray("\x01\0\0\0", 4));
    QCOMPARE(bytes.mid(38, 4), QByteArray("\x00\x11\x00\xE7", 4));

    ProgramState loaded;
    O2RefGrid back;
    QVERIFY(LoadProgramState(path, loaded, back, notifier));
    QVERIFY(notifier.entries.isEmpty());
    QCOMPARE(loaded.LanguageId, saved.LanguageId);
    QCOMPARE(loaded.o2SensorTypeIndex, 3);
    QCOMPARE(loaded.o2OutputUnitIndex, 255);
    QCOMPARE(loaded.autoCorrTypeIndex, 2);
    QCOMPARE(loaded.tpsSetupUnitIndex, 1);
    QCOMPARE(loaded.vFall, true);
    QCOMPARE(loaded.mafPulsations, 77);
    QCOMPARE(loaded.fastInterval, 9);
    QCOMPARE(loaded.fineInterval, 100);
    QCOMPARE(loaded.forcedIdleRpm, 6000);
    QCOMPARE(loaded.forcedIdleTps, 0);
    QCOMPARE(loaded.o2Ref, 147);
    QCOMPARE(loaded.o2Offset, -255);
    QCOMPARE(loaded.dashChartVisible, true);
    QCOMPARE(loaded.LastDeviceAddress, saved.LastDeviceAddress);
    QCOMPARE(loaded.FileFolder, saved.FileFolder);
    QCOMPARE(loaded.MinPointIndex, 12);
    QCOMPARE(loaded.MaxPointIndex, 240);
    QCOMPARE(loaded.KickDownPointIndex, 200);
    QCOMPARE(loaded.VoltmeterChannel, 5);
    QCOMPARE(back.TpsMin, 17);
    QCOMPARE(back.TpsMax, 231);
    for (int row = 0; row < O2RefGrid::RowCount; ++row)
        for (int column = 0; column < O2RefGrid::ColumnCount; ++column)
            if (column != 0 || row != O2RefGrid::LastRow)
                QCOMPARE(back.cell(column, row), grid.cell(column, row));
}

void TestProgramState::emptyTextsAreSingleZeroBytes()
{
    O2RefGrid grid;
    ProgramState s;
    s.LastDeviceAddress.clear();
    s.FileFolder.clear();
    SaveProgramState(path, s, grid, notifier);
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 3040 + 2 + 4);
    QCOMPARE(bytes.mid(3040), QByteArray("\0\0\0\xFF\xFF\x01", 6));

    ProgramState loaded = unusualState();
    QVERIFY(LoadProgramState(path, loaded, grid, notifier));
    QCOMPARE(loaded.LastDeviceAddress, QString());
    QCOMPARE(loaded.FileFolder, QString());
    QCOMPARE(loaded.VoltmeterChannel, 1);
}

void TestProgramState::gridCellsAreStoredAsTheirIntegerPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain") << "25" << "25";
    QTest::newRow("digits, blank, digit") << "12 5" << "12";
    QTest::newRow("leading blanks") << "   42" << "42";
    QTest::newRow("no leading digits") << "x12" << "0";
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("past 16 bits") << "70000" << "4464";
    QTest::newRow("minus one") << "-1" << "65535";
    QTest::newRow("plus sign") << "+7" << "7";
    QTest::newRow("very long") << "123456789012345678901234567890" << "2770";  // modulo 65536
}

void TestProgramState::gridCellsAreStoredAsTheirIntegerPrefix()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    O2RefGrid grid;
    grid.setCell(4, 20, text);
    SaveProgramState(path, ProgramState(), grid, notifier);
    O2RefGrid back;
    ProgramState s;
    QVERIFY(LoadProgramState(path, s, back, notifier));
    QCOMPARE(back.cell(4, 20), readBack);
}

void TestProgramState::missingFileSaysSoOnce()
{
    ProgramState s;
    O2RefGrid grid;
    QVERIFY(!LoadProgramState(path, s, grid, notifier));
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList({"SaveLoadProgramState_SaveError_1:\n FILE NOT EXIST\n"}));
}

void TestProgramState::notAPlainFileIsRefusedAtOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    // A pipe would hold start-up until someone wrote to it.
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("link to a pipe") << "link";
}

void TestProgramState::notAPlainFileIsRefusedAtOnce()
{
    QFETCH(QString, kind);
    const QByteArray where = QFile::encodeName(path);
    if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkpath("config.cfg"));
    } else if (kind == u"fifo") {
        QVERIFY(::mkfifo(where.constData(), 0644) == 0);
    } else {
        const QByteArray fifo = QFile::encodeName(dir.filePath("pipe"));
        QVERIFY(::mkfifo(fifo.constData(), 0644) == 0);
        QVERIFY(::symlink(fifo.constData(), where.constData()) == 0);
    }
    ProgramState s;
    O2RefGrid grid;
    QVERIFY(!LoadProgramState(path, s, grid, notifier));
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QStringLiteral("SaveLoadProgramState_LoadError_2:\nnot a regular file")});
    QFile::remove(path);
    QDir(path).removeRecursively();
}

void TestProgramState::shortFileKeepsWhatWasRead_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("inside the number boxes") << 20;
    QTest::newRow("inside the grid") << 1000;
    QTest::newRow("inside the address") << 3045;
    QTest::newRow("inside the folder") << 3040 + 18 + 3;
    QTest::newRow("before the point indices") << 3040 + 18 + 17;
    QTest::newRow("before the voltmeter channel") << 3040 + 18 + 17 + 3;
}

void TestProgramState::shortFileKeepsWhatWasRead()
{
    QFETCH(int, length);
    O2RefGrid grid;
    grid.FillO2Defaults(25, 6500, 100);
    const QByteArray full = encodeProgramState(unusualState(), grid);
    writeAll(path, full.left(length));

    ProgramState s;
    O2RefGrid back;
    QVERIFY(!LoadProgramState(path, s, back, notifier));
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList({"SaveLoadProgramState_LoadError_2:\nUnexpected end of file"}));
    // Fields before the cut hold the file's values, those after keep theirs.
    QCOMPARE(s.LanguageId, length > 0 ? 1 : 0);
    QCOMPARE(s.dashChartVisible, length >= 38);
    QCOMPARE(s.LastDeviceAddress, length > 3058 ? unusualState().LastDeviceAddress
                                                : QString("UNKNOWN_ADDRESS"));
    QCOMPARE(s.VoltmeterChannel, 1);
}

void TestProgramState::arbitraryBytesNeverCrash()
{
    QRandomGenerator random(20261209);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(random.bounded(0, 4000), Qt::Uninitialized);
        for (char& b : bytes)
            b = static_cast<char>(random.bounded(256));
        writeAll(path, bytes);
        ProgramState s;
        O2RefGrid grid;
        LoadProgramState(path, s, grid, notifier);
    }
}

void TestProgramState::failedSaveKeepsThePreviousFile()
{
    // A folder in the file's place can be neither deleted nor replaced.
    QVERIFY(QDir(dir.path()).mkpath("occupied/config.cfg"));
    const QString blocked = dir.filePath("occupied/config.cfg");
    SaveProgramState(blocked, unusualState(), O2RefGrid(), notifier);
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList({"SaveLoadProgramState_Save_Error_1:\n Can't delete file before saving\nIs a directory"}));
    QVERIFY(QFileInfo(blocked).isDir());

    // A good save over an old file replaces it whole.
    notifier.clear();
    writeAll(path, QByteArray(5000, 'x'));
    SaveProgramState(path, ProgramState(), O2RefGrid(), notifier);
    QVERIFY(notifier.entries.isEmpty());
    QCOMPARE(readAll(path), encodeProgramState(ProgramState(), O2RefGrid()));
}

void TestProgramState::saveIntoMissingFolderSaysWhy()
{
    SaveProgramState(dir.filePath("no/such/folder/config.cfg"), ProgramState(), O2RefGrid(), notifier);
    const QStringList messages = notifier.texts(RecordingNotifier::Message);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith("SaveLoadProgramState_Save_Error_2:\n"));
    QVERIFY(messages[0].size() > QString("SaveLoadProgramState_Save_Error_2:\n").size());
}

QTEST_GUILESS_MAIN(TestProgramState)
#include "tst_programstate.moc"
