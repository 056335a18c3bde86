// What every job of mokuren shares: how it ends, the file dialogs that start it, the
// overwrite question and the moving of files.
#pragma once

#include "common/dialogs.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace converter {

// How a job ended: done, stopped after a message was shown, or cancelled in a file dialog.
enum class JobOutcome { Done, Stopped, Cancelled };

// Titles of the error boxes, one per job.
inline constexpr std::string_view kReadErrorTitle = "当事者目録を読み込めません";
inline constexpr std::string_view kMaskErrorTitle = "個人情報を隠せません";
inline constexpr std::string_view kRestoreErrorTitle = "元に戻せません";
inline constexpr std::string_view kExportErrorTitle = "ＣＳＶデータを書き込めません";
inline constexpr std::string_view kImportErrorTitle = "当事者目録を作れません";

// The open dialog that chooses a register ("当事者目録を読み込みます" for export and
// masking, "元に戻す当事者目録を読み込みます" for restoring), starting in `start` with
// "当事者目録.TXT" proposed. The data folder is the folder of the chosen file, whatever its
// name; nullopt when cancelled.
std::optional<std::filesystem::path> chooseDataFolder(common::Dialogs& dialogs,
                                                      std::string_view title,
                                                      const std::filesystem::path& start);

// The save dialog with the overwrite question: a path without extension gets ".TXT" unless
// `fixedName` is given (then the file is always `fixedName` in the chosen folder); an
// existing file asks "<path>は既に存在します。" / "上書きしますか？", and No shows the save
// dialog again. nullopt when cancelled.
std::optional<std::filesystem::path>
chooseSavePath(common::Dialogs& dialogs, std::string_view title,
               const std::filesystem::path& folder, std::string_view proposedName,
               std::string_view filter, std::string_view fixedName = {});

// The overwrite question for `path`; true when the user answers Yes.
bool confirmOverwrite(common::Dialogs& dialogs, const std::filesystem::path& path);

// Renames `from` to `to`, replacing `to`, and makes the rename durable. Throws
// common::FileError naming both files.
void moveFile(const std::filesystem::path& from, const std::filesystem::path& to);

bool fileExists(const std::filesystem::path& path);

} // namespace converter
