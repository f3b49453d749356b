#include "logcolumns.h"

#include "logtexts.h"

#include <algorithm>

const std::array<LogColumnInfo, LogColumns::Count> logColumnInfo = {{
    {&LogColumns::colConverter, &LogSample::colConverter, LogTexts::TitleConverter},
    {&LogColumns::colMarker, &LogSample::colMarker, LogTexts::TitleMarker},
    {&LogColumns::colEnrichment, &LogSample::colEnrichment, LogTexts::TitleEnrichment},
    {&LogColumns::colMaf, &LogSample::colMaf, LogTexts::TitleMaf},
    {&LogColumns::colTps, &LogSample::colTps, LogTexts::TitleTps},
    {&LogColumns::colRpm, &LogSample::colRpm, LogTexts::TitleRpm},
    {&LogColumns::colO2, &LogSample::colO2, LogTexts::TitleO2},
    {&LogColumns::colCorr, &LogSample::colCorr, LogTexts::TitleCorr},
    {&LogColumns::colIat, &LogSample::colIat, LogTexts::TitleIat},
    {&LogColumns::colEct, &LogSample::colEct, LogTexts::TitleEct},
    {&LogColumns::colO2sm, &LogSample::colO2sm, LogTexts::TitleO2sm},
    {&LogColumns::colLogCorr, &LogSample::colLogCorr, LogTexts::TitleLogCorr},
}};

const std::array<RawColumnInfo, RawColumns::Count> rawColumnInfo = {{
    {&RawColumns::rawOutput, &LogSample::rawOutput, "rawOutput"},
    {&RawColumns::rawAngle, &LogSample::rawAngle, "rawAngle"},
    {&RawColumns::rawIat, &LogSample::rawIat, "rawIat"},
    {&RawColumns::rawLine1, &LogSample::rawLine1, "rawLine1"},
    {&RawColumns::rawLine2, &LogSample::rawLine2, "rawLine2"},
    {&RawColumns::rawAt, &LogSample::rawAt, "rawAt"},
    {&RawColumns::rawRef, &LogSample::rawRef, "rawRef"},
    {&RawColumns::rawAux, &LogSample::rawAux, "rawAux"},
}};

qsizetype LogColumns::shortest() const
{
    qsizetype n = colConverter.size();
    for (const LogColumnInfo& info : logColumnInfo)
        n = std::min(n, (this->*info.column).size());
    return n;
}

void LogColumns::clear()
{
    for (const LogColumnInfo& info : logColumnInfo)
        (this->*info.column).clear();
}

void LogColumns::reserve(qsizetype samples)
{
    for (const LogColumnInfo& info : logColumnInfo)
        (this->*info.column).reserve(samples);
}

void LogColumns::resize(qsizetype samples)
{
    for (const LogColumnInfo& info : logColumnInfo)
        (this->*info.column).resize(samples);
}

qsizetype RawColumns::shortest() const
{
    qsizetype n = rawAux.size();
    for (const RawColumnInfo& info : rawColumnInfo)
        n = std::min(n, (this->*info.column).size());
    return n;
}

void RawColumns::clear()
{
    for (const RawColumnInfo& info : rawColumnInfo)
        (this->*info.column).clear();
}

void RawColumns::reserve(qsizetype samples)
{
    for (const RawColumnInfo& info : rawColumnInfo)
        (this->*info.column).reserve(samples);
}

void RawColumns::resize(qsizetype samples)
{
    for (const RawColumnInfo& info : rawColumnInfo)
        (this->*info.column).resize(samples);
}

bool LogSample::operator==(const LogSample& other) const
{
    for (const RawColumnInfo& info : rawColumnInfo)
        if (this->*info.field != other.*info.field)
            return false;
    for (const LogColumnInfo& info : logColumnInfo)
        if (this->*info.field != other.*info.field)
            return false;
    return true;
}
