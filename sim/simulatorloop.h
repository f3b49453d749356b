#pragma once

#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include <QByteArray>

class SimulatedConverter;

// Serves a SimulatedConverter on one file descriptor: reads what the client
// sends, puts the device's packets on the line when they are due, and sleeps
// in poll() in between. Runs on whichever thread calls run(); another thread
// (or a signal handler) ends it with requestStop().
class SimulatorLoop {
public:
    enum class Channel {
        Packets,   // SOCK_SEQPACKET: one read per client send, one packet per output
        Stream,    // a pty: bytes without boundaries
    };

    // Takes ownership of deviceFd and makes it non-blocking. The model is
    // shared with other threads under modelMutex.
    SimulatorLoop(int deviceFd, Channel channel, SimulatedConverter& model, std::mutex& modelMutex);
    ~SimulatorLoop();
    SimulatorLoop(const SimulatorLoop&) = delete;
    SimulatorLoop& operator=(const SimulatorLoop&) = delete;

    // Returns after requestStop(), or when the device dropped the line.
    void run();
    // Safe from any thread and from a signal handler.
    void requestStop();
    // Makes run() look at the model again (after a setting changed).
    void wake();
    // Closes the device's end; the client then reads end of file. Call after run() returned.
    void closeDevice();

    bool hungUp() const { return lineDropped.load(); }

    // Called on the loop's thread after each read, outside the model's lock.
    std::function<void()> onReceived;
    // Called on the loop's thread with the model's journal lines.
    std::function<void(const QStringList&)> onJournal;

private:
    struct Pending {
        QByteArray bytes;
        qsizetype sent = 0;
    };

    qint64 now() const;
    void readOnce();
    void queueOut(const QByteArray& bytes, bool frame);
    void flush();
    void peerGone();

    int fd;
    int wakeFd;
    Channel channel;
    SimulatedConverter& model;
    std::mutex& modelMutex;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> lineDropped{false};
    bool peerClosed = false;
    std::deque<Pending> outgoing;
    std::vector<char> readBuffer;
    qint64 startNs;
};
