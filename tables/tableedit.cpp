#include "table.h"

#include "tablenumbers.h"

#include <algorithm>
#include <cmath>

using namespace TableNumbers;

void Table::RecordPress(Qt::MouseButton button, double x, double y)
{
    mouseX = x;
    mouseY = y;
    mouseButton = button;
    pressPending = true;
}

void Table::EditAtPress(const PlotArea& area)
{
    // A press is used once: a further double click needs a new press.
    if (!pressPending)
        return;
    const bool usable = std::isfinite(area.px0) && std::isfinite(area.px1) && std::isfinite(area.py0)
        && std::isfinite(area.py1) && area.px1 > area.px0 && area.py0 > area.py1 && std::isfinite(mouseX)
        && std::isfinite(mouseY);
    if (!usable)
        return;
    if (mouseX > area.px1 || mouseX < area.px0 || mouseY > area.py0 || mouseY < area.py1)
        return;

    double x = (area.bottomMax - area.bottomMin) / (area.px1 - area.px0) * (mouseX - area.px0) + area.bottomMin;
    const double y = (area.leftMax - area.leftMin) / (area.py0 - area.py1) * (area.py0 - mouseY) + area.leftMin;
    x = std::clamp(x, 0.0, 100.0);
    mouseX = 0;
    pressPending = false;

    // The curve point nearest to x; exactly halfway goes to the lower one.
    // Point i of the curve is drawn at i * 100 / 255.
    auto pointX = [](int i) { return i * 100.0 / 255.0; };
    for (int i = 0; i + 1 < CurveSize; ++i) {
        const double xi = pointX(i);
        const double xj = pointX(i + 1);
        const double middle = (xi + xj) / 2;
        if (x >= xi && x <= middle) {
            EditPoint(i, y);
            return;
        }
        if (x <= xj && x >= middle) {
            EditPoint(i + 1, y);
            return;
        }
    }
}

void Table::EditPoint(int index, double value)
{
    recordOutsideChanges();
    const int i = std::clamp(index, 0, CurveSize - 1);
    if (selectedSeries == CurveSeries || selectedSeries == TrainedSeries) {
        // NaN counts as the bottom of the chart.
        const double v = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 100.0);
        if (selectedSeries == CurveSeries) {
            tab[i] = truncToInt(v * 255 / 100);
            marks[i] = Mark;
        } else {
            trained[i] = v * 255 / 100 >= tab[i] ? tab[i] : 0;
            learned[i] = Mark;
        }
    }
    if (interpolate == 1)
        Interpolate(extrapolate, i);
    RedrawTableChart();
    PushUndo();
}
