#pragma once

#include "connectionmemo.h"
#include "settingsboxes.h"

#include <array>

class QDoubleSpinBox;
class QPlainTextEdit;

// The connection memo as the link sees it: the dashboard's TextConnection.
class TextConnectionMemo : public ConnectionMemo {
public:
    explicit TextConnectionMemo(QPlainTextEdit* memo) : memo(memo) {}
    QString text() const override;
    // The memo's change handler then moves the caret to the end.
    void setText(const QString& text) override;

private:
    QPlainTextEdit* memo;
};

// The table page's eight setting boxes as the table store reads and writes
// them: by their texts, in the person's locale.
class SpinSettingsBoxes : public SettingsBoxes {
public:
    // In the order of SettingsBoxes::Box.
    explicit SpinSettingsBoxes(const std::array<QDoubleSpinBox*, Count>& boxes) : boxes(boxes) {}
    QString text(Box box) const override;
    // A text that is not a number leaves the box as it is.
    void setText(Box box, const QString& text) override;

private:
    std::array<QDoubleSpinBox*, Count> boxes;
};

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>

#include <functional>

// A short tap on a widget that has no click of its own (a chart): press and
// release close together in place and time, so neither a drag that zooms nor
// a long tap counts.
class TapFilter : public QObject {
public:
    static constexpr int MaxMovement = 4;
    static constexpr int MaxMs = 500;

    TapFilter(QWidget* target, std::function<void()> onTap);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> tapped;
    QPoint pressedAt;
    QElapsedTimer pressTime;
};

// A press on a widget that should act as a button although it is a display
// (the throttle gauge's angle box): every mouse press on it or its inner
// widgets runs `onPress` and goes no further, so the widget itself takes
// neither the press nor the focus.
class PressFilter : public QObject {
public:
    PressFilter(QWidget* target, std::function<void()> onPress);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> pressed;
};
