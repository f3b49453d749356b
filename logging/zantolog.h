#pragma once

#include "logstore.h"
#include "zantobroadcaster.h"

#include <QObject>
#include <QString>

#include <atomic>

class QIODevice;
class UserNotifier;

// The logger: owns the recording (a LogStore), saves and loads .log files,
// and keeps the log chart's window. It listens on the bus; the live-data
// poll (start and stop messages, the poll thread, the dashboard timer) is
// built on top of what is here: the thread appends through store() with
// LiveFrame::accept, and the stop step ends with FinishRecording().
//
// Everything here runs on the main thread except where a field says
// otherwise.
class TZantoLog : public QObject, public TZantoListener {
    Q_OBJECT
public:
    // Registers the logger as the bus's next listener.
    TZantoLog(QObject* owner, TZantoBroadcaster& bus, UserNotifier& notifier);
    ~TZantoLog() override;

    // Bus messages. Start and stop logging belong to the live poll.
    void Dispatch(const TMessage& message) override;

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
    // over from one recording to the next.
    std::atomic<bool> hasData{false};
    bool loggingActive = false;
    bool stopped = true;
    std::atomic<bool> markerHeld{false};
    int badFrameCount = 0;

signals:
    // The recording (or its window) changed and the log chart should redraw
    // with this step; the chart decides whether it can.
    void redrawRequested(qsizetype step);

protected:
    TZantoBroadcaster& bus;
    UserNotifier& notifier;

private:
    LogStore logStore;
};
