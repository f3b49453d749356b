#pragma once

#include <QString>
#include <QStringList>

// The folder of recordings written as they run: one .log file per
// recording, named "D<date>T<time>.log" after the moment logging started.
// Only files of that pattern are ever removed or loaded; anything else the
// folder may hold is left alone.
namespace AutosaveFolder {

// The recordings kept: the oldest beyond these go when a new one starts.
inline constexpr int Kept = 20;

// Whether a bare file name is one of ours: "D", at least one more character,
// ".log".
bool isAutosaveName(const QString& fileName);

// Our files in `folder` (regular files only), newest first.
QStringList recordings(const QString& folder);

// Creates the folder when missing, removes all but the `keep` newest of our
// files, and returns the path for a new recording named `baseName` + ".log"
// ("_2", "_3", ... before the extension when that name is taken). An empty
// string when the folder cannot be made; `reason` then says why.
QString prepare(const QString& folder, const QString& baseName, int keep, QString* reason = nullptr);

// Our files still marked unfinished, newest first.
QStringList unfinished(const QString& folder);

}  // namespace AutosaveFolder
