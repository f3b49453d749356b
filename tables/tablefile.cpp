#include "table.h"

#include "atomicsave.h"
#include "tabletexts.h"
#include "usernotifier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// A reader looks at no more than this of a file.
constexpr qint64 MaxReadBytes = 600;
// Lengths that decide the clean-ups after a load.
constexpr qsizetype ExchangedBytes = 2;
constexpr qsizetype FullTableBytes = 512;
constexpr qsizetype SettingsKeptFrom = 257;

}  // namespace

void Table::SaveTableFile(const QString& name)
{
    QString path = name;
    if (!path.endsWith(QLatin1String(TableTexts::TabExtension), Qt::CaseSensitive))
        path += QLatin1String(TableTexts::TabExtension);

    // Replaces the old file only once the new one is whole on the disk. The
    // boxes are read only once there is a file to write to.
    const SaveOutcome saved = SaveAtomically(path, [this](QIODevice& file) {
        SettingsFromUi();
        const char bytes[2] = {static_cast<char>(tab[0] & 0xFF), static_cast<char>(tab[1] & 0xFF)};
        return file.write(bytes, sizeof bytes) == qint64(sizeof bytes);
    });
    const auto withReason = [&saved](const char* text) { return QString::fromUtf8(text) + u'\n' + saved.reason; };
    if (saved)
        return;
    if (saved.oldFileInTheWay())
        userNotifier.showMessage(withReason(TableTexts::CantDeleteBeforeSaving));
    else if (saved.step == SaveOutcome::CannotCreate)
        userNotifier.showMessage(withReason(TableTexts::NoWritePermission));
    else
        userNotifier.showMessage(saved.reason);
}

void Table::LoadTableFile(const QString& name)
{
    const auto cannotOpen = [this, &name](const QString& reason) {
        userNotifier.showMessage(
            QString::fromUtf8(TableTexts::CannotOpenFile).arg(QDir::toNativeSeparators(name), reason));
    };
    if (name.isEmpty()) {
        cannotOpen(QString::fromUtf8(TableTexts::NoFileName));
        return;
    }
    // Anything but a plain file is refused before opening: a folder cannot
    // be read, and a pipe would block the window until someone wrote to it.
    const QFileInfo info(name);
    if (info.exists() && !info.isFile()) {
        cannotOpen(QString::fromUtf8(TableTexts::NotARegularFile));
        return;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        cannotOpen(file.errorString());
        return;
    }
    const QByteArray data = file.read(MaxReadBytes);
    if (file.error() != QFileDevice::NoError) {
        cannotOpen(file.errorString());
        return;
    }
    file.close();

    const qsizetype n = data.size();
    tab[0] = n > 0 ? static_cast<unsigned char>(data[0]) : 0;
    tab[1] = n > 1 ? static_cast<unsigned char>(data[1]) : 0;
    if (n < ExchangedBytes || n == FullTableBytes)
        std::fill(tab.begin() + IatFirst, tab.begin() + TableSize, 0);
    if (n < SettingsKeptFrom)
        SettingsDefaults();

    SettingsToUi();
    RedrawTableChart();
    ResetUndo();
    PushUndo();
}
