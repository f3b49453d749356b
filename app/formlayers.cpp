// The window's commands that reach the Converter, the table store, the
// logger and the file browser: each is the one place where its layer is
// called. The protocol's sends throw when the link fails; a Qt slot must not
// let that escape into the event loop, so every command that sends is run
// through guarded(), which shows the failure as an error.
#include "tabbedform.h"

#include "anglevalues.h"
#include "anthread.h"
#include "correctioncontrols.h"
#include "dashboardchartview.h"
#include "formadapters.h"
#include "dashboardpage.h"
#include "devicesettings.h"
#include "filebrowser.h"
#include "firmwareupdate.h"
#include "formtexts.h"
#include "otherpages.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "table.h"
#include "tabletransfer.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantolog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <cmath>
#include <exception>

void TTabbedForm::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        messages().showError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        messages().showError(QString());
    }
}

void TTabbedForm::wireLayers()
{
    TpsSetupPanel* tps = Dash->TPS_Setup_layout;
    for (QPushButton* b : {tps->Calibrate_btn, tps->Max_btn, tps->Min_btn, tps->KickDown_btn})
        connect(b, &QPushButton::clicked, this, &TTabbedForm::Calibrate_btnClick);
    connect(tps->RefSwitch, &QCheckBox::clicked, this, &TTabbedForm::RefSwitchClick);
    connect(Dash->Angle_SpinBox, &QDoubleSpinBox::valueChanged, this, &TTabbedForm::Angle_SpinBoxChange);
    // The dashboard chart: a tap flips the automatic scaling of its axes, a
    // long tap hides it.
    DashboardChartView* dashChart = Dash->DashChart;
    new TapFilter(dashChart->viewport(), [dashChart] {
        dashChart->setBottomAxisAutomatic(!dashChart->bottomAxisAutomatic());
        dashChart->setLeftAxisAutomatic(!dashChart->leftAxisAutomatic());
    });
    connect(dashChart, &ZoomScrollChartView::longTap, dashChart, &QWidget::hide);
    // The firmware button acts at once: the browser for an .enc file, to open.
    connect(More->FwUpd_rect, &RoundButton::clicked, this, [this] { OpenFileBrowser(false, "enc", QString()); });
}

void TTabbedForm::stopLoggingIfRunning()
{
    if (loggingRuns())
        StartStop_rectClick();
}

bool TTabbedForm::converterConnected() const
{
    return Rxtx && Rxtx->Connected != 0;
}

void TTabbedForm::StartConnection()
{
    StartConnectionSearch(*BtMethod, *Rxtx);
}

void TTabbedForm::closeSocket()
{
    if (BtMethod && BtMethod->HasSocket())
        Rxtx->Disconnect();
}

void TTabbedForm::ReadTables()
{
    guarded([this] { ReadTable(*Tables); });
}

void TTabbedForm::WriteTables(qint32 writeValue)
{
    guarded([this, writeValue] {
        Tables->writeValue = static_cast<qint8>(writeValue);
        WriteTable(*Tables);
    });
}

qint32 TTabbedForm::tableAngleEntry() const
{
    return Tables->tab.value(0);
}

void TTabbedForm::ResetConverter()
{
    CorrectionControls* c = Dash->Correction;
    const int begin = c->TrackBarMafNach->minimum();
    const int end = c->TrackBarMafKon->maximum();
    guarded([this, begin, end] { ResetTable(*Tables, [this] { stopLoggingIfRunning(); }, begin, end); });
}

void TTabbedForm::Calibrate_btnClick()
{
    const bool closedEnd = Dash->TPS_Setup_layout->Closed_rb->isChecked();
    guarded([this, closedEnd] { Calibrate(Rxtx.get(), messages(), closedEnd, [this] { stopLoggingIfRunning(); }); });
}

void TTabbedForm::RefSwitchClick()
{
    TpsSetupPanel* tps = Dash->TPS_Setup_layout;
    ReferenceSwitchView view;
    view.colourLabels = [tps](const PinLabelColours& c) { tps->setPinColours(c.label8, c.label9); };
    view.setConnectionMemo = [this](const QString& text) { Dash->TextConnection->setPlainText(text); };
    const bool checked = tps->RefSwitch->isChecked();
    guarded([this, checked, &view] { ToggleReference(Rxtx.get(), messages(), checked, view); });
}

void TTabbedForm::showReferenceMode()
{
    TpsSetupPanel* tps = Dash->TPS_Setup_layout;
    // Without a Converter the labels keep the wiring last shown.
    if (BtMethod->Connected != 0) {
        tps->RefSwitch->setChecked(referenceSwitchChecked(BtMethod->RefMode));
        tps->colourPins();
    }
}

void TTabbedForm::Angle_SpinBoxChange(double value)
{
    // A preview while the box turns; the protocol ignores a link that is not there.
    SendAngle(Rxtx.get(), value);
}

void TTabbedForm::OpenFileBrowser(bool saveMode, const QString& extension, const QString& fileName)
{
    if (saveMode)
        File_frm->ShowForSave(extension, fileName);
    else
        File_frm->ShowForOpen(extension);
}

void TTabbedForm::SaveTableFile(const QString& fileName)
{
    Tables->SaveTableFile(fileName);
}

void TTabbedForm::LoadTableFile(const QString& fileName)
{
    Tables->LoadTableFile(fileName);
}

void TTabbedForm::SaveLog(const QString& fileName)
{
    Logger->SaveLog(fileName);
}

void TTabbedForm::LoadLog(const QString& fileName)
{
    // A file read over a recording still being appended to would be lost at once.
    stopLoggingIfRunning();
    Logger->LoadLog(fileName);
}

void TTabbedForm::UpdateFirmware(const QString& fileName)
{
    // The block acknowledgements come through the receive buffer the live
    // poll reads: logging must not run during an update.
    guarded([this, &fileName] {
        if (converterConnected())
            stopLoggingIfRunning();
        FirmwareProgress progress;
        progress.showToast = [this](const QString& text) { ShowToast(text); };
        progress.flashToast = [this](const QString& text) { FlashToast(text); };
        ::UpdateFirmware(Rxtx.get(), messages(), fileName, progress);
    });
}

void TTabbedForm::FillOneToOne()
{
    Tables->FillOneToOne();
}

void TTabbedForm::ApplyCorrection(int correction, int begin, int end, CorrectionMode mode)
{
    static_assert(int(ApplyWindow) == int(Table::ApplyWindow) && int(ApplyMax) == int(Table::ApplyMax));
    Tables->ApplyCorrection(correction, begin, end, static_cast<Table::ApplyMode>(mode));
}

void TTabbedForm::ClearPoint(int index)
{
    if (index >= 0 && index < Tables->trained.size())
        Tables->trained[index] = 0;
    if (index >= 0 && index < Tables->marks.size())
        Tables->marks[index] = 0;
}

void TTabbedForm::StepCorrection(int correction, bool ect)
{
    Tables->StepCorrection(correction, ect);
}

void TTabbedForm::SendSettingsAndTable()
{
    guarded([this] { SendTableValues(*Tables); });
}

void TTabbedForm::ClearTrained(int begin, int end)
{
    Tables->ClearTrained(begin, end);
}

// Throws on a failed send: the correction box ignores that, the track bars show it.
void TTabbedForm::SendCorrection(int correction, int begin, int end, int kind)
{
    ::SendCorrection(*Tables, correction, begin, end, kind);
}

void TTabbedForm::TrackBarMafChange(int correction, int begin, int end)
{
    guarded([this, correction, begin, end] { SendCorrection(correction, begin, end, MafBorderKind); });
}

// Throws on a failed send, like SendCorrection.
void TTabbedForm::SendAngleOffset(qint8 tenths)
{
    SendOffset(Rxtx.get(), tenths);
}

void TTabbedForm::StoreCorrection(int correction)
{
    Logger->StoredValues.correction = correction;
}

void TTabbedForm::CopyStoredValuesToLogger()
{
    const CorrSetupPanel* corr = Dash->Corr_Setup_layout;
    const auto whole = [](const QDoubleSpinBox* box) { return static_cast<qint32>(std::trunc(box->value())); };
    LoggerStoredValues& kept = Logger->StoredValues;
    kept.mafPulsations = whole(corr->MafPulsations_nbox);
    kept.vFall = corr->VFall_rb->isChecked();
    kept.autoCorrection = Dash->Correction->autoCorrectionEnabled();
    kept.forcedIdleRpm = whole(corr->ForcedIdleRpm_nbox);
    kept.forcedIdleTps = whole(corr->ForcedIdleTps_nbox);
    kept.fastInterval = whole(corr->Fast_nbox);
    kept.fineInterval = whole(corr->Fine_nbox);
}

void TTabbedForm::StoreAutoCorrection(bool enabled, int item)
{
    LoggerStoredValues& kept = Logger->StoredValues;
    kept.autoCorrection = enabled;
    kept.autoCorrectionItem = item;
}

void TTabbedForm::SetMarkerHeld(bool held)
{
    Logger->markerHeld = held;
}

void TTabbedForm::SetKickDownPoint(bool on)
{
    Tables->setKickDownPoint(KickDownPointIndex, on);
}
