// File access shared by every register reader and writer: whole-file reading and
// the atomic replace that every save goes through.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace common {

// A file that cannot be read or written. The message is for the user: it names the
// file (and the line, where there is one) and says what was wrong.
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message) : std::runtime_error(message) {}
};

// Reads a whole file as bytes. Throws FileError when it cannot be opened or read.
std::string readFile(const std::filesystem::path& path);

// Replaces `path` by `bytes` so that a crash or an I/O error never leaves a half-written
// file: the bytes go to a temporary file in the same folder (every write checked), which
// is flushed to disk, closed, renamed over `path`, and the folder is synced. On failure
// the old file is untouched, the temporary file is removed and FileError is thrown.
void replaceFile(const std::filesystem::path& path, std::string_view bytes);

// The same replace for a file written piece by piece (a bitmap written band by band): the
// pieces go to the temporary file as they come; commit() syncs it and renames it over
// `path`. Destroyed without commit() (an error, an exception on the way), it removes the
// temporary file and `path` stays as it was. Every failure throws FileError.
class FileReplacement {
public:
    explicit FileReplacement(const std::filesystem::path& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    [[noreturn]] void fail(const std::string& what, int err);
    std::filesystem::path path_;
    std::filesystem::path folder_;
    std::string temporary_;
    int fd_ = -1;
};

// The file name as the user sees it in messages ("当事者目録.TXT").
std::string displayName(const std::filesystem::path& path);

} // namespace common
