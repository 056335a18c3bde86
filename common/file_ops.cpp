#include "common/file_ops.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

int lastError() {
    return errno != 0 ? errno : EIO;
}

FileOps& systemOps() {
    static FileOps ops;
    return ops;
}

FileOps* installed = nullptr;

} // namespace

int FileOps::createNew(const Path& path, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? lastError() : 0;
}

int FileOps::write(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int FileOps::syncFile(int fd) {
    return ::fsync(fd) != 0 ? lastError() : 0;
}

int FileOps::close(int fd) {
    return ::close(fd) != 0 ? lastError() : 0;
}

int FileOps::readFile(const Path& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = lastError();
        ::close(fd);
        return err;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    bytes.clear();
    bytes.reserve(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = lastError();
            ::close(fd);
            return err;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return 0;
}

int FileOps::rename(const Path& from, const Path& to) {
    return ::rename(from.c_str(), to.c_str()) != 0 ? lastError() : 0;
}

int FileOps::link(const Path& from, const Path& to) {
    return ::link(from.c_str(), to.c_str()) != 0 ? lastError() : 0;
}

int FileOps::remove(const Path& path) {
    return ::unlink(path.c_str()) != 0 ? lastError() : 0;
}

int FileOps::syncFolder(const Path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    const int err = ::fsync(fd) != 0 ? lastError() : 0;
    ::close(fd);
    return err;
}

int FileOps::makeFolder(const Path& folder) {
    return ::mkdir(folder.c_str(), 0777) != 0 ? lastError() : 0;
}

int FileOps::removeFolder(const Path& folder) {
    return ::rmdir(folder.c_str()) != 0 ? lastError() : 0;
}

int FileOps::listFolder(const Path& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return lastError();
    }
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
        errno = 0;
    }
    const int err = errno;
    ::closedir(dir);
    return err;
}

int FileOps::exists(const Path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) != 0 ? lastError() : 0;
}

int FileOps::regularFile(const Path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return lastError();
    }
    return S_ISREG(st.st_mode) ? 0 : EISDIR;
}

FileOps& fileOps() {
    return installed != nullptr ? *installed : systemOps();
}

ScopedFileOps::ScopedFileOps(FileOps& ops) : previous_(installed) {
    installed = &ops;
}

ScopedFileOps::~ScopedFileOps() {
    installed = previous_;
}

std::string systemReason(int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空き容量が足りません";
    case EACCES:
    case EPERM:
        return "アクセスが許可されていません";
    case EROFS:
        return "読み取り専用の場所です";
    case ENOENT:
        return "ファイルかフォルダが見つかりません";
    case ENOTDIR:
        return "フォルダではありません";
    case EISDIR:
        return "ファイルではなくフォルダです";
    case EEXIST:
        return "同じ名前のものが既にあります";
    case ENOTEMPTY:
        return "フォルダが空ではありません";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EIO:
        return "ディスクの読み書きでエラーが起きました";
    case EBUSY:
    case ETXTBSY:
        return "ファイルが使用中です";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリが足りません";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case EXDEV:
        return "別のディスクへは移せません";
    case ELOOP:
        return "リンクが循環しています";
    case ENOTSUP:
        return "この場所ではできない操作です";
    case EINVAL:
        return "この場所ではできない操作です（無効な引数）";
    case EINTR:
        return "処理が中断されました";
    default:
        return "システムのエラーです（エラー番号 " + std::to_string(err) + "）";
    }
}

} // namespace common
