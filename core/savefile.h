#pragma once

#include <QString>

// A save (atomicsave.h) writes a temporary named as the target plus a dot
// and six random letters or digits, and renames it over the target once it
// is complete. A process killed in between leaves that file behind, and no
// one else ever removes it, so every save first clears such leftovers.

// Whether fileName (a bare name, no folder) is such a temporary of the
// target named targetFileName.
bool IsSaveTempName(const QString& targetFileName, const QString& fileName);

// Removes the regular files in target's folder whose names are temporaries
// of target (symbolic links, folders and every other name are left alone).
void RemoveStaleSaveTemps(const QString& target);

// The file a save of target really replaces: the end of a chain of symbolic
// links, or target itself.
QString SaveTargetBehindLinks(const QString& target);
