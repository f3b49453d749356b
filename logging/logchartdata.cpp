#include "logchartdata.h"

#include "table.h"

#include <algorithm>
#include <cmath>

namespace LogChartData {

const std::array<QRgb, SeriesCount> SeriesColours = {
    0xFF4466A3, 0xFF9000FF, 0xFFFF8000, 0xFFB00000, 0xFFFF0000, 0xFFFFFF00, 0xFFA8D3FF,
    0xFF01D10C, 0xFFBADCC0, 0xFFEC9FE4, 0xFFED8481, 0xFF86E89C, 0xFFC9A5A8,
};
const std::array<QRgb, O2SeriesCount> O2SeriesColours = {0xFF01D10C, 0xFF86E89C};

DrawRange drawRange(qsizetype n, qsizetype windowStart, qsizetype windowEnd, qsizetype step)
{
    DrawRange r;
    if (n < MinSamples)
        return r;
    r.step = std::max<qsizetype>(step, 1);
    r.first = std::max<qsizetype>(windowStart - r.step, 0);
    r.last = std::min(windowEnd + r.step, n - TailSamples);
    r.draw = true;
    return r;
}

qreal timeOrigin()
{
    // The time axes count milliseconds from the first sample.
    return 0;
}

double enrichmentPercent(qint32 value)
{
    // (value - 128) / 1.28 is (value - 128) x 25 / 32 exactly, so a half is
    // a true half; nearbyint rounds it to even.
    return std::nearbyint(double(value - 128) * 25.0 / 32.0);
}

double oxygenVolts(qint32 value)
{
    // Hundredths of a volt: value x 500 / 256, exact in a double.
    return std::nearbyint(double(value) * 125.0 / 64.0) / 100.0;
}

namespace {

// A column that is shorter than the others (never in a sound recording)
// reads as 0 rather than past its end.
inline qint32 at(const LogColumn& column, qsizetype k)
{
    return k < column.size() ? column[k] : 0;
}

}  // namespace

void buildPoints(const LogColumns& c, const Table* table, const DrawRange& range, qreal origin, Points& out)
{
    const qsizetype count = range.pointCount();
    for (auto& list : out.log) {
        list.clear();
        list.reserve(count);
    }
    for (auto& list : out.o2) {
        list.clear();
        list.reserve(count);
    }
    if (count == 0)
        return;
    for (qsizetype k = range.first; k < range.last; k += range.step) {
        const qreal x = sampleTime(origin, k);
        const qint32 maf = at(c.colMaf, k);
        const double o2 = oxygenVolts(at(c.colO2, k));
        const double o2sm = oxygenVolts(at(c.colO2sm, k));
        out.log[Maf].append(QPointF(x, maf));
        out.log[Tps].append(QPointF(x, at(c.colTps, k)));
        out.log[Converter].append(QPointF(x, at(c.colConverter, k)));
        out.log[Tab].append(QPointF(x, table ? table->GetPoint(maf) : 0));
        out.log[Marker].append(QPointF(x, at(c.colMarker, k)));
        out.log[Enrichment].append(QPointF(x, enrichmentPercent(at(c.colEnrichment, k))));
        out.log[Rpm].append(QPointF(x, at(c.colRpm, k)));
        out.log[O2].append(QPointF(x, o2));
        out.log[Corr].append(QPointF(x, at(c.colCorr, k)));
        out.log[Iat].append(QPointF(x, at(c.colIat, k)));
        out.log[Ect].append(QPointF(x, at(c.colEct, k)));
        out.log[O2sm].append(QPointF(x, o2sm));
        out.log[LogCorr].append(QPointF(x, at(c.colLogCorr, k)));
        out.o2[O2Raw].append(QPointF(x, o2));
        out.o2[O2Smooth].append(QPointF(x, o2sm));
    }
}

}  // namespace LogChartData
