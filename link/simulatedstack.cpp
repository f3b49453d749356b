#include "simulatedstack.h"

#include "fdchannel.h"
#include "linkerror.h"
#include "linktexts.h"

#include <QMutexLocker>

SimulatedStack::SimulatedStack(const SimulatorOptions& simulatorOptions) : options(simulatorOptions)
{
}

SimulatedStack::~SimulatedStack() = default;

std::optional<QList<BluetoothDevice>> SimulatedStack::pairedDevices()
{
    return QList<BluetoothDevice>{{QString::fromLatin1(Address), QString::fromLatin1(Name)}};
}

QList<BluetoothService> SimulatedStack::services(const BluetoothDevice& device)
{
    if (device.address != QLatin1String(Address))
        throw LinkError(device.address + QStringLiteral(": no such device"));
    return {BluetoothService{QString::fromLatin1(LinkTexts::SerialPortUuid), 1}};
}

std::unique_ptr<ByteChannel> SimulatedStack::connect(const BluetoothDevice& device, const BluetoothService&)
{
    if (device.address != QLatin1String(Address))
        throw LinkError(device.address + QStringLiteral(": no such device"));
    auto host = std::make_unique<SimulatorHost>(options);
    const int fd = host->takeClientFd();
    if (fd < 0)
        throw LinkError(QStringLiteral("The simulated Converter did not start"));
    auto channel = std::make_unique<FdByteChannel>(fd);
    QMutexLocker lock(&mutex);
    current = std::move(host);
    return channel;
}

SimulatorHost* SimulatedStack::host() const
{
    QMutexLocker lock(&mutex);
    return current.get();
}
