#include "correctioncontrols.h"

#include "formanimation.h"
#include "formtexts.h"
#include "roundbutton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDial>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <cmath>

namespace {

QString twoDecimals(double v)
{
    return QLocale().toString(std::nearbyint(v * 100.0) / 100.0, 'g', QLocale::FloatingPointShortest);
}

QSpinBox* mirrorBox(const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 255);
    box->setReadOnly(true);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return box;
}

QSlider* trackBar(const QString& name, int value, QWidget* parent)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, 255);
    bar->setValue(value);
    return bar;
}

RoundButton* iconButton(const QString& name, const QString& icon, QWidget* parent)
{
    auto* b = new RoundButton(name, parent);
    b->setPicture(icon);
    return b;
}

}  // namespace

CorrectionControls::CorrectionControls(QWidget* page) : QWidget(page)
{
    setObjectName("Correction_rect");
    buildPanel();
    buildBeside(page);
    hide();
}

void CorrectionControls::buildPanel()
{
    setGeometry(12, 140, 370, 250);
    Corr_dial = new QDial(this);
    Corr_dial->setObjectName("Corr_dial");
    Corr_dial->setRange(-180, 180);
    Corr_dial->setWrapping(true);
    Corr_dial->setValue(0);
    Corr_dial->setGeometry(8, 8, 150, 150);
    Corr_numbox = new QDoubleSpinBox(this);
    Corr_numbox->setObjectName("Corr_numbox");
    Corr_numbox->setDecimals(0);
    Corr_numbox->setRange(-255, 255);
    Corr_numbox->setReadOnly(true);
    Corr_numbox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    Corr_numbox->setAlignment(Qt::AlignCenter);
    Corr_numbox->setGeometry(43, 68, 80, 30);
    Corr_txt = new QLabel(this);
    Corr_txt->setObjectName("Corr_txt");
    Corr_txt->setAlignment(Qt::AlignCenter);
    Corr_txt->setStyleSheet("font-size: 28pt; font-weight: bold; color: #fff8dc;");
    Corr_txt->setGeometry(160, 8, 200, 60);
    Corr_txt->setAttribute(Qt::WA_TransparentForMouseEvents);
    setWidgetOpacity(Corr_txt, 0.0);
    CorrTxt_ani = FormAnimation::opacity(Corr_txt, "CorrTxt_ani", 0.5, 0.0, 1000);
    CorrTxt_ani->setDelay(1000);
    connect(CorrTxt_ani, &FormAnimation::Finish, CorrTxt_ani, &FormAnimation::Disable);
    Corr_lbl = new QLabel(QString::fromUtf8(FormTexts::Correction), this);
    Corr_lbl->setObjectName("Corr_lbl");
    Corr_lbl->setGeometry(8, 160, 150, 20);

    DashApplyToTable_rect = iconButton("DashApplyToTable_rect", ":/icons/apply.svg", this);
    DashApplyToTable_rect->setGeometry(170, 80, 48, 48);
    DashApplyToTable_ani = FormAnimation::picture(DashApplyToTable_rect, "DashApplyToTable_ani", 400);
    DashAutoRect = new RoundButton("DashAutoRect", this);
    DashAutoRect->setGeometry(226, 80, 48, 48);
    DashAutoEnabled_img = new SvgPicture("DashAutoEnabled_img", ":/icons/auto_on.svg", DashAutoRect);
    DashAutoDisabled_img = new SvgPicture("DashAutoDisabled_img", ":/icons/auto_off.svg", DashAutoRect);
    for (SvgPicture* p : {DashAutoEnabled_img, DashAutoDisabled_img})
        p->setGeometry(9, 9, 30, 30);
    DashAutoEnabled_img->hide();
    CorrType_lbl = new QLabel(QString::fromUtf8(FormItems::AutoCorrType[0]), this);
    CorrType_lbl->setObjectName("CorrType_lbl");
    CorrType_lbl->setGeometry(170, 132, 190, 20);
    CorrSetup_rect = iconButton("CorrSetup_rect", ":/icons/settings.svg", this);
    CorrSetup_rect->setGeometry(282, 80, 48, 48);
    CorrSetup_ani = FormAnimation::picture(CorrSetup_rect, "CorrSetup_ani");
    Corr_btn = new QPushButton(QString::fromUtf8(FormTexts::Correction), this);
    Corr_btn->setObjectName("Corr_btn");
    Corr_btn->setGeometry(170, 156, 120, 30);

    Borders_rect = new QWidget(this);
    Borders_rect->setObjectName("Borders_rect");
    Borders_rect->setGeometry(8, 188, 354, 60);
    TrackBarMafNach = trackBar("TrackBarMafNach", 1, Borders_rect);
    TrackBarMafKon = trackBar("TrackBarMafKon", 254, Borders_rect);
    TrackBarMafNach->setGeometry(0, 0, 230, 26);
    TrackBarMafKon->setGeometry(0, 30, 230, 26);
    MafBeg_nbox = mirrorBox("MafBeg_nbox", Borders_rect);
    MafEnd_nbox = mirrorBox("MafEnd_nbox", Borders_rect);
    MafBeg_nbox->setGeometry(236, 0, 56, 26);
    MafEnd_nbox->setGeometry(236, 30, 56, 26);
    Pulsations_lbl = new QLabel(Borders_rect);
    Pulsations_lbl->setObjectName("Pulsations_lbl");
    Pulsations_lbl->setGeometry(296, 0, 60, 56);
    Pulsations_lbl->setWordWrap(true);
    ClearTrainedInWindow_sbtn = new QPushButton("W", this);
    ClearTrainedInWindow_sbtn->setObjectName("ClearTrainedInWindow_sbtn");
    ClearTrainedInWindow_sbtn->setGeometry(300, 156, 30, 30);
    ClearTrainedAll_sbtn = new QPushButton("E", this);
    ClearTrainedAll_sbtn->setObjectName("ClearTrainedAll_sbtn");
    ClearTrainedAll_sbtn->setGeometry(334, 156, 30, 30);

    connect(Corr_dial, &QDial::valueChanged, this, &CorrectionControls::Corr_dialChange);
    connect(Corr_numbox, &QDoubleSpinBox::valueChanged, this, &CorrectionControls::Corr_numboxChange);
    connect(TrackBarMafNach, &QSlider::valueChanged, this, &CorrectionControls::TrackBarMafNachChange);
    connect(TrackBarMafKon, &QSlider::valueChanged, this, &CorrectionControls::TrackBarMafNachChange);
}

void CorrectionControls::buildBeside(QWidget* page)
{
    Marker_rect = iconButton("Marker_rect", ":/icons/marker.svg", page);
    ShowBordersSliders_rect = iconButton("ShowBordersSliders_rect", ":/icons/borders.svg", page);
    ShowBordersSliders_rect->setFillColour(QColor::fromRgba(BordersShown));
    ButtonPlus = iconButton("ButtonPlus", ":/icons/plus.svg", page);
    ButtonMinus = iconButton("ButtonMinus", ":/icons/minus.svg", page);
    int x = 12;
    for (RoundButton* b : {Marker_rect, ShowBordersSliders_rect, ButtonPlus, ButtonMinus}) {
        b->setGeometry(x, 396, 44, 44);
        x += 52;
        b->hide();
    }
    connect(ButtonPlus, &RoundButton::clicked, this, &CorrectionControls::ButtonPlusClick);
    connect(ButtonMinus, &RoundButton::clicked, this, &CorrectionControls::ButtonMinusClick);
    connect(Marker_rect, &RoundButton::pressed, this, &CorrectionControls::Marker_rectMouseDown);
    connect(Marker_rect, &RoundButton::released, this, &CorrectionControls::Marker_rectMouseUp);
    connect(ShowBordersSliders_rect, &RoundButton::clicked, this,
            &CorrectionControls::ShowBordersSliders_rectClick);

    DialType = new QButtonGroup(page);
    DialType->setObjectName("DialType");
    const char* names[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    const char* texts[] = {FormTexts::DialOutput, FormTexts::DialOffset, FormTexts::DialMin, FormTexts::DialMax};
    QRadioButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QRadioButton(QString::fromUtf8(texts[i]), page);
        buttons[i]->setObjectName(names[i]);
        buttons[i]->setGeometry(12 + 92 * i, 448, 90, 24);
        buttons[i]->hide();
        DialType->addButton(buttons[i], i + 1);
    }
    RadioButton1 = buttons[0];
    RadioButton2 = buttons[1];
    RadioButton3 = buttons[2];
    RadioButton4 = buttons[3];
    RadioButton2->setChecked(true);
    for (QRadioButton* b : {RadioButton1, RadioButton3, RadioButton4})
        connect(b, &QRadioButton::toggled, this, &CorrectionControls::RadioButton1Change);

    KickDown_switch = new QCheckBox(page);
    KickDown_switch->setObjectName("KickDown_switch");
    KickDown_switch->setGeometry(230, 396, 30, 24);
    KickDown_switch->hide();
    Label3 = new QLabel(QString::fromUtf8(FormTexts::Kickdown), page);
    Label3->setObjectName("Label3");
    Label3->setGeometry(262, 396, 80, 24);
    Label3->hide();
}

bool CorrectionControls::offsetChecked() const
{
    return RadioButton2->isChecked();
}

bool CorrectionControls::autoCorrectionEnabled() const
{
    return !DashAutoEnabled_img->isHidden();
}

void CorrectionControls::Corr_dialChange(int angle)
{
    const double a = angle;
    const double p = previousDialAngle;
    if (a == p)
        return;
    const double step = offsetChecked() ? 0.5 : 1.0;
    // Crossing the dial's seam from one end to the other is no turn.
    if ((a >= 0 && p != -180) || (a < 0 && p != 180))
        applyDialStep(a < p ? step : -step);
    previousDialAngle = a;
}

void CorrectionControls::applyDialStep(double delta)
{
    Corr_numbox->setValue(Corr_numbox->value() + delta);
}

void CorrectionControls::ButtonPlusClick()
{
    Corr_numbox->setValue(Corr_numbox->value() + 1);
}

void CorrectionControls::ButtonMinusClick()
{
    Corr_numbox->setValue(Corr_numbox->value() - 1);
}

void CorrectionControls::Corr_numboxChange(double value)
{
    CorrTxt_ani->Disable();
    setWidgetOpacity(Corr_txt, 0.5);
    if (offsetChecked()) {
        Corr_txt->setText(twoDecimals(value / 2) + QString::fromUtf8(FormTexts::Degree));
        if (smoothTps)
            smoothTps->setValue(value);
    } else {
        Corr_txt->setText(twoDecimals(value * 100 / 256) + QString::fromUtf8(FormTexts::Percent));
    }
    const bool onChart = dashChart && !dashChart->isHidden();
    const QColor colour = QColor::fromRgba(onChart ? CorrTextOnChart : CorrTextPlain);
    Corr_txt->setStyleSheet(QStringLiteral("font-size: 28pt; font-weight: bold; color: %1;")
                                .arg(colour.name(QColor::HexArgb)));
    CorrTxt_ani->Enable();
    emit correctionNumberChanged(value);
}

void CorrectionControls::RadioButton1Change()
{
    if (offsetChecked()) {
        Corr_numbox->hide();
        Corr_numbox->setDecimals(1);
        Corr_numbox->setRange(-12.5, 12.5);
        Corr_numbox->setSingleStep(0.5);
        Corr_numbox->setValue(smoothTps ? smoothTps->value() : 0.0);
    } else {
        Corr_numbox->show();
        Corr_numbox->setDecimals(0);
        Corr_numbox->setRange(-255, 255);
        Corr_numbox->setSingleStep(1);
        Corr_numbox->setValue(0);
    }
}

QSlider* CorrectionControls::trackBarSender() const
{
    return qobject_cast<QSlider*>(sender());
}

void CorrectionControls::TrackBarMafNachChange()
{
    QSlider* bar = trackBarSender();
    if (bar == TrackBarMafNach) {
        TrackBarMafKon->setValue(TrackBarMafNach->value());
        MafBeg_nbox->setValue(TrackBarMafNach->value());
    }
    if (bar == TrackBarMafKon) {
        if (TrackBarMafKon->value() < TrackBarMafNach->value())
            TrackBarMafNach->setValue(TrackBarMafKon->value());
        MafEnd_nbox->setValue(TrackBarMafKon->value());
    }
    const int begin = TrackBarMafNach->value();
    const int end = TrackBarMafKon->value();
    Pulsations_lbl->setText(QString::fromUtf8(FormTexts::Pulsations) + QString::number(end - begin));
    emit correctionWindowChanged(static_cast<int>(std::trunc(Corr_numbox->value())), begin, end);
}

void CorrectionControls::Marker_rectMouseDown()
{
    Marker_rect->setFillGradient(QColor::fromRgba(MarkerOnTop), QColor::fromRgba(MarkerOnBottom));
    emit markerHeldChanged(true);
}

void CorrectionControls::Marker_rectMouseUp()
{
    setMarkerReleased(0xFF282727, 0xFF444343);
}

void CorrectionControls::setMarkerReleased(quint32 top, quint32 bottom)
{
    Marker_rect->setFillGradient(QColor::fromRgba(top), QColor::fromRgba(bottom));
    emit markerHeldChanged(false);
}

void CorrectionControls::ShowBordersSliders_rectClick()
{
    const bool show = Borders_rect->isHidden();
    Borders_rect->setVisible(show);
    ShowBordersSliders_rect->setFillColour(QColor::fromRgba(show ? BordersShown : BordersHidden));
}

void CorrectionControls::swapAutoCorrection()
{
    const bool enable = !autoCorrectionEnabled();
    DashAutoEnabled_img->setVisible(enable);
    DashAutoDisabled_img->setVisible(!enable);
}
