#pragma once

// The window reaches into the log chart (its zoom button), so its full type.
#include "logchartview.h"

class ButtonText;
class FormAnimation;
class OptionsPanel;
class QChartView;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QWidget;
class RoundButton;

// The log page "TabItem3": top bar, log chart, its options panel.
struct LogPage {
    explicit LogPage(QWidget* page);

    QWidget* LogTop_rect;
    RoundButton* LogOpen_rct;
    FormAnimation* LogOpen_ani;
    RoundButton* LogSave_rct;
    FormAnimation* LogSave_ani;
    RoundButton* LogSetup_rect;
    FormAnimation* LogSetup_ani;
    // The log chart and the hidden oxygen chart (LogCharts sets them up).
    LogChartView* ChartLog;
    QChartView* ChartO2;
    QPushButton* ZoomMoveLog_sbtn;
    QScrollArea* Log_VScrlBox;
    QWidget* LogSetup_layt;
    OptionsPanel* LogSetup;
    QWidget* Rectangle9;
    QPushButton* LogUndoBtn;
    QPushButton* LogRedo_btn;
    QPushButton* LogExtrap_btn;
    QPushButton* LogInterp_btn;
};

// The Bluetooth page "TabItem1" (no button selects it) and the "more" page "TabItem5".
struct BluetoothPage {
    explicit BluetoothPage(QWidget* page);
    QLabel* Bt_txt;
};

struct MorePage {
    explicit MorePage(QWidget* page);
    RoundButton* FwUpd_rect;
    RoundButton* RoundRect5;
    FormAnimation* RoundRect5_ani;
    RoundButton* RoundRect6;
    RoundButton* RoundRect7;
    RoundButton* RoundRect8;
    QWidget* TestGauge_layt;
};

// The hot-key help "Hotkeys_layout" with its memo, laid over the pages.
struct HotkeysPanel {
    explicit HotkeysPanel(QWidget* window);
    QWidget* Hotkeys_layout;
    QPlainTextEdit* Memo1;
};

// The bottom bar "Rectangle18": page buttons, About, language.
struct BottomBar {
    explicit BottomBar(QWidget* window);

    QWidget* Rectangle18;
    RoundButton* LogTabSel_rect;
    FormAnimation* LogTabSel_ani;
    RoundButton* TabTabSel_rect;
    FormAnimation* TabTabSel_ani;
    RoundButton* About_ImageButton;
    FormAnimation* About_BitAni;
    RoundButton* DashTabSel_rect;
    FormAnimation* DashTabSel_ani;
    RoundButton* MoreTabSel_rect;
    FormAnimation* MoreTabSel_ani;
    RoundButton* RoundRect1;
    ButtonText* Lang_txt;
    FormAnimation* LangAnimation;
};
