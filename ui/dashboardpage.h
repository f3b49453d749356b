#pragma once

class ButtonText;
class DashboardChartView;
class CorrSetupPanel;
class CorrectionControls;
class FormAnimation;
class OxygenSetupPanel;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class RoundButton;
class SvgPicture;
class TpsSetupPanel;
class Voltmeter;

// The dashboard page "TabItem4": menu bar, connection memo, throttle gauge,
// sensor angle, start/stop, voltmeter, the hidden correction controls and
// dashboard chart, and the three set-up panels over the page.
struct DashboardPage {
    explicit DashboardPage(QWidget* page);

    QWidget* Menu_rect;
    RoundButton* SaveAll_rect;
    FormAnimation* SaveAll_ani;
    RoundButton* DashReadTab_rect;
    FormAnimation* DashReadTab_ani;
    RoundButton* DashWriteTab_rect;
    FormAnimation* DashWriteTab_ani;
    RoundButton* DashMore_rect;
    RoundButton* DashEngineTemp_rect;
    FormAnimation* DashEngineTemp_ani;
    RoundButton* StartStop_rect;
    SvgPicture* Start_img;
    SvgPicture* Stop_img;
    RoundButton* BTTabSel_rect;
    FormAnimation* BTTabSel_ani;

    QPlainTextEdit* TextConnection;
    RoundButton* Throttle_rect;
    QWidget* ThrottleMeter_rect;
    SvgPicture* Throttle_img;
    QDoubleSpinBox* TPSAngle_numbox;
    FormAnimation* Throttle_ani;
    QLabel* Label7;
    QDoubleSpinBox* Angle_SpinBox;
    RoundButton* GStartStop_rct;
    SvgPicture* GStart_img;
    SvgPicture* GStop_img;
    Voltmeter* TPS_layout;

    CorrectionControls* Correction;
    QWidget* DashChart_rect;
    DashboardChartView* DashChart;
    QPushButton* ZoomMoveDashChart_sbtn;
    QLabel* Sensor_lbl;
    QLabel* Out_lbl;
    QPushButton* DashExtrap_btn;
    QPushButton* DashInterp_btn;
    QPushButton* SpeedButton3;

    CorrSetupPanel* Corr_Setup_layout;
    OxygenSetupPanel* Oxygen_Sensor_layout;
    TpsSetupPanel* TPS_Setup_layout;

    // Draws the throttle bar for an angle in tenths of a degree: 900 fill the frame.
    void showThrottleBar(int rawAngle);
};
