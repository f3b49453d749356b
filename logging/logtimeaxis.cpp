#include "logtimeaxis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace LogTimeAxis {

namespace {

constexpr qint64 Second = 1000;
constexpr qint64 Minute = 60 * Second;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;
constexpr qsizetype MaxTicks = 1000;

constexpr std::array<qint64, 5> SubSecondSteps = {20, 50, 100, 200, 500};
constexpr std::array<qint64, 15> Steps = {
    Second,     2 * Second, 5 * Second, 10 * Second, 30 * Second, Minute,     2 * Minute, 5 * Minute,
    10 * Minute, 30 * Minute, Hour,     2 * Hour,    5 * Hour,    10 * Hour,  Day,
};

}  // namespace

QString label(qint64 ms)
{
    ms = std::max<qint64>(ms, 0);
    return QStringLiteral("%1:%2:%3:%4")
        .arg(ms / Hour)
        .arg(ms % Hour / Minute)
        .arg(ms % Minute / Second)
        .arg(ms % Second);
}

qint64 step(double minimumMs, double spanMs)
{
    if (!(minimumMs > 0))
        minimumMs = 0;
    if (spanMs < 2 * Second) {
        for (qint64 s : SubSecondSteps) {
            if (double(s) >= minimumMs)
                return s;
        }
    }
    for (qint64 s : Steps) {
        if (double(s) >= minimumMs)
            return s;
    }
    // Longer than any recording: whole days.
    const double days = std::ceil(minimumMs / double(Day));
    return days < 1e6 ? qint64(days) * Day : qint64(1e6) * Day;
}

QList<qint64> ticks(double min, double max, qint64 stepMs)
{
    QList<qint64> out;
    if (stepMs <= 0 || !(max >= min) || !std::isfinite(min) || !std::isfinite(max))
        return out;
    // A whisker of rounding in the axis range must not drop a tick that
    // lies on its end.
    const double slack = 1e-6 * double(stepMs);
    qint64 t = qint64(std::ceil((min - slack) / double(stepMs))) * stepMs;
    // However the range and step were made, no more than an axis can show.
    for (; double(t) <= max + slack && out.size() < MaxTicks; t += stepMs)
        out.append(t);
    return out;
}

}  // namespace LogTimeAxis
