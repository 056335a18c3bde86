// The chart on paper: every page of the PDF of the samples' vertical chart, laid over
// sheets across and down, shows the part of the chart the plan gives it as the bitmap shows
// that part (rendered back with poppler and compared cell by cell), the right-most sheet
// first; and a write that fails half way leaves the old PDF whole.
#include "platform/paper_painter.h"
#include "platform/qt_glyphs.h"

#include "common/file_io.h"
#include "core/data_folder.h"
#include "render/chart_run.h"
#include "render/page_setup.h"
#include "render/raster.h"
#include "tests/support/fault_ops.h"
#include "tests/support/poppler.h"
#include "tests/support/test_support.h"

#include "qt_application.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class Paper : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ensureApplication();
        const fs::path samples(TSUBAKI_SAMPLES_DIR);
        const core::DataFolder data = core::DataFolder::load(
            samples, core::readEnvironment(samples / "KANKYO.TXT"), [] { return true; });
        render::ChartRequest request;
        request.baseFamily = 3;
        render::ChartOutcome outcome =
            render::runChart(data.reg, data.settings, data.env, request, glyphs);
        ASSERT_TRUE(outcome.ok());
        drawing = outcome.drawing->recording;
        ASSERT_TRUE(drawing->vertical);
    }

    // Cells of kCell × kCell chart pixels that hold ink, in the bitmap's `source` and in
    // the page rendered at one device pixel to the chart pixel: the share of the cells with
    // ink in either where the other has ink too, within two pixels (a line on paper runs
    // straight where the bitmap's steps, and a glyph's outline is not its pixels).
    double agreement(const testing_support::GreyPage& page, const render::PaperRect& area,
                     const render::PaperRect& source) {
        constexpr int kCell = 8;
        constexpr int kReach = 2;
        const render::Box box{
            static_cast<int>(std::floor(source.left)), static_cast<int>(std::floor(source.top)),
            static_cast<int>(std::ceil(source.right)), static_cast<int>(std::ceil(source.bottom))};
        render::Rasteriser raster(*drawing, glyphs);
        const std::vector<std::uint8_t> pixels = raster.paint(box);
        const int w = box.width();
        const int h = box.height();
        std::vector<bool> chartInk(pixels.size());
        std::vector<bool> pageInk(pixels.size());
        const double x0 = area.left * page.perMm();
        const double y0 = area.top * page.perMm();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const auto i = static_cast<std::size_t>(y * w + x);
                chartInk[i] = pixels[i] != render::kBackgroundColour;
                const int px = static_cast<int>(std::lround(x0 + x));
                const int py = static_cast<int>(std::lround(y0 + y));
                pageInk[i] = px >= 0 && py >= 0 && px < page.width && py < page.height &&
                             page.at(px, py) < 128;
            }
        }
        const auto inkIn = [&](const std::vector<bool>& ink, int left, int top, int reach) {
            for (int y = std::max(0, top - reach); y < std::min(h, top + kCell + reach); ++y) {
                for (int x = std::max(0, left - reach); x < std::min(w, left + kCell + reach);
                     ++x) {
                    if (ink[static_cast<std::size_t>(y * w + x)]) {
                        return true;
                    }
                }
            }
            return false;
        };
        int either = 0;
        int agreed = 0;
        for (int cy = 0; cy + kCell <= h; cy += kCell) {
            for (int cx = 0; cx + kCell <= w; cx += kCell) {
                const bool c = inkIn(chartInk, cx, cy, 0);
                const bool p = inkIn(pageInk, cx, cy, 0);
                if (c || p) {
                    ++either;
                    agreed += (!c || inkIn(pageInk, cx, cy, kReach)) &&
                              (!p || inkIn(chartInk, cx, cy, kReach));
                }
            }
        }
        return either == 0 ? 1.0 : static_cast<double>(agreed) / either;
    }

    platform::QtGlyphs glyphs;
    std::shared_ptr<const render::Drawing> drawing;
    testing_support::TempDir dir;
};

TEST_F(Paper, EveryPageShowsItsPartOfTheChartTheRightMostFirst) {
    render::PageSetup setup;
    setup.orientation = render::Orientation::Landscape;
    setup.minFontPoints = 14;
    const render::PagePlan plan = render::planPages(render::pageContentOf(*drawing), setup);
    ASSERT_GE(plan.columns, 2);
    ASSERT_GE(plan.rows, 2);
    const fs::path file = dir.path() / "chart.pdf";
    platform::writePdf(*drawing, glyphs, plan, file);
    ASSERT_EQ(testing_support::pdfPages(file), plan.pageCount());

    // One device pixel to the chart pixel.
    const double dpi = 96 / plan.scale;
    for (const render::Page& page : plan.pages) {
        const testing_support::GreyPage image =
            testing_support::renderPage(file, page.number, dpi, dir.path(), true);
        EXPECT_GT(agreement(image, page.area, page.source), 0.98) << "page " << page.number;
    }
    // The first page is the top right one (the top one with anything on it of the
    // right-most column); it does not look like the top left one.
    const render::Page& first = plan.pages[0];
    EXPECT_EQ(first.column, plan.columns - 1);
    for (const render::Page& page : plan.pages) {
        if (page.column == first.column) {
            EXPECT_GE(page.row, first.row);
        }
    }
    const testing_support::GreyPage image =
        testing_support::renderPage(file, 1, dpi, dir.path(), true);
    render::PaperRect left = first.source;
    left.left = plan.cutsAcross.front();
    left.right = left.left + first.source.width();
    EXPECT_LT(agreement(image, first.area, left), 0.5);
}

TEST_F(Paper, AFailedWriteLeavesTheOldFileWhole) {
    const render::PagePlan plan = render::planPages(render::pageContentOf(*drawing), {});
    const fs::path file = dir.path() / "図面.PDF";
    dir.write("図面.PDF", "the old file");
    testing_support::FaultyFileOps counter;
    {
        common::ScopedFileOps scope(counter);
        platform::writePdf(*drawing, glyphs, plan, file);
    }
    const std::string written = common::readFile(file);
    ASSERT_EQ(written.substr(0, 5), "%PDF-");
    long writes = 0;
    for (const std::string& op : counter.log()) {
        writes += op == "write";
    }
    ASSERT_GT(writes, 3);
    // A write in the middle and the last one fail: the file stays as it was and the
    // temporary file goes.
    for (long failing : {writes / 2, writes - 1}) {
        long seen = 0;
        long at = 0;
        for (; at < counter.count(); ++at) {
            if (counter.log()[static_cast<std::size_t>(at)] == "write" && seen++ == failing) {
                break;
            }
        }
        testing_support::FaultyFileOps ops(testing_support::FaultyFileOps::Mode::Fail, at, ENOSPC);
        common::ScopedFileOps scope(ops);
        EXPECT_THROW(platform::writePdf(*drawing, glyphs, plan, file), common::FileError);
        EXPECT_TRUE(ops.triggered());
        EXPECT_EQ(common::readFile(file), written);
        EXPECT_TRUE(testing_support::temporaries(testing_support::snapshot(dir.path())).empty());
    }
}

} // namespace
