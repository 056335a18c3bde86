#include "render/lines.h"
#include "render/recording_canvas.h"

#include "core/drawing_settings.h"

#include <gtest/gtest.h>

namespace {

using render::CanvasOp;
using render::LineDrawer;
using render::LineSettings;
using render::PenStyle;
using render::RecordingCanvas;

LineSettings settings(float thickness, bool vertical = false, float W = 20, float H = 20) {
    LineSettings s;
    s.W = W;
    s.H = H;
    s.ラインの太さ = thickness;
    s.縦書き = vertical;
    return s;
}

// Pixels of the line colour in one row / column of the canvas.
int lineRunInRow(const RecordingCanvas& c, int y) {
    int n = 0;
    for (int x = 0; x < c.width(); ++x) {
        n += c.pixel(x, y) == render::kLineColour;
    }
    return n;
}
int lineRunInColumn(const RecordingCanvas& c, int x) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y) {
        n += c.pixel(x, y) == render::kLineColour;
    }
    return n;
}

struct Fill {
    int x1, y1, x2, y2;
    bool operator==(const Fill&) const = default;
};
std::vector<Fill> fills(const RecordingCanvas& c) {
    std::vector<Fill> out;
    for (const auto& op : c.ops(CanvasOp::Kind::Fill)) {
        out.push_back({op.x1, op.y1, op.x2, op.y2});
    }
    return out;
}
void PrintTo(const Fill& f, std::ostream* os) {
    *os << "(" << f.x1 << "," << f.y1 << ")-(" << f.x2 << "," << f.y2 << ")";
}

TEST(Bars, ThicknessGivesWidthAcrossTheBar) {
    // t = 1, 2, 3, 4 give bars of 1, 2, 3 and 5 pixels around x = 100.
    const struct {
        float t;
        int left, right;
    } rows[] = {{1, 100, 100}, {2, 100, 101}, {3, 99, 101}, {4, 98, 102}};
    for (const auto& row : rows) {
        RecordingCanvas c(300, 300);
        LineDrawer d(c, settings(row.t));
        const auto e = d.LINE_SUB1(0, 100, 10, 999, 50);
        EXPECT_EQ(e.near, row.left) << row.t;
        EXPECT_EQ(e.far, row.right) << row.t;
        EXPECT_EQ(lineRunInRow(c, 30), row.right - row.left + 1) << row.t;
        EXPECT_EQ(lineRunInColumn(c, 100), 41) << "both ends included, t " << row.t;
        // Horizontal bars the same way, across y.
        RecordingCanvas h(300, 300);
        LineDrawer dh(h, settings(row.t));
        const auto eh = dh.LINE_SUB1(1, 10, 100, 50, 999);
        EXPECT_EQ(eh.near, row.left);
        EXPECT_EQ(eh.far, row.right);
        EXPECT_EQ(lineRunInColumn(h, 30), row.right - row.left + 1);
        EXPECT_EQ(dh.lastBar(), eh);
    }
}

TEST(Bars, ZeroOrNegativeThicknessIsOneAndStoredBack) {
    for (float t : {0.0f, -3.0f}) {
        core::DrawingSettings ds;
        ds.ラインの太さ = t;
        const LineSettings ls = render::lineSettingsFrom(ds, 20, 20);
        EXPECT_EQ(ds.ラインの太さ, 1);
        RecordingCanvas c(200, 200);
        LineDrawer d(c, ls);
        EXPECT_EQ(d.thickness(), 1);
        d.LINE_SUB1(0, 50, 0, 50, 100);
        EXPECT_EQ(lineRunInRow(c, 40), 1);
    }
    // The drawer alone corrects a raw value too.
    RecordingCanvas c(200, 200);
    EXPECT_EQ(LineDrawer(c, settings(0)).thickness(), 1);
}

TEST(Bars, SiblingBarIsShiftedByHalfTheThicknessExceptForTwo) {
    RecordingCanvas c(10, 10);
    EXPECT_EQ(LineDrawer(c, settings(1)).siblingBarPosition(200), 200);
    EXPECT_EQ(LineDrawer(c, settings(2)).siblingBarPosition(200), 200);
    EXPECT_EQ(LineDrawer(c, settings(3)).siblingBarPosition(200), 199);
    EXPECT_EQ(LineDrawer(c, settings(4)).siblingBarPosition(200), 198);
    EXPECT_EQ(LineDrawer(c, settings(5)).siblingBarPosition(200), 198);
}

TEST(Bars, FloatCoordinatesRoundHalfAwayFromZero) {
    RecordingCanvas c(300, 300);
    LineDrawer d(c, settings(1));
    d.LINE_SUB1(0, 30.5f, 10.49f, 0, 20.5f);
    EXPECT_EQ(fills(c), (std::vector<Fill>{{31, 10, 31, 21}}));
}

TEST(MarriageLine, HorizontalWritingBarsMidpointAndSpan) {
    // W = 21: the gap is 10. t = 3: first bar 97..99, second bar 111..113.
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(3, false, 21, 24));
    const auto second = d.LINE_SUB2(100, 0, 100, 96);
    EXPECT_EQ(second, (render::BarExtent{111, 113}));
    EXPECT_EQ(fills(c), (std::vector<Fill>{{97, 0, 99, 96}, {111, 0, 113, 96}}));
    EXPECT_EQ(d.marriage().x, 105); // 99 + (111 - 99) / 2
    EXPECT_EQ(d.marriage().y, 48);
    EXPECT_EQ(d.marriage().span, 27); // (113 - 97) + 8 + 3
    EXPECT_EQ(lineRunInRow(c, 50), 6);
}

TEST(MarriageLine, VerticalWritingUsesHalfTheCellHeight) {
    // H = 24: the gap is 12; t = 1: bars at y 200 and 212, horizontal from x 40 to 120.
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(1, true, 21, 24));
    const auto second = d.LINE_SUB2(40, 200, 120, 999);
    EXPECT_EQ(second, (render::BarExtent{212, 212}));
    EXPECT_EQ(fills(c), (std::vector<Fill>{{40, 200, 120, 200}, {40, 212, 120, 212}}));
    EXPECT_EQ(d.marriage().x, 80);
    EXPECT_EQ(d.marriage().y, 206);
    EXPECT_EQ(d.marriage().span, 21); // 12 + 8 + 1
}

struct Segment {
    int x1, y1, x2, y2, colour;
    PenStyle style;
    bool operator==(const Segment&) const = default;
};
void PrintTo(const Segment& s, std::ostream* os) {
    *os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ") c" << s.colour
        << (s.style == PenStyle::Dotted ? " dotted" : "");
}
std::vector<Segment> lines(const RecordingCanvas& c) {
    std::vector<Segment> out;
    for (const auto& op : c.ops(CanvasOp::Kind::Line)) {
        out.push_back({op.x1, op.y1, op.x2, op.y2, op.colour, op.style});
    }
    return out;
}

TEST(DivorceCross, HorizontalWritingLinesFromAboveTheMidpoint) {
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(3, false, 21, 24));
    d.LINE_SUB2(100, 0, 100, 96); // midpoint (105, 48), span 27
    d.バツイチ_SUB();
    // r = 13, s = 1: y0 from 34 to 36.
    std::vector<Segment> expected;
    for (int y0 = 34; y0 <= 36; ++y0) {
        expected.push_back({92, y0, 118, y0 + 27, 1, PenStyle::Solid});
        expected.push_back({118, y0, 92, y0 + 27, 1, PenStyle::Solid});
    }
    EXPECT_EQ(lines(c), expected);
}

TEST(DivorceCross, VerticalWritingLinesFromLeftOfTheMidpoint) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1, true, 21, 24);
    s.法定相続情報一覧図 = true; // ignored in vertical writing
    LineDrawer d(c, s);
    d.LINE_SUB2(40, 200, 120, 999); // midpoint (80, 206), span 21
    d.バツイチ_SUB();
    // r = 10, s = 0: one pair.
    EXPECT_EQ(lines(c), (std::vector<Segment>{{70, 196, 91, 216, 1, PenStyle::Solid},
                                              {70, 216, 91, 196, 1, PenStyle::Solid}}));
}

TEST(DivorceCross, NoneOnTheStatutoryListChartInHorizontalWriting) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1, false, 21, 24);
    s.法定相続情報一覧図 = true;
    LineDrawer d(c, s);
    d.LINE_SUB2(100, 0, 100, 96);
    d.バツイチ_SUB();
    EXPECT_TRUE(lines(c).empty());
}

TEST(AdoptionLine, DoubleLineWithAQuarterCellGapAndOuterExtents) {
    // W = 20: gap 5. t = 3: first bar 97..99, second 106..108.
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(3));
    const auto second = d.LINE_SUB3(1, 10, 100, 60, 999);
    EXPECT_EQ(second, (render::BarExtent{106, 108}));
    EXPECT_EQ(d.lastBar(), (render::BarExtent{97, 108}));
    EXPECT_TRUE(d.precedingWasAdoption());
    EXPECT_EQ(fills(c), (std::vector<Fill>{{10, 97, 60, 99}, {10, 106, 60, 108}}));
    d.LINE_SUB1(1, 0, 0, 1, 0);
    EXPECT_FALSE(d.precedingWasAdoption());
}

render::FamilyLines couple(std::vector<float> positions, std::vector<int> forms) {
    render::FamilyLines f;
    f.familyNumber = 3;
    f.baseX = 20;
    f.baseY = 20;
    f.positions = std::move(positions);
    for (int form : forms) {
        f.子の形態.push_back(static_cast<core::ChildKind>(form));
    }
    return f;
}

TEST(FamilyLines, OnlyChildGetsAStraightDescentAndOneStub) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1);
    s.largestBlockWidth = 100;
    LineDrawer d(c, s);
    d.drawFamily(couple({100, 100}, {0}));
    // Marriage at x = 20 + 6W = 140 from y 80 to 160 (p0 = 120); descent from the second
    // bar (150) to (100 + 3W) × 1 = 160; stub from 160 to 190.
    EXPECT_EQ(
        fills(c),
        (std::vector<Fill>{
            {140, 80, 140, 160}, {150, 80, 150, 160}, {150, 120, 160, 120}, {160, 120, 190, 120}}));
}

TEST(FamilyLines, AdoptedOnlyChildMakesTheDescentDouble) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1);
    s.largestBlockWidth = 100;
    LineDrawer d(c, s);
    d.drawFamily(couple({100, 100}, {1}));
    EXPECT_EQ(fills(c), (std::vector<Fill>{{140, 80, 140, 160},
                                           {150, 80, 150, 160},
                                           {150, 120, 160, 120},
                                           {150, 125, 160, 125},
                                           {160, 120, 190, 120},
                                           {160, 125, 190, 125}}));
}

TEST(FamilyLines, SiblingBarJoinsTheOuterEdgesOfFirstAndLastStub) {
    // t = 3, two children at 100 and 140 (absolute), the second adopted: the bar at
    // 160 - 1 runs from the first stub's top (99) to the adopted stub's bottom
    // (140 + 5 + 1 + 2 = 148).
    RecordingCanvas c(400, 400);
    LineSettings s = settings(3);
    s.largestBlockWidth = 100;
    LineDrawer d(c, s);
    d.drawFamily(couple({100, 80, 120}, {0, 1}));
    const auto f = fills(c);
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[2], (Fill{150 + 1, 119, 160, 121})) << "descent from the second bar";
    EXPECT_EQ(f[3], (Fill{159, 99, 190, 101})) << "stub from the bar to 160 + 1.5 W";
    EXPECT_EQ(f[6], (Fill{158, 99, 160, 148}));
}

TEST(FamilyLines, PartnersSingleLineAndSingleParentStart) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1);
    s.largestBlockWidth = 100;
    LineDrawer d(c, s);
    auto f = couple({100, 100}, {0});
    f.形態 = core::UnionForm::NonMarital;
    d.drawFamily(f);
    EXPECT_EQ(fills(c)[0], (Fill{140, 80, 140, 160}));
    EXPECT_EQ(fills(c)[1], (Fill{140, 120, 160, 120})) << "descent from the partners' line";

    RecordingCanvas c2(400, 400);
    LineDrawer d2(c2, s);
    f.spousesShown = 1;
    f.parentBlockExtent = 70;
    d2.drawFamily(f);
    // No couple line: the descent starts at base x + block width + W = 110.
    EXPECT_EQ(fills(c2)[0], (Fill{110, 120, 160, 120}));
}

TEST(FamilyLines, VerticalWritingMirrorsTheDescent) {
    RecordingCanvas c(400, 400);
    LineSettings s = settings(1, true);
    s.largestBlockHeight = 100;
    LineDrawer d(c, s);
    d.drawFamily(couple({100, 60, 140}, {0, 0}));
    // Positions are x: p0 = 120. Marriage at y = 20 + 6H = 140 from x 80 to 160, second
    // bar at 150; descent down to 160; stubs at x 80 and 160 from 160 to 190; the bar at
    // y 160 from x 80 to 160.
    EXPECT_EQ(fills(c), (std::vector<Fill>{{80, 140, 160, 140},
                                           {80, 150, 160, 150},
                                           {120, 150, 120, 160},
                                           {80, 160, 80, 190},
                                           {160, 160, 160, 190},
                                           {80, 160, 160, 160}}));
}

TEST(FamilyLines, FamilyNumberLabelCopiedFromTheGlyphCell) {
    RecordingCanvas chart(400, 400, 3, 1);
    RecordingCanvas glyph(200, 60, 3, 2);
    LineSettings s = settings(1);
    s.家族No表示 = true;
    s.largestBlockWidth = 100;
    LineDrawer d(chart, s, &glyph);
    d.drawFamily(couple({100}, {}));
    // "(3)" at 16 points: three half-width characters of 10 pixels, one line of 24.
    const auto copies = chart.ops(CanvasOp::Kind::Copy);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].sourceId, 2);
    EXPECT_EQ(copies[0].w, 30);
    EXPECT_EQ(copies[0].h, 24);
    EXPECT_EQ(copies[0].x2, 151); // second bar + 1
    EXPECT_EQ(copies[0].y2, 121); // p0 + 1
    ASSERT_EQ(chart.texts().size(), 1u);
    EXPECT_EQ(chart.texts()[0].text, "(3)");
    EXPECT_EQ(chart.texts()[0].colour, render::kFamilyNumberColour);
    EXPECT_TRUE(glyph.texts().empty()) << "the scratch rectangle is cleared afterwards";
}

TEST(SamePersonLinks, PersonDrawnThreeTimesGetsTwoDottedJoins) {
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(1));
    std::vector<render::PlacedBlock> blocks = {
        {'C', 7, 300, 40, 50, 30},
        {'A', 7, 100, 50, 80, 30},
        {'B', 7, 200, 90, 60, 30},
        {'A', 8, 10, 10, 10, 10}, // alone: no join
    };
    d.drawSamePersonLinks(blocks);
    EXPECT_EQ(lines(c), (std::vector<Segment>{{100, 50, 200, 90, 2, PenStyle::Dotted},
                                              {100, 50, 300, 40, 4, PenStyle::Dotted}}));
    EXPECT_EQ(d.nextLinkColour(), 6);
}

TEST(SamePersonLinks, WithoutOwnBlockTheFirstRepeatIsMovedByItsExtent) {
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(1));
    d.drawSamePersonLinks({{'C', 4, 10, 20, 50, 30},
                           {'C', 4, 200, 20, 50, 30},
                           {'B', 5, 100, 100, 60, 30},
                           {'C', 5, 300, 100, 60, 30}});
    EXPECT_EQ(lines(c), (std::vector<Segment>{{60, 20, 200, 20, 2, PenStyle::Dotted},
                                              {160, 100, 300, 100, 4, PenStyle::Dotted}}));
    // Vertical writing moves along y by the height.
    RecordingCanvas v(400, 400);
    LineDrawer dv(v, settings(1, true));
    dv.drawSamePersonLinks({{'B', 5, 100, 100, 60, 30}, {'C', 5, 300, 100, 60, 30}});
    EXPECT_EQ(lines(v), (std::vector<Segment>{{100, 130, 300, 100, 2, PenStyle::Dotted}}));
}

TEST(SamePersonLinks, ColourCycleWrapsAndSkippedJoinsKeepTheirColour) {
    RecordingCanvas c(400, 400);
    LineDrawer d(c, settings(1));
    d.joinSamePerson(0, 5, 10, 10); // an anchor at 0: skipped
    std::vector<int> colours;
    for (int i = 0; i < 7; ++i) {
        d.joinSamePerson(1, 1, 2, 2);
    }
    for (const auto& l : lines(c)) {
        colours.push_back(l.colour);
    }
    EXPECT_EQ(colours, (std::vector<int>{2, 4, 6, 8, 10, 12, 2}));
}

TEST(TreeSeparators, AcrossTheChartAndLeftOutNearTheHeadingEdge) {
    RecordingCanvas c(300, 200);
    LineSettings s = settings(1);
    LineDrawer d(c, s);
    d.treeSeparator(10);
    EXPECT_EQ(lines(c), (std::vector<Segment>{{0, 10, 299, 10, 1, PenStyle::Solid}}));

    RecordingCanvas e(300, 200);
    s.相続関係説明図 = true;
    s.FONT_SIZE = 16;
    LineDrawer de(e, s);
    de.treeSeparator(16); // within the font size of the top edge
    de.treeSeparator(17);
    EXPECT_EQ(lines(e), (std::vector<Segment>{{0, 17, 299, 17, 1, PenStyle::Solid}}));

    RecordingCanvas v(300, 200);
    LineSettings sv = settings(1, true);
    sv.相続関係説明図 = true;
    LineDrawer dv(v, sv);
    dv.treeSeparator(250, 34); // 284 >= 300 - 16
    dv.treeSeparator(240, 30);
    EXPECT_EQ(lines(v), (std::vector<Segment>{{270, 0, 270, 199, 1, PenStyle::Solid}}));
}

} // namespace
