#include "anglevalues.h"
#include "correctioncontrols.h"
#include "defaultfilename.h"
#include "formanimation.h"
#include "formtexts.h"
#include "roundbutton.h"
#include "voltmeter.h"

#include "messages.h"

#include <QDial>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

// The window's building blocks that need no main window: file names, the
// angle conversions, the click pattern, the voltmeter and the correction controls.
class TestWindowParts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void defaultFileName_data();
    void defaultFileName();
    void angleConversions_data();
    void angleConversions();
    void voltTexts_data();
    void voltTexts();

    void clickRunsTheCommandOnceAfterTheAnimation();
    void delayedAnimationIgnoresClicksWhileWaiting();

    void voltmeterChannelRef();
    void voltmeterSampleAndOxygenBar_data();
    void voltmeterSampleAndOxygenBar();

    void dialSteps_data();
    void dialSteps();
    void offsetNumberShowsHalfDegrees();
    void outputNumberShowsPercent();
    void correctionBoxKindFollowsTheDialType();
    void trackBarsKeepTheWindowInOrder();
    void markerAndBordersButtons();
};

void TestWindowParts::defaultFileName_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("timeFormat");
    QTest::addColumn<QString>("expected");
    const QDate day(2026, 12, 9);
    QTest::newRow("example") << QDateTime(day, QTime(1, 7, 15)) << "dd.MM.yyyy" << "H:mm:ss" << "D09122026T1_07_15";
    QTest::newRow("midnight") << QDateTime(day, QTime(0, 0)) << "dd.MM.yyyy" << "H:mm:ss" << "D09122026";
    QTest::newRow("one second past midnight")
        << QDateTime(day, QTime(0, 0, 1)) << "dd.MM.yyyy" << "H:mm:ss" << "D09122026T0_00_01";
    QTest::newRow("blanks in the time format")
        << QDateTime(day, QTime(13, 5, 0)) << "dd.MM.yyyy" << "h:mm:ss AP" << "D09122026T1_05_00TPM";
    QTest::newRow("slashes never make folders")
        << QDateTime(day, QTime(1, 7, 15)) << "M/d/yy" << "H:mm:ss" << "D12_9_26T1_07_15";
}

void TestWindowParts::defaultFileName()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, dateFormat);
    QFETCH(QString, timeFormat);
    QFETCH(QString, expected);
    QCOMPARE(::defaultFileName(now, dateFormat, timeFormat), expected);
}

void TestWindowParts::angleConversions_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("written");
    QTest::newRow("-1.5") << -1.5 << -15;
    QTest::newRow("1.26") << 1.26 << 12;
    QTest::newRow("12.5") << 12.5 << 125;
    QTest::newRow("-0.04") << -0.04 << 0;
}

void TestWindowParts::angleConversions()
{
    QFETCH(double, angle);
    QFETCH(int, written);
    QCOMPARE(writeValueFromAngle(angle), written);
    // The entry keeps its angle in its low byte, signed.
    QCOMPARE(angleFromTableEntry(0xD8), -4.0);
    QCOMPARE(angleFromTableEntry(0x1234D8), -4.0);
    QCOMPARE(angleFromTableEntry(125), 12.5);
    QCOMPARE(angleFromTableEntry(-15), -1.5);
}

void TestWindowParts::voltTexts_data()
{
    QTest::addColumn<double>("volts");
    QTest::addColumn<QString>("text");
    QTest::newRow("AT 128") << 128 / 256.0 * 5 << "2.5V";
    QTest::newRow("line 1023") << 1023 / 1024.0 * 5 << "5V";
    QTest::newRow("zero") << 0.0 << "0V";
    QTest::newRow("two decimals") << 700 / 1024.0 * 5 << "3.42V";
}

void TestWindowParts::voltTexts()
{
    QFETCH(double, volts);
    QFETCH(QString, text);
    QCOMPARE(voltText(volts), text);
}

void TestWindowParts::clickRunsTheCommandOnceAfterTheAnimation()
{
    QWidget window;
    auto* button = new RoundButton("ReadTab_rect", &window, 2);
    button->setGeometry(10, 10, 48, 48);
    FormAnimation* animation = FormAnimation::picture(button, "ReadTab_ani");
    animation->Tag = 2;
    QList<int> commands;
    QElapsedTimer clock;
    qint64 ranAt = -1;
    QObject::connect(button, &RoundButton::clicked, animation, [animation] { animation->Enable(); });
    QObject::connect(animation, &FormAnimation::Finish, &window, [&](FormAnimation* a) {
        a->Disable();
        commands.append(a->Tag);
        ranAt = clock.elapsed();
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    clock.start();
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(commands.isEmpty());
    QVERIFY(button->alternatePicture());  // the second picture shows while it runs
    QTest::qWait(100);
    QTest::mouseClick(button, Qt::LeftButton);  // ignored: the animation runs
    QTRY_COMPARE(commands.size(), 1);
    QCOMPARE(commands.first(), 2);
    QVERIFY2(ranAt >= 280, qPrintable(QString::number(ranAt)));
    QVERIFY(!button->alternatePicture());
    QTest::qWait(400);
    QCOMPARE(commands.size(), 1);

    QTest::mouseClick(button, Qt::LeftButton);  // a new click after the finish runs again
    QTRY_COMPARE(commands.size(), 2);
}

void TestWindowParts::delayedAnimationIgnoresClicksWhileWaiting()
{
    QWidget window;
    auto* text = new ButtonText("Defaults_txt", "x", &window);
    FormAnimation* a = FormAnimation::textColour(text, "Defaults_ani");
    a->setDelay(100);
    QSignalSpy finished(a, &FormAnimation::Finish);
    QVERIFY(a->Enable());
    QVERIFY(a->Enabled());
    QVERIFY(!a->Enable());
    QCOMPARE(text->textColour(), QColor(Qt::white));
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(text->textColour(), QColor(Qt::black));
    a->Disable();
    QCOMPARE(text->textColour(), QColor(Qt::white));
}

void TestWindowParts::voltmeterChannelRef()
{
    Voltmeter meter(nullptr);
    meter.resize(370, 254);
    meter.Reset();
    meter.SelectChannel(5);
    QVERIFY(!meter.OxBase_rect->isHidden());
    meter.SelectChannel(4);
    QVERIFY(!meter.TpsMultimeterRef_img->isHidden());
    QVERIFY(!meter.OffsetLabel->isHidden());
    QVERIFY(meter.OxBase_rect->isHidden());
    for (int n = 1; n <= 6; ++n) {
        QCOMPARE(meter.channelPicture(n)->isHidden(), n != 4);
        QCOMPARE(meter.channelButton(n)->fillColour().rgba(), n == 4 ? 0xFFCD5C5Cu : 0xFFFFA500u);
    }
    meter.SelectChannel(7);  // no such channel: nothing changes
    QVERIFY(!meter.TpsMultimeterRef_img->isHidden());
    meter.SelectChannel(1);
    QVERIFY(meter.OffsetLabel->isHidden());
}

void TestWindowParts::voltmeterSampleAndOxygenBar_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("o2Meter");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<int>("barWidth");
    QTest::newRow("AT 128") << 3 << 127 << "2.5V" << 127;  // 255 wide: one pixel per count
    QTest::newRow("line 1 full") << 1 << 300 << "5V" << 255;
    QTest::newRow("negative meter") << 5 << -5 << "1.25V" << 0;
    QTest::newRow("no channel") << 9 << 0 << "0.00V" << 0;
}

void TestWindowParts::voltmeterSampleAndOxygenBar()
{
    QFETCH(int, channel);
    QFETCH(int, o2Meter);
    QFETCH(QString, reading);
    QFETCH(int, barWidth);
    Voltmeter meter(nullptr);
    meter.resize(255, 254);
    meter.show();
    TMsgDashData s;
    s.rawAt = 128;
    s.rawLine1 = 1023;
    s.o2Raw = 64;
    s.o2Meter = o2Meter;
    s.o2Text = "14.7";
    meter.ShowSample(channel, s);
    QCOMPARE(meter.LabelVoltage->text(), reading);
    QCOMPARE(meter.OxMeter_rect->width(), barWidth);
    QCOMPARE(meter.OxValue_lbl->text(), QString("14.7"));
}

void TestWindowParts::dialSteps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("change");
    QTest::newRow("10 to 5 raises") << 10 << 5 << 0.5;
    QTest::newRow("5 to 10 lowers") << 5 << 10 << -0.5;
    QTest::newRow("180 to -170 crosses the seam") << 180 << -170 << 0.0;
    QTest::newRow("179 to -179 raises") << 179 << -179 << 0.5;
    QTest::newRow("-180 to 10 crosses the seam") << -180 << 10 << 0.0;
    QTest::newRow("far turn is one step") << 100 << -90 << 0.5;
}

void TestWindowParts::dialSteps()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, change);
    QWidget page;
    CorrectionControls c(&page);
    // Offset kind: half-degree steps in a decimal box.
    c.RadioButton1->setChecked(true);
    c.RadioButton2->setChecked(true);
    c.previousDialAngle = from;
    c.Corr_numbox->setValue(1.0);
    c.Corr_dialChange(to);
    QCOMPARE(c.Corr_numbox->value(), 1.0 + change);
    QCOMPARE(c.previousDialAngle, double(to));
    c.Corr_dialChange(to);  // the same angle again is no turn
    QCOMPARE(c.Corr_numbox->value(), 1.0 + change);

    // Output kind: whole steps.
    c.RadioButton1->setChecked(true);
    c.previousDialAngle = from;
    c.Corr_dialChange(to);
    QCOMPARE(c.Corr_numbox->value(), 2 * change);
}

void TestWindowParts::offsetNumberShowsHalfDegrees()
{
    QWidget page;
    CorrectionControls c(&page);
    QDoubleSpinBox smoothTps;
    smoothTps.setRange(-12.5, 12.5);
    smoothTps.setDecimals(1);
    c.smoothTps = &smoothTps;
    QSignalSpy numbers(&c, &CorrectionControls::correctionNumberChanged);
    QVERIFY(c.RadioButton2->isChecked());
    c.Corr_numbox->setValue(3);
    QCOMPARE(c.Corr_txt->text(), QString("1.5°"));
    QCOMPARE(smoothTps.value(), 3.0);
    QCOMPARE(widgetOpacity(c.Corr_txt), 0.5);
    QVERIFY(c.CorrTxt_ani->Enabled());
    QCOMPARE(numbers.size(), 1);
    c.Corr_numbox->setValue(20);  // the offset box keeps its own range
    QCOMPARE(smoothTps.value(), 12.5);
    QCOMPARE(c.Corr_txt->text(), QString("10°"));
}

void TestWindowParts::outputNumberShowsPercent()
{
    QWidget page;
    CorrectionControls c(&page);
    c.RadioButton1->setChecked(true);
    c.Corr_numbox->setValue(128);
    QCOMPARE(c.Corr_txt->text(), QString("50%"));
    c.Corr_numbox->setValue(-1);
    QCOMPARE(c.Corr_txt->text(), QString("-0.39%"));
}

void TestWindowParts::correctionBoxKindFollowsTheDialType()
{
    QWidget page;
    CorrectionControls c(&page);
    QDoubleSpinBox smoothTps;
    smoothTps.setRange(-12.5, 12.5);
    smoothTps.setDecimals(1);
    smoothTps.setValue(-2.5);
    c.smoothTps = &smoothTps;
    // The window starts with an integer box over -255..255.
    QCOMPARE(c.Corr_numbox->decimals(), 0);
    QCOMPARE(c.Corr_numbox->maximum(), 255.0);
    c.RadioButton3->setChecked(true);
    QVERIFY(!c.Corr_numbox->isHidden());
    QCOMPARE(c.Corr_numbox->value(), 0.0);
    QCOMPARE(c.Corr_numbox->minimum(), -255.0);
    c.RadioButton2->setChecked(true);
    QVERIFY(c.Corr_numbox->isHidden());
    QCOMPARE(c.Corr_numbox->maximum(), 12.5);
    QCOMPARE(c.Corr_numbox->value(), -2.5);
}

void TestWindowParts::trackBarsKeepTheWindowInOrder()
{
    QWidget page;
    CorrectionControls c(&page);
    QSignalSpy sends(&c, &CorrectionControls::correctionWindowChanged);
    c.TrackBarMafNach->setValue(0);
    c.TrackBarMafKon->setValue(255);
    QCOMPARE(c.Pulsations_lbl->text(), QString("Pulsations=255"));
    c.TrackBarMafNach->setValue(100);
    QCOMPARE(c.TrackBarMafKon->value(), 100);
    QCOMPARE(c.MafBeg_nbox->value(), 100);
    QCOMPARE(c.MafEnd_nbox->value(), 100);
    QCOMPARE(c.Pulsations_lbl->text(), QString("Pulsations=0"));
    c.TrackBarMafKon->setValue(150);
    QCOMPARE(c.Pulsations_lbl->text(), QString("Pulsations=50"));
    c.TrackBarMafKon->setValue(40);  // below the start: the start follows
    QCOMPARE(c.TrackBarMafNach->value(), 40);
    QCOMPARE(c.Pulsations_lbl->text(), QString("Pulsations=0"));
    const QList<QVariant> last = sends.last();
    QCOMPARE(last.at(1).toInt(), 40);
    QCOMPARE(last.at(2).toInt(), 40);
}

void TestWindowParts::markerAndBordersButtons()
{
    QWidget page;
    CorrectionControls c(&page);
    QSignalSpy held(&c, &CorrectionControls::markerHeldChanged);
    c.Marker_rectMouseDown();
    QCOMPARE(c.Marker_rect->fillColour().rgba(), 0xFFFFFFFFu);
    QCOMPARE(c.Marker_rect->gradientBottom().rgba(), 0xFFFF0000u);
    c.Marker_rectMouseUp();
    QCOMPARE(c.Marker_rect->fillColour().rgba(), 0xFF282727u);
    QCOMPARE(held.size(), 2);
    QCOMPARE(held.at(1).at(0).toBool(), false);

    const bool shown = !c.Borders_rect->isHidden();
    c.ShowBordersSliders_rectClick();
    QCOMPARE(!c.Borders_rect->isHidden(), !shown);
    QCOMPARE(c.ShowBordersSliders_rect->fillColour().rgba(), shown ? 0xFFA7A7A7u : 0xFFF45151u);
}

QTEST_MAIN(TestWindowParts)
#include "tst_windowparts.moc"
