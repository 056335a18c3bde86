// Export then import gives back the registers field for field and byte for byte: the
// samples, a generated family of 1,000 persons and a register with every odd value the
// user tags must carry; and the import job's questions, backup and report.
#include "converter/gedcom_export.h"
#include "converter/gedcom_import.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "converter/files.h"
#include "register_generator.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using converter::GedcomVersion;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

std::string fileOr(const fs::path& p) {
    return fs::exists(p) ? common::readFile(p) : std::string("(none)");
}

// The registers of `folder` after going out as GEDCOM of `version` and coming back.
void expectRoundTrip(const fs::path& folder, GedcomVersion version) {
    const auto source = converter::readGedcomSource(folder);
    const std::string text = converter::gedcomText(source, version);
    const auto back = converter::importGedcom(text, "out.ged");
    ASSERT_TRUE(back.report.errors.empty()) << back.report.errors[0].message();
    EXPECT_TRUE(back.report.notices.empty()) << back.report.notices[0].message();
    EXPECT_EQ(back.report.unplacedLine(), "");
    EXPECT_EQ(back.registers.persons.persons, source.persons.persons);
    EXPECT_EQ(back.registers.families, source.families);
    const auto files = converter::registerFiles(back.registers);
    EXPECT_EQ(files.persons, common::readFile(folder / converter::kPersonFile));
    EXPECT_EQ(files.founders, fileOr(folder / converter::kFounderFile));
    EXPECT_EQ(files.nameOrder, fileOr(folder / converter::kNameOrderFile));
    EXPECT_EQ(files.families, fileOr(folder / converter::kFamilyFile));
}

TEST(GedcomRoundTrip, TheSamplesByteForByte) {
    expectRoundTrip(kSamples, GedcomVersion::V551);
    expectRoundTrip(kSamples, GedcomVersion::V70);
}

TEST(GedcomRoundTrip, AGeneratedFamilyOfAThousand) {
    TempDir dir;
    bench::GeneratorOptions o;
    o.persons = 1000;
    o.seed = 7;
    const auto data = bench::writeGeneratedFolder(dir.path(), o);
    ASSERT_EQ(data.reg.personCount(), 1000);
    ASSERT_GT(data.reg.familyCount(), 200);
    // The generated folder has no founder generations: written, they are all 0.
    common::replaceFile(dir.path() / converter::kFounderFile,
                        converter::companionBytes(std::vector<long>(1000, 0)));
    expectRoundTrip(dir.path(), GedcomVersion::V551);
    expectRoundTrip(dir.path(), GedcomVersion::V70);
}

converter::当事者 person(long n, std::string 姓, std::string 名) {
    converter::当事者 p;
    p.当事者NO = n;
    p.C_当事者NO = n;
    p.男女 = 1;
    p.姓 = std::move(姓);
    p.名 = std::move(名);
    return p;
}

// Values an editor leaves in a register that GEDCOM has no place for.
converter::GedcomSource oddRegisters() {
    converter::GedcomSource s;
    s.persons.current = true;
    s.persons.version = 220;
    std::string longNote;
    for (int k = 0; k < 3; ++k) {
        longNote += std::string(197, 'a') + " あ い" + std::string(40, 'b') + "漢字 ";
    }
    longNote += "end";
    auto a = person(1, "山田", "太郎");
    a.男女 = 0;
    a.姓名順 = 1;
    a.住所2 = "二行目だけ";
    a.本籍2 = "本籍の二行目";
    a.備考1 = "@at the start and@@inside";
    a.備考2 = longNote;
    a.生年月日 = "昭和３１年(1956)３月１２日"; // parentheses in a phrase
    a.死亡年月日 = "令和４年１０月５日";
    a.当姓 = 1;
    auto b = person(7, "", ""); // a number that is not its place, no name
    b.男女 = 3;
    b.C_当事者NO = 999; // a link to no person
    b.子孫_F = 2;
    b.子孫_FL = 1;
    b.実父NO = 1;
    b.実母NO = 99;
    b.父母家族NO = 5;
    b.生年月日 = "不詳";
    // A 5.5.1 line holds 200 bytes of value here: the cut falls right after "あ ", and must
    // neither split the character nor leave the space at the end of a line.
    b.住所1 = std::string(196, 'a') + "あ " + std::string(30, 'b');
    auto c = person(3, "佐藤", "花子");
    c.男女 = 2;
    c.C_当事者NO = 1; // the same person as 1
    c.名 = "花子/はなこ";
    c.姓 = "佐/藤";
    s.persons.persons = {a, b, c};
    s.persons.header = " 3 V220";
    s.founders = {0, 4, -1};

    converter::家族 f;
    f.婚姻NO = 9;
    f.夫婦確定_f = 0;
    f.形態L3 = 1;
    f.夫NO = 0;
    f.妻NO = 42; // no such person
    f.夫肩書 = "";
    f.妻肩書 = "後妻";
    f.配偶者非表示_F = 1;
    f.配偶者姓F = 1;
    f.系統_F = 2;
    f.離婚_F = 2; // a flag the family form never sets: no date kept
    f.子 = {{3, "養女", 1, "平成２年４月１日", ""},
            {0, "", 1, "平成３年(推定)", ""},
            {77, "子", 2, "", "昭和４５年５月２０日"},
            {3, "", 1, "平成４年１月１日", ""},
            {2, "子", 3, "", ""},
            {2, "", 2, "", ""}};
    converter::家族 g;
    g.婚姻NO = 2;
    g.夫婦確定_f = 1;
    g.形態 = 1;
    g.夫NO = 1;
    g.妻NO = 1;
    g.夫肩書 = "夫";
    g.妻肩書 = "妻";
    g.離婚_F = 1;
    s.families = {f, g};
    return s;
}

TEST(GedcomRoundTrip, EveryValueTheUserTagsCarry) {
    const auto source = oddRegisters();
    for (const auto version : {GedcomVersion::V551, GedcomVersion::V70}) {
        const std::string text = converter::gedcomText(source, version);
        const auto back = converter::importGedcom(text, "odd.ged");
        ASSERT_TRUE(back.report.errors.empty()) << back.report.errors[0].message();
        EXPECT_TRUE(back.report.notices.empty()) << back.report.notices[0].message();
        EXPECT_EQ(back.registers.persons.persons, source.persons.persons);
        EXPECT_EQ(back.registers.founders, source.founders);
        EXPECT_EQ(back.registers.families, source.families);
        EXPECT_EQ(back.registers.persons.header, source.persons.header);
        EXPECT_EQ(converter::registerFiles(back.registers).persons,
                  converter::personRegisterBytes(source.persons));
        if (version == GedcomVersion::V551) {
            // Every line within 255 characters, cut between characters, never beside a space.
            std::size_t start = 0;
            while (start < text.size()) {
                const std::size_t end = text.find("\r\n", start);
                const std::string line = text.substr(start, end - start);
                EXPECT_LE(common::utf8ToUtf32(line).size(), 255u) << line;
                if (line.find(" CONC ") != std::string::npos) {
                    const std::string value = line.substr(line.find(" CONC ") + 6);
                    EXPECT_NE(value.front(), ' ');
                    EXPECT_NE(text[start - 3], ' '); // the end of the line before
                }
                start = end + 2;
            }
        }
    }
}

TEST(GedcomRoundTrip, AnOldRegisterStaysOld) {
    converter::GedcomSource s;
    s.persons.current = false;
    s.persons.header = " 2 ";
    auto a = person(1, "山田", "太郎");
    a.住所1 = "東京都";
    s.persons.persons = {a, person(2, "山田", "花子")};
    s.founders = {0, 0};
    const auto back = converter::importGedcom(converter::gedcomText(s, GedcomVersion::V551), "x");
    EXPECT_FALSE(back.registers.persons.current);
    EXPECT_EQ(converter::registerFiles(back.registers).persons,
              converter::personRegisterBytes(s.persons));
    // A file that says OLD but holds a second address line is written in the current layout.
    std::string text = converter::gedcomText(s, GedcomVersion::V551);
    text.insert(text.find("2 ADDR 東京都\r\n") + std::string("2 ADDR 東京都\r\n").size(),
                "3 CONT 二行目\r\n");
    const auto current = converter::importGedcom(text, "x");
    EXPECT_TRUE(current.registers.persons.current);
    EXPECT_EQ(current.registers.persons.persons[0].住所2, "二行目");
    ASSERT_EQ(current.report.notices.size(), 1u);
}

// --- the job ------------------------------------------------------------------------------

class GedcomImportJob : public ::testing::Test {
protected:
    void SetUp() override {
        gedcom_ = dir_.path() / "family.ged";
        common::replaceFile(gedcom_, converter::gedcomText(converter::readGedcomSource(kSamples),
                                                           GedcomVersion::V551));
        target_ = dir_.path() / "data";
        fs::create_directories(target_);
    }
    void copySamplesToTarget() {
        for (const auto& e : fs::directory_iterator(kSamples)) {
            fs::copy_file(e.path(), target_ / e.path().filename());
        }
    }
    converter::JobOutcome run() {
        auto imported = converter::readGedcomImport(gedcom_, dialogs_);
        if (!imported) {
            return converter::JobOutcome::Stopped;
        }
        return converter::writeGedcomImport(*imported, dir_.path(), dir_.path() / "no-KANKYO.TXT",
                                            dialogs_);
    }

    TempDir dir_;
    fs::path gedcom_;
    fs::path target_;
    ScriptedDialogs dialogs_;
};

TEST_F(GedcomImportJob, ReplacesAFolderAfterAskingAndKeepsItsFilesInABackup) {
    copySamplesToTarget();
    // The folder's own registers differ from what comes in.
    common::replaceFile(target_ / "当事者目録.TXT",
                        common::readFile(kSamples / "当事者目録.TXT") + "");
    const std::string settings = common::readFile(target_ / "作図設定.TXT");
    common::replaceFile(target_ / "家族目録.TXT", "an older family register");
    dialogs_.answerFile((target_ / "whatever.TXT").string());
    dialogs_.answerYes();
    ASSERT_EQ(run(), converter::JobOutcome::Done);
    EXPECT_TRUE(dialogs_.scriptUsedUp());
    const auto messages = dialogs_.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], (target_ / "当事者目録.TXT").string() +
                               "は既に存在します。 / 上書きしますか？\n" +
                               std::string(converter::kGedcomReplacedNote));
    EXPECT_NE(messages[1].find("「family.ged」から 20 人、8 家族を取り込みました"),
              std::string::npos)
        << messages[1];
    EXPECT_NE(messages[1].find("バックアップ"), std::string::npos);
    for (const char* name : {"当事者目録.TXT", "創始階層登録.TXT", "姓名順.TXT", "家族目録.TXT"}) {
        EXPECT_EQ(common::readFile(target_ / name), common::readFile(kSamples / name)) << name;
    }
    EXPECT_FALSE(fs::exists(target_ / "作図設定.TXT"));
    EXPECT_FALSE(fs::exists(target_ / "whatever.TXT"));
    // The backup holds the files as they were.
    std::vector<fs::path> backups;
    for (const auto& e : fs::directory_iterator(target_ / "BACKUP")) {
        backups.push_back(e.path());
    }
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(common::readFile(backups[0] / "家族目録.TXT"), "an older family register");
    EXPECT_EQ(common::readFile(backups[0] / "作図設定.TXT"), settings);
}

TEST_F(GedcomImportJob, DecliningOrCancellingWritesNothing) {
    copySamplesToTarget();
    common::replaceFile(target_ / "家族目録.TXT", "kept");
    dialogs_.answerFile((target_ / "当事者目録.TXT").string());
    dialogs_.answerNo();               // asked again ...
    dialogs_.answerFile(std::nullopt); // ... and cancelled
    EXPECT_EQ(run(), converter::JobOutcome::Cancelled);
    EXPECT_EQ(common::readFile(target_ / "家族目録.TXT"), "kept");
    EXPECT_FALSE(fs::exists(target_ / "BACKUP"));
}

TEST_F(GedcomImportJob, AMaskedFolderIsNotImportedInto) {
    copySamplesToTarget();
    const std::string persons = common::readFile(target_ / "当事者目録.TXT");
    common::replaceFile(target_ / "9_当事者目録.TXT", persons);
    dialogs_.answerFile((target_ / "当事者目録.TXT").string());
    dialogs_.answerYes();
    EXPECT_EQ(run(), converter::JobOutcome::Stopped);
    EXPECT_NE(dialogs_.messages().back().find("個人情報を隠した状態"), std::string::npos);
    EXPECT_EQ(common::readFile(target_ / "当事者目録.TXT"), persons);
    EXPECT_TRUE(fs::exists(target_ / "作図設定.TXT"));
}

TEST_F(GedcomImportJob, AnEmptyFolderIsWrittenWithoutAQuestion) {
    dialogs_.answerFile((target_ / "当事者目録.TXT").string());
    ASSERT_EQ(run(), converter::JobOutcome::Done);
    ASSERT_EQ(dialogs_.messages().size(), 1u);
    EXPECT_NE(dialogs_.messages()[0].find("KANKYO.TXT」が見つからない"), std::string::npos);
    EXPECT_EQ(common::readFile(target_ / "家族目録.TXT"),
              common::readFile(kSamples / "家族目録.TXT"));
    EXPECT_FALSE(fs::exists(target_ / "BACKUP"));
}

TEST_F(GedcomImportJob, TheCapacitiesOfTheFoldersKankyoAreKept) {
    std::string env = common::decodeCp932(common::readFile(kSamples / "KANKYO.TXT"));
    env.replace(env.find("最大登録人数,2000"), std::string("最大登録人数,2000").size(),
                "最大登録人数,10");
    common::replaceFile(target_ / "KANKYO.TXT", common::encodeCp932(env));
    dialogs_.answerFile((target_ / "当事者目録.TXT").string());
    EXPECT_EQ(run(), converter::JobOutcome::Stopped);
    EXPECT_NE(dialogs_.messages().back().find("最大登録人数（10 人）"), std::string::npos)
        << dialogs_.messages().back();
    EXPECT_FALSE(fs::exists(target_ / "当事者目録.TXT"));
}

TEST_F(GedcomImportJob, AFileWithErrorsIsRefusedWithAllOfThem) {
    std::string text = common::readFile(gedcom_);
    text.replace(text.find("1 HUSB @I14@"), 12, "1 HUSB @I99@");
    text.erase(text.find("0 TRLR"));
    common::replaceFile(gedcom_, text);
    EXPECT_EQ(run(), converter::JobOutcome::Stopped);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, converter::kGedcomImportErrorTitle);
    EXPECT_EQ(dialogs_.shown[0].icon, common::Icon::Stop);
    EXPECT_NE(dialogs_.shown[0].text.find("「@I99@」のレコードがありません"), std::string::npos);
    EXPECT_NE(dialogs_.shown[0].text.find("TRLR"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(target_));
}

} // namespace
