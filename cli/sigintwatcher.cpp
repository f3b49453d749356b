#include "sigintwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end for the handler; one watcher at a time.
volatile std::sig_atomic_t writeFd = -1;

extern "C" void onSigint(int)
{
    const int saved = errno;
    const char byte = 1;
    if (writeFd >= 0) {
        // Nothing can be done about a full pipe: one byte there is enough.
        [[maybe_unused]] const ssize_t n = ::write(writeFd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

SigintWatcher::SigintWatcher(QObject* parent) : QObject(parent)
{
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeFd = fds[1];
    struct sigaction action {};
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGINT, &action, &previous) != 0) {
        writeFd = -1;
        return;
    }
    notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SigintWatcher::readPipe);
    active = true;
}

SigintWatcher::~SigintWatcher()
{
    if (active)
        ::sigaction(SIGINT, &previous, nullptr);
    writeFd = -1;
    delete notifier;
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void SigintWatcher::readPipe()
{
    char bytes[16];
    while (::read(fds[0], bytes, sizeof bytes) > 0) {
    }
    emit interrupted();
}
