#pragma once

#include "table.h"
#include "zoomscrollchartview.h"

#include <QColor>
#include <QList>
#include <QPointer>

class QButtonGroup;
class QLineSeries;
class QToolButton;
class QValueAxis;

// The table chart: the output curve of the table (series 0), the IAT and
// ECT cells (series 1 and 2, filled but never shown) and the trained points
// (series 3), over a white-blue-white background with both axes 0..110.
// A press is handed to the store (RecordPress); a double click, which on a
// touch screen is also the double tap, edits the point under it through
// the store (EditAtPress) with the plot corners this chart places.
class TableChartView : public ZoomScrollChartView {
    Q_OBJECT
public:
    static constexpr int SeriesCount = 4;
    static constexpr int PenWidth = 2;
    static constexpr qreal MarkerSize = 3;
    static constexpr double AxisMax = 110;

    static constexpr QRgb IatColour = 0xFF0000FF;
    static constexpr QRgb EctColour = 0xFFBF00BF;
    static constexpr QRgb TrainedColour = 0xFF008000;
    static constexpr QRgb AxisLineColour = 0xFF000000;
    static constexpr QRgb GradientMiddle = 0xFF204472;
    static constexpr QRgb GradientEnds = 0xFFFFFFFF;

    // Selector buttons: size, and place from the chart's top right.
    static constexpr int SelectorWidth = 70;
    static constexpr int SelectorHeight = 25;
    static constexpr int SelectorRight = 78;
    static constexpr int SelectorTop = 8;
    static constexpr int SelectorPitch = 33;

    explicit TableChartView(QWidget* parent = nullptr);
    ~TableChartView() override;

    // The chart part of the table view set-up: axes, background, the four
    // series (series 0 titled `name` in `colour`) and their selectors, the
    // first one pressed. The store is told about presses from now on; the
    // store's own part of the set-up follows (TableCharts does both).
    void setUp(Table& table, const QString& name, QColor colour, bool showTrained);

    // Refills every series from the store's arrays.
    void redraw(const Table& table);

    // Where the chart draws its plot corners, and the axis ranges there.
    PlotArea plotArea() const;

    QLineSeries* series(int index) const { return seriesList.value(index); }
    const QList<QToolButton*>& selectors() const { return selectorButtons; }
    QValueAxis* leftAxis() const { return left; }
    QValueAxis* bottomAxis() const { return bottom; }

public slots:
    // The double click and the double tap: edit at the last press.
    void editAtPress();
    // Presses selector `index` (series 0 curve, 3 trained points).
    void pressSelector(int index);

protected:
    void unzoom() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineSeries* addSeries(const QString& title, QColor colour);
    void addSelector(int index, const QString& title);
    void placeSelectors();
    void recordPress(QMouseEvent* event);

    // The store outlives the chart in the window; a press after it is gone
    // finds no store rather than a dangling one.
    QPointer<Table> table;
    QValueAxis* left = nullptr;
    QValueAxis* bottom = nullptr;
    QList<QLineSeries*> seriesList;
    QList<QToolButton*> selectorButtons;
    QButtonGroup* selectorGroup = nullptr;
};
