#include "firmwareupdate.h"

#include "anglevalues.h"
#include "commandset.h"
#include "firmwareimage.h"
#include "protocoltexts.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"

#include <QFile>
#include <QThread>

#include <exception>

namespace {

constexpr int PauseAfterCommandMs = 300;
constexpr int MaxRejections = 4;
// An image of 262144 bytes is at most about 525 KB of text with blanks;
// reading more than this is pointless.
constexpr qint64 MaxTextBytes = 4 * 1024 * 1024;

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

// The Converter stopped answering: the link is no longer trusted.
void fail(TRXTX& rxtx, UserNotifier& notifier, const char* message)
{
    if (rxtx.Link)
        rxtx.Link->Connected = 0;
    notifier.showMessage(text(message));
}

}  // namespace

QString firmwareProgressText(qint64 acked, qint64 count)
{
    if (count <= 0)
        return QStringLiteral("0%");
    return QString::number(static_cast<qint64>(roundHalfEven(acked * 100.0 / count, 0))) + QLatin1Char('%');
}

bool UpdateFirmware(TRXTX* rxtx, UserNotifier& notifier, const QString& fileName, const FirmwareProgress& progress)
{
    if (rxtx == nullptr || rxtx->Connected == 0) {
        notifier.showMessage(text(ProtocolTexts::NotConnected));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        notifier.showMessage(text(ProtocolTexts::FileNotFound));
        return false;
    }
    const FirmwareImage image = parseFirmwareImage(file.read(MaxTextBytes));
    file.close();
    if (image.problem == FirmwareImage::TooLarge) {
        notifier.showMessage(text(ProtocolTexts::FirmwareTooLarge));
        return false;
    }
    if (image.problem == FirmwareImage::BlockPastEnd) {
        notifier.showMessage(text(ProtocolTexts::FirmwareBadBlock));
        return false;
    }

    const qint64 count = image.bytes.size();
    qint64 acked = 0;
    try {
        rxtx->Drain();
        rxtx->Send(CommandSet::Firmware.constData(), static_cast<int>(CommandSet::Firmware.size()));
        QThread::msleep(PauseAfterCommandMs);

        for (const FirmwareImage::Block& block : image.blocks) {
            int rejections = 0;
            for (;;) {
                rxtx->Drain();
                if (progress.showToast)
                    progress.showToast(firmwareProgressText(acked, count));
                rxtx->Send(image.bytes.constData() + block.offset, static_cast<int>(block.size));
                char answer = 0;
                if (rxtx->Receive(&answer, 1) < 1) {
                    fail(*rxtx, notifier, ProtocolTexts::FirmwareNoAnswer);
                    return false;
                }
                if (answer == CommandSet::BlockAccepted)
                    break;
                if (++rejections == MaxRejections) {
                    fail(*rxtx, notifier, ProtocolTexts::FirmwareCrcError);
                    return false;
                }
            }
            acked += block.size;
        }
    } catch (const std::exception&) {
        // The link itself failed mid-update (unplugged, out of range).
        fail(*rxtx, notifier, ProtocolTexts::FirmwareNoAnswer);
        return false;
    }
    if (progress.flashToast)
        progress.flashToast(text(ProtocolTexts::Percent100));
    notifier.showMessage(text(ProtocolTexts::FirmwareDone));
    return true;
}
