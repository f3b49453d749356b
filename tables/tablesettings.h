#pragma once

#include "settingsboxes.h"

#include <QString>

// Conversions between the settings block (entries 256..263 of a table) and
// the texts of its number boxes. Box k shows entry 256 + k.
namespace TableSettings {

inline constexpr int FirstEntry = 256;
// SettingsDefaults writes these, in entry order.
inline constexpr int Defaults[SettingsBoxes::Count] = {4, 5, 128, 64, 128, 0, 128, 255};

// Leading blanks, an optional sign and digits; no digits gives 0. Saturates
// at the int range.
int integerPrefix(const QString& text);

// The text a box shows for an entry value.
QString toText(SettingsBoxes::Box box, int value);
// The entry value for a box text. A decimal text that is not a number keeps
// `current`, so a stray character never wipes a setting.
int fromText(SettingsBoxes::Box box, const QString& text, int current);

}  // namespace TableSettings
