#include "dashboardchartview.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "tablecharts.h"
#include "tablecharttexts.h"
#include "tablechartview.h"
#include "tablepagehandlers.h"

#include <QButtonGroup>
#include <QChart>
#include <QLabel>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <memory>

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

double percent(double raw)
{
    return raw * 100.0 / 255.0;
}

// Chart x of curve point i.
double pointX(int i)
{
    return percent(i);
}

// The window's table page and dashboard, reduced to the two charts at the
// window's width, set up the way start-up does it.
struct ChartFixture {
    explicit ChartFixture(bool showTrained = true)
    {
        window.resize(394, 689);
        tableChart = new TableChartView(&window);
        tableChart->setGeometry(0, 64, 394, 420);
        dashChart = new DashboardChartView(&window);
        dashChart->setGeometry(0, 490, 394, 199);
        views.SetUpTableView(tableChart, showTrained, {"Tab1", QColor(0xFFFF0000)}, true,
                             {"Tab2", QColor(0xFF0000FF)}, &boxes, {}, {});
        views.SetUpDashboardChart(dashChart);
        window.show();
    }

    // Shown and laid out, so that the chart places its points.
    bool ready()
    {
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QCoreApplication::processEvents();
        const PlotArea area = tableChart->plotArea();
        return area.px1 > area.px0 && area.py0 > area.py1;
    }

    // Where the table chart draws the chart point (x, y), in its own
    // coordinates and in the view's pixels.
    QPointF chartPos(double x, double y) const
    {
        return tableChart->chart()->mapToPosition(QPointF(x, y), tableChart->series(0));
    }
    QPoint pixel(double x, double y) const
    {
        return tableChart->mapFromScene(tableChart->chart()->mapToScene(chartPos(x, y)));
    }
    QPoint dashPixel(double x, double y) const
    {
        QChart* c = dashChart->chart();
        return dashChart->mapFromScene(c->mapToScene(c->mapToPosition(QPointF(x, y), dashChart->series(0))));
    }

    // A press (recorded in the chart's own coordinates) followed by the
    // double click, as the double tap runs it.
    void pressAndEdit(double x, double y)
    {
        const QPointF at = chartPos(x, y);
        table.RecordPress(Qt::LeftButton, at.x(), at.y());
        tableChart->editAtPress();
    }

    void doubleClick(QPoint at)
    {
        QTest::mouseClick(tableChart->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tableChart->viewport(), Qt::LeftButton, {}, at);
    }

    void setCurve(int value)
    {
        for (int i = 0; i < Table::CurveSize; ++i)
            table.tab[i] = value;
    }

    RecordingNotifier notifier;
    TextSettingsBoxes boxes;
    Table table{notifier};
    TableCharts views{table};
    QWidget window;
    TableChartView* tableChart = nullptr;
    DashboardChartView* dashChart = nullptr;
};

QList<QPointF> expectedRun(const QList<int>& values, int first, int count, int xStep)
{
    QList<QPointF> points;
    for (int k = 0; k < count; ++k)
        points.append(QPointF(percent(k * xStep), percent(values[first + k])));
    return points;
}

void drag(QWidget* viewport, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(viewport, button, {}, from);
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, button, {}, to);
}

}  // namespace

class TestTableChart : public QObject {
    Q_OBJECT
private slots:
    void tableChartSeries_data();
    void tableChartSeries();
    void tableChartLayout();
    void selectorsFollowTheChartsWidth();
    void trainedSeriesOff();
    void dashboardSeries_data();
    void dashboardSeries();
    void seriesContentsAfterRedraw();

    void doubleClickEditsPointUnderPointer();
    void halfwayEditsLowerPoint();
    void valueAboveFullScaleStoresTop_data();
    void valueAboveFullScaleStoresTop();
    void trainedSelector_data();
    void trainedSelector();
    void secondDoubleClickWithoutPressDoesNothing();
    void pressOutsidePlotDoesNothing();
    void editButtonsChooseSeries();

    void dashboardWindow_data();
    void dashboardWindow();
    void dashboardAxesAutomaticUntilZoomed();
    void dashboardAxesAutomaticEachOnItsOwn();

    void zoomMoveButton_data();
    void zoomMoveButton();
    void leftDragZoomsAndReverseDragUndoes();
    void swappedZoomButtonZoomsWithRight();
    void rightDragScrolls();
    void longTap();
    void longTapTogglesChrome_data();
    void longTapTogglesChrome();
};

void TestTableChart::tableChartSeries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<bool>("shown");

    QTest::newRow("curve") << 0 << "Tab1" << QRgb(0xFFFF0000) << true;
    QTest::newRow("IAT") << 1 << "IATCorr" << QRgb(0xFF0000FF) << false;
    QTest::newRow("ECT") << 2 << "ECTCorr" << QRgb(0xFFBF00BF) << false;
    QTest::newRow("trained") << 3 << "Trained" << QRgb(0xFF008000) << true;
}

void TestTableChart::tableChartSeries()
{
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QRgb, colour);
    QFETCH(bool, shown);

    ChartFixture f;
    QCOMPARE(f.tableChart->chart()->series().size(), 4);
    QLineSeries* s = f.tableChart->series(index);
    QVERIFY(s);
    QCOMPARE(f.tableChart->chart()->series().at(index), s);
    QCOMPARE(s->name(), title);
    QCOMPARE(s->color().rgba(), colour);
    QCOMPARE(s->pen().width(), 2);
    QVERIFY(s->pointsVisible());
    QCOMPARE(s->isVisible(), shown);
    QCOMPARE(s->attachedAxes().size(), 2);

    QToolButton* selector = f.tableChart->selectors().value(index);
    QVERIFY(selector);
    QCOMPARE(selector->text(), title);
    QVERIFY(selector->isHidden());
    QVERIFY(selector->isCheckable());
    QCOMPARE(selector->isChecked(), index == 0);
}

void TestTableChart::tableChartLayout()
{
    ChartFixture f;
    QChart* c = f.tableChart->chart();
    QVERIFY(!c->legend()->isVisible());
    QVERIFY(c->title().isEmpty());

    for (QValueAxis* axis : {f.tableChart->leftAxis(), f.tableChart->bottomAxis()}) {
        QCOMPARE(axis->min(), 0.0);
        QCOMPARE(axis->max(), 110.0);
        QCOMPARE(axis->linePenColor().rgba(), QRgb(0xFF000000));
        QCOMPARE(axis->labelsColor().rgba(), QRgb(0xFF000000));
        QCOMPARE(axis->titleBrush().color().rgba(), QRgb(0xFF000000));
        QCOMPARE(axis->titleFont().pointSize(), 12);
        QVERIFY(axis->labelsVisible());
        QCOMPARE(axis->minorTickCount(), 4);
    }
    QCOMPARE(f.tableChart->leftAxis()->alignment(), Qt::AlignLeft);
    QCOMPARE(f.tableChart->leftAxis()->titleText(), text(TableChartTexts::LeftAxisTitle));
    QCOMPARE(f.tableChart->bottomAxis()->titleText(), text(TableChartTexts::BottomAxisTitle));

    const QBrush background = c->plotAreaBackgroundBrush();
    QVERIFY(c->isPlotAreaBackgroundVisible());
    // The labels' frame is the gradient's white end.
    QCOMPARE(c->backgroundBrush().color().rgba(), QRgb(0xFFFFFFFF));
    QCOMPARE(background.style(), Qt::LinearGradientPattern);
    const auto* gradient = static_cast<const QLinearGradient*>(background.gradient());
    QVERIFY(gradient->start().x() == gradient->finalStop().x());  // top to bottom
    QVERIFY(gradient->start().y() < gradient->finalStop().y());
    const QGradientStops stops = gradient->stops();
    QCOMPARE(stops.size(), 3);
    QCOMPARE(stops[0].second.rgba(), QRgb(0xFFFFFFFF));
    QCOMPARE(stops[1].second.rgba(), QRgb(0xFF204472));
    QCOMPARE(stops[2].second.rgba(), QRgb(0xFFFFFFFF));
}

void TestTableChart::selectorsFollowTheChartsWidth()
{
    ChartFixture f;
    QVERIFY(f.ready());
    auto check = [&f](int width) {
        const QList<QToolButton*>& selectors = f.tableChart->selectors();
        QCOMPARE(selectors.size(), 4);
        for (int k = 0; k < selectors.size(); ++k)
            QCOMPARE(selectors[k]->geometry(), QRect(width - 78, 8 + 33 * k, 70, 25));
    };
    check(394);
    f.tableChart->resize(300, 420);
    check(300);

    // One group: pressing one releases the others.
    f.tableChart->selectors()[3]->click();
    QVERIFY(!f.tableChart->selectors()[0]->isChecked());
    QCOMPARE(f.table.selectedSeries, 3);
}

void TestTableChart::trainedSeriesOff()
{
    ChartFixture f(false);
    f.table.trained[7] = 90;
    f.table.RedrawTableChart();
    QVERIFY(!f.tableChart->series(3)->isVisible());
    QCOMPARE(f.tableChart->series(3)->count(), 0);
    QCOMPARE(f.dashChart->series(3)->count(), 0);
    QCOMPARE(f.tableChart->series(0)->count(), 256);
}

void TestTableChart::dashboardSeries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<bool>("shown");

    QTest::newRow("curve") << 0 << "Tab1" << QRgb(0xFFFF0000) << 2 << true << true;
    QTest::newRow("IAT cells") << 1 << "IATCorr" << QRgb(0xFF0000FF) << 2 << false << false;
    QTest::newRow("ECT cells") << 2 << "ECTCorr" << QRgb(0xFFBF00BF) << 2 << false << false;
    QTest::newRow("learned") << 3 << "Learned" << QRgb(0xFF008000) << 2 << false << true;
    QTest::newRow("begin") << 4 << "Beg" << QRgb(0xFF0000FF) << 1 << false << true;
    QTest::newRow("end") << 5 << "End" << QRgb(0xFF0000FF) << 1 << false << true;
    QTest::newRow("output") << 6 << "ConvOut" << QRgb(0xFFFF0000) << 1 << true << true;
    QTest::newRow("IAT correction") << 7 << "IATCorr" << QRgb(0xFF0000FF) << 1 << true << false;
    QTest::newRow("ECT correction") << 8 << "ECTCorr" << QRgb(0xFFBF00BF) << 1 << true << false;
}

void TestTableChart::dashboardSeries()
{
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QRgb, colour);
    QFETCH(int, width);
    QFETCH(bool, markers);
    QFETCH(bool, shown);

    ChartFixture f;
    QCOMPARE(f.dashChart->chart()->series().size(), 9);
    QLineSeries* s = f.dashChart->series(index);
    QCOMPARE(f.dashChart->chart()->series().at(index), s);
    QCOMPARE(s->name(), title);
    QCOMPARE(s->color().rgba(), colour);
    QCOMPARE(s->pen().width(), width);
    QCOMPARE(s->pointsVisible(), markers);
    QCOMPARE(s->isVisible(), shown);
    if (index == 6)
        QCOMPARE(s->markerSize(), 6.0);
    QVERIFY(!f.dashChart->chart()->legend()->isVisible());
}

void TestTableChart::seriesContentsAfterRedraw()
{
    ChartFixture f;
    for (int i = 0; i < Table::CurveSize; ++i)
        f.table.tab[i] = (i * 37 + 11) % 256;
    f.table.tab[51] = 102;
    f.table.tab[255] = 255;
    f.table.trained[51] = 102;
    f.table.tab[Table::IatFirst + 1] = 226;  // -30, plotted as stored
    f.table.tab[Table::EctFirst + 63] = 30;
    f.table.begPoint = 51;
    f.table.endPoint = 204;
    f.table.sensorValue = 102;
    f.table.outValue = 153;
    f.table.iatValue = 255;
    f.table.iatCorr = -51;
    f.table.ectValue = 0;
    f.table.ectCorr = 51;
    f.table.RedrawTableChart();

    QLineSeries* curve = f.tableChart->series(0);
    QCOMPARE(curve->points(), expectedRun(f.table.tab, 0, 256, 1));
    QCOMPARE(curve->at(51), QPointF(20, 40));
    QCOMPARE(curve->at(255), QPointF(100, 100));
    QCOMPARE(f.tableChart->series(3)->points(), expectedRun(f.table.trained, 0, 256, 1));
    QCOMPARE(f.tableChart->series(3)->at(0), QPointF(0, 0));  // zero entries are drawn too
    QCOMPARE(f.tableChart->series(1)->points(), expectedRun(f.table.tab, Table::IatFirst, 64, 4));
    QCOMPARE(f.tableChart->series(1)->at(1), QPointF(percent(4), percent(226)));
    QCOMPARE(f.tableChart->series(2)->points(), expectedRun(f.table.tab, Table::EctFirst, 64, 4));
    QCOMPARE(f.tableChart->series(2)->at(63), QPointF(percent(252), percent(30)));

    // The dashboard follows every redraw of the table chart.
    QCOMPARE(f.dashChart->series(0)->points(), curve->points());
    QCOMPARE(f.dashChart->series(3)->points(), f.tableChart->series(3)->points());
    QCOMPARE(f.dashChart->series(1)->points(), f.tableChart->series(1)->points());
    QCOMPARE(f.dashChart->series(2)->points(), f.tableChart->series(2)->points());
    QCOMPARE(f.dashChart->series(4)->points(), (QList<QPointF>{{20, 0}, {20, 110}}));
    QCOMPARE(f.dashChart->series(5)->points(), (QList<QPointF>{{80, 0}, {80, 110}}));
    QCOMPARE(f.dashChart->series(6)->points(), (QList<QPointF>{{40, 60}}));
    QCOMPARE(f.dashChart->series(7)->points(), (QList<QPointF>{{100, -20}}));
    QCOMPARE(f.dashChart->series(8)->points(), (QList<QPointF>{{0, 20}}));
}

void TestTableChart::doubleClickEditsPointUnderPointer()
{
    ChartFixture f;
    f.setCurve(30);
    QVERIFY(f.ready());
    f.doubleClick(f.pixel(pointX(40), 50));

    // One pixel is about a third of a chart unit here.
    QVERIFY2(qAbs(f.table.tab[40] - 127) <= 2, qPrintable(QString::number(f.table.tab[40])));
    QCOMPARE(f.table.marks[40], 255);
    QCOMPARE(f.table.mouseX, 0.0);
    for (int i : {39, 41})
        QCOMPARE(f.table.tab[i], 30);
    // The chart shows the edit.
    QCOMPARE(f.tableChart->series(0)->at(40).y(), percent(f.table.tab[40]));
}

void TestTableChart::halfwayEditsLowerPoint()
{
    ChartFixture f;
    f.setCurve(30);
    QVERIFY(f.ready());
    f.pressAndEdit((pointX(10) + pointX(11)) / 2, 60);
    QCOMPARE(f.table.tab[10], 153);
    QCOMPARE(f.table.tab[11], 30);
}

void TestTableChart::valueAboveFullScaleStoresTop_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("between 100 and 110") << 105.0;
    QTest::newRow("just above 100") << 100.5;
    QTest::newRow("top edge") << 110.0;
}

void TestTableChart::valueAboveFullScaleStoresTop()
{
    QFETCH(double, value);
    ChartFixture f;
    f.setCurve(30);
    QVERIFY(f.ready());
    f.pressAndEdit(pointX(100), value);
    QCOMPARE(f.table.tab[100], 255);
}

void TestTableChart::trainedSelector_data()
{
    QTest::addColumn<double>("offset");  // chart units from the curve at point 50
    QTest::addColumn<int>("trained");

    QTest::newRow("below the curve") << -3.0 << 0;
    QTest::newRow("just below") << -0.5 << 0;
    QTest::newRow("above the curve") << 3.0 << 100;
    QTest::newRow("just above") << 0.5 << 100;
}

void TestTableChart::trainedSelector()
{
    QFETCH(double, offset);
    QFETCH(int, trained);

    ChartFixture f;
    f.setCurve(100);
    f.table.trained[50] = 77;
    QVERIFY(f.ready());
    QLabel label;
    TrainedEdit_spbtnClick(*f.tableChart, label);
    f.pressAndEdit(pointX(50), percent(100) + offset);

    QCOMPARE(f.table.trained[50], trained);
    QCOMPARE(f.table.learned[50], 255);
    QCOMPARE(f.table.tab[50], 100);
    QCOMPARE(f.table.marks[50], 0);
    QCOMPARE(f.tableChart->series(3)->at(50).y(), percent(trained));
}

void TestTableChart::secondDoubleClickWithoutPressDoesNothing()
{
    ChartFixture f;
    f.setCurve(30);
    QVERIFY(f.ready());
    f.doubleClick(f.pixel(pointX(40), 50));
    QVERIFY(f.table.tab[40] != 30);

    f.table.tab[40] = 30;
    f.table.marks[40] = 0;
    const qsizetype history = f.table.undoList.size();
    // The double tap arrives without a press of its own.
    f.tableChart->editAtPress();
    QCOMPARE(f.table.tab[40], 30);
    QCOMPARE(f.table.marks[40], 0);
    QCOMPARE(f.table.undoList.size(), history);
}

void TestTableChart::pressOutsidePlotDoesNothing()
{
    ChartFixture f;
    f.setCurve(30);
    QVERIFY(f.ready());
    const PlotArea area = f.tableChart->plotArea();
    const QList<int> before = f.table.tab;
    // Left of the plot, on the axis labels, and below it.
    for (const QPointF& at : {QPointF(area.px0 - 3, (area.py0 + area.py1) / 2),
                              QPointF((area.px0 + area.px1) / 2, area.py0 + 3)}) {
        f.table.RecordPress(Qt::LeftButton, at.x(), at.y());
        f.tableChart->editAtPress();
        QCOMPARE(f.table.tab, before);
    }
}

void TestTableChart::editButtonsChooseSeries()
{
    ChartFixture f;
    QLabel label;
    TrainedEdit_spbtnClick(*f.tableChart, label);
    QCOMPARE(label.text(), text(TableChartTexts::TrainedLabel));
    QCOMPARE(f.table.selectedSeries, Table::TrainedSeries);
    QVERIFY(f.tableChart->selectors()[3]->isChecked());
    QVERIFY(!f.tableChart->selectors()[0]->isChecked());

    TabEdit_spbtnClick(*f.tableChart, label);
    QCOMPARE(label.text(), text(TableChartTexts::CurveLabel));
    QCOMPARE(f.table.selectedSeries, Table::CurveSeries);
    QVERIFY(f.tableChart->selectors()[0]->isChecked());
    QVERIFY(!f.tableChart->selectors()[3]->isChecked());
}

void TestTableChart::dashboardWindow_data()
{
    QTest::addColumn<int>("begPoint");
    QTest::addColumn<int>("endPoint");
    QTest::addColumn<int>("outValue");
    QTest::addColumn<double>("bottomMin");
    QTest::addColumn<double>("bottomMax");
    QTest::addColumn<double>("leftMin");
    QTest::addColumn<double>("leftMax");

    QTest::newRow("window 51..204") << 51 << 204 << 0 << 10.0 << 90.0 << -10.0 << 10.0;
    QTest::newRow("reversed window") << 200 << 100 << 0 << 29.2157 << 49.2157 << -10.0 << 10.0;
    QTest::newRow("one point") << 102 << 102 << 255 << 30.0 << 50.0 << 90.0 << 110.0;
    QTest::newRow("whole range") << 0 << 255 << 153 << -10.0 << 110.0 << 50.0 << 70.0;
}

void TestTableChart::dashboardWindow()
{
    QFETCH(int, begPoint);
    QFETCH(int, endPoint);
    QFETCH(int, outValue);
    QFETCH(double, bottomMin);
    QFETCH(double, bottomMax);
    QFETCH(double, leftMin);
    QFETCH(double, leftMax);

    ChartFixture f;
    f.dashChart->setBottomAxisAutomatic(false);
    f.dashChart->setLeftAxisAutomatic(false);
    // Start far to the right, so the new window lies below the old minimum.
    f.dashChart->bottomAxis()->setRange(95, 100);
    f.table.begPoint = begPoint;
    f.table.endPoint = endPoint;
    f.table.outValue = outValue;
    f.table.RedrawDashboardChart();

    QVERIFY(qAbs(f.dashChart->bottomAxis()->min() - bottomMin) < 1e-4);
    QVERIFY(qAbs(f.dashChart->bottomAxis()->max() - bottomMax) < 1e-4);
    QVERIFY(qAbs(f.dashChart->leftAxis()->min() - leftMin) < 1e-4);
    QVERIFY(qAbs(f.dashChart->leftAxis()->max() - leftMax) < 1e-4);
    // The points are drawn all the same.
    QCOMPARE(f.dashChart->series(0)->count(), 256);
    QCOMPARE(f.dashChart->series(4)->at(0).x(), percent(begPoint));
}

void TestTableChart::dashboardAxesAutomaticUntilZoomed()
{
    ChartFixture f;
    QVERIFY(f.dashChart->bottomAxisAutomatic());
    f.table.begPoint = 51;
    f.table.endPoint = 204;
    f.table.RedrawDashboardChart();
    // Automatic: the curve's width and the window lines' height.
    QCOMPARE(f.dashChart->bottomAxis()->min(), 0.0);
    QCOMPARE(f.dashChart->bottomAxis()->max(), 100.0);
    QCOMPARE(f.dashChart->leftAxis()->min(), 0.0);
    QCOMPARE(f.dashChart->leftAxis()->max(), 110.0);

    QVERIFY(f.ready());
    drag(f.dashChart->viewport(), Qt::LeftButton, f.dashPixel(20, 80), f.dashPixel(60, 20));
    QVERIFY(!f.dashChart->bottomAxisAutomatic());
    f.table.RedrawDashboardChart();
    QVERIFY(qAbs(f.dashChart->bottomAxis()->min() - 10) < 1e-9);
    QVERIFY(qAbs(f.dashChart->bottomAxis()->max() - 90) < 1e-9);

    QVERIFY(!f.dashChart->leftAxisAutomatic());
    QVERIFY(qAbs(f.dashChart->leftAxis()->min() + 10) < 1e-9);
    QVERIFY(qAbs(f.dashChart->leftAxis()->max() - 10) < 1e-9);

    // Undoing the zoom (a drag towards the upper left) fits the data again.
    drag(f.dashChart->viewport(), Qt::LeftButton, f.dashPixel(60, 20), f.dashPixel(20, 80));
    QVERIFY(f.dashChart->bottomAxisAutomatic());
    QVERIFY(f.dashChart->leftAxisAutomatic());
    QCOMPARE(f.dashChart->bottomAxis()->min(), 0.0);
    QCOMPARE(f.dashChart->bottomAxis()->max(), 100.0);
}

// Each axis keeps its own automatic scaling.
void TestTableChart::dashboardAxesAutomaticEachOnItsOwn()
{
    ChartFixture f;
    f.table.begPoint = 51;
    f.table.endPoint = 204;
    f.table.outValue = 0;

    // Bottom follows the correction window, left still fits the data.
    f.dashChart->setBottomAxisAutomatic(false);
    f.table.RedrawDashboardChart();
    QVERIFY(qAbs(f.dashChart->bottomAxis()->min() - 10) < 1e-9);
    QVERIFY(qAbs(f.dashChart->bottomAxis()->max() - 90) < 1e-9);
    QCOMPARE(f.dashChart->leftAxis()->min(), 0.0);
    QCOMPARE(f.dashChart->leftAxis()->max(), 110.0);

    // Left fixed where it was, bottom fits the data.
    f.dashChart->setBottomAxisAutomatic(true);
    f.dashChart->setLeftAxisAutomatic(false);
    f.dashChart->leftAxis()->setRange(30, 60);
    f.table.RedrawDashboardChart();
    QCOMPARE(f.dashChart->bottomAxis()->min(), 0.0);
    QCOMPARE(f.dashChart->bottomAxis()->max(), 100.0);
    QCOMPARE(f.dashChart->leftAxis()->min(), 30.0);
    QCOMPARE(f.dashChart->leftAxis()->max(), 60.0);
}

void TestTableChart::zoomMoveButton_data()
{
    QTest::addColumn<QString>("textBefore");
    QTest::addColumn<int>("zoomBefore");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("zoomAfter");

    const QString move = text(TableChartTexts::ZoomMove);
    const QString plusMinus = text(TableChartTexts::ZoomPlusMinus);
    QTest::newRow("first click") << move << int(Qt::LeftButton) << plusMinus << int(Qt::RightButton);
    QTest::newRow("second click") << plusMinus << int(Qt::RightButton) << move << int(Qt::LeftButton);
    QTest::newRow("other text, middle button") << "x" << int(Qt::MiddleButton) << move << int(Qt::RightButton);
}

void TestTableChart::zoomMoveButton()
{
    QFETCH(QString, textBefore);
    QFETCH(int, zoomBefore);
    QFETCH(QString, textAfter);
    QFETCH(int, zoomAfter);

    TableChartView chart;
    QPushButton button(textBefore);
    chart.zoomButton = Qt::MouseButton(zoomBefore);
    ZoomMoveTable_sbtnClick(button, chart);
    QCOMPARE(button.text(), textAfter);
    QCOMPARE(int(chart.zoomButton), zoomAfter);
    QCOMPARE(chart.scrollButton, Qt::RightButton);
}

void TestTableChart::leftDragZoomsAndReverseDragUndoes()
{
    ChartFixture f;
    QVERIFY(f.ready());
    QCOMPARE(f.tableChart->zoomButton, Qt::LeftButton);
    QCOMPARE(f.tableChart->scrollButton, Qt::RightButton);
    QSignalSpy changed(f.tableChart, &ZoomScrollChartView::viewChanged);

    drag(f.tableChart->viewport(), Qt::LeftButton, f.pixel(20, 80), f.pixel(60, 20));
    QCOMPARE(changed.count(), 1);
    QValueAxis* bottom = f.tableChart->bottomAxis();
    QValueAxis* left = f.tableChart->leftAxis();
    // Within a pixel of the dragged rectangle.
    QVERIFY2(qAbs(bottom->min() - 20) < 0.5 && qAbs(bottom->max() - 60) < 0.5,
             qPrintable(QString("%1..%2").arg(bottom->min()).arg(bottom->max())));
    QVERIFY2(qAbs(left->min() - 20) < 0.5 && qAbs(left->max() - 80) < 0.5,
             qPrintable(QString("%1..%2").arg(left->min()).arg(left->max())));

    // Editing works in the zoomed chart too.
    f.setCurve(30);
    f.pressAndEdit(pointX(100), 50);
    QCOMPARE(f.table.tab[100], 127);

    drag(f.tableChart->viewport(), Qt::LeftButton, f.pixel(50, 30), f.pixel(30, 60));
    QCOMPARE(bottom->min(), 0.0);
    QCOMPARE(bottom->max(), 110.0);
    QCOMPARE(left->min(), 0.0);
    QCOMPARE(left->max(), 110.0);

    // A click is no drag.
    QTest::mouseClick(f.tableChart->viewport(), Qt::LeftButton, {}, f.pixel(50, 50));
    QCOMPARE(bottom->max(), 110.0);
}

void TestTableChart::swappedZoomButtonZoomsWithRight()
{
    ChartFixture f;
    QVERIFY(f.ready());
    QPushButton button(text(TableChartTexts::ZoomMove));
    ZoomMoveTable_sbtnClick(button, *f.tableChart);

    drag(f.tableChart->viewport(), Qt::LeftButton, f.pixel(20, 80), f.pixel(60, 20));
    QCOMPARE(f.tableChart->bottomAxis()->min(), 0.0);
    QCOMPARE(f.tableChart->bottomAxis()->max(), 110.0);

    drag(f.tableChart->viewport(), Qt::RightButton, f.pixel(20, 80), f.pixel(60, 20));
    QVERIFY(qAbs(f.tableChart->bottomAxis()->max() - 60) < 0.5);
}

void TestTableChart::rightDragScrolls()
{
    ChartFixture f;
    QVERIFY(f.ready());
    QValueAxis* bottom = f.tableChart->bottomAxis();
    QValueAxis* left = f.tableChart->leftAxis();
    // Content follows the pointer: right and down show smaller x, larger y.
    drag(f.tableChart->viewport(), Qt::RightButton, f.pixel(50, 50), f.pixel(70, 30));
    QVERIFY2(qAbs(bottom->min() + 20) < 0.5 && qAbs(bottom->max() - 90) < 0.5,
             qPrintable(QString("%1..%2").arg(bottom->min()).arg(bottom->max())));
    QVERIFY2(qAbs(left->min() - 20) < 0.5 && qAbs(left->max() - 130) < 0.5,
             qPrintable(QString("%1..%2").arg(left->min()).arg(left->max())));
}

void TestTableChart::longTap()
{
    ChartFixture f;
    QVERIFY(f.ready());
    QSignalSpy taps(f.tableChart, &ZoomScrollChartView::longTap);
    QWidget* viewport = f.tableChart->viewport();
    const QPoint at = f.pixel(50, 50);

    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::qWait(ZoomScrollChartView::LongTapMs / 2);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QTest::qWait(ZoomScrollChartView::LongTapMs);
    QCOMPARE(taps.count(), 0);

    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QVERIFY(taps.wait(ZoomScrollChartView::LongTapMs * 3));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QCOMPARE(taps.count(), 1);
    QCOMPARE(f.tableChart->bottomAxis()->max(), 110.0);

    // A drag is no long tap.
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QTest::mouseMove(viewport, f.pixel(60, 50));
    QTest::qWait(ZoomScrollChartView::LongTapMs * 3 / 2);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, f.pixel(60, 50));
    QCOMPARE(taps.count(), 1);
}

void TestTableChart::longTapTogglesChrome_data()
{
    QTest::addColumn<bool>("topShown");
    QTest::addColumn<bool>("othersShown");
    QTest::addColumn<bool>("after");

    QTest::newRow("all shown: hide") << true << true << false;
    QTest::newRow("all hidden: show") << false << false << true;
    QTest::newRow("top bar hidden alone: show all") << false << true << true;
    QTest::newRow("top bar shown alone: hide all") << true << false << false;
}

void TestTableChart::longTapTogglesChrome()
{
    QFETCH(bool, topShown);
    QFETCH(bool, othersShown);
    QFETCH(bool, after);

    // Not on screen: the widgets' own flags decide.
    QWidget page;
    auto* top = new QWidget(&page);
    auto* bottomBar = new QWidget(&page);
    auto* undoRow = new QWidget(&page);
    top->setVisible(topShown);
    bottomBar->setVisible(othersShown);
    undoRow->setVisible(othersShown);
    TableChartLongTap(*top, *bottomBar, *undoRow);
    QCOMPARE(!top->isHidden(), after);
    QCOMPARE(!bottomBar->isHidden(), after);
    QCOMPARE(!undoRow->isHidden(), after);
}

QTEST_MAIN(TestTableChart)
#include "tst_tablechart.moc"
