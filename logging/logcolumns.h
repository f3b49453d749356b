#pragma once

#include <QList>
#include <QtGlobal>

#include <array>

// A recording: one entry per live sample in every column. The log columns
// are what a .log file keeps and the log chart draws; the raw columns keep
// the live frame's words and are never saved.

using LogColumn = QList<qint32>;

struct LogColumns {
    LogColumn colConverter;   // Converter output, low byte of the output word
    LogColumn colMarker;      // 0 = no marker
    LogColumn colEnrichment;  // 128 = 0 %
    LogColumn colMaf;
    LogColumn colTps;
    LogColumn colRpm;         // 0..65535
    LogColumn colO2;          // 255 = 5 V
    LogColumn colCorr;        // -255..255
    LogColumn colIat;
    LogColumn colEct;
    LogColumn colO2sm;        // smoothed O2, derived when a recording stops
    LogColumn colLogCorr;     // -255..255

    static constexpr int Count = 12;

    // The sample count; every column holds this many entries.
    qsizetype count() const { return colConverter.size(); }
    // The shortest column's length (equal to count() for a sound recording).
    qsizetype shortest() const;
    void clear();
    void reserve(qsizetype samples);
    void resize(qsizetype samples);
};

struct RawColumns {
    LogColumn rawOutput;
    LogColumn rawAngle;
    LogColumn rawIat;
    LogColumn rawLine1;
    LogColumn rawLine2;
    LogColumn rawAt;
    LogColumn rawRef;
    LogColumn rawAux;

    static constexpr int Count = 8;

    qsizetype count() const { return rawAux.size(); }
    qsizetype shortest() const;
    void clear();
    void reserve(qsizetype samples);
    void resize(qsizetype samples);
};

// One sample across all columns, as the live poll appends it and the
// dashboard reads the newest one.
struct LogSample {
    qint32 rawOutput = 0;
    qint32 rawAngle = 0;
    qint32 rawIat = 0;
    qint32 rawLine1 = 0;
    qint32 rawLine2 = 0;
    qint32 rawAt = 0;
    qint32 rawRef = 0;
    qint32 rawAux = 0;

    qint32 colConverter = 0;
    qint32 colMarker = 0;
    qint32 colEnrichment = 0;
    qint32 colMaf = 0;
    qint32 colTps = 0;
    qint32 colRpm = 0;
    qint32 colO2 = 0;
    qint32 colCorr = 0;
    qint32 colIat = 0;
    qint32 colEct = 0;
    qint32 colO2sm = 0;
    qint32 colLogCorr = 0;

    bool operator==(const LogSample& other) const;
    bool operator!=(const LogSample& other) const { return !(*this == other); }
};

// The log columns in record order (the order of a .log record and of the
// titles), with the matching field of a sample and the chart title.
struct LogColumnInfo {
    LogColumn LogColumns::*column;
    qint32 LogSample::*field;
    const char* title;
};
extern const std::array<LogColumnInfo, LogColumns::Count> logColumnInfo;

struct RawColumnInfo {
    LogColumn RawColumns::*column;
    qint32 LogSample::*field;
    const char* name;
};
extern const std::array<RawColumnInfo, RawColumns::Count> rawColumnInfo;

// Both column sets read under one lock: equal lengths within each set.
struct LogSnapshot {
    LogColumns log;
    RawColumns raw;
};
