#include "devicesession.h"
#include "liveframe.h"

#include "crc8.h"

#include <QTest>

#include <algorithm>

namespace P = ConverterProtocol;

namespace {

quint16 word(const QByteArray& frame, int index)
{
    return quint16(quint8(frame.at(2 * index)) | (quint8(frame.at(2 * index + 1)) << 8));
}

LiveFrameValues decode(const QByteArray& frame)
{
    LiveFrameValues v;
    v.rawOutput = word(frame, 0);
    v.rawAngle = word(frame, 1);
    v.rawIat = word(frame, 2);
    v.rawAt = word(frame, 3);
    v.rawLine1 = word(frame, 4);
    v.rawLine2 = word(frame, 5);
    v.rawRef = word(frame, 6);
    v.rawAux = word(frame, 7);
    v.rawO2 = word(frame, 8);
    return v;
}

// Frames of one stream lasting ms.
QList<QByteArray> streamFor(DeviceSession& session, qint64 ms)
{
    session.send("fiusfiul");
    const QList<QByteArray> frames = session.collect(ms);
    session.send("fius");
    return frames;
}

int volts10(double volts)
{
    return int(volts / 5.0 * 1024.0);
}

}  // namespace

class TestLiveFrames : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void corruptFrameFailsOnlyItsCheck();
    void everyFrameChecksOut();
    void fiftyFramesASecond();
    void stopEndsTheStream();
    void throttleSweeps();
    void oxygenSwingsRichAndLean();
    void outputFollowsSensorTableAndCorrection();
    void otherInputsArePlausible();
};

void TestLiveFrames::layout()
{
    LiveFrameValues v;
    v.rawOutput = 0x0102;
    v.rawAngle = 0x0384;
    v.rawIat = 0x0201;
    v.rawAt = 0x00A4;
    v.rawLine1 = 0x03FF;
    v.rawLine2 = 0x0066;
    v.rawRef = 0x03F8;
    v.rawAux = 0xBEEF;
    v.rawO2 = 0x005C;
    const QByteArray frame = encodeLiveFrame(v);
    const QByteArray words = QByteArray::fromHex("0201 8403 0102 a400 ff03 6600 f803 efbe 5c00");
    QCOMPARE(frame.size(), 19);
    QCOMPARE(frame.left(18), words);
    QCOMPARE(quint8(frame.at(18)), crc8(reinterpret_cast<const std::uint8_t*>(words.constData()), 18));

    // All zero words: the check byte of 18 zero bytes.
    QCOMPARE(quint8(encodeLiveFrame(LiveFrameValues()).at(18)), quint8(0x56));
}

void TestLiveFrames::corruptFrameFailsOnlyItsCheck()
{
    LiveFrameValues v;
    v.rawAngle = 450;
    const QByteArray good = encodeLiveFrame(v);
    const QByteArray bad = encodeLiveFrame(v, true);
    QCOMPARE(bad.left(18), good.left(18));
    QVERIFY(bad.at(18) != good.at(18));
}

void TestLiveFrames::everyFrameChecksOut()
{
    DeviceSession session;
    const QList<QByteArray> frames = streamFor(session, 4000);
    QCOMPARE(frames.size(), 200);
    quint16 previousCounter = 0;
    for (int i = 0; i < frames.size(); ++i) {
        const QByteArray& frame = frames.at(i);
        QCOMPARE(frame.size(), P::FrameSize);
        QCOMPARE(quint8(frame.at(18)), crc8(reinterpret_cast<const std::uint8_t*>(frame.constData()), 18));
        const quint16 counter = decode(frame).rawAux;
        if (i > 0)
            QCOMPARE(counter, quint16(previousCounter + 1));
        previousCounter = counter;
    }
}

void TestLiveFrames::fiftyFramesASecond()
{
    DeviceSession session;
    session.send("fiusfiul");
    const auto outputs = session.outputs(1000);
    QCOMPARE(outputs.size(), std::size_t(50));
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        QCOMPARE(outputs[i].dueMs, 1000 + P::FramePeriodMs * qint64(i + 1));
        QVERIFY(outputs[i].frame);
    }
    QCOMPARE(session.device.state().framesSent, 50);
}

void TestLiveFrames::stopEndsTheStream()
{
    DeviceSession session;
    session.send("fiusfiul");
    // Frames due before the stop arrived still go out, in order, before anything after it.
    session.now += 105;
    session.device.receive("fius", session.now);
    QCOMPARE(session.collect(0).size(), 5);
    QVERIFY(!session.device.state().streaming);
    QCOMPARE(session.collect(2000), QList<QByteArray>{});
    // A table read right after a stream gets only its answer.
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{bytes({100, 0})});
}

void TestLiveFrames::throttleSweeps()
{
    DeviceSession session;
    const QList<QByteArray> frames = streamFor(session, 8000);
    int low = 1000, high = -1, previous = -1;
    for (const QByteArray& frame : frames) {
        const int angle = decode(frame).rawAngle;
        low = std::min(low, angle);
        high = std::max(high, angle);
        if (previous >= 0)
            QVERIFY2(std::abs(angle - previous) <= 10, "the throttle jumps");
        previous = angle;
    }
    QCOMPARE(low, 0);
    QCOMPARE(high, 900);
}

void TestLiveFrames::oxygenSwingsRichAndLean()
{
    DeviceSession session;
    const QList<QByteArray> frames = streamFor(session, 4000);
    const int middle = volts10(0.45);
    int rich = 0, lean = 0, switches = 0;
    bool wasRich = false;
    for (int i = 0; i < frames.size(); ++i) {
        const int o2 = decode(frames.at(i)).rawO2;
        QVERIFY(o2 >= volts10(0.05) && o2 <= volts10(0.9));
        const bool isRich = o2 > middle;
        rich += o2 > volts10(0.7);
        lean += o2 < volts10(0.2);
        if (i > 0 && isRich != wasRich)
            ++switches;
        wasRich = isRich;
    }
    QVERIFY2(rich > 20 && lean > 20, "the sensor should spend time both rich and lean");
    QVERIFY2(switches >= 4, "the sensor should swing a few times in four seconds");
}

void TestLiveFrames::outputFollowsSensorTableAndCorrection()
{
    // Three devices seeing the same throttle: factory table, another angle
    // setting, and a correction.
    DeviceSession factory, turned, corrected;
    for (DeviceSession* session : {&factory, &turned, &corrected})
        session->now = 4000;    // the throttle closed, about to open
    turned.device.setTable(0, 0);
    corrected.send("fiuc");
    corrected.send(bytes({10, 0}));
    const QList<QByteArray> a = streamFor(factory, 2000);
    const QList<QByteArray> b = streamFor(turned, 2000);
    const QList<QByteArray> c = streamFor(corrected, 2000);
    QCOMPARE(a.size(), b.size());
    QCOMPARE(a.size(), c.size());
    int previousOutput = -1;
    for (int i = 0; i < a.size(); ++i) {
        const LiveFrameValues fa = decode(a.at(i)), fb = decode(b.at(i)), fc = decode(c.at(i));
        QCOMPARE(fa.rawAngle, fb.rawAngle);
        QVERIFY(fa.rawOutput <= 255);
        // Angle setting 10.0 degrees turns the output up against 0.0.
        QVERIFY(fa.rawOutput > fb.rawOutput);
        if (fa.rawOutput < 245)
            QCOMPARE(fc.rawOutput, quint16(fa.rawOutput + 10));
        // The throttle opens for the first two seconds: the output never falls.
        QVERIFY(int(fa.rawOutput) >= previousOutput);
        previousOutput = fa.rawOutput;
    }
    QVERIFY(decode(a.last()).rawOutput > decode(a.first()).rawOutput + 150);
}

void TestLiveFrames::otherInputsArePlausible()
{
    DeviceSession session;
    for (const QByteArray& frame : streamFor(session, 3000)) {
        const LiveFrameValues v = decode(frame);
        QCOMPARE(v.rawLine1 + v.rawLine2, 1023);          // two mirrored sensor tracks
        QVERIFY(v.rawLine1 >= volts10(0.45) && v.rawLine1 <= volts10(4.55));
        QVERIFY(v.rawIat >= volts10(1.5) && v.rawIat <= volts10(3.0));
        QVERIFY(v.rawAt >= 150 && v.rawAt <= 180);          // 8-bit, about 3.2 V
        QVERIFY(v.rawRef >= volts10(4.8) && v.rawRef <= 1023);
    }
}

QTEST_APPLESS_MAIN(TestLiveFrames)
#include "tst_liveframes.moc"
