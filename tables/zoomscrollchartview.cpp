#include "zoomscrollchartview.h"

#include <QApplication>
#include <QChart>
#include <QMouseEvent>
#include <QRubberBand>

ZoomScrollChartView::ZoomScrollChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent)
{
    // The view's own rubber band zooms with the left button only and zooms
    // out on a right click; both would fight the buttons set here.
    setRubberBand(QChartView::NoRubberBand);
    setRenderHint(QPainter::Antialiasing);
    holdTimer.setSingleShot(true);
    holdTimer.setInterval(LongTapMs);
    connect(&holdTimer, &QTimer::timeout, this, [this] {
        // A long tap is not the start of a zoom.
        if (band)
            band->hide();
        drag = Drag::None;
        emit longTap();
    });
}

ZoomScrollChartView::~ZoomScrollChartView() = default;

QPointF ZoomScrollChartView::toChart(const QPoint& viewportPos) const
{
    return chart()->mapFromScene(mapToScene(viewportPos));
}

void ZoomScrollChartView::unzoom()
{
    chart()->zoomReset();
}

void ZoomScrollChartView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    origin = pos;
    last = pos;
    holdTimer.start();
    if (event->button() == zoomButton) {
        drag = Drag::Zoom;
        if (!band)
            band = new QRubberBand(QRubberBand::Rectangle, viewport());
        band->setGeometry(QRect(pos, QSize()));
        band->show();
    } else if (event->button() == scrollButton) {
        drag = Drag::Scroll;
    } else {
        drag = Drag::None;
    }
    event->accept();
}

void ZoomScrollChartView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if ((pos - origin).manhattanLength() >= QApplication::startDragDistance())
        holdTimer.stop();
    if (drag == Drag::Zoom && band) {
        band->setGeometry(QRect(origin, pos).normalized());
    } else if (drag == Drag::Scroll) {
        const QPoint delta = pos - last;
        last = pos;
        if (!delta.isNull()) {
            // The content follows the pointer: a drag to the right shows
            // smaller x, a drag downwards larger y.
            chart()->scroll(-delta.x(), delta.y());
            emit viewChanged();
        }
    }
    event->accept();
}

void ZoomScrollChartView::mouseReleaseEvent(QMouseEvent* event)
{
    holdTimer.stop();
    if (drag == Drag::Zoom)
        finishZoom(event->position().toPoint());
    drag = Drag::None;
    event->accept();
}

void ZoomScrollChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click arrives as this event; it starts
    // neither a zoom nor a long tap.
    holdTimer.stop();
    drag = Drag::None;
    event->accept();
}

void ZoomScrollChartView::finishZoom(const QPoint& end)
{
    if (band)
        band->hide();
    const QPoint d = end - origin;
    if (d.x() >= MinimumDrag && d.y() >= MinimumDrag) {
        const QRectF picked = QRectF(toChart(origin), toChart(end)).normalized();
        const QRectF rect = picked.intersected(chart()->plotArea());
        if (rect.width() > 0 && rect.height() > 0) {
            chart()->zoomIn(rect);
            emit viewChanged();
        }
    } else if (d.x() <= -MinimumDrag || d.y() <= -MinimumDrag) {
        unzoom();
        emit viewReset();
    }
}
