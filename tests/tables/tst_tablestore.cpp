#include "tablefixture.h"
#include "tablesettings.h"

#include <QLocale>
#include <QTest>

#include <climits>

using Box = SettingsBoxes::Box;
Q_DECLARE_METATYPE(SettingsBoxes::Box)

class TestTableStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setUpShowsDefaults();
    void settingFromText_data();
    void settingFromText();
    void settingToText_data();
    void settingToText();
    void smoothTpsRoundTripsNegative();
    void decimalBoxFollowsLocale();
    void settingsFromUiForcesThreshold();
    void integerPrefix_data();
    void integerPrefix();
    void getAndSetPoint();
    void setPointWithAnchorInterpolates();
    void setPointOutsideTableIsIgnored();
    void extrapolateFlag();
    void dashboardRedrawsOnlyAfterItsSetUp();
    void callbacksReachTheMainWindow();
    void worksBeforeSetUp();
};

void TestTableStore::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestTableStore::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestTableStore::setUpShowsDefaults()
{
    TableFixture f;
    QCOMPARE(f.table.tab.mid(256, 8), (QList<int>{4, 5, 128, 64, 128, 0, 128, 255}));
    const QStringList shown(f.boxes.texts.begin(), f.boxes.texts.end());
    QCOMPARE(shown, (QStringList{"4", "5", "0", "50", "100", "0", "100", "255"}));
    QCOMPARE(f.table.extrapolate, 0);
    QCOMPARE(f.table.dashReady, quint8(0));
    QCOMPARE(f.table.showTrained, quint8(1));
    QCOMPARE(f.view.tableRedraws, 1);
}

void TestTableStore::settingFromText_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry");

    QTest::newRow("MafTime plain") << SettingsBoxes::MafTime_nb << "7" << 7;
    QTest::newRow("MafTime prefix") << SettingsBoxes::MafTime_nb << "  12abc" << 12;
    QTest::newRow("MafTime no digits") << SettingsBoxes::MafTime_nb << "abc" << 0;
    QTest::newRow("Treshold signed") << SettingsBoxes::Treshold_nb << "-3" << -3;
    QTest::newRow("Enrichment 50") << SettingsBoxes::EnrichmentFactor_nb << "50" << 192;
    QTest::newRow("Enrichment -100") << SettingsBoxes::EnrichmentFactor_nb << "-100" << 0;
    QTest::newRow("Enrichment 0") << SettingsBoxes::EnrichmentFactor_nb << "0" << 128;
    QTest::newRow("Enrichment decimal text takes its integer part")
        << SettingsBoxes::EnrichmentFactor_nb << "50.9" << 192;
    QTest::newRow("Enleanment 50") << SettingsBoxes::EnleanmentFactor_nb << "50" << 64;
    QTest::newRow("Enleanment 1 rounds down") << SettingsBoxes::EnleanmentFactor_nb << "1" << 1;
    QTest::newRow("Enleanment 2 rounds up") << SettingsBoxes::EnleanmentFactor_nb << "2" << 3;
    QTest::newRow("SmoothMaf 100") << SettingsBoxes::SmoothMaf_nb << "100" << 128;
    QTest::newRow("SmoothRpm 37") << SettingsBoxes::SmoothRpm_nb << "37" << 47;
    QTest::newRow("SmoothTps 12.5") << SettingsBoxes::SmoothTps_nb << "12.5" << 125;
    QTest::newRow("SmoothTps -12.5") << SettingsBoxes::SmoothTps_nb << "-12.5" << -125;
    QTest::newRow("SmoothTps truncates") << SettingsBoxes::SmoothTps_nb << "0.39" << 3;
    QTest::newRow("SmoothTps truncates towards zero") << SettingsBoxes::SmoothTps_nb << "-0.39" << -3;
    QTest::newRow("SmoothTps not a number keeps the entry") << SettingsBoxes::SmoothTps_nb << "x" << 77;
    QTest::newRow("SmoothTps huge saturates") << SettingsBoxes::SmoothTps_nb << "1e300" << INT_MAX;
    QTest::newRow("TpsThreshold always 255") << SettingsBoxes::TpsThreshold_nb << "3" << 255;
    QTest::newRow("huge percentage saturates")
        << SettingsBoxes::SmoothMaf_nb << "99999999999999999999" << INT_MAX;
}

void TestTableStore::settingFromText()
{
    QFETCH(Box, box);
    QFETCH(QString, text);
    QFETCH(int, entry);

    TableFixture f;
    f.table.tab[256 + box] = 77;
    f.boxes.setText(box, text);
    f.table.SettingsFromUi();
    QCOMPARE(f.table.tab[256 + box], entry);
}

void TestTableStore::settingToText_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("text");

    QTest::newRow("MafTime") << SettingsBoxes::MafTime_nb << 300 << "300";
    QTest::newRow("Enrichment 192") << SettingsBoxes::EnrichmentFactor_nb << 192 << "50";
    QTest::newRow("Enrichment 0") << SettingsBoxes::EnrichmentFactor_nb << 0 << "-100";
    QTest::newRow("Enrichment half to even down") << SettingsBoxes::EnrichmentFactor_nb << 144 << "12";
    QTest::newRow("Enrichment half to even up") << SettingsBoxes::EnrichmentFactor_nb << 176 << "38";
    QTest::newRow("Enleanment 64") << SettingsBoxes::EnleanmentFactor_nb << 64 << "50";
    QTest::newRow("SmoothMaf half to even") << SettingsBoxes::SmoothMaf_nb << 48 << "38";
    QTest::newRow("SmoothRpm half to even") << SettingsBoxes::SmoothRpm_nb << 16 << "12";
    QTest::newRow("SmoothTps 125") << SettingsBoxes::SmoothTps_nb << 125 << "12.5";
    QTest::newRow("SmoothTps low byte signed") << SettingsBoxes::SmoothTps_nb << 131 << "-12.5";
    QTest::newRow("SmoothTps whole") << SettingsBoxes::SmoothTps_nb << 20 << "2";
    QTest::newRow("TpsThreshold") << SettingsBoxes::TpsThreshold_nb << 200 << "200";
}

void TestTableStore::settingToText()
{
    QFETCH(Box, box);
    QFETCH(int, entry);
    QFETCH(QString, text);

    TableFixture f;
    f.table.tab[256 + box] = entry;
    f.table.SettingsToUi();
    QCOMPARE(f.boxes.text(box), text);
}

void TestTableStore::smoothTpsRoundTripsNegative()
{
    TableFixture f;
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QStringLiteral("-12.5"));
    f.table.SettingsFromUi();
    QCOMPARE(f.table.tab[261], -125);
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QString());
    f.table.SettingsToUi();
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothTps_nb), QStringLiteral("-12.5"));
}

void TestTableStore::decimalBoxFollowsLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TableFixture f;
    f.table.tab[261] = 125;
    f.table.SettingsToUi();
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothTps_nb), QStringLiteral("12,5"));
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QStringLiteral("-3,5"));
    f.table.SettingsFromUi();
    QCOMPARE(f.table.tab[261], -35);
    // A dot typed by habit is still understood.
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QStringLiteral("4.5"));
    f.table.SettingsFromUi();
    QCOMPARE(f.table.tab[261], 45);
}

void TestTableStore::settingsFromUiForcesThreshold()
{
    TableFixture f;
    f.table.tab[263] = 3;
    f.table.SettingsFromUi();
    QCOMPARE(f.table.tab[263], 255);
    // Without boxes the threshold is still forced and nothing else moves.
    Table bare(f.notifier);
    bare.tab[263] = 3;
    bare.tab[256] = 11;
    bare.SettingsFromUi();
    QCOMPARE(bare.tab[263], 255);
    QCOMPARE(bare.tab[256], 11);
}

void TestTableStore::integerPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks") << "   " << 0;
    QTest::newRow("plus") << "+42" << 42;
    QTest::newRow("minus and blanks") << " \t-42x" << -42;
    QTest::newRow("sign alone") << "-" << 0;
    QTest::newRow("blank after sign") << "- 5" << 0;
    QTest::newRow("most negative") << "-2147483648" << INT_MIN;
    QTest::newRow("below the range") << "-99999999999999999999999" << INT_MIN;
}

void TestTableStore::integerPrefix()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(TableSettings::integerPrefix(text), value);
}

void TestTableStore::getAndSetPoint()
{
    TableFixture f;
    f.table.SetPoint(300, 17, 0);
    QCOMPARE(f.table.GetPoint(300), 17);
    QCOMPARE(f.table.marks[300], 0);
    f.table.SetPoint(40, 99, 0);
    QCOMPARE(f.table.GetPoint(40), 99);
    QCOMPARE(f.table.marks[40], 0);
    QCOMPARE(f.table.GetPoint(-1), 0);
    QCOMPARE(f.table.GetPoint(392), 0);
}

void TestTableStore::setPointWithAnchorInterpolates()
{
    TableFixture f;
    f.setCurve(markerCurve());
    f.table.ResetUndo();
    f.table.PushUndo();
    f.table.SetPoint(10, 20, 1);
    f.table.SetPoint(20, 40, 1);
    for (int i = 10; i <= 20; ++i)
        QCOMPARE(f.table.GetPoint(i), 2 * i);
    QCOMPARE(f.table.GetPoint(21), markerCurve()[21]);
    QCOMPARE(f.table.marks[10], 255);
    QCOMPARE(f.table.marks[20], 255);
    QCOMPARE(f.table.undoList.size(), 3);

    f.table.SetExtrapolate(1);
    f.table.SetPoint(30, 60, 1);
    QCOMPARE(f.table.GetPoint(127), 254);
    QCOMPARE(f.table.GetPoint(128), 255);
    QCOMPARE(f.table.GetPoint(255), 255);
}

void TestTableStore::setPointOutsideTableIsIgnored()
{
    TableFixture f;
    const TBufUndoRedo before = f.state();
    f.table.SetPoint(-1, 5, 1);
    f.table.SetPoint(392, 5, 1);
    QVERIFY(f.state() == before);
    QCOMPARE(f.table.undoList.size(), 1);
}

void TestTableStore::extrapolateFlag()
{
    TableFixture f;
    f.table.SetExtrapolate(5);
    QCOMPARE(f.table.extrapolate, 1);
    f.table.SetExtrapolate(0);
    QCOMPARE(f.table.extrapolate, 0);
}

void TestTableStore::dashboardRedrawsOnlyAfterItsSetUp()
{
    TableFixture f;
    f.table.RedrawTableChart();
    QCOMPARE(f.view.dashboardRedraws, 0);

    f.table.corrValue = 4;
    f.table.begPoint = 5;
    f.table.endPoint = 6;
    f.table.sensorValue = 7;
    f.table.outValue = 8;
    f.table.SetUpDashboardChart();
    QCOMPARE(f.table.dashReady, quint8(1));
    QCOMPARE(f.view.dashboardRedraws, 1);
    QCOMPARE(f.table.corrValue + f.table.begPoint + f.table.endPoint + f.table.sensorValue + f.table.outValue, 0);
    f.table.RedrawTableChart();
    QCOMPARE(f.view.dashboardRedraws, 2);
}

void TestTableStore::callbacksReachTheMainWindow()
{
    TableFixture f;
    f.table.reportStatus(QStringLiteral("RAM 0%"));
    f.table.reportDone(QStringLiteral("OK"));
    QCOMPARE(f.statuses, QStringList{"RAM 0%"});
    QCOMPARE(f.dones, QStringList{"OK"});

    Table bare(f.notifier);
    bare.reportStatus(QStringLiteral("nobody listens"));
    bare.reportDone(QStringLiteral("nobody listens"));
}

void TestTableStore::worksBeforeSetUp()
{
    RecordingNotifier notifier;
    Table table(notifier);
    QCOMPARE(table.undoPos, 0);
    QVERIFY(table.undoList.isEmpty());
    QCOMPARE(table.interpolate, quint8(0));
    table.UndoRedo(false);
    table.UndoRedo(true);
    table.ApplyCorrection(5, 0, 255, Table::ApplyWindow);
    QCOMPARE(table.GetPoint(100), 5);
    table.UndoRedo(false);
    QCOMPARE(table.GetPoint(100), 0);
}

QTEST_APPLESS_MAIN(TestTableStore)
#include "tst_tablestore.moc"
