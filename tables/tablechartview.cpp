#include "tablechartview.h"

#include "chartaxisstep.h"
#include "table.h"
#include "tablechartdata.h"
#include "tablecharttexts.h"

#include <QButtonGroup>
#include <QChart>
#include <QLineSeries>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QToolButton>
#include <QValueAxis>

namespace {

void styleAxis(QValueAxis* axis, const char* title)
{
    const QColor black(TableChartView::AxisLineColour);
    axis->setRange(0, TableChartView::AxisMax);
    axis->setLinePenColor(black);
    axis->setTitleText(QString::fromUtf8(title));
    axis->setTitleBrush(black);
    QFont font = axis->titleFont();
    font.setPointSize(12);
    axis->setTitleFont(font);
    axis->setLabelsVisible(true);
    axis->setLabelsColor(black);
    axis->setMinorTickCount(4);
    // Dark but thin grid lines stay readable on both the white and the blue
    // part of the background.
    axis->setGridLineColor(QColor(0, 0, 0, 70));
    axis->setMinorGridLineColor(QColor(0, 0, 0, 18));
}

}  // namespace

TableChartView::TableChartView(QWidget* parent)
    : ZoomScrollChartView(new QChart, parent)
{
    setObjectName("TableChart");
    setFrameShape(QFrame::NoFrame);
    // The rounded chart corners show the page behind them.
    setStyleSheet("background: transparent;");
}

TableChartView::~TableChartView() = default;

void TableChartView::setUp(Table& store, const QString& name, QColor colour, bool showTrained)
{
    table = &store;
    QChart* c = chart();
    c->removeAllSeries();
    // A second set-up starts over; removed axes come back to us.
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    qDeleteAll(selectorButtons);
    selectorButtons.clear();
    seriesList.clear();
    delete selectorGroup;

    c->setTitle(QString());
    c->setMargins(QMargins(4, 4, 8, 4));
    c->setBackgroundRoundness(8);

    left = new QValueAxis(c);
    bottom = new QValueAxis(c);
    styleAxis(left, TableChartTexts::LeftAxisTitle);
    styleAxis(bottom, TableChartTexts::BottomAxisTitle);
    c->addAxis(bottom, Qt::AlignBottom);
    c->addAxis(left, Qt::AlignLeft);
    chooseAxisStep(bottom, c, 40);
    chooseAxisStep(left, c, 28);

    // The gradient fills the plot; the frame around it, where the black
    // axis labels and titles stand, keeps the gradient's white ends, so no
    // label ever sits on the dark blue middle.
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(GradientEnds));
    gradient.setColorAt(0.5, QColor(GradientMiddle));
    gradient.setColorAt(1, QColor(GradientEnds));
    c->setPlotAreaBackgroundBrush(gradient);
    c->setPlotAreaBackgroundVisible(true);
    c->setBackgroundBrush(QColor(GradientEnds));
    c->setBackgroundVisible(true);

    c->legend()->hide();

    selectorGroup = new QButtonGroup(this);
    selectorGroup->setObjectName(QString::fromUtf8(TableChartTexts::SelectorGroup));
    selectorGroup->setExclusive(true);
    connect(selectorGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (table && checked)
            table->selectedSeries = id;
    });

    const QString titles[SeriesCount] = {name, QString::fromUtf8(TableChartTexts::IatSeries),
                                         QString::fromUtf8(TableChartTexts::EctSeries),
                                         QString::fromUtf8(TableChartTexts::TrainedSeries)};
    const QColor colours[SeriesCount] = {colour, QColor(IatColour), QColor(EctColour), QColor(TrainedColour)};
    for (int k = 0; k < SeriesCount; ++k) {
        addSeries(titles[k], colours[k]);
        addSelector(k, titles[k]);
    }
    // The IAT and ECT cells are kept in their series but not shown.
    seriesList[1]->setVisible(false);
    seriesList[2]->setVisible(false);
    seriesList[Table::TrainedSeries]->setVisible(showTrained);
    pressSelector(Table::CurveSeries);
    placeSelectors();
}

QLineSeries* TableChartView::addSeries(const QString& title, QColor colour)
{
    auto* s = new QLineSeries;
    s->setName(title);
    s->setPen(QPen(colour, PenWidth));
    s->setPointsVisible(true);
    s->setMarkerSize(MarkerSize);
    chart()->addSeries(s);
    s->attachAxis(bottom);
    s->attachAxis(left);
    seriesList.append(s);
    return s;
}

void TableChartView::addSelector(int index, const QString& title)
{
    auto* b = new QToolButton(this);
    b->setText(title);
    b->setCheckable(true);
    b->setFixedSize(SelectorWidth, SelectorHeight);
    b->hide();
    selectorGroup->addButton(b, index);
    selectorButtons.append(b);
}

void TableChartView::placeSelectors()
{
    for (int k = 0; k < selectorButtons.size(); ++k)
        selectorButtons[k]->move(width() - SelectorRight, SelectorTop + SelectorPitch * k);
}

void TableChartView::pressSelector(int index)
{
    if (QToolButton* b = selectorButtons.value(index))
        b->setChecked(true);
}

void TableChartView::redraw(const Table& store)
{
    using namespace TableChartData;
    if (seriesList.size() != SeriesCount)
        return;
    seriesList[0]->replace(curve(store));
    seriesList[1]->replace(correctionCells(store, Table::IatFirst));
    seriesList[2]->replace(correctionCells(store, Table::EctFirst));
    seriesList[3]->replace(store.showTrained ? trained(store) : QList<QPointF>());
    viewport()->update();
}

PlotArea TableChartView::plotArea() const
{
    PlotArea area;
    if (!left || !bottom || seriesList.isEmpty())
        return area;
    area.bottomMin = bottom->min();
    area.bottomMax = bottom->max();
    area.leftMin = left->min();
    area.leftMax = left->max();
    const QPointF corner0 = chart()->mapToPosition(QPointF(area.bottomMin, area.leftMin), seriesList[0]);
    const QPointF corner1 = chart()->mapToPosition(QPointF(area.bottomMax, area.leftMax), seriesList[0]);
    area.px0 = corner0.x();
    area.py0 = corner0.y();
    area.px1 = corner1.x();
    area.py1 = corner1.y();
    return area;
}

void TableChartView::editAtPress()
{
    if (table)
        table->EditAtPress(plotArea());
}

void TableChartView::unzoom()
{
    if (left && bottom) {
        left->setRange(0, AxisMax);
        bottom->setRange(0, AxisMax);
    }
}

void TableChartView::recordPress(QMouseEvent* event)
{
    if (!table)
        return;
    const QPointF at = toChart(event->position().toPoint());
    table->RecordPress(event->button(), at.x(), at.y());
}

void TableChartView::mousePressEvent(QMouseEvent* event)
{
    recordPress(event);
    ZoomScrollChartView::mousePressEvent(event);
}

void TableChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of the double click is a press like any other.
    recordPress(event);
    ZoomScrollChartView::mouseDoubleClickEvent(event);
    editAtPress();
}

void TableChartView::resizeEvent(QResizeEvent* event)
{
    ZoomScrollChartView::resizeEvent(event);
    placeSelectors();
}
