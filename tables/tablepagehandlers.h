#pragma once

class QAbstractButton;
class QLabel;
class QWidget;
class TableChartView;
class ZoomScrollChartView;

// The table page's handlers that belong to its chart. The window connects
// its buttons to them; the chart's double click (the double tap on a touch
// screen) is handled by the chart itself, its long tap is the chart's
// longTap() signal, to be connected to TableChartLongTap.

// "Tab": a double click edits the curve.
void TabEdit_spbtnClick(TableChartView& chart, QLabel& TabChartCurve_lbl);
// "Trained": a double click edits the trained points.
void TrainedEdit_spbtnClick(TableChartView& chart, QLabel& TabChartCurve_lbl);
// "←/→" becomes "+/-", any other text "←/→"; the chart's zoom button goes
// from right to left, from anything else to right. Scrolling keeps its
// button.
void ZoomMoveTable_sbtnClick(QAbstractButton& ZoomMoveTable_sbtn, ZoomScrollChartView& chart);
// Hides the page's top bar, the bottom bar and the undo row to give the
// chart the whole window, or shows all three again.
void TableChartLongTap(QWidget& TabTopRectangle, QWidget& Rectangle18, QWidget& Rectangle8);
