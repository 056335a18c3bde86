#include "render/view_geometry.h"

#include <gtest/gtest.h>

namespace {

using render::ChartView;
using render::CornerState;
using render::ViewRect;

TEST(ViewLayout, SmallChartIsCentredWithoutBars) {
    ChartView v;
    EXPECT_TRUE(v.WIN_SAIZU_SUB(800, 600, 301, 200));
    EXPECT_EQ(v.picture(), (ViewRect{249, 200, 301, 200}));
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    EXPECT_FALSE(v.cornerButtonShown());
    EXPECT_EQ(v.sourceRect(), (ViewRect{0, 0, 301, 200}));
    EXPECT_FALSE(v.WIN_SAIZU_SUB(800, 600, 301, 200)) << "nothing changed";
}

TEST(ViewLayout, HorizontalBarOnly) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 810, 500);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    EXPECT_EQ(v.picture(), (ViewRect{0, 42, 800, 500})); // (600 - 500 - 16) / 2
    EXPECT_EQ(v.horizontalBar().rect, (ViewRect{0, 542, 800, 16}));
    EXPECT_EQ(v.horizontalBar().maximum, 10);
    EXPECT_EQ(v.horizontalBar().pageStep, 1);
}

TEST(ViewLayout, VerticalBarOnly) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 500, 700);
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_EQ(v.picture(), (ViewRect{142, 0, 500, 600}));
    EXPECT_EQ(v.verticalBar().rect, (ViewRect{642, 0, 16, 600}));
    EXPECT_EQ(v.verticalBar().maximum, 100);
    EXPECT_EQ(v.verticalBar().pageStep, 10);
}

TEST(ViewLayout, FirstBarBringsTheSecond) {
    // Wider than the window and 590 high: fits in 600, not in 600 - 16.
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 810, 590);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_TRUE(v.verticalBar().shown);
    EXPECT_EQ(v.picture(), (ViewRect{0, 0, 784, 584}));
    EXPECT_EQ(v.verticalBar().rect, (ViewRect{784, 0, 16, 584}));
    EXPECT_EQ(v.horizontalBar().rect, (ViewRect{0, 584, 784, 16}));
    EXPECT_TRUE(v.cornerButtonShown());
    EXPECT_EQ(v.cornerButton(), (ViewRect{784, 584, 16, 16}));
    EXPECT_EQ(v.cornerCaption(), "┛");
    EXPECT_EQ(v.horizontalBar().maximum, 26);
    EXPECT_EQ(v.verticalBar().maximum, 6);
    // 584 high fits beside the bar: no second bar.
    ChartView w;
    w.WIN_SAIZU_SUB(800, 600, 810, 584);
    EXPECT_FALSE(w.verticalBar().shown);
}

TEST(ScrollRange, LargeOverflowIsSpreadOverTenThousandUnits) {
    EXPECT_EQ(render::SCROLL_XD_SUB(1000, 1000).maximum, 0);
    EXPECT_EQ(render::SCROLL_XD_SUB(900, 1000).maximum, 0);
    const auto edge = render::SCROLL_XD_SUB(32787 + 800, 800);
    EXPECT_EQ(edge.maximum, 32787);
    EXPECT_EQ(edge.scale, 1.0);
    const auto big = render::SCROLL_YD_SUB(32788 + 800, 800);
    EXPECT_EQ(big.maximum, 10000);
    EXPECT_DOUBLE_EQ(big.scale, 3.2788);
    EXPECT_EQ(render::scrollPageStep(10000), 1000);
    EXPECT_EQ(render::scrollPageStep(10), 1);
    EXPECT_EQ(render::scrollPageStep(11), 1);
    EXPECT_EQ(render::scrollPageStep(25), 2);
}

TEST(ViewScrolling, ScaledPositionGivesTheSourceOffset) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 50800, 500); // overflow 50000, scale 5
    v.setHorizontalPosition(1234);
    EXPECT_EQ(v.sourceRect(), (ViewRect{6170, 0, 800, 500}));
    v.setHorizontalPosition(20000);
    EXPECT_EQ(v.horizontalBar().position, 10000) << "kept within the range";
    EXPECT_EQ(v.sourceRect().x, 50000);
}

TEST(ViewPanning, MovesAgainstTheMouseAndStopsAtTheEdges) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 1000, 700); // both bars: view 784 x 584, max 216 and 116
    v.mouseDown(300, 300);
    EXPECT_TRUE(v.mouseMove(250, 280, true));
    EXPECT_EQ(v.sourceRect().x, 50);
    EXPECT_EQ(v.sourceRect().y, 20);
    EXPECT_EQ(v.horizontalBar().position, 50);
    EXPECT_TRUE(v.mouseMove(-1000, -1000, true));
    EXPECT_EQ(v.sourceRect().x, 216);
    EXPECT_EQ(v.sourceRect().y, 116);
    EXPECT_FALSE(v.mouseMove(-1100, -1100, true)) << "at the edge already";
    EXPECT_FALSE(v.mouseMove(500, 500, false)) << "the button is not held";
    EXPECT_TRUE(v.mouseMove(5000, 5000, true));
    EXPECT_EQ(v.sourceRect().x, 0);
    EXPECT_EQ(v.verticalBar().position, 0);
}

TEST(ViewPanning, OnlyAlongAxesWithABar) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 1000, 300);
    v.mouseDown(100, 100);
    v.mouseMove(50, 0, true);
    EXPECT_EQ(v.sourceRect().x, 50);
    EXPECT_EQ(v.sourceRect().y, 0);
}

TEST(ViewPanning, ScaledPositionStaysWithinTheRange) {
    // Overflow 42000 over 10000 units: scale 4.2. The right edge is unit 10000.
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 42800, 500);
    v.mouseDown(0, 0);
    v.mouseMove(-50000, 0, true);
    EXPECT_EQ(v.sourceRect().x, 42000);
    EXPECT_EQ(v.horizontalBar().position, 10000);
    v.mouseMove(-49979, 0, true); // 21 pixels back: 41979 / 4.2 = 9995
    EXPECT_EQ(v.horizontalBar().position, 9995);
}

TEST(CornerButton, JumpsBetweenCorners) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 1000, 700);
    v.pressCornerButton();
    EXPECT_EQ(v.cornerState(), CornerState::BottomRight);
    EXPECT_EQ(v.cornerCaption(), "┏");
    EXPECT_EQ(v.sourceRect(), (ViewRect{216, 116, 784, 584}));
    v.pressCornerButton();
    EXPECT_EQ(v.cornerCaption(), "┛");
    EXPECT_EQ(v.sourceRect().x, 0);
    // A new layout with both bars resets the state; the remembered position is kept
    // within the new range.
    v.pressCornerButton();
    v.WIN_SAIZU_SUB(900, 600, 1000, 700);
    EXPECT_EQ(v.cornerState(), CornerState::TopLeft);
    EXPECT_EQ(v.horizontalBar().maximum, 116);
    EXPECT_EQ(v.horizontalBar().position, 116);
    EXPECT_EQ(v.verticalBar().position, 116);
}

TEST(ViewLayout, NewDrawingLaysOutAgainFromTheTop) {
    ChartView v;
    v.WIN_SAIZU_SUB(800, 600, 1000, 700);
    v.setVerticalPosition(50);
    v.newDrawing();
    EXPECT_TRUE(v.WIN_SAIZU_SUB(800, 600, 1000, 700));
    EXPECT_EQ(v.verticalBar().position, 0);
}

} // namespace
