#pragma once

#include "bluetoothstack.h"

#include "simulatorhost.h"

#include <QMutex>

// One paired device, a simulated Converter running in this process. Each
// connect starts a fresh simulator behind a socketpair, so that a reconnect
// meets the Converter as a real one would after its link was dropped.
class SimulatedStack : public BluetoothStack {
public:
    static constexpr char Address[] = "00:5A:4E:54:4F:53";
    static constexpr char Name[] = "Converter (simulated)";

    explicit SimulatedStack(const SimulatorOptions& options = SimulatorOptions());
    ~SimulatedStack() override;

    bool adapterReady() override { return true; }
    void discover(int) override {}
    void setDefaultSocketTimeout(int) override {}
    std::optional<QList<BluetoothDevice>> pairedDevices() override;
    QList<BluetoothService> services(const BluetoothDevice& device) override;
    std::unique_ptr<ByteChannel> connect(const BluetoothDevice& device, const BluetoothService& service) override;

    // The simulator behind the newest connection, or null before the first.
    // Valid until the next connect or the stack's end.
    SimulatorHost* host() const;

private:
    SimulatorOptions options;
    mutable QMutex mutex;
    std::unique_ptr<SimulatorHost> current;
};
