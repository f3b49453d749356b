#pragma once

// The file browser's own texts, shown as they stand.
namespace FileBrowserTexts {
inline constexpr const char* Caption = "File";
inline constexpr const char* NameDesign = "Имя файла/File name:";
inline constexpr const char* CancelDesign = "Отмена/Cancel";
inline constexpr const char* Ok = "OK";
inline constexpr const char* DeleteQuestion = "Delete/Удалить?";
inline constexpr const char* DeleteError = "DeleteFile_Error";

// The captions in both languages: the open title, the save title, the cancel
// button. The Russian ones are also the main window's default captions.
inline constexpr const char* OpenEn = "Open File:";
inline constexpr const char* SaveEn = "Save File:";
inline constexpr const char* CancelEn = "Cancel";
inline constexpr const char* OpenRu = "Открыть файл:";
inline constexpr const char* SaveRu = "Сохранить файл:";
inline constexpr const char* CancelRu = "Отмена";

// A folder that cannot be listed: the prefix, then the folder's path, a line
// break and the system's reason.
inline constexpr const char* FolderError = "Папка недоступна/Cannot open folder: ";
inline constexpr const char* NotAFolder = "Not a folder";
}  // namespace FileBrowserTexts
