#include "optionspanel.h"

#include "formanimation.h"
#include "roundbutton.h"

#include <QCoreApplication>
#include <QWidget>

OptionsPanel::OptionsPanel(QWidget* panelWidget, RoundButton* owner, FormAnimation* picture, const QString& fadeName,
                           const QString& blinkName, double open, QColor top, QColor bottom)
    : QObject(panelWidget), panel(panelWidget), button(owner), pictureAnimation(picture), openOpacity(open),
      restoreTop(top), restoreBottom(bottom)
{
    fade = FormAnimation::opacity(panel, fadeName, 0.0, openOpacity, 300);
    // White to red and back, half a second each way, until the panel closes.
    blink = new FormAnimation(button, blinkName, 1000);
    blink->setKeyValueAt(0.0, QColor(Qt::white));
    blink->setKeyValueAt(0.5, QColor::fromRgba(BlinkColour));
    blink->setKeyValueAt(1.0, QColor(Qt::white));
    blink->setLoopCount(-1);
    blink->setApply([this](const QVariant& v) { button->setFillColour(v.value<QColor>()); });
    setWidgetOpacity(panel, 0.0);
    panel->hide();
    connect(pictureAnimation, &FormAnimation::Finish, this, &OptionsPanel::pictureFinished);
    connect(fade, &FormAnimation::Finish, this, &OptionsPanel::fadeFinished);
}

void OptionsPanel::pictureFinished()
{
    pictureAnimation->Disable();
    if (!panel->isHidden()) {
        fade->setStartValue(openOpacity);
        fade->setEndValue(0.0);
        fade->Enable();
        return;
    }
    blink->Enable();
    panel->show();
    panel->raise();
    fade->setStartValue(0.0);
    fade->setEndValue(openOpacity);
    fade->Enable();
}

void OptionsPanel::fadeFinished()
{
    fade->Disable();
    if (fade->endValue().toDouble() > 0.0)
        return;
    panel->hide();
    blink->Disable();
    QCoreApplication::processEvents();
    button->setFillGradient(restoreTop, restoreBottom);
}
