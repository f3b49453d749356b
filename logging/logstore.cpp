#include "logstore.h"

#include <QMutexLocker>

#include <algorithm>

void LogStore::append(const LogSample& sample)
{
    QMutexLocker lock(&mutex);
    const qsizetype logBefore = log.count();
    const qsizetype rawBefore = raw.count();
    try {
        for (const RawColumnInfo& info : rawColumnInfo)
            (raw.*info.column).append(sample.*info.field);
        for (const LogColumnInfo& info : logColumnInfo)
            (log.*info.column).append(sample.*info.field);
    } catch (...) {
        // Out of memory half way: take the partial sample back out so the
        // columns stay equal, then let the caller hear about it.
        for (const RawColumnInfo& info : rawColumnInfo)
            (raw.*info.column).resize(std::min((raw.*info.column).size(), rawBefore));
        for (const LogColumnInfo& info : logColumnInfo)
            (log.*info.column).resize(std::min((log.*info.column).size(), logBefore));
        throw;
    }
}

std::optional<LogSample> LogStore::lastSample() const
{
    QMutexLocker lock(&mutex);
    if (raw.count() == 0)
        return std::nullopt;
    LogSample sample;
    for (const RawColumnInfo& info : rawColumnInfo)
        sample.*info.field = (raw.*info.column).constLast();
    if (log.count() > 0)
        for (const LogColumnInfo& info : logColumnInfo)
            sample.*info.field = (log.*info.column).constLast();
    return sample;
}

qsizetype LogStore::sampleCount() const
{
    QMutexLocker lock(&mutex);
    return log.count();
}

LogColumns LogStore::logColumns() const
{
    QMutexLocker lock(&mutex);
    return log;
}

LogColumns LogStore::logColumnsFrom(qsizetype first) const
{
    LogColumns tail;
    QMutexLocker lock(&mutex);
    const qsizetype n = log.count();
    if (first >= n)
        return tail;
    for (const LogColumnInfo& info : logColumnInfo)
        (tail.*info.column) = (log.*info.column).mid(first);
    return tail;
}

LogSnapshot LogStore::snapshot() const
{
    QMutexLocker lock(&mutex);
    return {log, raw};
}

void LogStore::clear()
{
    QMutexLocker lock(&mutex);
    log.clear();
    raw.clear();
}

LogColumns LogStore::takeLog()
{
    LogColumns taken;
    {
        QMutexLocker lock(&mutex);
        std::swap(taken, log);
        raw.clear();
    }
    taken.clear();
    return taken;
}

void LogStore::replaceLog(LogColumns columns)
{
    const qsizetype n = columns.shortest();
    for (const LogColumnInfo& info : logColumnInfo)
        if ((columns.*info.column).size() != n)
            (columns.*info.column).resize(n);
    QMutexLocker lock(&mutex);
    // The old recording is released after the lock is let go.
    std::swap(log, columns);
    RawColumns oldRaw;
    std::swap(raw, oldRaw);
    lock.unlock();
}

void LogStore::deriveO2Smooth(qsizetype first, qsizetype end)
{
    constexpr qsizetype before = 20;  // window k-20 .. k+19
    constexpr qsizetype after = 19;
    constexpr qsizetype width = before + after + 1;
    if (first < before)
        return;

    QMutexLocker lock(&mutex);
    const qsizetype n = log.count();
    end = std::min(end, n - after);
    if (first >= end)
        return;

    const qint32* o2 = log.colO2.constData();
    qint32* smooth = log.colO2sm.data();
    // Running sum over the window; 64 bits so that no O2 value can overflow it.
    qint64 sum = 0;
    for (qsizetype i = first - before; i <= first + after; ++i)
        sum += o2[i];
    for (qsizetype k = first;; ++k) {
        smooth[k] = static_cast<qint32>(sum / width);
        if (k + 1 >= end)
            break;
        sum += o2[k + 1 + after] - qint64(o2[k - before]);
    }
}
