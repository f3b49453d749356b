#include "simulatorhost.h"

#include "crc8.h"

#include <QElapsedTimer>
#include <QTest>

#include <cerrno>
#include <optional>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
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

// The client's end of the socketpair, read the way the link reads it.
class Client {
public:
    explicit Client(SimulatorHost& host) : fd(host.takeClientFd()) {}
    ~Client()
    {
        if (fd >= 0)
            ::close(fd);
    }

    void send(const QByteArray& data) const
    {
        QCOMPARE(::send(fd, data.constData(), std::size_t(data.size()), MSG_NOSIGNAL), ssize_t(data.size()));
    }

    // One packet; nullopt when none came in time; an empty array at end of file.
    std::optional<QByteArray> packet(int timeoutMs) const
    {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return std::nullopt;
        QByteArray buffer(65536, '\0');
        const ssize_t n = ::recv(fd, buffer.data(), std::size_t(buffer.size()), 0);
        if (n <= 0)
            return QByteArray();
        buffer.truncate(n);
        return buffer;
    }

    // Every packet that comes within ms.
    QList<QByteArray> packetsFor(int ms) const
    {
        QList<QByteArray> packets;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            const auto next = packet(int(qMax<qint64>(1, ms - clock.elapsed())));
            if (next && next->isEmpty())
                break;
            if (next)
                packets.append(*next);
        }
        return packets;
    }

    int fd;
};

qint64 cpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

bool checksOut(const QByteArray& frame)
{
    return frame.size() == P::FrameSize
           && crc8(reinterpret_cast<const std::uint8_t*>(frame.constData()), 18) == std::uint8_t(frame.at(18));
}

}  // namespace

class TestSimulatorHost : public QObject {
    Q_OBJECT
private slots:
    void handshakeOverTheFd();
    void sendsAreRecordedWithTheirBoundaries();
    void clearReceived();
    void clientFdIsHandedOutOnce();
    void trickledAnswerComesInSinglePackets();
    void streamOverTheFd();
    void stopIsPromptAndClosesTheLine();
    void droppedLineReadsAsEndOfFile();
    void faultsAndStateChangeWhileRunning();
    void largeFirmwareBlockIsOneRead();
    void clientHangingUpLeavesTheHostStoppable();
};

void TestSimulatorHost::handshakeOverTheFd()
{
    SimulatorHost host;
    Client client(host);
    QVERIFY(client.fd >= 0);
    client.send(Probe);
    QVERIFY(!client.packet(300));
    client.send(Version);
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0, 0, 23, 0})));
    QCOMPARE(host.received(), Probe + Version);
    QCOMPARE(host.receivedReads(), (QList<QByteArray>{Probe, Version}));
}

void TestSimulatorHost::sendsAreRecordedWithTheirBoundaries()
{
    SimulatorHost host;
    Client client(host);
    client.send("fiusfiuw");
    client.send(bytes({0xE7}));
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0xE7})));
    client.send("fiusfiur");
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0xE7, 0})));
    client.send("fiut");
    client.send(bytes({1, 2}));
    QVERIFY(host.waitForReads(5, 2000));
    QCOMPARE(host.receivedReads(), (QList<QByteArray>{"fiusfiuw", bytes({0xE7}), "fiusfiur", "fiut", bytes({1, 2})}));
    QCOMPARE(host.received(), QByteArray("fiusfiuw\xE7" "fiusfiurfiut\x01\x02"));
    const SimulatorState s = host.state();
    QCOMPARE(int(s.ramTable[0]), 1);
    QCOMPARE(int(s.eepromTable[0]), 0xE7);
}

void TestSimulatorHost::clearReceived()
{
    SimulatorHost host;
    Client client(host);
    client.send("fiuk");
    QVERIFY(host.waitForReceived(4, 2000));
    host.clearReceived();
    QCOMPARE(host.received(), QByteArray());
    client.send("fiusfiur");
    QVERIFY(host.waitForReceived(8, 2000));
    QCOMPARE(host.receivedReads(), QList<QByteArray>{"fiusfiur"});
    QVERIFY(!host.waitForReads(2, 100));
}

void TestSimulatorHost::clientFdIsHandedOutOnce()
{
    SimulatorHost host;
    const int fd = host.takeClientFd();
    QVERIFY(fd >= 0);
    QCOMPARE(host.takeClientFd(), -1);
    ::close(fd);
}

void TestSimulatorHost::trickledAnswerComesInSinglePackets()
{
    SimulatorOptions options;
    options.faults.trickleMs = 30;
    SimulatorHost host(options);
    Client client(host);
    client.send(Probe);
    client.send(Version);
    QList<QByteArray> pieces;
    for (int i = 0; i < 4; ++i) {
        const auto piece = client.packet(2000);
        QVERIFY(piece);
        pieces.append(*piece);
    }
    QCOMPARE(pieces, (QList<QByteArray>{bytes({0}), bytes({0}), bytes({23}), bytes({0})}));
}

void TestSimulatorHost::streamOverTheFd()
{
    SimulatorHost host;
    Client client(host);
    client.send("fiusfiul");
    const QList<QByteArray> frames = client.packetsFor(1000);
    // 50 a second; the schedule catches up if the thread was late.
    QVERIFY2(frames.size() >= 40 && frames.size() <= 51, qPrintable(QString::number(frames.size())));
    for (const QByteArray& frame : frames)
        QVERIFY(checksOut(frame));
    client.send("fius");
    client.packetsFor(100);
    QVERIFY(!client.packet(300));
    QVERIFY(!host.state().streaming);
}

void TestSimulatorHost::stopIsPromptAndClosesTheLine()
{
    SimulatorHost host;
    Client client(host);
    client.send("fiusfiul");
    QVERIFY(client.packet(1000));
    QElapsedTimer clock;
    clock.start();
    host.stop();
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    host.stop();   // idempotent
    QVERIFY(host.isStopped());
    // Frames already on the way may still come; then end of file.
    std::optional<QByteArray> last;
    for (int i = 0; i < 100; ++i) {
        last = client.packet(1000);
        if (!last || last->isEmpty())
            break;
    }
    QCOMPARE(last, std::optional<QByteArray>(QByteArray()));
}

void TestSimulatorHost::droppedLineReadsAsEndOfFile()
{
    SimulatorOptions options;
    options.faults.dropAfterFrames = 2;
    SimulatorHost host(options);
    Client client(host);
    client.send("fiusfiul");
    for (int i = 0; i < 2; ++i) {
        const auto frame = client.packet(1000);
        QVERIFY(frame);
        QVERIFY(checksOut(*frame));
    }
    QCOMPARE(client.packet(1000), std::optional<QByteArray>(QByteArray()));
    QVERIFY(host.isStopped());
    QVERIFY(host.state().hungUp);
    errno = 0;
    QCOMPARE(::send(client.fd, "fius", 4, MSG_NOSIGNAL), ssize_t(-1));
    QCOMPARE(errno, EPIPE);
}

void TestSimulatorHost::faultsAndStateChangeWhileRunning()
{
    SimulatorHost host;
    Client client(host);
    SimulatorFaults faults;
    faults.silent = true;
    host.setFaults(faults);
    client.send("fiusfiur");
    QVERIFY(!client.packet(300));
    host.setFaults(SimulatorFaults());
    QCOMPARE(host.faults().silent, false);
    host.setFirmwareVersion(15);
    host.setReferenceMode(1);
    host.setTable(0x96, 7);
    client.send(Version);
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0, 0, 15, 1})));
    client.send("fiusfiur");
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0x96, 7})));
}

void TestSimulatorHost::largeFirmwareBlockIsOneRead()
{
    SimulatorHost host;
    Client client(host);
    client.send("fiud");
    QByteArray block(60002, '\x5A');
    block[0] = char(60000 >> 8);
    block[1] = char(60000 & 0xFF);
    client.send(block);
    QCOMPARE(client.packet(2000), std::optional<QByteArray>(bytes({0x11})));
    QCOMPARE(host.receivedReads().last().size(), 60002);
    QCOMPARE(host.state().firmwareBlocks, QList<QByteArray>{block});
}

void TestSimulatorHost::clientHangingUpLeavesTheHostStoppable()
{
    SimulatorHost host;
    {
        Client client(host);
        client.send("fiusfiul");
        QVERIFY(client.packet(1000));
    }
    QTest::qWait(100);
    // With nobody on the other end the device thread must sleep, not spin.
    const qint64 cpuBefore = cpuMs();
    QTest::qWait(500);
    QVERIFY2(cpuMs() - cpuBefore < 200, qPrintable(QString::number(cpuMs() - cpuBefore)));
    QElapsedTimer clock;
    clock.start();
    host.stop();
    QVERIFY(clock.elapsed() < 500);
}

QTEST_GUILESS_MAIN(TestSimulatorHost)
#include "tst_simulatorhost.moc"
