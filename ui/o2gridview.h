#pragma once

#include <QStyledItemDelegate>

class O2RefGrid;
class QTableWidget;

// Paints the oxygen reference grid: the TPS column and the RPM row tinted,
// the corner grey, the values in larger text.
class O2CellPainter : public QStyledItemDelegate {
public:
    static constexpr quint32 TpsColumnColour = 0xFF960BC2;
    static constexpr quint32 RpmRowColour = 0xFF6495ED;
    static constexpr quint32 CornerColour = 0xFF808080;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The fill of a cell, invalid for a value cell (drawn on the grid's background).
    static QColor cellFill(int column, int row);
};

// Binds the grid widget to the record: rows as tall as the widget's height
// shared by the rows, columns as wide as its width shared by one more than
// the columns, the widget resized to fit them exactly, the painter
// installed. The widget shows the record's texts and writes edits back.
void AttachO2Grid(O2RefGrid& grid, QTableWidget* widget);
