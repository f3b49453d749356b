#pragma once

#include "atomicsave.h"
#include "logcolumns.h"

#include <QString>

// Writes a whole recording to a .log file by the shared atomic replace, so a
// failure at any step leaves an old file as it was and no half-written log.
// `target` is used as given (no extension added).
SaveOutcome SaveLogAtomically(const QString& target, const LogColumns& columns, int rangeLow, int rangeHigh);
