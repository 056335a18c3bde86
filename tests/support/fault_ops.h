// File operations for the fault and crash tests: they count every operation of a job,
// fail the n-th one with an error as the system would, or stop the job at the n-th one as
// a kill would (that operation and every later one throws SimulatedKill, which no code of
// the programs catches, so nothing is cleaned up).
//
// FolderSnapshot records the files of a folder, to tell whether a folder holds wholly the
// old or wholly the new contents of a job.
#pragma once

#include "common/file_io.h"
#include "common/file_ops.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// Thrown where a kill stops a job. Deliberately not a std::exception.
struct SimulatedKill {};

class FaultyFileOps : public common::FileOps {
public:
    enum class Mode { Count, Fail, Kill };

    // Counts only.
    FaultyFileOps() = default;
    // Fails operation `at` (0-based) with `err`, or kills the job there.
    FaultyFileOps(Mode mode, long at, int err = EIO) : mode_(mode), at_(at), err_(err) {}

    long count() const { return count_; }
    bool triggered() const { return triggered_; }
    // The operations done, by name (for messages).
    const std::vector<std::string>& log() const { return log_; }

    int createNew(const Path& p, int& fd) override {
        return step("createNew " + p.filename().string(),
                    [&] { return FileOps::createNew(p, fd); });
    }
    int write(int fd, const char* data, std::size_t size) override {
        return step("write", [&] { return FileOps::write(fd, data, size); });
    }
    // Syncs are counted (and can fail) but not made: durability is not what these tests
    // look at, and they keep the suite fast.
    int syncFile(int) override {
        return step("syncFile", [] { return 0; });
    }
    int close(int fd) override {
        // A failed close still closes (as close(2) does).
        const int r = step("close", [&] { return FileOps::close(fd); });
        if (r != 0 && !killed_) {
            FileOps::close(fd);
        }
        return r;
    }
    int readFile(const Path& p, std::string& bytes) override {
        return step("readFile " + p.filename().string(),
                    [&] { return FileOps::readFile(p, bytes); });
    }
    int rename(const Path& from, const Path& to) override {
        return step("rename " + from.filename().string() + " " + to.filename().string(),
                    [&] { return FileOps::rename(from, to); });
    }
    int link(const Path& from, const Path& to) override {
        return step("link " + from.filename().string(), [&] { return FileOps::link(from, to); });
    }
    int remove(const Path& p) override {
        return step("remove " + p.filename().string(), [&] { return FileOps::remove(p); });
    }
    int syncFolder(const Path&) override {
        return step("syncFolder", [] { return 0; });
    }
    int makeFolder(const Path& p) override {
        return step("makeFolder " + p.filename().string(), [&] { return FileOps::makeFolder(p); });
    }
    int removeFolder(const Path& p) override {
        return step("removeFolder", [&] { return FileOps::removeFolder(p); });
    }
    int listFolder(const Path& p, std::vector<std::string>& names) override {
        return step("listFolder", [&] { return FileOps::listFolder(p, names); });
    }
    int exists(const Path& p) override {
        return step("exists " + p.filename().string(), [&] { return FileOps::exists(p); });
    }
    int regularFile(const Path& p) override {
        return step("regularFile " + p.filename().string(),
                    [&] { return FileOps::regularFile(p); });
    }

private:
    template <class Op> int step(std::string name, Op op) {
        if (killed_) {
            throw SimulatedKill{};
        }
        const long n = count_++;
        log_.push_back(std::move(name));
        if (n == at_ && mode_ == Mode::Kill) {
            killed_ = triggered_ = true;
            throw SimulatedKill{};
        }
        if (n == at_ && mode_ == Mode::Fail) {
            triggered_ = true;
            return err_;
        }
        return op();
    }

    Mode mode_ = Mode::Count;
    long at_ = -1;
    int err_ = EIO;
    long count_ = 0;
    bool killed_ = false;
    bool triggered_ = false;
    std::vector<std::string> log_;
};

// The regular files of a folder (not its subfolders) with their contents.
using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot snapshot(const std::filesystem::path& folder) {
    FolderSnapshot files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.is_regular_file()) {
            files[e.path().filename().string()] = common::readFile(e.path());
        }
    }
    return files;
}

// Makes `folder` hold exactly the files of `s`.
inline void restoreSnapshot(const std::filesystem::path& folder, const FolderSnapshot& s) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : s) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
}

// The names in `s` of these programs' temporary files (and the journal).
inline std::vector<std::string> temporaries(const FolderSnapshot& s) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : s) {
        if (common::isOwnTemporaryName(name) || name == ".tsubaki-journal") {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace testing_support
