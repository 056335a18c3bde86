// What every job of mokuren shares: how it ends, the file dialogs that start it, the
// overwrite question and the recovery of a folder that a killed run left half changed.
#pragma once

#include "common/dialogs.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// name; it is recovered (recoverDataFolder) before it is returned. nullopt when cancelled
// or when the folder cannot be recovered (the message has been shown).
std::optional<std::filesystem::path> chooseDataFolder(common::Dialogs& dialogs,
                                                      std::string_view title,
                                                      const std::filesystem::path& start);

// Files beside the chosen one that the job takes away (into a backup), and the sentence
// the overwrite question adds about them.
struct AlsoReplaced {
    std::vector<std::string_view> names;
    std::string note;
};

// The save dialog with the overwrite question: a path without extension gets ".TXT" unless
// `fixedName` is given (then the file is always `fixedName` in the chosen folder); an
// existing file asks "<path>は既に存在します。" / "上書きしますか？", and No shows the save
// dialog again. When one of `also.names` exists in the chosen folder, the question is
// asked (about it, when the file itself does not exist) with `also.note` added. nullopt
// when cancelled.
std::optional<std::filesystem::path>
chooseSavePath(common::Dialogs& dialogs, std::string_view title,
               const std::filesystem::path& folder, std::string_view proposedName,
               std::string_view filter, std::string_view fixedName = {},
               const AlsoReplaced& also = {});

// The overwrite question for `path`; true when the user answers Yes.
bool confirmOverwrite(common::Dialogs& dialogs, const std::filesystem::path& path,
                      std::string_view note = {});

// Puts right what a killed run left in the data folder `folder` (common::recoverFolder)
// and tells the user in one line what was done. False, after a stop message, when the
// folder cannot be put right; it must then not be read or written.
bool recoverDataFolder(const std::filesystem::path& folder, common::Dialogs& dialogs);
inline constexpr std::string_view kRecoveredTitle = "データフォルダを修復しました";

bool fileExists(const std::filesystem::path& path);

// True, after a stop box titled `title`, when `folder` is masked (it holds
// "9_当事者目録.TXT"): an import must not replace its register, or restoring would put the
// register set aside back over the one imported.
bool refuseMaskedFolder(const std::filesystem::path& folder, common::Dialogs& dialogs,
                        std::string_view title);

// Where an import writes its register: the save dialog for "当事者目録.TXT" (the file's name is
// fixed; an existing register, family register or drawing settings only after the overwrite
// question, with `note` about the files that leave the folder), starting in `folder`. The
// register's path, nullopt when cancelled.
std::optional<std::filesystem::path> chooseImportTarget(common::Dialogs& dialogs,
                                                        const std::filesystem::path& folder,
                                                        std::string_view note);

// The files of `folder` that name the persons of its register (the family register, the
// drawing settings): an import that replaces the register takes them away.
std::vector<std::string_view> personReferencingFiles(const std::filesystem::path& folder);

// The backup (common::backupDataFolder) an import makes before it takes files of `folder`
// away; a backup of the same second already there (one made just before) is waited out.
// Throws common::FileError.
std::filesystem::path backupBeforeReplacing(const std::filesystem::path& folder);

} // namespace converter
