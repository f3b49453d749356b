#pragma once

#include "liveframe.h"
#include "logcolumns.h"
#include "logstore.h"
#include "messages.h"
#include "zantobroadcaster.h"

#include <QDir>
#include <QFile>
#include <QList>

// Every record the bus delivered, in order, with copies of the dashboard
// records. Registered where the main window is: before the logger.
struct BusRecorder : TZantoListener {
    explicit BusRecorder(TZantoBroadcaster& bus) { bus.Register(this); }
    void Dispatch(const TMessage& message) override
    {
        ids.append(message.id);
        if (const auto* record = messageAs<TMsgDashData>(message))
            dash.append(*record);
    }
    int count(int id) const { return int(ids.count(id)); }

    QList<int> ids;
    QList<TMsgDashData> dash;
};

// How many of this process's threads carry the name.
inline int threadsNamed(const char* name)
{
    int n = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            ++n;
    }
    return n;
}

// Sample k of a recording, raw and log columns together.
inline LogSample sampleAt(const LogSnapshot& s, qsizetype k)
{
    LogSample sample;
    for (const RawColumnInfo& info : rawColumnInfo)
        sample.*info.field = (s.raw.*info.column).at(k);
    for (const LogColumnInfo& info : logColumnInfo)
        sample.*info.field = (s.log.*info.column).at(k);
    return sample;
}

// True when the sample is what the simulated Converter sends as the frame
// with its counter (the auxiliary word), the stream's frames falling due at
// base + 20 ms x counter of the device's clock; table0 is the device's
// table entry 0.
inline bool sentBySimulator(const LogSample& s, qint64 base, int table0)
{
    SignalInputs inputs;
    inputs.angleSetting = static_cast<signed char>(table0);
    inputs.counter = quint16(s.rawAux);
    const LiveFrameValues v = liveValuesAt(base + 20 * qint64(s.rawAux), inputs);
    return s.rawOutput == v.rawOutput && s.rawAngle == v.rawAngle && s.rawIat == v.rawIat && s.rawAt == v.rawAt
           && s.rawLine1 == v.rawLine1 && s.rawLine2 == v.rawLine2 && s.rawRef == v.rawRef
           && s.rawAux == v.rawAux && s.colConverter == (v.rawOutput & 0xFF) && s.colO2 == (v.rawO2 >> 2)
           && s.colMarker == 0 && s.colEnrichment == 0 && s.colMaf == 0 && s.colTps == 0 && s.colRpm == 0
           && s.colCorr == 0 && s.colIat == 0 && s.colEct == 0 && s.colLogCorr == 0;
}

// The device-clock base of the stream the first `checked` samples came from
// (all of them when negative), searched over 0 .. latestMs; -1 when no
// moment gives them all.
inline qint64 streamBase(const LogSnapshot& s, qint64 latestMs, int table0, qsizetype checked = -1)
{
    if (checked < 0 || checked > s.log.count())
        checked = s.log.count();
    if (checked == 0)
        return -1;
    for (qint64 base = 0; base <= latestMs; ++base) {
        bool all = true;
        for (qsizetype k = 0; k < checked && all; ++k)
            all = sentBySimulator(sampleAt(s, k), base, table0);
        if (all)
            return base;
    }
    return -1;
}
