// The chart run on the recording canvas (16 points: cell 21 × 24), on small registers built
// case by case and on the sample data folder. The line coordinates below are worked out by
// hand from the drawing rules; the layout's own numbers are tested in tests/layout.
#include "render/chart_run.h"
#include "render/recording_canvas.h"

#include "core/data_folder.h"
#include "tests/layout/register_builder.h"

#include "replayed.h"

#include <gtest/gtest.h>

#include <limits>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

using layout_test::RegisterBuilder;
using render::CanvasOp;
using render::RecordingCanvas;

struct Fill {
    int x1, y1, x2, y2;
    bool operator==(const Fill&) const = default;
};
void PrintTo(const Fill& f, std::ostream* os) {
    *os << "(" << f.x1 << "," << f.y1 << ")-(" << f.x2 << "," << f.y2 << ")";
}

core::Environment environment() {
    core::Environment env;
    env.最大世代数 = 30;
    env.一人が持てる最大家族数 = 10;
    env.一世帯当りの子供の最大数 = 20;
    return env;
}

// Only the name on every block; no numbers, no links, horizontal unless asked.
core::DrawingSettings plain(bool vertical = false) {
    core::DrawingSettings s;
    s.縦書き = vertical;
    s.横書き = !vertical;
    s.子供の表示を右順にする = false;
    s.漢数字の設定 = 0;
    return s;
}

class ChartRun : public ::testing::Test {
protected:
    RegisterBuilder b;
    core::DrawingSettings settings = plain();
    render::SyntheticGlyphs glyphs;

    render::ChartDrawing run(int base, bool textMode = false) {
        render::ChartRequest request;
        request.baseFamily = base;
        request.textMode = textMode;
        render::ChartOutcome outcome =
            render::runChart(b.reg, settings, environment(), request, glyphs);
        if (!outcome.ok()) {
            throw std::runtime_error(outcome.failure->title + ": " + outcome.failure->text);
        }
        return std::move(*outcome.drawing);
    }
    static RecordingCanvas chart(const render::ChartDrawing& d) {
        return testing_support::replayed(d);
    }
    static std::vector<Fill> lineFills(const render::ChartDrawing& d) {
        std::vector<Fill> out;
        for (const auto& op : chart(d).ops(CanvasOp::Kind::Fill)) {
            if (op.colour == render::kLineColour) {
                out.push_back({op.x1, op.y1, op.x2, op.y2});
            }
        }
        return out;
    }
    // The characters drawn on the chart, in reading order.
    static std::string chartText(const render::ChartDrawing& d) { return chart(d).textsInOrder(); }

    // A couple (husband "山田太郎", wife "山田花子", lineage 1) and its children.
    int couple() {
        const int h = b.person(1, "山田", "太郎");
        const int w = b.person(2, "山田", "花子");
        return b.family(h, w, 1);
    }
};

// Horizontal writing, one natural child. The husband's block is one row (24) of
// "　山田太郎"; the wife's "（妻）山田花子" is the widest, 21 + 21 × 8 = 189, so the level pitch
// is 189 + 3 × 21 = 252. The household is centred on the child's name row: marriage gap
// centre 24 + 2.5 × 24 = 84 from the couple's top, the child's block moved down to 72.
// Base point: one cell in (21, 24). Marriage axis 21 + 6 × 21 = 147, gap ⌊21/2⌋ = 10; the
// descent from the second bar (157) at y = 84 + 24 = 108 to 252 × (0 + 1), the stub on to
// 252 + 1.5 × 21 = 283.5 (drawn to 284), all on one straight row.
TEST_F(ChartRun, BasePointsAndTheStraightDescentToAnOnlyChild) {
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    const render::ChartDrawing d = run(f);

    EXPECT_EQ(lineFills(d), (std::vector<Fill>{
                                {147, 60, 147, 156},  // first bar: 108 ± 2 × 24
                                {157, 60, 157, 156},  // second bar
                                {157, 108, 252, 108}, // descent
                                {252, 108, 284, 108}, // stub
                            }));
    EXPECT_EQ(d.familiesDrawn, 1);
    // The child's block: one level pitch on, one cell in; its name starts a cell further.
    const RecordingCanvas canvas = chart(d);
    const auto& texts = canvas.texts();
    const auto child = std::find_if(texts.begin(), texts.end(),
                                    [](const render::PlacedText& t) { return t.text == "一"; });
    ASSERT_NE(child, texts.end());
    EXPECT_EQ(child->y, 96); // 72 + 24: its name row is the descent's row ± half a cell
    EXPECT_EQ(child->x, 252 + 21 + 21 + 3 * 21); // "　山田" before it
    // Chart size: the layout's extent plus two cell heights below the trees.
    EXPECT_EQ(d.width, 252 + 189 + 63);
    EXPECT_EQ(d.height, 216 + 48);
}

TEST_F(ChartRun, AnAdoptedOnlyChildMakesTheDescentItselfDouble) {
    const int f = couple();
    b.child(f, b.person(2, "山田", "優子"), true, 1);
    const render::ChartDrawing d = run(f);
    // Second bars ⌊W/4⌋ = 5 lower (the adoption gap follows the cell width in horizontal
    // writing), descent and stub alike; no sibling bar.
    EXPECT_EQ(lineFills(d), (std::vector<Fill>{
                                {147, 60, 147, 156},
                                {157, 60, 157, 156},
                                {157, 108, 252, 108},
                                {157, 113, 252, 113},
                                {252, 108, 284, 108},
                                {252, 113, 284, 113},
                            }));
}

// Two children: the household centres between their name rows (12 and 84 after the
// shift), the sibling bar joins the stubs at the descent's end, moved back by ⌊t/2⌋ except
// for t = 2.
TEST_F(ChartRun, TheSiblingBarLiesAtTheDescentEndShiftedByHalfTheThickness) {
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    b.child(f, b.person(2, "山田", "春子"));
    const struct {
        float t;
        int barLeft, barRight;
    } rows[] = {{1, 252, 252}, {2, 252, 253}, {3, 250, 252}, {4, 248, 252}};
    for (const auto& row : rows) {
        settings.ラインの太さ = row.t;
        const render::ChartDrawing d = run(f);
        const std::vector<Fill> fills = lineFills(d);
        ASSERT_EQ(fills.size(), 6u) << row.t; // two bars, descent, two stubs, sibling bar
        const Fill bar = fills.back();
        EXPECT_EQ(bar.x1, row.barLeft) << "t " << row.t;
        EXPECT_EQ(bar.x2, row.barRight) << "t " << row.t;
        // From the first stub's top edge to the last stub's bottom edge.
        EXPECT_EQ(bar.y1, fills[3].y1) << row.t;
        EXPECT_EQ(bar.y2, fills[4].y2) << row.t;
        EXPECT_LT(bar.y1, bar.y2);
    }
}

// Vertical writing mirrors the base point: the tree's x one cell in, the household's level
// (y) one cell down; the marriage line lies 6 cells below that.
TEST_F(ChartRun, VerticalWritingTurnsTheLines) {
    settings = plain(true);
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    const render::ChartDrawing d = run(f);
    const std::vector<Fill> fills = lineFills(d);
    ASSERT_EQ(fills.size(), 4u);
    // Marriage bars horizontal at y = 24 + 6 × 24 = 168 and 168 + ⌊24/2⌋ = 180.
    EXPECT_EQ(fills[0].y1, 168);
    EXPECT_EQ(fills[0].y2, 168);
    EXPECT_EQ(fills[1].y1, 180);
    // The descent goes down from the second bar at the couple's x, the stub straight on.
    EXPECT_EQ(fills[2].x1, fills[2].x2);
    EXPECT_EQ(fills[2].y1, 180);
    EXPECT_EQ(fills[3].x1, fills[2].x1);
    EXPECT_EQ(fills[3].y1, fills[2].y2);
    EXPECT_GT(fills[3].y2, fills[3].y1);
}

// A child born into family 1 and adopted into families 2 and 3 is drawn three times: its
// own block ("A") and two adoptive ones ("C"), joined by dotted lines in colours 2 and 4
// from the end of its own name.
TEST_F(ChartRun, APersonDrawnThreeTimesIsJoinedInColoursTwoAndFour) {
    settings.同一人物を繋ぐ = true;
    const int f1 = couple();
    const int f2 = b.family(b.person(1, "鈴木", "一"), b.person(2, "鈴木", "二"), 1);
    const int f3 = b.family(b.person(1, "佐藤", "三"), b.person(2, "佐藤", "四"), 1);
    const int x = b.person(2, "山田", "優子");
    b.child(f1, x);
    b.child(f2, x, false, 1);
    b.child(f3, x, false, 1);
    const render::ChartDrawing d = run(f1);

    std::vector<render::PlacedBlock> shown;
    for (const auto& pb : d.blocks) {
        if (pb.person == x) {
            shown.push_back(pb);
        }
    }
    ASSERT_EQ(shown.size(), 3u);
    const auto own = std::find_if(shown.begin(), shown.end(),
                                  [](const render::PlacedBlock& p) { return p.tag == 'A'; });
    ASSERT_NE(own, shown.end());
    const auto dotted = [&] {
        std::vector<CanvasOp> out;
        for (const auto& op : chart(d).ops(CanvasOp::Kind::Line)) {
            if (op.style == render::PenStyle::Dotted) {
                out.push_back(op);
            }
        }
        return out;
    }();
    ASSERT_EQ(dotted.size(), 2u);
    EXPECT_EQ(dotted[0].colour, 2);
    EXPECT_EQ(dotted[1].colour, 4);
    for (const auto& op : dotted) {
        EXPECT_EQ(op.x1, std::lround(own->anchorX));
        EXPECT_EQ(op.y1, std::lround(own->anchorY));
    }
    EXPECT_EQ(d.familiesDrawn, 3);

    settings.同一人物を繋ぐ = false;
    const render::ChartDrawing off = run(f1);
    for (const auto& op : chart(off).ops(CanvasOp::Kind::Line)) {
        EXPECT_NE(op.style, render::PenStyle::Dotted);
    }
}

// 配偶者非表示_F: 10 leaves the household head one blank name cell, 1 draws nothing of the
// spouse, 11 both; the couple's lines are drawn all the same.
TEST_F(ChartRun, HiddenHeadAndHiddenSpouse) {
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    const struct {
        int flag;
        bool head, spouse;
    } rows[] = {{0, true, true}, {10, false, true}, {1, true, false}, {11, false, false}};
    for (const auto& row : rows) {
        b.reg.family(f).配偶者非表示_F = static_cast<std::int16_t>(row.flag);
        const render::ChartDrawing d = run(f);
        const std::string text = chartText(d);
        EXPECT_EQ(text.find("太") != std::string::npos, row.head) << row.flag << ": " << text;
        EXPECT_EQ(text.find("花") != std::string::npos, row.spouse) << row.flag << ": " << text;
        EXPECT_NE(text.find("一"), std::string::npos) << row.flag;
        EXPECT_EQ(lineFills(d).size(), 4u) << row.flag;
    }
}

// The divorce date goes into the spouse's block only for a divorced couple and only while
// "離婚年月日非表示" is off; the cross is drawn over the marriage line all the same.
TEST_F(ChartRun, TheDivorceNoteRule) {
    settings.離婚_養子縁組欄 = true;
    const int f = couple();
    b.reg.family(f).離婚年月日 = "平成２年５月６日";
    b.child(f, b.person(1, "山田", "一郎"));
    const struct {
        int divorced;
        bool hidden;
        bool note;
    } rows[] = {{1, false, true}, {1, true, false}, {0, false, false}};
    for (const auto& row : rows) {
        b.reg.family(f).離婚_F = static_cast<std::int16_t>(row.divorced);
        settings.離婚年月日非表示 = row.hidden;
        const render::ChartDrawing d = run(f);
        EXPECT_EQ(chartText(d).find("離") != std::string::npos, row.note)
            << row.divorced << row.hidden << ": " << chartText(d);
        const auto crosses = chart(d).ops(CanvasOp::Kind::Line);
        EXPECT_EQ(crosses.size(), row.divorced == 1 ? 2u : 0u); // t = 1: one pair of strokes
    }
}

// A hidden family draws neither lines nor its own couple, and its child's household starts
// a tree of its own; the base family cannot be hidden.
TEST_F(ChartRun, HiddenFamiliesAreSkipped) {
    const int f1 = couple();
    const int son = b.person(1, "山田", "一郎");
    b.child(f1, son);
    const int f2 = b.family(son, b.person(2, "山田", "明美"), 1);
    const int grandson = b.person(1, "山田", "翔");
    b.child(f2, grandson);
    b.family(grandson, b.person(2, "山田", "美和"), 1);
    settings.familyEntries.resize(3);

    const render::ChartDrawing all = run(f1);
    EXPECT_EQ(all.familiesDrawn, 3);
    EXPECT_NE(chartText(all).find("明"), std::string::npos);

    settings.familyEntries[1].selected = 1;
    const render::ChartDrawing d = run(f1);
    EXPECT_EQ(d.familiesDrawn, 2);
    EXPECT_EQ(chartText(d).find("明"), std::string::npos);
    EXPECT_NE(chartText(d).find("翔"), std::string::npos);
    // Family 1 with its only child (4 fills) and the grandson's couple (2 bars).
    EXPECT_EQ(lineFills(d).size(), 6u);

    settings.familyEntries[0].selected = 1; // the base family itself
    EXPECT_EQ(run(f1).familiesDrawn, 2);
}

// "当事者No表示": the number on the first cell of the name, colour 10 for a person someone is
// linked to, 12 otherwise; "家族No表示": "(1)" in colour 2 after the marriage line.
TEST_F(ChartRun, PersonAndFamilyNumbers) {
    settings.当事者No表示 = true;
    settings.家族No表示 = true;
    const int f = couple();
    const int child = b.person(1, "山田", "一郎");
    b.child(f, child);
    const int copy = b.person(1, "山田", "一郎");
    b.reg.person(copy).C_当事者NO = static_cast<std::int16_t>(child);
    const render::ChartDrawing d = run(f);
    std::map<std::string, int> colours;
    const RecordingCanvas canvas = chart(d);
    for (const auto& t : canvas.texts()) {
        colours[t.text] = t.colour;
    }
    EXPECT_EQ(colours.at("1"), render::kPersonNumberColour);
    EXPECT_EQ(colours.at("2"), render::kPersonNumberColour);
    EXPECT_EQ(colours.at("3"), render::kLinkedPersonNumberColour);
    EXPECT_EQ(colours.at("(1)"), render::kFamilyNumberColour);
}

TEST_F(ChartRun, TreeSeparatorsCrossTheWholeChart) {
    settings.系図毎に区切る = true;
    const int f1 = couple();
    b.family(b.person(1, "鈴木", "一"), b.person(2, "鈴木", "二"), 1);
    const render::ChartDrawing d = run(f1);
    std::vector<CanvasOp> across;
    for (const auto& op : chart(d).ops(CanvasOp::Kind::Line)) {
        if (op.y1 == op.y2 && op.x1 == 0 && op.x2 == d.width - 1) {
            across.push_back(op);
        }
    }
    // Two trees: one at the top, one where the second tree starts.
    ASSERT_EQ(across.size(), 2u);
    EXPECT_EQ(across[0].y1, 0);
    EXPECT_GT(across[1].y1, 0);
}

// Text mode draws in horizontal writing at 16 points without spacing, whatever the settings,
// and lays the blocks and lines on the text canvas.
TEST_F(ChartRun, TextModeUsesItsOwnMetricsAndFillsTheTextCanvas) {
    settings = plain(true);
    settings.FONT_SIZE = 30;
    settings.字間 = 4;
    settings.ラインの太さ = 3;
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    const render::ChartDrawing d = run(f, true);
    ASSERT_NE(d.text, nullptr);
    EXPECT_EQ(d.cell.CW, 21);
    EXPECT_EQ(d.cell.CH, 24);
    // Horizontal writing: the husband's row, the marriage line, the wife's row.
    std::string all;
    for (int r = 1; r <= d.text->rowCount(); ++r) {
        all += d.text->rowText(r) + "\n";
    }
    EXPECT_NE(all.find("山田太郎"), std::string::npos) << all;
    EXPECT_NE(all.find("（妻）山田花子"), std::string::npos) << all;
    EXPECT_NE(all.find("││"), std::string::npos) << all;
    EXPECT_NE(all.find("├"), std::string::npos) << all;
    EXPECT_NE(all.find("山田一郎"), std::string::npos) << all;
    EXPECT_EQ(lineFills(d)[0].x2 - lineFills(d)[0].x1, 0) << "thickness 1";
    // Not in text mode there is no text canvas.
    EXPECT_EQ(run(f).text, nullptr);
}

// A survey that cannot run comes back as the message to show; nothing is thrown.
TEST_F(ChartRun, FailuresComeBackAsMessages) {
    const int f = couple();
    b.child(f, b.person(1, "山田", "一郎"));
    render::ChartRequest request;
    request.baseFamily = f;
    b.reg.family(f).系統_F = core::Lineage::Unset; // the centre-side question, unanswered
    const render::ChartOutcome unanswered =
        render::runChart(b.reg, settings, environment(), request, glyphs);
    ASSERT_FALSE(unanswered.ok());
    EXPECT_EQ(unanswered.failure->kind, render::ChartFailure::Kind::Survey);
    EXPECT_EQ(unanswered.failure->title, "作図の中心となる人物が決まっていません");
    request.answer = [](const layout::CentreQuestion&) { return std::optional<bool>(false); };
    const render::ChartOutcome answered =
        render::runChart(b.reg, settings, environment(), request, glyphs);
    ASSERT_TRUE(answered.ok());
    EXPECT_EQ(answered.drawing->lineage, core::Lineage::Maternal);
    EXPECT_EQ(b.reg.family(f).系統_F, core::Lineage::Unset) << "the registers are not changed";
}

// A font size no chart can be drawn at (typed by mistake, or in a damaged settings file)
// is refused with the size, before a glyph of it is made; a chart wider than a bitmap file
// holds is refused with its size.
TEST_F(ChartRun, SizesBeyondWhatCanBeDrawnAreRefused) {
    const int f = couple();
    render::ChartRequest request;
    request.baseFamily = f;
    for (const float size : {500.5f, 1e6f, std::numeric_limits<float>::infinity()}) {
        settings.FONT_SIZE = size;
        const render::ChartOutcome o =
            render::runChart(b.reg, settings, environment(), request, glyphs);
        ASSERT_FALSE(o.ok());
        EXPECT_EQ(o.failure->kind, render::ChartFailure::Kind::Canvas);
        EXPECT_NE(o.failure->text.find("ポイントでは作図できません（500 ポイントまで）"),
                  std::string::npos)
            << o.failure->text;
    }
    settings.FONT_SIZE = render::kLargestChartFontSize;
    EXPECT_TRUE(render::runChart(b.reg, settings, environment(), request, glyphs).ok());

    EXPECT_NO_THROW(render::checkChartExtent(2147483647.0, 1));
    try {
        render::checkChartExtent(3e9, 4048);
        FAIL();
    } catch (const render::CanvasError& e) {
        EXPECT_NE(std::string(e.what()).find("3000000000 × 4048 ピクセル"), std::string::npos)
            << e.what();
    }
}

// The sample data folder in both writing directions: every block lies inside the chart and
// no two blocks overlap; every family is drawn.
TEST(ChartRunSamples, BlocksStayInsideTheChartAndApart) {
    const std::filesystem::path samples(TSUBAKI_SAMPLES_DIR);
    const core::DataFolder data = core::DataFolder::load(
        samples, core::readEnvironment(samples / "KANKYO.TXT"), [] { return true; });
    for (const bool vertical : {true, false}) {
        core::DrawingSettings s = data.settings;
        s.縦書き = vertical;
        s.横書き = !vertical;
        render::SyntheticGlyphs glyphs;
        render::ChartRequest request;
        request.baseFamily = 3;
        const render::ChartOutcome outcome =
            render::runChart(data.reg, s, data.env, request, glyphs);
        ASSERT_TRUE(outcome.ok()) << outcome.failure->text;
        const render::ChartDrawing& d = *outcome.drawing;
        EXPECT_EQ(d.familiesDrawn, data.reg.familyCount());
        // The blocks as laid out and drawn.
        std::vector<render::Box> boxes;
        for (const render::DrawnPerson& p : d.persons) {
            boxes.push_back(p.box);
        }
        ASSERT_GE(boxes.size(), 20u);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const render::Box& a = boxes[i];
            EXPECT_GE(a.left, 0);
            EXPECT_GE(a.top, 0);
            EXPECT_LE(a.right, d.width) << vertical;
            EXPECT_LE(a.bottom, d.height) << vertical;
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const render::Box& b = boxes[j];
                const bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                                   b.bottom <= a.top;
                EXPECT_TRUE(apart) << "blocks " << i << " and " << j << (vertical ? " v" : " h");
            }
        }
    }
}

} // namespace
