#include "filebrowsericons.h"

#include "theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int Side = 96;  // drawn once at this size; QIcon scales down

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

// A sheet of paper with a folded corner, in the given colour.
void drawSheet(QPainter& p, const QColor& colour)
{
    QPainterPath sheet;
    sheet.moveTo(20, 8);
    sheet.lineTo(60, 8);
    sheet.lineTo(78, 26);
    sheet.lineTo(78, 84);
    sheet.quadTo(78, 88, 74, 88);
    sheet.lineTo(22, 88);
    sheet.quadTo(18, 88, 18, 84);
    sheet.lineTo(18, 12);
    sheet.quadTo(18, 8, 22, 8);
    sheet.closeSubpath();
    QLinearGradient fill(0, 8, 0, 88);
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour.darker(140));
    p.setPen(QPen(colour.lighter(150), 2.5));
    p.setBrush(fill);
    p.drawPath(sheet);

    QPainterPath corner;
    corner.moveTo(60, 8);
    corner.lineTo(60, 26);
    corner.lineTo(78, 26);
    corner.closeSubpath();
    p.setBrush(colour.lighter(170));
    p.drawPath(corner);
}

}  // namespace

QIcon FileBrowserIcons::folder()
{
    return drawn([](QPainter& p) {
        const QColor amber = Theme::Accent;
        QPainterPath back;
        back.moveTo(8, 22);
        back.quadTo(8, 16, 14, 16);
        back.lineTo(36, 16);
        back.lineTo(44, 24);
        back.lineTo(82, 24);
        back.quadTo(88, 24, 88, 30);
        back.lineTo(88, 78);
        back.quadTo(88, 84, 82, 84);
        back.lineTo(14, 84);
        back.quadTo(8, 84, 8, 78);
        back.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(amber.darker(150));
        p.drawPath(back);

        QLinearGradient front(0, 34, 0, 84);
        front.setColorAt(0, amber.lighter(115));
        front.setColorAt(1, amber.darker(115));
        p.setBrush(front);
        p.drawRoundedRect(QRectF(8, 34, 80, 50), 6, 6);
    });
}

QIcon FileBrowserIcons::logFile()
{
    return drawn([](QPainter& p) {
        drawSheet(p, QColor(0x2f, 0x7f, 0xb8));
        // A trace over the sheet, as the log chart draws it.
        p.setPen(QPen(QColor(0x9c, 0xf0, 0x7a), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const QPointF trace[] = {{26, 72}, {38, 54}, {48, 62}, {60, 40}, {70, 48}};
        p.drawPolyline(trace, 5);
    });
}

QIcon FileBrowserIcons::tableFile()
{
    return drawn([](QPainter& p) {
        drawSheet(p, QColor(0x3a, 0x8c, 0x5c));
        // A grid of cells.
        p.setPen(QPen(QColor(0xe6, 0xf5, 0xe9), 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(28, 40, 40, 36));
        p.drawLine(QPointF(28, 52), QPointF(68, 52));
        p.drawLine(QPointF(28, 64), QPointF(68, 64));
        p.drawLine(QPointF(41, 40), QPointF(41, 76));
        p.drawLine(QPointF(55, 40), QPointF(55, 76));
    });
}

QIcon FileBrowserIcons::back()
{
    // An arrow turning up and back: one folder up. At the root it fades with
    // its button, plainly out of use.
    const auto arrow = [](const QColor& colour) {
        return drawn([colour](QPainter& p) {
            p.setPen(QPen(colour, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            QPainterPath path;
            path.moveTo(80, 78);
            path.lineTo(80, 54);
            path.quadTo(80, 40, 66, 40);
            path.lineTo(22, 40);
            p.drawPath(path);
            const QPointF head[] = {{40, 20}, {20, 40}, {40, 60}};
            p.drawPolyline(head, 3);
        });
    };
    QIcon icon = arrow(Theme::Text);
    icon.addPixmap(arrow(QColor(0x4d, 0x58, 0x66)).pixmap(Side, Side), QIcon::Disabled);
    return icon;
}

QIcon FileBrowserIcons::trash()
{
    return drawn([](QPainter& p) {
        const QColor red(0xff, 0x6b, 0x5e);
        p.setPen(QPen(red, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(16, 24), QPointF(80, 24));
        p.drawLine(QPointF(38, 24), QPointF(40, 12));
        p.drawLine(QPointF(40, 12), QPointF(56, 12));
        p.drawLine(QPointF(56, 12), QPointF(58, 24));
        QPainterPath bin;
        bin.moveTo(24, 32);
        bin.lineTo(29, 84);
        bin.lineTo(67, 84);
        bin.lineTo(72, 32);
        p.drawPath(bin);
        p.drawLine(QPointF(40, 44), QPointF(41, 72));
        p.drawLine(QPointF(56, 44), QPointF(55, 72));
    });
}
