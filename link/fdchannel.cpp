#include "fdchannel.h"

#include "linkerror.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Longest wait for room in the outgoing buffer before a send gives up.
constexpr int SendTimeoutMs = 2000;

QString errnoText(const char* what, int error)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace

FdByteChannel::FdByteChannel(int fileDescriptor) : fd(fileDescriptor)
{
    if (fd < 0)
        return;
    struct stat info {};
    isSocket = ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

FdByteChannel::~FdByteChannel()
{
    close();
}

void FdByteChannel::close()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void FdByteChannel::send(const QByteArray& bytes)
{
    if (fd < 0)
        throw LinkError(QStringLiteral("The connection is closed"));
    QElapsedTimer clock;
    clock.start();
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const char* data = bytes.constData() + sent;
        const size_t size = size_t(bytes.size() - sent);
        // MSG_NOSIGNAL: a peer that has gone must give an error, not SIGPIPE.
        const ssize_t n = isSocket ? ::send(fd, data, size, MSG_NOSIGNAL) : ::write(fd, data, size);
        if (n > 0) {
            sent += n;
            continue;
        }
        const int error = n < 0 ? errno : EIO;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            const qint64 left = SendTimeoutMs - clock.elapsed();
            pollfd p{fd, POLLOUT, 0};
            if (left > 0 && ::poll(&p, 1, int(left)) >= 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL)))
                continue;
            throw LinkError(QStringLiteral("Send: timed out"));
        }
        failed = true;
        throw LinkError(errnoText("Send", error));
    }
}

QByteArray FdByteChannel::receive(int timeoutMs)
{
    if (!isOpen())
        return {};
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qint64 left = qMax<qint64>(0, timeoutMs - clock.elapsed());
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            failed = true;
            return {};
        }
        if (ready == 0)
            return {};
        if (p.revents & POLLNVAL) {
            failed = true;
            return {};
        }
        QByteArray chunk(ReadSize, Qt::Uninitialized);
        const ssize_t n = ::read(fd, chunk.data(), size_t(chunk.size()));
        if (n > 0) {
            chunk.truncate(n);
            return chunk;
        }
        // 0 is end of stream; a hung-up tty reads as EIO.
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (clock.elapsed() >= timeoutMs)
                return {};
            continue;
        }
        failed = true;
        return {};
    }
}
