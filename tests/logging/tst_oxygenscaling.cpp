#include "logtexts.h"
#include "oxygenscaling.h"

#include <QTest>

class TestOxygenScaling : public QObject {
    Q_OBJECT
private slots:
    void meterColourAndText_data();
    void meterColourAndText();
    void voltsUseTheLocaleSeparator();
    void voltsRoundHalfToEven_data();
    void voltsRoundHalfToEven();
    void sensorTypeFillValues_data();
    void sensorTypeFillValues();
    void fillButtonTruncates_data();
    void fillButtonTruncates();
    void offsetDialSteps_data();
    void offsetDialSteps();
    void offsetStaysInRange();
};

void TestOxygenScaling::meterColourAndText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("meter");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << 0 << 0xFF0080FFu << "0N 0V";
    QTest::newRow("25") << 25 << 124 << 0xFF0080FFu << "25N 0.49V";
    QTest::newRow("26") << 26 << 129 << 0xFF00DD00u << "26N 0.51V";
    QTest::newRow("40") << 40 << 199 << 0xFF00DD00u << "40N 0.78V";
    QTest::newRow("41") << 41 << 204 << 0xFFFFFF00u << "41N 0.8V";
    QTest::newRow("45") << 45 << 224 << 0xFFFFFF00u << "45N 0.88V";
    QTest::newRow("46") << 46 << 229 << 0xFFFF0000u << "46N 0.9V";
    QTest::newRow("51") << 51 << 253 << 0xFFFF0000u << "51N 1V";
    QTest::newRow("52") << 52 << 255 << 0xFFFF0000u << "52N 1.02V";
    QTest::newRow("128") << 128 << 255 << 0xFFFF0000u << "128N 2.5V";
    QTest::newRow("255") << 255 << 255 << 0xFFFF0000u << "255N 4.98V";
}

void TestOxygenScaling::meterColourAndText()
{
    QFETCH(int, value);
    QFETCH(int, meter);
    QFETCH(quint32, colour);
    QFETCH(QString, text);
    const O2Scale scale = ScaleO2(value, QLocale::c());
    QCOMPARE(scale.o2Meter, meter);
    QCOMPARE(scale.o2Colour, colour);
    QCOMPARE(scale.o2Text, text);
}

void TestOxygenScaling::voltsUseTheLocaleSeparator()
{
    QCOMPARE(ScaleO2(25, QLocale(QLocale::Russian, QLocale::Russia)).o2Text, QStringLiteral("25N 0,49V"));
    QCOMPARE(ScaleO2(255, QLocale(QLocale::German, QLocale::Germany)).o2Text, QStringLiteral("255N 4,98V"));
    QCOMPARE(ScaleO2(51, QLocale(QLocale::Russian, QLocale::Russia)).o2Text, QStringLiteral("51N 1V"));
    QCOMPARE(ScaleO2(25, QLocale(QLocale::English, QLocale::UnitedStates)).o2Text, QStringLiteral("25N 0.49V"));
}

void TestOxygenScaling::voltsRoundHalfToEven_data()
{
    // value x 5 / 256 lands exactly on a half hundredth for multiples of 32.
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("centivolts");
    QTest::newRow("0.3125 -> 0.31") << 16 << 31;   // 31.25, below half
    QTest::newRow("0.625 -> 0.62") << 32 << 62;    // 62.5, half, 62 even
    QTest::newRow("1.875 -> 1.88") << 96 << 188;   // 187.5, half, 188 even
    QTest::newRow("3.125 -> 3.12") << 160 << 312;  // 312.5, half, 312 even
    QTest::newRow("4.375 -> 4.38") << 224 << 438;  // 437.5, half, 438 even
    QTest::newRow("0.48828 -> 0.49") << 25 << 49;
}

void TestOxygenScaling::voltsRoundHalfToEven()
{
    QFETCH(int, value);
    QFETCH(int, centivolts);
    QCOMPARE(o2CentiVolts(value), centivolts);
}

void TestOxygenScaling::sensorTypeFillValues_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("fill");
    QTest::newRow("0-1V") << 0 << LogTexts::O2Type01V << 25;
    QTest::newRow("Innovate") << 1 << LogTexts::O2TypeInnovate << 147;
    QTest::newRow("0-5V") << 2 << LogTexts::O2Type05V << 25;
    QTest::newRow("AEM") << 3 << LogTexts::O2TypeAem << 147;
}

void TestOxygenScaling::sensorTypeFillValues()
{
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(int, fill);
    QCOMPARE(o2SensorTypes().at(index), item);
    QCOMPARE(o2RefFillValue(index), std::optional<int>(fill));
    QCOMPARE(o2SensorTypes().size(), 4);
    // No selection, or an item the list does not have, fills nothing.
    QCOMPARE(o2RefFillValue(-1), std::nullopt);
    QCOMPARE(o2RefFillValue(4), std::nullopt);
    QCOMPARE(o2OutputUnits(), (QStringList{"Отсчетах N", "Вольтах", "AFR"}));
}

void TestOxygenScaling::fillButtonTruncates_data()
{
    QTest::addColumn<double>("box");
    QTest::addColumn<int>("fill");
    QTest::newRow("25") << 25.0 << 25;
    QTest::newRow("25.9") << 25.9 << 25;
    QTest::newRow("254.99") << 254.99 << 254;
    QTest::newRow("-0.5") << -0.5 << 0;
}

void TestOxygenScaling::fillButtonTruncates()
{
    QFETCH(double, box);
    QFETCH(int, fill);
    QCOMPARE(o2RefFillFromBox(box), fill);
}

void TestOxygenScaling::offsetDialSteps_data()
{
    // A sequence of dial angles and the offset after each change event.
    QTest::addColumn<QList<double>>("angles");
    QTest::addColumn<QList<int>>("offsets");
    QTest::newRow("turning up steps down") << QList<double>{10, 20, 90} << QList<int>{-1, -2, -3};
    QTest::newRow("turning back steps up") << QList<double>{90, 45, 0} << QList<int>{-1, 0, 1};
    QTest::newRow("same angle: nothing") << QList<double>{30, 30, 30} << QList<int>{-1, -1, -1};
    QTest::newRow("negative side") << QList<double>{-10, -20, -5} << QList<int>{1, 2, 1};
    QTest::newRow("one step however far") << QList<double>{170, -170} << QList<int>{-1, 0};
    QTest::newRow("from -180 to positive: no step") << QList<double>{-180, 5, 10} << QList<int>{1, 1, 0};
    QTest::newRow("from 180 to negative: no step") << QList<double>{180, -5, -10} << QList<int>{-1, -1, 0};
    QTest::newRow("fractions compare to the whole previous angle")
        << QList<double>{0.5, 0.7, -0.3} << QList<int>{-1, -2, -1};
}

void TestOxygenScaling::offsetDialSteps()
{
    QFETCH(QList<double>, angles);
    QFETCH(QList<int>, offsets);
    O2OffsetDial dial;
    int offset = 0;
    QList<int> seen;
    for (double angle : angles) {
        offset = dial.change(angle, offset);
        seen.append(offset);
    }
    QCOMPARE(seen, offsets);
}

void TestOxygenScaling::offsetStaysInRange()
{
    O2OffsetDial dial;
    QCOMPARE(dial.change(-10, 255), 255);   // turning back at the top
    QCOMPARE(dial.change(10, -255), -255);  // turning on at the bottom
    QCOMPARE(dial.change(5, 0), 1);
}

QTEST_GUILESS_MAIN(TestOxygenScaling)
#include "tst_oxygenscaling.moc"
