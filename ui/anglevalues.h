#pragma once

#include <QtGlobal>

// The sensor angle box and the table's angle entry (tenths of a degree in
// the entry's low byte, signed).

// The box value for an entry: its low byte as a signed number, divided by
// ten, rounded to one decimal with halves to even.
double angleFromTableEntry(qint32 entry);

// The value to write for a box value: times ten, rounded to one decimal
// with halves to even, then truncated toward zero (-1.5 gives -15, 1.26 gives 12).
qint32 writeValueFromAngle(double angle);
