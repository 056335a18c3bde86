#include "common/folder_lock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace common {

namespace {

int lockWaiting(int fd, int operation) {
    int r = 0;
    do {
        r = ::flock(fd, operation);
    } while (r != 0 && errno == EINTR);
    return r;
}

} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder) {
    const std::filesystem::path p = folder.empty() ? std::filesystem::path(".") : folder;
    fd_ = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 && lockWaiting(fd_, LOCK_EX) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing gives the lock back
    }
}

void markBeingWritten(int fd) {
    if (fd >= 0) {
        lockWaiting(fd, LOCK_EX | LOCK_NB);
    }
}

bool beingWritten(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    const bool held = lockWaiting(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace common
