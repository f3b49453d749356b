#include "dashboardchartview.h"
#include "logchartdata.h"
#include "logcharts.h"
#include "logcharttexts.h"
#include "logchartview.h"
#include "logtimeaxis.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "tablecharts.h"
#include "tablechartview.h"
#include "zantobroadcaster.h"
#include "zantolog.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>
#include <functional>

using namespace LogChartData;

namespace {

// The log page reduced to what the log chart touches, set up as at
// start-up, with the table store and its two charts beside it.
struct LogPageFixture {
    LogPageFixture()
    {
        window.resize(394, 689);
        tableChart = new TableChartView(&window);
        tableChart->setGeometry(0, 0, 394, 150);
        dashChart = new DashboardChartView(&window);
        dashChart->setGeometry(0, 150, 394, 100);
        views.SetUpTableView(tableChart, true, {"Tab1", QColor(0xFFFF0000)}, true,
                             {"Tab2", QColor(0xFF0000FF)}, &boxes, {}, {});
        views.SetUpDashboardChart(dashChart);

        box = new QScrollArea(&window);
        box->setGeometry(6, 264, 90, 500);
        chartLog = new LogChartView(&window);
        chartLog->setGeometry(6, 264, 382, 420);
        chartO2 = new QChartView(new QChart, &window);
        chartO2->setGeometry(6, 560, 382, 120);
        charts.SetUpLogCharts(chartLog, chartO2, &table, box);
        window.show();
    }

    bool ready()
    {
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QCoreApplication::processEvents();
        return charts.plotCorners().isValid();
    }

    // A recording of n samples, every column from `value(column, k)`, drawn
    // the way a stop of logging draws it.
    void record(qsizetype n, const std::function<qint32(int column, qsizetype k)>& value)
    {
        LogColumns c;
        c.resize(n);
        for (int col = 0; col < LogColumns::Count; ++col) {
            LogColumn& column = c.*(logColumnInfo[size_t(col)].column);
            for (qsizetype k = 0; k < n; ++k)
                column[k] = value(col, k);
        }
        logger.store().replaceLog(c);
        logger.windowStart = 0;
        logger.windowEnd = n - TailSamples;
        logger.SetChartStep(n - TailSamples);
        charts.RedrawLogCharts(logger.chartStep);
    }

    // Column index in record order of a column member.
    static int columnOf(LogColumn LogColumns::*member)
    {
        for (int i = 0; i < LogColumns::Count; ++i)
            if (logColumnInfo[size_t(i)].column == member)
                return i;
        return -1;
    }

    QPoint viewportPixel(QPointF chartPos) const
    {
        return chartLog->mapFromScene(chartLog->chart()->mapToScene(chartPos));
    }

    void doubleTap(QPoint at)
    {
        QTest::mouseClick(chartLog->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(chartLog->viewport(), Qt::LeftButton, {}, at);
    }

    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog logger{nullptr, bus, notifier};
    TextSettingsBoxes boxes;
    Table table{notifier};
    TableCharts views{table};
    LogCharts charts{logger};
    QWidget window;
    TableChartView* tableChart = nullptr;
    DashboardChartView* dashChart = nullptr;
    QScrollArea* box = nullptr;
    LogChartView* chartLog = nullptr;
    QChartView* chartO2 = nullptr;
};

qreal sampleX(qsizetype k)
{
    return sampleTime(timeOrigin(), k);
}

}  // namespace

class TestLogChart : public QObject {
    Q_OBJECT

private slots:
    void setUpBuildsSeriesAndButtons();
    void redrawWindow_data();
    void redrawWindow();
    void shortRecordingKeepsPicture();
    void noRedrawWhileLogging();
    void sampleTimeOfDay_data();
    void sampleTimeOfDay();
    void seriesValues_data();
    void seriesValues();
    void loadedFileIsDrawn();
    void toggleButtons();
    void tapMemoryAndHint();
    void doubleTapAbovePlotChangesNothing();
    void doubleTapOnTopEdgeWritesPoint();
    void redrawAfterTableChange();
    void zoomScrollAndUndoMoveOxygenChart();
    void timeLabel_data();
    void timeLabel();
    void timeStep_data();
    void timeStep();
    void timeTicks_data();
    void timeTicks();
    void drawnTimeLabels_data();
    void drawnTimeLabels();
    void editsKeepTheZoom();
};

void TestLogChart::setUpBuildsSeriesAndButtons()
{
    LogPageFixture f;
    QCOMPARE(f.chartLog->chart()->series().size(), int(SeriesCount));
    QCOMPARE(f.chartO2->chart()->series().size(), int(O2SeriesCount));
    for (int i = 0; i < SeriesCount; ++i) {
        QLineSeries* s = f.charts.logSeries(i);
        QCOMPARE(s->name(), QString::fromUtf8(LogChartTexts::SeriesTitles[i]));
        QCOMPARE(s->pen().color().rgba(), SeriesColours[size_t(i)]);
        QCOMPARE(s->pen().width(), 2);
        QVERIFY(!s->pointsVisible());
    }
    QCOMPARE(f.charts.o2Series(0)->name(), QStringLiteral("O2"));
    QCOMPARE(f.charts.o2Series(0)->pen().color().rgba(), QRgb(0xFF01D10C));
    QCOMPARE(f.charts.o2Series(1)->name(), QStringLiteral("O2SM"));
    QCOMPARE(f.charts.o2Series(1)->pen().color().rgba(), QRgb(0xFF86E89C));
    QCOMPARE(f.charts.o2ValueAxis()->titleText(), QStringLiteral("O2"));
    QCOMPARE(f.charts.logValueAxis()->min(), 0.0);
    QCOMPARE(f.charts.logValueAxis()->max(), 5.0);
    // Labels stand on their times, not between them.
    QCOMPARE(f.charts.logTimeAxis()->labelsPosition(), QCategoryAxis::AxisLabelsPositionOnValue);
    QCOMPARE(f.charts.o2TimeAxis()->labelsPosition(), QCategoryAxis::AxisLabelsPositionOnValue);
    QVERIFY(!f.chartLog->chart()->legend()->isVisible());
    QCOMPARE(f.chartLog->chart()->backgroundBrush().color().rgba(), QRgb(0xFF000000));

    const auto& buttons = f.charts.toggleButtons();
    QCOMPARE(buttons.size(), 14);
    for (int i = 0; i < 14; ++i) {
        QToolButton* b = buttons[i];
        QCOMPARE(b->parentWidget(), f.box->widget());
        QCOMPARE(b->geometry(), QRect(5, 33 * i + 8, 70, 25));
        QVERIFY(b->isCheckable());
        if (i < 13) {
            QCOMPARE(b->text(), QString::fromUtf8(LogChartTexts::SeriesTitles[i]));
            QVERIFY(b->isChecked());
        } else {
            QCOMPARE(b->text(), QStringLiteral("*****"));
            QVERIFY(!b->isChecked());
        }
    }
    QVERIFY(!f.logger.hasData);
    QVERIFY(!f.logger.loggingActive);
}

void TestLogChart::redrawWindow_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("lastSample");

    QTest::newRow("118 samples: 0..97, step 1") << 118 << 1 << 97;
    QTest::newRow("1000 samples: 0..978, step 2") << 1000 << 2 << 978;
    // However long, a few hundred points per series.
    QTest::newRow("100000 samples: step 232") << 100000 << 232 << 99760;
}

void TestLogChart::redrawWindow()
{
    QFETCH(int, n);
    QFETCH(int, step);
    QFETCH(int, lastSample);
    LogPageFixture f;
    f.record(n, [](int, qsizetype k) { return qint32(k % 200); });

    QCOMPARE(f.logger.chartStep, qsizetype(step));
    QVERIFY(f.logger.hasData);
    const int expected = lastSample / step + 1;
    QVERIFY(expected <= 860);
    for (int i = 0; i < SeriesCount; ++i)
        QCOMPARE(f.charts.logSeries(i)->count(), expected);
    for (int i = 0; i < O2SeriesCount; ++i)
        QCOMPARE(f.charts.o2Series(i)->count(), expected);
    const QList<QPointF> maf = f.charts.logSeries(Maf)->points();
    for (int i = 0; i < maf.size(); ++i) {
        QCOMPARE(maf[i].x(), sampleX(qsizetype(i) * step));
        QCOMPARE(maf[i].y(), double((i * step) % 200));
    }
    // The time axis runs from 0 to the last sample drawn.
    QCOMPARE(f.charts.logTimeAxis()->min(), timeOrigin());
    QCOMPARE(f.charts.logTimeAxis()->max(), sampleX(lastSample));
    QCOMPARE(f.charts.o2TimeAxis()->max(), f.charts.logTimeAxis()->max());
}

void TestLogChart::shortRecordingKeepsPicture()
{
    LogPageFixture f;
    f.record(117, [](int, qsizetype) { return 1; });
    QCOMPARE(f.charts.logSeries(Maf)->count(), 0);
    QCOMPARE(f.charts.redrawCount(), 0);
    QVERIFY(!f.logger.hasData);

    // A drawn recording stays when a too short one follows.
    f.record(200, [](int, qsizetype) { return 7; });
    QCOMPARE(f.charts.logSeries(Maf)->count(), 180);
    f.record(117, [](int, qsizetype) { return 1; });
    QCOMPARE(f.charts.logSeries(Maf)->count(), 180);
    QCOMPARE(f.charts.logSeries(Maf)->at(0).y(), 7.0);
}

void TestLogChart::noRedrawWhileLogging()
{
    LogPageFixture f;
    f.logger.loggingActive = true;
    f.record(500, [](int, qsizetype) { return 3; });
    QCOMPARE(f.charts.logSeries(Maf)->count(), 0);
    f.logger.loggingActive = false;
    f.charts.RedrawLogCharts(f.logger.chartStep);
    QCOMPARE(f.charts.logSeries(Maf)->count(), 480);
}

void TestLogChart::sampleTimeOfDay_data()
{
    QTest::addColumn<int>("sample");
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("label");
    QTest::newRow("180000") << 180000 << qint64(3600000) << "1:0:0:0";
    QTest::newRow("3051") << 3051 << qint64(61020) << "0:1:1:20";
    QTest::newRow("0") << 0 << qint64(0) << "0:0:0:0";
}

void TestLogChart::sampleTimeOfDay()
{
    QFETCH(int, sample);
    QFETCH(qint64, ms);
    QFETCH(QString, label);
    LogPageFixture f;
    LogColumns c;
    c.resize(std::max(sample + 200, 200));
    f.logger.store().replaceLog(c);
    // A window of three samples around the one asked for, step 1.
    f.logger.windowStart = sample;
    f.logger.windowEnd = sample + 2;
    f.charts.RedrawLogCharts(1);
    const QList<QPointF> maf = f.charts.logSeries(Maf)->points();
    const int at = sample == 0 ? 0 : 1;
    QCOMPARE(maf.size(), sample == 0 ? 3 : 4);
    QCOMPARE(maf[at].x(), qreal(ms));
    QCOMPARE(LogTimeAxis::label(qint64(maf[at].x())), label);
}

void TestLogChart::seriesValues_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("series");
    QTest::addColumn<double>("drawn");

    const auto col = &LogPageFixture::columnOf;
    QTest::newRow("Enrichment 0") << col(&LogColumns::colEnrichment) << 0 << int(Enrichment) << -100.0;
    QTest::newRow("Enrichment 128") << col(&LogColumns::colEnrichment) << 128 << int(Enrichment) << 0.0;
    QTest::newRow("Enrichment 255") << col(&LogColumns::colEnrichment) << 255 << int(Enrichment) << 99.0;
    // 144: 12.5 exactly, to the even 12; 176: 37.5 to 38.
    QTest::newRow("Enrichment 144") << col(&LogColumns::colEnrichment) << 144 << int(Enrichment) << 12.0;
    QTest::newRow("Enrichment 176") << col(&LogColumns::colEnrichment) << 176 << int(Enrichment) << 38.0;
    QTest::newRow("O2 255") << col(&LogColumns::colO2) << 255 << int(O2) << 4.98;
    QTest::newRow("O2 128") << col(&LogColumns::colO2) << 128 << int(O2) << 2.5;
    QTest::newRow("O2SM 255") << col(&LogColumns::colO2sm) << 255 << int(O2sm) << 4.98;
    QTest::newRow("MAF") << col(&LogColumns::colMaf) << 201 << int(Maf) << 201.0;
    QTest::newRow("TPS") << col(&LogColumns::colTps) << 17 << int(Tps) << 17.0;
    QTest::newRow("Converter") << col(&LogColumns::colConverter) << 99 << int(Converter) << 99.0;
    QTest::newRow("Marker") << col(&LogColumns::colMarker) << 1 << int(Marker) << 1.0;
    QTest::newRow("RPM") << col(&LogColumns::colRpm) << 6000 << int(Rpm) << 6000.0;
    QTest::newRow("Corr") << col(&LogColumns::colCorr) << -5 << int(Corr) << -5.0;
    QTest::newRow("IAT") << col(&LogColumns::colIat) << 60 << int(Iat) << 60.0;
    QTest::newRow("ECT") << col(&LogColumns::colEct) << 90 << int(Ect) << 90.0;
    QTest::newRow("LogCorr") << col(&LogColumns::colLogCorr) << -255 << int(LogCorr) << -255.0;
}

void TestLogChart::seriesValues()
{
    QFETCH(int, column);
    QFETCH(int, raw);
    QFETCH(int, series);
    QFETCH(double, drawn);
    LogPageFixture f;
    f.record(118, [&](int c, qsizetype) { return c == column ? raw : 0; });
    for (const QPointF& p : f.charts.logSeries(series)->points())
        QCOMPARE(p.y(), drawn);
    if (series == O2 || series == O2sm) {
        const int o2 = series == O2 ? O2Raw : O2Smooth;
        for (const QPointF& p : f.charts.o2Series(o2)->points())
            QCOMPARE(p.y(), drawn);
    }
}

void TestLogChart::loadedFileIsDrawn()
{
    LogPageFixture f;
    // The "Tab" series is the curve at each sample's MAF reading.
    f.table.tab[30] = 111;
    f.table.tab[31] = 222;
    QByteArray file(15, '\0');
    file.replace(2, 5, "ZaNtO");
    file[10] = 1;
    for (int k = 0; k < 150; ++k) {
        QByteArray record(15, '\0');
        record[3] = char(30 + k % 2);  // MAF
        file += record;
    }
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    f.logger.LoadLog(buffer, QStringLiteral("test.log"));
    QCOMPARE(f.charts.logSeries(Tab)->count(), 130);
    QCOMPARE(f.charts.logSeries(Tab)->at(0).y(), 111.0);
    QCOMPARE(f.charts.logSeries(Tab)->at(1).y(), 222.0);
    QVERIFY(f.logger.hasData);
}

void TestLogChart::toggleButtons()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    const auto& buttons = f.charts.toggleButtons();

    QTest::mouseClick(buttons[Converter], Qt::LeftButton);
    QVERIFY(!buttons[Converter]->isChecked());
    QVERIFY(!f.charts.logSeries(Converter)->isVisible());
    QVERIFY(f.charts.logSeries(Maf)->isVisible());
    QTest::mouseClick(buttons[Converter], Qt::LeftButton);
    QVERIFY(f.charts.logSeries(Converter)->isVisible());

    QTest::mouseClick(buttons[LogCharts::MarkersButton], Qt::LeftButton);
    for (int i = 0; i < SeriesCount; ++i)
        QVERIFY2(f.charts.logSeries(i)->pointsVisible(), qPrintable(QString::number(i)));
    QTest::mouseClick(buttons[LogCharts::MarkersButton], Qt::LeftButton);
    for (int i = 0; i < SeriesCount; ++i)
        QVERIFY(!f.charts.logSeries(i)->pointsVisible());
    // The markers button leaves the series themselves alone.
    for (int i = 0; i < SeriesCount; ++i)
        QVERIFY(f.charts.logSeries(i)->isVisible());
}

void TestLogChart::tapMemoryAndHint()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    // Without a drawn recording a press is not remembered.
    QTest::mousePress(f.chartLog->viewport(), Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseRelease(f.chartLog->viewport(), Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(f.charts.tapX, 0);
    QCOMPARE(f.charts.tapButton, Qt::NoButton);

    // O2 at 2.5 V over the whole recording: a line across the middle.
    f.record(400, [](int c, qsizetype) { return c == LogPageFixture::columnOf(&LogColumns::colO2) ? 128 : 0; });
    QCoreApplication::processEvents();
    QLineSeries* o2 = f.charts.logSeries(O2);
    const QPoint onPoint = f.viewportPixel(f.chartLog->chart()->mapToPosition(o2->at(150), o2));
    QTest::mousePress(f.chartLog->viewport(), Qt::RightButton, {}, onPoint);
    QTest::mouseRelease(f.chartLog->viewport(), Qt::RightButton, {}, onPoint);
    QCOMPARE(f.charts.tapX, onPoint.x());
    QCOMPARE(f.charts.tapY, onPoint.y());
    QCOMPARE(f.charts.tapButton, Qt::RightButton);
    QVERIFY(f.charts.hintShown);
    QVERIFY(f.charts.hintText.startsWith(QStringLiteral("O2")));

    const QPoint away = onPoint - QPoint(0, 60);
    QTest::mousePress(f.chartLog->viewport(), Qt::RightButton, {}, away);
    QTest::mouseRelease(f.chartLog->viewport(), Qt::RightButton, {}, away);
    QCOMPARE(f.charts.tapY, away.y());
    QVERIFY(!f.charts.hintShown);
}

void TestLogChart::doubleTapAbovePlotChangesNothing()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    f.record(300, [](int c, qsizetype) { return c == LogPageFixture::columnOf(&LogColumns::colMaf) ? 40 : 0; });
    QCoreApplication::processEvents();
    const QList<int> before = f.table.tab;
    const int undoSteps = f.table.undoList.size();
    const QRectF area = f.charts.plotCorners();
    f.doubleTap(f.viewportPixel(QPointF(area.center().x(), std::floor(area.top()) - 3)));
    QCOMPARE(f.table.tab, before);
    QCOMPARE(f.table.undoList.size(), undoSteps);
}

void TestLogChart::doubleTapOnTopEdgeWritesPoint()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    f.record(300, [](int c, qsizetype) { return c == LogPageFixture::columnOf(&LogColumns::colMaf) ? 40 : 0; });
    QCoreApplication::processEvents();
    QCOMPARE(f.table.GetPoint(40), 0);
    const int redraws = f.charts.redrawCount();

    const QRectF area = f.charts.plotCorners();
    const QPoint topEdge = f.viewportPixel(QPointF(area.center().x(), std::ceil(area.top())));
    f.doubleTap(topEdge);
    // The left axis maximum, 5, at the MAF reading of the sample there.
    QCOMPARE(f.table.GetPoint(40), 5);
    QCOMPARE(f.table.marks[40], Table::Mark);
    QCOMPARE(f.charts.tapX, 0);
    QCOMPARE(f.charts.redrawCount(), redraws + 1);
    for (const QPointF& p : f.charts.logSeries(Tab)->points())
        QCOMPARE(p.y(), 5.0);
    // The table chart and the dashboard chart show the new point.
    QCOMPARE(f.tableChart->series(0)->at(40).y(), 5 * 100.0 / 255.0);
    bool onDashboard = false;
    for (const QPointF& p : f.dashChart->series(0)->points())
        onDashboard = onDashboard || (qFuzzyCompare(p.x(), 40 * 100.0 / 255.0) && qFuzzyCompare(p.y(), 5 * 100.0 / 255.0));
    QVERIFY(onDashboard);

    // A second double tap without a new press edits nothing.
    f.table.tab[40] = 0;
    QTest::mouseDClick(f.chartLog->viewport(), Qt::LeftButton, {}, topEdge);
    // (the press of a double click is not a fresh mouse-down)
    QCOMPARE(f.table.GetPoint(40), 0);
    f.table.tab[40] = 5;

    // Undo takes it back, and the log chart follows.
    f.table.UndoRedo(false);
    f.charts.RedrawAfterTableChange();
    QCOMPARE(f.table.GetPoint(40), 0);
    QCOMPARE(f.charts.logSeries(Tab)->at(0).y(), 0.0);
    QCOMPARE(f.tableChart->series(0)->at(40).y(), 0.0);
}

void TestLogChart::redrawAfterTableChange()
{
    LogPageFixture f;
    f.table.tab[0] = 9;
    f.charts.RedrawAfterTableChange();
    QCOMPARE(f.charts.redrawCount(), 0);
    f.record(200, [](int, qsizetype) { return 0; });
    QCOMPARE(f.charts.logSeries(Tab)->at(0).y(), 9.0);
    f.table.tab[0] = 12;
    f.charts.RedrawAfterTableChange();
    QCOMPARE(f.charts.redrawCount(), 2);
    QCOMPARE(f.charts.logSeries(Tab)->at(0).y(), 12.0);
}

void TestLogChart::zoomScrollAndUndoMoveOxygenChart()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    f.record(3000, [](int, qsizetype k) { return qint32(k % 5); });
    QCoreApplication::processEvents();
    const auto logMin = [&] { return f.charts.logTimeAxis()->min(); };
    const auto logMax = [&] { return f.charts.logTimeAxis()->max(); };
    const qreal homeMin = logMin();
    const qreal homeMax = logMax();

    const QRectF area = f.charts.plotCorners();
    const QPoint from = f.viewportPixel(area.topLeft() + QPointF(area.width() * 0.3, 20));
    const QPoint to = f.viewportPixel(area.topLeft() + QPointF(area.width() * 0.6, 120));
    QWidget* vp = f.chartLog->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QTest::mouseMove(vp, to);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, to);
    QVERIFY(logMin() > homeMin);
    QVERIFY(logMax() < homeMax);
    QCOMPARE(f.charts.o2TimeAxis()->min(), logMin());
    QCOMPARE(f.charts.o2TimeAxis()->max(), logMax());

    const qreal zoomedMin = logMin();
    QTest::mousePress(vp, Qt::RightButton, {}, to);
    QTest::mouseMove(vp, to + QPoint(40, 0));
    QTest::mouseRelease(vp, Qt::RightButton, {}, to + QPoint(40, 0));
    QVERIFY(logMin() < zoomedMin);
    QCOMPARE(f.charts.o2TimeAxis()->min(), logMin());
    QCOMPARE(f.charts.o2TimeAxis()->max(), logMax());

    QTest::mousePress(vp, Qt::LeftButton, {}, to);
    QTest::mouseMove(vp, from);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, from);
    QCOMPARE(logMin(), homeMin);
    QCOMPARE(logMax(), homeMax);
    QCOMPARE(f.charts.logValueAxis()->max(), 5.0);
    QCOMPARE(f.charts.o2TimeAxis()->min(), homeMin);
    QCOMPARE(f.charts.o2TimeAxis()->max(), homeMax);
}

void TestLogChart::timeLabel_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("label");
    QTest::newRow("5.220 s") << qint64(5220) << "0:0:5:220";
    QTest::newRow("5.100 s") << qint64(5100) << "0:0:5:100";
    QTest::newRow("sample 3051") << qint64(3051 * 20) << "0:1:1:20";
    QTest::newRow("whole second") << qint64(7000) << "0:0:7:0";
    QTest::newRow("one hour") << qint64(3600000) << "1:0:0:0";
    QTest::newRow("past a day") << qint64(25 * 3600000 + 61001) << "25:1:1:1";
    QTest::newRow("zero") << qint64(0) << "0:0:0:0";
    QTest::newRow("negative") << qint64(-40) << "0:0:0:0";
}

void TestLogChart::timeLabel()
{
    QFETCH(qint64, ms);
    QFETCH(QString, label);
    QCOMPARE(LogTimeAxis::label(ms), label);
}

void TestLogChart::timeStep_data()
{
    QTest::addColumn<double>("minimumMs");
    QTest::addColumn<double>("spanMs");
    QTest::addColumn<qint64>("step");
    const double minute = 60000;
    QTest::newRow("room for every second") << 300.0 << minute << qint64(1000);
    QTest::newRow("exactly a second") << 1000.0 << minute << qint64(1000);
    QTest::newRow("just over a second") << 1001.0 << minute << qint64(2000);
    QTest::newRow("5 s") << 2500.0 << minute << qint64(5000);
    QTest::newRow("10 s") << 7000.0 << 10 * minute << qint64(10000);
    QTest::newRow("30 s") << 12000.0 << 10 * minute << qint64(30000);
    QTest::newRow("1 min") << 31000.0 << 60 * minute << qint64(60000);
    QTest::newRow("2 min") << 61000.0 << 60 * minute << qint64(120000);
    QTest::newRow("10 min") << 400000.0 << 600 * minute << qint64(600000);
    QTest::newRow("30 min") << 700000.0 << 600 * minute << qint64(1800000);
    QTest::newRow("1 h") << 2000000.0 << 6000 * minute << qint64(3600000);
    QTest::newRow("10 h") << 5 * 3600000.0 + 1 << 6000 * minute << qint64(36000000);
    QTest::newRow("1 day") << 11 * 3600000.0 << 60000 * minute << qint64(86400000);
    QTest::newRow("2 days") << 30 * 3600000.0 << 60000 * minute << qint64(2 * 86400000LL);
    // Below two seconds on screen the labels come closer than a second.
    QTest::newRow("close zoom, 50 ms") << 30.0 << 1500.0 << qint64(50);
    QTest::newRow("close zoom, 20 ms") << 0.0 << 1000.0 << qint64(20);
    QTest::newRow("close zoom, 500 ms") << 300.0 << 1999.0 << qint64(500);
    QTest::newRow("close zoom, no room below a second") << 600.0 << 1999.0 << qint64(1000);
    QTest::newRow("two seconds: whole seconds") << 30.0 << 2000.0 << qint64(1000);
    QTest::newRow("nonsense width") << -5.0 << minute << qint64(1000);
}

void TestLogChart::timeStep()
{
    QFETCH(double, minimumMs);
    QFETCH(double, spanMs);
    QFETCH(qint64, step);
    QCOMPARE(LogTimeAxis::step(minimumMs, spanMs), step);
}

void TestLogChart::timeTicks_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<QList<qint64>>("ticks");
    QTest::newRow("both ends") << 0.0 << 5000.0 << qint64(1000) << QList<qint64>{0, 1000, 2000, 3000, 4000, 5000};
    QTest::newRow("inside") << 1500.0 << 4200.0 << qint64(1000) << QList<qint64>{2000, 3000, 4000};
    QTest::newRow("rounding at the ends") << 999.9999999 << 3000.0000001 << qint64(1000)
                                          << QList<qint64>{1000, 2000, 3000};
    QTest::newRow("50 ms") << 5100.0 << 5220.0 << qint64(50) << QList<qint64>{5100, 5150, 5200};
    QTest::newRow("none in range") << 5100.0 << 5900.0 << qint64(1000) << QList<qint64>{};
    QTest::newRow("reversed") << 3000.0 << 1000.0 << qint64(1000) << QList<qint64>{};
    QTest::newRow("no step") << 0.0 << 1000.0 << qint64(0) << QList<qint64>{};
}

void TestLogChart::timeTicks()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(qint64, step);
    QFETCH(QList<qint64>, ticks);
    QCOMPARE(LogTimeAxis::ticks(min, max, step), ticks);
}

void TestLogChart::drawnTimeLabels_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("someLabel");
    // 3000 samples, 59.6 s drawn.
    QTest::newRow("whole recording") << -1.0 << -1.0 << "0:0:0:0";
    QTest::newRow("zoomed to 4 s") << 5100.0 << 9100.0 << "0:0:6:0";
    QTest::newRow("zoomed to a second") << 5000.0 << 6000.0 << "0:0:5:500";
    QTest::newRow("scrolled") << 41700.0 << 51700.0 << "0:0:50:0";
}

void TestLogChart::drawnTimeLabels()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, someLabel);
    LogPageFixture f;
    QVERIFY(f.ready());
    f.record(3000, [](int, qsizetype k) { return qint32(k % 5); });
    QCoreApplication::processEvents();
    QCategoryAxis* axis = f.charts.logTimeAxis();
    if (min >= 0)
        axis->setRange(min, max);
    QCoreApplication::processEvents();
    min = axis->min();
    max = axis->max();

    const QStringList labels = axis->categoriesLabels();
    QVERIFY2(labels.size() >= 2, qPrintable(labels.join(' ')));
    QVERIFY2(labels.contains(someLabel), qPrintable(labels.join(' ')));
    const QFontMetricsF metrics(axis->labelsFont());
    QChart* chart = f.chartLog->chart();
    QLineSeries* maf = f.charts.logSeries(Maf);
    qint64 step = 0;
    qreal previousRight = -1e9;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const qreal at = axis->endValue(labels[i]);
        // Each label names the time it stands on, inside the visible range.
        QCOMPARE(LogTimeAxis::label(qint64(at)), labels[i]);
        QVERIFY(at >= min && at <= max);
        if (i == 1)
            step = qint64(at - axis->endValue(labels[0]));
        if (i >= 1) {
            QCOMPARE(qint64(at - axis->endValue(labels[i - 1])), step);
            QCOMPARE(qint64(at) % step, qint64(0));
        }
        // Centred on its time, it does not reach the one before.
        const qreal x = chart->mapToPosition(QPointF(at, 0), maf).x();
        const qreal half = metrics.horizontalAdvance(labels[i]) / 2;
        QVERIFY2(x - half > previousRight, qPrintable(labels.join(' ')));
        previousRight = x + half;
    }
    // As many as fit: the next smaller step would crowd them.
    const QList<qint64> steps = {20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 30000, 60000};
    const qsizetype index = steps.indexOf(step);
    QVERIFY(index >= 0);
    if (index > 0 && (steps[index - 1] >= 1000 || max - min < 2000)) {
        const qreal pixelsPerMs = chart->plotArea().width() / (max - min);
        QVERIFY(steps[index - 1] * pixelsPerMs < metrics.horizontalAdvance(labels.last()) * 1.5);
    }
}

void TestLogChart::editsKeepTheZoom()
{
    LogPageFixture f;
    QVERIFY(f.ready());
    f.record(3000, [](int c, qsizetype) { return c == LogPageFixture::columnOf(&LogColumns::colMaf) ? 40 : 0; });
    QCoreApplication::processEvents();
    const qreal homeMax = f.charts.logTimeAxis()->max();
    QRectF area = f.charts.plotCorners();
    QWidget* vp = f.chartLog->viewport();
    const QPoint from = f.viewportPixel(area.topLeft() + QPointF(area.width() * 0.3, 5));
    const QPoint to = f.viewportPixel(area.topLeft() + QPointF(area.width() * 0.6, area.height() * 0.8));
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QTest::mouseMove(vp, to);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
    const qreal xMin = f.charts.logTimeAxis()->min();
    const qreal xMax = f.charts.logTimeAxis()->max();
    const qreal yMin = f.charts.logValueAxis()->min();
    const qreal yMax = f.charts.logValueAxis()->max();
    QVERIFY(xMin > 0 && xMax < homeMax && yMax < 5);
    const QStringList zoomedLabels = f.charts.logTimeAxis()->categoriesLabels();

    // A point written in the zoomed view.
    area = f.charts.plotCorners();
    const int redraws = f.charts.redrawCount();
    f.doubleTap(f.viewportPixel(area.center()));
    QCOMPARE(f.charts.redrawCount(), redraws + 1);
    QVERIFY(f.table.GetPoint(40) > 0);
    QCOMPARE(f.charts.logTimeAxis()->min(), xMin);
    QCOMPARE(f.charts.logTimeAxis()->max(), xMax);
    QCOMPARE(f.charts.logValueAxis()->min(), yMin);
    QCOMPARE(f.charts.logValueAxis()->max(), yMax);
    QCOMPARE(f.charts.o2TimeAxis()->min(), xMin);
    QCOMPARE(f.charts.logTimeAxis()->categoriesLabels(), zoomedLabels);

    // Undo and redo keep it too.
    f.table.UndoRedo(false);
    f.charts.RedrawAfterTableChange();
    QCOMPARE(f.charts.logSeries(Tab)->at(0).y(), 0.0);
    QCOMPARE(f.charts.logTimeAxis()->min(), xMin);
    QCOMPARE(f.charts.logTimeAxis()->max(), xMax);
    QCOMPARE(f.charts.logValueAxis()->max(), yMax);

    // Undoing the zoom still goes back to the whole recording.
    QTest::mousePress(vp, Qt::LeftButton, {}, to);
    QTest::mouseMove(vp, from);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, from);
    QCOMPARE(f.charts.logTimeAxis()->max(), homeMax);
    QCOMPARE(f.charts.logValueAxis()->max(), 5.0);

    // A new recording shows the whole of it, whatever the zoom was.
    f.charts.logTimeAxis()->setRange(1000, 2000);
    f.charts.logValueAxis()->setRange(1, 2);
    f.record(1000, [](int, qsizetype) { return 0; });
    QCOMPARE(f.charts.logTimeAxis()->min(), 0.0);
    QCOMPARE(f.charts.logTimeAxis()->max(), sampleX(978));
    QCOMPARE(f.charts.logValueAxis()->min(), 0.0);
    QCOMPARE(f.charts.logValueAxis()->max(), 5.0);
}

QTEST_MAIN(TestLogChart)
#include "tst_logchart.moc"
