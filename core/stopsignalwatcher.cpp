#include "stopsignalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end for the handler; one watcher at a time.
volatile std::sig_atomic_t writeFd = -1;

extern "C" void onStopSignal(int)
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

StopSignalWatcher::StopSignalWatcher(std::initializer_list<int> signalNumbers, QObject* parent) : QObject(parent)
{
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeFd = fds[1];
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : signalNumbers) {
        Previous old{number, {}};
        if (::sigaction(number, &action, &old.action) != 0)
            continue;
        previous.push_back(old);
    }
    if (previous.empty()) {
        writeFd = -1;
        return;
    }
    notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StopSignalWatcher::readPipe);
    active = true;
}

StopSignalWatcher::~StopSignalWatcher()
{
    for (const Previous& old : previous)
        ::sigaction(old.number, &old.action, nullptr);
    writeFd = -1;
    delete notifier;
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void StopSignalWatcher::readPipe()
{
    char bytes[16];
    while (::read(fds[0], bytes, sizeof bytes) > 0) {
    }
    emit stopRequested();
}
