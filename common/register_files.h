// The file names of a data folder, shared by both programs.
#pragma once

#include <array>
#include <string_view>

namespace common {

inline constexpr std::string_view kPersonFile = "当事者目録.TXT";
inline constexpr std::string_view kFounderFile = "創始階層登録.TXT";
inline constexpr std::string_view kNameOrderFile = "姓名順.TXT";
inline constexpr std::string_view kFamilyFile = "家族目録.TXT";
inline constexpr std::string_view kSettingsFile = "作図設定.TXT";
// tsubaki's options that the register and settings files have no place for (UTF-8 INI).
inline constexpr std::string_view kOptionsFile = "tsubaki.ini";
// The folder of the time-stamped backups, inside the data folder.
inline constexpr std::string_view kBackupFolder = "BACKUP";
// The files a backup copies, when they exist.
inline constexpr std::array<std::string_view, 6> kBackedUpFiles = {
    kPersonFile, kFounderFile, kNameOrderFile, kFamilyFile, kSettingsFile, kOptionsFile};

} // namespace common
