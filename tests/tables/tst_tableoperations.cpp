#include "tablefixture.h"

#include <QPoint>
#include <QTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

// Expected curves are built from the marker curve with a few ranges replaced.
namespace {

using Fill = std::function<int(int)>;

QList<int> withRange(QList<int> curve, int from, int to, const Fill& value)
{
    for (int i = from; i <= to; ++i)
        curve[i] = value(i);
    return curve;
}

}  // namespace

class TestTableOperations : public QObject {
    Q_OBJECT
private slots:
    void interpolateCurve_data();
    void interpolateCurve();
    void trainedFollowTheCurve_data();
    void trainedFollowTheCurve();
    void fillOneToOne();
    void interpolationModeDropsAnchorsKeepsTrained();
    void applyCorrection_data();
    void applyCorrection();
    void applyWindowWithEmptyWindowPassesCorrectionAsEditedPoint();
    void stepCorrection_data();
    void stepCorrection();
    void clearTrained_data();
    void clearTrained();
    void kickDown();
    void operationsRedrawBothCharts();
};

void TestTableOperations::interpolateCurve_data()
{
    QTest::addColumn<QList<QPoint>>("anchors");  // (reading, value)
    QTest::addColumn<int>("extrapolate");
    QTest::addColumn<int>("edited");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> old = markerCurve();
    const QList<QPoint> a10to20{{10, 20}, {20, 40}};
    const QList<int> segment10to20 = withRange(old, 10, 20, [](int i) { return 2 * i; });

    QTest::newRow("segment 10..20") << a10to20 << 0 << 20 << segment10to20;
    QTest::newRow("extrapolation off ignores edited") << a10to20 << 0 << 200 << segment10to20;
    QTest::newRow("upwards from the last anchor")
        << a10to20 << 1 << 20 << withRange(old, 10, 255, [](int i) { return std::min(255, 2 * i); });
    QTest::newRow("upwards when edited lies beyond the last anchor")
        << a10to20 << 1 << 90 << withRange(old, 10, 255, [](int i) { return std::min(255, 2 * i); });
    QTest::newRow("downwards from the first anchor")
        << a10to20 << 1 << 10 << withRange(segment10to20, 0, 10, [](int i) { return 2 * i; });
    QTest::newRow("edited between the anchors extrapolates nowhere") << a10to20 << 1 << 15 << segment10to20;
    QTest::newRow("edited 0 never extrapolates downwards") << a10to20 << 1 << 0 << segment10to20;
    QTest::newRow("downwards clamps at 0")
        << QList<QPoint>{{100, 50}, {110, 100}} << 1 << 100
        << withRange(withRange(old, 100, 110, [](int i) { return 50 + 5 * (i - 100); }), 0, 100,
                     [](int i) { return std::max(0, 50 - 5 * (100 - i)); });
    QTest::newRow("last anchor at 255 does not extrapolate")
        << QList<QPoint>{{128, 64}, {255, 255}} << 1 << 255
        << withRange(old, 128, 255, [](int i) {
               // 64 + (i - 128) * 191 / 127, rounded halves to even
               const double v = 64 + (i - 128) * (191.0 / 127.0);
               return static_cast<int>(std::nearbyint(v));
           });
    QTest::newRow("halves round to even")
        << QList<QPoint>{{0, 0}, {4, 2}} << 0 << 4 << withRange(old, 0, 4, [](int i) {
               const int values[] = {0, 0, 1, 2, 2};
               return values[i];
           });
    QTest::newRow("falling segment")
        << QList<QPoint>{{100, 200}, {150, 100}} << 0 << 150
        << withRange(old, 100, 150, [](int i) { return 200 - 2 * (i - 100); });
    QTest::newRow("three anchors, segments back to front")
        << QList<QPoint>{{0, 0}, {100, 200}, {200, 0}} << 0 << 200
        << withRange(old, 0, 200, [](int i) { return i <= 100 ? 2 * i : 200 - 2 * (i - 100); });
    QTest::newRow("one anchor at 64 with extrapolation")
        << QList<QPoint>{{64, 128}} << 1 << 64
        << withRange(old, 1, 255, [](int i) { return std::min(255, 2 * i); });
    QTest::newRow("one anchor without extrapolation") << QList<QPoint>{{64, 128}} << 0 << 64
                                                      << withRange(old, 64, 64, [](int) { return 128; });
    QTest::newRow("one anchor at reading 0 with extrapolation")
        << QList<QPoint>{{0, 90}} << 1 << 0 << withRange(old, 0, 0, [](int) { return 90; });
    QTest::newRow("no anchors") << QList<QPoint>{} << 1 << 50 << old;
}

void TestTableOperations::interpolateCurve()
{
    QFETCH(QList<QPoint>, anchors);
    QFETCH(int, extrapolate);
    QFETCH(int, edited);
    QFETCH(QList<int>, expected);

    TableFixture f;
    f.setCurve(markerCurve());
    for (const QPoint& a : anchors) {
        f.table.tab[a.x()] = a.y();
        f.table.marks[a.x()] = 255;
    }
    const QList<int> tail = f.table.tab.mid(Table::CurveSize);

    f.table.Interpolate(extrapolate, edited);

    QCOMPARE(f.curve(), expected);
    QCOMPARE(f.table.tab.mid(Table::CurveSize), tail);
}

void TestTableOperations::trainedFollowTheCurve_data()
{
    QTest::addColumn<QList<int>>("learnedPoints");
    QTest::addColumn<QList<QPoint>>("trainedBefore");  // (reading, value)
    QTest::addColumn<QList<QPoint>>("trainedAfter");   // every non-zero entry after

    // The curve is one-to-one, so a trained value equal to i follows it.
    QTest::newRow("trained points take the curve value")
        << QList<int>{} << QList<QPoint>{{5, 99}, {40, 1}} << QList<QPoint>{{5, 5}, {40, 40}};
    QTest::newRow("filled between two trained learned points")
        << QList<int>{10, 14} << QList<QPoint>{{10, 1}, {14, 1}}
        << QList<QPoint>{{10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14}};
    QTest::newRow("emptied between two untrained learned points")
        << QList<int>{10, 14} << QList<QPoint>{{11, 7}, {13, 7}, {20, 7}} << QList<QPoint>{{20, 20}};
    QTest::newRow("kept where only one end is trained")
        << QList<int>{10, 14} << QList<QPoint>{{10, 1}, {12, 7}} << QList<QPoint>{{10, 10}, {12, 12}};
    QTest::newRow("one learned point does nothing")
        << QList<int>{10} << QList<QPoint>{{12, 7}} << QList<QPoint>{{12, 12}};
    QTest::newRow("chain of learned points")
        << QList<int>{10, 12, 14} << QList<QPoint>{{10, 3}, {12, 3}, {13, 3}}
        << QList<QPoint>{{10, 10}, {11, 11}, {12, 12}, {13, 13}};
}

void TestTableOperations::trainedFollowTheCurve()
{
    QFETCH(QList<int>, learnedPoints);
    QFETCH(QList<QPoint>, trainedBefore);
    QFETCH(QList<QPoint>, trainedAfter);

    TableFixture f;
    f.setCurve(oneToOneCurve());
    for (int i : learnedPoints)
        f.table.learned[i] = 255;
    for (const QPoint& p : trainedBefore)
        f.table.trained[p.x()] = p.y();

    f.table.Interpolate(0, 0);

    QList<int> expected(Table::CurveSize, 0);
    for (const QPoint& p : trainedAfter)
        expected[p.x()] = p.y();
    QCOMPARE(f.table.trained, expected);
    QCOMPARE(f.curve(), oneToOneCurve());
}

void TestTableOperations::fillOneToOne()
{
    TableFixture f;
    f.setCurve(markerCurve());
    for (int i = Table::SettingsFirst; i < Table::TableSize; ++i)
        f.table.tab[i] = 17;
    f.table.marks[3] = 255;
    f.table.learned[4] = 255;
    f.table.trained[5] = 9;
    f.boxes.setText(SettingsBoxes::SmoothMaf_nb, QStringLiteral("3"));

    f.table.FillOneToOne();

    QCOMPARE(f.curve(), oneToOneCurve());
    QCOMPARE(f.table.tab.mid(Table::SettingsFirst, 8), (QList<int>{4, 5, 128, 64, 128, 0, 128, 255}));
    QCOMPARE(f.table.tab.mid(Table::IatFirst), QList<int>(128, 0));
    QCOMPARE(f.boxes.text(SettingsBoxes::SmoothMaf_nb), QStringLiteral("100"));
    // Anchors and training are not the one-to-one's business.
    QCOMPARE(f.table.marks[3], 255);
    QCOMPARE(f.table.learned[4], 255);
    QCOMPARE(f.table.trained[5], 9);
}

void TestTableOperations::interpolationModeDropsAnchorsKeepsTrained()
{
    TableFixture f;
    f.table.marks[3] = 255;
    f.table.marks2[7] = 1;
    f.table.learned[4] = 255;
    f.table.trained[5] = 9;

    f.table.SetInterpolationMode(true);
    QCOMPARE(f.table.interpolate, quint8(1));
    QCOMPARE(f.table.marks, QList<int>(392, 0));
    QCOMPARE(f.table.marks2, QList<int>(392, 0));
    QCOMPARE(f.table.learned, QList<int>(256, 0));
    QCOMPARE(f.table.trained[5], 9);

    f.table.marks[3] = 255;
    f.table.SetInterpolationMode(false);
    QCOMPARE(f.table.interpolate, quint8(0));
    QCOMPARE(f.table.marks[3], 0);
}

void TestTableOperations::applyCorrection_data()
{
    QTest::addColumn<int>("corr");
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("anchorsBefore");    // on the one-to-one curve
    QTest::addColumn<QList<QPoint>>("curveChanges");  // (reading, value)
    QTest::addColumn<QList<int>>("anchorsAfter");
    QTest::addColumn<QList<int>>("learnedAfter");
    QTest::addColumn<QList<QPoint>>("trainedAfter");  // every non-zero trained entry

    QTest::newRow("window adds, trains and anchors")
        << 10 << 50 << 52 << int(Table::ApplyWindow) << QList<int>{} << QList<QPoint>{{50, 60}, {51, 61}, {52, 62}}
        << QList<int>{50, 51, 52} << QList<int>{50, 51, 52} << QList<QPoint>{{50, 60}, {51, 61}, {52, 62}};
    QTest::newRow("window below 0 stores 0 and no trained point")
        << -20 << 15 << 25 << int(Table::ApplyWindow) << QList<int>{}
        << QList<QPoint>{{15, 0}, {16, 0}, {17, 0}, {18, 0}, {19, 0}, {20, 0}, {21, 1}, {22, 2}, {23, 3}, {24, 4},
                         {25, 5}}
        << QList<int>{15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}
        << QList<int>{15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}
        << QList<QPoint>{{21, 1}, {22, 2}, {23, 3}, {24, 4}, {25, 5}};
    QTest::newRow("window above 255 stores 255")
        << 100 << 200 << 200 << int(Table::ApplyWindow) << QList<int>{} << QList<QPoint>{{200, 255}}
        << QList<int>{200} << QList<int>{200} << QList<QPoint>{{200, 255}};
    QTest::newRow("window draws lines to the anchors around it")
        << 10 << 50 << 50 << int(Table::ApplyWindow) << QList<int>{40, 60}
        << QList<QPoint>{{41, 42}, {42, 44}, {43, 46}, {44, 48}, {45, 50}, {46, 52}, {47, 54}, {48, 56}, {49, 58},
                         {50, 60}, {51, 60}, {52, 60}, {53, 60}, {54, 60}, {55, 60}, {56, 60}, {57, 60}, {58, 60},
                         {59, 60}}
        << QList<int>{40, 50, 60} << QList<int>{50} << QList<QPoint>{{50, 60}};
    QTest::newRow("middle of 100 and 101 is 100, neighbours lose their marks")
        << 7 << 100 << 101 << int(Table::ApplyMiddle) << QList<int>{99, 101} << QList<QPoint>{{100, 107}}
        << QList<int>{100} << QList<int>{} << QList<QPoint>{{100, 107}};
    QTest::newRow("middle of 101 and 102 is 102")
        << 7 << 101 << 102 << int(Table::ApplyMiddle) << QList<int>{99, 101}
        << QList<QPoint>{{100, 102}, {101, 106}, {102, 109}} << QList<int>{99, 102} << QList<int>{}
        << QList<QPoint>{{102, 109}};
    QTest::newRow("middle at reading 0 keeps the neighbour")
        << 3 << 0 << 0 << int(Table::ApplyMiddle) << QList<int>{1} << QList<QPoint>{{0, 3}} << QList<int>{0, 1}
        << QList<int>{} << QList<QPoint>{{0, 3}};
    QTest::newRow("min copies its point to reading 0")
        << 5 << 4 << 4 << int(Table::ApplyMin) << QList<int>{} << QList<QPoint>{{0, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 9}}
        << QList<int>{0, 4} << QList<int>{} << QList<QPoint>{{0, 9}, {4, 9}};
    QTest::newRow("max copies its point to 254 and 255")
        << -10 << 250 << 250 << int(Table::ApplyMax) << QList<int>{}
        << QList<QPoint>{{250, 240}, {251, 240}, {252, 240}, {253, 240}, {254, 240}, {255, 240}}
        << QList<int>{250, 254, 255} << QList<int>{} << QList<QPoint>{{250, 240}, {254, 240}, {255, 240}};
}

void TestTableOperations::applyCorrection()
{
    QFETCH(int, corr);
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(int, mode);
    QFETCH(QList<int>, anchorsBefore);
    QFETCH(QList<QPoint>, curveChanges);
    QFETCH(QList<int>, anchorsAfter);
    QFETCH(QList<int>, learnedAfter);
    QFETCH(QList<QPoint>, trainedAfter);

    TableFixture f;
    f.setCurve(oneToOneCurve());
    for (int i : anchorsBefore)
        f.table.marks[i] = 255;

    f.table.ApplyCorrection(corr, begin, end, static_cast<Table::ApplyMode>(mode));

    QList<int> curve = oneToOneCurve();
    for (const QPoint& p : curveChanges)
        curve[p.x()] = p.y();
    QCOMPARE(f.curve(), curve);
    QList<int> anchors;
    QList<int> learnedPoints;
    QList<int> trained(Table::CurveSize, 0);
    for (int i = 0; i < Table::TableSize; ++i)
        if (f.table.marks[i] > 0)
            anchors.append(i);
    for (int i = 0; i < Table::CurveSize; ++i)
        if (f.table.learned[i] > 0)
            learnedPoints.append(i);
    QCOMPARE(anchors, anchorsAfter);
    QCOMPARE(learnedPoints, learnedAfter);
    for (const QPoint& p : trainedAfter)
        trained[p.x()] = p.y();
    QCOMPARE(f.table.trained, trained);
}

void TestTableOperations::applyWindowWithEmptyWindowPassesCorrectionAsEditedPoint()
{
    // Anchors 10 (20) and 20 (40) with extrapolation on. An empty window
    // changes no entry; the correction (5) becomes the edited point, which
    // lies below the first anchor, so the line goes down to reading 0.
    TableFixture f;
    f.setCurve(markerCurve());
    f.table.tab[10] = 20;
    f.table.tab[20] = 40;
    f.table.marks[10] = 255;
    f.table.marks[20] = 255;
    f.table.SetExtrapolate(1);

    f.table.ApplyCorrection(5, 60, 50, Table::ApplyWindow);

    QCOMPARE(f.curve(), withRange(markerCurve(), 0, 20, [](int i) { return 2 * i; }));
    QCOMPARE(f.table.learned, QList<int>(256, 0));
}

void TestTableOperations::stepCorrection_data()
{
    QTest::addColumn<bool>("ect");
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("corr");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("after");

    QTest::newRow("IAT 37 is cell 273") << false << 37 << 0 << 5 << 273 << 5;
    QTest::newRow("28 + 5 clamps to 30") << false << 37 << 28 << 5 << 273 << 30;
    QTest::newRow("-30 - 5 stays at -30") << false << 37 << 226 << -5 << 273 << 226;
    QTest::newRow("-6 + 10 crosses zero") << false << 0 << 250 << 10 << 264 << 4;
    QTest::newRow("2 - 5 is stored as 253") << false << 3 << 2 << -5 << 264 << 253;
    QTest::newRow("low byte read as signed") << false << 255 << 300 << 0 << 327 << 30;
    QTest::newRow("ECT 255 is the last cell") << true << 255 << 0 << -1 << 391 << 255;
    QTest::newRow("ECT 4 is cell 329") << true << 4 << 10 << 3 << 329 << 13;
    QTest::newRow("a huge step clamps without overflow") << true << 0 << 0 << INT_MIN << 328 << 226;
    QTest::newRow("a reading beyond 255 stays in the table") << false << 9999 << 0 << 1 << 327 << 1;
}

void TestTableOperations::stepCorrection()
{
    QFETCH(bool, ect);
    QFETCH(int, reading);
    QFETCH(int, before);
    QFETCH(int, corr);
    QFETCH(int, cell);
    QFETCH(int, after);

    TableFixture f;
    (ect ? f.table.ectValue : f.table.iatValue) = reading;
    f.table.tab[cell] = before;
    QList<int> expected = f.table.tab;
    expected[cell] = after;

    f.table.StepCorrection(corr, ect);

    QCOMPARE(f.table.tab, expected);
}

void TestTableOperations::clearTrained_data()
{
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("clearedFrom");
    QTest::addColumn<int>("clearedTo");

    QTest::newRow("window") << 10 << 20 << 10 << 20;
    QTest::newRow("one point") << 15 << 15 << 15 << 15;
    QTest::newRow("all") << 0 << 255 << 0 << 255;
    QTest::newRow("begin after end clears nothing") << 20 << 10 << 1 << 0;
    QTest::newRow("out of range is cut to the curve") << -5 << 300 << 0 << 255;
}

void TestTableOperations::clearTrained()
{
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(int, clearedFrom);
    QFETCH(int, clearedTo);

    TableFixture f;
    f.table.marks.fill(255, Table::CurveSize);
    f.table.marks.resize(Table::TableSize);
    f.table.learned.fill(255);
    f.table.trained.fill(7);
    const int entriesBefore = static_cast<int>(f.table.undoList.size());

    f.table.ClearTrained(begin, end);

    for (int i = 0; i < Table::CurveSize; ++i) {
        const int want = i >= clearedFrom && i <= clearedTo ? 0 : 1;
        QCOMPARE(f.table.trained[i], 7 * want);
        QCOMPARE(f.table.marks[i], 255 * want);
        QCOMPARE(f.table.learned[i], 255 * want);
    }
    QVERIFY(f.table.undoList.size() > entriesBefore);
}

void TestTableOperations::kickDown()
{
    TableFixture f;
    f.setCurve(markerCurve());
    f.table.setKickDownPoint(255, true);
    QCOMPARE(f.table.trained[255], markerCurve()[255]);
    QCOMPARE(f.table.marks[255], markerCurve()[255]);
    f.table.setKickDownPoint(255, false);
    QCOMPARE(f.table.trained[255], 0);
    QCOMPARE(f.table.marks[255], 0);
}

void TestTableOperations::operationsRedrawBothCharts()
{
    TableFixture f;
    f.table.SetUpDashboardChart();
    f.view = CountingView{};
    f.table.ApplyCorrection(1, 10, 20, Table::ApplyWindow);
    f.table.StepCorrection(1, false);
    f.table.ClearTrained(0, 255);
    f.table.FillOneToOne();
    QCOMPARE(f.view.tableRedraws, 4);
    QCOMPARE(f.view.dashboardRedraws, 4);
    f.table.SetInterpolationMode(true);
    QCOMPARE(f.view.tableRedraws, 4);
}

QTEST_APPLESS_MAIN(TestTableOperations)
#include "tst_tableoperations.moc"
