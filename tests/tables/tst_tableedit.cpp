#include "tablefixture.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

// One chart unit per pixel, plot from pixel 0 to 110 both ways, axes 0..110:
// chart x equals the pixel x, chart y is 110 minus the pixel y.
const PlotArea unitArea{0, 110, 110, 0, 0, 110, 0, 110};

// A plot area as a real chart lays it out, with margins around it.
const PlotArea chartArea{40, 300, 370, 20, 0, 110, 0, 110};

double pointX(int i)
{
    return i * 100.0 / 255.0;
}

}  // namespace

class TestTableEdit : public QObject {
    Q_OBJECT
private slots:
    void editAtPress_data();
    void editAtPress();
    void pressIsUsedOnce();
    void degenerateAreaDoesNothing();
    void editPointCurve_data();
    void editPointCurve();
    void editPointTrained_data();
    void editPointTrained();
    void editPointWithoutEditableSeries();
    void editPointInterpolatesInInterpolationMode();
};

void TestTableEdit::editAtPress_data()
{
    QTest::addColumn<double>("pressX");
    QTest::addColumn<double>("pressY");
    QTest::addColumn<int>("index");  // -1: nothing edited
    QTest::addColumn<int>("value");

    const double half10 = (pointX(10) + pointX(11)) / 2;
    QTest::newRow("halfway between 10 and 11 edits 10") << half10 << 60.0 << 10 << 127;
    QTest::newRow("just past halfway edits 11") << std::nextafter(half10, 200.0) << 60.0 << 11 << 127;
    QTest::newRow("on point 11") << pointX(11) << 60.0 << 11 << 127;
    QTest::newRow("left edge edits point 0") << 0.0 << 110.0 << 0 << 0;
    QTest::newRow("beyond 100 edits point 255") << 105.0 << 60.0 << 255 << 127;
    QTest::newRow("value between 100 and 110 stores 255") << pointX(40) << 5.0 << 40 << 255;
    QTest::newRow("top edge stores 255") << pointX(40) << 0.0 << 40 << 255;
    QTest::newRow("right of the plot") << 110.5 << 60.0 << -1 << 0;
    QTest::newRow("below the plot") << 50.0 << 110.5 << -1 << 0;
    QTest::newRow("above the plot") << 50.0 << -0.5 << -1 << 0;
    QTest::newRow("left of the plot") << -0.5 << 60.0 << -1 << 0;
}

void TestTableEdit::editAtPress()
{
    QFETCH(double, pressX);
    QFETCH(double, pressY);
    QFETCH(int, index);
    QFETCH(int, value);

    TableFixture f;
    f.setCurve(markerCurve());
    const TBufUndoRedo before = f.state();

    f.table.RecordPress(Qt::LeftButton, pressX, pressY);
    f.table.EditAtPress(unitArea);

    QList<int> curve = markerCurve();
    if (index >= 0)
        curve[index] = value;
    QCOMPARE(f.curve(), curve);
    if (index >= 0) {
        QCOMPARE(f.table.marks[index], 255);
        QCOMPARE(f.table.mouseX, 0.0);
    } else {
        QVERIFY(f.state() == before);
        QCOMPARE(f.table.mouseX, pressX);
    }
    QCOMPARE(f.table.mouseY, pressY);
    QCOMPARE(f.table.mouseButton, Qt::LeftButton);
}

void TestTableEdit::pressIsUsedOnce()
{
    TableFixture f;
    // Point 50 at value 50 % on a chart with margins.
    const double x = 40 + pointX(50) / 110 * 330;
    const double y = 300 - 50.0 / 110 * 280;
    f.table.RecordPress(Qt::RightButton, x, y);
    f.table.EditAtPress(chartArea);
    QCOMPARE(f.table.tab[50], 127);
    QCOMPARE(f.table.mouseX, 0.0);
    QCOMPARE(f.table.mouseButton, Qt::RightButton);
    const qsizetype entries = f.table.undoList.size();

    f.table.tab[50] = 3;
    f.table.EditAtPress(chartArea);
    QCOMPARE(f.table.tab[50], 3);
    // Even where pixel 0 lies inside the plot, a second double click needs
    // a new press.
    f.table.EditAtPress(unitArea);
    QCOMPARE(f.table.tab[0], 0);
    QCOMPARE(f.table.undoList.size(), entries);

    f.table.RecordPress(Qt::LeftButton, x, y);
    f.table.EditAtPress(chartArea);
    QCOMPARE(f.table.tab[50], 127);
}

void TestTableEdit::degenerateAreaDoesNothing()
{
    TableFixture f;
    const TBufUndoRedo before = f.state();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const PlotArea& area : {PlotArea{10, 100, 10, 0, 0, 110, 0, 110}, PlotArea{0, 0, 110, 0, 0, 110, 0, 110},
                                 PlotArea{nan, 110, 110, 0, 0, 110, 0, 110}}) {
        f.table.RecordPress(Qt::LeftButton, 10, 10);
        f.table.EditAtPress(area);
    }
    f.table.RecordPress(Qt::LeftButton, nan, 10);
    f.table.EditAtPress(unitArea);
    QVERIFY(f.state() == before);
}

void TestTableEdit::editPointCurve_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("stored");

    QTest::newRow("truncates") << 30 << 50.0 << 30 << 127;
    QTest::newRow("exact") << 30 << 20.0 << 30 << 51;
    QTest::newRow("value above 100") << 30 << 250.0 << 30 << 255;
    QTest::newRow("value below 0") << 30 << -4.0 << 30 << 0;
    QTest::newRow("value not a number") << 30 << std::numeric_limits<double>::quiet_NaN() << 30 << 0;
    QTest::newRow("index above 255") << 400 << 100.0 << 255 << 255;
    QTest::newRow("index below 0") << -3 << 100.0 << 0 << 255;
}

void TestTableEdit::editPointCurve()
{
    QFETCH(int, index);
    QFETCH(double, value);
    QFETCH(int, point);
    QFETCH(int, stored);

    TableFixture f;
    f.setCurve(markerCurve());
    f.table.EditPoint(index, value);
    QList<int> curve = markerCurve();
    curve[point] = stored;
    QCOMPARE(f.curve(), curve);
    QCOMPARE(f.table.marks[point], 255);
    QCOMPARE(f.table.learned, QList<int>(256, 0));
}

void TestTableEdit::editPointTrained_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("trained");

    // The curve holds 51 at point 50, drawn at 20 %.
    QTest::newRow("below the curve") << 19.9 << 0;
    QTest::newRow("on the curve") << 20.0 << 51;
    QTest::newRow("above the curve") << 80.0 << 51;
}

void TestTableEdit::editPointTrained()
{
    QFETCH(double, value);
    QFETCH(int, trained);

    TableFixture f;
    f.table.tab[50] = 51;
    f.table.trained[50] = 9;
    f.table.selectedSeries = Table::TrainedSeries;
    f.table.EditPoint(50, value);
    QCOMPARE(f.table.trained[50], trained);
    QCOMPARE(f.table.learned[50], 255);
    QCOMPARE(f.table.tab[50], 51);
    QCOMPARE(f.table.marks[50], 0);
}

void TestTableEdit::editPointWithoutEditableSeries()
{
    for (int series : {Table::NoSeries, 1, 2}) {
        TableFixture f;
        f.setCurve(markerCurve());
        f.table.ResetUndo();
        f.table.PushUndo();
        const TBufUndoRedo before = f.state();
        const int redraws = f.view.tableRedraws;
        f.table.selectedSeries = series;
        f.table.EditPoint(40, 60);
        QVERIFY(f.state() == before);
        // Still redrawn and recorded.
        QCOMPARE(f.view.tableRedraws, redraws + 1);
        QCOMPARE(f.table.undoList.size(), 2);
    }
}

void TestTableEdit::editPointInterpolatesInInterpolationMode()
{
    TableFixture f;
    f.setCurve(markerCurve());
    f.table.SetInterpolationMode(true);
    f.table.EditPoint(10, 20.0);  // 51
    f.table.EditPoint(20, 40.0);  // 102
    for (int i = 10; i <= 20; ++i)
        QCOMPARE(f.table.tab[i], static_cast<int>(std::nearbyint(51 + (i - 10) * 5.1)));

    f.table.SetInterpolationMode(false);
    f.table.EditPoint(30, 0.0);
    f.table.EditPoint(40, 100.0);
    QCOMPARE(f.table.tab[35], markerCurve()[35]);
}

QTEST_APPLESS_MAIN(TestTableEdit)
#include "tst_tableedit.moc"
