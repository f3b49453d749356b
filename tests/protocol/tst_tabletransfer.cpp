#include "anglevalues.h"
#include "converterfixture.h"
#include "packetpeer.h"
#include "tabletransfer.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <thread>

using Entry = RecordingNotifier::Entry;
constexpr auto Toast = RecordingNotifier::Toast;
constexpr auto Flash = RecordingNotifier::Flash;
constexpr auto Message = RecordingNotifier::Message;

namespace {

// A Converter that answers every client send with a scripted reply, for the
// replies the simulated one never gives (a wrong verification byte).
class ScriptedConverter {
public:
    explicit ScriptedConverter(std::function<QByteArray(const QByteArray&)> reply)
        : responder([this, reply] {
              while (!stopping) {
                  const QByteArray packet = peer.receive(50);
                  if (packet.isEmpty())
                      continue;
                  received.append(packet);
                  const QByteArray answer = reply(packet);
                  if (!answer.isEmpty())
                      peer.send(answer);
              }
          })
    {
    }
    ~ScriptedConverter()
    {
        stopping = true;
        responder.join();
    }
    std::unique_ptr<ByteChannel> channel() { return peer.takeChannel(); }
    QList<QByteArray> received;  // read after the responder has stopped

private:
    PacketPeer peer;
    std::atomic<bool> stopping{false};
    std::thread responder;
};

}  // namespace

class TestTableTransfer : public QObject {
    Q_OBJECT
private slots:
    void readTakesBothBytesAndTheAngleFollows_data();
    void readTakesBothBytesAndTheAngleFollows();
    void readRefusals();
    void readWithoutAnswerReportsTheCounts();
    void writeSendsEchoesAndVerifies();
    void writeWithoutEchoSaysNone();
    void writeWithBadVerification_data();
    void writeWithBadVerification();
    void sendTableValuesSendsBothBytesSilentlyOrNothing();
};

void TestTableTransfer::readTakesBothBytesAndTheAngleFollows_data()
{
    QTest::addColumn<int>("byte0");
    QTest::addColumn<int>("byte1");
    QTest::addColumn<double>("angle");
    QTest::newRow("10.0") << 0x64 << 0x00 << 10.0;
    QTest::newRow("signed -10.6") << 0x96 << 0x07 << -10.6;
}

void TestTableTransfer::readTakesBothBytesAndTheAngleFollows()
{
    QFETCH(int, byte0);
    QFETCH(int, byte1);
    QFETCH(double, angle);
    SimulatorOptions options;
    options.table0 = static_cast<unsigned char>(byte0);
    options.table1 = static_cast<unsigned char>(byte1);
    ConnectedConverter c(options);

    ReadTable(c.table);

    QCOMPARE(c.sends(), QList<QByteArray>({"fiusfiur"}));
    QCOMPARE(c.table.tab[0], byte0);
    QCOMPARE(c.table.tab[1], byte1);
    QCOMPARE(angleFromTableEntry(c.table.tab[0]), angle);
    QCOMPARE(c.notifier.entries, QList<Entry>({{Toast, "Считываю/Reading..."}, {Flash, "OK"}}));
}

void TestTableTransfer::readRefusals()
{
    ConnectedConverter c;
    c.rxtx.ChannelFree = 0;  // the live-data thread holds the channel
    ReadTable(c.table);
    QCOMPARE(c.notifier.texts(Message),
             QStringList({"Waiting  for a dataloger's stop.\nPlease try again.\n\n"
                          "Ждем остановки даталогера\n Пожалуйста попробуйте еще раз"}));

    c.notifier.clear();
    c.rxtx.ChannelFree = 1;
    c.rxtx.Connected = 0;
    ReadTable(c.table);
    WriteTable(c.table);
    QCOMPARE(c.notifier.entries, QList<Entry>({{Message, "Converter is not connected"},
                                               {Message, "Converter is not connected"}}));
    QVERIFY(!c.device.waitForReads(1, 200));
    QCOMPARE(c.table.tab[0], 0);
}

void TestTableTransfer::readWithoutAnswerReportsTheCounts()
{
    SimulatorOptions options;
    options.faults.silent = true;
    ConnectedConverter c(options);
    QElapsedTimer clock;
    clock.start();
    ReadTable(c.table);
    // One silent drain step and one silent 2000 ms receive.
    QVERIFY2(clock.elapsed() >= 2400 && clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(c.notifier.entries,
             QList<Entry>({{Toast, "Считываю/Reading..."},
                           {Message, "Converter doesn't respond. Please check supply voltage,COM port cable, "
                                     "Bluetooth adapter.\n\nКонвертер не отвечает. Проверьте наличие питания, "
                                     "кабель COM порта, адаптер Bluetooth\n\n\n0 of/из 2 Recieved/Получено"},
                           {Flash, ""}}));
    QCOMPARE(int(c.link.Connected), 0);
    QCOMPARE(int(c.rxtx.Connected), 1);  // only the link's flag drops
}

void TestTableTransfer::writeSendsEchoesAndVerifies()
{
    ConnectedConverter c;
    c.table.writeValue = writeValueFromAngle(-2.5);
    WriteTable(c.table);

    QCOMPARE(c.sends(), QList<QByteArray>({"fiusfiuw", "\xE7", "fiusfiur"}));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Toast, "RAM 0%"},
                                               {Toast, "RAM 100% "},
                                               {Toast, "EEPROM 0%"},
                                               {Toast, "Верификация/Verifying 100%"},
                                               {Flash, "OK"}}));
    QCOMPARE(c.table.tab[0], -25);
    QCOMPARE(int(c.device.state().eepromTable[0]), 0xE7);
}

void TestTableTransfer::writeWithoutEchoSaysNone()
{
    SimulatorOptions options;
    options.faults.silent = true;
    ConnectedConverter c(options);
    c.table.writeValue = 12;
    WriteTable(c.table);
    QCOMPARE(c.sends(), QList<QByteArray>({"fiusfiuw", "\x0C"}));
    QCOMPARE(c.notifier.entries, QList<Entry>({{Toast, "RAM 0%"},
                                               {Message, "Error! Coverter doesen't respond i=0 tx=12 rx=none"},
                                               {Flash, "Error"}}));
    QCOMPARE(c.table.tab[0], 12);  // already taken before the echo failed
}

void TestTableTransfer::writeWithBadVerification_data()
{
    QTest::addColumn<QByteArray>("verification");
    QTest::addColumn<QList<Entry>>("shown");
    QTest::addColumn<int>("linkConnected");
    const QList<Entry> progress = {{Toast, "RAM 0%"}, {Toast, "RAM 100% "}, {Toast, "EEPROM 0%"}};
    QTest::newRow("another byte stored")
        << QByteArray("\xE6") << progress + QList<Entry>{{Toast, "Верификация/Verifying 100%"},
                                                         {Message, "Error i=0 Tab=231 buf=230"},
                                                         {Message, "VerificationError"},
                                                         {Message, "Verification error.\n\nОшибка верификации.\n\n\n"},
                                                         {Flash, ""}}
        << 1;
    QTest::newRow("no byte")
        << QByteArray() << progress + QList<Entry>{{Message, "0"},
                                                   {Message, "ErrorConnect="},
                                                   {Message, "Converter doesn't respond. Please check supply "
                                                             "voltage,COM port cable, Bluetooth adapter.\n\n"
                                                             "Конвертер не отвечает. Проверьте наличие питания, "
                                                             "кабель COM порта, адаптер Bluetooth\n\n\n"
                                                             "0 of/из 1 Recieved/Получено"},
                                                   {Flash, ""}}
        << 0;
}

void TestTableTransfer::writeWithBadVerification()
{
    QFETCH(QByteArray, verification);
    QFETCH(QList<Entry>, shown);
    QFETCH(int, linkConnected);
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TBTMethod link(&bus, nullptr, &notifier, std::make_unique<SimulatedStack>());
    TRXTX rxtx(&bus, &link, &notifier);
    Table table(notifier);
    table.SetUpTableView(nullptr, nullptr, false, [&](const QString& t) { notifier.showToast(t); },
                         [&](const QString& t) { notifier.flashToast(t); });
    table.SetTransport(&rxtx);
    auto converter = std::make_unique<ScriptedConverter>([verification](const QByteArray& sent) -> QByteArray {
        if (sent == "\xE7")
            return "\xE7";  // a good echo
        if (sent == "fiusfiur")
            return verification;
        return {};
    });
    link.SetSocket(converter->channel());
    link.Connected = 1;
    rxtx.Connected = 1;

    table.writeValue = static_cast<qint8>(-25);
    WriteTable(table);
    converter.reset();

    QCOMPARE(notifier.entries, shown);
    QCOMPARE(int(link.Connected), linkConnected);
}

void TestTableTransfer::sendTableValuesSendsBothBytesSilentlyOrNothing()
{
    ConnectedConverter c;
    c.table.tab[0] = -25;
    c.table.tab[1] = 300;
    SendTableValues(c.table);
    QVERIFY(c.device.waitForReads(2, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiut", QByteArray("\xE7\x2C", 2)}));
    QVERIFY(c.notifier.entries.isEmpty());

    c.device.clearReceived();
    c.rxtx.Connected = 0;
    SendTableValues(c.table);
    QVERIFY(!c.device.waitForReads(1, 200));
    QVERIFY(c.notifier.entries.isEmpty());
}

QTEST_GUILESS_MAIN(TestTableTransfer)
#include "tst_tabletransfer.moc"
