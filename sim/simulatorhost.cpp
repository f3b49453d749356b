#include "simulatorhost.h"

#include "simulatedconverter.h"
#include "simulatorloop.h"

#include <chrono>
#include <sys/socket.h>
#include <unistd.h>

SimulatorHost::SimulatorHost(const SimulatorOptions& options)
    : model(std::make_unique<SimulatedConverter>(options, true))
{
    int fds[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) {
        // takeClientFd() then answers -1, which the caller reports.
        stopped = true;
        return;
    }
    clientFd = fds[0];
    loop = std::make_unique<SimulatorLoop>(fds[1], SimulatorLoop::Channel::Packets, *model, mutex);
    loop->onReceived = [this] { receivedMore.notify_all(); };
    thread = std::thread([this] { loop->run(); });
}

SimulatorHost::~SimulatorHost()
{
    stop();
    if (clientFd >= 0)
        ::close(clientFd);
}

int SimulatorHost::takeClientFd()
{
    std::lock_guard<std::mutex> lock(lifeMutex);
    const int fd = clientFd;
    clientFd = -1;
    return fd;
}

void SimulatorHost::stop()
{
    std::lock_guard<std::mutex> lock(lifeMutex);
    if (loop) {
        loop->requestStop();
        if (thread.joinable())
            thread.join();
        loop->closeDevice();
    }
    stopped = true;
    receivedMore.notify_all();
}

bool SimulatorHost::isStopped() const
{
    return (loop && loop->hungUp()) || stopped;
}

QByteArray SimulatorHost::received() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return model->received();
}

QList<QByteArray> SimulatorHost::receivedReads() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return model->receivedReads();
}

void SimulatorHost::clearReceived()
{
    std::lock_guard<std::mutex> lock(mutex);
    model->clearReceived();
}

template <typename Condition>
bool SimulatorHost::waitFor(Condition condition, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex);
    return receivedMore.wait_for(lock, std::chrono::milliseconds(timeoutMs), condition);
}

bool SimulatorHost::waitForReceived(qsizetype byteCount, int timeoutMs) const
{
    return waitFor([&] { return model->received().size() >= byteCount; }, timeoutMs);
}

bool SimulatorHost::waitForReads(qsizetype readCount, int timeoutMs) const
{
    return waitFor([&] { return model->receivedReads().size() >= readCount; }, timeoutMs);
}

SimulatorState SimulatorHost::state() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return model->state();
}

SimulatorFaults SimulatorHost::faults() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return model->faults();
}

void SimulatorHost::setFaults(const SimulatorFaults& faults)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        model->setFaults(faults);
    }
    if (loop)
        loop->wake();
}

void SimulatorHost::setFirmwareVersion(int version)
{
    std::lock_guard<std::mutex> lock(mutex);
    model->setFirmwareVersion(version);
}

void SimulatorHost::setReferenceMode(int mode)
{
    std::lock_guard<std::mutex> lock(mutex);
    model->setReferenceMode(mode);
}

void SimulatorHost::setTable(unsigned char entry0, unsigned char entry1)
{
    std::lock_guard<std::mutex> lock(mutex);
    model->setTable(entry0, entry1);
}
