// Logging against the simulated Converter over the real link code: the
// Converter's own frames, its timing and its faults.

#include "clientlink.h"
#include "commandset.h"
#include "converterprotocol.h"
#include "dashsample.h"
#include "livefixture.h"
#include "logthread.h"
#include "logtestdata.h"
#include "logtexts.h"
#include "zantolog.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int Table0 = ConverterProtocol::DefaultTable0;

// The client side as the main window wires it, with the logger as the
// listener after the transport and a recorder of every bus record.
struct LiveRig {
    explicit LiveRig(const SimulatorOptions& options = SimulatorOptions())
        : converter(options),
          recorder(converter.client.bus),
          log(std::make_unique<TZantoLog>(nullptr, &converter.client.rxtx, converter.client.bus,
                                          converter.client.notifier)),
          redraws(log.get(), &TZantoLog::redrawRequested)
    {
        clock.start();
    }

    TZantoBroadcaster& bus() { return converter.client.bus; }
    RecordingNotifier& notifier() { return converter.client.notifier; }
    void start()
    {
        const TMsgStartLog record;
        bus().Broadcast(record);
    }
    void stop()
    {
        const TMsgStopLog record;
        bus().Broadcast(record);
    }
    LogSnapshot snapshot() const { return log->store().snapshot(); }
    // The device's clock runs from the simulator's start, a little after ours.
    qint64 deviceNowMs() const { return clock.elapsed() + 50; }

    QElapsedTimer clock;
    SimulatedConverterLink converter;
    BusRecorder recorder;
    std::unique_ptr<TZantoLog> log;
    QSignalSpy redraws;
};

bool sameRecord(const TMsgDashData& a, const TMsgDashData& b)
{
    return a.id == b.id && a.o2Raw == b.o2Raw && a.o2Text == b.o2Text && a.o2Colour == b.o2Colour
           && a.o2Meter == b.o2Meter && a.rawOutput == b.rawOutput && a.rawAngle == b.rawAngle
           && a.rawIat == b.rawIat && a.rawLine1 == b.rawLine1 && a.rawLine2 == b.rawLine2 && a.rawAt == b.rawAt
           && a.rawRef == b.rawRef && a.rawAux == b.rawAux;
}

void verifyEqualColumns(const LogSnapshot& s, qsizetype n)
{
    QCOMPARE(s.log.count(), n);
    QCOMPARE(s.log.shortest(), n);
    QCOMPARE(s.raw.count(), n);
    QCOMPARE(s.raw.shortest(), n);
}

}  // namespace

class TestLiveLogging : public QObject {
    Q_OBJECT
private slots:
    void recordsWhatTheConverterSends();
    void stopBeforeAnyAnswer();
    void startingAgainClears();
    void markerKeepsColumnsEqual();
    void badFrameIsDroppedAndStreamRealigns();
    void disconnectMidStreamEndsLoggingAndKeepsSamples();
    void unpluggedConverterThenStop();
    void dashboardGetsNewestSampleEvery100ms();
    void fileLoadDuringLogging();
    void destroyingTheLoggerEndsThePoll();
};

void TestLiveLogging::recordsWhatTheConverterSends()
{
    LiveRig rig;
    rig.start();
    QVERIFY(rig.converter.device.waitForReads(1, 1000));
    QCOMPARE(rig.converter.sends(), QList<QByteArray>{CommandSet::StartLive});
    QVERIFY(rig.log->PollThread() != nullptr);
    // The thread names itself as it starts.
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 1, 1000);
    QVERIFY(rig.log->loggingActive);
    QVERIFY(!rig.log->stopped);

    QTest::qWait(1500);
    rig.stop();

    // The thread is gone before the stop returns.
    QCOMPARE(rig.log->PollThread(), nullptr);
    // The system thread itself goes a moment after its last step.
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 0, 1000);
    QCOMPARE(rig.converter.client.rxtx.ChannelFree.load(), std::uint8_t(1));
    QVERIFY(rig.converter.device.waitForReads(2, 1000));
    QCOMPARE(rig.converter.sends(), (QList<QByteArray>{CommandSet::StartLive, CommandSet::StopLive}));
    QVERIFY(!rig.log->loggingActive);
    QVERIFY(rig.log->stopped);
    QVERIFY(rig.log->hasData);
    QVERIFY(rig.notifier().entries.isEmpty());
    QCOMPARE(rig.converter.client.link.Connected.load(), std::uint8_t(1));

    const LogSnapshot s = rig.snapshot();
    const qsizetype n = s.log.count();
    QVERIFY2(n >= 65 && n <= 80, qPrintable(QString::number(n)));
    verifyEqualColumns(s, n);

    // The stream's first frame (counter 0) is read but never stored.
    for (qsizetype k = 0; k < n; ++k)
        QCOMPARE(s.raw.rawAux.at(k), qint32(k + 1));
    const qint64 base = streamBase(s, rig.deviceNowMs(), Table0);
    QVERIFY(base >= 0);
    for (qsizetype k = 0; k < n; ++k)
        QVERIFY2(sentBySimulator(sampleAt(s, k), base, Table0), qPrintable(QString::number(k)));

    // The stop step: "O2SM" for 30 .. n-21, the window, the step, one redraw.
    for (qsizetype k = 0; k < n; ++k) {
        qint32 expected = 0;
        if (k >= 30 && k < n - 20) {
            qint64 sum = 0;
            for (qsizetype i = k - 20; i <= k + 19; ++i)
                sum += s.log.colO2.at(i);
            expected = qint32(sum / 40);
        }
        QCOMPARE(s.log.colO2sm.at(k), expected);
    }
    QCOMPARE(rig.log->windowStart, qsizetype(0));
    QCOMPARE(rig.log->windowEnd, n - 20);
    QCOMPARE(rig.redraws.count(), 1);
    QCOMPARE(rig.redraws.at(0).at(0).value<qsizetype>(), qsizetype(1));

    QCOMPARE(rig.recorder.ids.first(), int(MsgStartLog));
    QCOMPARE(rig.recorder.ids.last(), int(MsgStopLog));
    QCOMPARE(rig.recorder.count(MsgStopLog), 1);
}

void TestLiveLogging::stopBeforeAnyAnswer()
{
    SimulatorOptions options;
    options.faults.answerDelayMs = 3000;
    LiveRig rig(options);
    rig.start();
    QTest::qWait(400);

    QElapsedTimer stopping;
    stopping.start();
    rig.stop();
    QVERIFY2(stopping.elapsed() < 1000, "the stop waited for the link's whole receive limit");

    QCOMPARE(rig.log->PollThread(), nullptr);
    // The system thread itself goes a moment after its last step.
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 0, 1000);
    QVERIFY(!rig.log->hasData);
    QCOMPARE(rig.redraws.count(), 0);
    verifyEqualColumns(rig.snapshot(), 0);
    QCOMPARE(rig.recorder.count(MsgDashData), 0);
    QVERIFY(rig.notifier().entries.isEmpty());
    QVERIFY(rig.converter.device.waitForReads(2, 1000));
    QCOMPARE(rig.converter.sends(), (QList<QByteArray>{CommandSet::StartLive, CommandSet::StopLive}));
}

void TestLiveLogging::startingAgainClears()
{
    LiveRig rig;
    rig.start();
    QTest::qWait(600);
    rig.stop();
    const LogSnapshot first = rig.snapshot();
    QVERIFY(first.log.count() > 10);
    const qint32 lastCounter = first.raw.rawAux.last();

    rig.start();
    QTest::qWait(400);
    rig.stop();
    const LogSnapshot second = rig.snapshot();
    const qsizetype n = second.log.count();
    verifyEqualColumns(second, n);
    // Only the new stream's frames: its counters go on past the first
    // recording's, and 400 ms hold about 20 of them.
    QVERIFY(n > 5 && n <= 30);
    QVERIFY2(second.raw.rawAux.first() > lastCounter + 1, "the second stream's first frame became a sample");
    for (qsizetype k = 1; k < n; ++k)
        QCOMPARE(second.raw.rawAux.at(k), second.raw.rawAux.at(k - 1) + 1);
    QCOMPARE(rig.redraws.count(), 2);
}

void TestLiveLogging::markerKeepsColumnsEqual()
{
    LiveRig rig;
    rig.start();
    QTest::qWait(300);
    rig.log->markerHeld = true;
    QTest::qWait(400);
    rig.log->markerHeld = false;
    QTest::qWait(300);
    rig.stop();

    const LogSnapshot s = rig.snapshot();
    const qsizetype n = s.log.count();
    verifyEqualColumns(s, n);
    // One unbroken plateau, with unmarked samples before and after it.
    const qsizetype from = s.log.colMarker.indexOf(LiveFrame::MarkerHeldValue);
    const qsizetype to = s.log.colMarker.lastIndexOf(LiveFrame::MarkerHeldValue);
    QVERIFY(from > 5 && to < n - 5);
    QVERIFY2(to - from + 1 >= 12 && to - from + 1 <= 28, qPrintable(QString::number(to - from + 1)));
    for (qsizetype k = 0; k < n; ++k)
        QCOMPARE(s.log.colMarker.at(k), (k >= from && k <= to) ? LiveFrame::MarkerHeldValue : 0);
}

void TestLiveLogging::badFrameIsDroppedAndStreamRealigns()
{
    // The stream's frame with counter 20 carries a wrong check byte.
    SimulatorOptions options;
    options.faults.badCrcRunStart = 20;
    options.faults.badCrcRunLength = 1;
    LiveRig rig(options);
    rig.start();
    QTest::qWait(1500);
    rig.stop();

    const LogSnapshot s = rig.snapshot();
    const qsizetype n = s.log.count();
    verifyEqualColumns(s, n);
    // The samples before the bad frame fix the stream's timing.
    const qint64 base = streamBase(s, rig.deviceNowMs(), Table0, 19);
    QVERIFY(base >= 0);

    // Samples the Converter really sent, by counter. A window across two
    // frames may pass the check by chance (1 in 256): such a sample can only
    // lie in the realignment gap.
    QList<qint32> genuine;
    for (qsizetype k = 0; k < n; ++k) {
        const LogSample sample = sampleAt(s, k);
        if (sentBySimulator(sample, base, Table0))
            genuine.append(sample.rawAux);
        else
            QVERIFY2(genuine.last() == 19, "a sample that is no frame outside the realignment");
    }
    QVERIFY(n - genuine.size() <= 2);
    QVERIFY(!genuine.contains(20));
    for (qint32 c = 1; c <= 19; ++c)
        QCOMPARE(genuine.at(c - 1), c);
    // The stream realigns at a frame boundary: 19 dropped bytes bring the
    // boundary round again, 20 frames on (a window that passed by chance
    // dropped no byte and costs one frame more), and it stays aligned.
    const qint32 resumed = genuine.at(19);
    const qsizetype chance = n - genuine.size();
    QVERIFY2(resumed == 40 + chance, qPrintable(QStringLiteral("%1 %2").arg(resumed).arg(chance)));
    for (qsizetype i = 20; i < genuine.size(); ++i)
        QCOMPARE(genuine.at(i), genuine.at(i - 1) + 1);
    QVERIFY(genuine.last() > 60);
    QCOMPARE(rig.log->badFrameCount, 0);
    QVERIFY(rig.notifier().entries.isEmpty());
}

void TestLiveLogging::disconnectMidStreamEndsLoggingAndKeepsSamples()
{
    // The line drops after frame 39, half way through frame 40.
    SimulatorOptions options;
    options.faults.dropAfterFrames = 40;
    options.faults.dropMidFrame = true;
    LiveRig rig(options);
    rig.start();

    QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.count(MsgStopLog), 1, 5000);
    QCOMPARE(rig.notifier().entries.size(), 1);
    QCOMPARE(rig.notifier().texts(RecordingNotifier::Message), QStringList{QString::fromUtf8(LogTexts::ThreadError)});
    QCOMPARE(rig.converter.client.link.Connected.load(), std::uint8_t(0));
    QVERIFY(!rig.log->loggingActive);
    QVERIFY(rig.log->stopped);
    QVERIFY(!rig.log->dashTimer.isActive());

    // The samples before the drop stay and are drawn.
    const LogSnapshot s = rig.snapshot();
    verifyEqualColumns(s, 39);
    const qint64 base = streamBase(s, rig.deviceNowMs(), Table0);
    QVERIFY(base >= 0);
    for (qsizetype k = 0; k < 39; ++k) {
        QCOMPARE(s.raw.rawAux.at(k), qint32(k + 1));
        QVERIFY(sentBySimulator(sampleAt(s, k), base, Table0));
    }
    QCOMPARE(rig.redraws.count(), 1);
    QCOMPARE(rig.log->windowEnd, qsizetype(19));

    // The thread ends on its own once its hand-over returned; nothing more
    // is posted or shown.
    QTRY_COMPARE(rig.log->PollThread(), nullptr);
    QTRY_COMPARE(threadsNamed(LogTexts::LogThreadName), 0);
    QTest::qWait(200);
    QCOMPARE(rig.recorder.count(MsgStopLog), 1);
    QCOMPARE(rig.notifier().entries.size(), 1);
    QCOMPARE(rig.redraws.count(), 1);
    // The stop command had no line to go out on.
    QCOMPARE(rig.converter.sends(), QList<QByteArray>{CommandSet::StartLive});
}

void TestLiveLogging::unpluggedConverterThenStop()
{
    LiveRig rig;
    rig.start();
    QTest::qWait(500);
    // The Converter goes away and the person presses Stop before the window
    // has run the thread's hand-over: the stop's send fails, and the stop
    // still runs to the end.
    rig.converter.device.stop();
    rig.stop();

    QCOMPARE(rig.redraws.count(), 1);
    QVERIFY(!rig.log->loggingActive);
    const qsizetype n = rig.snapshot().log.count();
    QVERIFY(n > 15);
    verifyEqualColumns(rig.snapshot(), n);

    QTRY_COMPARE(rig.log->PollThread(), nullptr);
    QTest::qWait(200);
    // The person already stopped: the thread's hand-over, if it began, shows
    // nothing and posts nothing.
    QCOMPARE(rig.recorder.count(MsgStopLog), 1);
    QVERIFY(rig.notifier().entries.isEmpty());
    QCOMPARE(rig.redraws.count(), 1);
}

void TestLiveLogging::dashboardGetsNewestSampleEvery100ms()
{
    LiveRig rig;
    rig.start();
    QTest::qWait(1000);
    rig.stop();
    const qsizetype published = rig.recorder.dash.size();
    QVERIFY2(published >= 7 && published <= 11, qPrintable(QString::number(published)));

    // Every record is the sample that was newest at its tick: one of the
    // stored samples, later each time.
    const LogSnapshot s = rig.snapshot();
    qint32 previous = 0;
    qsizetype lastIndex = -1;
    for (const TMsgDashData& record : rig.recorder.dash) {
        QVERIFY(record.rawAux >= previous);
        previous = record.rawAux;
        lastIndex = s.raw.rawAux.indexOf(record.rawAux);
        QVERIFY(lastIndex >= 0);
        QVERIFY(sameRecord(record, dashDataFor(sampleAt(s, lastIndex))));
    }
    QVERIFY(rig.recorder.dash.first().rawAux < rig.recorder.dash.last().rawAux);
    // The last tick came less than 100 ms (five frames) before the stop.
    QVERIFY2(lastIndex >= s.log.count() - 10, qPrintable(QString::number(s.log.count() - lastIndex)));

    QTest::qWait(300);
    QCOMPARE(rig.recorder.dash.size(), published);
    // A tick now posts the recording's last sample.
    rig.log->PublishSample();
    QCOMPARE(rig.recorder.dash.size(), published + 1);
    QVERIFY(sameRecord(rig.recorder.dash.last(), dashDataFor(sampleAt(s, s.log.count() - 1))));
}

void TestLiveLogging::fileLoadDuringLogging()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("during.log"));
    {
        TZantoBroadcaster bus;
        RecordingNotifier notifier;
        TZantoLog saver(nullptr, bus, notifier);
        saver.store().replaceLog(patternedRecording(200));
        saver.SaveLog(name);
        QVERIFY(notifier.entries.isEmpty());
    }

    LiveRig rig;
    rig.start();
    QTest::qWait(300);
    rig.log->LoadLog(name);
    QCOMPARE(rig.redraws.count(), 1);
    // Readers see whole samples while the poll appends to the loaded file.
    QElapsedTimer watch;
    watch.start();
    while (watch.elapsed() < 300) {
        const LogSnapshot s = rig.snapshot();
        QCOMPARE(s.log.shortest(), s.log.count());
        QCOMPARE(s.raw.shortest(), s.raw.count());
        QVERIFY(s.log.count() >= 200);
        QTest::qWait(5);
    }
    rig.stop();

    const LogSnapshot s = rig.snapshot();
    QCOMPARE(s.log.colConverter.mid(0, 200), patternedRecording(200).colConverter);
    QVERIFY(s.log.count() > 200);
    QCOMPARE(s.raw.count(), s.log.count() - 200);
    // The load cleared hasData: the stop does not rework the loaded file.
    QCOMPARE(rig.redraws.count(), 1);
    QCOMPARE(rig.log->PollThread(), nullptr);
}

void TestLiveLogging::destroyingTheLoggerEndsThePoll()
{
    LiveRig rig;
    rig.start();
    QTest::qWait(300);
    QCOMPARE(threadsNamed(LogTexts::LogThreadName), 1);
    QElapsedTimer watch;
    watch.start();
    rig.log.reset();
    QVERIFY(watch.elapsed() < 1000);
    // The system thread itself goes a moment after its last step.
    QTRY_COMPARE_WITH_TIMEOUT(threadsNamed(LogTexts::LogThreadName), 0, 1000);
    QCOMPARE(rig.converter.client.rxtx.ChannelFree.load(), std::uint8_t(1));
}

QTEST_GUILESS_MAIN(TestLiveLogging)
#include "tst_livelogging.moc"
