#pragma once

#include <QFrame>

class FormAnimation;
class QCheckBox;
class QComboBox;
class QDial;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTableWidget;
class QVBoxLayout;

// A set-up panel laid over the dashboard: a title, its controls and an OK
// button; it fades in from 0 to 0.95 in 0.3 s when opened.
class SetupPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr double OpenOpacity = 0.95;

    SetupPanel(const QString& name, const QString& fadeName, QLabel*& title, const QString& titleName,
               const QString& titleText, QWidget* page);

    FormAnimation* fade() const { return fadeIn; }
    // Opacity 0, shown, fade started.
    void open();
    // Opacity 0 and hidden.
    void close();

protected:
    QVBoxLayout* body;
    QLabel* label(const QString& name, const QString& text, bool muted = false);
    QPushButton* okButton(const QString& name);

private:
    FormAnimation* fadeIn;
};

// "TPS_Setup_layout": the reference switch, calibration of the end positions.
class TpsSetupPanel : public SetupPanel {
    Q_OBJECT
public:
    static constexpr quint32 PinActive = 0xFFFF0000;
    static constexpr quint32 PinIdle = 0xFFC0C0C0;

    explicit TpsSetupPanel(QWidget* page);

    QLabel* TpsSetup_lbl;
    QLabel* Label8;
    QCheckBox* RefSwitch;
    QLabel* Label9;
    QRadioButton* Closed_rb;
    QRadioButton* Open_rb;
    QPushButton* Calibrate_btn;
    QComboBox* ComboBoxTpsSetup;
    QLabel* TpsUnits_lbl;
    QLabel* TpsMin_lbl;
    QLabel* TpsMax_lbl;
    QPushButton* Max_btn;
    QPushButton* Min_btn;
    QPushButton* KickDown_btn;
    QLabel* RefVoltage_lbl;
    QPushButton* Button4;
    FormAnimation* TPS_Setup_ani;

    // Switch on: 4PIN grey, 3PIN red; off: the other way round.
    void colourPins();
    // The two label colours as given (ARGB).
    void setPinColours(quint32 label8, quint32 label9);
};

// "Oxygen_Sensor_layout": sensor type and unit, offset, reference grid.
class OxygenSetupPanel : public SetupPanel {
    Q_OBJECT
public:
    explicit OxygenSetupPanel(QWidget* page);

    QLabel* OsSettings_lbl;
    QLabel* OsType_lbl;
    QComboBox* ComboBoxO2;
    QLabel* O2Units_lbl;
    QComboBox* ComboBoxO2Output;
    QLabel* O2Offset_lbl;
    QDial* OffsetO2_dial;
    QDoubleSpinBox* O2Offset_numbox;
    QPushButton* OsTest_btn;
    QLabel* OsRefValues_lbl;
    QScrollArea* O2Grid_scroll;
    QTableWidget* StringGrid2;
    QDoubleSpinBox* O2Ref_numbox;
    QPushButton* FillO2RefGrid_btn;
    QPushButton* BtnOkClosesView;
    FormAnimation* OS_Setup_ani;
};

// "Corr_Setup_layout": the automatic correction's settings.
class CorrSetupPanel : public SetupPanel {
    Q_OBJECT
public:
    explicit CorrSetupPanel(QWidget* page);

    QLabel* AutocorrSetup_lbl;
    QComboBox* ComboBoxAutoCorrType;
    QLabel* VafMode1_lbl;
    QLabel* VafMode2_lbl;
    QRadioButton* VRise_rb;
    QRadioButton* VFall_rb;
    QLabel* MafPulsations_lbl;
    QDoubleSpinBox* MafPulsations_nbox;
    QLabel* AutocorrIntervals_lbl;
    QLabel* Fast_lbl;
    QDoubleSpinBox* Fast_nbox;
    QLabel* Fine_lbl;
    QDoubleSpinBox* Fine_nbox;
    QLabel* ForcedIdle_lbl;
    QDoubleSpinBox* ForcedIdleRpm_nbox;
    QDoubleSpinBox* ForcedIdleTps_nbox;
    QPushButton* Button6;
    FormAnimation* Corr_Setup_ani;
};

// A whole-number box of the set-up panels with its range and start value.
QDoubleSpinBox* numberBox(const QString& name, double min, double max, double value, QWidget* parent);
