// Where the headings of the legal charts stand, on the recording canvas (chart font 16
// points: cell 21 × 24; heading font 24 points: cell 32 × 35), for small families worked
// out by hand in both writing directions, and the list chart's footer with and without the
// applicant's block.
#include "render/legal_chart.h"
#include "render/recording_canvas.h"

#include "tests/layout/register_builder.h"

#include "replayed.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using layout_test::RegisterBuilder;

struct At {
    int x, y;
    bool operator==(const At&) const = default;
};

core::Environment environment() {
    core::Environment env;
    env.最大世代数 = 30;
    env.一人が持てる最大家族数 = 10;
    env.一世帯当りの子供の最大数 = 20;
    return env;
}

class LegalHeadings : public ::testing::Test {
protected:
    RegisterBuilder b;
    core::DrawingSettings settings;
    render::RecordingCanvasFactory factory; // measures the headings
    render::SyntheticGlyphs glyphs;
    std::optional<render::LegalChart> chart;

    void SetUp() override {
        settings.子供の表示を右順にする = false;
        settings.漢数字の設定 = 0;
        horizontal(true);
    }
    void horizontal(bool on) {
        settings.縦書き = !on;
        settings.横書き = on;
    }

    render::ChartDrawing draw(render::LegalChartKind kind, int base, bool textMode = false) {
        render::LegalChartOutcome prepared =
            render::prepareLegalChart(kind, b.reg, settings, base, textMode, factory, {});
        if (!prepared.ok()) {
            throw std::runtime_error(prepared.failure->title + ": " + prepared.failure->text);
        }
        chart = std::move(prepared.chart);
        render::ChartRequest request;
        request.textMode = textMode;
        render::ChartOutcome outcome =
            render::drawLegalChart(*chart, environment(), request, glyphs);
        if (!outcome.ok()) {
            throw std::runtime_error(outcome.failure->title + ": " + outcome.failure->text);
        }
        return std::move(*outcome.drawing);
    }
    // The plain chart of the same registers and settings, for the size of its trees.
    render::ChartDrawing plain(int base) {
        core::DrawingSettings s = settings;
        s.相続関係説明図にする = false;
        render::ChartRequest request;
        request.baseFamily = base;
        render::ChartOutcome outcome = render::runChart(b.reg, s, environment(), request, glyphs);
        return std::move(*outcome.drawing);
    }
    // Where a character stands on the chart, every time it occurs.
    static std::vector<At> where(const render::ChartDrawing& d, const std::string& ch) {
        std::vector<At> out;
        const render::RecordingCanvas canvas = testing_support::replayed(d);
        for (const auto& t : canvas.texts()) {
            if (t.text == ch) {
                out.push_back({t.x, t.y});
            }
        }
        return out;
    }
    static bool stands(const render::ChartDrawing& d, const std::string& ch, At at) {
        const std::vector<At> all = where(d, ch);
        return std::find(all.begin(), all.end(), at) != all.end();
    }
    static int fontAt(const render::ChartDrawing& d, At at) {
        const render::RecordingCanvas canvas = testing_support::replayed(d);
        for (const auto& t : canvas.texts()) {
            if (t.x == at.x && t.y == at.y) {
                return t.fontPixels;
            }
        }
        return 0;
    }

    // 太郎 (the deceased, domicile 東京都, address 大阪府) and 花子 with their son 一郎.
    int family() {
        const int taro = b.man("太郎");
        b.reg.person(taro).本籍1 = "東京都";
        b.reg.person(taro).住所1 = "大阪府";
        const int f = b.family(taro, b.woman("花子"), 1);
        b.child(f, b.man("一郎"));
        settings.相続関係説明図にする = true;
        settings.被相続人の情報欄を表示する = true;
        settings.戸籍還付欄を表示する = true;
        return f;
    }
};

// Horizontal writing. Title "被相続人　山田太郎　　相続関係説明図" (18 characters) at (0, 0) in
// the heading font. The information block (3 lines: 本籍, 住所, and the registry address
// taken from the deceased, 11 characters each, 21 × 12 = 252 wide, 3 × 24 high) 2 × 21 in
// and 35 + 2 × 24 = 83 down; the trees 3 × 24 below it, at 83 + 72 + 72 = 227 (+ the
// drawing's cell, 24). The trees' own height is 216, the plain margin 48, and the
// explanation chart adds 2 × 24: 227 + 216 + 48 + 48 = 539. The return message: its left
// edge at 11 (the characters before "相続関係説明図") × 21 = 231, its top 2 × 24 above the
// bottom; it is also the widest thing: 231 + 21 × 19 = 630.
TEST_F(LegalHeadings, ExplanationChartHorizontal) {
    const int f = family();
    const render::ChartDrawing d = draw(render::LegalChartKind::Explanation, f);
    EXPECT_TRUE(stands(d, "被", {0, 0}));
    EXPECT_EQ(fontAt(d, {0, 0}), 32) << "the title is in the heading font";
    EXPECT_TRUE(stands(d, "最", {42, 83}));
    EXPECT_TRUE(stands(d, "最", {42, 107}));
    EXPECT_TRUE(stands(d, "登", {42, 131}));
    EXPECT_EQ(fontAt(d, {42, 83}), 21);
    EXPECT_EQ(d.height, 539);
    EXPECT_EQ(d.width, 630);
    EXPECT_TRUE(stands(d, "戸", {231, 539 - 48}));
    // The deceased's block is labelled "（被）" and nothing of the trees stands above
    // their start.
    const render::RecordingCanvas canvas = testing_support::replayed(d);
    const auto& texts = canvas.texts();
    for (const auto& t : texts) {
        if (t.text == "太" && t.y > 0) {
            EXPECT_GE(t.y, 227 + 24);
        }
    }
    EXPECT_NE(testing_support::replayed(d).textsInOrder().find("（被）山田太郎"),
              std::string::npos);
    // The filled registry address went into the drawn settings, not the caller's.
    EXPECT_EQ(chart->settings.登記簿上の住所１, "大阪府");
    EXPECT_EQ(settings.登記簿上の住所１, "");
}

// Without the information block the trees start right after the title; without the
// return message nothing is added at the bottom but the explanation chart's two lines.
TEST_F(LegalHeadings, ExplanationChartWithoutItsBlocks) {
    const int f = family();
    settings.被相続人の情報欄を表示する = false;
    settings.戸籍還付欄を表示する = false;
    const render::ChartDrawing d = draw(render::LegalChartKind::Explanation, f);
    EXPECT_TRUE(where(d, "最").empty());
    EXPECT_TRUE(where(d, "戸").empty());
    EXPECT_EQ(d.height, 83 + 216 + 48 + 48);
    EXPECT_EQ(d.width, 33 * 19) << "the title's own width";
}

// Vertical writing: the title column at the right edge (x = width − 2 × 21) in the heading
// font, a character every 35 + 1 pixels down; the information block, 3 columns of 21, to
// its left by 2 × 21 and its own width, from (11 + 6) × 24 = 408 down, its first line the
// rightmost column; the return message at x = its width (21), y = 11 × 24 = 264. The right
// side keeps 21 + 2 × 21 + 63 + 3 × 21 + 3 × 21 = 252, the trees are moved 2 × 21 right of
// the return message. Height: the return message reaches 264 + 24 × 19 = 720.
TEST_F(LegalHeadings, ExplanationChartVertical) {
    const int f = family();
    horizontal(false);
    const render::ChartDrawing trees = plain(f);
    const render::ChartDrawing d = draw(render::LegalChartKind::Explanation, f);
    const int W = trees.width + 42 + 252;
    EXPECT_EQ(d.width, W);
    EXPECT_EQ(d.height, std::max(trees.height, 720));
    EXPECT_TRUE(stands(d, "被", {W - 42, 0}));
    EXPECT_TRUE(stands(d, "相", {W - 42, 36}));
    EXPECT_TRUE(stands(d, "最", {W - 105, 456})) << "　　最後の本籍: third character";
    EXPECT_TRUE(stands(d, "最", {W - 126, 456}));
    EXPECT_TRUE(stands(d, "登", {W - 147, 408}));
    EXPECT_TRUE(stands(d, "戸", {21, 264}));
    EXPECT_TRUE(stands(d, "籍", {21, 288}));
    // Every block of the trees (their names: 太郎 is also in the title) lies between the
    // return message and the headings, at least 3 pitches clear of the information block.
    int left = W;
    int right = 0;
    for (const char* ch : {"被", "花", "一"}) {
        for (const At& at : where(d, ch)) {
            if (at.x < W - 42) {
                left = std::min(left, at.x);
                right = std::max(right, at.x + 21);
            }
        }
    }
    EXPECT_EQ(left, 63) << "the tree's first column: one cell and twice the return message's width";
    EXPECT_LE(right, W - 147 - 3 * 21);
}

class ListHeadings : public LegalHeadings {
protected:
    int child = 0;
    // 太郎 alone in his household (no address, domicile or dates) with his son 一郎, the
    // one heir. His block: 最後の住所, "　", 出生　, 死亡　, （被相続人）, 山田太郎: 6 rows
    // of 24, 21 + 21 × 7 = 168 wide; 一郎's: 出生　, （長男）, 山田一郎. The household
    // moves back onto its son's name: the tree is 144 + 48 = 192 high. Title "被相続人
    // 山田太郎　　法定相続情報", 17 characters, 33 × 18 = 594 wide, makes the chart 594
    // wide (the trees: 231 + 168 + 63 = 462). The trees start at 35 + 2 × 24 = 83, end
    // (with the plain margin) at 83 + 192 + 48 = 323: "以下余白" one cell above, at 299.
    int listFamily() {
        const int taro = b.man("太郎");
        const int f = b.family(taro, 0, 1);
        child = b.man("一郎");
        b.child(f, child, true, 0, "長男");
        settings.法定相続情報一覧図にする = true;
        settings.setHeir(child, true);
        settings.申出人の住所 = "東京都";
        settings.申出人の氏名 = "山田一郎";
        settings.作成日付 = "令和５年１月２０日";
        settings.作成者の住所 = "東京都";
        settings.作成者の氏名 = "山田一郎";
        return f;
    }
};

// The applicant is not an heir: "以下余白" centred (⌊594 / 2⌋ − ⌊105 / 2⌋ = 245), the
// applicant's block (2 lines, 252 wide) 4 lines of 24 below it, the creator's (3 lines,
// "作成日：　　　令和５年１月２０日" 16 characters: 357 wide) 48 + 72 below that, both at
// 297 − 178 = 119; 72 + 48 after the creator's block end the chart.
TEST_F(ListHeadings, TheFooterWithBothBlocks) {
    const int f = listFamily();
    const render::ChartDrawing d = draw(render::LegalChartKind::List, f);
    EXPECT_EQ(d.width, 594);
    EXPECT_TRUE(stands(d, "被", {0, 0}));
    EXPECT_TRUE(stands(d, "以", {245, 299}));
    EXPECT_TRUE(stands(d, "申", {119, 395}));
    EXPECT_TRUE(stands(d, "作", {119, 515}));
    EXPECT_TRUE(stands(d, "作", {119, 539}));
    EXPECT_EQ(d.height, 635);
    const std::string all = testing_support::replayed(d).textsInOrder();
    EXPECT_NE(all.find("申出人：住所　東京都"), std::string::npos);
    EXPECT_NE(all.find("　　　　氏名　山田一郎"), std::string::npos);
    EXPECT_EQ(all.find("（申出人）"), std::string::npos);
    EXPECT_NE(all.find("（被相続人）"), std::string::npos);
}

// The applicant is the heir 一郎: "（申出人）" follows his name in his block (11 characters:
// his block is 273 wide, the chart 336 + 273 + 63 = 672), and only the creator's block
// follows "以下余白", 4 lines below it.
TEST_F(ListHeadings, AnApplicantWhoIsAnHeir) {
    const int f = listFamily();
    settings.申出人の当事者番号 = static_cast<std::int16_t>(child);
    const render::ChartDrawing d = draw(render::LegalChartKind::List, f);
    EXPECT_EQ(chart->applicant, child);
    EXPECT_EQ(d.width, 672);
    EXPECT_TRUE(stands(d, "被", {336 - 297, 0}));
    EXPECT_TRUE(stands(d, "以", {336 - 52, 299}));
    EXPECT_TRUE(stands(d, "作", {336 - 178, 395}));
    EXPECT_EQ(d.height, 395 + 72 + 48);
    const std::string all = testing_support::replayed(d).textsInOrder();
    EXPECT_NE(all.find("山田一郎　　（申出人）"), std::string::npos);
    EXPECT_EQ(all.find("申出人：住所"), std::string::npos);
}

TEST_F(ListHeadings, BothBlocksOmittedAndTheTitleAddition) {
    const int f = listFamily();
    settings.この系図では設定の記載を省略 = 1;
    render::ChartDrawing d = draw(render::LegalChartKind::List, f);
    EXPECT_TRUE(where(d, "申").empty());
    EXPECT_TRUE(where(d, "作").empty());
    EXPECT_EQ(d.height, 299 + 24);
    // An empty addition adds nothing to the title, not even the two spaces.
    EXPECT_EQ(chart->headings->placement().title.lines,
              (std::vector<std::string>{"被相続人　山田太郎　　法定相続情報"}));

    settings.表題部追加情報 = "（一部）";
    d = draw(render::LegalChartKind::List, f);
    EXPECT_EQ(chart->headings->placement().title.lines,
              (std::vector<std::string>{"被相続人　山田太郎　　法定相続情報　　（一部）"}));
    EXPECT_EQ(d.width, 33 * 24) << "the longer title widens the chart";
}

// The list chart is drawn in rows even when the settings say vertical writing, and its
// text drawing starts with the title on row 1.
TEST_F(ListHeadings, AlwaysHorizontalAndTheTitleInTheTextDrawing) {
    const int f = listFamily();
    horizontal(false);
    const render::ChartDrawing d = draw(render::LegalChartKind::List, f);
    EXPECT_TRUE(stands(d, "以", {245, 299}));
    const render::ChartDrawing t = draw(render::LegalChartKind::List, f, true);
    ASSERT_NE(t.text, nullptr);
    EXPECT_NE(t.text->rowText(1).find("被相続人　山田太郎　　法定相続情報"), std::string::npos);
    bool footer = false;
    for (int row = 1; row <= t.text->rowCount(); ++row) {
        footer = footer || t.text->rowText(row).find("以下余白") != std::string::npos;
    }
    EXPECT_TRUE(footer);
}

} // namespace
