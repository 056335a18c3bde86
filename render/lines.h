// The connecting lines of a chart: bars, the marriage and adoption double lines, the
// divorce cross, the descent with its sibling bar and stubs, the family number label, the
// dotted joins between appearances of the same person and the tree separators.
//
// A LineDrawer is made for one drawing and holds that drawing's state: the last bar's
// extents, the last marriage line's midpoint and span, whether the preceding line was an
// adoption line, and the colour of the next same-person join. Coordinates are pixels of
// the chart canvas as floats; every drawing call rounds them half away from zero. Single and
// adoption lines, the marriage line and the divorce mark also tell the canvas their text
// grid form (Canvas::gridLine), for the text drawing.
#pragma once

#include "core/registers.h"
#include "render/canvas.h"

#include <vector>

namespace core {
struct DrawingSettings;
}

namespace render {

struct LineSettings {
    float W = 0; // cell width and height of the chart font (CW, CH)
    float H = 0;
    float ラインの太さ = 1; // corrected: a value of 0 or less is 1
    bool 縦書き = false;    // vertical writing: marriage lines horizontal, descent vertical
    bool 法定相続情報一覧図 = false; // statutory list chart
    bool 相続関係説明図 = false;     // inheritance explanation chart (tree separators)
    bool 家族No表示 = false;         // family number labels
    float FONT_SIZE = 16;            // chart font size (the separator margin, in pixels)
    float largestBlockWidth = 0;     // of the whole chart, from the layout
    float largestBlockHeight = 0;
};

// The line settings of a drawing from the drawing settings. A line thickness of 0 or less
// is corrected to 1 in `settings` too, so that the corrected value is the one kept.
LineSettings lineSettingsFrom(core::DrawingSettings& settings, float W, float H);

// Extents across a bar (left and right x of a vertical bar, top and bottom y of a
// horizontal one), both included.
struct BarExtent {
    float near = 0;
    float far = 0;
    bool operator==(const BarExtent&) const = default;
};

struct MarriageMark {
    float x = 0; // midpoint
    float y = 0;
    float span = 0; // outer extent of both bars + 8 + thickness
};

// One family's lines as the line pass needs them.
struct FamilyLines {
    int familyNumber = 0;
    // Tree origin + one cell (+ the heading column in vertical writing) + the group's
    // offset along the level axis.
    float baseX = 0;
    float baseY = 0;
    // Positions across the generations as the layout gives them (relative to the tree):
    // index 0 the couple, 1..n the children. The base point's coordinate on that axis is
    // added here.
    std::vector<float> positions;
    int spousesShown = 2;        // 2: a couple with its marriage gap; 1: a single parent
    float parentBlockExtent = 0; // single parent: block width (horizontal), height (vertical)
    int 階層 = 0;
    // A marriage; any other value, named or not, is a partnership without marriage.
    core::UnionForm 形態 = core::UnionForm::Marriage;
    int 離婚_F = 0;                        // 1 divorced
    std::vector<core::ChildKind> 子の形態; // per child
};

// A placed block as the same-person joins need it.
struct PlacedBlock {
    char tag = 0; // 'A', 'B', 'C', or 0 for no tag
    int person = 0;
    float anchorX = 0;
    float anchorY = 0;
    float width = 0; // the block's size as laid out
    float height = 0;
};

class LineDrawer {
public:
    // `glyphCell` (for family number labels) may be null.
    LineDrawer(Canvas& chart, const LineSettings& settings, Canvas* glyphCell = nullptr);

    // The corrected thickness t and ⌊t/2⌋.
    int thickness() const { return t_; }
    int halfThickness() const { return s_; }

    // Single line: orientation 0 a vertical bar at x1 from y1 to y2, any other value a
    // horizontal bar at y1 from x1 to x2. Returns (and records) its extents across.
    BarExtent LINE_SUB1(int orientation, float x1, float y1, float x2, float y2);
    // The sibling bar joining the stubs: a single line that knows whether the stub before
    // it was an adoption line (for the text grid).
    BarExtent siblingBar(int orientation, float x1, float y1, float x2, float y2);
    // Marriage double line along the marriage axis of the writing direction (a vertical
    // line at x1 from y1 to y2 in horizontal writing, a horizontal line at y1 from x1 to x2
    // in vertical writing). Returns the second bar's extents (the line start of the
    // descent is its near edge) and records the midpoint and span.
    BarExtent LINE_SUB2(float x1, float y1, float x2, float y2);
    // Adoption double line with LINE_SUB1's orientation rule. Returns the second bar's
    // extents; records the outer edges of both bars.
    BarExtent LINE_SUB3(int orientation, float x1, float y1, float x2, float y2);
    // The divorce cross on the last marriage line.
    void バツイチ_SUB();

    const BarExtent& lastBar() const { return lastBar_; }
    const MarriageMark& marriage() const { return marriage_; }
    bool precedingWasAdoption() const { return adoption_; }

    // Where the sibling bar lies for a descent ending at `end`: moved back by ⌊t/2⌋ unless
    // t is exactly 2.
    float siblingBarPosition(float end) const;

    // A family's marriage (or partnership) line, divorce cross, family number label,
    // descent, stubs and sibling bar.
    void drawFamily(const FamilyLines& family);

    // One dotted join between two appearances of a person, in the next link colour (2, 4,
    // ... 12, then 2 again). Skipped, keeping the colour, when a coordinate is 0 or less.
    void joinSamePerson(float x1, float y1, float x2, float y2);
    int nextLinkColour() const { return linkColour_; }
    // Every join of the chart, person by person in increasing number.
    void drawSamePersonLinks(const std::vector<PlacedBlock>& blocks);

    // The separator before a tree starting at `origin` (x in vertical writing, y in
    // horizontal writing), across the whole chart; `titleColumn` is added in vertical
    // writing with the explanation chart. Left out near the heading edge of an
    // explanation chart.
    void treeSeparator(float origin, float titleColumn = 0);

private:
    void bar(int orientation, float acrossFrom, float acrossTo, float alongFrom, float alongTo);
    // LINE_SUB1's bar alone, without its text grid form.
    BarExtent singleBar(int orientation, float x1, float y1, float x2, float y2);
    void gridSingle(int orientation, float x1, float y1, float x2, float y2,
                    bool afterAdoption = false);
    void familyLabel(int familyNumber, float x, float y);
    // drawFamily's steps: the couple's line (returns where the descent starts), and the
    // descent with its stubs and sibling bar.
    float drawCouple(const FamilyLines& f, float p0);
    void drawDescent(const FamilyLines& f, float start);
    // A line across the generations at `at` from `from` to `to`, double for an adoption;
    // returns its outer edges.
    BarExtent descentLine(bool adopted, float at, float from, float to);

    Canvas& chart_;
    LineSettings settings_;
    Canvas* glyph_;
    int t_;
    int s_;
    BarExtent lastBar_;
    MarriageMark marriage_;
    bool adoption_ = false;
    int linkColour_ = 2;
    bool labelCellCleared_ = false;
};

} // namespace render
