#include "filelistbox.h"

#include "theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QInputDevice>
#include <QScroller>

#include <algorithm>

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new FileItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setIconSize(QSize(IconSize, IconSize));
    setFocusPolicy(Qt::NoFocus);
    // On a touch screen a finger drags the list; a mouse still clicks and uses
    // the scroll bar. (Grabbing costs a recognizer Qt never frees, so only
    // where there is a touch screen.)
    const QList<const QInputDevice*> devices = QInputDevice::devices();
    const bool touchScreen = std::any_of(devices.begin(), devices.end(), [](const QInputDevice* device) {
        return device->type() == QInputDevice::DeviceType::TouchScreen;
    });
    if (touchScreen)
        QScroller::grabGesture(viewport(), QScroller::TouchGesture);
}

QListWidgetItem* FileListBox::addFile(const QString& name, const QIcon& icon)
{
    return addRow(name, icon, false);
}

QListWidgetItem* FileListBox::addFolder(const QString& name, const QIcon& icon)
{
    return addRow(name, icon, true);
}

bool FileListBox::isFolder(const QListWidgetItem* item)
{
    return item && item->data(FolderRole).toBool();
}

QListWidgetItem* FileListBox::addRow(const QString& name, const QIcon& icon, bool folder)
{
    auto* item = new QListWidgetItem(icon, name);
    QFont font = item->font();
    font.setPointSize(16);
    item->setFont(font);
    item->setData(FolderRole, folder);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setSizeHint(QSize(0, ItemHeight));
    addItem(item);
    return item;
}

void FileListBox::mousePressEvent(QMouseEvent* event)
{
    pressedIndex = indexAt(event->position().toPoint());
    QListWidget::mousePressEvent(event);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press of a double click on a folder has already entered it and
    // refilled the list. The second must not land on whatever row of the new
    // folder now lies under the finger, so it is dropped unless it hits the
    // same file item the first press chose.
    const QModelIndex index = indexAt(event->position().toPoint());
    QListWidgetItem* item = itemFromIndex(index);
    event->accept();
    if (!item || !pressedIndex.isValid() || index != pressedIndex || isFolder(item) || item != currentItem())
        return;
    emit fileDoubleClicked(item);
}

void FileItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF row = QRectF(option.rect).adjusted(4, 2, -4, -2);
    const bool selected = option.state & QStyle::State_Selected;
    const bool folder = index.data(FileListBox::FolderRole).toBool();

    QPainterPath shape;
    shape.addRoundedRect(row, 8, 8);
    if (selected) {
        QLinearGradient fill(row.topLeft(), row.bottomLeft());
        fill.setColorAt(0, QColor(0x2c, 0x5f, 0xa8));
        fill.setColorAt(1, QColor(0x1d, 0x3f, 0x73));
        painter->fillPath(shape, fill);
        painter->setPen(QPen(Theme::Accent, 1.5));
        painter->drawPath(shape);
    } else {
        painter->fillPath(shape, Theme::Panel);
    }

    const int iconSide = FileListBox::IconSize;
    const QRect iconRect(option.rect.left() + 14, option.rect.center().y() - iconSide / 2 + 1, iconSide, iconSide);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull())
        icon.paint(painter, iconRect);

    const int arrowSpace = folder ? 34 : 12;
    QRect textRect = option.rect.adjusted(14 + iconSide + 14, 0, -arrowSpace, 0);
    QFont font = index.data(Qt::FontRole).value<QFont>();
    painter->setFont(font);
    painter->setPen(selected ? QColor(Qt::white) : Theme::Text);
    const QString text = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle,
                                                       textRect.width());
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);

    if (folder) {
        // The "more" arrow.
        const QPointF c(option.rect.right() - 20, option.rect.center().y() + 1);
        painter->setPen(QPen(selected ? Theme::Accent : Theme::MutedText, 3, Qt::SolidLine, Qt::RoundCap,
                             Qt::RoundJoin));
        const QPointF chevron[] = {c + QPointF(-4, -8), c + QPointF(4, 0), c + QPointF(-4, 8)};
        painter->drawPolyline(chevron, 3);
    }
    painter->restore();
}

QSize FileItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), FileListBox::ItemHeight);
}
