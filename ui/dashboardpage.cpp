#include "dashboardpage.h"

#include "dashboardchartview.h"
#include "correctioncontrols.h"
#include "formanimation.h"
#include "formtexts.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "voltmeter.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int MenuButton = 48;

RoundButton* menuButton(const QString& name, const QString& icon, QWidget* parent, int tag = 0)
{
    auto* b = new RoundButton(name, parent, tag);
    b->setFixedSize(MenuButton, MenuButton);
    if (!icon.isEmpty())
        b->setPicture(icon);
    return b;
}

FormAnimation* pictureAni(RoundButton* b, const QString& name, int tag)
{
    FormAnimation* a = FormAnimation::picture(b, name);
    a->Tag = tag;
    return a;
}

SvgPicture* innerPicture(const QString& name, const QString& icon, RoundButton* b, double scale)
{
    auto* p = new SvgPicture(name, icon, b);
    const int side = static_cast<int>(b->width() * scale);
    p->setGeometry((b->width() - side) / 2, (b->height() - side) / 2, side, side);
    return p;
}

}  // namespace

DashboardPage::DashboardPage(QWidget* page)
{
    Menu_rect = new QWidget(page);
    Menu_rect->setObjectName("Menu_rect");
    Menu_rect->setAttribute(Qt::WA_StyledBackground);
    Menu_rect->setStyleSheet("#Menu_rect { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                             " stop:0 #1c2633, stop:1 #111822); border-bottom: 1px solid #2c3a4c; }");
    Menu_rect->setGeometry(0, 0, 394, 60);
    auto* menu = new QHBoxLayout(Menu_rect);
    menu->setContentsMargins(12, 6, 12, 6);
    menu->setSpacing(10);
    SaveAll_rect = menuButton("SaveAll_rect", ":/icons/saveall.svg", Menu_rect);
    SaveAll_ani = pictureAni(SaveAll_rect, "SaveAll_ani", 0);
    DashReadTab_rect = menuButton("DashReadTab_rect", ":/icons/read.svg", Menu_rect, 2);
    DashReadTab_ani = pictureAni(DashReadTab_rect, "DashReadTab_ani", 2);
    DashWriteTab_rect = menuButton("DashWriteTab_rect", ":/icons/write.svg", Menu_rect, 3);
    DashWriteTab_ani = pictureAni(DashWriteTab_rect, "DashWriteTab_ani", 3);
    DashMore_rect = menuButton("DashMore_rect", ":/icons/settings.svg", Menu_rect);
    DashEngineTemp_rect = menuButton("DashEngineTemp_rect", ":/icons/temp.svg", Menu_rect, 4);
    DashEngineTemp_ani = pictureAni(DashEngineTemp_rect, "DashEngineTemp_ani", 4);
    DashEngineTemp_ani->setDuration(600);
    DashEngineTemp_ani->setLoopCount(-1);
    StartStop_rect = menuButton("StartStop_rect", QString(), Menu_rect);
    Start_img = innerPicture("Start_img", ":/icons/start.svg", StartStop_rect, 0.55);
    Stop_img = innerPicture("Stop_img", ":/icons/stop.svg", StartStop_rect, 0.5);
    Stop_img->hide();
    BTTabSel_rect = menuButton("BTTabSel_rect", ":/icons/bluetooth.svg", Menu_rect, 0);
    BTTabSel_ani = pictureAni(BTTabSel_rect, "BTTabSel_ani", 0);
    menu->addWidget(SaveAll_rect);
    menu->addWidget(DashReadTab_rect);
    menu->addWidget(DashWriteTab_rect);
    menu->addWidget(DashMore_rect);
    menu->addWidget(DashEngineTemp_rect);
    menu->addStretch();
    menu->addWidget(StartStop_rect);
    menu->addWidget(BTTabSel_rect);
    SaveAll_rect->hide();
    DashMore_rect->hide();
    DashEngineTemp_rect->hide();

    TextConnection = new QPlainTextEdit(page);
    TextConnection->setObjectName("TextConnection");
    TextConnection->setReadOnly(true);
    TextConnection->setGeometry(12, 68, 370, 66);

    Throttle_rect = new RoundButton("Throttle_rect", page);
    Throttle_rect->setRadius(16);
    Throttle_rect->setFillGradient(QColor(0x1b, 0x25, 0x33), QColor(0x0c, 0x11, 0x18));
    Throttle_rect->setGeometry(12, 142, 190, 204);
    Throttle_rect->setCursor(Qt::PointingHandCursor);
    auto* frame = new QWidget(Throttle_rect);
    frame->setObjectName("ThrottleBarFrame");
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->setAttribute(Qt::WA_StyledBackground);
    frame->setStyleSheet("background: #070b10; border-radius: 5px;");
    frame->setGeometry(10, 8, 16, 188);
    ThrottleMeter_rect = new QWidget(Throttle_rect);
    ThrottleMeter_rect->setObjectName("ThrottleMeter_rect");
    ThrottleMeter_rect->setAttribute(Qt::WA_TransparentForMouseEvents);
    ThrottleMeter_rect->setAttribute(Qt::WA_StyledBackground);
    ThrottleMeter_rect->setStyleSheet("background: qlineargradient(x1:0, y1:1, x2:0, y2:0, stop:0 #22c55e,"
                                      " stop:0.6 #ffa500, stop:1 #ff3b30); border-radius: 5px;");
    Throttle_img = new SvgPicture("Throttle_img", ":/gauges/throttle.svg", Throttle_rect);
    Throttle_img->setGeometry(38, 8, 142, 142);
    TPSAngle_numbox = new QDoubleSpinBox(Throttle_rect);
    TPSAngle_numbox->setObjectName("TPSAngle_numbox");
    TPSAngle_numbox->setRange(-90, 90);
    TPSAngle_numbox->setDecimals(1);
    TPSAngle_numbox->setReadOnly(true);
    TPSAngle_numbox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    TPSAngle_numbox->setAlignment(Qt::AlignCenter);
    TPSAngle_numbox->setSuffix(QString::fromUtf8(FormTexts::Degree));
    TPSAngle_numbox->setStyleSheet("font-size: 15pt; font-weight: bold; color: #ffd27f;");
    TPSAngle_numbox->setGeometry(48, 156, 122, 38);
    Throttle_ani = FormAnimation::picture(Throttle_rect, "Throttle_ani");
    showThrottleBar(0);

    Label7 = new QLabel(QString::fromUtf8(FormTexts::AngleLabel), page);
    Label7->setObjectName("Label7");
    Label7->setAlignment(Qt::AlignCenter);
    Label7->setProperty("role", "muted");
    Label7->setGeometry(212, 146, 170, 22);
    Angle_SpinBox = new QDoubleSpinBox(page);
    Angle_SpinBox->setObjectName("Angle_SpinBox");
    Angle_SpinBox->setRange(-12.5, 12.5);
    Angle_SpinBox->setSingleStep(0.1);
    Angle_SpinBox->setDecimals(1);
    Angle_SpinBox->setAlignment(Qt::AlignCenter);
    Angle_SpinBox->setStyleSheet("font-size: 16pt; font-weight: bold;");
    Angle_SpinBox->setGeometry(222, 170, 150, 44);

    GStartStop_rct = new RoundButton("GStartStop_rct", page);
    GStartStop_rct->setGeometry(242, 230, 110, 110);
    GStartStop_rct->setFillGradient(QColor(0x15, 0x5e, 0x35), QColor(0x0a, 0x2a, 0x18));
    GStartStop_rct->setBorderColour(QColor(0x22, 0xc5, 0x5e));
    GStart_img = innerPicture("GStart_img", ":/icons/start.svg", GStartStop_rct, 0.5);
    GStop_img = innerPicture("GStop_img", ":/icons/stop.svg", GStartStop_rct, 0.42);
    GStop_img->hide();

    TPS_layout = new Voltmeter(page);
    TPS_layout->setGeometry(12, 356, 370, 254);

    DashChart_rect = new QWidget(page);
    DashChart_rect->setObjectName("DashChart_rect");
    DashChart_rect->setGeometry(0, 140, 394, 210);
    DashChart = new DashboardChartView(DashChart_rect);
    DashChart->setObjectName("DashChart");
    DashChart->setGeometry(0, 0, 394, 172);
    DashChart->hide();
    ZoomMoveDashChart_sbtn = new QPushButton(QString::fromUtf8(FormTexts::ZoomMove), DashChart_rect);
    ZoomMoveDashChart_sbtn->setObjectName("ZoomMoveDashChart_sbtn");
    ZoomMoveDashChart_sbtn->setGeometry(330, 6, 56, 30);
    // Under the chart: its axis captions and the table's edit modes.
    Sensor_lbl = new QLabel(QString::fromUtf8(FormTexts::ChartSensor), DashChart_rect);
    Sensor_lbl->setObjectName("Sensor_lbl");
    Sensor_lbl->setGeometry(6, 176, 70, 30);
    Out_lbl = new QLabel(QString::fromUtf8(FormTexts::ChartOut), DashChart_rect);
    Out_lbl->setObjectName("Out_lbl");
    Out_lbl->setGeometry(78, 176, 64, 30);
    DashExtrap_btn = new QPushButton(QString::fromUtf8(FormTexts::Extrapolation), DashChart_rect);
    DashExtrap_btn->setObjectName("DashExtrap_btn");
    DashExtrap_btn->setGeometry(144, 176, 122, 30);
    DashInterp_btn = new QPushButton(QString::fromUtf8(FormTexts::Interpolation), DashChart_rect);
    DashInterp_btn->setObjectName("DashInterp_btn");
    DashInterp_btn->setGeometry(268, 176, 120, 30);
    // They show a mode, pressed or not.
    DashExtrap_btn->setCheckable(true);
    DashInterp_btn->setCheckable(true);
    SpeedButton3 = new QPushButton(page);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton3->hide();
    DashChart_rect->hide();

    Correction = new CorrectionControls(page);
    Correction->dashChart = DashChart;

    Corr_Setup_layout = new CorrSetupPanel(page);
    Oxygen_Sensor_layout = new OxygenSetupPanel(page);
    TPS_Setup_layout = new TpsSetupPanel(page);
}

void DashboardPage::showThrottleBar(int rawAngle)
{
    // The bar grows upwards from the bottom of its frame.
    const int frameHeight = 188;
    const int height = std::clamp(static_cast<int>(frameHeight / 900.0 * rawAngle), 0, frameHeight);
    ThrottleMeter_rect->setGeometry(10, 8 + frameHeight - height, 16, height);
}
