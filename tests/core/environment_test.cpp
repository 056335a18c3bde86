#include "core/environment.h"

#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::sjisLines;

std::vector<std::string> baseLines() {
    return {"Mode,1",
            "最大登録人数,500",
            "最大婚姻数,200",
            "一世帯当りの子供の最大数,15",
            "一人が持てる最大家族数,8",
            "最大世代数,20",
            "一般,2",
            "子",
            "養子",
            "息子,1",
            "長男",
            "娘,2",
            "長女",
            "二女"};
}

TEST(Environment, FileEndingAfterDaughterListGetsDefaultSpouseTitles) {
    const auto env = core::parseEnvironment(sjisLines(baseLines()), "KANKYO.TXT");
    EXPECT_EQ(env.Mode, 1);
    EXPECT_EQ(env.最大登録人数, 500);
    EXPECT_EQ(env.最大婚姻数, 200);
    EXPECT_EQ(env.一世帯当りの子供の最大数, 15);
    EXPECT_EQ(env.一人が持てる最大家族数, 8);
    EXPECT_EQ(env.最大世代数, 20);
    EXPECT_EQ(env.一般, (std::vector<std::string>{"子", "養子"}));
    EXPECT_EQ(env.娘, (std::vector<std::string>{"長女", "二女"}));
    EXPECT_EQ(env.夫, (std::vector<std::string>{"夫"}));
    EXPECT_EQ(env.妻, (std::vector<std::string>{"妻", "正室", "側室", "二号", "先妻", "後妻"}));
}

TEST(Environment, ExplicitSpouseListsReplaceTheDefaults) {
    auto lines = baseLines();
    for (const char* l : {"夫,0", "妻,1", "妻"}) {
        lines.push_back(l);
    }
    const auto env = core::parseEnvironment(sjisLines(lines), "KANKYO.TXT");
    EXPECT_TRUE(env.夫.empty());
    EXPECT_EQ(env.妻, (std::vector<std::string>{"妻"}));
    // Written back and read again, nothing changes.
    const std::string bytes = core::environmentBytes(env);
    EXPECT_EQ(bytes, sjisLines(lines));
    EXPECT_EQ(core::environmentBytes(core::parseEnvironment(bytes, "KANKYO.TXT")), bytes);
}

// A quoted title may hold what an unquoted one cannot (a comma, a colon, spaces at its
// ends): written back, it must stay one title, not become two or lose its spaces.
TEST(Environment, QuotedTitlesAreWrittenBackQuoted) {
    auto lines = baseLines();
    lines[7] = "\"子,孫\"";
    lines[8] = "\" 養子 \"";
    const auto env = core::parseEnvironment(sjisLines(lines), "KANKYO.TXT");
    ASSERT_EQ(env.一般, (std::vector<std::string>{"子,孫", " 養子 "}));
    const std::string bytes = core::environmentBytes(env);
    EXPECT_EQ(core::parseEnvironment(bytes, "KANKYO.TXT"), env);
    // Titles that read back unquoted keep their bytes.
    EXPECT_NE(bytes.find(sjisLines({"長男", "娘,2"})), std::string::npos);

    core::Environment broken = env;
    broken.一般 = {"\"子"};
    EXPECT_THROW(core::environmentBytes(broken), common::FileError);
}

TEST(Environment, BadFilesAreRefusedWithFileAndLine) {
    auto lines = baseLines();
    lines[2] = "最大婚姻数,many";
    try {
        core::parseEnvironment(sjisLines(lines), "KANKYO.TXT");
        FAIL();
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("「KANKYO.TXT」の 3 行目"), std::string::npos)
            << e.what();
    }
    lines = baseLines();
    lines.resize(8); // the 一般 list is cut short
    EXPECT_THROW(core::parseEnvironment(sjisLines(lines), "KANKYO.TXT"), common::FileError);
}

TEST(Environment, MissingFileNamesTheFileAndWhereItWasLookedFor) {
    testing_support::TempDir dir;
    try {
        core::readEnvironment(dir.path() / "KANKYO.TXT");
        FAIL();
    } catch (const common::FileError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("KANKYO.TXT"), std::string::npos);
        EXPECT_NE(msg.find(dir.path().string()), std::string::npos) << msg;
    }
}

} // namespace
