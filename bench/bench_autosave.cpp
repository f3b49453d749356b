// The cost of writing a recording to disk as it runs: one hour of samples
// (180,000 at 50 a second) appended to the log store as the live poll does,
// with and without the autosave writer taking them every 250 ms (12.5
// samples). The difference is what the writer adds per hour of recording.
#include "benchsupport.h"
#include "logautosave.h"
#include "logcolumns.h"
#include "logstore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr qsizetype HourSamples = 180000;
constexpr qsizetype SamplesPerTick = 12;  // 250 ms at 50 samples a second, rounded down

LogSample sampleAt(qsizetype k)
{
    LogSample s;
    const auto i = static_cast<qint32>(k);
    s.rawOutput = i & 0xFFFF;
    s.rawAngle = i % 900;
    s.rawAux = i & 0xFFFF;
    s.colConverter = i & 0xFF;
    s.colO2 = (i * 7) & 0xFF;
    s.colRpm = (i * 13) & 0xFFFF;
    s.colCorr = i % 511 - 255;
    return s;
}

long residentKiB()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The live path alone: an hour of samples into the store.
void BM_LiveHourWithoutAutosave(benchmark::State& state)
{
    for (auto _ : state) {
        LogStore store;
        for (qsizetype k = 0; k < HourSamples; ++k)
            store.append(sampleAt(k));
        benchmark::DoNotOptimize(store.sampleCount());
    }
}
BENCHMARK(BM_LiveHourWithoutAutosave)->Unit(benchmark::kMillisecond);

// The same with the writer's ticks in between, into a real file. The
// counter rss_growth_KiB is how much the resident memory grew between the
// end of the first and the end of the last run (nothing kept across runs).
void BM_LiveHourWithAutosave(benchmark::State& state)
{
    QTemporaryDir dir;
    AbortingNotifier notifier;
    long firstRss = -1;
    long lastRss = 0;
    for (auto _ : state) {
        LogStore store;
        LogAutosave writer(store, notifier);
        if (!writer.begin(dir.filePath(QStringLiteral("hour.log")), 0, 255))
            std::abort();
        for (qsizetype k = 0; k < HourSamples; ++k) {
            store.append(sampleAt(k));
            if ((k + 1) % SamplesPerTick == 0)
                writer.writePending();
        }
        writer.writePending();
        if (writer.written() != HourSamples)
            std::abort();
        state.PauseTiming();
        writer.discard();
        lastRss = residentKiB();
        if (firstRss < 0)
            firstRss = lastRss;
        state.ResumeTiming();
    }
    state.counters["rss_growth_KiB"] = double(lastRss - firstRss);
}
BENCHMARK(BM_LiveHourWithAutosave)->Unit(benchmark::kMillisecond);

// The writer's ticks alone over a store that already holds the samples
// each tick takes: its own cost per hour of recording.
void BM_AutosaveTicksPerHour(benchmark::State& state)
{
    QTemporaryDir dir;
    AbortingNotifier notifier;
    for (auto _ : state) {
        state.PauseTiming();
        LogStore store;
        LogAutosave writer(store, notifier);
        if (!writer.begin(dir.filePath(QStringLiteral("ticks.log")), 0, 255))
            std::abort();
        state.ResumeTiming();
        for (qsizetype k = 0; k < HourSamples; k += SamplesPerTick) {
            state.PauseTiming();
            for (qsizetype j = k; j < std::min(k + SamplesPerTick, HourSamples); ++j)
                store.append(sampleAt(j));
            state.ResumeTiming();
            writer.writePending();
        }
        state.PauseTiming();
        writer.discard();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutosaveTicksPerHour)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
