#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

// A device the stack knows as paired. For the serial backend the address is
// the port's path.
struct BluetoothDevice {
    QString address;
    QString name;
    bool operator==(const BluetoothDevice& other) const
    {
        return address == other.address && name == other.name;
    }
};

// One service record of a remote device.
struct BluetoothService {
    QString uuid;      // 128 bits, "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", lower case
    int channel = -1;  // RFCOMM channel; -1 where the backend has none
};

// An open two-way byte stream to the Converter.
class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // Sends the bytes as one packet, in one platform call. Throws LinkError.
    virtual void send(const QByteArray& bytes) = 0;

    // Waits up to timeoutMs for bytes and returns those of one arrival,
    // possibly none. Never throws: a channel that is gone returns nothing at
    // once and reports it through isOpen(), so that no caller spins on it.
    virtual QByteArray receive(int timeoutMs) = 0;

    // False once closed, or once the peer has gone or a receive has failed.
    virtual bool isOpen() const = 0;

    virtual void close() = 0;
};

// The platform's classic Bluetooth as the link needs it. Every call may block
// (bounded) and is made on the connection thread; failures throw LinkError.
class BluetoothStack {
public:
    virtual ~BluetoothStack() = default;

    // An adapter is present and powered.
    virtual bool adapterReady() = 0;
    // Runs a device discovery for about timeoutMs and returns after it.
    virtual void discover(int timeoutMs) = 0;
    // Upper bound for the blocking steps of a later connect.
    virtual void setDefaultSocketTimeout(int timeoutMs) = 0;
    // The paired devices, or nothing when the list cannot be had.
    virtual std::optional<QList<BluetoothDevice>> pairedDevices() = 0;
    // The device's service records, in the device's order.
    virtual QList<BluetoothService> services(const BluetoothDevice& device) = 0;
    // Opens a low-security client connection to one of the device's services.
    virtual std::unique_ptr<ByteChannel> connect(const BluetoothDevice& device,
                                                 const BluetoothService& service) = 0;
};
