#pragma once

#include <QColor>
#include <QString>

// The window's dark, dashboard-like look: a few colours shared by the
// painted controls and one style sheet for the standard ones.
namespace Theme {
inline const QColor Background{0x0d, 0x12, 0x19};
inline const QColor Panel{0x16, 0x1e, 0x29};
inline const QColor PanelBorder{0x2c, 0x3a, 0x4c};
inline const QColor ButtonTop{0xFF041C51};     // the command buttons' gradient
inline const QColor ButtonBottom{0xFF484F6E};
inline const QColor ButtonBorder{0x5a, 0x6b, 0x8c};
inline const QColor Accent{0xff, 0xa5, 0x00};
inline const QColor Text{0xe6, 0xec, 0xf2};
inline const QColor MutedText{0x8a, 0x97, 0xa8};

QString styleSheet();
}  // namespace Theme
