#pragma once

#include <QListWidget>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

// The browser's list: tall touch rows with an icon, the name and, on a
// folder, an arrow saying that pressing it goes inside.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 50;
    static constexpr int IconSize = 34;
    // Set on folder items: they carry the arrow and enter on a press.
    static constexpr int FolderRole = Qt::UserRole + 1;

    explicit FileListBox(QWidget* parent = nullptr);

    QListWidgetItem* addFile(const QString& name, const QIcon& icon);
    QListWidgetItem* addFolder(const QString& name, const QIcon& icon);
    static bool isFolder(const QListWidgetItem* item);

signals:
    // A double click on a file item; folders enter on their first press.
    void fileDoubleClicked(QListWidgetItem* item);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QListWidgetItem* addRow(const QString& name, const QIcon& icon, bool folder);
    // The row the last press hit; it goes invalid when the list is refilled.
    QPersistentModelIndex pressedIndex;
};

// Paints one row of the list.
class FileItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
