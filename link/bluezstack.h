#pragma once

#include "bluetoothstack.h"

#include <QDBusConnection>
#include <QString>

// BlueZ: adapter state, discovery and the paired devices over D-Bus
// (org.bluez ObjectManager, Adapter1, Device1); the remote service list by an
// SDP query and the connection as a low-security RFCOMM socket (bluezsockets.cpp).
// Without bluetoothd, a bus, an adapter or kernel Bluetooth sockets every call
// fails promptly: nothing is found, nothing hangs.
class BluezStack : public BluetoothStack {
public:
    explicit BluezStack(const QDBusConnection& bus = QDBusConnection::systemBus());

    bool adapterReady() override;
    void discover(int timeoutMs) override;
    void setDefaultSocketTimeout(int timeoutMs) override { socketTimeoutMs = timeoutMs; }
    std::optional<QList<BluetoothDevice>> pairedDevices() override;
    QList<BluetoothService> services(const BluetoothDevice& device) override;
    std::unique_ptr<ByteChannel> connect(const BluetoothDevice& device, const BluetoothService& service) override;

    // Object path of the first powered adapter, or empty.
    QString poweredAdapter();

private:
    QDBusConnection bus;
    int socketTimeoutMs = 2000;
};

// The libbluetooth half, kept apart because it needs kernel Bluetooth sockets.
namespace BluezSockets {
// Service records of the device at address, in the device's order. Throws LinkError.
QList<BluetoothService> queryServices(const QString& address, int timeoutMs);
// A connected low-security RFCOMM channel. Throws LinkError.
std::unique_ptr<ByteChannel> connectRfcomm(const QString& address, int channel, int timeoutMs);
}  // namespace BluezSockets
