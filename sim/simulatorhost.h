#pragma once

#include "simulatoroptions.h"
#include "simulatorstate.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class SimulatedConverter;
class SimulatorLoop;

// Runs a SimulatedConverter on its own thread behind one end of a
// socketpair(AF_UNIX, SOCK_SEQPACKET). SEQPACKET keeps the boundary of every
// client send, so the device records each send as one read. The device sends
// each answer (or each trickled piece, or each live frame) as its own packet.
class SimulatorHost {
public:
    explicit SimulatorHost(const SimulatorOptions& options = SimulatorOptions());
    ~SimulatorHost();                    // stops the thread promptly and closes its end
    SimulatorHost(const SimulatorHost&) = delete;
    SimulatorHost& operator=(const SimulatorHost&) = delete;

    int takeClientFd();                  // the client's end; the caller owns and closes it; -1 after the first call
    QByteArray received() const;         // every byte the device received, in order (thread-safe)
    QList<QByteArray> receivedReads() const;  // the same, one entry per client send (thread-safe)
    void clearReceived();                // thread-safe
    void stop();                         // idempotent

    // Waits until at least this many bytes (or client sends) have been
    // received since the last clearReceived(); false on timeout.
    bool waitForReceived(qsizetype byteCount, int timeoutMs) const;
    bool waitForReads(qsizetype readCount, int timeoutMs) const;

    // Thread-safe view of the device and control over it while it runs.
    SimulatorState state() const;
    SimulatorFaults faults() const;
    void setFaults(const SimulatorFaults& faults);
    void setFirmwareVersion(int version);
    void setReferenceMode(int mode);
    void setTable(unsigned char entry0, unsigned char entry1);
    // True once the device dropped the line (a fault) or was stopped.
    bool isStopped() const;

private:
    template <typename Condition>
    bool waitFor(Condition condition, int timeoutMs) const;

    mutable std::mutex mutex;                  // guards the model
    mutable std::condition_variable receivedMore;
    std::unique_ptr<SimulatedConverter> model;
    std::unique_ptr<SimulatorLoop> loop;
    std::thread thread;
    std::mutex lifeMutex;                      // guards stop() and takeClientFd()
    int clientFd = -1;
    std::atomic<bool> stopped{false};
};
