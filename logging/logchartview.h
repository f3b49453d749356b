#pragma once

#include "zoomscrollchartview.h"

#include <QPoint>
#include <QPointF>

class QAbstractAxis;

// The log chart's widget (the window's ChartLog): zoom, scroll and long tap
// as the window's other charts, plus the presses and double taps the log
// chart reacts to. What they do lives in LogCharts.
class LogChartView : public ZoomScrollChartView {
    Q_OBJECT
public:
    explicit LogChartView(QWidget* parent = nullptr);
    ~LogChartView() override;

    // The axis ranges an undo of the zoom goes back to: those of the last
    // redraw.
    void setHomeRanges(qreal xMin, qreal xMax, qreal yMin, qreal yMax);

    // Sets a value or date-time axis to min .. max (for a date-time axis
    // milliseconds since the epoch); other axes are left alone.
    static void setAxisRange(QAbstractAxis* axis, qreal min, qreal max);
    // The range of a value or date-time axis, in the same units.
    static bool axisRange(const QAbstractAxis* axis, qreal& min, qreal& max);

    // A viewport pixel in the coordinates QChart::mapToPosition gives.
    QPointF chartPosition(const QPoint& viewportPos) const { return toChart(viewportPos); }

signals:
    // Every mouse-down, with its viewport position and button.
    void pressed(QPoint pos, Qt::MouseButton button);
    // The double click, which a touch screen's double tap also gives.
    void doubleTapped();

protected:
    void unzoom() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    qreal homeXMin = 0;
    qreal homeXMax = 1;
    qreal homeYMin = 0;
    qreal homeYMax = 5;
};
