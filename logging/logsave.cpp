#include "logsave.h"

#include "logfile.h"

SaveOutcome SaveLogAtomically(const QString& target, const LogColumns& columns, int rangeLow, int rangeHigh)
{
    return SaveAtomically(target, [&](QIODevice& device) {
        return LogFile::write(device, columns, rangeLow, rangeHigh);
    });
}
