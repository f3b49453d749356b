#pragma once

class QChart;
class QValueAxis;

// Lets the chart choose the label step of a value axis: a round step (1, 2
// or 5 times a power of ten) that leaves at least `minimumPixels` between
// labels, chosen again whenever the range or the plot's size changes (set-up,
// zoom, scroll, the dashboard's window, a resize). Closer labels would be
// cut short by the chart.
void chooseAxisStep(QValueAxis* axis, QChart* chart, int minimumPixels);

// The smallest round step that splits `width` into at most `intervals`
// parts; 0 for an empty or broken range.
double roundAxisStep(double width, int intervals);
