#include "tbtmethod.h"

#include "anthread.h"
#include "linkerror.h"
#include "linktexts.h"
#include "usernotifier.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstring>

namespace {

// Consumed bytes are dropped once this many have gathered at the front, so
// the buffer stays small however long the Converter streams.
constexpr qsizetype CompactThreshold = 4096;

// Discovery time and socket timeout of each search pass.
constexpr int DiscoveryMs = 2000;
constexpr int SocketTimeoutMs = 2000;

}  // namespace

TBTMethod::TBTMethod(TZantoBroadcaster* bus, ConnectionMemo* memo, UserNotifier* userNotifier,
                     std::unique_ptr<BluetoothStack> bluetoothStack, QObject* owner)
    : QObject(owner),
      StatusMemo(memo),
      LastDeviceAddress(QString::fromLatin1(LinkTexts::UnknownAddress)),
      Bus(bus),
      notifier(userNotifier),
      stack(std::move(bluetoothStack))
{
}

TBTMethod::~TBTMethod()
{
    shuttingDown = true;
    if (TAnThread* running = search.data()) {
        running->requestInterruption();
        // The search may be waiting in a hand-over to this thread; dropping the
        // posted call releases it, and it makes no further ones.
        while (!running->wait(20))
            QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
        delete running;
    }
    CloseSocket();
}

TAnThread* TBTMethod::Search() const
{
    return search.data();
}

void TBTMethod::SetSearch(TAnThread* thread)
{
    search = thread;
}

void TBTMethod::RunOnMainThread(const std::function<void()>& call)
{
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    if (shuttingDown)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, &call] {
            if (!shuttingDown)
                call();
        },
        Qt::BlockingQueuedConnection);
}

std::optional<QList<BluetoothDevice>> TBTMethod::DiscoverPaired()
{
    QString failure;
    try {
        if (!stack || !stack->adapterReady())
            return std::nullopt;
        stack->discover(DiscoveryMs);
        stack->setDefaultSocketTimeout(SocketTimeoutMs);
        std::optional<QList<BluetoothDevice>> devices = stack->pairedDevices();
        if (devices)
            PairedDevices = devices;
        return devices;
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    if (notifier)
        RunOnMainThread([&] { notifier->showMessage(failure); });
    return std::nullopt;
}

void TBTMethod::SendBytes(const char* bytes, int n)
{
    // A negative count would make QByteArray measure up to a zero byte.
    SendBytes(QByteArray(bytes, qMax(0, n)));
}

void TBTMethod::SendBytes(const QByteArray& bytes)
{
    if (!Socket)
        throw LinkError(QStringLiteral("No connection to the Converter: the socket is not open"));
    Socket->send(bytes);
}

int TBTMethod::ReceiveExact(char* buffer, int n, int timeoutMs)
{
    if (n <= 0)
        return 0;
    RxWritePos = rxBase + RxStream.size();
    if (RxPending() >= n)
        return readBuffered(buffer, n);

    QElapsedTimer watch;
    watch.start();
    while (RxPending() < n && Socket && Socket->isOpen()) {
        const QByteArray chunk = Socket->receive(timeoutMs);
        appendReceived(chunk);
        // An empty receive is a whole silent wait or a dropped channel; in
        // either case waiting on would only spin or repeat the silence.
        if (chunk.isEmpty() || watch.elapsed() >= timeoutMs)
            break;
        watch.restart();
    }

    RxWritePos = rxBase + RxStream.size();
    if (RxPending() >= n)
        return readBuffered(buffer, n);
    // A short read hands out what there is but consumes nothing.
    const qsizetype available = RxPending();
    if (available > 0)
        std::memcpy(buffer, RxStream.constData() + (RxReadPos - rxBase), size_t(available));
    return int(available);
}

int TBTMethod::ReceiveOnce(char* buffer, int n, int timeoutMs)
{
    if (!Socket)
        return 0;
    const QByteArray chunk = Socket->receive(timeoutMs);
    if (chunk.isEmpty())
        return 0;
    if (n > 0)
        std::memcpy(buffer, chunk.constData(), size_t(qMin<qsizetype>(n, chunk.size())));
    return int(chunk.size());
}

void TBTMethod::CloseSocket()
{
    SetSocket(nullptr);
    Connected = 0;
}

void TBTMethod::SetSocket(std::unique_ptr<ByteChannel> channel)
{
    if (Socket)
        Socket->close();
    Socket = std::move(channel);
    // Whatever the old channel left unread is dropped with it.
    RxReadPos = RxWritePos = rxBase + RxStream.size();
    discardConsumed();
}

void TBTMethod::appendReceived(const QByteArray& bytes)
{
    RxStream.append(bytes);
}

int TBTMethod::readBuffered(char* buffer, int n)
{
    std::memcpy(buffer, RxStream.constData() + (RxReadPos - rxBase), size_t(n));
    RxReadPos += n;
    discardConsumed();
    return n;
}

void TBTMethod::discardConsumed()
{
    const qsizetype consumed = qsizetype(RxReadPos - rxBase);
    if (consumed == RxStream.size()) {
        RxStream.clear();
        rxBase = RxReadPos;
    } else if (consumed >= CompactThreshold) {
        RxStream.remove(0, consumed);
        rxBase = RxReadPos;
    }
}
