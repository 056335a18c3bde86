#include "converter/job.h"

#include "common/file_io.h"
#include "converter/files.h"

#include <fcntl.h>
#include <system_error>
#include <unistd.h>

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
    return folder.empty() ? std::filesystem::path(".") : folder;
}

bool confirmOverwrite(common::Dialogs& dialogs, const std::filesystem::path& path) {
    return dialogs.yes(path.string() + "は既に存在します。", "上書きしますか？",
                       common::Icon::Exclamation);
}

std::optional<std::filesystem::path>
chooseSavePath(common::Dialogs& dialogs, std::string_view title,
               const std::filesystem::path& folder, std::string_view proposedName,
               std::string_view filter, std::string_view fixedName) {
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
        if (fileExists(path) && !confirmOverwrite(dialogs, path)) {
            continue;
        }
        return path;
    }
}

void moveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) {
        throw common::FileError("「" + common::displayName(from) + "」を「" +
                                common::displayName(to) + "」に移せません（" + ec.message() + "）");
    }
    std::filesystem::path folder = to.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace converter
