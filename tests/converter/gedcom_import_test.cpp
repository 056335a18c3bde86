// Registers built from GEDCOM written by hand: dates, names, families with marriages,
// divorces, adoptions and acknowledgments, what the registers cannot hold, what cannot be
// placed, and the capacities.
#include "converter/gedcom_import.h"

#include "common/file_io.h"
#include "converter/gedcom_dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using converter::GedcomDateText;

namespace {

std::string ged(const std::vector<std::string>& lines, const std::string& version = "5.5.1") {
    std::string s = "0 HEAD\r\n1 GEDC\r\n2 VERS " + version + "\r\n";
    if (version == "5.5.1") {
        s += "1 CHAR UTF-8\r\n";
    }
    for (const auto& l : lines) {
        s += l + "\r\n";
    }
    return s + "0 TRLR\r\n";
}

std::vector<int> lines(const std::vector<converter::GedcomFinding>& findings) {
    std::vector<int> out;
    for (const auto& f : findings) {
        out.push_back(f.line);
    }
    return out;
}

TEST(GedcomDatesToWareki, ExactDatesAcrossEveryEraBoundary) {
    struct Case {
        const char* gedcom;
        const char* wareki;
    };
    const Case cases[] = {
        {"12 MAR 1956", "昭和３１年３月１２日"},
        {"31 DEC 1872", "西暦１８７２年１２月３１日"}, // the lunisolar calendar's last day
        {"1 JAN 1873", "明治６年１月１日"},
        {"29 JUL 1912", "明治４５年７月２９日"},
        {"30 JUL 1912", "大正元年７月３０日"},
        {"24 DEC 1926", "大正１５年１２月２４日"},
        {"25 DEC 1926", "昭和元年１２月２５日"},
        {"7 JAN 1989", "昭和６４年１月７日"},
        {"8 JAN 1989", "平成元年１月８日"},
        {"30 APR 2019", "平成３１年４月３０日"},
        {"1 MAY 2019", "令和元年５月１日"},
        {"29 FEB 2020", "令和２年２月２９日"},
        {"@#DGREGORIAN@ 3 NOV 1970", "昭和４５年１１月３日"},
        {"GREGORIAN 3 nov 1970", "昭和４５年１１月３日"},
        // A month or a year that two eras share names both; one that lies in one era, one.
        {"JUL 1912", "明治４５年（大正元年）７月"},
        {"1926", "大正１５年（昭和元年）"},
        {"JAN 1989", "昭和６４年（平成元年）１月"},
        {"APR 2019", "平成３１年４月"},
        {"MAY 2019", "令和元年５月"},
        {"2019", "平成３１年（令和元年）"},
        {"1873", "明治６年"},
        {"1860", "西暦１８６０年"},
        // Approximate dates and ranges.
        {"ABT 1956", "昭和３１年頃"},
        {"EST MAR 1956", "昭和３１年３月頃"},
        {"BEF 1 JAN 1900", "明治３３年１月１日以前"},
        {"AFT 1990", "平成２年以後"},
        {"BET 1950 AND 8 JAN 1989", "昭和２５年から平成元年１月８日の間"},
        {"FROM 1950 TO 1960", "昭和２５年から昭和３５年まで"},
        {"FROM 1950", "昭和２５年から"},
        {"TO 1960", "昭和３５年まで"},
    };
    for (const auto& c : cases) {
        const GedcomDateText d = converter::registerDate(c.gedcom);
        EXPECT_EQ(d.kind, GedcomDateText::Kind::Converted) << c.gedcom;
        EXPECT_EQ(d.text, c.wareki) << c.gedcom;
    }
}

TEST(GedcomDatesToWareki, WhatCannotBeWarekiIsKeptAsWritten) {
    for (const char* kept : {"@#DJULIAN@ 1 MAR 1700", "JULIAN 1 MAR 1700", "@#DFRENCH R@ 1 VEND 12",
                             "44 B.C.", "1699/00", "BET @#DJULIAN@ 1700 AND 1710"}) {
        const GedcomDateText d = converter::registerDate(kept);
        EXPECT_EQ(d.kind, GedcomDateText::Kind::KeptAsWritten) << kept;
        EXPECT_EQ(d.text, kept);
    }
    for (const char* bad : {"1956-03-12", "30 FEB 1956", "12 MARCH 1956", "BET 1950", "ABT",
                            "12 MAR 1956 extra words", "0"}) {
        const GedcomDateText d = converter::registerDate(bad);
        EXPECT_EQ(d.kind, GedcomDateText::Kind::Unreadable) << bad;
        EXPECT_EQ(d.text, bad);
    }
}

TEST(GedcomDatesToWareki, PhrasesOf551) {
    auto p = converter::splitDatePhrase("INT 12 MAR 1956 (昭和３１年３月１２日)");
    EXPECT_EQ(p.date, "12 MAR 1956 ");
    EXPECT_EQ(p.phrase, "昭和３１年３月１２日");
    p = converter::splitDatePhrase("(不詳 (たぶん))");
    EXPECT_TRUE(p.hasPhrase);
    EXPECT_EQ(p.date, "");
    EXPECT_EQ(p.phrase, "不詳 (たぶん)");
    p = converter::splitDatePhrase("ABT 1956");
    EXPECT_FALSE(p.hasPhrase);
    EXPECT_EQ(p.date, "ABT 1956");
}

// Dates in persons and events of a file from another program: converted, or kept with a
// notice; a phrase alone is taken as the text.
TEST(GedcomImportDates, FromAnotherProgram) {
    const auto imported = converter::importGedcom(
        ged({"1 SOUR OTHERPROGRAM", "0 @I1@ INDI", "1 BIRT", "2 DATE ABT 1956", "1 DEAT",
             "2 DATE BET 1990 AND 1995", "0 @I2@ INDI", "1 BIRT", "2 DATE (明治の末)", "1 DEAT Y",
             "0 @I3@ INDI", "1 BIRT", "2 DATE INT 3 NOV 1970 (文化の日)", "1 DEAT",
             "2 DATE 1970-11-03", "0 @I4@ INDI", "1 BIRT", "2 DATE 8 JAN 1989",
             "3 PHRASE 平成の初日"},
            "5.5.1"),
        "in.ged");
    const auto& p = imported.registers.persons.persons;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].生年月日, "昭和３１年頃");
    EXPECT_EQ(p[0].死亡年月日, "平成２年から平成７年の間");
    EXPECT_EQ(p[1].生年月日, "明治の末");
    EXPECT_EQ(p[1].死亡年月日, "不詳"); // died, date unknown: not living
    EXPECT_EQ(p[2].生年月日, "昭和４５年１１月３日");
    EXPECT_EQ(p[2].死亡年月日, "1970-11-03");
    EXPECT_EQ(p[3].生年月日, "平成元年１月８日");
    ASSERT_EQ(imported.report.notices.size(), 1u);
    EXPECT_EQ(imported.report.notices[0].line, 19);
    EXPECT_EQ(imported.report.notices[0].about, "@I3@");
    EXPECT_TRUE(imported.report.errors.empty());
    // 7.0's PHRASE beside a date; a phrase alone.
    const auto seven =
        converter::importGedcom(ged({"0 @I1@ INDI", "1 BIRT", "2 DATE 8 JAN 1989",
                                     "3 PHRASE 平成の初日", "1 DEAT", "2 DATE", "3 PHRASE 戦時中"},
                                    "7.0"),
                                "in.ged");
    EXPECT_EQ(seven.registers.persons.persons[0].生年月日, "平成元年１月８日");
    EXPECT_EQ(seven.registers.persons.persons[0].死亡年月日, "戦時中");
}

// mokuren's own file: the phrase is the register's text and is taken as it stands, even
// where the date would give another form.
TEST(GedcomImportDates, MokurensPhraseIsPreferred) {
    const auto imported =
        converter::importGedcom(ged({"1 SOUR MOKUREN", "0 @I1@ INDI", "1 BIRT",
                                     "2 DATE INT 12 MAR 1956 (昭和三十一年三月十二日)", "1 DEAT",
                                     "2 DATE INT 1 JAN 2000 (平成１２年１月１日 (元日))",
                                     "3 _TSUBAKI_TEXT 平成１２年(元日)"}),
                                "in.ged");
    EXPECT_EQ(imported.registers.persons.persons[0].生年月日, "昭和三十一年三月十二日");
    EXPECT_EQ(imported.registers.persons.persons[0].死亡年月日, "平成１２年(元日)");
}

TEST(GedcomImportNames, SplitAtTheSlashes) {
    const auto imported = converter::importGedcom(
        ged({"0 @I1@ INDI", "1 NAME 太郎 /山田/", "0 @I2@ INDI", "1 NAME /佐藤/", "0 @I3@ INDI",
             "1 NAME John /Smith/ Jr.", "0 @I4@ INDI", "1 NAME 花子", "0 @I5@ INDI",
             "1 NAME 一 /a/b/", "2 GIVN 一", "2 SURN a/b", "0 @I6@ INDI", "1 NAME", "2 GIVN 次郎",
             "2 SURN 鈴木", "0 @I7@ INDI", "1 NAME 梅 /田中/", "1 NAME ウメ /タナカ/"}),
        "in.ged");
    const auto& p = imported.registers.persons.persons;
    ASSERT_EQ(p.size(), 7u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"山田", "太郎"}, {"佐藤", ""},     {"Smith", "John Jr."}, {"", "花子"},
        {"a/b", "一"},    {"鈴木", "次郎"}, {"田中", "梅"}};
    for (std::size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(p[i].姓, expected[i].first) << i;
        EXPECT_EQ(p[i].名, expected[i].second) << i;
    }
    EXPECT_EQ(imported.report.unplacedLine(), "取り込めなかったもの：２つ目以降の NAME 1 件");
}

// A husband with two marriages, the first ended by a divorce; a daughter adopted in the
// second; a son who is the child of both families; an acknowledged child of a union without
// marriage. Written as another program would, without mokuren's tags.
TEST(GedcomImportFamilies, MarriagesDivorceAdoptionAndAChildOfTwoFamilies) {
    const auto imported = converter::importGedcom(ged({"0 @H@ INDI",
                                                       "1 NAME 太郎 /山田/",
                                                       "1 SEX M",
                                                       "1 FAMS @F1@",
                                                       "1 FAMS @F2@",
                                                       "1 FAMS @F3@",
                                                       "0 @W1@ INDI",
                                                       "1 NAME 花子 /佐藤/",
                                                       "1 SEX F",
                                                       "1 FAMS @F1@",
                                                       "0 @W2@ INDI",
                                                       "1 NAME 梅子 /山田/",
                                                       "1 SEX F",
                                                       "1 FAMS @F2@",
                                                       "0 @S@ INDI",
                                                       "1 NAME 一郎 /山田/",
                                                       "1 SEX M",
                                                       "1 FAMC @F1@",
                                                       "2 PEDI birth",
                                                       "1 FAMC @F2@",
                                                       "0 @D@ INDI",
                                                       "1 NAME 春子 /山田/",
                                                       "1 SEX F",
                                                       "1 FAMC @F2@",
                                                       "2 PEDI adopted",
                                                       "1 ADOP",
                                                       "2 DATE 1 APR 1990",
                                                       "2 FAMC @F2@",
                                                       "3 ADOP BOTH",
                                                       "0 @P@ INDI",
                                                       "1 NAME 秋子 /田中/",
                                                       "1 SEX F",
                                                       "1 FAMS @F3@",
                                                       "0 @A@ INDI",
                                                       "1 NAME 次郎 /田中/",
                                                       "1 SEX M",
                                                       "1 FAMC @F3@",
                                                       "1 EVEN",
                                                       "2 TYPE 認知",
                                                       "2 DATE 20 MAY 1970",
                                                       "0 @F1@ FAM",
                                                       "1 HUSB @H@",
                                                       "1 WIFE @W1@",
                                                       "1 MARR",
                                                       "2 DATE 1955",
                                                       "1 DIV",
                                                       "2 DATE 10 FEB 1960",
                                                       "1 CHIL @S@",
                                                       "0 @F2@ FAM",
                                                       "1 HUSB @H@",
                                                       "1 WIFE @W2@",
                                                       "1 MARR Y",
                                                       "1 CHIL @D@",
                                                       "1 CHIL @S@",
                                                       "0 @F3@ FAM",
                                                       "1 HUSB @H@",
                                                       "1 WIFE @P@",
                                                       "1 CHIL @A@",
                                                       "0 @F4@ FAM",
                                                       "1 WIFE @P@"}),
                                                  "in.ged");
    EXPECT_TRUE(imported.report.errors.empty()) << imported.report.errors.at(0).message();
    const auto& f = imported.registers.families;
    const auto& p = imported.registers.persons.persons;
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].夫NO, 1);
    EXPECT_EQ(f[0].妻NO, 2);
    EXPECT_EQ(f[0].離婚_F, 1);
    EXPECT_EQ(f[0].離婚年月日, "昭和３５年２月１０日");
    EXPECT_EQ(f[0].夫婦確定_f, 1);
    EXPECT_EQ(f[0].形態, 0);
    EXPECT_EQ(f[0].夫肩書, "夫");
    EXPECT_EQ(f[0].妻肩書, "妻");
    ASSERT_EQ(f[0].子.size(), 1u);
    EXPECT_EQ(f[0].子[0].子NO, 4);
    EXPECT_EQ(f[0].子[0].子の形態, 0);
    EXPECT_EQ(f[0].子[0].子の肩書, "子");
    EXPECT_EQ(f[1].離婚_F, 0);
    ASSERT_EQ(f[1].子.size(), 2u);
    EXPECT_EQ(f[1].子[0].子NO, 5);
    EXPECT_EQ(f[1].子[0].子の形態, 1);
    EXPECT_EQ(f[1].子[0].縁組日, "平成２年４月１日");
    EXPECT_EQ(f[1].子[0].子の肩書, "養女");
    EXPECT_EQ(f[1].子[1].子NO, 4);
    EXPECT_EQ(f[2].子[0].子の形態, 2);
    EXPECT_EQ(f[2].子[0].認知日, "昭和４５年５月２０日");
    // A woman alone: a one-person household, not a confirmed couple.
    EXPECT_EQ(f[3].夫婦確定_f, 0);
    EXPECT_EQ(f[3].形態L3, 1);
    // Parents from the family a person was born into (the first), none for the adopted.
    EXPECT_EQ(p[3].実父NO, 1);
    EXPECT_EQ(p[3].実母NO, 2);
    EXPECT_EQ(p[3].父母家族NO, 1);
    EXPECT_EQ(p[4].父母家族NO, 0);
    EXPECT_EQ(p[6].実父NO, 1);
    EXPECT_EQ(p[6].父母家族NO, 3);
    EXPECT_EQ(p[0].C_当事者NO, 1);
    // The marriage's date and whom the adoption was by have no place in the registers.
    EXPECT_EQ(imported.report.unplacedLine(),
              "取り込めなかったもの：FAMC.ADOP 1 件、MARR.DATE 1 件");
}

TEST(GedcomImportFamilies, LinksOnlyOneSideGivesAreAddedAndSaid) {
    const auto imported = converter::importGedcom(
        ged({"0 @H@ INDI", "1 FAMS @F1@", "0 @C@ INDI", "1 FAMC @F1@", "2 PEDI foster",
             "0 @X@ INDI", "1 FAMS @F1@", "0 @F1@ FAM", "1 HUSB @H@", "1 NO MARR"},
            "7.0"),
        "in.ged");
    const auto& f = imported.registers.families.at(0);
    ASSERT_EQ(f.子.size(), 1u);
    EXPECT_EQ(f.子[0].子NO, 2);
    EXPECT_EQ(f.形態L3, 1);
    EXPECT_EQ(lines(imported.report.notices), (std::vector<int>{8, 6, 10}));
    EXPECT_NE(imported.report.notices[0].text.find("foster"), std::string::npos);
    EXPECT_NE(imported.report.notices[1].text.find("CHIL にない"), std::string::npos);
    EXPECT_NE(imported.report.notices[2].text.find("HUSB と WIFE にいない"), std::string::npos);
}

TEST(GedcomImportTexts, WhatTheRegistersCannotHoldIsNamedByPersonAndLine) {
    const auto imported = converter::importGedcom(
        ged({"0 @I1@ INDI", "1 NAME Jérôme /Müller/", "0 @I2@ INDI", "1 NAME 𠮷男 /吉田/", "1 RESI",
             "2 ADDR 東京都\tA", "0 @I3@ INDI", "1 NAME 花子 /山田/", "1 RESI",
             "2 ADDR 1-2-3, Chiyoda", "3 CONT Tokyo: Japan", "3 CONT 日本", "1 NOTE 一",
             "1 NOTE 二", "2 CONT 三"}),
        "in.ged");
    ASSERT_EQ(lines(imported.report.errors), (std::vector<int>{6, 6, 8, 10}));
    EXPECT_EQ(imported.report.errors[0].about, "@I1@ MüllerJérôme"); // the name as read
    EXPECT_NE(imported.report.errors[0].text.find("「姓」の「ü」（U+00FC）"), std::string::npos)
        << imported.report.errors[0].text;
    EXPECT_NE(imported.report.errors[1].text.find("「名」の「é」（U+00E9）"), std::string::npos);
    EXPECT_NE(imported.report.errors[2].text.find("U+20BB7"), std::string::npos);
    EXPECT_NE(imported.report.errors[3].text.find("制御文字"), std::string::npos);
    // Half-width separators become full-width, extra lines join the second; both said.
    const auto& p = imported.registers.persons.persons[2];
    EXPECT_EQ(p.住所1, "１－２－３，　Ｃｈｉｙｏｄａ");
    EXPECT_EQ(p.住所2, "Ｔｏｋｙｏ：　Ｊａｐａｎ　日本");
    EXPECT_EQ(p.備考1, "一");
    EXPECT_EQ(p.備考2, "二　三");
    EXPECT_EQ(lines(imported.report.notices), (std::vector<int>{14, 14, 14, 17}));
}

TEST(GedcomImportReport, RecordsAndLinesThatCannotBePlacedAreCounted) {
    const auto imported = converter::importGedcom(ged({"1 SUBM @U1@",
                                                       "0 @U1@ SUBM",
                                                       "1 NAME 作成者",
                                                       "0 @S1@ SOUR",
                                                       "1 TITL 戸籍",
                                                       "0 @S2@ SOUR",
                                                       "0 @O1@ OBJE",
                                                       "1 FILE a.jpg",
                                                       "0 @N1@ NOTE 共有の注記",
                                                       "0 @I1@ INDI",
                                                       "1 NAME 太郎 /山田/",
                                                       "2 NPFX 故",
                                                       "1 NOTE @N1@",
                                                       "1 BIRT",
                                                       "2 PLAC 東京",
                                                       "2 SOUR @S1@",
                                                       "1 OCCU 農業",
                                                       "1 OCCU 漁業",
                                                       "1 SOUR @S2@",
                                                       "1 _OTHER x",
                                                       "1 BIRT",
                                                       "2 DATE 1900"}),
                                                  "in.ged");
    EXPECT_TRUE(imported.report.errors.empty());
    EXPECT_EQ(imported.report.unplacedLine(),
              "取り込めなかったもの：SOUR レコード 2 件、OBJE レコード 1 件、"
              "NOTE レコード 1 件、NAME.NPFX 1 件、NOTE レコードへの参照 1 件、BIRT.PLAC 1 件、"
              "BIRT.SOUR 1 件、INDI.OCCU 2 件、INDI.SOUR 1 件、INDI._OTHER 1 件、INDI.BIRT 1 件");
    EXPECT_EQ(imported.registers.persons.persons[0].生年月日, "");
}

TEST(GedcomImportCapacities, PersonsFamiliesAndChildrenOverTheLimits) {
    std::vector<std::string> l;
    for (int i = 1; i <= 4; ++i) {
        l.push_back("0 @I" + std::to_string(i) + "@ INDI");
    }
    l.push_back("0 @F1@ FAM");
    for (int i = 2; i <= 4; ++i) {
        l.push_back("1 CHIL @I" + std::to_string(i) + "@");
    }
    l.push_back("0 @F2@ FAM");
    const auto imported = converter::importGedcom(ged(l), "in.ged");
    converter::Capacities limits;
    EXPECT_TRUE(converter::capacityErrors(imported, limits).empty());
    limits.最大登録人数 = 3;
    limits.最大婚姻数 = 1;
    limits.一世帯当りの子供の最大数 = 2;
    limits.source = "/data/KANKYO.TXT";
    const auto errors = converter::capacityErrors(imported, limits);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].message(),
              "人が 4 人います。「KANKYO.TXT」の最大登録人数（3 人）を超えるので取り込めません");
    EXPECT_NE(errors[1].text.find("最大婚姻数（1）"), std::string::npos) << errors[1].text;
    EXPECT_EQ(errors[2].line, 9);
    EXPECT_NE(errors[2].text.find("子が 3 人"), std::string::npos);
    // A number the chart editor's 16-bit registers cannot hold.
    auto big = imported;
    big.registers.persons.persons[1].実父NO = 40000;
    limits = {};
    ASSERT_EQ(converter::capacityErrors(big, limits).size(), 1u);
    EXPECT_EQ(converter::capacityErrors(big, limits)[0].line, 6);
}

} // namespace

namespace {

// Whatever the bytes, the import gives registers, findings or a FileError, and never
// anything else: the samples' GEDCOM cut and changed at random places.
TEST(GedcomImportRobustness, DamagedCopiesOfAGoodFileNeverBreakTheReader) {
    const std::string good = converter::gedcomText(converter::readGedcomSource(TSUBAKI_SAMPLES_DIR),
                                                   converter::GedcomVersion::V551);
    std::uint32_t state = 12345;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const std::string alphabet = "0123 @_\r\n/()AZaz\xE3\x81\x82\xFF\t";
    int refused = 0;
    int withErrors = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = good;
        const int changes = 1 + static_cast<int>(next() % 6);
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = next() % bytes.size();
            switch (next() % 4) {
            case 0:
                bytes[at] = alphabet[next() % alphabet.size()];
                break;
            case 1:
                bytes.erase(at, 1 + next() % 40);
                break;
            case 2:
                bytes.insert(at, 1, alphabet[next() % alphabet.size()]);
                break;
            default:
                bytes.resize(at);
                break;
            }
            if (bytes.empty()) {
                break;
            }
        }
        try {
            const auto imported = converter::importGedcom(bytes, "cut.ged");
            withErrors += imported.report.errors.empty() ? 0 : 1;
            if (imported.report.errors.empty()) {
                (void)converter::registerFiles(imported.registers); // writable, or a FileError
            }
        } catch (const common::FileError&) {
            ++refused;
        }
    }
    // Most copies are damaged in a way the reader must see.
    EXPECT_GT(refused + withErrors, 1000);
}

TEST(GedcomImportRobustness, AFileWithoutPersonsIsRefused) {
    const auto imported = converter::importGedcom(ged({"0 @F1@ FAM"}), "empty.ged");
    ASSERT_EQ(imported.report.errors.size(), 1u);
    EXPECT_NE(imported.report.errors[0].text.find("INDI"), std::string::npos);
}

} // namespace
