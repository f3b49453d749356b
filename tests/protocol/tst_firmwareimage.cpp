#include "firmwareimage.h"
#include "firmwareupdate.h"

#include <QTest>

class TestFirmwareImage : public QObject {
    Q_OBJECT
private slots:
    void readsPairsUntilTheFirstNonPair_data();
    void readsPairsUntilTheFirstNonPair();
    void walksBlocks_data();
    void walksBlocks();
    void refusesImagesLargerThanTheBuffer();
    void progressRoundsHalvesToEven_data();
    void progressRoundsHalvesToEven();
};

void TestFirmwareImage::readsPairsUntilTheFirstNonPair_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("spaced pairs") << QByteArray("00 03 AA BB CC 00 01 DD") << QByteArray::fromHex("0003aabbcc0001dd");
    QTest::newRow("lines and lower case") << QByteArray("00\r\n02 ab\n\tcd\n") << QByteArray::fromHex("0002abcd");
    QTest::newRow("packed") << QByteArray("0001ff") << QByteArray::fromHex("0001ff");
    QTest::newRow("stops at a non-hex character") << QByteArray("00 01 FF zz 00 00") << QByteArray::fromHex("0001ff");
    QTest::newRow("stops at a split pair") << QByteArray("00 01 F F") << QByteArray::fromHex("0001");
    QTest::newRow("lone digit at the end") << QByteArray("00 00 7") << QByteArray::fromHex("0000");
    QTest::newRow("no pairs") << QByteArray("hello") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestFirmwareImage::readsPairsUntilTheFirstNonPair()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(parseFirmwareImage(text).bytes, bytes);
}

void TestFirmwareImage::walksBlocks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<qsizetype>>("sizes");
    QTest::addColumn<bool>("fine");
    QTest::newRow("two blocks") << QByteArray("00 03 AA BB CC 00 01 DD") << QList<qsizetype>{5, 3} << true;
    QTest::newRow("empty block") << QByteArray("00 00 00 01 EE") << QList<qsizetype>{2, 3} << true;
    QTest::newRow("no image") << QByteArray("") << QList<qsizetype>{} << true;
    QTest::newRow("length past the end") << QByteArray("00 05 AA BB") << QList<qsizetype>{} << false;
    QTest::newRow("second block past the end") << QByteArray("00 01 AA 00 09 BB") << QList<qsizetype>{3} << false;
    QTest::newRow("half a length") << QByteArray("00 01 AA 00") << QList<qsizetype>{3} << false;
}

void TestFirmwareImage::walksBlocks()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<qsizetype>, sizes);
    QFETCH(bool, fine);
    const FirmwareImage image = parseFirmwareImage(text);
    QList<qsizetype> got;
    for (const auto& block : image.blocks)
        got.append(block.size);
    QCOMPARE(got, sizes);
    QCOMPARE(image.problem == FirmwareImage::Fine, fine);
    if (!fine)
        QCOMPARE(image.problem, FirmwareImage::BlockPastEnd);
}

void TestFirmwareImage::refusesImagesLargerThanTheBuffer()
{
    // One block filling the buffer exactly is fine; one byte more is not.
    const qsizetype payload = FirmwareImage::MaxBytes - 2;
    QByteArray exact = QByteArray("FF FE") + QByteArray(payload * 2, 'A');
    const FirmwareImage full = parseFirmwareImage(exact);
    QCOMPARE(full.bytes.size(), FirmwareImage::MaxBytes);
    QVERIFY(full.problem != FirmwareImage::TooLarge);

    const FirmwareImage over = parseFirmwareImage(exact + "AA");
    QCOMPARE(over.problem, FirmwareImage::TooLarge);
}

void TestFirmwareImage::progressRoundsHalvesToEven_data()
{
    QTest::addColumn<qint64>("acked");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << qint64(0) << qint64(8) << "0%";
    QTest::newRow("62.5 goes down") << qint64(5) << qint64(8) << "62%";
    QTest::newRow("37.5 goes up") << qint64(3) << qint64(8) << "38%";
    QTest::newRow("two thirds") << qint64(2) << qint64(3) << "67%";
}

void TestFirmwareImage::progressRoundsHalvesToEven()
{
    QFETCH(qint64, acked);
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(firmwareProgressText(acked, count), text);
}

QTEST_APPLESS_MAIN(TestFirmwareImage)
#include "tst_firmwareimage.moc"
