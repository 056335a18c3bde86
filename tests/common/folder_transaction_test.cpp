#include "common/folder_transaction.h"

#include "common/file_io.h"
#include "common/file_ops.h"
#include "common/folder_backup.h"
#include "tests/support/fault_harness.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using testing_support::FaultyFileOps;
using testing_support::snapshot;
using testing_support::TempDir;

// File systems without links (FAT on a memory stick): the set-aside goes by rename.
class NoLinkOps : public common::FileOps {
public:
    int link(const Path&, const Path&) override { return EPERM; }
};

std::string messageOf(common::FolderTransaction& t) {
    try {
        t.commit();
    } catch (const common::FileError& e) {
        return e.what();
    }
    return "";
}

TEST(FolderTransaction, WritesReplacesAndRemovesAtOnceLeavingNothingBehind) {
    for (bool links : {true, false}) {
        TempDir dir;
        dir.write("a.TXT", "old a");
        dir.write("b.TXT", "old b");
        dir.write("gone.TXT", "to remove");
        NoLinkOps noLinks;
        common::FileOps& system = common::fileOps();
        common::ScopedFileOps scope(links ? system : noLinks);
        common::FolderTransaction t(dir.path());
        t.write("a.TXT", "new a");
        t.write("b.TXT", "dropped");
        t.write("b.TXT", "new b"); // the later change of a name wins
        t.write("c.TXT", "");      // a new, empty file
        t.remove("gone.TXT");
        t.remove("never-there.TXT");
        t.commit();
        EXPECT_EQ(snapshot(dir.path()), (testing_support::FolderSnapshot{
                                            {"a.TXT", "new a"}, {"b.TXT", "new b"}, {"c.TXT", ""}}))
            << (links ? "links" : "renames");
        EXPECT_EQ(common::recoverFolder(dir.path()), "");
    }
}

TEST(FolderTransaction, FailuresNameTheFilesInJapaneseAndChangeNothing) {
    TempDir dir;
    dir.write("当事者目録.TXT", "old");
    const auto before = snapshot(dir.path());
    struct Case {
        int err;
        const char* reason;
    };
    // The failing operation: the first write of the staged file (disk full), the rename
    // over the target (read-only, in use, no permission, I/O error).
    for (const Case& c :
         {Case{ENOSPC, "ディスクの空き容量が足りません"}, Case{EROFS, "読み取り専用の場所です"},
          Case{EBUSY, "ファイルが使用中です"}, Case{EACCES, "アクセスが許可されていません"},
          Case{EIO, "ディスクの読み書きでエラーが起きました"}}) {
        // Count the operations, then fail the one that writes (ENOSPC) or the rename.
        long target = -1;
        {
            TempDir copy;
            copy.write("当事者目録.TXT", "old");
            FaultyFileOps count;
            common::ScopedFileOps scope(count);
            common::FolderTransaction t(copy.path());
            t.write("当事者目録.TXT", "new");
            t.write("姓名順.TXT", "new");
            t.commit();
            for (std::size_t i = 0; i < count.log().size(); ++i) {
                const std::string& op = count.log()[i];
                if ((c.err == ENOSPC && op == "write") ||
                    (c.err != ENOSPC && op.rfind("rename .当事者目録.TXT", 0) == 0)) {
                    target = static_cast<long>(i);
                    break;
                }
            }
        }
        ASSERT_GE(target, 0);
        FaultyFileOps ops(FaultyFileOps::Mode::Fail, target, c.err);
        common::ScopedFileOps scope(ops);
        common::FolderTransaction t(dir.path());
        t.write("当事者目録.TXT", "new");
        t.write("姓名順.TXT", "new");
        const std::string m = messageOf(t);
        EXPECT_NE(m.find("「当事者目録.TXT」「姓名順.TXT」を保存できません"), std::string::npos)
            << m;
        EXPECT_NE(m.find(c.reason), std::string::npos) << m;
        EXPECT_NE(m.find("どのファイルも元のままです"), std::string::npos) << m;
        EXPECT_EQ(m.find("Input/output"), std::string::npos) << m;
        EXPECT_EQ(snapshot(dir.path()), before) << m;
    }
}

TEST(FolderTransaction, ALeftJournalStopsTheNextChangeUntilRecovered) {
    TempDir dir;
    dir.write("a.TXT", "old");
    dir.write(".tsubaki-journal", "tsubaki folder journal 1\nwrite\ta.TXT"); // torn
    common::FolderTransaction t(dir.path());
    t.write("a.TXT", "new");
    EXPECT_NE(messageOf(t).find("中断された変更が残っています"), std::string::npos);
    EXPECT_EQ(common::readFile(dir.path() / "a.TXT"), "old");
    EXPECT_EQ(common::recoverFolder(dir.path()),
              "中断されていた保存を取り消しました（どのファイルも元のままです）。");
    EXPECT_EQ(snapshot(dir.path()), (testing_support::FolderSnapshot{{"a.TXT", "old"}}));
}

TEST(FolderRecovery, CompletesWholeJournalsUndoesDamagedOnesAndSweepsTemporaries) {
    // A run stopped right after its journal was made durable (before any rename).
    auto stoppedAfterJournal = [](const TempDir& dir) {
        dir.write("a.TXT", "old a");
        dir.write("b.TXT", "old b");
        FaultyFileOps count;
        {
            TempDir scratch;
            scratch.write("a.TXT", "old a");
            scratch.write("b.TXT", "old b");
            common::ScopedFileOps scope(count);
            common::FolderTransaction t(scratch.path());
            t.write("a.TXT", "new a");
            t.write("b.TXT", "new b");
            t.commit();
        }
        long firstRename = 0;
        while (count.log()[static_cast<std::size_t>(firstRename)].rfind("link", 0) != 0) {
            ++firstRename;
        }
        FaultyFileOps kill(FaultyFileOps::Mode::Kill, firstRename);
        common::ScopedFileOps scope(kill);
        common::FolderTransaction t(dir.path());
        t.write("a.TXT", "new a");
        t.write("b.TXT", "new b");
        try {
            t.commit();
        } catch (const testing_support::SimulatedKill&) {
        }
    };
    {
        TempDir dir;
        stoppedAfterJournal(dir);
        EXPECT_EQ(common::recoverFolder(dir.path()),
                  "中断されていた保存を完了しました（「a.TXT」「b.TXT」）。");
        EXPECT_EQ(snapshot(dir.path()),
                  (testing_support::FolderSnapshot{{"a.TXT", "new a"}, {"b.TXT", "new b"}}));
    }
    {
        // A staged file that is not whole (cut short by a failing disk): undone.
        TempDir dir;
        stoppedAfterJournal(dir);
        for (const auto& [name, bytes] : snapshot(dir.path())) {
            if (name.rfind(".b.TXT.tmp", 0) == 0) {
                dir.write(name, "new");
            }
        }
        EXPECT_EQ(common::recoverFolder(dir.path()),
                  "中断されていた保存を取り消しました（「a.TXT」「b.TXT」は元のままです）。");
        EXPECT_EQ(snapshot(dir.path()),
                  (testing_support::FolderSnapshot{{"a.TXT", "old a"}, {"b.TXT", "old b"}}));
    }
    {
        // Temporaries of killed single-file saves and of an unfinished backup go; files
        // that only look alike stay.
        TempDir dir;
        dir.write(".当事者目録.TXT.tmpAb3dE9", "half");
        dir.write(".家族目録.TXT.oldZZZZZZ", "old");
        dir.write(".hidden.tmp", "the user's");
        dir.write("x.tmpAbcdef", "the user's");
        fs::create_directories(dir.path() / "BACKUP" / ".260101_000000.tmpQwErTy");
        dir.write("BACKUP/.260101_000000.tmpQwErTy/当事者目録.TXT", "copy");
        fs::create_directories(dir.path() / "BACKUP" / "260101_000001");
        EXPECT_EQ(common::recoverFolder(dir.path()),
                  "途中で残った一時ファイルを 3 個削除しました。");
        EXPECT_EQ(snapshot(dir.path()),
                  (testing_support::FolderSnapshot{{".hidden.tmp", "the user's"},
                                                   {"x.tmpAbcdef", "the user's"}}));
        EXPECT_TRUE(fs::is_directory(dir.path() / "BACKUP" / "260101_000001"));
        EXPECT_FALSE(fs::exists(dir.path() / "BACKUP" / ".260101_000000.tmpQwErTy"));
        EXPECT_EQ(common::recoverFolder(dir.path()), "");
    }
}

TEST(FolderTransactionFaults, EveryOperationFailedOrStoppedLeavesWhollyOldOrNew) {
    TempDir dir;
    testing_support::FaultTally tally;
    testing_support::FaultJob job;
    job.name = "three files";
    job.folder = dir.path() / "data";
    job.start = {{"a.TXT", "old a"}, {"b.TXT", "old b"}, {"gone.TXT", "old"}};
    job.run = [&] {
        common::FolderTransaction t(job.folder);
        t.write("a.TXT", "new a, longer");
        t.write("b.TXT", "old b"); // unchanged contents
        t.write("new.TXT", "made");
        t.remove("gone.TXT");
        try {
            t.commit();
            return true;
        } catch (const common::FileError&) {
            return false;
        }
    };
    job.loads = [] {};
    job.result = [&] { return snapshot(job.folder); };
    const long operations = testing_support::exerciseJob(job, tally);
    EXPECT_GT(operations, 20);
    EXPECT_EQ(tally.mixedOrUnreadable, 0);
    EXPECT_EQ(tally.leftovers, 0);
    EXPECT_EQ(tally.wrongReports, 0);
}

TEST(FolderBackup, ACopyOfTheRegisterFilesWholeOrNotAtAll) {
    TempDir dir;
    dir.write("当事者目録.TXT", "persons");
    dir.write("家族目録.TXT", "families");
    dir.write("other.TXT", "not a register");
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    // Any operation failing leaves no backup folder and no temporary one.
    FaultyFileOps count;
    {
        TempDir scratch;
        scratch.write("当事者目録.TXT", "persons");
        scratch.write("家族目録.TXT", "families");
        common::ScopedFileOps scope(count);
        ASSERT_TRUE(common::backupDataFolder(scratch.path(), t));
    }
    for (long n = 0; n < count.count(); ++n) {
        fs::remove_all(dir.path() / "BACKUP");
        FaultyFileOps ops(FaultyFileOps::Mode::Fail, n);
        common::ScopedFileOps scope(ops);
        try {
            common::backupDataFolder(dir.path(), t);
        } catch (const common::FileError& e) {
            EXPECT_NE(std::string(e.what()).find("ディスクの読み書きでエラーが起きました"),
                      std::string::npos)
                << e.what();
        }
        if (fs::exists(dir.path() / "BACKUP")) {
            for (const auto& e : fs::directory_iterator(dir.path() / "BACKUP")) {
                EXPECT_EQ(testing_support::snapshot(e.path()),
                          (testing_support::FolderSnapshot{{"当事者目録.TXT", "persons"},
                                                           {"家族目録.TXT", "families"}}))
                    << "fail " << n << ": " << e.path();
            }
        }
    }
}

} // namespace
