#pragma once

#include <QList>
#include <QPointF>

class Table;

// What the two table charts plot, in chart units: a raw 8-bit value v is
// drawn at v * 100 / 255 (percent of full scale) on both axes. Each list
// goes into its series in one replace(), never point by point.
namespace TableChartData {

inline double percent(double raw)
{
    return raw * 100.0 / 255.0;
}

// (i, tab[i]) for the 256 curve points.
QList<QPointF> curve(const Table& table);
// (i, trained[i]) for the 256 curve points, zero entries included.
QList<QPointF> trained(const Table& table);
// (4k, tab[first + k]) for the 64 cells of the IAT or ECT correction, the
// stored integer unchanged.
QList<QPointF> correctionCells(const Table& table, int first);

}  // namespace TableChartData
