#include "crc8.h"
#include "liveframedecoder.h"
#include "logfile.h"
#include "logstore.h"
#include "usernotifier.h"
#include "zantolog.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr qsizetype LogSamples = 1000000;  // a 15 MB .log file

// A benchmark must not hide a failure behind a fast figure.
class FailingNotifier : public UserNotifier {
public:
    void showMessage(const QString& text) override { fail(text); }
    void showError(const QString& text) override { fail(text); }
    bool confirm(const QString&) override { return true; }
    void showToast(const QString&) override {}
    void flashToast(const QString&) override {}
    void processEvents() override {}

private:
    [[noreturn]] static void fail(const QString& text)
    {
        std::fprintf(stderr, "bench_log: %s\n", qPrintable(text));
        std::abort();
    }
};

// Frames as the Converter streams them: changing words, a valid check byte.
std::vector<std::array<std::uint8_t, LiveFrame::Size>> streamOfFrames(int count)
{
    std::vector<std::array<std::uint8_t, LiveFrame::Size>> frames(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto& f = frames[static_cast<std::size_t>(i)];
        for (int w = 0; w < 9; ++w) {
            const auto word = static_cast<std::uint16_t>((i * (w + 3) + w * 101) & 0x3FF);
            f[static_cast<std::size_t>(2 * w)] = static_cast<std::uint8_t>(word & 0xFF);
            f[static_cast<std::size_t>(2 * w + 1)] = static_cast<std::uint8_t>(word >> 8);
        }
        f[18] = crc8(f.data(), 18);
    }
    return frames;
}

LogColumns recording(qsizetype n)
{
    LogColumns c;
    c.resize(n);
    for (qsizetype k = 0; k < n; ++k) {
        const auto i = static_cast<qint32>(k);
        c.colConverter[k] = i & 0xFF;
        c.colMarker[k] = (i / 500) % 2 ? 4 : 0;
        c.colEnrichment[k] = (i * 3) & 0xFF;
        c.colMaf[k] = (i * 5) & 0xFF;
        c.colTps[k] = (i * 7) & 0xFF;
        c.colRpm[k] = (i * 13) & 0xFFFF;
        c.colO2[k] = (i * 11) & 0xFF;
        c.colCorr[k] = (i % 511) - 255;
        c.colIat[k] = (i * 17) & 0xFF;
        c.colEct[k] = (i * 19) & 0xFF;
        c.colO2sm[k] = (i * 23) & 0xFF;
        c.colLogCorr[k] = 255 - (i % 511);
    }
    return c;
}

// One temporary folder holding the 1,000,000-sample file the load and raw
// read benchmarks share.
struct LogFixture {
    QTemporaryDir dir;
    QString fileName;
    LogFixture()
    {
        fileName = dir.filePath(QStringLiteral("bench.log"));
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || !LogFile::write(file, recording(LogSamples), 0, 255)) {
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

// Check, decode and append, frame after frame from memory: the live poll's
// work without waiting for the link. The store is emptied after every hour
// of frames (180,000) so the benchmark measures the path, not the swap.
void BM_PollFrameDecode(benchmark::State& state)
{
    const auto frames = streamOfFrames(4096);
    LogStore store;
    int badFrames = 0;
    std::size_t next = 0;
    qsizetype appended = 0;
    for (auto _ : state) {
        const auto verdict = LiveFrame::accept(frames[next].data(), LiveFrame::Size, badFrames, false, store);
        benchmark::DoNotOptimize(verdict);
        next = (next + 1) & 4095;
        if (++appended == 180000) {
            store.clear();
            appended = 0;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LiveFrame::Size);
}
BENCHMARK(BM_PollFrameDecode);

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
    FailingNotifier notifier;
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
    FailingNotifier notifier;
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(recording(LogSamples));
    for (auto _ : state)
        log.SaveLog(name);
    if (QFile(name).size() != LogFile::fileSize(LogSamples))
        std::abort();
    state.SetBytesProcessed(state.iterations() * LogFile::fileSize(LogSamples));
    state.SetItemsProcessed(state.iterations() * LogSamples);
}
BENCHMARK(BM_LogSave)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
