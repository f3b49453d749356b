#include "o2refgrid.h"

#include "integerprefix.h"
#include "statereader.h"

namespace {

void appendBigEndian16(QByteArray& out, quint16 value)
{
    out.append(static_cast<char>(value >> 8));
    out.append(static_cast<char>(value & 0xFF));
}

}  // namespace

O2RefGrid::O2RefGrid() : cells(ColumnCount * RowCount) {}

QString O2RefGrid::cell(int column, int row) const
{
    return cells.at(row * ColumnCount + column);
}

void O2RefGrid::setCell(int column, int row, const QString& text)
{
    cells[row * ColumnCount + column] = text;
}

void O2RefGrid::FillO2Defaults(int value, int topRpm, int topTps)
{
    FillO2Cells(value);
    for (int row = 0; row < LastRow; ++row)
        setCell(0, row, QString::number(topTps - row * (topTps / 99)));
    for (int column = 1; column < ColumnCount; ++column)
        setCell(column, LastRow, QString::number(column * (topRpm / 14)));
    changed();
}

void O2RefGrid::FillO2Cells(int value)
{
    const QString text = QString::number(value);
    for (int row = 0; row < LastRow; ++row)
        for (int column = 1; column < ColumnCount; ++column)
            setCell(column, row, text);
    changed();
}

void O2RefGrid::WriteO2RefGrid(QByteArray& out) const
{
    appendBigEndian16(out, static_cast<quint16>(TpsMin));
    appendBigEndian16(out, static_cast<quint16>(TpsMax));
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < ColumnCount; ++column)
            if (!isCorner(column, row))
                appendBigEndian16(out, integerPrefixLow16(cell(column, row)));
}

void O2RefGrid::ReadO2RefGrid(StateReader& in)
{
    // Keep what was read even when the input ends early.
    struct NotifyOnExit {
        const O2RefGrid& grid;
        ~NotifyOnExit() { grid.changed(); }
    } notify{*this};

    TpsMin = in.readBigEndian16();
    TpsMax = in.readBigEndian16();
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < ColumnCount; ++column)
            if (!isCorner(column, row))
                setCell(column, row, QString::number(in.readBigEndian16()));
}

void O2RefGrid::changed() const
{
    if (onChanged)
        onChanged();
}
