#include "core/backup.h"

namespace core {

std::optional<std::filesystem::path> データバックアップ_SUB(const std::filesystem::path& dataFolder,
                                                            const std::tm& local) {
    return common::backupDataFolder(dataFolder, local);
}

std::optional<std::filesystem::path>
データバックアップ_SUB(const std::filesystem::path& dataFolder) {
    return common::backupDataFolder(dataFolder, common::localTimeNow());
}

} // namespace core
