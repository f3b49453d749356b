#include "setuppanels.h"

#include "formanimation.h"
#include "formtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>

namespace {

QString t(const char* text)
{
    return QString::fromUtf8(text);
}

template <std::size_t N>
QComboBox* comboBox(const QString& name, const char* const (&items)[N], QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    box->setCurrentIndex(0);
    return box;
}

QRadioButton* radio(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(name);
    return b;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

QDoubleSpinBox* numberBox(const QString& name, double min, double max, double value, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(0);
    box->setRange(min, max);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    return box;
}

SetupPanel::SetupPanel(const QString& name, const QString& fadeName, QLabel*& title, const QString& titleName,
                       const QString& titleText, QWidget* page)
    : QFrame(page)
{
    setObjectName(name);
    setProperty("setupPanel", true);
    setAttribute(Qt::WA_StyledBackground);
    body = new QVBoxLayout(this);
    body->setContentsMargins(16, 12, 16, 14);
    body->setSpacing(8);
    title = label(titleName, titleText);
    title->setProperty("role", "title");
    title->setAlignment(Qt::AlignCenter);
    body->addWidget(title);
    fadeIn = FormAnimation::opacity(this, fadeName, 0.0, OpenOpacity, 300);
    connect(fadeIn, &FormAnimation::Finish, fadeIn, &FormAnimation::Disable);
    setWidgetOpacity(this, 0.0);
    hide();
}

QLabel* SetupPanel::label(const QString& name, const QString& text, bool muted)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setWordWrap(true);
    if (muted)
        l->setProperty("role", "muted");
    return l;
}

QPushButton* SetupPanel::okButton(const QString& name)
{
    auto* ok = button(name, t(FormTexts::Ok), this);
    ok->setMinimumSize(120, 40);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addStretch();
    body->addLayout(row);
    return ok;
}

void SetupPanel::open()
{
    setWidgetOpacity(this, 0.0);
    show();
    raise();
    fadeIn->Enable();
}

void SetupPanel::close()
{
    fadeIn->Disable();
    setWidgetOpacity(this, 0.0);
    hide();
}

TpsSetupPanel::TpsSetupPanel(QWidget* page)
    : SetupPanel("TPS_Setup_layout", "TPS_Setup_ani", TpsSetup_lbl, "TpsSetup_lbl", t(FormTexts::TpsSetupTitle),
                 page)
{
    TPS_Setup_ani = fade();
    auto* pins = new QHBoxLayout;
    Label8 = label("Label8", t(FormTexts::Pin4));
    RefSwitch = new QCheckBox(this);
    RefSwitch->setObjectName("RefSwitch");
    RefSwitch->setProperty("switch", true);
    Label9 = label("Label9", t(FormTexts::Pin3));
    pins->addStretch();
    pins->addWidget(Label8);
    pins->addWidget(RefSwitch);
    pins->addWidget(Label9);
    pins->addStretch();
    body->addLayout(pins);
    // The labels show the wiring last sent or read, not the switch: a
    // refused switch must leave them as they are.
    colourPins();

    Closed_rb = radio("Closed_rb", t(FormTexts::ThrottleClosed), this);
    Open_rb = radio("Open_rb", t(FormTexts::ThrottleOpen), this);
    Closed_rb->setChecked(true);
    body->addWidget(Closed_rb);
    body->addWidget(Open_rb);
    Calibrate_btn = button("Calibrate_btn", t(FormTexts::Calibrate), this);
    Calibrate_btn->setMinimumHeight(44);
    body->addWidget(Calibrate_btn);

    // Kept for the calibration commands and the state file; the layout hides them.
    TpsUnits_lbl = label("TpsUnits_lbl", t(FormTexts::Units));
    ComboBoxTpsSetup = comboBox("ComboBoxTpsSetup", FormItems::TpsSetup, this);
    TpsMin_lbl = label("TpsMin_lbl", t(FormTexts::TpsMinPrefix) + "0");
    TpsMax_lbl = label("TpsMax_lbl", t(FormTexts::TpsMaxPrefix) + "255");
    Max_btn = button("Max_btn", "Max", this);
    Min_btn = button("Min_btn", "Min", this);
    KickDown_btn = button("KickDown_btn", t(FormTexts::Kickdown), this);
    RefVoltage_lbl = label("RefVoltage_lbl", QString());
    for (QWidget* w : std::initializer_list<QWidget*>{TpsUnits_lbl, ComboBoxTpsSetup, TpsMin_lbl, TpsMax_lbl,
                                                      Max_btn, Min_btn, KickDown_btn, RefVoltage_lbl})
        w->hide();

    body->addStretch();
    Button4 = okButton("Button4");
    setGeometry(12, 70, 370, 330);
}

void TpsSetupPanel::colourPins()
{
    const bool on = RefSwitch->isChecked();
    setPinColours(on ? PinIdle : PinActive, on ? PinActive : PinIdle);
}

void TpsSetupPanel::setPinColours(quint32 label8, quint32 label9)
{
    const auto paint = [](QLabel* l, quint32 argb) {
        l->setStyleSheet(QStringLiteral("color: %1; font-size: 14pt; font-weight: bold;")
                             .arg(QColor::fromRgba(argb).name(QColor::HexArgb)));
    };
    paint(Label8, label8);
    paint(Label9, label9);
}

OxygenSetupPanel::OxygenSetupPanel(QWidget* page)
    : SetupPanel("Oxygen_Sensor_layout", "OS_Setup_ani", OsSettings_lbl, "OsSettings_lbl",
                 t(FormTexts::OxygenSetupTitle), page)
{
    OS_Setup_ani = fade();
    auto* grid = new QGridLayout;
    OsType_lbl = label("OsType_lbl", t(FormTexts::O2Type), true);
    ComboBoxO2 = comboBox("ComboBoxO2", FormItems::O2Sensor, this);
    O2Units_lbl = label("O2Units_lbl", t(FormTexts::Units), true);
    ComboBoxO2Output = comboBox("ComboBoxO2Output", FormItems::O2Output, this);
    O2Offset_lbl = label("O2Offset_lbl", t(FormTexts::O2Offset), true);
    OffsetO2_dial = new QDial(this);
    OffsetO2_dial->setObjectName("OffsetO2_dial");
    OffsetO2_dial->setRange(-180, 180);
    OffsetO2_dial->setWrapping(true);
    OffsetO2_dial->setFixedSize(56, 56);
    O2Offset_numbox = numberBox("O2Offset_numbox", -255, 255, 0, this);
    O2Offset_numbox->setReadOnly(true);
    O2Offset_numbox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    grid->addWidget(OsType_lbl, 0, 0);
    grid->addWidget(ComboBoxO2, 0, 1, 1, 2);
    grid->addWidget(O2Units_lbl, 1, 0);
    grid->addWidget(ComboBoxO2Output, 1, 1, 1, 2);
    grid->addWidget(O2Offset_lbl, 2, 0);
    grid->addWidget(OffsetO2_dial, 2, 1);
    grid->addWidget(O2Offset_numbox, 2, 2);
    body->addLayout(grid);
    OsTest_btn = button("OsTest_btn", t(FormTexts::OxygenTest), this);
    body->addWidget(OsTest_btn);

    OsRefValues_lbl = label("OsRefValues_lbl", t(FormTexts::OxygenRefValues), true);
    body->addWidget(OsRefValues_lbl);
    O2Grid_scroll = new QScrollArea(this);
    O2Grid_scroll->setObjectName("O2Grid_scroll");
    StringGrid2 = new QTableWidget;
    StringGrid2->setObjectName("StringGrid2");
    // Designed tall and wide: the rows and columns take their share of it,
    // and the scroll area around it moves over the grid.
    StringGrid2->resize(16 * 46, 100 * 26);
    O2Grid_scroll->setWidget(StringGrid2);
    O2Grid_scroll->setMinimumHeight(170);
    O2Grid_scroll->setStyleSheet("QScrollArea { background: #e9eef3; border-radius: 6px; }");
    body->addWidget(O2Grid_scroll, 1);

    auto* fill = new QHBoxLayout;
    O2Ref_numbox = numberBox("O2Ref_numbox", 0, 255, 25, this);
    O2Ref_numbox->setMinimumWidth(120);
    FillO2RefGrid_btn = button("FillO2RefGrid_btn", t(FormTexts::FillGrid), this);
    fill->addWidget(O2Ref_numbox);
    fill->addWidget(FillO2RefGrid_btn, 1);
    body->addLayout(fill);
    BtnOkClosesView = okButton("BtnOkClosesView");
    setGeometry(12, 64, 370, 556);
}

CorrSetupPanel::CorrSetupPanel(QWidget* page)
    : SetupPanel("Corr_Setup_layout", "Corr_Setup_ani", AutocorrSetup_lbl, "AutocorrSetup_lbl",
                 t(FormTexts::CorrSetupTitle), page)
{
    Corr_Setup_ani = fade();
    ComboBoxAutoCorrType = comboBox("ComboBoxAutoCorrType", FormItems::AutoCorrType, this);
    body->addWidget(ComboBoxAutoCorrType);
    VafMode1_lbl = label("VafMode1_lbl", t(FormTexts::VafMode1), true);
    VafMode2_lbl = label("VafMode2_lbl", t(FormTexts::VafMode2), true);
    body->addWidget(VafMode1_lbl);
    body->addWidget(VafMode2_lbl);
    auto* vaf = new QHBoxLayout;
    VRise_rb = radio("VRise_rb", t(FormTexts::VRise), this);
    VFall_rb = radio("VFall_rb", t(FormTexts::VFall), this);
    VRise_rb->setChecked(true);
    vaf->addWidget(VRise_rb);
    vaf->addWidget(VFall_rb);
    body->addLayout(vaf);

    auto* grid = new QGridLayout;
    MafPulsations_lbl = label("MafPulsations_lbl", t(FormTexts::MafPulsations), true);
    MafPulsations_nbox = numberBox("MafPulsations_nbox", 0, 100, 10, this);
    AutocorrIntervals_lbl = label("AutocorrIntervals_lbl", t(FormTexts::AutocorrIntervals), true);
    Fast_lbl = label("Fast_lbl", t(FormTexts::Fast));
    Fast_nbox = numberBox("Fast_nbox", 0, 100, 2, this);
    Fine_lbl = label("Fine_lbl", t(FormTexts::Fine));
    Fine_nbox = numberBox("Fine_nbox", 0, 100, 4, this);
    ForcedIdle_lbl = label("ForcedIdle_lbl", t(FormTexts::ForcedIdle), true);
    ForcedIdleRpm_nbox = numberBox("ForcedIdleRpm_nbox", 0, 6000, 1500, this);
    ForcedIdleTps_nbox = numberBox("ForcedIdleTps_nbox", 0, 100, 2, this);
    grid->addWidget(MafPulsations_lbl, 0, 0);
    grid->addWidget(MafPulsations_nbox, 0, 1);
    grid->addWidget(AutocorrIntervals_lbl, 1, 0, 1, 2);
    grid->addWidget(Fast_lbl, 2, 0);
    grid->addWidget(Fast_nbox, 2, 1);
    grid->addWidget(Fine_lbl, 3, 0);
    grid->addWidget(Fine_nbox, 3, 1);
    grid->addWidget(ForcedIdle_lbl, 4, 0, 1, 2);
    grid->addWidget(label("ForcedIdleRpm_lbl", "RPM >"), 5, 0);
    grid->addWidget(ForcedIdleRpm_nbox, 5, 1);
    grid->addWidget(label("ForcedIdleTps_lbl", "TPS % <"), 6, 0);
    grid->addWidget(ForcedIdleTps_nbox, 6, 1);
    body->addLayout(grid);
    body->addStretch();
    Button6 = okButton("Button6");
    setGeometry(12, 64, 370, 520);
}
