#include "dashboardchartview.h"
#include "logchartdata.h"
#include "logcharts.h"
#include "logcharttexts.h"
#include "logchartview.h"
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
#include <QDateTime>
#include <QDateTimeAxis>
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
    QCOMPARE(f.charts.logTimeAxis()->format(), QStringLiteral("h:m:s:z"));
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
    QCOMPARE(f.charts.logTimeAxis()->min().toMSecsSinceEpoch(), qint64(timeOrigin()));
    QCOMPARE(f.charts.logTimeAxis()->max().toMSecsSinceEpoch(), qint64(sampleX(lastSample)));
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
    QTest::addColumn<QTime>("time");
    QTest::newRow("180000") << 180000 << QTime(1, 0, 0, 0);
    QTest::newRow("3051") << 3051 << QTime(0, 1, 1, 20);
    QTest::newRow("0") << 0 << QTime(0, 0, 0, 0);
}

void TestLogChart::sampleTimeOfDay()
{
    QFETCH(int, sample);
    QFETCH(QTime, time);
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
    const QDateTime drawn = QDateTime::fromMSecsSinceEpoch(qint64(maf[at].x()));
    QCOMPARE(drawn.time(), time);
    QCOMPARE(drawn.date(), QDate(2000, 1, 1));
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
    const QDateTime homeMin = logMin();
    const QDateTime homeMax = logMax();

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

    const QDateTime zoomedMin = logMin();
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

QTEST_MAIN(TestLogChart)
#include "tst_logchart.moc"
