#pragma once

#include "logcolumns.h"

#include <QString>

// Writes a whole recording to a .log file by an atomic replace: the new file
// is written beside the target and renamed over it only once complete, so a
// failure at any step leaves an old file as it was and no half-written log.
struct LogSaveOutcome {
    enum Step { Saved, CannotCreate, CannotWrite, CannotReplace };
    Step step = Saved;
    bool targetExisted = false;
    QString reason;  // the system's reason when step is not Saved
    explicit operator bool() const { return step == Saved; }
};

// `target` is used as given (no extension added).
LogSaveOutcome SaveLogAtomically(const QString& target, const LogColumns& columns, int rangeLow, int rangeHigh);
