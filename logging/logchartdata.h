#pragma once

#include "logcolumns.h"

#include <QList>
#include <QPointF>
#include <QRgb>

#include <array>

class Table;

// What the log chart draws, apart from any widget: which samples, at what
// time, with which value per series.
namespace LogChartData {

// Series of the log chart in their order; the index is also the toggle
// button's tag.
enum Series { Maf, Tps, Converter, Tab, Marker, Enrichment, Rpm, O2, Corr, Iat, Ect, O2sm, LogCorr, SeriesCount };
// Series of the oxygen chart: the same values as O2 and O2sm above.
enum O2Series { O2Raw, O2Smooth, O2SeriesCount };

extern const std::array<QRgb, SeriesCount> SeriesColours;
extern const std::array<QRgb, O2SeriesCount> O2SeriesColours;

// Recordings shorter than this are not drawn; the last TailSamples samples
// of a recording are never drawn either (the smoothed oxygen has no value
// there).
inline constexpr qsizetype MinSamples = 118;
inline constexpr qsizetype TailSamples = 20;
// A sample every 20 ms.
inline constexpr qint64 SampleMs = 20;

// The samples a redraw takes: first, first + step, ... while below last.
struct DrawRange {
    qsizetype first = 0;
    qsizetype last = 0;
    qsizetype step = 1;
    bool draw = false;  // false: keep the picture as it is

    qsizetype pointCount() const { return draw && last > first ? (last - first + step - 1) / step : 0; }
};

// The window windowStart .. windowEnd widened by one step on each side and
// kept inside 0 .. n - TailSamples. No drawing below MinSamples samples.
DrawRange drawRange(qsizetype n, qsizetype windowStart, qsizetype windowEnd, qsizetype step);

// The axis position of sample k: k x 20 ms after `origin`.
inline qreal sampleTime(qreal origin, qsizetype k) { return origin + qreal(k) * SampleMs; }
// The time axes' 0:0:0:0, the first sample.
qreal timeOrigin();

// (value - 128) / 1.28 to the nearest whole number, halves to even.
double enrichmentPercent(qint32 value);
// value x 5 / 256 volts to the nearest 0.01, halves to even.
double oxygenVolts(qint32 value);

// Every series' points for `range`. `table` gives the "Tab" series (the
// curve at each MAF reading); without a table it is drawn as 0.
struct Points {
    std::array<QList<QPointF>, SeriesCount> log;
    std::array<QList<QPointF>, O2SeriesCount> o2;
};
void buildPoints(const LogColumns& columns, const Table* table, const DrawRange& range, qreal origin, Points& out);

}  // namespace LogChartData
