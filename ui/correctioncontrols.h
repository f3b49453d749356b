#pragma once

#include <QWidget>

class ButtonText;
class FormAnimation;
class QButtonGroup;
class QCheckBox;
class QDial;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class RoundButton;
class SvgPicture;

// The dashboard's correction controls "Correction_rect" and the controls
// beside it. The layout keeps them hidden; they hold the state the hot keys
// use. What stays inside the window (dial stepping, the number's texts, the
// correction box's kind, the window track bars, the marker's look) is done
// here; what reaches the Converter, the table or the logger is signalled.
class CorrectionControls : public QWidget {
    Q_OBJECT
public:
    static constexpr quint32 MarkerOnTop = 0xFFFFFFFF;
    static constexpr quint32 MarkerOnBottom = 0xFFFF0000;
    static constexpr quint32 BordersHidden = 0xFFA7A7A7;
    static constexpr quint32 BordersShown = 0xFFF45151;
    static constexpr quint32 CorrTextOnChart = 0xFF000000;
    static constexpr quint32 CorrTextPlain = 0xFFFFF8DC;

    // page: the dashboard page, which holds the controls lying beside the panel.
    explicit CorrectionControls(QWidget* page);

    QDoubleSpinBox* Corr_numbox;
    QDial* Corr_dial;
    QLabel* Corr_txt;
    FormAnimation* CorrTxt_ani;
    QLabel* Corr_lbl;
    RoundButton* DashApplyToTable_rect;
    FormAnimation* DashApplyToTable_ani;
    RoundButton* DashAutoRect;
    SvgPicture* DashAutoEnabled_img;
    SvgPicture* DashAutoDisabled_img;
    QLabel* CorrType_lbl;
    QWidget* Borders_rect;
    QSlider* TrackBarMafNach;
    QSlider* TrackBarMafKon;
    QSpinBox* MafBeg_nbox;
    QSpinBox* MafEnd_nbox;
    QLabel* Pulsations_lbl;
    RoundButton* CorrSetup_rect;
    FormAnimation* CorrSetup_ani;
    QPushButton* Corr_btn;
    QPushButton* ClearTrainedInWindow_sbtn;
    QPushButton* ClearTrainedAll_sbtn;

    // Beside the panel, each hidden by itself.
    RoundButton* Marker_rect;
    RoundButton* ShowBordersSliders_rect;
    RoundButton* ButtonPlus;
    RoundButton* ButtonMinus;
    QButtonGroup* DialType;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QCheckBox* KickDown_switch;
    QLabel* Label3;

    // The angle-offset box of the table settings and the dashboard chart,
    // which the number's handler reads and writes.
    QDoubleSpinBox* smoothTps = nullptr;
    QWidget* dashChart = nullptr;

    double previousDialAngle = 0;

    bool offsetChecked() const;
    bool autoCorrectionEnabled() const;

public slots:
    void Corr_dialChange(int angle);
    void ButtonPlusClick();
    void ButtonMinusClick();
    void Corr_numboxChange(double value);
    void RadioButton1Change();
    void TrackBarMafNachChange();
    void Marker_rectMouseDown();
    void Marker_rectMouseUp();
    void ShowBordersSliders_rectClick();
    // Swaps the two automatic-correction pictures.
    void swapAutoCorrection();
    // Marker fill for the released state: the button's colours or the hot key's.
    void setMarkerReleased(quint32 top, quint32 bottom);

signals:
    // The number changed to value (after its texts were set): the window
    // stores and sends the correction and the angle offset.
    void correctionNumberChanged(double value);
    // The window moved: send the correction of kind 2 over begin..end.
    void correctionWindowChanged(int correction, int begin, int end);
    void markerHeldChanged(bool held);

private:
    void buildPanel();
    void buildBeside(QWidget* page);
    void applyDialStep(double delta);
    QSlider* trackBarSender() const;
};
