#include "simulatorloop.h"

#include "simulatedconverter.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Larger than any packet the client sends (a firmware block is at most
// 65537 bytes), so a packet is never cut by a short read.
constexpr std::size_t ReadBufferSize = 256 * 1024;
// A client that does not read loses live frames beyond this many waiting
// packets, as a serial line overruns; answers are never dropped.
constexpr std::size_t MaxWaitingPackets = 256;

qint64 monotonicNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace

SimulatorLoop::SimulatorLoop(int deviceFd, Channel channelKind, SimulatedConverter& converter, std::mutex& mutex)
    : fd(deviceFd),
      wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      channel(channelKind),
      model(converter),
      modelMutex(mutex),
      readBuffer(ReadBufferSize),
      startNs(monotonicNs())
{
    if (fd >= 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    }
}

SimulatorLoop::~SimulatorLoop()
{
    closeDevice();
    if (wakeFd >= 0)
        ::close(wakeFd);
}

qint64 SimulatorLoop::now() const
{
    return (monotonicNs() - startNs) / 1000000;
}

void SimulatorLoop::requestStop()
{
    stopRequested.store(true);
    wake();
}

void SimulatorLoop::wake()
{
    if (wakeFd < 0)
        return;
    const std::uint64_t one = 1;
    // Only async-signal-safe calls here: requestStop() runs in signal handlers.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
}

void SimulatorLoop::closeDevice()
{
    if (fd >= 0) {
        if (channel == Channel::Packets)
            ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
        fd = -1;
    }
}

void SimulatorLoop::run()
{
    if (fd < 0 || wakeFd < 0)
        return;
    while (!stopRequested.load()) {
        std::vector<SimulatedConverter::Output> due;
        QStringList journal;
        qint64 next;
        {
            std::lock_guard<std::mutex> lock(modelMutex);
            due = model.takeDue(now());
            next = model.nextWakeMs();
            journal = model.takeJournal();
        }
        if (!journal.isEmpty() && onJournal)
            onJournal(journal);
        for (const auto& output : due) {
            if (output.hangUp) {
                flush();
                // Marked before the close, so whoever sees the end of file sees the drop.
                lineDropped.store(true);
                closeDevice();
                return;
            }
            queueOut(output.bytes, output.frame);
        }
        flush();

        int timeout = -1;
        if (next >= 0)
            timeout = int(qBound(qint64(0), next - now(), qint64(INT_MAX)));
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, short(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0}};
        const nfds_t count = peerClosed ? 1 : 2;
        if (::poll(fds, count, timeout) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd, &value, sizeof value);
        }
        if (count == 2) {
            if (fds[1].revents & POLLIN)
                readOnce();
            else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))
                peerGone();
            if (!peerClosed && (fds[1].revents & POLLOUT))
                flush();
        }
    }
}

void SimulatorLoop::readOnce()
{
    const ssize_t n = channel == Channel::Packets ? ::recv(fd, readBuffer.data(), readBuffer.size(), 0)
                                                  : ::read(fd, readBuffer.data(), readBuffer.size());
    if (n > 0) {
        {
            std::lock_guard<std::mutex> lock(modelMutex);
            model.receive(QByteArray(readBuffer.data(), qsizetype(n)), now());
        }
        if (onReceived)
            onReceived();
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    peerGone();
}

void SimulatorLoop::peerGone()
{
    // The client closed its end: nothing more comes in, nothing can go out.
    peerClosed = true;
    outgoing.clear();
}

void SimulatorLoop::queueOut(const QByteArray& bytes, bool frame)
{
    if (peerClosed)
        return;
    if (frame && outgoing.size() >= MaxWaitingPackets)
        return;
    outgoing.push_back(Pending{bytes, 0});
}

void SimulatorLoop::flush()
{
    while (!outgoing.empty() && !peerClosed && fd >= 0) {
        Pending& front = outgoing.front();
        const char* data = front.bytes.constData() + front.sent;
        const std::size_t size = std::size_t(front.bytes.size() - front.sent);
        const ssize_t n = channel == Channel::Packets ? ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT)
                                                      : ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;   // poll() waits for room
            peerGone();
            return;
        }
        front.sent += n;
        if (front.sent >= front.bytes.size())
            outgoing.pop_front();
    }
}
