#include "savefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype RandomChars = 6;
// As deep as a chain of links is followed.
constexpr int MaxLinkDepth = 128;

bool isLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

}  // namespace

bool IsSaveTempName(const QString& targetFileName, const QString& fileName)
{
    const qsizetype prefix = targetFileName.size() + 1;
    if (targetFileName.isEmpty() || fileName.size() != prefix + RandomChars
        || !fileName.startsWith(targetFileName, Qt::CaseSensitive) || fileName.at(prefix - 1) != QLatin1Char('.'))
        return false;
    for (qsizetype i = prefix; i < fileName.size(); ++i) {
        if (!isLetterOrDigit(fileName.at(i)))
            return false;
    }
    return true;
}

QString SaveTargetBehindLinks(const QString& target)
{
    QFileInfo info(target);
    for (int depth = 1; depth < MaxLinkDepth && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    // A chain too long (or a loop) is given up on: the save writes beside the name.
    if (info.isSymLink())
        return target;
    return info.filePath();
}

void RemoveStaleSaveTemps(const QString& target)
{
    // A save writes beside the file a symbolic link leads to, so that is
    // where its temporaries are.
    const QFileInfo info(SaveTargetBehindLinks(target));
    const QString targetName = info.fileName();
    if (targetName.isEmpty())
        return;
    // No name filter: the target's own name may hold wildcard characters.
    QDirIterator entries(info.absolutePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (IsSaveTempName(targetName, entry.fileName()) && entry.isFile() && !entry.isSymLink())
            QFile::remove(entry.filePath());
    }
}
