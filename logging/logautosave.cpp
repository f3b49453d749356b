#include "logautosave.h"

#include "logfile.h"
#include "logsave.h"
#include "logstore.h"
#include "logtexts.h"
#include "usernotifier.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString autosaveText(const char* format, const QString& path, const QString& reason)
{
    return QString::fromUtf8(format).arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

LogAutosave::LogAutosave(const LogStore& logStore, UserNotifier& userNotifier, QObject* parent)
    : QObject(parent), store(logStore), notifier(userNotifier)
{
    timer.setInterval(WriteIntervalMs);
    connect(&timer, &QTimer::timeout, this, &LogAutosave::writePending);
}

LogAutosave::~LogAutosave()
{
    // What the store holds still goes to the file; it stays marked unfinished.
    if (running())
        writePending();
    closeFile();
}

bool LogAutosave::begin(const QString& path, int rangeLow, int rangeHigh)
{
    closeFile();
    filePath = path;
    samplesWritten = 0;
    hasFailed = false;
    hasFinished = false;
    fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail(errno);
        return false;
    }
    const QByteArray header = LogFile::header(rangeLow, rangeHigh, true);
    if (!writeAll(header.constData(), header.size()))
        return false;
    sinceSync.start();
    timer.start();
    return true;
}

void LogAutosave::writePending()
{
    if (!running())
        return;
    const LogColumns tail = store.logColumnsFrom(samplesWritten);
    const qsizetype n = tail.shortest();
    if (n > 0) {
        QByteArray records(n * LogFile::RecordSize, Qt::Uninitialized);
        LogFile::encodeRecords(tail, 0, n, records.data());
        if (!writeAll(records.constData(), records.size()))
            return;
        samplesWritten += n;
    }
    if (sinceSync.elapsed() >= SyncIntervalMs) {
        if (::fdatasync(fd) != 0) {
            fail(errno);
            return;
        }
        sinceSync.restart();
    }
}

bool LogAutosave::finish(const LogColumns& columns, int rangeLow, int rangeHigh)
{
    // Whatever the atomic replace meets, the records so far are on the disk.
    if (running())
        writePending();
    closeFile();
    if (filePath.isEmpty())
        return false;
    // Also after a failed write: the recording in memory is whole, and the
    // cause (a full disk) may be gone by now.
    const SaveOutcome outcome = SaveLogAtomically(filePath, columns, rangeLow, rangeHigh);
    if (!outcome) {
        // After a failure the person has heard about this file once already.
        if (!hasFailed)
            notifier.showMessage(autosaveText(LogTexts::AutosaveNotFinished, filePath, outcome.reason));
        return false;
    }
    hasFinished = true;
    return true;
}

void LogAutosave::discard()
{
    const bool wasWriting = running();
    closeFile();
    if (wasWriting || !hasFailed)
        QFile::remove(filePath);
}

bool LogAutosave::writeAll(const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

void LogAutosave::fail(int error)
{
    closeFile();
    hasFailed = true;
    notifier.showMessage(autosaveText(LogTexts::AutosaveStopped, filePath, QString::fromLocal8Bit(std::strerror(error))));
}

void LogAutosave::closeFile()
{
    timer.stop();
    if (fd >= 0) {
        ::fdatasync(fd);
        ::close(fd);
        fd = -1;
    }
}
