#include "render/lines.h"
#include "render/recording_canvas.h"
#include "render/text_canvas.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using render::GridPoint;
using render::TextCanvas;
using render::TextLineStyle;

// Cells of 20 × 20 pixels without spacing: column = ⌊(x − 10) / 20⌋ + 1,
// row = ⌊(y − 10) / 20⌋.
TextCanvas grid(TextLineStyle style = TextLineStyle::ShowLines) {
    return TextCanvas({20, 20, 0, 0}, style);
}

// Pixel coordinates of the centre line of a cell.
float colX(int column) {
    return 20.0f * column - 10;
}
float rowY(int row) {
    return 20.0f * row + 10;
}
void hline(TextCanvas& t, int row, int from, int to) {
    t.XLINE_SUB(1, colX(from), rowY(row), colX(to), rowY(row));
}
void vline(TextCanvas& t, int column, int from, int to) {
    t.XLINE_SUB(0, colX(column), rowY(from), colX(column), rowY(to));
}

TEST(TextGrid, MappingOfPixelPoints) {
    const TextCanvas t({21, 24, 2, 3}, TextLineStyle::ShowLines);
    // column = ⌊(x − 10) / 23⌋ + 1, row = ⌊(y − 12) / 27⌋.
    EXPECT_EQ(t.map(10, 12), (GridPoint{1, 0}));
    EXPECT_EQ(t.map(32, 38), (GridPoint{1, 0}));
    EXPECT_EQ(t.map(33, 39), (GridPoint{2, 1}));
    EXPECT_EQ(t.map(9, 11), (GridPoint{0, -1})) << "floor, not truncation";
    EXPECT_EQ(t.map(32.5f, 38.5f), (GridPoint{2, 1})) << "operands rounded first";
}

TEST(TextGrid, VerticalLineMeetingHorizontalLines) {
    TextCanvas t = grid();
    hline(t, 1, 1, 5);
    hline(t, 3, 1, 5);
    hline(t, 5, 1, 5);
    vline(t, 3, 1, 5);
    EXPECT_EQ(t.rowText(1), "──┌──") << "starts on it";
    EXPECT_EQ(t.rowText(2), "　　│");
    EXPECT_EQ(t.rowText(3), "──┼──") << "crosses it";
    EXPECT_EQ(t.rowText(5), "──└──") << "ends on it";
    EXPECT_EQ(t.rowCount(), 5);
}

TEST(TextGrid, TeeJunctionsFromTheNeighbours) {
    TextCanvas t = grid();
    hline(t, 2, 3, 5); // "　　───"
    hline(t, 4, 1, 3); // "───"
    vline(t, 3, 1, 5);
    EXPECT_EQ(t.rowText(2), "　　├──");
    EXPECT_EQ(t.rowText(4), "──┤");
    // A horizontal line leaving a vertical one turns its first cell into "├".
    TextCanvas u = grid();
    vline(u, 2, 1, 3);
    hline(u, 2, 2, 4);
    EXPECT_EQ(u.rowText(2), "　├──");
}

TEST(TextGrid, UnmatchedMiddleCellGetsTheImpliedJunction) {
    // A horizontal stroke one cell long, crossed: "┼".
    TextCanvas t = grid();
    hline(t, 2, 3, 3);
    vline(t, 3, 1, 3);
    EXPECT_EQ(t.rowText(2), "　　┼");
    // Name text on the left, a line on the right: "├".
    TextCanvas n = grid();
    n.addItem(2, 1, "山");
    n.mergeItems();
    hline(n, 2, 2, 4);
    vline(n, 2, 1, 3);
    EXPECT_EQ(n.rowText(2), "山├──");
    // A neighbour that is itself a junction continues the stroke: the second crossing
    // has "┼" on its left.
    TextCanvas u = grid();
    hline(u, 2, 1, 5);
    vline(u, 2, 1, 3);
    vline(u, 3, 1, 3);
    EXPECT_EQ(u.rowText(2), "─┼┼──");
}

TEST(TextGrid, NameTextUnderLines) {
    TextCanvas t = grid();
    t.addItem(2, 2, "山田");
    t.mergeItems();
    vline(t, 2, 1, 3);
    EXPECT_EQ(t.cell(2, 2), "山") << "a vertical line leaves text alone";
    hline(t, 2, 1, 3);
    EXPECT_EQ(t.rowText(2), "───") << "a horizontal line overwrites it";
}

TEST(TextGrid, DotModeMarksOnlyTheEnds) {
    TextCanvas t = grid(TextLineStyle::DotsAtEnds);
    hline(t, 1, 2, 5);
    vline(t, 7, 1, 4);
    EXPECT_EQ(t.rowText(1), "　・　　・　・");
    EXPECT_EQ(t.rowText(2), "");
    EXPECT_EQ(t.rowText(4), "　　　　　　・");
}

TEST(TextGrid, CellsOutsideTheGridAreSkipped) {
    TextCanvas t = grid();
    t.XLINE_SUB(0, colX(2), 0, colX(2), rowY(2));   // starts on row 0 (above row 1)
    t.XLINE_SUB(1, -50, rowY(3), colX(2), rowY(3)); // starts left of column 1
    EXPECT_EQ(t.rowText(1), "　│");
    EXPECT_EQ(t.rowText(3), "──");
}

TEST(TextGrid, ItemsMergeAndUsedLengthCoversEveryWrite) {
    TextCanvas t = grid();
    t.addItem(2, 1, "山田太郎");
    t.addItem(2, 3, "ＡＢＣＤＥ"); // starts inside the first text, reaches past its end
    t.addItem(4, 3, "花子");
    EXPECT_EQ(t.rowCount(), 0) << "items wait for the merge";
    t.extendRows(4);
    t.mergeItems();
    EXPECT_EQ(t.rowText(2), "山田ＡＢＣＤＥ");
    EXPECT_EQ(t.usedLength(2), 14);
    EXPECT_EQ(t.usedLength(4), 8);
    EXPECT_EQ(t.usedLength(3), 0);
}

TEST(TextGrid, BlockItemsWidenTheCanvasAndExtendTheRows) {
    TextCanvas t({21, 24, 0, 0}, TextLineStyle::ShowLines);
    // column = ⌊121 / 21⌋ + 1 = 6, row = ⌊200 / 24⌋ = 8; recorded length 5 -> width 10.
    t.addBlockItem(121, 200, "山田", 5);
    EXPECT_EQ(t.columns(), 10);
    EXPECT_EQ(t.rowCount(), 8);
    t.mergeItems();
    EXPECT_EQ(t.cell(8, 6), "山");
}

TEST(TextGrid, UnencodableItemIsRefusedWithItsRow) {
    TextCanvas t = grid();
    try {
        t.addItem(3, 1, "😀");
        FAIL() << "no error";
    } catch (const render::TextDrawingError& e) {
        EXPECT_NE(std::string(e.what()).find("3行目"), std::string::npos) << e.what();
    }
}

// A small drawing: a corner and a tee with a name beside them.
std::vector<std::string> exported(TextLineStyle style) {
    TextCanvas t = grid(style);
    t.addItem(2, 5, "花子");
    t.extendRows(2);
    t.mergeItems();
    hline(t, 1, 1, 3);
    vline(t, 3, 1, 3);
    hline(t, 3, 3, 5);
    const std::string text = common::decodeCp932(t.exportBytes());
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) {
        lines.push_back(text.substr(from, at - from));
    }
    EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
    return lines;
}

TEST(TextExport, TheFiveLineChoices) {
    EXPECT_EQ(exported(TextLineStyle::ShowLines),
              (std::vector<std::string>{"──┌", "　　│　花子", "　　├──"}));
    EXPECT_EQ(exported(TextLineStyle::HorizontalOnly),
              (std::vector<std::string>{"──┌", "　　　　花子", "　　├──"}));
    EXPECT_EQ(exported(TextLineStyle::DotsAtEnds),
              (std::vector<std::string>{"・　・", "　　　　花子", "　　・　・"}));
    EXPECT_EQ(exported(TextLineStyle::JunctionsOnly),
              (std::vector<std::string>{"　　┌", "　　　　花子", "　　├　　"}));
    EXPECT_EQ(exported(TextLineStyle::NoLines), (std::vector<std::string>{"", "　　　　花子"}));
}

TEST(TextExport, UntouchedRowsAreEmptyAndTrailingBlanksAreNotWritten) {
    TextCanvas t = grid();
    t.widen(20);
    t.addItem(3, 2, "太郎");
    t.extendRows(4);
    t.mergeItems();
    EXPECT_EQ(t.exportBytes(), testing_support::sjisLines({"", "", "　太郎", ""}));
}

TEST(TextExport, WrittenThroughTheAtomicReplace) {
    testing_support::TempDir dir;
    TextCanvas t = grid();
    t.addItem(1, 1, "山田");
    t.extendRows(1);
    t.mergeItems();
    const auto path = dir.path() / "図面.TXT";
    dir.write("図面.TXT", "old contents");
    t.exportTo(path);
    EXPECT_EQ(common::readFile(path), testing_support::sjisLines({"山田"}));
    EXPECT_THROW(t.exportTo(dir.path() / "missing" / "図面.TXT"), common::FileError);
}

// Lines drawn through the LineDrawer onto the text grid canvas.
TEST(TextLines, MarriageLineAndDivorceMark) {
    TextCanvas t = grid();
    render::TextGridCanvas c(t, 400, 400);
    render::LineSettings s;
    s.W = s.H = 20;
    render::LineDrawer d(c, s);
    // Column ⌊100 / 20⌋ + 1 = 6; rows 1 to 5; middle row of y 70 is 3.
    d.LINE_SUB2(100, 30, 100, 110);
    d.バツイチ_SUB();
    EXPECT_EQ(t.rowText(1), "　　　　││");
    EXPECT_EQ(t.rowText(3), "　　　　×│");
    EXPECT_EQ(t.rowText(5), "　　　　││");

    // No mark on the list chart, nor with another line choice.
    TextCanvas u = grid(TextLineStyle::HorizontalOnly);
    render::TextGridCanvas cu(u, 400, 400);
    render::LineDrawer du(cu, s);
    du.LINE_SUB2(100, 30, 100, 110);
    du.バツイチ_SUB();
    EXPECT_EQ(u.rowText(3), "　　　　││");
    TextCanvas w = grid(TextLineStyle::NoLines);
    render::TextGridCanvas cw(w, 400, 400);
    render::LineDrawer dw(cw, s);
    dw.LINE_SUB2(100, 30, 100, 110);
    EXPECT_EQ(w.rowCount(), 0);
}

TEST(TextLines, SiblingBarAfterAnAdoptedStubEndsOnItsRow) {
    // The adopted stub at y 105 (row 4) has its second bar at 110, which maps to row 5;
    // the bar's end row is taken from 110 − ⌊20 / 4⌋ and ends on the stub.
    auto draw = [](bool adopted) {
        TextCanvas t = grid();
        render::TextGridCanvas c(t, 400, 400);
        render::LineSettings s;
        s.W = s.H = 20;
        render::LineDrawer d(c, s);
        d.LINE_SUB1(1, 160, 45, 190, 45);
        if (adopted) {
            d.LINE_SUB3(1, 160, 105, 190, 105);
        } else {
            d.LINE_SUB1(1, 160, 110, 190, 110);
        }
        d.siblingBar(0, 160, 45, 160, d.lastBar().far);
        return t;
    };
    const TextCanvas adopted = draw(true);
    EXPECT_EQ(adopted.cell(1, 8), "┌");
    EXPECT_EQ(adopted.cell(3, 8), "│");
    EXPECT_EQ(adopted.cell(4, 8), "└");
    EXPECT_EQ(adopted.rowText(5), "");
    const TextCanvas plain = draw(false);
    EXPECT_EQ(plain.cell(5, 8), "└");
}

} // namespace
