#include "table.h"

#include "tablenumbers.h"

#include <QVarLengthArray>

#include <algorithm>

using namespace TableNumbers;

namespace {

int clampReading(int reading)
{
    return std::clamp(reading, 0, Table::CurveSize - 1);
}

QVarLengthArray<int, Table::CurveSize> readingsFlagged(const QList<int>& flags)
{
    QVarLengthArray<int, Table::CurveSize> readings;
    for (int i = 0; i < Table::CurveSize; ++i)
        if (flags[i] > 0)
            readings.append(i);
    return readings;
}

}  // namespace

void Table::Interpolate(int extrapolateFlag, int edited)
{
    // Straight lines between the anchored points of the curve.
    const auto anchors = readingsFlagged(marks);
    const int n = static_cast<int>(anchors.size());
    if (n >= 2) {
        double e = 0;
        for (int k = n - 1; k >= 1; --k) {
            const int lo = anchors[k - 1];
            const int hi = anchors[k];
            e = static_cast<double>(tab[hi] - tab[lo]) / (hi - lo);
            int end = hi;
            // Past the last anchor only when the edit was at or beyond it.
            if (k == n - 1 && hi != 255 && extrapolateFlag != 0 && anchors[n - 1] <= edited)
                end = CurveSize;
            for (int i = lo; i < end; ++i)
                tab[i] = clampByte(roundToInt(tab[lo] + e * (i - lo)));
        }
        // Below the first anchor, with the first segment's slope.
        const int first = anchors[0];
        if (edited != 0 && first >= edited && extrapolateFlag != 0) {
            for (int i = first, g = 0; i >= 0; --i, ++g)
                tab[i] = clampByte(roundToInt(tab[first] - g * e));
        }
    } else if (n == 1 && extrapolateFlag != 0 && anchors[0] > 0) {
        // One anchor: the line through output 0 at reading 0 and the
        // anchor. An anchor at reading 0 gives no slope and leaves the
        // curve as it is, like one anchor without extrapolation.
        const int only = anchors[0];
        const double e = static_cast<double>(tab[only]) / only;
        for (int i = only, g = 0; i >= 1; --i, ++g)
            tab[i] = clampByte(roundToInt(tab[only] - g * e));
        for (int i = only, g = 0; i < CurveSize; ++i, ++g)
            tab[i] = clampByte(roundToInt(tab[only] + g * e));
    }

    // Trained points follow the curve.
    for (int i = 0; i < CurveSize; ++i)
        if (trained[i] > 0)
            trained[i] = tab[i];

    // The trained curve between learned points: filled where both ends are
    // trained, emptied where neither is. Both ends are looked at afresh for
    // every j, so a change at lo counts for the rest of the segment.
    const auto learnedPoints = readingsFlagged(learned);
    for (qsizetype p = learnedPoints.size() - 1; p >= 1; --p) {
        const int lo = learnedPoints[p - 1];
        const int hi = learnedPoints[p];
        for (int j = lo; j < hi; ++j) {
            if (trained[lo] > 0 && trained[hi] > 0)
                trained[j] = tab[j];
            if (trained[lo] == 0 && trained[hi] == 0)
                trained[j] = 0;
        }
    }
}

void Table::FillOneToOne()
{
    recordOutsideChanges();
    for (int i = 0; i < CurveSize; ++i)
        tab[i] = i;
    std::fill(tab.begin() + IatFirst, tab.begin() + TableSize, 0);
    SettingsDefaults();
    SettingsToUi();
    RedrawTableChart();
    PushUndo();
}

void Table::SetInterpolationMode(bool pressed)
{
    recordOutsideChanges();
    marks.fill(0, TableSize);
    marks2.fill(0, TableSize);
    learned.fill(0, CurveSize);
    interpolate = pressed ? 1 : 0;
    PushUndo();
}

void Table::addAt(int index, int corr)
{
    // Added in 64 bits: a correction near the int range must not overflow.
    const long long sum = static_cast<long long>(tab[index]) + corr;
    tab[index] = static_cast<int>(std::clamp<long long>(sum, 0, 255));
}

void Table::applyAtPoint(int corr, int m)
{
    addAt(m, corr);
    trained[m] = tab[m];
    if (m > 0 && m < 255) {
        marks[m - 1] = 0;
        marks[m + 1] = 0;
    }
    marks[m] = Mark;
}

void Table::ApplyCorrection(int corr, int begin, int end, ApplyMode mode)
{
    recordOutsideChanges();
    int edited = clampReading(end);
    switch (mode) {
    case ApplyWindow:
        for (int i = std::max(begin, 0); i <= std::min(end, CurveSize - 1); ++i) {
            addAt(i, corr);
            trained[i] = tab[i];
            marks[i] = Mark;
            learned[i] = Mark;
        }
        // An empty window hands the correction itself on as the edited point.
        if (begin > end)
            edited = corr;
        break;
    case ApplyMiddle:
    case ApplyMin:
    case ApplyMax: {
        const int m = clampReading(roundToInt((static_cast<double>(begin) + end) / 2.0));
        applyAtPoint(corr, m);
        edited = m;
        if (mode == ApplyMin) {
            marks[0] = Mark;
            tab[0] = tab[m];
            trained[0] = tab[m];
        } else if (mode == ApplyMax) {
            for (int i : {254, 255}) {
                marks[i] = Mark;
                tab[i] = tab[m];
                trained[i] = tab[m];
            }
        }
        break;
    }
    }
    Interpolate(extrapolate, edited);
    PushUndo();
    RedrawTableChart();
}

void Table::StepCorrection(int corr, bool ect)
{
    recordOutsideChanges();
    const int reading = clampReading(ect ? ectValue : iatValue);
    const int cell = (ect ? EctFirst : IatFirst) + (reading >> 2);
    const long long v = std::clamp<long long>(static_cast<long long>(signedLowByte(tab[cell])) + corr,
                                              -CorrectionLimit, CorrectionLimit);
    tab[cell] = static_cast<int>(static_cast<unsigned>(v) & 0xFFu);
    PushUndo();
    RedrawTableChart();
}

void Table::ClearTrained(int begin, int end)
{
    recordOutsideChanges();
    for (int i = std::max(begin, 0); i <= std::min(end, CurveSize - 1); ++i) {
        trained[i] = 0;
        marks[i] = 0;
        learned[i] = 0;
    }
    PushUndo();
    RedrawTableChart();
}

void Table::setKickDownPoint(int index, bool on)
{
    if (index < 0 || index >= CurveSize)
        return;
    recordOutsideChanges();
    trained[index] = on ? tab[index] : 0;
    marks[index] = on ? tab[index] : 0;
    PushUndo();
    RedrawTableChart();
}
