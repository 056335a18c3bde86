// tsubaki --chart and --text on a copy of the sample folder: the text drawing compared with
// the reviewed "図面.TXT" kept beside this test, the bitmap outputs, and that the data
// folder is left exactly as it was whatever happens.
#include "sample_folder_job.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "core/data_folder.h"

#include "tests/support/bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

using testing_support::le32;

// Kept beside this file (Shift-JIS, CR LF).
const fs::path kExpectedText = fs::path(__FILE__).parent_path() / "sample_chart_expected.txt";

class ChartJob : public testing_support::SampleFolderJob {};

// The sample folder's settings are vertical; "テキスト化" always draws horizontally, at 16
// points without spacing. The expected drawing was read through by hand: the double
// marriage lines "││" with "×" on the divorced first marriage, "├" where each descent
// leaves its marriage line, the sibling bar of 太郎 and 花子's three children from "┌" to
// "└" with "┼" where the descent crosses it to 美咲, the single line of the partnership with
// 和子, and 佐藤 キヨ's tree below.
TEST_F(ChartJob, TextDrawingOfTheSamples) {
    ASSERT_EQ(run({"--text", out("図面.TXT").string(), dir_.string()}), 0) << err_.str();
    const std::string written = common::readFile(out("図面.TXT"));
    EXPECT_EQ(written, common::readFile(kExpectedText));
    EXPECT_NE(out_.str().find("67 行"), std::string::npos) << out_.str();
    // Shift-JIS with CR LF, as the file is kept.
    const std::string text = common::decodeCp932(written);
    EXPECT_NE(text.find("│├─────────────────長男　山田太郎"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r') << "line " << lines + 1;
            ++lines;
        }
    }
    EXPECT_EQ(lines, 67u);
    EXPECT_FALSE(fs::exists(dir_ / "DUMMY_R.TXT"));
    EXPECT_FALSE(fs::exists(dir_ / "DUMMY_S.TXT"));

    // Writing again over the file replaces it with the same drawing.
    ASSERT_EQ(run({"--text", out("図面.TXT").string(), dir_.string()}), 0);
    EXPECT_EQ(common::readFile(out("図面.TXT")), written);
}

TEST_F(ChartJob, ChartAsBitmapAndPng) {
    ASSERT_EQ(run({"--chart", out("図面.BMP").string(), dir_.string()}), 0) << err_.str();
    const std::string bmp = common::readFile(out("図面.BMP"));
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 8u); // 8 bits per pixel, 16 colours used
    const std::uint32_t width = le32(bmp, 18);
    const std::uint32_t height = le32(bmp, 22);
    EXPECT_NE(out_.str().find(std::to_string(width) + "×" + std::to_string(height)),
              std::string::npos)
        << out_.str();
    // Vertical writing: the chart is taller than wide.
    EXPECT_GT(height, width);

    ASSERT_EQ(run({"--chart", out("chart.png").string(), dir_.string(), "--family", "5"}), 0)
        << err_.str();
    EXPECT_EQ(common::readFile(out("chart.png")).substr(1, 3), "PNG");
}

TEST_F(ChartJob, AnUnsetLineageNeedsTheCentreOption) {
    editFolder([](core::DataFolder& d) { d.reg.family(3).系統_F = core::Lineage::Unset; });
    EXPECT_EQ(run({"--chart", out("a.bmp").string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas("作図の中心となる人物が決まっていません\n"
                       "家族No. 3は、男性を中心に作図しますか？\n"))
        << err_.str();
    EXPECT_TRUE(errHas("--centre"));
    EXPECT_FALSE(fs::exists(out("a.bmp")));
    EXPECT_EQ(run({"--text", out("a.txt").string(), dir_.string()}), 1);
    EXPECT_FALSE(fs::exists(out("a.txt")));

    // Answered on the command line, for this chart only (TearDown checks the folder).
    ASSERT_EQ(run({"--text", out("a.txt").string(), dir_.string(), "--centre", "husband"}), 0)
        << err_.str();
    EXPECT_EQ(common::readFile(out("a.txt")), common::readFile(kExpectedText));
    ASSERT_EQ(run({"--chart", out("a.bmp").string(), dir_.string(), "--centre", "wife"}), 0);
}

TEST_F(ChartJob, WrongRequestsAreRefusedWithTheirReason) {
    EXPECT_EQ(run({"--chart", out("a.jpg").string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas("拡張子は .bmp か .png")) << err_.str();
    EXPECT_EQ(run({"--chart", out("a.bmp").string()}), 1);
    EXPECT_EQ(run({"--chart", out("a.bmp").string(), dir_.string(), "--family", "x"}), 1);
    EXPECT_TRUE(errHas("--family の値「x」は家族番号ではありません"));
    EXPECT_EQ(run({"--text", out("a.txt").string(), dir_.string(), "--family", "99"}), 1);
    EXPECT_TRUE(errHas("作図時の基準家族No.99は登録されていない家族です")) << err_.str();
    EXPECT_EQ(run({"--text", out("a.txt").string(), dir_.string(), "--size", "3"}), 1);
    EXPECT_TRUE(errHas("不明なオプション「--size」"));
    EXPECT_EQ(run({"--chart", out("a.bmp").string(), (dir_ / "nowhere").string()}), 1);
    EXPECT_TRUE(errHas("が見つかりません")) << err_.str();
    // A folder that does not exist for the output: the message of the file, nothing else.
    EXPECT_EQ(run({"--chart", (out_dir_ / "no" / "a.bmp").string(), dir_.string()}), 1);
    EXPECT_FALSE(err_.str().empty());
    EXPECT_TRUE(fs::is_empty(out_dir_));
}

// "最下層部を広げる値" of 5000 level pitches makes a chart of 1470 × 2,992,990 pixels, far more
// than fits in memory as one image. Nothing refuses it: the drawing is recorded, and the
// text drawing comes from the recording (the bitmap of 4.4 GB is left to the benchmarks).
TEST_F(ChartJob, AChartOfBillionsOfPixelsIsRecorded) {
    editFolder([](core::DataFolder& d) { d.settings.最下層部を広げる値 = 5000; });
    ASSERT_EQ(run({"--text", out("big.txt").string(), dir_.string()}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(out("big.txt")));
}

TEST_F(ChartJob, ASurveyFailureIsPrinted) {
    std::string env = common::decodeCp932(common::readFile(dir_ / "KANKYO.TXT"));
    env.replace(env.find("最大世代数,30"), std::string("最大世代数,30").size(), "最大世代数,3");
    common::replaceFile(dir_ / "KANKYO.TXT", common::encodeCp932(env));
    before_ = testing_support::folderContents(dir_);
    EXPECT_EQ(run({"--chart", out("a.png").string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas("階層値が最大階層深度数を超えました\n")) << err_.str();
    EXPECT_FALSE(fs::exists(out("a.png")));
}

} // namespace
