#pragma once

// Messages of the program state file, shown as they stand.
namespace StateTexts {
inline constexpr const char* FileName = "config.cfg";
inline constexpr const char* SaveError0 = "SaveLoadProgramState_SaveError_0:\n";
inline constexpr const char* SaveError1 = "SaveLoadProgramState_Save_Error_1:\n Can't delete file before saving";
inline constexpr const char* SaveError2 = "SaveLoadProgramState_Save_Error_2:\n";
inline constexpr const char* LoadError0 = "SaveLoadProgramState_LoadError_0:\n";
inline constexpr const char* FileNotExist = "SaveLoadProgramState_SaveError_1:\n FILE NOT EXIST\n";
inline constexpr const char* LoadError2 = "SaveLoadProgramState_LoadError_2:\n";
// Our own reason for a state file that is a folder, a pipe or a device.
inline constexpr const char* NotARegularFile = "not a regular file";
inline constexpr const char* UnknownAddress = "UNKNOWN_ADDRESS";
}  // namespace StateTexts
