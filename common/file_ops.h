// The file operations through which every reader and writer of a data folder reaches the
// system: one virtual call per system call, so that tests can fail any one of them or stop
// a job at any one of them, as a full disk or a kill would.
//
// Every operation returns 0 or the errno value of the failure; none throws (a test's
// replacement may throw to stop a job). systemReason() turns an errno value into the
// Japanese words shown to the user.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace common {

class FileOps {
public:
    using Path = std::filesystem::path;
    virtual ~FileOps() = default;

    // Creates `path` for writing; fails with EEXIST when it exists. The file gets the usual
    // permissions of a new file.
    virtual int createNew(const Path& path, int& fd);
    // Writes all of `size` bytes (short writes are continued; a write that makes no
    // progress is ENOSPC).
    virtual int write(int fd, const char* data, std::size_t size);
    virtual int syncFile(int fd);
    virtual int close(int fd);
    // Reads the whole file.
    virtual int readFile(const Path& path, std::string& bytes);
    // rename(2): replaces `to` in one step.
    virtual int rename(const Path& from, const Path& to);
    // A second name for a file (link(2)); fails where the file system has no links.
    virtual int link(const Path& from, const Path& to);
    virtual int remove(const Path& path);
    // Makes the names in `folder` durable (fsync of the folder).
    virtual int syncFolder(const Path& folder);
    virtual int makeFolder(const Path& folder);
    virtual int removeFolder(const Path& folder); // an empty folder
    // The names in `folder` ("." and ".." left out).
    virtual int listFolder(const Path& folder, std::vector<std::string>& names);
    // 0 when `path` exists, ENOENT when it does not, another errno when that cannot be told.
    virtual int exists(const Path& path);
    // 0 when `path` is a regular file, ENOENT when nothing is there, EISDIR when something
    // else is (a folder), another errno when that cannot be told.
    virtual int regularFile(const Path& path);
};

// The operations in use: the system's, unless a test installed others.
FileOps& fileOps();

// Installs `ops` for its lifetime (tests).
class ScopedFileOps {
public:
    explicit ScopedFileOps(FileOps& ops);
    ~ScopedFileOps();
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

private:
    FileOps* previous_;
};

// The Japanese words for a system error ("ディスクの空き容量が足りません").
std::string systemReason(int err);

} // namespace common
