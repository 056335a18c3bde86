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

// The file name as the user sees it in messages ("当事者目録.TXT").
std::string displayName(const std::filesystem::path& path);

} // namespace common
