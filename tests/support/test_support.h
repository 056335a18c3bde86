// Helpers for the register tests: Shift-JIS file contents from UTF-8 lines, and a
// temporary data folder.
#pragma once

#include "common/cp932.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include <stdlib.h>

namespace testing_support {

// The lines joined with CR LF (each line ended), encoded as Shift-JIS.
inline std::string sjisLines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) {
        out += common::encodeCp932(l);
        out += "\r\n";
    }
    return out;
}

inline std::string sjisLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += common::encodeCp932(l);
        out += "\r\n";
    }
    return out;
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/tsubaki-test-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path path_;
};

} // namespace testing_support
