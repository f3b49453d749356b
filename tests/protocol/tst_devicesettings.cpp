#include "converterfixture.h"
#include "devicesettings.h"
#include "tableview.h"

#include <QElapsedTimer>
#include <QTest>

using Entry = RecordingNotifier::Entry;
constexpr auto Message = RecordingNotifier::Message;

namespace {

// Counts redraws the store asks of its charts.
class CountingView : public TableView {
public:
    void redrawTableChart(const Table&) override {}
    void redrawDashboardChart(const Table&) override { ++dashboardRedraws; }
    int dashboardRedraws = 0;
};

}  // namespace

class TestDeviceSettings : public QObject {
    Q_OBJECT
private slots:
    void correctionSendsMagnitudeAndSign_data();
    void correctionSendsMagnitudeAndSign();
    void correctionWhileDisconnectedOnlyRedraws();
    void anglePreviewIsSentWhateverTheFlag();
    void offsetSendsItsLowByte();
    void calibrationStopsLoggingThenSends_data();
    void calibrationStopsLoggingThenSends();
    void commandsRefuseWithoutAConverter();
    void referenceSwitchWarnsAndDropsTheLink_data();
    void referenceSwitchWarnsAndDropsTheLink();
    void resetPausesSendsAndReadsBack();
};

void TestDeviceSettings::correctionSendsMagnitudeAndSign_data()
{
    QTest::addColumn<int>("corr");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QByteArray>>("sends");
    QTest::newRow("-37") << -37 << 1 << QList<QByteArray>{"fiuc", QByteArray("\x25\x01", 2)};
    QTest::newRow("+37") << 37 << 1 << QList<QByteArray>{"fiuc", QByteArray("\x25\x00", 2)};
    QTest::newRow("MAF border whatever the value") << 99 << 2 << QList<QByteArray>{"fiug", QByteArray("\x00\xFF", 2)};
}

void TestDeviceSettings::correctionSendsMagnitudeAndSign()
{
    QFETCH(int, corr);
    QFETCH(int, kind);
    QFETCH(QList<QByteArray>, sends);
    ConnectedConverter c;
    CountingView view;
    c.table.setView(&view);
    c.table.SetUpDashboardChart();
    const int before = view.dashboardRedraws;

    SendCorrection(c.table, corr, 20, 200, kind);
    QVERIFY(c.device.waitForReads(sends.size(), 1000));
    QCOMPARE(c.sends(), sends);
    QCOMPARE(c.table.corrValue, corr);
    QCOMPARE(c.table.begPoint, 20);
    QCOMPARE(c.table.endPoint, 200);
    QCOMPARE(view.dashboardRedraws, before + 1);
}

void TestDeviceSettings::correctionWhileDisconnectedOnlyRedraws()
{
    ConnectedConverter c;
    CountingView view;
    c.table.setView(&view);
    c.table.SetUpDashboardChart();
    const int before = view.dashboardRedraws;
    c.rxtx.Connected = 0;
    SendCorrection(c.table, -5, 0, 255, 1);
    SendOffset(&c.rxtx, 30);
    QVERIFY(!c.device.waitForReads(1, 200));
    QVERIFY(c.notifier.entries.isEmpty());
    QCOMPARE(c.table.corrValue, -5);
    QCOMPARE(view.dashboardRedraws, before + 1);
}

void TestDeviceSettings::anglePreviewIsSentWhateverTheFlag()
{
    ConnectedConverter c;
    c.rxtx.Connected = 0;  // the preview only needs an open socket
    SendAngle(&c.rxtx, -1.5);
    QVERIFY(c.device.waitForReads(3, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiub", "\xF1", "\xFF"}));
    QCOMPARE(c.device.state().anglePreview, -15);

    // Without a socket nothing is sent and nothing is shown.
    c.link.CloseSocket();
    SendAngle(&c.rxtx, 3.0);
    SendAngle(nullptr, 3.0);
    QVERIFY(c.notifier.entries.isEmpty());
}

void TestDeviceSettings::offsetSendsItsLowByte()
{
    ConnectedConverter c;
    SendOffset(&c.rxtx, -40);
    QVERIFY(c.device.waitForReads(2, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiub", "\xD8"}));
}

void TestDeviceSettings::calibrationStopsLoggingThenSends_data()
{
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("closed") << true << QByteArray("fiusfiug");
    QTest::newRow("open") << false << QByteArray("fiusfiuz");
}

void TestDeviceSettings::calibrationStopsLoggingThenSends()
{
    QFETCH(bool, closed);
    QFETCH(QByteArray, command);
    ConnectedConverter c;
    int stops = 0;
    Calibrate(&c.rxtx, c.notifier, closed, [&] {
        QCOMPARE(c.device.receivedReads().size(), 0);  // logging stops before anything is sent
        ++stops;
    });
    QCOMPARE(stops, 1);
    QVERIFY(c.device.waitForReads(1, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({command}));
    QVERIFY(c.notifier.entries.isEmpty());
}

void TestDeviceSettings::commandsRefuseWithoutAConverter()
{
    ConnectedConverter c;
    c.rxtx.Connected = 0;
    int stops = 0;
    const auto stop = [&] { ++stops; };
    Calibrate(&c.rxtx, c.notifier, true, stop);
    QVERIFY(!ToggleReference(&c.rxtx, c.notifier, true, {}));
    ResetTable(c.table, stop);
    Calibrate(nullptr, c.notifier, true, stop);
    QCOMPARE(c.notifier.texts(Message), QStringList(4, "Converter is not connected"));
    QCOMPARE(stops, 0);
    QVERIFY(!c.device.waitForReads(1, 200));
}

void TestDeviceSettings::referenceSwitchWarnsAndDropsTheLink_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<quint32>("label8");
    QTest::addColumn<quint32>("label9");
    QTest::addColumn<QString>("memo");
    QTest::newRow("3PIN") << true << 0xFFC0C0C0u << 0xFFFF0000u
                          << "ВНИМАНИЕ!!!\nПерезапустите  конвертер и приложение. \nATTENTION!\n"
                             "Restart  the converter and  the application ";
    QTest::newRow("4PIN") << false << 0xFFFF0000u << 0xFFC0C0C0u
                          << "ВНИМАНИЕ!!!\nВыключите зажигание и перезапустите  конвертер и приложение. "
                             "\nATTENTION!\nRestart  the converter and  the application";
}

void TestDeviceSettings::referenceSwitchWarnsAndDropsTheLink()
{
    QFETCH(bool, checked);
    QFETCH(quint32, label8);
    QFETCH(quint32, label9);
    QFETCH(QString, memo);
    ConnectedConverter c;
    PinLabelColours colours{};
    QString memoText;
    ReferenceSwitchView view{[&](const PinLabelColours& p) { colours = p; },
                             [&](const QString& t) { memoText = t; }};
    QVERIFY(ToggleReference(&c.rxtx, c.notifier, checked, view));
    QCOMPARE(colours.label8, label8);
    QCOMPARE(colours.label9, label9);
    QCOMPARE(memoText, memo);
    QCOMPARE(c.notifier.texts(Message),
             QStringList({"Подождите 5 ceк. затем нажмите OK \n Wait 5 sec.  and then press OK"}));
    QVERIFY(c.device.waitForReads(1, 1000));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiusfiuk"}));
    QCOMPARE(int(c.link.Connected), 0);
    QCOMPARE(int(c.rxtx.Connected), 0);
    QVERIFY(!c.link.HasSocket());
    QCOMPARE(c.device.state().referenceMode, 1);

    // Afterwards every command refuses until a new connection.
    c.notifier.clear();
    Calibrate(&c.rxtx, c.notifier, true, {});
    QCOMPARE(c.notifier.texts(Message), QStringList({"Converter is not connected"}));
}

void TestDeviceSettings::resetPausesSendsAndReadsBack()
{
    ConnectedConverter c;
    c.device.setTable(0x30, 0x01);  // changed since the factory set-up
    c.table.tab[0] = 0;
    c.table.trained[7] = 99;
    c.table.trained[250] = 42;
    int stops = 0;
    QElapsedTimer clock;
    clock.start();
    ResetTable(c.table, [&] { ++stops; });
    QCOMPARE(stops, 1);
    // 200 ms, "fiuk", 200 ms, then the read with its 500 ms drain.
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(c.sends(), QList<QByteArray>({"fiuk", "fiusfiur"}));
    QCOMPARE(c.table.tab[0], 100);  // the Converter's factory value after its reset
    QCOMPARE(c.table.trained[7], 0);
    QCOMPARE(c.table.trained[250], 0);
}

QTEST_GUILESS_MAIN(TestDeviceSettings)
#include "tst_devicesettings.moc"
