// The one-byte chart canvas: what it shows must be exactly what a QtCanvas painted and
// copied onto it would show, and its bytes must be a BMP that reads back pixel for pixel.
#include "platform/chart_image.h"
#include "platform/qt_canvas.h"

#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <QGuiApplication>
#include <QImage>

#include "qt_application.h"
#include "tests/support/bytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using testing_support::ensureApplication;
using testing_support::le32;

using platform::ChartImage;
using platform::QtCanvas;

class ChartImageTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
};

// Every pixel of the chart as the palette colour it stands for, read back from its BMP.
void expectBmpShows(const ChartImage& chart, const std::string& label) {
    QImage back;
    const std::string_view bmp = chart.bmpBytes();
    ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(bmp.data()),
                                  static_cast<int>(bmp.size()), "BMP"))
        << label;
    ASSERT_EQ(back.size(), QSize(chart.width(), chart.height())) << label;
    for (int y = 0; y < chart.height(); ++y) {
        for (int x = 0; x < chart.width(); ++x) {
            ASSERT_EQ(back.pixel(x, y) | 0xFF000000u,
                      platform::paletteRgb(chart.paletteIndexAt(x, y)))
                << label << " at " << x << "," << y;
        }
    }
}

TEST_F(ChartImageTest, WhiteChartFilledRectanglesAndTheBmpLayout) {
    ChartImage c(37, 21); // rows padded to 40 bytes
    EXPECT_EQ(c.paletteIndexAt(0, 0), 15);
    EXPECT_EQ(c.paletteIndexAt(36, 20), 15);
    for (int i = 0; i < 16; ++i) {
        c.fillRect(i * 2 + 1, 20, i * 2, 3, i); // corners in any order, both included
    }
    EXPECT_EQ(c.paletteIndexAt(4, 3), 2);
    EXPECT_EQ(c.paletteIndexAt(5, 20), 2);
    EXPECT_EQ(c.paletteIndexAt(5, 2), 15);
    c.fillRect(-10, -10, 1000, 0, 9); // clipped
    EXPECT_EQ(c.paletteIndexAt(36, 0), 9);

    const std::string_view bmp = c.bmpBytes();
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 18), 37u);
    EXPECT_EQ(le32(bmp, 22), 21u);
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 8u) << "bits per pixel";
    EXPECT_EQ(le32(bmp, 46), 16u) << "sixteen colours";
    EXPECT_EQ(bmp.size(), 14u + 40 + 64 + 40 * 21);
    expectBmpShows(c, "filled");
}

// Blocks and glyph cells are QtCanvases: a copy takes their palette colours exactly,
// clipped at both canvases' edges.
TEST_F(ChartImageTest, CopiesFromQtCanvasesAreExact) {
    QtCanvas block(60, 40);
    block.fillRect(0, 0, 59, 39, 15);
    block.drawText(2, 2, "山田（", 0);
    block.fillRect(50, 30, 55, 35, 12);
    block.drawTextRotated(40, 0, "（", 4);
    ChartImage c(100, 70);
    c.fillRect(0, 0, 99, 69, 7);
    c.copyFrom(block, 0, 0, 60, 40, 10, 5);
    c.copyFrom(block, 30, 20, 100, 100, 80, 50); // runs over the chart's edge
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(c.paletteIndexAt(10 + x, 5 + y), block.paletteIndexAt(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(c.paletteIndexAt(9, 5), 7);
    EXPECT_EQ(c.paletteIndexAt(80 + 20, 50 + 10), 15) << "outside the chart";
    EXPECT_EQ(c.paletteIndexAt(80 + 19, 50 + 10), block.paletteIndexAt(49, 30));
    EXPECT_EQ(c.paletteIndexAt(99, 69), block.paletteIndexAt(49, 39));

    // Within the chart itself, overlapping rows.
    c.copyFrom(c, 10, 5, 60, 40, 12, 9);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(c.paletteIndexAt(12 + x, 9 + y), block.paletteIndexAt(x, y)) << x << "," << y;
        }
    }
    expectBmpShows(c, "copied");
}

TEST_F(ChartImageTest, SolidAndDottedLines) {
    ChartImage c(50, 50);
    c.line(5, 10, 44, 10, 1);
    for (int x = 5; x <= 44; ++x) {
        EXPECT_EQ(c.paletteIndexAt(x, 10), 1) << x;
    }
    EXPECT_EQ(c.paletteIndexAt(4, 10), 15);
    EXPECT_EQ(c.paletteIndexAt(45, 10), 15);
    c.line(20, 49, 20, 0, 6, render::PenStyle::Dotted);
    int dots = 0;
    for (int y = 0; y < 50; ++y) {
        dots += c.paletteIndexAt(20, y) == 6;
    }
    EXPECT_EQ(dots, 17) << "one pixel in three, from the first";
    EXPECT_EQ(c.paletteIndexAt(20, 49), 6);
    c.line(0, 0, 49, 49, 3); // diagonal: one pixel per row
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(c.paletteIndexAt(i, i), 3) << i;
    }
    c.line(-100, 30, 100, 30, 2); // clipped
    EXPECT_EQ(c.paletteIndexAt(0, 30), 2);
    EXPECT_EQ(c.paletteIndexAt(49, 30), 2);
}

TEST_F(ChartImageTest, TextDrawnStraightOntoTheChartKeepsTheBackground) {
    ChartImage c(80, 60);
    c.fillRect(0, 0, 79, 59, 14);
    c.setFontSize(16);
    const render::TextEnd end = c.drawText(3, 4, "山", 0);
    EXPECT_EQ(end.x, 3 + 21);
    int text = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const int i = c.paletteIndexAt(x, y);
            ASSERT_TRUE(i == 0 || i == 14) << x << "," << y;
            text += i == 0;
        }
    }
    EXPECT_GT(text, 10);
    c.drawTextRotated(70, 30, "（", 2);
    int turned = 0;
    for (int y = 30; y < 60; ++y) {
        for (int x = 40; x < 70; ++x) {
            turned += c.paletteIndexAt(x, y) == 2;
        }
    }
    EXPECT_GT(turned, 3) << "left of its reference point, running down";
}

// The memory of a chart released is used again for the next one: it must come back white.
TEST_F(ChartImageTest, AChartMadeAfterAnotherIsWhite) {
    for (int round = 0; round < 2; ++round) {
        auto first = std::make_unique<ChartImage>(2000, 1500);
        first->fillRect(0, 0, 1999, 1499, 0);
        first.reset();
        const ChartImage second(1900, 1400);
        for (int y = 0; y < 1400; y += 7) {
            for (int x = 0; x < 1900; x += 13) {
                ASSERT_EQ(second.paletteIndexAt(x, y), 15) << x << "," << y;
            }
        }
        EXPECT_EQ(second.paletteIndexAt(1899, 1399), 15);
        platform::ChartImage::releaseKeptMemory();
    }
}

TEST_F(ChartImageTest, SizesAndSaving) {
    try {
        ChartImage c(100000, 20000);
        FAIL() << "made";
    } catch (const render::CanvasError& e) {
        EXPECT_NE(std::string(e.what()).find("100000×20000"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ChartImage(0, 10), render::CanvasError);
    platform::ChartImageFactory factory;
    EXPECT_THROW(factory.create(5, -5), render::CanvasError);

    ChartImage c(30, 20);
    c.fillRect(0, 0, 9, 9, 10);
    testing_support::TempDir dir;
    const auto path = dir.path() / "図面.BMP";
    dir.write("図面.BMP", "old");
    c.saveBmp(path);
    EXPECT_EQ(common::readFile(path), std::string(c.bmpBytes()));
    EXPECT_THROW(c.saveBmp(dir.path() / "no folder" / "図面.BMP"), common::FileError);
    QImage png;
    ASSERT_TRUE(png.loadFromData(QByteArray::fromStdString(c.pngBytes()), "PNG"));
    EXPECT_EQ(png.pixel(3, 3) | 0xFF000000u, platform::paletteRgb(10));
    EXPECT_EQ(png.pixel(25, 15) | 0xFF000000u, platform::paletteRgb(15));
    // The window's part: indexed, the palette's colours, white beyond the chart.
    const QImage part = c.part(5, 5, 40, 10);
    EXPECT_EQ(part.size(), QSize(40, 10));
    EXPECT_EQ(part.pixel(0, 0) | 0xFF000000u, platform::paletteRgb(10));
    EXPECT_EQ(part.pixel(30, 5) | 0xFF000000u, platform::paletteRgb(15));
}

} // namespace
