#include "devicesettings.h"

#include "anglevalues.h"
#include "commandset.h"
#include "protocoltexts.h"
#include "table.h"
#include "tabletransfer.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"

#include <QThread>

#include <cstdlib>
#include <exception>

namespace {

constexpr int ResetPauseMs = 200;
constexpr std::uint32_t ActivePin = 0xFFFF0000;
constexpr std::uint32_t InactivePin = 0xFFC0C0C0;

void send(TRXTX& rxtx, const QByteArray& bytes)
{
    rxtx.Send(bytes.constData(), static_cast<int>(bytes.size()));
}

void sendBytes(TRXTX& rxtx, std::initializer_list<std::uint8_t> bytes)
{
    QByteArray data;
    for (std::uint8_t b : bytes)
        data.append(static_cast<char>(b));
    send(rxtx, data);
}

bool connected(const TRXTX* rxtx)
{
    return rxtx != nullptr && rxtx->Connected != 0;
}

bool refuseUnlessConnected(const TRXTX* rxtx, UserNotifier& notifier)
{
    if (connected(rxtx))
        return false;
    notifier.showMessage(QString::fromUtf8(ProtocolTexts::NotConnected));
    return true;
}

}  // namespace

void Calibrate(TRXTX* rxtx, UserNotifier& notifier, bool closed, const StopLoggingIfRunning& stopLogging)
{
    if (refuseUnlessConnected(rxtx, notifier))
        return;
    if (stopLogging)
        stopLogging();
    rxtx->Drain();
    send(*rxtx, closed ? CommandSet::CalibrateClosed : CommandSet::CalibrateOpen);
}

void SendAngle(TRXTX* rxtx, double angle)
{
    if (rxtx == nullptr)
        return;
    try {
        send(*rxtx, CommandSet::Offset);
        sendBytes(*rxtx, {previewByteFromAngle(angle)});
        sendBytes(*rxtx, {255});
    } catch (const std::exception&) {
        // A preview that cannot be sent is simply not shown on the Converter.
    }
}

void SendOffset(TRXTX* rxtx, int value)
{
    if (!connected(rxtx))
        return;
    send(*rxtx, CommandSet::Offset);
    sendBytes(*rxtx, {static_cast<std::uint8_t>(value & 0xFF)});
}

void SendCorrection(Table& table, int corr, int begin, int end, int kind)
{
    table.corrValue = corr;
    table.begPoint = begin;
    table.endPoint = end;
    if (connected(table.rxtx)) {
        if (kind == CorrectionValue) {
            send(*table.rxtx, CommandSet::Correction);
            sendBytes(*table.rxtx, {static_cast<std::uint8_t>(std::abs(corr) & 0xFF),
                                    static_cast<std::uint8_t>(corr < 0 ? 1 : 0)});
        } else if (kind == MafBorderKind) {
            send(*table.rxtx, CommandSet::MafBorder);
            sendBytes(*table.rxtx, {0, 255});
        }
    }
    table.RedrawDashboardChart();
}

PinLabelColours pinLabelColours(bool switchChecked)
{
    return switchChecked ? PinLabelColours{InactivePin, ActivePin} : PinLabelColours{ActivePin, InactivePin};
}

bool ToggleReference(TRXTX* rxtx, UserNotifier& notifier, bool switchChecked, const ReferenceSwitchView& view)
{
    if (refuseUnlessConnected(rxtx, notifier))
        return false;
    if (view.colourLabels)
        view.colourLabels(pinLabelColours(switchChecked));
    rxtx->Drain();
    send(*rxtx, CommandSet::ToggleReference);
    notifier.showMessage(QString::fromUtf8(ProtocolTexts::WaitFiveSeconds));
    if (view.setConnectionMemo)
        view.setConnectionMemo(QString::fromUtf8(switchChecked ? ProtocolTexts::Restart3Pin
                                                               : ProtocolTexts::Restart4Pin));
    rxtx->Disconnect();
    return true;
}

void ResetTable(Table& table, const StopLoggingIfRunning& stopLogging, int clearBegin, int clearEnd)
{
    if (refuseUnlessConnected(table.rxtx, table.notifier()))
        return;
    if (stopLogging)
        stopLogging();
    QThread::msleep(ResetPauseMs);
    send(*table.rxtx, CommandSet::ResetTable);
    QThread::msleep(ResetPauseMs);
    ReadTable(table);
    table.ClearTrained(clearBegin, clearEnd);
}
