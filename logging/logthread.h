#pragma once

#include "liveframedecoder.h"

#include <QMutex>
#include <QString>
#include <QThread>

#include <array>
#include <atomic>
#include <cstdint>

class TZantoLog;

// The live-data thread: reads the Converter's 19-byte frames back to back
// while logging runs, checks and decodes each one and appends it to the
// logger's store. It never touches the person or the bus itself: the error
// message and the stop-logging message go through a blocking hand-over to the
// main thread.
//
// The logger creates it, starts it and, once it has ended, deletes it; the
// thread names itself "LogThread".
class TLogThread : public QThread {
    Q_OBJECT
public:
    // A wait for the Converter is cut into slices this long, so that a stop
    // is seen within one slice instead of after the link's whole 2000 ms.
    static constexpr int ReceiveSliceMs = 50;

    explicit TLogThread(TZantoLog& owner);
    ~TLogThread() override;

    // Main thread: asks the loop to end. Returns true when the thread has
    // already begun its ending hand-over (a failure, or no answer): it has
    // made its last append then, but may be waiting for the main thread, so
    // the caller must not wait for it to finish.
    bool RequestStop();
    bool StopRequested() const { return stopRequested.load(); }

    // One read-check-decode step: a 19-byte read under ChannelFree, a sample
    // for a good frame, one more byte dropped after a bad one, the failure
    // path for a short read or too many bad frames in a row.
    void PollFrame();

    // The first read after the start; its bytes are not decoded. Returns how
    // many arrived.
    int FirstRead();

    // Bytes the last read delivered (the receive buffer's fill).
    int Received() const { return received; }

    // True once a failure path ran: the loop ends even if no stop follows.
    bool Ended() const { return ended; }

protected:
    // The thread body (Execute).
    void run() override;

private:
    // Exactly n bytes like the transport's Receive (2000 ms per silent
    // receive), but in slices that notice a stop. Returns the count.
    int receive(std::uint8_t* into, int n);
    // Waits until the channel is free and takes it; false when a stop came.
    bool takeChannel();
    void releaseChannel();

    // The Converter is gone: Connected cleared, the message shown, logging
    // stopped. Nothing of it once a stop was asked for.
    void fail(const QString& text);
    // Message 4 on the main thread, after `text` when it is not empty.
    void handOverStop(const QString& text);
    // Marks the start of the ending hand-over; false when a stop came first.
    bool beginHandOver();

    TZantoLog& log;
    std::atomic<bool> stopRequested{false};
    // Guards the pair (stopRequested set, hand-over begun), so that exactly
    // one of the two sides knows it came first.
    QMutex handOverMutex;
    bool handingOver = false;
    bool ended = false;
    bool holdsChannel = false;

    std::array<std::uint8_t, LiveFrame::Size> buffer{};
    int received = 0;
};
