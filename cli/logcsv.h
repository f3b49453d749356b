#pragma once

#include "logcolumns.h"

#include <QByteArray>

class QIODevice;

// A recording as CSV: a header of "time_s" and the log columns' chart
// titles in record order, then one row per sample: its time (sample k at
// k x 0.02 s, three decimals) and the stored integer values. Numbers are
// formatted by hand, so the separator is '.' whatever the locale and a
// million rows take a fraction of a second.
namespace LogCsv {

// The header line, line break included.
QByteArray headerLine();

// Appends the rows of samples first .. end-1 to out.
void appendRows(const LogColumns& columns, qsizetype first, qsizetype end, QByteArray& out);

// Header and every row in one array.
QByteArray toCsv(const LogColumns& columns);

// Writes header and rows to the device in blocks of about a megabyte, so a
// long recording is never held twice. False when the device refused a
// write; its errorString() says why.
bool write(QIODevice& device, const LogColumns& columns);

}  // namespace LogCsv
