#include "converterprotocol.h"

#include "crc8.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace P = ConverterProtocol;

namespace {

const QByteArray Probe(P::Probe, P::ProbeSize);
const QByteArray Version(P::VersionQuery, P::VersionQuerySize);

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(char(v));
    return result;
}

// converter-sim started with some options, and the client's end of its pty.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments)
    {
        process.start(QStringLiteral(CONVERTER_SIM_PATH), arguments);
        if (!process.waitForStarted(5000))
            return;
        QElapsedTimer clock;
        clock.start();
        while (!process.canReadLine() && clock.elapsed() < 5000)
            process.waitForReadyRead(100);
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
        if (path.isEmpty())
            return;
        fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios settings{};
        if (fd >= 0 && ::tcgetattr(fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(fd, TCSANOW, &settings);
        }
    }

    ~SimProcess()
    {
        if (fd >= 0)
            ::close(fd);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    void write(const QByteArray& data) const
    {
        QCOMPARE(::write(fd, data.constData(), std::size_t(data.size())), ssize_t(data.size()));
    }

    // Reads until `count` bytes came or the line was silent for quietMs.
    QByteArray read(int count, int quietMs) const
    {
        QByteArray got;
        while (got.size() < count) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0)
                break;
            char buffer[4096];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }

    QProcess process;
    QString path;
    int fd = -1;
};

}  // namespace

class TestConverterSim : public QObject {
    Q_OBJECT
private slots:
    void handshakeThroughThePty_data();
    void handshakeThroughThePty();
    void streamThroughThePty();
    void anotherClientAfterTheFirstLeft();
    void endsOnSignal_data();
    void endsOnSignal();
    void help();
    void badOptionValue();
};

void TestConverterSim::handshakeThroughThePty_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults") << QStringList() << bytes({0, 0, 23, 0});
    QTest::newRow("version and reference mode")
        << QStringList{"--firmware-version", "15", "--reference-mode", "1"} << bytes({0, 0, 15, 1});
    QTest::newRow("wrong handshake") << QStringList{"--wrong-handshake"} << bytes({1, 0, 23, 0});
    QTest::newRow("handshake bytes given") << QStringList{"--handshake-answer", "00170000"} << bytes({0, 0x17, 0, 0});
    QTest::newRow("short answers") << QStringList{"--short-answers"} << bytes({0, 0, 23});
    QTest::newRow("silent") << QStringList{"--silent"} << QByteArray();
    QTest::newRow("trickled") << QStringList{"--trickle", "50"} << bytes({0, 0, 23, 0});
}

void TestConverterSim::handshakeThroughThePty()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    SimProcess sim(arguments);
    QVERIFY2(sim.path.startsWith(QLatin1String("/dev/pts/")), qPrintable(sim.path));
    QVERIFY(sim.fd >= 0);
    sim.write(Probe);
    QCOMPARE(sim.read(1, 500), QByteArray());
    sim.write(Version);
    QCOMPARE(sim.read(4, 1000), expected);
}

void TestConverterSim::streamThroughThePty()
{
    SimProcess sim({QStringLiteral("--stale"), QStringLiteral("55aa")});
    QVERIFY(sim.fd >= 0);
    sim.write(Probe);
    QCOMPARE(sim.read(100, 500), bytes({0x55, 0xAA}));
    sim.write("fiusfiul");
    // A pty has no packet boundaries: find the frames in the byte stream.
    const QByteArray stream = sim.read(19 * 25, 1000).left(19 * 25);
    sim.write("fius");
    QCOMPARE(stream.size(), 19 * 25);
    for (int at = 0; at + 19 <= stream.size(); at += 19)
        QCOMPARE(quint8(stream.at(at + 18)), crc8(reinterpret_cast<const std::uint8_t*>(stream.constData() + at), 18));
    sim.read(1000, 300);     // the tail of the stream and the stale bytes after the stop
    sim.write("fiusfiur");
    QCOMPARE(sim.read(4, 500), bytes({100, 0, 0x55, 0xAA}));
}

// CPU time the process has used, in clock ticks.
static long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields.at(11).toLong() + fields.at(12).toLong() : -1;
}

void TestConverterSim::anotherClientAfterTheFirstLeft()
{
    SimProcess sim({});
    QVERIFY(sim.fd >= 0);
    sim.write("fiusfiuw");
    QTest::qWait(200);
    sim.write(bytes({0xE7}));
    QCOMPARE(sim.read(1, 1000), bytes({0xE7}));
    ::close(sim.fd);

    // Nobody on the terminal: the program waits without spinning.
    QTest::qWait(200);
    const long before = cpuTicks(sim.process.processId());
    QTest::qWait(600);
    const long after = cpuTicks(sim.process.processId());
    QVERIFY(before >= 0);
    QVERIFY2(after - before < 20, qPrintable(QString::number(after - before)));

    // The next client finds the same device, with what the first one wrote.
    sim.fd = ::open(sim.path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(sim.fd >= 0);
    sim.write(Probe);
    QCOMPARE(sim.read(1, 500), QByteArray());
    sim.write(Version);
    QCOMPARE(sim.read(4, 1000), bytes({0, 0, 23, 0}));
    sim.write("fiusfiur");
    QCOMPARE(sim.read(2, 1000), bytes({0xE7, 0}));
}

void TestConverterSim::endsOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestConverterSim::endsOnSignal()
{
    QFETCH(int, signalNumber);
    SimProcess sim({});
    QVERIFY(sim.fd >= 0);
    sim.write("fiusfiul");
    QVERIFY(!sim.read(19, 1000).isEmpty());
    ::kill(pid_t(sim.process.processId()), signalNumber);
    QVERIFY(sim.process.waitForFinished(2000));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
}

void TestConverterSim::help()
{
    QProcess process;
    process.start(QStringLiteral(CONVERTER_SIM_PATH), {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(process.readAllStandardOutput());
    for (const char* option : {"--firmware-version", "--reference-mode", "--silent", "--delay", "--trickle",
                               "--stale", "--bad-crc-every", "--drop-after-frames", "--reject-times", "--silent-block"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

void TestConverterSim::badOptionValue()
{
    QProcess process;
    process.start(QStringLiteral(CONVERTER_SIM_PATH), {QStringLiteral("--firmware-version"), QStringLiteral("300")});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()).trimmed(),
             QStringLiteral("converter-sim: --firmware-version wants a whole number from 0 to 255, not \"300\""));
}

QTEST_GUILESS_MAIN(TestConverterSim)
#include "tst_convertersim.moc"
