#include "anthread.h"

#include "connectionmemo.h"
#include "handshake.h"
#include "linktexts.h"
#include "messages.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

namespace {

constexpr int RetryPauseMs = 1000;

}  // namespace

TAnThread::TAnThread(TBTMethod& link, const QString& targetAddress)
    : TargetAddress(targetAddress), Link(link)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start();
}

void TAnThread::showStatus(const QString& text)
{
    Link.RunOnMainThread([&] {
        Status = text;
        if (ConnectionMemo* memo = Link.Memo())
            memo->setText(Status);
    });
}

void TAnThread::appendStatus(const QString& text)
{
    // The memo is read where it lives, in the same hand-over that writes it.
    Link.RunOnMainThread([&] {
        ConnectionMemo* memo = Link.Memo();
        Status = (memo ? memo->text() : Status) + text;
        if (memo)
            memo->setText(Status);
    });
}

void TAnThread::showNoDevices()
{
    showStatus(QString::fromUtf8(LinkTexts::NoPairedDevices));
}

void TAnThread::announce(const QString& address)
{
    Link.RunOnMainThread([&] {
        Link.LastDeviceAddress = address;
        if (Link.Bus) {
            TMsgConnected message;
            Link.Bus->Broadcast(message);
        }
    });
}

void TAnThread::pause(int ms)
{
    for (int slept = 0; slept < ms && !isInterruptionRequested(); slept += 20)
        msleep(20);
}

void TAnThread::run()
{
    // A socket left open (a transfer failed while it stayed up) is closed
    // before another one is opened to the same device.
    if (Link.Connected == 1 || Link.HasSocket())
        Link.CloseSocket();

    QList<BluetoothDevice> devices;
    while (Link.Connected == 0 && !isInterruptionRequested()) {
        // A failed discovery keeps the list of the last good one.
        Link.DiscoverPaired();
        devices = Link.PairedDevices.value_or(QList<BluetoothDevice>());
        if (devices.isEmpty()) {
            showNoDevices();
            return;
        }

        showStatus(QString::fromUtf8(LinkTexts::TryingToConnect) + TargetAddress);
        for (int i = 0; i < devices.size() && !isInterruptionRequested(); ++i) {
            const BluetoothDevice& device = devices.at(i);
            if (device.address != TargetAddress)
                continue;
            appendStatus(QString::fromUtf8(LinkTexts::DeviceFound) + device.name + QLatin1Char(' ') +
                         device.address);
            if (TryDevice(i)) {
                appendStatus(QString::fromUtf8(LinkTexts::ConnectedToLast));
                Link.Connected = 1;
                announce(device.address);
                break;
            }
        }
        if (Link.Connected == 1 || isInterruptionRequested())
            break;

        appendStatus(QString::fromUtf8(LinkTexts::Autosearch));
        for (int i = 0; i < devices.size() && !isInterruptionRequested(); ++i) {
            if (TryDevice(i)) {
                appendStatus(QString::fromUtf8(LinkTexts::ConnectedBySearch));
                Link.Connected = 1;
                announce(devices.at(i).address);
                break;
            }
        }
        if (Link.Connected == 1 || isInterruptionRequested())
            break;

        appendStatus(QString::fromUtf8(LinkTexts::DeviceNotFound));
        pause(RetryPauseMs);
    }
}

bool TAnThread::TryDevice(int index)
{
    const QList<BluetoothDevice> devices = Link.PairedDevices.value_or(QList<BluetoothDevice>());
    if (index < 0 || index >= devices.size())
        return false;
    const BluetoothDevice device = devices.at(index);
    if (!LoadServices(Link, device))
        return false;

    appendStatus(QLatin1Char('\n') + device.name);
    const std::optional<HandshakeAnswer> answer =
        ProbeServices(Link, device, [this] { return isInterruptionRequested(); });
    if (!answer)
        return false;
    Link.DeviceIndex = index;
    appendStatus(QString::fromUtf8(LinkTexts::Firmware) + QString::number(answer->firmware / 10) + QLatin1Char('.') +
                 QString::number(answer->firmware % 10));
    return true;
}

TAnThread* StartConnectionSearch(TBTMethod& link, TRXTX& rxtx)
{
    if (TAnThread* running = link.Search(); running && !running->isFinished())
        return nullptr;
    if (link.Connected == 1 || link.HasSocket()) {
        link.CloseSocket();
        rxtx.Connected = 0;
    }
    auto* search = new TAnThread(link, link.LastDeviceAddress);
    link.SetSearch(search);
    return search;
}
