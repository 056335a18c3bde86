// Keeping two programs (or two windows) that work on one data folder out of each other's
// way. A change of several files (a folder transaction, a backup) and the recovery that
// completes or undoes a change a killed run left hold the folder's lock, so that a recovery
// never takes a change still being made for one a killed run left. A file being written
// through the atomic replace holds a lock on its own temporary file, so that a recovery
// leaves that file alone.
//
// The locks are advisory (flock): they keep our own programs apart, nothing else. Where a
// lock cannot be had at all (a file system without locks), the work goes on without it.
#pragma once

#include <filesystem>

namespace common {

// The exclusive lock of a folder, held from construction to destruction; waits while
// another holds it.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// Marks the open file `fd` as being written (the lock goes with the file's closing).
void markBeingWritten(int fd);
// Whether another open file holds the mark of markBeingWritten on `path`.
bool beingWritten(const std::filesystem::path& path);

} // namespace common
