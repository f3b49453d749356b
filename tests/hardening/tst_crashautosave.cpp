// Recordings that survive a kill: a child records from the simulated
// Converter with the logger's autosave on and is killed with SIGKILL at a
// random moment, many times. After each kill the autosave file must load,
// and hold exactly the first samples the child had received (its side log),
// missing at most the last second's (50 samples).
#include "logfile.h"
#include "zantolog.h"
#include "recordingnotifier.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Kills = 30;
constexpr qsizetype SamplesPerSecond = 50;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestCrashAutosave : public QObject {
    Q_OBJECT
private slots:
    void killedRecordingKeepsAllButTheLastSecond();
    void killedCliRecordingIsAValidLog();
};

void TestCrashAutosave::killedRecordingKeepsAllButTheLastSecond()
{
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/autosavechild");
    QVERIFY(QFileInfo(child).isExecutable());
    QRandomGenerator random(20261210);
    qsizetype mostLost = 0;
    qsizetype longest = 0;

    for (int kill = 0; kill < Kills; ++kill) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("autosave"));
        const QString sideLog = dir.filePath(QStringLiteral("side.bin"));
        QProcess process;
        process.setProgram(child);
        process.setArguments({folder, sideLog});
        process.start();
        QVERIFY(process.waitForStarted());
        // From the moment the recording's file exists, any moment will do.
        const QString file = QDir(folder).filePath(QStringLiteral("Dcrash.log"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 10000);
        QTest::qWait(int(random.bounded(2000)));
        QVERIFY2(process.state() == QProcess::Running, qPrintable(process.readAllStandardError()));
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        const QStringList files = QDir(folder).entryList({QStringLiteral("*.log")}, QDir::Files);
        QCOMPARE(files, QStringList{QStringLiteral("Dcrash.log")});
        const QByteArray saved = readAll(QDir(folder).filePath(files.first()));
        const QByteArray received = readAll(sideLog);
        QVERIFY2(saved.size() >= LogFile::HeaderSize, qPrintable(QString::number(saved.size())));
        QVERIFY(LogFile::isUnfinished(saved));

        const qsizetype savedSamples = (saved.size() - LogFile::HeaderSize) / LogFile::RecordSize;
        const qsizetype receivedSamples = received.size() / LogFile::RecordSize;
        // The side log may trail the file by a tick of its own timer.
        QVERIFY2(savedSamples <= receivedSamples + 2,
                 qPrintable(QStringLiteral("%1 > %2").arg(savedSamples).arg(receivedSamples)));
        const qsizetype common = std::min(savedSamples, receivedSamples);
        QCOMPARE(saved.mid(LogFile::HeaderSize, common * LogFile::RecordSize),
                 received.left(common * LogFile::RecordSize));
        const qsizetype lost = receivedSamples - savedSamples;
        QVERIFY2(lost <= SamplesPerSecond,
                 qPrintable(QStringLiteral("lost %1 of %2").arg(lost).arg(receivedSamples)));
        mostLost = std::max(mostLost, lost);
        longest = std::max(longest, receivedSamples);

        // And the reader the window and log2csv use takes it as it is.
        RecordingNotifier notifier;
        TZantoBroadcaster bus;
        TZantoLog log(nullptr, bus, notifier);
        log.LoadLog(QDir(folder).filePath(files.first()));
        QVERIFY(notifier.entries.isEmpty());
        QCOMPARE(log.store().sampleCount(), savedSamples);
    }
    qInfo("%d kills, at most %lld samples lost, longest recording %lld samples", Kills,
          static_cast<long long>(mostLost), static_cast<long long>(longest));
}

void TestCrashAutosave::killedCliRecordingIsAValidLog()
{
    const QString cli = QStringLiteral(ZANTO_CLI_PATH);
    QVERIFY(QFileInfo(cli).isExecutable());
    QRandomGenerator random(17);
    for (int kill = 0; kill < 5; ++kill) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("drive.log"));
        QProcess process;
        process.start(cli, {QStringLiteral("--simulator"), QStringLiteral("record"), QStringLiteral("60"), file});
        QVERIFY(process.waitForStarted());
        // Long enough for the handshake and a second of samples.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(file).size() > LogFile::HeaderSize + 50 * LogFile::RecordSize, 10000);
        const qint64 before = QFileInfo(file).size();
        QTest::qWait(int(random.bounded(1500)));
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished());
        const QByteArray saved = readAll(file);
        QVERIFY(saved.size() >= before);
        QVERIFY(saved.startsWith(LogFile::header(0, 0, true)));
        RecordingNotifier notifier;
        TZantoBroadcaster bus;
        TZantoLog log(nullptr, bus, notifier);
        log.LoadLog(file);
        QVERIFY(notifier.entries.isEmpty());
        QCOMPARE(log.store().sampleCount(), (saved.size() - LogFile::HeaderSize) / LogFile::RecordSize);
    }
}

QTEST_GUILESS_MAIN(TestCrashAutosave)
#include "tst_crashautosave.moc"
