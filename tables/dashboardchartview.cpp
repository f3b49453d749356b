#include "dashboardchartview.h"

#include "chartaxisstep.h"
#include "table.h"
#include "tablechartdata.h"
#include "tablecharttexts.h"
#include "tablechartview.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The dashboard page is dark; the chart keeps to its colours.
const QColor Background(0x10, 0x16, 0x1f);
const QColor Border(0x2c, 0x3a, 0x4c);
const QColor Labels(0x8a, 0x97, 0xa8);
const QColor Grid(0x24, 0x30, 0x3f);
const QColor MinorGrid(0x1a, 0x23, 0x2e);
const QColor AxisLine(0x3c, 0x4a, 0x5c);

void styleAxis(QValueAxis* axis)
{
    axis->setRange(0, DashboardChartView::WindowLineTop);
    axis->setLabelsColor(Labels);
    axis->setGridLineColor(Grid);
    axis->setMinorGridLineColor(MinorGrid);
    axis->setLinePenColor(AxisLine);
    axis->setMinorTickCount(1);
}

}  // namespace

DashboardChartView::DashboardChartView(QWidget* parent)
    : ZoomScrollChartView(new QChart, parent)
{
    setObjectName("DashChart");
    QChart* c = chart();
    c->setBackgroundBrush(Background);
    c->setBackgroundPen(QPen(Border, 1));
    c->setBackgroundRoundness(10);
    c->setPlotAreaBackgroundVisible(false);
    c->legend()->hide();
    c->setMargins(QMargins(2, 2, 6, 2));
    setFrameShape(QFrame::NoFrame);
    setStyleSheet("background: transparent;");
    // A zoom or scroll by the person takes the axes out of automatic.
    connect(this, &ZoomScrollChartView::viewChanged, this, [this] {
        bottomAutomatic = false;
        leftAutomatic = false;
    });
}

DashboardChartView::~DashboardChartView() = default;

void DashboardChartView::setUp(const TableChartView& tableChart)
{
    QChart* c = chart();
    c->removeAllSeries();
    // A second set-up starts over; removed axes come back to us.
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    seriesList.clear();

    left = new QValueAxis(c);
    bottom = new QValueAxis(c);
    styleAxis(left);
    styleAxis(bottom);
    c->addAxis(bottom, Qt::AlignBottom);
    c->addAxis(left, Qt::AlignLeft);
    chooseAxisStep(bottom, c, 40);
    chooseAxisStep(left, c, 24);

    struct SeriesLook {
        QString title;
        QColor colour;
        int width;
        bool points;
        bool shown;
    };
    auto from = [&tableChart](int k) { return tableChart.series(k); };
    auto titleOf = [&from](int k) { return from(k) ? from(k)->name() : QString(); };
    auto colourOf = [&from](int k) { return from(k) ? from(k)->color() : QColor(); };
    const SeriesLook looks[SeriesCount] = {
        {titleOf(0), colourOf(0), 2, true, true},
        {titleOf(1), colourOf(1), 2, false, false},
        {titleOf(2), colourOf(2), 2, false, false},
        {QString::fromUtf8(TableChartTexts::LearnedSeries), QColor(LearnedColour), 2, false, true},
        {QString::fromUtf8(TableChartTexts::BeginSeries), QColor(WindowColour), 1, false, true},
        {QString::fromUtf8(TableChartTexts::EndSeries), QColor(WindowColour), 1, false, true},
        {QString::fromUtf8(TableChartTexts::OutputSeries), QColor(OutputColour), 1, true, true},
        {QString::fromUtf8(TableChartTexts::IatSeries), colourOf(1), 1, true, false},
        {QString::fromUtf8(TableChartTexts::EctSeries), colourOf(2), 1, true, false},
    };
    for (const SeriesLook& look : looks) {
        auto* s = new QLineSeries;
        s->setName(look.title);
        s->setPen(QPen(look.colour, look.width));
        s->setPointsVisible(look.points);
        s->setMarkerSize(TableChartView::MarkerSize);
        s->setVisible(look.shown);
        c->addSeries(s);
        s->attachAxis(bottom);
        s->attachAxis(left);
        seriesList.append(s);
    }
    seriesList[6]->setMarkerSize(OutputMarkerSize);
    bottomAutomatic = true;
    leftAutomatic = true;
}

void DashboardChartView::setBottomAxisAutomatic(bool on)
{
    bottomAutomatic = on;
}

void DashboardChartView::setLeftAxisAutomatic(bool on)
{
    leftAutomatic = on;
}

void DashboardChartView::unzoom()
{
    bottomAutomatic = true;
    leftAutomatic = true;
    fitAxes(true, true);
}

void DashboardChartView::redraw(const Table& table)
{
    using namespace TableChartData;
    if (seriesList.size() != SeriesCount)
        return;
    const double begX = percent(table.begPoint);
    const double endX = percent(table.endPoint);
    seriesList[0]->replace(curve(table));
    seriesList[1]->replace(correctionCells(table, Table::IatFirst));
    seriesList[2]->replace(correctionCells(table, Table::EctFirst));
    seriesList[3]->replace(table.showTrained ? trained(table) : QList<QPointF>());
    seriesList[4]->replace({QPointF(begX, 0), QPointF(begX, WindowLineTop)});
    seriesList[5]->replace({QPointF(endX, 0), QPointF(endX, WindowLineTop)});
    seriesList[6]->replace({QPointF(percent(table.sensorValue), percent(table.outValue))});
    seriesList[7]->replace({QPointF(percent(table.iatValue), percent(table.iatCorr))});
    seriesList[8]->replace({QPointF(percent(table.ectValue), percent(table.ectCorr))});
    fitAxes(bottomAutomatic, leftAutomatic);
    if (!bottomAutomatic) {
        followCorrectionWindow(table);
        if (!leftAutomatic)
            followOutput(table);
    }
    viewport()->update();
}

// Automatic axes span the points of the series shown.
void DashboardChartView::fitAxes(bool fitBottom, bool fitLeft)
{
    if (!left || !bottom || (!fitBottom && !fitLeft))
        return;
    double xMin = INFINITY, xMax = -INFINITY, yMin = INFINITY, yMax = -INFINITY;
    for (QLineSeries* s : seriesList) {
        if (!s->isVisible())
            continue;
        for (const QPointF& p : s->points()) {
            xMin = std::min(xMin, p.x());
            xMax = std::max(xMax, p.x());
            yMin = std::min(yMin, p.y());
            yMax = std::max(yMax, p.y());
        }
    }
    if (fitBottom && xMin < xMax)
        bottom->setRange(xMin, xMax);
    if (fitLeft && yMin < yMax)
        left->setRange(yMin, yMax);
}

// 10 units either side of the correction window. A reversed correction
// window keeps its right end and shows 20 units to the left of it. The
// component takes a whole range at once, so a new maximum below the old
// minimum needs no detour; a range it could not take leaves the axis as it
// was.
void DashboardChartView::followCorrectionWindow(const Table& table)
{
    using TableChartData::percent;
    if (!bottom)
        return;
    const double hi = percent(table.endPoint) + 10;
    double lo = percent(table.begPoint) - 10;
    if (lo >= hi)
        lo = hi - 20;
    if (std::isfinite(lo) && std::isfinite(hi))
        bottom->setRange(lo, hi);
}

// 10 units either side of the converter output.
void DashboardChartView::followOutput(const Table& table)
{
    using TableChartData::percent;
    if (!left)
        return;
    const double lo = percent(table.outValue) - 10;
    const double hi = lo + 20;
    if (std::isfinite(lo) && std::isfinite(hi))
        left->setRange(lo, hi);
}
