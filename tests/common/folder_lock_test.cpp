// Two programs on one data folder: a recovery waits for a change another program is making
// instead of taking it for one a killed run left, and leaves alone a file another program is
// writing; a file a killed run left is still removed.
#include "common/folder_lock.h"

#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

using testing_support::TempDir;

TEST(FolderLock, ARecoveryWaitsForAChangeBeingMade) {
    TempDir dir;
    dir.write("a.TXT", "old a");
    std::atomic<bool> locked = false;
    std::atomic<bool> released = false;
    std::thread other([&] {
        // Another program in the middle of a change: its journal is in the folder.
        const common::FolderLock lock(dir.path());
        dir.write(".tsubaki-journal", "being written");
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fs::remove(dir.path() / ".tsubaki-journal");
        released = true;
    });
    while (!locked) {
        std::this_thread::yield();
    }
    const std::string said = common::recoverFolder(dir.path());
    EXPECT_TRUE(released) << "the recovery ran during the other program's change";
    EXPECT_EQ(said, "") << "the change was finished, nothing was left to recover";
    other.join();
    EXPECT_EQ(common::readFile(dir.path() / "a.TXT"), "old a");
}

TEST(FolderLock, ARecoveryLeavesAFileBeingWrittenAndRemovesALeftOne) {
    TempDir dir;
    dir.write(".家族目録.TXT.tmpAbCd12", "left by a killed run");
    {
        common::FileReplacement writing(dir.path() / "図面.BMP");
        writing.write("half a bitmap");
        const std::string said = common::recoverFolder(dir.path());
        EXPECT_NE(said.find("一時ファイルを 1 個削除しました"), std::string::npos) << said;
        EXPECT_FALSE(fs::exists(dir.path() / ".家族目録.TXT.tmpAbCd12"));
        writing.write(", then the rest");
        writing.commit();
    }
    EXPECT_EQ(common::readFile(dir.path() / "図面.BMP"), "half a bitmap, then the rest");
}

} // namespace
