#include "common/folder_backup.h"

#include "common/folder_lock.h"

#include "common/file_io.h"
#include "common/file_ops.h"
#include "common/register_files.h"

#include <cerrno>
#include <cstdio>
#include <vector>

namespace common {

namespace {

namespace fs = std::filesystem;

std::string cannotMake(const fs::path& folder, int err) {
    return "フォルダ「" + folder.string() + "」を作れません（" + systemReason(err) + "）";
}

} // namespace

std::string backupFolderName(const std::tm& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d_%02d%02d%02d", (t.tm_year + 1900) % 100,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::tm localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void ensureBackupFolder(const fs::path& dataFolder) {
    FileOps& ops = fileOps();
    const fs::path backup = dataFolder / kBackupFolder;
    if (ops.exists(backup) == 0) {
        return;
    }
    if (const int err = ops.makeFolder(backup); err != 0 && err != EEXIST) {
        throw FileError(cannotMake(backup, err));
    }
}

std::optional<fs::path> backupDataFolder(const fs::path& dataFolder, const std::tm& local) {
    FileOps& ops = fileOps();
    // Its staging folder is not one a killed run left, for a recovery in another program.
    const FolderLock lock(dataFolder);
    ensureBackupFolder(dataFolder);
    const fs::path backups = dataFolder / kBackupFolder;
    const std::string name = backupFolderName(local);
    const fs::path target = backups / name;
    if (ops.exists(target) == 0) {
        return std::nullopt;
    }
    // The copies are made in a folder of our own temporary naming: a run killed half way
    // leaves no backup that looks whole, and the next recovery removes it.
    fs::path stagingPath;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        stagingPath = backups / temporaryName(name);
        err = ops.makeFolder(stagingPath);
    }
    if (err != 0) {
        throw FileError(cannotMake(target, err));
    }
    std::vector<fs::path> made;
    auto abandon = [&](const std::string& message) {
        for (const auto& p : made) {
            ops.remove(p);
        }
        ops.removeFolder(stagingPath);
        throw FileError(message);
    };
    for (std::string_view file : kBackedUpFiles) {
        const fs::path source = dataFolder / file;
        if (const int err = ops.exists(source)) {
            if (err == ENOENT) {
                continue;
            }
            abandon("「" + std::string(file) + "」をバックアップできません：調べられません（" +
                    systemReason(err) + "）");
        }
        std::string bytes;
        if (const int err = ops.readFile(source, bytes)) {
            abandon("「" + std::string(file) + "」をバックアップできません：読み込めません（" +
                    systemReason(err) + "）");
        }
        const fs::path copy = stagingPath / file;
        int fd = -1;
        if (const int err = ops.createNew(copy, fd)) {
            abandon(cannotSave(copy, "バックアップを作れません", err));
        }
        made.push_back(copy);
        int err = ops.write(fd, bytes.data(), bytes.size());
        if (err == 0) {
            err = ops.syncFile(fd);
        }
        const int closed = ops.close(fd);
        if (err == 0) {
            err = closed;
        }
        if (err != 0) {
            abandon(cannotSave(copy, "バックアップを書き込めません", err));
        }
    }
    if (const int err = ops.syncFolder(stagingPath)) {
        abandon(cannotMake(target, err));
    }
    if (ops.exists(target) == 0) {
        abandon(cannotMake(target, EEXIST));
    }
    if (const int err = ops.rename(stagingPath, target)) {
        abandon(cannotMake(target, err));
    }
    if (const int err = ops.syncFolder(backups)) {
        throw FileError(cannotMake(target, err));
    }
    return target;
}

} // namespace common
