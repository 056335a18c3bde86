// The chart window's zoom: the steps of "拡大" and "縮小" from any zoom, the limits, the mouse
// wheel, fitting the whole chart and its width, and the zoom as the tool bar writes it.
#include "render/view_zoom.h"

#include "render/view_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Zoom, StepsFromAnyZoom) {
    EXPECT_EQ(render::zoomedIn(1.0), 1.25);
    EXPECT_EQ(render::zoomedIn(0.4), 0.5) << "between the steps: the next one";
    EXPECT_EQ(render::zoomedIn(0.0999), 0.1) << "a hair below a step goes to it";
    EXPECT_EQ(render::zoomedIn(0.1), 0.25) << "a step: the next one";
    EXPECT_EQ(render::zoomedIn(0.01), 0.1);
    EXPECT_EQ(render::zoomedIn(8.0), render::kLargestZoom);
    EXPECT_EQ(render::zoomedOut(1.0), 0.75);
    EXPECT_EQ(render::zoomedOut(0.4), 0.33);
    EXPECT_EQ(render::zoomedOut(20.0), 8.0);
    EXPECT_EQ(render::zoomedOut(0.1), 0.05) << "below the steps: halved";
    EXPECT_EQ(render::clampedZoom(100), render::kLargestZoom);
    EXPECT_EQ(render::clampedZoom(0), render::kSmallestZoom);
    EXPECT_EQ(render::clampedZoom(0.5), 0.5);
}

TEST(Zoom, TheWheelTurnsByAQuarterPerNotch) {
    EXPECT_DOUBLE_EQ(render::wheelZoom(1.0, 120), 1.25);
    EXPECT_DOUBLE_EQ(render::wheelZoom(1.0, -240), 0.64);
    EXPECT_DOUBLE_EQ(render::wheelZoom(2.0, 60), 2.0 * std::sqrt(1.25)) << "a fine wheel";
}

TEST(Zoom, FittingTheChart) {
    // Whole: the narrower of the two ratios, never enlarged.
    EXPECT_DOUBLE_EQ(render::wholeChartZoom(800, 600, 1600, 600), 0.5);
    EXPECT_DOUBLE_EQ(render::wholeChartZoom(800, 600, 800, 1200), 0.5);
    EXPECT_DOUBLE_EQ(render::wholeChartZoom(800, 600, 400, 300), 1.0);
    // Width: beside the vertical bar when the chart is relatively taller than the window.
    EXPECT_DOUBLE_EQ(render::chartWidthZoom(800, 600, 1600, 3000),
                     (800.0 - render::kScrollBarThickness) / 1600);
    EXPECT_DOUBLE_EQ(render::chartWidthZoom(800, 600, 1600, 1200), 0.5) << "as tall: no bar";
    EXPECT_DOUBLE_EQ(render::chartWidthZoom(800, 600, 400, 100), 2.0) << "may enlarge";
}

TEST(Zoom, AsTheToolBarWritesIt) {
    EXPECT_EQ(render::zoomText(1.0), "100%");
    EXPECT_EQ(render::zoomText(0.46), "46%");
    EXPECT_EQ(render::zoomText(0.1), "10%");
    EXPECT_EQ(render::zoomText(0.063), "6.3%");
    EXPECT_EQ(render::zoomText(0.05), "5%") << "a whole percent below 10";
    EXPECT_EQ(render::zoomText(8.0), "800%");
}

// Where the window opens: on the block nearest the chart's top right (vertical) or top left
// (horizontal), with a little room, not on a blank corner; kept within the chart.
TEST(Zoom, TheWindowOpensOnTheFirstBlockNotABlankCorner) {
    const std::vector<render::DrawnPerson> persons = {
        {1, "佐藤キヨ", render::Box{20, 40, 120, 400}},
        {2, "山田源蔵", render::Box{700, 640, 800, 1000}},
        {3, "鈴木幸子", render::Box{1300, 1250, 1400, 1600}},
    };
    // 1470 × 2990, vertical: 源蔵's block is nearest the top right corner.
    EXPECT_EQ(render::openingOffset(persons, 1470, 2990, true, 600, 400),
              (render::ViewOffset{800 + 16 - 600, 640 - 16}));
    // Horizontal: 佐藤キヨ's, at the top left (the room kept within the chart).
    EXPECT_EQ(render::openingOffset(persons, 1470, 2990, false, 600, 400),
              (render::ViewOffset{4, 24}));
    // A view wider than the chart shows it from its left edge.
    EXPECT_EQ(render::openingOffset(persons, 1470, 2990, true, 2000, 400).x, 0);
    // Near the bottom right the offset stays within the chart.
    EXPECT_EQ(render::openingOffset({{4, "", render::Box{1400, 2900, 1460, 2980}}}, 1470, 2990,
                                    true, 600, 400),
              (render::ViewOffset{870, 2590}));
    // No blocks: the corner.
    EXPECT_EQ(render::openingOffset({}, 1470, 2990, true, 600, 400), (render::ViewOffset{870, 0}));
    EXPECT_EQ(render::openingOffset({}, 1470, 2990, false, 600, 400), (render::ViewOffset{0, 0}));
}

} // namespace
