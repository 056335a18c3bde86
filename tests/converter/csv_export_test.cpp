#include "converter/csv_export.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "register_lines.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using converter::ExportOptions;
using converter::PersonRegister;
using converter_test::registerLines;
using converter_test::Row;
using testing_support::sjisLines;

namespace {

PersonRegister registerOf(const std::vector<Row>& rows, const std::string& tag = "V220") {
    return converter::parsePersonRegister(sjisLines(registerLines(rows, tag)), "当事者目録.TXT");
}

std::string csvText(const PersonRegister& reg, const ExportOptions& o) {
    return common::decodeCp932(converter::csvBytes(reg, o));
}

TEST(NameJoining, TheSeparatorFollowsTheNameRule) {
    converter::当事者 p;
    struct Case {
        const char* 姓;
        const char* 名;
        int order;
        const char* joined;
    } cases[] = {
        {"スミス", "ジョン", 0, "スミス　ジョン"}, // katakana meets katakana
        {"山田", "太郎", 0, "山田太郎"},           // kanji: no separator
        {"Ｓｍｉｔｈ", "Ｊｏｈｎ", 0, "Ｓｍｉｔｈ　Ｊｏｈｎ"},
        {"Smith", "John", 1, "John　Smith"}, // given name first, Latin
        {"山田", "ハナ", 0, "山田ハナ"},     // kanji before katakana: none
        {"", "太郎", 0, "太郎"},
    };
    for (const auto& c : cases) {
        p.姓 = c.姓;
        p.名 = c.名;
        p.姓名順 = c.order;
        EXPECT_EQ(converter::joinedName(p), c.joined) << c.姓 << c.名;
    }
}

TEST(CsvExport, CurrentRegisterWithEveryJoin) {
    PersonRegister reg = registerOf({
        {1, "山田", "太郎", "東京都世田谷区", "北沢１２", "長野県", "松本", "昭和５年", "令和４年",
         "メモ１", "メモ２"},
        {2, "スミス", "アン", "", "", "", "", "", "", "", ""},
    });
    ExportOptions o;
    o.header = true;
    o.joinName = true;
    o.joinAddress = true; // CHECK13
    o.joinDomicile = true;
    o.joinNote = true;
    EXPECT_EQ(csvText(reg, o),
              "\"性別\",\"氏名\",\"住所\",\"本籍\",\"生年月日\",\"死亡年月日\",\"備考\"\r\n"
              "\"男\",\"山田太郎\",\"東京都世田谷区北沢１２\",\"長野県松本\",\"昭和５年\","
              "\"令和４年\",\"メモ１メモ２\"\r\n"
              "\"女\",\"スミス　アン\",\"\",\"\",\"\",\"\",\"\"\r\n");

    ExportOptions plain; // two columns each, no header, sex 男・女
    EXPECT_EQ(csvText(reg, plain).substr(0, csvText(reg, plain).find("\r\n")),
              "\"男\",\"山田\",\"太郎\",\"東京都世田谷区\",\"北沢１２\",\"長野県\",\"松本\","
              "\"昭和５年\",\"令和４年\",\"メモ１\",\"メモ２\"");
    plain.header = true;
    plain.sex = 0;
    const std::string text = csvText(reg, plain);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "\"姓\",\"名\",\"住所１\",\"住所２\",\"本籍１\",\"本籍２\",\"生年月日\","
              "\"死亡年月日\",\"備考１\",\"備考２\"");
}

TEST(CsvExport, SexNotations) {
    PersonRegister reg = registerOf({{1, "甲"}, {2, "乙"}, {0, "丙"}});
    const char* expected[][3] = {
        {"男", "女", "男"}, {"M", "F", "M"}, {"Yes", "", "Yes"}, {"", "Yes", ""}};
    for (int n = 1; n <= 4; ++n) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(converter::sexText(reg.persons[static_cast<std::size_t>(i)], n),
                      expected[n - 1][i])
                << "notation " << n << " person " << i;
        }
    }
}

TEST(CsvExport, OldRegisterSplitsLongAddressesAtTheLimit) {
    PersonRegister reg = registerOf(
        {{1, "山田", "太郎", "東京都世田谷区北沢三丁目１２", "", "長野県", "", "", "", "", ""},
         {2, "山田", "花子", "東京都", "", "長野県松本市", "", "", "", "", ""}},
        "");
    ASSERT_EQ(reg.largest住所, 14u);
    ExportOptions o;
    o.header = true;
    o.sex = 0;
    o.addressLimit = 10;
    o.domicileLimit = 0; // the largest count: no split
    EXPECT_EQ(csvText(reg, o),
              "\"姓\",\"名\",\"住所１\",\"住所２\",\"本籍\",\"生年月日\",\"死亡年月日\",\"備考１\","
              "\"備考２\"\r\n"
              "\"山田\",\"太郎\",\"東京都世田谷区北沢三\",\"丁目１２\",\"長野県\",\"\",\"\","
              "\"\",\"\"\r\n"
              "\"山田\",\"花子\",\"東京都\",\"\",\"長野県松本市\",\"\",\"\",\"\",\"\"\r\n");
    o.addressLimit = 14; // not below the largest count: one column
    const std::string text = csvText(reg, o);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "\"姓\",\"名\",\"住所\",\"本籍\",\"生年月日\",\"死亡年月日\",\"備考１\",\"備考２\"");
    o.addressLimit = -1;
    EXPECT_THROW(converter::csvBytes(reg, o), common::FileError);
}

TEST(CsvExport, QuotationMarksInsideAFieldAreDoubled) {
    PersonRegister reg = registerOf({{1, "山田", "太\"郎"}});
    ExportOptions o;
    o.sex = 0;
    const std::string text = csvText(reg, o);
    EXPECT_EQ(text.rfind("\"山田\",\"太\"\"郎\",\"\",", 0), 0u) << text;
}

TEST(CsvExport, ExportFromTheFolderMatchesTheRegisterReadWhole) {
    testing_support::TempDir dir;
    auto check = [&](const ExportOptions& o) {
        long persons = 0;
        EXPECT_EQ(converter::csvBytesOfFolder(dir.path(), o, &persons),
                  converter::csvBytes(converter::readPersonRegister(dir.path()), o));
        EXPECT_EQ(persons, converter::readPersonRegister(dir.path()).count());
    };
    for (const auto& e : fs::directory_iterator(TSUBAKI_SAMPLES_DIR)) {
        fs::copy_file(e.path(), dir.path() / e.path().filename());
    }
    ExportOptions o;
    o.header = true;
    o.joinName = true; // uses 姓名順
    check(o);
    dir.write("当事者目録.TXT",
              sjisLines(registerLines({{1, "スミス", "ジョン", "東京都世田谷区北沢三丁目１２"},
                                       {2, "山田", "花子", "東京都", "", "長野県"}},
                                      "")));
    dir.write("姓名順.TXT", sjisLines({"当事者NO%(1)=, 1 ", "当事者NO%(2)=, 0 "}));
    check(o);
    o.addressLimit = 5;
    check(o);
}

TEST(CsvExport, LimitsAreTypedInEitherWidth) {
    long v = -1;
    EXPECT_TRUE(converter::parseLimit("10", v));
    EXPECT_EQ(v, 10);
    EXPECT_TRUE(converter::parseLimit("　１２ ", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(converter::parseLimit("", v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(converter::parseLimit("-3", v));
    EXPECT_FALSE(converter::parseLimit("十", v));
    EXPECT_FALSE(converter::parseLimit("1.5", v));
}

TEST(CsvExport, TheSaveDialogAsksBeforeOverwriting) {
    testing_support::TempDir dir;
    const PersonRegister reg = registerOf({{1, "山田", "太郎"}});
    ExportOptions o;
    testing_support::ScriptedDialogs d;

    // Cancel writes nothing.
    d.answerFile(std::nullopt);
    EXPECT_EQ(converter::exportCsv(reg, dir.path(), o, d), converter::JobOutcome::Cancelled);
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_EQ(d.shown[0].title, "ＣＳＶファイルの書き込み");
    EXPECT_EQ(d.shown[0].text, "当事者データ.TXT");

    // A name without extension gets ".TXT"; an existing file asks; No asks for a name
    // again; Yes replaces it.
    dir.write("out.TXT", "old");
    d.answerFile((dir.path() / "out").string());
    d.answerNo();
    d.answerFile((dir.path() / "out").string());
    d.answerYes();
    EXPECT_EQ(converter::exportCsv(reg, dir.path(), o, d), converter::JobOutcome::Done);
    ASSERT_EQ(d.messages().size(), 2u);
    EXPECT_EQ(d.messages()[0],
              (dir.path() / "out.TXT").string() + "は既に存在します。 / 上書きしますか？");
    EXPECT_EQ(common::readFile(dir.path() / "out.TXT"), converter::csvBytes(reg, o));
    EXPECT_TRUE(d.scriptUsedUp());
}

} // namespace
