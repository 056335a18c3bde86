// Program-wide constants of tsubaki.
#pragma once

#include <string_view>

namespace core {

// Appended to the caption of every form except FORM8.
inline constexpr std::string_view title_text = "　＜＜　ツバキドロー　Ver.2.0 L2　＞＞";
// Appended to the first line of the person register.
inline constexpr std::string_view version_text = "V220";
// Version value written into the family register and the drawing settings.
inline constexpr int written_register_version = 220;
// A person register below this version is of an older layout.
inline constexpr int current_person_register_version = 220;

// File names of a data folder.
inline constexpr std::string_view kPersonFile = "当事者目録.TXT";
inline constexpr std::string_view kFounderFile = "創始階層登録.TXT";
inline constexpr std::string_view kNameOrderFile = "姓名順.TXT";
inline constexpr std::string_view kFamilyFile = "家族目録.TXT";
inline constexpr std::string_view kSettingsFile = "作図設定.TXT";
inline constexpr std::string_view kEnvironmentFile = "KANKYO.TXT";
inline constexpr std::string_view kBackupFolder = "BACKUP";

} // namespace core
