#include "sample_folder_job.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/file_ops.h"
#include "tests/support/fault_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Jobs that write (--upgrade) change the folder.
class SampleCopy : public testing_support::SampleFolderJob {
protected:
    SampleCopy() { expectUnchanged_ = false; }
};

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

// A copy of the sample folder, with the working directory inside it (where KANKYO.TXT is).

TEST_F(SampleCopy, DumpPrintsTheRegistersAsJson) {
    ASSERT_EQ(run({"--dump", dir_.string()}), 0) << err_.str();
    const std::string json = out_.str();
    EXPECT_EQ(json.find("{\"environment\":{\"Mode\":1,\"最大登録人数\":2000,"), 0u)
        << json.substr(0, 80);
    EXPECT_NE(json.find("\"persons\":[{\"当事者NO\":1,\"実父NO\":14,"), std::string::npos);
    EXPECT_NE(json.find("\"姓\":\"山田\",\"名\":\"太郎\""), std::string::npos);
    EXPECT_NE(json.find("\"children\":[{\"子NO\":1,\"子の肩書\":\"長男\",\"子の形態\":0,"),
              std::string::npos);
    EXPECT_NE(json.find("\"settings\":{\"present\":true,\"リスト３\":3,"), std::string::npos);
    EXPECT_NE(json.find("\"相続権確定者の当事者番号\":[2,4,6,8,9,13]"), std::string::npos);
    EXPECT_NE(json.find("\"書き込み時の婚姻数\":[{\"text\":"), std::string::npos);
    // Dumping writes nothing.
    EXPECT_FALSE(fs::exists(dir_ / "BACKUP"));
}

TEST_F(SampleCopy, UnreadableFolderReportsTheMessageAndExitsOne) {
    std::ofstream(dir_ / "家族目録.TXT", std::ios::binary) << "バージョン, 220 \r\n";
    EXPECT_EQ(run({"--dump", dir_.string()}), 1);
    EXPECT_NE(err_.str().find("家族目録.TXT"), std::string::npos) << err_.str();
    EXPECT_TRUE(out_.str().empty());
    fs::remove(dir_ / "KANKYO.TXT");
    EXPECT_EQ(run({"--dump", dir_.string()}), 1);
    EXPECT_NE(err_.str().find("KANKYO.TXT"), std::string::npos);
    EXPECT_EQ(run({"--bogus"}), 1);
}

// A save killed after its journal was written: the next job on the folder completes it
// before reading, says so in one line on stderr, and removes what the killed run left.
TEST_F(SampleCopy, AJobFirstCompletesAKilledSaveAndSaysSoInOneLine) {
    core::DataFolder data = core::DataFolder::load(dir_, core::readEnvironment(dir_ / "KANKYO.TXT"),
                                                   [] { return true; });
    data.reg.person(1).名 = "新太郎";
    long firstRename = -1;
    {
        testing_support::FaultyFileOps counter;
        const common::ScopedFileOps scoped(counter);
        data.save({core::Part::Persons, core::Part::Families, core::Part::Settings});
        for (std::size_t i = 0; i < counter.log().size() && firstRename < 0; ++i) {
            if (counter.log()[i].rfind("rename", 0) == 0) {
                firstRename = static_cast<long>(i);
            }
        }
    }
    ASSERT_GT(firstRename, 0);
    for (const auto& e : fs::directory_iterator(kSamples)) {
        fs::copy_file(e.path(), dir_ / e.path().filename(), fs::copy_options::overwrite_existing);
    }
    {
        testing_support::FaultyFileOps kill(testing_support::FaultyFileOps::Mode::Kill,
                                            firstRename + 1);
        const common::ScopedFileOps scoped(kill);
        try {
            data.save({core::Part::Persons, core::Part::Families, core::Part::Settings});
        } catch (const testing_support::SimulatedKill&) {
        }
    }
    ASSERT_TRUE(fs::exists(dir_ / ".tsubaki-journal"));

    ASSERT_EQ(run({"--dump", dir_.string()}), 0) << err_.str();
    const std::string notice = err_.str();
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 1) << notice;
    EXPECT_NE(notice.find("中断されていた保存を完了しました"), std::string::npos) << notice;
    EXPECT_NE(out_.str().find("\"名\":\"新太郎\""), std::string::npos);
    for (const auto& e : fs::directory_iterator(dir_)) {
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
    }
    // Nothing left to recover: no second notice.
    ASSERT_EQ(run({"--dump", dir_.string()}), 0);
    EXPECT_TRUE(err_.str().empty()) << err_.str();
}

TEST_F(SampleCopy, UpgradeBacksUpAndRewritesAnOldRegister) {
    // Turn the person register into the untagged oldest layout: drop the tag and the
    // fields that layout lacks.
    const std::string text = common::decodeCp932(common::readFile(dir_ / "当事者目録.TXT"));
    std::istringstream lines(text);
    std::string line;
    std::string old;
    while (std::getline(lines, line)) {
        if (line.rfind("最大当事者数", 0) == 0) {
            line = "最大当事者数%=, 20 \r";
        }
        for (const char* dropped : {"住所2$(", "本籍2$(", "C_当事者NO%(", "子孫_FL%(", "当姓%("}) {
            if (line.rfind(dropped, 0) == 0) {
                line.clear();
            }
        }
        if (!line.empty()) {
            old += line + "\n"; // the empty lines between records are "\r" and stay
        }
    }
    std::ofstream(dir_ / "当事者目録.TXT", std::ios::binary) << common::encodeCp932(old);

    ASSERT_EQ(run({"--upgrade", dir_.string()}), 0) << err_.str() << out_.str();
    EXPECT_NE(out_.str().find("版表示なし から現行の形式へ"), std::string::npos) << out_.str();
    ASSERT_TRUE(fs::exists(dir_ / "BACKUP"));
    int backups = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "BACKUP")) {
        ++backups;
        EXPECT_EQ(common::readFile(e.path() / "当事者目録.TXT"), common::encodeCp932(old));
    }
    EXPECT_EQ(backups, 1);
    const std::string upgraded = common::decodeCp932(common::readFile(dir_ / "当事者目録.TXT"));
    EXPECT_EQ(upgraded.find("最大当事者数%=, 20 V220\r\n"), 0u);
    EXPECT_NE(upgraded.find("C_当事者NO%(18)=, 18 \r\n"), std::string::npos);
}

} // namespace
