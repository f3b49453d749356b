#pragma once

#include "zoomscrollchartview.h"

#include <QList>

class QLineSeries;
class QValueAxis;
class Table;
class TableChartView;

// The dashboard chart: the table's curve (series 0), the IAT and ECT cells
// (1, 2, hidden), the learned points (3), the two ends of the correction
// window as upright lines (4 "Beg", 5 "End"), the operating point (6
// "ConvOut") and the current IAT and ECT corrections (7, 8, hidden).
//
// Its axes start automatic: they fit whatever is drawn. Once the person
// zooms or scrolls they are not, and every redraw then moves them to a
// window around the correction window and the converter output; undoing
// the zoom makes them automatic again.
class DashboardChartView : public ZoomScrollChartView {
    Q_OBJECT
public:
    static constexpr int SeriesCount = 9;
    static constexpr QRgb LearnedColour = 0xFF008000;
    static constexpr QRgb WindowColour = 0xFF0000FF;
    static constexpr QRgb OutputColour = 0xFFFF0000;
    static constexpr qreal OutputMarkerSize = 6;
    // Height of the window's end lines, in chart units.
    static constexpr double WindowLineTop = 110;

    explicit DashboardChartView(QWidget* parent = nullptr);
    ~DashboardChartView() override;

    // Creates the nine series; titles and colours of series 0..2 (and the
    // colours of 7 and 8) are taken from the table chart's series.
    void setUp(const TableChartView& tableChart);

    // Refills every series from the store and sets the axes.
    void redraw(const Table& table);

    bool bottomAxisAutomatic() const { return automatic; }
    void setBottomAxisAutomatic(bool on);

    QLineSeries* series(int index) const { return seriesList.value(index); }
    QValueAxis* leftAxis() const { return left; }
    QValueAxis* bottomAxis() const { return bottom; }

protected:
    void unzoom() override;

private:
    void fitAxes();
    void followOperatingPoint(const Table& table);

    QValueAxis* left = nullptr;
    QValueAxis* bottom = nullptr;
    QList<QLineSeries*> seriesList;
    bool automatic = true;
};
