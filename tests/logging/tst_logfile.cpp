#include "logfile.h"
#include "logtestdata.h"
#include "logtexts.h"
#include "recordingnotifier.h"
#include "zantolog.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void compareColumns(const LogColumns& actual, const LogColumns& expected)
{
    for (const LogColumnInfo& info : logColumnInfo) {
        const LogColumn& a = actual.*info.column;
        const LogColumn& e = expected.*info.column;
        QVERIFY2(a == e, info.title);
    }
}

// One sample with every column set.
LogSample oneSample(qint32 rpm, qint32 corr, qint32 logCorr)
{
    LogSample s;
    s.colConverter = 0x11;
    s.colMarker = 0x22;
    s.colEnrichment = 0x33;
    s.colMaf = 0x44;
    s.colTps = 0x55;
    s.colRpm = rpm;
    s.colO2 = 0x66;
    s.colCorr = corr;
    s.colIat = 0x77;
    s.colEct = 0x88;
    s.colO2sm = 0x99;
    s.colLogCorr = logCorr;
    return s;
}

}  // namespace

class TestLogFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void oneSampleFileIsExact();
    void encodesRpmAndSigns_data();
    void encodesRpmAndSigns();
    void emptyRecordingWritesNoFile();
    void nameGetsExtension_data();
    void nameGetsExtension();
    void roundTripKeepsEveryColumnAndRange();
    void saveDuringLoggingWritesSamplesPresent();

    void anyNonZeroSignByteReadsNegative();
    void trailingPartialRecordIgnored();
    void olderFormatReadsEightByteRecords();
    void noMagicReadsEightByteRecordsAfterHeader();
    void shortFileGivesEmptyRecordingSilently();
    void loadSetsChartWindowAndAsksForRedraw();
    void anyBytesLoadWithoutHarm();
    void reloadReplacesTheWholeRecording();

    void saveIntoMissingFolderFails();
    void saveOverDirectoryFails();
    void failedWriteKeepsOldFile();
    void saveReplacesExistingFile();

    void unopenableFileKeepsRecording();
    void readErrorKeepsWhatWasRead();

private:
    QTemporaryDir dir;
    TZantoBroadcaster bus;
    RecordingNotifier notifier;
    QString path(const QString& name) const { return dir.filePath(name); }
};

void TestLogFile::init()
{
    notifier.clear();
    QVERIFY(dir.isValid());
    QDir d(dir.path());
    for (const QString& entry : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        QFileInfo info(d.filePath(entry));
        if (info.isDir())
            QDir(info.filePath()).removeRecursively();
        else
            QVERIFY(d.remove(entry));
    }
}

void TestLogFile::oneSampleFileIsExact()
{
    TZantoLog log(nullptr, bus, notifier);
    log.rangeLow = 0x12;
    log.rangeHigh = 0xE0;
    log.store().append(oneSample(6000, -5, 200));
    log.SaveLog(path("one"));

    const QByteArray expected = QByteArray::fromHex("12e0" "5a614e744f" "00" "0000" "01" "00000000"
                                                    "1122334455" "1770" "66" "0580" "778899" "c800");
    QCOMPARE(fileBytes(path("one.log")), expected);
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::encodesRpmAndSigns_data()
{
    QTest::addColumn<qint32>("rpm");
    QTest::addColumn<qint32>("corr");
    QTest::addColumn<QByteArray>("rpmBytes");
    QTest::addColumn<QByteArray>("corrBytes");
    QTest::newRow("6000, -5") << 6000 << -5 << QByteArray("\x17\x70", 2) << QByteArray("\x05\x80", 2);
    QTest::newRow("0, 0") << 0 << 0 << QByteArray("\x00\x00", 2) << QByteArray("\x00\x00", 2);
    QTest::newRow("65535, 255") << 65535 << 255 << QByteArray("\xff\xff", 2) << QByteArray("\xff\x00", 2);
    QTest::newRow("256, -255") << 256 << -255 << QByteArray("\x01\x00", 2) << QByteArray("\xff\x80", 2);
    QTest::newRow("255, -1") << 255 << -1 << QByteArray("\x00\xff", 2) << QByteArray("\x01\x80", 2);
}

void TestLogFile::encodesRpmAndSigns()
{
    QFETCH(qint32, rpm);
    QFETCH(qint32, corr);
    QFETCH(QByteArray, rpmBytes);
    QFETCH(QByteArray, corrBytes);

    TZantoLog log(nullptr, bus, notifier);
    log.store().append(oneSample(rpm, corr, -corr));
    log.SaveLog(path("signs.log"));
    const QByteArray bytes = fileBytes(path("signs.log"));
    QCOMPARE(bytes.size(), 30);
    QCOMPARE(bytes.mid(15 + 5, 2), rpmBytes);
    QCOMPARE(bytes.mid(15 + 8, 2), corrBytes);

    TZantoLog reader(nullptr, bus, notifier);
    reader.LoadLog(path("signs.log"));
    const LogColumns back = reader.store().logColumns();
    QCOMPARE(back.colRpm, LogColumn{rpm});
    QCOMPARE(back.colCorr, LogColumn{corr});
    QCOMPARE(back.colLogCorr, LogColumn{-corr});
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::emptyRecordingWritesNoFile()
{
    TZantoLog log(nullptr, bus, notifier);
    log.SaveLog(path("empty.log"));
    QVERIFY(!QFileInfo::exists(path("empty.log")));
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::nameGetsExtension_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "drive" << "drive.log";
    QTest::newRow("already .log") << "drive.log" << "drive.log";
    QTest::newRow("upper case") << "drive.LOG" << "drive.LOG.log";
    QTest::newRow("mixed case") << "drive.Log" << "drive.Log.log";
    QTest::newRow("other extension") << "drive.tab" << "drive.tab.log";
    QTest::newRow(".log inside") << "drive.log.bak" << "drive.log.bak.log";
}

void TestLogFile::nameGetsExtension()
{
    QFETCH(QString, given);
    QFETCH(QString, written);
    TZantoLog log(nullptr, bus, notifier);
    log.store().append(oneSample(1, 1, 1));
    log.SaveLog(path(given));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(QFileInfo(path(written)).size(), 30);
}

void TestLogFile::roundTripKeepsEveryColumnAndRange()
{
    const qsizetype n = 70000;  // more than one block of the reader and writer
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(patternedRecording(n));
    log.rangeLow = 7;
    log.rangeHigh = 251;
    log.SaveLog(path("trip"));
    QCOMPARE(QFileInfo(path("trip.log")).size(), LogFile::fileSize(n));

    TZantoLog reader(nullptr, bus, notifier);
    reader.LoadLog(path("trip.log"));
    QVERIFY(notifier.entries.isEmpty());
    QCOMPARE(reader.rangeLow, 7);
    QCOMPARE(reader.rangeHigh, 251);
    const LogSnapshot back = reader.store().snapshot();
    compareColumns(back.log, patternedRecording(n));
    QCOMPARE(back.raw.count(), 0);

    // Saved again, the file is the same byte for byte.
    reader.SaveLog(path("again"));
    QCOMPARE(fileBytes(path("again.log")), fileBytes(path("trip.log")));
}

void TestLogFile::saveDuringLoggingWritesSamplesPresent()
{
    TZantoLog log(nullptr, bus, notifier);
    LogSample s = oneSample(100, 1, 1);
    s.rawAux = 5;
    log.store().append(s);
    log.store().append(s);
    log.SaveLog(path("live"));
    QCOMPARE(QFileInfo(path("live.log")).size(), 45);
}

void TestLogFile::anyNonZeroSignByteReadsNegative()
{
    QByteArray file = logHeader(0, 255);
    QByteArray record = QByteArray::fromHex("0102030405177064" "0501" "0a0b0c" "0701");
    file += record;
    record[9] = char(0x80);
    record[14] = char(0xFF);
    file += record;
    record[9] = 0;
    record[14] = 0;
    file += record;
    writeBytes(path("signs.log"), file);

    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(path("signs.log"));
    const LogColumns c = log.store().logColumns();
    QCOMPARE(c.colCorr, (LogColumn{-5, -5, 5}));
    QCOMPARE(c.colLogCorr, (LogColumn{-7, -7, 7}));
    QCOMPARE(c.colRpm, (LogColumn{6000, 6000, 6000}));
}

void TestLogFile::trailingPartialRecordIgnored()
{
    const LogColumns three = patternedRecording(3);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(LogFile::write(buffer, three, 1, 2));
    QByteArray file = buffer.data() + QByteArray("\x01\x02\x03\x04\x05\x06\x07", 7);
    QCOMPARE(file.size(), 15 + 15 * 3 + 7);
    writeBytes(path("tail.log"), file);

    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(path("tail.log"));
    compareColumns(log.store().logColumns(), three);
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::olderFormatReadsEightByteRecords()
{
    QByteArray file = logHeader(3, 4, 0) + QByteArray(9, char(0xEE));
    file += QByteArray::fromHex("0102030405177064");
    file += QByteArray::fromHex("ff00807f80ffffff");
    file += QByteArray::fromHex("0102");  // partial
    writeBytes(path("old.log"), file);

    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(path("old.log"));
    const LogColumns c = log.store().logColumns();
    QCOMPARE(c.colConverter, (LogColumn{1, 255}));
    QCOMPARE(c.colMarker, (LogColumn{2, 0}));
    QCOMPARE(c.colEnrichment, (LogColumn{3, 128}));
    QCOMPARE(c.colMaf, (LogColumn{4, 127}));
    QCOMPARE(c.colTps, (LogColumn{5, 128}));
    QCOMPARE(c.colRpm, (LogColumn{6000, 65535}));
    QCOMPARE(c.colO2, (LogColumn{100, 255}));
    for (const LogColumn* zero : {&c.colCorr, &c.colIat, &c.colEct, &c.colO2sm, &c.colLogCorr})
        QCOMPARE(*zero, (LogColumn{0, 0}));
    QCOMPARE(log.rangeLow, 3);
    QCOMPARE(log.rangeHigh, 4);
}

void TestLogFile::noMagicReadsEightByteRecordsAfterHeader()
{
    QByteArray file("\x09\x0aNOTALOG-------", 15);
    file += QByteArray::fromHex("0102030405177064");
    file += QByteArray::fromHex("0807060504030201");
    writeBytes(path("plain.log"), file);

    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(path("plain.log"));
    const LogColumns c = log.store().logColumns();
    QCOMPARE(c.colConverter, (LogColumn{1, 8}));
    QCOMPARE(c.colRpm, (LogColumn{6000, 3 * 256 + 2}));
    QCOMPARE(c.colO2, (LogColumn{100, 1}));
    QCOMPARE(c.colCorr, (LogColumn{0, 0}));
    QCOMPARE(log.rangeLow, 9);
    QCOMPARE(log.rangeHigh, 10);
}

void TestLogFile::shortFileGivesEmptyRecordingSilently()
{
    writeBytes(path("short.log"), logHeader(1, 2).left(14));
    TZantoLog log(nullptr, bus, notifier);
    log.rangeLow = 50;
    log.store().replaceLog(patternedRecording(200));
    log.hasData = true;
    QSignalSpy redraws(&log, &TZantoLog::redrawRequested);

    log.LoadLog(path("short.log"));
    QCOMPARE(log.store().sampleCount(), 0);
    QCOMPARE(log.rangeLow, 50);
    QVERIFY(!log.hasData);
    QCOMPARE(redraws.count(), 0);
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::loadSetsChartWindowAndAsksForRedraw()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(LogFile::write(buffer, patternedRecording(1000), 0, 255));
    writeBytes(path("thousand.log"), buffer.data());

    TZantoLog log(nullptr, bus, notifier);
    log.hasData = true;
    log.windowStart = 77;
    QSignalSpy redraws(&log, &TZantoLog::redrawRequested);
    log.LoadLog(path("thousand.log"));
    QCOMPARE(log.windowStart, qsizetype(0));
    QCOMPARE(log.windowEnd, qsizetype(980));
    QCOMPARE(log.chartStep, qsizetype(2));
    QVERIFY(!log.hasData);  // the chart sets it once it has drawn
    QCOMPARE(redraws.count(), 1);
    QCOMPARE(redraws.at(0).at(0).value<qsizetype>(), qsizetype(2));
}

void TestLogFile::anyBytesLoadWithoutHarm()
{
    // Whatever a file holds, the reader takes exactly the whole records its
    // form allows and never reads beyond them.
    QRandomGenerator random(20261209);
    TZantoLog log(nullptr, bus, notifier);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(0, 120), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        const int form = random.bounded(3);
        if (form > 0 && bytes.size() >= 11) {
            bytes.replace(2, 5, "ZaNtO");
            bytes[10] = char(form == 1 ? 1 : random.bounded(256));
        }
        const bool magic = bytes.size() >= 15 && bytes.mid(2, 5) == "ZaNtO";
        const bool full = magic && quint8(bytes[10]) == 1;
        const qsizetype headerSize = magic && !full ? 24 : 15;
        const qsizetype recordSize = full ? 15 : 8;
        const qsizetype expected =
            bytes.size() < headerSize ? 0 : (bytes.size() - headerSize) / recordSize;

        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        log.LoadLog(buffer, QStringLiteral("random"));
        const LogColumns c = log.store().logColumns();
        QCOMPARE(c.count(), expected);
        QCOMPARE(c.shortest(), expected);
        if (expected > 0) {
            const qsizetype last = headerSize + (expected - 1) * recordSize;
            QCOMPARE(c.colConverter.constLast(), qint32(quint8(bytes[last])));
            QCOMPARE(c.colRpm.constLast(), qint32(quint8(bytes[last + 5])) * 256 + quint8(bytes[last + 6]));
            QCOMPARE(c.colO2.constLast(), qint32(quint8(bytes[last + 7])));
        }
    }
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::reloadReplacesTheWholeRecording()
{
    // A reload fills the previous recording's storage again: nothing of the
    // old samples may show through, and a copy taken before stays as it was.
    QBuffer longer;
    longer.open(QIODevice::WriteOnly);
    QVERIFY(LogFile::write(longer, patternedRecording(1000), 1, 2));
    writeBytes(path("long.log"), longer.data());
    QByteArray older = logHeader(5, 6, 0) + QByteArray(9, '\0') + QByteArray::fromHex("0102030405177064");
    writeBytes(path("old.log"), older);

    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(path("long.log"));
    const LogColumns before = log.store().logColumns();
    log.LoadLog(path("old.log"));
    const LogColumns c = log.store().logColumns();
    QCOMPARE(c.colConverter, LogColumn{1});
    QCOMPARE(c.colRpm, LogColumn{6000});
    for (const LogColumn* zero : {&c.colCorr, &c.colIat, &c.colEct, &c.colO2sm, &c.colLogCorr})
        QCOMPARE(*zero, LogColumn{0});
    compareColumns(before, patternedRecording(1000));

    log.LoadLog(path("long.log"));
    compareColumns(log.store().logColumns(), patternedRecording(1000));
    QVERIFY(notifier.entries.isEmpty());
}

void TestLogFile::saveIntoMissingFolderFails()
{
    TZantoLog log(nullptr, bus, notifier);
    log.store().append(oneSample(1, 1, 1));
    log.SaveLog(path("nowhere/rec"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{QString::fromUtf8(LogTexts::NoWritePermission) + "\nNo such file or directory"});
    QVERIFY(!QFileInfo::exists(path("nowhere")));
}

void TestLogFile::saveOverDirectoryFails()
{
    // Even root cannot replace a directory by a file.
    QVERIFY(QDir(dir.path()).mkpath("taken.log/inside"));
    TZantoLog log(nullptr, bus, notifier);
    log.store().append(oneSample(1, 1, 1));
    log.SaveLog(path("taken"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{QString::fromUtf8(LogTexts::CantDeleteBeforeSaving) + "\nIs a directory"});
    QVERIFY(QFileInfo(path("taken.log/inside")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"taken.log"});
}

void TestLogFile::failedWriteKeepsOldFile()
{
    const QByteArray old = logHeader(1, 2) + QByteArray(15, 'x');
    writeBytes(path("keep.log"), old);

    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(patternedRecording(5000));  // 75 kB

    // A file size limit makes the write fail part way, for root as well.
    struct rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    log.SaveLog(path("keep.log"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(fileBytes(path("keep.log")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"keep.log"});
    // The reason is the system's own; the sentence around it is ours.
    const QStringList messages = notifier.texts(RecordingNotifier::Message);
    QCOMPARE(messages.size(), 1);
    const QString prefix = QString::fromUtf8(LogTexts::CannotWriteLog).arg(path("keep.log"), QString());
    QVERIFY2(messages[0].startsWith(prefix) && messages[0].size() > prefix.size(), qPrintable(messages[0]));
}

void TestLogFile::saveReplacesExistingFile()
{
    writeBytes(path("over.log"), QByteArray(100, 'x'));
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(patternedRecording(2));
    log.SaveLog(path("over.log"));
    QCOMPARE(QFileInfo(path("over.log")).size(), 45);
    QVERIFY(notifier.entries.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"over.log"});
}

void TestLogFile::unopenableFileKeepsRecording()
{
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(patternedRecording(150));
    log.hasData = true;
    QSignalSpy redraws(&log, &TZantoLog::redrawRequested);

    log.LoadLog(path("absent.log"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::CannotOpenLog).arg(path("absent.log"), "No such file or directory")});
    QCOMPARE(log.store().sampleCount(), qsizetype(150));
    QVERIFY(!log.hasData);
    QCOMPARE(redraws.count(), 0);

    notifier.clear();
    QVERIFY(QDir(dir.path()).mkdir("folder.log"));
    log.LoadLog(path("folder.log"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);
    QCOMPARE(log.store().logColumns().shortest(), log.store().sampleCount());
    QCOMPARE(redraws.count(), 0);
}

void TestLogFile::readErrorKeepsWhatWasRead()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(LogFile::write(buffer, patternedRecording(5), 8, 9));
    const QByteArray cut = buffer.data().left(15 + 15 * 5 + 4);

    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(patternedRecording(300));
    log.hasData = true;
    QSignalSpy redraws(&log, &TZantoLog::redrawRequested);
    FailingDevice failing(cut);
    log.LoadLog(failing, QStringLiteral("disk.log"));

    compareColumns(log.store().logColumns(), patternedRecording(5));
    QCOMPARE(log.rangeLow, 8);
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::CannotReadLog).arg("disk.log", "Input/output error")});
    QVERIFY(!log.hasData);
    QCOMPARE(redraws.count(), 0);

    // A failure inside the header leaves an empty recording.
    notifier.clear();
    FailingDevice early(cut.left(6));
    log.LoadLog(early, QStringLiteral("disk.log"));
    QCOMPARE(log.store().sampleCount(), 0);
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
