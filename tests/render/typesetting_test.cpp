#include "render/person_block.h"
#include "render/recording_canvas.h"
#include "render/text_canvas.h"
#include "render/typesetting.h"

#include "core/drawing_settings.h"
#include "core/registers.h"

#include <gtest/gtest.h>

namespace {

using render::CanvasOp;
using render::KanjiNumerals;
using render::PlacedText;
using render::RecordingCanvas;
using render::RecordingCanvasFactory;
using render::Typesetter;

// The recording canvas at 16 points: CW = 21, CH = 24.
struct Scene {
    RecordingCanvasFactory factory;
    Typesetter ts;
    RecordingCanvas block{300, 300, 3, 99};
    Scene(bool vertical, KanjiNumerals numerals = KanjiNumerals::Plain)
        : ts(factory, vertical, numerals) {}
};

std::vector<std::string> textsOf(const RecordingCanvas& c) {
    std::vector<std::string> out;
    for (const auto& t : c.texts()) {
        out.push_back(t.text);
    }
    return out;
}

TEST(CellMetrics, MeasuredThroughTheGlyphCell) {
    RecordingCanvasFactory factory;
    Typesetter ts(factory, false, KanjiNumerals::None);
    const auto m = ts.文字_MAX(16);
    EXPECT_EQ(m.CW, 21);
    EXPECT_EQ(m.CH, 24);
    EXPECT_EQ(ts.文字_MAX(12).CW, 16);
    EXPECT_EQ(ts.metrics().CH, 19);
    // The glyph cell holds the two-cell scratch area of PRPR_SUB2.
    EXPECT_GE(ts.glyphCell().width(), 2 * 16 + 1);
    EXPECT_GE(ts.glyphCell().height(), 2 * 19 + 1);
}

TEST(Typesetting, VerticalDigitsBecomeKanjiNumerals) {
    Scene s(true, KanjiNumerals::Formal);
    s.ts.PRINT_SUB(s.block, 10, 0, "１９２３年", 16, 2, render::kTextColour);
    // One character per cell down the column: CH + pitch = 26.
    EXPECT_EQ(s.block.texts(), (std::vector<PlacedText>{{10, 0, "壱", 0, false, 21},
                                                        {10, 26, "九", 0, false, 21},
                                                        {10, 52, "弐", 0, false, 21},
                                                        {10, 78, "参", 0, false, 21},
                                                        {10, 104, "年", 0, false, 21}}));

    Scene plain(true, KanjiNumerals::Plain);
    plain.ts.PRINT_SUB(plain.block, 0, 0, "10月", 16, 0, 0); // half-width digits too
    EXPECT_EQ(textsOf(plain.block), (std::vector<std::string>{"一", "〇", "月"}));

    Scene none(true, KanjiNumerals::None);
    none.ts.PRINT_SUB(none.block, 0, 0, "１９", 16, 0, 0);
    EXPECT_EQ(textsOf(none.block), (std::vector<std::string>{"１", "９"}));
}

TEST(Typesetting, HorizontalWritingHasNoVerticalRules) {
    Scene s(false, KanjiNumerals::Formal);
    s.ts.PRINT_SUB(s.block, 5, 7, "（ー）っ１。", 16, 1, 0);
    EXPECT_TRUE(s.block.ops(CanvasOp::Kind::RotatedText).empty());
    std::vector<PlacedText> expected;
    int x = 5;
    for (const char* ch : {"（", "ー", "）", "っ", "１", "。"}) {
        expected.push_back({x, 7, ch, 0, false, 21});
        x += 22; // CW + pitch
    }
    EXPECT_EQ(s.block.texts(), expected);
}

TEST(Typesetting, VerticalBracketsTurnAndLongVowelStandsUpright) {
    Scene s(true);
    s.ts.PRINT_SUB(s.block, 5, 10, "（ー｜", 16, 0, 3);
    // Turned characters are written straight on the block at (x + CH, y).
    const auto rotated = s.block.ops(CanvasOp::Kind::RotatedText);
    ASSERT_EQ(rotated.size(), 2u);
    EXPECT_EQ(rotated[0].text, "（");
    EXPECT_EQ(rotated[0].x1, 29);
    EXPECT_EQ(rotated[0].y1, 10);
    EXPECT_EQ(rotated[0].colour, 3);
    EXPECT_EQ(rotated[1].text, "｜");
    EXPECT_EQ(rotated[1].y1, 58);
    // "ー" is drawn upright as "｜" in the second cell.
    const PlacedText upright{5, 34, "｜", 3, false, 21};
    EXPECT_NE(std::find(s.block.texts().begin(), s.block.texts().end(), upright),
              s.block.texts().end());
}

TEST(Typesetting, SmallKanaAndMarksMoveTowardsTheUpperRight) {
    Scene s(true);
    s.ts.PRINT_SUB(s.block, 40, 100, "っ。ア", 16, 0, 0);
    // "っ": 0.1 CW = 2 right, 0.13 CH = 3 up. "。": 0.6 CW = 13 right, 0.5 CH = 12 up.
    EXPECT_EQ(s.block.texts(), (std::vector<PlacedText>{{42, 97, "っ", 0, false, 21},
                                                        {53, 112, "。", 0, false, 21},
                                                        {40, 148, "ア", 0, false, 21}}));
}

TEST(Typesetting, EachCharacterGoesThroughTheGlyphCell) {
    Scene s(false);
    s.ts.PRINT_SUB(s.block, 0, 0, "山田", 16, 0, 0);
    const auto copies = s.block.ops(CanvasOp::Kind::Copy);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[1].x1, 0);
    EXPECT_EQ(copies[1].y1, 0);
    EXPECT_EQ(copies[1].w, 21);
    EXPECT_EQ(copies[1].h, 24);
    EXPECT_EQ(copies[1].x2, 21);
    EXPECT_TRUE(s.block.ops(CanvasOp::Kind::Text).empty());
    // A new font size is measured before it is used.
    s.ts.PRINT_SUB(s.block, 0, 50, "山", 12, 0, 0);
    EXPECT_EQ(s.block.ops(CanvasOp::Kind::Copy).back().w, 16);
    // The glyph cell is shared: a size set on it elsewhere (a family number label) does not
    // leak into the next line.
    s.ts.glyphCell().setFontSize(16);
    s.ts.PRINT_SUB(s.block, 0, 100, "川", 12, 0, 0);
    EXPECT_EQ(s.block.texts().back().fontPixels, 16);
}

core::当事者 person() {
    core::当事者 p;
    p.本籍1 = "東京都";
    p.本籍2 = "千代田区";
    p.住所1 = "大阪府";
    p.生年月日 = "昭和１０年";
    p.備考1 = "長男";
    return p;
}

TEST(BlockSlots, ContentsSuffixesAndShownFlags) {
    core::DrawingSettings s;
    s.本籍欄 = true;
    s.生年月日欄 = true;
    s.死亡年月日欄 = true;
    const auto b = render::personBlockSlots(person(), "山田太郎", "認", "", s);
    EXPECT_EQ(b.text[7], "昭和１０年生");
    EXPECT_EQ(b.text[6], "") << "no suffix on an empty date";
    EXPECT_EQ(b.text[4], "認");
    EXPECT_EQ(b.length[7], 9);
    EXPECT_EQ(b.length[6], 0);
    EXPECT_EQ(b.length[8], 7);
    EXPECT_EQ(b.shown, (std::array<bool, 11>{true, false, false, false, false, false, true, true,
                                             true, false, true}));
}

TEST(BlockSlots, LabelPrefixes) {
    core::DrawingSettings s;
    s.本籍欄に_本籍_と入れる = true;
    auto b = render::personBlockSlots(person(), "山田太郎", "", "", s);
    EXPECT_EQ(b.text[0], "本籍　東京都");
    EXPECT_EQ(b.text[10], "　　　千代田区");
    EXPECT_EQ(b.text[3], "　　　大阪府") << "住所 label off";
    EXPECT_EQ(b.text[1], "　　　長男");
    EXPECT_EQ(b.text[7], "昭和１０年生") << "birth date never prefixed";
    EXPECT_EQ(b.text[8], "山田太郎") << "name never prefixed";
    EXPECT_EQ(b.length[0], 6);

    s.住所欄に_住所_と入れる = true;
    b = render::personBlockSlots(person(), "山田太郎", "", "", s);
    EXPECT_EQ(b.text[3], "住所　大阪府");

    // Both off: no prefix, and the length is still characters + 3.
    b = render::personBlockSlots(person(), "山田太郎", "", "", core::DrawingSettings{});
    EXPECT_EQ(b.text[0], "東京都");
    EXPECT_EQ(b.length[0], 6);
}

TEST(BlockSlots, ListChartSlots) {
    core::DrawingSettings s;
    s.本籍欄に_本籍_と入れる = true;
    auto p = person();
    p.死亡年月日 = "死亡　令和２年";
    const auto b = render::personBlockSlots(p, "（長男）太郎", "x", "y", s, true);
    EXPECT_EQ(b.text[5], "東京都");
    EXPECT_EQ(b.text[3], "大阪府");
    EXPECT_EQ(b.text[6], "死亡　令和２年");
    EXPECT_EQ(b.text[7], "昭和１０年");
    EXPECT_EQ(b.text[4], "長男");
    EXPECT_EQ(b.text[0], "");
    EXPECT_FALSE(b.shown[0]);
    EXPECT_TRUE(b.shown[9]);
}

TEST(BlockTags, Parsing) {
    EXPECT_EQ(render::parseBlockTag("A 12A").letter, 'A');
    EXPECT_EQ(render::parseBlockTag("A 12A").person, 12);
    EXPECT_EQ(render::parseBlockTag("C7C").person, 7);
    EXPECT_EQ(render::parseBlockTag("").letter, 0);
    EXPECT_EQ(render::parseBlockTag("A 12B").letter, 0);
    EXPECT_EQ(render::parseBlockTag("A xA").letter, 0);
}

render::PersonBlock nameOnlyBlock(const char* tag) {
    render::PersonBlock b;
    b.content.text[8] = "　山田";
    b.content.length[8] = 6;
    b.content.shown[8] = true;
    b.slotX[8] = 21;
    b.slotY[8] = 0;
    b.width = 80;
    b.height = 60;
    b.x = 100;
    b.y = 200;
    b.tag = tag;
    return b;
}

TEST(PersonBlocks, DrawnThroughTheBlockCanvasWithNumberAndAnchor) {
    RecordingCanvasFactory factory;
    Typesetter ts(factory, false, KanjiNumerals::None);
    RecordingCanvas chart(600, 600, 3, 1000);
    render::TextCanvas text({21, 24, 0, 0}, render::TextLineStyle::ShowLines);
    render::BlockStyle style{16, 2, 21, 24};
    auto block = nameOnlyBlock("A 7A");
    block.showPersonNumber = true;
    block.personNumber = 7;
    block.personNumberColour = render::kLinkedPersonNumberColour;
    const auto placed = render::drawPersonBlock(ts, chart, block, style);

    // The whole block canvas (20 pixels larger) is copied at the block's position.
    const auto copies = chart.ops(CanvasOp::Kind::Copy);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].w, 100);
    EXPECT_EQ(copies[0].h, 80);
    EXPECT_EQ(copies[0].x2, 100);
    EXPECT_EQ(copies[0].y2, 200);
    // The number takes the name's first cell; the name follows at CW + 字間.
    EXPECT_EQ(chart.texts(), (std::vector<PlacedText>{{144, 200, "山", 0, false, 21},
                                                      {167, 200, "田", 0, false, 21},
                                                      {121, 200, "7", 10, false, 21}}));
    // Anchor at the name, half a cell down, moved to the end of the name for "A".
    EXPECT_EQ(placed.tag, 'A');
    EXPECT_EQ(placed.person, 7);
    EXPECT_EQ(placed.anchorX, 121 + 3 * 23);
    EXPECT_EQ(placed.anchorY, 212);
    // The text drawing: column ⌊121 / 21⌋ + 1 = 6, row ⌊200 / 24⌋ = 8.
    render::TextGridCanvas grid(text, 600, 600);
    for (const render::GridText& item : chart.gridTexts()) {
        grid.gridText(item);
    }
    grid.finish();
    EXPECT_EQ(text.rowText(8), "　　　　　　山田");

    // A repeated block keeps its anchor at the start of the name.
    const auto repeat = render::drawPersonBlock(ts, chart, nameOnlyBlock("C 7C"), style);
    EXPECT_EQ(repeat.anchorX, 121);
}

TEST(PersonBlocks, VerticalAnchorAndHiddenSlots) {
    RecordingCanvasFactory factory;
    Typesetter ts(factory, true, KanjiNumerals::Plain);
    RecordingCanvas chart(600, 600, 3, 1000);
    auto block = nameOnlyBlock("A 3A");
    block.content.text[7] = "１２";
    block.content.length[7] = 5;
    block.content.shown[7] = false; // not shown: not drawn
    const auto placed = render::drawPersonBlock(ts, chart, block, {16, 0, 21, 24});
    EXPECT_EQ(chart.textsInOrder(), "　山田");
    EXPECT_EQ(placed.anchorX, 100 + 21 + 10);
    EXPECT_EQ(placed.anchorY, 200 + 3 * 24);
}

} // namespace
