#pragma once

#include "logcolumns.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class LogStore;
class UserNotifier;

// Writes a recording to its .log file while it runs, so that a killed
// process loses at most the last moments of it.
//
// The file gets its header at once (marked unfinished), then, on a
// main-thread timer, the whole samples the live poll appended since the last
// tick, taken from the store in one short copy. The file is a valid log at
// every moment: a kill can only cut the last record, which readers ignore.
// It is synced to the disk every few seconds. When the file cannot be
// written, writing stops for the rest of the recording, one message says why,
// and the recording goes on in memory as before.
//
// Finishing replaces the file atomically by the whole recording as SaveLog
// writes it (with the smoothed oxygen column, without the unfinished mark).
class LogAutosave : public QObject {
    Q_OBJECT
public:
    // Whole samples reach the file at least this often...
    static constexpr int WriteIntervalMs = 250;
    // ...and the disk at least this often.
    static constexpr int SyncIntervalMs = 2000;

    LogAutosave(const LogStore& store, UserNotifier& notifier, QObject* parent = nullptr);
    ~LogAutosave() override;

    // Creates (or truncates) `path`, writes the header and starts the timer.
    // False, after the message, when the file cannot be created.
    bool begin(const QString& path, int rangeLow, int rangeHigh);

    // The timer's tick: appends the samples not yet written.
    void writePending();

    // Ends the file by the atomic replace with `columns`, also after writing
    // had failed. False when that failed: the file written so far stays,
    // still marked unfinished, and a message says why (none when a failed
    // write has already been reported).
    bool finish(const LogColumns& columns, int rangeLow, int rangeHigh);

    // Ends the running file and removes it (a recording without samples).
    void discard();

    // A file is open and being written.
    bool running() const { return fd >= 0; }
    // The file of the current or last recording.
    QString path() const { return filePath; }
    // Samples written to the file so far.
    qsizetype written() const { return samplesWritten; }
    // True once writing failed in this recording.
    bool failed() const { return hasFailed; }
    // True once finish() replaced the file with the whole recording.
    bool finished() const { return hasFinished; }

private:
    bool writeAll(const char* data, qsizetype size);
    void fail(int error);
    void closeFile();

    const LogStore& store;
    UserNotifier& notifier;
    QTimer timer;
    QElapsedTimer sinceSync;
    QString filePath;
    int fd = -1;
    qsizetype samplesWritten = 0;
    bool hasFailed = false;
    bool hasFinished = false;
};
