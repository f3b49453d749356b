#pragma once

#include "loggerstoredvalues.h"
#include "logstore.h"
#include "zantobroadcaster.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class LogAutosave;
class QIODevice;
class TLogThread;
class TRXTX;
class UserNotifier;

// The logger: owns the recording (a LogStore), saves and loads .log files,
// keeps the log chart's window and runs the live-data poll. It listens on
// the bus: message 3 starts logging, message 4 stops it. While logging runs,
// a TLogThread appends one sample per good frame and the 100 ms dashTimer
// posts the newest sample as message 6.
//
// Everything here runs on the main thread except where a field says
// otherwise.
class TZantoLog : public QObject, public TZantoListener {
    Q_OBJECT
public:
    // Registers the logger as the bus's next listener (the bus must outlive
    // it). The transport may be given later with SetTransport; logging needs
    // it.
    TZantoLog(QObject* owner, TZantoBroadcaster& bus, UserNotifier& notifier);
    TZantoLog(QObject* owner, TRXTX* transport, TZantoBroadcaster& bus, UserNotifier& notifier);
    // Ends a running poll thread first; none is left behind.
    ~TZantoLog() override;

    // Message 3 runs StartLogging, message 4 StopLogging; others are ignored.
    void Dispatch(const TMessage& message) override;

    void SetTransport(TRXTX* transport) { link = transport; }

    // Clears the recording, drains the link, sends "fiusfiul", starts the
    // poll thread and the dashboard timer. A send that fails is shown and
    // ends in a stop, so the window does not stay in the logging state.
    void StartLogging();
    // Stops the timer and the thread, sends "fius" (a link that is gone is
    // no obstacle) and, when this ends a recording the Converter answered,
    // runs FinishRecording. The thread has made its last append by then.
    void StopLogging();
    // The dashTimer's tick: message 6 with the newest sample; nothing while
    // there is none.
    void PublishSample();

    // The running poll thread, or null. Dropped once the thread has ended.
    TLogThread* PollThread() const { return pollThread.get(); }

    LogStore& store() { return logStore; }
    const LogStore& store() const { return logStore; }

    // Empties every column, raw and log.
    void ClearLog();
    // colO2sm[k] := mean of colO2[k-20 .. k+19] for k in first .. end-1.
    void DeriveO2Smooth(qsizetype first, qsizetype end);

    // Writes the log columns to `fileName` (".log" appended unless it ends in
    // exactly that). Nothing is written for an empty recording. The file is
    // replaced only once the new one is complete: a failed save leaves any
    // old file as it was and tells the person why.
    void SaveLog(const QString& fileName);

    // Replaces the recording with a file's contents and asks for a chart
    // redraw. A file that cannot be opened keeps the old recording; a read
    // error part way keeps what was read and is reported; a file shorter than
    // its header gives an empty recording, silently.
    void LoadLog(const QString& fileName);
    // The same for any open device; `name` only appears in messages.
    void LoadLog(QIODevice& device, const QString& name);

    // Every recording from now on is also written, as it runs, to its own
    // file in `folder` (made when missing), named `baseName()` + ".log";
    // the oldest beyond the newest 20 go when a recording starts.
    void EnableAutosave(const QString& folder, std::function<QString()> baseName);
    // The next recordings are written as they run to exactly this file.
    void RecordToFile(const QString& path);
    // The writer of the current or last recording, or null.
    const LogAutosave* Autosave() const { return autosave.get(); }

    // Loads the newest recording in the autosave folder that was never
    // finished (the program ended while logging) as the current recording,
    // finishes its file and says so. Older unfinished ones are only marked
    // finished. False when there was none.
    bool RecoverAutosave();

    // chartStep := count / 430, at least 1.
    void SetChartStep(qsizetype count);

    // What stopping a recording does once the Converter had answered: the
    // chart window 0 .. n-20, "O2SM" derived for 30 .. n-21, the chart step
    // and a redraw request. The poll thread must have finished appending.
    void FinishRecording();

    // The two leading bytes of the last log loaded, written back on save.
    int rangeLow = 0;
    int rangeHigh = 0;

    // The log chart's window (sample indexes) and its drawing step.
    qsizetype windowStart = 0;
    qsizetype windowEnd = 0;
    qsizetype chartStep = 1;

    // Flags of the live poll and the log chart. hasData and markerHeld are
    // also touched by the poll thread; badFrameCount belongs to it and carries
    // over from one recording to the next (only one poll thread runs at a
    // time, and it is read here only once that thread has ended).
    std::atomic<bool> hasData{false};
    bool loggingActive = false;
    bool stopped = true;
    std::atomic<bool> markerHeld{false};
    int badFrameCount = 0;

    // Kept for the recording; written by the window's correction controls.
    LoggerStoredValues StoredValues;

    // The transport the poll talks through; not owned.
    TRXTX* link = nullptr;

    // 100 ms, disabled until logging starts; its tick is PublishSample.
    QTimer dashTimer;

signals:
    // The recording (or its window) changed and the log chart should redraw
    // with this step; the chart decides whether it can.
    void redrawRequested(qsizetype step);

protected:
    TZantoBroadcaster& bus;
    UserNotifier& notifier;

private:
    friend class TLogThread;

    // Stops and deletes the poll thread, also one still waiting for a
    // hand-over to this thread (which then does nothing).
    void endPollThread();
    void pollThreadFinished(TLogThread* thread);

    // Opens the writer for a starting recording, when one is wanted.
    void beginAutosave();
    // Finishes (or, without samples, removes) the file of an ending one.
    void endAutosave();

    LogStore logStore;
    std::unique_ptr<LogAutosave> autosave;
    QString autosaveFolder;
    std::function<QString()> autosaveBaseName;
    QString recordPath;
    std::unique_ptr<TLogThread> pollThread;
    // The poll thread whose hand-over is running on this thread right now;
    // it waits for it to return, so it must not be waited for here.
    const TLogThread* handOverThread = nullptr;
};
