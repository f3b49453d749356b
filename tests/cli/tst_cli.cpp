// The command-line client as a script sees it: the real executable, its
// standard output, standard error and exit status, against the in-process
// simulated Converter and against converter-sim on a pty.

#include "clitexts.h"
#include "logcsv.h"
#include "logfile.h"
#include "logtexts.h"
#include "linktexts.h"
#include "protocoltexts.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <limits>
#include <memory>

namespace {

constexpr int RunMs = 30000;

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

QByteArray utf8(const char* s)
{
    return QByteArray(s);
}

QByteArray usageError(const QString& why)
{
    return "zantotps-cli: " + why.toUtf8() + "\n" + utf8(CliTexts::Usage) + "\n";
}

void startCli(QProcess& process, const QStringList& args, const QStringList& extraEnv = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : extraEnv)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZANTOTPS_CLI_PATH), args);
}

Run finish(QProcess& process)
{
    Run run;
    if (!process.waitForFinished(RunMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Run runCli(const QStringList& args, const QStringList& extraEnv = {})
{
    QProcess process;
    startCli(process, args, extraEnv);
    return finish(process);
}

// converter-sim on its pty, telling what it understood on standard error.
struct ConverterSim {
    explicit ConverterSim(const QStringList& options = {})
    {
        process.start(QStringLiteral(CONVERTER_SIM_PATH), QStringList{"--verbose"} + options);
        if (process.waitForStarted(5000) && process.waitForReadyRead(5000))
            path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~ConverterSim()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished();
    }
    // Everything it reported so far.
    QByteArray journal()
    {
        process.waitForReadyRead(50);
        told += process.readAllStandardError();
        return told;
    }
    bool waitForJournal(const QByteArray& line, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!journal().contains(line)) {
            if (clock.elapsed() > ms)
                return false;
            process.waitForReadyRead(100);
        }
        return true;
    }

    QProcess process;
    QString path;
    QByteArray told;
};

// A firmware image of two blocks (3 and 1 bytes).
constexpr char TwoBlocks[] = "00 03 AA BB CC 00 01 DD";

// The samples a "samples N" line gives, or -1.
int samplesIn(const QByteArray& out)
{
    static const QRegularExpression line(QStringLiteral("^samples (\\d+)\\n$"));
    const QRegularExpressionMatch m = line.match(QString::fromUtf8(out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Checks a saved recording: its size fits the count, and its CSV export has
// one row per sample at 20 ms steps.
void verifyRecording(const QString& file, int samples)
{
    QCOMPARE(QFileInfo(file).size(), LogFile::fileSize(samples));
    const Run csv = runCli({"log2csv", file});
    QCOMPARE(csv.code, 0);
    QCOMPARE(csv.err, QByteArray());
    const QList<QByteArray> rows = csv.out.split('\n');
    QCOMPARE(rows.size(), samples + 2);  // header, rows, the empty piece after the last break
    QCOMPARE(rows.first(), LogCsv::headerLine().trimmed());
    QVERIFY(rows.at(rows.size() - 2).startsWith(QString::number((samples - 1) * 0.02, 'f', 3).toUtf8() + ","));
    QCOMPARE(rows.last(), QByteArray());
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void help();
    void usageErrors_data();
    void usageErrors();
    void simulatorCommands_data();
    void simulatorCommands();
    void firmwareUpdate_data();
    void firmwareUpdate();
    void missingFiles_data();
    void missingFiles();
    void portInfo_data();
    void portInfo();
    void absentDevices_data();
    void absentDevices();
    void portCommandsChangeTheConverter();
    void converterLostAfterHandshake();
    void recordSimulator();
    void recordPort();
    void ctrlCStopsRecordingAndSaves();
    void lostConverterStillSaves();
    void logToCsvFixture();
    void csvFormatsEveryValue();

private:
    QTemporaryDir dir;
};

void TestCli::help()
{
    const Run run = runCli({"--help"});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, utf8(CliTexts::Help));
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.startsWith(utf8(CliTexts::Usage) + "\n"));
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("why");
    QTest::newRow("no command") << QStringList{"--simulator"} << "no command given";
    QTest::newRow("unknown command") << QStringList{"--simulator", "flash"} << "unknown command: flash";
    QTest::newRow("unknown option") << QStringList{"--fast", "info"} << "unknown option: --fast";
    QTest::newRow("no connection") << QStringList{"info"} << QString::fromUtf8(CliTexts::OneConnection);
    QTest::newRow("two connections") << QStringList{"--simulator", "--port", "/dev/null", "info"}
                                     << QString::fromUtf8(CliTexts::OneConnection);
    QTest::newRow("odd baud") << QStringList{"--port", "/dev/null", "--baud", "12345", "info"}
                              << "unsupported baud rate: 12345";
    QTest::newRow("baud without port") << QStringList{"--simulator", "--baud", "9600", "info"}
                                       << "unknown option: --baud";
    QTest::newRow("extra argument") << QStringList{"--simulator", "read", "now"}
                                    << "wrong number of arguments for read";
    QTest::newRow("angle above range") << QStringList{"--simulator", "write-angle", "12.51"}
                                       << "DEGREES must be a number from -12.5 to 12.5: 12.51";
    QTest::newRow("angle with comma") << QStringList{"--simulator", "write-angle", "2,5"}
                                      << "DEGREES must be a number from -12.5 to 12.5: 2,5";
    QTest::newRow("angle not a number") << QStringList{"--simulator", "write-angle", "nan"}
                                        << "DEGREES must be a number from -12.5 to 12.5: nan";
    QTest::newRow("calibrate neither end") << QStringList{"--simulator", "calibrate", "half"}
                                           << "calibrate takes closed or open: half";
    QTest::newRow("record no time") << QStringList{"--simulator", "record", "0", "x.log"}
                                    << "SECONDS must be a number above 0 and at most 2000000: 0";
    QTest::newRow("log2csv no file") << QStringList{"log2csv"} << "wrong number of arguments for log2csv";
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, why);
    const Run run = runCli(args);
    QCOMPARE(run.code, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, usageError(why));
}

void TestCli::simulatorCommands_data()
{
    const QByteArray reading = utf8(ProtocolTexts::Reading) + "\nOK\n";
    const QByteArray writing = "RAM 0%\nRAM 100% \nEEPROM 0%\n" + utf8(ProtocolTexts::Verifying100) + "\nOK\n";
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("info") << QStringList{"info"} << QByteArray("firmware 2.3\nreference 3PIN\n") << QByteArray();
    QTest::newRow("read") << QStringList{"read"} << QByteArray("angle 10.0\n") << reading;
    QTest::newRow("write-angle") << QStringList{"write-angle", "-3.4"} << QByteArray() << writing;
    QTest::newRow("calibrate closed") << QStringList{"calibrate", "closed"} << QByteArray() << QByteArray();
    QTest::newRow("reset") << QStringList{"reset"} << QByteArray("angle 10.0\n") << reading;
}

void TestCli::simulatorCommands()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Run run = runCli(QStringList{"--simulator"} + args);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.code, 0);
}

void TestCli::firmwareUpdate_data()
{
    const QByteArray progress = "0%\n62%\n100%\n" + utf8(ProtocolTexts::FirmwareDone) + "\n";
    QTest::addColumn<bool>("simulated");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<int>("code");
    QTest::newRow("simulated") << true << QStringList() << progress << QByteArray() << 0;
    QTest::newRow("port") << false << QStringList() << progress
                          << QByteArray("firmware block 1 (3 bytes): accepted") << 0;
    // A block rejected every time fails the command.
    QTest::newRow("rejected") << false << QStringList{"--reject-times", "4", "--reject-block", "1"}
                              << "0%\n62%\n62%\n62%\n62%\n" + utf8(ProtocolTexts::FirmwareCrcError) + "\n"
                              << QByteArray("firmware block 1 (3 bytes): rejected") << 1;
}

void TestCli::firmwareUpdate()
{
    QFETCH(bool, simulated);
    QFETCH(QStringList, simOptions);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, journal);
    QFETCH(int, code);
    const QString image = dir.filePath("image.enc");
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TwoBlocks);
    file.close();

    std::unique_ptr<ConverterSim> sim;
    if (!simulated)
        sim = std::make_unique<ConverterSim>(simOptions);
    const Run run = runCli((simulated ? QStringList{"--simulator"} : QStringList{"--port", sim->path}) +
                           QStringList{"firmware", image});
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.code, code);
    if (sim)
        QVERIFY(sim->waitForJournal(journal, 2000));
}

void TestCli::missingFiles_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("err");
    const QString missing = dir.filePath("missing.enc");
    QTest::newRow("firmware") << QStringList{"--simulator", "firmware", missing}
                              << utf8(ProtocolTexts::FileNotFound);
    const QString missingLog = dir.filePath("missing.log");
    QTest::newRow("log2csv") << QStringList{"log2csv", missingLog}
                             << QString::fromUtf8(LogTexts::CannotOpenLog)
                                    .arg(missingLog, "No such file or directory")
                                    .toUtf8() + "\n";
    QTest::newRow("csv into a missing folder")
        << QStringList{"log2csv", QFINDTESTDATA("tst_cli.cpp"), dir.filePath("no/such/dir/x.csv")}
        << QByteArray();
}

void TestCli::missingFiles()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, err);
    const Run run = runCli(args);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.out, QByteArray());
    if (err.isEmpty())
        QVERIFY(run.err.startsWith("Cannot write the CSV file " + dir.filePath("no/such/dir/x.csv").toUtf8() + ": "));
    else
        QCOMPARE(run.err, err);
}

void TestCli::portInfo_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<int>("code");
    QTest::newRow("factory") << QStringList() << QByteArray("firmware 2.3\nreference 3PIN\n") << QByteArray() << 0;
    QTest::newRow("four-pin reference") << QStringList{"--handshake-answer", "00001f01"}
                                        << QByteArray("firmware 3.1\nreference 4PIN\n") << QByteArray() << 0;
    QTest::newRow("silent") << QStringList{"--silent"} << QByteArray() << QByteArray("DEVICE NOT FOUND\n") << 1;
    QTest::newRow("wrong answer") << QStringList{"--wrong-handshake"} << QByteArray()
                                  << QByteArray("DEVICE NOT FOUND\n") << 1;
}

void TestCli::portInfo()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(int, code);
    ConverterSim sim(simOptions);
    QVERIFY(sim.path.startsWith("/dev/pts/"));
    const Run run = runCli({"--port", sim.path, "--baud", "115200", "info"});
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.code, code);
}

void TestCli::absentDevices_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no such port") << QStringList{"--port", dir.filePath("ttyNone"), "read"};
    QTest::newRow("no such Bluetooth device") << QStringList{"--bluetooth", "00:11:22:33:44:55", "info"};
}

void TestCli::absentDevices()
{
    // No device at all is the same failure as one that does not answer.
    QFETCH(QStringList, args);
    const Run run = runCli(args, {"DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + dir.filePath("no-bus")});
    QCOMPARE(run.err, QByteArray("DEVICE NOT FOUND\n"));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.code, 1);
}

void TestCli::portCommandsChangeTheConverter()
{
    // converter-sim keeps its table between connections, so each command's
    // effect shows in the next one.
    // The lowest angle the command takes goes out as the byte -125.
    ConverterSim sim;
    const Run write = runCli({"--port", sim.path, "write-angle", "-12.5"});
    QCOMPARE(write.code, 0);
    QVERIFY(sim.waitForJournal("table write: entry 0 := 131, echoed", 2000));
    const Run read = runCli({"--port", sim.path, "read"});
    QCOMPARE(read.out, QByteArray("angle -12.5\n"));
    QCOMPARE(read.code, 0);

    QCOMPARE(runCli({"--port", sim.path, "calibrate", "open"}).code, 0);
    QVERIFY(sim.waitForJournal("fiusfiuz: open position", 2000));
    QCOMPARE(runCli({"--port", sim.path, "calibrate", "closed"}).code, 0);
    QVERIFY(sim.waitForJournal("fiusfiug: closed position", 2000));

    const Run reset = runCli({"--port", sim.path, "reset"});
    QCOMPARE(reset.out, QByteArray("angle 10.0\n"));
    QCOMPARE(reset.code, 0);
    QVERIFY(sim.waitForJournal("fiuk: table reset", 2000));
}

void TestCli::converterLostAfterHandshake()
{
    // The line drops at the first byte after the handshake: the read gets no
    // answer, says so with the window's text and fails.
    ConverterSim sim({"--drop-after-bytes", "15"});
    const Run run = runCli({"--port", sim.path, "read"});
    QCOMPARE(run.err, utf8(ProtocolTexts::Reading) + "\n" + utf8(LinkTexts::NoResponse) + "0" +
                          utf8(LinkTexts::CountOf) + "2" + utf8(LinkTexts::CountReceived) + "\n");
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.code, 1);
}

void TestCli::recordSimulator()
{
    const QString file = dir.filePath("simulated");  // ".log" is added
    const Run run = runCli({"--simulator", "record", "1", file});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.code, 0);
    const int samples = samplesIn(run.out);
    // 50 frames a second; the first frame is never a sample.
    QVERIFY2(samples >= 35 && samples <= 56, run.out.constData());
    verifyRecording(file + ".log", samples);
}

void TestCli::recordPort()
{
    ConverterSim sim;
    const QString file = dir.filePath("port.log");
    const Run run = runCli({"--port", sim.path, "record", "1", file});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.code, 0);
    const int samples = samplesIn(run.out);
    QVERIFY2(samples >= 35 && samples <= 56, run.out.constData());
    verifyRecording(file, samples);
    QVERIFY(sim.waitForJournal("stream stopped after", 2000));
}

void TestCli::ctrlCStopsRecordingAndSaves()
{
    ConverterSim sim;
    const QString file = dir.filePath("interrupted.log");
    QProcess cli;
    startCli(cli, {"--port", sim.path, "record", "60", file});
    QVERIFY(sim.waitForJournal("fiusfiul: stream started", 5000));
    QTest::qWait(600);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::kill(pid_t(cli.processId()), SIGINT), 0);
    const Run run = finish(cli);
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.code, 0);
    const int samples = samplesIn(run.out);
    QVERIFY2(samples >= 15 && samples <= 60, run.out.constData());
    verifyRecording(file, samples);
    QVERIFY(sim.waitForJournal("stream stopped after", 2000));
}

void TestCli::lostConverterStillSaves()
{
    // The line drops after 40 frames: the recording so far is kept, the
    // loss is told and the command fails.
    ConverterSim sim({"--drop-after-frames", "40"});
    const QString file = dir.filePath("dropped.log");
    const Run run = runCli({"--port", sim.path, "record", "5", file});
    QCOMPARE(run.code, 1);
    const int samples = samplesIn(run.out);
    QVERIFY2(samples >= 30 && samples <= 39, run.out.constData());
    QCOMPARE(run.err, utf8(LogTexts::ThreadError) + "\n");
    QCOMPARE(QFileInfo(file).size(), LogFile::fileSize(samples));
}

void TestCli::logToCsvFixture()
{
    // Header, three whole records (a negative "Corr", RPM with both bytes,
    // a negative "LogCorr"), then a cut-off record that must be ignored.
    const QByteArray log = QByteArray::fromHex("0102" "5a614e744f" "000000" "01" "00000000"
                                               "10018020301234ff0580415a7f0a00"
                                               "ff00000000ffff00ff00000000ff80"
                                               "000000000000000000000000000000"
                                               "01020304050607");
    const QString logFile = dir.filePath("fixture.log");
    QFile f(logFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(log), log.size());
    f.close();

    const QByteArray csv = "time_s,Converter,Marker,Enrichment,MAF,TPS,RPM/100,O2,Corr,IAT,ECT,O2SM,LogCorr\n"
                           "0.000,16,1,128,32,48,4660,255,-5,65,90,127,10\n"
                           "0.020,255,0,0,0,0,65535,0,255,0,0,0,-255\n"
                           "0.040,0,0,0,0,0,0,0,0,0,0,0,0\n";

    // A locale with a decimal comma changes nothing.
    const QStringList commaLocale{"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"};
    const Run toStdout = runCli({"log2csv", logFile}, commaLocale);
    QCOMPARE(toStdout.err, QByteArray());
    QCOMPARE(toStdout.code, 0);
    QCOMPARE(toStdout.out, csv);

    const QString csvFile = dir.filePath("fixture.csv");
    const Run toFile = runCli({"log2csv", logFile, csvFile}, commaLocale);
    QCOMPARE(toFile.code, 0);
    QCOMPARE(toFile.out, QByteArray());
    QFile written(csvFile);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), csv);
}

void TestCli::csvFormatsEveryValue()
{
    // Times stay exact far into a recording, and every 32-bit value keeps
    // its sign and digits.
    LogColumns columns;
    columns.resize(50002);
    columns.colCorr[1] = std::numeric_limits<qint32>::min();
    columns.colLogCorr[1] = std::numeric_limits<qint32>::max();
    columns.colRpm[50001] = 7;
    const QList<QByteArray> rows = LogCsv::toCsv(columns).split('\n');
    QCOMPARE(rows.size(), 50004);
    QCOMPARE(rows.at(2), QByteArray("0.020,0,0,0,0,0,0,0,-2147483648,0,0,0,2147483647"));
    QCOMPARE(rows.at(50000), QByteArray("999.980,0,0,0,0,0,0,0,0,0,0,0,0"));
    QCOMPARE(rows.at(50001), QByteArray("1000.000,0,0,0,0,0,0,0,0,0,0,0,0"));
    QCOMPARE(rows.at(50002), QByteArray("1000.020,0,0,0,0,0,7,0,0,0,0,0,0"));
    QCOMPARE(LogCsv::toCsv(LogColumns()), LogCsv::headerLine());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
