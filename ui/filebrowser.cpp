#include "filebrowser.h"

#include "filebrowsericons.h"
#include "filebrowsertexts.h"
#include "filelistbox.h"
#include "messages.h"
#include "theme.h"
#include "usernotifier.h"
#include "zantobroadcaster.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <dirent.h>

#include <cerrno>
#include <exception>

namespace {

const QChar Separator = QLatin1Char('/');

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Shows a long path by its end, where the folder the person is in is named.
class PathLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = contentsRect().adjusted(12, 0, -12, 0);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(QLabel::text(), Qt::ElideLeft, area.width()));
    }
};

QString browserStyleSheet()
{
    return QStringLiteral(R"(
#TFile_frm { background: #0d1219; }
QWidget { color: #e6ecf2; font-family: "DejaVu Sans"; font-size: 11pt; }
#FileName_rect, #BackButton_rect, #Buttons_rect { background: transparent; }
#Text1 { color: #ffa500; font-size: 15pt; font-weight: bold; padding-left: 2px; }
#FileNameEdit {
  background: #070b10; color: #ffd27f; border: 2px solid #3c4a5c; border-radius: 10px;
  font-size: 16pt; padding: 6px 10px; min-height: 34px;
  selection-background-color: #2c5fa8;
}
#FileNameEdit:focus { border-color: #ffa500; }
#PathRect { background: #161e29; border: 1px solid #2c3a4c; border-radius: 8px; }
#Path_txt { color: #8a97a8; font-size: 11pt; }
#Files_Rect { background: #0a0f15; border: 1px solid #2c3a4c; border-radius: 10px; }
#FilesListBox { background: transparent; border: none; outline: none; }
QScrollBar:vertical { width: 8px; background: transparent; margin: 4px 2px; }
QScrollBar::handle:vertical { background: #3c4a5c; border-radius: 3px; min-height: 40px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QPushButton {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a3d66, stop:1 #1a2540);
  border: 1px solid #5a6b8c; border-radius: 12px; padding: 6px 16px;
  font-size: 13pt; font-weight: bold; min-height: 40px;
}
QPushButton:pressed { background: #3b5488; }
QPushButton:disabled { background: #141b26; border-color: #2a3442; color: #4d5866; }
#Ok_btn {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffb733, stop:1 #d98200);
  border-color: #ffd27f; color: #111820;
}
#Ok_btn:pressed { background: #b86e00; }
#DeleteFile_btn { border-color: #8c4a44; }
)");
}

}  // namespace

TFile_frm::TFile_frm(const FileBrowserHost& browserHost, QWidget* mainWindowWidget)
    : QWidget(mainWindowWidget, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                    | Qt::WindowStaysOnTopHint),
      host(browserHost),
      mainWindow(mainWindowWidget)
{
    FormCreate();
}

TFile_frm::~TFile_frm() = default;

void TFile_frm::FormCreate()
{
    setObjectName("TFile_frm");
    setWindowTitle(text(FileBrowserTexts::Caption));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(browserStyleSheet());
    setFixedSize(ClientWidth, ClientHeight);
    buildWindow();
}

void TFile_frm::buildWindow()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);

    FileName_rect = new QWidget(this);
    FileName_rect->setObjectName("FileName_rect");
    auto* nameLayout = new QVBoxLayout(FileName_rect);
    nameLayout->setContentsMargins(0, 0, 0, 0);
    nameLayout->setSpacing(6);
    Text1 = new QLabel(text(FileBrowserTexts::NameDesign), FileName_rect);
    Text1->setObjectName("Text1");
    FileNameEdit = new QLineEdit(FileName_rect);
    FileNameEdit->setObjectName("FileNameEdit");
    FileNameEdit->setAlignment(Qt::AlignCenter);
    QFont nameFont = FileNameEdit->font();
    nameFont.setPointSize(16);
    FileNameEdit->setFont(nameFont);
    // Return in the name box chooses, as OK does (the queued call lets the
    // box finish its own key handling before the window closes).
    connect(FileNameEdit, &QLineEdit::returnPressed, this, &TFile_frm::Ok_btnClick, Qt::QueuedConnection);
    nameLayout->addWidget(Text1);
    nameLayout->addWidget(FileNameEdit);

    PathRect = new QWidget(this);
    PathRect->setObjectName("PathRect");
    PathRect->setAttribute(Qt::WA_StyledBackground);
    PathRect->setFixedHeight(36);
    auto* pathLayout = new QHBoxLayout(PathRect);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    Path_txt = new PathLabel(PathRect);
    Path_txt->setObjectName("Path_txt");
    pathLayout->addWidget(Path_txt);

    BackButton_rect = new QWidget(this);
    BackButton_rect->setObjectName("BackButton_rect");
    auto* backLayout = new QHBoxLayout(BackButton_rect);
    backLayout->setContentsMargins(0, 0, 0, 0);
    backLayout->setSpacing(10);
    const QSize toolIcon(30, 30);
    Back_btn = new QPushButton(FileBrowserIcons::back(), QString(), BackButton_rect);
    Back_btn->setObjectName("Back_btn");
    Back_btn->setIconSize(toolIcon);
    Back_btn->setFixedSize(96, 52);
    FileShare_btn = new QPushButton(BackButton_rect);
    FileShare_btn->setObjectName("FileShare_btn");
    FileShare_btn->setFixedSize(96, 52);
    FileShare_btn->hide();
    DeleteFile_btn = new QPushButton(FileBrowserIcons::trash(), QString(), BackButton_rect);
    DeleteFile_btn->setObjectName("DeleteFile_btn");
    DeleteFile_btn->setIconSize(toolIcon);
    DeleteFile_btn->setFixedSize(96, 52);
    backLayout->addWidget(Back_btn);
    backLayout->addStretch(1);
    backLayout->addWidget(FileShare_btn);
    backLayout->addStretch(1);
    backLayout->addWidget(DeleteFile_btn);

    Files_Rect = new QWidget(this);
    Files_Rect->setObjectName("Files_Rect");
    Files_Rect->setAttribute(Qt::WA_StyledBackground);
    auto* filesLayout = new QVBoxLayout(Files_Rect);
    filesLayout->setContentsMargins(4, 4, 4, 4);
    FilesListBox = new FileListBox(Files_Rect);
    FilesListBox->setObjectName("FilesListBox");
    filesLayout->addWidget(FilesListBox);

    Buttons_rect = new QWidget(this);
    Buttons_rect->setObjectName("Buttons_rect");
    auto* buttonsLayout = new QHBoxLayout(Buttons_rect);
    buttonsLayout->setContentsMargins(0, 0, 0, 0);
    buttonsLayout->setSpacing(12);
    Cancel_btn = new QPushButton(text(FileBrowserTexts::CancelDesign), Buttons_rect);
    Cancel_btn->setObjectName("Cancel_btn");
    Cancel_btn->setMinimumHeight(56);
    Ok_btn = new QPushButton(text(FileBrowserTexts::Ok), Buttons_rect);
    Ok_btn->setObjectName("Ok_btn");
    Ok_btn->setMinimumHeight(56);
    buttonsLayout->addWidget(Cancel_btn, 1);
    buttonsLayout->addWidget(Ok_btn, 1);

    layout->addWidget(FileName_rect);
    layout->addWidget(PathRect);
    layout->addWidget(BackButton_rect);
    layout->addWidget(Files_Rect, 1);
    layout->addWidget(Buttons_rect);

    for (QPushButton* button : {Back_btn, DeleteFile_btn, Cancel_btn, Ok_btn})
        button->setFocusPolicy(Qt::NoFocus);
    connect(Back_btn, &QPushButton::clicked, this, &TFile_frm::Back_btnClick);
    connect(DeleteFile_btn, &QPushButton::clicked, this, &TFile_frm::DeleteFile_btnClick);
    connect(Cancel_btn, &QPushButton::clicked, this, &TFile_frm::Cancel_btnClick);
    connect(Ok_btn, &QPushButton::clicked, this, &TFile_frm::Ok_btnClick);
    connect(FilesListBox, &QListWidget::itemClicked, this, &TFile_frm::FilesListBoxItemClick);
    connect(FilesListBox, &FileListBox::fileDoubleClicked, this, &TFile_frm::Ok_btnClick);
}

QStringList TFile_frm::languageCaptions(quint8 languageId)
{
    using namespace FileBrowserTexts;
    if (languageId == 1)
        return {text(SaveEn), text(OpenEn), text(CancelEn)};
    return {text(SaveRu), text(OpenRu), text(CancelRu)};
}

QStringList TFile_frm::captions() const
{
    // English has its own captions; in Russian the main window's captions are
    // shown, as they have always been.
    const quint8 language = host.languageId ? *host.languageId : 0;
    if (language != 1 && host.fileDialogCaptions && host.fileDialogCaptions->size() >= 3)
        return *host.fileDialogCaptions;
    return languageCaptions(language);
}

void TFile_frm::ShowForOpen(const QString& ext)
{
    Text1->setText(captions().at(1));
    ExtensionFilter = ext;
    SaveMode = 0;
    if (isVisible()) {
        FormShow();  // already up for another choice: start this one afresh
    } else {
        centreOverMainWindow();
        show();
    }
    raise();
    activateWindow();
}

void TFile_frm::ShowForSave(const QString& ext)
{
    Text1->setText(captions().at(0));
    FileNameEdit->setText(ResultPath + QLatin1Char('.') + ext);
    ExtensionFilter = ext;
    SaveMode = 1;
    if (isVisible()) {
        FormShow();
    } else {
        centreOverMainWindow();
        show();
    }
    raise();
    activateWindow();
}

void TFile_frm::ShowForSave(const QString& ext, const QString& proposedName)
{
    ResultPath = proposedName;
    ShowForSave(ext);
}

void TFile_frm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    centreOverMainWindow();  // the frame is known now
    FormShow();
}

void TFile_frm::FormShow()
{
    FileShare_btn->hide();
    if (!Broadcaster && host.broadcaster)
        Broadcaster = host.broadcaster();

    // An empty FileFolder, at the first showing or any later one, opens the
    // process's current directory.
    QString folder = host.fileFolder ? *host.fileFolder : ownFileFolder;
    if (!folder.isEmpty())
        FirstShow = false;
    if (folder.isEmpty()) {
        folder = QDir::currentPath();
        FirstShow = false;
    }
    // Absolute and clean, so that going up and the root test work on any
    // spelling the state file kept ("data/", "/home//x/.").
    CurrentFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    RootFolder = QDir::rootPath();

    FillList();
    Cancel_btn->setText(captions().at(2));
}

bool TFile_frm::listFolder(const QString& folder, QString* error)
{
    // Qt's listing reads an unreadable or vanished folder as an empty one;
    // opening it first gives the system's reason.
    const QByteArray native = QFile::encodeName(folder);
    DIR* handle = ::opendir(native.constData());
    if (!handle) {
        *error = text(FileBrowserTexts::FolderError) + folder + QLatin1Char('\n') + qt_error_string(errno);
        return false;
    }
    ::closedir(handle);

    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);

    FilesListBox->setUpdatesEnabled(false);
    FilesListBox->clear();
    QIcon fileIcon;
    if (ExtensionFilter == QLatin1String("log"))
        fileIcon = FileBrowserIcons::logFile();
    else if (ExtensionFilter == QLatin1String("tab"))
        fileIcon = FileBrowserIcons::tableFile();

    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            continue;
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && name.mid(dot + 1) == ExtensionFilter)
            FilesListBox->addFile(name, fileIcon);
    }
    const QIcon folderIcon = FileBrowserIcons::folder();
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            FilesListBox->addFolder(entry.fileName(), folderIcon);
    }
    FilesListBox->setUpdatesEnabled(true);
    FilesListBox->scrollToTop();
    return true;
}

void TFile_frm::FillList()
{
    // A folder that cannot be listed (deleted meanwhile, no permission, a
    // file) is reported; the browser then shows the nearest folder above it
    // that can be listed, so the list and the path always agree and the
    // person can go on.
    QString folder = CurrentFolder;
    QString firstError;
    QString error;
    while (!listFolder(folder, &error)) {
        if (firstError.isEmpty())
            firstError = error;
        if (folder == RootFolder || !folder.contains(Separator)) {
            FilesListBox->clear();
            break;
        }
        const QString up = folder.left(folder.lastIndexOf(Separator));
        folder = (up + Separator == RootFolder || up.isEmpty()) ? RootFolder : up;
    }
    CurrentFolder = folder;
    Path_txt->setText(CurrentFolder);
    Back_btn->setEnabled(!isAtRoot());
    if (!firstError.isEmpty())
        showMessage(firstError);
}

void TFile_frm::FilesListBoxItemClick(QListWidgetItem* item)
{
    if (!item)
        item = FilesListBox->currentItem();
    if (!item)
        return;
    if (FileListBox::isFolder(item)) {
        const QString name = item->text();
        FileNameEdit->clear();
        CurrentFolder = isAtRoot() ? CurrentFolder + name : CurrentFolder + Separator + name;
        FillList();
    } else {
        FileNameEdit->setText(item->text());
    }
}

void TFile_frm::Back_btnClick()
{
    if (isAtRoot()) {
        Back_btn->setEnabled(false);
        return;
    }
    const QString up = CurrentFolder.left(CurrentFolder.lastIndexOf(Separator));
    CurrentFolder = (up + Separator == RootFolder || up.isEmpty()) ? RootFolder : up;
    FillList();
}

bool TFile_frm::FormKeyDown(int key)
{
    if (key != HardwareBackKey)
        return false;
    if (Back_btn->isEnabled())
        Back_btnClick();
    return true;
}

void TFile_frm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Back && FormKeyDown(HardwareBackKey)) {
        event->accept();
        return;
    }
    // Escape leaves as Cancel does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Cancel_btnClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TFile_frm::buildChosenPath()
{
    const QString name = FileNameEdit->text();
    if (name.isEmpty())
        return false;
    const QString folder = isAtRoot() ? CurrentFolder : CurrentFolder + Separator;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot >= 0 && name.mid(dot + 1) == ExtensionFilter;
    ResultPath = hasExtension ? folder + name : folder + name + QLatin1Char('.') + ExtensionFilter;
    return true;
}

void TFile_frm::Ok_btnClick()
{
    // With no name there is nothing to choose; whatever ResultPath still holds
    // from before is not what the person sees.
    if (!buildChosenPath())
        return;
    TMsgFile record;
    record.saveMode = SaveMode;
    record.extension = ExtensionFilter;
    record.fileName = ResultPath;
    close();
    if (!Broadcaster)
        return;
    try {
        Broadcaster->Broadcast(record);
    } catch (const std::exception& e) {
        // Nothing may leave a slot by an exception.
        if (host.notifier)
            host.notifier->showError(QString::fromUtf8(e.what()));
        else
            QMessageBox::critical(mainWindow, QString(), QString::fromUtf8(e.what()));
    }
}

void TFile_frm::Cancel_btnClick()
{
    ResultPath = QStringLiteral("0");
    if (host.fileFolder)
        *host.fileFolder = CurrentFolder;
    else
        ownFileFolder = CurrentFolder;
    close();
}

void TFile_frm::DeleteFile_btnClick()
{
    // The question does not name the file, so a file whose name is not in
    // the box is never deleted.
    if (!buildChosenPath())
        return;
    const QString question = text(FileBrowserTexts::DeleteQuestion);
    const bool yes = host.notifier ? host.notifier->confirm(question)
                                   : QMessageBox::question(this, QString(), question,
                                                           QMessageBox::Ok | QMessageBox::Cancel)
                                         == QMessageBox::Ok;
    if (!yes)
        return;
    if (!QFile::remove(ResultPath))
        showMessage(text(FileBrowserTexts::DeleteError));
    FillList();
}

void TFile_frm::showMessage(const QString& message)
{
    if (host.notifier)
        host.notifier->showMessage(message);
    else
        QMessageBox::information(this, QString(), message);
}

void TFile_frm::centreOverMainWindow()
{
    QRect over;
    if (mainWindow && mainWindow->isVisible())
        over = mainWindow->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (!over.isValid())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(over.center());
    move(frame.topLeft());
}
