#pragma once

#include "bluetoothstack.h"
#include "fdchannel.h"
#include "linkerror.h"
#include "simulatorhost.h"

#include <QList>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// A Bluetooth stack whose paired devices are simulated Converters (or
// devices that refuse), so that the search and the handshake can be driven
// through every path. Each connect starts a fresh simulator with the
// service's options; every channel handed out is tracked until it is closed.
class TestStack : public BluetoothStack {
public:
    struct Service {
        QString uuid;
        bool refuses = false;  // connect fails, as a device that is off
        SimulatorOptions options;
    };
    struct Device {
        BluetoothDevice device;
        QList<Service> services;
        bool serviceSearchFails = false;
    };

    static QString serialPort() { return QStringLiteral("00001101-0000-1000-8000-00805f9b34fb"); }
    static QString audioSink() { return QStringLiteral("0000110b-0000-1000-8000-00805f9b34fb"); }

    // What the search saw of the stack, for the test's assertions.
    struct Connect {
        QString device;
        int service;
        int openChannels;  // channels handed out earlier and not yet closed
    };

    void setDevices(std::optional<QList<Device>> list)
    {
        std::lock_guard lock(mutex);
        devices = std::move(list);
    }
    void setReady(bool isReady) { ready = isReady; }
    void setDiscoveryFails(bool fails) { discoveryFails = fails; }

    bool adapterReady() override { return ready; }
    void discover(int) override
    {
        ++discoveries;
        if (discoveryFails)
            throw LinkError(QStringLiteral("org.bluez.Error.NotReady: Resource Not Ready"));
    }
    void setDefaultSocketTimeout(int timeoutMs) override { socketTimeout = timeoutMs; }

    std::optional<QList<BluetoothDevice>> pairedDevices() override
    {
        std::lock_guard lock(mutex);
        if (!devices)
            return std::nullopt;
        QList<BluetoothDevice> list;
        for (const Device& d : *devices)
            list.append(d.device);
        return list;
    }

    QList<BluetoothService> services(const BluetoothDevice& device) override
    {
        std::lock_guard lock(mutex);
        const Device& d = find(device);
        if (d.serviceSearchFails)
            throw LinkError(QStringLiteral("Host is down"));
        QList<BluetoothService> list;
        for (int i = 0; i < d.services.size(); ++i)
            list.append({d.services.at(i).uuid, i});
        return list;
    }

    std::unique_ptr<ByteChannel> connect(const BluetoothDevice& device, const BluetoothService& service) override
    {
        std::lock_guard lock(mutex);
        const Service& s = find(device).services.at(service.channel);
        int open = 0;
        for (const auto& flag : closedFlags)
            open += *flag ? 0 : 1;
        connects.append({device.address, service.channel, open});
        if (s.refuses)
            throw LinkError(QStringLiteral("Connection refused"));
        hosts.push_back(std::make_unique<SimulatorHost>(s.options));
        auto closed = std::make_shared<std::atomic<bool>>(false);
        closedFlags.push_back(closed);
        return std::make_unique<Tracked>(hosts.back()->takeClientFd(), closed);
    }

    QList<Connect> connectLog() const
    {
        std::lock_guard lock(mutex);
        return connects;
    }
    // The simulator behind the index-th successful connect.
    SimulatorHost* host(int index) const
    {
        std::lock_guard lock(mutex);
        return index < int(hosts.size()) ? hosts.at(size_t(index)).get() : nullptr;
    }
    bool channelClosed(int index) const
    {
        std::lock_guard lock(mutex);
        return index < int(closedFlags.size()) && *closedFlags.at(size_t(index));
    }
    int channelCount() const
    {
        std::lock_guard lock(mutex);
        return int(closedFlags.size());
    }

    std::atomic<int> discoveries{0};
    std::atomic<int> socketTimeout{0};

private:
    class Tracked : public FdByteChannel {
    public:
        Tracked(int fd, std::shared_ptr<std::atomic<bool>> flag) : FdByteChannel(fd), closed(std::move(flag)) {}
        ~Tracked() override { *closed = true; }
        void close() override
        {
            FdByteChannel::close();
            *closed = true;
        }

    private:
        std::shared_ptr<std::atomic<bool>> closed;
    };

    const Device& find(const BluetoothDevice& device) const
    {
        if (!devices)
            throw LinkError(device.address + QStringLiteral(": unknown device"));
        for (const Device& d : *devices)
            if (d.device.address == device.address)
                return d;
        throw LinkError(device.address + QStringLiteral(": unknown device"));
    }

    mutable std::mutex mutex;
    std::optional<QList<Device>> devices;
    std::atomic<bool> ready{true};
    std::atomic<bool> discoveryFails{false};
    QList<Connect> connects;
    std::vector<std::unique_ptr<SimulatorHost>> hosts;
    std::vector<std::shared_ptr<std::atomic<bool>>> closedFlags;
};
