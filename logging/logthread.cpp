#include "logthread.h"

#include "logtexts.h"
#include "messages.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"
#include "zantolog.h"

#include <QElapsedTimer>
#include <QMutexLocker>

#include <exception>
#include <utility>

namespace {

// The stop-logging record the thread posts. It outlives any delivery: the
// thread hands the broadcast over and may be gone before a listener looks
// at the record again.
const TMsgStopLog threadStopRecord;

// Pause between two looks at a busy channel.
constexpr unsigned long ChannelPollMs = 1;

}  // namespace

TLogThread::TLogThread(TZantoLog& owner) : log(owner)
{
    // Qt gives the system thread this name when it starts.
    setObjectName(QString::fromLatin1(LogTexts::LogThreadName));
}

TLogThread::~TLogThread()
{
    // The logger waits for the thread before deleting it; this is the last
    // line of defence against destroying a running QThread.
    stopRequested = true;
    wait();
}

bool TLogThread::RequestStop()
{
    QMutexLocker lock(&handOverMutex);
    stopRequested = true;
    return handingOver;
}

bool TLogThread::beginHandOver()
{
    QMutexLocker lock(&handOverMutex);
    if (stopRequested)
        return false;
    handingOver = true;
    return true;
}

void TLogThread::run()
{
    try {
        if (FirstRead() == 0) {
            // No answer at all: logging ends without a word to the person.
            ended = true;
            if (beginHandOver())
                handOverStop(QString());
        } else {
            log.hasData = true;
            while (!stopRequested && !ended)
                PollFrame();
        }
    } catch (const std::exception& e) {
        releaseChannel();
        ended = true;
        if (beginHandOver())
            handOverStop(QString::fromLocal8Bit(e.what()));
    }
    releaseChannel();
}

int TLogThread::FirstRead()
{
    if (!takeChannel())
        return 0;
    received = receive(buffer.data(), LiveFrame::Size);
    releaseChannel();
    return received;
}

void TLogThread::PollFrame()
{
    try {
        if (!takeChannel())
            return;
        received = receive(buffer.data(), LiveFrame::Size);
        releaseChannel();

        // A read cut short by our own stop (or by the Converter obeying it)
        // is the end of the stream, not a lost Converter.
        if (stopRequested && received < LiveFrame::Size)
            return;

        const LiveFrame::Verdict verdict =
            LiveFrame::accept(buffer.data(), std::size_t(received), log.badFrameCount, log.markerHeld, log.store());
        if (verdict == LiveFrame::Verdict::Failure) {
            fail(QString::fromUtf8(LogTexts::ThreadError));
        } else if (verdict == LiveFrame::Verdict::BadFrame) {
            // Shifts the frame boundary by one byte for the next attempt.
            receive(buffer.data(), 1);
        }
    } catch (const std::exception& e) {
        releaseChannel();
        ended = true;
        if (beginHandOver())
            handOverStop(QString::fromLocal8Bit(e.what()));
    }
}

void TLogThread::fail(const QString& text)
{
    ended = true;
    if (!beginHandOver())
        return;
    log.link->Link->Connected = 0;
    handOverStop(text);
}

void TLogThread::handOverStop(const QString& text)
{
    TBTMethod* link = log.link->Link;
    // Runs on the main thread while this thread waits for it. A stop that
    // came meanwhile has done everything this would.
    link->RunOnMainThread([this, &text] {
        if (stopRequested)
            return;
        const TLogThread* outer = std::exchange(log.handOverThread, this);
        try {
            if (!text.isEmpty())
                log.notifier.showMessage(text);
            if (!stopRequested)
                log.bus.Broadcast(threadStopRecord);
        } catch (const std::exception& e) {
            // Nothing may leave a queued call; a listener's failure is shown
            // like any other.
            log.notifier.showError(QString::fromLocal8Bit(e.what()));
        }
        log.handOverThread = outer;
    });
}

bool TLogThread::takeChannel()
{
    std::atomic<std::uint8_t>& channelFree = log.link->ChannelFree;
    for (;;) {
        std::uint8_t expected = 1;
        if (channelFree.compare_exchange_weak(expected, 0)) {
            holdsChannel = true;
            return true;
        }
        if (stopRequested)
            return false;
        QThread::msleep(ChannelPollMs);
    }
}

void TLogThread::releaseChannel()
{
    // Only a flag this thread cleared: a newer poll may hold it by now.
    if (holdsChannel) {
        holdsChannel = false;
        log.link->ChannelFree = 1;
    }
}

int TLogThread::receive(std::uint8_t* into, int n)
{
    TBTMethod* link = log.link->Link;
    char* bytes = reinterpret_cast<char*>(into);
    int got = 0;
    QElapsedTimer silence;
    silence.start();
    for (;;) {
        // A short read consumes nothing, so the next slice goes on where this
        // one stopped.
        const int now = link->ReceiveExact(bytes, n, ReceiveSliceMs);
        if (now >= n)
            return now;
        if (now > got) {
            got = now;
            silence.restart();
        } else if (silence.elapsed() >= TRXTX::ReceiveMs) {
            return got;
        }
        if (stopRequested)
            return got;
        // A dropped channel has nothing more to give.
        if (!link->Socket || !link->Socket->isOpen())
            return now;
    }
}
