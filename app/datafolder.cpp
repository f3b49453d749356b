#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString enterDataFolder(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("The data folder name is empty.");
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo(absolute).exists() && !QFileInfo(absolute).isDir())
        return QStringLiteral("Cannot use the data folder '%1': it is not a folder.").arg(absolute);
    if (!QDir().mkpath(absolute))
        return QStringLiteral("Cannot create the data folder '%1'.").arg(absolute);
    QTemporaryFile probe(absolute + QStringLiteral("/.zantotps-write-check-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("Cannot write into the data folder '%1': %2.").arg(absolute, probe.errorString());
    probe.close();
    if (!QDir::setCurrent(absolute))
        return QStringLiteral("Cannot enter the data folder '%1'.").arg(absolute);
    return QString();
}

QString userDataFolder()
{
    // $XDG_DATA_HOME/zantotps; independent of the application object, so it
    // can be resolved while the command line is parsed.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zantotps");
}
