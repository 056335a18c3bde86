// The chart run: from the registers and the drawing settings to the recorded drawing of the
// chart (render/drawing.h), which every output replays (and, in text mode, the text canvas
// of "図面.TXT" replayed from it). One entry point, runChart, serves the settings dialog,
// the headless outputs and the benchmark.
//
// The run in its order:
//   1. preparation and survey (layout/chart_survey.h): base family, centre person, links
//      resolved, hidden families cut loose, child order; all on a copy of the registers
//   2. measurement and positioning (layout/chart_layout.h) with the cell of the chart font
//   3. the chart size (plus the heading areas of the legal chart forms) and its recording
//   4. the block pass: every person block typeset and copied onto the chart
//   5. the line pass: each visible family's lines, then the same-person joins and the tree
//      separators, drawn over the blocks
//   6. text mode: the recording replayed onto the text grid
// Restoration: the survey works on its own copy of the registers, so the caller's
// registers stay exactly as they were; the only value the caller may keep is the lineage
// answered to the centre-side question (ChartDrawing::lineage).
#pragma once

#include "render/canvas.h"
#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/lines.h"
#include "render/person_block.h"
#include "render/text_canvas.h"
#include "render/typesetting.h"

#include "core/drawing_settings.h"
#include "core/environment.h"
#include "core/registers.h"
#include "layout/chart_layout.h"
#include "layout/chart_survey.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace render {

// Where the chart's drawing stands relative to the layout's positions: the layout leaves
// out the margin of one cell kept around the trees and whatever the legal chart forms put
// before the first tree. All pixels.
struct ChartFrame {
    float treeStart = 0;     // along the stacking axis, before the first tree (heading area)
    float headingColumn = 0; // vertical writing: added to every tree origin's x
    float extraWidth = 0;    // added to the chart size for headings and footers
    float extraHeight = 0;
};

class ChartHeadings;

// The chart size in whole pixels.
struct ChartSize {
    int width = 0;
    int height = 0;
};

// What one drawing is made from: the survey, the layout and the settings as the run uses
// them (text mode already applied).
struct ChartContext {
    const layout::SurveyResult& survey;
    const layout::ChartLayout& layout;
    const core::DrawingSettings& settings;
    const ChartFrame& frame;
    bool textMode = false;
    CellMetrics cell;
};

// The room and the drawing of the legal chart forms' headings (title, information block,
// return message, applicant and creator). The plain family chart has none; a legal chart
// form provides its own and the run calls it at its places in the drawing order.
class ChartHeadings {
public:
    virtual ~ChartHeadings() = default;
    // The heading areas, known before positioning (the first tree starts after them).
    virtual ChartFrame frame(const layout::SurveyResult& survey, CellMetrics cell) = 0;
    // The chart size once the trees are placed: `plain` is the size of the trees with
    // the drawing's margins (chartSize); headings and footers that depend on the trees'
    // extent enlarge it here.
    virtual ChartSize chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                                ChartSize plain) {
        return plain;
    }
    // Before the blocks (step 3 of the drawing order) and after them (step 5).
    virtual void drawBeforeBlocks(const ChartContext& context, Typesetter& typesetter,
                                  Canvas& chart) = 0;
    virtual void drawAfterBlocks(const ChartContext& context, Typesetter& typesetter,
                                 Canvas& chart) = 0;
    // False for a chart form that draws all it shows itself (the list form of the
    // 法定相続情報一覧図): the run then draws neither the trees' blocks nor their lines.
    virtual bool drawsTrees() const { return true; }
};

// A request for one chart.
struct ChartRequest {
    int baseFamily = 0;    // 1..family count
    bool textMode = false; // "テキスト化": font 16, no spacing, thickness 1, the text canvas
    // Asked the centre-side question when the base family's lineage is not set.
    layout::CentreAnswer answer;
    ChartHeadings* headings = nullptr; // none for the plain family chart
    // The statutory list chart's applicant when that person is an heir: its block shows
    // "　　（申出人）" after the name. 0 for none.
    int applicant = 0;
};

// Why a chart was not drawn: the message box to show.
struct ChartFailure {
    enum class Kind { Survey, Canvas, TextDrawing };
    Kind kind = Kind::Survey;
    std::string title;
    std::string text;
    std::optional<layout::SurveyError> surveyError;
};

struct ChartDrawing {
    std::shared_ptr<const Drawing> recording;
    std::unique_ptr<TextCanvas> text;             // text mode only
    core::Lineage lineage = core::Lineage::Unset; // the base family's 系統_F as the run used it
    CellMetrics cell;
    int width = 0;
    int height = 0;
    std::vector<PlacedBlock> blocks;  // every block drawn, with its anchor
    int familiesDrawn = 0;            // families whose lines were drawn
    std::vector<DrawnPerson> persons; // every person block, in drawing order
};

struct ChartOutcome {
    std::optional<ChartDrawing> drawing;
    std::optional<ChartFailure> failure;
    bool ok() const { return drawing.has_value(); }
};

// The settings a run draws with: in text mode horizontal writing, the font size 16, the
// spacings 0 and the line thickness 1 whatever the settings say; a line thickness of 0 or
// less is 1.
core::DrawingSettings runSettings(const core::DrawingSettings& settings, bool textMode);

// The whole chart run, recorded with the text of `glyphs`. Never changes `reg`.
ChartOutcome runChart(const core::Registers& reg, const core::DrawingSettings& settings,
                      const core::Environment& env, const ChartRequest& request,
                      GlyphSource& glyphs);

// ---- the pieces of the run, for the run itself and its tests ----

// The largest font size a chart is drawn at (points): a glyph of it is still a small image.
inline constexpr float kLargestChartFontSize = 500;

// Refuses (CanvasError naming the size) a chart wider or higher than a bitmap file holds.
void checkChartExtent(double width, double height);

// The chart size in whole pixels: the layout's extent, the heading areas, and the margins
// of the drawing: two cell heights below the trees in horizontal writing, one column pitch
// (CW + 行間) at the right in vertical writing.
ChartSize chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                    const core::DrawingSettings& settings);

// Where the drawing puts the layout's point (0, 0): one cell in from the tree origin, and
// the heading column in vertical writing.
struct Origin {
    float x = 0;
    float y = 0;
};
Origin drawingOrigin(const layout::ChartLayout& layout, const ChartFrame& frame);

// Per person (index person − 1): whether someone else is linked to the person, i.e. the
// person-link search gives 1. Such a person's number is drawn in colour 10, any other in 12.
std::vector<bool> linkSources(const core::Registers& reg);

// The block of a laid-out slot as it is drawn, or nullopt for a slot that draws none (a
// couple's own slot, a multi-household slot, an empty block: hidden spouse, shared
// appearance, missing partner). Fields the layout did not place stay empty, so a hidden
// household head shows one blank name cell.
std::optional<PersonBlock> slotBlock(const ChartContext& context, const layout::SlotLayout& slot,
                                     const std::vector<bool>& sources);

// The lines of family `f` as the line pass draws them, or nullopt when the family is not
// drawn (hidden, or not taken by the survey).
std::optional<FamilyLines> familyLines(const ChartContext& context, int f);

// The line settings of a run: the layout's largest block along the level axis and the
// corrected thickness.
LineSettings runLineSettings(const ChartContext& context);

// Steps 4 and 5 on a chart canvas of the right size: headings, blocks and lines. Returns
// the placed blocks; `persons` (when given) receives every block drawn.
std::vector<PlacedBlock> drawChart(const ChartContext& context, Typesetter& typesetter,
                                   Canvas& chart, ChartHeadings* headings,
                                   int* familiesDrawn = nullptr,
                                   std::vector<DrawnPerson>* persons = nullptr);

} // namespace render
