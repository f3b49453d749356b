#include "logsave.h"

#include "logfile.h"
#include "savefile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <exception>

LogSaveOutcome SaveLogAtomically(const QString& target, const LogColumns& columns, int rangeLow, int rangeHigh)
{
    LogSaveOutcome outcome;
    const QFileInfo info(target);
    outcome.targetExisted = info.exists() || info.isSymLink();

    RemoveStaleSaveTemps(target);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.step = LogSaveOutcome::CannotCreate;
        outcome.reason = file.errorString();
        return outcome;
    }

    bool written = false;
    try {
        // Flushed here, while the device still knows why a write failed.
        written = LogFile::write(file, columns, rangeLow, rangeHigh) && file.flush();
    } catch (const std::exception& e) {
        file.cancelWriting();
        outcome.step = LogSaveOutcome::CannotWrite;
        outcome.reason = QString::fromLocal8Bit(e.what());
        return outcome;
    }
    if (!written) {
        outcome.step = LogSaveOutcome::CannotWrite;
        outcome.reason = file.errorString();
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit()) {
        outcome.step = outcome.targetExisted && file.error() == QFileDevice::RenameError
                           ? LogSaveOutcome::CannotReplace
                           : LogSaveOutcome::CannotWrite;
        outcome.reason = file.errorString();
    }
    return outcome;
}
