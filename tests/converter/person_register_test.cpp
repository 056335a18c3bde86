#include "converter/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "register_lines.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using converter::parsePersonRegister;
using converter::PersonRegister;
using converter_test::registerLines;
using converter_test::Row;
using testing_support::sjisLines;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

std::string messageOf(const std::string& bytes) {
    try {
        parsePersonRegister(bytes, "当事者目録.TXT");
    } catch (const common::FileError& e) {
        return e.what();
    }
    return "";
}

TEST(PersonRegister, SampleReadsAndWritesBackByteForByte) {
    const std::string bytes = common::readFile(kSamples / "当事者目録.TXT");
    const PersonRegister reg = converter::readPersonRegister(kSamples);
    EXPECT_TRUE(reg.current);
    EXPECT_EQ(reg.version, 220);
    EXPECT_EQ(reg.header, " 20 V220");
    ASSERT_EQ(reg.count(), 20);
    EXPECT_EQ(reg.persons[0].姓, "山田");
    EXPECT_EQ(reg.persons[0].実父NO, 14);
    EXPECT_EQ(reg.persons[0].本籍2, "１２番地");
    EXPECT_EQ(converter::personRegisterBytes(reg), bytes);
}

TEST(PersonRegister, Version200CarriesTheLinkFields) {
    // A version-200 register has the three link fields after 備考2$; reading it as a
    // 16-field layout would take them for the next person's fields.
    auto lines = registerLines({{1, "山田", "太郎"}, {2, "山田", "花子"}}, "V200");
    lines[18] = "C_当事者NO%(1)=, 2 "; // person 1 is a link to person 2
    lines[20] = "当姓%(1)=, 1 ";
    const std::string bytes = sjisLines(lines);
    const PersonRegister reg = parsePersonRegister(bytes, "当事者目録.TXT");
    ASSERT_EQ(reg.count(), 2);
    EXPECT_TRUE(reg.hasLinkFields());
    EXPECT_EQ(reg.persons[0].C_当事者NO, 2);
    EXPECT_EQ(reg.persons[0].当姓, 1);
    EXPECT_EQ(reg.persons[1].名, "花子");
    EXPECT_EQ(converter::personRegisterBytes(reg), bytes);
}

TEST(PersonRegister, OlderVersionsKeepTheirLayout) {
    // A tag below 200: two address and domicile lines, no link fields.
    Row r{2, "田中", "花子", "東京都", "一丁目", "大阪府", "二番地", "昭和１年", "", "", ""};
    const std::string v150 = sjisLines(registerLines({r}, "V150"));
    const PersonRegister reg = parsePersonRegister(v150, "当事者目録.TXT");
    EXPECT_TRUE(reg.current);
    EXPECT_FALSE(reg.hasLinkFields());
    EXPECT_EQ(reg.persons[0].住所2, "一丁目");
    EXPECT_EQ(reg.persons[0].C_当事者NO, 1);
    EXPECT_EQ(converter::personRegisterBytes(reg), v150);
}

TEST(PersonRegister, OldRegisterHasOneAddressAndKeepsItsKeys) {
    const std::string old = sjisLines(registerLines(
        {{1, "山田", "太郎", "東京都世田谷区北沢三丁目１２番", "", "長野県", "", "", "", "", ""},
         {2, "山田", "花子", "東京都", "", "長野県松本市城西一丁目", ""}},
        ""));
    const PersonRegister reg = parsePersonRegister(old, "当事者目録.TXT");
    EXPECT_FALSE(reg.current);
    EXPECT_EQ(reg.header, " 2 ");
    ASSERT_EQ(reg.count(), 2);
    EXPECT_EQ(reg.persons[1].本籍1, "長野県松本市城西一丁目");
    EXPECT_EQ(reg.largest住所, 15u); // characters, not bytes
    EXPECT_EQ(reg.largest本籍, 11u);
    const std::string written = converter::personRegisterBytes(reg);
    EXPECT_EQ(written, old);
    EXPECT_NE(written.find(common::encodeCp932("住所$(1)=,")), std::string::npos);
    EXPECT_NE(written.find(common::encodeCp932("本籍$(2)=,")), std::string::npos);
}

TEST(PersonRegister, LfOnlyFilesAndLargeNumbersRead) {
    auto lines = registerLines({{1, "山田", "太郎"}});
    lines[0] = "最大当事者数%=, 1 V220";
    lines[2] = "当事者NO%(1)=, 100000 "; // beyond 16 bits: kept as read
    std::string lf;
    for (const auto& l : lines) {
        lf += common::encodeCp932(l) + "\n";
    }
    const PersonRegister reg = parsePersonRegister(lf, "当事者目録.TXT");
    EXPECT_EQ(reg.persons[0].当事者NO, 100000);
    EXPECT_EQ(reg.persons[0].名, "太郎");
}

TEST(PersonRegister, DamagedFilesAreRefusedWithFileAndLine) {
    auto lines = registerLines({{1, "山田", "太郎"}, {2, "山田", "花子"}});
    // Truncated: the second record stops after its surname.
    std::vector<std::string> truncated(lines.begin(), lines.begin() + 29);
    std::string m = messageOf(sjisLines(truncated));
    EXPECT_NE(m.find("当事者目録.TXT"), std::string::npos) << m;
    EXPECT_NE(m.find("途中で終わっています"), std::string::npos) << m;

    auto bad = lines;
    bad[7] = "男女%(1)=,男"; // a text where an integer belongs
    m = messageOf(sjisLines(bad));
    EXPECT_NE(m.find(" 8 行目"), std::string::npos) << m;
    EXPECT_NE(m.find("「男」"), std::string::npos) << m;

    bad = lines;
    bad[0] = "最大当事者数%=, x2 V220";
    m = messageOf(sjisLines(bad));
    EXPECT_NE(m.find(" 1 行目"), std::string::npos) << m;

    bad = lines;
    bad[0] = "最大当事者数%=, -1 V220";
    EXPECT_FALSE(messageOf(sjisLines(bad)).empty());

    // Bytes that are not Shift-JIS in a text.
    std::string bytes = sjisLines(lines);
    const auto at = bytes.find(common::encodeCp932("太郎"));
    bytes[at] = '\x85';
    bytes[at + 1] = '\x20';
    m = messageOf(bytes);
    EXPECT_NE(m.find(" 10 行目"), std::string::npos) << m;
}

TEST(PersonRegister, NameOrderComesFromItsFile) {
    testing_support::TempDir dir;
    dir.write("当事者目録.TXT", sjisLines(registerLines({{1, "山田", "太郎"}, {2, "林", "花"}})));
    dir.write("姓名順.TXT", sjisLines({"当事者NO%(1)=, 0 ", "当事者NO%(2)=, 1 "}));
    const PersonRegister reg = converter::readPersonRegister(dir.path());
    EXPECT_EQ(reg.persons[0].姓名順, 0);
    EXPECT_EQ(reg.persons[1].姓名順, 1);

    dir.write("姓名順.TXT", sjisLines({"当事者NO%(1)=, 0 "}));
    try {
        converter::readPersonRegister(dir.path());
        ADD_FAILURE() << "a short 姓名順.TXT was read";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("姓名順.TXT"), std::string::npos) << e.what();
    }
}

TEST(PersonRegister, CurrentRegisterIsWrittenInTheEditorsLayout) {
    converter::当事者 p;
    p.当事者NO = p.C_当事者NO = 1;
    p.男女 = 2;
    p.姓 = "山田";
    const std::string bytes = converter::personRegisterBytes(converter::currentRegister({p}));
    const std::string text = common::decodeCp932(bytes);
    EXPECT_EQ(text.find("最大当事者数%=, 1 V220\r\n\r\n当事者NO%(1)=, 1 \r\n"), 0u) << text;
    EXPECT_NE(text.find("\r\n当姓%(1)=, 0 \r\n"), std::string::npos);
    const PersonRegister back = parsePersonRegister(bytes, "当事者目録.TXT");
    ASSERT_EQ(back.count(), 1);
    EXPECT_EQ(back.persons[0], p);
}

} // namespace
