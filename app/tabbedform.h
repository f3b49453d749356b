#pragma once

#include "stackfactory.h"
#include "usernotifier.h"
#include "zantobroadcaster.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class ConnectionMemo;
class FormAnimation;
class LogCharts;
class SettingsBoxes;
class TBTMethod;
class TFile_frm;
class TRXTX;
class TZantoLog;
class Table;
class TableCharts;
class O2RefGrid;
class QStackedWidget;
class ToastLayer;
struct BluetoothPage;
struct BottomBar;
struct DashboardPage;
struct HotkeysPanel;
struct LogPage;
struct MorePage;
struct ProgramState;
struct TablePage;

// The main window: a narrow touch window with five pages whose tabs are
// hidden, a bar of round page buttons below them, a toast over everything.
// It owns the long-lived objects, is the bus's first listener, and speaks
// to the person for the whole program.
//
// Split by concern: tabbedform.cpp (life cycle, notifier), formstate.cpp
// (state file <-> controls), formcommands.cpp (command buttons),
// formdashboard.cpp (dashboard, bus reactions), formkeys.cpp (hot keys),
// formlayers.cpp (the commands that reach the Converter, the table store,
// the logger and the file browser).
class TTabbedForm : public QWidget, public TZantoListener, public UserNotifier {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 394;
    static constexpr int ClientHeight = 689;
    static constexpr int DashboardPageIndex = 3;

    // messages: where the message boxes go instead of real dialogs (tests); the
    // toasts always use the window's own toast layer.
    // link: how the Converter is reached (the BlueZ stack unless told otherwise).
    explicit TTabbedForm(UserNotifier* messages = nullptr, QWidget* parent = nullptr,
                         const LinkOptions& link = LinkOptions());
    ~TTabbedForm() override;

    // Long-lived objects. Declared in the order of creation, so that they go
    // in reverse: the file browser and the logger (whose poll thread reads
    // through the link) before the table store, the transport and the link;
    // the bus last.
    std::unique_ptr<TZantoBroadcaster> Broadcaster;
    std::unique_ptr< ::O2RefGrid> O2RefGrid;
    std::unique_ptr<ConnectionMemo> ConnectionMemoView;
    std::unique_ptr<TBTMethod> BtMethod;
    std::unique_ptr<TRXTX> Rxtx;
    std::unique_ptr<SettingsBoxes> SettingBoxes;
    std::unique_ptr<Table> Tables;
    std::unique_ptr<TableCharts> TableViews;
    std::unique_ptr<TZantoLog> Logger;
    std::unique_ptr<TFile_frm> File_frm;
    // The log page's charts (a child of the window), after the logger.
    LogCharts* LogChart = nullptr;

    // Fields kept in the state file.
    quint8 MinPointIndex = 0;
    quint8 MaxPointIndex = 255;
    quint8 KickDownPointIndex = 255;
    quint8 LanguageId = 0;
    QString FileFolder;
    QStringList FileDialogCaptions;
    qint32 VoltmeterChannel = 1;
    // Kept here until the state is loaded; then the link's LastDeviceAddress.
    QString LastDeviceAddress;

    // Pages and bars.
    QStackedWidget* MTabControl = nullptr;
    QWidget* TabItem1 = nullptr;
    QWidget* TabItem2 = nullptr;
    QWidget* TabItem3 = nullptr;
    QWidget* TabItem4 = nullptr;
    QWidget* TabItem5 = nullptr;
    std::unique_ptr<BluetoothPage> Bluetooth;
    std::unique_ptr<TablePage> Tab;
    std::unique_ptr<LogPage> Log;
    std::unique_ptr<DashboardPage> Dash;
    std::unique_ptr<MorePage> More;
    std::unique_ptr<HotkeysPanel> Hotkeys;
    std::unique_ptr<BottomBar> Bar;
    ToastLayer* ToastLayout = nullptr;

    void ShowToast(const QString& text);
    void FlashToast(const QString& text);

    // UserNotifier
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    bool confirm(const QString& text) override;
    void showToast(const QString& text) override { ShowToast(text); }
    void flashToast(const QString& text) override { FlashToast(text); }
    void processEvents() override;

    // TZantoListener
    void Dispatch(const TMessage& message) override;

    // Puts the texts of language id (1 English, else Russian) into the controls.
    void ApplyLanguage(quint8 id);

    // The state as the controls hold it, and the state put into them.
    ProgramState collectState() const;
    void applyState(const ProgramState& state);

public slots:
    // Command buttons: one click handler and one finish handler per group.
    void Lang_txtClick();
    void LangAnimationFinish(FormAnimation* animation);
    void BTTabSel_rectClick();
    void BTTabSel_aniFinish(FormAnimation* animation);
    void ReadTab_rectClick();
    void ReadTab_aniFinish(FormAnimation* animation);
    void TabOpen_rectClick();
    void TabOpen_aniFinish(FormAnimation* animation);
    void About_ImageButtonClick();
    void About_BitAniFinish();
    void OneToOne_rndrectClick();
    void OneToOne_aniFinish();
    void Defaults_rctClick();
    void Defaults_aniFinish();
    void TabMore_rectClick();
    void LogSetup_rectClick();
    void SaveAll_rectClick();
    void SaveAll_aniFinish();
    void TabReset_rectClick();
    void TabReset_aniFinish();
    void Interp_btnClick();
    void Extrap_btnClick();
    void ZoomMoveLog_sbtnClick();
    void ZoomMoveDashChart_sbtnClick();
    void ZoomMoveTable_sbtnClick();
    void SpeedButton3Click();

    // Dashboard.
    void OxBase_rectClick();
    void ComboBoxO2Change(int index);
    void Ox_aniFinish();
    void Throttle_rectClick();
    void Throttle_aniFinish();
    void CorrSetup_rectClick();
    void CorrSetup_aniFinish();
    void BtnOkClosesViewClick();
    void SmoothTps_nbChange(double value);
    void KickDown_switchClick();
    void StartStop_rectClick();
    void DashAutoRectClick();
    void ComboBoxAutoCorrTypeChange();
    void DashApplyToTable_rectClick();
    void DashApplyToTable_aniFinish();
    void Corr_numboxChange(double value);
    void ClearTrainedInWindow_sbtnClick();
    void ClearTrainedAll_sbtnClick();
    void TextConnectionChange();

    // Hot keys; true when the key was consumed.
    bool FormKeyDown(int key, const QString& typed, bool autoRepeat);
    bool FormKeyUp(int key, const QString& typed, bool autoRepeat);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void buildWindow();
    void wireCommands();
    void wireDashboard();
    void LoadStartupState();
    void SaveState();
    void startVoltmeterAnimation();
    void swapZoomButton(class QPushButton* button, Qt::MouseButton& zoomButton);
    void setMarker(bool held);
    void openSetupPanelAnimation(FormAnimation* animation);
    UserNotifier& messages();

    // Commands that reach the Converter, the table store, the logger or the
    // file browser (formlayers.cpp).
    bool converterConnected() const;
    void StartConnection();
    void ReadTables();
    void WriteTables(qint32 writeValue);
    qint32 tableAngleEntry() const;
    void ResetConverter();
    void OpenFileBrowser(bool saveMode, const QString& extension, const QString& fileName);
    void SaveTableFile(const QString& fileName);
    void LoadTableFile(const QString& fileName);
    void SaveLog(const QString& fileName);
    void LoadLog(const QString& fileName);
    void UpdateFirmware(const QString& fileName);
    void FillOneToOne();
    enum CorrectionMode { ApplyWindow, ApplyMiddle, ApplyMin, ApplyMax };
    void ApplyCorrection(int correction, int begin, int end, CorrectionMode mode);
    // trained[index] := 0 and marks[index] := 0.
    void ClearPoint(int index);
    void StepCorrection(int correction, bool ect);
    void SendSettingsAndTable();
    void ClearTrained(int begin, int end);
    void SendCorrection(int correction, int begin, int end, int kind);
    void SendAngleOffset(qint8 tenths);
    void StoreCorrection(int correction);
    void CopyStoredValuesToLogger();
    void StoreAutoCorrection(bool enabled, int item);
    void SetMarkerHeld(bool held);
    void SetKickDownPoint(bool on);
    bool loggingRuns() const;
    void closeSocket();
    // The log chart set-up and its long tap (formlogchart.cpp).
    void SetUpLogChart();
    void ChartLogGesture();
    void wireLayers();
    void stopLoggingIfRunning();
    void showReferenceMode();
    void RefSwitchClick();
    void Calibrate_btnClick();
    void Angle_SpinBoxChange(double value);
    void TrackBarMafChange(int correction, int begin, int end);
    // Runs a command of a lower layer; an exception is shown, never passed on.
    void guarded(const std::function<void()>& command);

    UserNotifier* messageOverride = nullptr;
    LinkOptions linkOptions;
    bool shownOnce = false;
    bool closed = false;
};
