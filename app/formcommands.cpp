// The command buttons: each click only starts its animation; the finish
// handler stops the animation and runs the command. One pair of handlers
// serves a group of buttons, told apart by Tag.
#include "tabbedform.h"

#include "anglevalues.h"
#include "dashboardchartview.h"
#include "table.h"
#include "tablechartview.h"
#include "tablepagehandlers.h"
#include "correctioncontrols.h"
#include "dashboardpage.h"
#include "defaultfilename.h"
#include "formanimation.h"
#include "formtexts.h"
#include "otherpages.h"
#include "roundbutton.h"
#include "tablepage.h"
#include "theme.h"
#include "voltmeter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

#include <initializer_list>
#include <utility>
#include <optional>

namespace {

int senderTag(QObject* sender)
{
    if (auto* button = qobject_cast<RoundButton*>(sender))
        return button->Tag;
    return -1;
}

// The three pages' mode buttons are one control each: the clicked one's
// state goes to its two twins. Nothing when the sender is no button.
std::optional<bool> pressTwins(const QObject* sender, std::initializer_list<QPushButton*> twins)
{
    const auto* clicked = qobject_cast<const QPushButton*>(sender);
    if (!clicked)
        return std::nullopt;
    for (QPushButton* b : twins)
        b->setChecked(clicked->isChecked());
    return clicked->isChecked();
}

}  // namespace

void TTabbedForm::wireCommands()
{
    const auto onClick = [this](RoundButton* b, void (TTabbedForm::*slot)()) {
        connect(b, &RoundButton::clicked, this, slot);
    };
    const auto onFinish = [this](FormAnimation* a, void (TTabbedForm::*slot)(FormAnimation*)) {
        connect(a, &FormAnimation::Finish, this, slot);
    };
    const auto onPlainFinish = [this](FormAnimation* a, void (TTabbedForm::*slot)()) {
        connect(a, &FormAnimation::Finish, this, slot);
    };

    onClick(Bar->RoundRect1, &TTabbedForm::Lang_txtClick);
    onFinish(Bar->LangAnimation, &TTabbedForm::LangAnimationFinish);
    for (int n = 1; n <= 6; ++n) {
        onClick(Dash->TPS_layout->channelButton(n), &TTabbedForm::Lang_txtClick);
        onFinish(Dash->TPS_layout->channelAnimation(n), &TTabbedForm::LangAnimationFinish);
    }

    for (RoundButton* b : {Dash->BTTabSel_rect, Bar->TabTabSel_rect, Bar->LogTabSel_rect, Bar->DashTabSel_rect,
                           Bar->MoreTabSel_rect})
        onClick(b, &TTabbedForm::BTTabSel_rectClick);
    for (FormAnimation* a : {Dash->BTTabSel_ani, Bar->TabTabSel_ani, Bar->LogTabSel_ani, Bar->DashTabSel_ani,
                             Bar->MoreTabSel_ani})
        onFinish(a, &TTabbedForm::BTTabSel_aniFinish);

    for (RoundButton* b : {Tab->ReadTab_rect, Dash->DashReadTab_rect, More->RoundRect6, Tab->WriteTab_rect,
                           Dash->DashWriteTab_rect, More->RoundRect7, Dash->DashEngineTemp_rect})
        onClick(b, &TTabbedForm::ReadTab_rectClick);
    for (FormAnimation* a : {Tab->ReadTab_ani, Tab->WriteTab_ani, Dash->DashReadTab_ani, Dash->DashWriteTab_ani})
        onFinish(a, &TTabbedForm::ReadTab_aniFinish);

    for (RoundButton* b : {Tab->TabOpen_rect, Tab->TabSave_rect, Log->LogOpen_rct, Log->LogSave_rct})
        onClick(b, &TTabbedForm::TabOpen_rectClick);
    for (FormAnimation* a : {Tab->TabOpen_ani, Tab->TabSave_ani, Log->LogOpen_ani, Log->LogSave_ani})
        onFinish(a, &TTabbedForm::TabOpen_aniFinish);

    onClick(Bar->About_ImageButton, &TTabbedForm::About_ImageButtonClick);
    onPlainFinish(Bar->About_BitAni, &TTabbedForm::About_BitAniFinish);
    onClick(Tab->OneToOne_rndrect, &TTabbedForm::OneToOne_rndrectClick);
    onPlainFinish(Tab->OneToOne_ani, &TTabbedForm::OneToOne_aniFinish);
    onClick(Tab->Defaults_rct, &TTabbedForm::Defaults_rctClick);
    onPlainFinish(Tab->Defaults_ani, &TTabbedForm::Defaults_aniFinish);
    for (RoundButton* b : {Tab->TabMore_rect, Dash->DashMore_rect, More->RoundRect8})
        onClick(b, &TTabbedForm::TabMore_rectClick);
    onClick(Log->LogSetup_rect, &TTabbedForm::LogSetup_rectClick);
    for (RoundButton* b : {Dash->SaveAll_rect, More->RoundRect5})
        onClick(b, &TTabbedForm::SaveAll_rectClick);
    onPlainFinish(Dash->SaveAll_ani, &TTabbedForm::SaveAll_aniFinish);
    onClick(Tab->TabReset_rect, &TTabbedForm::TabReset_rectClick);
    onPlainFinish(Tab->TabReset_ani, &TTabbedForm::TabReset_aniFinish);

    connect(Log->ZoomMoveLog_sbtn, &QPushButton::clicked, this, &TTabbedForm::ZoomMoveLog_sbtnClick);
    connect(Dash->ZoomMoveDashChart_sbtn, &QPushButton::clicked, this, &TTabbedForm::ZoomMoveDashChart_sbtnClick);
    connect(Tab->ZoomMoveTable_sbtn, &QPushButton::clicked, this, &TTabbedForm::ZoomMoveTable_sbtnClick);
    connect(Dash->SpeedButton3, &QPushButton::clicked, this, &TTabbedForm::SpeedButton3Click);
    connect(Tab->TabEdit_spbtn, &QPushButton::clicked, this,
            [this] { TabEdit_spbtnClick(*Tab->TableChart, *Tab->TabChartCurve_lbl); });
    connect(Tab->TrainedEdit_spbtn, &QPushButton::clicked, this,
            [this] { TrainedEdit_spbtnClick(*Tab->TableChart, *Tab->TabChartCurve_lbl); });
    // The options panel's chart selectors choose what a double click on the
    // table chart edits, as the two edit buttons do; "ECT" and "IAT" choose
    // their correction series, whose cells a double click does not set.
    connect(Tab->ChartTab_btn, &QPushButton::clicked, this,
            [this] { TabEdit_spbtnClick(*Tab->TableChart, *Tab->TabChartCurve_lbl); });
    connect(Tab->ChartTrained_btn, &QPushButton::clicked, this,
            [this] { TrainedEdit_spbtnClick(*Tab->TableChart, *Tab->TabChartCurve_lbl); });
    for (auto [button, series] : {std::pair{Tab->ChartIAT_btn, 1}, std::pair{Tab->ChartECT_btn, 2}}) {
        connect(button, &QPushButton::clicked, this, [this, button, series] {
            Tab->TableChart->pressSelector(series);
            Tab->TabChartCurve_lbl->setText(button->text());
        });
    }
    connect(Tab->TableChart, &ZoomScrollChartView::longTap, this,
            [this] { TableChartLongTap(*Tab->TabTopRectangle, *Bar->Rectangle18, *Tab->Rectangle8); });
    for (QPushButton* b : {Tab->TabUndo_btn, Log->LogUndoBtn})
        connect(b, &QPushButton::clicked, this, [this] { Tables->UndoRedo(false); });
    for (QPushButton* b : {Tab->TabRedo_btn, Log->LogRedo_btn})
        connect(b, &QPushButton::clicked, this, [this] { Tables->UndoRedo(true); });
    for (QPushButton* b : {Tab->TabInterp_btn, Log->LogInterp_btn, Dash->DashInterp_btn})
        connect(b, &QPushButton::clicked, this, &TTabbedForm::Interp_btnClick);
    for (QPushButton* b : {Tab->TabExtrap_btn, Log->LogExtrap_btn, Dash->DashExtrap_btn})
        connect(b, &QPushButton::clicked, this, &TTabbedForm::Extrap_btnClick);

    // The bottom bar shows which page is open.
    const auto markPage = [this](int index) {
        for (RoundButton* b : {Bar->TabTabSel_rect, Bar->LogTabSel_rect, Bar->DashTabSel_rect, Bar->MoreTabSel_rect})
            b->setBorderColour(b->Tag == index ? Theme::Accent : Theme::ButtonBorder);
    };
    connect(MTabControl, &QStackedWidget::currentChanged, this, markPage);
    markPage(MTabControl->currentIndex());
}

void TTabbedForm::Lang_txtClick()
{
    const int tag = senderTag(sender());
    if (tag == 0)
        Bar->LangAnimation->Enable();
    else if (FormAnimation* a = Dash->TPS_layout->channelAnimation(tag))
        a->Enable();
}

void TTabbedForm::LangAnimationFinish(FormAnimation* animation)
{
    const int tag = animation->Tag;
    if (tag == 0) {
        const bool toEnglish = Bar->Lang_txt->text() == QString::fromUtf8(FormTexts::LangRu);
        LanguageId = toEnglish ? 1 : 0;
        ApplyLanguage(LanguageId);
        Bar->Lang_txt->setText(QString::fromUtf8(toEnglish ? FormTexts::LangEn : FormTexts::LangRu));
        const QString toast = QString::fromUtf8(toEnglish ? FormTexts::EnglishToast : FormTexts::RussianToast);
        ShowToast(toast);
        FlashToast(toast);
        animation->Disable();
        return;
    }
    if (tag < 1 || tag > 6)
        return;
    animation->Disable();
    VoltmeterChannel = tag;
    Dash->TPS_layout->SelectChannel(tag);
}

void TTabbedForm::startVoltmeterAnimation()
{
    if (FormAnimation* a = Dash->TPS_layout->channelAnimation(VoltmeterChannel))
        a->Enable();
}

void TTabbedForm::BTTabSel_rectClick()
{
    switch (senderTag(sender())) {
    case 0:
        Dash->BTTabSel_ani->Enable();
        StartConnection();
        break;
    case 1: Bar->TabTabSel_ani->Enable(); break;
    case 2: Bar->LogTabSel_ani->Enable(); break;
    case 3: Bar->DashTabSel_ani->Enable(); break;
    case 4: Bar->MoreTabSel_ani->Enable(); break;
    default: FlashToast(QString::fromUtf8(FormTexts::BadPageButton)); break;
    }
    QCoreApplication::processEvents();
}

void TTabbedForm::BTTabSel_aniFinish(FormAnimation* animation)
{
    animation->Disable();
    const int tag = animation->Tag;
    MTabControl->setCurrentIndex(tag == 0 ? DashboardPageIndex : tag);
    QCoreApplication::processEvents();
    if (tag == DashboardPageIndex) {
        // A hint where the set-up panels open; these runs open nothing.
        for (FormAnimation* a : {Dash->Correction->CorrSetup_ani, Dash->TPS_layout->Ox_ani, Dash->Throttle_ani}) {
            a->setDelay(300);
            a->Tag = 0;
            a->Enable();
        }
    }
}

void TTabbedForm::ReadTab_rectClick()
{
    switch (senderTag(sender())) {
    case 0: Tab->ReadTab_ani->Enable(); break;
    case 1: Tab->WriteTab_ani->Enable(); break;
    case 2: Dash->DashReadTab_ani->Enable(); break;
    case 3: Dash->DashWriteTab_ani->Enable(); break;
    case 4:
        if (Dash->DashEngineTemp_ani->Enabled())
            Dash->DashEngineTemp_ani->Disable();
        else
            Dash->DashEngineTemp_ani->Enable();
        break;
    default: break;
    }
}

void TTabbedForm::ReadTab_aniFinish(FormAnimation* animation)
{
    animation->Disable();
    const int tag = animation->Tag;
    if (tag == 0 || tag == 2) {
        ReadTables();
        // Shown even when the read was refused: the entry as it stands.
        Dash->Angle_SpinBox->setValue(angleFromTableEntry(tableAngleEntry()));
    } else if (tag == 1 || tag == 3) {
        WriteTables(writeValueFromAngle(Dash->Angle_SpinBox->value()));
    }
}

void TTabbedForm::TabOpen_rectClick()
{
    switch (senderTag(sender())) {
    case 0: Tab->TabOpen_ani->Enable(); break;
    case 1: Tab->TabSave_ani->Enable(); break;
    case 2: Log->LogOpen_ani->Enable(); break;
    case 3: Log->LogSave_ani->Enable(); break;
    default: break;
    }
}

void TTabbedForm::TabOpen_aniFinish(FormAnimation* animation)
{
    animation->Disable();
    const QString name = defaultFileName(QDateTime::currentDateTime());
    switch (animation->Tag) {
    case 0: OpenFileBrowser(false, "tab", QString()); break;
    case 1: OpenFileBrowser(true, "tab", name); break;
    case 2: OpenFileBrowser(false, "log", QString()); break;
    case 3: OpenFileBrowser(true, "log", name); break;
    default: break;
    }
}

void TTabbedForm::About_ImageButtonClick()
{
    Bar->About_BitAni->Enable();
}

void TTabbedForm::About_BitAniFinish()
{
    Bar->About_BitAni->Disable();
    QWidget* help = Hotkeys->Hotkeys_layout;
    help->setVisible(help->isHidden());
    help->raise();
}

void TTabbedForm::OneToOne_rndrectClick()
{
    Tab->OneToOne_ani->Enable();
}

void TTabbedForm::OneToOne_aniFinish()
{
    Tab->OneToOne_ani->Disable();
    FillOneToOne();
}

void TTabbedForm::Defaults_rctClick()
{
    Tab->Defaults_ani->Enable();
    ShowToast(QString::fromUtf8(LanguageId == 1 ? FormTexts::DefaultsEn : FormTexts::DefaultsRu));
}

void TTabbedForm::Defaults_aniFinish()
{
    Tab->Defaults_ani->Disable();
    FlashToast(QString::fromUtf8(LanguageId == 1 ? FormTexts::DefaultsEn : FormTexts::DefaultsRu));
}

void TTabbedForm::TabMore_rectClick()
{
    Tab->TabMoreImg_ani->Enable();
}

void TTabbedForm::LogSetup_rectClick()
{
    Log->LogSetup_ani->Enable();
}

void TTabbedForm::SaveAll_rectClick()
{
    Dash->SaveAll_ani->Enable();
}

void TTabbedForm::SaveAll_aniFinish()
{
    Dash->SaveAll_ani->Disable();
    const QString path = QDir(FileFolder).filePath(defaultFileName(QDateTime::currentDateTime()));
    SaveTableFile(path + ".tab");
    SaveLog(path + ".log");
}

void TTabbedForm::TabReset_rectClick()
{
    Tab->TabReset_ani->Enable();
}

void TTabbedForm::TabReset_aniFinish()
{
    Tab->TabReset_ani->Disable();
    ResetConverter();
}

void TTabbedForm::swapZoomButton(QPushButton* button, Qt::MouseButton& zoomButton)
{
    const QString move = QString::fromUtf8(FormTexts::ZoomMove);
    button->setText(button->text() == move ? QString::fromUtf8(FormTexts::ZoomPlusMinus) : move);
    zoomButton = zoomButton == Qt::RightButton ? Qt::LeftButton : Qt::RightButton;
}

void TTabbedForm::Interp_btnClick()
{
    if (const std::optional<bool> pressed =
            pressTwins(sender(), {Tab->TabInterp_btn, Log->LogInterp_btn, Dash->DashInterp_btn}))
        Tables->SetInterpolationMode(*pressed);
}

void TTabbedForm::Extrap_btnClick()
{
    if (const std::optional<bool> pressed =
            pressTwins(sender(), {Tab->TabExtrap_btn, Log->LogExtrap_btn, Dash->DashExtrap_btn}))
        Tables->SetExtrapolate(*pressed ? 1 : 0);
}

void TTabbedForm::ZoomMoveLog_sbtnClick()
{
    swapZoomButton(Log->ZoomMoveLog_sbtn, Log->ChartLog->zoomButton);
}

void TTabbedForm::ZoomMoveDashChart_sbtnClick()
{
    swapZoomButton(Dash->ZoomMoveDashChart_sbtn, Dash->DashChart->zoomButton);
}

void TTabbedForm::ZoomMoveTable_sbtnClick()
{
    ::ZoomMoveTable_sbtnClick(*Tab->ZoomMoveTable_sbtn, *Tab->TableChart);
}

void TTabbedForm::SpeedButton3Click()
{
    Dash->DashChart->show();
}
