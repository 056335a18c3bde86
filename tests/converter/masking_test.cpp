#include "converter/masking.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "register_lines.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sys/resource.h>

namespace fs = std::filesystem;
using converter::NameDrawer;
using converter::NameTable;
using converter::PersonRegister;
using converter_test::registerLines;
using converter_test::Row;
using testing_support::ScriptedDialogs;
using testing_support::sjisLines;
using testing_support::TempDir;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

bool isTableEntry(NameTable table, const std::string& name) {
    for (auto e : converter::tableEntries(table)) {
        if (e == name) {
            return true;
        }
    }
    return false;
}

TEST(NameDrawing, CycleSuffixesNeverRepeat) {
    EXPECT_EQ(converter::cycleSuffix(0), "");
    EXPECT_EQ(converter::cycleSuffix(1), "Ａ");
    EXPECT_EQ(converter::cycleSuffix(2), "Ｂ");
    EXPECT_EQ(converter::cycleSuffix(26), "Ｚ");
    EXPECT_EQ(converter::cycleSuffix(27), "ＡＡ");
    EXPECT_EQ(converter::cycleSuffix(52), "ＡＺ");
    EXPECT_EQ(converter::cycleSuffix(53), "ＢＡ");
    std::set<std::string> seen;
    for (int k = 0; k < 2000; ++k) {
        EXPECT_TRUE(seen.insert(converter::cycleSuffix(k)).second) << k;
    }
}

TEST(NameDrawing, EachCycleHandsOutEveryEntryOnce) {
    NameDrawer drawer(12345u);
    std::set<std::string> first;
    for (int i = 0; i < 50; ++i) {
        const std::string name = drawer.draw(NameTable::Surname);
        EXPECT_TRUE(isTableEntry(NameTable::Surname, name)) << name;
        first.insert(name);
    }
    EXPECT_EQ(first.size(), 50u);
    std::set<std::string> second;
    for (int i = 0; i < 50; ++i) {
        const std::string name = drawer.draw(NameTable::Surname);
        ASSERT_GT(name.size(), 3u);
        ASSERT_EQ(name.substr(name.size() - 3), "Ａ") << name;
        EXPECT_TRUE(isTableEntry(NameTable::Surname, name.substr(0, name.size() - 3)));
        second.insert(name);
    }
    EXPECT_EQ(second.size(), 50u);
    // The tables keep their own cycles.
    EXPECT_TRUE(isTableEntry(NameTable::Male, drawer.draw(NameTable::Male)));
}

TEST(NameDrawing, UsedEntriesAreRejectedUntilTheNextCycle) {
    // Entry 0 drawn, then 0 again (rejected) and 3.
    std::vector<int> script = {0, 0, 3};
    std::size_t next = 0;
    NameDrawer drawer([&] { return script.at(next++); });
    EXPECT_EQ(drawer.draw(NameTable::Female), "葵");
    EXPECT_EQ(drawer.draw(NameTable::Female), "結菜");
    EXPECT_EQ(next, 3u);
}

TEST(NameDrawing, AReplacementNeverGivesTheRealNameBack) {
    std::vector<int> script = {0, 1};
    std::size_t next = 0;
    NameDrawer drawer([&] { return script.at(next++); });
    EXPECT_EQ(drawer.draw(NameTable::Surname, "佐藤"), "鈴木"); // 佐藤 passed over
    // Entry 0 stays free for the next draw.
    script = {0};
    next = 0;
    EXPECT_EQ(drawer.draw(NameTable::Surname), "佐藤");

    // When the last free entry of a cycle is the real name, the cycle ends without it.
    NameDrawer full([&] { return script.at(next++); });
    script.clear();
    for (int i = 1; i < 50; ++i) {
        script.push_back(i);
    }
    script.push_back(0); // the last free entry: 佐藤
    script.push_back(0); // cycle 1
    next = 0;
    for (int i = 1; i < 50; ++i) {
        full.draw(NameTable::Surname);
    }
    EXPECT_EQ(full.draw(NameTable::Surname, "佐藤"), "佐藤Ａ");

    // Whatever the seed, a masked person keeps neither real name.
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        NameDrawer d(seed);
        converter::Masker masker(d);
        converter::当事者 p;
        p.男女 = 1;
        p.姓 = "山田";
        p.名 = "翔";
        masker.maskPerson(p);
        ASSERT_NE(p.姓, "山田") << seed;
        ASSERT_NE(p.名, "翔") << seed;
    }
}

TEST(NameDrawing, TheSameSeedGivesTheSameNames) {
    NameDrawer a(7u);
    NameDrawer b(7u);
    for (int i = 0; i < 120; ++i) {
        ASSERT_EQ(a.draw(NameTable::Male), b.draw(NameTable::Male));
    }
}

PersonRegister registerOf(const std::vector<Row>& rows, const std::string& tag = "V220") {
    return converter::parsePersonRegister(sjisLines(registerLines(rows, tag)), "当事者目録.TXT");
}

TEST(Masking, SurnamesMapConsistentlyAndFieldsFollowTheNewName) {
    PersonRegister reg = registerOf({
        {1, "山田", "太郎", "東京都", "", "長野県", "二番地", "昭和５年", "令和４年", "メモ", "二"},
        {2, "山田", "花子", "東京都", "一丁目", "", "", "", "", "", ""},
        {2, "鈴木", "", "", "", "", "", "", "", "", ""},
        {1, "", "一郎", "大阪", "", "", "", "", "", "", ""},
    });
    reg.persons[1].姓名順 = 1;
    NameDrawer drawer(99u);
    converter::Masker masker(drawer);
    const PersonRegister m = masker.mask(reg);

    const auto& p1 = m.persons[0];
    const auto& p2 = m.persons[1];
    EXPECT_EQ(p1.姓, p2.姓);
    EXPECT_TRUE(isTableEntry(NameTable::Surname, p1.姓));
    EXPECT_NE(m.persons[2].姓, p1.姓);
    EXPECT_TRUE(isTableEntry(NameTable::Male, p1.名)) << p1.名;
    EXPECT_TRUE(isTableEntry(NameTable::Female, p2.名)) << p2.名;
    EXPECT_EQ(m.persons[2].名, ""); // empty names stay empty
    EXPECT_EQ(m.persons[3].姓, "");

    EXPECT_EQ(p1.住所1, p1.姓 + p1.名 + "の住所");
    EXPECT_EQ(p1.住所2, "");
    EXPECT_EQ(p1.本籍1, p1.姓 + p1.名 + "の本籍");
    EXPECT_EQ(p1.本籍2, p1.姓 + p1.名 + "の本籍２");
    EXPECT_EQ(p1.生年月日, "昭和５年");
    EXPECT_EQ(p1.死亡年月日, "令和４年");
    EXPECT_EQ(p1.備考1, "");
    EXPECT_EQ(p1.備考2, "");
    // Given name first for person 2.
    EXPECT_EQ(p2.住所2, p2.名 + p2.姓 + "の住所２");
    EXPECT_EQ(p2.本籍1, "");
    EXPECT_EQ(m.persons[3].住所1, m.persons[3].名 + "の住所");
    // Numbers and header are untouched.
    EXPECT_EQ(m.header, reg.header);
    EXPECT_EQ(p2.男女, 2);
    EXPECT_EQ(p2.C_当事者NO, 2);
}

TEST(Masking, SurnamesBeyondFiftyGetTheNextCycleAndNeverRepeat) {
    std::vector<Row> rows;
    for (int i = 0; i < 120; ++i) {
        // Two persons per real surname.
        const std::string real = "姓" + std::to_string(i / 2);
        rows.push_back({1, real, "名"});
    }
    const PersonRegister reg = registerOf(rows);
    NameDrawer drawer(3u);
    converter::Masker masker(drawer);
    const PersonRegister m = masker.mask(reg);
    std::set<std::string> replacements;
    for (int i = 0; i < 120; i += 2) {
        EXPECT_EQ(m.persons[i].姓, m.persons[i + 1].姓);
        EXPECT_TRUE(replacements.insert(m.persons[i].姓).second) << m.persons[i].姓;
        const std::string& s = m.persons[i].姓;
        if (i / 2 < 50) {
            EXPECT_TRUE(isTableEntry(NameTable::Surname, s)) << s;
        } else {
            // The 51st to 60th distinct surnames: a table entry and "Ａ".
            ASSERT_EQ(s.substr(s.size() - 3), "Ａ") << s;
            EXPECT_TRUE(isTableEntry(NameTable::Surname, s.substr(0, s.size() - 3))) << s;
        }
    }
}

TEST(Masking, OldRegisterIsWrittenBackWithItsKeys) {
    const PersonRegister reg =
        registerOf({{1, "山田", "太郎", "東京都", "", "長野県", "", "昭和", "", "", ""}}, "");
    NameDrawer drawer(5u);
    converter::Masker masker(drawer);
    const std::string text = common::decodeCp932(converter::personRegisterBytes(masker.mask(reg)));
    EXPECT_EQ(text.find("最大当事者数%=, 1 \r\n"), 0u) << text;
    EXPECT_NE(text.find("\r\n住所$(1)=,"), std::string::npos) << text;
    EXPECT_NE(text.find("の本籍\r\n生年月日$(1)=,昭和\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("住所2$("), std::string::npos);
    EXPECT_EQ(text.find("C_当事者NO%("), std::string::npos);
}

TEST(SettingsMasking, NamesAndAddressesAreHiddenAndTheRestKept) {
    const std::string original = common::readFile(kSamples / "作図設定.TXT");
    const std::string masked = common::decodeCp932(converter::maskedSettingsBytes(original));
    const std::string text = common::decodeCp932(original);
    // Family list texts.
    EXPECT_NE(masked.find("書き込み時の婚姻数, 8 \r\n\"1 : ＊＊＊＊＊＊＊＊＊＊\", 0 \r\n"
                          "\"2 : ＊＊＊＊＊＊＊＊＊＊\", 0 \r\n"),
              std::string::npos);
    EXPECT_NE(masked.find("\"8 : ＊＊＊＊＊＊＊＊＊＊\", 0 \r\n"), std::string::npos);
    EXPECT_EQ(masked.find("山田"), std::string::npos) << masked;
    // Headings: non-empty ones hidden, empty ones kept empty.
    EXPECT_NE(masked.find("\r\n被相続人の名前,＊＊＊＊\r\n"), std::string::npos);
    EXPECT_NE(masked.find("\r\n登記簿上の住所１,＊＊＊＊\r\n"), std::string::npos);
    EXPECT_NE(masked.find("\r\n登記簿上の住所２,\r\n"), std::string::npos);
    EXPECT_NE(masked.find("\r\n作成者の氏名,＊＊＊＊\r\n"), std::string::npos);
    // The date of making and every setting stay.
    EXPECT_NE(masked.find("\r\n作成日付,令和５年１月２０日\r\n"), std::string::npos) << masked;
    EXPECT_EQ(masked.substr(0, masked.find("書き込み時の婚姻数")),
              text.substr(0, text.find("書き込み時の婚姻数")));
    EXPECT_NE(masked.find("相続権確定者の当事者番号, 13 \r\n"), std::string::npos);
}

TEST(SettingsMasking, AShortFamilyListIsRefused) {
    const std::string bytes =
        sjisLines({"バージョン, 220 ", "書き込み時の婚姻数, 3 ", "\"a\", 1 "});
    try {
        converter::maskedSettingsBytes(bytes);
        ADD_FAILURE() << "refusal expected";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("作図設定.TXT"), std::string::npos) << e.what();
    }
    // A count that is not Shift-JIS, or one larger than the file can hold, is refused
    // the same way (and at once).
    for (const std::string& count : {std::string("\x81"), std::string(" 2147483647 ")}) {
        try {
            converter::maskedSettingsBytes(common::encodeCp932("書き込み時の婚姻数,") + count +
                                           "\r\n");
            ADD_FAILURE() << "refusal expected";
        } catch (const common::FileError& e) {
            EXPECT_NE(std::string(e.what()).find("作図設定.TXT」の 1 行目"), std::string::npos)
                << e.what();
        }
    }
}

// A copy of the sample folder.
class MaskFolder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& e : fs::directory_iterator(kSamples)) {
            fs::copy_file(e.path(), dir_.path() / e.path().filename());
        }
    }
    std::string file(const char* name) const { return common::readFile(dir_.path() / name); }
    fs::path path(const char* name) const { return dir_.path() / name; }

    TempDir dir_;
    ScriptedDialogs dialogs_;
};

TEST_F(MaskFolder, MaskingThenRestoringGivesBackTheSameFiles) {
    const std::string persons = file("当事者目録.TXT");
    const std::string settings = file("作図設定.TXT");
    const std::string order = file("姓名順.TXT");
    NameDrawer drawer(42u);

    ASSERT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Done)
        << testing::PrintToString(dialogs_.messages());
    EXPECT_EQ(file("9_当事者目録.TXT"), persons);
    EXPECT_EQ(file("9_作図設定.TXT"), settings);
    EXPECT_NE(file("当事者目録.TXT"), persons);
    EXPECT_EQ(file("姓名順.TXT"), order);
    // The masked register is a readable register of the same size with other names.
    const PersonRegister masked = converter::readPersonRegister(dir_.path());
    ASSERT_EQ(masked.count(), 20);
    EXPECT_NE(masked.persons[0].姓, "山田");
    EXPECT_EQ(masked.persons[0].実父NO, 14);
    EXPECT_EQ(common::decodeCp932(file("作図設定.TXT")).find("山田"), std::string::npos);

    // Masking twice is refused and changes nothing.
    const std::string maskedBytes = file("当事者目録.TXT");
    EXPECT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Stopped);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.messages()[0],
              "既に変換済です / 既に個人情報を変換した当事者目録があるので、処理を中止します。");
    EXPECT_EQ(dialogs_.shown[0].icon, common::Icon::Stop);
    EXPECT_EQ(file("当事者目録.TXT"), maskedBytes);
    EXPECT_EQ(file("9_当事者目録.TXT"), persons);

    ASSERT_EQ(converter::restoreFolder(dir_.path(), dialogs_), converter::JobOutcome::Done);
    EXPECT_EQ(file("当事者目録.TXT"), persons);
    EXPECT_EQ(file("作図設定.TXT"), settings);
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));
    EXPECT_FALSE(fs::exists(path("9_作図設定.TXT")));

    // Restoring an unmasked folder is refused.
    EXPECT_EQ(converter::restoreFolder(dir_.path(), dialogs_), converter::JobOutcome::Stopped);
    EXPECT_EQ(dialogs_.messages().back(), "この当事者目録はオリジナルです / "
                                          "元に戻す当事者目録が存在しないので、処理を中止します。");
    EXPECT_EQ(file("当事者目録.TXT"), persons);
}

TEST_F(MaskFolder, TheJobWritesWhatTheMaskerMakesOfTheRegister) {
    // The job goes through the register record by record; the result is the register read
    // whole, masked with the same draws and written.
    NameDrawer forModel(77u);
    converter::Masker masker(forModel);
    const std::string expected =
        converter::personRegisterBytes(masker.mask(converter::readPersonRegister(dir_.path())));
    NameDrawer forJob(77u);
    ASSERT_EQ(converter::maskFolder(dir_.path(), dialogs_, forJob), converter::JobOutcome::Done);
    EXPECT_EQ(file("当事者目録.TXT"), expected);
}

TEST_F(MaskFolder, AFolderWithoutSettingsIsMaskedAlone) {
    fs::remove(path("作図設定.TXT"));
    NameDrawer drawer(1u);
    ASSERT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Done);
    EXPECT_FALSE(fs::exists(path("作図設定.TXT")));
    EXPECT_FALSE(fs::exists(path("9_作図設定.TXT")));
    ASSERT_EQ(converter::restoreFolder(dir_.path(), dialogs_), converter::JobOutcome::Done);
    EXPECT_EQ(file("当事者目録.TXT"), common::readFile(kSamples / "当事者目録.TXT"));
}

TEST_F(MaskFolder, UnreadableFilesStopTheJobBeforeAnythingMoves) {
    const std::string persons = file("当事者目録.TXT");
    NameDrawer drawer(1u);

    // A damaged settings file.
    dir_.write("作図設定.TXT", sjisLines({"バージョン, 220 ", "書き込み時の婚姻数, 5 "}));
    EXPECT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Stopped);
    EXPECT_NE(dialogs_.messages().back().find("作図設定.TXT"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));
    EXPECT_EQ(file("当事者目録.TXT"), persons);

    // A damaged register.
    dir_.write("当事者目録.TXT", persons.substr(0, persons.size() / 2));
    EXPECT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Stopped);
    EXPECT_EQ(dialogs_.shown.back().title, "当事者目録を読み込めません");
    EXPECT_NE(dialogs_.shown.back().text.find("行目"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));

    // A value that could not be written back unquoted (it was quoted in the file).
    auto lines = registerLines({{1, "山田", "太郎"}});
    lines[14] = "生年月日$(1)=,\"昭和５年,春\"";
    dir_.write("当事者目録.TXT", sjisLines(lines));
    dir_.write("作図設定.TXT", common::readFile(kSamples / "作図設定.TXT"));
    EXPECT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Stopped);
    EXPECT_EQ(dialogs_.shown.back().title, "個人情報を隠せません");
    EXPECT_NE(dialogs_.shown.back().text.find("生年月日$(1)"), std::string::npos)
        << dialogs_.shown.back().text;
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));
    EXPECT_EQ(file("当事者目録.TXT"), sjisLines(lines));

    // A set-aside settings file without its register is not overwritten.
    dir_.write("当事者目録.TXT", persons);
    dir_.write("作図設定.TXT", common::readFile(kSamples / "作図設定.TXT"));
    dir_.write("9_作図設定.TXT", "older");
    EXPECT_EQ(converter::maskFolder(dir_.path(), dialogs_, drawer), converter::JobOutcome::Stopped);
    EXPECT_EQ(file("9_作図設定.TXT"), "older");
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));
}

TEST_F(MaskFolder, AWriteFailurePutsTheFilesBack) {
    const std::string persons = file("当事者目録.TXT");
    const std::string settings = file("作図設定.TXT");
    NameDrawer drawer(1u);
    // As on a full disk: no file larger than 1 KiB can be written.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto outcome = converter::maskFolder(dir_.path(), dialogs_, drawer);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(outcome, converter::JobOutcome::Stopped);
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_NE(dialogs_.shown.back().text.find("どのファイルも元のままです"), std::string::npos)
        << dialogs_.shown.back().text;
    EXPECT_EQ(file("当事者目録.TXT"), persons);
    EXPECT_EQ(file("作図設定.TXT"), settings);
    EXPECT_FALSE(fs::exists(path("9_当事者目録.TXT")));
    EXPECT_FALSE(fs::exists(path("9_作図設定.TXT")));
}

} // namespace
