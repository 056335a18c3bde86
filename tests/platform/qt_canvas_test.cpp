#include "platform/qt_canvas.h"

#include "render/lines.h"
#include "render/typesetting.h"

#include <QGuiApplication>
#include <QImage>

#include "qt_application.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using testing_support::ensureApplication;

using platform::QtCanvas;

class QtCanvasTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
};

// Pixels of the canvas that are no palette colour.
int foreignPixels(const QtCanvas& c) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            n += c.paletteIndexAt(x, y) < 0;
        }
    }
    return n;
}

// Pixels of a colour within a rectangle (both corners included).
int countColour(const QtCanvas& c, int colour, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            n += c.paletteIndexAt(x, y) == colour;
        }
    }
    return n;
}

TEST_F(QtCanvasTest, NewCanvasIsWhiteAndRectanglesIncludeBothCorners) {
    QtCanvas c(40, 30);
    EXPECT_EQ(countColour(c, render::kBackgroundColour, 0, 0, 39, 29), 1200);
    c.fillRect(12, 8, 10, 5, 4); // corners in any order
    EXPECT_EQ(countColour(c, 4, 0, 0, 39, 29), 3 * 4);
    EXPECT_EQ(c.paletteIndexAt(10, 5), 4);
    EXPECT_EQ(c.paletteIndexAt(12, 8), 4);
    EXPECT_EQ(c.paletteIndexAt(13, 8), render::kBackgroundColour);
}

TEST_F(QtCanvasTest, ChartFontCellAndTextEnd) {
    QtCanvas c(200, 60);
    c.setFontSize(16);
    const auto space = c.drawText(0, 0, "　", 0);
    EXPECT_EQ(space.x, 21) << "16 points at 96 dpi: 21 pixels";
    const auto two = c.drawText(5, 10, "山田", 0);
    EXPECT_EQ(two.x, 5 + 2 * space.x);
    EXPECT_GT(two.y, 10);
    EXPECT_EQ(c.drawText(0, 0, "", 0).y, space.y) << "an empty line is one line high";
    // Glyphs only: the text colour inside the two cells, nothing outside them.
    EXPECT_GT(countColour(c, 0, 5, 10, 5 + 42 - 1, two.y - 1), 20);
    c.setFontSize(12);
    EXPECT_EQ(c.drawText(0, 0, "　", 0).x, 16);
}

TEST_F(QtCanvasTest, EveryPixelIsAPaletteColourAfterDrawing) {
    QtCanvas c(300, 200);
    c.setFontSize(16);
    c.drawText(3, 4, "山田太郎（被）１９２３年", 0);
    c.drawText(3, 40, "ABCxyz 。、っ", 12);
    c.drawTextRotated(60, 80, "（「～」）", 2);
    c.line(0, 0, 299, 199, 1);
    c.line(10, 190, 290, 20, 6, render::PenStyle::Dotted);
    c.fillRect(100, 100, 140, 120, 9);
    EXPECT_EQ(foreignPixels(c), 0);
}

TEST_F(QtCanvasTest, RotatedTextLiesLeftOfItsReferencePointAndBelowIt) {
    QtCanvas c(200, 200);
    c.setFontSize(16);
    c.drawTextRotated(100, 50, "山田", 0);
    const auto end = c.drawText(0, 0, "", 15);
    const int lineHeight = end.y;
    EXPECT_GT(countColour(c, 0, 100 - lineHeight, 50, 99, 50 + 42), 20);
    // Nothing right of x 100 or above y 50.
    EXPECT_EQ(countColour(c, 0, 101, 0, 199, 199), 0);
    EXPECT_EQ(countColour(c, 0, 0, 0, 199, 48), 0);
}

TEST_F(QtCanvasTest, CopyBetweenCanvasesIsExact) {
    QtCanvas glyph(50, 50);
    QtCanvas block(100, 100);
    glyph.fillRect(0, 0, 9, 9, 12);
    glyph.fillRect(10, 0, 19, 9, 3);
    block.copyFrom(glyph, 5, 0, 10, 10, 40, 60);
    EXPECT_EQ(countColour(block, 12, 0, 0, 99, 99), 50);
    EXPECT_EQ(countColour(block, 3, 0, 0, 99, 99), 50);
    EXPECT_EQ(block.paletteIndexAt(40, 60), 12);
    EXPECT_EQ(block.paletteIndexAt(45, 69), 3);
    // Within one canvas, overlapping.
    block.copyFrom(block, 40, 60, 10, 10, 45, 60);
    EXPECT_EQ(block.paletteIndexAt(49, 60), 12);
}

TEST_F(QtCanvasTest, ChartTooLargeIsAnErrorNamingItsSize) {
    try {
        QtCanvas c(100000, 100000);
        FAIL() << "made";
    } catch (const render::CanvasError& e) {
        EXPECT_NE(std::string(e.what()).find("100000×100000"), std::string::npos) << e.what();
    }
    EXPECT_THROW(QtCanvas(0, 10), render::CanvasError);
    platform::QtCanvasFactory factory;
    EXPECT_THROW(factory.create(-5, 5), render::CanvasError);
}

// The typesetting on real pixels: a vertical line of text stays in its column and the
// turned bracket lands in its own cell.
TEST_F(QtCanvasTest, TypesettingOnQtCanvases) {
    platform::QtCanvasFactory factory;
    render::Typesetter ts(factory, true, render::KanjiNumerals::Plain);
    const auto m = ts.文字_MAX(16);
    EXPECT_EQ(m.CW, 21);
    QtCanvas block(100, 200);
    ts.PRINT_SUB(block, 10, 5, "（１）", 16, 0, 0);
    EXPECT_EQ(foreignPixels(block), 0);
    for (int cell = 0; cell < 3; ++cell) {
        const int top = 5 + cell * m.CH;
        EXPECT_GT(countColour(block, 0, 10, top, 10 + m.CH, top + m.CH - 1), 5) << cell;
    }
    EXPECT_EQ(countColour(block, 0, 0, 0, 9, 199), 0);
    EXPECT_EQ(countColour(block, 0, 10 + m.CH + 1, 0, 99, 199), 0);

    // Lines on a Qt chart canvas: a 5-pixel bar for thickness 4.
    QtCanvas chart(100, 100);
    render::LineSettings s;
    s.W = 21;
    s.H = m.CH;
    s.ラインの太さ = 4;
    render::LineDrawer d(chart, s);
    d.LINE_SUB1(0, 50, 10, 50, 90);
    // Entries 0 and 1 are both black; a black pixel reads as entry 0.
    EXPECT_EQ(countColour(chart, 0, 0, 50, 99, 50), 5);
    EXPECT_EQ(countColour(chart, 0, 0, 0, 99, 99), 5 * 81);
}

} // namespace
