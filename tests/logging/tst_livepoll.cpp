// The live poll against scripted byte streams: exact bad-frame counts, silent
// and vanished Converters, a logger destroyed mid-hand-over, and an hour of
// frames from memory.

#include "clientlink.h"
#include "commandset.h"
#include "linkerror.h"
#include "livefixture.h"
#include "logthread.h"
#include "logtestdata.h"
#include "logtexts.h"
#include "packetpeer.h"
#include "zantolog.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <memory>

namespace {

QByteArray frameBytes(std::uint16_t counter)
{
    const auto f = liveFrame({std::uint16_t(0x100 + counter), 450, 430, 164, 600, 400, 1015, counter, 300});
    return QByteArray(reinterpret_cast<const char*>(f.data()), int(f.size()));
}

// Nineteen zero bytes never pass the check (the CRC-8 of zeros is 0x56),
// wherever the frame boundary falls in them.
QByteArray zeros(int n) { return QByteArray(n, '\0'); }

struct PeerRig {
    PeerRig()
        : client(peer.takeChannel()),
          recorder(client.bus),
          log(std::make_unique<TZantoLog>(nullptr, &client.rxtx, client.bus, client.notifier)),
          redraws(log.get(), &TZantoLog::redrawRequested)
    {
    }

    void start()
    {
        const TMsgStartLog record;
        client.bus.Broadcast(record);
    }
    void stop()
    {
        const TMsgStopLog record;
        client.bus.Broadcast(record);
    }
    // The Converter's bytes, in packets the link reads whole.
    void stream(const QByteArray& bytes)
    {
        for (qsizetype i = 0; i < bytes.size(); i += 1000)
            peer.send(bytes.mid(i, 1000));
    }
    qsizetype samples() const { return log->store().sampleCount(); }

    PacketPeer peer;
    ClientLink client;
    BusRecorder recorder;
    std::unique_ptr<TZantoLog> log;
    QSignalSpy redraws;
};

// An hour of the Converter's stream from memory, handed out as fast as the
// poll reads in chunks that end mid-frame (so unread bytes always remain),
// with the link's receive buffer watched on every receive. Silent (a whole
// wait) until "fiusfiul" and after the last frame.
class FrameStreamChannel : public ByteChannel {
public:
    static constexpr qsizetype ChunkBytes = 4000;

    explicit FrameStreamChannel(qint64 frameCount) : total(frameCount) {}
    void watch(const TBTMethod* observed) { link = observed; }

    void send(const QByteArray& bytes) override
    {
        if (bytes == CommandSet::StartLive)
            streaming = true;
        else if (bytes == CommandSet::StopLive)
            streaming = false;
    }
    QByteArray receive(int timeoutMs) override
    {
        if (link)
            maxHeld = std::max(maxHeld.load(), link->RxHeld());
        for (; streaming && pending.size() < ChunkBytes && sent < total; ++sent) {
            SignalInputs inputs;
            inputs.counter = quint16(sent);
            pending += encodeLiveFrame(liveValuesAt(20 * sent, inputs));
        }
        if (!streaming || pending.isEmpty()) {
            QThread::msleep(static_cast<unsigned long>(timeoutMs));
            return {};
        }
        const QByteArray chunk = pending.left(ChunkBytes);
        pending.remove(0, chunk.size());
        return chunk;
    }
    bool isOpen() const override { return true; }
    void close() override {}

    std::atomic<qsizetype> maxHeld{0};

private:
    const qint64 total;
    qint64 sent = 0;
    QByteArray pending;
    std::atomic<bool> streaming{false};
    const TBTMethod* link = nullptr;
};

// Answers the first stop-logging message by starting again at once.
struct Restarter : TZantoListener {
    explicit Restarter(TZantoBroadcaster& b) : bus(b) { bus.Register(this); }
    void Dispatch(const TMessage& message) override
    {
        if (message.id == MsgStopLog && !restarted) {
            restarted = true;
            const TMsgStartLog start;
            bus.Broadcast(start);
        }
    }
    TZantoBroadcaster& bus;
    bool restarted = false;
};

}  // namespace

class TestLivePoll : public QObject {
    Q_OBJECT
private slots:
    void badFramesInARow_data();
    void badFramesInARow();
    void noAnswerAfterStartStopsQuietly();
    void converterFallingSilentMidFrameEndsLogging();
    void startWithoutSocketSaysWhy();
    void restartFromTheThreadsOwnStopMessage();
    void loggerDestroyedWhileThreadWaitsForHandOver();
    void hourOfFramesKeepsReceiveBufferBounded();
};

void TestLivePoll::badFramesInARow_data()
{
    QTest::addColumn<int>("bad");
    QTest::addColumn<bool>("fails");
    QTest::newRow("199 bad, then a good frame") << 199 << false;
    QTest::newRow("200 bad, then a good frame") << 200 << true;
}

void TestLivePoll::badFramesInARow()
{
    QFETCH(int, bad);
    QFETCH(bool, fails);
    PeerRig rig;
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);

    // The first read, then `bad` reads that fail the check, each followed by
    // one dropped byte; the good frame lands exactly on the next read.
    const QByteArray good = frameBytes(7);
    rig.stream(zeros(19 + bad * 20) + good);

    if (!fails) {
        QTRY_COMPARE(rig.samples(), qsizetype(1));
        QCOMPARE(rig.log->badFrameCount, 0);
        rig.stop();
        QCOMPARE(sampleAt(rig.log->store().snapshot(), 0),
                 LiveFrame::decode(reinterpret_cast<const std::uint8_t*>(good.constData()), false));
        QVERIFY(rig.client.notifier.entries.isEmpty());
        QCOMPARE(rig.recorder.count(MsgStopLog), 1);
        return;
    }

    QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.count(MsgStopLog), 1, 3000);
    QCOMPARE(rig.client.notifier.entries.size(), 1);
    QCOMPARE(rig.client.notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::ThreadError)});
    QCOMPARE(rig.samples(), qsizetype(0));
    QCOMPARE(rig.client.link.Connected.load(), std::uint8_t(0));
    QCOMPARE(rig.log->badFrameCount, LiveFrame::MaxBadFrames);
    QVERIFY(!rig.log->loggingActive);
    QTRY_COMPARE(rig.log->PollThread(), nullptr);
    QTest::qWait(100);
    QCOMPARE(rig.recorder.count(MsgStopLog), 1);
    QCOMPARE(rig.peer.receive(), CommandSet::StopLive);

    // The next recording is not condemned by the last one's count.
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);
    rig.stream(frameBytes(1) + frameBytes(2) + frameBytes(3));
    QTRY_COMPARE(rig.samples(), qsizetype(2));
    rig.stop();
    QCOMPARE(rig.log->store().snapshot().raw.rawAux, (LogColumn{2, 3}));
    QCOMPARE(rig.log->badFrameCount, 0);
    QCOMPARE(rig.client.notifier.entries.size(), 1);
}

void TestLivePoll::noAnswerAfterStartStopsQuietly()
{
    PeerRig rig;
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);

    // Nothing within the link's 2000 ms: message 4, and not a word.
    QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.count(MsgStopLog), 1, 4000);
    QVERIFY(rig.client.notifier.entries.isEmpty());
    QVERIFY(!rig.log->hasData);
    QCOMPARE(rig.redraws.count(), 0);
    QCOMPARE(rig.samples(), qsizetype(0));
    QCOMPARE(rig.client.link.Connected.load(), std::uint8_t(1));
    QCOMPARE(rig.peer.receive(), CommandSet::StopLive);
    QTRY_COMPARE(rig.log->PollThread(), nullptr);
}

void TestLivePoll::converterFallingSilentMidFrameEndsLogging()
{
    PeerRig rig;
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);
    rig.stream(frameBytes(0) + frameBytes(1) + frameBytes(2) + frameBytes(3).left(10));

    QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.count(MsgStopLog), 1, 5000);
    QCOMPARE(rig.client.notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::ThreadError)});
    QCOMPARE(rig.client.link.Connected.load(), std::uint8_t(0));
    QCOMPARE(rig.log->store().snapshot().raw.rawAux, (LogColumn{1, 2}));
    QCOMPARE(rig.redraws.count(), 1);
    QCOMPARE(rig.peer.receive(), CommandSet::StopLive);
    QTRY_COMPARE(rig.log->PollThread(), nullptr);
}

void TestLivePoll::startWithoutSocketSaysWhy()
{
    PeerRig rig;
    rig.client.link.CloseSocket();
    QString reason;
    try {
        rig.client.link.SendBytes(CommandSet::StartLive);
    } catch (const LinkError& e) {
        reason = QString::fromUtf8(e.what());
    }
    QVERIFY(!reason.isEmpty());

    rig.start();
    // The failed send is shown, and the start ends in a stop the window sees.
    QCOMPARE(rig.client.notifier.texts(RecordingNotifier::Error), QStringList{reason});
    QCOMPARE(rig.recorder.ids, (QList<int>{MsgStartLog, MsgStopLog}));
    QCOMPARE(rig.log->PollThread(), nullptr);
    QVERIFY(!rig.log->loggingActive);
    QVERIFY(rig.log->stopped);
    QVERIFY(!rig.log->dashTimer.isActive());
    QCOMPARE(rig.redraws.count(), 0);
}

void TestLivePoll::restartFromTheThreadsOwnStopMessage()
{
    PeerRig rig;
    Restarter restarter(rig.client.bus);
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);
    rig.stream(frameBytes(0) + frameBytes(1) + frameBytes(2) + frameBytes(3).left(10));

    // The failure's stop message starts a new recording while the old
    // thread still waits in its hand-over: no deadlock, and the new poll
    // owns the link.
    QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.count(MsgStartLog), 2, 5000);
    QCOMPARE(rig.client.notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::ThreadError)});
    QCOMPARE(rig.peer.receive(), CommandSet::StopLive);
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);
    QVERIFY(rig.log->loggingActive);
    rig.stream(frameBytes(10) + frameBytes(11) + frameBytes(12));
    QTRY_COMPARE(rig.samples(), qsizetype(2));
    rig.stop();
    QCOMPARE(rig.client.rxtx.ChannelFree.load(), std::uint8_t(1));
    QCOMPARE(rig.log->store().snapshot().raw.rawAux, (LogColumn{11, 12}));
    QCOMPARE(rig.client.notifier.entries.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 0, 1000);
}

void TestLivePoll::loggerDestroyedWhileThreadWaitsForHandOver()
{
    PeerRig rig;
    rig.start();
    QCOMPARE(rig.peer.receive(), CommandSet::StartLive);
    // The Converter hangs up before its first frame: the thread hands its
    // stop over to this thread and waits, since no event loop runs here.
    rig.peer.close();
    QThread::msleep(300);
    QCOMPARE(threadsNamed(LogTexts::LogThreadName), 1);

    rig.log.reset();
    // The system thread itself goes a moment after its last step.
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 0, 1000);
    QCOMPARE(rig.recorder.count(MsgStopLog), 0);
    QVERIFY(rig.client.notifier.entries.isEmpty());
    QCOMPARE(rig.client.rxtx.ChannelFree.load(), std::uint8_t(1));
}

void TestLivePoll::hourOfFramesKeepsReceiveBufferBounded()
{
    constexpr qint64 Samples = 180000;  // one hour at 50 frames a second
    auto owned = std::make_unique<FrameStreamChannel>(Samples + 1);
    FrameStreamChannel* channel = owned.get();
    ClientLink client(std::move(owned));
    channel->watch(&client.link);
    TZantoLog log(nullptr, &client.rxtx, client.bus, client.notifier);

    const TMsgStartLog start;
    client.bus.Broadcast(start);
    QTRY_COMPARE_WITH_TIMEOUT(log.store().sampleCount(), qsizetype(Samples), 60000);
    const TMsgStopLog stop;
    client.bus.Broadcast(stop);

    const LogSnapshot s = log.store().snapshot();
    QCOMPARE(s.log.count(), Samples);
    QCOMPARE(s.log.shortest(), Samples);
    QCOMPARE(s.raw.shortest(), Samples);
    QCOMPARE(s.raw.rawAux.first(), 1);
    QCOMPARE(s.raw.rawAux.last(), qint32(Samples & 0xFFFF));
    QVERIFY(client.notifier.entries.isEmpty());
    // Consumed bytes are dropped as the stream goes: the buffer never holds
    // more than its compaction threshold plus one chunk.
    const qsizetype bound = 4096 + FrameStreamChannel::ChunkBytes;
    QVERIFY(channel->maxHeld > 0);
    QVERIFY2(channel->maxHeld <= bound, qPrintable(QString::number(channel->maxHeld)));
    QVERIFY(client.link.RxHeld() <= bound);
    qInfo("receive buffer at most %lld bytes over %lld frames", qlonglong(channel->maxHeld.load()),
          qlonglong(Samples + 1));
}

QTEST_GUILESS_MAIN(TestLivePoll)
#include "tst_livepoll.moc"
