#include "common/file_io.h"

#include "common/folder_lock.h"

#include "common/file_ops.h"

#include <cerrno>
#include <random>
#include <stdexcept>

namespace common {

namespace {

constexpr std::string_view kStagedMark = ".tmp";
constexpr std::string_view kSetAsideMark = ".old";
constexpr std::size_t kSuffixLength = 6;

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 rng{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    std::string s;
    for (std::size_t i = 0; i < kSuffixLength; ++i) {
        s += kLetters[pick(rng)];
    }
    return s;
}

bool isSuffixChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

} // namespace

std::string displayName(const std::filesystem::path& path) {
    // Paths are UTF-8 byte strings on this platform.
    return path.has_filename() ? path.filename().string() : path.string();
}

std::string cannotSave(const std::filesystem::path& path, std::string_view what, int err) {
    return "「" + displayName(path) + "」を保存できません：" + std::string(what) + "（" +
           systemReason(err) + "）";
}

bool isOwnTemporaryName(std::string_view name) {
    if (name.size() < 2 + kStagedMark.size() + kSuffixLength || name.front() != '.') {
        return false;
    }
    const std::string_view suffix = name.substr(name.size() - kSuffixLength);
    for (char c : suffix) {
        if (!isSuffixChar(c)) {
            return false;
        }
    }
    const std::string_view mark =
        name.substr(name.size() - kSuffixLength - kStagedMark.size(), kStagedMark.size());
    return mark == kStagedMark || mark == kSetAsideMark;
}

std::string temporaryName(std::string_view name) {
    return "." + std::string(name) + std::string(kStagedMark) + randomSuffix();
}

std::string setAsideName(std::string_view name) {
    return "." + std::string(name) + std::string(kSetAsideMark) + randomSuffix();
}

std::string readFile(const std::filesystem::path& path) {
    std::string bytes;
    if (const int err = fileOps().readFile(path, bytes)) {
        throw FileError("「" + displayName(path) + "」を読み込めません：" + systemReason(err) +
                        "（" + path.string() + "）");
    }
    return bytes;
}

int tryStageFile(const std::filesystem::path& target, std::string_view bytes,
                 std::filesystem::path& staged, std::string& what) {
    FileOps& ops = fileOps();
    const std::filesystem::path folder = folderOf(target);
    int fd = -1;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        staged = folder / temporaryName(target.filename().string());
        err = ops.createNew(staged, fd);
    }
    if (err != 0) {
        what = "一時ファイルを作れません";
        return err;
    }
    auto abandon = [&](std::string_view step, int e) {
        ops.close(fd);
        ops.remove(staged);
        what = step;
        return e;
    };
    if (const int e = ops.write(fd, bytes.data(), bytes.size())) {
        return abandon("書き込みに失敗しました", e);
    }
    if (const int e = ops.syncFile(fd)) {
        return abandon("ディスクへの書き出しに失敗しました", e);
    }
    if (const int e = ops.close(fd)) {
        ops.remove(staged);
        what = "ファイルを閉じられません";
        return e;
    }
    return 0;
}

std::filesystem::path stageFile(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path staged;
    std::string what;
    if (const int err = tryStageFile(target, bytes, staged, what)) {
        throw FileError(cannotSave(target, what, err));
    }
    return staged;
}

FileReplacement::FileReplacement(const std::filesystem::path& path)
    : path_(path), folder_(folderOf(path)) {
    FileOps& ops = fileOps();
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        temporary_ = folder_ / temporaryName(path.filename().string());
        err = ops.createNew(temporary_, fd_);
    }
    if (err != 0) {
        temporary_.clear();
        fd_ = -1;
        fail("一時ファイルを作れません", err);
    }
    markBeingWritten(fd_); // a recovery in another program leaves it alone
}

FileReplacement::~FileReplacement() {
    try {
        if (fd_ >= 0) {
            fileOps().close(fd_);
        }
        if (!temporary_.empty()) {
            fileOps().remove(temporary_);
        }
    } catch (...) { // a test's stopped job
    }
}

void FileReplacement::fail(const std::string& what, int err) {
    FileOps& ops = fileOps();
    if (fd_ >= 0) {
        ops.close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ops.remove(temporary_);
        temporary_.clear();
    }
    throw FileError(cannotSave(path_, what, err) + "。元のファイルはそのままです。");
}

void FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0) {
        throw std::logic_error("FileReplacement::write after the end");
    }
    if (const int err = fileOps().write(fd_, bytes.data(), bytes.size())) {
        fail("書き込みに失敗しました", err);
    }
}

void FileReplacement::commit() {
    if (fd_ < 0) {
        throw std::logic_error("FileReplacement::commit after the end");
    }
    FileOps& ops = fileOps();
    if (const int err = ops.syncFile(fd_)) {
        fail("ディスクへの書き出しに失敗しました", err);
    }
    const int fd = fd_;
    fd_ = -1;
    if (const int err = ops.close(fd)) {
        fail("ファイルを閉じられません", err);
    }
    if (const int err = ops.rename(temporary_, path_)) {
        fail("ファイルを置き換えられません", err);
    }
    temporary_.clear();
    if (const int err = ops.syncFolder(folder_)) {
        // The new file is in place but may not survive a power failure.
        throw FileError(cannotSave(path_, "フォルダをディスクに書き出せません", err) +
                        "。新しい内容はディスクに残らないことがあります。");
    }
}

void replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    FileReplacement file(path);
    file.write(bytes);
    file.commit();
}

} // namespace common
