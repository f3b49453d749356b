#pragma once

#include <QColor>
#include <QVariantAnimation>

#include <functional>

class QTimer;
class QWidget;
class RoundButton;
class ButtonText;

// The window's animations: a click starts one ("enables" it), and the command
// waits for its finish. Enabling an animation that is already running, or
// still waiting out its start delay, does nothing, so a second click during
// the animation is ignored and the command runs once.
class FormAnimation : public QVariantAnimation {
    Q_OBJECT
public:
    explicit FormAnimation(QObject* parent, const QString& name, int durationMs = 300);

    // What the animation moves: a function applying each value, and the value
    // to put back when it is stopped (an invalid QVariant keeps the last one).
    void setApply(std::function<void(const QVariant&)> apply, const QVariant& restore = {});

    int Tag = 0;
    void setDelay(int ms) { delayMs = ms; }
    int delay() const { return delayMs; }

    // Starts after the delay unless already enabled; false when ignored.
    bool Enable();
    // Stops at once, cancels a pending start and puts the restore value back.
    void Disable();
    bool Enabled() const;

    // Builders for the kinds the window uses.
    static FormAnimation* textColour(ButtonText* text, const QString& name, QColor to = Qt::black,
                                     int ms = 300);
    static FormAnimation* picture(RoundButton* button, const QString& name, int ms = 300);
    static FormAnimation* fill(RoundButton* button, const QString& name, QColor from, QColor to, int ms);
    static FormAnimation* opacity(QWidget* widget, const QString& name, double from, double to, int ms);

signals:
    // The animation ran to its end; the handler decides by Tag what to do.
    void Finish(FormAnimation* animation);

protected:
    void updateCurrentValue(const QVariant& value) override;

private:
    std::function<void(const QVariant&)> applyValue;
    QVariant restoreValue;
    QTimer* delayTimer = nullptr;
    int delayMs = 0;
};

// Opacity of a widget through its own opacity effect (1 when it has none).
// From 0.95 up the widget is drawn opaque.
double widgetOpacity(const QWidget* widget);
void setWidgetOpacity(QWidget* widget, double opacity);
