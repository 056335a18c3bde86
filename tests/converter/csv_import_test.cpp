#include "converter/csv_import.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using converter::ChartItem;
using converter::CsvTable;
using converter::ImportChoices;
using converter::parseCsv;

namespace {

std::vector<std::string> texts(const converter::CsvRow& row) {
    std::vector<std::string> out;
    for (const auto& c : row.cells) {
        out.push_back(c.text);
    }
    return out;
}

using Texts = std::vector<std::string>;

TEST(CsvReading, FieldsQuotesAndLines) {
    const CsvTable t = parseCsv("氏名,\"住所,番地\",,備考\r\n"
                                "\"山田 太郎\",\"東京\"\"本社\"\"\",x\r\n"
                                "\r\n"
                                "鈴木,\"大阪\r\n北区\",\"\",end\n"
                                "\"a\"b,c",
                                "a.csv");
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.columns(), 4); // the quoted comma is no separator
    EXPECT_EQ(texts(t.rows[0]), (Texts{"氏名", "住所,番地", "", "備考"}));
    EXPECT_EQ(texts(t.rows[1]), (Texts{"山田 太郎", "東京\"本社\"", "x"}));
    EXPECT_TRUE(t.rows[1].cells[1].quoted);
    EXPECT_FALSE(t.rows[1].cells[2].quoted);
    // The empty line holds no row; the line break inside a field joins its parts.
    EXPECT_EQ(texts(t.rows[2]), (Texts{"鈴木", "大阪北区", "", "end"}));
    EXPECT_EQ(t.rows[2].line, 4);
    EXPECT_EQ(t.rows[3].line, 6);
    EXPECT_EQ(texts(t.rows[3]), (Texts{"ab", "c"}));
    EXPECT_EQ(t.caption(2), "（空白）");
    EXPECT_EQ(t.caption(1), "住所,番地");
    EXPECT_EQ(t.cell(1, 3), ""); // beyond a short row
}

TEST(CsvReading, AQuoteLeftOpenIsRefusedWithItsLine) {
    try {
        parseCsv("a,b\nc,\"d\ne,f\n", "x.csv");
        ADD_FAILURE() << "refusal expected";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("「x.csv」の 2 行目"), std::string::npos) << e.what();
    }
}

TEST(CsvReading, EncodingIsFoundFromTheBytes) {
    const std::string utf8 = "氏名,住所\r\n山田,東京\r\n";
    EXPECT_EQ(converter::decodeCsvBytes(utf8, "f"), utf8);
    EXPECT_EQ(converter::decodeCsvBytes("\xEF\xBB\xBF" + utf8, "f"), utf8);
    EXPECT_EQ(converter::decodeCsvBytes(common::encodeCp932(utf8), "f"), utf8);
    // Neither: a byte sequence that is no Shift-JIS on line 2.
    std::string bad = common::encodeCp932("氏名\r\n") + "\x85\x20\r\n";
    try {
        converter::decodeCsvBytes(bad, "f.csv");
        ADD_FAILURE() << "refusal expected";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find(" 2 行目"), std::string::npos) << e.what();
    }
    try {
        converter::decodeCsvBytes("\xEF\xBB\xBF"
                                  "a\r\nb\r\n\xFF\r\n",
                                  "f.csv");
        ADD_FAILURE() << "refusal expected";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find(" 3 行目"), std::string::npos) << e.what();
    }
}

TEST(RegistrationChart, ItemsAndTextFollowTheCheckBoxes) {
    ImportChoices c;
    auto chart = converter::registrationChart(c);
    EXPECT_EQ(chart.items, std::vector<ChartItem>{ChartItem::FullName});
    EXPECT_EQ(chart.text, "登録チャート\n氏名、の順に登録して下さい。");

    c.sex = true;
    c.splitName = true;
    c.address = true;
    c.address2 = true;
    c.domicile = true;
    c.birth = true;
    c.death = true;
    c.note = true;
    c.note2 = true;
    chart = converter::registrationChart(c);
    EXPECT_EQ(chart.text, "登録チャート\n性別、姓、名、住所１、住所２、本籍、生年月日、死亡年月日、"
                          "備考１、備考２　の順に登録して下さい。");
    EXPECT_EQ(chart.items,
              (std::vector<ChartItem>{ChartItem::Sex, ChartItem::Surname, ChartItem::GivenName,
                                      ChartItem::Address1, ChartItem::Address2, ChartItem::Domicile,
                                      ChartItem::BirthDate, ChartItem::DeathDate, ChartItem::Note1,
                                      ChartItem::Note2}));
    // A second-line box counts only with its first.
    c.address = false;
    c.note2 = false;
    chart = converter::registrationChart(c);
    EXPECT_EQ(chart.text, "登録チャート\n性別、姓、名、本籍、生年月日、死亡年月日、備考　"
                          "の順に登録して下さい。");
}

TEST(ColumnAssignment, AssignAndTakeBackKeepTheOrder) {
    converter::ColumnAssignment a(5);
    a.assign({3, 0});
    a.assign({1, 3}); // 3 is taken already
    EXPECT_EQ(a.order(), (std::vector<int>{3, 0, 1}));
    EXPECT_EQ(a.freeColumns(), (std::vector<int>{2, 4}));
    a.release({0, 2}); // columns 3 and 1
    EXPECT_EQ(a.order(), (std::vector<int>{0}));
    EXPECT_EQ(a.freeColumns(), (std::vector<int>{1, 2, 3, 4}));
    a.assign({4, 2, 9});
    EXPECT_EQ(a.order(), (std::vector<int>{0, 4, 2}));
}

TEST(ImportCells, FullWidthWithoutSpacesAndSexNotations) {
    EXPECT_EQ(converter::itemText(" ﾔﾏﾀﾞ ﾀﾛｳ "), "ヤマダタロウ");
    EXPECT_EQ(converter::itemText("東京都　港区 1-2"), "東京都港区１－２");
    EXPECT_EQ(converter::sexCode("男", 1), 1);
    EXPECT_EQ(converter::sexCode("男性", 1), 1);
    EXPECT_EQ(converter::sexCode("女", 1), 2);
    EXPECT_EQ(converter::sexCode("", 1), 2);
    EXPECT_EQ(converter::sexCode(" m", 2), 1);
    EXPECT_EQ(converter::sexCode("Ｍ", 2), 1);
    EXPECT_EQ(converter::sexCode("F", 2), 2);
    EXPECT_EQ(converter::sexCode("Yes", 3), 1);
    EXPECT_EQ(converter::sexCode("", 3), 2);
    EXPECT_EQ(converter::sexCode("Yes", 4), 2);
    EXPECT_EQ(converter::sexCode("", 4), 1);
    EXPECT_EQ(converter::sexCode("女", 0), 1);
}

TEST(ImportCells, FullNamesSplitAtARegisteredSurname) {
    std::string s, n;
    const std::vector<std::string> surnames = {"佐々木", "山田", "山"};
    converter::splitFullName("山田太郎", surnames, s, n);
    EXPECT_EQ(s, "山田");
    EXPECT_EQ(n, "太郎");
    converter::splitFullName("山本一郎", surnames, s, n);
    EXPECT_EQ(s, "山");
    EXPECT_EQ(n, "本一郎");
    // A surname inside the name does not begin it.
    converter::splitFullName("小山田花", {"山田"}, s, n);
    EXPECT_EQ(s, "");
    EXPECT_EQ(n, "小山田花");
    converter::splitFullName("山田太郎", {}, s, n);
    EXPECT_EQ(s, "");
    EXPECT_EQ(n, "山田太郎");
    EXPECT_EQ(converter::registeredSurname(" ｻﾄｳ "), "サトウ");
}

converter::ImportResult importOf(const std::string& csv, const ImportChoices& c,
                                 const std::vector<int>& order, bool header,
                                 const std::vector<std::string>& surnames = {}) {
    const CsvTable t = parseCsv(csv, "a.csv");
    return converter::importPersons(t, converter::registrationChart(c), order, c, header, surnames);
}

TEST(Import, ColumnsGoToTheChartItemsInAssignmentOrder) {
    const std::string csv = "番号,性別,氏名,住所,生年\r\n"
                            "1,女,山田花子,東京都 港区,昭和１年\r\n"
                            "2,男,鈴木一郎,,\r\n";
    ImportChoices c;
    c.sex = true;
    c.address = true;
    c.birth = true;
    const auto r = importOf(csv, c, {1, 2, 3, 4}, true, {"山田"});
    ASSERT_EQ(r.persons.size(), 2u); // the header line is never a person
    const auto& p = r.persons[0];
    EXPECT_EQ(p.当事者NO, 1);
    EXPECT_EQ(p.C_当事者NO, 1);
    EXPECT_EQ(p.男女, 2);
    EXPECT_EQ(p.姓, "山田");
    EXPECT_EQ(p.名, "花子");
    EXPECT_EQ(p.住所1, "東京都港区");
    EXPECT_EQ(p.生年月日, "昭和１年");
    EXPECT_EQ(r.persons[1].男女, 1);
    EXPECT_EQ(r.persons[1].姓, "");
    EXPECT_EQ(r.persons[1].名, "鈴木一郎");
    EXPECT_EQ(r.persons[1].C_当事者NO, 2);
    EXPECT_TRUE(r.longLines.empty());

    // Without the header box the first line is a person too; without a sex column 男女
    // stays 0; assignments beyond the chart are ignored.
    ImportChoices plain;
    const auto r2 = importOf(csv, plain, {2, 0, 1}, false);
    ASSERT_EQ(r2.persons.size(), 3u);
    EXPECT_EQ(r2.persons[0].名, "氏名");
    EXPECT_EQ(r2.persons[1].名, "山田花子");
    EXPECT_EQ(r2.persons[1].男女, 0);
    EXPECT_EQ(r2.persons[1].住所1, "");
}

TEST(Import, SplitNamesAndSecondLines) {
    ImportChoices c;
    c.splitName = true;
    c.domicile = true;
    c.domicile2 = true;
    c.note = true;
    const auto r =
        importOf("姓,名,本籍1,本籍2,備考\n田中,\"ﾊﾅｺ\",大阪,北区,メモ\n", c, {0, 1, 2, 3, 4}, true);
    ASSERT_EQ(r.persons.size(), 1u);
    EXPECT_EQ(r.persons[0].姓, "田中");
    EXPECT_EQ(r.persons[0].名, "ハナコ");
    EXPECT_EQ(r.persons[0].本籍1, "大阪");
    EXPECT_EQ(r.persons[0].本籍2, "北区");
    EXPECT_EQ(r.persons[0].備考1, "メモ");
    EXPECT_EQ(r.persons[0].備考2, "");
}

TEST(Import, LinesWithExtraFieldsAreReported) {
    ImportChoices c;
    const auto r =
        importOf("氏名,住所\n山田,東京\n鈴木,大阪,余分\n\n佐藤,札幌,x,y\n", c, {0}, true);
    ASSERT_EQ(r.persons.size(), 3u);
    EXPECT_EQ(r.longLines, (std::vector<int>{3, 5}));
    const std::string m = converter::longLinesMessage(r.longLines);
    EXPECT_NE(m.find("3、5 行目"), std::string::npos) << m;
}

TEST(Import, RefusalsNameWhatAndWhere) {
    ImportChoices c;
    auto message = [&](const std::string& csv, const std::vector<int>& order, bool header) {
        try {
            importOf(csv, c, order, header);
        } catch (const common::FileError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_NE(message("a\nb\n", {}, true).find("割り当てられていません"), std::string::npos);
    EXPECT_NE(message("氏名\n", {0}, true).find("取り込む行がありません"), std::string::npos);
    const std::string m = message("氏名,x\n山田,1\n🍣寿司,2\n", {0}, true);
    EXPECT_NE(m.find("3 行目、1 列目"), std::string::npos) << m;
    std::string many = "氏名\n";
    for (int i = 0; i < 32768; ++i) {
        many += "a\n";
    }
    EXPECT_NE(message(many, {0}, true).find("32767"), std::string::npos);
}

TEST(Import, TheRegisterIsWrittenAfterTheOverwriteQuestion) {
    testing_support::TempDir dir;
    ImportChoices c;
    const auto r = importOf("氏名,住所\n山田,東京\n鈴木,大阪,余分\n", c, {0}, true);
    dir.write("当事者目録.TXT", "the old register");
    dir.write("姓名順.TXT", testing_support::sjisLines({"当事者NO%(1)=, 1 "}));
    testing_support::ScriptedDialogs d;
    // Whatever name is typed, the file is 当事者目録.TXT of that folder: it exists, so
    // the question comes; No writes nothing and shows the dialog again; cancel ends.
    d.answerFile((dir.path() / "other.txt").string());
    d.answerNo();
    d.answerFile(std::nullopt);
    EXPECT_EQ(converter::writeImportedRegister(r, dir.path(), d), converter::JobOutcome::Cancelled);
    EXPECT_EQ(common::readFile(dir.path() / "当事者目録.TXT"), "the old register");
    ASSERT_EQ(d.shown.size(), 3u);
    EXPECT_EQ(d.shown[0].title, "当事者目録の書き込み");
    EXPECT_EQ(d.shown[1].title, (dir.path() / "当事者目録.TXT").string() + "は既に存在します。");
    EXPECT_FALSE(fs::exists(dir.path() / "other.txt"));

    d.answerFile((dir.path() / "other.txt").string());
    d.answerYes();
    EXPECT_EQ(converter::writeImportedRegister(r, dir.path(), d), converter::JobOutcome::Done);
    const auto reg = converter::readPersonRegister(dir.path());
    EXPECT_EQ(reg.header, " 2 V220");
    ASSERT_EQ(reg.count(), 2);
    EXPECT_EQ(reg.persons[1].名, "鈴木");
    // The companion files now describe the two new persons, not the old register's.
    for (const char* companion : {"姓名順.TXT", "創始階層登録.TXT"}) {
        EXPECT_EQ(common::readFile(dir.path() / companion),
                  testing_support::sjisLines({"当事者NO%(1)=, 0 ", "当事者NO%(2)=, 0 "}))
            << companion;
    }
    // The extra field of line 3 is reported once, after the import.
    EXPECT_EQ(d.shown.back().title, "ＣＳＶデータの項目数");
    EXPECT_EQ(d.shown.back().icon, common::Icon::Information);
    EXPECT_TRUE(d.scriptUsedUp());
}

TEST(Import, AMaskedFolderKeepsItsRegister) {
    // Importing here and restoring later would bring the set-aside register back beside
    // files that describe the imported one.
    testing_support::TempDir dir;
    const auto r = importOf("氏名\n山田\n", ImportChoices{}, {0}, true);
    dir.write("当事者目録.TXT", "masked");
    dir.write("9_当事者目録.TXT", "the real register");
    testing_support::ScriptedDialogs d;
    d.answerFile((dir.path() / "当事者目録.TXT").string());
    d.answerYes();
    EXPECT_EQ(converter::writeImportedRegister(r, dir.path(), d), converter::JobOutcome::Stopped);
    EXPECT_NE(d.messages().back().find("個人情報を隠した状態"), std::string::npos);
    EXPECT_EQ(common::readFile(dir.path() / "当事者目録.TXT"), "masked");
}

TEST(Import, MorePersonsThanTheFoldersKankyoAllowsAreRefused) {
    testing_support::TempDir dir;
    const auto r = importOf("氏名\n山田\n鈴木\n佐藤\n", ImportChoices{}, {0}, true);
    dir.write("KANKYO.TXT",
              testing_support::sjisLines({"Mode,1", "最大登録人数,2", "最大婚姻数,5",
                                          "一世帯当りの子供の最大数,5", "一人が持てる最大家族数,5",
                                          "最大世代数,5"}));
    testing_support::ScriptedDialogs d;
    d.answerFile((dir.path() / "当事者目録.TXT").string());
    EXPECT_EQ(converter::writeImportedRegister(r, dir.path(), d), converter::JobOutcome::Stopped);
    EXPECT_NE(d.messages().back().find("最大登録人数（2 人）"), std::string::npos)
        << d.messages().back();
    EXPECT_FALSE(fs::exists(dir.path() / "当事者目録.TXT"));
}

} // namespace
