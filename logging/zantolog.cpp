#include "zantolog.h"

#include "autosavefolder.h"
#include "commandset.h"
#include "logautosave.h"
#include "dashsample.h"
#include "logfile.h"
#include "logsave.h"
#include "logtexts.h"
#include "logthread.h"
#include "protocoltexts.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>

namespace {

// The chart window and the smoothing leave out the last samples of a
// recording: the smoothing window reaches 19 samples ahead.
constexpr qsizetype TailSamples = 20;
// The smoothing starts here after a live run; the first samples stay as read.
constexpr qsizetype FirstSmoothed = 30;
// Samples per drawn point: the chart shows between 430 and 860 points.
constexpr qsizetype PointsPerChart = 430;
// The dashboard sees the newest sample this often.
constexpr int DashIntervalMs = 100;
// How long to wait for an ending poll thread between letting its hand-over run.
constexpr unsigned long ThreadEndPollMs = 10;

QString fileText(const char* format, const QString& name, const QString& reason)
{
    return QString::fromUtf8(format).arg(QDir::toNativeSeparators(name), reason);
}

}  // namespace

TZantoLog::TZantoLog(QObject* owner, TZantoBroadcaster& broadcaster, UserNotifier& userNotifier)
    : TZantoLog(owner, nullptr, broadcaster, userNotifier)
{
}

TZantoLog::TZantoLog(QObject* owner, TRXTX* transport, TZantoBroadcaster& broadcaster, UserNotifier& userNotifier)
    : QObject(owner), link(transport), bus(broadcaster), notifier(userNotifier)
{
    dashTimer.setInterval(DashIntervalMs);
    connect(&dashTimer, &QTimer::timeout, this, &TZantoLog::PublishSample);
    bus.Register(this);
}

TZantoLog::~TZantoLog()
{
    dashTimer.stop();
    endPollThread();
    // A recording still running keeps its file, marked unfinished.
    autosave.reset();
    bus.Unregister(this);
}

void TZantoLog::Dispatch(const TMessage& message)
{
    if (message.id == MsgStartLog)
        StartLogging();
    else if (message.id == MsgStopLog)
        StopLogging();
}

void TZantoLog::StartLogging()
{
    // Whatever is left of an earlier poll (it may still be handing its end
    // over) must be gone before this one reads the link.
    endPollThread();

    ClearLog();
    hasData = false;
    loggingActive = true;
    // The count carries over, but one that already ended a recording would
    // end every later one at its first frame, good or not.
    if (badFrameCount >= LiveFrame::MaxBadFrames)
        badFrameCount = 0;

    try {
        if (!link)
            throw std::runtime_error(ProtocolTexts::NotConnected);
        link->Drain();
        link->Send(CommandSet::StartLive.constData(), int(CommandSet::StartLive.size()));
    } catch (const std::exception& e) {
        // Nothing is streaming and no thread runs: say why, and stop the way
        // the button would, so the window leaves its logging state.
        notifier.showError(QString::fromUtf8(e.what()));
        const TMsgStopLog stop;
        bus.Broadcast(stop);
        return;
    }

    beginAutosave();
    pollThread = std::make_unique<TLogThread>(*this);
    TLogThread* thread = pollThread.get();
    connect(thread, &QThread::finished, this, [this, thread] { pollThreadFinished(thread); }, Qt::QueuedConnection);
    thread->start();

    dashTimer.start();
    stopped = false;
}

void TZantoLog::StopLogging()
{
    // Only the stop that ends a recording finishes it: a repeated stop (or
    // one with no recording running) must not derive "O2SM" again over a
    // file loaded meanwhile.
    const bool endsRecording = !stopped;

    dashTimer.stop();
    // A thread that has begun handing its end over has appended for the last
    // time; it is waiting for this very thread (this may be that hand-over),
    // so it is reaped later instead of waited for.
    const bool threadHandingOver = pollThread && pollThread->RequestStop();
    stopped = true;

    try {
        if (link)
            link->Send(CommandSet::StopLive.constData(), int(CommandSet::StopLive.size()));
    } catch (const std::exception&) {
        // The link is gone (the Converter unplugged, or the poll lost it):
        // there is no stream left to stop, and the rest must still run.
    }

    // The thread sees the stop within one receive slice; after this it
    // appends nothing, so the stop step below reads a finished recording.
    if (pollThread && !threadHandingOver) {
        pollThread->wait();
        pollThread.reset();
    }

    loggingActive = false;
    if (!endsRecording)
        return;
    if (hasData)
        FinishRecording();
    endAutosave();
}

void TZantoLog::EnableAutosave(const QString& folder, std::function<QString()> baseName)
{
    autosaveFolder = folder;
    autosaveBaseName = std::move(baseName);
    recordPath.clear();
}

void TZantoLog::RecordToFile(const QString& path)
{
    recordPath = path;
    autosaveFolder.clear();
    autosaveBaseName = nullptr;
}

void TZantoLog::beginAutosave()
{
    QString path = recordPath;
    if (path.isEmpty() && autosaveBaseName) {
        QString reason;
        path = AutosaveFolder::prepare(autosaveFolder, autosaveBaseName(), AutosaveFolder::Kept - 1, &reason);
        if (path.isEmpty()) {
            notifier.showMessage(QString::fromUtf8(LogTexts::AutosaveStopped)
                                     .arg(QDir::toNativeSeparators(autosaveFolder), reason));
            return;
        }
    }
    if (path.isEmpty())
        return;
    if (!autosave)
        autosave = std::make_unique<LogAutosave>(logStore, notifier);
    autosave->begin(path, rangeLow, rangeHigh);
}

void TZantoLog::endAutosave()
{
    if (!autosave || autosave->path().isEmpty())
        return;
    const LogColumns columns = logStore.logColumns();
    if (columns.count() == 0)
        autosave->discard();
    else
        autosave->finish(columns, rangeLow, rangeHigh);
}

bool TZantoLog::RecoverAutosave()
{
    if (autosaveFolder.isEmpty())
        return false;
    const QStringList found = AutosaveFolder::unfinished(autosaveFolder);
    if (found.isEmpty())
        return false;
    // Only the newest becomes the current recording; the older ones (an
    // earlier start that could not finish them) are left loadable by hand.
    for (qsizetype i = 1; i < found.size(); ++i) {
        QFile older(found.at(i));
        if (older.open(QIODevice::ReadWrite) && older.seek(LogFile::UnfinishedOffset))
            older.write(QByteArray(int(sizeof LogFile::UnfinishedMark), '\0'));
    }

    const QString path = found.first();
    LoadLog(path);
    const qsizetype n = logStore.sampleCount();
    if (n > 0) {
        // As the stop of that recording would have done.
        windowStart = 0;
        windowEnd = n - TailSamples;
        DeriveO2Smooth(FirstSmoothed, n - TailSamples);
        SetChartStep(n - TailSamples);
        emit redrawRequested(chartStep);
    }
    notifier.showMessage(QString::fromUtf8(LogTexts::AutosaveRecovered).arg(QDir::toNativeSeparators(path)));
    const SaveOutcome outcome = SaveLogAtomically(path, logStore.logColumns(), rangeLow, rangeHigh);
    if (!outcome) {
        // Not finished, but it must not come back at every start.
        QFile file(path);
        if (file.open(QIODevice::ReadWrite) && file.seek(LogFile::UnfinishedOffset))
            file.write(QByteArray(int(sizeof LogFile::UnfinishedMark), '\0'));
        notifier.showMessage(QString::fromUtf8(LogTexts::AutosaveNotFinished)
                                 .arg(QDir::toNativeSeparators(path), outcome.reason));
    }
    return true;
}

void TZantoLog::PublishSample()
{
    const std::optional<LogSample> newest = logStore.lastSample();
    if (!newest)
        return;
    const TMsgDashData record = dashDataFor(*newest);
    bus.Broadcast(record);
}

void TZantoLog::endPollThread()
{
    if (!pollThread)
        return;
    pollThread->RequestStop();
    if (pollThread.get() == handOverThread) {
        // A listener of the thread's own stop message started logging again:
        // the thread ends as soon as this call returns to it, and deletes
        // itself then. It appends nothing more.
        TLogThread* ending = pollThread.release();
        connect(ending, &QThread::finished, ending, &QObject::deleteLater);
        return;
    }
    // The thread may be blocked in a hand-over to this thread; running the
    // link's pending calls releases it (the stop makes the call a no-op).
    while (!pollThread->wait(ThreadEndPollMs)) {
        if (link && link->Link)
            QCoreApplication::sendPostedEvents(link->Link, QEvent::MetaCall);
    }
    pollThread.reset();
}

void TZantoLog::pollThreadFinished(TLogThread* thread)
{
    if (pollThread.get() != thread || !thread->isFinished())
        return;
    thread->wait();
    pollThread.reset();
}

void TZantoLog::ClearLog() { logStore.clear(); }

void TZantoLog::DeriveO2Smooth(qsizetype first, qsizetype end) { logStore.deriveO2Smooth(first, end); }

void TZantoLog::SetChartStep(qsizetype count) { chartStep = std::max<qsizetype>(count / PointsPerChart, 1); }

void TZantoLog::FinishRecording()
{
    const qsizetype n = logStore.sampleCount();
    windowStart = 0;
    windowEnd = n - TailSamples;
    DeriveO2Smooth(FirstSmoothed, n - TailSamples);
    SetChartStep(n - TailSamples);
    emit redrawRequested(chartStep);
}

void TZantoLog::SaveLog(const QString& fileName)
{
    // A whole read: the samples present now, even while logging goes on.
    const LogColumns columns = logStore.logColumns();
    if (columns.count() == 0)
        return;

    const QString name = LogFile::withLogExtension(fileName);
    // Replaces the old file only once the new one is whole on the disk.
    const SaveOutcome saved = SaveLogAtomically(name, columns, rangeLow, rangeHigh);
    const auto withReason = [&saved](const char* text) { return QString::fromUtf8(text) + u'\n' + saved.reason; };
    if (saved)
        return;
    if (saved.oldFileInTheWay())
        notifier.showMessage(withReason(LogTexts::CantDeleteBeforeSaving));
    else if (saved.step == SaveOutcome::CannotCreate)
        notifier.showMessage(withReason(LogTexts::NoWritePermission));
    else
        notifier.showMessage(fileText(LogTexts::CannotWriteLog, name, saved.reason));
}

void TZantoLog::LoadLog(const QString& fileName)
{
    hasData = false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // The recording stays as it was.
        notifier.showMessage(fileText(LogTexts::CannotOpenLog, fileName, file.errorString()));
        return;
    }
    LoadLog(file, fileName);
}

void TZantoLog::LoadLog(QIODevice& device, const QString& name)
{
    hasData = false;
    // The clear; the old columns' storage is filled again.
    LogColumns storage = logStore.takeLog();

    LogFile::Contents contents;
    try {
        contents = LogFile::read(device, std::move(storage));
    } catch (const std::exception& e) {
        notifier.showMessage(fileText(LogTexts::CannotReadLog, name, QString::fromLocal8Bit(e.what())));
        return;
    }

    if (contents.headerRead) {
        rangeLow = contents.rangeLow;
        rangeHigh = contents.rangeHigh;
    }
    const qsizetype n = contents.columns.shortest();
    logStore.replaceLog(std::move(contents.columns));

    if (contents.readFailed) {
        // Whatever arrived before the error stays; the chart keeps its picture.
        notifier.showMessage(fileText(LogTexts::CannotReadLog, name, contents.errorText));
        return;
    }
    if (!contents.headerRead)
        return;

    windowStart = 0;
    windowEnd = n - TailSamples;
    SetChartStep(n - TailSamples);
    emit redrawRequested(chartStep);
}
