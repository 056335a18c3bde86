// The chart font's glyphs as the recorded drawing stamps them, against QPainter drawing the
// same text on a canvas: the same pixels upright and turned, alone and in runs of several
// characters, at every position; and a whole drawing rasterised from its recording against
// the same drawing replayed onto QPainter canvases.
#include "platform/qt_canvas.h"
#include "platform/qt_glyphs.h"

#include "render/drawing.h"
#include "render/raster.h"
#include "render/typesetting.h"

#include "qt_application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::ensureApplication;

class QtGlyphsTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
    platform::QtGlyphs glyphs;
};

// The pixels a stamp of `text`'s ink at (x, y) makes on a white w × h grid (1 = ink).
std::vector<int> stamped(const render::GlyphInk& ink, int x, int y, int w, int h) {
    std::vector<int> out(static_cast<std::size_t>(w * h), 0);
    for (const render::InkSpan& s : ink.spans) {
        for (int px = s.x0; px < s.x1; ++px) {
            const int X = x + px;
            const int Y = y + s.y;
            if (X >= 0 && Y >= 0 && X < w && Y < h) {
                out[static_cast<std::size_t>(Y * w + X)] = 1;
            }
        }
    }
    return out;
}

std::vector<int> painted(const platform::QtCanvas& c) {
    std::vector<int> out(static_cast<std::size_t>(c.width() * c.height()), 0);
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            out[static_cast<std::size_t>(y * c.width() + x)] =
                c.paletteIndexAt(x, y) != render::kBackgroundColour;
        }
    }
    return out;
}

TEST_F(QtGlyphsTest, InkEqualsWhatQPainterDraws) {
    const std::vector<std::string> texts = {"山", "田", "郎",      "ぁ",  "ッ",       "（",
                                            "）", "｜", "ー",      "〇",  "壱",       "１",
                                            "7",  "12", "(32767)", "(5)", "被相続人", "　"};
    for (const float points : {16.0f, 12.0f, 24.0f}) {
        const int size = render::fontPixelSize(points);
        for (const std::string& t : texts) {
            for (const bool turned : {false, true}) {
                for (const auto& [x, y] : {std::pair{40, 30}, std::pair{53, 41}}) {
                    platform::QtCanvas c(200, 200);
                    c.setFontSize(points);
                    if (turned) {
                        c.drawTextRotated(x, y, t, render::kTextColour);
                    } else {
                        c.drawText(x, y, t, render::kTextColour);
                    }
                    const std::vector<int> a = stamped(glyphs.ink(t, size, turned), x, y, 200, 200);
                    const std::vector<int> b = painted(c);
                    int differ = 0;
                    for (std::size_t i = 0; i < a.size(); ++i) {
                        differ += a[i] != b[i];
                    }
                    EXPECT_EQ(differ, 0) << t << " at " << points << " pt"
                                         << (turned ? " turned" : "") << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(QtGlyphsTest, MeasuresAsTheCanvasDoesAndRendersEachCharacterOnce) {
    platform::QtCanvas c(10, 10);
    for (const char* t : {"　", "", "山田", "12", "(32767)"}) {
        EXPECT_EQ(glyphs.measure(t, 21).x, c.drawText(0, 0, t, 0).x) << t;
        EXPECT_EQ(glyphs.measure(t, 21).y, c.drawText(0, 0, t, 0).y) << t;
    }
    glyphs.ink("12", 21, false);
    glyphs.ink("21", 21, false);
    glyphs.ink("112", 21, false);
    glyphs.ink("1", 21, false);
    EXPECT_EQ(glyphs.renderedGlyphs(), 2u) << "\"1\" and \"2\", once each";
    glyphs.ink("1", 21, true);
    glyphs.ink("1", 28, false);
    EXPECT_EQ(glyphs.renderedGlyphs(), 4u) << "another turn, another size";
}

// Blocks in vertical writing (turned brackets, small kana, kanji numerals, "ー" as "｜"),
// blocks over a bar, and a family label: the pixels rasterised from the recording are those
// of the same drawing replayed onto QPainter canvases. (Lines are not compared: the chart's
// are drawn from end to end with one dot in three, QPainter's pens are not.)
TEST_F(QtGlyphsTest, ARasterisedDrawingEqualsTheDrawingPaintedByQPainter) {
    render::DrawingCanvasFactory factory(glyphs);
    render::Typesetter ts(factory, true, render::KanjiNumerals::Formal);
    const render::CellMetrics cell = ts.文字_MAX(16);
    auto chart = factory.chart(400, 300);
    const std::vector<std::string> names = {"（長男）山田一郎", "ショウコ・ユーリ", "昭和１２年生",
                                            "「佐藤」ぁぃぅ、。"};
    chart->fillRect(0, 100, 399, 102, render::kLineColour);
    for (std::size_t i = 0; i < names.size(); ++i) {
        render::Canvas& block = ts.blockCanvas(2 * cell.CW, 10 * cell.CH);
        ts.PRINT_SUB(block, 0, 0, names[i], 16, 1, render::kTextColour);
        chart->copyFrom(block, 0, 0, 2 * cell.CW, 10 * cell.CH, 10 + static_cast<int>(i) * 60,
                        5 + static_cast<int>(i) * 7);
    }
    render::Canvas& label = ts.glyphCell();
    label.fillRect(0, 0, label.width() - 1, label.height() - 1, render::kBackgroundColour);
    const render::TextEnd end = label.drawText(0, 0, "(12)", render::kFamilyNumberColour);
    chart->copyFrom(label, 0, 0, end.x, end.y, 300, 250);
    const auto drawing = chart->finish();

    render::Rasteriser raster(*drawing, glyphs);
    const std::vector<std::uint8_t> pixels = raster.paint(drawing->extent());
    platform::QtCanvas reference(400, 300);
    platform::QtCanvasFactory scratch;
    render::replay(*drawing, reference, scratch);
    int differences = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            const int index = pixels[static_cast<std::size_t>(y * 400 + x)];
            differences +=
                platform::paletteRgb(index) != (reference.image().pixel(x, y) | 0xFF000000u);
        }
    }
    EXPECT_EQ(differences, 0);
    int ink = 0;
    for (std::uint8_t p : pixels) {
        ink += p == render::kTextColour;
    }
    EXPECT_GT(ink, 500) << "the names were drawn";
}

} // namespace
