#include <benchmark/benchmark.h>

// The log chart needs the widget and chart libraries, which this file sees
// only when the benchmark executable links the log chart view
// (zanto_logging_view). Without it the benchmark is left out instead of
// breaking the whole executable's build.
#if __has_include(<QApplication>) && __has_include(<QChartView>) && __has_include("logcharts.h")

#include "logchartdata.h"
#include "logcharts.h"
#include "logchartview.h"
#include "table.h"
#include "usernotifier.h"
#include "zantobroadcaster.h"
#include "zantolog.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QScrollArea>
#include <QWidget>

#include <memory>

namespace {

class QuietNotifier : public UserNotifier {
public:
    void showMessage(const QString&) override {}
    void showError(const QString&) override {}
    bool confirm(const QString&) override { return true; }
    void showToast(const QString&) override {}
    void flashToast(const QString&) override {}
    void processEvents() override {}
};

// Widgets need a QApplication (run with QT_QPA_PLATFORM=offscreen); a plain
// QCoreApplication made by the benchmark main cannot be replaced.
bool widgetsAvailable(benchmark::State& state)
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "zantotps-bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        state.SkipWithError("the log chart needs a QApplication, not a QCoreApplication");
        return false;
    }
    return true;
}

// The log page's two charts at the window's size with a recording of
// `samples` samples that moves in every column, drawn as a stop of logging
// leaves it.
struct LogPage {
    explicit LogPage(qsizetype samples)
    {
        window.resize(394, 689);
        box = new QScrollArea(&window);
        box->setGeometry(6, 64, 90, 500);
        chartLog = new LogChartView(&window);
        chartLog->setGeometry(6, 64, 382, 500);
        chartO2 = new QChartView(new QChart, &window);
        chartO2->setGeometry(6, 420, 382, 144);
        table.SetUpTableView(nullptr, nullptr, true, {}, {});
        for (int i = 0; i < Table::CurveSize; ++i)
            table.tab[i] = i;
        charts.SetUpLogCharts(chartLog, chartO2, &table, box);

        LogColumns c;
        c.resize(samples);
        for (qsizetype k = 0; k < samples; ++k) {
            const qint32 wave = qint32((k / 7) % 256);
            c.colConverter[k] = wave;
            c.colMarker[k] = k % 1000 == 0 ? 1 : 0;
            c.colEnrichment[k] = 255 - wave;
            c.colMaf[k] = wave;
            c.colTps[k] = (wave * 3) % 256;
            c.colRpm[k] = qint32(800 + k % 5000);
            c.colO2[k] = qint32((k / 3) % 256);
            c.colCorr[k] = wave - 128;
            c.colIat[k] = 40;
            c.colEct[k] = 90;
            c.colO2sm[k] = 128;
            c.colLogCorr[k] = 128 - wave;
        }
        logger.store().replaceLog(c);
        logger.windowStart = 0;
        logger.windowEnd = samples - LogChartData::TailSamples;
        charts.SetChartStep(samples - LogChartData::TailSamples);
    }

    QuietNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog logger{nullptr, bus, notifier};
    Table table{notifier};
    LogCharts charts{logger};
    QWidget window;
    QScrollArea* box = nullptr;
    LogChartView* chartLog = nullptr;
    QChartView* chartO2 = nullptr;
};

// One redraw: both charts refilled from the recording (thinned to at most
// about 860 points per series) and laid out, as the window does before it
// paints.
void BM_RedrawLogCharts(benchmark::State& state)
{
    if (!widgetsAvailable(state))
        return;
    LogPage page(state.range(0));
    for (auto _ : state) {
        page.charts.RedrawLogCharts(page.logger.chartStep);
        QCoreApplication::processEvents();
    }
    state.counters["points"] = double(page.charts.logSeries(0)->count());
}
BENCHMARK(BM_RedrawLogCharts)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same followed by one paint of the log page's charts.
void BM_RedrawAndPaintLogCharts(benchmark::State& state)
{
    if (!widgetsAvailable(state))
        return;
    LogPage page(state.range(0));
    QImage image(page.window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        page.charts.RedrawLogCharts(page.logger.chartStep);
        QCoreApplication::processEvents();
        QPainter painter(&image);
        page.window.render(&painter);
    }
    state.counters["points"] = double(page.charts.logSeries(0)->count());
}
BENCHMARK(BM_RedrawAndPaintLogCharts)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

#endif
