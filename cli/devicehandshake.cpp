#include "devicehandshake.h"

#include "bluetoothstack.h"
#include "linktexts.h"
#include "tbtmethod.h"

#include <QList>

namespace {

constexpr int ProbeDrainMs = 500;
constexpr int AnswerMs = 1000;

// The first 32 bits of a UUID as eight lower-case hexadecimal digits.
QString uuidPrefix(const QString& uuid)
{
    bool ok = false;
    const quint32 first = uuid.left(8).toUInt(&ok, 16);
    return ok ? QStringLiteral("%1").arg(first, 8, 16, QLatin1Char('0')) : QString();
}

}  // namespace

std::optional<HandshakeAnswer> handshakeDevice(TBTMethod& link, const BluetoothDevice& device)
{
    link.Services.clear();
    try {
        link.Services = link.Stack().services(device);
    } catch (...) {
        return std::nullopt;
    }

    const QList<BluetoothService> services = link.Services;
    for (const BluetoothService& service : services) {
        if (uuidPrefix(service.uuid) != QLatin1String(LinkTexts::SerialPortPrefix))
            continue;
        try {
            link.SetSocket(link.Stack().connect(device, service));
            link.SendBytes(LinkTexts::FirstProbe, int(sizeof LinkTexts::FirstProbe));
            // Whatever the Converter still had to say (a stream left running)
            // must not be taken for the answer.
            char byte = 0;
            while (link.ReceiveExact(&byte, 1, ProbeDrainMs) > 0) {
            }
            link.SendBytes(LinkTexts::SecondProbe, int(sizeof LinkTexts::SecondProbe));
            unsigned char answer[4] = {};
            const int count = link.ReceiveExact(reinterpret_cast<char*>(answer), 4, AnswerMs);
            if (count == 4 && answer[0] == 0 && answer[1] == 0) {
                link.RefMode = answer[3];
                HandshakeAnswer result;
                result.firmware = answer[2];
                result.refMode = answer[3];
                return result;
            }
            link.SetSocket(nullptr);
        } catch (...) {
            // A service that refuses or fails mid-handshake is simply skipped.
            link.SetSocket(nullptr);
        }
    }
    link.SetSocket(nullptr);
    return std::nullopt;
}

std::optional<HandshakeAnswer> connectToDevice(TBTMethod& link, const QString& address)
{
    const QList<BluetoothDevice> devices = link.DiscoverPaired().value_or(QList<BluetoothDevice>());
    for (int i = 0; i < devices.size(); ++i) {
        if (devices.at(i).address != address)
            continue;
        if (std::optional<HandshakeAnswer> answer = handshakeDevice(link, devices.at(i))) {
            link.DeviceIndex = i;
            link.LastDeviceAddress = address;
            return answer;
        }
        return std::nullopt;
    }
    return std::nullopt;
}
