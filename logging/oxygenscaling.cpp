#include "oxygenscaling.h"

#include "logtexts.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

int o2CentiVolts(int value)
{
    // value x 500 / 256 = value x 125 / 64 hundredths, exactly.
    const qint64 numerator = qint64(value) * 125;
    qint64 quotient = numerator / 64;
    qint64 remainder = numerator % 64;
    if (remainder < 0) {
        remainder += 64;
        --quotient;
    }
    if (remainder * 2 > 64 || (remainder * 2 == 64 && (quotient & 1)))
        ++quotient;
    return static_cast<int>(quotient);
}

namespace {

// Hundredths as the shortest decimal: 0, 0.49, 2.5, 3.
QString shortestDecimal(int hundredths, const QLocale& locale)
{
    QString text;
    if (hundredths < 0) {
        text += QLatin1Char('-');
        hundredths = -hundredths;
    }
    text += QString::number(hundredths / 100);
    const int fraction = hundredths % 100;
    if (fraction != 0) {
        text += locale.decimalPoint();
        text += QLatin1Char(char('0' + fraction / 10));
        if (fraction % 10 != 0)
            text += QLatin1Char(char('0' + fraction % 10));
    }
    return text;
}

}  // namespace

O2Scale ScaleO2(int value, const QLocale& locale)
{
    O2Scale scale;
    // value x 4.98, truncated, in whole numbers so no rounding of 4.98 creeps in.
    const qint64 meter = qint64(value) * 498 / 100;
    scale.o2Meter = static_cast<int>(std::clamp<qint64>(meter, 0, 255));

    if (scale.o2Meter <= 124)
        scale.o2Colour = O2Colours::Lean;
    else if (scale.o2Meter <= 199)
        scale.o2Colour = O2Colours::Good;
    else if (scale.o2Meter <= 224)
        scale.o2Colour = O2Colours::Rich;
    else
        scale.o2Colour = O2Colours::TooRich;

    scale.o2Text = QString::number(value) + QLatin1String(LogTexts::O2CountsSuffix)
                   + shortestDecimal(o2CentiVolts(value), locale) + QLatin1String(LogTexts::O2VoltsSuffix);
    return scale;
}

std::optional<int> o2RefFillValue(int sensorTypeIndex)
{
    switch (sensorTypeIndex) {
    case 0:
    case 2:
        return 25;
    case 1:
    case 3:
        return 147;
    default:
        return std::nullopt;
    }
}

QStringList o2SensorTypes()
{
    return {QString::fromUtf8(LogTexts::O2Type01V), QString::fromUtf8(LogTexts::O2TypeInnovate),
            QString::fromUtf8(LogTexts::O2Type05V), QString::fromUtf8(LogTexts::O2TypeAem)};
}

QStringList o2OutputUnits()
{
    return {QString::fromUtf8(LogTexts::O2UnitCounts), QString::fromUtf8(LogTexts::O2UnitVolts),
            QString::fromUtf8(LogTexts::O2UnitAfr)};
}

int o2RefFillFromBox(double boxValue)
{
    if (!std::isfinite(boxValue))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(boxValue), -2147483648.0, 2147483647.0));
}

int O2OffsetDial::step(double angle)
{
    if (!std::isfinite(angle) || angle == previous)
        return 0;
    int delta = 0;
    if (angle >= 0 && previous != -180)
        delta = angle < previous ? 1 : -1;
    else if (angle < 0 && previous != 180)
        delta = angle < previous ? 1 : -1;
    previous = static_cast<int>(std::clamp(std::trunc(angle), -180.0, 180.0));
    return delta;
}

int O2OffsetDial::change(double angle, int offset)
{
    return std::clamp(offset + step(angle), MinOffset, MaxOffset);
}
