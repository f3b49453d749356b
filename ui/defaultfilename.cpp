#include "defaultfilename.h"

#include <QLocale>
#include <QRegularExpression>

QString defaultFileName(const QDateTime& now, const QString& dateFormat, const QString& timeFormat)
{
    QString text = now.date().toString(dateFormat);
    if (now.time() != QTime(0, 0))
        text += QLatin1Char(' ') + now.time().toString(timeFormat);
    QString name = QStringLiteral("D");
    for (const QChar c : text) {
        if (c == QLatin1Char(':'))
            name += QLatin1Char('_');
        else if (c == QLatin1Char('.'))
            continue;
        else if (c.isSpace())
            name += QLatin1Char('T');
        else if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            name += QLatin1Char('_');  // a date separator must not become a folder
        else
            name += c;
    }
    return name;
}

QString defaultFileName(const QDateTime& now)
{
    const QLocale locale = QLocale::system();
    // The long time format names the time zone; a file name wants the clock only.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*(?<![A-Za-z'])t{1,4}(?![A-Za-z'])")));
    return defaultFileName(now, locale.dateFormat(QLocale::ShortFormat), timeFormat.trimmed());
}
