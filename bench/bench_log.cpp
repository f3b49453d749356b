#include "benchsupport.h"
#include "commandset.h"
#include "liveframe.h"
#include "liveframedecoder.h"
#include "logfile.h"
#include "logstore.h"
#include "logthread.h"
#include "simulatedstack.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"
#include "zantolog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr qsizetype LogSamples = 1000000;  // a 15 MB .log file

// One temporary folder holding the 1,000,000-sample file the load and raw
// read benchmarks share.
struct LogFixture {
    QTemporaryDir dir;
    QString fileName;
    LogFixture()
    {
        fileName = dir.filePath(QStringLiteral("bench.log"));
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || !LogFile::write(file, benchRecording(LogSamples), 0, 255)) {
            std::fprintf(stderr, "bench_log: cannot write %s\n", qPrintable(fileName));
            std::abort();
        }
    }
};

LogFixture& fixture()
{
    static LogFixture f;
    return f;
}

// The Converter's stream from memory, as fast as it is read: `total` frames
// (or without end when negative) in chunks that end mid-frame, silent before
// "fiusfiul" and after the last frame. Notes the most the link's receive
// buffer held when a receive began.
class MemoryStreamChannel : public ByteChannel {
public:
    static constexpr qsizetype ChunkBytes = 4000;

    explicit MemoryStreamChannel(qint64 frameCount, bool streamAtOnce = false)
        : total(frameCount), streaming(streamAtOnce)
    {
        // A cycle of distinct frames for the endless stream.
        for (int i = 0; i < CycleFrames; ++i) {
            SignalInputs inputs;
            inputs.counter = quint16(i);
            cycle += encodeLiveFrame(liveValuesAt(20 * qint64(i), inputs));
        }
    }
    void watch(const TBTMethod* observed) { link = observed; }

    void send(const QByteArray& bytes) override
    {
        if (bytes == CommandSet::StartLive)
            streaming = true;
        else if (bytes == CommandSet::StopLive)
            streaming = false;
    }
    QByteArray receive(int timeoutMs) override
    {
        if (link)
            maxHeld = std::max(maxHeld.load(), link->RxHeld());
        for (; streaming && pending.size() < ChunkBytes && (total < 0 || sent < total); ++sent)
            pending += cycle.mid((sent % CycleFrames) * LiveFrame::Size, LiveFrame::Size);
        if (!streaming || pending.isEmpty()) {
            QThread::msleep(static_cast<unsigned long>(timeoutMs));
            return {};
        }
        const QByteArray chunk = pending.left(ChunkBytes);
        pending.remove(0, chunk.size());
        return chunk;
    }
    bool isOpen() const override { return true; }
    void close() override {}

    std::atomic<qsizetype> maxHeld{0};

private:
    static constexpr int CycleFrames = 4096;
    const qint64 total;
    qint64 sent = 0;
    QByteArray cycle;
    QByteArray pending;
    std::atomic<bool> streaming;
    const TBTMethod* link = nullptr;
};

// The client side of a connection over an in-memory channel: bus, link,
// transport and logger, wired as the main window does.
struct MemoryLink {
    explicit MemoryLink(std::unique_ptr<MemoryStreamChannel> stream)
        : channel(stream.get()),
          link(&bus, nullptr, &notifier, std::make_unique<SimulatedStack>()),
          rxtx(&bus, &link, &notifier),
          log(nullptr, &rxtx, bus, notifier)
    {
        link.SetSocket(std::move(stream));
        link.Connected = 1;
        rxtx.Connected = 1;
        channel->watch(&link);
    }

    MemoryStreamChannel* channel;
    AbortingNotifier notifier;
    TZantoBroadcaster bus;
    TBTMethod link;
    TRXTX rxtx;
    TZantoLog log;
};

// The live poll's step, frame after frame from an in-memory channel: the
// channel-free flag, the receive through the link's buffer, the check, the
// decode and the append. The store is emptied after every hour of frames
// (180,000) so the benchmark measures the path, not the swap.
void BM_PollFrameDecode(benchmark::State& state)
{
    MemoryLink client(std::make_unique<MemoryStreamChannel>(-1, true));
    TLogThread poll(client.log);  // never started: its step runs here
    qsizetype appended = 0;
    for (auto _ : state) {
        poll.PollFrame();
        if (++appended == 180000) {
            client.log.store().clear();
            appended = 0;
        }
    }
    if (client.log.badFrameCount != 0 || poll.Received() != LiveFrame::Size)
        std::abort();
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LiveFrame::Size);
}
BENCHMARK(BM_PollFrameDecode);

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

// One hour of logging (180,000 samples) through the whole live path: start
// message, drain, "fiusfiul", the poll thread, the stop message. Reports how
// much the process grew against what the columns hold, and the most the
// link's receive buffer held. Run it on its own: memory freed by earlier
// benchmarks would hide growth.
void BM_LiveHourMemory(benchmark::State& state)
{
    constexpr qsizetype Samples = 180000;
    for (auto _ : state) {
        const qint64 before = residentBytes();
        MemoryLink client(std::make_unique<MemoryStreamChannel>(Samples + 1));
        const TMsgStartLog start;
        client.bus.Broadcast(start);
        while (client.log.store().sampleCount() < Samples)
            QThread::msleep(5);
        const TMsgStopLog stop;
        client.bus.Broadcast(stop);
        const qint64 after = residentBytes();

        const LogSnapshot s = client.log.store().snapshot();
        if (s.log.count() != Samples || s.raw.shortest() != Samples)
            std::abort();
        qint64 columnBytes = 0;
        for (const LogColumnInfo& info : logColumnInfo)
            columnBytes += (s.log.*info.column).capacity() * qint64(sizeof(qint32));
        for (const RawColumnInfo& info : rawColumnInfo)
            columnBytes += (s.raw.*info.column).capacity() * qint64(sizeof(qint32));
        state.counters["rss_growth_MB"] = double(after - before) / 1e6;
        state.counters["columns_MB"] = double(columnBytes) / 1e6;
        state.counters["columns_needed_MB"] = double(Samples * 20 * qint64(sizeof(qint32))) / 1e6;
        state.counters["rx_held_max_B"] = double(client.channel->maxHeld.load());
    }
    state.SetItemsProcessed(state.iterations() * Samples);
}
BENCHMARK(BM_LiveHourMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the file's bytes into memory and nothing more: the yardstick for
// the load.
void BM_LogRawRead(benchmark::State& state)
{
    const QString name = fixture().fileName;
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        const QByteArray all = file.readAll();
        benchmark::DoNotOptimize(all.constData());
        bytes += all.size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_LogRawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LogLoad(benchmark::State& state)
{
    const QString name = fixture().fileName;
    TZantoBroadcaster bus;
    AbortingNotifier notifier;
    TZantoLog log(nullptr, bus, notifier);
    for (auto _ : state) {
        log.LoadLog(name);
        if (log.store().sampleCount() != LogSamples)
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * LogFile::fileSize(LogSamples));
    state.SetItemsProcessed(state.iterations() * LogSamples);
}
BENCHMARK(BM_LogLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LogSave(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("saved.log"));
    TZantoBroadcaster bus;
    AbortingNotifier notifier;
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(benchRecording(LogSamples));
    for (auto _ : state)
        log.SaveLog(name);
    if (QFile(name).size() != LogFile::fileSize(LogSamples))
        std::abort();
    state.SetBytesProcessed(state.iterations() * LogFile::fileSize(LogSamples));
    state.SetItemsProcessed(state.iterations() * LogSamples);
}
BENCHMARK(BM_LogSave)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
