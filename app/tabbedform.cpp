#include "tabbedform.h"

#include "dashboardchartview.h"
#include "defaultfilename.h"
#include "logtexts.h"
#include "filebrowser.h"
#include "formadapters.h"
#include "logchartview.h"
#include "correctioncontrols.h"
#include "roundbutton.h"
#include "dashboardpage.h"
#include "formanimation.h"
#include "formtexts.h"
#include "o2gridview.h"
#include "o2refgrid.h"
#include "otherpages.h"
#include "pagestack.h"
#include "setuppanels.h"
#include "tablechartview.h"
#include "tablecharts.h"
#include "tablepage.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "theme.h"
#include "toastlayer.h"
#include "voltmeter.h"
#include "zantolog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

TTabbedForm::TTabbedForm(UserNotifier* messages, QWidget* parent, const LinkOptions& link)
    : QWidget(parent), messageOverride(messages), linkOptions(link)
{
    initResources();
    setObjectName("TTabbedForm");
    setWindowTitle(QString::fromUtf8(FormTexts::Caption));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(Theme::styleSheet());
    buildWindow();
    FormCreate();
}

TTabbedForm::~TTabbedForm()
{
    qApp->removeEventFilter(this);
    // The grid widget goes with the window; the record must stop calling it.
    if (O2RefGrid)
        O2RefGrid->onChanged = nullptr;
}

void TTabbedForm::buildWindow()
{
    MTabControl = createPageStack(this);
    TabItem1 = MTabControl->widget(0);
    TabItem2 = MTabControl->widget(1);
    TabItem3 = MTabControl->widget(2);
    TabItem4 = MTabControl->widget(3);
    TabItem5 = MTabControl->widget(4);
    Bluetooth = std::make_unique<BluetoothPage>(TabItem1);
    Tab = std::make_unique<TablePage>(TabItem2);
    Log = std::make_unique<LogPage>(TabItem3);
    Dash = std::make_unique<DashboardPage>(TabItem4);
    More = std::make_unique<MorePage>(TabItem5);
    Bar = std::make_unique<BottomBar>(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MTabControl, 1);
    layout->addWidget(Bar->Rectangle18);

    // Laid over the pages, outside the layout.
    Hotkeys = std::make_unique<HotkeysPanel>(this);
    ToastLayout = new ToastLayer(this);

    Dash->Correction->smoothTps = Tab->SmoothTps_nb;
    setFixedSize(ClientWidth, ClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    wireCommands();
    wireDashboard();
    qApp->installEventFilter(this);
}

void TTabbedForm::FormCreate()
{
    MinPointIndex = 0;
    MaxPointIndex = 255;
    KickDownPointIndex = 255;

    Dash->TPS_layout->Reset();
    Dash->TPS_layout->TpsMultimeter1_img->show();

    O2RefGrid = std::make_unique< ::O2RefGrid>();
    AttachO2Grid(*O2RefGrid, Dash->Oxygen_Sensor_layout->StringGrid2);

    for (ZoomScrollChartView* chart :
         std::initializer_list<ZoomScrollChartView*>{Tab->TableChart, Log->ChartLog, Dash->DashChart}) {
        chart->zoomButton = Qt::LeftButton;
        chart->scrollButton = Qt::RightButton;
    }

    Broadcaster = std::make_unique<TZantoBroadcaster>();
    Broadcaster->Register(this);

    ConnectionMemoView = std::make_unique<TextConnectionMemo>(Dash->TextConnection);
    BtMethod = std::make_unique<TBTMethod>(Broadcaster.get(), ConnectionMemoView.get(), &messages(),
                                           makeBluetoothStack(linkOptions));
    Rxtx = std::make_unique<TRXTX>(Broadcaster.get(), BtMethod.get(), &messages());

    Tables = std::make_unique<Table>(messages());
    SettingBoxes = std::make_unique<SpinSettingsBoxes>(std::array<QDoubleSpinBox*, SettingsBoxes::Count>{
        Tab->MafTime_nb, Tab->Treshold_nb, Tab->EnrichmentFactor_nb, Tab->EnleanmentFactor_nb, Tab->SmoothMaf_nb,
        Tab->SmoothTps_nb, Tab->SmoothRpm_nb, Tab->TpsThreshold_nb});
    TableViews = std::make_unique<TableCharts>(*Tables);
    TableViews->SetUpTableView(
        Tab->TableChart, true, {QStringLiteral("Tab1"), QColor::fromRgba(0xFFFF0000)}, true,
        {QStringLiteral("Tab2"), QColor::fromRgba(0xFF0000FF)}, SettingBoxes.get(),
        [this](const QString& text) { ShowToast(text); }, [this](const QString& text) { FlashToast(text); });
    TableViews->SetUpDashboardChart(Dash->DashChart);
    LastDeviceAddress = QStringLiteral("UNKNOWN_ADDRESS");

    MTabControl->setCurrentIndex(0);
    setWidgetOpacity(ToastLayout, 0.0);
    MTabControl->setCurrentIndex(DashboardPageIndex);

    Logger = std::make_unique<TZantoLog>(nullptr, Rxtx.get(), *Broadcaster, messages());
    // Every recording also goes to disk as it runs, beside config.cfg, named
    // as save all names its files.
    Logger->EnableAutosave(QDir::current().filePath(QString::fromLatin1(LogTexts::AutosaveFolder)),
                           [] { return defaultFileName(QDateTime::currentDateTime()); });
    SetUpLogChart();

    FileBrowserHost host;
    host.broadcaster = [this] { return Broadcaster.get(); };
    host.notifier = &messages();
    host.fileFolder = &FileFolder;
    host.fileDialogCaptions = &FileDialogCaptions;
    host.languageId = &LanguageId;
    File_frm = std::make_unique<TFile_frm>(host, this);
    wireLayers();

    Dash->DashMore_rect->hide();
    Dash->TextConnection->setPlainText(QString());

    Dash->Correction->TrackBarMafNach->setValue(0);
    Dash->Correction->TrackBarMafKon->setValue(255);

    LanguageId = 0;
    FileDialogCaptions = {QString::fromUtf8(FormTexts::SaveCaption), QString::fromUtf8(FormTexts::OpenCaption),
                          QString::fromUtf8(FormTexts::CancelCaption)};
    LoadStartupState();
    BtMethod->LastDeviceAddress = LastDeviceAddress;
    startVoltmeterAnimation();
}

void TTabbedForm::FormShow()
{
    for (QWidget* panel : {Log->LogSetup_layt, Tab->TabMore_layt}) {
        panel->hide();
        setWidgetOpacity(panel, 0.0);
    }
    setWidgetOpacity(Dash->Correction->Corr_txt, 0.0);
    if (LanguageId == 1) {
        Bar->Lang_txt->setText(QString::fromUtf8(FormTexts::LangEn));
        QCoreApplication::processEvents();
        ApplyLanguage(1);
    } else {
        Bar->Lang_txt->setText(QString::fromUtf8(FormTexts::LangRu));
        ApplyLanguage(0);
    }
    // Once the window stands: a recording the last run could not finish
    // becomes the current one, and the person is told.
    QTimer::singleShot(0, this, [this] { Logger->RecoverAutosave(); });
}

void TTabbedForm::FormClose()
{
    try {
        if (loggingRuns()) {
            StartStop_rectClick();
            QCoreApplication::processEvents();
        }
        closeSocket();
    } catch (const std::exception& e) {
        messages().showMessage(QString::fromUtf8(FormTexts::CloseBtError) + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        messages().showMessage(QString::fromUtf8(FormTexts::CloseBtError));
    }
    SaveState();
}

void TTabbedForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce) {
        shownOnce = true;
        FormShow();
    }
}

void TTabbedForm::closeEvent(QCloseEvent* event)
{
    if (!closed) {
        closed = true;
        FormClose();
    }
    QWidget::closeEvent(event);
}

void TTabbedForm::ShowToast(const QString& text)
{
    ToastLayout->ShowToast(text);
}

void TTabbedForm::FlashToast(const QString& text)
{
    ToastLayout->FlashToast(text);
}

UserNotifier& TTabbedForm::messages()
{
    return messageOverride ? *messageOverride : *this;
}

void TTabbedForm::showMessage(const QString& text)
{
    if (messageOverride)
        return messageOverride->showMessage(text);
    QMessageBox::information(isVisible() ? this : nullptr, windowTitle(), text);
}

void TTabbedForm::showError(const QString& text)
{
    if (messageOverride)
        return messageOverride->showError(text);
    QMessageBox::critical(isVisible() ? this : nullptr, windowTitle(), text);
}

bool TTabbedForm::confirm(const QString& text)
{
    if (messageOverride)
        return messageOverride->confirm(text);
    return QMessageBox::question(isVisible() ? this : nullptr, windowTitle(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TTabbedForm::processEvents()
{
    QCoreApplication::processEvents();
}
