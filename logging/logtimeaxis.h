#pragma once

#include <QList>
#include <QString>

// The log chart's time axis apart from any widget: the text of a time and
// where the labels go. Times are milliseconds after the first sample.
namespace LogTimeAxis {

// Hours, minutes, seconds and milliseconds, each a plain decimal number
// joined by ':': 5220 ms is "0:0:5:220", 61020 ms "0:1:1:20". Hours go on
// past 23. A negative time reads as 0.
QString label(qint64 ms);

// The distance between two labels: the smallest of 1, 2, 5, 10, 30 s, 1, 2,
// 5, 10, 30 min, 1, 2, 5, 10 h, 1 day, ... that is at least `minimumMs` (so
// that labels `minimumMs` apart do not overlap). Below whole seconds (20 ms
// up to 500 ms) only when the visible span is shorter than two seconds, so
// that a close zoom still has labels.
qint64 step(double minimumMs, double spanMs);

// The multiples of `stepMs` from `min` to `max`, both included (at most
// 1000 of them).
QList<qint64> ticks(double min, double max, qint64 stepMs);

}  // namespace LogTimeAxis
