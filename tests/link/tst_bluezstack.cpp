// The BlueZ backend's D-Bus half against python3-dbusmock's bluez5 template
// on a private bus; and, on this machine's kernel without Bluetooth sockets,
// the socket half failing promptly so that a search neither hangs nor crashes.

#include "anthread.h"
#include "bluezstack.h"
#include "connectionmemo.h"
#include "linkerror.h"
#include "linktexts.h"
#include "recordingnotifier.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace {

const QString Adapter = QStringLiteral("/org/bluez/hci0");
const QString ConverterAddress = QStringLiteral("98:D3:31:F5:2A:17");
const QString PhoneAddress = QStringLiteral("5C:F9:38:11:22:33");
const QString StrangerAddress = QStringLiteral("11:22:33:44:55:66");

class Memo : public ConnectionMemo {
public:
    QString text() const override { return current; }
    void setText(const QString& value) override { current = value; }
    QString current;
};

// The daemons end with the test, however the test ends.
void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QString devicePath(const QString& address)
{
    return Adapter + "/dev_" + QString(address).replace(':', '_');
}

}  // namespace

class TestBluezStack : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void withoutBusOrBluezNothingIsFound();
    void searchWithoutBluetoothSaysNoPairedDevices();
    void pairedDevicesComeWithAddressesAndNames();
    void discoveryStartsAndStopsAroundItsTime();
    void adapterSwitchedOffYieldsNoList();
    void socketHalfFailsPromptlyOnThisKernel();
    void searchOverBluezSkipsDevicesThatCannotBeReached();

private:
    QDBusMessage mock(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});
    int methodCalls(const QString& path, const QString& method);
    void startBluez();

    QProcess daemon;
    QProcess bluez;
    QString address;
    std::unique_ptr<QDBusConnection> bus;
};

void TestBluezStack::initTestCase()
{
    endWithParent(daemon);
    endWithParent(bluez);
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    QVERIFY(daemon.waitForStarted(5000));
    QVERIFY(daemon.waitForReadyRead(5000));
    address = QString::fromLatin1(daemon.readLine()).trimmed();
    QVERIFY(!address.isEmpty());
    // The default stack follows this variable without a code change.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toLatin1());
    bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, "zanto-test-bus"));
    QVERIFY(bus->isConnected());
}

void TestBluezStack::cleanupTestCase()
{
    for (QProcess* process : {&bluez, &daemon}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(3000);
        }
    }
}

QDBusMessage TestBluezStack::mock(const QString& path, const QString& interface, const QString& method,
                                  const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall("org.bluez", path, interface, method);
    call.setArguments(arguments);
    return bus->call(call, QDBus::Block, 5000);
}

int TestBluezStack::methodCalls(const QString& path, const QString& method)
{
    const QDBusMessage reply = mock(path, "org.freedesktop.DBus.Mock", "GetMethodCalls", {method});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return -1;
    const QDBusArgument calls = reply.arguments().constFirst().value<QDBusArgument>();
    int count = 0;
    calls.beginArray();
    while (!calls.atEnd()) {
        quint64 time = 0;
        QVariantList arguments;
        calls.beginStructure();
        calls >> time >> arguments;
        calls.endStructure();
        ++count;
    }
    calls.endArray();
    return count;
}

void TestBluezStack::startBluez()
{
    if (bluez.state() == QProcess::Running)
        return;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", address);
    bluez.setProcessEnvironment(environment);
    // Debian's own python3: the one first on PATH may lack dbusmock.
    bluez.start(QStringLiteral("/usr/bin/python3"), {"-m", "dbusmock", "--system", "-t", "bluez5"});
    QVERIFY(bluez.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(bus->interface()->isServiceRegistered("org.bluez").value(), 10000);

    const QString mockInterface = QStringLiteral("org.bluez.Mock");
    QCOMPARE(mock("/", mockInterface, "AddAdapter", {"hci0", "zanto-bench"}).type(), QDBusMessage::ReplyMessage);
    const QList<std::pair<QString, QString>> devices{
        {ConverterAddress, "ZANTO-TPS"}, {PhoneAddress, "Phone"}, {StrangerAddress, "Stranger"}};
    for (const auto& [deviceAddress, name] : devices)
        QCOMPARE(mock("/", mockInterface, "AddDevice", {"hci0", deviceAddress, name}).type(),
                 QDBusMessage::ReplyMessage);
    for (const QString& paired : {ConverterAddress, PhoneAddress})
        QCOMPARE(mock("/", mockInterface, "PairDevice", {"hci0", paired, QVariant::fromValue(quint32(0x1f00))}).type(),
                 QDBusMessage::ReplyMessage);
    const QVariantMap uuids{
        {"UUIDs", QStringList{"00001101-0000-1000-8000-00805f9b34fb", "00001200-0000-1000-8000-00805f9b34fb"}}};
    QCOMPARE(mock(devicePath(ConverterAddress), "org.freedesktop.DBus.Mock", "UpdateProperties",
                  {"org.bluez.Device1", uuids})
                 .type(),
             QDBusMessage::ReplyMessage);
}

void TestBluezStack::withoutBusOrBluezNothingIsFound()
{
    BluezStack noBus(QDBusConnection::connectToBus("unix:path=/nonexistent/zanto-bus", "zanto-no-bus"));
    BluezStack noBluez(*bus);
    QElapsedTimer clock;
    clock.start();
    for (BluezStack* stack : {&noBus, &noBluez}) {
        QVERIFY(!stack->adapterReady());
        QVERIFY(!stack->pairedDevices().has_value());
        QVERIFY_THROWS_EXCEPTION(LinkError, stack->discover(2000));
    }
    QVERIFY(clock.elapsed() < 1000);
}

void TestBluezStack::searchWithoutBluetoothSaysNoPairedDevices()
{
    TZantoBroadcaster broadcaster;
    Memo memo;
    RecordingNotifier notifier;
    TBTMethod link(&broadcaster, &memo, &notifier, std::make_unique<BluezStack>());
    TRXTX rxtx(&broadcaster, &link, &notifier);
    QPointer<TAnThread> search = StartConnectionSearch(link, rxtx);
    QVERIFY(search);
    QTRY_VERIFY_WITH_TIMEOUT(search.isNull(), 3000);
    QCOMPARE(memo.current, QString::fromUtf8("Не найдено спаренных блютуз устройств!\n Not found paired bluetooth devices!"));
    QVERIFY(notifier.entries.isEmpty());
}

void TestBluezStack::pairedDevicesComeWithAddressesAndNames()
{
    startBluez();
    BluezStack stack(*bus);
    QVERIFY(stack.adapterReady());
    QCOMPARE(stack.poweredAdapter(), Adapter);
    // The unpaired device is left out; the order is BlueZ's object order.
    const std::optional<QList<BluetoothDevice>> devices = stack.pairedDevices();
    QVERIFY(devices.has_value());
    QCOMPARE(*devices, (QList<BluetoothDevice>{{PhoneAddress, "Phone"}, {ConverterAddress, "ZANTO-TPS"}}));

    // The default stack reaches the same bus through DBUS_SYSTEM_BUS_ADDRESS.
    BluezStack systemStack;
    QCOMPARE(systemStack.pairedDevices().value_or(QList<BluetoothDevice>()), *devices);
}

void TestBluezStack::discoveryStartsAndStopsAroundItsTime()
{
    startBluez();
    BluezStack stack(*bus);
    const int started = methodCalls(Adapter, "StartDiscovery");
    const int stopped = methodCalls(Adapter, "StopDiscovery");
    QElapsedTimer clock;
    clock.start();
    stack.discover(300);
    QVERIFY2(clock.elapsed() >= 300 && clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(methodCalls(Adapter, "StartDiscovery"), started + 1);
    QCOMPARE(methodCalls(Adapter, "StopDiscovery"), stopped + 1);
}

void TestBluezStack::adapterSwitchedOffYieldsNoList()
{
    startBluez();
    const auto power = [this](bool on) {
        return mock(Adapter, "org.freedesktop.DBus.Mock", "UpdateProperties",
                    {"org.bluez.Adapter1", QVariantMap{{"Powered", on}}});
    };
    QCOMPARE(power(false).type(), QDBusMessage::ReplyMessage);
    TZantoBroadcaster broadcaster;
    RecordingNotifier notifier;
    TBTMethod link(&broadcaster, nullptr, &notifier, std::make_unique<BluezStack>(*bus));
    const std::optional<QList<BluetoothDevice>> devices = link.DiscoverPaired();
    QCOMPARE(power(true).type(), QDBusMessage::ReplyMessage);
    QVERIFY(!devices.has_value());
    QVERIFY(!link.PairedDevices.has_value());
    QVERIFY(notifier.entries.isEmpty());
}

void TestBluezStack::socketHalfFailsPromptlyOnThisKernel()
{
    BluezStack stack(*bus);
    const BluetoothDevice converter{ConverterAddress, "ZANTO-TPS"};
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.services(converter));
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.connect(converter, {LinkTexts::SerialPortUuid, 1}));
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.connect(converter, {LinkTexts::SerialPortUuid, -1}));
    QVERIFY_THROWS_EXCEPTION(LinkError, stack.services({"not an address", "x"}));
    QVERIFY(clock.elapsed() < 1000);
}

void TestBluezStack::searchOverBluezSkipsDevicesThatCannotBeReached()
{
    startBluez();
    TZantoBroadcaster broadcaster;
    Memo memo;
    RecordingNotifier notifier;
    auto link = std::make_unique<TBTMethod>(&broadcaster, &memo, &notifier, std::make_unique<BluezStack>(*bus));
    TRXTX rxtx(&broadcaster, link.get(), &notifier);
    link->LastDeviceAddress = ConverterAddress;
    QPointer<TAnThread> search = StartConnectionSearch(*link, rxtx);

    // A 2000 ms discovery, then both devices fail at their service search.
    const QString pass = QString::fromUtf8(LinkTexts::TryingToConnect) + ConverterAddress + "\n DEVICE FOUND: ZANTO-TPS " +
                         ConverterAddress + QString::fromUtf8(LinkTexts::Autosearch) +
                         QString::fromUtf8(LinkTexts::DeviceNotFound);
    QTRY_COMPARE_WITH_TIMEOUT(memo.current, pass, 4000);
    QCOMPARE(link->Connected.load(), 0);
    QVERIFY(!link->HasSocket());
    QVERIFY(search);

    QElapsedTimer clock;
    clock.start();
    link.reset();
    QVERIFY(clock.elapsed() < 2500);
    QVERIFY(search.isNull());
}

QTEST_GUILESS_MAIN(TestBluezStack)
#include "tst_bluezstack.moc"
