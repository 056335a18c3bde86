// Paper for a recorded drawing: the page setup (sheet, orientation, margins, the smallest
// legible text) and the plan of the pages it gives for one chart: the scale, which part of
// the chart each sheet shows and where, in reading order, with the page numbers and the
// marks for joining the sheets. The PDF and the printer (platform/paper_painter.h) paint
// what the plan says; nothing here knows Qt.
//
// Sizes on paper are millimetres from the sheet's top left; a chart pixel is 1/96 inch at
// 100%. Paper shows the part of the chart that holds ink. The chart is fitted to one sheet
// when its smallest text stays at least `minFontPoints` there (and never enlarged beyond
// 100% for that); otherwise it is laid over as many sheets as that size needs, at the
// largest scale those sheets allow. The edges between sheets are moved back (by up to a
// quarter of a sheet, or half a sheet at the cost of one more sheet along that axis) to
// where no text lies, so that no name is cut in two. The 法定相続情報一覧図 keeps the bottom 50 mm
// of every sheet empty for the bureau.
#pragma once

#include "render/drawing.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace render {

enum class Paper { A4, A3, B4, B5 }; // B4 and B5 are the JIS sizes used in Japan
enum class Orientation { Portrait, Landscape };

// "A4", "A3", "B4", "B5".
std::string paperName(Paper paper);
// The paper of a name in any case ("a4", "Ａ４" is not one); false when it is none.
bool paperFromName(std::string_view name, Paper& paper);
// "縦" or "横".
std::string orientationName(Orientation orientation);

// Millimetres.
struct Sheet {
    double width = 210;
    double height = 297;
    bool operator==(const Sheet&) const = default;
};

Sheet sheetOf(Paper paper, Orientation orientation);

struct Margins {
    double top = 15;
    double right = 15;
    double bottom = 15;
    double left = 15;
    bool operator==(const Margins&) const = default;
};

inline constexpr double kListChartGuard = 50; // mm kept empty at the bottom of the list chart
inline constexpr double kLargestMargin = 100; // mm
inline constexpr double kSmallestArea = 30;   // mm each way left for the chart on a sheet
inline constexpr double kSmallestFloor = 1;   // points
inline constexpr double kLargestFloor = 72;   // points
inline constexpr int kMostPages = 5000;

struct PageSetup {
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    Margins margins;
    double minFontPoints = 7; // the smallest text that counts as legible on paper
    bool onePage = false;     // fit to one sheet whatever the text becomes
    double bottomGuard = 0;   // mm at the bottom of every sheet where nothing is drawn
    Sheet sheet() const { return sheetOf(paper, orientation); }
    bool operator==(const PageSetup&) const = default;
};

// The setup of a 法定相続情報一覧図: A4 portrait unless the user chose otherwise for it, and
// always the guard.
PageSetup listChartDefaults();
inline PageSetup withListChartGuard(PageSetup setup) {
    setup.bottomGuard = kListChartGuard;
    return setup;
}

// What is wrong with a setup, for the user ("余白は 0 から 100 mm までにしてください"), or
// "" when it can be used on `sheet`.
std::string checkPageSetup(const PageSetup& setup, const Sheet& sheet);
inline std::string checkPageSetup(const PageSetup& setup) {
    return checkPageSetup(setup, setup.sheet());
}

// A plan that cannot be made (too many sheets, a setup that leaves no room).
class PaperError : public std::runtime_error {
public:
    explicit PaperError(const std::string& message) : std::runtime_error(message) {}
};

// Chart pixels from .. to − 1 along one axis.
struct Span {
    int from = 0;
    int to = 0;
    bool operator==(const Span&) const = default;
};

// What the plan needs of a chart: the part of it that goes on paper.
struct PageContent {
    int width = 0; // chart pixels
    int height = 0;
    // The chart pixel at the part's top left; the spans and the ink below are relative to
    // it, the plan's edges and the pages' sources are the chart's own.
    int left = 0;
    int top = 0;
    bool vertical = false; // read from the right: the right-most sheet is the first
    int textPixelSize = 0; // the smallest text drawn, in chart pixels; 0 for none
    // Where the ink of texts lies across and down the chart (in blocks too), merged and
    // sorted: the edge between two sheets goes between texts where it can without taking
    // more sheets (lines may be cut, names should not).
    std::vector<Span> textAcross;
    std::vector<Span> textDown;
    // What is drawn (the operations' bounds, roughly): a sheet none of them reaches is left
    // out. Empty: every sheet is drawn on.
    std::vector<Box> ink;
};

// The spans covered by the given ones, merged and sorted; spans less than `gap` pixels
// apart are one (touching ones always).
std::vector<Span> mergedSpans(std::vector<Span> spans, int gap = 0);

PageContent pageContentOf(const Drawing& drawing);

// The smallest pixel size of any text of the drawing (blocks included), 0 when it has none.
int smallestTextPixelSize(const Drawing& drawing);

struct PaperRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

struct PaperLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A text in the margin, centred on (x, y) unless aligned to the right end at x.
struct PaperLabel {
    double x = 0;
    double y = 0;
    std::string text;
    bool alignRight = false;
};

inline constexpr double kLabelPoints = 9; // the page numbers
inline constexpr double kMarkWidth = 0.2; // mm
inline constexpr double kMarkLength = 5;  // mm, at most
inline constexpr double kMarkGap = 1;     // mm between a mark and the chart's area

struct Page {
    int number = 0;   // 1.., in reading order
    int column = 0;   // 0.. from the left
    int row = 0;      // 0.. from the top
    PaperRect source; // chart pixels shown
    PaperRect area;   // where on the sheet they go (mm); nothing is drawn outside it
    std::vector<PaperLine> marks;
    std::vector<PaperLabel> labels;
};

struct PagePlan {
    Sheet sheet;
    PaperRect content;     // the sheet within the margins and above the guard
    double scale = 1;      // 1 = 100% (96 chart pixels to the inch)
    double textPoints = 0; // the smallest text on paper, 0 when there is none
    bool legible = true;   // textPoints reaches the floor (false only when fitted by force)
    int columns = 1;       // the grid of sheets; a sheet with nothing on it has no page
    int rows = 1;
    // The edges of the sheets in chart pixels, from 0 to the width (height), left to right
    // (top to bottom): columns + 1 (rows + 1) values.
    std::vector<double> cutsAcross;
    std::vector<double> cutsDown;
    std::vector<Page> pages; // in reading order
    double pixelMillimetres() const { return scale * 25.4 / 96.0; }
    int pageCount() const { return static_cast<int>(pages.size()); }
};

// The pages of `content` on `sheet` (the setup's paper and orientation are not used: a
// printer may have another sheet). Throws PaperError.
PagePlan planPages(const PageContent& content, const PageSetup& setup, const Sheet& sheet);
inline PagePlan planPages(const PageContent& content, const PageSetup& setup) {
    return planPages(content, setup, setup.sheet());
}

// "n / m".
std::string pageNumberText(int n, int m);
// The scale as a percentage: "62%", below 10% with one decimal ("4.5%").
std::string scaleText(double scale);
// "A4 縦 2 枚、縮尺 62%".
std::string planSummary(const PageSetup& setup, const PagePlan& plan);

} // namespace render
