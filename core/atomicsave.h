#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

// The one way every file of the client is saved: the content is written to a
// temporary beside the target, synced to the disk, and renamed over the
// target only when every byte of it is there. Whatever fails (a full disk, a
// file-size limit, a folder that is not writable, a folder in the target's
// place), the file that was there before stays whole, and the reason comes
// back in the system's own words ("No space left on device").

struct SaveOutcome {
    enum Step {
        Saved,
        CannotCreate,   // the temporary could not be made beside the target
        CannotWrite,    // writing, syncing or closing it failed
        CannotReplace,  // it could not take the target's place
    };
    Step step = Saved;
    // Whether something stood at the target's name before the save.
    bool targetExisted = false;
    // The system's words for what failed; empty when saved.
    QString reason;

    explicit operator bool() const { return step == Saved; }
    // Whether the failure lies in the old file's place rather than in writing
    // the new one: it could not be replaced, or a new file could not be made
    // beside it. Savers that say "can't delete the file" say it then.
    bool oldFileInTheWay() const { return step == CannotReplace || (step == CannotCreate && targetExisted); }
};

// Writes the content into the device it is given. Returns false when a write
// failed (the device's errorString() then says why); may throw a
// std::exception, whose text becomes the reason.
using ContentWriter = std::function<bool(QIODevice&)>;

// A symbolic link at target is followed: the file it leads to is replaced,
// and the link stays. A temporary left behind by a killed save is removed.
SaveOutcome SaveAtomically(const QString& target, const ContentWriter& write);

// The same with the whole content at hand.
SaveOutcome SaveAtomically(const QString& target, const QByteArray& content);
