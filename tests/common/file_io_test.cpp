#include "common/file_io.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/tsubaki-fileio-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};

TEST(ReplaceFile, WritesAndReplaces) {
    TempDir dir;
    const auto file = dir.path() / "当事者目録.TXT";
    common::replaceFile(file, "first");
    EXPECT_EQ(common::readFile(file), "first");
    common::replaceFile(file, "second, longer");
    EXPECT_EQ(common::readFile(file), "second, longer");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ReplaceFile, FailureMidwayKeepsTheOldFileWhole) {
    TempDir dir;
    const auto file = dir.path() / "家族目録.TXT";
    common::replaceFile(file, "old contents");
    const std::string big(64 * 1024, 'x');
    {
        FileSizeLimit limit(4096); // the write stops after 4 KiB
        try {
            common::replaceFile(file, big);
            FAIL() << "the write should fail";
        } catch (const common::FileError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("家族目録.TXT"), std::string::npos) << msg;
            EXPECT_NE(msg.find("元のファイルはそのままです"), std::string::npos) << msg;
        }
    }
    EXPECT_EQ(common::readFile(file), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ReplaceFile, MissingFolderIsReported) {
    TempDir dir;
    EXPECT_THROW(common::replaceFile(dir.path() / "no" / "x.TXT", "a"), common::FileError);
    EXPECT_THROW(common::readFile(dir.path() / "absent.TXT"), common::FileError);
}

} // namespace

namespace {

// A file written piece by piece appears only when committed, whole; given up on the way
// (an error, an exception before commit) it never replaces the old file.
TEST(FileReplacement, PiecesAppearOnlyWhenCommitted) {
    TempDir dir;
    const auto file = dir.path() / "図面.BMP";
    common::replaceFile(file, "old");
    {
        common::FileReplacement replacement(file);
        replacement.write("new ");
        replacement.write("pieces");
        EXPECT_EQ(common::readFile(file), "old");
        replacement.commit();
    }
    EXPECT_EQ(common::readFile(file), "new pieces");
    {
        common::FileReplacement abandoned(file);
        abandoned.write("half");
    }
    EXPECT_EQ(common::readFile(file), "new pieces");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    const std::string piece(16 * 1024, 'y');
    FileSizeLimit limit(4096);
    common::FileReplacement limited(file);
    EXPECT_THROW(
        {
            limited.write(piece);
            limited.commit();
        },
        common::FileError);
    EXPECT_EQ(common::readFile(file), "new pieces");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

} // namespace
