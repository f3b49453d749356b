#include "logchartview.h"

#include <QAbstractAxis>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QValueAxis>
#include <QMouseEvent>

LogChartView::LogChartView(QWidget* parent) : ZoomScrollChartView(new QChart, parent)
{
    setObjectName("ChartLog");
    setFrameShape(QFrame::NoFrame);
    // Thirteen thinned recordings are mostly steep zigzags; smoothing their
    // edges triples the paint time for no readable gain.
    setRenderHint(QPainter::Antialiasing, false);
}

LogChartView::~LogChartView() = default;

void LogChartView::setHomeRanges(qreal xMin, qreal xMax, qreal yMin, qreal yMax)
{
    homeXMin = xMin;
    homeXMax = xMax;
    homeYMin = yMin;
    homeYMax = yMax;
}

void LogChartView::setAxisRange(QAbstractAxis* axis, qreal min, qreal max)
{
    if (auto* time = qobject_cast<QDateTimeAxis*>(axis))
        time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(min)), QDateTime::fromMSecsSinceEpoch(qint64(max)));
    else if (auto* value = qobject_cast<QValueAxis*>(axis))
        value->setRange(min, max);
}

bool LogChartView::axisRange(const QAbstractAxis* axis, qreal& min, qreal& max)
{
    if (auto* time = qobject_cast<const QDateTimeAxis*>(axis)) {
        min = qreal(time->min().toMSecsSinceEpoch());
        max = qreal(time->max().toMSecsSinceEpoch());
        return true;
    }
    if (auto* value = qobject_cast<const QValueAxis*>(axis)) {
        min = value->min();
        max = value->max();
        return true;
    }
    return false;
}

void LogChartView::unzoom()
{
    // QChart::zoomReset goes back to the ranges of the first zoom, which
    // may belong to an older recording.
    const auto horizontal = chart()->axes(Qt::Horizontal);
    const auto vertical = chart()->axes(Qt::Vertical);
    if (!horizontal.isEmpty())
        setAxisRange(horizontal.first(), homeXMin, homeXMax);
    if (!vertical.isEmpty())
        setAxisRange(vertical.first(), homeYMin, homeYMax);
}

void LogChartView::mousePressEvent(QMouseEvent* event)
{
    ZoomScrollChartView::mousePressEvent(event);
    emit pressed(event->position().toPoint(), event->button());
}

void LogChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    ZoomScrollChartView::mouseDoubleClickEvent(event);
    emit doubleTapped();
}
