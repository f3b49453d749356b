#pragma once

#include <QWidget>

class ButtonText;
class FormAnimation;
class QLabel;
class RoundButton;
class SvgPicture;
struct TMsgDashData;

// The dashboard voltmeter "TPS_layout": one face per input line, the reading,
// the offset text of the REF line, the oxygen bar of the O2 line and six
// channel buttons. The buttons' colour animations are started by the window;
// their finish selects the channel.
class Voltmeter : public QWidget {
    Q_OBJECT
public:
    static constexpr quint32 ChannelColour = 0xFFFFA500;
    static constexpr quint32 SelectedColour = 0xFFCD5C5C;

    explicit Voltmeter(QWidget* parent);

    SvgPicture* TpsMultimeter1_img;
    SvgPicture* TpsMultimeter2_img;
    SvgPicture* TpsMultimeterAt_img;
    SvgPicture* TpsMultimeterRef_img;
    SvgPicture* TpsMultimeterO2_img;
    SvgPicture* TpsMultimeterIAT_img;
    QLabel* LabelVoltage;
    QLabel* OffsetLabel;
    RoundButton* OxBase_rect;
    QWidget* OxMeter_rect;
    QLabel* OxValue_lbl;
    FormAnimation* Ox_ani;

    RoundButton* One_rect;
    RoundButton* Two_rect;
    RoundButton* AT_rect;
    RoundButton* REF_rect;
    RoundButton* O2_rect;
    RoundButton* IAT_rect;
    ButtonText* One_txt;
    ButtonText* Two_txt;
    ButtonText* AT_txt;
    ButtonText* REF_txt;
    ButtonText* O2_txt;
    ButtonText* IATBTN_txt;
    FormAnimation* One_ani;
    FormAnimation* Two_ani;
    FormAnimation* AT_ani;
    FormAnimation* REF_ani;
    FormAnimation* O2_ani;
    FormAnimation* IAT_ani;

    // Channel n (1..6): its button, text, animation and face; nullptr otherwise.
    RoundButton* channelButton(int n) const;
    FormAnimation* channelAnimation(int n) const;
    SvgPicture* channelPicture(int n) const;

    // Hides the faces and the oxygen bar, paints every channel button orange.
    void Reset();
    // Shows channel n (1..6) as chosen; any other n changes nothing.
    void SelectChannel(int n);
    // Draws one live sample for the given channel: the reading, the REF
    // offset text and the oxygen bar.
    void ShowSample(int channel, const TMsgDashData& sample);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    RoundButton* makeChannel(const QString& name, const QString& textName, const QString& text, int tag,
                             ButtonText*& label, FormAnimation*& animation);
    void placeOxygenBar(int meter);
    int oxMeter = 0;
};

// Volts rounded to two decimals in the shortest text, the locale's decimal
// separator, and "V": 2.5 gives "2.5V", 4.9951 gives "5V".
QString voltText(double volts);
