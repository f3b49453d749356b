#include "tablefixture.h"

#include <QTest>

namespace {

// Runs one recorded operation by name on a store that holds anchors, trained
// points and non-zero correction cells, so every operation changes something.
void runOperation(Table& table, const QString& name)
{
    if (name == u"SetPoint")
        table.SetPoint(30, 200, 1);
    else if (name == u"SetPoint without anchor")
        table.SetPoint(270, 9, 0);
    else if (name == u"EditPoint curve")
        table.EditPoint(60, 50.0);
    else if (name == u"EditPoint trained") {
        table.selectedSeries = Table::TrainedSeries;
        table.EditPoint(60, 100.0);
    } else if (name == u"FillOneToOne")
        table.FillOneToOne();
    else if (name == u"SetInterpolationMode")
        table.SetInterpolationMode(true);
    else if (name == u"ApplyWindow")
        table.ApplyCorrection(12, 40, 45, Table::ApplyWindow);
    else if (name == u"ApplyMiddle")
        table.ApplyCorrection(-12, 40, 45, Table::ApplyMiddle);
    else if (name == u"ApplyMin")
        table.ApplyCorrection(5, 3, 3, Table::ApplyMin);
    else if (name == u"ApplyMax")
        table.ApplyCorrection(5, 250, 250, Table::ApplyMax);
    else if (name == u"StepCorrection IAT")
        table.StepCorrection(4, false);
    else if (name == u"StepCorrection ECT")
        table.StepCorrection(-4, true);
    else if (name == u"ClearTrained")
        table.ClearTrained(0, 255);
    else if (name == u"kick-down on")
        table.setKickDownPoint(100, true);
    else if (name == u"kick-down off")
        table.setKickDownPoint(20, false);
    else
        QFAIL(qPrintable(QStringLiteral("unknown operation ") + name));
}

void prepare(TableFixture& f)
{
    f.setCurve(markerCurve());
    f.table.marks[20] = 255;
    f.table.marks[80] = 255;
    f.table.learned[20] = 255;
    f.table.learned[80] = 255;
    f.table.trained[20] = 1;
    f.table.trained[80] = 1;
    f.table.tab[Table::IatFirst] = 3;
    f.table.tab[Table::EctFirst] = 3;
    f.table.tab[Table::SettingsFirst] = 9;
    // Keep the prepared state as the state shown.
    f.table.ResetUndo();
    f.table.PushUndo();
}

}  // namespace

class TestTableUndo : public QObject {
    Q_OBJECT
private slots:
    void afterSetUp();
    void undoAndRedoAroundEachOperation_data();
    void undoAndRedoAroundEachOperation();
    void stepsBackAndForthThroughSeveralOperations();
    void newOperationAfterUndoDropsRedoTail();
    void undoAtOldestAndRedoAtNewestDoNothing();
    void changeFromOutsideIsItsOwnStep();
    void changeFromOutsideThenUndoCanBeRedone();
    void undoRefreshesBoxesOnlyWhenSettingsChange();
    void setUpRestartsHistory();
    void snapshotKeepsSizes();
};

void TestTableUndo::afterSetUp()
{
    TableFixture f;
    QCOMPARE(f.table.undoList.size(), 1);
    QCOMPARE(f.table.undoPos, 1);
    QCOMPARE(f.table.tab.size(), 392);
    QCOMPARE(f.table.tab2.size(), 0);
    QCOMPARE(f.table.marks.size(), 392);
    QCOMPARE(f.table.marks2.size(), 392);
    QCOMPARE(f.table.learned.size(), 256);
    QCOMPARE(f.table.trained.size(), 256);
}

void TestTableUndo::undoAndRedoAroundEachOperation_data()
{
    QTest::addColumn<QString>("operation");
    for (const char* name :
         {"SetPoint", "SetPoint without anchor", "EditPoint curve", "EditPoint trained", "FillOneToOne",
          "SetInterpolationMode", "ApplyWindow", "ApplyMiddle", "ApplyMin", "ApplyMax", "StepCorrection IAT",
          "StepCorrection ECT", "ClearTrained", "kick-down on", "kick-down off"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestTableUndo::undoAndRedoAroundEachOperation()
{
    QFETCH(QString, operation);
    TableFixture f;
    prepare(f);
    const TBufUndoRedo before = f.state();

    runOperation(f.table, operation);
    const TBufUndoRedo after = f.state();
    QVERIFY2(after != before, "the operation should change the table");

    f.table.UndoRedo(false);
    QVERIFY(f.state() == before);
    f.table.UndoRedo(true);
    QVERIFY(f.state() == after);
    f.table.UndoRedo(false);
    QVERIFY(f.state() == before);
    // Already at the oldest state.
    f.table.UndoRedo(false);
    QVERIFY(f.state() == before);
}

void TestTableUndo::stepsBackAndForthThroughSeveralOperations()
{
    TableFixture f;
    prepare(f);
    QList<TBufUndoRedo> states{f.state()};
    for (const char* name : {"SetPoint", "ApplyWindow", "StepCorrection IAT", "ClearTrained", "FillOneToOne"}) {
        runOperation(f.table, QString::fromLatin1(name));
        states.append(f.state());
    }
    for (qsizetype k = states.size() - 2; k >= 0; --k) {
        f.table.UndoRedo(false);
        QVERIFY2(f.state() == states[k], qPrintable(QString::number(k)));
    }
    for (qsizetype k = 1; k < states.size(); ++k) {
        f.table.UndoRedo(true);
        QVERIFY2(f.state() == states[k], qPrintable(QString::number(k)));
    }
}

void TestTableUndo::newOperationAfterUndoDropsRedoTail()
{
    TableFixture f;
    prepare(f);
    runOperation(f.table, QStringLiteral("SetPoint"));
    runOperation(f.table, QStringLiteral("ApplyWindow"));
    f.table.UndoRedo(false);
    f.table.UndoRedo(false);
    runOperation(f.table, QStringLiteral("StepCorrection IAT"));
    const TBufUndoRedo newest = f.state();
    QCOMPARE(f.table.undoList.size(), 2);

    f.table.UndoRedo(true);
    QVERIFY(f.state() == newest);
    f.table.UndoRedo(false);
    f.table.UndoRedo(true);
    QVERIFY(f.state() == newest);
}

void TestTableUndo::undoAtOldestAndRedoAtNewestDoNothing()
{
    TableFixture f;
    prepare(f);
    runOperation(f.table, QStringLiteral("SetPoint"));
    const TBufUndoRedo newest = f.state();
    const int redraws = f.view.tableRedraws;

    f.table.UndoRedo(true);
    QVERIFY(f.state() == newest);
    QCOMPARE(f.table.undoPos, 2);
    QCOMPARE(f.view.tableRedraws, redraws);

    f.table.UndoRedo(false);
    const TBufUndoRedo oldest = f.state();
    f.table.UndoRedo(false);
    QVERIFY(f.state() == oldest);
    QCOMPARE(f.table.undoPos, 1);
}

void TestTableUndo::changeFromOutsideIsItsOwnStep()
{
    // The transfer commands and the main window write entries directly (a
    // table read fills entries 0 and 1); the next recorded operation keeps
    // that as its own step, so one undo lands right before the operation.
    TableFixture f;
    prepare(f);
    const TBufUndoRedo untouched = f.state();
    f.table.tab[0] = 123;
    f.table.tab[1] = 45;
    const TBufUndoRedo read = f.state();

    runOperation(f.table, QStringLiteral("ApplyMiddle"));
    f.table.UndoRedo(false);
    QVERIFY(f.state() == read);
    f.table.UndoRedo(false);
    QVERIFY(f.state() == untouched);
}

void TestTableUndo::changeFromOutsideThenUndoCanBeRedone()
{
    TableFixture f;
    prepare(f);
    runOperation(f.table, QStringLiteral("SetPoint"));
    const TBufUndoRedo edited = f.state();
    f.table.trained[7] = 7;
    const TBufUndoRedo changed = f.state();

    f.table.UndoRedo(false);
    QVERIFY(f.state() == edited);
    f.table.UndoRedo(true);
    QVERIFY(f.state() == changed);
}

void TestTableUndo::undoRefreshesBoxesOnlyWhenSettingsChange()
{
    TableFixture f;
    f.table.tab[Table::SettingsFirst + SettingsBoxes::SmoothMaf_nb] = 64;
    f.table.SettingsToUi();
    f.table.ResetUndo();
    f.table.PushUndo();
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("50"));

    f.table.FillOneToOne();
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("100"));
    f.table.UndoRedo(false);
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("50"));
    f.table.UndoRedo(true);
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("100"));

    // A text typed into a box survives an undo that leaves the settings alone.
    f.table.SetPoint(10, 10, 1);
    f.boxes.setText(SettingsBoxes::SmoothMaf_nb, QStringLiteral("77"));
    f.table.UndoRedo(false);
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("77"));
}

void TestTableUndo::setUpRestartsHistory()
{
    TableFixture f;
    runOperation(f.table, QStringLiteral("SetPoint"));
    runOperation(f.table, QStringLiteral("ApplyWindow"));
    f.table.UndoRedo(false);

    f.table.SetUpTableView(&f.boxes, &f.view, true, {}, {});
    const TBufUndoRedo current = f.state();
    QCOMPARE(f.table.undoList.size(), 1);
    QCOMPARE(f.table.undoPos, 1);
    f.table.UndoRedo(true);
    QVERIFY(f.state() == current);
    f.table.UndoRedo(false);
    QVERIFY(f.state() == current);
}

void TestTableUndo::snapshotKeepsSizes()
{
    TableFixture f;
    const TBufUndoRedo& entry = f.table.undoList.first();
    QCOMPARE(entry.tab.size(), 392);
    QCOMPARE(entry.tab2.size(), 392);
    QCOMPARE(entry.marks.size(), 392);
    QCOMPARE(entry.marks2.size(), 392);
    QCOMPARE(entry.learned.size(), 256);
    QCOMPARE(entry.trained.size(), 256);

    runOperation(f.table, QStringLiteral("SetPoint"));
    f.table.UndoRedo(false);
    // The second table is never used and stays empty through a restore.
    QCOMPARE(f.table.tab2.size(), 0);
    QCOMPARE(f.table.tab.size(), 392);
}

QTEST_APPLESS_MAIN(TestTableUndo)
#include "tst_tableundo.moc"
