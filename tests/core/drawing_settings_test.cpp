#include "core/drawing_settings.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::sjisLines;

const core::SettingsLimits kLimits{4, 10, 50, 100};

// The lines of keys 3..32 with the given pair count (state values 1 for 縦書き).
std::vector<std::string> middleKeys(int pairs, const std::string& vertical = " 1 ",
                                    const std::string& horizontal = " 0 ") {
    std::vector<std::string> l = {
        "基準家族, 2 ",    "縦書き," + vertical, "横書き," + horizontal, "FONT_SIZE, 10.5 ",
        "行間, 2 ",        "字間, .5 ",          "ラインの太さ, 3 ",     "最下層部を広げる値, 2 ",
        "漢数字の設定, 2 "};
    for (const char* k : {"本籍欄,",
                          "備考欄１,",
                          "備考欄２,",
                          "住所欄,",
                          "認知欄,",
                          "離婚・養子縁組欄,",
                          "死亡年月日欄,",
                          "生年月日欄,",
                          "本家と同じ名字は省略する,",
                          "子孫以外は女性主体で作図,",
                          "子供の表示を右順にする,",
                          "同一人物を繋ぐ,",
                          "相続関係説明図にする,",
                          "家族No表示,",
                          "当事者No表示,",
                          "系図毎に区切る,",
                          "離婚年月日非表示,",
                          "本籍欄に「本籍」と入れる,",
                          "住所欄に「住所」と入れる,",
                          "氏名を１文字間隔で表示,"}) {
        l.push_back(std::string(k) + " 1 ");
    }
    l.push_back("書き込み時の婚姻数, " + std::to_string(pairs) + " ");
    for (int i = 1; i <= pairs; ++i) {
        l.push_back("\"" + std::to_string(i) + " : (1) 山田, 太郎　＝　登録未設定\", " +
                    std::to_string(i % 2) + " ");
    }
    return l;
}

std::vector<std::string> version(int v, std::vector<std::string> rest) {
    rest.insert(rest.begin(), "リスト３, 9 ");
    rest.insert(rest.begin(), "バージョン, " + std::to_string(v) + " ");
    return rest;
}

void append(std::vector<std::string>& l, std::initializer_list<std::string> more) {
    l.insert(l.end(), more);
}

core::DrawingSettings parse(const std::vector<std::string>& lines, int* v = nullptr) {
    return core::parseDrawingSettings(sjisLines(lines), "作図設定.TXT", kLimits,
                                      core::DrawingSettings{}, v);
}

TEST(SettingsVersions, UnversionedFileReadsOnlyTheOldestKeys) {
    auto lines = middleKeys(2);
    lines.insert(lines.begin(), "リスト３, 2 ");
    lines.push_back("姓と名の間に[・]を付ける, 1 "); // present but not read
    int v = -1;
    const auto s = parse(lines, &v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(s.リスト３, 2);
    EXPECT_EQ(s.基準家族, 2);
    EXPECT_FLOAT_EQ(s.FONT_SIZE, 10.5f);
    EXPECT_FLOAT_EQ(s.字間, 0.5f);
    EXPECT_EQ(s.漢数字の設定, 2);
    EXPECT_TRUE(s.氏名を１文字間隔で表示);
    ASSERT_EQ(s.familyEntries.size(), 2u);
    EXPECT_EQ(s.familyEntries[0].text, "1 : (1) 山田, 太郎　＝　登録未設定");
    EXPECT_EQ(s.familyEntries[0].selected, 1);
    // Later keys keep their start values.
    EXPECT_FALSE(s.姓と名の間に___を付ける);
    EXPECT_EQ(s.テキスト罫線, 1);
    EXPECT_FLOAT_EQ(s.生年月日の字下げ, 5);
}

TEST(SettingsVersions, Version63ReadsTheDeceasedButNotTheLaterKeys) {
    auto lines = version(63, middleKeys(0));
    append(lines,
           {"姓と名の間に[・]を付ける, 1 ", "テキスト罫線, 3 ", "名前の字下げ, 2 ",
            "生年月日の字下げ, 20 ", "被相続人の名前,山田太郎", "被相続人の情報欄を表示する, 1 ",
            "戸籍還付欄を表示する。, 2 ", "登記簿上の住所１,東京都", "登記簿上の住所２,一丁目",
            "登記簿上の住所３,not read"});
    int v = 0;
    const auto s = parse(lines, &v);
    EXPECT_EQ(v, 63);
    EXPECT_TRUE(s.姓と名の間に___を付ける);
    EXPECT_EQ(s.テキスト罫線, 3);
    EXPECT_FLOAT_EQ(s.名前の字下げ, 2);
    EXPECT_FLOAT_EQ(s.生年月日の字下げ, 15); // clamped
    EXPECT_EQ(s.被相続人の名前, "山田太郎");
    EXPECT_TRUE(s.被相続人の情報欄を表示する);
    EXPECT_FALSE(s.戸籍還付欄を表示する); // only 1 ticks
    EXPECT_EQ(s.登記簿上の住所２, "一丁目");
    EXPECT_EQ(s.登記簿上の住所３, "");
    EXPECT_FALSE(s.当事者リンク元に統一);
    EXPECT_EQ(s.リスト３, 4); // 9 is above the 4 families
}

std::vector<std::string> fullFile(const std::string& vertical, const std::string& horizontal,
                                  const std::string& birthIndent, int heirs) {
    auto lines = version(220, middleKeys(3, vertical, horizontal));
    append(lines, {"姓と名の間に[・]を付ける, 0 ",
                   "テキスト罫線, 7 ",
                   "名前の字下げ, 1.5 ",
                   "生年月日の字下げ," + birthIndent,
                   "被相続人の名前,",
                   "被相続人の情報欄を表示する, 0 ",
                   "戸籍還付欄を表示する。, 1 ",
                   "登記簿上の住所１,",
                   "登記簿上の住所２,",
                   "登記簿上の住所３,三",
                   "登記簿上の住所４,四",
                   "当事者リンク元に統一, 1 ",
                   "非婚姻関係を強制表示, 0 ",
                   "一覧図に住所を記載する, 1 ",
                   "家督相続, 0 ",
                   "表題部追加情報,",
                   "この系図では設定の記載を省略, 0 ",
                   "申出人の当事者番号, 4 ",
                   "申出人の住所,横浜",
                   "申出人の氏名,山田一郎",
                   "作成者の住所,",
                   "作成者の氏名,",
                   "作成日付,令和５年",
                   "法定相続情報一覧図にする, 1 ",
                   "相続権確定者の数, " + std::to_string(heirs) + " "});
    for (int i = 1; i <= heirs; ++i) {
        lines.push_back("相続権確定者の当事者番号, " + std::to_string(i * 2) + " ");
    }
    return lines;
}

TEST(SettingsVersions, ListChartBoxFollowsTheWritingDirection) {
    auto vertical = parse(fullFile(" 1 ", " 0 ", " -3 ", 2));
    EXPECT_TRUE(vertical.法定相続情報一覧図にする);
    EXPECT_FALSE(vertical.法定相続情報一覧図_enabled);
    EXPECT_FLOAT_EQ(vertical.生年月日の字下げ, 0);
    EXPECT_EQ(vertical.テキスト罫線, 7); // no radio button is on
    EXPECT_EQ(vertical.heirs(), (std::vector<int>{2, 4}));
    EXPECT_EQ(vertical.申出人の氏名, "山田一郎");

    auto horizontal = parse(fullFile(" 0 ", " 1 ", " 4 ", 0));
    EXPECT_TRUE(horizontal.法定相続情報一覧図にする);
    EXPECT_TRUE(horizontal.法定相続情報一覧図_enabled);
    EXPECT_TRUE(horizontal.heirs().empty());
}

TEST(SettingsFile, CurrentFileRoundTrips) {
    auto lines = fullFile(" 1 ", " 0 ", " 4 ", 3);
    lines[1] = "リスト３, 3 ";
    const auto s = parse(lines);
    // The writer writes what it holds: the pair count follows the family count and every
    // state is 0 or 1.
    const std::string written = core::drawingSettingsBytes(s, 3, 10);
    auto reread =
        core::parseDrawingSettings(written, "作図設定.TXT", kLimits, core::DrawingSettings{});
    reread.法定相続情報一覧図_enabled = s.法定相続情報一覧図_enabled;
    EXPECT_EQ(reread, s);
    EXPECT_EQ(common::decodeCp932(written), common::decodeCp932(sjisLines(lines)));
}

TEST(SettingsFile, WriterClampsAndCountsWhatItWrites) {
    core::DrawingSettings s = core::firstUseSettings(2);
    s.生年月日の字下げ = 22;
    s.setHeir(3, true);
    s.setHeir(7, true); // beyond the 5 persons being written
    const std::string text = common::decodeCp932(core::drawingSettingsBytes(s, 2, 5));
    EXPECT_NE(text.find("生年月日の字下げ, 15 \r\n"), std::string::npos);
    EXPECT_NE(text.find("相続権確定者の数, 1 \r\n相続権確定者の当事者番号, 3 \r\n"),
              std::string::npos);
    EXPECT_NE(text.find("書き込み時の婚姻数, 2 \r\n\"\", 0 \r\n\"\", 0 \r\n"), std::string::npos);
    EXPECT_EQ(text.find("バージョン, 220 \r\nリスト３, 2 \r\n基準家族, 0 \r\n"), 0u);
}

TEST(SettingsFile, CountsBeyondCapacitiesAreRefused) {
    auto tooManyHeirs = fullFile(" 1 ", " 0 ", " 4 ", 1);
    tooManyHeirs.back() = "相続権確定者の当事者番号, 11 ";
    EXPECT_THROW(parse(tooManyHeirs), common::FileError);
    auto lines = version(220, middleKeys(51));
    EXPECT_THROW(parse(lines), common::FileError);
    auto truncated = fullFile(" 1 ", " 0 ", " 4 ", 3);
    truncated.pop_back();
    EXPECT_THROW(parse(truncated), common::FileError);
}

} // namespace
