// tsubaki --layout on a copy of the sample folder: the plain layout output, the centre
// question, option errors and survey failures.
#include "sample_folder_job.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "core/data_folder.h"
#include "platform/chart_font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class LayoutJob : public testing_support::SampleFolderJob {
protected:
    void editFamily(int family, int lineage) {
        editFolder([&](core::DataFolder& d) {
            d.reg.family(family).系統_F = static_cast<core::Lineage>(lineage);
        });
    }
};

TEST_F(LayoutJob, PrintsTheSampleLayoutWithFixedCells) {
    ASSERT_EQ(run({"--layout", dir_.string(), "--cell", "21x21"}), 0) << err_.str();
    const std::string json = out_.str();
    EXPECT_EQ(json.find("{\"cell\":[21,21],\"roots\":[14,17],"), 0u) << json.substr(0, 80);
    // 太郎 (1) married three times: base family 3 (order 2), family 2 (order 3) and the
    // union 4 with a child (order 4); vertical writing arranges them 4, 2, 3.
    EXPECT_TRUE(outHas("\"households\":{\"1\":[4,3,2],\"4\":[5],\"5\":[6],\"6\":[8],\"14\":[1],"
                       "\"17\":[7]}"));
    EXPECT_TRUE(outHas("{\"family\":1,\"階層\":1,\"order\":2,\"slots\":[1,2,3]}"));
    // Tree 2 (キヨ's line) is drawn left of tree 1. Its couple: 正男's block (3 columns
    // of 21) at 0, the marriage line at 63 + 52.5, キヨ at 63 + 105.
    EXPECT_TRUE(outHas("{\"slot\":27,\"kind\":\"B 7\",\"tag\":\"\",\"level\":0,\"tree\":2,"
                       "\"path\":\"+ 27/\",\"parent_family\":0,\"child_index\":0,\"source\":17,"
                       "\"x\":0,\"y\":0,\"width\":273,\"height\":483,\"anchor\":[115.5,0]}"));
    EXPECT_TRUE(outHas("{\"slot\":29,\"kind\":\"A 17\",\"tag\":\"A 17A\""));
    EXPECT_TRUE(outHas("\"x\":168,\"y\":0,\"width\":63,\"height\":441,\"anchor\":[199,0]}"));
    // 花子, entered there as 18 and linked to 2, hangs under family 7; her block (birth
    // date column, then the name column: anchor 10 + 21) moves under the marriage line.
    EXPECT_TRUE(outHas("{\"slot\":30,\"kind\":\"A 2\",\"tag\":\"A 2A\",\"level\":1,\"tree\":2,"
                       "\"path\":\"+ 27/+30/\",\"parent_family\":7,\"child_index\":1,"
                       "\"source\":18,\"x\":84.5,\"y\":546"));
    // Generations 546 apart (美咲's block, 483, is the tallest); tree 1 starts one level
    // down (源蔵's 創始階層 1) and 21 right of tree 2 (273 wide).
    EXPECT_TRUE(outHas("{\"slot\":1,\"kind\":\"B 1\",\"tag\":\"\",\"level\":0,\"tree\":1,"
                       "\"path\":\"+ 1/\",\"parent_family\":0,\"child_index\":0,\"source\":14,"
                       "\"x\":702.5,\"y\":546,"));
    EXPECT_TRUE(outHas("\"extent\":[1449,2730]}\n"));
    // 太郎 shown once for families 3 and 2 (the second block is empty), again for 4, and
    // one slot spanning his three households.
    EXPECT_TRUE(outHas("{\"slot\":8,\"kind\":\"A 1\",\"tag\":\"\",\"level\":1,\"tree\":1,"
                       "\"path\":\"\",\"parent_family\":0,\"child_index\":0,\"source\":1,"
                       "\"x\":1176,\"y\":1092,\"width\":0,\"height\":0"));
    EXPECT_TRUE(outHas("{\"slot\":31,\"kind\":\"C 1\""));
    // The data folder is left as it was.
    EXPECT_FALSE(fs::exists(dir_ / "BACKUP"));
    EXPECT_EQ(common::readFile(dir_ / "家族目録.TXT"),
              common::readFile(fs::path(TSUBAKI_SAMPLES_DIR) / "家族目録.TXT"));
}

TEST_F(LayoutJob, AnUnsetLineageNeedsTheCentreOption) {
    editFamily(3, 0);
    EXPECT_EQ(run({"--layout", dir_.string(), "--cell", "21x21"}), 1);
    EXPECT_TRUE(errHas("作図の中心となる人物が決まっていません\n"
                       "家族No. 3は、男性を中心に作図しますか？\n"))
        << err_.str();
    EXPECT_TRUE(out_.str().empty());
    ASSERT_EQ(run({"--layout", dir_.string(), "--cell", "21x21", "--centre", "wife"}), 0)
        << err_.str();
    // 花子 at the centre: her mother's line is the first tree.
    EXPECT_TRUE(outHas("\"roots\":[17,"));
    ASSERT_EQ(run({"--layout", dir_.string(), "--cell", "21x21", "--centre", "husband"}), 0);
    EXPECT_TRUE(outHas("\"roots\":[14,17]"));
    // Another base family whose lineage is set needs no answer.
    ASSERT_EQ(run({"--layout", dir_.string(), "--family", "5", "--cell", "21x21"}), 0)
        << err_.str();
}

TEST_F(LayoutJob, WrongOptionsAndSurveyFailuresAreReported) {
    EXPECT_EQ(run({"--layout", dir_.string(), "--cell", "0x21"}), 1);
    EXPECT_TRUE(errHas("--cell の値「0x21」")) << err_.str();
    EXPECT_EQ(run({"--layout", dir_.string(), "--family", "abc"}), 1);
    EXPECT_TRUE(errHas("--family の値「abc」は家族番号ではありません"));
    EXPECT_EQ(run({"--layout", dir_.string(), "--centre", "left", "--cell", "21x21"}), 1);
    EXPECT_TRUE(errHas("husband か wife"));
    EXPECT_EQ(run({"--layout", dir_.string(), "--family"}), 1);
    EXPECT_EQ(run({"--layout", dir_.string(), "--family", "99", "--cell", "21x21"}), 1);
    EXPECT_TRUE(errHas("作図時の基準家族No.99は登録されていない家族です")) << err_.str();
    EXPECT_TRUE(out_.str().empty());

    // Four generations below 源蔵 do not fit in a capacity of 3.
    std::string env = common::decodeCp932(common::readFile(dir_ / "KANKYO.TXT"));
    env.replace(env.find("最大世代数,30"), std::string("最大世代数,30").size(), "最大世代数,3");
    common::replaceFile(dir_ / "KANKYO.TXT", common::encodeCp932(env));
    before_ = testing_support::folderContents(dir_);
    EXPECT_EQ(run({"--layout", dir_.string(), "--cell", "21x21"}), 1);
    EXPECT_TRUE(errHas("階層値が最大階層深度数を超えました\n"
                       "KANKYO.TXTの最大階層深度数の値を大きくして下さい\n"))
        << err_.str();
}

TEST_F(LayoutJob, WithoutCellsTheChartFontIsMeasured) {
    ASSERT_EQ(run({"--layout", dir_.string()}), 0) << err_.str();
    // 16 points at 96 dpi: 21 pixels, the advance of "　" in the Mincho face.
    EXPECT_EQ(out_.str().find("{\"cell\":[21,"), 0u) << out_.str().substr(0, 40);
    EXPECT_EQ(platform::chartPixelSize(16), 21);
    EXPECT_EQ(platform::chartPixelSize(12), 16);
    EXPECT_EQ(platform::chartPixelSize(0), 21);
    EXPECT_EQ(platform::chartPixelSize(-3), 21);
}

} // namespace
