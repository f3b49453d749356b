#pragma once

#include "bluetoothstack.h"

#include <QStringList>

// Serial ports as paired devices: a Converter on a USB-serial cable, a bound
// /dev/rfcomm*, or the standalone simulator's pty. Each port is one device
// whose address and name are its path and whose one service is the Serial
// Port service; connecting opens the tty raw, 8N1.
class SerialStack : public BluetoothStack {
public:
    // The live stream alone is 950 bytes a second; 9600 baud would barely carry it.
    static constexpr int DefaultBaud = 115200;

    explicit SerialStack(const QStringList& ports, int baud = DefaultBaud);

    static bool isSupportedBaud(int baud);

    bool adapterReady() override { return true; }
    void discover(int) override {}
    void setDefaultSocketTimeout(int) override {}
    std::optional<QList<BluetoothDevice>> pairedDevices() override;
    QList<BluetoothService> services(const BluetoothDevice& device) override;
    std::unique_ptr<ByteChannel> connect(const BluetoothDevice& device, const BluetoothService& service) override;

private:
    QStringList ports;
    int baud;
};
