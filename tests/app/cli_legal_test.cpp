// tsubaki --chart and --text with a legal chart chosen in the folder's settings, on a copy of
// the sample folder: the texts of both charts in the text drawing, the questions a headless
// job cannot ask, the substitution error, and that the data folder is left exactly as it
// was.
#include "sample_folder_job.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "core/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

class LegalChartJob : public testing_support::SampleFolderJob {
protected:
    static void horizontal(core::DataFolder& d) {
        d.settings.縦書き = false;
        d.settings.横書き = true;
    }
    // The list chart of the samples, with the lineage of families 2 and 4 (unset in the
    // samples) set to the husband's side.
    void listChart() {
        editFolder([](core::DataFolder& d) {
            horizontal(d);
            d.settings.法定相続情報一覧図にする = true;
            d.reg.family(2).系統_F = core::Lineage::Paternal;
            d.reg.family(4).系統_F = core::Lineage::Paternal;
        });
    }
    // The text drawing written by --text, as UTF-8 lines without trailing blanks.
    std::vector<std::string> textDrawing() {
        const fs::path out = out_dir_ / "図面.TXT";
        EXPECT_EQ(run({"--text", out.string(), dir_.string()}), 0) << err_.str();
        std::vector<std::string> lines;
        std::istringstream in(common::decodeCp932(common::readFile(out)));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            while (line.size() >= 3 && line.compare(line.size() - 3, 3, "　") == 0) {
                line.erase(line.size() - 3);
            }
            lines.push_back(line);
        }
        return lines;
    }
    static bool has(const std::vector<std::string>& lines, const std::string& fragment) {
        for (const std::string& l : lines) {
            if (l.find(fragment) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(LegalChartJob, TheExplanationChartAsText) {
    editFolder([](core::DataFolder& d) {
        horizontal(d);
        d.settings.相続関係説明図にする = true;
    });
    const std::vector<std::string> lines = textDrawing();
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "被相続人　山田太郎　　相続関係説明図");
    EXPECT_EQ(lines[2], "　　最後の本籍　　　東京都世田谷区北沢三丁目");
    EXPECT_EQ(lines[3], "　　　　　　　　　　１２番地");
    EXPECT_EQ(lines[4], "　　最後の住所　　　東京都世田谷区北沢三丁目１２番５号");
    EXPECT_EQ(lines[5], "　　登記簿上の住所　東京都世田谷区北沢三丁目１２番５号");
    EXPECT_TRUE(has(lines, "（被）山田太郎"));
    EXPECT_TRUE(has(lines, "（妻）山田花子"));
    // The return message at the bottom, under the title (column 11 × 21 / 21 + 1 = 12).
    EXPECT_EQ(lines.back(), "　　　　　　　　　　　戸籍の謄抄本及び除籍謄本は還付した。");
}

// Vertical writing: the chart keeps at its right the title column (21), 2 pitches, the
// information block (4 columns: 本籍, its second line, 住所, the registry address) and
// 3 + 3 pitches, and at its left twice the return message's width: 42 + 21 + 42 + 84 + 126
// = 315 pixels more than the plain chart of the samples.
TEST_F(LegalChartJob, TheExplanationChartInVerticalWritingAsABitmap) {
    const fs::path out = out_dir_ / "chart.png";
    auto width = [&] {
        const std::string said = out_.str();
        const std::size_t open = said.find("（");
        return open == std::string::npos ? -1 : std::stoi(said.substr(open + 3));
    };
    ASSERT_EQ(run({"--chart", out.string(), dir_.string()}), 0) << err_.str();
    const int plain = width();
    editFolder([](core::DataFolder& d) { d.settings.相続関係説明図にする = true; });
    ASSERT_EQ(run({"--chart", out.string(), dir_.string()}), 0) << err_.str();
    EXPECT_EQ(common::readFile(out).substr(1, 3), "PNG");
    EXPECT_EQ(width(), plain + 315) << out_.str();
}

TEST_F(LegalChartJob, TheListChartAsText) {
    listChart();
    const std::vector<std::string> lines = textDrawing();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("被相続人　山田太郎　　法定相続情報"), std::string::npos);
    EXPECT_EQ(lines[0].find("法定相続情報　"), std::string::npos) << "no addition, no spaces";
    EXPECT_TRUE(has(lines, "山田一郎　　（申出人）"));
    EXPECT_TRUE(has(lines, "（被相続人）"));
    EXPECT_TRUE(has(lines, "被代襲者"));
    EXPECT_TRUE(has(lines, "（平成２０年６月１日死亡）"));
    EXPECT_TRUE(has(lines, "住所　千葉県千葉市中央区新町５番地"));
    EXPECT_TRUE(has(lines, "以下余白"));
    EXPECT_TRUE(has(lines, "作成者：住所　神奈川県横浜市港北区日吉本町一丁目４番２号"));
    EXPECT_FALSE(has(lines, "申出人：住所")) << "the applicant is an heir";
    EXPECT_FALSE(has(lines, "山田翔")) << "no heir, left out";
    EXPECT_FALSE(has(lines, "山田源蔵")) << "the deceased's parents show as （父）, （母）";
    // The parents of 花子's second entry (family 7) would be a pair of bare labels connected
    // to nothing: left out. Only the deceased's parents show as （父） and （母）.
    const auto count = [&](const std::string& fragment) {
        int n = 0;
        for (const std::string& l : lines) {
            for (std::size_t at = l.find(fragment); at != std::string::npos;
                 at = l.find(fragment, at + 1)) {
                ++n;
            }
        }
        return n;
    };
    EXPECT_EQ(count("（父）"), 1);
    EXPECT_EQ(count("（母）"), 1);
    // The findings go to stderr; the chart is drawn all the same.
    EXPECT_TRUE(errHas("誤り：当事者NO.8 山田健太は代襲者なので、続柄は「孫」です"));
}

// --strict refuses a legal chart while there is an error, and writes nothing.
TEST_F(LegalChartJob, StrictRefusesWhileThereIsAnError) {
    listChart();
    const fs::path out = out_dir_ / "図面.TXT";
    EXPECT_EQ(run({"--text", out.string(), dir_.string(), "--strict"}), 2);
    EXPECT_TRUE(errHas("誤り：当事者NO.8 山田健太"));
    EXPECT_TRUE(errHas("注意：当事者NO.13 木村拓也"));
    EXPECT_TRUE(errHas("（--strict）"));
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"--chart", (out_dir_ / "x.png").string(), dir_.string(), "--strict"}), 2);
    EXPECT_FALSE(fs::exists(out_dir_ / "x.png"));
    // Titled as the bureau expects, 健太 leaves only a notice: drawn.
    editFolder([](core::DataFolder& d) { d.reg.family(6).child(1).子の肩書 = "孫"; });
    EXPECT_EQ(run({"--text", out.string(), dir_.string(), "--strict"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(out));
    EXPECT_FALSE(errHas("誤り："));
}

TEST_F(LegalChartJob, CheckPrintsTheFindingsOneALine) {
    EXPECT_EQ(run({"--check", dir_.string()}), 2) << err_.str();
    EXPECT_EQ(out_.str(),
              "誤り：当事者NO.8 山田健太は代襲者なので、続柄は「孫」です（家族No.6の子の肩書が"
              "いまは「長男」）\n"
              "注意：当事者NO.13 木村拓也の続柄が「子」です（家族No.4の子の肩書は、出生順"
              "と性別からは「長男」）\n");
    EXPECT_TRUE(errHas("誤り 1 件、注意 1 件"));
    // In the list form the relationship of a representative is the program's own.
    EXPECT_EQ(run({"--check", dir_.string(), "--form", "list"}), 0) << err_.str();
    EXPECT_EQ(out_.str().rfind("注意：当事者NO.13", 0), 0u) << out_.str();
    EXPECT_EQ(run({"--check", dir_.string(), "--form", "circle"}), 1);
    EXPECT_TRUE(errHas("tree か list"));
    // An unset lineage of the base family is answered by --centre.
    editFolder([](core::DataFolder& d) { d.reg.family(3).系統_F = core::Lineage::Unset; });
    EXPECT_EQ(run({"--check", dir_.string()}), 1);
    EXPECT_TRUE(errHas("家族No. 3は、男性を中心に作図しますか？"));
    EXPECT_EQ(run({"--check", dir_.string(), "--centre", "husband"}), 2);
}

TEST_F(LegalChartJob, TheHeirsOfTheSamples) {
    ASSERT_EQ(run({"--heirs", dir_.string()}), 0) << err_.str();
    const std::string text = out_.str();
    for (const char* line : {"被相続人: 1 山田太郎（死亡 令和４年１０月５日）\n相続人:\n",
                             "  2 山田花子 妻 配偶者 1/2\n", "  4 山田一郎 長男 第1順位 1/10\n",
                             "  8 山田健太 孫（代襲者） 第1順位・代襲（5 山田次郎） 1/10\n",
                             "  9 山田優子 養女 第1順位 1/10\n", "相続人でない人:\n",
                             "  3 鈴木幸子 離婚\n", "  12 木村和子 婚姻していない（内縁）\n",
                             "  18 佐藤花子 同一人物の別の記載（当事者リンク）：2 山田花子\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    ASSERT_EQ(run({"--heirs", dir_.string(), "--json"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("{\"person\":8,\"name\":\"山田健太\",\"relationship\":"
                              "\"孫（代襲者）\",\"rank\":\"descendant\",\"represents\":5,"
                              "\"halfBlood\":false,\"share\":\"1/10\"}"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("\"reason\":\"divorced\""), std::string::npos);
    EXPECT_EQ(run({"--heirs", dir_.string(), "--strict"}), 1) << "not an option of --heirs";
    EXPECT_TRUE(errHas("不明なオプション「--strict」"));
}

// The list form, chosen with --form or kept in "tsubaki.ini": the blocks one below the other,
// no line of a tree.
TEST_F(LegalChartJob, TheListForm) {
    listChart();
    const fs::path out = out_dir_ / "図面.TXT";
    ASSERT_EQ(run({"--text", out.string(), dir_.string(), "--form", "list"}), 0) << err_.str();
    const std::string byOption = common::readFile(out);
    EXPECT_TRUE(has(textDrawing(), "（父）")) << "the folder's own form is still the tree";
    core::FolderOptions options;
    options.listChartForm = core::ListChartForm::List;
    core::writeFolderOptions(dir_, options);
    before_ = testing_support::folderContents(dir_);
    EXPECT_EQ(run({"--text", out.string(), dir_.string()}), 0) << err_.str();
    EXPECT_EQ(common::readFile(out), byOption);
    const std::string drawn = common::decodeCp932(byOption);
    for (const char* fragment :
         {"最後の住所　東京都世田谷区北沢三丁目１２番５号", "（被相続人）", "（妻）",
          "山田一郎　　（申出人）", "被代襲者", "（孫）", "以下余白"}) {
        EXPECT_NE(drawn.find(fragment), std::string::npos) << fragment;
    }
    EXPECT_EQ(drawn.find("│"), std::string::npos);
    EXPECT_EQ(drawn.find("（父）"), std::string::npos);
    EXPECT_LT(drawn.find("山田花子"), drawn.find("山田一郎"));
    EXPECT_LT(drawn.find("被代襲者"), drawn.find("山田健太"));
}

// A headless job asks nothing: an unset lineage is refused with the question's text;
// --centre answers it for the base family only.
TEST_F(LegalChartJob, UnsetLineagesAreRefused) {
    editFolder([](core::DataFolder& d) {
        horizontal(d);
        d.settings.法定相続情報一覧図にする = true;
    });
    const fs::path out = out_dir_ / "図面.TXT";
    EXPECT_EQ(run({"--text", out.string(), dir_.string(), "--centre", "husband"}), 1);
    EXPECT_TRUE(
        errHas("作図の中心となる人物が決まっていません\n家族No. 2は、男性を中心に作図しますか？"));
    EXPECT_TRUE(errHas("家族No.2 の父系・母系"));
    EXPECT_FALSE(fs::exists(out));

    editFolder([](core::DataFolder& d) {
        d.settings.法定相続情報一覧図にする = false;
        d.settings.相続関係説明図にする = true;
        d.reg.family(3).系統_F = core::Lineage::Unset;
    });
    EXPECT_EQ(run({"--text", out.string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas("家族No. 3は、男性を中心に作図しますか？"));
    EXPECT_TRUE(errHas("--centre husband"));
    EXPECT_EQ(run({"--text", out.string(), dir_.string(), "--centre", "husband"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(LegalChartJob, APredeceasedHeirWithoutHeirs) {
    listChart();
    editFolder([](core::DataFolder& d) { d.settings.setHeir(8, false); });
    EXPECT_EQ(run({"--chart", (out_dir_ / "x.bmp").string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas(
        "代襲相続の設定エラー\n家族番号6の被代襲者「山田次郎」に相続権のある子供がいません"));
}

} // namespace
