// The headings of the two legal charts and where they stand: the title, the deceased's
// information block and the return message of the 相続関係説明図; the title, "以下余白" and
// the applicant and creator blocks of the 法定相続情報一覧図. LegalHeadings is the chart
// run's ChartHeadings for both: it gives the heading area before the first tree (frame),
// the heading and footer areas of the chart size (chartSize), and draws its blocks at their
// places in the drawing order (drawBeforeBlocks, drawAfterBlocks).
//
// Units: CW × CH is the cell of the chart font, 字間 and 行間 the spacings in whole pixels.
// A heading block of n lines, m characters in its longest line, is (CW + 字間) × (m + 1)
// wide and n × (CH + 行間) high in horizontal writing; vertical writing turns it: its lines
// are columns from right to left, n × (CW + 行間) wide and (CH + 字間) × (m + 1) high. The
// title alone uses the heading font (1.5 times the chart font, the plain font in text mode)
// with a pitch of one pixel: (hCW + 1) × (m + 1) long and one heading cell deep.
//
// Horizontal writing:
//   explanation chart: title at (0, 0); the information block 2 character pitches in and
//     one title line + 2 line pitches down; the trees 3 line pitches below it; the return
//     message at the bottom (top = chart height − twice its height), its left edge at the
//     character position of "相続関係説明図" in the title × (CW + 字間).
//   list chart: title centred at the top; "以下余白" centred, its top one cell above the
//     end of the trees' area; 4 line pitches on the applicant block (unless the applicant
//     is an heir), 3 more after it the creator block, both left-aligned on a common x that
//     centres the wider one; 2 line pitches after the creator block end the chart.
// Vertical writing (explanation chart only; the list chart is always horizontal):
//   the title column at the right edge (x = chart width − 2 CW, y = 0); the information
//   block 2 column pitches left of it, starting (position of "相続関係説明図" + 6) character
//   pitches down; the return message at the left, x = its own width, y = that word's
//   position. The right side of the chart keeps the title column, 2 pitches, the
//   information block and 3 pitches, and 3 pitches more before the first tree; the trees
//   are moved right, clear of the return message, by twice its width (the heading column
//   of ChartFrame).
#pragma once

#include "render/chart_run.h"
#include "render/legal_texts.h"

#include <array>
#include <string>
#include <vector>

namespace render {

enum class LegalChartKind { Explanation, List };

// One heading block: its lines, how they are typeset, its size and place on the chart.
struct HeadingBlock {
    std::vector<std::string> lines;
    float fontSize = 16; // points
    float pitch = 0;     // added after each character
    float linePitch = 0; // from one line (column) to the next
    float width = 0;
    float height = 0;
    float x = 0; // top-left on the chart canvas
    float y = 0;
    bool shown = false;
};

struct LegalPlacement {
    HeadingBlock title;
    HeadingBlock information;   // explanation chart, "被相続人の情報欄を表示する"
    HeadingBlock returnMessage; // explanation chart, "戸籍還付欄を表示する。"
    HeadingBlock footer;        // list chart: "以下余白"
    HeadingBlock applicant;     // list chart: lines 0 and 1
    HeadingBlock creator;       // list chart: lines 2 to 4
};

// What the list chart's footer shows beyond "以下余白".
struct ApplicantBlocks {
    bool omitted = false;         // "この系図では設定の記載を省略"
    bool applicantIsHeir = false; // the applicant is marked "（申出人）" in its own block
};

class LegalHeadings : public ChartHeadings {
public:
    // `settings` are the drawing settings as the run uses them (runSettings applied);
    // `factory` measures the heading font. The list chart is drawn in horizontal writing.
    LegalHeadings(LegalChartKind kind, const core::DrawingSettings& settings, bool textMode,
                  CanvasFactory& factory, ApplicantBlocks blocks = {});

    ChartFrame frame(const layout::SurveyResult& survey, CellMetrics cell) override;
    ChartSize chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                        ChartSize plain) override;
    void drawBeforeBlocks(const ChartContext& context, Typesetter& typesetter,
                          Canvas& chart) override;
    void drawAfterBlocks(const ChartContext& context, Typesetter& typesetter,
                         Canvas& chart) override;

    LegalChartKind kind() const { return kind_; }
    // The blocks with their places (complete after chartSize).
    const LegalPlacement& placement() const { return p_; }
    CellMetrics headingCell() const { return heading_; }
    // The heading font in points: the chart font × 1.5 rounded, the plain font in text mode.
    float headingFontSize() const;

protected:
    // A block of `lines` in the chart font, measured (cell known after frame).
    HeadingBlock measured(std::vector<std::string> lines) const;
    void drawBlock(Typesetter& ts, Canvas& chart, const HeadingBlock& b) const;
    CellMetrics cell() const { return cell_; }
    int 字間() const { return 字間_; }
    int 行間() const { return 行間_; }

private:
    bool vertical() const;
    // chartSize in vertical writing, and in horizontal writing for each kind of chart (the
    // title needs `minWidth`).
    ChartSize verticalChartSize(const ChartFrame& frame, ChartSize plain);
    ChartSize explanationChartSize(ChartSize plain, int minWidth);
    ChartSize listChartSize(ChartSize plain, int minWidth);

    LegalChartKind kind_;
    core::DrawingSettings s_;
    bool textMode_;
    CanvasFactory& factory_;
    ApplicantBlocks blocks_;
    CellMetrics cell_;
    CellMetrics heading_;
    int 字間_ = 0;
    int 行間_ = 0;
    int wordPosition_ = 0; // characters of the title before "相続関係説明図"
    LegalPlacement p_;
};

} // namespace render
