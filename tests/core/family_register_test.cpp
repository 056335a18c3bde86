#include "core/family_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::sjisLines;
using testing_support::TempDir;

const core::FamilyLimits kLimits{50, 10, 30};

core::家族 family(int h, int w, std::vector<core::Child> children = {}) {
    core::家族 f;
    f.夫婦確定_f = 1;
    f.夫NO = static_cast<std::int16_t>(h);
    f.妻NO = static_cast<std::int16_t>(w);
    f.夫肩書 = "夫";
    f.妻肩書 = "妻";
    f.子 = std::move(children);
    return f;
}

std::vector<core::家族> numbered(std::vector<core::家族> fs) {
    for (std::size_t i = 0; i < fs.size(); ++i) {
        fs[i].婚姻NO = static_cast<std::int16_t>(i + 1);
    }
    return fs;
}

TEST(FamilyRegisterFile, LayoutOfOneFamily) {
    auto f = family(1, 2,
                    {{3, "長男", core::ChildKind::Adopted, "平成元年", "x"},
                     {4, "長女", core::ChildKind::Acknowledged, "y", "令和元年"},
                     {5, "子", core::ChildKind::Unacknowledged, "a", "b"}});
    f.離婚_F = 1;
    f.離婚年月日 = "昭和５０年";
    const std::string bytes = core::familyRegisterBytes(numbered({f}));
    EXPECT_EQ(
        common::decodeCp932(bytes),
        "バージョン, 220 \r\n最大婚姻数%=, 1 \r\n\r\n夫婦確定_f%(1)=, 1 \r\n婚姻NO%(1)=, 1 \r\n"
        "形態%(1)=, 0 \r\n形態L3%(1)=, 0 \r\n夫NO%(1)=, 1 \r\n妻NO%(1)=, 2 \r\n"
        "夫肩書$(1)=,夫\r\n妻肩書$(1)=,妻\r\n配偶者非表示_F%(1)=, 0 \r\n"
        "配偶者姓F%(1)=, 0 \r\n系統_F%(1)=, 0 \r\n離婚_F%(1)=, 1 \r\n"
        "離婚年月日$(1)=,昭和５０年\r\n子数%(1)=, 3 \r\n"
        "子NO%(1・1)=, 3 \r\n子の肩書$(1・1)=,長男\r\n子の形態%(1・1)=, 1 \r\n"
        "縁組日$(1・1)=,平成元年\r\n"
        "子NO%(2・1)=, 4 \r\n子の肩書$(2・1)=,長女\r\n子の形態%(2・1)=, 2 \r\n"
        "認知日$(2・1)=,令和元年\r\n"
        "子NO%(3・1)=, 5 \r\n子の肩書$(3・1)=,子\r\n子の形態%(3・1)=, 3 \r\n");
    // Reading back drops the dates that the file does not keep.
    auto back = core::parseFamilyRegister(bytes, "家族目録.TXT", kLimits);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].child(1).縁組日, "平成元年");
    EXPECT_EQ(back[0].child(1).認知日, "");
    EXPECT_EQ(back[0].child(2).認知日, "令和元年");
    EXPECT_EQ(back[0].child(3).認知日, "");
    EXPECT_EQ(core::familyRegisterBytes(back), bytes);
}

// A code without a name (a lineage of 3, a union form of 2, a child kind of 7) reads and is
// written back as it stands; such a child has no date line.
TEST(FamilyRegisterFile, CodesWithoutANameAreWrittenBackAsRead) {
    auto f = family(1, 2, {{3, "子", static_cast<core::ChildKind>(7), "平成元年", "令和元年"}});
    f.形態 = static_cast<core::UnionForm>(2);
    f.形態L3 = static_cast<core::UnionForm>(-1);
    f.系統_F = static_cast<core::Lineage>(3);
    const std::string bytes = core::familyRegisterBytes(numbered({f}));
    const std::string text = common::decodeCp932(bytes);
    for (const char* line : {"形態%(1)=, 2 \r\n", "形態L3%(1)=,-1 \r\n", "系統_F%(1)=, 3 \r\n",
                             "子の形態%(1・1)=, 7 \r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find("日$("), std::string::npos);
    const auto back = core::parseFamilyRegister(bytes, "家族目録.TXT", kLimits);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].系統_F, static_cast<core::Lineage>(3));
    EXPECT_EQ(back[0].child(1).子の形態, static_cast<core::ChildKind>(7));
    EXPECT_EQ(core::familyRegisterBytes(back), bytes);
}

TEST(FamilyRegisterFile, DivorceDateIsLostWhenNotDivorced) {
    auto f = family(1, 2);
    f.離婚年月日 = "平成１０年";
    const auto back = core::parseFamilyRegister(core::familyRegisterBytes(numbered({f})),
                                                "家族目録.TXT", kLimits);
    EXPECT_EQ(back[0].離婚年月日, "");
    EXPECT_EQ(back[0].子数(), 0);
}

TEST(FamilyRegisterFile, OtherVersionValuesReadTheSame) {
    const std::string bytes = core::familyRegisterBytes(numbered({family(1, 2)}));
    std::string other = bytes;
    other.replace(other.find(" 220 "), 5, " 221 ");
    EXPECT_EQ(core::parseFamilyRegister(other, "家族目録.TXT", kLimits),
              core::parseFamilyRegister(bytes, "家族目録.TXT", kLimits));
}

TEST(FamilyRegisterFile, OlderLayoutWithTrailingHiddenSpouseLines) {
    const std::string bytes = sjisLines({
        "最大婚姻数%=, 2 ",
        "",
        "夫婦確定_f%(1)=, 1 ",
        "婚姻NO%(1)=, 1 ",
        "形態%(1)=, 0 ",
        "形態L3%(1)=, 0 ",
        "夫NO%(1)=, 1 ",
        "妻NO%(1)=, 2 ",
        "系統_F%(1)=, 1 ",
        "離婚_F%(1)=, 0 ",
        "子数%(1)=, 1 ",
        "子NO%(1・1)=, 3 ",
        "子の肩書$(1・1)=,長男",
        "子の形態%(1・1)=, 0 ",
        "",
        "夫婦確定_f%(2)=, 0 ",
        "婚姻NO%(2)=, 2 ",
        "形態%(2)=, 0 ",
        "形態L3%(2)=, 1 ",
        "夫NO%(2)=, 3 ",
        "妻NO%(2)=, 0 ",
        "系統_F%(2)=, 0 ",
        "離婚_F%(2)=, 1 ",
        "離婚年月日$(2)=,昭和",
        "子数%(2)=, 0 ",
        "配偶者非表示_F%(2)=, anything",
        "unrelated line",
    });
    bool older = false;
    auto fs = core::parseFamilyRegister(bytes, "家族目録.TXT", kLimits, true, &older);
    EXPECT_TRUE(older);
    ASSERT_EQ(fs.size(), 2u);
    EXPECT_EQ(fs[0].系統_F, core::Lineage::Paternal);
    EXPECT_EQ(fs[0].child(1).子NO, 3);
    EXPECT_EQ(fs[0].配偶者非表示_F, 0);
    EXPECT_EQ(fs[1].配偶者非表示_F, 1);
    EXPECT_EQ(fs[1].離婚年月日, "昭和");
    for (const auto& f : fs) {
        EXPECT_EQ(f.夫肩書, "夫");
        EXPECT_EQ(f.妻肩書, "妻");
        EXPECT_EQ(f.配偶者姓F, 0);
    }
    // The reload reader expects the current layout.
    EXPECT_THROW(core::parseFamilyRegister(bytes, "家族目録.TXT", kLimits, false),
                 common::FileError);
}

TEST(FamilyRegisterFile, CapacitiesAndReferencesAreChecked) {
    std::vector<core::Child> many(11, core::Child{3, "子", core::ChildKind::Birth, "", ""});
    EXPECT_THROW(
        core::parseFamilyRegister(core::familyRegisterBytes(numbered({family(1, 2, many)})),
                                  "家族目録.TXT", kLimits),
        common::FileError);
    std::vector<core::家族> fs(3, family(1, 2));
    EXPECT_THROW(core::parseFamilyRegister(core::familyRegisterBytes(numbered(fs)), "家族目録.TXT",
                                           core::FamilyLimits{2, 10, 30}),
                 common::FileError);
    try {
        core::parseFamilyRegister(core::familyRegisterBytes(numbered({family(31, 2)})),
                                  "家族目録.TXT", kLimits);
        FAIL();
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("夫NO%"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("の 8 行目"), std::string::npos) << e.what();
    }
}

TEST(FamilyDeletion, DeletingFamilyTwoOfThreeRenumbers) {
    TempDir dir;
    core::Registers reg;
    reg.persons.resize(6);
    reg.families = numbered(
        {family(1, 2), family(3, 4, {{5, "長男", core::ChildKind::Birth, "", ""}}), family(5, 6)});
    reg.persons[0].父母家族NO = 3;
    reg.persons[1].父母家族NO = 2;
    reg.persons[4].子孫_F = 2;
    reg.persons[4].子孫_FL = 3;
    reg.persons[5].子孫_FL = 1;
    core::家族目録_SW_SUB(dir.path(), reg, 2, kLimits);

    const std::string text = common::decodeCp932(common::readFile(dir.path() / "家族目録.TXT"));
    EXPECT_NE(text.find("最大婚姻数%=, 2 \r\n\r\n夫婦確定_f%(1)=, 1 \r\n婚姻NO%(1)=, 1 "),
              std::string::npos);
    EXPECT_NE(text.find("\r\n\r\n夫婦確定_f%(3)=, 1 \r\n婚姻NO%(3)=, 2 "), std::string::npos);
    EXPECT_EQ(text.find("(2)"), std::string::npos);

    EXPECT_EQ(reg.persons[0].父母家族NO, 2);
    EXPECT_EQ(reg.persons[1].父母家族NO, 0);
    EXPECT_EQ(reg.persons[4].子孫_F, 0);
    EXPECT_EQ(reg.persons[4].子孫_FL, 2);
    EXPECT_EQ(reg.persons[5].子孫_FL, 1);
    ASSERT_EQ(reg.familyCount(), 2);
    EXPECT_EQ(reg.family(2).夫NO, 5);
    EXPECT_EQ(reg.family(2).婚姻NO, 2);
}

} // namespace
