#include "tbtmethod.h"

#include "anthread.h"
#include "linkerror.h"
#include "linktexts.h"
#include "usernotifier.h"

#include <QElapsedTimer>
#include <QThread>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

namespace {

// Consumed bytes are dropped once this many have gathered at the front, so
// the buffer stays small however long the Converter streams.
constexpr qsizetype CompactThreshold = 4096;

// Discovery time and socket timeout of each search pass.
constexpr int DiscoveryMs = 2000;
constexpr int SocketTimeoutMs = 2000;

}  // namespace

// Calls handed from other threads to the link's thread. Qt's queued call only
// says "run one"; the call itself, its completion and the waiting all go
// through this mutex and condition variable, so the hand-over orders the
// caller's writes before the call and the call's writes before the caller
// goes on (and a ThreadSanitizer build sees it, which it cannot with Qt's
// own futex-based locks).
struct TBTMethod::HandOver {
    struct Call {
        const std::function<void()>* run = nullptr;
        // Ran, or was dropped unrun because the link went away.
        bool finished = false;
    };

    std::mutex mutex;
    std::condition_variable finished;
    // Posted and not yet taken, oldest first. Each lives on its caller's
    // stack while the caller waits.
    std::deque<Call*> waiting;
    // The link is going away: nothing more is taken in.
    bool closed = false;
};

TBTMethod::TBTMethod(TZantoBroadcaster* bus, ConnectionMemo* memo, UserNotifier* userNotifier,
                     std::unique_ptr<BluetoothStack> bluetoothStack, QObject* owner)
    : QObject(owner),
      StatusMemo(memo),
      LastDeviceAddress(QString::fromLatin1(LinkTexts::UnknownAddress)),
      Bus(bus),
      notifier(userNotifier),
      stack(std::move(bluetoothStack)),
      handOver(std::make_shared<HandOver>())
{
}

TBTMethod::~TBTMethod()
{
    shuttingDown = true;
    {
        // A thread waiting in a hand-over (the search, or a poll still
        // handing over its end) is released without its call, and makes no
        // further ones.
        const std::lock_guard<std::mutex> lock(handOver->mutex);
        handOver->closed = true;
        for (HandOver::Call* call : handOver->waiting)
            call->finished = true;
        handOver->waiting.clear();
    }
    handOver->finished.notify_all();
    if (TAnThread* running = search.data()) {
        running->requestInterruption();
        running->wait();
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
    // The caller keeps the state alive: once released by the destructor it
    // still has to leave the wait, and the link may be gone by then.
    const std::shared_ptr<HandOver> state = handOver;
    HandOver::Call pending{&call};
    std::unique_lock<std::mutex> lock(state->mutex);
    if (state->closed)
        return;
    state->waiting.push_back(&pending);
    // Posted under the lock: the destructor closes the hand-over under the
    // same lock, so the link is still there to post to. The queued call is
    // invoked by name and carries nothing from this thread; a posted functor
    // would be written here and read there with only Qt's locks in between.
    if (!QMetaObject::invokeMethod(this, "runHandedOver", Qt::QueuedConnection)) {
        state->waiting.pop_back();
        return;
    }
    state->finished.wait(lock, [&pending] { return pending.finished; });
}

void TBTMethod::runHandedOver()
{
    const std::shared_ptr<HandOver> state = handOver;
    HandOver::Call* taken = nullptr;
    {
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (state->waiting.empty())
            return;
        taken = state->waiting.front();
        state->waiting.pop_front();
    }
    // The caller is released even when its call throws.
    struct Release {
        HandOver& state;
        HandOver::Call* call;
        ~Release()
        {
            {
                const std::lock_guard<std::mutex> lock(state.mutex);
                call->finished = true;
            }
            state.finished.notify_all();
        }
    } release{*state, taken};
    if (!shuttingDown)
        (*taken->run)();
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
