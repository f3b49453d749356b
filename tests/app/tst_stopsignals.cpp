// The signals that ask the program to end: SIGTERM, SIGINT and SIGHUP close
// the window as its close button does, and end a command-line recording as
// its time would, with the file finished.
#include "logfile.h"
#include "stopsignalwatcher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

class TestStopSignals : public QObject {
    Q_OBJECT
private slots:
    void watcherTurnsEachSignalIntoOneStop_data();
    void watcherTurnsEachSignalIntoOneStop();
    void windowClosesCleanlyOnSignal_data();
    void windowClosesCleanlyOnSignal();
    void cliRecordingEndsFinishedOnSigterm();
};

void TestStopSignals::watcherTurnsEachSignalIntoOneStop_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestStopSignals::watcherTurnsEachSignalIntoOneStop()
{
    QFETCH(int, number);
    struct sigaction before {};
    QCOMPARE(::sigaction(number, nullptr, &before), 0);
    {
        StopSignalWatcher watcher;
        QVERIFY(watcher.isActive());
        QSignalSpy stops(&watcher, &StopSignalWatcher::stopRequested);
        QCOMPARE(::raise(number), 0);
        QTRY_COMPARE(stops.count(), 1);
        QTest::qWait(50);
        QCOMPARE(stops.count(), 1);
    }
    // The earlier handler is back.
    struct sigaction after {};
    QCOMPARE(::sigaction(number, nullptr, &after), 0);
    QCOMPARE(reinterpret_cast<void*>(after.sa_handler), reinterpret_cast<void*>(before.sa_handler));
}

void TestStopSignals::windowClosesCleanlyOnSignal_data()
{
    watcherTurnsEachSignalIntoOneStop_data();
}

void TestStopSignals::windowClosesCleanlyOnSignal()
{
    QFETCH(int, number);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess client;
    client.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    client.setProcessEnvironment(env);
    client.start(QStringLiteral(ZANTO_APP_PATH), {QStringLiteral("--simulator")});
    QVERIFY(client.waitForStarted());
    // Up and running: its first start has no config.cfg and says so, which
    // offscreen waits in a message box; a signal must end even that.
    QTest::qWait(2500);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("config.cfg"))));
    ::kill(pid_t(client.processId()), number);
    QVERIFY(client.waitForFinished(15000));
    QCOMPARE(client.exitStatus(), QProcess::NormalExit);
    QCOMPARE(client.exitCode(), 0);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("config.cfg"))).size() > 0);
}

void TestStopSignals::cliRecordingEndsFinishedOnSigterm()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("drive.log"));
    QProcess cli;
    cli.start(QStringLiteral(ZANTO_CLI_PATH),
              {QStringLiteral("--simulator"), QStringLiteral("record"), QStringLiteral("60"), file});
    QVERIFY(cli.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(file).size() > LogFile::fileSize(60), 10000);
    ::kill(pid_t(cli.processId()), SIGTERM);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(!LogFile::isUnfinished(bytes));
    QCOMPARE((bytes.size() - LogFile::HeaderSize) % LogFile::RecordSize, 0);
    QVERIFY(bytes.size() > LogFile::fileSize(60));
}

QTEST_GUILESS_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
