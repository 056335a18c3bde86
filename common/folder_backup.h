// Time-stamped backups of a data folder, shared by both programs: the main window's
// backup, the upgrade's and the one an import makes before it replaces a register.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace common {

// "YYMMDD_HHMMSS" of a local time.
std::string backupFolderName(const std::tm& local);

// Creates `dataFolder`/BACKUP when it does not exist. Throws FileError.
void ensureBackupFolder(const std::filesystem::path& dataFolder);

// Copies the files of kBackedUpFiles that exist in `dataFolder` into
// `dataFolder`/BACKUP/YYMMDD_HHMMSS (local time `local`), whole or not at all: the copies
// are made and synced in a temporary folder of our own naming, which is then renamed.
// Returns the folder made, or nullopt when a folder of that name already exists (a second
// backup within the same second), in which case nothing is copied. Throws FileError naming
// the file or folder, with nothing left behind.
std::optional<std::filesystem::path> backupDataFolder(const std::filesystem::path& dataFolder,
                                                      const std::tm& local);

// The local time now.
std::tm localTimeNow();

} // namespace common
