#include "formanimation.h"

#include "roundbutton.h"

#include <QGraphicsOpacityEffect>
#include <QTimer>
#include <QWidget>

FormAnimation::FormAnimation(QObject* parent, const QString& name, int durationMs)
    : QVariantAnimation(parent), delayTimer(new QTimer(this))
{
    setObjectName(name);
    setDuration(durationMs);
    setStartValue(0.0);
    setEndValue(1.0);
    delayTimer->setSingleShot(true);
    connect(delayTimer, &QTimer::timeout, this, [this] { start(); });
    connect(this, &QAbstractAnimation::finished, this, [this] { emit Finish(this); });
}

void FormAnimation::setApply(std::function<void(const QVariant&)> apply, const QVariant& restore)
{
    applyValue = std::move(apply);
    restoreValue = restore;
}

bool FormAnimation::Enable()
{
    if (Enabled())
        return false;
    if (delayMs > 0)
        delayTimer->start(delayMs);
    else
        start();
    return true;
}

void FormAnimation::Disable()
{
    delayTimer->stop();
    stop();
    if (applyValue && restoreValue.isValid())
        applyValue(restoreValue);
}

bool FormAnimation::Enabled() const
{
    return delayTimer->isActive() || state() == QAbstractAnimation::Running;
}

void FormAnimation::updateCurrentValue(const QVariant& value)
{
    if (applyValue)
        applyValue(value);
}

FormAnimation* FormAnimation::textColour(ButtonText* text, const QString& name, QColor to, int ms)
{
    auto* a = new FormAnimation(text, name, ms);
    const QColor from = text->textColour();
    a->setStartValue(from);
    a->setEndValue(to);
    a->setApply([text](const QVariant& v) { text->setTextColour(v.value<QColor>()); }, from);
    return a;
}

FormAnimation* FormAnimation::picture(RoundButton* button, const QString& name, int ms)
{
    auto* a = new FormAnimation(button, name, ms);
    // The second picture shows while the animation runs, the first before and after.
    a->setApply([button, a](const QVariant&) { button->setAlternatePicture(a->state() == Running); }, 0.0);
    return a;
}

FormAnimation* FormAnimation::fill(RoundButton* button, const QString& name, QColor from, QColor to, int ms)
{
    auto* a = new FormAnimation(button, name, ms);
    a->setStartValue(from);
    a->setEndValue(to);
    a->setApply([button](const QVariant& v) { button->setFillColour(v.value<QColor>()); });
    return a;
}

FormAnimation* FormAnimation::opacity(QWidget* widget, const QString& name, double from, double to, int ms)
{
    auto* a = new FormAnimation(widget, name, ms);
    a->setStartValue(from);
    a->setEndValue(to);
    a->setApply([widget](const QVariant& v) { setWidgetOpacity(widget, v.toDouble()); });
    return a;
}

double widgetOpacity(const QWidget* widget)
{
    const QVariant value = widget->property("formOpacity");
    return value.isValid() ? value.toDouble() : 1.0;
}

void setWidgetOpacity(QWidget* widget, double opacity)
{
    widget->setProperty("formOpacity", opacity);
    // An effect renders the widget through an off-screen copy, which scroll
    // areas inside it do not survive; a (nearly) opaque widget has none and
    // draws directly.
    if (opacity >= 0.95) {
        if (widget->graphicsEffect())
            widget->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}
