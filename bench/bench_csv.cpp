#include "benchsupport.h"
#include "logcsv.h"
#include "logfile.h"
#include "usernotifier.h"
#include "zantobroadcaster.h"
#include "zantolog.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr qsizetype CsvSamples = 1000000;  // a 15 MB .log file

// What "zantotps-cli log2csv FILE.log OUT" does: load the log through the
// logger, write the CSV file.
void BM_LogToCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString logName = dir.filePath("drive.log");
    const QString csvName = dir.filePath("drive.csv");
    {
        QFile file(logName);
        if (!file.open(QIODevice::WriteOnly) || !LogFile::write(file, benchRecording(CsvSamples), 0, 0)) {
            state.SkipWithError("cannot write the log");
            return;
        }
    }
    AbortingNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog log(nullptr, bus, notifier);
    qint64 csvBytes = 0;
    for (auto _ : state) {
        log.LoadLog(logName);
        QFile csv(csvName);
        if (!csv.open(QIODevice::WriteOnly | QIODevice::Truncate) || !LogCsv::write(csv, log.store().logColumns())) {
            state.SkipWithError("cannot write the CSV");
            return;
        }
        csv.close();
        csvBytes = csv.size();
        benchmark::DoNotOptimize(csvBytes);
    }
    if (log.store().sampleCount() != CsvSamples)
        state.SkipWithError("the log did not load whole");
    state.SetBytesProcessed(state.iterations() * csvBytes);
    state.counters["csv_MB"] = double(csvBytes) / 1e6;
}
BENCHMARK(BM_LogToCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
