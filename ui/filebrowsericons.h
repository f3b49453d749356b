#pragma once

#include <QIcon>

// The browser's pictures, drawn in code so that they stay sharp at any size
// and match the window's dark theme without a resource to load.
namespace FileBrowserIcons {
QIcon folder();     // FolderImage
QIcon logFile();    // LogImg
QIcon tableFile();  // TabImg
QIcon back();       // Back_btn
QIcon trash();      // DeleteFile_btn
}  // namespace FileBrowserIcons
