#pragma once

#include "fdchannel.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

// The far end of a SOCK_SEQPACKET socketpair, as the link's channels see the
// Converter: each send is one packet. Timed sends run on a helper thread, so
// that they arrive while the test's own thread is blocked in a receive.
class PacketPeer {
public:
    PacketPeer()
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) == 0) {
            fd = fds[0];
            clientFd = fds[1];
        }
    }
    ~PacketPeer()
    {
        if (sender.joinable())
            sender.join();
        close();
        if (clientFd >= 0)
            ::close(clientFd);
    }
    PacketPeer(const PacketPeer&) = delete;
    PacketPeer& operator=(const PacketPeer&) = delete;

    // The client's end as a channel; the peer keeps nothing of it.
    std::unique_ptr<ByteChannel> takeChannel()
    {
        return std::make_unique<FdByteChannel>(std::exchange(clientFd, -1));
    }

    void send(const QByteArray& bytes) { ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL); }

    // Sends each packet after its delay (counted from the previous one), then
    // closes the peer when closeAfter is set.
    void sendLater(QList<std::pair<int, QByteArray>> script, bool closeAfter = false)
    {
        sender = std::thread([this, script, closeAfter] {
            for (const auto& [delayMs, bytes] : script) {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                send(bytes);
            }
            if (closeAfter)
                close();
        });
    }
    void join()
    {
        if (sender.joinable())
            sender.join();
    }

    // One packet, or empty after timeoutMs.
    QByteArray receive(int timeoutMs = 1000)
    {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return {};
        QByteArray packet(4096, '\0');
        const ssize_t n = ::recv(fd, packet.data(), size_t(packet.size()), MSG_DONTWAIT);
        packet.truncate(n > 0 ? n : 0);
        return packet;
    }

    void close()
    {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

private:
    int fd = -1;
    int clientFd = -1;
    std::thread sender;
};
