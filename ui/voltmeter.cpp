#include "voltmeter.h"

#include "formanimation.h"
#include "formtexts.h"
#include "messages.h"
#include "roundbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FaceHeight = 170;
constexpr int BarTop = 176;
constexpr int BarHeight = 28;
constexpr int ButtonsTop = 210;

double roundTo2(double v)
{
    return std::nearbyint(v * 100.0) / 100.0;  // halves to even, the default rounding mode
}

}  // namespace

QString voltText(double volts)
{
    return QLocale().toString(roundTo2(volts), 'g', QLocale::FloatingPointShortest) +
           QString::fromUtf8(FormTexts::Volt);
}

Voltmeter::Voltmeter(QWidget* parent) : QWidget(parent)
{
    setObjectName("TPS_layout");
    const auto face = [this](const QString& name, const QString& file) {
        auto* p = new SvgPicture(name, ":/gauges/voltmeter_" + file + ".svg", this);
        p->setGeometry(0, 0, 370, FaceHeight);
        return p;
    };
    TpsMultimeter1_img = face("TpsMultimeter1_img", "line1");
    TpsMultimeter2_img = face("TpsMultimeter2_img", "line2");
    TpsMultimeterAt_img = face("TpsMultimeterAt_img", "at");
    TpsMultimeterRef_img = face("TpsMultimeterRef_img", "ref");
    TpsMultimeterO2_img = face("TpsMultimeterO2_img", "o2");
    TpsMultimeterIAT_img = face("TpsMultimeterIAT_img", "iat");

    LabelVoltage = new QLabel(QString::fromUtf8(FormTexts::VoltageDesign), this);
    LabelVoltage->setObjectName("LabelVoltage");
    LabelVoltage->setAlignment(Qt::AlignCenter);
    LabelVoltage->setStyleSheet("color: #7cf5ff; font-family: 'DejaVu Sans Mono'; font-size: 32pt;"
                                " font-weight: bold;");
    LabelVoltage->setGeometry(62, 48, 246, 70);

    OffsetLabel = new QLabel(QString::fromUtf8(FormTexts::OffsetDesign), this);
    OffsetLabel->setObjectName("OffsetLabel");
    OffsetLabel->setAlignment(Qt::AlignCenter);
    OffsetLabel->setStyleSheet("color: #ffb3a7; font-size: 11pt;");
    OffsetLabel->setGeometry(62, 122, 246, 22);

    OxBase_rect = new RoundButton("OxBase_rect", this);
    OxBase_rect->setRadius(8);
    OxBase_rect->setFillGradient(QColor(0x0a, 0x0f, 0x15), QColor(0x1c, 0x26, 0x33));
    OxMeter_rect = new QWidget(OxBase_rect);
    OxMeter_rect->setObjectName("OxMeter_rect");
    OxMeter_rect->setAttribute(Qt::WA_TransparentForMouseEvents);
    OxMeter_rect->setAttribute(Qt::WA_StyledBackground);
    OxMeter_rect->setStyleSheet("background: #7cdc6a; border-radius: 6px;");
    OxValue_lbl = new QLabel(OxBase_rect);
    OxValue_lbl->setObjectName("OxValue_lbl");
    OxValue_lbl->setAlignment(Qt::AlignCenter);
    OxValue_lbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    OxValue_lbl->setStyleSheet("color: white; font-weight: bold;");
    Ox_ani = FormAnimation::picture(OxBase_rect, "Ox_ani");

    One_rect = makeChannel("One_rect", "One_txt", "1", 1, One_txt, One_ani);
    Two_rect = makeChannel("Two_rect", "Two_txt", "2", 2, Two_txt, Two_ani);
    AT_rect = makeChannel("AT_rect", "AT_txt", "AT", 3, AT_txt, AT_ani);
    REF_rect = makeChannel("REF_rect", "REF_txt", "REF", 4, REF_txt, REF_ani);
    O2_rect = makeChannel("O2_rect", "O2_txt", "O2", 5, O2_txt, O2_ani);
    IAT_rect = makeChannel("IAT_rect", "IATBTN_txt", "IAT", 6, IATBTN_txt, IAT_ani);
    AT_rect->hide();
    IAT_rect->hide();

    auto* row = new QWidget(this);
    row->setObjectName("VoltmeterButtons");
    row->setGeometry(0, ButtonsTop, 370, 44);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    for (int n = 1; n <= 6; ++n) {
        channelButton(n)->setParent(row);
        layout->addWidget(channelButton(n));
    }
}

RoundButton* Voltmeter::makeChannel(const QString& name, const QString& textName, const QString& text,
                                    int tag, ButtonText*& label, FormAnimation*& animation)
{
    auto* button = new RoundButton(name, this, tag);
    button->setRadius(12);
    button->setFixedHeight(44);
    button->setFillColour(QColor::fromRgba(ChannelColour));
    label = button->addText(textName, text, 13);
    animation = FormAnimation::textColour(label, name.left(name.indexOf('_')) + "_ani");
    animation->Tag = tag;
    return button;
}

RoundButton* Voltmeter::channelButton(int n) const
{
    switch (n) {
    case 1: return One_rect;
    case 2: return Two_rect;
    case 3: return AT_rect;
    case 4: return REF_rect;
    case 5: return O2_rect;
    case 6: return IAT_rect;
    default: return nullptr;
    }
}

FormAnimation* Voltmeter::channelAnimation(int n) const
{
    switch (n) {
    case 1: return One_ani;
    case 2: return Two_ani;
    case 3: return AT_ani;
    case 4: return REF_ani;
    case 5: return O2_ani;
    case 6: return IAT_ani;
    default: return nullptr;
    }
}

SvgPicture* Voltmeter::channelPicture(int n) const
{
    switch (n) {
    case 1: return TpsMultimeter1_img;
    case 2: return TpsMultimeter2_img;
    case 3: return TpsMultimeterAt_img;
    case 4: return TpsMultimeterRef_img;
    case 5: return TpsMultimeterO2_img;
    case 6: return TpsMultimeterIAT_img;
    default: return nullptr;
    }
}

void Voltmeter::Reset()
{
    for (int n = 1; n <= 6; ++n) {
        channelPicture(n)->hide();
        channelButton(n)->setFillColour(QColor::fromRgba(ChannelColour));
    }
    OxBase_rect->hide();
}

void Voltmeter::SelectChannel(int n)
{
    if (!channelButton(n))
        return;
    OffsetLabel->setVisible(n == 4);
    Reset();
    channelPicture(n)->show();
    if (n == 5)
        OxBase_rect->show();
    channelButton(n)->setFillColour(QColor::fromRgba(SelectedColour));
}

void Voltmeter::ShowSample(int channel, const TMsgDashData& s)
{
    switch (channel) {
    case 1: LabelVoltage->setText(voltText(s.rawLine1 / 1024.0 * 5)); break;
    case 2: LabelVoltage->setText(voltText(s.rawLine2 / 1024.0 * 5)); break;
    case 3: LabelVoltage->setText(voltText(s.rawAt / 256.0 * 5)); break;
    case 4:
        LabelVoltage->setText(voltText(s.rawRef / 1024.0 * 5));
        OffsetLabel->setText(QString::fromUtf8(FormTexts::OffsetPrefix) + voltText(s.rawIat / 1024.0 * 5));
        break;
    case 5: LabelVoltage->setText(voltText(s.o2Raw / 256.0 * 5)); break;
    case 6: LabelVoltage->setText(voltText(s.rawIat / 1024.0 * 5)); break;
    default: break;
    }
    OxMeter_rect->setStyleSheet(QStringLiteral("background: %1; border-radius: 6px;")
                                    .arg(QColor::fromRgba(s.o2Colour).name(QColor::HexArgb)));
    OxValue_lbl->setText(s.o2Text);
    placeOxygenBar(std::clamp(s.o2Meter, 0, 255));
}

void Voltmeter::placeOxygenBar(int meter)
{
    oxMeter = meter;
    const int width = static_cast<int>(OxBase_rect->width() / 255.0 * meter);
    OxMeter_rect->setGeometry(0, 0, width, OxBase_rect->height());
}

void Voltmeter::resizeEvent(QResizeEvent*)
{
    OxBase_rect->setGeometry(0, BarTop, width(), BarHeight);
    OxValue_lbl->setGeometry(OxBase_rect->rect());
    placeOxygenBar(oxMeter);
}
