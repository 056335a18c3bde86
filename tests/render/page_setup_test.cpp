// The plan of the pages: when a chart fits one sheet legibly and when it is laid over more,
// the order the sheets are read in (from the right for vertical writing), that the sheets
// cover the chart without gaps, the marks and numbers in the margins, the list chart's guard
// at the bottom of every sheet, and the setups that are refused.
#include "render/page_setup.h"

#include "render/drawing.h"
#include "render/typesetting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using render::Page;
using render::PagePlan;
using render::PageSetup;
using render::Paper;

constexpr double kMm = 25.4 / 96; // a chart pixel at 100%
constexpr int kText = 21;         // 16 points

render::PageContent chart(int width, int height, bool vertical = false, int text = kText) {
    render::PageContent c;
    c.width = width;
    c.height = height;
    c.vertical = vertical;
    c.textPixelSize = text;
    return c;
}

const Page& pageAt(const PagePlan& plan, int column, int row) {
    for (const Page& p : plan.pages) {
        if (p.column == column && p.row == row) {
            return p;
        }
    }
    throw std::logic_error("no such page");
}

TEST(PageSetup, PaperNamesAndSheets) {
    Paper p = Paper::A3;
    EXPECT_TRUE(render::paperFromName("b5", p));
    EXPECT_EQ(p, Paper::B5);
    EXPECT_TRUE(render::paperFromName("A4", p));
    EXPECT_EQ(p, Paper::A4);
    for (const char* wrong : {"A5", "", "A44", "b", "C4"}) {
        EXPECT_FALSE(render::paperFromName(wrong, p)) << wrong;
    }
    EXPECT_EQ(render::sheetOf(Paper::B4, render::Orientation::Portrait), (render::Sheet{257, 364}));
    EXPECT_EQ(render::sheetOf(Paper::A3, render::Orientation::Landscape),
              (render::Sheet{420, 297}));
}

TEST(PageSetup, AChartThatFitsIsOneSheetNeverEnlarged) {
    // 500 × 300 pixels: 132 × 79 mm at 100%, on A4 portrait within 15 mm margins.
    const PagePlan plan = render::planPages(chart(500, 300), PageSetup{});
    ASSERT_EQ(plan.pageCount(), 1);
    EXPECT_DOUBLE_EQ(plan.scale, 1.0);
    const Page& page = plan.pages[0];
    EXPECT_NEAR(page.area.left, 15 + (180 - 500 * kMm) / 2, 1e-9); // centred across
    EXPECT_DOUBLE_EQ(page.area.top, 15);
    EXPECT_NEAR(page.area.width(), 500 * kMm, 1e-9);
    EXPECT_TRUE(page.labels.empty()); // one sheet needs no number
    EXPECT_TRUE(page.marks.empty());
    EXPECT_EQ(render::planSummary(PageSetup{}, plan), "A4 縦 1 枚、縮尺 100%");
}

TEST(PageSetup, TheFloorDecidesBetweenFittingAndLayingOver) {
    // At the floor (7 points of a 16-point text: 44.4%) 180 mm hold 1530.7 chart pixels.
    const PagePlan fits = render::planPages(chart(1530, 900), PageSetup{});
    EXPECT_EQ(fits.pageCount(), 1);
    EXPECT_GE(fits.textPoints, 7.0);
    EXPECT_TRUE(fits.legible);

    const PagePlan over = render::planPages(chart(1532, 900), PageSetup{});
    EXPECT_EQ(over.columns, 2);
    EXPECT_EQ(over.rows, 1);
    // Two sheets across hold the chart at more than the floor, up to their width.
    EXPECT_NEAR(over.scale, std::min(360 / (1532 * kMm), 267 / (900 * kMm)), 1e-9);
    EXPECT_GT(over.textPoints, 7.0);

    // A lower floor fits it again; a larger one needs more sheets.
    PageSetup low;
    low.minFontPoints = 5;
    EXPECT_EQ(render::planPages(chart(1532, 900), low).pageCount(), 1);
    PageSetup high;
    high.minFontPoints = 14;
    const PagePlan more = render::planPages(chart(1532, 900), high);
    EXPECT_EQ(more.columns, 3);
    EXPECT_GE(more.textPoints, 14.0);

    // A floor above the text's own size enlarges the chart to reach it.
    PageSetup huge;
    huge.minFontPoints = 24;
    const PagePlan enlarged = render::planPages(chart(1532, 900), huge);
    EXPECT_NEAR(enlarged.textPoints, 24.0, 1e-9);
    EXPECT_GT(enlarged.scale, 1.0);

    // "--one-page": one sheet whatever the text becomes, said to be below the floor.
    PageSetup one;
    one.onePage = true;
    const PagePlan forced = render::planPages(chart(12000, 9000), one);
    EXPECT_EQ(forced.pageCount(), 1);
    EXPECT_FALSE(forced.legible);
    EXPECT_LT(forced.textPoints, 7.0);
    EXPECT_NEAR(forced.scale, std::min(180 / (12000 * kMm), 267 / (9000 * kMm)), 1e-12);

    // A chart without text fits whatever its size.
    EXPECT_EQ(render::planPages(chart(12000, 9000, false, 0), PageSetup{}).pageCount(), 1);
}

// Side by side the sheets show the chart without a gap or an overlap, each no more than its
// room, the first at the chart's top left (top right when read from the right).
void expectCovering(const PagePlan& plan, const render::PageContent& c) {
    const double px = plan.pixelMillimetres();
    for (const Page& p : plan.pages) {
        EXPECT_LE(p.source.width() * px, plan.content.width() + 1e-6);
        EXPECT_LE(p.source.height() * px, plan.content.height() + 1e-6);
        EXPECT_NEAR(p.area.width(), p.source.width() * px, 1e-9);
        EXPECT_DOUBLE_EQ(p.area.top, plan.content.top);
        // At the left, or at the right when read from the right.
        EXPECT_DOUBLE_EQ(c.vertical ? p.area.right : p.area.left,
                         c.vertical ? plan.content.right : plan.content.left);
        if (p.column + 1 < plan.columns) {
            EXPECT_DOUBLE_EQ(pageAt(plan, p.column + 1, p.row).source.left, p.source.right);
        }
        if (p.row + 1 < plan.rows) {
            EXPECT_DOUBLE_EQ(pageAt(plan, p.column, p.row + 1).source.top, p.source.bottom);
        }
    }
    EXPECT_DOUBLE_EQ(pageAt(plan, 0, 0).source.top, 0);
    EXPECT_DOUBLE_EQ(pageAt(plan, 0, 0).source.left, 0);
    EXPECT_DOUBLE_EQ(pageAt(plan, plan.columns - 1, plan.rows - 1).source.right, c.width);
    EXPECT_DOUBLE_EQ(pageAt(plan, plan.columns - 1, plan.rows - 1).source.bottom, c.height);
    // The full sheets are the first ones read: the last column (row) is the short one.
    const double room = plan.content.width() / px;
    if (c.vertical) {
        EXPECT_NEAR(pageAt(plan, plan.columns - 1, 0).source.width(), room, 1e-6);
    } else {
        EXPECT_NEAR(pageAt(plan, 0, 0).source.width(), room, 1e-6);
    }
}

TEST(PageSetup, SheetsAreReadInOrderFromTheRightForVerticalCharts) {
    PageSetup setup;
    setup.minFontPoints = 12;
    const render::PageContent across = chart(4000, 3000);
    const PagePlan h = render::planPages(across, setup);
    ASSERT_GT(h.columns, 1);
    ASSERT_GT(h.rows, 1);
    expectCovering(h, across);
    // Rows from the top, each from the left.
    EXPECT_EQ(pageAt(h, 0, 0).number, 1);
    EXPECT_EQ(pageAt(h, 1, 0).number, 2);
    EXPECT_EQ(pageAt(h, 0, 1).number, h.columns + 1);

    const render::PageContent down = chart(4000, 3000, true);
    const PagePlan v = render::planPages(down, setup);
    expectCovering(v, down);
    // Columns from the right, each from the top.
    EXPECT_EQ(pageAt(v, v.columns - 1, 0).number, 1);
    EXPECT_EQ(pageAt(v, v.columns - 1, 1).number, 2);
    EXPECT_EQ(pageAt(v, v.columns - 2, 0).number, v.rows + 1);
    EXPECT_EQ(pageAt(v, 0, v.rows - 1).number, v.pageCount());

    // The pages come in their numbers' order, each numbered "n / m" at the top right in
    // the margin, and point to the sheets that continue them.
    std::set<int> numbers;
    for (std::size_t i = 0; i < v.pages.size(); ++i) {
        const Page& p = v.pages[i];
        EXPECT_EQ(p.number, static_cast<int>(i) + 1);
        numbers.insert(p.number);
        ASSERT_FALSE(p.labels.empty());
        EXPECT_EQ(p.labels[0].text, render::pageNumberText(p.number, v.pageCount()));
        EXPECT_TRUE(p.labels[0].alignRight);
        EXPECT_LT(p.labels[0].y, v.content.top);
    }
    EXPECT_EQ(numbers.size(), v.pages.size());
    const Page& first = v.pages[0]; // the top right sheet: continued left and below
    std::set<std::string> pointers;
    for (std::size_t i = 1; i < first.labels.size(); ++i) {
        pointers.insert(first.labels[i].text);
    }
    EXPECT_EQ(pointers, (std::set<std::string>{
                            "←" + std::to_string(pageAt(v, v.columns - 2, 0).number), "↓2"}));
}

TEST(PageSetup, SheetEdgesGoBetweenNames) {
    // Two sheets across at the floor (1530.7 pixels to a sheet).
    render::PageContent c = chart(2800, 900);
    const PagePlan plain = render::planPages(c, PageSetup{});
    ASSERT_EQ(plain.columns, 2);
    const double full = plain.cutsAcross[1];
    // A name across where the edge would be: the edge goes before it, and the scale drops
    // only as far as the two sheets need.
    c.textAcross = {{100, 400}, {static_cast<int>(full) - 200, static_cast<int>(full) + 100}};
    const PagePlan moved = render::planPages(c, PageSetup{});
    ASSERT_EQ(moved.columns, 2);
    const double edge = moved.cutsAcross[1];
    for (const render::Span& s : c.textAcross) {
        EXPECT_FALSE(s.from < edge && edge < s.to) << edge;
    }
    EXPECT_LE(moved.scale, plain.scale);
    EXPECT_GE(moved.textPoints, 7.0);
    // Halves of 1300 pixels would cut the name at 1250..1350: the first sheet read (the
    // left one, or the right one read from the right) takes the name whole at a scale a
    // little smaller.
    c = chart(2600, 900);
    c.textAcross = {{1250, 1350}};
    const PagePlan fromLeft = render::planPages(c, PageSetup{});
    ASSERT_EQ(fromLeft.columns, 2);
    EXPECT_NEAR(fromLeft.cutsAcross[1], 1350, 0.01);
    EXPECT_GE(fromLeft.cutsAcross[1], 1350);
    c.vertical = true;
    const PagePlan fromRight = render::planPages(c, PageSetup{});
    ASSERT_EQ(fromRight.columns, 2);
    EXPECT_NEAR(fromRight.cutsAcross[1], 1250, 0.01);
    EXPECT_LE(fromRight.cutsAcross[1], 1250);
    // A block wider than a quarter of a sheet is cut where the sheet ends.
    c.vertical = false;
    c.textAcross = {{10, 2790}};
    const PagePlan cut = render::planPages(c, PageSetup{});
    EXPECT_NEAR(cut.cutsAcross[1], cut.content.width() / cut.pixelMillimetres(), 1e-6);
    // A name whose edge would need more than a quarter of a sheet: one more sheet, rather
    // than the name cut in two.
    c = chart(3050, 900);
    c.textAcross = {{1300, 1600}};
    const PagePlan tight = render::planPages(c, PageSetup{});
    ASSERT_EQ(tight.columns, 3);
    for (const double edge : tight.cutsAcross) {
        EXPECT_FALSE(1300 < edge && edge < 1600) << edge;
    }
    EXPECT_GE(tight.textPoints, 7.0);
    // Names everywhere but with no room between them that a sheet one more could use: cut.
    c = chart(3050, 900);
    c.textAcross = {{0, 1200}, {1210, 3050}};
    const PagePlan dense = render::planPages(c, PageSetup{});
    EXPECT_EQ(dense.columns, 2);

    EXPECT_EQ(render::mergedSpans({{5, 9}, {1, 3}, {3, 4}, {8, 12}, {20, 20}}),
              (std::vector<render::Span>{{1, 4}, {5, 12}}));
    EXPECT_EQ(render::mergedSpans({{5, 9}, {1, 3}, {3, 4}, {8, 12}, {15, 20}}, 3),
              (std::vector<render::Span>{{1, 12}, {15, 20}}));
}

TEST(PageSetup, SheetsWithNothingOnThemAreLeftOut) {
    PageSetup setup;
    setup.minFontPoints = 12;
    render::PageContent c = chart(4000, 3000);
    const PagePlan all = render::planPages(c, setup);
    ASSERT_GE(all.columns, 3);
    ASSERT_GE(all.rows, 2);
    // Ink across the first two sheets of the top row, and at the bottom right corner.
    const int edge = static_cast<int>(all.cutsAcross[1]);
    c.ink = {{edge - 20, 10, edge + 20, 30}, {3950, 2950, 3990, 2990}};
    const PagePlan some = render::planPages(c, setup);
    ASSERT_EQ(some.pageCount(), 3);
    EXPECT_EQ(some.pages[0].column, 0);
    EXPECT_EQ(some.pages[1].column, 1);
    EXPECT_EQ(some.pages[2].column, some.columns - 1);
    EXPECT_EQ(some.pages[2].row, some.rows - 1);
    // Numbered 1 to 3 of 3; the first two point at each other, the last at nothing.
    EXPECT_EQ(some.pages[2].labels.size(), 1u);
    EXPECT_EQ(some.pages[2].labels[0].text, "3 / 3");
    EXPECT_TRUE(some.pages[2].marks.empty());
    ASSERT_EQ(some.pages[0].labels.size(), 2u);
    EXPECT_EQ(some.pages[0].labels[1].text, "2→");
    EXPECT_EQ(some.pages[0].marks.size(), 2u); // the ends of its right edge only
    EXPECT_EQ(some.pages[1].labels[1].text, "←1");
}

TEST(PageSetup, MarksStayInTheMarginsAwayFromTheEdge) {
    PageSetup setup;
    setup.minFontPoints = 12;
    for (double margin : {15.0, 6.0}) {
        setup.margins = {margin, margin, margin, margin};
        const PagePlan plan = render::planPages(chart(4000, 3000), setup);
        const render::PaperRect& c = plan.content;
        const Page& inner = pageAt(plan, 1, 1); // joined on all four sides
        EXPECT_EQ(inner.marks.size(), 8u) << margin;
        EXPECT_DOUBLE_EQ(inner.area.bottom, c.bottom);
        for (const render::PaperLine& m : inner.marks) {
            for (auto [x, y] : {std::pair{m.x1, m.y1}, std::pair{m.x2, m.y2}}) {
                const render::PaperRect& a = inner.area;
                const bool outside = x < a.left || x > a.right || y < a.top || y > a.bottom;
                const bool onEdge = x == a.left || x == a.right || y == a.top || y == a.bottom;
                EXPECT_TRUE(outside || onEdge);
                EXPECT_GE(x, 2.0 - 1e-9);
                EXPECT_GE(y, 2.0 - 1e-9);
                EXPECT_LE(x, plan.sheet.width - 2 + 1e-9);
                EXPECT_LE(y, plan.sheet.height - 2 + 1e-9);
            }
        }
        // The top left sheet joins only to the right and below: four marks.
        EXPECT_EQ(pageAt(plan, 0, 0).marks.size(), 4u);
    }
}

TEST(PageSetup, TheListChartKeepsTheBottomOfEverySheetEmpty) {
    const PageSetup setup = render::listChartDefaults();
    EXPECT_EQ(setup.paper, Paper::A4);
    EXPECT_EQ(setup.orientation, render::Orientation::Portrait);
    // The samples' list chart: 3045 × 1484 pixels, too wide for one legible sheet.
    const PagePlan plan = render::planPages(chart(3045, 1484), setup);
    EXPECT_GT(plan.pageCount(), 1);
    EXPECT_LE(plan.content.bottom, 297 - 50 - 1);
    EXPECT_GE(plan.textPoints, 7.0);
    // A taller chart needs rows of sheets: still nothing below 247 mm on any of them.
    const PagePlan tall = render::planPages(chart(1400, 4000), setup);
    ASSERT_GT(tall.rows, 1);
    for (const Page& p : tall.pages) {
        EXPECT_LE(p.area.bottom, 246.0 + 1e-9);
        for (const render::PaperLine& m : p.marks) {
            EXPECT_LE(std::max(m.y1, m.y2) + render::kMarkWidth / 2, 247.0);
        }
        for (const render::PaperLabel& l : p.labels) {
            EXPECT_LE(l.y + render::kLabelPoints * 25.4 / 72, 247.0) << l.text;
        }
    }
    // A bottom margin larger than the guard is kept.
    PageSetup deep = setup;
    deep.margins.bottom = 70;
    EXPECT_DOUBLE_EQ(render::planPages(chart(100, 100), deep).content.bottom, 297 - 70);
}

TEST(PageSetup, SetupsThatCannotBeUsedAreRefused) {
    PageSetup s;
    EXPECT_EQ(render::checkPageSetup(s), "");
    s.margins.left = 101;
    EXPECT_NE(render::checkPageSetup(s).find("余白"), std::string::npos);
    s.margins.left = -1;
    EXPECT_NE(render::checkPageSetup(s), "");
    s = PageSetup{};
    s.minFontPoints = 0.5;
    EXPECT_NE(render::checkPageSetup(s).find("ポイント"), std::string::npos);
    // B5 portrait with 80 mm each side leaves 22 mm across.
    s = PageSetup{};
    s.paper = Paper::B5;
    s.margins = {80, 80, 80, 80};
    EXPECT_NE(render::checkPageSetup(s).find("30 mm"), std::string::npos);
    EXPECT_THROW(render::planPages(chart(100, 100), s), render::PaperError);
    // The guard counts: B5 landscape is 182 mm high, 100 mm at the top leave 31 mm above
    // the guard and its clearance, 102 mm too little.
    s = render::listChartDefaults();
    s.paper = Paper::B5;
    s.orientation = render::Orientation::Landscape;
    s.margins.top = 100;
    EXPECT_EQ(render::checkPageSetup(s), "");
    s.margins.top = 102;
    EXPECT_NE(render::checkPageSetup(s), "");
    // A chart that would need thousands of sheets.
    PageSetup big;
    big.minFontPoints = 72;
    EXPECT_THROW(render::planPages(chart(200000, 30000), big), render::PaperError);
}

TEST(PageSetup, TheSmallestTextOfADrawingCountsBlocksToo) {
    render::SyntheticGlyphs glyphs;
    render::DrawingCanvasFactory factory(glyphs);
    auto c = factory.chart(400, 300);
    c->setFontSize(16);
    c->drawText(10, 10, "山田", render::kTextColour);
    c->drawText(60, 10, "一郎", render::kTextColour); // 8 pixels after 山田
    auto block = factory.create(100, 40);
    block->setFontSize(10.5f); // 14 pixels
    block->drawText(0, 0, "花子", render::kTextColour);
    c->copyFrom(*block, 0, 0, 100, 40, 200, 100);
    const auto drawing = c->finish();
    EXPECT_EQ(render::smallestTextPixelSize(*drawing), 14);
    const render::PageContent content = render::pageContentOf(*drawing);
    EXPECT_EQ(content.textPixelSize, 14);
    // Paper shows the part with ink, a character's room around it (here from the chart's
    // top left, where the ink begins within that room).
    EXPECT_EQ(content.left, 0);
    EXPECT_EQ(content.top, 0);
    EXPECT_EQ(content.width, 228 + 14);
    EXPECT_EQ(content.height, 114 + 14);
    // The texts' ink with a pixel either side, the block's where it was copied to (not the
    // block's white room); texts closer than a character of the smallest text are one.
    EXPECT_EQ(content.textAcross, (std::vector<render::Span>{{9, 103}, {199, 229}}));
    EXPECT_EQ(content.textDown, (std::vector<render::Span>{{9, 32}, {99, 115}}));

    // Ink far from the top left: the part on paper starts a character before it, and the
    // plan's pages show the chart's own pixels.
    auto far = factory.chart(3000, 2000);
    far->setFontSize(16);
    far->drawText(1000, 800, "山田", render::kTextColour);
    const auto farDrawing = far->finish();
    const render::PageContent part = render::pageContentOf(*farDrawing);
    EXPECT_EQ(part.left, 1000 - 21);
    EXPECT_EQ(part.top, 800 - 21);
    EXPECT_LT(part.width, 100);
    const PagePlan onPaper = render::planPages(part, PageSetup{});
    ASSERT_EQ(onPaper.pageCount(), 1);
    EXPECT_DOUBLE_EQ(onPaper.pages[0].source.left, part.left);
    EXPECT_DOUBLE_EQ(onPaper.pages[0].source.right, part.left + part.width);

    auto empty = factory.chart(10, 10);
    empty->fillRect(0, 0, 5, 5, render::kLineColour);
    EXPECT_EQ(render::smallestTextPixelSize(*empty->finish()), 0);
}

TEST(PageSetup, ScaleTexts) {
    EXPECT_EQ(render::scaleText(0.6249), "62%");
    EXPECT_EQ(render::scaleText(1.0), "100%");
    EXPECT_EQ(render::scaleText(0.045), "4.5%");
}

} // namespace
