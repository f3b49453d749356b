#pragma once

#include <QString>

// QSaveFile gives its finished temporary file the target's name plus a dot
// and six random letters or digits just before renaming it over the target.
// A process killed between those two steps leaves that file behind, and no
// one else ever removes it. Savers call this before opening their QSaveFile.

// Whether fileName (a bare name, no folder) is such a temporary of the
// target named targetFileName.
bool IsSaveTempName(const QString& targetFileName, const QString& fileName);

// Removes the regular files in target's folder whose names are temporaries
// of target (symbolic links, folders and every other name are left alone).
void RemoveStaleSaveTemps(const QString& target);
