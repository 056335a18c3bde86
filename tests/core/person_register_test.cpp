#include "core/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/text.h"
#include "core/constants.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using testing_support::sjisLines;
using testing_support::TempDir;

// The record lines of person i in a layout: 14 (no tag), 16 (older) or 19 fields.
std::vector<std::string> record(int i, int fields, const std::string& sei, const std::string& mei) {
    const std::string n = std::to_string(i);
    const std::string wide = common::toFullWidth(n); // texts in a register are full-width
    std::vector<std::string> r = {"",
                                  "当事者NO%(" + n + ")=, " + n + " ",
                                  "実父NO%(" + n + ")=, 0 ",
                                  "実母NO%(" + n + ")=, 0 ",
                                  "父母家族NO%(" + n + ")=, 0 ",
                                  "子孫_F%(" + n + ")=, 0 ",
                                  "男女%(" + n + ")=, 2 ",
                                  "姓$(" + n + ")=," + sei,
                                  "名$(" + n + ")=," + mei,
                                  "住所1$(" + n + ")=,住所" + wide};
    if (fields >= 16) {
        r.push_back("住所2$(" + n + ")=,二行目" + wide);
    }
    r.push_back("本籍1$(" + n + ")=,本籍" + wide);
    if (fields >= 16) {
        r.push_back("本籍2$(" + n + ")=,本籍二行目" + wide);
    }
    for (const char* k : {"生年月日$(", "死亡年月日$(", "備考1$(", "備考2$("}) {
        r.push_back(std::string(k) + n + ")=,");
    }
    if (fields == 19) {
        r.push_back("C_当事者NO%(" + n + ")=, " + n + " ");
        r.push_back("子孫_FL%(" + n + ")=, 0 ");
        r.push_back("当姓%(" + n + ")=, 1 ");
    }
    return r;
}

std::string registerFile(const std::string& head, int count, int fields) {
    std::vector<std::string> lines = {head};
    for (int i = 1; i <= count; ++i) {
        auto r = record(i, fields, "山田", "花子" + common::toFullWidth(std::to_string(i)));
        lines.insert(lines.end(), r.begin(), r.end());
    }
    return sjisLines(lines);
}

struct Asked {
    int times = 0;
    bool answer = true;
    core::OldVersionQuestion question() {
        return [this] {
            ++times;
            return answer;
        };
    }
};

TEST(PersonRegisterLayouts, CurrentVersionIsReadWithoutAsking) {
    Asked asked;
    core::PersonRegisterLayout layout;
    auto persons = core::parsePersonRegister(registerFile("最大当事者数%=, 2 V220", 2, 19),
                                             "当事者目録.TXT", 100, asked.question(), &layout);
    EXPECT_EQ(asked.times, 0);
    EXPECT_FALSE(layout.isOld());
    ASSERT_EQ(persons.size(), 2u);
    EXPECT_EQ(persons[1].名, "花子２");
    EXPECT_EQ(persons[1].住所2, "二行目２");
    EXPECT_EQ(persons[1].当姓, 1);
}

TEST(PersonRegisterLayouts, Version210AsksAndReadsNineteenFields) {
    Asked asked;
    auto persons = core::parsePersonRegister(registerFile("最大当事者数%=, 2 V210", 2, 19),
                                             "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(asked.times, 1);
    EXPECT_EQ(persons[0].当姓, 1);
    EXPECT_EQ(persons[1].C_当事者NO, 2);
}

TEST(PersonRegisterLayouts, Version200ReadsTheLinkFields) {
    Asked asked;
    auto persons = core::parsePersonRegister(registerFile("最大当事者数%=, 1 V200", 1, 19),
                                             "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(persons[0].当姓, 1);
}

TEST(PersonRegisterLayouts, OlderTaggedLayoutHasSixteenFields) {
    Asked asked;
    auto persons = core::parsePersonRegister(registerFile("最大当事者数%=, 3 V150", 3, 16),
                                             "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(asked.times, 1);
    ASSERT_EQ(persons.size(), 3u);
    EXPECT_EQ(persons[2].本籍2, "本籍二行目３");
    EXPECT_EQ(persons[2].C_当事者NO, 3);
    EXPECT_EQ(persons[2].子孫_FL, 0);
    EXPECT_EQ(persons[2].当姓, 0);
}

TEST(PersonRegisterLayouts, UntaggedLayoutHasFourteenFields) {
    Asked asked;
    auto persons = core::parsePersonRegister(registerFile("最大当事者数%=, 2 ", 2, 14),
                                             "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(asked.times, 1);
    ASSERT_EQ(persons.size(), 2u);
    EXPECT_EQ(persons[1].住所1, "住所２");
    EXPECT_EQ(persons[1].住所2, "");
    EXPECT_EQ(persons[1].本籍1, "本籍２");
    EXPECT_EQ(persons[1].本籍2, "");
    EXPECT_EQ(persons[1].C_当事者NO, 2);
}

TEST(PersonRegisterLayouts, DecliningTheOldVersionReadsNothing) {
    Asked asked;
    asked.answer = false;
    EXPECT_THROW(core::parsePersonRegister(registerFile("最大当事者数%=, 1 V100", 1, 16),
                                           "当事者目録.TXT", 100, asked.question()),
                 core::OldVersionDeclined);
}

TEST(PersonRegisterValues, TextsAreMadeFullWidthAndIntegersKeepTheirSign) {
    auto lines = record(1, 19, "ｶﾞｲ ABC", "ﾊﾅｺ");
    lines[2] = "実父NO%(1)=,0";
    lines[4] = "父母家族NO%(1)=,   -1   ";
    lines.insert(lines.begin(), "最大当事者数%=, 1 V220");
    Asked asked;
    auto persons =
        core::parsePersonRegister(sjisLines(lines), "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(persons[0].姓, "ガイ　ＡＢＣ");
    EXPECT_EQ(persons[0].名, "ハナコ");
    EXPECT_EQ(persons[0].実父NO, 0);
    EXPECT_EQ(persons[0].父母家族NO, -1);
    const std::string written = core::personRegisterBytes(persons);
    EXPECT_NE(common::decodeCp932(written).find("父母家族NO%(1)=,-1 \r\n"), std::string::npos);
}

TEST(PersonRegisterValues, EmptyRegisterIsOneLine) {
    const std::string bytes = core::personRegisterBytes({});
    EXPECT_EQ(bytes, sjisLines({"最大当事者数%=, 0 V220"}));
    Asked asked;
    EXPECT_TRUE(core::parsePersonRegister(bytes, "当事者目録.TXT", 10, asked.question()).empty());
    EXPECT_EQ(asked.times, 0);
}

TEST(PersonRegisterValues, CurrentLayoutRoundTripsByteForByte) {
    const std::string original = registerFile("最大当事者数%=, 3 V220", 3, 19);
    Asked asked;
    auto persons = core::parsePersonRegister(original, "当事者目録.TXT", 100, asked.question());
    EXPECT_EQ(core::personRegisterBytes(persons), original);
}

TEST(PersonRegisterErrors, UnreadableFilesAreRefused) {
    Asked asked;
    auto refused = [&](const std::string& bytes, const std::string& expected) {
        try {
            core::parsePersonRegister(bytes, "当事者目録.TXT", 2, asked.question());
            ADD_FAILURE() << "accepted: " << expected;
        } catch (const common::FileError& e) {
            EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
        }
    };
    refused(registerFile("最大当事者数%=, 3 V220", 3, 19), "最大登録人数（2）を超えています");
    std::string truncated = registerFile("最大当事者数%=, 2 V220", 2, 19);
    truncated.resize(truncated.size() - 40);
    refused(truncated, "途中で終わっています");
    auto lines = record(1, 19, "山田", "一");
    lines[6] = "男女%(1)=, two ";
    lines.insert(lines.begin(), "最大当事者数%=, 1 V220");
    refused(sjisLines(lines), "の 8 行目を読めません");
    lines[3] = "実父NO%(1)=, 5 ";
    lines[7] = "男女%(1)=, 1 ";
    refused(sjisLines(lines), "実父NO%");
    refused(sjisLines({"最大当事者数%=, x V220"}), "人数");
    // A half-width comma inside a text (a file written by other means) shifts every later
    // value; the shift is caught when a text lands where a number belongs.
    lines[3] = "実父NO%(1)=, 0 ";
    lines[9] = "名$(1)=,x,y";
    refused(sjisLines(lines), "整数が入るところ");
}

TEST(PersonRegisterFiles, WriterWritesAllThreeFilesAndCompanionsReadBack) {
    TempDir dir;
    std::vector<core::当事者> persons(2);
    for (int i = 0; i < 2; ++i) {
        persons[i].当事者NO = persons[i].C_当事者NO = static_cast<std::int16_t>(i + 1);
        persons[i].姓 = "佐藤";
        persons[i].創始階層 = static_cast<std::int16_t>(3 - i);
        persons[i].姓名順 = static_cast<std::int16_t>(i);
    }
    core::当事者目録_W_SUB(dir.path(), persons);
    EXPECT_EQ(common::readFile(dir.path() / "創始階層登録.TXT"),
              sjisLines({"当事者NO%(1)=, 3 ", "当事者NO%(2)=, 2 "}));
    Asked asked;
    EXPECT_EQ(core::readPersonRegister(dir.path(), 10, asked.question()), persons);

    // A companion file shorter than the count is refused.
    dir.write("姓名順.TXT", sjisLines({"当事者NO%(1)=, 1 "}));
    try {
        core::readPersonRegister(dir.path(), 10, asked.question());
        FAIL();
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("姓名順.TXT"), std::string::npos) << e.what();
    }
    // A missing companion file leaves its values 0.
    std::filesystem::remove(dir.path() / "姓名順.TXT");
    auto read = core::readPersonRegister(dir.path(), 10, asked.question());
    EXPECT_EQ(read[1].姓名順, 0);
    EXPECT_EQ(read[1].創始階層, 2);
}

TEST(PersonRegisterFiles, AValueThatWouldNotReadBackWritesNothing) {
    TempDir dir;
    std::vector<core::当事者> persons(1);
    persons[0].当事者NO = persons[0].C_当事者NO = 1;
    core::当事者目録_W_SUB(dir.path(), persons);
    const std::string before = common::readFile(dir.path() / "当事者目録.TXT");
    persons[0].備考1 = "a,b";
    EXPECT_THROW(core::当事者目録_W_SUB(dir.path(), persons), common::FileError);
    persons[0].備考1 = "𠮷";
    EXPECT_THROW(core::当事者目録_W_SUB(dir.path(), persons), common::FileError);
    EXPECT_EQ(common::readFile(dir.path() / "当事者目録.TXT"), before);
}

TEST(PersonRegisterFiles, AFailedSaveLeavesTheOldRegister) {
    TempDir dir;
    std::vector<core::当事者> persons(1);
    persons[0].当事者NO = persons[0].C_当事者NO = 1;
    core::当事者目録_W_SUB(dir.path(), persons);
    const std::string before = common::readFile(dir.path() / "当事者目録.TXT");
    persons.resize(400, persons[0]);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = 2048;
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_THROW(core::当事者目録_W_SUB(dir.path(), persons), common::FileError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(common::readFile(dir.path() / "当事者目録.TXT"), before);
}

} // namespace
