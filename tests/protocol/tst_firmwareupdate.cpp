#include "converterfixture.h"
#include "firmwareupdate.h"

#include <QTemporaryDir>
#include <QTest>

using Entry = RecordingNotifier::Entry;
constexpr auto Toast = RecordingNotifier::Toast;
constexpr auto Flash = RecordingNotifier::Flash;
constexpr auto Message = RecordingNotifier::Message;

namespace {

const QString Success = "Firmware updated successfully.\n\nПрошивка успешно обновлена";
const QString NoAnswer =
    "\nFailed: Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware update jumper\n\n"
    "Ошибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее напряжение";
const QString CrcError =
    "CRC error.  Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware update jumper\n\n"
    "Ошибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее напряжение";
const QByteArray TwoBlocks = "00 03 AA BB CC 00 01 DD";

}  // namespace

class TestFirmwareUpdate : public QObject {
    Q_OBJECT
private slots:
    void sendsBlocksWithProgress();
    void rejectedBlocksAreSentAgain_data();
    void rejectedBlocksAreSentAgain();
    void noAnswerEndsTheUpdate();
    void droppedLineEndsTheUpdate();
    void badFilesSendNothing_data();
    void badFilesSendNothing();
    void emptyImageSucceedsAtOnce();

private:
    QString writeFile(const QByteArray& text);
    bool update(ConnectedConverter& c, const QString& path);
    QTemporaryDir dir;
};

QString TestFirmwareUpdate::writeFile(const QByteArray& text)
{
    const QString path = dir.filePath("image.enc");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        qFatal("cannot write the firmware fixture");
    return path;
}

bool TestFirmwareUpdate::update(ConnectedConverter& c, const QString& path)
{
    return UpdateFirmware(&c.rxtx, c.notifier, path,
                          {[&](const QString& t) { c.notifier.showToast(t); },
                           [&](const QString& t) { c.notifier.flashToast(t); }});
}

void TestFirmwareUpdate::sendsBlocksWithProgress()
{
    ConnectedConverter c;
    QVERIFY(update(c, writeFile(TwoBlocks)));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiud", QByteArray::fromHex("0003aabbcc"), QByteArray::fromHex("0001dd")}));
    QCOMPARE(c.notifier.entries,
             QList<Entry>({{Toast, "0%"}, {Toast, "62%"}, {Flash, "100%"}, {Message, Success}}));
    QCOMPARE(c.device.state().firmwareBlocks.size(), 2);
}

void TestFirmwareUpdate::rejectedBlocksAreSentAgain_data()
{
    QTest::addColumn<int>("rejections");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("three then accepted") << 3 << true;
    QTest::newRow("four in a row") << 4 << false;
}

void TestFirmwareUpdate::rejectedBlocksAreSentAgain()
{
    QFETCH(int, rejections);
    QFETCH(bool, succeeds);
    SimulatorOptions options;
    options.faults.rejectBlock = 0;
    options.faults.rejectTimes = rejections;
    ConnectedConverter c(options);
    QCOMPARE(update(c, writeFile(TwoBlocks)), succeeds);

    const QByteArray first = QByteArray::fromHex("0003aabbcc");
    const QList<QByteArray> sends = c.sends();
    QCOMPARE(sends.count(first), 4);
    QCOMPARE(c.notifier.texts(Toast), QStringList(4, "0%") + (succeeds ? QStringList{"62%"} : QStringList{}));
    if (succeeds) {
        QCOMPARE(sends.last(), QByteArray::fromHex("0001dd"));
        QCOMPARE(c.notifier.texts(Message), QStringList({Success}));
        QCOMPARE(int(c.link.Connected), 1);
    } else {
        QCOMPARE(c.notifier.texts(Message), QStringList({CrcError}));
        QCOMPARE(c.notifier.texts(Flash), QStringList());
        QCOMPARE(int(c.link.Connected), 0);
    }
}

void TestFirmwareUpdate::noAnswerEndsTheUpdate()
{
    SimulatorOptions options;
    options.faults.silentBlock = 1;
    ConnectedConverter c(options);
    QVERIFY(!update(c, writeFile(TwoBlocks)));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Toast, "0%"}, {Toast, "62%"}, {Message, NoAnswer}}));
    QCOMPARE(int(c.link.Connected), 0);
}

void TestFirmwareUpdate::droppedLineEndsTheUpdate()
{
    SimulatorOptions options;
    options.faults.dropAfterReceivedBytes = 4 + 5;  // gone after the first block
    ConnectedConverter c(options);
    QVERIFY(!update(c, writeFile(TwoBlocks + " 00 02 01 02")));
    QCOMPARE(c.notifier.texts(Message), QStringList({NoAnswer}));
    QCOMPARE(int(c.link.Connected), 0);
}

void TestFirmwareUpdate::badFilesSendNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("block past the end")
        << QByteArray("00 03 AA BB CC 00 05 DD")
        << "Error: the firmware file is damaged: a block runs past the end of the file.\n"
           "Nothing was sent to the converter.\n\nОшибка: файл прошивки повреждён.\nКонвертер не изменён.";
    QByteArray huge = "FF FE";
    for (int i = 0; i < 4; ++i)
        huge += QByteArray(65534 * 2, 'A') + (i < 3 ? " FF FE" : "");
    huge += " 00";
    QTest::newRow("larger than the buffer")
        << huge
        << "Error: the firmware file holds more than 262144 bytes.\nNothing was sent to the converter.\n\n"
           "Ошибка: файл прошивки больше 262144 байт.\nКонвертер не изменён.";
}

void TestFirmwareUpdate::badFilesSendNothing()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    ConnectedConverter c;
    QVERIFY(!update(c, writeFile(text)));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Message, message}}));
    QVERIFY(!c.device.waitForReads(1, 200));
    QCOMPARE(int(c.link.Connected), 1);

    c.notifier.clear();
    QVERIFY(!update(c, dir.filePath("missing.enc")));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Message, "Error: File  not found.\n"}}));

    c.notifier.clear();
    c.rxtx.Connected = 0;
    QVERIFY(!update(c, writeFile(TwoBlocks)));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Message, "Converter is not connected"}}));
    QVERIFY(!c.device.waitForReads(1, 100));
}

void TestFirmwareUpdate::emptyImageSucceedsAtOnce()
{
    ConnectedConverter c;
    QVERIFY(update(c, writeFile("no hex here")));
    QVERIFY(c.device.waitForReads(1, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiud"}));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Flash, "100%"}, {Message, Success}}));
}

QTEST_GUILESS_MAIN(TestFirmwareUpdate)
#include "tst_firmwareupdate.moc"
