#include "commandline.h"
#include "recordingnotifier.h"
#include "tabbedform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QStackedWidget>
#include <QTest>

class TestWindowShell : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheDashboardPage();
    void parsesHelpVersionAndRejectsUnknownOptions();
    void linkOptions_data();
    void linkOptions();
};

void TestWindowShell::opensOnTheDashboardPage()
{
    // A fresh working directory, and the start-up message recorded instead of shown.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    RecordingNotifier notifier;
    TTabbedForm form(&notifier);
    form.show();
    QDir::setCurrent(previous);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QString("ZantoTPS"));
    QCOMPARE(form.size(), QSize(394, 689));

    auto* pages = form.findChild<QStackedWidget*>("MTabControl");
    QVERIFY(pages != nullptr);
    QCOMPARE(pages, form.MTabControl);
    QCOMPARE(pages->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(pages->widget(i)->objectName(), QStringLiteral("TabItem%1").arg(i + 1));
    QCOMPARE(pages->currentWidget()->objectName(), QString("TabItem4"));
}

void TestWindowShell::parsesHelpVersionAndRejectsUnknownOptions()
{
    const ClientOptions help = parseClientOptions({"zantotps", "--help"});
    QVERIFY(help.showHelp);
    QVERIFY(help.helpText.contains("--version"));

    const ClientOptions version = parseClientOptions({"zantotps", "--version"});
    QVERIFY(version.showVersion);
    QVERIFY(version.versionText.startsWith("zantotps "));

    const ClientOptions plain = parseClientOptions({"zantotps"});
    QVERIFY(plain.error.isEmpty());
    QVERIFY(!plain.showHelp && !plain.showVersion);

    const ClientOptions bad = parseClientOptions({"zantotps", "--no-such-option"});
    QVERIFY(bad.error.contains("no-such-option"));
    QVERIFY(!plain.link.simulator);
    QVERIFY(plain.link.ports.isEmpty());
}

void TestWindowShell::linkOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("simulator");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<int>("baud");
    QTest::addColumn<QString>("error");
    QTest::newRow("simulator") << QStringList{"--simulator"} << true << QStringList() << 115200 << QString();
    QTest::newRow("two ports") << QStringList{"--port", "/dev/ttyUSB0", "--port=/tmp/pty1"} << false
                               << QStringList{"/dev/ttyUSB0", "/tmp/pty1"} << 115200 << QString();
    QTest::newRow("baud") << QStringList{"--port", "/dev/rfcomm0", "--baud", "9600"} << false
                          << QStringList{"/dev/rfcomm0"} << 9600 << QString();
    QTest::newRow("odd baud") << QStringList{"--baud", "12345"} << false << QStringList() << 115200
                              << QString("Unsupported baud rate '12345'.");
    QTest::newRow("no number") << QStringList{"--baud", "fast"} << false << QStringList() << 115200
                               << QString("Unsupported baud rate 'fast'.");
    QTest::newRow("port without path") << QStringList{"--port"} << false << QStringList() << 115200
                                       << QString("Missing value after '--port'.");
    QTest::newRow("stray argument") << QStringList{"extra"} << false << QStringList() << 115200
                                    << QString("Unexpected argument 'extra'.");
}

void TestWindowShell::linkOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, simulator);
    QFETCH(QStringList, ports);
    QFETCH(int, baud);
    QFETCH(QString, error);
    const ClientOptions options = parseClientOptions(QStringList{"zantotps"} + arguments);
    QCOMPARE(options.error, error);
    if (!error.isEmpty())
        return;
    QCOMPARE(options.link.simulator, simulator);
    QCOMPARE(options.link.ports, ports);
    QCOMPARE(options.link.baud, baud);
}

QTEST_MAIN(TestWindowShell)
#include "tst_windowshell.moc"
