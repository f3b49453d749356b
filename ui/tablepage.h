#pragma once

class ButtonText;
class TableChartView;
class FormAnimation;
class OptionsPanel;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QWidget;
class RoundButton;

// The table page "TabItem2": top bar, table chart, the options panel
// "TabMore_layt" with the eight setting boxes, and the undo/redo row.
struct TablePage {
    explicit TablePage(QWidget* page);

    QWidget* TabTopRectangle;
    RoundButton* OneToOne_rndrect;
    ButtonText* OneToOne_txt;
    FormAnimation* OneToOne_ani;
    RoundButton* ReadTab_rect;
    FormAnimation* ReadTab_ani;
    RoundButton* TabMore_rect;
    FormAnimation* TabMoreImg_ani;
    RoundButton* TabOpen_rect;
    FormAnimation* TabOpen_ani;
    RoundButton* TabSave_rect;
    FormAnimation* TabSave_ani;
    RoundButton* WriteTab_rect;
    FormAnimation* WriteTab_ani;

    TableChartView* TableChart;
    QPushButton* ZoomMoveTable_sbtn;
    QPushButton* TabEdit_spbtn;
    QPushButton* TrainedEdit_spbtn;
    QLabel* TabChartCurve_lbl;

    QWidget* TabMore_layt;
    OptionsPanel* TabMore;
    QDoubleSpinBox* SmoothMaf_nb;
    QDoubleSpinBox* SmoothTps_nb;
    QDoubleSpinBox* SmoothRpm_nb;
    QDoubleSpinBox* MafTime_nb;
    QDoubleSpinBox* Treshold_nb;
    QDoubleSpinBox* EnrichmentFactor_nb;
    QDoubleSpinBox* EnleanmentFactor_nb;
    QDoubleSpinBox* TpsThreshold_nb;
    // Their captions; only the smoothing ones are shown.
    QLabel* LabelSmooth;
    QLabel* LabelEnrichment;
    QLabel* LabelMafTime;
    QLabel* LabelThreshold;
    QLabel* LabelEnrichmentFactor;
    QLabel* LabelEnleanmentFactor;
    QLabel* LabelTpsThreshold;
    QLabel* LabelTpsThrhdValue;
    QPushButton* ChartTab_btn;
    QPushButton* ChartTrained_btn;
    QPushButton* ChartECT_btn;
    QPushButton* ChartIAT_btn;
    RoundButton* Defaults_rct;
    ButtonText* Defaults_txt;
    FormAnimation* Defaults_ani;
    RoundButton* TabReset_rect;
    FormAnimation* TabReset_ani;

    QWidget* Rectangle8;
    QPushButton* TabUndo_btn;
    QPushButton* TabRedo_btn;
    QPushButton* TabExtrap_btn;
    QPushButton* TabInterp_btn;
};
