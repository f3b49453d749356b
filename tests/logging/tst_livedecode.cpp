#include "dashsample.h"
#include "liveframedecoder.h"
#include "logstore.h"
#include "logtestdata.h"

#include <QTest>

#include <vector>

namespace {

// output 0x1234, angle 900, IAT 1023, AT 255, line 1 512, line 2 1023,
// REF 300, aux 0xBEEF, O2 1023, check byte 0xBF.
const QByteArray knownFrame = QByteArray::fromHex("34128403ff03ff000002ff032c01efbeff03bf");

const std::uint8_t* bytes(const QByteArray& frame) { return reinterpret_cast<const std::uint8_t*>(frame.constData()); }

// The frame the simulated stream sends as its i-th.
std::array<std::uint8_t, 19> streamFrame(int i)
{
    const auto w = static_cast<std::uint16_t>(i);
    return liveFrame({std::uint16_t(w * 3 + 1), std::uint16_t(w % 901), std::uint16_t(w * 5 % 1024),
                      std::uint16_t(w % 256), std::uint16_t(w * 7 % 1024), std::uint16_t(w * 11 % 1024),
                      std::uint16_t(w * 13 % 1024), w, std::uint16_t(w * 17 % 1024)});
}

}  // namespace

class TestLiveDecode : public QObject {
    Q_OBJECT
private slots:
    void decodesKnownFrame();
    void checkByteMustMatch_data();
    void checkByteMustMatch();
    void goodFrameAfter199BadOnesIsKept();
    void after200BadFramesTheNextReadFails();
    void shortReadFails_data();
    void shortReadFails();
    void markerWhileHeld();
    void streamRealignsAfterJunk_data();
    void streamRealignsAfterJunk();
    void dashboardRecordOfNewestSample();
};

void TestLiveDecode::decodesKnownFrame()
{
    QVERIFY(LiveFrame::checks(bytes(knownFrame)));
    LogSample expected;
    expected.rawOutput = 0x1234;
    expected.rawAngle = 900;
    expected.rawIat = 1023;
    expected.rawAt = 255;
    expected.rawLine1 = 512;
    expected.rawLine2 = 1023;
    expected.rawRef = 300;
    expected.rawAux = 0xBEEF;
    expected.colConverter = 0x34;
    expected.colO2 = 255;

    LogStore store;
    int badFrames = 5;
    QCOMPARE(LiveFrame::accept(bytes(knownFrame), 19, badFrames, false, store), LiveFrame::Verdict::Sample);
    QCOMPARE(badFrames, 0);
    QCOMPARE(store.sampleCount(), 1);
    QCOMPARE(*store.lastSample(), expected);
}

void TestLiveDecode::checkByteMustMatch_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("mask");
    QTest::newRow("check byte bit 0") << 18 << 0x01;
    QTest::newRow("check byte bit 7") << 18 << 0x80;
    QTest::newRow("first data byte") << 0 << 0x01;
    QTest::newRow("last data byte") << 17 << 0x80;
    QTest::newRow("two bits") << 9 << 0x11;
}

void TestLiveDecode::checkByteMustMatch()
{
    QFETCH(int, index);
    QFETCH(int, mask);
    QByteArray frame = knownFrame;
    frame[index] = char(frame[index] ^ mask);
    LogStore store;
    int badFrames = 3;
    QCOMPARE(LiveFrame::accept(bytes(frame), 19, badFrames, false, store), LiveFrame::Verdict::BadFrame);
    QCOMPARE(badFrames, 4);
    QCOMPARE(store.sampleCount(), 0);
}

void TestLiveDecode::goodFrameAfter199BadOnesIsKept()
{
    QByteArray bad = knownFrame;
    bad[18] = char(bad[18] ^ 0xFF);
    LogStore store;
    int badFrames = 0;
    for (int i = 0; i < 199; ++i)
        QCOMPARE(LiveFrame::accept(bytes(bad), 19, badFrames, false, store), LiveFrame::Verdict::BadFrame);
    QCOMPARE(badFrames, 199);
    QCOMPARE(LiveFrame::accept(bytes(knownFrame), 19, badFrames, false, store), LiveFrame::Verdict::Sample);
    QCOMPARE(badFrames, 0);
    QCOMPARE(store.sampleCount(), 1);
}

void TestLiveDecode::after200BadFramesTheNextReadFails()
{
    QByteArray bad = knownFrame;
    bad[0] = char(bad[0] ^ 0x40);
    LogStore store;
    int badFrames = 0;
    for (int i = 0; i < 200; ++i)
        QCOMPARE(LiveFrame::accept(bytes(bad), 19, badFrames, false, store), LiveFrame::Verdict::BadFrame);
    QCOMPARE(LiveFrame::accept(bytes(knownFrame), 19, badFrames, false, store), LiveFrame::Verdict::Failure);
    QCOMPARE(store.sampleCount(), 0);
    QCOMPARE(badFrames, 200);  // carried into the next recording
}

void TestLiveDecode::shortReadFails_data()
{
    QTest::addColumn<int>("received");
    QTest::newRow("nothing") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("one short") << 18;
}

void TestLiveDecode::shortReadFails()
{
    QFETCH(int, received);
    LogStore store;
    int badFrames = 7;
    QCOMPARE(LiveFrame::accept(bytes(knownFrame), std::size_t(received), badFrames, false, store),
             LiveFrame::Verdict::Failure);
    QCOMPARE(store.sampleCount(), 0);
    QCOMPARE(badFrames, 7);
}

void TestLiveDecode::markerWhileHeld()
{
    LogStore store;
    int badFrames = 0;
    for (bool held : {false, true, true, false})
        LiveFrame::accept(bytes(knownFrame), 19, badFrames, held, store);
    const LogSnapshot snap = store.snapshot();
    QCOMPARE(snap.log.colMarker, (LogColumn{0, LiveFrame::MarkerHeldValue, LiveFrame::MarkerHeldValue, 0}));
    QCOMPARE(snap.log.shortest(), 4);
    QCOMPARE(snap.raw.shortest(), 4);
    QCOMPARE(snap.raw.count(), 4);
    // Stands out on the chart's 0..5 scale and survives the file's one byte.
    QVERIFY(LiveFrame::MarkerHeldValue > 1 && LiveFrame::MarkerHeldValue < 5);
}

void TestLiveDecode::streamRealignsAfterJunk_data()
{
    QTest::addColumn<int>("junk");
    for (int junk : {1, 2, 9, 17, 18})
        QTest::newRow(qPrintable(QStringLiteral("%1 stray bytes").arg(junk))) << junk;
}

void TestLiveDecode::streamRealignsAfterJunk()
{
    // The poll reads 19 bytes; after a bad frame it reads one byte more, so
    // each miss moves the frame boundary by one byte.
    QFETCH(int, junk);
    std::vector<std::uint8_t> stream(std::size_t(junk), 0xA5);
    constexpr int frames = 60;
    for (int i = 0; i < frames; ++i) {
        const auto f = streamFrame(i);
        stream.insert(stream.end(), f.begin(), f.end());
    }

    LogStore store;
    int badFrames = 0;
    int misses = 0;
    std::size_t pos = 0;
    while (pos + 19 <= stream.size()) {
        const auto verdict = LiveFrame::accept(stream.data() + pos, 19, badFrames, false, store);
        pos += 19;
        if (verdict == LiveFrame::Verdict::BadFrame) {
            ++misses;
            pos += 1;
        }
    }
    // The boundary is found after as many misses as there were stray bytes;
    // each miss costs one frame and a byte, so `junk` frames are lost.
    QCOMPARE(misses, junk);
    QCOMPARE(badFrames, 0);
    const LogColumns log = store.logColumns();
    QCOMPARE(log.count(), frames - junk);
    const auto firstKept = streamFrame(junk);
    QCOMPARE(log.colConverter.constFirst(), qint32(firstKept[0]));
    QCOMPARE(store.lastSample()->rawAux, frames - 1);
}

void TestLiveDecode::dashboardRecordOfNewestSample()
{
    const LogSample s = LiveFrame::decode(bytes(knownFrame), false);
    const TMsgDashData d = dashDataFor(s, QLocale::c());
    QCOMPARE(d.id, 6);
    QCOMPARE(d.o2Raw, 255);
    QCOMPARE(d.o2Meter, 255);
    QCOMPARE(d.o2Colour, 0xFFFF0000u);
    QCOMPARE(d.o2Text, QStringLiteral("255N 4.98V"));
    QCOMPARE(d.rawOutput, 0x1234);
    QCOMPARE(d.rawAngle, 900);
    QCOMPARE(d.rawIat, 1023);
    QCOMPARE(d.rawAt, 255);
    QCOMPARE(d.rawLine1, 512);
    QCOMPARE(d.rawLine2, 1023);
    QCOMPARE(d.rawRef, 300);
    QCOMPARE(d.rawAux, 0xBEEF);
}

QTEST_GUILESS_MAIN(TestLiveDecode)
#include "tst_livedecode.moc"
