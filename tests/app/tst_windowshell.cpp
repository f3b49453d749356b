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
}

QTEST_MAIN(TestWindowShell)
#include "tst_windowshell.moc"
