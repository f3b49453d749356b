#include "theme.h"

QString Theme::styleSheet()
{
    return QStringLiteral(R"(
#TTabbedForm { background: #0d1219; }
QWidget { color: #e6ecf2; font-family: "DejaVu Sans"; font-size: 10pt; }
QStackedWidget, QStackedWidget > QWidget { background: transparent; }
QLabel { background: transparent; }
QMessageBox { background: #f0f0f0; }
QMessageBox QLabel { color: #1a1a1a; }
QPlainTextEdit, QTextEdit {
  background: #070b10; color: #7cdc6a; border: 1px solid #2c3a4c; border-radius: 8px;
  font-family: "DejaVu Sans Mono"; font-size: 9pt; padding: 4px;
}
QAbstractSpinBox, QComboBox {
  background: #0a0f15; border: 1px solid #3c4a5c; border-radius: 6px; padding: 3px 6px;
  color: #ffd27f; min-height: 22px;
}
QAbstractSpinBox::up-button {
  subcontrol-origin: border; subcontrol-position: center right; width: 30px; height: 100%;
  image: url(:/icons/plus.svg); background: #1d2a40; border-left: 1px solid #3c4a5c;
  border-top-right-radius: 6px; border-bottom-right-radius: 6px;
}
QAbstractSpinBox::down-button {
  subcontrol-origin: border; subcontrol-position: center left; width: 30px; height: 100%;
  image: url(:/icons/minus.svg); background: #1d2a40; border-right: 1px solid #3c4a5c;
  border-top-left-radius: 6px; border-bottom-left-radius: 6px;
}
QAbstractSpinBox::up-button:pressed, QAbstractSpinBox::down-button:pressed { background: #3b5488; }
QAbstractSpinBox:disabled, QComboBox:disabled { color: #5d6773; }
QComboBox QAbstractItemView { background: #161e29; color: #e6ecf2; selection-background-color: #2c5fa8; }
QRadioButton, QCheckBox { spacing: 8px; }
QRadioButton::indicator, QCheckBox::indicator { width: 18px; height: 18px; }
QCheckBox[switch="true"]::indicator { width: 52px; height: 28px; image: url(:/icons/switch_off.svg); }
QCheckBox[switch="true"]::indicator:checked { image: url(:/icons/switch_on.svg); }
QPushButton {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a3d66, stop:1 #1a2540);
  border: 1px solid #5a6b8c; border-radius: 10px; padding: 6px 14px; font-weight: bold;
}
QPushButton:pressed { background: #3b5488; }
QPushButton:checked { background: #a8552c; }
QTableWidget {
  background: #e9eef3; color: black; gridline-color: #9aa7b6; border-radius: 6px;
}
QHeaderView::section { background: #1c2633; color: #8a97a8; border: none; }
QSlider::groove:horizontal { height: 6px; background: #2c3a4c; border-radius: 3px; }
QSlider::handle:horizontal { width: 18px; margin: -7px 0; border-radius: 9px; background: #ffa500; }
QScrollBar:vertical { width: 8px; background: transparent; }
QScrollBar::handle:vertical { background: #3c4a5c; border-radius: 4px; }
QDial { background: #1c2633; }
QFrame[setupPanel="true"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1b2533, stop:1 #0f151d);
  border: 2px solid #ffa500; border-radius: 16px;
}
QLabel[role="title"] { color: #ffa500; font-size: 13pt; font-weight: bold; }
QLabel[role="muted"] { color: #8a97a8; }
)");
}
