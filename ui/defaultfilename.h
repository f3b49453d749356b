#pragma once

#include <QDateTime>
#include <QString>

// The name the save buttons offer: "D", the date and the time in the given
// formats (no time part at exactly midnight), with ":" made "_", "." removed
// and blanks made "T". With dd.MM.yyyy and H:mm:ss, 9 December 2026 at
// 1:07:15 gives "D09122026T1_07_15".
QString defaultFileName(const QDateTime& now, const QString& dateFormat, const QString& timeFormat);

// The same with the system locale's short date and long time formats.
QString defaultFileName(const QDateTime& now);
