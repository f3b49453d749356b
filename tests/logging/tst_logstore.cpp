#include "logstore.h"
#include "logtestdata.h"
#include "recordingnotifier.h"
#include "zantolog.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

// Sample k of a recording where every field tells which sample it belongs to.
LogSample numbered(qint32 k)
{
    LogSample s;
    qint32 offset = 0;
    for (const RawColumnInfo& info : rawColumnInfo)
        s.*info.field = k * 32 + offset++;
    for (const LogColumnInfo& info : logColumnInfo)
        s.*info.field = k * 32 + offset++;
    return s;
}

// The sample number when every field agrees on one, else -1.
qint32 numberOf(const LogSample& s)
{
    const qint32 k = s.rawOutput / 32;
    return s == numbered(k) ? k : -1;
}

LogColumns withO2(const LogColumn& o2, qint32 smoothFill)
{
    LogColumns c = patternedRecording(o2.size());
    c.colO2 = o2;
    c.colO2sm.fill(smoothFill);
    return c;
}

}  // namespace

class TestLogStore : public QObject {
    Q_OBJECT
private slots:
    void appendAndLastSample();
    void clearEmptiesEveryColumn();
    void replacedLogDropsRawColumns();
    void unequalColumnsAreCut();

    void smoothingOfConstantColumn();
    void smoothingIsWindowMean_data();
    void smoothingIsWindowMean();

    void chartStep_data();
    void chartStep();
    void finishingSetsWindowSmoothsAndAsksForRedraw();
    void finishingShortRecordingIsHarmless();

    void readersSeeWholeSamplesWhileAppending();

private:
    TZantoBroadcaster bus;
    RecordingNotifier notifier;
};

void TestLogStore::appendAndLastSample()
{
    LogStore store;
    QVERIFY(!store.lastSample());
    store.append(numbered(1));
    store.append(numbered(2));
    QCOMPARE(store.sampleCount(), 2);
    QCOMPARE(*store.lastSample(), numbered(2));
    const LogSnapshot snap = store.snapshot();
    QCOMPARE(snap.raw.rawAux, (LogColumn{numbered(1).rawAux, numbered(2).rawAux}));
    QCOMPARE(snap.log.colLogCorr, (LogColumn{numbered(1).colLogCorr, numbered(2).colLogCorr}));
    QCOMPARE(snap.log.shortest(), 2);
    QCOMPARE(snap.raw.shortest(), 2);
}

void TestLogStore::clearEmptiesEveryColumn()
{
    TZantoLog log(nullptr, bus, notifier);
    log.store().append(numbered(1));
    log.ClearLog();
    const LogSnapshot snap = log.store().snapshot();
    for (const LogColumnInfo& info : logColumnInfo)
        QVERIFY2((snap.log.*info.column).isEmpty(), info.title);
    for (const RawColumnInfo& info : rawColumnInfo)
        QVERIFY2((snap.raw.*info.column).isEmpty(), info.name);
    QVERIFY(!log.store().lastSample());
}

void TestLogStore::replacedLogDropsRawColumns()
{
    LogStore store;
    store.append(numbered(1));
    store.replaceLog(patternedRecording(3));
    QCOMPARE(store.sampleCount(), 3);
    QCOMPARE(store.snapshot().raw.count(), 0);
    // Nothing live to show on the dashboard until the poll appends again.
    QVERIFY(!store.lastSample());
    store.append(numbered(4));
    QCOMPARE(store.sampleCount(), 4);
    QCOMPARE(*store.lastSample(), numbered(4));
}

void TestLogStore::unequalColumnsAreCut()
{
    LogColumns columns = patternedRecording(10);
    columns.colEct.resize(7);
    LogStore store;
    store.replaceLog(columns);
    const LogColumns back = store.logColumns();
    for (const LogColumnInfo& info : logColumnInfo)
        QCOMPARE((back.*info.column).size(), 7);
    QCOMPARE(back.colConverter, patternedRecording(7).colConverter);
}

void TestLogStore::smoothingOfConstantColumn()
{
    TZantoLog log(nullptr, bus, notifier);
    log.store().replaceLog(withO2(LogColumn(200, 100), 7));
    log.DeriveO2Smooth(30, 200 - 20);
    const LogColumn smooth = log.store().logColumns().colO2sm;
    for (qsizetype k = 0; k < 200; ++k)
        QCOMPARE(smooth[k], k >= 30 && k < 180 ? 100 : 7);
}

void TestLogStore::smoothingIsWindowMean_data()
{
    QTest::addColumn<qsizetype>("n");
    QTest::addColumn<qsizetype>("first");
    QTest::addColumn<qsizetype>("end");
    QTest::addColumn<qsizetype>("lastDerived");  // past-the-end index actually derived
    QTest::newRow("stop range") << qsizetype(500) << qsizetype(30) << qsizetype(480) << qsizetype(480);
    QTest::newRow("first index allowed") << qsizetype(100) << qsizetype(20) << qsizetype(81) << qsizetype(81);
    QTest::newRow("first below 20: nothing") << qsizetype(100) << qsizetype(19) << qsizetype(80) << qsizetype(19);
    QTest::newRow("end past the data is cut") << qsizetype(100) << qsizetype(30) << qsizetype(500) << qsizetype(81);
    QTest::newRow("empty range") << qsizetype(100) << qsizetype(50) << qsizetype(50) << qsizetype(50);
    QTest::newRow("too short to smooth") << qsizetype(35) << qsizetype(30) << qsizetype(15) << qsizetype(30);
}

void TestLogStore::smoothingIsWindowMean()
{
    QFETCH(qsizetype, n);
    QFETCH(qsizetype, first);
    QFETCH(qsizetype, end);
    QFETCH(qsizetype, lastDerived);

    QRandomGenerator random(7);
    LogColumn o2(n);
    for (qint32& v : o2)
        v = random.bounded(256);
    LogStore store;
    store.replaceLog(withO2(o2, -1));
    store.deriveO2Smooth(first, end);

    const LogColumn smooth = store.logColumns().colO2sm;
    for (qsizetype k = 0; k < n; ++k) {
        qint32 expected = -1;
        if (k >= first && k < lastDerived) {
            qint32 sum = 0;
            for (qsizetype i = k - 20; i <= k + 19; ++i)
                sum += o2[i];
            expected = sum / 40;
        }
        QCOMPARE(smooth[k], expected);
    }
}

void TestLogStore::chartStep_data()
{
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<qsizetype>("step");
    QTest::newRow("negative") << qsizetype(-15) << qsizetype(1);
    QTest::newRow("0") << qsizetype(0) << qsizetype(1);
    QTest::newRow("98") << qsizetype(98) << qsizetype(1);
    QTest::newRow("859") << qsizetype(859) << qsizetype(1);
    QTest::newRow("860") << qsizetype(860) << qsizetype(2);
    QTest::newRow("980") << qsizetype(980) << qsizetype(2);
    QTest::newRow("one hour") << qsizetype(179980) << qsizetype(418);
}

void TestLogStore::chartStep()
{
    QFETCH(qsizetype, count);
    QFETCH(qsizetype, step);
    TZantoLog log(nullptr, bus, notifier);
    log.SetChartStep(count);
    QCOMPARE(log.chartStep, step);
}

void TestLogStore::finishingSetsWindowSmoothsAndAsksForRedraw()
{
    TZantoLog log(nullptr, bus, notifier);
    LogColumns live = withO2(LogColumn(1000, 60), 0);
    live.colO2[999] = 255;  // the last sample is never inside a window
    log.store().replaceLog(live);
    QSignalSpy redraws(&log, &TZantoLog::redrawRequested);

    log.FinishRecording();
    QCOMPARE(log.windowStart, qsizetype(0));
    QCOMPARE(log.windowEnd, qsizetype(980));
    QCOMPARE(log.chartStep, qsizetype(2));
    QCOMPARE(redraws.count(), 1);
    QCOMPARE(redraws.at(0).at(0).value<qsizetype>(), qsizetype(2));
    const LogColumn smooth = log.store().logColumns().colO2sm;
    for (qsizetype k = 0; k < 1000; ++k)
        QCOMPARE(smooth[k], k >= 30 && k <= 979 ? 60 : 0);
}

void TestLogStore::finishingShortRecordingIsHarmless()
{
    TZantoLog log(nullptr, bus, notifier);
    for (qint32 k = 0; k < 12; ++k)
        log.store().append(numbered(k));
    log.FinishRecording();
    QCOMPARE(log.windowEnd, qsizetype(-8));
    QCOMPARE(log.chartStep, qsizetype(1));
    const LogColumn smooth = log.store().logColumns().colO2sm;
    for (qint32 k = 0; k < 12; ++k)
        QCOMPARE(smooth[k], numbered(k).colO2sm);
}

void TestLogStore::readersSeeWholeSamplesWhileAppending()
{
    // The poll thread appends while the main thread reads the newest sample,
    // reads the whole recording, smooths it, and now and then loads a file
    // over it: no reader may ever see a half-appended sample.
    LogStore store;
    std::atomic<bool> done{false};
    // Loads happen in the first half only: the poll waits there until the
    // reader has stopped loading, so the last append is surely the newest.
    std::atomic<qint32> appended{0};
    std::atomic<bool> loadsOver{false};
    constexpr qint32 samples = 60000;
    std::thread poll([&] {
        for (qint32 k = 0; k < samples; ++k) {
            if (k == samples / 2)
                while (!loadsOver)
                    std::this_thread::yield();
            store.append(numbered(k));
            appended = k + 1;
        }
        done = true;
    });

    int reads = 0;
    qint32 newest = -1;
    while (!done || reads < 100) {
        const std::optional<LogSample> last = store.lastSample();
        if (last) {
            const qint32 k = numberOf(*last);
            QVERIFY2(k >= 0, "newest sample torn between columns");
            newest = k;
        }
        const LogSnapshot snap = store.snapshot();
        QCOMPARE(snap.log.shortest(), snap.log.count());
        QCOMPARE(snap.raw.shortest(), snap.raw.count());
        for (const LogColumnInfo& info : logColumnInfo)
            QCOMPARE((snap.log.*info.column).size(), snap.log.count());
        for (const RawColumnInfo& info : rawColumnInfo)
            QCOMPARE((snap.raw.*info.column).size(), snap.raw.count());
        if (snap.raw.count() > 0 && snap.raw.count() == snap.log.count()) {
            LogSample tail;
            for (const RawColumnInfo& info : rawColumnInfo)
                tail.*info.field = (snap.raw.*info.column).constLast();
            for (const LogColumnInfo& info : logColumnInfo)
                tail.*info.field = (snap.log.*info.column).constLast();
            QVERIFY(numberOf(tail) >= 0);
        }
        store.deriveO2Smooth(20, store.sampleCount());
        if (appended >= samples / 2)
            loadsOver = true;
        if (++reads % 50 == 0 && !loadsOver)
            store.replaceLog(patternedRecording(50));
    }
    poll.join();
    QVERIFY(newest >= 0);
    QCOMPARE(numberOf(*store.lastSample()), samples - 1);
    const LogSnapshot end = store.snapshot();
    QCOMPARE(end.log.shortest(), end.log.count());
    QCOMPARE(end.raw.shortest(), end.raw.count());
}

QTEST_GUILESS_MAIN(TestLogStore)
#include "tst_logstore.moc"
