// TBTMethod's timed receives and TRXTX over a real fd channel, with the
// Converter's side played by a socketpair peer, using the real time limits.

#include "linkerror.h"
#include "linktexts.h"
#include "packetpeer.h"
#include "recordingnotifier.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

// Generous bounds around a wait of the given length.
bool tookAbout(qint64 elapsedMs, int expectedMs)
{
    return elapsedMs >= expectedMs - 100 && elapsedMs <= expectedMs + 400;
}

class MainWindowListener : public TZantoListener {
public:
    void Dispatch(const TMessage&) override {}
};

}  // namespace

class TestByteIo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void receiveTakesBufferedBytesFirst();
    void receiveShortReadWaitsTheLimitAndConsumesNothing();
    void receiveWaitsForATrickleAsLongAsItKeepsComing();
    void drainEmptiesStaleBytesThenWaitsOneSilentStep_data();
    void drainEmptiesStaleBytesThenWaitsOneSilentStep();
    void receiveOnceDeliversOnlyWhatFitsAndLeavesTheBufferAlone();
    void receiveOnceReturnsZeroAfterItsLimit();
    void droppedChannelMidReadEndsTheReadAtOnce();
    void withoutSocketSendThrowsAndReceivesReturnNothing();
    void sendIsOnePacketWithExactlyTheBytes();
    void bufferStaysSmallOverALongStream();
    void reportTransferError_data();
    void reportTransferError();
    void reportExceptionShowsTheErrorDialog();
    void rxtxListensOnTheBusAndDisconnectClearsBothFlags();

private:
    TZantoBroadcaster bus;
    MainWindowListener window;
    RecordingNotifier notifier;
    std::unique_ptr<TBTMethod> link;
    std::unique_ptr<TRXTX> rxtx;
    std::unique_ptr<PacketPeer> peer;
};

void TestByteIo::init()
{
    notifier.clear();
    link = std::make_unique<TBTMethod>(&bus, nullptr, &notifier, nullptr);
    rxtx = std::make_unique<TRXTX>(&bus, link.get(), &notifier);
    peer = std::make_unique<PacketPeer>();
    link->SetSocket(peer->takeChannel());
}

void TestByteIo::cleanup()
{
    peer.reset();
    rxtx.reset();
    link.reset();
}

void TestByteIo::receiveTakesBufferedBytesFirst()
{
    peer->send(QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    char buffer[8] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->Receive(buffer, 4), 4);
    QCOMPARE(QByteArray(buffer, 4), QByteArray("\x01\x02\x03\x04", 4));
    QCOMPARE(link->RxPending(), 2);
    QCOMPARE(rxtx->Receive(buffer, 2), 2);
    QCOMPARE(QByteArray(buffer, 2), QByteArray("\x05\x06", 2));
    QVERIFY2(clock.elapsed() < 300, "bytes already there must not be waited for");
    QCOMPARE(link->RxPending(), 0);
}

void TestByteIo::receiveShortReadWaitsTheLimitAndConsumesNothing()
{
    peer->send(QByteArray("\xA5", 1));
    char buffer[4] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->Receive(buffer, 2), 1);
    QVERIFY2(tookAbout(clock.elapsed(), 2000), qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(link->RxPending(), 1);

    peer->send(QByteArray("\x5A", 1));
    clock.restart();
    QCOMPARE(rxtx->Receive(buffer, 2), 2);
    QCOMPARE(QByteArray(buffer, 2), QByteArray("\xA5\x5A", 2));
    QVERIFY(clock.elapsed() < 300);
}

void TestByteIo::receiveWaitsForATrickleAsLongAsItKeepsComing()
{
    // Four bytes 300 ms apart: each pause is shorter than the 500 ms limit, the
    // whole reply is not.
    peer->sendLater({{300, "a"}, {300, "b"}, {300, "c"}, {300, "d"}});
    char buffer[4] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(link->ReceiveExact(buffer, 4, 500), 4);
    QCOMPARE(QByteArray(buffer, 4), QByteArray("abcd"));
    QVERIFY2(tookAbout(clock.elapsed(), 1200), qPrintable(QString::number(clock.elapsed())));
}

void TestByteIo::drainEmptiesStaleBytesThenWaitsOneSilentStep_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::newRow("nothing pending") << QByteArray();
    QTest::newRow("ten stale bytes") << QByteArray("0123456789");
}

void TestByteIo::drainEmptiesStaleBytesThenWaitsOneSilentStep()
{
    QFETCH(QByteArray, stale);
    if (!stale.isEmpty())
        peer->send(stale);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->Drain(), 0);
    QVERIFY2(tookAbout(clock.elapsed(), 500), qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(link->RxPending(), 0);
    QCOMPARE(link->RxReadPos, qint64(stale.size()));

    // The next read sees only what came after the drain.
    peer->send("OK");
    char buffer[2] = {};
    QCOMPARE(rxtx->Receive(buffer, 2), 2);
    QCOMPARE(QByteArray(buffer, 2), QByteArray("OK"));
}

void TestByteIo::receiveOnceDeliversOnlyWhatFitsAndLeavesTheBufferAlone()
{
    // Two bytes left over from a short read stay buffered.
    peer->send("xy");
    char buffer[4] = {'-', '-', '-', '-'};
    QCOMPARE(link->ReceiveExact(buffer, 3, 100), 2);

    buffer[0] = buffer[1] = buffer[2] = '-';
    peer->send("\x11\x22\x33");
    QCOMPARE(rxtx->ReceiveOnce(buffer, 1), 3);
    QCOMPARE(buffer[0], '\x11');
    QCOMPARE(buffer[1], '-');

    // The rest of that chunk is gone; the buffered bytes are still first.
    QCOMPARE(link->RxPending(), 2);
    QCOMPARE(rxtx->Receive(buffer, 2), 2);
    QCOMPARE(QByteArray(buffer, 2), QByteArray("xy"));
    QCOMPARE(link->ReceiveExact(buffer, 1, 100), 0);
}

void TestByteIo::receiveOnceReturnsZeroAfterItsLimit()
{
    char byte = 0;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->ReceiveOnce(&byte, 1), 0);
    QVERIFY2(tookAbout(clock.elapsed(), 1000), qPrintable(QString::number(clock.elapsed())));
}

void TestByteIo::droppedChannelMidReadEndsTheReadAtOnce()
{
    peer->sendLater({{100, "\x01\x02"}}, true);
    char buffer[4] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->Receive(buffer, 4), 2);
    QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
    peer->join();

    // Every later read ends at once too: no spin, no wait for a dead peer.
    clock.restart();
    for (int i = 0; i < 100; ++i)
        QCOMPARE(rxtx->Receive(buffer, 4), 2);
    QCOMPARE(rxtx->ReceiveOnce(buffer, 4), 0);
    QCOMPARE(rxtx->Drain(), 0);
    QVERIFY2(clock.elapsed() < 300, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(link->RxPending(), 0);
    QVERIFY_THROWS_EXCEPTION(LinkError, rxtx->Send("fius", 4));
}

void TestByteIo::withoutSocketSendThrowsAndReceivesReturnNothing()
{
    link->CloseSocket();
    QVERIFY(!link->HasSocket());
    QVERIFY_THROWS_EXCEPTION(LinkError, rxtx->Send("fiusfiur", 8));
    char buffer[2] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rxtx->Receive(buffer, 2), 0);
    QCOMPARE(rxtx->ReceiveOnce(buffer, 2), 0);
    QCOMPARE(rxtx->Drain(), 0);
    QVERIFY(clock.elapsed() < 100);
}

void TestByteIo::sendIsOnePacketWithExactlyTheBytes()
{
    QCOMPARE(rxtx->Send("fiusfiuv\0", 9), 9);
    link->SendBytes(QByteArray("\x00\x80\xFF", 3));
    QCOMPARE(peer->receive(), QByteArray("fiusfiuv\0", 9));
    QCOMPARE(peer->receive(), QByteArray("\x00\x80\xFF", 3));
}

void TestByteIo::bufferStaysSmallOverALongStream()
{
    // An hour of live frames is 180 000 of them; a few thousand show the trend.
    constexpr int frames = 5000;
    QByteArray frame(19, '\0');
    for (int i = 0; i < frame.size(); ++i)
        frame[i] = char(i * 13);
    QList<std::pair<int, QByteArray>> script;
    for (int i = 0; i < frames; ++i)
        script.append({0, i % 3 == 0 ? frame + frame.left(7) : (i % 3 == 1 ? frame.mid(7) : frame)});
    peer->sendLater(script);

    char buffer[19] = {};
    qsizetype largest = 0;
    int read = 0;
    while (rxtx->Receive(buffer, 19) == 19) {
        QCOMPARE(QByteArray(buffer, 19), frame);
        largest = qMax(largest, link->RxHeld());
        ++read;
    }
    QCOMPARE(read, frames);
    QVERIFY2(largest <= 4096 + 2 * 19, qPrintable(QString::number(largest)));
    QCOMPARE(link->RxReadPos, qint64(frames) * 19);
}

void TestByteIo::reportTransferError_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("stillConnected");

    const QString noResponse = QString::fromUtf8(LinkTexts::NoResponse);
    QTest::newRow("ErrorConnect") << "ErrorConnect" << 0 << 2
                                  << QStringList{noResponse + "0 of/из 2 Recieved/Получено"} << false;
    QTest::newRow("ErrorConnect=") << "ErrorConnect=" << 1 << 1
                                   << QStringList{noResponse + "1 of/из 1 Recieved/Получено"} << false;
    QTest::newRow("VerificationError") << "VerificationError" << 0 << 0
                                       << QStringList{"Verification error.\n\nОшибка верификации.\n\n\n"} << true;
    QTest::newRow("other first letter") << "errorConnect" << 0 << 2 << QStringList() << true;
    QTest::newRow("empty code") << "" << 0 << 2 << QStringList() << true;
}

void TestByteIo::reportTransferError()
{
    QFETCH(QString, code);
    QFETCH(int, received);
    QFETCH(int, expected);
    QFETCH(QStringList, messages);
    QFETCH(bool, stillConnected);

    link->Connected = 1;
    rxtx->ReportTransferError(code, received, expected);
    QCOMPARE(notifier.texts(RecordingNotifier::Message), messages);
    QCOMPARE(notifier.entries.size(), messages.size());
    QCOMPARE(link->Connected == 1, stillConnected);
}

void TestByteIo::reportExceptionShowsTheErrorDialog()
{
    rxtx->ReportException(LinkError("Send: Broken pipe"));
    QCOMPARE(notifier.entries, (QList<RecordingNotifier::Entry>{{RecordingNotifier::Error, "Send: Broken pipe"}}));
}

void TestByteIo::rxtxListensOnTheBusAndDisconnectClearsBothFlags()
{
    TZantoBroadcaster ownBus;
    ownBus.Register(&window);
    TRXTX transport(&ownBus, link.get(), &notifier);
    QCOMPARE(ownBus.Listeners(), (QList<TZantoListener*>{&window, &transport}));
    QCOMPARE(transport.ChannelFree.load(), 1);
    QCOMPARE(transport.Connected.load(), 0);
    TMsgConnected connected;
    ownBus.Broadcast(connected);  // ignored by the transport itself
    QCOMPARE(transport.Connected.load(), 0);

    peer->send("left over");
    char buffer[16] = {};
    QCOMPARE(link->ReceiveExact(buffer, 16, 100), 9);
    link->Connected = 1;
    transport.Connected = 1;
    transport.Disconnect();
    QCOMPARE(link->Connected.load(), 0);
    QCOMPARE(transport.Connected.load(), 0);
    QVERIFY(!link->HasSocket());
    QCOMPARE(link->RxPending(), 0);
    QCOMPARE(peer->receive(100), QByteArray());  // end of stream: the socket was closed
}

QTEST_GUILESS_MAIN(TestByteIo)
#include "tst_byteio.moc"
