#include "zantolog.h"

#include "logfile.h"
#include "logtexts.h"
#include "usernotifier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <exception>

namespace {

// The chart window and the smoothing leave out the last samples of a
// recording: the smoothing window reaches 19 samples ahead.
constexpr qsizetype TailSamples = 20;
// The smoothing starts here after a live run; the first samples stay as read.
constexpr qsizetype FirstSmoothed = 30;
// Samples per drawn point: the chart shows between 430 and 860 points.
constexpr qsizetype PointsPerChart = 430;

QString fileText(const char* format, const QString& name, const QString& reason)
{
    return QString::fromUtf8(format).arg(QDir::toNativeSeparators(name), reason);
}

}  // namespace

TZantoLog::TZantoLog(QObject* owner, TZantoBroadcaster& broadcaster, UserNotifier& userNotifier)
    : QObject(owner), bus(broadcaster), notifier(userNotifier)
{
    bus.Register(this);
}

TZantoLog::~TZantoLog() = default;

void TZantoLog::Dispatch(const TMessage& message)
{
    // Start (3) and stop (4) logging are handled by the live poll; nothing
    // else concerns the logger.
    Q_UNUSED(message);
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
    const QFileInfo target(name);
    const bool existed = target.exists() || target.isSymLink();

    // Written beside the target and renamed over it when complete, so an old
    // file survives any failure and no half-written log is ever left behind.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        notifier.showMessage(QString::fromUtf8(existed ? LogTexts::CantDeleteBeforeSaving
                                                       : LogTexts::NoWritePermission));
        return;
    }

    bool written = false;
    try {
        // Flushed here, while the device still knows why a write failed.
        written = LogFile::write(file, columns, rangeLow, rangeHigh) && file.flush();
    } catch (const std::exception& e) {
        file.cancelWriting();
        notifier.showMessage(fileText(LogTexts::CannotWriteLog, name, QString::fromLocal8Bit(e.what())));
        return;
    }
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        notifier.showMessage(fileText(LogTexts::CannotWriteLog, name, reason));
        return;
    }
    if (!file.commit()) {
        if (existed && file.error() == QFileDevice::RenameError)
            notifier.showMessage(QString::fromUtf8(LogTexts::CantDeleteBeforeSaving));
        else
            notifier.showMessage(fileText(LogTexts::CannotWriteLog, name, file.errorString()));
    }
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
