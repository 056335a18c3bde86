// Program-wide constants of tsubaki.
#pragma once

#include "common/register_files.h"

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

// File names of a data folder and beside the program.
using common::kFamilyFile;
using common::kFounderFile;
using common::kNameOrderFile;
using common::kPersonFile;
using common::kSettingsFile;
inline constexpr std::string_view kEnvironmentFile = "KANKYO.TXT";
using common::kBackupFolder;

} // namespace core
