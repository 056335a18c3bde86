// tsubaki --pdf on a copy of the sample folder, read back with poppler's tools: the paper
// and the page count, the chart font embedded, the names and the title as text, the page
// numbers of a chart laid over several sheets, the list chart on A4 portrait with the bottom
// 50 mm of every sheet blank, the margins clear, the options refused, and the folder left as
// it was.
#include "sample_folder_job.h"

#include "common/file_io.h"
#include "core/data_folder.h"

#include "tests/support/poppler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

using testing_support::pdfFonts;
using testing_support::pdfInfo;
using testing_support::pdfPages;
using testing_support::pdfText;
using testing_support::renderPage;

class PdfJob : public testing_support::SampleFolderJob {
protected:
    static void horizontal(core::DataFolder& d) {
        d.settings.縦書き = false;
        d.settings.横書き = true;
    }
    // The samples' list chart (families 2 and 4 drawn on the husband's side).
    void listChart() {
        editFolder([](core::DataFolder& d) {
            horizontal(d);
            d.settings.法定相続情報一覧図にする = true;
            d.reg.family(2).系統_F = core::Lineage::Paternal;
            d.reg.family(4).系統_F = core::Lineage::Paternal;
        });
    }
    int pdf(const std::vector<std::string>& options = {}) {
        std::vector<std::string> args{"--pdf", out("図面.PDF").string(), dir_.string()};
        args.insert(args.end(), options.begin(), options.end());
        return run(args);
    }
    // The page count the job reported ("（A4 縦 2 枚、縮尺 46%）").
    int reportedPages() const {
        static const std::regex said("（(A4|A3|B4|B5) (縦|横) ([0-9]+) 枚、縮尺 [0-9.]+%）");
        std::smatch m;
        const std::string text = out_.str();
        return std::regex_search(text, m, said) ? std::stoi(m[3]) : -1;
    }
    // Every page's size as pdfinfo gives it, in whole millimetres ("210 x 297").
    std::vector<std::string> pageSizes() const {
        const std::string info = pdfInfo(out("図面.PDF"));
        static const std::regex size("Page +[0-9]+ size: +([0-9.]+) x ([0-9.]+) pts");
        std::vector<std::string> out;
        for (auto it = std::sregex_iterator(info.begin(), info.end(), size);
             it != std::sregex_iterator(); ++it) {
            // The file gives whole points: within half a point of the paper.
            const auto mm = [](const std::string& pts) {
                return std::to_string(std::lround(std::stod(pts) * 25.4 / 72));
            };
            out.push_back(mm((*it)[1]) + " x " + mm((*it)[2]));
        }
        return out;
    }
    fs::path pdfFile() const { return out("図面.PDF"); }
};

TEST_F(PdfJob, TheSamplesChartIsSearchableTextInTheChartFont) {
    editFolder(horizontal);
    ASSERT_EQ(pdf(), 0) << err_.str();
    EXPECT_TRUE(outHas("書き込み: " + pdfFile().string() + "（A4 縦 2 枚、縮尺 51%）"))
        << out_.str();
    EXPECT_EQ(pdfPages(pdfFile()), 2);
    EXPECT_NE(pdfInfo(pdfFile()).find("(A4)"), std::string::npos);
    EXPECT_EQ(pageSizes(), (std::vector<std::string>{"210 x 297", "210 x 297"}));
    EXPECT_NE(pdfInfo(pdfFile()).find("Title:           系図"), std::string::npos);
    // IPA明朝 embedded, as a subset: the file is a small part of the font's 8 MB.
    const std::string fonts = pdfFonts(pdfFile());
    EXPECT_TRUE(std::regex_search(fonts, std::regex("IPAMincho +CID TrueType +Identity-H +yes")))
        << fonts;
    EXPECT_EQ(fonts.find("Type 3"), std::string::npos) << "no glyphs drawn as pictures";
    EXPECT_LT(fs::file_size(pdfFile()), 400u * 1024);
    // The names, the titles and the dates as text, each page numbered.
    const std::string text = pdfText(pdfFile());
    for (const char* name : {"長男 山田太郎", "（後妻）山田花子", "佐藤キヨ", "中村さくら",
                             "養女 山田優子", "昭和４５年１１月３日生"}) {
        EXPECT_NE(text.find(name), std::string::npos) << name;
    }
    EXPECT_NE(pdfText(pdfFile(), 1).find("1 / 2"), std::string::npos);
    EXPECT_NE(pdfText(pdfFile(), 2).find("2 / 2"), std::string::npos);
}

TEST_F(PdfJob, TheOptionsChooseThePaper) {
    // A3 portrait holds the samples' tall vertical chart on one sheet, landscape not.
    ASSERT_EQ(pdf({"--paper", "a3"}), 0) << err_.str();
    EXPECT_TRUE(outHas("（A3 縦 1 枚、縮尺 49%）")) << out_.str();
    EXPECT_EQ(pageSizes(), std::vector<std::string>{"297 x 420"});
    ASSERT_EQ(pdf({"--paper", "A3", "--orientation", "landscape"}), 0) << err_.str();
    EXPECT_TRUE(outHas("（A3 横 2 枚、")) << out_.str();
    EXPECT_EQ(pageSizes(), (std::vector<std::string>{"420 x 297", "420 x 297"}));
    // B4 and B5 are the JIS sizes.
    ASSERT_EQ(pdf({"--paper", "B5", "--margin", "10"}), 0) << err_.str();
    EXPECT_EQ(pageSizes().front(), "182 x 257");
    ASSERT_EQ(pdf({"--paper", "B4", "--one-page"}), 0) << err_.str();
    EXPECT_EQ(pageSizes(), std::vector<std::string>{"257 x 364"});
    // A larger floor needs more sheets.
    ASSERT_EQ(pdf({"--min-font-pt", "20"}), 0) << err_.str();
    EXPECT_GT(reportedPages(), 2);
    EXPECT_EQ(pdfPages(pdfFile()), reportedPages());
}

TEST_F(PdfJob, EveryPageOfALargeChartIsNumbered) {
    editFolder(horizontal);
    ASSERT_EQ(pdf({"--min-font-pt", "20"}), 0) << err_.str();
    const int pages = reportedPages();
    ASSERT_GT(pages, 4);
    ASSERT_EQ(pdfPages(pdfFile()), pages);
    for (int n = 1; n <= pages; ++n) {
        const std::string text = pdfText(pdfFile(), n);
        EXPECT_NE(text.find(std::to_string(n) + " / " + std::to_string(pages)), std::string::npos)
            << "page " << n;
    }
    // The number sits in the top margin at the right, clear of the chart and the edge.
    const testing_support::GreyPage page = renderPage(pdfFile(), 2, 100, out_dir_);
    EXPECT_TRUE(page.inkIn(150, 2, 195, 13));
    EXPECT_FALSE(page.inkIn(0, 0, 210, 2));
    EXPECT_FALSE(page.inkIn(0, 0, 2, 297));
}

// The list chart: A4 portrait, nothing in the bottom 50 mm of any sheet, nothing in the
// margins of a single sheet, the title and the heirs' names as text.
TEST_F(PdfJob, TheListChartKeepsTheBottomOfEverySheetBlank) {
    listChart();
    ASSERT_EQ(pdf(), 0) << err_.str();
    const int pages = reportedPages();
    EXPECT_TRUE(outHas("（A4 縦 2 枚、縮尺 45%）")) << out_.str();
    ASSERT_EQ(pdfPages(pdfFile()), pages);
    EXPECT_NE(pdfInfo(pdfFile()).find("Title:           法定相続情報一覧図"), std::string::npos);
    const std::string text = pdfText(pdfFile());
    for (const char* wanted : {"被相続人", "法定相続情報", "（被相続人）", "山田太郎", "山田一郎",
                               "（申出人）", "被代襲者"}) {
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
    }
    for (int n = 1; n <= pages; ++n) {
        const testing_support::GreyPage page = renderPage(pdfFile(), n, 100, out_dir_);
        EXPECT_TRUE(page.inkIn(15, 15, 195, 246)) << "page " << n;
        EXPECT_FALSE(page.inkIn(0, 297 - 50, 210, 297)) << "page " << n;
        EXPECT_FALSE(page.inkIn(0, 0, 210, 2)) << "page " << n;
    }

    // On one sheet: the same guard, and every margin clear.
    ASSERT_EQ(pdf({"--one-page"}), 0) << err_.str();
    EXPECT_TRUE(outHas("（A4 縦 1 枚、縮尺 22%）")) << out_.str();
    EXPECT_TRUE(errHas("注意: 1 枚に収めたため、文字は 3.5 ポイントです")) << err_.str();
    const testing_support::GreyPage one = renderPage(pdfFile(), 1, 100, out_dir_);
    EXPECT_TRUE(one.inkIn(15, 15, 195, 246));
    EXPECT_FALSE(one.inkIn(0, 297 - 50, 210, 297));
    EXPECT_FALSE(one.inkIn(0, 0, 210, 15 - 0.3));
    EXPECT_FALSE(one.inkIn(0, 0, 15 - 0.3, 297));
    EXPECT_FALSE(one.inkIn(195 + 0.3, 0, 210, 297));

    // Landscape when asked: the guard still holds (210 mm high, the bottom 50 mm blank).
    ASSERT_EQ(pdf({"--orientation", "landscape"}), 0) << err_.str();
    EXPECT_TRUE(outHas("（A4 横 "));
    for (int n = 1; n <= pdfPages(pdfFile()); ++n) {
        EXPECT_FALSE(renderPage(pdfFile(), n, 100, out_dir_).inkIn(0, 210 - 50, 297, 210));
    }
}

// A legal chart's checks hold for the PDF as for the bitmap: printed on stderr, and with
// --strict nothing is written while there is an error.
TEST_F(PdfJob, TheChecksOfALegalChartHoldForThePdf) {
    listChart();
    EXPECT_EQ(pdf({"--strict", "--paper", "A3"}), 2);
    EXPECT_TRUE(errHas("誤り：当事者NO.8 山田健太")) << err_.str();
    EXPECT_FALSE(fs::exists(pdfFile()));
    ASSERT_EQ(pdf({"--paper", "A3"}), 0) << err_.str();
    EXPECT_TRUE(errHas("誤り：当事者NO.8 山田健太"));
    EXPECT_TRUE(outHas("（A3 縦 "));
}

// The explanation chart keeps the family chart's paper (A4 portrait, no guard).
TEST_F(PdfJob, TheExplanationChartIsTitledAsSuch) {
    editFolder([](core::DataFolder& d) { d.settings.相続関係説明図にする = true; });
    ASSERT_EQ(pdf({"--one-page"}), 0) << err_.str();
    EXPECT_NE(pdfInfo(pdfFile()).find("Title:           相続関係説明図"), std::string::npos);
    EXPECT_TRUE(outHas("（A4 縦 1 枚、"));
    EXPECT_TRUE(renderPage(pdfFile(), 1, 100, out_dir_).inkIn(15, 297 - 50, 195, 282));
}

TEST_F(PdfJob, WrongOptionsAreRefusedAndNothingIsWritten) {
    const fs::path file = pdfFile();
    const struct {
        std::vector<std::string> options;
        const char* message;
    } cases[] = {
        {{"--paper", "A5"}, "--paper の値「A5」は A4、A3、B4、B5 のどれか"},
        {{"--orientation", "up"}, "--orientation の値「up」"},
        {{"--margin", "-3"}, "--margin の値「-3」"},
        {{"--margin", "abc"}, "--margin の値「abc」"},
        {{"--margin", "101"}, "--margin の値「101」"},
        {{"--min-font-pt", "0.5"}, "--min-font-pt の値「0.5」"},
        {{"--margin"}, "--margin の値がありません"},
        {{"--paper", "B5", "--orientation", "landscape", "--margin", "80"}, "余白が大きすぎて"},
        {{"--cell", "21x21"}, "不明なオプション「--cell」"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pdf(c.options), 1) << c.message;
        EXPECT_TRUE(errHas(c.message)) << err_.str();
        EXPECT_FALSE(fs::exists(file)) << c.message;
    }
    EXPECT_EQ(run({"--pdf", out("chart.png").string(), dir_.string()}), 1);
    EXPECT_TRUE(errHas("拡張子は .pdf にしてください"));
    EXPECT_EQ(run({"--pdf", out("x.pdf").string()}), 1);

    // An existing PDF is replaced whole; a folder that cannot be written to leaves nothing.
    ASSERT_EQ(pdf(), 0) << err_.str();
    ASSERT_EQ(pdf({"--paper", "A3"}), 0) << err_.str();
    EXPECT_EQ(pageSizes().front(), "297 x 420");
    EXPECT_EQ(run({"--pdf", (out_dir_ / "missing" / "x.pdf").string(), dir_.string()}), 1);
    EXPECT_FALSE(fs::exists(out_dir_ / "missing"));
}

} // namespace
