#include "tabbedform.h"

#include "correctioncontrols.h"
#include "dashboardpage.h"
#include "filebrowser.h"
#include "formanimation.h"
#include "formtexts.h"
#include "logcharts.h"
#include "logchartview.h"
#include "messages.h"
#include "o2refgrid.h"
#include "otherpages.h"
#include "recordingnotifier.h"
#include "roundbutton.h"
#include "setuppanels.h"
#include "table.h"
#include "tablechartview.h"
#include "tablepage.h"
#include "zantolog.h"

#include <QCategoryAxis>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

// Controls of the window a person reaches by tapping and typing, each
// test in a fresh working directory.
class TestWindowReach : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void sensorTypeFillsTheReferenceGrid_data();
    void sensorTypeFillsTheReferenceGrid();
    void storedGridWinsOverTheSensorTypeFill();
    void logPageUndoAndRedo();
    void pressOnTheAngleNumberOpensTheTpsPanel();
    void chartSelectorsOfTheOptionsPanel_data();
    void chartSelectorsOfTheOptionsPanel();
    void refusedReferenceSwitchKeepsThePinColours();
    void spaceOnlyMarks_data();
    void spaceOnlyMarks();
    void fileBrowserKeys();

private:
    std::unique_ptr<TTabbedForm> start();

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingNotifier notifier;
};

void TestWindowReach::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    notifier.clear();
}

void TestWindowReach::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

std::unique_ptr<TTabbedForm> TestWindowReach::start()
{
    auto form = std::make_unique<TTabbedForm>(&notifier);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

namespace {

// Picks an item of a combo box as a person does: open it, choose.
void choose(QComboBox* box, int index)
{
    box->showPopup();
    QTest::qWait(20);
    box->setCurrentIndex(index);
    box->hidePopup();
}

// Every file choice posted on the bus.
struct FileChoices : TZantoListener {
    void Dispatch(const TMessage& message) override
    {
        if (const auto* f = messageAs<TMsgFile>(message))
            files.append({f->saveMode, f->extension, f->fileName});
    }
    struct Choice {
        int saveMode;
        QString extension;
        QString fileName;
    };
    QList<Choice> files;
};

QString styleColour(const QLabel* label)
{
    const QString sheet = label->styleSheet();
    const qsizetype at = sheet.indexOf(QLatin1String("color: "));
    return at < 0 ? QString() : sheet.mid(at + 7, 9);
}

}  // namespace

void TestWindowReach::sensorTypeFillsTheReferenceGrid_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("value");
    QTest::newRow("0-1V Signal") << 0 << "25";
    QTest::newRow("Innovate MTX-L") << 1 << "147";
    QTest::newRow("0-5V Signal") << 2 << "25";
    QTest::newRow("AEM 30-41,42,XX") << 3 << "147";
}

void TestWindowReach::sensorTypeFillsTheReferenceGrid()
{
    QFETCH(int, item);
    QFETCH(QString, value);
    auto form = start();
    QVERIFY(form);
    OxygenSetupPanel* o = form->Dash->Oxygen_Sensor_layout;
    QTableWidget* grid = o->StringGrid2;
    // Something else in every value cell first, so that the fill shows.
    form->O2RefGrid->FillO2Cells(99);
    // From another item, so that choosing `item` is a change.
    choose(o->ComboBoxO2, item == 1 ? 0 : 1);
    form->O2RefGrid->FillO2Cells(99);
    choose(o->ComboBoxO2, item);
    for (int row : {0, 50, 98})
        for (int column : {1, 7, 14})
            QCOMPARE(grid->item(row, column)->text(), value);
    // The axis cells stay.
    QCOMPARE(grid->item(0, 0)->text(), QString("100"));
    QCOMPARE(grid->item(99, 1)->text(), QString("464"));
    QCOMPARE(grid->item(99, 14)->text(), QString("6496"));
}

void TestWindowReach::storedGridWinsOverTheSensorTypeFill()
{
    {
        auto form = start();
        QVERIFY(form);
        OxygenSetupPanel* o = form->Dash->Oxygen_Sensor_layout;
        choose(o->ComboBoxO2, 3);
        o->StringGrid2->item(5, 3)->setText("321");
        form->close();
    }
    notifier.clear();
    auto form = start();
    QVERIFY(form);
    QCOMPARE(form->Dash->Oxygen_Sensor_layout->ComboBoxO2->currentIndex(), 3);
    QCOMPARE(form->O2RefGrid->cell(3, 5), QString("321"));
    QCOMPARE(form->O2RefGrid->cell(4, 5), QString("147"));
    QCOMPARE(form->Dash->Oxygen_Sensor_layout->StringGrid2->item(5, 3)->text(), QString("321"));
}

void TestWindowReach::logPageUndoAndRedo()
{
    auto form = start();
    QVERIFY(form);
    LogPage* log = form->Log.get();
    form->MTabControl->setCurrentIndex(2);
    QCoreApplication::processEvents();
    QCOMPARE(log->LogUndoBtn->parentWidget(), log->Rectangle9);
    QCOMPARE(log->LogRedo_btn->parentWidget(), log->Rectangle9);
    // On the bottom row, left of Extrapolation and Interpolation.
    QVERIFY(log->LogUndoBtn->geometry().right() < log->LogRedo_btn->geometry().left());
    QVERIFY(log->LogRedo_btn->geometry().right() < log->LogExtrap_btn->geometry().left());
    QCOMPARE(log->LogUndoBtn->geometry().center().y(), log->LogExtrap_btn->geometry().center().y());

    // A recording whose MAF reads 40 throughout, on the log page.
    LogColumns c;
    c.resize(3000);
    c.colMaf.fill(40);
    form->Logger->store().replaceLog(c);
    form->Logger->windowStart = 0;
    form->Logger->windowEnd = 3000 - 20;
    form->Logger->SetChartStep(3000 - 20);
    form->LogChart->RedrawLogCharts(form->Logger->chartStep);
    form->MTabControl->setCurrentIndex(2);
    QCoreApplication::processEvents();

    // A point written by a double tap at the top of the plot, zoomed in.
    form->LogChart->logTimeAxis()->setRange(10000, 20000);
    const qreal zoomMin = form->LogChart->logTimeAxis()->min();
    const QRectF area = form->LogChart->plotCorners();
    LogChartView* chart = log->ChartLog;
    const QPoint top = chart->mapFromScene(chart->chart()->mapToScene(QPointF(area.center().x(), std::ceil(area.top()))));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, top);
    QTest::mouseDClick(chart->viewport(), Qt::LeftButton, {}, top);
    QCOMPARE(form->Tables->GetPoint(40), 5);
    QCOMPARE(form->LogChart->logSeries(LogChartData::Tab)->at(0).y(), 5.0);

    // Undo from the log page takes it back in the store, the table chart and the log chart.
    QTest::mouseClick(log->LogUndoBtn, Qt::LeftButton);
    QCOMPARE(form->Tables->GetPoint(40), 0);
    QCOMPARE(form->Tab->TableChart->series(0)->at(40).y(), 0.0);
    QCOMPARE(form->LogChart->logSeries(LogChartData::Tab)->at(0).y(), 0.0);
    QCOMPARE(form->LogChart->logTimeAxis()->min(), zoomMin);
    // Redo brings it back.
    QTest::mouseClick(log->LogRedo_btn, Qt::LeftButton);
    QCOMPARE(form->Tables->GetPoint(40), 5);
    QCOMPARE(form->Tab->TableChart->series(0)->at(40).y(), 5 * 100.0 / 255.0);
    QCOMPARE(form->LogChart->logSeries(LogChartData::Tab)->at(0).y(), 5.0);
    QCOMPARE(form->LogChart->logTimeAxis()->min(), zoomMin);
}

void TestWindowReach::pressOnTheAngleNumberOpensTheTpsPanel()
{
    auto form = start();
    QVERIFY(form);
    QTest::qWait(1200);  // the entry hint of the set-up pictures is over
    QVERIFY(form->Dash->TPS_Setup_layout->isHidden());
    QDoubleSpinBox* angle = form->Dash->TPSAngle_numbox;
    QWidget* inner = angle->childAt(angle->rect().center());
    QTest::mousePress(inner ? inner : angle, Qt::LeftButton);
    QVERIFY(form->Dash->Throttle_ani->Enabled());
    QTest::mouseRelease(inner ? inner : angle, Qt::LeftButton);
    QTRY_VERIFY(!form->Dash->TPS_Setup_layout->isHidden());
    QVERIFY(!angle->hasFocus());
}

void TestWindowReach::chartSelectorsOfTheOptionsPanel_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("label");
    QTest::newRow("Trained") << "ChartTrained_btn" << 3 << "Обученные/Trained";
    QTest::newRow("IAT") << "ChartIAT_btn" << 1 << "IAT";
    QTest::newRow("ECT") << "ChartECT_btn" << 2 << "ECT";
    QTest::newRow("Tab") << "ChartTab_btn" << 0 << "Tab";
}

void TestWindowReach::chartSelectorsOfTheOptionsPanel()
{
    QFETCH(QString, button);
    QFETCH(int, series);
    QFETCH(QString, label);
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(1);
    // Start from another selection.
    QTest::mouseClick(form->Tab->TabMore_rect, Qt::LeftButton);
    QTRY_VERIFY(!form->Tab->TabMore_layt->isHidden());
    auto* b = form->Tab->TabMore_layt->findChild<QPushButton*>(button);
    QVERIFY(b);
    QTest::mouseClick(series == 0 ? form->Tab->ChartTrained_btn : form->Tab->ChartTab_btn, Qt::LeftButton);
    QTest::mouseClick(b, Qt::LeftButton);
    const auto& selectors = form->Tab->TableChart->selectors();
    for (int i = 0; i < selectors.size(); ++i)
        QCOMPARE(selectors[i]->isChecked(), i == series);
    QCOMPARE(form->Tables->selectedSeries, series);
    QCOMPARE(form->Tab->TabChartCurve_lbl->text(), label);
}

void TestWindowReach::refusedReferenceSwitchKeepsThePinColours()
{
    auto form = start();
    QVERIFY(form);
    QTest::qWait(1200);
    QTest::mouseClick(form->Dash->Throttle_rect, Qt::LeftButton);
    TpsSetupPanel* tps = form->Dash->TPS_Setup_layout;
    QTRY_VERIFY(!tps->isHidden());
    const QString pin4 = styleColour(tps->Label8);
    const QString pin3 = styleColour(tps->Label9);
    QCOMPARE(pin4, QString("#ffff0000"));
    QCOMPARE(pin3, QString("#ffc0c0c0"));
    notifier.clear();
    QTest::mouseClick(tps->RefSwitch, Qt::LeftButton);
    QCOMPARE(notifier.texts(RecordingNotifier::Message), QStringList{QString::fromUtf8(FormTexts::NotConnected)});
    QCOMPARE(styleColour(tps->Label8), pin4);
    QCOMPARE(styleColour(tps->Label9), pin3);
    // Opening the panel again without a Converter does not show it either.
    QTest::mouseClick(tps->Button4, Qt::LeftButton);
    QTest::mouseClick(form->Dash->Throttle_rect, Qt::LeftButton);
    QTRY_VERIFY(!tps->isHidden());
    QCOMPARE(styleColour(tps->Label8), pin4);
    QCOMPARE(styleColour(tps->Label9), pin3);
}

void TestWindowReach::spaceOnlyMarks_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("Interpolation on the log page") << "LogInterp_btn";
    QTest::newRow("Extrapolation on the log page") << "LogExtrap_btn";
    QTest::newRow("undo on the log page") << "LogUndoBtn";
    QTest::newRow("reference switch") << "RefSwitch";
    QTest::newRow("radio button") << "Open_rb";
}

void TestWindowReach::spaceOnlyMarks()
{
    QFETCH(QString, control);
    auto form = start();
    QVERIFY(form);
    auto* target = form->findChild<QAbstractButton*>(control);
    QVERIFY(target);
    if (form->Log->Rectangle9->isAncestorOf(target)) {
        form->MTabControl->setCurrentIndex(2);
    } else {
        QTest::qWait(1200);
        QTest::mouseClick(form->Dash->Throttle_rect, Qt::LeftButton);
        QTRY_VERIFY(!form->Dash->TPS_Setup_layout->isHidden());
    }
    // A point that a change of mode or an undo would touch.
    form->Tables->SetPoint(60, 90, 1);
    QTest::mouseClick(target, Qt::LeftButton);
    target->setFocus();
    const bool checked = target->isChecked();
    const QList<int> tab = form->Tables->tab;
    const QList<int> marks = form->Tables->marks;
    const quint8 interpolate = form->Tables->interpolate;
    const qint32 extrapolate = form->Tables->extrapolate;
    notifier.clear();
    QSignalSpy clicks(target, &QAbstractButton::clicked);
    RoundButton* marker = form->Dash->Correction->Marker_rect;
    for (int i = 0; i < 2; ++i) {
        QTest::keyPress(target, Qt::Key_Space);
        QCOMPARE(marker->fillColour().rgba(), 0xFFFFFFFFu);
        QVERIFY(form->Logger->markerHeld);
        QTest::keyRelease(target, Qt::Key_Space);
        QCOMPARE(marker->fillColour().rgba(), 0xFF041C51u);
        QVERIFY(!form->Logger->markerHeld);
    }
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(target->isChecked(), checked);
    QCOMPARE(form->Tables->tab, tab);
    QCOMPARE(form->Tables->marks, marks);
    QCOMPARE(form->Tables->interpolate, interpolate);
    QCOMPARE(form->Tables->extrapolate, extrapolate);
    QVERIFY(notifier.entries.isEmpty());
    // Enter starts the apply animation, and presses nothing else.
    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY(form->Dash->Correction->DashApplyToTable_ani->Enabled());
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(target->isChecked(), checked);
}

void TestWindowReach::fileBrowserKeys()
{
    auto form = start();
    QVERIFY(form);
    QFile file(dir->filePath("kept.log"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    form->FileFolder = dir->path();
    QDir::setCurrent(QDir::tempPath());
    QDir(dir->path()).mkdir("sub");

    FileChoices choices;
    form->Broadcaster->Register(&choices);
    // Escape: as Cancel, the folder walked to is remembered, nothing posted.
    TFile_frm* browser = form->File_frm.get();
    QTest::mouseClick(form->Log->LogOpen_rct, Qt::LeftButton);
    QTRY_VERIFY(browser->isVisible());
    browser->CurrentFolder = dir->filePath("sub");
    browser->FillList();
    QTest::keyClick(browser, Qt::Key_Escape);
    QVERIFY(!browser->isVisible());
    QCOMPARE(browser->ResultPath, QString("0"));
    QCOMPARE(form->FileFolder, dir->filePath("sub"));
    QCOMPARE(choices.files.size(), 0);

    // Enter in the name box: as OK, the log is opened.
    form->FileFolder = dir->path();
    notifier.clear();
    QTest::mouseClick(form->Log->LogOpen_rct, Qt::LeftButton);
    QTRY_VERIFY(browser->isVisible());
    browser->FileNameEdit->setFocus();
    browser->FileNameEdit->setText("kept");
    QTest::keyClick(browser->FileNameEdit, Qt::Key_Return);
    QTRY_VERIFY(!browser->isVisible());
    QCOMPARE(browser->ResultPath, dir->filePath("kept.log"));
    QTRY_COMPARE(choices.files.size(), 1);
    QCOMPARE(choices.files[0].saveMode, 0);
    QCOMPARE(choices.files[0].extension, QString("log"));
    QCOMPARE(choices.files[0].fileName, dir->filePath("kept.log"));
    form->Broadcaster->Unregister(&choices);
}

QTEST_MAIN(TestWindowReach)
#include "tst_windowreach.moc"
