#include "bluezstack.h"

#include "linkerror.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMap>
#include <QThread>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.bluez");
const QString AdapterInterface = QStringLiteral("org.bluez.Adapter1");
const QString DeviceInterface = QStringLiteral("org.bluez.Device1");
// A bluetoothd that does not answer within this is treated as absent.
constexpr int CallTimeoutMs = 2000;

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QString, Interfaces>;

// GetManagedObjects, unpacked by hand (a{oa{sa{sv}}}); nothing on any error.
std::optional<ManagedObjects> managedObjects(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return std::nullopt;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        Service, QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty() ||
        reply.signature() != QLatin1String("a{oa{sa{sv}}}"))
        return std::nullopt;

    ManagedObjects objects;
    const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
    argument.beginMap();
    while (!argument.atEnd()) {
        QDBusObjectPath path;
        Interfaces interfaces;
        argument.beginMapEntry();
        argument >> path;
        argument.beginMap();
        while (!argument.atEnd()) {
            QString name;
            QVariantMap properties;
            argument.beginMapEntry();
            argument >> name >> properties;
            argument.endMapEntry();
            interfaces.insert(name, properties);
        }
        argument.endMap();
        argument.endMapEntry();
        objects.insert(path.path(), interfaces);
    }
    argument.endMap();
    return objects;
}

void callAdapter(const QDBusConnection& bus, const QString& adapter, const QString& method)
{
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(Service, adapter, AdapterInterface, method), QDBus::Block, CallTimeoutMs);
    // Another client's discovery already running is as good as our own.
    if (reply.type() == QDBusMessage::ErrorMessage && reply.errorName() != QLatin1String("org.bluez.Error.InProgress"))
        throw LinkError(QStringLiteral("%1: %2").arg(method, reply.errorMessage()));
}

}  // namespace

BluezStack::BluezStack(const QDBusConnection& connection) : bus(connection)
{
}

QString BluezStack::poweredAdapter()
{
    const std::optional<ManagedObjects> objects = managedObjects(bus);
    if (!objects)
        return {};
    for (auto it = objects->cbegin(); it != objects->cend(); ++it) {
        const auto adapter = it.value().constFind(AdapterInterface);
        if (adapter != it.value().cend() && adapter.value().value(QStringLiteral("Powered")).toBool())
            return it.key();
    }
    return {};
}

bool BluezStack::adapterReady()
{
    return !poweredAdapter().isEmpty();
}

void BluezStack::discover(int timeoutMs)
{
    const QString adapter = poweredAdapter();
    if (adapter.isEmpty())
        throw LinkError(QStringLiteral("No Bluetooth adapter"));
    // The Converter is a classic (BR/EDR) device; low-energy results are noise.
    // An older bluetoothd without filters simply discovers everything.
    QDBusMessage filter = QDBusMessage::createMethodCall(Service, adapter, AdapterInterface,
                                                         QStringLiteral("SetDiscoveryFilter"));
    filter << QVariantMap{{QStringLiteral("Transport"), QStringLiteral("bredr")}};
    bus.call(filter, QDBus::Block, CallTimeoutMs);
    callAdapter(bus, adapter, QStringLiteral("StartDiscovery"));
    QThread::msleep(static_cast<unsigned long>(qMax(0, timeoutMs)));
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(Service, adapter, AdapterInterface, QStringLiteral("StopDiscovery")),
        QDBus::Block, CallTimeoutMs);
    Q_UNUSED(reply);  // a discovery stopped by someone else is fine
}

std::optional<QList<BluetoothDevice>> BluezStack::pairedDevices()
{
    const std::optional<ManagedObjects> objects = managedObjects(bus);
    if (!objects)
        return std::nullopt;
    QList<BluetoothDevice> devices;
    for (auto it = objects->cbegin(); it != objects->cend(); ++it) {
        const auto device = it.value().constFind(DeviceInterface);
        if (device == it.value().cend())
            continue;
        const QVariantMap& properties = device.value();
        if (!properties.value(QStringLiteral("Paired")).toBool())
            continue;
        QString name = properties.value(QStringLiteral("Name")).toString();
        if (name.isEmpty())
            name = properties.value(QStringLiteral("Alias")).toString();
        devices.append({properties.value(QStringLiteral("Address")).toString(), name});
    }
    return devices;
}

QList<BluetoothService> BluezStack::services(const BluetoothDevice& device)
{
    return BluezSockets::queryServices(device.address, socketTimeoutMs);
}

std::unique_ptr<ByteChannel> BluezStack::connect(const BluetoothDevice& device, const BluetoothService& service)
{
    return BluezSockets::connectRfcomm(device.address, service.channel, socketTimeoutMs);
}
