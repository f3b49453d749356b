#pragma once

#include "zantobroadcaster.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <exception>

class TBTMethod;
class UserNotifier;

// The transport every command talks through: fixed time limits per kind of
// read, the connected flag commands test, the channel-free flag shared with
// the live-data thread, and the reporters of transfer errors.
class TRXTX : public TZantoListener {
public:
    static constexpr int ReceiveMs = 2000;
    static constexpr int ReceiveOnceMs = 1000;
    static constexpr int DrainStepMs = 500;

    // Registers itself on bus, which must outlive it.
    TRXTX(TZantoBroadcaster* bus, TBTMethod* link, UserNotifier* notifier);
    ~TRXTX() override;
    TRXTX(const TRXTX&) = delete;
    TRXTX& operator=(const TRXTX&) = delete;

    void Dispatch(const TMessage& message) override;

    // Link.SendBytes; throws LinkError. Returns n.
    int Send(const char* bytes, int n);
    // Exactly n bytes, 2000 ms per silent receive; returns the count.
    int Receive(char* buffer, int n);
    // One chunk, 1000 ms; copies at most n bytes, returns the chunk's size.
    int ReceiveOnce(char* buffer, int n);
    // Consumes single bytes until one 500 ms receive stays silent. Returns 0.
    int Drain();

    // The application's standard error dialog with the exception's text.
    void ReportException(const std::exception& e);
    // A failed table transfer: "E..." (no answer) clears Link.Connected and
    // shows the counts, "V..." shows the verification error, others nothing.
    void ReportTransferError(const QString& code, int received, int expected);

    // Closes the link's socket; both connected flags become 0 together.
    void Disconnect();

    TZantoBroadcaster* Bus;
    TBTMethod* Link;
    std::atomic<std::uint8_t> ChannelFree{1};
    std::atomic<std::int32_t> Connected{0};

private:
    UserNotifier* notifier;
};
