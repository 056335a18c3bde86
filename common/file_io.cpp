#include "common/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
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

void replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::string name = displayName(path);
    auto fail = [&](const std::string& what, int err) {
        throw FileError("「" + name + "」を保存できません：" + what + "（" + systemReason(err) +
                        "）。元のファイルはそのままです。");
    };
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string tmpl = (folder / ("." + path.filename().string() + ".tmpXXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        fail("一時ファイルを作れません", errno);
    }
    auto abandon = [&](const std::string& what) {
        int err = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        fail(what, err);
    };
    // The temporary file gets the usual permissions of a new file.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("書き込みに失敗しました");
        }
        if (n == 0) {
            errno = ENOSPC;
            abandon("書き込みに失敗しました");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        abandon("ディスクへの書き出しに失敗しました");
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        fail("ファイルを閉じられません", err);
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        fail("ファイルを置き換えられません", err);
    }
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace common
