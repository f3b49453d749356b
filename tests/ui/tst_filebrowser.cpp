// Mouse events go through the window system layer, as a real press does, so
// that two quick clicks become a double click the way they do for a person.
#define QTEST_QPA_MOUSE_HANDLING

#include "filebrowser.h"
#include "filebrowsertexts.h"
#include "filelistbox.h"
#include "messages.h"
#include "recordingnotifier.h"
#include "zantobroadcaster.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <stdexcept>
#include <memory>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// Keeps every file choice posted on the bus, and whether the browser was
// still visible when it arrived.
class FileListener : public TZantoListener {
public:
    void Dispatch(const TMessage& message) override
    {
        if (const TMsgFile* file = messageAs<TMsgFile>(message)) {
            files.append(*file);
            browserVisible.append(browser && browser->isVisible());
        }
    }
    QList<TMsgFile> files;
    QList<bool> browserVisible;
    const QWidget* browser = nullptr;
};

// The browser with the main window's part played by plain fields.
struct Browser {
    Browser()
    {
        bus.Register(&listener);
        FileBrowserHost host;
        host.broadcaster = [this] { return &bus; };
        host.notifier = &notifier;
        host.fileFolder = &FileFolder;
        host.fileDialogCaptions = &FileDialogCaptions;
        host.languageId = &LanguageId;
        form = std::make_unique<TFile_frm>(host);
        listener.browser = form.get();
    }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < form->FilesListBox->count(); ++i)
            names.append(form->FilesListBox->item(i)->text());
        return names;
    }
    QListWidgetItem* item(const QString& name) const
    {
        for (int i = 0; i < form->FilesListBox->count(); ++i)
            if (form->FilesListBox->item(i)->text() == name)
                return form->FilesListBox->item(i);
        return nullptr;
    }
    QPoint itemCentre(const QString& name) const
    {
        QListWidgetItem* found = item(name);
        if (!found)
            return QPoint(-1, -1);
        form->FilesListBox->scrollToItem(found);
        return form->FilesListBox->visualItemRect(found).center();
    }
    // A press released on the named item, as a finger or the mouse makes it.
    void press(const QString& name)
    {
        QVERIFY2(item(name), qPrintable(name));
        QTest::mouseClick(form->FilesListBox->viewport(), Qt::LeftButton, {}, itemCentre(name));
    }
    void doubleClick(const QString& name)
    {
        QVERIFY2(item(name), qPrintable(name));
        QTest::mouseDClick(form->FilesListBox->viewport(), Qt::LeftButton, {}, itemCentre(name));
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    TZantoBroadcaster bus;
    FileListener listener;
    RecordingNotifier notifier;
    QString FileFolder;
    QStringList FileDialogCaptions{utf8(FileBrowserTexts::SaveRu), utf8(FileBrowserTexts::OpenRu),
                                   utf8(FileBrowserTexts::CancelRu)};
    quint8 LanguageId = 0;
    std::unique_ptr<TFile_frm> form;
};

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

}  // namespace

class TestFileBrowser : public QObject {
    Q_OBJECT

private slots:
    void init();
    void listsFilesOfTheExactExtensionThenFolders_data();
    void listsFilesOfTheExactExtensionThenFolders();
    void buildsTheChosenPath_data();
    void buildsTheChosenPath();
    void backGoesUpToTheRootAndStops();
    void entersFoldersWithoutDoubledSeparatorAtTheRoot();
    void pressingItems();
    void doubleClickOnFilePostsAtOnce();
    void doubleClickOnFolderEntersItOnce();
    void cancelRemembersTheFolderAndOkDoesNot();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void emptyNameDoesNothing();
    void unlistableFolder_data();
    void unlistableFolder();
    void folderDeletedWhileShown();
    void emptyFileFolderOpensTheCurrentDirectory();
    void captionsFollowTheLanguage_data();
    void captionsFollowTheLanguage();
    void showingAgainWhileVisibleRelists();
    void failingListenerIsReportedNotThrown();
    void windowShape();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString root;  // the temporary folder, as the browser spells it
};

void TestFileBrowser::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    root = QDir::cleanPath(dir->path());
    touch(root + "/a.log");
    touch(root + "/b.LOG");
    touch(root + "/c.tab");
    QVERIFY(QDir(root).mkdir("x"));
}

void TestFileBrowser::listsFilesOfTheExactExtensionThenFolders_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<bool>("fileIcon");

    QTest::newRow("log") << "log" << QStringList{"a.log"} << QStringList{"x", "z.bin"} << true;
    QTest::newRow("tab") << "tab" << QStringList{"c.tab"} << QStringList{"x", "z.bin"} << true;
    QTest::newRow("LOG") << "LOG" << QStringList{"b.LOG"} << QStringList{"x", "z.bin"} << false;
    QTest::newRow("enc, none there") << "enc" << QStringList{} << QStringList{"x", "z.bin"} << false;
    // A folder whose name ends in the extension is still a folder; a file
    // named like the extension without a dot, or whose dot is not the last,
    // is not of that type.
    QTest::newRow("look-alikes") << "bin" << QStringList{"fw.v2.bin", ".bin"} << QStringList{"x", "z.bin"}
                                 << false;
}

void TestFileBrowser::listsFilesOfTheExactExtensionThenFolders()
{
    QFETCH(QString, extension);
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(bool, fileIcon);
    touch(root + "/bin");
    touch(root + "/fw.v2.bin");
    touch(root + "/fw.bin.old");
    touch(root + "/.bin");
    QVERIFY(QDir(root).mkdir("z.bin"));

    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen(extension);

    QCOMPARE(b.form->Path_txt->text(), root);
    const QStringList listed = b.listed();
    QCOMPARE(listed.size(), files.size() + folders.size());
    QStringList listedFiles = listed.mid(0, files.size());
    QStringList listedFolders = listed.mid(files.size());
    // Files first, then folders; the file system's own order within each.
    listedFiles.sort();
    files.sort();
    listedFolders.sort();
    folders.sort();
    QCOMPARE(listedFiles, files);
    QCOMPARE(listedFolders, folders);
    for (int i = 0; i < listed.size(); ++i) {
        QListWidgetItem* item = b.form->FilesListBox->item(i);
        const bool folder = i >= files.size();
        QCOMPARE(FileListBox::isFolder(item), folder);
        QCOMPARE(!item->icon().isNull(), folder || fileIcon);
        QCOMPARE(item->sizeHint().height(), 50);
        QCOMPARE(item->font().pointSize(), 16);
    }
    QVERIFY(b.notifier.entries.isEmpty());
}

void TestFileBrowser::buildsTheChosenPath_data()
{
    QTest::addColumn<bool>("atRoot");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");  // after the folder and its separator

    QTest::newRow("test") << false << true << "log" << "test" << "test.log";
    QTest::newRow("test.log") << false << true << "log" << "test.log" << "test.log";
    QTest::newRow("test.txt") << false << true << "log" << "test.txt" << "test.txt.log";
    QTest::newRow("test.lo") << false << true << "log" << "test.lo" << "test.lo.log";
    QTest::newRow("test.LOG") << false << true << "log" << "test.LOG" << "test.LOG.log";
    QTest::newRow("test. ends in a dot") << false << true << "log" << "test." << "test..log";
    QTest::newRow("open table") << false << false << "tab" << "c.tab" << "c.tab";
    QTest::newRow("open firmware") << false << false << "enc" << "fw" << "fw.enc";
    QTest::newRow("root test") << true << true << "log" << "test" << "test.log";
    QTest::newRow("root test.log") << true << true << "log" << "test.log" << "test.log";
    QTest::newRow("root test.txt") << true << false << "tab" << "test.txt" << "test.txt.tab";
}

void TestFileBrowser::buildsTheChosenPath()
{
    QFETCH(bool, atRoot);
    QFETCH(bool, save);
    QFETCH(QString, extension);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    Browser b;
    b.FileFolder = atRoot ? QStringLiteral("/") : root;
    if (save)
        b.form->ShowForSave(extension, "D09122026T1_07_15");
    else
        b.form->ShowForOpen(extension);
    QCOMPARE(b.form->Back_btn->isEnabled(), !atRoot);
    b.form->FileNameEdit->setText(name);
    b.click(b.form->Ok_btn);

    QCOMPARE(b.listener.files.size(), 1);
    const TMsgFile& posted = b.listener.files.first();
    QCOMPARE(posted.id, 10);
    QCOMPARE(posted.saveMode, quint8(save ? 1 : 0));
    QCOMPARE(posted.extension, extension);
    QCOMPARE(posted.fileName, (atRoot ? QStringLiteral("/") : root + "/") + expected);
    QCOMPARE(b.form->ResultPath, posted.fileName);
    // Closed before the record went out.
    QCOMPARE(b.listener.browserVisible, QList<bool>{false});
    QVERIFY(b.notifier.entries.isEmpty());
}

void TestFileBrowser::backGoesUpToTheRootAndStops()
{
    QVERIFY(QDir(root).mkpath("data/logs"));
    Browser b;
    b.FileFolder = root + "/data/logs";
    b.form->ShowForOpen("log");
    QVERIFY(b.form->Back_btn->isEnabled());

    b.click(b.form->Back_btn);
    QCOMPARE(b.form->CurrentFolder, root + "/data");
    QCOMPARE(b.form->Path_txt->text(), root + "/data");
    QCOMPARE(b.listed(), QStringList{"logs"});
    QVERIFY(b.form->Back_btn->isEnabled());

    // Up through every folder by the hardware back key, which is always handled.
    const int depth = root.count('/') + 1;
    for (int i = 0; i < depth; ++i)
        QVERIFY(b.form->FormKeyDown(TFile_frm::HardwareBackKey));
    QCOMPARE(b.form->CurrentFolder, QStringLiteral("/"));
    QCOMPARE(b.form->Path_txt->text(), QStringLiteral("/"));
    QVERIFY(!b.form->Back_btn->isEnabled());
    QVERIFY(b.item("tmp") || b.item("usr"));

    // At the root both do nothing more; the key is still consumed.
    QVERIFY(b.form->FormKeyDown(TFile_frm::HardwareBackKey));
    b.form->Back_btnClick();
    QCOMPARE(b.form->CurrentFolder, QStringLiteral("/"));
    QVERIFY(!b.form->Back_btn->isEnabled());
    QVERIFY(!b.form->FormKeyDown(Qt::Key_Escape));
    QVERIFY(b.notifier.entries.isEmpty());
}

void TestFileBrowser::entersFoldersWithoutDoubledSeparatorAtTheRoot()
{
    // One level below the root, Back lands on the root itself.
    Browser b;
    b.FileFolder = root.left(root.indexOf('/', 1));  // "/tmp"
    b.form->ShowForOpen("log");
    QVERIFY(b.form->Back_btn->isEnabled());
    QTest::keyClick(b.form.get(), Qt::Key_Back);
    QCOMPARE(b.form->CurrentFolder, QStringLiteral("/"));
    QVERIFY(!b.form->Back_btn->isEnabled());

    const QString top = b.FileFolder.mid(1);
    b.press(top);
    QCOMPARE(b.form->CurrentFolder, "/" + top);
    QVERIFY(b.form->Back_btn->isEnabled());
}

void TestFileBrowser::pressingItems()
{
    touch(root + "/x/inner.log");
    Browser b;
    b.FileFolder = root;
    b.form->ShowForSave("log", "proposed");
    QCOMPARE(b.form->FileNameEdit->text(), QStringLiteral("proposed.log"));

    b.press("a.log");
    QCOMPARE(b.form->FileNameEdit->text(), QStringLiteral("a.log"));
    QCOMPARE(b.form->CurrentFolder, root);

    b.press("x");
    QCOMPARE(b.form->FileNameEdit->text(), QString());
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    QCOMPARE(b.form->Path_txt->text(), root + "/x");
    QCOMPARE(b.listed(), QStringList{"inner.log"});
    QVERIFY(b.form->Back_btn->isEnabled());
    QVERIFY(b.listener.files.isEmpty());
    QVERIFY(b.form->isVisible());
}

void TestFileBrowser::doubleClickOnFilePostsAtOnce()
{
    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    b.doubleClick("a.log");
    QCOMPARE(b.listener.files.size(), 1);
    QCOMPARE(b.listener.files.first().fileName, root + "/a.log");
    QCOMPARE(b.listener.files.first().saveMode, quint8(0));
    QCOMPARE(b.listener.files.first().extension, QStringLiteral("log"));
    QVERIFY(!b.form->isVisible());
}

void TestFileBrowser::doubleClickOnFolderEntersItOnce()
{
    // Inside x the row under the finger is a folder, and then a file; a
    // double tap on x must neither go on into it nor choose the file.
    touch(root + "/x/q.log");
    QVERIFY(QDir(root).mkdir("x/deeper"));
    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    QCOMPARE(b.listed().indexOf("x"), 1);
    b.doubleClick("x");
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    QCOMPARE(b.form->FileNameEdit->text(), QString());
    QVERIFY(b.listener.files.isEmpty());

    QCOMPARE(b.listed().indexOf("q.log"), 0);
    b.doubleClick("q.log");
    QCOMPARE(b.listener.files.size(), 1);
    QCOMPARE(b.listener.files.first().fileName, root + "/x/q.log");
}

void TestFileBrowser::cancelRemembersTheFolderAndOkDoesNot()
{
    touch(root + "/x/q.log");
    Browser b;
    b.FileFolder = root;

    b.form->ShowForOpen("log");
    b.press("x");
    b.press("q.log");
    b.click(b.form->Ok_btn);
    QCOMPARE(b.listener.files.size(), 1);
    QCOMPARE(b.FileFolder, root);
    b.form->ShowForOpen("log");
    QCOMPARE(b.form->CurrentFolder, root);

    b.press("x");
    b.click(b.form->Cancel_btn);
    QVERIFY(!b.form->isVisible());
    QCOMPARE(b.listener.files.size(), 1);
    QCOMPARE(b.form->ResultPath, QStringLiteral("0"));
    QCOMPARE(b.FileFolder, root + "/x");
    b.form->ShowForSave("log", "next");
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    QCOMPARE(b.listed(), QStringList{"q.log"});
}

void TestFileBrowser::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("confirmed") << true << "a.log" << true << QStringList{};
    QTest::newRow("confirmed, extension added") << true << "a" << true << QStringList{};
    QTest::newRow("cancelled") << false << "a.log" << false << QStringList{};
    QTest::newRow("no such file") << true << "missing" << false
                                  << QStringList{utf8(FileBrowserTexts::DeleteError)};
    QTest::newRow("a folder is not deleted") << true << "x" << false
                                             << QStringList{utf8(FileBrowserTexts::DeleteError)};
}

void TestFileBrowser::deleteAsksFirst()
{
    QFETCH(bool, answer);
    QFETCH(QString, name);
    QFETCH(bool, deleted);
    QFETCH(QStringList, messages);
    touch(root + "/x/q.log");
    QVERIFY(QDir(root).mkdir("x.log"));  // what the name "x" points at in a log browser

    Browser b;
    b.FileFolder = root;
    b.notifier.confirmAnswer = answer;
    b.form->ShowForOpen("log");
    b.form->FileNameEdit->setText(name);
    b.click(b.form->DeleteFile_btn);

    QCOMPARE(b.notifier.texts(RecordingNotifier::Confirm), QStringList{utf8(FileBrowserTexts::DeleteQuestion)});
    QCOMPARE(b.notifier.texts(RecordingNotifier::Message), messages);
    QCOMPARE(QFile::exists(root + "/a.log"), !deleted);
    QCOMPARE(b.item("a.log") != nullptr, !deleted);
    QVERIFY(QFileInfo(root + "/x.log").isDir());
    QVERIFY(QFile::exists(root + "/x/q.log"));
    QVERIFY(b.form->isVisible());
    QVERIFY(b.listener.files.isEmpty());
}

void TestFileBrowser::emptyNameDoesNothing()
{
    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    b.press("a.log");
    b.click(b.form->Ok_btn);
    QCOMPARE(b.listener.files.size(), 1);

    // The path chosen last is still in ResultPath, but the box is empty.
    b.form->ShowForOpen("log");
    b.form->FileNameEdit->clear();
    b.click(b.form->DeleteFile_btn);
    b.click(b.form->Ok_btn);
    QVERIFY(b.notifier.entries.isEmpty());
    QVERIFY(QFile::exists(root + "/a.log"));
    QCOMPARE(b.listener.files.size(), 1);
    QVERIFY(b.form->isVisible());
}

void TestFileBrowser::unlistableFolder_data()
{
    QTest::addColumn<QString>("folder");   // under the temporary folder
    QTest::addColumn<QString>("shown");    // where the browser ends up
    QTest::addColumn<int>("error");

    QTest::newRow("deleted") << "/gone/deeper" << "" << ENOENT;
    QTest::newRow("a file") << "/a.log" << "" << ENOTDIR;
    QTest::newRow("below a file") << "/c.tab/inner" << "" << ENOTDIR;
    QTest::newRow("deleted inside x") << "/x/gone" << "/x" << ENOENT;
}

void TestFileBrowser::unlistableFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, shown);
    QFETCH(int, error);

    Browser b;
    b.FileFolder = root + folder;
    b.form->ShowForOpen("log");
    QCOMPARE(b.notifier.texts(RecordingNotifier::Message),
             QStringList{utf8(FileBrowserTexts::FolderError) + root + folder + "\n" + qt_error_string(error)});
    QCOMPARE(b.notifier.entries.size(), 1);
    QCOMPARE(b.form->CurrentFolder, root + shown);
    QCOMPARE(b.form->Path_txt->text(), root + shown);
    QVERIFY(b.form->Back_btn->isEnabled());

    // Still usable: walk, pick and choose.
    if (!shown.isEmpty())
        b.click(b.form->Back_btn);
    QCOMPARE(b.form->CurrentFolder, root);
    b.press("a.log");
    b.click(b.form->Ok_btn);
    QCOMPARE(b.listener.files.size(), 1);
    QCOMPARE(b.listener.files.first().fileName, root + "/a.log");
    QCOMPARE(b.FileFolder, root + folder);  // the kept folder is the person's to change
}

void TestFileBrowser::folderDeletedWhileShown()
{
    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    QVERIFY(QDir(root).rmdir("x"));
    b.press("x");

    QCOMPARE(b.notifier.texts(RecordingNotifier::Message),
             QStringList{utf8(FileBrowserTexts::FolderError) + root + "/x\n" + qt_error_string(ENOENT)});
    QCOMPARE(b.form->CurrentFolder, root);
    QCOMPARE(b.form->Path_txt->text(), root);
    QCOMPARE(b.listed(), QStringList{"a.log"});
    b.press("a.log");
    QCOMPARE(b.form->FileNameEdit->text(), QStringLiteral("a.log"));
}

void TestFileBrowser::emptyFileFolderOpensTheCurrentDirectory()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root + "/x"));
    Browser b;
    b.form->ShowForOpen("log");
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    QVERIFY(!b.form->FirstShow);
    b.form->close();

    // Later showings too; and a relative or untidy folder is made whole.
    b.form->ShowForOpen("log");
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    b.form->close();
    b.FileFolder = "..";
    b.form->ShowForOpen("log");
    QCOMPARE(b.form->CurrentFolder, root);
    b.form->close();
    b.FileFolder = root + "//x/";
    b.form->ShowForOpen("log");
    QCOMPARE(b.form->CurrentFolder, root + "/x");
    b.form->close();
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(b.notifier.entries.isEmpty());
}

void TestFileBrowser::captionsFollowTheLanguage_data()
{
    QTest::addColumn<quint8>("language");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("Russian") << quint8(0) << utf8(FileBrowserTexts::OpenRu) << utf8(FileBrowserTexts::SaveRu)
                             << utf8(FileBrowserTexts::CancelRu);
    QTest::newRow("English") << quint8(1) << "Open File:" << "Save File:" << "Cancel";
}

void TestFileBrowser::captionsFollowTheLanguage()
{
    QFETCH(quint8, language);
    QFETCH(QString, open);
    QFETCH(QString, save);
    QFETCH(QString, cancel);
    Browser b;
    QCOMPARE(b.form->Text1->text(), utf8(FileBrowserTexts::NameDesign));
    QCOMPARE(b.form->Cancel_btn->text(), utf8(FileBrowserTexts::CancelDesign));
    b.FileFolder = root;
    b.LanguageId = language;
    b.form->ShowForOpen("tab");
    QCOMPARE(b.form->Text1->text(), open);
    QCOMPARE(b.form->Cancel_btn->text(), cancel);
    QCOMPARE(b.form->Ok_btn->text(), QStringLiteral("OK"));
    b.form->close();
    b.form->ShowForSave("tab", "name");
    QCOMPARE(b.form->Text1->text(), save);
    QCOMPARE(b.form->Cancel_btn->text(), cancel);
    QVERIFY(b.form->FileShare_btn->isHidden());
}

void TestFileBrowser::showingAgainWhileVisibleRelists()
{
    Browser b;
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    QVERIFY(b.item("a.log"));
    b.form->ShowForOpen("tab");
    QVERIFY(!b.item("a.log"));
    QVERIFY(b.item("c.tab"));
}

// A listener that fails while carrying out the choice.
class ThrowingListener : public TZantoListener {
public:
    void Dispatch(const TMessage&) override { throw std::runtime_error("Нет места/No space left"); }
};

void TestFileBrowser::failingListenerIsReportedNotThrown()
{
    Browser b;
    ThrowingListener failing;
    b.bus.Register(&failing);
    b.FileFolder = root;
    b.form->ShowForOpen("log");
    b.doubleClick("a.log");
    QCOMPARE(b.listener.files.size(), 1);
    QVERIFY(!b.form->isVisible());
    QCOMPARE(b.notifier.texts(RecordingNotifier::Error), QStringList{utf8("Нет места/No space left")});
}

void TestFileBrowser::windowShape()
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 394, 689);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    FileBrowserHost host;
    RecordingNotifier notifier;
    host.notifier = &notifier;
    QString folder = root;
    host.fileFolder = &folder;
    TFile_frm form(host, &mainWindow);
    form.ShowForOpen("log");
    QVERIFY(form.isWindow());
    QCOMPARE(form.size(), QSize(TFile_frm::ClientWidth, TFile_frm::ClientHeight));
    QCOMPARE(form.windowTitle(), utf8(FileBrowserTexts::Caption));
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY((form.frameGeometry().center() - mainWindow.frameGeometry().center()).manhattanLength() <= 2);

    // No bus given: OK closes and posts nowhere, without harm.
    form.FileNameEdit->setText("a");
    form.Ok_btnClick();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.ResultPath, root + "/a.log");
}

QTEST_MAIN(TestFileBrowser)
#include "tst_filebrowser.moc"
