// The connection thread and the handshake against simulated Converters over
// the real link code: memo texts, the announcement, failing devices, the
// reconnect and the one-search-per-link rule.

#include "anthread.h"
#include "connectionmemo.h"
#include "linktexts.h"
#include "recordingnotifier.h"
#include "stackfactory.h"
#include "tbtmethod.h"
#include "teststack.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QThread>

namespace {

const QString ConverterAddress = QStringLiteral("98:D3:31:F5:2A:17");
const QString ConverterName = QStringLiteral("ZANTO-TPS");
const QString PhoneAddress = QStringLiteral("5C:F9:38:11:22:33");
const QString PhoneName = QStringLiteral("Phone");

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool onMainThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

class RecordingMemo : public ConnectionMemo {
public:
    QString text() const override { return current; }
    void setText(const QString& value) override
    {
        if (!onMainThread())
            ++offMainThread;
        current = value;
        texts.append(value);
    }
    QString current;
    QStringList texts;
    int offMainThread = 0;
};

// The main window's part: records each announcement and what the link held
// when it came.
class Announcements : public TZantoListener {
public:
    explicit Announcements(TBTMethod** observed) : link(observed) {}
    void reset() { count = offMainThread = 0; connectedFlag = -1; address.clear(); }
    void Dispatch(const TMessage& message) override
    {
        if (!messageAs<TMsgConnected>(message))
            return;
        ++count;
        if (!onMainThread())
            ++offMainThread;
        connectedFlag = (*link)->Connected;
        address = (*link)->LastDeviceAddress;
    }
    TBTMethod** link;
    int count = 0;
    int offMainThread = 0;
    int connectedFlag = -1;
    QString address;
};

TestStack::Service converter(SimulatorOptions options = SimulatorOptions())
{
    return {TestStack::serialPort(), false, options};
}

SimulatorOptions withFaults(const SimulatorFaults& faults)
{
    SimulatorOptions options;
    options.faults = faults;
    return options;
}

QList<QByteArray> handshakeBytes()
{
    return {QByteArray("fius\0", 5), QByteArray("fiusfiuv\0", 9)};
}

}  // namespace

Q_DECLARE_METATYPE(SimulatorFaults)

class TestAnThread : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lastConverterIsTriedFirst();
    void unknownAddressGoesStraightToTheAutosearch();
    void badAnswerFailsTheDeviceAndClosesItsSocket_data();
    void badAnswerFailsTheDeviceAndClosesItsSocket();
    void staleBytesAfterTheFirstProbeAreDrained();
    void secondSerialServiceIsTriedWhenTheFirstFails();
    void noPairedDevicesEndsTheSearch_data();
    void noPairedDevicesEndsTheSearch();
    void failedDiscoveryKeepsTheLastList();
    void reconnectWhileConnectedClearsBothFlagsAndSearchesAgain();
    void newSearchClosesASocketLeftOpenByAFailedTransfer();
    void searchRepeatsUntilAConverterAnswersAndOnlyOneRuns();
    void closingTheWindowReleasesASearchWaitingForTheMainThread();
    void simulatorStackConnectsAndCarriesCommands();

private:
    // Starts a search and waits until it has ended.
    bool searchToTheEnd(int timeoutMs = 8000);

    TZantoBroadcaster bus;
    RecordingNotifier notifier;
    RecordingMemo memo;
    TBTMethod* linkPointer = nullptr;
    Announcements announcements{&linkPointer};
    TestStack* stack = nullptr;
    std::unique_ptr<TBTMethod> link;
    std::unique_ptr<TRXTX> rxtx;
};

void TestAnThread::init()
{
    bus = TZantoBroadcaster();
    bus.Register(&announcements);
    announcements.reset();
    notifier.clear();
    memo = RecordingMemo();
    memo.current = QStringLiteral("text of an earlier search");
    auto ownStack = std::make_unique<TestStack>();
    stack = ownStack.get();
    link = std::make_unique<TBTMethod>(&bus, &memo, &notifier, std::move(ownStack));
    linkPointer = link.get();
    rxtx = std::make_unique<TRXTX>(&bus, link.get(), &notifier);
}

void TestAnThread::cleanup()
{
    rxtx.reset();
    link.reset();
    QCOMPARE(memo.offMainThread, 0);
    QCOMPARE(announcements.offMainThread, 0);
}

bool TestAnThread::searchToTheEnd(int timeoutMs)
{
    QPointer<TAnThread> search = StartConnectionSearch(*link, *rxtx);
    if (!search)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (search && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return search.isNull();
}

void TestAnThread::lastConverterIsTriedFirst()
{
    stack->setDevices(QList<TestStack::Device>{
        {{PhoneAddress, PhoneName}, {converter()}},
        {{ConverterAddress, ConverterName}, {converter()}},
    });
    link->LastDeviceAddress = ConverterAddress;

    QVERIFY(searchToTheEnd());

    const QString trying = text(LinkTexts::TryingToConnect) + ConverterAddress;
    const QString found = trying + "\n DEVICE FOUND: " + ConverterName + " " + ConverterAddress;
    const QString named = found + "\n" + ConverterName;
    const QString firmware = named + "\nПрошивка/Firmvare V:2.3";
    const QString done = firmware + "\nУСПЕШНО ПОДКЛЮЧИЛИСЬ! :)\nSUCCESSFULLY CONNECTED! :)";
    QCOMPARE(memo.texts, (QStringList{trying, found, named, firmware, done}));

    QCOMPARE(announcements.count, 1);
    QCOMPARE(announcements.connectedFlag, 1);
    QCOMPARE(announcements.address, ConverterAddress);
    QCOMPARE(link->Connected.load(), 1);
    QCOMPARE(link->DeviceIndex, 1);
    QCOMPARE(link->RefMode.load(), 0);
    QVERIFY(link->HasSocket());

    // Only the Converter was tried, with exactly the two probes.
    QCOMPARE(stack->connectLog().size(), 1);
    QCOMPARE(stack->connectLog().at(0).device, ConverterAddress);
    QCOMPARE(stack->host(0)->receivedReads(), handshakeBytes());
    QCOMPARE(stack->socketTimeout.load(), 2000);
    QVERIFY(notifier.entries.isEmpty());
}

void TestAnThread::unknownAddressGoesStraightToTheAutosearch()
{
    SimulatorOptions options;
    options.firmwareVersion = 15;
    options.referenceMode = 1;
    stack->setDevices(QList<TestStack::Device>{
        {{PhoneAddress, PhoneName}, {{TestStack::audioSink(), false, {}}}},
        {{ConverterAddress, ConverterName}, {converter(options)}},
    });
    QCOMPARE(link->LastDeviceAddress, text(LinkTexts::UnknownAddress));

    QVERIFY(searchToTheEnd());

    const QString trying = text(LinkTexts::TryingToConnect) + "UNKNOWN_ADDRESS";
    const QString autosearch =
        trying + "\n\nУстройство не найдено, делаю автопоиск: \nDevice not found, trying to autosearch\n...";
    const QString phone = autosearch + "\n" + PhoneName;
    const QString named = phone + "\n" + ConverterName;
    const QString firmware = named + "\nПрошивка/Firmvare V:1.5";
    const QString done = firmware + "\nУСПЕШНО ПОДКЛЮЧИЛИСЬ! \nSUCCESSFULLY CONNECTED! \n   :)";
    QCOMPARE(memo.texts, (QStringList{trying, autosearch, phone, named, firmware, done}));

    QCOMPARE(announcements.count, 1);
    QCOMPARE(link->LastDeviceAddress, ConverterAddress);
    QCOMPARE(link->DeviceIndex, 1);
    QCOMPARE(link->RefMode.load(), 1);
    // The phone offers no serial service, so it was never connected.
    QCOMPARE(stack->connectLog().size(), 1);
}

void TestAnThread::badAnswerFailsTheDeviceAndClosesItsSocket_data()
{
    QTest::addColumn<SimulatorFaults>("faults");
    SimulatorFaults faults;
    faults.handshakeAnswer = QByteArray("\x01\x00\x17\x00", 4);
    QTest::newRow("first byte not zero") << faults;
    faults.handshakeAnswer = QByteArray("\x00\x30\x17\x00", 4);
    QTest::newRow("second byte not zero") << faults;
    faults = SimulatorFaults();
    faults.shortAnswers = true;
    QTest::newRow("three bytes only") << faults;
    faults = SimulatorFaults();
    faults.silent = true;
    QTest::newRow("no answer") << faults;
}

void TestAnThread::badAnswerFailsTheDeviceAndClosesItsSocket()
{
    QFETCH(SimulatorFaults, faults);
    stack->setDevices(QList<TestStack::Device>{
        {{PhoneAddress, PhoneName}, {converter(withFaults(faults))}},
        {{ConverterAddress, ConverterName}, {converter()}},
    });

    QVERIFY(searchToTheEnd());

    QCOMPARE(stack->connectLog().size(), 2);
    QCOMPARE(stack->host(0)->receivedReads(), handshakeBytes());
    QVERIFY(stack->channelClosed(0));
    QCOMPARE(stack->connectLog().at(1).openChannels, 0);
    QVERIFY(!stack->channelClosed(1));
    QCOMPARE(link->LastDeviceAddress, ConverterAddress);
    QCOMPARE(link->DeviceIndex, 1);
    QCOMPARE(announcements.count, 1);
    QVERIFY(memo.current.endsWith("\n" + PhoneName + "\n" + ConverterName + "\nПрошивка/Firmvare V:2.3" +
                                  text(LinkTexts::ConnectedBySearch)));
}

void TestAnThread::staleBytesAfterTheFirstProbeAreDrained()
{
    // Left unread, the stale bytes would pass for an answer of version 9.9.
    SimulatorFaults faults;
    faults.staleBytes = QByteArray("\x00\x00\x63\x05\x00\x00", 6);
    stack->setDevices(QList<TestStack::Device>{{{ConverterAddress, ConverterName}, {converter(withFaults(faults))}}});
    link->LastDeviceAddress = ConverterAddress;

    QVERIFY(searchToTheEnd());

    QVERIFY(memo.current.endsWith("\nПрошивка/Firmvare V:2.3" + text(LinkTexts::ConnectedToLast)));
    QCOMPARE(link->RefMode.load(), 0);
    QCOMPARE(stack->host(0)->receivedReads(), handshakeBytes());
}

void TestAnThread::secondSerialServiceIsTriedWhenTheFirstFails()
{
    stack->setDevices(QList<TestStack::Device>{
        {{ConverterAddress, ConverterName},
         {{TestStack::audioSink(), false, {}}, {TestStack::serialPort(), true, {}}, converter()}},
    });
    link->LastDeviceAddress = ConverterAddress;

    QVERIFY(searchToTheEnd());

    const QList<TestStack::Connect> connects = stack->connectLog();
    QCOMPARE(connects.size(), 2);
    QCOMPARE(connects.at(0).service, 1);
    QCOMPARE(connects.at(1).service, 2);
    QCOMPARE(link->Connected.load(), 1);
    QCOMPARE(link->Services.size(), 3);
    QCOMPARE(announcements.count, 1);
}

void TestAnThread::noPairedDevicesEndsTheSearch_data()
{
    QTest::addColumn<bool>("adapterReady");
    QTest::addColumn<bool>("discoveryFails");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("empty paired list") << true << false << QStringList();
    QTest::newRow("no adapter") << false << false << QStringList();
    QTest::newRow("discovery fails")
        << true << true << QStringList{"org.bluez.Error.NotReady: Resource Not Ready"};
}

void TestAnThread::noPairedDevicesEndsTheSearch()
{
    QFETCH(bool, adapterReady);
    QFETCH(bool, discoveryFails);
    QFETCH(QStringList, messages);
    stack->setReady(adapterReady);
    stack->setDiscoveryFails(discoveryFails);
    stack->setDevices(adapterReady ? std::optional(QList<TestStack::Device>()) : std::nullopt);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(searchToTheEnd(2000));
    QVERIFY(clock.elapsed() < 1000);

    QCOMPARE(memo.texts, QStringList{"Не найдено спаренных блютуз устройств!\n Not found paired bluetooth devices!"});
    QCOMPARE(notifier.texts(RecordingNotifier::Message), messages);
    QCOMPARE(announcements.count, 0);
    QCOMPARE(link->Connected.load(), 0);
    QVERIFY(!link->HasSocket());
}

void TestAnThread::failedDiscoveryKeepsTheLastList()
{
    stack->setDevices(QList<TestStack::Device>{{{ConverterAddress, ConverterName}, {converter()}}});
    QVERIFY(searchToTheEnd());
    QCOMPARE(announcements.count, 1);

    stack->setReady(false);
    memo.texts.clear();
    QVERIFY(searchToTheEnd());

    QCOMPARE(announcements.count, 2);
    QCOMPARE(memo.texts.first(), text(LinkTexts::TryingToConnect) + ConverterAddress);
    QVERIFY(memo.current.endsWith(text(LinkTexts::ConnectedToLast)));
}

void TestAnThread::reconnectWhileConnectedClearsBothFlagsAndSearchesAgain()
{
    stack->setDevices(QList<TestStack::Device>{
        {{PhoneAddress, PhoneName}, {converter()}},
        {{ConverterAddress, ConverterName}, {converter()}},
    });
    link->LastDeviceAddress = ConverterAddress;
    QVERIFY(searchToTheEnd());
    rxtx->Connected = 1;  // the main window's reaction to the announcement
    memo.texts.clear();

    QPointer<TAnThread> search = StartConnectionSearch(*link, *rxtx);
    QVERIFY(search);
    // Dropped at once, before the new search gets anywhere.
    QCOMPARE(rxtx->Connected.load(), 0);
    QVERIFY(stack->channelClosed(0));
    char reply[2];
    QVERIFY_THROWS_EXCEPTION(LinkError, rxtx->Send("fiusfiur", 8));
    QCOMPARE(rxtx->Receive(reply, 2), 0);

    QTRY_VERIFY_WITH_TIMEOUT(search.isNull(), 8000);
    QCOMPARE(announcements.count, 2);
    QCOMPARE(memo.texts.at(1), text(LinkTexts::TryingToConnect) + ConverterAddress + "\n DEVICE FOUND: " +
                                   ConverterName + " " + ConverterAddress);
    QCOMPARE(stack->connectLog().size(), 2);
    QCOMPARE(stack->connectLog().at(1).device, ConverterAddress);
    QCOMPARE(stack->connectLog().at(1).openChannels, 0);
    QCOMPARE(link->Connected.load(), 1);
}

void TestAnThread::newSearchClosesASocketLeftOpenByAFailedTransfer()
{
    stack->setDevices(QList<TestStack::Device>{{{ConverterAddress, ConverterName}, {converter()}}});
    QVERIFY(searchToTheEnd());
    rxtx->Connected = 1;
    rxtx->ReportTransferError(QStringLiteral("ErrorConnect"), 0, 2);
    QCOMPARE(link->Connected.load(), 0);
    QVERIFY(link->HasSocket());

    QVERIFY(searchToTheEnd());

    QCOMPARE(stack->connectLog().size(), 2);
    QCOMPARE(stack->connectLog().at(1).openChannels, 0);
    QVERIFY(stack->channelClosed(0));
    QCOMPARE(announcements.count, 2);
}

void TestAnThread::searchRepeatsUntilAConverterAnswersAndOnlyOneRuns()
{
    SimulatorFaults faults;
    faults.silent = true;
    stack->setDevices(QList<TestStack::Device>{{{ConverterAddress, ConverterName}, {converter(withFaults(faults))}}});

    QPointer<TAnThread> search = StartConnectionSearch(*link, *rxtx);
    QVERIFY(search);
    QVERIFY(!StartConnectionSearch(*link, *rxtx));

    // One pass: a 500 ms drain and a 1000 ms wait for the answer, then the
    // not-found text and a 1000 ms pause before a fresh discovery.
    QTRY_VERIFY_WITH_TIMEOUT(memo.current.endsWith(text(LinkTexts::DeviceNotFound)), 3000);
    QCOMPARE(stack->discoveries.load(), 1);
    QElapsedTimer pause;
    pause.start();
    QTRY_COMPARE_WITH_TIMEOUT(stack->discoveries.load(), 2, 2000);
    QVERIFY2(pause.elapsed() >= 900, qPrintable(QString::number(pause.elapsed())));
    QVERIFY(!StartConnectionSearch(*link, *rxtx));
    QVERIFY(search);
    QTRY_COMPARE(memo.current.left(memo.current.indexOf("\n\n")), text(LinkTexts::TryingToConnect) + "UNKNOWN_ADDRESS");
    QCOMPARE(announcements.count, 0);

    // Closing the window ends the search promptly, even mid-handshake.
    QElapsedTimer clock;
    clock.start();
    rxtx.reset();
    link.reset();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(search.isNull());
}

void TestAnThread::closingTheWindowReleasesASearchWaitingForTheMainThread()
{
    // The search finds nothing at once and waits for the main thread to show
    // it, while the main thread, without running its loop, destroys the link.
    stack->setDevices(QList<TestStack::Device>());
    QPointer<TAnThread> search = StartConnectionSearch(*link, *rxtx);
    QVERIFY(search);
    QTest::qSleep(200);
    QVERIFY(search->isRunning());

    QElapsedTimer clock;
    clock.start();
    rxtx.reset();
    link.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(search.isNull());
    QVERIFY(memo.texts.isEmpty());
}

void TestAnThread::simulatorStackConnectsAndCarriesCommands()
{
    // A bus of its own: the transport cannot leave the one it joined.
    rxtx.reset();
    bus = TZantoBroadcaster();
    bus.Register(&announcements);
    link = std::make_unique<TBTMethod>(&bus, &memo, &notifier, makeBluetoothStack({true, {}, 115200}));
    linkPointer = link.get();
    rxtx = std::make_unique<TRXTX>(&bus, link.get(), &notifier);

    QVERIFY(searchToTheEnd());
    QCOMPARE(announcements.count, 1);
    QVERIFY(memo.current.endsWith("\nConverter (simulated)\nПрошивка/Firmvare V:2.3" +
                                  text(LinkTexts::ConnectedBySearch)));
    QCOMPARE(link->LastDeviceAddress, QStringLiteral("00:5A:4E:54:4F:53"));

    rxtx->Connected = 1;
    rxtx->Drain();
    rxtx->Send("fiusfiur", 8);
    unsigned char table[2] = {};
    QCOMPARE(rxtx->Receive(reinterpret_cast<char*>(table), 2), 2);
    QCOMPARE(int(table[0]), 100);
    QCOMPARE(int(table[1]), 0);
}

QTEST_GUILESS_MAIN(TestAnThread)
#include "tst_anthread.moc"
