#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class FileListBox;
class QLabel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class TZantoBroadcaster;
class UserNotifier;

// What the browser takes from the main window. The main window's own fields
// are reached through pointers: they are read at every showing, and
// FileFolder is written back by Cancel.
struct FileBrowserHost {
    // Asked the first time the window is shown; the bus may not exist before.
    std::function<TZantoBroadcaster*()> broadcaster;
    // Message boxes and the delete confirmation.
    UserNotifier* notifier = nullptr;
    // FileFolder: the folder shown first.
    QString* fileFolder = nullptr;
    // FileDialogCaptions: save title, open title, cancel text; shown in Russian.
    const QStringList* fileDialogCaptions = nullptr;
    // LanguageId: 1 English, anything else Russian.
    const quint8* languageId = nullptr;
};

// The program's own touch-sized file browser. It lists the files of one
// extension and the subfolders of a folder, lets the person walk the folders,
// pick or type a name and delete a file. It opens and writes nothing itself:
// OK closes it and posts a TMsgFile on the bus, which the main window carries
// out.
class TFile_frm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 430;
    static constexpr int ClientHeight = 689;
    // The platform's hardware back key.
    static constexpr int HardwareBackKey = 137;

    // mainWindow: the window it is centred over and stays above.
    explicit TFile_frm(const FileBrowserHost& host, QWidget* mainWindow = nullptr);
    ~TFile_frm() override;

    // Shows the browser for choosing a file to open, of extension ext ("tab",
    // "log" or "enc", without the dot). The name box keeps its text.
    void ShowForOpen(const QString& ext);
    // Shows it for saving: the name box offers ResultPath (set first by the
    // caller to the proposed name, without folder and extension) plus ext.
    void ShowForSave(const QString& ext);
    void ShowForSave(const QString& ext, const QString& proposedName);

    // The captions for a language, in the order of FileDialogCaptions: save
    // title, open title, cancel text.
    static QStringList languageCaptions(quint8 languageId);

    // 1 when shown for saving, 0 when shown for opening.
    quint8 SaveMode = 0;
    QString ExtensionFilter;
    // The folder shown: absolute, without a trailing separator except at the root.
    QString CurrentFolder;
    QString RootFolder;
    // What OK posts; before a save the proposed name, "0" after a Cancel.
    QString ResultPath;
    bool FirstShow = true;

    // The window's parts, named as the layout names them.
    QWidget* FileName_rect = nullptr;
    QLabel* Text1 = nullptr;
    QLineEdit* FileNameEdit = nullptr;
    QWidget* PathRect = nullptr;
    QLabel* Path_txt = nullptr;
    QWidget* BackButton_rect = nullptr;
    QPushButton* Back_btn = nullptr;
    QPushButton* FileShare_btn = nullptr;
    QPushButton* DeleteFile_btn = nullptr;
    QWidget* Files_Rect = nullptr;
    FileListBox* FilesListBox = nullptr;
    QWidget* Buttons_rect = nullptr;
    QPushButton* Cancel_btn = nullptr;
    QPushButton* Ok_btn = nullptr;

public slots:
    void FormShow();
    // Lists CurrentFolder: files of ExtensionFilter first, then folders. A
    // folder that cannot be listed is reported, and the nearest folder above
    // it that can be is shown instead.
    void FillList();
    void Back_btnClick();
    void DeleteFile_btnClick();
    void Cancel_btnClick();
    void Ok_btnClick();
    // A press released on an item: a folder is entered, a file's name taken.
    void FilesListBoxItemClick(QListWidgetItem* item);
    // True when the key was handled; the hardware back key always is.
    bool FormKeyDown(int key);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void buildWindow();
    // ResultPath from the name box and the folder; false when the box is empty.
    bool buildChosenPath();
    bool isAtRoot() const { return CurrentFolder == RootFolder; }
    // Lists one folder into the list; the reason on failure.
    bool listFolder(const QString& folder, QString* error);
    QStringList captions() const;
    void centreOverMainWindow();
    void showMessage(const QString& text);

    FileBrowserHost host;
    QWidget* mainWindow = nullptr;
    TZantoBroadcaster* Broadcaster = nullptr;
    QString ownFileFolder;  // used when the host gives none
};
