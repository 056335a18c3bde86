// Time-stamped backups of a data folder's register files.
#pragma once

#include "common/folder_backup.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace core {

using common::backupFolderName;
using common::ensureBackupFolder;

// データバックアップ_SUB: copies the register files that exist in `dataFolder` into
// `dataFolder`/BACKUP/YYMMDD_HHMMSS (local time `local`), whole or not at all. Returns the
// folder made, or nullopt when a folder of that name already existed (a second backup
// within the same second), in which case nothing is copied. Throws common::FileError when
// a folder cannot be made or a file cannot be copied.
std::optional<std::filesystem::path> データバックアップ_SUB(const std::filesystem::path& dataFolder,
                                                            const std::tm& local);
// The same at the current local time.
std::optional<std::filesystem::path>
データバックアップ_SUB(const std::filesystem::path& dataFolder);

} // namespace core
