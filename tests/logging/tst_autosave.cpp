// The autosave writer and its folder at the model level: which names are
// ours, a second recording in the same second, the writer keeping the file
// a valid log between ticks, and a folder that vanishes before the finish.
#include "autosavefolder.h"
#include "logautosave.h"
#include "logfile.h"
#include "logstore.h"
#include "logtexts.h"
#include "recordingnotifier.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LogSample sampleAt(int k)
{
    LogSample s;
    s.rawAux = k;
    s.colConverter = k & 0xFF;
    s.colRpm = (k * 31) & 0xFFFF;
    s.colO2 = (k * 7) & 0xFF;
    s.colCorr = -(k % 200);
    return s;
}

}  // namespace

class TestAutosave : public QObject {
    Q_OBJECT
private slots:
    void ourNames_data();
    void ourNames();
    void secondRecordingOfTheSameSecondGetsItsOwnFile();
    void fileIsAValidLogAfterEveryTick();
    void vanishedFolderIsReportedOnceAtTheFinish();
};

void TestAutosave::ourNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ours");
    QTest::newRow("save-all name") << "D09122026T1_07_15.log" << true;
    QTest::newRow("second of a second") << "D09122026T1_07_15_2.log" << true;
    QTest::newRow("just D") << "D.log" << false;
    QTest::newRow("upper-case extension") << "D09122026.LOG" << false;
    QTest::newRow("another name") << "drive.log" << false;
    QTest::newRow("a table") << "D09122026T1_07_15.tab" << false;
    QTest::newRow("a save temporary") << "D09122026T1_07_15.log.a1B2c3" << false;
}

void TestAutosave::ourNames()
{
    QFETCH(QString, name);
    QFETCH(bool, ours);
    QCOMPARE(AutosaveFolder::isAutosaveName(name), ours);
}

void TestAutosave::secondRecordingOfTheSameSecondGetsItsOwnFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("autosave"));
    const QString first = AutosaveFolder::prepare(folder, QStringLiteral("D1T1"), 19);
    QCOMPARE(first, QDir(folder).filePath(QStringLiteral("D1T1.log")));
    QVERIFY(QDir(folder).exists());
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = AutosaveFolder::prepare(folder, QStringLiteral("D1T1"), 19);
    QCOMPARE(second, QDir(folder).filePath(QStringLiteral("D1T1_2.log")));
    QVERIFY(QFile::exists(first));
}

void TestAutosave::fileIsAValidLogAfterEveryTick()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("D1.log"));
    RecordingNotifier notifier;
    LogStore store;
    LogAutosave writer(store, notifier);
    QVERIFY(writer.begin(path, 3, 250));
    QCOMPARE(readAll(path), LogFile::header(3, 250, true));
    int k = 0;
    for (int tick = 0; tick < 20; ++tick) {
        for (int j = 0; j < tick % 7; ++j)
            store.append(sampleAt(k++));
        writer.writePending();
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), LogFile::fileSize(k));
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        LogFile::write(expected, store.logColumns(), 3, 250);
        QCOMPARE(bytes.mid(LogFile::HeaderSize), expected.data().mid(LogFile::HeaderSize));
    }
    store.deriveO2Smooth(30, k - 20);
    QVERIFY(writer.finish(store.logColumns(), 3, 250));
    QBuffer finished;
    finished.open(QIODevice::WriteOnly);
    LogFile::write(finished, store.logColumns(), 3, 250);
    QCOMPARE(readAll(path), finished.data());
    QVERIFY(notifier.entries.isEmpty());
}

void TestAutosave::vanishedFolderIsReportedOnceAtTheFinish()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("autosave"));
    const QString path = AutosaveFolder::prepare(folder, QStringLiteral("D2"), 19);
    RecordingNotifier notifier;
    LogStore store;
    LogAutosave writer(store, notifier);
    QVERIFY(writer.begin(path, 0, 0));
    store.append(sampleAt(1));
    writer.writePending();
    // Removed while the recording runs: the open file takes writes still,
    // but the finished file has nowhere to go.
    QVERIFY(QDir(folder).removeRecursively());
    store.append(sampleAt(2));
    writer.writePending();
    QVERIFY(notifier.entries.isEmpty());
    QVERIFY(!writer.finish(store.logColumns(), 0, 0));
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);
    QVERIFY2(notifier.texts(RecordingNotifier::Message).first().startsWith(
                 QString::fromUtf8(LogTexts::AutosaveNotFinished).arg(QDir::toNativeSeparators(path), QString()).left(40)),
             qPrintable(notifier.texts(RecordingNotifier::Message).first()));
    QCOMPARE(store.sampleCount(), 2);
}

QTEST_GUILESS_MAIN(TestAutosave)
#include "tst_autosave.moc"
