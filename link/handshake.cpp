#include "handshake.h"

#include "bluetoothstack.h"
#include "linktexts.h"
#include "tbtmethod.h"

#include <QList>
#include <QString>

namespace {

constexpr int ProbeDrainMs = 500;
constexpr int AnswerMs = 1000;
constexpr int AnswerSize = 4;

// "%0.8x" of the UUID's first 32 bits.
QString uuidPrefix(const QString& uuid)
{
    bool ok = false;
    const quint32 first = uuid.left(8).toUInt(&ok, 16);
    return ok ? QStringLiteral("%1").arg(first, 8, 16, QLatin1Char('0')) : QString();
}

}  // namespace

bool LoadServices(TBTMethod& link, const BluetoothDevice& device)
{
    link.Services.clear();
    try {
        link.Services = link.Stack().services(device);
    } catch (...) {
        return false;
    }
    return !link.Services.isEmpty();
}

std::optional<HandshakeAnswer> ProbeServices(TBTMethod& link, const BluetoothDevice& device,
                                             const std::function<bool()>& interrupted)
{
    const QList<BluetoothService> services = link.Services;
    for (const BluetoothService& service : services) {
        if (interrupted && interrupted())
            break;
        if (uuidPrefix(service.uuid) != QLatin1String(LinkTexts::SerialPortPrefix))
            continue;
        try {
            link.SetSocket(link.Stack().connect(device, service));
            link.SendBytes(LinkTexts::FirstProbe, int(sizeof LinkTexts::FirstProbe));
            char byte = 0;
            while (link.ReceiveExact(&byte, 1, ProbeDrainMs) > 0) {
            }
            link.SendBytes(LinkTexts::SecondProbe, int(sizeof LinkTexts::SecondProbe));
            unsigned char answer[AnswerSize] = {};
            const int count = link.ReceiveExact(reinterpret_cast<char*>(answer), AnswerSize, AnswerMs);
            if (count == AnswerSize && answer[0] == 0 && answer[1] == 0) {
                link.RefMode = answer[3];
                HandshakeAnswer result;
                result.firmware = answer[2];
                result.refMode = answer[3];
                return result;
            }
            link.SetSocket(nullptr);
        } catch (...) {
            link.SetSocket(nullptr);
        }
    }
    link.SetSocket(nullptr);
    return std::nullopt;
}
