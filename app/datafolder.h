#pragma once

#include <QString>

// The folder the client keeps its state file, first file folder and saves in.
// Makes `path` (with its parents) when missing, checks that a file can be
// written there and makes it the working directory. Returns an empty string
// on success, otherwise a message that names the folder and the reason.
QString enterDataFolder(const QString& path);

// The per-user data folder of an installed client (e.g. ~/.local/share/zantotps).
QString userDataFolder();
