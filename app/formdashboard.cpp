// The dashboard: set-up panels, correction controls, start/stop, and the
// reactions to the bus.
#include "tabbedform.h"

#include "correctioncontrols.h"
#include "formadapters.h"
#include "dashboardpage.h"
#include "formanimation.h"
#include "formtexts.h"
#include "messages.h"
#include "o2refgrid.h"
#include "otherpages.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "tablepage.h"
#include "table.h"
#include "trxtx.h"
#include "voltmeter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>

#include <cmath>
#include <exception>

void TTabbedForm::wireDashboard()
{
    CorrectionControls* c = Dash->Correction;
    connect(Dash->TPS_layout->OxBase_rect, &RoundButton::clicked, this, &TTabbedForm::OxBase_rectClick);
    connect(Dash->TPS_layout->Ox_ani, &FormAnimation::Finish, this, &TTabbedForm::Ox_aniFinish);
    connect(Dash->Throttle_rect, &RoundButton::clicked, this, &TTabbedForm::Throttle_rectClick);
    // The angle number lies over the gauge; a press on it opens the panel too.
    new PressFilter(Dash->TPSAngle_numbox, [this] { Throttle_rectClick(); });
    connect(Dash->Throttle_ani, &FormAnimation::Finish, this, &TTabbedForm::Throttle_aniFinish);
    connect(c->CorrSetup_rect, &RoundButton::clicked, this, &TTabbedForm::CorrSetup_rectClick);
    connect(c->Corr_btn, &QPushButton::clicked, this, &TTabbedForm::CorrSetup_rectClick);
    connect(c->CorrSetup_ani, &FormAnimation::Finish, this, &TTabbedForm::CorrSetup_aniFinish);
    for (QPushButton* b : {Dash->TPS_Setup_layout->Button4, Dash->Oxygen_Sensor_layout->BtnOkClosesView,
                           Dash->Corr_Setup_layout->Button6, Dash->Oxygen_Sensor_layout->OsTest_btn})
        connect(b, &QPushButton::clicked, this, &TTabbedForm::BtnOkClosesViewClick);

    // Choosing a sensor type fills the reference grid with its default value.
    // (Loading the state sets the box with its signals blocked: the grid
    // read from the file wins.)
    connect(Dash->Oxygen_Sensor_layout->ComboBoxO2, &QComboBox::currentIndexChanged, this,
            &TTabbedForm::ComboBoxO2Change);
    connect(Dash->Oxygen_Sensor_layout->FillO2RefGrid_btn, &QPushButton::clicked, this, [this] {
        O2RefGrid->FillO2Cells(static_cast<int>(std::trunc(Dash->Oxygen_Sensor_layout->O2Ref_numbox->value())));
    });
    connect(Tab->SmoothTps_nb, &QDoubleSpinBox::valueChanged, this, &TTabbedForm::SmoothTps_nbChange);
    connect(c->KickDown_switch, &QCheckBox::clicked, this, &TTabbedForm::KickDown_switchClick);
    connect(Dash->StartStop_rect, &RoundButton::clicked, this, &TTabbedForm::StartStop_rectClick);
    connect(Dash->GStartStop_rct, &RoundButton::clicked, this, &TTabbedForm::StartStop_rectClick);
    connect(c->DashAutoRect, &RoundButton::clicked, this, &TTabbedForm::DashAutoRectClick);
    connect(Dash->Corr_Setup_layout->ComboBoxAutoCorrType, &QComboBox::currentIndexChanged, this,
            &TTabbedForm::ComboBoxAutoCorrTypeChange);
    connect(c->DashApplyToTable_rect, &RoundButton::clicked, this, &TTabbedForm::DashApplyToTable_rectClick);
    connect(c->DashApplyToTable_ani, &FormAnimation::Finish, this, &TTabbedForm::DashApplyToTable_aniFinish);
    connect(c, &CorrectionControls::correctionNumberChanged, this, &TTabbedForm::Corr_numboxChange);
    connect(c, &CorrectionControls::correctionWindowChanged, this,
            &TTabbedForm::TrackBarMafChange);
    connect(c, &CorrectionControls::markerHeldChanged, this, &TTabbedForm::SetMarkerHeld);
    connect(c->ClearTrainedInWindow_sbtn, &QPushButton::clicked, this, &TTabbedForm::ClearTrainedInWindow_sbtnClick);
    connect(c->ClearTrainedAll_sbtn, &QPushButton::clicked, this, &TTabbedForm::ClearTrainedAll_sbtnClick);
    connect(Dash->TextConnection, &QPlainTextEdit::textChanged, this, &TTabbedForm::TextConnectionChange);
}

void TTabbedForm::ComboBoxO2Change(int index)
{
    switch (index) {
    case 0:
    case 2:
        O2RefGrid->FillO2Cells(25);
        break;
    case 1:
    case 3:
        O2RefGrid->FillO2Cells(147);
        break;
    default:
        break;
    }
}

void TTabbedForm::openSetupPanelAnimation(FormAnimation* animation)
{
    animation->Tag = 1;
    animation->setDelay(0);
    animation->Enable();
}

void TTabbedForm::OxBase_rectClick()
{
    openSetupPanelAnimation(Dash->TPS_layout->Ox_ani);
}

void TTabbedForm::Ox_aniFinish()
{
    FormAnimation* a = Dash->TPS_layout->Ox_ani;
    a->Disable();
    if (a->Tag != 1)
        return;
    Dash->Oxygen_Sensor_layout->open();
    Dash->Oxygen_Sensor_layout->StringGrid2->setFocus();
}

void TTabbedForm::Throttle_rectClick()
{
    openSetupPanelAnimation(Dash->Throttle_ani);
}

void TTabbedForm::Throttle_aniFinish()
{
    FormAnimation* a = Dash->Throttle_ani;
    a->Disable();
    if (a->Tag != 1)
        return;
    Dash->TPS_Setup_layout->open();
    showReferenceMode();
}

void TTabbedForm::CorrSetup_rectClick()
{
    openSetupPanelAnimation(Dash->Correction->CorrSetup_ani);
}

void TTabbedForm::CorrSetup_aniFinish()
{
    FormAnimation* a = Dash->Correction->CorrSetup_ani;
    a->Disable();
    if (a->Tag != 1)
        return;
    Dash->Corr_Setup_layout->open();
}

void TTabbedForm::BtnOkClosesViewClick()
{
    Dash->Oxygen_Sensor_layout->close();
    Dash->TPS_Setup_layout->close();
    Dash->Corr_Setup_layout->close();
}

void TTabbedForm::SmoothTps_nbChange(double value)
{
    Dash->Throttle_img->setRotation(2 * value);
    Dash->TPSAngle_numbox->setValue(value / 2);
}

void TTabbedForm::KickDown_switchClick()
{
    SetKickDownPoint(Dash->Correction->KickDown_switch->isChecked());
}

bool TTabbedForm::loggingRuns() const
{
    return !Dash->Stop_img->isHidden();
}

void TTabbedForm::StartStop_rectClick()
{
    if (!converterConnected()) {
        messages().showMessage(QString::fromUtf8(FormTexts::NotConnected));
        return;
    }
    if (!Dash->Start_img->isHidden()) {
        Dash->Start_img->hide();
        Dash->GStart_img->hide();
        Dash->Stop_img->show();
        Dash->GStop_img->show();
        CopyStoredValuesToLogger();
        TMsgStartLog start;
        start.o2SensorType = Dash->Oxygen_Sensor_layout->ComboBoxO2->currentIndex();
        Broadcaster->Broadcast(start);
    } else {
        Dash->Start_img->show();
        Dash->GStart_img->show();
        Dash->Stop_img->hide();
        Dash->GStop_img->hide();
        Dash->DashEngineTemp_ani->Disable();
        Broadcaster->Broadcast(TMsgStopLog());
    }
}

void TTabbedForm::DashAutoRectClick()
{
    const int item = Dash->Corr_Setup_layout->ComboBoxAutoCorrType->currentIndex();
    // Only the table and the MAF smoothing correct themselves.
    if (item != 0 && item != 3)
        return;
    Dash->Correction->swapAutoCorrection();
    StoreAutoCorrection(Dash->Correction->autoCorrectionEnabled(), item);
}

void TTabbedForm::ComboBoxAutoCorrTypeChange()
{
    Dash->Correction->CorrType_lbl->setText(Dash->Corr_Setup_layout->ComboBoxAutoCorrType->currentText());
}

void TTabbedForm::DashApplyToTable_rectClick()
{
    Dash->Correction->DashApplyToTable_ani->Enable();
}

void TTabbedForm::DashApplyToTable_aniFinish()
{
    CorrectionControls* c = Dash->Correction;
    c->DashApplyToTable_ani->Disable();
    if (c->offsetChecked())
        return;
    const int correction = static_cast<int>(std::trunc(c->Corr_numbox->value()));
    const int begin = c->TrackBarMafNach->value();
    const int end = c->TrackBarMafKon->value();
    if (c->RadioButton1->isChecked()) {
        switch (Dash->Corr_Setup_layout->ComboBoxAutoCorrType->currentIndex()) {
        case 0:  // "Tab"
        case 3:  // "Сглаживание/Smoothing MAF"
            if (!loggingRuns())
                ApplyCorrection(correction, begin, end, ApplyWindow);
            ApplyCorrection(correction, begin, end, ApplyMiddle);
            break;
        case 1: StepCorrection(correction, true); break;   // "ECT"
        case 2: StepCorrection(correction, false); break;  // "IAT"
        default: break;
        }
    }
    if (c->RadioButton3->isChecked()) {
        ClearPoint(MinPointIndex);
        ApplyCorrection(correction, MinPointIndex, MinPointIndex, ApplyMin);
    }
    if (c->RadioButton4->isChecked()) {
        ClearPoint(MaxPointIndex);
        ApplyCorrection(correction, MaxPointIndex, MaxPointIndex, ApplyMax);
    }
    c->Corr_numbox->setValue(0);
    StoreCorrection(0);
    SendSettingsAndTable();
}

void TTabbedForm::Corr_numboxChange(double value)
{
    CorrectionControls* c = Dash->Correction;
    try {
        const bool automatic = c->autoCorrectionEnabled();
        if (c->RadioButton1->isChecked() || (c->RadioButton3->isChecked() && automatic) ||
            (c->RadioButton4->isChecked() && automatic)) {
            const int correction = static_cast<int>(std::trunc(value));
            StoreCorrection(correction);
            SendCorrection(correction, c->TrackBarMafNach->value(), c->TrackBarMafKon->value(), 1);
        }
        if (c->offsetChecked())
            SendAngleOffset(static_cast<qint8>(std::trunc(Tab->SmoothTps_nb->value() * 10)));
    } catch (...) {
        // A correction that does not reach the Converter is not worth a dialog while driving.
    }
}

void TTabbedForm::ClearTrainedInWindow_sbtnClick()
{
    ClearTrained(Dash->Correction->TrackBarMafNach->value(), Dash->Correction->TrackBarMafKon->value());
}

void TTabbedForm::ClearTrainedAll_sbtnClick()
{
    ClearTrained(Dash->Correction->TrackBarMafNach->minimum(), Dash->Correction->TrackBarMafKon->maximum());
}

void TTabbedForm::TextConnectionChange()
{
    QScrollBar* bar = Dash->TextConnection->verticalScrollBar();
    Dash->TextConnection->moveCursor(QTextCursor::End);
    bar->setValue(bar->maximum());
}

void TTabbedForm::Dispatch(const TMessage& message)
{
    switch (message.id) {
    case MsgStartLog:
    case MsgStopLog: {
        const bool enable = message.id == MsgStopLog;
        for (QWidget* w : std::initializer_list<QWidget*>{Dash->DashWriteTab_rect, Dash->DashReadTab_rect,
                                                          Tab->WriteTab_rect, Tab->ReadTab_rect,
                                                          Dash->Oxygen_Sensor_layout->ComboBoxO2})
            w->setEnabled(enable);
        if (enable) {
            Dash->Start_img->show();
            Dash->Stop_img->hide();
        }
        break;
    }
    case MsgDashData: {
        const auto* s = messageAs<TMsgDashData>(message);
        Dash->TPSAngle_numbox->setValue(s->rawAngle / 10.0);
        Dash->showThrottleBar(s->rawAngle);
        Dash->TPS_layout->ShowSample(VoltmeterChannel, *s);
        break;
    }
    case MsgConnected:
        Rxtx->Connected = 1;
        Tables->SetTransport(Rxtx.get());
        Bar->DashTabSel_rect->clicked();
        Tab->ReadTab_rect->clicked();
        QCoreApplication::processEvents();
        break;
    case MsgFile: {
        const auto* f = messageAs<TMsgFile>(message);
        if (f->extension == QLatin1String("tab"))
            f->saveMode == 1 ? SaveTableFile(f->fileName) : LoadTableFile(f->fileName);
        else if (f->extension == QLatin1String("log"))
            f->saveMode == 1 ? SaveLog(f->fileName) : LoadLog(f->fileName);
        else if (f->extension == QLatin1String("enc") && f->saveMode == 0)
            UpdateFirmware(f->fileName);
        break;
    }
    default:
        break;
    }
}
