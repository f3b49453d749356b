#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class StateReader;

// The reference oxygen values for automatic correction and the throttle
// sensor's calibration range. 15 columns by 100 rows of decimal texts:
// column 0 of rows 0..98 holds the TPS % thresholds, row 99 columns 1..14
// the RPM thresholds, the rest the reference values; the corner (column 0,
// row 99) is never stored or filled. The grid widget on the oxygen panel
// shows these texts and writes edits back.
class O2RefGrid {
public:
    static constexpr int ColumnCount = 15;
    static constexpr int RowCount = 100;
    static constexpr int LastRow = RowCount - 1;
    static constexpr int StoredCells = ColumnCount * RowCount - 1;

    O2RefGrid();

    qint32 TpsMin = 0;
    qint32 TpsMax = 255;

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // Every value cell := value; column 0 of row r := topTps - r * (topTps div 99);
    // row 99 column c := c * (topRpm div 14).
    void FillO2Defaults(int value, int topRpm, int topTps);
    // Every value cell := value; the axis cells stay.
    void FillO2Cells(int value);

    // TpsMin, TpsMax and the 1499 cells, each as 16-bit big-endian.
    void WriteO2RefGrid(QByteArray& out) const;
    // Reads the same; throws StateReadError on a short input. Cells read
    // before the error keep their new texts.
    void ReadO2RefGrid(StateReader& in);

    // Called after any change of the cells, so a view can redraw.
    std::function<void()> onChanged;

private:
    static bool isCorner(int column, int row) { return column == 0 && row == LastRow; }
    void changed() const;

    QList<QString> cells;  // row by row
};
