#include "app/mokuren/cli.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "converter/person_register.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

class MokurenCli : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& e : fs::directory_iterator(kSamples)) {
            fs::copy_file(e.path(), dir_.path() / e.path().filename());
        }
    }
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return mokuren_cli::run(args, out_, err_);
    }
    std::string folder() const { return dir_.path().string(); }
    std::string file(const std::string& name) const { return common::readFile(dir_.path() / name); }

    testing_support::TempDir dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(MokurenCli, LeftoversOfAKilledRunAreRemovedWithOneLine) {
    dir_.write(".当事者目録.TXT.tmpAbCd12", "half written");
    dir_.write(".tsubaki-journal", "tsubaki folder journal 1\nwrite\t"); // torn
    ASSERT_EQ(run({"export", folder(), (dir_.path() / "out.csv").string()}), 0) << err_.str();
    EXPECT_EQ(err_.str(), "中断されていた保存を取り消しました（どのファイルも元のままです）。途中で"
                          "残った一時ファイルを 1 個削除しました。\n");
    EXPECT_FALSE(fs::exists(dir_.path() / ".tsubaki-journal"));
    EXPECT_FALSE(fs::exists(dir_.path() / ".当事者目録.TXT.tmpAbCd12"));
}

TEST_F(MokurenCli, MaskAndRestoreRoundTrip) {
    const std::string persons = file("当事者目録.TXT");
    ASSERT_EQ(run({"mask", folder(), "--seed", "11"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("個人情報を隠しました"), std::string::npos);
    const std::string masked = file("当事者目録.TXT");
    EXPECT_NE(masked, persons);

    // The same seed masks the same way.
    ASSERT_EQ(run({"restore", folder()}), 0) << err_.str();
    ASSERT_EQ(run({"mask", folder(), "--seed", "11"}), 0) << err_.str();
    EXPECT_EQ(file("当事者目録.TXT"), masked);

    EXPECT_EQ(run({"mask", folder()}), 1);
    EXPECT_EQ(err_.str(), "既に変換済です\n既に個人情報を変換した当事者目録があるので、処理を中止"
                          "します。\n");
    ASSERT_EQ(run({"restore", folder()}), 0) << err_.str();
    EXPECT_EQ(file("当事者目録.TXT"), persons);
    EXPECT_EQ(run({"restore", folder()}), 1);
    EXPECT_NE(err_.str().find("この当事者目録はオリジナルです"), std::string::npos);
    EXPECT_EQ(run({"mask", (dir_.path() / "nowhere").string()}), 1);
    EXPECT_NE(err_.str().find("見つかりません"), std::string::npos);
}

TEST_F(MokurenCli, ExportOptionsAndTheOverwriteQuestion) {
    const std::string out = (dir_.path() / "people.csv").string();
    ASSERT_EQ(
        run({"export", folder(), out, "--header", "--sex", "2", "--join-name", "--join-address"}),
        0)
        << err_.str();
    EXPECT_NE(out_.str().find("20 人"), std::string::npos) << out_.str();
    const std::string csv = common::decodeCp932(file("people.csv"));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "\"性別\",\"氏名\",\"住所\",\"本籍１\",\"本籍２\",\"生年月日\",\"死亡年月日\","
              "\"備考１\",\"備考２\"");
    EXPECT_NE(csv.find("\r\n\"M\",\"山田太郎\",\"東京都世田谷区北沢三丁目１２番５号\","),
              std::string::npos)
        << csv;

    // The file exists: without --yes nothing is written.
    dir_.write("people.csv", "keep");
    EXPECT_EQ(run({"export", folder(), out}), 1);
    EXPECT_NE(err_.str().find("上書きしますか？"), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("何も書き込んでいません"), std::string::npos);
    EXPECT_EQ(file("people.csv"), "keep");
    EXPECT_EQ(run({"export", folder(), out, "--yes"}), 0) << err_.str();
    EXPECT_NE(file("people.csv"), "keep");

    // Options that the register's generation does not have, and bad values.
    EXPECT_EQ(run({"export", folder(), out, "--yes", "--address-limit", "10"}), 1);
    EXPECT_NE(err_.str().find("旧形式"), std::string::npos);
    EXPECT_EQ(run({"export", folder(), out, "--yes", "--sex", "5"}), 1);
    EXPECT_EQ(run({"export", folder(), out, "--bogus"}), 1);
    EXPECT_NE(err_.str().find("--bogus"), std::string::npos);
}

TEST_F(MokurenCli, ImportFromUtf8WithColumnsInChartOrder) {
    // A UTF-8 file with a byte-order mark, as spreadsheet programs write it.
    dir_.write("in.csv", "\xEF\xBB\xBF"
                         "生年月日,氏名,性別\r\n"
                         "昭和1年,山田太郎,M\r\n"
                         "平成2年,佐藤花子,F,extra\r\n");
    const std::string in = (dir_.path() / "in.csv").string();
    const std::string persons = file("当事者目録.TXT");

    // The folder has a register: asked, and declined without --yes.
    EXPECT_EQ(run({"import", in, folder(), "--header", "--sex", "2", "--birth", "--surnames",
                   "山田,佐藤", "--columns", "3,2,1"}),
              1);
    EXPECT_NE(err_.str().find("何も書き込んでいません"), std::string::npos) << err_.str();
    EXPECT_EQ(file("当事者目録.TXT"), persons);

    ASSERT_EQ(run({"import", in, folder(), "--header", "--sex", "2", "--birth", "--surnames",
                   "山田,佐藤", "--columns", "3,2,1", "--yes"}),
              0)
        << err_.str();
    EXPECT_NE(out_.str().find("2 人"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("3 行目"), std::string::npos) << out_.str(); // the extra field
    const auto reg = converter::readPersonRegister(dir_.path());
    ASSERT_EQ(reg.count(), 2);
    EXPECT_EQ(reg.persons[0].男女, 1);
    EXPECT_EQ(reg.persons[0].姓, "山田");
    EXPECT_EQ(reg.persons[0].名, "太郎");
    EXPECT_EQ(reg.persons[0].生年月日, "昭和１年");
    EXPECT_EQ(reg.persons[1].男女, 2);
    EXPECT_EQ(reg.persons[1].姓, "佐藤");

    EXPECT_EQ(run({"import", in, folder(), "--columns", "4", "--yes"}), 1);
    EXPECT_NE(err_.str().find("3 列"), std::string::npos) << err_.str();
    EXPECT_EQ(run({"import", in, folder(), "--columns", "1,1", "--yes"}), 1);
    EXPECT_EQ(run({"import", in, folder(), "--address2", "--columns", "1", "--yes"}), 1);
    EXPECT_EQ(run({"import", in, folder()}), 1);
    EXPECT_NE(err_.str().find("--columns"), std::string::npos);
}

TEST_F(MokurenCli, GedcomExportWithVersionAndOverwrite) {
    const std::string out = (dir_.path() / "family.ged").string();
    ASSERT_EQ(run({"gedcom-export", folder(), out, "--version", "7.0"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("20 人、8 家族"), std::string::npos) << out_.str();
    const std::string text = file("family.ged");
    EXPECT_EQ(text.rfind("0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 8), "0 TRLR\r\n");

    // Without --yes an existing file stays; with it, 5.5.1 by default.
    EXPECT_EQ(run({"gedcom-export", folder(), out}), 1);
    EXPECT_NE(err_.str().find("何も書き込んでいません"), std::string::npos) << err_.str();
    EXPECT_EQ(file("family.ged"), text);
    ASSERT_EQ(run({"gedcom-export", folder(), out, "--yes"}), 0) << err_.str();
    EXPECT_NE(file("family.ged").find("2 VERS 5.5.1\r\n"), std::string::npos);

    EXPECT_EQ(run({"gedcom-export", folder(), out, "--version", "6"}), 1);
    EXPECT_NE(err_.str().find("5.5.1 か 7.0"), std::string::npos) << err_.str();
    EXPECT_EQ(run({"gedcom-export", folder()}), 1);
}

TEST_F(MokurenCli, UnknownJobsShowTheUsage) {
    EXPECT_EQ(run({"convert"}), 1);
    EXPECT_NE(err_.str().find("使い方"), std::string::npos);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out_.str().find("mokuren import"), std::string::npos);
}

} // namespace

namespace {

class MokurenGedcomImport : public MokurenCli {
protected:
    void SetUp() override {
        MokurenCli::SetUp();
        fs::create_directories(dir_.path() / "new");
        ged_ = (dir_.path() / "family.ged").string();
        ASSERT_EQ(run({"gedcom-export", folder(), ged_}), 0) << err_.str();
    }
    std::string newFolder() const { return (dir_.path() / "new").string(); }
    std::string ged_;
};

TEST_F(MokurenGedcomImport, ExportThenImportGivesTheSameRegisters) {
    ASSERT_EQ(run({"gedcom-import", ged_, newFolder()}), 0) << err_.str();
    EXPECT_NE(out_.str().find("「family.ged」から 20 人、8 家族を取り込みました"),
              std::string::npos)
        << out_.str();
    for (const char* name : {"当事者目録.TXT", "創始階層登録.TXT", "姓名順.TXT", "家族目録.TXT"}) {
        EXPECT_EQ(file(std::string("new/") + name), file(name)) << name;
    }
}

TEST_F(MokurenGedcomImport, ReplacingRegistersNeedsYes) {
    const std::string persons = file("当事者目録.TXT");
    const std::string settings = file("作図設定.TXT");
    // A 7.0 file of the same family into the folder it came from.
    ASSERT_EQ(run({"gedcom-export", folder(), ged_, "--version", "7.0", "--yes"}), 0);
    EXPECT_EQ(run({"gedcom-import", ged_, folder()}), 1);
    EXPECT_NE(err_.str().find("上書きしますか？"), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("何も書き込んでいません"), std::string::npos) << err_.str();
    EXPECT_EQ(file("作図設定.TXT"), settings);
    EXPECT_FALSE(fs::exists(dir_.path() / "BACKUP"));

    ASSERT_EQ(run({"gedcom-import", ged_, folder(), "--yes"}), 0) << err_.str();
    EXPECT_EQ(file("当事者目録.TXT"), persons);
    EXPECT_FALSE(fs::exists(dir_.path() / "作図設定.TXT"));
    ASSERT_TRUE(fs::exists(dir_.path() / "BACKUP"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(dir_.path() / "BACKUP"), fs::directory_iterator{}), 1);
}

TEST_F(MokurenGedcomImport, ADamagedFileIsRefusedLineByLine) {
    dir_.write("bad.ged", "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n"
                          "1 NAME 太郎 /山田/\r\n3 NOTE jump\r\n1 FAMC @F1@\r\n");
    EXPECT_EQ(run({"gedcom-import", (dir_.path() / "bad.ged").string(), newFolder()}), 1);
    const std::string e = err_.str();
    EXPECT_NE(e.find("7 行目"), std::string::npos) << e;
    EXPECT_NE(e.find("8 行目"), std::string::npos) << e;
    EXPECT_NE(e.find("TRLR"), std::string::npos) << e;
    EXPECT_TRUE(fs::is_empty(dir_.path() / "new"));

    // Shift-JIS bytes declared as UTF-8.
    dir_.write("sjis.ged",
               common::encodeCp932("0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n1 CHAR UTF-8\r\n"
                                   "0 @I1@ INDI\r\n1 NAME 太郎 /山田/\r\n0 TRLR\r\n"));
    EXPECT_EQ(run({"gedcom-import", (dir_.path() / "sjis.ged").string(), newFolder()}), 1);
    EXPECT_NE(err_.str().find("「sjis.ged」の 6 行目を読めません"), std::string::npos)
        << err_.str();
    EXPECT_TRUE(fs::is_empty(dir_.path() / "new"));

    EXPECT_EQ(run({"gedcom-import", (dir_.path() / "none.ged").string(), newFolder()}), 1);
    EXPECT_EQ(run({"gedcom-import", ged_}), 1);
    EXPECT_NE(err_.str().find("使い方"), std::string::npos);
    EXPECT_EQ(run({"gedcom-import", ged_, (dir_.path() / "nowhere").string()}), 1);
    EXPECT_NE(err_.str().find("見つかりません"), std::string::npos);
}

} // namespace
