#pragma once

#include "bluetoothstack.h"

#include <atomic>

// A byte channel over one file descriptor: an RFCOMM socket, a serial tty or
// the simulator's socketpair. Receives are poll() with the time limit and one
// read of up to ReadSize bytes; datagram-like sockets lose what a smaller read
// leaves of a packet, so the read size never goes below one page.
class FdByteChannel : public ByteChannel {
public:
    static constexpr int ReadSize = 4096;

    // Takes ownership of fd and puts it in non-blocking mode.
    explicit FdByteChannel(int fd);
    ~FdByteChannel() override;
    FdByteChannel(const FdByteChannel&) = delete;
    FdByteChannel& operator=(const FdByteChannel&) = delete;

    void send(const QByteArray& bytes) override;
    QByteArray receive(int timeoutMs) override;
    bool isOpen() const override { return fd >= 0 && !failed; }
    void close() override;

private:
    int fd;
    bool isSocket = false;
    // Atomic: a send on the main thread (the stop word) may fail while the
    // live poll thread is receiving on the same channel, and both mark it.
    std::atomic<bool> failed{false};
};
