#include "tablesettings.h"

#include "tablenumbers.h"

#include <QLocale>

#include <climits>
#include <cmath>

using namespace TableNumbers;

namespace TableSettings {

int integerPrefix(const QString& text)
{
    int pos = 0;
    const int size = static_cast<int>(text.size());
    while (pos < size && text.at(pos).isSpace())
        ++pos;
    bool negative = false;
    if (pos < size && (text.at(pos) == u'+' || text.at(pos) == u'-')) {
        negative = text.at(pos) == u'-';
        ++pos;
    }
    long long magnitude = 0;
    for (; pos < size; ++pos) {
        const char16_t c = text.at(pos).unicode();
        if (c < u'0' || c > u'9')
            break;
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (c - u'0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

namespace {

// A percentage box over the 0..255 scale: 100 % is 128 steps. Dividing by
// 1.28 is multiplying by 25/32, which is exact in binary, so halves really
// are halves when rounded.
int stepsToPercent(int steps) { return roundToInt(static_cast<double>(steps) * 25.0 / 32.0); }
int percentToSteps(int percent) { return roundToInt(static_cast<double>(percent) * 32.0 / 25.0); }

// The decimal box is read in the person's locale first; a text typed with a
// dot is still understood where the locale uses a comma.
bool readDecimal(const QString& text, double& out)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    out = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        out = QLocale::c().toDouble(trimmed, &ok);
    return ok && std::isfinite(out);
}

}  // namespace

QString toText(SettingsBoxes::Box box, int value)
{
    switch (box) {
    case SettingsBoxes::EnrichmentFactor_nb:
        return QString::number(stepsToPercent(value - 128));
    case SettingsBoxes::EnleanmentFactor_nb:
    case SettingsBoxes::SmoothMaf_nb:
    case SettingsBoxes::SmoothRpm_nb:
        return QString::number(stepsToPercent(value));
    case SettingsBoxes::SmoothTps_nb:
        return QLocale().toString(signedLowByte(value) / 10.0, 'f', QLocale::FloatingPointShortest);
    case SettingsBoxes::MafTime_nb:
    case SettingsBoxes::Treshold_nb:
    case SettingsBoxes::TpsThreshold_nb:
        break;
    }
    return QString::number(value);
}

int fromText(SettingsBoxes::Box box, const QString& text, int current)
{
    switch (box) {
    case SettingsBoxes::EnrichmentFactor_nb:
        return roundToInt(static_cast<double>(integerPrefix(text)) * 32.0 / 25.0 + 128);
    case SettingsBoxes::EnleanmentFactor_nb:
    case SettingsBoxes::SmoothMaf_nb:
    case SettingsBoxes::SmoothRpm_nb:
        return percentToSteps(integerPrefix(text));
    case SettingsBoxes::SmoothTps_nb: {
        double x = 0;
        if (!readDecimal(text, x))
            return current;
        return truncToInt(x * 10);
    }
    case SettingsBoxes::TpsThreshold_nb:
        return 255;
    case SettingsBoxes::MafTime_nb:
    case SettingsBoxes::Treshold_nb:
        break;
    }
    return integerPrefix(text);
}

}  // namespace TableSettings
