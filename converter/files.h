// File names of a data folder as mokuren sees it.
#pragma once

#include "common/register_files.h"

#include <array>
#include <string_view>

namespace converter {

using common::kFamilyFile;
using common::kFounderFile;
using common::kNameOrderFile;
using common::kPersonFile;
using common::kSettingsFile;
// The unmasked files set aside while a folder is masked.
inline constexpr std::string_view kSavedPersonFile = "9_当事者目録.TXT";
inline constexpr std::string_view kSavedSettingsFile = "9_作図設定.TXT";
// The files of a data folder that name persons of the person register by number; an
// import that replaces the register moves them into a backup.
inline constexpr std::array<std::string_view, 2> kPersonReferencingFiles = {kFamilyFile,
                                                                            kSettingsFile};
// Proposed name of an exported CSV file.
inline constexpr std::string_view kExportFile = "当事者データ.TXT";

// The version tag an imported register is written with, and the version from which a
// register carries the link fields (C_当事者NO%, 子孫_FL%, 当姓%).
inline constexpr std::string_view kVersionText = "V220";
inline constexpr int kLinkFieldsVersion = 200;

} // namespace converter
