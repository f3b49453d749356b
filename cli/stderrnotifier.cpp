#include "stderrnotifier.h"

#include <QCoreApplication>

void StderrNotifier::line(const QString& text)
{
    // Texts end in line breaks of their own at times; one is enough.
    QByteArray bytes = text.toLocal8Bit();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fflush(out);
}

void StderrNotifier::showMessage(const QString& text)
{
    ++messages;
    line(text);
}

void StderrNotifier::showError(const QString& text)
{
    ++messages;
    line(text);
}

bool StderrNotifier::confirm(const QString& text)
{
    line(text);
    return false;
}

void StderrNotifier::showToast(const QString& text)
{
    // An empty toast only clears the window's one; there is nothing to say.
    if (!text.isEmpty())
        line(text);
}

void StderrNotifier::flashToast(const QString& text)
{
    if (!text.isEmpty())
        line(text);
}

void StderrNotifier::processEvents()
{
    QCoreApplication::processEvents();
}
