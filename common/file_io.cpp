#include "common/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

std::string systemReason(int err) {
    switch (err) {
    case ENOSPC:
        return "ディスクの空き容量が足りません";
    case EACCES:
    case EPERM:
        return "書き込みが許可されていません";
    case EROFS:
        return "読み取り専用の場所です";
    case ENOENT:
        return "フォルダが見つかりません";
    case EFBIG:
        return "ファイルが大きすぎます";
    default:
        return std::strerror(err);
    }
}

} // namespace

std::string displayName(const std::filesystem::path& path) {
    // Paths are UTF-8 byte strings on this platform.
    return path.has_filename() ? path.filename().string() : path.string();
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError("「" + displayName(path) + "」を開けません（" + path.string() + "）");
    }
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    in.seekg(0, std::ios::beg);
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        throw FileError("「" + displayName(path) + "」を読み込めません（" + path.string() + "）");
    }
    return bytes;
}

FileReplacement::FileReplacement(const std::filesystem::path& path)
    : path_(path), folder_(path.parent_path()) {
    if (folder_.empty()) {
        folder_ = ".";
    }
    temporary_ = (folder_ / ("." + path.filename().string() + ".tmpXXXXXX")).string();
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) {
        const int err = errno;
        temporary_.clear();
        fail("一時ファイルを作れません", err);
    }
    // The temporary file gets the usual permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void FileReplacement::fail(const std::string& what, int err) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    throw FileError("「" + displayName(path_) + "」を保存できません：" + what + "（" +
                    systemReason(err) + "）。元のファイルはそのままです。");
}

void FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0) {
        throw std::logic_error("FileReplacement::write after the end");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("書き込みに失敗しました", errno);
        }
        if (n == 0) {
            fail("書き込みに失敗しました", ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
}

void FileReplacement::commit() {
    if (fd_ < 0) {
        throw std::logic_error("FileReplacement::commit after the end");
    }
    if (::fsync(fd_) != 0) {
        fail("ディスクへの書き出しに失敗しました", errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        fail("ファイルを閉じられません", errno);
    }
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fail("ファイルを置き換えられません", errno);
    }
    temporary_.clear();
    const int dfd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    FileReplacement file(path);
    file.write(bytes);
    file.commit();
}

} // namespace common
