#include "converter/job.h"

#include "common/file_io.h"
#include "common/folder_backup.h"
#include "common/folder_transaction.h"
#include "converter/files.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace converter {

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::optional<std::filesystem::path> chooseDataFolder(common::Dialogs& dialogs,
                                                      std::string_view title,
                                                      const std::filesystem::path& start) {
    // A start path that names a file makes the dialog propose that file.
    const auto chosen = dialogs.openFile(title, (start / kPersonFile).string(), "(*.TXT)");
    if (!chosen) {
        return std::nullopt;
    }
    std::filesystem::path folder = std::filesystem::path(*chosen).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (!recoverDataFolder(folder, dialogs)) {
        return std::nullopt;
    }
    return folder;
}

bool refuseMaskedFolder(const std::filesystem::path& folder, common::Dialogs& dialogs,
                        std::string_view title) {
    if (!fileExists(folder / kSavedPersonFile)) {
        return false;
    }
    dialogs.ok(title,
               "「" + folder.string() + "」は個人情報を隠した状態です（「" +
                   std::string(kSavedPersonFile) +
                   "」があります）。先に個人情報を戻してから取り込んでください。",
               common::Icon::Stop);
    return true;
}

std::optional<std::filesystem::path> chooseImportTarget(common::Dialogs& dialogs,
                                                        const std::filesystem::path& folder,
                                                        std::string_view note) {
    const AlsoReplaced also{{kPersonReferencingFiles.begin(), kPersonReferencingFiles.end()},
                            std::string(note)};
    return chooseSavePath(dialogs, "当事者目録の書き込み", folder, kPersonFile, "ﾃｷｽﾄ形式(*.TXT)",
                          kPersonFile, also);
}

std::vector<std::string_view> personReferencingFiles(const std::filesystem::path& folder) {
    std::vector<std::string_view> found;
    for (std::string_view name : kPersonReferencingFiles) {
        if (fileExists(folder / name)) {
            found.push_back(name);
        }
    }
    return found;
}

std::filesystem::path backupBeforeReplacing(const std::filesystem::path& folder) {
    for (int attempt = 0;; ++attempt) {
        if (auto made = common::backupDataFolder(folder, common::localTimeNow())) {
            return *made;
        }
        if (attempt == 2) {
            throw common::FileError(
                "同じ時刻のバックアップがすでにあります。1 秒待ってからやり直してください");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
    }
}

bool confirmOverwrite(common::Dialogs& dialogs, const std::filesystem::path& path,
                      std::string_view note) {
    std::string text = "上書きしますか？";
    if (!note.empty()) {
        text += "\n";
        text += note;
    }
    return dialogs.yes(path.string() + "は既に存在します。", text, common::Icon::Exclamation);
}

bool recoverDataFolder(const std::filesystem::path& folder, common::Dialogs& dialogs) {
    try {
        const std::string done = common::recoverFolder(folder);
        if (!done.empty()) {
            dialogs.ok(kRecoveredTitle, done, common::Icon::Information);
        }
        return true;
    } catch (const common::FileError& e) {
        dialogs.ok("データフォルダを開けません", e.what(), common::Icon::Stop);
        return false;
    }
}

std::optional<std::filesystem::path>
chooseSavePath(common::Dialogs& dialogs, std::string_view title,
               const std::filesystem::path& folder, std::string_view proposedName,
               std::string_view filter, std::string_view fixedName, const AlsoReplaced& also) {
    for (;;) {
        // The overwrite question is ours (it has its own wording), not the dialog's.
        const auto chosen = dialogs.saveFile(title, folder.string(), proposedName, filter, false);
        if (!chosen) {
            return std::nullopt;
        }
        std::filesystem::path path(*chosen);
        if (!fixedName.empty()) {
            std::filesystem::path dir = path.parent_path();
            path = (dir.empty() ? std::filesystem::path(".") : dir) / fixedName;
        } else if (!path.has_extension()) {
            path += ".TXT";
        }
        std::optional<std::filesystem::path> other;
        for (std::string_view name : also.names) {
            if (!other && fileExists(path.parent_path() / name)) {
                other = path.parent_path() / name;
            }
        }
        if (fileExists(path) || other) {
            const std::filesystem::path asked = fileExists(path) ? path : *other;
            if (!confirmOverwrite(dialogs, asked, other ? std::string_view(also.note) : "")) {
                continue;
            }
        }
        return path;
    }
}

} // namespace converter
