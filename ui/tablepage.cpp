#include "tablepage.h"

#include "tablechartview.h"
#include "formanimation.h"
#include "formtexts.h"
#include "optionspanel.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "theme.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

RoundButton* barButton(const QString& name, const QString& icon, QWidget* parent, int tag = 0)
{
    auto* b = new RoundButton(name, parent, tag);
    b->setFixedSize(48, 48);
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

QPushButton* pushButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TablePage::TablePage(QWidget* page)
{
    TabTopRectangle = new QWidget(page);
    TabTopRectangle->setObjectName("TabTopRectangle");
    TabTopRectangle->setGeometry(0, 0, 394, 60);
    auto* bar = new QHBoxLayout(TabTopRectangle);
    bar->setContentsMargins(10, 6, 10, 6);
    OneToOne_rndrect = barButton("OneToOne_rndrect", QString(), TabTopRectangle);
    OneToOne_txt = OneToOne_rndrect->addText("OneToOne_txt", QString::fromUtf8(FormTexts::OneToOne), 12);
    OneToOne_ani = FormAnimation::textColour(OneToOne_txt, "OneToOne_ani", QColor(0xff, 0xe4, 0xc4));
    ReadTab_rect = barButton("ReadTab_rect", ":/icons/read.svg", TabTopRectangle, 0);
    ReadTab_ani = pictureAni(ReadTab_rect, "ReadTab_ani", 0);
    TabMore_rect = barButton("TabMore_rect", ":/icons/settings.svg", TabTopRectangle);
    TabMoreImg_ani = pictureAni(TabMore_rect, "TabMoreImg_ani", 0);
    TabOpen_rect = barButton("TabOpen_rect", ":/icons/open.svg", TabTopRectangle, 0);
    TabOpen_ani = pictureAni(TabOpen_rect, "TabOpen_ani", 0);
    TabSave_rect = barButton("TabSave_rect", ":/icons/save.svg", TabTopRectangle, 1);
    TabSave_ani = pictureAni(TabSave_rect, "TabSave_ani", 1);
    WriteTab_rect = barButton("WriteTab_rect", ":/icons/write.svg", TabTopRectangle, 1);
    WriteTab_ani = pictureAni(WriteTab_rect, "WriteTab_ani", 1);
    for (RoundButton* b : {OneToOne_rndrect, ReadTab_rect, TabMore_rect, TabOpen_rect, TabSave_rect, WriteTab_rect})
        bar->addWidget(b);

    TableChart = new TableChartView(page);
    TableChart->setObjectName("TableChart");
    TableChart->setGeometry(6, 64, 382, 500);
    ZoomMoveTable_sbtn = pushButton("ZoomMoveTable_sbtn", QString::fromUtf8(FormTexts::ZoomMove), page);
    ZoomMoveTable_sbtn->setGeometry(326, 72, 56, 30);
    TabEdit_spbtn = pushButton("TabEdit_spbtn", "Tab", page);
    TrainedEdit_spbtn = pushButton("TrainedEdit_spbtn", "Trained", page);
    TabEdit_spbtn->setGeometry(14, 72, 70, 30);
    TrainedEdit_spbtn->setGeometry(88, 72, 86, 30);
    TabChartCurve_lbl = new QLabel("Tab", page);
    TabChartCurve_lbl->setObjectName("TabChartCurve_lbl");
    TabChartCurve_lbl->setGeometry(180, 72, 120, 30);

    Rectangle8 = new QWidget(page);
    Rectangle8->setObjectName("Rectangle8");
    Rectangle8->setGeometry(0, 570, 394, 56);
    auto* row = new QHBoxLayout(Rectangle8);
    row->setContentsMargins(10, 6, 10, 6);
    TabUndo_btn = pushButton("TabUndo_btn", QString(), Rectangle8);
    TabRedo_btn = pushButton("TabRedo_btn", QString(), Rectangle8);
    TabUndo_btn->setIcon(QIcon(":/icons/undo.svg"));
    TabRedo_btn->setIcon(QIcon(":/icons/redo.svg"));
    TabExtrap_btn = pushButton("TabExtrap_btn", QString::fromUtf8(FormTexts::Extrapolation), Rectangle8);
    TabInterp_btn = pushButton("TabInterp_btn", QString::fromUtf8(FormTexts::Interpolation), Rectangle8);
    // They show a mode, pressed or not.
    TabExtrap_btn->setCheckable(true);
    TabInterp_btn->setCheckable(true);
    for (QPushButton* b : {TabUndo_btn, TabRedo_btn, TabExtrap_btn, TabInterp_btn})
        row->addWidget(b);

    TabMore_layt = new QWidget(page);
    TabMore_layt->setObjectName("TabMore_layt");
    TabMore_layt->setAttribute(Qt::WA_StyledBackground);
    TabMore_layt->setStyleSheet("#TabMore_layt { background: #161e29; border: 2px solid #ffa500;"
                                " border-radius: 14px; }");
    TabMore_layt->setGeometry(12, 66, 370, 420);
    auto* grid = new QGridLayout(TabMore_layt);
    grid->setContentsMargins(14, 14, 14, 14);
    const auto label = [&](const QString& name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), TabMore_layt);
        l->setObjectName(name);
        return l;
    };
    const auto box = [&](QDoubleSpinBox*& b, const QString& name, QLabel* caption, double min, double max, int line) {
        b = numberBox(name, min, max, 0, TabMore_layt);
        grid->addWidget(caption, line, 0, 1, 2);
        grid->addWidget(b, line, 2);
    };
    // Only the MAF smoothing is for the person to set here; the other
    // settings travel with the table unseen (the angle offset has its own
    // box on the dashboard).
    grid->addWidget(LabelSmooth = label("LabelSmooth", FormTexts::SmoothingHeading), 0, 0, 1, 3);
    box(SmoothMaf_nb, "SmoothMaf_nb", label("SmoothMaf_lbl", FormTexts::SmoothMaf), 0, 255, 1);
    box(SmoothTps_nb, "SmoothTps_nb", label("SmoothTps_lbl", FormTexts::SmoothTps), -12.5, 12.5, 2);
    SmoothTps_nb->setDecimals(1);
    box(SmoothRpm_nb, "SmoothRpm_nb", label("SmoothRpm_lbl", FormTexts::SmoothRpm), 0, 255, 3);
    grid->addWidget(LabelEnrichment = label("LabelEnrichment", FormTexts::EnrichmentHeading), 4, 0, 1, 3);
    box(MafTime_nb, "MafTime_nb", LabelMafTime = label("LabelMafTime", FormTexts::MafTime), 0, 255, 5);
    box(Treshold_nb, "Treshold_nb", LabelThreshold = label("LabelThreshold", FormTexts::Threshold), 0, 255, 6);
    box(EnrichmentFactor_nb, "EnrichmentFactor_nb",
        LabelEnrichmentFactor = label("LabelEnrichmentFactor", FormTexts::EnrichmentFactor), 0, 255, 7);
    box(EnleanmentFactor_nb, "EnleanmentFactor_nb",
        LabelEnleanmentFactor = label("LabelEnleanmentFactor", FormTexts::EnleanmentFactor), 0, 255, 8);
    grid->addWidget(LabelTpsThreshold = label("LabelTpsThreshold", FormTexts::TpsThreshold), 9, 0, 1, 3);
    box(TpsThreshold_nb, "TpsThreshold_nb", LabelTpsThrhdValue = label("LabelTpsThrhdValue", FormTexts::TpsThrhdValue),
        0, 255, 10);
    TpsThreshold_nb->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{
             SmoothTps_nb, SmoothRpm_nb, MafTime_nb, Treshold_nb, EnrichmentFactor_nb, EnleanmentFactor_nb,
             TpsThreshold_nb, LabelEnrichment, LabelMafTime, LabelThreshold, LabelEnrichmentFactor,
             LabelEnleanmentFactor, LabelTpsThreshold, LabelTpsThrhdValue})
        w->hide();
    for (const char* name : {"SmoothTps_lbl", "SmoothRpm_lbl"})
        TabMore_layt->findChild<QLabel*>(name)->hide();
    ChartTab_btn = pushButton("ChartTab_btn", "Tab", TabMore_layt);
    ChartTrained_btn = pushButton("ChartTrained_btn", "Trained", TabMore_layt);
    ChartECT_btn = pushButton("ChartECT_btn", "ECT", TabMore_layt);
    ChartIAT_btn = pushButton("ChartIAT_btn", "IAT", TabMore_layt);
    auto* selectors = new QHBoxLayout;
    for (QPushButton* b : {ChartTab_btn, ChartTrained_btn, ChartECT_btn, ChartIAT_btn})
        selectors->addWidget(b);
    grid->addLayout(selectors, 11, 0, 1, 3);
    Defaults_rct = new RoundButton("Defaults_rct", TabMore_layt);
    Defaults_rct->setRadius(12);
    Defaults_rct->setFixedHeight(44);
    Defaults_txt = Defaults_rct->addText("Defaults_txt", QString::fromUtf8(FormTexts::DefaultsRu), 10);
    Defaults_ani = FormAnimation::textColour(Defaults_txt, "Defaults_ani");
    Defaults_ani->setDelay(100);
    TabReset_rect = barButton("TabReset_rect", ":/icons/reset.svg", TabMore_layt);
    TabReset_ani = pictureAni(TabReset_rect, "TabReset_ani", 0);
    grid->addWidget(Defaults_rct, 12, 0, 1, 2);
    grid->addWidget(TabReset_rect, 12, 2, Qt::AlignRight);
    TabMore = new OptionsPanel(TabMore_layt, TabMore_rect, TabMoreImg_ani, "TabMoreLayout_ani", "TabMoreRect_ani",
                               0.95, Theme::ButtonTop, Theme::ButtonBottom);
}
