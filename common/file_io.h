// File access shared by every register reader and writer: whole-file reading and
// the atomic replace of one file. A change of several files of one folder goes through
// common/folder_transaction.h instead.
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

// Reads a whole file as bytes. Throws FileError naming the file with the Japanese reason
// when it cannot be opened or read.
std::string readFile(const std::filesystem::path& path);

// Replaces `path` by `bytes` so that a crash or an I/O error never leaves a half-written
// file: the bytes go to a temporary file in the same folder (every write checked), which
// is flushed to disk, closed, renamed over `path`, and the folder is synced. On failure
// the temporary file is removed and FileError is thrown; the old file is untouched unless
// only the final sync of the folder failed, which the message says.
void replaceFile(const std::filesystem::path& path, std::string_view bytes);

// The same replace for a file written piece by piece (a bitmap written band by band): the
// pieces go to the temporary file as they come; commit() syncs it and renames it over
// `path`, then syncs the folder. Destroyed without commit() (an error, an exception on the
// way), it removes the temporary file and `path` stays as it was. Every failure throws
// FileError. Goes through common::fileOps().
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
    std::filesystem::path temporary_;
    int fd_ = -1;
};

// Writes `bytes` to a new temporary file beside `target` (".<name>.tmpXXXXXX"), synced to
// disk and closed, and returns its path. On failure nothing is left behind and FileError
// is thrown, naming `target`.
std::filesystem::path stageFile(const std::filesystem::path& target, std::string_view bytes);
// The same without throwing: 0 and `staged` set, or the errno value with `what` saying
// which step failed ("書き込みに失敗しました").
int tryStageFile(const std::filesystem::path& target, std::string_view bytes,
                 std::filesystem::path& staged, std::string& what);

// A new temporary name for `name` (".<name>.tmpXXXXXX", the suffix random).
std::string temporaryName(std::string_view name);

// A name to set the file `name` aside under (".<name>.oldXXXXXX").
std::string setAsideName(std::string_view name);

// True for the names of the temporary files these programs make in a folder (the staged
// files above and the set-aside files of a folder transaction).
bool isOwnTemporaryName(std::string_view name);

// The file name as the user sees it in messages ("当事者目録.TXT").
std::string displayName(const std::filesystem::path& path);

// "「当事者目録.TXT」を保存できません：<what>（<reason>）".
std::string cannotSave(const std::filesystem::path& path, std::string_view what, int err);

} // namespace common
