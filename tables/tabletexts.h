#pragma once

// Texts the table store shows the person or writes, kept in one place so
// that the code and the tests share them byte for byte.
namespace TableTexts {

// Extension every table file name ends in (compared with letter case).
inline constexpr char TabExtension[] = ".tab";

// Saving: an existing file could not be replaced.
inline constexpr char CantDeleteBeforeSaving[] = "Can't delete file before saving";
// Saving: the file could not be created where it was asked for.
inline constexpr char NoWritePermission[] =
    "Error: You don't have permissions to write files in this directory.";

// Loading: the file could not be opened; %1 is the path, %2 the reason.
inline constexpr char CannotOpenFile[] = "Cannot open file \"%1\": %2";
// Loading: no file was named.
inline constexpr char NoFileName[] = "no file name was given";
// Loading: the path names something that is not a plain file (a folder, a pipe).
inline constexpr char NotARegularFile[] = "not a regular file";

}  // namespace TableTexts
