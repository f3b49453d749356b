#include "commandline.h"
#include "datafolder.h"
#include "recordingnotifier.h"
#include "tabbedform.h"

#include <QDir>
#include <QFile>
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
    void dataFolderOptions_data();
    void dataFolderOptions();
    void entersANewNestedDataFolder();
    void refusesADataFolderItCannotMake();
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


void TestWindowShell::dataFolderOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("error");
    QTest::newRow("none") << QStringList() << QString() << QString();
    QTest::newRow("data-dir") << QStringList{"--data-dir", "/tmp/a b"} << QString("/tmp/a b") << QString();
    QTest::newRow("user-data") << QStringList{"--user-data"} << userDataFolder() << QString();
    QTest::newRow("empty") << QStringList{"--data-dir="} << QString() << QString("The data folder name is empty.");
    QTest::newRow("both") << QStringList{"--user-data", "--data-dir", "x"} << QString()
                          << QString("Give either --data-dir or --user-data, not both.");
}

void TestWindowShell::dataFolderOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    QFETCH(QString, error);
    arguments.prepend("zantotps");
    const ClientOptions options = parseClientOptions(arguments);
    QCOMPARE(options.error, error);
    QCOMPARE(options.dataFolder, folder);
    QVERIFY(parseClientOptions({"zantotps", "--help"}).helpText.contains("--data-dir <DIR>"));
}

void TestWindowShell::entersANewNestedDataFolder()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    const QString target = dir.path() + "/one/two";
    QCOMPARE(enterDataFolder(target), QString());
    const QString now = QDir::currentPath();
    QDir::setCurrent(previous);
    QCOMPARE(now, target);
    // The write check leaves nothing behind.
    QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestWindowShell::refusesADataFolderItCannotMake()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QFile file(dir.path() + "/plain");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(enterDataFolder(file.fileName()),
             QString("Cannot use the data folder '%1': it is not a folder.").arg(file.fileName()));
    QCOMPARE(enterDataFolder(file.fileName() + "/sub"),
             QString("Cannot create the data folder '%1/sub'.").arg(file.fileName()));
    QCOMPARE(QDir::currentPath(), previous);
}

QTEST_MAIN(TestWindowShell)
#include "tst_windowshell.moc"
