#include "converter/gedcom_export.h"

#include "common/file_io.h"
#include "converter/family_register.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;
using converter::GedcomVersion;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    return out;
}

// The lines of the record that starts with `head` ("0 @I3@ INDI"), up to the next record.
std::vector<std::string> record(const std::string& text, const std::string& head) {
    std::vector<std::string> out;
    bool in = false;
    for (const auto& l : lines(text)) {
        if (l.rfind("0 ", 0) == 0) {
            in = l == head;
        }
        if (in) {
            out.push_back(l);
        }
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(GedcomDates, WarekiBecomesAGregorianDateWithItsText) {
    struct Case {
        const char* wareki;
        const char* value;
    };
    const Case cases[] = {
        {"昭和３１年３月１２日", "12 MAR 1956"},
        // Every era boundary, each side of it, and 元年.
        {"明治６年１月１日", "1 JAN 1873"},
        {"明治４５年７月２９日", "29 JUL 1912"},
        {"大正元年７月３０日", "30 JUL 1912"},
        {"大正１５年１２月２４日", "24 DEC 1926"},
        {"昭和元年１２月２５日", "25 DEC 1926"},
        {"昭和６４年１月７日", "7 JAN 1989"},
        {"平成元年１月８日", "8 JAN 1989"},
        {"平成３１年４月３０日", "30 APR 2019"},
        {"令和元年５月１日", "1 MAY 2019"},
        {"令和２年２月２９日", "29 FEB 2020"},
        // No Gregorian day: the lunisolar calendar, a day outside its era, no date at all.
        {"明治５年１２月２日", ""},
        {"明治４５年７月３０日", ""},
        {"平成３１年５月１日", ""},
        {"令和３年２月２９日", ""},
        {"不詳", ""},
        {"昭和３１年頃", ""},
    };
    for (const auto& c : cases) {
        const auto d = converter::gedcomDate(c.wareki);
        EXPECT_EQ(d.value, c.value) << c.wareki;
        EXPECT_EQ(d.phrase, c.wareki); // the text is always kept whole
    }
}

// A family with two marriages (the first ended by a divorce), an adopted child, a child
// in two families and an acknowledged child of a non-marital union.
converter::GedcomSource family() {
    converter::GedcomSource s;
    s.persons.current = true;
    s.persons.version = 220;
    auto add = [&](long sex, std::string 姓, std::string 名, std::string birth = "") {
        converter::当事者 p;
        p.当事者NO = static_cast<long>(s.persons.persons.size()) + 1;
        p.C_当事者NO = p.当事者NO;
        p.男女 = sex;
        p.姓 = std::move(姓);
        p.名 = std::move(名);
        p.生年月日 = std::move(birth);
        s.persons.persons.push_back(p);
    };
    add(1, "山田", "太郎", "昭和５年３月１日"); // 1
    add(2, "佐藤", "花子");                     // 2, first wife
    add(2, "山田", "梅子");                     // 3, second wife
    add(1, "山田", "一郎", "昭和３０年不詳");   // 4, child of 1 and 2
    add(2, "山田", "春子");                     // 5, adopted by 1 and 3
    add(2, "田中", "秋子");                     // 6, 1's partner
    add(1, "田中", "次郎");                     // 7, acknowledged
    add(1, "山田", "太郎");                     // 8, a link to 1
    auto& p1 = s.persons.persons[0];
    p1.住所1 = "東京都港区";
    p1.住所2 = "１番地";
    p1.本籍1 = "京都市";
    p1.死亡年月日 = "令和４年１０月５日";
    p1.備考1 = "user@example";
    p1.姓名順 = 1;
    s.persons.persons[3].実父NO = 1;
    s.persons.persons[3].父母家族NO = 1;
    s.persons.persons[7].C_当事者NO = 1;
    s.founders = {0, 0, 0, 0, 0, 0, 0, 3};

    converter::家族 first;
    first.夫婦確定_f = 1;
    first.婚姻NO = 1;
    first.夫NO = 1;
    first.妻NO = 2;
    first.夫肩書 = "夫";
    first.妻肩書 = "先妻";
    first.離婚_F = 1;
    first.離婚年月日 = "昭和３５年２月１０日";
    first.子 = {{4, "長男", 0, "", ""}};
    converter::家族 second = first;
    second.婚姻NO = 2;
    second.妻NO = 3;
    second.妻肩書 = "後妻";
    second.離婚_F = 0;
    second.離婚年月日.clear();
    second.子 = {{5, "養女", 1, "平成２年４月１日", ""}, {4, "長男", 0, "", ""}};
    converter::家族 third;
    third.夫婦確定_f = 1;
    third.婚姻NO = 3;
    third.形態 = 1;
    third.夫NO = 1;
    third.妻NO = 6;
    third.夫肩書 = "夫";
    third.妻肩書 = "妻";
    third.子 = {{7, "子", 2, "", "昭和４５年５月２０日"}};
    s.families = {first, second, third};
    return s;
}

TEST(GedcomExport, PersonsAndFamiliesIn551) {
    const std::string text = converter::gedcomText(family(), GedcomVersion::V551);
    const Lines all = lines(text);
    ASSERT_GE(all.size(), 8u);
    EXPECT_EQ((Lines(all.begin(), all.begin() + 11)),
              (Lines{"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED", "1 SOUR MOKUREN",
                     "2 NAME mokuren", "1 CHAR UTF-8", "1 SUBM @U1@", "1 _TSUBAKI_VERSION V220",
                     "0 @U1@ SUBM", "1 NAME mokuren"}));
    EXPECT_EQ(all.back(), "0 TRLR");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    EXPECT_EQ(record(text, "0 @I1@ INDI"),
              (Lines{"0 @I1@ INDI", "1 NAME 太郎 /山田/", "2 GIVN 太郎", "2 SURN 山田", "1 SEX M",
                     "1 BIRT", "2 DATE INT 1 MAR 1930 (昭和５年３月１日)", "1 DEAT Y",
                     "2 DATE INT 5 OCT 2022 (令和４年１０月５日)", "1 RESI", "2 ADDR 東京都港区",
                     "3 CONT １番地", "1 FACT 京都市", "2 TYPE 本籍", "1 NOTE user@@example",
                     "1 FAMS @F1@", "1 FAMS @F2@", "1 FAMS @F3@", "1 _TSUBAKI_NAME_ORDER 1"}));
    // A child of two families; a date that is no date stays a phrase.
    EXPECT_EQ(
        record(text, "0 @I4@ INDI"),
        (Lines{"0 @I4@ INDI", "1 NAME 一郎 /山田/", "2 GIVN 一郎", "2 SURN 山田", "1 SEX M",
               "1 BIRT", "2 DATE (昭和３０年不詳)", "1 FAMC @F1@", "2 PEDI birth", "1 FAMC @F2@",
               "2 PEDI birth", "1 _TSUBAKI_FATHER 1", "1 _TSUBAKI_PARENTS_FAMILY 1"}));
    // The adopted and the acknowledged child.
    EXPECT_EQ(record(text, "0 @I5@ INDI"),
              (Lines{"0 @I5@ INDI", "1 NAME 春子 /山田/", "2 GIVN 春子", "2 SURN 山田", "1 SEX F",
                     "1 FAMC @F2@", "2 PEDI adopted", "1 ADOP",
                     "2 DATE INT 1 APR 1990 (平成２年４月１日)", "2 FAMC @F2@"}));
    EXPECT_EQ(record(text, "0 @I7@ INDI"),
              (Lines{"0 @I7@ INDI", "1 NAME 次郎 /田中/", "2 GIVN 次郎", "2 SURN 田中", "1 SEX M",
                     "1 FAMC @F3@", "2 PEDI birth", "1 EVEN", "2 TYPE 認知",
                     "2 DATE INT 20 MAY 1970 (昭和４５年５月２０日)", "2 _TSUBAKI_FAMC @F3@"}));
    // The link and the founder generation travel as user tags.
    EXPECT_EQ(record(text, "0 @I8@ INDI").back(), "1 _TSUBAKI_FOUNDER 3");
    EXPECT_NE(text.find("1 _TSUBAKI_LINK @I1@\r\n"), std::string::npos);

    EXPECT_EQ(record(text, "0 @F1@ FAM"),
              (Lines{"0 @F1@ FAM", "1 HUSB @I1@", "1 WIFE @I2@", "1 MARR Y", "1 DIV",
                     "2 DATE INT 10 FEB 1960 (昭和３５年２月１０日)", "1 CHIL @I4@",
                     "2 _TSUBAKI_TITLE 長男", "1 _TSUBAKI_CONFIRMED 1", "1 _TSUBAKI_HUSB_TITLE 夫",
                     "1 _TSUBAKI_WIFE_TITLE 先妻"}));
    EXPECT_EQ(record(text, "0 @F2@ FAM")[4], "1 CHIL @I5@");
    // A non-marital union has no marriage.
    const Lines third = record(text, "0 @F3@ FAM");
    EXPECT_EQ(std::count(third.begin(), third.end(), "1 MARR Y"), 0);
    EXPECT_EQ(std::count(third.begin(), third.end(), "2 _TSUBAKI_KIND 2"), 1);
    EXPECT_EQ(std::count(third.begin(), third.end(), "1 _TSUBAKI_FORM 1"), 1);
}

TEST(GedcomExport, Version70UsesPhrasesAndNoConc) {
    auto s = family();
    s.persons.persons[1].備考1 = std::string(300, 'x') + "終";
    const std::string text = converter::gedcomText(s, GedcomVersion::V70);
    EXPECT_EQ(lines(text)[2], "2 VERS 7.0");
    EXPECT_EQ(text.find("CHAR"), std::string::npos);
    EXPECT_EQ(text.find("SUBM"), std::string::npos);
    // Enumerations in capitals.
    EXPECT_EQ(record(text, "0 @I5@ INDI")[6], "2 PEDI ADOPTED");
    EXPECT_EQ(record(text, "0 @I4@ INDI")[9], "2 PEDI BIRTH");
    const Lines i1 = record(text, "0 @I1@ INDI");
    EXPECT_EQ(i1[6], "2 DATE 1 MAR 1930");
    EXPECT_EQ(i1[7], "3 PHRASE 昭和５年３月１日");
    // "@" is doubled only at the start of a value in 7.0.
    EXPECT_NE(text.find("1 NOTE user@example\r\n"), std::string::npos);
    const Lines i4 = record(text, "0 @I4@ INDI");
    EXPECT_EQ(i4[6], "2 DATE");
    EXPECT_EQ(i4[7], "3 PHRASE 昭和３０年不詳");
    EXPECT_EQ(text.find("CONC"), std::string::npos);
    EXPECT_NE(text.find("1 NOTE " + std::string(300, 'x') + "終\r\n"), std::string::npos);
}

TEST(GedcomExport, ALongValueIsCutIntoConcLinesBetweenCharacters) {
    auto s = family();
    std::string note;
    for (int k = 0; k < 150; ++k) {
        note += "長い備考";
    }
    s.persons.persons[1].備考1 = note;
    const Lines i2 = record(converter::gedcomText(s, GedcomVersion::V551), "0 @I2@ INDI");
    std::string joined;
    int conc = 0;
    for (const auto& l : i2) {
        if (l.rfind("1 NOTE ", 0) == 0) {
            joined += l.substr(7);
        } else if (l.rfind("2 CONC ", 0) == 0) {
            joined += l.substr(7);
            ++conc;
        } else {
            continue;
        }
        EXPECT_LE(l.size(), 255u);
        EXPECT_NO_THROW(common::utf8ToUtf32(l)) << "cut inside a character";
    }
    EXPECT_GE(conc, 5);
    EXPECT_EQ(joined, note);
}

TEST(FamilyRegisterView, TheSampleReadsAndWritesBackByteForByte) {
    const std::string bytes = common::readFile(kSamples / "家族目録.TXT");
    const auto families = converter::parseFamilyRegister(bytes, "家族目録.TXT");
    ASSERT_EQ(families.size(), 8u);
    EXPECT_EQ(families[1].離婚年月日, "昭和３５年２月１０日");
    EXPECT_EQ(families[2].子[2].縁組日, "平成２年４月１日");
    EXPECT_EQ(converter::familyRegisterBytes(families), bytes);
}

TEST(FamilyRegisterView, OlderLayoutAndRefusals) {
    const auto older = converter::parseFamilyRegister(
        testing_support::sjisLines({"最大婚姻数%=, 1 ", "", "夫婦確定_f%(1)=, 1 ",
                                    "婚姻NO%(1)=, 1 ", "形態%(1)=, 0 ", "形態L3%(1)=, 0 ",
                                    "夫NO%(1)=, 1 ", "妻NO%(1)=, 2 ", "系統_F%(1)=, 0 ",
                                    "離婚_F%(1)=, 0 ", "子数%(1)=, 0 ", "配偶者非表示_F%(1)=,x"}),
        "家族目録.TXT");
    ASSERT_EQ(older.size(), 1u);
    EXPECT_EQ(older[0].妻肩書, "妻");
    EXPECT_EQ(older[0].配偶者非表示_F, 1);
    try {
        converter::parseFamilyRegister(
            testing_support::sjisLines({"バージョン, 220 ", "最大婚姻数%=, 5 ", ""}),
            "家族目録.TXT");
        ADD_FAILURE() << "refusal expected";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("家族目録.TXT"), std::string::npos) << e.what();
    }
}

TEST(GedcomExportJob, WritesTheSamplesAndAsksBeforeReplacing) {
    testing_support::TempDir dir;
    testing_support::ScriptedDialogs dialogs;
    const std::string target = (dir.path() / "family").string(); // no extension
    dialogs.answerFile(target);
    fs::path written;
    long persons = 0;
    long families = 0;
    ASSERT_EQ(converter::exportGedcom(kSamples, GedcomVersion::V551, dialogs, &written, &persons,
                                      &families),
              converter::JobOutcome::Done);
    EXPECT_EQ(written, dir.path() / "family.ged");
    EXPECT_EQ(persons, 20);
    EXPECT_EQ(families, 8);
    const std::string text = common::readFile(written);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(lines(text).size()));
    EXPECT_NE(text.find("0 @F8@ FAM"), std::string::npos);

    // The file exists: No asks again, a cancel then writes nothing.
    dir.write("family.ged", "keep");
    dialogs.answerFile(target);
    dialogs.answerNo();
    dialogs.answerFile(std::nullopt);
    EXPECT_EQ(converter::exportGedcom(kSamples, GedcomVersion::V70, dialogs),
              converter::JobOutcome::Cancelled);
    EXPECT_EQ(common::readFile(written), "keep");

    // A register that cannot be read is reported, nothing asked.
    dir.write("当事者目録.TXT", "nonsense");
    EXPECT_EQ(converter::exportGedcom(dir.path(), GedcomVersion::V70, dialogs),
              converter::JobOutcome::Stopped);
    EXPECT_EQ(dialogs.shown.back().title, converter::kReadErrorTitle);
}

} // namespace
