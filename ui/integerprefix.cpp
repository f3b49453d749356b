#include "integerprefix.h"

quint16 integerPrefixLow16(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    quint32 value = 0;  // kept modulo 65536
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = (value * 10 + static_cast<quint32>(c.unicode() - '0')) & 0xFFFF;
    }
    if (negative)
        value = (0x10000 - value) & 0xFFFF;
    return static_cast<quint16>(value);
}
