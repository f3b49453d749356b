#include "autosavefolder.h"

#include "logfile.h"
#include "logtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace AutosaveFolder {

bool isAutosaveName(const QString& fileName)
{
    const QString extension = QString::fromLatin1(LogTexts::LogExtension);
    return fileName.size() > 1 + extension.size() && fileName.startsWith(QLatin1Char('D'))
           && fileName.endsWith(extension, Qt::CaseSensitive) && !fileName.contains(QLatin1Char('/'));
}

QStringList recordings(const QString& folder)
{
    QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const QFileInfo& e) { return !isAutosaveName(e.fileName()) || !e.isFile(); }),
                  entries.end());
    // Newest first; equal times by name, which holds the start moment too.
    std::sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta > tb : a.fileName() > b.fileName();
    });
    QStringList paths;
    for (const QFileInfo& e : entries)
        paths.append(e.filePath());
    return paths;
}

QString prepare(const QString& folder, const QString& baseName, int keep, QString* reason)
{
    QDir dir(folder);
    if (!dir.exists() && ::mkdir(QFile::encodeName(folder).constData(), 0755) != 0 && errno != EEXIST) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return QString();
    }
    const QStringList existing = recordings(folder);
    for (qsizetype i = std::max(keep, 0); i < existing.size(); ++i)
        QFile::remove(existing.at(i));

    const QString extension = QString::fromLatin1(LogTexts::LogExtension);
    QString name = baseName + extension;
    for (int n = 2; QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = baseName + QLatin1Char('_') + QString::number(n) + extension;
    return dir.filePath(name);
}

QStringList unfinished(const QString& folder)
{
    QStringList found;
    for (const QString& path : recordings(folder)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && LogFile::isUnfinished(file.read(LogFile::HeaderSize)))
            found.append(path);
    }
    return found;
}

}  // namespace AutosaveFolder
