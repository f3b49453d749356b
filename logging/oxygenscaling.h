#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <optional>

// What the dashboard's oxygen meter shows for an "O2" value (0..255 = 0..5 V),
// always on the narrow-band scale, and the small model behind the oxygen
// sensor set-up panel.

struct O2Scale {
    int o2Meter = 0;        // bar position 0..255
    quint32 o2Colour = 0;   // ARGB
    QString o2Text;         // e.g. "25N 0.49V"
};

namespace O2Colours {
inline constexpr quint32 Lean = 0xFF0080FF;    // meter 0..124
inline constexpr quint32 Good = 0xFF00DD00;    // 125..199
inline constexpr quint32 Rich = 0xFFFFFF00;    // 200..224
inline constexpr quint32 TooRich = 0xFFFF0000; // 225..255
}  // namespace O2Colours

// The volts are written with the locale's decimal separator.
O2Scale ScaleO2(int value, const QLocale& locale = QLocale());

// value x 5 / 256 in hundredths of a volt, rounded half to even.
int o2CentiVolts(int value);

// The reference-grid fill value for an item of the sensor type list:
// 25 for the 0-1 V and 0-5 V signals, 147 for the two wide-band controllers,
// nothing for no selection (or an index the list does not have).
std::optional<int> o2RefFillValue(int sensorTypeIndex);

// The sensor type list's items, in order.
QStringList o2SensorTypes();
// The output unit list's items, in order.
QStringList o2OutputUnits();

// The fill button's value: the reference box's value truncated toward zero.
int o2RefFillFromBox(double boxValue);

// The offset dial: every change event moves the offset by one, up when the
// dial turned back (angle below the previous one), down otherwise. Across the
// ±180° seam (previous exactly -180 and a non-negative angle, or previous
// exactly 180 and a negative one) no step is made.
class O2OffsetDial {
public:
    static constexpr int MinOffset = -255;
    static constexpr int MaxOffset = 255;

    // The step (-1, 0 or +1) for a new dial angle in degrees (-180..180).
    int step(double angle);
    // The offset box's value after that step, kept within its range.
    int change(double angle, int offset);

    int previousAngle() const { return previous; }

private:
    int previous = 0;
};
