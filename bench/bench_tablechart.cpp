#include <benchmark/benchmark.h>

// The charts need the widget and chart libraries, which this file sees only
// when the benchmark executable links the table chart view
// (zanto_tables_view). Without it the benchmark reports why it cannot run
// instead of breaking the whole executable's build.
#if __has_include(<QApplication>) && __has_include(<QChartView>) && __has_include("tablecharts.h")

#include "dashboardchartview.h"
#include "table.h"
#include "tablecharts.h"
#include "tablechartview.h"
#include "usernotifier.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
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

// Widgets need a QApplication. Without any application object one is made
// here (run with QT_QPA_PLATFORM=offscreen); a plain QCoreApplication made
// by the benchmark main cannot be replaced, and the benchmark says so.
bool widgetsAvailable(benchmark::State& state)
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "zantotps-bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        state.SkipWithError("the table charts need a QApplication, not a QCoreApplication");
        return false;
    }
    return true;
}

// The table page's chart and the dashboard chart at the window's width,
// set up as at start-up, with a full curve, trained points and cells.
struct Charts {
    Charts()
    {
        window.resize(394, 689);
        tableChart = new TableChartView(&window);
        tableChart->setGeometry(0, 64, 394, 500);
        dashChart = new DashboardChartView(&window);
        dashChart->setGeometry(0, 570, 394, 119);
        views.SetUpTableView(tableChart, true, {"Tab1", QColor(0xFFFF0000)}, true,
                             {"Tab2", QColor(0xFF0000FF)}, nullptr, {}, {});
        views.SetUpDashboardChart(dashChart);
        for (int i = 0; i < Table::CurveSize; ++i) {
            table.tab[i] = (i * 37 + 11) % 256;
            table.trained[i] = i % 3 == 0 ? table.tab[i] : 0;
        }
        for (int k = 0; k < Table::CorrectionCells; ++k) {
            table.tab[Table::IatFirst + k] = k % 61;
            table.tab[Table::EctFirst + k] = (k * 7) % 61;
        }
        table.begPoint = 40;
        table.endPoint = 220;
        table.outValue = 128;
        window.show();
        QCoreApplication::processEvents();
    }

    QuietNotifier notifier;
    Table table{notifier};
    TableCharts views{table};
    QWidget window;
    TableChartView* tableChart = nullptr;
    DashboardChartView* dashChart = nullptr;
};

// One redraw as the store asks for it after an edit: both charts' thirteen
// series refilled, the dashboard's axes set. Painting follows later in the
// event loop and is measured below.
void BM_RedrawTableChart(benchmark::State& state)
{
    if (!widgetsAvailable(state))
        return;
    Charts charts;
    int k = 0;
    for (auto _ : state) {
        charts.table.tab[100] = k++ % 256;  // a change each time, as after an edit
        charts.table.RedrawTableChart();
    }
}
BENCHMARK(BM_RedrawTableChart)->Unit(benchmark::kMillisecond);

// The redraw and the painting of both charts that it leads to.
void BM_RedrawAndPaintTableCharts(benchmark::State& state)
{
    if (!widgetsAvailable(state))
        return;
    Charts charts;
    QImage tableImage(charts.tableChart->size(), QImage::Format_ARGB32_Premultiplied);
    QImage dashImage(charts.dashChart->size(), QImage::Format_ARGB32_Premultiplied);
    int k = 0;
    for (auto _ : state) {
        charts.table.tab[100] = k++ % 256;
        charts.table.RedrawTableChart();
        QPainter tablePainter(&tableImage);
        charts.tableChart->render(&tablePainter);
        QPainter dashPainter(&dashImage);
        charts.dashChart->render(&dashPainter);
    }
}
BENCHMARK(BM_RedrawAndPaintTableCharts)->Unit(benchmark::kMillisecond);

}  // namespace

#else

namespace {

void BM_RedrawTableChart(benchmark::State& state)
{
    state.SkipWithError("built without the table chart view: link zanto_tables_view");
}
BENCHMARK(BM_RedrawTableChart);

}  // namespace

#endif
