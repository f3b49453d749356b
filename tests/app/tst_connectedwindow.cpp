#include "tabbedform.h"

#include "anglevalues.h"
#include "bluetoothstack.h"
#include "dashboardchartview.h"
#include "dashboardpage.h"
#include "filebrowser.h"
#include "formtexts.h"
#include "otherpages.h"
#include "protocoltexts.h"
#include "linkerror.h"
#include "linktexts.h"
#include "messages.h"
#include "recordingnotifier.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "simulatedstack.h"
#include "table.h"
#include "tablepage.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "voltmeter.h"
#include "zantolog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

// A socket whose first close fails, as a dying Bluetooth stack may.
class FailingCloseChannel : public ByteChannel {
public:
    void send(const QByteArray&) override {}
    QByteArray receive(int) override { return {}; }
    bool isOpen() const override { return open; }
    void close() override
    {
        if (std::exchange(open, false))
            throw LinkError(QStringLiteral("socket close refused"));
    }
    bool open = true;
};

const QString notConnected = QString::fromUtf8(FormTexts::NotConnected);

}  // namespace

// The window on the simulated Converter, driven through its buttons; each
// test in a fresh working directory.
class TestConnectedWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void connectLogStopAndSaveAll();
    void closingWhileLoggingStopsThenClosesThenSaves();
    void closeErrorIsShownAndStateStillSaved();
    void commandsRefuseWithoutConverter();
    void fileMessagesReachTheTableAndTheLog();
    void buttonsOpenTheFileBrowser();
    void dashboardChartTapAndLongTap();
    void referenceSwitchColoursThePinsWhenSent();

private:
    std::unique_ptr<TTabbedForm> start();
    void connectToSimulator(TTabbedForm& form);

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingNotifier notifier;
};

void TestConnectedWindow::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    notifier.clear();
}

void TestConnectedWindow::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

std::unique_ptr<TTabbedForm> TestConnectedWindow::start()
{
    LinkOptions link;
    link.simulator = true;
    auto form = std::make_unique<TTabbedForm>(&notifier, nullptr, link);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    notifier.clear();
    return form;
}

// The Bluetooth button, as a person presses it, until the table has been read.
void TestConnectedWindow::connectToSimulator(TTabbedForm& form)
{
    form.MTabControl->setCurrentIndex(1);
    QTest::mouseClick(form.Dash->BTTabSel_rect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(form.Dash->TextConnection->toPlainText().endsWith(LinkTexts::ConnectedBySearch), 5000);
    QTRY_COMPARE(form.MTabControl->currentIndex(), int(TTabbedForm::DashboardPageIndex));
    // The read runs after the read button's animation.
    QTRY_COMPARE_WITH_TIMEOUT(form.Dash->Angle_SpinBox->value(), 10.0, 3000);
}

void TestConnectedWindow::connectLogStopAndSaveAll()
{
    auto form = start();
    QVERIFY(form);
    connectToSimulator(*form);
    const QString memo = form->Dash->TextConnection->toPlainText();
    QVERIFY2(memo.startsWith(QString::fromUtf8(LinkTexts::TryingToConnect) + LinkTexts::UnknownAddress
                             + QString::fromUtf8(LinkTexts::Autosearch)),
             qPrintable(memo));
    QCOMPARE(form->Rxtx->Connected.load(), 1);
    QCOMPARE(form->Tables->rxtx, form->Rxtx.get());
    QCOMPARE(form->BtMethod->LastDeviceAddress, QString(SimulatedStack::Address));
    // The simulated Converter's factory table holds 100 in its angle entry.
    QCOMPARE(form->Tables->tab.value(0), 100);
    QVERIFY(notifier.texts(RecordingNotifier::Message).isEmpty());
    QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());

    // The correction set-up goes to the logger at the start, as whole numbers.
    CorrSetupPanel* setup = form->Dash->Corr_Setup_layout;
    setup->MafPulsations_nbox->setValue(17);
    setup->VFall_rb->setChecked(true);
    setup->ForcedIdleRpm_nbox->setValue(950);
    setup->ForcedIdleTps_nbox->setValue(3);
    setup->Fast_nbox->setValue(5);
    setup->Fine_nbox->setValue(9);
    const LoggerStoredValues& kept = form->Logger->StoredValues;
    QCOMPARE(kept.mafPulsations, 10);
    QCOMPARE(kept.forcedIdleRpm, 1200);

    // Start: the table buttons lock and the dashboard follows the sweeping throttle.
    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    QCOMPARE(kept.mafPulsations, 17);
    QCOMPARE(kept.vFall, true);
    QCOMPARE(kept.autoCorrection, false);
    QCOMPARE(kept.forcedIdleRpm, 950);
    QCOMPARE(kept.forcedIdleTps, 3);
    QCOMPARE(kept.fastInterval, 5);
    QCOMPARE(kept.fineInterval, 9);
    QVERIFY(!form->Dash->Stop_img->isHidden());
    QVERIFY(!form->Tab->ReadTab_rect->isEnabled());
    QSet<double> angles;
    QSet<QString> volts;
    for (int i = 0; i < 25; ++i) {
        QTest::qWait(60);
        angles.insert(form->Dash->TPSAngle_numbox->value());
        volts.insert(form->Dash->TPS_layout->LabelVoltage->text());
    }
    QVERIFY2(angles.size() >= 3, qPrintable(QString::number(angles.size())));
    QVERIFY(volts.size() >= 3);
    for (const QString& v : volts)
        QVERIFY2(v.isEmpty() || v.endsWith('V'), qPrintable(v));

    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    QVERIFY(form->Dash->Stop_img->isHidden());
    QVERIFY(!form->Dash->Start_img->isHidden());
    QVERIFY(form->Tab->ReadTab_rect->isEnabled());
    QVERIFY(form->Logger->PollThread() == nullptr);
    const qsizetype samples = form->Logger->store().sampleCount();
    QVERIFY2(samples > 40, qPrintable(QString::number(samples)));

    QTest::mouseClick(form->Dash->SaveAll_rect, Qt::LeftButton);
    QTRY_COMPARE(QDir(dir->path()).entryList({"*.tab"}, QDir::Files).size(), 1);
    const QStringList logs = QDir(dir->path()).entryList({"*.log"}, QDir::Files);
    QCOMPARE(logs.size(), 1);
    QCOMPARE(QFileInfo(logs.first()).completeBaseName(),
             QFileInfo(QDir(dir->path()).entryList({"*.tab"}, QDir::Files).first()).completeBaseName());
    QVERIFY(QFileInfo(dir->filePath(logs.first())).size() > 0);
    QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());
    QVERIFY(notifier.texts(RecordingNotifier::Message).isEmpty());
}

void TestConnectedWindow::closingWhileLoggingStopsThenClosesThenSaves()
{
    auto form = start();
    QVERIFY(form);
    connectToSimulator(*form);
    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    QTRY_VERIFY(form->Logger->store().sampleCount() > 60);

    form->close();
    // The stop ran while the link was still there: the Converter's recording
    // was finished (the stop step runs only for a recording that answered).
    QVERIFY(form->Logger->PollThread() == nullptr);
    QVERIFY(!form->Logger->loggingActive);
    QVERIFY(form->Logger->windowEnd > 0);
    QVERIFY(!form->Dash->Start_img->isHidden());
    QVERIFY(!form->BtMethod->HasSocket());
    QCOMPARE(form->Rxtx->Connected.load(), 0);
    QVERIFY(QFileInfo::exists("config.cfg"));
    QVERIFY(notifier.texts(RecordingNotifier::Message).isEmpty());
    QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());
}

void TestConnectedWindow::closeErrorIsShownAndStateStillSaved()
{
    auto form = start();
    QVERIFY(form);
    form->BtMethod->SetSocket(std::make_unique<FailingCloseChannel>());
    form->close();
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(FormTexts::CloseBtError) + "socket close refused"});
    QVERIFY(QFileInfo::exists("config.cfg"));
}

void TestConnectedWindow::commandsRefuseWithoutConverter()
{
    auto form = start();
    QVERIFY(form);
    form->Tables->tab[0] = 0xD8;  // -4.0 degrees
    form->Dash->Angle_SpinBox->setValue(5);
    QTest::mouseClick(form->Dash->DashReadTab_rect, Qt::LeftButton);
    QTRY_COMPARE(form->Dash->Angle_SpinBox->value(), -4.0);
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{notConnected});

    notifier.clear();
    QTest::keyClick(form.get(), Qt::Key_R);
    QTest::keyClick(form.get(), Qt::Key_S);
    form->Dash->TPS_Setup_layout->Calibrate_btn->click();
    QCOMPARE(notifier.texts(RecordingNotifier::Message), (QStringList{notConnected, notConnected, notConnected}));
    QVERIFY(!form->Dash->Start_img->isHidden());
    QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());
}

void TestConnectedWindow::fileMessagesReachTheTableAndTheLog()
{
    auto form = start();
    QVERIFY(form);
    const auto post = [&form](quint8 saveMode, const QString& extension, const QString& name) {
        TMsgFile message;
        message.saveMode = saveMode;
        message.extension = extension;
        message.fileName = name;
        form->Broadcaster->Broadcast(message);
    };

    // A .tab file holds the two entries exchanged with the Converter.
    form->Tables->tab[0] = 0xD8;
    form->Tables->tab[1] = 77;
    const QString tabFile = dir->filePath("curve.tab");
    post(1, "tab", tabFile);
    QFile saved(tabFile);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("\xD8\x4D", 2));
    form->Tables->tab[0] = 0;
    form->Tables->tab[1] = 3;
    post(0, "tab", tabFile);
    QCOMPARE(form->Tables->tab.value(0), 0xD8);
    QCOMPARE(form->Tables->tab.value(1), 77);

    LogSample sample;
    sample.colTps = 42;
    for (int i = 0; i < 5; ++i)
        form->Logger->store().append(sample);
    const QString logFile = dir->filePath("drive.log");
    post(1, "log", logFile);
    QVERIFY(QFileInfo(logFile).size() > 0);
    form->Logger->ClearLog();
    QCOMPARE(form->Logger->store().sampleCount(), 0);
    post(0, "log", logFile);
    QCOMPARE(form->Logger->store().sampleCount(), 5);

    // A firmware file chosen for saving is nothing to do; for opening it needs the Converter.
    post(1, "enc", dir->filePath("fw.enc"));
    QVERIFY(notifier.texts(RecordingNotifier::Message).isEmpty());
    post(0, "enc", dir->filePath("fw.enc"));
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{notConnected});
    QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());
}

void TestConnectedWindow::buttonsOpenTheFileBrowser()
{
    auto form = start();
    QVERIFY(form);
    TFile_frm* browser = form->File_frm.get();
    QVERIFY(browser->isHidden());

    // The firmware button opens it at once, for an .enc file to open.
    QTest::mouseClick(form->More->FwUpd_rect, Qt::LeftButton);
    QVERIFY(browser->isVisible());
    QCOMPARE(browser->ExtensionFilter, QString("enc"));
    QCOMPARE(browser->SaveMode, quint8(0));
    browser->hide();

    // Saving a table: after the button's animation, with the offered name.
    QTest::mouseClick(form->Tab->TabSave_rect, Qt::LeftButton);
    QVERIFY(browser->isHidden());
    QTRY_VERIFY(browser->isVisible());
    QCOMPARE(browser->ExtensionFilter, QString("tab"));
    QCOMPARE(browser->SaveMode, quint8(1));
    QVERIFY(browser->FileNameEdit->text().endsWith(".tab"));
    browser->hide();
}

void TestConnectedWindow::dashboardChartTapAndLongTap()
{
    auto form = start();
    QVERIFY(form);
    form->Dash->DashChart_rect->show();
    DashboardChartView* chart = form->Dash->DashChart;
    chart->show();
    QWidget* viewport = chart->viewport();
    const QPoint middle = viewport->rect().center();
    QVERIFY(chart->bottomAxisAutomatic());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, middle);
    QVERIFY(!chart->bottomAxisAutomatic());
    QVERIFY(!chart->leftAxisAutomatic());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, middle);
    QVERIFY(chart->bottomAxisAutomatic());
    QVERIFY(chart->leftAxisAutomatic());
    // Each axis flips its own state.
    chart->setLeftAxisAutomatic(false);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, middle);
    QVERIFY(!chart->bottomAxisAutomatic());
    QVERIFY(chart->leftAxisAutomatic());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, middle);

    // Held still: the long tap hides the chart, and is no tap.
    QTest::mousePress(viewport, Qt::LeftButton, {}, middle);
    QTRY_VERIFY(chart->isHidden());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, middle);
    QVERIFY(chart->bottomAxisAutomatic());
}

void TestConnectedWindow::referenceSwitchColoursThePinsWhenSent()
{
    auto form = start();
    QVERIFY(form);
    connectToSimulator(*form);
    QTest::qWait(1200);
    QTest::mouseClick(form->Dash->Throttle_rect, Qt::LeftButton);
    TpsSetupPanel* tps = form->Dash->TPS_Setup_layout;
    QTRY_VERIFY(!tps->isHidden());
    // The simulated Converter reports reference mode 0: the 3-pin wiring.
    QVERIFY(tps->RefSwitch->isChecked());
    QVERIFY(tps->Label8->styleSheet().contains("#ffc0c0c0"));
    QVERIFY(tps->Label9->styleSheet().contains("#ffff0000"));
    notifier.clear();
    QTest::mouseClick(tps->RefSwitch, Qt::LeftButton);
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{QString::fromUtf8(ProtocolTexts::WaitFiveSeconds)});
    QVERIFY(tps->Label8->styleSheet().contains("#ffff0000"));
    QVERIFY(tps->Label9->styleSheet().contains("#ffc0c0c0"));
    QCOMPARE(form->Dash->TextConnection->toPlainText(), QString::fromUtf8(ProtocolTexts::Restart4Pin));
    QCOMPARE(form->Rxtx->Connected.load(), 0);
}

QTEST_MAIN(TestConnectedWindow)
#include "tst_connectedwindow.moc"
