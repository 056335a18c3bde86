// The recorded drawing: what the chart canvas keeps of the drawing (blocks as placed
// sub-drawings, glyph cells inline, scratch canvases that do not grow), the replay onto
// another canvas, the pixels of bands and of tiles at any zoom, and the bitmap's header.
#include "render/bitmap_file.h"
#include "render/chart_run.h"
#include "render/drawing.h"
#include "render/raster.h"
#include "render/recording_canvas.h"
#include "render/typesetting.h"
#include "render/view_raster.h"

#include "core/data_folder.h"
#include "tests/support/bytes.h"

#include "replayed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using render::Box;
using render::DrawingCanvas;
using render::DrawingCanvasFactory;
using render::DrawOp;
using render::SyntheticGlyphs;

// A small chart drawn as the run draws one: a block typeset a glyph at a time through the
// glyph cell and copied onto the chart, a second block over a bar, a dotted line across
// everything and a family label through the glyph cell.
struct Scene {
    SyntheticGlyphs glyphs;
    DrawingCanvasFactory factory{glyphs};
    render::Typesetter ts{factory, false, render::KanjiNumerals::None};
    std::unique_ptr<DrawingCanvas> chart = factory.chart(300, 200);

    void block(const std::string& name, int x, int y) {
        render::Canvas& b = ts.blockCanvas(120, 40);
        ts.PRINT_SUB(b, 2, 2, name, 16, 0, render::kTextColour);
        chart->copyFrom(b, 0, 0, 120, 40, x, y);
    }
    std::unique_ptr<render::Drawing> draw() {
        ts.文字_MAX(16);
        block("山田太郎", 10, 7);
        chart->fillRect(5, 30, 290, 33, render::kLineColour);
        block("花子", 150, 20);
        chart->line(0, 0, 299, 199, 4, render::PenStyle::Dotted);
        render::Canvas& cell = ts.glyphCell();
        cell.fillRect(0, 0, cell.width() - 1, cell.height() - 1, render::kBackgroundColour);
        const render::TextEnd end = cell.drawText(0, 0, "(12)", render::kFamilyNumberColour);
        chart->copyFrom(cell, 0, 0, end.x, end.y, 60, 120);
        return chart->finish();
    }
};

int count(const std::vector<DrawOp>& ops, DrawOp::Kind kind) {
    return static_cast<int>(
        std::count_if(ops.begin(), ops.end(), [&](const DrawOp& o) { return o.kind == kind; }));
}

// Blocks become placed sub-drawings holding one text operation per glyph (the glyph cell's
// copy folded into it); the bar and the line stay on the chart.
TEST(RecordedDrawing, BlocksArePlacedWithTheirGlyphs) {
    Scene s;
    const auto d = s.draw();
    EXPECT_EQ(count(d->ops(), DrawOp::Kind::Place), 3) << "two blocks and the label";
    EXPECT_EQ(count(d->ops(), DrawOp::Kind::Fill), 1);
    EXPECT_EQ(count(d->ops(), DrawOp::Kind::Line), 1);
    const DrawOp& first = d->ops()[0];
    ASSERT_EQ(first.kind, DrawOp::Kind::Place);
    EXPECT_EQ(first.clip, (Box{10, 7, 130, 47}));
    const render::SubDrawing& sub = d->sub(first.ref);
    ASSERT_EQ(sub.ops.size(), 4u) << "one operation a glyph";
    for (const DrawOp& op : sub.ops) {
        EXPECT_EQ(op.kind, DrawOp::Kind::Text);
        EXPECT_EQ(op.clip, (Box{op.x1, 2, op.x1 + 21, 2 + 24})) << "the glyph cell copied";
    }
    EXPECT_EQ(d->run(sub.ops[2].ref), "太");
    EXPECT_EQ(sub.ops[2].x1, 2 + 2 * 21);
    EXPECT_EQ(d->sub(d->ops()[2].ref).ops.size(), 2u) << "花子";
}

// The block canvas and the glyph cell are used for every block: what is covered again is
// forgotten, so that they hold what one block needs, however many blocks are drawn.
TEST(RecordedDrawing, ScratchCanvasesDoNotGrow) {
    Scene s;
    s.ts.文字_MAX(16);
    for (int i = 0; i < 500; ++i) {
        s.block(i % 2 ? "山田太郎" : "佐藤花子ー", i % 100, i % 50);
    }
    const auto* blockCanvas = dynamic_cast<DrawingCanvas*>(&s.ts.blockCanvas(120, 40));
    ASSERT_NE(blockCanvas, nullptr);
    EXPECT_LE(blockCanvas->ops().size(), 1u) << "a cleared block holds nothing";
    const auto* cell = dynamic_cast<DrawingCanvas*>(&s.ts.glyphCell());
    EXPECT_LE(cell->ops().size(), 1u);
}

// Replayed onto a recording canvas, the drawing shows what drawing on that canvas directly
// shows: the texts where they stand and the pixels of the fills and copies.
TEST(RecordedDrawing, ReplayGivesWhatDrawingDirectlyGives) {
    Scene s;
    const auto d = s.draw();

    render::RecordingCanvasFactory direct;
    render::Typesetter ts(direct, false, render::KanjiNumerals::None);
    ts.文字_MAX(16);
    auto chart = direct.create(300, 200);
    auto block = [&](const std::string& name, int x, int y) {
        render::Canvas& b = ts.blockCanvas(120, 40);
        ts.PRINT_SUB(b, 2, 2, name, 16, 0, render::kTextColour);
        chart->copyFrom(b, 0, 0, 120, 40, x, y);
    };
    block("山田太郎", 10, 7);
    chart->fillRect(5, 30, 290, 33, render::kLineColour);
    block("花子", 150, 20);
    chart->line(0, 0, 299, 199, 4, render::PenStyle::Dotted);
    render::Canvas& cell = ts.glyphCell();
    cell.fillRect(0, 0, cell.width() - 1, cell.height() - 1, render::kBackgroundColour);
    const render::TextEnd end = cell.drawText(0, 0, "(12)", render::kFamilyNumberColour);
    chart->copyFrom(cell, 0, 0, end.x, end.y, 60, 120);
    const auto& expected = dynamic_cast<const render::RecordingCanvas&>(*chart);

    render::RecordingCanvas target(300, 200);
    render::RecordingCanvasFactory scratch;
    render::replay(*d, target, scratch);
    EXPECT_EQ(target.textsInOrder(), expected.textsInOrder());
    EXPECT_EQ(target.texts().size(), expected.texts().size());
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            ASSERT_EQ(target.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

// ---- pixels ----------------------------------------------------------------------------

// The synthetic glyphs ink their whole cell, so the pixels can be worked out: the first
// block's white rectangle, its glyphs in black, the bar over the first block in the line
// colour, the second block (white) over the bar, the dotted line over all of it.
TEST(Raster, ExactPixelsOfTheScene) {
    Scene s;
    const auto d = s.draw();
    render::Rasteriser raster(*d, s.glyphs);
    const std::vector<std::uint8_t> px = raster.paint(d->extent());
    auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y) * 300 + x]; };
    EXPECT_EQ(at(0, 0), 4) << "the dotted line's first dot";
    EXPECT_EQ(at(1, 0), 15);
    EXPECT_EQ(at(12, 9), 0) << "山 at (12, 9)";
    EXPECT_EQ(at(11, 9), 15) << "left of the glyph, inside the block";
    EXPECT_EQ(at(100, 31), 1) << "the bar";
    EXPECT_EQ(at(200, 31), 15) << "the second block covers the bar";
    EXPECT_EQ(at(152 + 21, 22), 0) << "子";
    EXPECT_EQ(at(60, 120), 2) << "the family label";
    EXPECT_EQ(at(295, 31), 15);
}

// A band boundary through a glyph, a bar, a block copy and a dotted line changes nothing:
// the drawing painted in bands of any height equals it painted whole.
TEST(Raster, BandsOfAnyHeightEqualTheWhole) {
    Scene s;
    const auto d = s.draw();
    render::Rasteriser raster(*d, s.glyphs);
    const std::vector<std::uint8_t> whole = raster.paint(d->extent());
    for (std::size_t rows : {1u, 3u, 8u, 31u, 200u}) {
        std::vector<std::uint8_t> joined;
        int expectedTop = 199;
        bool bottomUpOrder = true;
        render::paintBands(
            raster, *d, true,
            [&](const render::Band& b) {
                bottomUpOrder = bottomUpOrder && b.top + b.rows - 1 == expectedTop;
                expectedTop = b.top - 1;
                std::vector<std::uint8_t> band(b.pixels, b.pixels + b.rows * b.width);
                joined.insert(joined.begin(), band.begin(), band.end());
            },
            rows * 300);
        EXPECT_TRUE(bottomUpOrder) << rows;
        EXPECT_EQ(joined, whole) << "bands of " << rows << " rows";
    }
}

// The files' own band: about a mebibyte, but never so few rows that a chart hundreds of
// thousands of pixels wide is looked up row by row; an asked size is taken as it is.
TEST(Raster, BandRows) {
    EXPECT_EQ(render::bandRows(render::kAutomaticBand, 60'044, 2'576), 17);
    EXPECT_EQ(render::bandRows(render::kAutomaticBand, 569'808, 3'680), render::kMinBandRows);
    EXPECT_EQ(render::bandRows(render::kAutomaticBand, 569'808, 5), 5) << "a short chart whole";
    EXPECT_EQ(render::bandRows(render::kAutomaticBand, 100, 50), 50);
    EXPECT_EQ(render::bandRows(7 * 300, 300, 200), 7);
    EXPECT_EQ(render::bandRows(10, 300, 200), 1) << "one row at least";
    EXPECT_EQ(render::bandRows(render::kAutomaticBand, 300, 0), 1);
}

// The chart window's tiles at 25%, 100% and 400% give the pixels of the same rectangle
// painted in one piece at that zoom, wherever the tiles' edges fall.
TEST(Raster, TilesEqualOnePieceAtEveryZoom) {
    Scene s;
    const auto d = s.draw();
    render::Rasteriser raster(*d, s.glyphs);
    render::ViewRaster view(*d, s.glyphs, 4);
    for (double zoom : {0.25, 1.0, 4.0}) {
        view.setScale(zoom);
        const Box area{zoom > 1 ? 230 : 3, 5, zoom > 1 ? 1100 : 70, zoom > 1 ? 600 : 48};
        std::vector<std::uint8_t> tiled(static_cast<std::size_t>(area.width() * area.height()));
        view.paint(area, tiled.data(), static_cast<std::size_t>(area.width()));
        EXPECT_EQ(tiled, raster.paint(area, zoom)) << "zoom " << zoom;
        EXPECT_LE(view.tilesKept(), 4u);
    }
    view.setScale(1.0);
    EXPECT_EQ(view.width(), 300);
    view.setScale(0.25);
    EXPECT_EQ(view.width(), 75);
    EXPECT_EQ(view.height(), 50);
}

// Made small, a one-pixel bar keeps one pixel; made large, it grows with the zoom.
TEST(Raster, ThinLinesStayVisibleWhenSmall) {
    SyntheticGlyphs glyphs;
    DrawingCanvasFactory factory(glyphs);
    auto chart = factory.chart(400, 400);
    chart->fillRect(101, 10, 101, 390, render::kLineColour);
    const auto d = chart->finish();
    render::Rasteriser raster(*d, glyphs);
    const auto small = raster.paint({0, 0, 100, 100}, 0.25);
    EXPECT_EQ(small[50 * 100 + 25], 1);
    EXPECT_EQ(small[50 * 100 + 26], 15);
    const auto large = raster.paint({400, 100, 420, 101}, 4.0);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(large[static_cast<std::size_t>(x)], x >= 4 && x < 8 ? 1 : 15) << x;
    }
}

// ---- the bitmap file -------------------------------------------------------------------

TEST(BitmapFile, HeaderAndSizesBeyondFourGigabytes) {
    using testing_support::le32;
    const std::string small = render::bmpHeader(37, 21);
    ASSERT_EQ(small.size(), 14u + 40u + 64u);
    EXPECT_EQ(le32(small, 2), 118u + 40u * 21u) << "rows padded to 40 bytes";
    EXPECT_EQ(le32(small, 34), 40u * 21u);
    EXPECT_EQ(render::bmpFileSize(37, 21), 118u + 840u);
    // White is stored as 0: the colour table starts with white.
    EXPECT_EQ(static_cast<unsigned char>(small[54]), 255u);
    EXPECT_EQ(static_cast<unsigned char>(small[54 + 15 * 4]), 0u);

    // 1,769,161 × 4,048 pixels do not fit the 32-bit sizes: they are given as unknown (0),
    // the width and height as they are.
    const std::string big = render::bmpHeader(1769161, 4048);
    EXPECT_GT(render::bmpFileSize(1769161, 4048), 0xFFFFFFFFull);
    EXPECT_EQ(le32(big, 2), 0u);
    EXPECT_EQ(le32(big, 34), 0u);
    EXPECT_EQ(le32(big, 18), 1769161u);
    EXPECT_EQ(le32(big, 22), 4048u);
}

// ---- the chart run's recording -----------------------------------------------------------

// The samples' chart: its recording has the chart's size and writing direction, every
// person block is listed for the search, and the text drawing of the same run is the text
// grid's replay of the recording.
TEST(RecordedDrawing, TheSamplesChartAndItsTextDrawing) {
    const std::filesystem::path samples(TSUBAKI_SAMPLES_DIR);
    const core::DataFolder data = core::DataFolder::load(
        samples, core::readEnvironment(samples / "KANKYO.TXT"), [] { return true; });
    SyntheticGlyphs glyphs;
    render::ChartRequest request;
    request.baseFamily = 3;
    request.textMode = true;
    const render::ChartOutcome outcome =
        render::runChart(data.reg, data.settings, data.env, request, glyphs);
    ASSERT_TRUE(outcome.ok());
    const render::ChartDrawing& d = *outcome.drawing;
    ASSERT_NE(d.recording, nullptr);
    EXPECT_EQ(d.recording->width(), d.width);
    EXPECT_EQ(d.recording->height(), d.height);
    EXPECT_FALSE(d.recording->vertical) << "text mode draws horizontally";
    EXPECT_EQ(d.persons.size(), d.blocks.size());
    const auto again = render::drawTextGrid(*d.recording, d.text->metrics(), d.text->style());
    EXPECT_EQ(again->exportBytes(), d.text->exportBytes());
    EXPECT_GT(d.text->rowCount(), 10);
}

} // namespace
