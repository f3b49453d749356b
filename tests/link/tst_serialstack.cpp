// The serial backend on pseudo-terminals: raw 8N1 bytes both ways, failures
// that come back promptly, and a whole handshake with the standalone
// simulated Converter on its pty.

#include "anthread.h"
#include "connectionmemo.h"
#include "linkerror.h"
#include "linktexts.h"
#include "recordingnotifier.h"
#include "serialstack.h"
#include "stackfactory.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose master end plays the Converter.
class Pty {
public:
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) {
            char name[256] = {};
            if (::ptsname_r(master, name, sizeof name) == 0)
                path = QString::fromLocal8Bit(name);
        }
    }
    ~Pty() { closeMaster(); }
    void write(const QByteArray& bytes) { QCOMPARE(::write(master, bytes.constData(), size_t(bytes.size())), bytes.size()); }
    QByteArray read(qsizetype count, int timeoutMs = 1000)
    {
        QByteArray bytes;
        QElapsedTimer clock;
        clock.start();
        while (bytes.size() < count && clock.elapsed() < timeoutMs) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.append(buffer, n);
        }
        return bytes;
    }
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    int master = -1;
    QString path;
};

class Memo : public ConnectionMemo {
public:
    QString text() const override { return current; }
    void setText(const QString& value) override { current = value; }
    QString current;
};

class Announcements : public TZantoListener {
public:
    void Dispatch(const TMessage& message) override { count += messageAs<TMsgConnected>(message) ? 1 : 0; }
    int count = 0;
};

// Every byte value, with the ones a cooked terminal would eat or change.
QByteArray everyByte()
{
    QByteArray bytes("\r\n\x03\x04\x11\x13\x1a\x7f\x00\xff", 10);
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

}  // namespace

class TestSerialStack : public QObject {
    Q_OBJECT

private slots:
    void portsAreDevicesWithOneSerialService();
    void bytesPassUnchangedBothWays();
    void hungUpPeerEndsReceivesAtOnce();
    void openFailuresAreReportedPromptly_data();
    void openFailuresAreReportedPromptly();
    void handshakeWithTheStandaloneSimulator();
};

void TestSerialStack::portsAreDevicesWithOneSerialService()
{
    SerialStack stack({"/dev/ttyUSB0", "/dev/rfcomm0"});
    QVERIFY(stack.adapterReady());
    QCOMPARE(stack.pairedDevices().value(),
             (QList<BluetoothDevice>{{"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/rfcomm0", "/dev/rfcomm0"}}));
    const QList<BluetoothService> services = stack.services({"/dev/rfcomm0", "/dev/rfcomm0"});
    QCOMPARE(services.size(), 1);
    QCOMPARE(services.at(0).uuid, QString::fromLatin1(LinkTexts::SerialPortUuid));
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.services({"/dev/ttyS9", "/dev/ttyS9"}));

    QCOMPARE(SerialStack(QStringList()).pairedDevices().value(), QList<BluetoothDevice>());
    QVERIFY(SerialStack::isSupportedBaud(9600));
    QVERIFY(SerialStack::isSupportedBaud(SerialStack::DefaultBaud));
    QVERIFY(!SerialStack::isSupportedBaud(12345));
}

void TestSerialStack::bytesPassUnchangedBothWays()
{
    Pty pty;
    QVERIFY(!pty.path.isEmpty());
    SerialStack stack({pty.path}, 9600);
    std::unique_ptr<ByteChannel> channel = stack.connect({pty.path, pty.path}, stack.services({pty.path, pty.path}).at(0));

    const QByteArray bytes = everyByte();
    pty.write(bytes);
    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    while (received.size() < bytes.size() && clock.elapsed() < 2000)
        received.append(channel->receive(200));
    QCOMPARE(received.toHex(), bytes.toHex());

    channel->send(bytes);
    QCOMPARE(pty.read(bytes.size()).toHex(), bytes.toHex());
    QVERIFY(channel->isOpen());
}

void TestSerialStack::hungUpPeerEndsReceivesAtOnce()
{
    Pty pty;
    SerialStack stack({pty.path});
    std::unique_ptr<ByteChannel> channel = stack.connect({pty.path, pty.path}, {});
    pty.write("ab");
    QCOMPARE(channel->receive(500), QByteArray("ab"));
    pty.closeMaster();

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 50; ++i)
        QCOMPARE(channel->receive(1000), QByteArray());
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!channel->isOpen());
    QVERIFY_THROWS_EXCEPTION(LinkError, channel->send("fius"));
}

void TestSerialStack::openFailuresAreReportedPromptly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("baud");
    QTest::newRow("no such port") << "/dev/zanto-no-such-port" << 115200;
    QTest::newRow("not a terminal") << "/dev/null" << 115200;
    QTest::newRow("unsupported baud") << "/dev/ptmx" << 12345;
}

void TestSerialStack::openFailuresAreReportedPromptly()
{
    QFETCH(QString, path);
    QFETCH(int, baud);
    SerialStack stack({path}, baud);
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.connect({path, path}, {}));
    QVERIFY(clock.elapsed() < 500);
}

void TestSerialStack::handshakeWithTheStandaloneSimulator()
{
    QProcess simulator;
    simulator.start(QStringLiteral(CONVERTER_SIM_PATH), {});
    QVERIFY(simulator.waitForStarted(5000));
    QVERIFY(simulator.waitForReadyRead(5000));
    const QString path = QString::fromLocal8Bit(simulator.readLine()).trimmed();
    QVERIFY(path.startsWith("/dev/pts/"));

    TZantoBroadcaster bus;
    Announcements announcements;
    bus.Register(&announcements);
    Memo memo;
    RecordingNotifier notifier;
    {
        TBTMethod link(&bus, &memo, &notifier, makeBluetoothStack({false, {path}, 115200}));
        TRXTX rxtx(&bus, &link, &notifier);
        link.LastDeviceAddress = path;
        QPointer<TAnThread> search = StartConnectionSearch(link, rxtx);
        QVERIFY(search);
        QTRY_VERIFY_WITH_TIMEOUT(search.isNull(), 5000);

        QCOMPARE(announcements.count, 1);
        QCOMPARE(memo.current, QString::fromUtf8(LinkTexts::TryingToConnect) + path + "\n DEVICE FOUND: " + path +
                                   " " + path + "\n" + path + "\nПрошивка/Firmvare V:2.3" +
                                   QString::fromUtf8(LinkTexts::ConnectedToLast));

        // The table read goes through on the same line.
        rxtx.Drain();
        rxtx.Send("fiusfiur", 8);
        unsigned char table[2] = {};
        QCOMPARE(rxtx.Receive(reinterpret_cast<char*>(table), 2), 2);
        QCOMPARE(int(table[0]), 100);
    }
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestSerialStack)
#include "tst_serialstack.moc"
