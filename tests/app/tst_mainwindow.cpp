#include "tabbedform.h"

#include "dashboardchartview.h"
#include "logchartview.h"
#include "tablechartview.h"
#include "correctioncontrols.h"
#include "dashboardpage.h"
#include "formanimation.h"
#include "formtexts.h"
#include "messages.h"
#include "optionspanel.h"
#include "o2refgrid.h"
#include "otherpages.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "statetexts.h"
#include "tablecharts.h"
#include "tablepage.h"
#include "tbtmethod.h"
#include "toastlayer.h"
#include "voltmeter.h"
#include "zantolog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The main window driven as a person would, each test in a fresh working
// directory so that "config.cfg" starts absent unless the test writes one.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void firstStartWithoutStateFile();
    void savedStateComesBackIntoEveryControl();
    void restartWithOxygenChannelOpensTheOxygenPanel();
    void pageButtonsSwitchAfterTheirAnimation_data();
    void pageButtonsSwitchAfterTheirAnimation();
    void enteringTheDashboardHintsWithoutOpening();
    void toastsStandAndFade();
    void languageButtonSwitchesAndToasts();
    void voltmeterChannelRef();
    void hotKeysOnAnyPage();
    void spaceHoldsTheMarker();
    void commandsThatNeedTheConverterRefuse();
    void zoomButtonsAlternate();
    void dashboardSample();
    void loggingLocksTheTableButtons();
    void aboutTogglesTheHotKeyHelp();
    void shortStateFileFallsBackToDefaults();
    void optionsPanelOpensBlinksAndCloses();
    void defaultsButtonToasts();
    void offsetSettingTurnsTheThrottlePicture();
    void automaticCorrectionFollowsItsKindAndIsKept_data();
    void automaticCorrectionFollowsItsKindAndIsKept();
    void sentCorrectionIsKeptByTheLogger();
    void modeButtonsOfThePagesMoveTogether_data();
    void modeButtonsOfThePagesMoveTogether();

private:
    std::unique_ptr<TTabbedForm> start();
    static void waitAnimation() { QTest::qWait(450); }

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingNotifier notifier;
};

void TestMainWindow::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    notifier.clear();
}

void TestMainWindow::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

std::unique_ptr<TTabbedForm> TestMainWindow::start()
{
    auto form = std::make_unique<TTabbedForm>(&notifier);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

void TestMainWindow::firstStartWithoutStateFile()
{
    auto form = start();
    QVERIFY(form);
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(StateTexts::FileNotExist)});
    QCOMPARE(form->windowTitle(), QString("ZantoTPS"));
    QCOMPARE(form->size(), QSize(394, 689));
    QCOMPARE(form->MTabControl->currentIndex(), 3);
    QCOMPARE(form->LanguageId, quint8(0));
    QCOMPARE(form->Bar->Lang_txt->text(), QString("Ru"));
    QCOMPARE(form->FileFolder, dir->path());
    QCOMPARE(form->FileDialogCaptions, (QStringList{"Сохранить файл:", "Открыть файл:", "Отмена"}));
    QCOMPARE(form->VoltmeterChannel, 1);
    // The table view was set up with both tables' titles and colours.
    QCOMPARE(form->TableViews->secondCurve().name, QString("Tab2"));
    QCOMPARE(form->TableViews->secondCurve().colour.rgba(), 0xFF0000FFu);
    QVERIFY(form->TableViews->secondShowsTrained());
    Voltmeter* meter = form->Dash->TPS_layout;
    QTRY_COMPARE(meter->One_rect->fillColour().rgba(), 0xFFCD5C5Cu);
    QVERIFY(!meter->TpsMultimeter1_img->isHidden());
    QVERIFY(meter->OxBase_rect->isHidden());

    const O2RefGrid& grid = *form->O2RefGrid;
    QCOMPARE(grid.cell(0, 0), QString("100"));
    QCOMPARE(grid.cell(0, 98), QString("2"));
    QCOMPARE(grid.cell(1, 99), QString("464"));
    QCOMPARE(grid.cell(14, 99), QString("6496"));
    QCOMPARE(grid.cell(7, 50), QString("25"));
    QTableWidget* table = form->Dash->Oxygen_Sensor_layout->StringGrid2;
    QCOMPARE(table->item(0, 0)->text(), QString("100"));
    QCOMPARE(table->item(99, 14)->text(), QString("6496"));
    QCOMPARE(table->item(50, 7)->text(), QString("25"));
    // Rows and columns share the grid, which fits them exactly.
    QCOMPARE(table->height(), 100 * table->rowHeight(0));
    QCOMPARE(table->width(), 15 * table->columnWidth(0));

    form->close();
    QVERIFY(QFileInfo::exists("config.cfg"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);
}

void TestMainWindow::savedStateComesBackIntoEveryControl()
{
    {
        auto form = start();
        QVERIFY(form);
        OxygenSetupPanel* o = form->Dash->Oxygen_Sensor_layout;
        CorrSetupPanel* c = form->Dash->Corr_Setup_layout;
        o->ComboBoxO2->setCurrentIndex(2);
        o->ComboBoxO2Output->setCurrentIndex(1);
        c->ComboBoxAutoCorrType->setCurrentIndex(3);
        form->Dash->TPS_Setup_layout->ComboBoxTpsSetup->setCurrentIndex(1);
        c->VFall_rb->setChecked(true);
        c->MafPulsations_nbox->setValue(55);
        c->Fast_nbox->setValue(7);
        c->Fine_nbox->setValue(9);
        c->ForcedIdleRpm_nbox->setValue(3200);
        c->ForcedIdleTps_nbox->setValue(12);
        o->O2Ref_numbox->setValue(99);
        o->O2Offset_numbox->setValue(-37);
        form->Dash->DashChart->show();
        o->StringGrid2->item(5, 3)->setText("321");
        form->O2RefGrid->TpsMin = 12;
        form->O2RefGrid->TpsMax = 240;
        // The link keeps the address once the state is loaded (a search changes it there).
        form->BtMethod->LastDeviceAddress = "00:11:22:33:44:55";
        form->FileFolder = "/srv/logs";
        form->MinPointIndex = 7;
        form->MaxPointIndex = 200;
        form->KickDownPointIndex = 128;
        form->VoltmeterChannel = 4;
        form->LanguageId = 1;
        form->close();
    }
    notifier.clear();
    auto form = start();
    QVERIFY(form);
    QVERIFY(notifier.entries.isEmpty());
    OxygenSetupPanel* o = form->Dash->Oxygen_Sensor_layout;
    CorrSetupPanel* c = form->Dash->Corr_Setup_layout;
    QCOMPARE(o->ComboBoxO2->currentIndex(), 2);
    // The two unit boxes are refilled by the start-up language application,
    // which leaves them without a selection.
    QCOMPARE(o->ComboBoxO2Output->currentIndex(), -1);
    QCOMPARE(c->ComboBoxAutoCorrType->currentIndex(), 3);
    QCOMPARE(form->Dash->TPS_Setup_layout->ComboBoxTpsSetup->currentIndex(), -1);
    QVERIFY(c->VFall_rb->isChecked());
    QCOMPARE(c->MafPulsations_nbox->value(), 55.0);
    QCOMPARE(c->Fast_nbox->value(), 7.0);
    QCOMPARE(c->Fine_nbox->value(), 9.0);
    QCOMPARE(c->ForcedIdleRpm_nbox->value(), 3200.0);
    QCOMPARE(c->ForcedIdleTps_nbox->value(), 12.0);
    QCOMPARE(o->O2Ref_numbox->value(), 99.0);
    QCOMPARE(o->O2Offset_numbox->value(), -37.0);
    QVERIFY(!form->Dash->DashChart->isHidden());
    QCOMPARE(form->O2RefGrid->cell(3, 5), QString("321"));
    QCOMPARE(o->StringGrid2->item(5, 3)->text(), QString("321"));
    QCOMPARE(form->Dash->TPS_Setup_layout->TpsMin_lbl->text(), QString("Min=12"));
    QCOMPARE(form->Dash->TPS_Setup_layout->TpsMax_lbl->text(), QString("Max=240"));
    QCOMPARE(form->LastDeviceAddress, QString("00:11:22:33:44:55"));
    QCOMPARE(form->BtMethod->LastDeviceAddress, QString("00:11:22:33:44:55"));
    QCOMPARE(form->FileFolder, QString("/srv/logs"));
    QCOMPARE(form->MinPointIndex, quint8(7));
    QCOMPARE(form->MaxPointIndex, quint8(200));
    QCOMPARE(form->KickDownPointIndex, quint8(128));
    QCOMPARE(form->LanguageId, quint8(1));
    QCOMPARE(form->Bar->Lang_txt->text(), QString("En"));
    QCOMPARE(form->VoltmeterChannel, 4);
    QTRY_VERIFY(!form->Dash->TPS_layout->TpsMultimeterRef_img->isHidden());
}

void TestMainWindow::restartWithOxygenChannelOpensTheOxygenPanel()
{
    ProgramState state;
    state.VoltmeterChannel = 5;
    O2RefGrid grid;
    grid.FillO2Defaults(25, 6500, 100);
    SaveProgramState("config.cfg", state, grid, notifier);
    auto form = start();
    QVERIFY(form);
    Voltmeter* meter = form->Dash->TPS_layout;
    QTRY_VERIFY(!meter->TpsMultimeterO2_img->isHidden());
    QVERIFY(!meter->OxBase_rect->isHidden());
    QCOMPARE(meter->O2_rect->fillColour().rgba(), 0xFFCD5C5Cu);
    OxygenSetupPanel* panel = form->Dash->Oxygen_Sensor_layout;
    QVERIFY(panel->isHidden());
    QTest::mouseClick(meter->OxBase_rect, Qt::LeftButton);
    QVERIFY(panel->isHidden());  // the command waits for the picture's animation
    QTRY_VERIFY(!panel->isHidden());
    QTRY_COMPARE(widgetOpacity(panel), 0.95);
    QCOMPARE(meter->Ox_ani->Tag, 1);
    panel->O2Ref_numbox->setValue(147);
    panel->FillO2RefGrid_btn->click();
    QCOMPARE(panel->StringGrid2->item(0, 1)->text(), QString("147"));
    QCOMPARE(panel->StringGrid2->item(0, 0)->text(), QString("100"));  // the axis stays
    QTest::mouseClick(panel->BtnOkClosesView, Qt::LeftButton);
    QVERIFY(panel->isHidden());
    QCOMPARE(widgetOpacity(panel), 0.0);
}

void TestMainWindow::pageButtonsSwitchAfterTheirAnimation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("page");
    QTest::newRow("log") << "LogTabSel_rect" << 3 << 2;
    QTest::newRow("more") << "MoreTabSel_rect" << 3 << 4;
    QTest::newRow("dashboard") << "DashTabSel_rect" << 2 << 3;
    QTest::newRow("bluetooth opens the dashboard") << "BTTabSel_rect" << 4 << 3;
}

void TestMainWindow::pageButtonsSwitchAfterTheirAnimation()
{
    QFETCH(QString, button);
    QFETCH(int, fromPage);
    QFETCH(int, page);
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(fromPage);
    auto* b = form->findChild<RoundButton*>(button);
    QVERIFY(b);
    QSignalSpy changes(form->MTabControl, &QStackedWidget::currentChanged);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(form->MTabControl->currentIndex(), fromPage);
    QTest::qWait(100);
    QTest::mouseClick(b, Qt::LeftButton);  // during the animation: ignored
    QTRY_COMPARE(form->MTabControl->currentIndex(), page);
    waitAnimation();
    QCOMPARE(changes.size(), 1);
}

void TestMainWindow::enteringTheDashboardHintsWithoutOpening()
{
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(2);
    FormAnimation* hints[] = {form->Dash->Correction->CorrSetup_ani, form->Dash->TPS_layout->Ox_ani,
                              form->Dash->Throttle_ani};
    QSignalSpy throttle(form->Dash->Throttle_ani, &FormAnimation::Finish);
    QTest::mouseClick(form->Bar->DashTabSel_rect, Qt::LeftButton);
    QTRY_COMPARE(form->MTabControl->currentIndex(), 3);
    for (FormAnimation* a : hints) {
        QCOMPARE(a->Tag, 0);
        QVERIFY(a->Enabled());
    }
    QTRY_COMPARE(throttle.size(), 1);
    waitAnimation();
    for (QWidget* panel : std::initializer_list<QWidget*>{form->Dash->TPS_Setup_layout,
                                                          form->Dash->Oxygen_Sensor_layout,
                                                          form->Dash->Corr_Setup_layout})
        QVERIFY(panel->isHidden());

    QTest::mouseClick(form->Dash->Throttle_rect, Qt::LeftButton);
    QTRY_VERIFY(!form->Dash->TPS_Setup_layout->isHidden());
    QVERIFY(form->Dash->Oxygen_Sensor_layout->isHidden());
    QTRY_COMPARE(widgetOpacity(form->Dash->TPS_Setup_layout), 0.95);
    QTest::mouseClick(form->Dash->TPS_Setup_layout->Button4, Qt::LeftButton);
    QVERIFY(form->Dash->TPS_Setup_layout->isHidden());
}

void TestMainWindow::toastsStandAndFade()
{
    auto form = start();
    QVERIFY(form);
    ToastLayer* toast = form->ToastLayout;
    QVERIFY(toast->isHidden());
    form->ShowToast("Reading");
    QVERIFY(!toast->isHidden());
    QCOMPARE(toast->MsgText->text(), QString("Reading"));
    QCOMPARE(toast->width(), 394);
    QCOMPARE(widgetOpacity(toast), 1.0);
    QTest::qWait(1000);
    QCOMPARE(widgetOpacity(toast), 1.0);  // a standing toast stays

    form->FlashToast("Done");
    QCOMPARE(toast->MsgText->text(), QString("Done"));
    QTest::qWait(350);
    QCOMPARE(widgetOpacity(toast), 1.0);  // the fade starts 0.5 s later
    QTRY_COMPARE_WITH_TIMEOUT(widgetOpacity(toast), 0.0, 1000);
    QVERIFY(!toast->isHidden());

    // A standing toast stops a fade that is still running.
    form->FlashToast("x");
    form->ShowToast("y");
    QTest::qWait(1000);
    QCOMPARE(widgetOpacity(toast), 1.0);
}

void TestMainWindow::languageButtonSwitchesAndToasts()
{
    auto form = start();
    QVERIFY(form);
    QTest::mouseClick(form->Bar->RoundRect1, Qt::LeftButton);
    QCOMPARE(form->Bar->Lang_txt->text(), QString("Ru"));
    QTRY_COMPARE(form->Bar->Lang_txt->text(), QString("En"));
    QCOMPARE(form->LanguageId, quint8(1));
    QCOMPARE(form->ToastLayout->MsgText->text(), QString("English "));
    QTest::mouseClick(form->Bar->RoundRect1, Qt::LeftButton);
    QTRY_COMPARE(form->Bar->Lang_txt->text(), QString("Ru"));
    QCOMPARE(form->ToastLayout->MsgText->text(), QString("Русский язык"));
    QCOMPARE(form->LanguageId, quint8(0));
}

void TestMainWindow::voltmeterChannelRef()
{
    auto form = start();
    QVERIFY(form);
    Voltmeter* meter = form->Dash->TPS_layout;
    QTRY_COMPARE(meter->One_rect->fillColour().rgba(), 0xFFCD5C5Cu);
    QTest::mouseClick(meter->REF_rect, Qt::LeftButton);
    QCOMPARE(form->VoltmeterChannel, 1);
    QVERIFY(meter->TpsMultimeterRef_img->isHidden());
    QTRY_COMPARE(form->VoltmeterChannel, 4);
    QVERIFY(!meter->TpsMultimeterRef_img->isHidden());
    QVERIFY(meter->TpsMultimeter1_img->isHidden());
    QVERIFY(!meter->OffsetLabel->isHidden());
    QVERIFY(meter->OxBase_rect->isHidden());
    QCOMPARE(meter->REF_rect->fillColour().rgba(), 0xFFCD5C5Cu);
    for (RoundButton* b : {meter->One_rect, meter->Two_rect, meter->AT_rect, meter->O2_rect, meter->IAT_rect})
        QCOMPARE(b->fillColour().rgba(), 0xFFFFA500u);
    form->close();

    notifier.clear();
    form = start();
    QTRY_COMPARE(form->VoltmeterChannel, 4);
    QTRY_VERIFY(!form->Dash->TPS_layout->TpsMultimeterRef_img->isHidden());
}

void TestMainWindow::hotKeysOnAnyPage()
{
    auto form = start();
    QVERIFY(form);
    QDoubleSpinBox* corr = form->Dash->Correction->Corr_numbox;
    form->MTabControl->setCurrentIndex(2);
    QTest::keyClick(form.get(), Qt::Key_Up);
    QCOMPARE(corr->value(), 1.0);
    for (int i = 0; i < 300; ++i)
        QTest::keyClick(form.get(), Qt::Key_Up);
    QCOMPARE(corr->value(), 255.0);
    QTest::keyClick(form.get(), Qt::Key_Q);
    QCOMPARE(corr->value(), 0.0);
    for (int i = 0; i < 300; ++i)
        QTest::keyClick(form.get(), Qt::Key_Down);
    QCOMPARE(corr->value(), -255.0);
    QTest::keyClick(form.get(), 'q');
    QCOMPARE(corr->value(), 0.0);

    // The arrows go no further than the window, even with a spin box focused.
    form->MTabControl->setCurrentIndex(3);
    QDoubleSpinBox* angle = form->Dash->Angle_SpinBox;
    angle->setFocus();
    QTest::keyClick(angle, Qt::Key_Up);
    QCOMPARE(angle->value(), 0.0);
    QCOMPARE(corr->value(), 1.0);

    // Enter starts the apply animation; in the offset kind its finish changes nothing.
    QTest::keyClick(form.get(), Qt::Key_Return);
    QVERIFY(form->Dash->Correction->DashApplyToTable_ani->Enabled());
    QTRY_VERIFY(!form->Dash->Correction->DashApplyToTable_ani->Enabled());
    QCOMPARE(corr->value(), 1.0);
}

void TestMainWindow::spaceHoldsTheMarker()
{
    auto form = start();
    QVERIFY(form);
    RoundButton* marker = form->Dash->Correction->Marker_rect;
    QTest::keyPress(form.get(), Qt::Key_Space);
    QCOMPARE(marker->fillColour().rgba(), 0xFFFFFFFFu);
    QCOMPARE(marker->gradientBottom().rgba(), 0xFFFF0000u);
    // Holding the key repeats press and release; the marker stays on.
    QTest::sendKeyEvent(QTest::Release, form.get(), Qt::Key_Space, ' ', Qt::NoModifier);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(form.get(), &repeatRelease);
    QTest::keyPress(form.get(), Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(form.get(), &repeat);
    QCOMPARE(marker->fillColour().rgba(), 0xFFFFFFFFu);
    QTest::keyRelease(form.get(), Qt::Key_Space);
    QCOMPARE(marker->fillColour().rgba(), 0xFF041C51u);
    QCOMPARE(marker->gradientBottom().rgba(), 0xFF484F6Eu);
}

void TestMainWindow::commandsThatNeedTheConverterRefuse()
{
    auto form = start();
    QVERIFY(form);
    notifier.clear();
    QTest::keyClick(form.get(), Qt::Key_R);
    QTest::qWait(20);
    QTest::keyClick(form.get(), Qt::Key_S);
    const QString refusal = QString::fromUtf8(FormTexts::NotConnected);
    QCOMPARE(notifier.texts(RecordingNotifier::Message), (QStringList{refusal, refusal}));
    QVERIFY(!form->Dash->Start_img->isHidden());

    // Read: refused, and the angle box still shows the table's entry.
    notifier.clear();
    form->Dash->Angle_SpinBox->setValue(5);
    QTest::mouseClick(form->Dash->DashReadTab_rect, Qt::LeftButton);
    QCOMPARE(form->Dash->Angle_SpinBox->value(), 5.0);
    QTRY_COMPARE(notifier.texts(RecordingNotifier::Message), QStringList{refusal});
    QCOMPARE(form->Dash->Angle_SpinBox->value(), 0.0);
}

void TestMainWindow::zoomButtonsAlternate()
{
    auto form = start();
    QVERIFY(form);
    const std::pair<QPushButton*, ZoomScrollChartView*> pairs[] = {
        {form->Log->ZoomMoveLog_sbtn, form->Log->ChartLog},
        {form->Dash->ZoomMoveDashChart_sbtn, form->Dash->DashChart},
        {form->Tab->ZoomMoveTable_sbtn, form->Tab->TableChart}};
    for (const auto& [button, chart] : pairs) {
        QCOMPARE(button->text(), QString("←/→"));
        QCOMPARE(chart->zoomButton, Qt::LeftButton);
        button->click();
        QCOMPARE(button->text(), QString("+/-"));
        QCOMPARE(chart->zoomButton, Qt::RightButton);
        button->click();
        QCOMPARE(button->text(), QString("←/→"));
        QCOMPARE(chart->zoomButton, Qt::LeftButton);
        QCOMPARE(chart->scrollButton, Qt::RightButton);
    }
}

void TestMainWindow::dashboardSample()
{
    auto form = start();
    QVERIFY(form);
    form->VoltmeterChannel = 3;
    TMsgDashData sample;
    sample.rawAngle = 450;
    sample.rawAt = 128;
    sample.o2Meter = 300;
    form->Broadcaster->Broadcast(sample);
    QCOMPARE(form->Dash->TPSAngle_numbox->value(), 45.0);
    QWidget* bar = form->Dash->ThrottleMeter_rect;
    QCOMPARE(bar->height(), 94);  // half of its 188-pixel frame
    QCOMPARE(bar->y() + bar->height(), 8 + 188);
    QCOMPARE(form->Dash->TPS_layout->LabelVoltage->text(), QString("2.5V"));
    QCOMPARE(form->Dash->TPS_layout->OxMeter_rect->width(), form->Dash->TPS_layout->OxBase_rect->width());

    TMsgFile encSave;
    encSave.saveMode = 1;
    encSave.extension = "enc";
    encSave.fileName = "x.enc";
    form->Broadcaster->Broadcast(encSave);
    QVERIFY(notifier.texts(RecordingNotifier::Message).size() == 1);  // only the start-up message
}

void TestMainWindow::loggingLocksTheTableButtons()
{
    auto form = start();
    QVERIFY(form);
    QWidget* locked[] = {form->Dash->DashWriteTab_rect, form->Dash->DashReadTab_rect, form->Tab->WriteTab_rect,
                         form->Tab->ReadTab_rect, form->Dash->Oxygen_Sensor_layout->ComboBoxO2};
    // Without a Converter the logger cannot start: its failure ends in the
    // stop message, so the window never stays locked. (While a Converter
    // streams, the buttons stay locked: tst_connectedwindow.)
    notifier.clear();
    form->Broadcaster->Broadcast(TMsgStartLog());
    for (QWidget* w : locked)
        QVERIFY(w->isEnabled());
    QCOMPARE(notifier.texts(RecordingNotifier::Error).size(), 1);
    QVERIFY(form->Logger->PollThread() == nullptr);

    // The window's own reaction, with the logger answering neither.
    form->Dispatch(TMsgStartLog());
    for (QWidget* w : locked)
        QVERIFY(!w->isEnabled());
    form->Dash->Start_img->hide();
    form->Dash->Stop_img->show();
    form->Dispatch(TMsgStopLog());
    for (QWidget* w : locked)
        QVERIFY(w->isEnabled());
    QVERIFY(!form->Dash->Start_img->isHidden());
    QVERIFY(form->Dash->Stop_img->isHidden());
}

void TestMainWindow::aboutTogglesTheHotKeyHelp()
{
    auto form = start();
    QVERIFY(form);
    QWidget* help = form->Hotkeys->Hotkeys_layout;
    QVERIFY(help->isHidden());
    QTest::mouseClick(form->Bar->About_ImageButton, Qt::LeftButton);
    QVERIFY(help->isHidden());
    QTRY_VERIFY(!help->isHidden());
    QVERIFY(form->Hotkeys->Memo1->toPlainText().startsWith("Горячие клавиши:"));
    QTest::qWait(50);
    QTest::mouseClick(form->Bar->About_ImageButton, Qt::LeftButton);
    QTRY_VERIFY(help->isHidden());
}

void TestMainWindow::offsetSettingTurnsTheThrottlePicture()
{
    auto form = start();
    QVERIFY(form);
    form->Tab->SmoothTps_nb->setValue(-5);
    QCOMPARE(form->Dash->Throttle_img->rotation(), -10.0);
    QCOMPARE(form->Dash->TPSAngle_numbox->value(), -2.5);
}

void TestMainWindow::shortStateFileFallsBackToDefaults()
{
    {
        QFile file("config.cfg");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x01\x02\x09\x01\x00\x01\x30\x00", 8));  // cut inside the first box
    }
    auto form = start();
    QVERIFY(form);
    const QStringList shown = notifier.texts(RecordingNotifier::Message);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().startsWith(QString::fromUtf8(StateTexts::LoadError2)));
    // What was read stays; the rest gets the start-up defaults.
    QCOMPARE(form->Dash->Oxygen_Sensor_layout->ComboBoxO2->currentIndex(), 2);
    QCOMPARE(form->Dash->Corr_Setup_layout->ComboBoxAutoCorrType->currentIndex(), 1);
    QVERIFY(form->Dash->Corr_Setup_layout->VFall_rb->isChecked());
    QCOMPARE(form->Dash->Corr_Setup_layout->MafPulsations_nbox->value(), 10.0);
    QCOMPARE(form->LanguageId, quint8(0));
    QCOMPARE(form->Bar->Lang_txt->text(), QString("Ru"));
    QCOMPARE(form->FileFolder, dir->path());
    QCOMPARE(form->VoltmeterChannel, 1);
    QCOMPARE(form->O2RefGrid->cell(1, 99), QString("464"));
}

void TestMainWindow::optionsPanelOpensBlinksAndCloses()
{
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(1);
    OptionsPanel* more = form->Tab->TabMore;
    QVERIFY(more->panel->isHidden());
    QTest::mouseClick(form->Tab->TabMore_rect, Qt::LeftButton);
    QVERIFY(more->panel->isHidden());
    QTRY_VERIFY(!more->panel->isHidden());
    QVERIFY(more->blink->Enabled());
    QTRY_COMPARE(widgetOpacity(more->panel), 0.95);
    QTest::qWait(50);
    QTest::mouseClick(form->Tab->TabMore_rect, Qt::LeftButton);
    QTRY_VERIFY(more->panel->isHidden());
    QCOMPARE(widgetOpacity(more->panel), 0.0);
    QVERIFY(!more->blink->Enabled());
    QCOMPARE(form->Tab->TabMore_rect->fillColour().rgba(), 0xFF041C51u);
    QCOMPARE(form->Tab->TabMore_rect->gradientBottom().rgba(), 0xFF484F6Eu);
}

void TestMainWindow::defaultsButtonToasts()
{
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(1);
    form->Tab->TabMore_layt->show();
    QTest::mouseClick(form->Tab->Defaults_rct, Qt::LeftButton);
    // The click shows the standing toast; the finish fades it.
    QCOMPARE(form->ToastLayout->MsgText->text(), QString::fromUtf8(FormTexts::DefaultsRu));
    QCOMPARE(widgetOpacity(form->ToastLayout), 1.0);
    QTRY_VERIFY(!form->Tab->Defaults_ani->Enabled());
    QTRY_COMPARE_WITH_TIMEOUT(widgetOpacity(form->ToastLayout), 0.0, 1500);
}

void TestMainWindow::automaticCorrectionFollowsItsKindAndIsKept_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("switches");
    QTest::newRow("Tab") << 0 << true;
    QTest::newRow("ECT") << 1 << false;
    QTest::newRow("IAT") << 2 << false;
    QTest::newRow("MAF smoothing") << 3 << true;
}

void TestMainWindow::automaticCorrectionFollowsItsKindAndIsKept()
{
    QFETCH(int, item);
    QFETCH(bool, switches);
    auto form = start();
    QVERIFY(form);
    const LoggerStoredValues& kept = form->Logger->StoredValues;
    QCOMPARE(kept.autoCorrection, false);
    QCOMPARE(kept.autoCorrectionItem, 0);

    form->Dash->Corr_Setup_layout->ComboBoxAutoCorrType->setCurrentIndex(item);
    QTest::mouseClick(form->Dash->Correction->DashAutoRect, Qt::LeftButton);
    CorrectionControls* c = form->Dash->Correction;
    QCOMPARE(c->autoCorrectionEnabled(), switches);
    QCOMPARE(c->DashAutoEnabled_img->isHidden(), !switches);
    QCOMPARE(c->DashAutoDisabled_img->isHidden(), switches);
    // A kind that cannot correct itself leaves the logger's copy alone.
    QCOMPARE(kept.autoCorrection, switches);
    QCOMPARE(kept.autoCorrectionItem, switches ? item : 0);

    if (switches) {
        QTest::mouseClick(c->DashAutoRect, Qt::LeftButton);
        QVERIFY(!c->autoCorrectionEnabled());
        QCOMPARE(kept.autoCorrection, false);
    }
}

void TestMainWindow::sentCorrectionIsKeptByTheLogger()
{
    auto form = start();
    QVERIFY(form);
    CorrectionControls* c = form->Dash->Correction;
    QCOMPARE(form->Logger->StoredValues.correction, 0);
    // The output dial type sends (and keeps) whole corrections.
    c->RadioButton1->setChecked(true);
    c->Corr_numbox->setValue(-37);
    QCOMPARE(form->Logger->StoredValues.correction, -37);
    // Applying resets the correction, and the kept copy with it.
    QTest::mouseClick(c->DashApplyToTable_rect, Qt::LeftButton);
    QTRY_COMPARE(form->Logger->StoredValues.correction, 0);
}

void TestMainWindow::modeButtonsOfThePagesMoveTogether_data()
{
    QTest::addColumn<QString>("clicked");
    for (const char* page : {"Tab", "Log", "Dash"})
        for (const char* mode : {"Interp", "Extrap"})
            QTest::newRow(qPrintable(QString("%1%2_btn").arg(page, mode))) << QString("%1%2_btn").arg(page, mode);
}

void TestMainWindow::modeButtonsOfThePagesMoveTogether()
{
    QFETCH(QString, clicked);
    auto form = start();
    QVERIFY(form);
    const bool interpolation = clicked.contains("Interp");
    const QString mode = interpolation ? "Interp_btn" : "Extrap_btn";
    const auto modeOn = [&] {
        return interpolation ? form->Tables->interpolate == 1 : form->Tables->extrapolate == 1;
    };
    QList<QPushButton*> twins;
    for (const char* page : {"Tab", "Log", "Dash"})
        twins.append(form->findChild<QPushButton*>(page + mode));
    QVERIFY(!twins.contains(nullptr));
    auto* button = form->findChild<QPushButton*>(clicked);
    QVERIFY(!modeOn());

    for (bool pressed : {true, false}) {
        // Two of the three sit on pages not shown.
        button->click();
        for (QPushButton* b : twins)
            QCOMPARE(b->isChecked(), pressed);
        QCOMPARE(modeOn(), pressed);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
