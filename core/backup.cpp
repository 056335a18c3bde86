#include "core/backup.h"

#include "common/file_io.h"
#include "core/constants.h"

#include <cstdio>
#include <ctime>

namespace core {

std::string backupFolderName(const std::tm& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d_%02d%02d%02d", (t.tm_year + 1900) % 100,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

void ensureBackupFolder(const std::filesystem::path& dataFolder) {
    std::error_code ec;
    const auto backup = dataFolder / kBackupFolder;
    if (std::filesystem::is_directory(backup, ec)) {
        return;
    }
    if (!std::filesystem::create_directory(backup, ec) && ec) {
        throw common::FileError("フォルダ「" + backup.string() + "」を作れません（" + ec.message() +
                                "）");
    }
}

std::optional<std::filesystem::path> データバックアップ_SUB(const std::filesystem::path& dataFolder,
                                                            const std::tm& local) {
    ensureBackupFolder(dataFolder);
    const auto target = dataFolder / kBackupFolder / backupFolderName(local);
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        return std::nullopt;
    }
    if (!std::filesystem::create_directory(target, ec)) {
        throw common::FileError("バックアップ用のフォルダ「" + target.string() +
                                "」を作れません（" + ec.message() + "）");
    }
    for (std::string_view name :
         {kPersonFile, kFounderFile, kNameOrderFile, kFamilyFile, kSettingsFile}) {
        const auto source = dataFolder / name;
        if (!std::filesystem::exists(source, ec)) {
            continue;
        }
        // Through the atomic replace, so a failed copy never leaves a partial file.
        common::replaceFile(target / name, common::readFile(source));
    }
    return target;
}

std::optional<std::filesystem::path>
データバックアップ_SUB(const std::filesystem::path& dataFolder) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return データバックアップ_SUB(dataFolder, local);
}

} // namespace core
