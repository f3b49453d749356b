#include "anglevalues.h"

#include <QTest>

class TestAngleValues : public QObject {
    Q_OBJECT
private slots:
    void angleFromEntry_data();
    void angleFromEntry();
    void writeValue_data();
    void writeValue();
    void previewByte_data();
    void previewByte();
};

void TestAngleValues::angleFromEntry_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<double>("angle");
    QTest::newRow("0x64") << 0x64 << 10.0;
    QTest::newRow("0x96 is negative") << 0x96 << -10.6;
    QTest::newRow("0xE7") << 0xE7 << -2.5;
    QTest::newRow("zero") << 0 << 0.0;
    QTest::newRow("only the low byte counts") << 0x17D << 12.5;
}

void TestAngleValues::angleFromEntry()
{
    QFETCH(int, entry);
    QFETCH(double, angle);
    QCOMPARE(angleFromTableEntry(entry), angle);
}

void TestAngleValues::writeValue_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("value");
    QTest::newRow("-1.5") << -1.5 << -15;
    QTest::newRow("1.26 truncates") << 1.26 << 12;
    QTest::newRow("-2.5") << -2.5 << -25;
    QTest::newRow("2.3 despite binary error") << 2.3 << 23;
    QTest::newRow("-12.5") << -12.5 << -125;
    QTest::newRow("12.5") << 12.5 << 125;
}

void TestAngleValues::writeValue()
{
    QFETCH(double, angle);
    QFETCH(int, value);
    QCOMPARE(int(writeValueFromAngle(angle)), value);
}

void TestAngleValues::previewByte_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("byte");
    QTest::newRow("-1.5") << -1.5 << 0xF1;
    QTest::newRow("0.25 half to even") << 0.25 << 2;
    QTest::newRow("0.35 half to even") << 0.35 << 4;
    QTest::newRow("12.5") << 12.5 << 125;
}

void TestAngleValues::previewByte()
{
    QFETCH(double, angle);
    QFETCH(int, byte);
    QCOMPARE(int(previewByteFromAngle(angle)), byte);
}

QTEST_APPLESS_MAIN(TestAngleValues)
#include "tst_anglevalues.moc"
