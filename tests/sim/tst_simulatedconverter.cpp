#include "devicesession.h"
#include "liveframe.h"

#include "crc8.h"

#include <QRandomGenerator>
#include <QTest>

namespace P = ConverterProtocol;

namespace {

const QByteArray Probe(P::Probe, P::ProbeSize);
const QByteArray Version(P::VersionQuery, P::VersionQuerySize);
const QByteArray Handshake = bytes({0, 0, 23, 0});
const QByteArray FactoryTable = bytes({100, 0});

QList<QByteArray> sendAll(DeviceSession& session, const QList<QByteArray>& sends)
{
    QList<QByteArray> packets;
    for (const QByteArray& send : sends)
        packets += session.send(send);
    return packets;
}

bool checksOut(const QByteArray& frame)
{
    return frame.size() == P::FrameSize
           && crc8(reinterpret_cast<const std::uint8_t*>(frame.constData()), 18) == std::uint8_t(frame.at(18));
}

SimulatorOptions withFaults(const SimulatorFaults& faults)
{
    SimulatorOptions options;
    options.faults = faults;
    return options;
}

}  // namespace

class TestSimulatedConverter : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void writeStoresRamAndEeprom();
    void sendTableChangesRamOnly();
    void correction_data();
    void correction();
    void offsetAndAnglePreview_data();
    void offsetAndAnglePreview();
    void mafBorderIsNotCalibration();
    void calibrationStoresTheSensorReading();
    void referenceToggleShowsInTheNextHandshake();
    void stopPrefixBinding_data();
    void stopPrefixBinding();
    void strayBytesAreSkipped_data();
    void strayBytesAreSkipped();
    void anyChunkingGivesTheSameSession();
    void firmwareModeEndsAfterSilence();
    void noiseIsSurvived();
    void receivedBytesAreRecordedPerRead();

    void silentSendsNothing();
    void wrongHandshakeAnswer();
    void shortAnswers_data();
    void shortAnswers();
    void delayedAnswer();
    void trickledAnswer();
    void staleBytesFollowEachCommand_data();
    void staleBytesFollowEachCommand();
    void badCheckBytes_data();
    void badCheckBytes();
    void dropAfterFrames_data();
    void dropAfterFrames();
    void dropAfterReceivedBytes();
    void rejectedBlocks_data();
    void rejectedBlocks();
    void neverAcknowledgedBlock();
};

void TestSimulatedConverter::answers_data()
{
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::addColumn<QList<QByteArray>>("expected");

    QTest::newRow("probe: nothing") << QList<QByteArray>{Probe} << QList<QByteArray>{};
    QTest::newRow("handshake") << QList<QByteArray>{Probe, Version} << QList<QByteArray>{Handshake};
    QTest::newRow("version query without its zero byte") << QList<QByteArray>{"fiusfiuv"} << QList<QByteArray>{};
    QTest::newRow("version query without the stop") << QList<QByteArray>{QByteArray("fiuv\0", 5)} << QList<QByteArray>{};
    QTest::newRow("table read") << QList<QByteArray>{"fiusfiur"} << QList<QByteArray>{FactoryTable};
    QTest::newRow("fiur without the stop") << QList<QByteArray>{"fiur"} << QList<QByteArray>{};
    QTest::newRow("table write echoes its byte") << QList<QByteArray>{"fiusfiuw", bytes({0xE7})}
                                                 << QList<QByteArray>{bytes({0xE7})};
    QTest::newRow("write, then the verification read")
        << QList<QByteArray>{"fiusfiuw", bytes({0xE7}), "fiusfiur"} << QList<QByteArray>{bytes({0xE7}), bytes({0xE7, 0})};
    QTest::newRow("fiut sets what a read answers")
        << QList<QByteArray>{"fiut", bytes({1, 2}), "fiusfiur"} << QList<QByteArray>{bytes({1, 2})};
    QTest::newRow("fiut with its bytes in two sends")
        << QList<QByteArray>{"fiut", bytes({1}), bytes({2}), "fiusfiur"} << QList<QByteArray>{bytes({1, 2})};
    QTest::newRow("fiuk resets the table")
        << QList<QByteArray>{"fiusfiuw", bytes({5}), "fiuk", "fiusfiur"} << QList<QByteArray>{bytes({5}), FactoryTable};
    QTest::newRow("stop, then fiuk in its own send: a reset")
        << QList<QByteArray>{"fiusfiuw", bytes({5}), "fius", "fiuk", "fiusfiur"} << QList<QByteArray>{bytes({5}), FactoryTable};
    QTest::newRow("fiusfiuk switches the reference, no reset")
        << QList<QByteArray>{"fiusfiuw", bytes({5}), "fiusfiuk", "fiusfiur", Probe, Version}
        << QList<QByteArray>{bytes({5}), bytes({5, 0}), bytes({0, 0, 23, 1})};
    QTest::newRow("settings commands answer nothing")
        << QList<QByteArray>{"fiusfiug", "fiusfiuz", "fiuc", bytes({37}), bytes({1}), "fiug", bytes({0}), bytes({255}),
                             "fiub", bytes({0xF1}), bytes({255}), "fiub", bytes({5}), "fius"}
        << QList<QByteArray>{};
    QTest::newRow("firmware blocks, each acknowledged")
        << QList<QByteArray>{"fiud", bytes({0, 3, 0xAA, 0xBB, 0xCC}), bytes({0, 1, 0xDD})}
        << QList<QByteArray>{bytes({0x11}), bytes({0x11})};
    QTest::newRow("firmware block in pieces")
        << QList<QByteArray>{"fiud", bytes({0}), bytes({3, 0xAA}), bytes({0xBB, 0xCC})} << QList<QByteArray>{bytes({0x11})};
    QTest::newRow("empty firmware block") << QList<QByteArray>{"fiud", bytes({0, 0})} << QList<QByteArray>{bytes({0x11})};
}

void TestSimulatedConverter::answers()
{
    QFETCH(QList<QByteArray>, sends);
    QFETCH(QList<QByteArray>, expected);
    DeviceSession session;
    QCOMPARE(sendAll(session, sends), expected);
    QCOMPARE(session.collect(5000), QList<QByteArray>{});
}

void TestSimulatedConverter::writeStoresRamAndEeprom()
{
    DeviceSession session;
    session.send("fiusfiuw");
    QCOMPARE(session.send(bytes({0xE7})), QList<QByteArray>{bytes({0xE7})});
    const SimulatorState s = session.device.state();
    QCOMPARE(int(s.ramTable[0]), 0xE7);
    QCOMPARE(int(s.eepromTable[0]), 0xE7);
    QCOMPARE(int(s.ramTable[1]), 0);
}

void TestSimulatedConverter::sendTableChangesRamOnly()
{
    DeviceSession session;
    session.send("fiut");
    session.send(bytes({0x9C, 0x07}));
    const SimulatorState s = session.device.state();
    QCOMPARE(int(s.ramTable[0]), 0x9C);
    QCOMPARE(int(s.ramTable[1]), 0x07);
    QCOMPARE(int(s.eepromTable[0]), 100);
    QCOMPARE(int(s.eepromTable[1]), 0);
}

void TestSimulatedConverter::correction_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("expected");
    QTest::newRow("-37") << bytes({37, 1}) << -37;
    QTest::newRow("+37") << bytes({37, 0}) << 37;
    QTest::newRow("-255") << bytes({255, 1}) << -255;
}

void TestSimulatedConverter::correction()
{
    QFETCH(QByteArray, data);
    QFETCH(int, expected);
    DeviceSession session;
    session.send("fiuc");
    session.send(data.left(1));
    QVERIFY(!session.device.state().correctionReceived);
    session.send(data.mid(1));
    QVERIFY(session.device.state().correctionReceived);
    QCOMPARE(session.device.state().correction, expected);
}

void TestSimulatedConverter::offsetAndAnglePreview_data()
{
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("offsetReceived");
    QTest::addColumn<int>("preview");
    QTest::addColumn<bool>("previewReceived");

    QTest::newRow("offset +0.5") << QList<QByteArray>{"fiub", bytes({5})} << 5 << true << 0 << false;
    QTest::newRow("offset -2.0") << QList<QByteArray>{"fiub", bytes({0xEC})} << -20 << true << 0 << false;
    QTest::newRow("offset -0.1 is the byte 255")
        << QList<QByteArray>{"fiub", bytes({0xFF})} << -1 << true << 0 << false;
    QTest::newRow("angle -1.5") << QList<QByteArray>{"fiub", bytes({0xF1}), bytes({255})} << 0 << false << -15 << true;
    QTest::newRow("an angle keeps the earlier offset")
        << QList<QByteArray>{"fiub", bytes({5}), "fiub", bytes({0x7D}), bytes({255})} << 5 << true << 125 << true;
}

void TestSimulatedConverter::offsetAndAnglePreview()
{
    QFETCH(QList<QByteArray>, sends);
    QFETCH(int, offset);
    QFETCH(bool, offsetReceived);
    QFETCH(int, preview);
    QFETCH(bool, previewReceived);
    DeviceSession session;
    sendAll(session, sends);
    // Whatever came before, the next command is understood.
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{FactoryTable});
    const SimulatorState s = session.device.state();
    QCOMPARE(s.offset, offset);
    QCOMPARE(s.offsetReceived, offsetReceived);
    QCOMPARE(s.anglePreview, preview);
    QCOMPARE(s.anglePreviewReceived, previewReceived);
}

void TestSimulatedConverter::mafBorderIsNotCalibration()
{
    DeviceSession session;
    sendAll(session, {"fius", "fiug", bytes({0}), bytes({255})});
    SimulatorState s = session.device.state();
    QCOMPARE(s.mafBegin, 0);
    QCOMPARE(s.mafEnd, 255);
    QCOMPARE(s.closedPosition, -1);

    DeviceSession calibration;
    calibration.send("fiusfiug");
    s = calibration.device.state();
    QCOMPARE(s.mafBegin, -1);
    QVERIFY(s.closedPosition >= 0);
}

void TestSimulatedConverter::calibrationStoresTheSensorReading()
{
    DeviceSession session;
    session.now = 4000;      // throttle closed
    session.send("fiusfiug");
    session.now = 6000;      // throttle fully open
    session.send("fiusfiuz");
    const SimulatorState s = session.device.state();
    QCOMPARE(s.closedPosition, sensorLine1At(4000));
    QCOMPARE(s.openPosition, sensorLine1At(6000));
    QVERIFY(s.openPosition > s.closedPosition + 500);
}

void TestSimulatedConverter::referenceToggleShowsInTheNextHandshake()
{
    DeviceSession session;
    QCOMPARE(sendAll(session, {Probe, Version}), QList<QByteArray>{Handshake});
    session.send("fiusfiuk");
    QCOMPARE(sendAll(session, {Probe, Version}), QList<QByteArray>{bytes({0, 0, 23, 1})});
    session.send("fiusfiuk");
    QCOMPARE(sendAll(session, {Probe, Version}), QList<QByteArray>{Handshake});
}

void TestSimulatedConverter::stopPrefixBinding_data()
{
    QTest::addColumn<bool>("readsAreSends");
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::addColumn<int>("pauseMs");       // between the sends
    QTest::addColumn<bool>("toggled");      // else the table was reset

    QTest::newRow("packets: one send") << true << QList<QByteArray>{"fiusfiuk"} << 0 << true;
    QTest::newRow("packets: two sends at once") << true << QList<QByteArray>{"fius", "fiuk"} << 0 << false;
    QTest::newRow("stream: one read") << false << QList<QByteArray>{"fiusfiuk"} << 0 << true;
    QTest::newRow("stream: split read, no pause") << false << QList<QByteArray>{"fiu", "sfi", "uk"} << 0 << true;
    QTest::newRow("stream: split read, short pause") << false << QList<QByteArray>{"fius", "fiuk"} << 30 << true;
    QTest::newRow("stream: stop, then reset 200 ms later") << false << QList<QByteArray>{"fius", "fiuk"} << 200 << false;
}

void TestSimulatedConverter::stopPrefixBinding()
{
    QFETCH(bool, readsAreSends);
    QFETCH(QList<QByteArray>, sends);
    QFETCH(int, pauseMs);
    QFETCH(bool, toggled);
    DeviceSession session(SimulatorOptions(), readsAreSends);
    session.device.setTable(7, 8);
    for (const QByteArray& send : sends) {
        session.send(send);
        session.collect(pauseMs);
    }
    session.collect(1000);
    const SimulatorState s = session.device.state();
    QCOMPARE(s.referenceMode, toggled ? 1 : 0);
    QCOMPARE(int(s.ramTable[0]), toggled ? 7 : 100);
}

void TestSimulatedConverter::strayBytesAreSkipped_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("noise before") << QByteArray("\x00\xff\x13xy", 5) + "fiusfiur" << FactoryTable;
    QTest::newRow("a doubled f") << QByteArray("ffiusfiur") << FactoryTable;
    QTest::newRow("a broken word before") << QByteArray("fifiufiusfiur") << FactoryTable;
    QTest::newRow("two stops") << QByteArray("fiusfiusfiur") << FactoryTable;
    QTest::newRow("broken version query, then a good one")
        << QByteArray("fiusfiuvXfiusfiuv") + QByteArray(1, '\0') << Handshake;
    QTest::newRow("zero bytes between") << QByteArray("\0\0fiusfiur", 10) << FactoryTable;
}

void TestSimulatedConverter::strayBytesAreSkipped()
{
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, expected);
    for (bool readsAreSends : {true, false}) {
        DeviceSession session(SimulatorOptions(), readsAreSends);
        QCOMPARE(joined(session.sendAndWait(read, 200)), expected);
    }
}

// The client's whole repertoire back to back; a pty may cut it anywhere.
void TestSimulatedConverter::anyChunkingGivesTheSameSession()
{
    const QList<QByteArray> sends = {
        Probe, Version, "fiusfiur", "fiusfiuw", bytes({0xE7}), "fiusfiur", "fiut", bytes({1, 2}),
        "fiuc", bytes({37}), bytes({1}), "fiug", bytes({0}), bytes({255}), "fiub", bytes({0xF1}), bytes({255}),
        "fiub", bytes({5}), "fiusfiuk", Probe, Version, "fiusfiug", "fiusfiuz", "fiuk", "fiusfiur",
        "fiud", bytes({0, 2, 0xAB, 0xCD}), bytes({0, 0})};
    const QByteArray stream = joined(sends);
    const QByteArray expected = joined({Handshake, FactoryTable, bytes({0xE7}), bytes({0xE7, 0}),
                                        bytes({0, 0, 23, 1}), FactoryTable, bytes({0x11}), bytes({0x11})});

    auto check = [&](const QList<QByteArray>& reads, bool readsAreSends, const char* how) {
        DeviceSession session(SimulatorOptions(), readsAreSends);
        const QByteArray out = joined(sendAll(session, reads));
        const SimulatorState s = session.device.state();
        if (out != expected || s.correction != -37 || s.mafEnd != 255 || s.offset != 5 || s.anglePreview != -15
            || s.referenceMode != 1 || s.firmwareBlocks.size() != 2 || int(s.ramTable[0]) != 100)
            QFAIL(qPrintable(QStringLiteral("%1: got %2").arg(QLatin1String(how), QString::fromLatin1(out.toHex(' ')))));
    };
    check(sends, true, "one read per send");
    check({stream}, false, "one read");
    QList<QByteArray> single;
    for (char c : stream)
        single.append(QByteArray(1, c));
    check(single, false, "byte by byte");
    for (qsizetype cut = 1; cut < stream.size(); ++cut)
        check({stream.left(cut), stream.mid(cut)}, false, qPrintable(QStringLiteral("cut at %1").arg(cut)));
}

void TestSimulatedConverter::firmwareModeEndsAfterSilence()
{
    DeviceSession session;
    session.send("fiud");
    QVERIFY(session.device.state().firmwareMode);
    // In firmware mode a command word is only block bytes.
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{});
    session.collect(ConverterCommandParser::FirmwareIdleMs - 1);
    QVERIFY(session.device.state().firmwareMode);
    session.collect(1);
    QVERIFY(!session.device.state().firmwareMode);
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{FactoryTable});
}

void TestSimulatedConverter::noiseIsSurvived()
{
    QRandomGenerator random(4711);
    for (bool readsAreSends : {true, false}) {
        DeviceSession session(SimulatorOptions(), readsAreSends);
        for (int i = 0; i < 3000; ++i) {
            QByteArray chunk(random.bounded(1, 12), '\0');
            for (char& c : chunk)
                c = char(random.bounded(256) < 40 ? "fiusvlrwgzktcbd\0"[random.bounded(16)] : random.bounded(256));
            session.send(chunk);
            session.collect(random.bounded(30));
        }
        QVERIFY(session.device.received().size() > 10000);
    }
}

void TestSimulatedConverter::receivedBytesAreRecordedPerRead()
{
    DeviceSession session;
    sendAll(session, {Probe, Version, "fiusfiuw", bytes({0xE7})});
    QCOMPARE(session.device.received(), Probe + Version + "fiusfiuw" + bytes({0xE7}));
    QCOMPARE(session.device.receivedReads(), (QList<QByteArray>{Probe, Version, "fiusfiuw", bytes({0xE7})}));
    session.device.clearReceived();
    QCOMPARE(session.device.received(), QByteArray());
    QCOMPARE(session.device.receivedReads(), QList<QByteArray>{});
}

void TestSimulatedConverter::silentSendsNothing()
{
    SimulatorFaults faults;
    faults.silent = true;
    faults.staleBytes = "zz";
    DeviceSession session(withFaults(faults));
    QCOMPARE(sendAll(session, {Probe, Version, "fiusfiur", "fiusfiuw", bytes({9}), "fiusfiul"}), QList<QByteArray>{});
    QCOMPARE(session.collect(1000), QList<QByteArray>{});
    QCOMPARE(sendAll(session, {"fius", "fiud", bytes({0, 1, 2})}), QList<QByteArray>{});
    // It still listens.
    QCOMPARE(int(session.device.state().ramTable[0]), 9);
}

void TestSimulatedConverter::wrongHandshakeAnswer()
{
    SimulatorFaults faults;
    faults.handshakeAnswer = bytes({1, 0, 23, 0});
    DeviceSession session(withFaults(faults));
    QCOMPARE(sendAll(session, {Probe, Version}), QList<QByteArray>{bytes({1, 0, 23, 0})});
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{FactoryTable});
}

void TestSimulatedConverter::shortAnswers_data()
{
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("handshake") << QList<QByteArray>{Probe, Version} << QList<QByteArray>{bytes({0, 0, 23})};
    QTest::newRow("table read") << QList<QByteArray>{"fiusfiur"} << QList<QByteArray>{bytes({100})};
    QTest::newRow("write echo missing") << QList<QByteArray>{"fiusfiuw", bytes({5})} << QList<QByteArray>{};
    QTest::newRow("block acknowledgement whole") << QList<QByteArray>{"fiud", bytes({0, 0})} << QList<QByteArray>{bytes({0x11})};
}

void TestSimulatedConverter::shortAnswers()
{
    QFETCH(QList<QByteArray>, sends);
    QFETCH(QList<QByteArray>, expected);
    SimulatorFaults faults;
    faults.shortAnswers = true;
    DeviceSession session(withFaults(faults));
    QList<QByteArray> packets = sendAll(session, sends);
    packets += session.collect(1000);
    QCOMPARE(packets, expected);
}

void TestSimulatedConverter::delayedAnswer()
{
    SimulatorFaults faults;
    faults.answerDelayMs = 300;
    DeviceSession session(withFaults(faults));
    QCOMPARE(session.send("fiusfiur"), QList<QByteArray>{});
    QCOMPARE(session.collect(299), QList<QByteArray>{});
    QCOMPARE(session.collect(1), QList<QByteArray>{FactoryTable});
    // A stream starts late as well.
    session.send("fiusfiul");
    QCOMPARE(session.collect(300 + P::FramePeriodMs - 1), QList<QByteArray>{});
    QCOMPARE(session.collect(1).size(), 1);
}

void TestSimulatedConverter::trickledAnswer()
{
    SimulatorFaults faults;
    faults.trickleMs = 40;
    DeviceSession session(withFaults(faults));
    session.send(Probe);
    session.device.receive(Version, session.now);
    const auto outputs = session.outputs(1000);
    QCOMPARE(outputs.size(), std::size_t(4));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(outputs[std::size_t(i)].bytes, Handshake.mid(i, 1));
        QCOMPARE(outputs[std::size_t(i)].dueMs, 1000 + 40 * i);
    }
}

void TestSimulatedConverter::staleBytesFollowEachCommand_data()
{
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::addColumn<QList<QByteArray>>("expected");
    const QByteArray stale = "\x55\xAA";
    QTest::newRow("after the probe, before the answer")
        << QList<QByteArray>{Probe, Version} << QList<QByteArray>{stale, Handshake, stale};
    QTest::newRow("write: after the word and after the echo")
        << QList<QByteArray>{"fiusfiuw", bytes({3})} << QList<QByteArray>{stale, bytes({3}), stale};
    QTest::newRow("after a stop") << QList<QByteArray>{"fius"} << QList<QByteArray>{stale};
    QTest::newRow("after a block's acknowledgement")
        << QList<QByteArray>{"fiud", bytes({0, 0})} << QList<QByteArray>{stale, bytes({0x11}), stale};
}

void TestSimulatedConverter::staleBytesFollowEachCommand()
{
    QFETCH(QList<QByteArray>, sends);
    QFETCH(QList<QByteArray>, expected);
    SimulatorFaults faults;
    faults.staleBytes = "\x55\xAA";
    DeviceSession session(withFaults(faults));
    QCOMPARE(sendAll(session, sends), expected);
    session.collect(ConverterCommandParser::FirmwareIdleMs);

    // A stream starts with a frame, not with stale bytes.
    const QList<QByteArray> stream = session.sendAndWait("fiusfiul", P::FramePeriodMs);
    QCOMPARE(stream.size(), 1);
    QVERIFY(checksOut(stream.first()));
}

void TestSimulatedConverter::badCheckBytes_data()
{
    QTest::addColumn<int>("every");
    QTest::addColumn<int>("runStart");
    QTest::addColumn<int>("runLength");
    QTest::addColumn<QString>("pattern");     // '+' good, '-' bad, frames 0..9 of the stream
    QTest::newRow("none") << 0 << 0 << 0 << "++++++++++";
    QTest::newRow("every 3rd") << 3 << 0 << 0 << "++-++-++-+";
    QTest::newRow("3 in a row from frame 2") << 0 << 2 << 3 << "++---+++++";
    QTest::newRow("the first 4") << 0 << 0 << 4 << "----++++++";
}

void TestSimulatedConverter::badCheckBytes()
{
    QFETCH(int, every);
    QFETCH(int, runStart);
    QFETCH(int, runLength);
    QFETCH(QString, pattern);
    SimulatorFaults faults;
    faults.badCrcEvery = every;
    faults.badCrcRunStart = runStart;
    faults.badCrcRunLength = runLength;
    DeviceSession session(withFaults(faults));
    for (int stream = 0; stream < 2; ++stream) {    // counted afresh for each stream
        session.send("fiusfiul");
        const QList<QByteArray> frames = session.collect(10 * P::FramePeriodMs);
        session.send("fius");
        QString got;
        for (const QByteArray& frame : frames) {
            QCOMPARE(frame.size(), P::FrameSize);
            got += checksOut(frame) ? QLatin1Char('+') : QLatin1Char('-');
        }
        QCOMPARE(got, pattern);
    }
}

void TestSimulatedConverter::dropAfterFrames_data()
{
    QTest::addColumn<bool>("midFrame");
    QTest::newRow("between frames") << false;
    QTest::newRow("in the middle of a frame") << true;
}

void TestSimulatedConverter::dropAfterFrames()
{
    QFETCH(bool, midFrame);
    SimulatorFaults faults;
    faults.dropAfterFrames = 3;
    faults.dropMidFrame = midFrame;
    DeviceSession session(withFaults(faults));
    session.send("fiusfiul");
    const QList<QByteArray> packets = session.collect(1000);
    QVERIFY(session.hungUp);
    QCOMPARE(packets.size(), midFrame ? 4 : 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(checksOut(packets.at(i)));
    if (midFrame)
        QCOMPARE(packets.at(3).size(), P::FrameSize / 2);
    QVERIFY(session.device.state().hungUp);
    QCOMPARE(session.sendAndWait("fiusfiur", 1000), QList<QByteArray>{});
}

void TestSimulatedConverter::dropAfterReceivedBytes()
{
    SimulatorFaults faults;
    faults.dropAfterReceivedBytes = 8;
    DeviceSession session(withFaults(faults));
    QCOMPARE(session.send("fiusfiuw"), QList<QByteArray>{});
    QVERIFY(session.hungUp);
    QCOMPARE(session.send(bytes({5})), QList<QByteArray>{});
    QCOMPARE(int(session.device.state().ramTable[0]), 100);
    // What arrived is still on record.
    QCOMPARE(session.device.received(), QByteArray("fiusfiuw") + bytes({5}));
}

void TestSimulatedConverter::rejectedBlocks_data()
{
    QTest::addColumn<int>("rejectBlock");
    QTest::addColumn<int>("rejectTimes");
    QTest::addColumn<QByteArray>("acks");    // answers to: block 0 until accepted, then block 1 until accepted
    QTest::newRow("every block twice") << -1 << 2 << bytes({0, 0, 0x11, 0, 0, 0x11});
    QTest::newRow("block 0 three times") << 0 << 3 << bytes({0, 0, 0, 0x11, 0x11});
    QTest::newRow("block 1 once") << 1 << 1 << bytes({0x11, 0, 0x11});
}

void TestSimulatedConverter::rejectedBlocks()
{
    QFETCH(int, rejectBlock);
    QFETCH(int, rejectTimes);
    QFETCH(QByteArray, acks);
    SimulatorFaults faults;
    faults.rejectBlock = rejectBlock;
    faults.rejectTimes = rejectTimes;
    DeviceSession session(withFaults(faults));
    session.send("fiud");
    const QList<QByteArray> blocks = {bytes({0, 2, 0xA0, 0xA1}), bytes({0, 1, 0xB0})};
    QByteArray got;
    for (const QByteArray& block : blocks) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            const QByteArray ack = joined(session.send(block));
            QCOMPARE(ack.size(), 1);
            got += ack;
            if (ack.at(0) == char(P::BlockAccepted))
                break;
        }
    }
    QCOMPARE(got, acks);
    QCOMPARE(session.device.state().firmwareBlocks, blocks);
    QCOMPARE(session.device.state().firmwareRejections, int(acks.count(char(0))));
}

void TestSimulatedConverter::neverAcknowledgedBlock()
{
    SimulatorFaults faults;
    faults.silentBlock = 1;
    DeviceSession session(withFaults(faults));
    session.send("fiud");
    QCOMPARE(session.send(bytes({0, 1, 0xA0})), QList<QByteArray>{bytes({0x11})});
    QCOMPARE(session.sendAndWait(bytes({0, 1, 0xB0}), 2000), QList<QByteArray>{});
    QCOMPARE(session.sendAndWait(bytes({0, 1, 0xB0}), 500), QList<QByteArray>{});
    QCOMPARE(session.device.state().firmwareBlocks.size(), 1);
}

QTEST_APPLESS_MAIN(TestSimulatedConverter)
#include "tst_simulatedconverter.moc"
