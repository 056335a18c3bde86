// The file names of a data folder, shared by both programs.
#pragma once

#include <string_view>

namespace common {

inline constexpr std::string_view kPersonFile = "当事者目録.TXT";
inline constexpr std::string_view kFounderFile = "創始階層登録.TXT";
inline constexpr std::string_view kNameOrderFile = "姓名順.TXT";
inline constexpr std::string_view kFamilyFile = "家族目録.TXT";
inline constexpr std::string_view kSettingsFile = "作図設定.TXT";

} // namespace common
