// The program state file and the controls it mirrors.
#include "tabbedform.h"

#include "dashboardchartview.h"
#include "dashboardpage.h"
#include "formtexts.h"
#include "o2refgrid.h"
#include "programstate.h"
#include "setuppanels.h"
#include "statetexts.h"
#include "tbtmethod.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

#include <cmath>
#include <exception>

namespace {

qint32 boxValue(const QDoubleSpinBox* box)
{
    return static_cast<qint32>(std::trunc(box->value()));
}

}  // namespace

ProgramState TTabbedForm::collectState() const
{
    const OxygenSetupPanel* oxygen = Dash->Oxygen_Sensor_layout;
    const CorrSetupPanel* corr = Dash->Corr_Setup_layout;
    ProgramState s;
    s.LanguageId = LanguageId;
    s.o2SensorTypeIndex = oxygen->ComboBoxO2->currentIndex();
    s.o2OutputUnitIndex = oxygen->ComboBoxO2Output->currentIndex();
    s.autoCorrTypeIndex = corr->ComboBoxAutoCorrType->currentIndex();
    s.tpsSetupUnitIndex = Dash->TPS_Setup_layout->ComboBoxTpsSetup->currentIndex();
    s.vFall = corr->VFall_rb->isChecked();
    s.mafPulsations = boxValue(corr->MafPulsations_nbox);
    s.fastInterval = boxValue(corr->Fast_nbox);
    s.fineInterval = boxValue(corr->Fine_nbox);
    s.forcedIdleRpm = boxValue(corr->ForcedIdleRpm_nbox);
    s.forcedIdleTps = boxValue(corr->ForcedIdleTps_nbox);
    s.o2Ref = boxValue(oxygen->O2Ref_numbox);
    s.o2Offset = boxValue(oxygen->O2Offset_numbox);
    s.dashChartVisible = !Dash->DashChart->isHidden();
    // The link keeps the address once it exists; a search may have changed it.
    s.LastDeviceAddress = BtMethod ? BtMethod->LastDeviceAddress : LastDeviceAddress;
    s.FileFolder = FileFolder;
    s.MinPointIndex = MinPointIndex;
    s.MaxPointIndex = MaxPointIndex;
    s.KickDownPointIndex = KickDownPointIndex;
    s.VoltmeterChannel = VoltmeterChannel;
    return s;
}

void TTabbedForm::applyState(const ProgramState& s)
{
    OxygenSetupPanel* oxygen = Dash->Oxygen_Sensor_layout;
    CorrSetupPanel* corr = Dash->Corr_Setup_layout;
    LanguageId = s.LanguageId;
    // An index the box does not have leaves it without a selection. The
    // stored grid was read with the state: the box's own fill must not
    // overwrite it.
    {
        const QSignalBlocker keepGrid(oxygen->ComboBoxO2);
        oxygen->ComboBoxO2->setCurrentIndex(s.o2SensorTypeIndex);
    }
    oxygen->ComboBoxO2Output->setCurrentIndex(s.o2OutputUnitIndex);
    corr->ComboBoxAutoCorrType->setCurrentIndex(s.autoCorrTypeIndex);
    Dash->TPS_Setup_layout->ComboBoxTpsSetup->setCurrentIndex(s.tpsSetupUnitIndex);
    (s.vFall ? corr->VFall_rb : corr->VRise_rb)->setChecked(true);
    corr->MafPulsations_nbox->setValue(s.mafPulsations);
    corr->Fast_nbox->setValue(s.fastInterval);
    corr->Fine_nbox->setValue(s.fineInterval);
    corr->ForcedIdleRpm_nbox->setValue(s.forcedIdleRpm);
    corr->ForcedIdleTps_nbox->setValue(s.forcedIdleTps);
    oxygen->O2Ref_numbox->setValue(s.o2Ref);
    oxygen->O2Offset_numbox->setValue(s.o2Offset);
    Dash->DashChart->setVisible(s.dashChartVisible);
    Dash->TPS_Setup_layout->TpsMin_lbl->setText(QString::fromUtf8(FormTexts::TpsMinPrefix) +
                                                QString::number(O2RefGrid->TpsMin));
    Dash->TPS_Setup_layout->TpsMax_lbl->setText(QString::fromUtf8(FormTexts::TpsMaxPrefix) +
                                                QString::number(O2RefGrid->TpsMax));
    LastDeviceAddress = s.LastDeviceAddress;
    if (BtMethod)
        BtMethod->LastDeviceAddress = LastDeviceAddress;
    FileFolder = s.FileFolder;
    MinPointIndex = s.MinPointIndex;
    MaxPointIndex = s.MaxPointIndex;
    KickDownPointIndex = s.KickDownPointIndex;
    VoltmeterChannel = s.VoltmeterChannel;
}

void TTabbedForm::LoadStartupState()
{
    try {
        // Fields the file does not reach keep what the controls hold now.
        ProgramState state = collectState();
        const bool loaded =
            LoadProgramState(QString::fromUtf8(StateTexts::FileName), state, *O2RefGrid, messages());
        applyState(state);
        if (loaded) {
            ApplyLanguage(LanguageId == 1 ? 1 : 0);
        } else {
            LanguageId = 0;
            ApplyLanguage(0);
            FileFolder = QDir::currentPath();
            O2RefGrid->FillO2Defaults(25, 6500, 100);
            O2RefGrid->TpsMin = 0;
            O2RefGrid->TpsMax = 255;
            VoltmeterChannel = 1;
        }
    } catch (const std::exception& e) {
        messages().showMessage(QString::fromLocal8Bit(e.what()));
    }
}

void TTabbedForm::SaveState()
{
    SaveProgramState(QString::fromUtf8(StateTexts::FileName), collectState(), *O2RefGrid, messages());
}
