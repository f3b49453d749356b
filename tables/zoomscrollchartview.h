#pragma once

#include <QChartView>
#include <QPoint>
#include <QTimer>

class QRubberBand;

// A chart view driven by the mouse the way the window's charts are: drag
// with `zoomButton` towards the lower right to zoom into the rectangle,
// towards the upper left to undo the zoom; drag with `scrollButton` to move
// the visible range. Where both are the same button, zooming wins. Holding
// any button still for LongTapMs is a long tap (touch presses arrive as
// mouse presses, so a finger held on the chart gives the same signal).
class ZoomScrollChartView : public QChartView {
    Q_OBJECT
public:
    // Takes `chart` over. (The view's plain constructor makes a chart of its
    // own that a later setChart() would only let go of, not delete.)
    explicit ZoomScrollChartView(QChart* chart, QWidget* parent = nullptr);
    ~ZoomScrollChartView() override;

    // The same wait as Qt's tap-and-hold gesture.
    static constexpr int LongTapMs = 700;
    // A drag shorter than this in either direction neither zooms nor undoes.
    static constexpr int MinimumDrag = 4;

    // Plain fields, switched by the window's zoom/move buttons.
    Qt::MouseButton zoomButton = Qt::LeftButton;
    Qt::MouseButton scrollButton = Qt::RightButton;

signals:
    void longTap();
    // The person zoomed in or scrolled.
    void viewChanged();
    // The person undid the zoom.
    void viewReset();

protected:
    // Back to the ranges shown before any zoom or scroll.
    virtual void unzoom();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // A viewport position in the chart's own coordinates, those of
    // QChart::mapToPosition.
    QPointF toChart(const QPoint& viewportPos) const;

private:
    enum class Drag { None, Zoom, Scroll };

    void finishZoom(const QPoint& end);

    Drag drag = Drag::None;
    QPoint origin;
    QPoint last;
    QRubberBand* band = nullptr;
    QTimer holdTimer;
};
