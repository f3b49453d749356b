#pragma once

#include <QColor>
#include <QObject>

class FormAnimation;
class RoundButton;
class QWidget;

// An options panel that a button opens and closes: the button's picture
// animation runs first, then the panel fades in (the button blinking while
// the panel is open) or fades out (then hides, and the button gets its
// gradient back).
class OptionsPanel : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 BlinkColour = 0xFFFA2E2E;

    OptionsPanel(QWidget* panel, RoundButton* button, FormAnimation* pictureAnimation, const QString& fadeName,
                 const QString& blinkName, double openOpacity, QColor restoreTop, QColor restoreBottom);

    QWidget* const panel;
    RoundButton* const button;
    FormAnimation* const pictureAnimation;
    FormAnimation* fade;
    FormAnimation* blink;

public slots:
    // The button's picture animation finished.
    void pictureFinished();
    // The fade finished.
    void fadeFinished();

private:
    double openOpacity;
    QColor restoreTop;
    QColor restoreBottom;
};
