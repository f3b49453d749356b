#include "o2gridview.h"

#include "o2refgrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>

QColor O2CellPainter::cellFill(int column, int row)
{
    const bool firstColumn = column == 0;
    const bool lastRow = row == O2RefGrid::LastRow;
    if (firstColumn && lastRow)
        return QColor::fromRgba(CornerColour);
    if (firstColumn)
        return QColor::fromRgba(TpsColumnColour);
    if (lastRow)
        return QColor::fromRgba(RpmRowColour);
    return {};
}

void O2CellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QColor fill = cellFill(index.column(), index.row());
    painter->save();
    QFont font = option.font;
    if (fill.isValid()) {
        painter->setOpacity(0.5);
        painter->fillRect(option.rect, fill);
        painter->setOpacity(1.0);
        font.setPointSize(10);
    } else {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        font.setPointSize(12);
    }
    painter->setFont(font);
    painter->setPen(Qt::black);
    painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

void AttachO2Grid(O2RefGrid& grid, QTableWidget* widget)
{
    widget->setColumnCount(O2RefGrid::ColumnCount);
    widget->setRowCount(O2RefGrid::RowCount);
    widget->horizontalHeader()->hide();
    widget->verticalHeader()->hide();
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setFrameShape(QFrame::NoFrame);
    const int rowHeight = widget->height() / O2RefGrid::RowCount;
    const int columnWidth = widget->width() / (O2RefGrid::ColumnCount + 1);
    widget->verticalHeader()->setMinimumSectionSize(1);
    widget->horizontalHeader()->setMinimumSectionSize(1);
    for (int row = 0; row < O2RefGrid::RowCount; ++row)
        widget->setRowHeight(row, rowHeight);
    for (int column = 0; column < O2RefGrid::ColumnCount; ++column)
        widget->setColumnWidth(column, columnWidth);
    widget->setFixedSize(O2RefGrid::ColumnCount * columnWidth, O2RefGrid::RowCount * rowHeight);
    widget->setItemDelegate(new O2CellPainter(widget));

    auto refresh = [&grid, widget] {
        const QSignalBlocker quiet(widget);
        for (int row = 0; row < O2RefGrid::RowCount; ++row)
            for (int column = 0; column < O2RefGrid::ColumnCount; ++column) {
                QTableWidgetItem* item = widget->item(row, column);
                if (!item) {
                    item = new QTableWidgetItem;
                    item->setTextAlignment(Qt::AlignCenter);
                    widget->setItem(row, column, item);
                }
                item->setText(grid.cell(column, row));
            }
    };
    refresh();
    grid.onChanged = refresh;
    QObject::connect(widget, &QTableWidget::itemChanged, widget, [&grid](QTableWidgetItem* item) {
        if (item->column() == 0 && item->row() == O2RefGrid::LastRow)
            return;  // the corner is never stored
        grid.setCell(item->column(), item->row(), item->text());
    });
}
