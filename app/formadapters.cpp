#include "formadapters.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <cmath>

QString TextConnectionMemo::text() const
{
    return memo->toPlainText();
}

void TextConnectionMemo::setText(const QString& text)
{
    memo->setPlainText(text);
}

QString SpinSettingsBoxes::text(Box box) const
{
    return boxes[static_cast<std::size_t>(box)]->cleanText();
}

void SpinSettingsBoxes::setText(Box box, const QString& text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (ok && std::isfinite(value))
        boxes[static_cast<std::size_t>(box)]->setValue(value);
}

TapFilter::TapFilter(QWidget* target, std::function<void()> onTap) : QObject(target), tapped(std::move(onTap))
{
    target->installEventFilter(this);
}

bool TapFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        pressedAt = static_cast<QMouseEvent*>(event)->position().toPoint();
        pressTime.start();
    } else if (event->type() == QEvent::MouseButtonRelease && pressTime.isValid()) {
        const QPoint moved = static_cast<QMouseEvent*>(event)->position().toPoint() - pressedAt;
        const bool tap = moved.manhattanLength() <= MaxMovement && pressTime.elapsed() <= MaxMs;
        pressTime.invalidate();
        if (tap && tapped)
            tapped();
    }
    return QObject::eventFilter(watched, event);
}

PressFilter::PressFilter(QWidget* target, std::function<void()> onPress) : QObject(target), pressed(std::move(onPress))
{
    target->setFocusPolicy(Qt::NoFocus);
    target->installEventFilter(this);
    for (QWidget* inner : target->findChildren<QWidget*>()) {
        inner->setFocusPolicy(Qt::NoFocus);
        inner->installEventFilter(this);
    }
}

bool PressFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (pressed)
            pressed();
        return true;
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
