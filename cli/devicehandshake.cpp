#include "devicehandshake.h"

#include "bluetoothstack.h"
#include "tbtmethod.h"

#include <QList>

std::optional<HandshakeAnswer> connectToDevice(TBTMethod& link, const QString& address)
{
    const QList<BluetoothDevice> devices = link.DiscoverPaired().value_or(QList<BluetoothDevice>());
    for (int i = 0; i < devices.size(); ++i) {
        if (devices.at(i).address != address)
            continue;
        if (!LoadServices(link, devices.at(i)))
            return std::nullopt;
        std::optional<HandshakeAnswer> answer = ProbeServices(link, devices.at(i));
        if (answer) {
            link.DeviceIndex = i;
            link.LastDeviceAddress = address;
        }
        return answer;
    }
    return std::nullopt;
}
