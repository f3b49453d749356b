#include "tabbedform.h"

#include "filebrowser.h"
#include "formanimation.h"
#include "formtexts.h"
#include "languagetexts.h"
#include "o2refgrid.h"
#include "otherpages.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "roundbutton.h"
#include "tablepage.h"
#include "toastlayer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

// The text the person sees on a control of the tables.
std::optional<QString> shownText(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* round = qobject_cast<const RoundButton*>(control))
        if (round->text())
            return round->text()->text();
    return std::nullopt;
}

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

// Every text of the window besides the toast, by object name; the texts the
// tables do not list must come through a switch unchanged.
QMap<QString, QString> allTexts(const QWidget* form)
{
    QMap<QString, QString> texts;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName() == "MsgText")
            continue;
        if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w))
            texts.insert(w->objectName(), *shownText(w));
    }
    return texts;
}

}  // namespace

// Runs a checking helper and leaves the test function when it failed, so
// that one fault is reported once.
#define STEP(call)                                                                                                     \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

// The two languages of the main window, driven through its language button,
// each test in a fresh working directory holding the config.cfg it writes.
class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { layoutForm.reset(); }
    void init();
    void cleanup();

    void everyControlOfTheTablesExists_data();
    void everyControlOfTheTablesExists();
    void startsInEnglishFromSavedOne();
    void storedLanguageOtherThanOneGivesRussian_data();
    void storedLanguageOtherThanOneGivesRussian();
    void switchingTwiceRestoresEveryText();
    void designTextWithTwoBlanksIsReplaced();
    void comboBoxesHaveNoSelectionAfterASwitch();
    void storedSelectionIsClearedByTheStartUpApplication();
    void choiceSurvivesARestart();
    void defaultsMessageFollowsTheLanguage();
    void fileBrowserCaptionsFollowTheLanguage();

private:
    std::unique_ptr<TTabbedForm> start();
    void writeState(quint8 languageId, int o2OutputIndex = 0, int tpsUnitIndex = 0);
    // Clicks the language button and waits for its switch.
    void switchLanguage(TTabbedForm& form);
    // Asserts every text of the four tables, the button and the captions.
    void verifyLanguage(const TTabbedForm& form, bool english);

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    // One window for the rows of the existence test.
    std::unique_ptr<TTabbedForm> layoutForm;
    RecordingNotifier notifier;
};

void TestLanguage::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    notifier.clear();
}

void TestLanguage::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

std::unique_ptr<TTabbedForm> TestLanguage::start()
{
    auto form = std::make_unique<TTabbedForm>(&notifier);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

void TestLanguage::writeState(quint8 languageId, int o2OutputIndex, int tpsUnitIndex)
{
    ProgramState state;
    state.LanguageId = languageId;
    state.o2OutputUnitIndex = o2OutputIndex;
    state.tpsSetupUnitIndex = tpsUnitIndex;
    O2RefGrid grid;
    grid.FillO2Defaults(25, 6500, 100);
    SaveProgramState("config.cfg", state, grid, notifier);
    QVERIFY(notifier.entries.isEmpty());
}

void TestLanguage::switchLanguage(TTabbedForm& form)
{
    const QString before = form.Bar->Lang_txt->text();
    QTest::mouseClick(form.Bar->RoundRect1, Qt::LeftButton);
    // The click only starts the colour animation; the switch is its finish.
    QCOMPARE(form.Bar->Lang_txt->text(), before);
    QVERIFY(form.Bar->LangAnimation->Enabled());
    QTRY_VERIFY(form.Bar->Lang_txt->text() != before);
    QVERIFY(!form.Bar->LangAnimation->Enabled());
}

void TestLanguage::verifyLanguage(const TTabbedForm& form, bool english)
{
    for (const ControlText& entry : LanguageTexts::controlTexts()) {
        const auto* control = form.findChild<QWidget*>(entry.control);
        if (!control)
            continue;  // reported by everyControlOfTheTablesExists
        const std::optional<QString> text = shownText(control);
        QVERIFY2(text, entry.control);
        QCOMPARE(*text, english ? entry.english : entry.russian);
    }
    for (const ComboItems& entry : LanguageTexts::comboItems()) {
        const auto* box = form.findChild<QComboBox*>(entry.comboBox);
        QVERIFY2(box, entry.comboBox);
        QCOMPARE(comboItems(box), english ? entry.english : entry.russian);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());
    }
    const QStringList help = memoLines(form.Hotkeys->Memo1);
    QCOMPARE(help.size(), 18);
    QCOMPARE(help, LanguageTexts::hotKeyHelp(english ? 1 : 0));
    QCOMPARE(form.Bar->Lang_txt->text(), QString(english ? "En" : "Ru"));
    const QStringList captions = english ? QStringList{"Save File:", "Open File:", "Cancel"}
                                         : QStringList{"Сохранить файл:", "Открыть файл:", "Отмена"};
    QCOMPARE(form.FileDialogCaptions, captions);
}

void TestLanguage::everyControlOfTheTablesExists_data()
{
    QTest::addColumn<QString>("name");
    for (const ControlText& entry : LanguageTexts::controlTexts())
        QTest::newRow(entry.control) << QString::fromLatin1(entry.control);
}

void TestLanguage::everyControlOfTheTablesExists()
{
    QFETCH(QString, name);
    if (!layoutForm)
        layoutForm = std::make_unique<TTabbedForm>(&notifier);
    const QList<QWidget*> found = layoutForm->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(shownText(found.first()), "the control shows no text");
}

void TestLanguage::startsInEnglishFromSavedOne()
{
    STEP(writeState(1));
    TTabbedForm form(&notifier);
    // Applied while the window is created, right after the state is loaded.
    QCOMPARE(form.LanguageId, quint8(1));
    STEP(verifyLanguage(form, true));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    STEP(verifyLanguage(form, true));
    QVERIFY(notifier.entries.isEmpty());
    QCOMPARE(form.MTabControl->currentIndex(), TTabbedForm::DashboardPageIndex);

    const QString shots = qEnvironmentVariable("ZANTO_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QTest::qWait(400);  // the voltmeter's start-up channel animation
        QVERIFY(form.grab().save(QDir(shots).filePath("dashboard-english.png")));
    }
}

void TestLanguage::storedLanguageOtherThanOneGivesRussian_data()
{
    QTest::addColumn<quint8>("stored");
    QTest::newRow("0") << quint8(0);
    QTest::newRow("7") << quint8(7);
    QTest::newRow("255") << quint8(255);
}

void TestLanguage::storedLanguageOtherThanOneGivesRussian()
{
    QFETCH(quint8, stored);
    STEP(writeState(stored));
    auto form = start();
    QVERIFY(form);
    STEP(verifyLanguage(*form, false));
    // The button's text decides the way it switches: from "Ru" to English.
    STEP(switchLanguage(*form));
    QCOMPARE(form->LanguageId, quint8(1));
    STEP(verifyLanguage(*form, true));
}

void TestLanguage::switchingTwiceRestoresEveryText()
{
    STEP(writeState(1));
    auto form = start();
    QVERIFY(form);
    const QMap<QString, QString> english = allTexts(form.get());
    QVERIFY(english.size() > LanguageTexts::controlTexts().size() / 2);

    STEP(switchLanguage(*form));
    QCOMPARE(form->LanguageId, quint8(0));
    STEP(verifyLanguage(*form, false));
    QCOMPARE(form->ToastLayout->MsgText->text(), QString("Русский язык"));
    // Shown, then set fading: the name stays 0.5 s and then fades out.
    QVERIFY(form->ToastLayout->ToastAnimation->Enabled());
    QCOMPARE(widgetOpacity(form->ToastLayout), 1.0);
    QTRY_COMPARE_WITH_TIMEOUT(widgetOpacity(form->ToastLayout), 0.0, 1500);
    // Texts the tables do not list stay as the layout has them.
    const QMap<QString, QString> russian = allTexts(form.get());
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        const bool listed = std::any_of(LanguageTexts::controlTexts().cbegin(), LanguageTexts::controlTexts().cend(),
                                        [&](const ControlText& e) { return it.key() == QLatin1String(e.control); });
        if (!listed && it.key() != "Lang_txt")
            QCOMPARE(russian.value(it.key()), it.value());
    }

    STEP(switchLanguage(*form));
    QCOMPARE(form->LanguageId, quint8(1));
    STEP(verifyLanguage(*form, true));
    QCOMPARE(form->ToastLayout->MsgText->text(), QString("English "));
    QVERIFY(form->ToastLayout->ToastAnimation->Enabled());
    QCOMPARE(allTexts(form.get()), english);
}

void TestLanguage::designTextWithTwoBlanksIsReplaced()
{
    // The layout's own text, before any language is applied, has two blanks.
    QCOMPARE(QString::fromUtf8(FormTexts::OxygenTest), QString("Тест  на исправность"));
    auto form = start();  // no state file: Russian
    QVERIFY(form);
    auto* test = form->findChild<QAbstractButton*>("OsTest_btn");
    QVERIFY(test);
    QCOMPARE(test->text(), QString("Тест на исправность"));
    STEP(switchLanguage(*form));
    QCOMPARE(test->text(), QString("Test"));
    STEP(switchLanguage(*form));
    QCOMPARE(test->text(), QString("Тест на исправность"));
}

void TestLanguage::comboBoxesHaveNoSelectionAfterASwitch()
{
    auto form = start();
    QVERIFY(form);
    auto* output = form->findChild<QComboBox*>("ComboBoxO2Output");
    auto* units = form->findChild<QComboBox*>("ComboBoxTpsSetup");
    QVERIFY(output && units);
    for (const bool english : {true, false}) {
        output->setCurrentIndex(2);
        units->setCurrentIndex(1);
        QCOMPARE(output->currentText(), QString("AFR"));
        STEP(switchLanguage(*form));
        QCOMPARE(form->LanguageId, quint8(english ? 1 : 0));
        QCOMPARE(output->count(), 3);
        QCOMPARE(output->currentIndex(), -1);
        QCOMPARE(units->count(), 2);
        QCOMPARE(units->currentIndex(), -1);
        STEP(verifyLanguage(*form, english));
    }
}

void TestLanguage::storedSelectionIsClearedByTheStartUpApplication()
{
    STEP(writeState(1, 2, 1));
    auto form = start();
    QVERIFY(form);
    QCOMPARE(form->findChild<QComboBox*>("ComboBoxO2Output")->currentIndex(), -1);
    QCOMPARE(form->findChild<QComboBox*>("ComboBoxTpsSetup")->currentIndex(), -1);
}

void TestLanguage::choiceSurvivesARestart()
{
    {
        auto form = start();  // no state file: Russian
        QVERIFY(form);
        STEP(verifyLanguage(*form, false));
        STEP(switchLanguage(*form));
        form->close();
    }
    ProgramState saved;
    O2RefGrid grid;
    QVERIFY(LoadProgramState("config.cfg", saved, grid, notifier));
    QCOMPARE(saved.LanguageId, quint8(1));

    notifier.clear();
    {
        auto form = start();
        QVERIFY(form);
        QVERIFY(notifier.entries.isEmpty());
        QCOMPARE(form->LanguageId, quint8(1));
        STEP(verifyLanguage(*form, true));
        STEP(switchLanguage(*form));
        form->close();
    }
    QVERIFY(LoadProgramState("config.cfg", saved, grid, notifier));
    QCOMPARE(saved.LanguageId, quint8(0));
    auto form = start();
    QVERIFY(form);
    STEP(verifyLanguage(*form, false));
}

void TestLanguage::defaultsMessageFollowsTheLanguage()
{
    auto form = start();
    QVERIFY(form);
    form->MTabControl->setCurrentIndex(1);
    form->Tab->TabMore_layt->show();
    for (const QString& expected : {QString("Значения по умолчанию"), QString("Defaults")}) {
        QTest::mouseClick(form->Tab->Defaults_rct, Qt::LeftButton);
        QCOMPARE(form->ToastLayout->MsgText->text(), expected);
        QTRY_VERIFY(!form->Tab->Defaults_ani->Enabled());
        QCOMPARE(form->ToastLayout->MsgText->text(), expected);
        STEP(switchLanguage(*form));
    }
}

void TestLanguage::fileBrowserCaptionsFollowTheLanguage()
{
    auto form = start();
    QVERIFY(form);
    FileBrowserHost host;
    host.notifier = &notifier;
    host.fileFolder = &form->FileFolder;
    host.fileDialogCaptions = &form->FileDialogCaptions;
    host.languageId = &form->LanguageId;
    TFile_frm browser(host, form.get());

    struct Expected {
        const char* open;
        const char* save;
        const char* cancel;
    };
    const Expected russian{"Открыть файл:", "Сохранить файл:", "Отмена"};
    const Expected english{"Open File:", "Save File:", "Cancel"};
    for (const Expected& e : {russian, english, russian}) {
        browser.ShowForOpen("log");
        QCOMPARE(browser.Text1->text(), QString(e.open));
        QCOMPARE(browser.Cancel_btn->text(), QString(e.cancel));
        browser.Cancel_btnClick();
        browser.ShowForSave("tab", "D1");
        QCOMPARE(browser.Text1->text(), QString(e.save));
        QCOMPARE(browser.FileNameEdit->text(), QString("D1.tab"));
        browser.Cancel_btnClick();
        QVERIFY(browser.isHidden());
        STEP(switchLanguage(*form));
    }
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
