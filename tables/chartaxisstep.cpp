#include "chartaxisstep.h"

#include <QChart>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

double roundAxisStep(double width, int intervals)
{
    if (!std::isfinite(width) || width <= 0 || intervals < 1)
        return 0;
    const double raw = width / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1 - 1e-9))
            return factor * power;
    }
    return 10 * power;
}

void chooseAxisStep(QValueAxis* axis, QChart* chart, int minimumPixels)
{
    auto apply = [axis, chart, minimumPixels] {
        const QRectF plot = chart->plotArea();
        const double pixels = axis->orientation() == Qt::Horizontal ? plot.width() : plot.height();
        // Before the first layout the plot has no size: assume a small one.
        const int intervals = std::max(2, pixels > 0 ? int(pixels / minimumPixels) : 5);
        const double step = roundAxisStep(axis->max() - axis->min(), intervals);
        if (step > 0 && step != axis->tickInterval())
            axis->setTickInterval(step);
    };
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setLabelFormat("%g");
    apply();
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, apply);
    QObject::connect(chart, &QChart::plotAreaChanged, axis, apply);
}
