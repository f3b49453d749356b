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
// Its axes start automatic: they fit whatever is drawn. Each axis can be
// taken out of automatic on its own; zooming or scrolling takes out both,
// undoing the zoom makes both automatic again. While the bottom axis is not
// automatic every redraw moves it to a window around the correction window,
// and a left axis that is not automatic either follows the converter output.
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

    bool bottomAxisAutomatic() const { return bottomAutomatic; }
    void setBottomAxisAutomatic(bool on);
    bool leftAxisAutomatic() const { return leftAutomatic; }
    void setLeftAxisAutomatic(bool on);

    QLineSeries* series(int index) const { return seriesList.value(index); }
    QValueAxis* leftAxis() const { return left; }
    QValueAxis* bottomAxis() const { return bottom; }

protected:
    void unzoom() override;

private:
    void fitAxes(bool fitBottom, bool fitLeft);
    void followCorrectionWindow(const Table& table);
    void followOutput(const Table& table);

    QValueAxis* left = nullptr;
    QValueAxis* bottom = nullptr;
    QList<QLineSeries*> seriesList;
    bool bottomAutomatic = true;
    bool leftAutomatic = true;
};
