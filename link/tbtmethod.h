#pragma once

#include "bluetoothstack.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class ConnectionMemo;
class TAnThread;
class TZantoBroadcaster;
class UserNotifier;

// The Bluetooth link: the platform stack, the open socket to the Converter,
// the paired-device list and the one receive buffer every reader shares.
// Lives on the main thread; the connection thread, commands and the live-data
// thread use it in turn (only one of them reads at a time).
class TBTMethod : public QObject {
    Q_OBJECT
public:
    // memo may be null (no window): the status texts are then kept only in
    // the search's own status.
    TBTMethod(TZantoBroadcaster* bus, ConnectionMemo* memo, UserNotifier* notifier,
              std::unique_ptr<BluetoothStack> stack, QObject* owner = nullptr);
    ~TBTMethod() override;

    // The paired devices, also kept in PairedDevices; nothing when Bluetooth
    // is off or missing or the list cannot be had (a failure is shown).
    std::optional<QList<BluetoothDevice>> DiscoverPaired();

    // Sends the bytes in one packet; throws LinkError without an open socket.
    void SendBytes(const char* bytes, int n);
    void SendBytes(const QByteArray& bytes);

    // n when n bytes were delivered into buffer, else how many are buffered
    // (fewer than n; nothing is consumed). The limit holds for each silent
    // receive; a dropped channel ends the wait at once.
    int ReceiveExact(char* buffer, int n, int timeoutMs);

    // One receive: copies at most n bytes of the chunk, returns its full size.
    int ReceiveOnce(char* buffer, int n, int timeoutMs);

    // Closes and releases the socket; Connected becomes 0. Unread bytes of the
    // old channel are dropped: they never belong to the next one.
    void CloseSocket();
    // Replaces the socket by a newly opened one (closing the old one).
    void SetSocket(std::unique_ptr<ByteChannel> channel);
    bool HasSocket() const { return Socket != nullptr; }

    // Runs call on the thread that owns the link and waits until it has run:
    // directly there, through a queued hand-over the calling thread waits for
    // from any other thread. Skipped when the link is shutting down; a call
    // still waiting when the link is destroyed is dropped unrun and its
    // thread released.
    void RunOnMainThread(const std::function<void()>& call);

    // The search (connection thread) while one runs, else null.
    TAnThread* Search() const;
    void SetSearch(TAnThread* thread);

    BluetoothStack& Stack() { return *stack; }
    ConnectionMemo* Memo() const { return StatusMemo; }
    UserNotifier* Notifier() const { return notifier; }

    // Bytes received and not yet consumed.
    qsizetype RxPending() const { return RxStream.size() - qsizetype(RxReadPos - rxBase); }
    // Bytes the receive buffer holds, consumed ones included: stays small
    // however long a stream runs.
    qsizetype RxHeld() const { return RxStream.size(); }

    // Fields the other layers use by these names.
    std::unique_ptr<ByteChannel> Socket;
    std::optional<QList<BluetoothDevice>> PairedDevices;
    std::int32_t DeviceIndex = 0;
    QList<BluetoothService> Services;
    ConnectionMemo* StatusMemo = nullptr;
    QString LastDeviceAddress;
    TZantoBroadcaster* Bus = nullptr;
    std::atomic<std::uint8_t> Connected{0};
    std::atomic<std::uint8_t> RefMode{0};

    // Absolute positions in everything ever received (64-bit, as the stream).
    qint64 RxReadPos = 0;
    qint64 RxWritePos = 0;

private:
    struct HandOver;

    // Runs the oldest call waiting in the hand-over (posted once per call).
    Q_INVOKABLE void runHandedOver();

    void appendReceived(const QByteArray& bytes);
    int readBuffered(char* buffer, int n);
    void discardConsumed();

    UserNotifier* notifier;
    std::unique_ptr<BluetoothStack> stack;
    QPointer<TAnThread> search;
    std::atomic<bool> shuttingDown{false};
    // Shared with the threads waiting in it, which may still be leaving it
    // when the link is gone.
    std::shared_ptr<HandOver> handOver;

    // Received bytes from absolute position rxBase on.
    QByteArray RxStream;
    qint64 rxBase = 0;
};
