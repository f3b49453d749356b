#pragma once

#include "logcolumns.h"

#include <QMutex>

#include <optional>

// The recording, shared by the live-data thread (which appends) and the main
// thread (which reads the newest sample, reads the whole recording, clears or
// replaces it). One mutex is held for each of these as a whole, so a reader
// never sees a half-appended sample: the log columns always have one length,
// and so do the raw columns.
//
// Whole reads hand out implicitly shared copies: taking one costs a reference
// count, and the reader may keep it as long as it likes while appends go on.
class LogStore {
public:
    // Appends one entry to every raw and every log column.
    void append(const LogSample& sample);

    // The newest live sample (last raw and last log entries), or nothing
    // while the raw columns are empty (after a clear or a file load).
    std::optional<LogSample> lastSample() const;

    // The sample count n: the length of the log columns.
    qsizetype sampleCount() const;

    LogColumns logColumns() const;
    // Copies of the log columns' entries from `first` on (nothing when the
    // recording is not that long): what a writer has not taken yet.
    LogColumns logColumnsFrom(qsizetype first) const;
    LogSnapshot snapshot() const;

    // Empties every column.
    void clear();
    // Empties every column like clear(), handing the log columns' storage to
    // the caller (emptied, capacity kept) so a reload can fill it again
    // without asking the system for fresh memory.
    LogColumns takeLog();
    // Replaces the log columns (a loaded file) and empties the raw columns.
    // Columns of unequal length are cut to the shortest.
    void replaceLog(LogColumns columns);

    // colO2sm[k] := mean of colO2[k-20 .. k+19], truncated, for k in
    // first .. end-1. Nothing when first < 20; indexes whose window would run
    // past the recording are left alone.
    void deriveO2Smooth(qsizetype first, qsizetype end);

private:
    mutable QMutex mutex;
    LogColumns log;
    RawColumns raw;
};
