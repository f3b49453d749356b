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

// A benchmark must not hide a failure behind a fast figure.
class AbortingNotifier : public UserNotifier {
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
        std::fprintf(stderr, "bench_csv: %s\n", qPrintable(text));
        std::abort();
    }
};

// Values of every width, negative ones among them, as a long drive gives.
LogColumns drive(qsizetype n)
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
        c.colIat[k] = (i / 7) & 0xFF;
        c.colEct[k] = (i / 3) & 0xFF;
        c.colO2sm[k] = (i * 17) & 0xFF;
        c.colLogCorr[k] = 255 - (i % 511);
    }
    return c;
}

// What "zantotps-cli log2csv FILE.log OUT" does: load the log through the
// logger, write the CSV file.
void BM_LogToCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString logName = dir.filePath("drive.log");
    const QString csvName = dir.filePath("drive.csv");
    {
        QFile file(logName);
        if (!file.open(QIODevice::WriteOnly) || !LogFile::write(file, drive(CsvSamples), 0, 0)) {
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
