#include "otherpages.h"

#include "formanimation.h"
#include "formtexts.h"
#include "hotkeyhelp.h"
#include "logchartview.h"
#include "optionspanel.h"
#include "roundbutton.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

RoundButton* roundButton(const QString& name, const QString& icon, QWidget* parent, int tag = 0, int side = 48)
{
    auto* b = new RoundButton(name, parent, tag);
    b->setFixedSize(side, side);
    if (!icon.isEmpty())
        b->setPicture(icon);
    return b;
}

FormAnimation* pictureAni(RoundButton* b, const QString& name, int tag, int ms = 300)
{
    FormAnimation* a = FormAnimation::picture(b, name, ms);
    a->Tag = tag;
    return a;
}

}  // namespace

LogPage::LogPage(QWidget* page)
{
    LogTop_rect = new QWidget(page);
    LogTop_rect->setObjectName("LogTop_rect");
    LogTop_rect->setGeometry(0, 0, 394, 60);
    auto* bar = new QHBoxLayout(LogTop_rect);
    bar->setContentsMargins(12, 6, 12, 6);
    LogOpen_rct = roundButton("LogOpen_rct", ":/icons/open.svg", LogTop_rect, 2);
    LogOpen_ani = pictureAni(LogOpen_rct, "LogOpen_ani", 2);
    LogSave_rct = roundButton("LogSave_rct", ":/icons/save.svg", LogTop_rect, 3);
    LogSave_ani = pictureAni(LogSave_rct, "LogSave_ani", 3);
    LogSetup_rect = roundButton("LogSetup_rect", ":/icons/settings.svg", LogTop_rect);
    LogSetup_ani = pictureAni(LogSetup_rect, "LogSetup_ani", 0);
    LogSetup_rect->setFillGradient(QColor::fromRgba(0xFF2E2F30), QColor::fromRgba(0xFF5E5F63));
    bar->addWidget(LogOpen_rct);
    bar->addWidget(LogSave_rct);
    bar->addStretch();
    bar->addWidget(LogSetup_rect);
    LogSetup_rect->hide();

    Log_VScrlBox = new QScrollArea(page);
    Log_VScrlBox->setObjectName("Log_VScrlBox");
    Log_VScrlBox->setGeometry(6, 64, 90, 500);
    Log_VScrlBox->setFrameShape(QFrame::NoFrame);
    Log_VScrlBox->setStyleSheet("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }");
    ChartLog = new LogChartView(page);
    ChartLog->setGeometry(6, 64, 382, 500);
    ChartO2 = new QChartView(new QChart, page);
    ChartO2->setObjectName("ChartO2");
    ChartO2->setFrameShape(QFrame::NoFrame);
    ChartO2->setGeometry(6, 420, 382, 144);
    ChartO2->hide();
    ZoomMoveLog_sbtn = new QPushButton(QString::fromUtf8(FormTexts::ZoomMove), page);
    ZoomMoveLog_sbtn->setObjectName("ZoomMoveLog_sbtn");
    ZoomMoveLog_sbtn->setGeometry(326, 72, 56, 30);

    Rectangle9 = new QWidget(page);
    Rectangle9->setObjectName("Rectangle9");
    Rectangle9->setGeometry(0, 570, 394, 56);
    auto* row = new QHBoxLayout(Rectangle9);
    row->setContentsMargins(10, 6, 10, 6);
    // Undo and redo of the table, so a point written on the log chart can
    // be taken back from this page.
    LogUndoBtn = new QPushButton(Rectangle9);
    LogUndoBtn->setObjectName("LogUndoBtn");
    LogUndoBtn->setIcon(QIcon(":/icons/undo.svg"));
    LogRedo_btn = new QPushButton(Rectangle9);
    LogRedo_btn->setObjectName("LogRedo_btn");
    LogRedo_btn->setIcon(QIcon(":/icons/redo.svg"));
    LogExtrap_btn = new QPushButton(QString::fromUtf8(FormTexts::Extrapolation), Rectangle9);
    LogExtrap_btn->setObjectName("LogExtrap_btn");
    LogInterp_btn = new QPushButton(QString::fromUtf8(FormTexts::Interpolation), Rectangle9);
    LogInterp_btn->setObjectName("LogInterp_btn");
    LogExtrap_btn->setCheckable(true);
    LogInterp_btn->setCheckable(true);
    // Four buttons on a narrow row: the icons take little, the two texts
    // keep the rest with less padding so that they are read whole.
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
    for (QPushButton* b : {LogUndoBtn, LogRedo_btn})
        b->setFixedWidth(44);
    for (QPushButton* b : {LogExtrap_btn, LogInterp_btn})
        b->setStyleSheet("padding: 6px 4px;");
    row->addWidget(LogUndoBtn);
    row->addWidget(LogRedo_btn);
    row->addWidget(LogExtrap_btn, 1);
    row->addWidget(LogInterp_btn, 1);

    LogSetup_layt = new QWidget(page);
    LogSetup_layt->setObjectName("LogSetup_layt");
    LogSetup_layt->setAttribute(Qt::WA_StyledBackground);
    LogSetup_layt->setStyleSheet("#LogSetup_layt { background: #161e29; border: 2px solid #5e5f63;"
                                 " border-radius: 14px; }");
    LogSetup_layt->setGeometry(12, 66, 370, 300);
    LogSetup = new OptionsPanel(LogSetup_layt, LogSetup_rect, LogSetup_ani, "LogSetupLayout_ani",
                                "LogSetupRect_ani", 1.0, QColor::fromRgba(0xFF2E2F30), QColor::fromRgba(0xFF5E5F63));
}

BluetoothPage::BluetoothPage(QWidget* page)
{
    Bt_txt = new QLabel(QString::fromUtf8(FormTexts::BtTitle), page);
    Bt_txt->setObjectName("Bt_txt");
    Bt_txt->setProperty("role", "title");
    Bt_txt->setAlignment(Qt::AlignCenter);
    Bt_txt->setGeometry(0, 16, 394, 30);
}

MorePage::MorePage(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(40, 40, 40, 40);
    column->setSpacing(18);
    const auto row = [&](RoundButton* b, const QString& caption) {
        auto* line = new QHBoxLayout;
        line->addWidget(b);
        auto* l = new QLabel(caption, page);
        l->setObjectName(b->objectName() + "_caption");
        l->setStyleSheet("font-size: 12pt;");
        line->addWidget(l, 1);
        column->addLayout(line);
    };
    FwUpd_rect = roundButton("FwUpd_rect", ":/icons/firmware.svg", page, 0, 60);
    RoundRect6 = roundButton("RoundRect6", ":/icons/read.svg", page, 2, 60);
    RoundRect7 = roundButton("RoundRect7", ":/icons/write.svg", page, 3, 60);
    RoundRect5 = roundButton("RoundRect5", ":/icons/saveall.svg", page, 0, 60);
    RoundRect5_ani = pictureAni(RoundRect5, "RoundRect5_ani", 0);
    RoundRect8 = roundButton("RoundRect8", ":/icons/settings.svg", page, 0, 60);
    row(RoundRect6, "Converter → Tab");
    row(RoundRect7, "Tab → Converter");
    row(FwUpd_rect, "Firmware (.enc)");
    row(RoundRect5, QString());
    row(RoundRect8, QString());
    RoundRect5->hide();
    RoundRect8->hide();
    TestGauge_layt = new QWidget(page);
    TestGauge_layt->setObjectName("TestGauge_layt");
    TestGauge_layt->hide();
    column->addStretch();
}

HotkeysPanel::HotkeysPanel(QWidget* window)
{
    Hotkeys_layout = new QWidget(window);
    Hotkeys_layout->setObjectName("Hotkeys_layout");
    Hotkeys_layout->setAttribute(Qt::WA_StyledBackground);
    Hotkeys_layout->setStyleSheet("#Hotkeys_layout { background: #161e29; border: 2px solid #5ec8ff;"
                                  " border-radius: 16px; }");
    Hotkeys_layout->setGeometry(16, 70, 362, 470);
    auto* layout = new QVBoxLayout(Hotkeys_layout);
    layout->setContentsMargins(14, 14, 14, 14);
    Memo1 = new QPlainTextEdit(Hotkeys_layout);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setStyleSheet("color: #e6ecf2; font-family: 'DejaVu Sans'; font-size: 10pt; border: none;"
                         " background: transparent;");
    Memo1->setPlainText(HotkeyHelp::russian().join('\n'));
    layout->addWidget(Memo1);
    Hotkeys_layout->hide();
}

BottomBar::BottomBar(QWidget* window)
{
    Rectangle18 = new QWidget(window);
    Rectangle18->setObjectName("Rectangle18");
    Rectangle18->setAttribute(Qt::WA_StyledBackground);
    Rectangle18->setStyleSheet("#Rectangle18 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                               " stop:0 #18212d, stop:1 #0b1017); border-top: 1px solid #2c3a4c; }");
    Rectangle18->setFixedHeight(62);
    auto* bar = new QHBoxLayout(Rectangle18);
    bar->setContentsMargins(14, 6, 14, 8);
    bar->setSpacing(12);
    LogTabSel_rect = roundButton("LogTabSel_rect", ":/icons/log.svg", Rectangle18, 2);
    LogTabSel_ani = pictureAni(LogTabSel_rect, "LogTabSel_ani", 2);
    TabTabSel_rect = roundButton("TabTabSel_rect", ":/icons/table.svg", Rectangle18, 1);
    TabTabSel_ani = pictureAni(TabTabSel_rect, "TabTabSel_ani", 1);
    About_ImageButton = roundButton("About_ImageButton", ":/icons/about.svg", Rectangle18);
    About_BitAni = pictureAni(About_ImageButton, "About_BitAni", 0, 250);
    About_BitAni->setDirection(QAbstractAnimation::Backward);
    DashTabSel_rect = roundButton("DashTabSel_rect", ":/icons/dashboard.svg", Rectangle18, 3);
    DashTabSel_ani = pictureAni(DashTabSel_rect, "DashTabSel_ani", 3);
    MoreTabSel_rect = roundButton("MoreTabSel_rect", ":/icons/more.svg", Rectangle18, 4);
    MoreTabSel_ani = pictureAni(MoreTabSel_rect, "MoreTabSel_ani", 4);
    RoundRect1 = roundButton("RoundRect1", QString(), Rectangle18);
    Lang_txt = RoundRect1->addText("Lang_txt", QString::fromUtf8(FormTexts::LangRu), 12);
    LangAnimation = FormAnimation::textColour(Lang_txt, "LangAnimation");
    for (RoundButton* b : {LogTabSel_rect, TabTabSel_rect, About_ImageButton, DashTabSel_rect, MoreTabSel_rect,
                           RoundRect1})
        bar->addWidget(b);
    TabTabSel_rect->hide();
}
