#include "tablechartdata.h"

#include "table.h"

namespace TableChartData {

namespace {

// value() reads 0 past the end, so an array cut short from outside draws
// zeros instead of reading out of bounds.
QList<QPointF> run(const QList<int>& values, int first, int count, int xStep)
{
    QList<QPointF> points;
    points.reserve(count);
    for (int k = 0; k < count; ++k)
        points.append(QPointF(percent(k * xStep), percent(values.value(first + k))));
    return points;
}

}  // namespace

QList<QPointF> curve(const Table& table)
{
    return run(table.tab, 0, Table::CurveSize, 1);
}

QList<QPointF> trained(const Table& table)
{
    return run(table.trained, 0, Table::CurveSize, 1);
}

QList<QPointF> correctionCells(const Table& table, int first)
{
    return run(table.tab, first, Table::CorrectionCells, 4);
}

}  // namespace TableChartData
