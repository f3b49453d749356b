// Hot keys: they act on whichever page is shown while the window has the
// keyboard. Enter, the arrows and Space go no further; other typed
// characters do.
#include "tabbedform.h"

#include "correctioncontrols.h"
#include "dashboardpage.h"
#include "formanimation.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>

#include <cmath>

namespace {

// A key event the window let through: if its receiver ignores it, Qt hands
// the same event to the parents, and the application filter sees it again.
// Any other event in between ends that hand-over.
const QEvent* passedKeyEvent = nullptr;

}  // namespace

bool TTabbedForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event != passedKeyEvent)
        passedKeyEvent = nullptr;
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || event == passedKeyEvent)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool consumed = type == QEvent::KeyPress ? FormKeyDown(key->key(), key->text(), key->isAutoRepeat())
                                                   : FormKeyUp(key->key(), key->text(), key->isAutoRepeat());
    if (consumed)
        return true;
    // Space is the marker and nothing else: the control with the focus (a
    // button clicked last, a switch, a box) must not be pressed or toggled
    // by it, or marking an event during a drive would change the table.
    if (key->key() == Qt::Key_Space || key->text() == QLatin1String(" "))
        return true;
    passedKeyEvent = event;
    return false;
}

void TTabbedForm::setMarker(bool held)
{
    CorrectionControls* c = Dash->Correction;
    if (held)
        c->Marker_rectMouseDown();
    else
        c->setMarkerReleased(0xFF041C51, 0xFF484F6E);
}

bool TTabbedForm::FormKeyDown(int key, const QString& typed, bool)
{
    CorrectionControls* c = Dash->Correction;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        c->DashApplyToTable_ani->Enable();
        return true;
    case Qt::Key_Up:
        c->Corr_numbox->setValue(c->Corr_numbox->value() + 1);
        return true;
    case Qt::Key_Down:
        c->Corr_numbox->setValue(c->Corr_numbox->value() - 1);
        return true;
    default:
        break;
    }
    if (typed.size() != 1)
        return false;
    switch (typed.at(0).toLower().unicode()) {
    case ' ': setMarker(true); break;
    case 'a': DashAutoRectClick(); break;
    case 'e': ClearTrainedAll_sbtnClick(); break;
    case 'i':
    case 'o':
        StepCorrection(static_cast<int>(std::trunc(c->Corr_numbox->value())), typed.at(0).toLower() == 'o');
        c->Corr_numbox->setValue(0);
        SendSettingsAndTable();
        break;
    case 'q': c->Corr_numbox->setValue(0); break;
    case 'r': ResetConverter(); break;
    case 's': StartStop_rectClick(); break;
    case 'w': ClearTrainedInWindow_sbtnClick(); break;
    default: break;
    }
    return false;
}

bool TTabbedForm::FormKeyUp(int, const QString& typed, bool autoRepeat)
{
    // A held space bar repeats press and release; only the real release ends the marker.
    if (typed == QLatin1String(" ") && !autoRepeat)
        setMarker(false);
    return false;
}
