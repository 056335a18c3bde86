#include "render/page_setup.h"

#include "render/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace render {

namespace {

// Comparisons of millimetres and scales are made with this much room for rounding.
constexpr double kSlack = 1e-9;

int smallestIn(const Drawing& d, const std::vector<DrawOp>& ops, int smallest) {
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::Kind::Text && op.pixelSize > 0 &&
            (smallest == 0 || op.pixelSize < smallest)) {
            smallest = op.pixelSize;
        }
    }
    return smallest;
}

// Whole sheets needed for `length` mm in sheets of `room` mm.
int sheetsFor(double length, double room) {
    return std::max(1, static_cast<int>(std::ceil(length / room - 1e-7)));
}

// The part of a mark that stays above the guard (and on the sheet), or false when none does.
bool keepAboveGuard(PaperLine& line, double guardTop) {
    if (line.y1 > guardTop && line.y2 > guardTop) {
        return false;
    }
    line.y1 = std::min(line.y1, guardTop);
    line.y2 = std::min(line.y2, guardTop);
    return line.x1 != line.x2 || line.y1 != line.y2;
}

// The room kept at the bottom of a sheet: the margin, or the guard and one millimetre
// below it clear as well, so that no line width reaches the guard.
double bottomRoom(const PageSetup& setup) {
    return setup.bottomGuard > 0 ? std::max(setup.margins.bottom, setup.bottomGuard + 1)
                                 : setup.margins.bottom;
}

} // namespace

std::string paperName(Paper paper) {
    switch (paper) {
    case Paper::A3:
        return "A3";
    case Paper::B4:
        return "B4";
    case Paper::B5:
        return "B5";
    case Paper::A4:
        break;
    }
    return "A4";
}

bool paperFromName(std::string_view name, Paper& paper) {
    for (Paper p : {Paper::A4, Paper::A3, Paper::B4, Paper::B5}) {
        const std::string n = paperName(p);
        if (name.size() == 2 && (name[0] == n[0] || name[0] == n[0] - 'A' + 'a') &&
            name[1] == n[1]) {
            paper = p;
            return true;
        }
    }
    return false;
}

std::string orientationName(Orientation orientation) {
    return orientation == Orientation::Landscape ? "横" : "縦";
}

Sheet sheetOf(Paper paper, Orientation orientation) {
    Sheet s;
    switch (paper) {
    case Paper::A4:
        s = {210, 297};
        break;
    case Paper::A3:
        s = {297, 420};
        break;
    case Paper::B4:
        s = {257, 364};
        break;
    case Paper::B5:
        s = {182, 257};
        break;
    }
    if (orientation == Orientation::Landscape) {
        std::swap(s.width, s.height);
    }
    return s;
}

PageSetup listChartDefaults() {
    return withListChartGuard(PageSetup{});
}

std::string checkPageSetup(const PageSetup& setup, const Sheet& sheet) {
    const Margins& m = setup.margins;
    for (double v : {m.top, m.right, m.bottom, m.left}) {
        if (!(v >= 0 && v <= kLargestMargin)) {
            return "余白は 0 から 100 mm までにしてください";
        }
    }
    if (!(setup.minFontPoints >= kSmallestFloor && setup.minFontPoints <= kLargestFloor)) {
        return "最小の文字の大きさは 1 から 72 ポイントまでにしてください";
    }
    const double width = sheet.width - m.left - m.right;
    const double height = sheet.height - m.top - bottomRoom(setup);
    if (width < kSmallestArea || height < kSmallestArea) {
        return "余白が大きすぎて、用紙に図面を置く場所が残りません（縦横とも 30 mm 以上必要です）";
    }
    return "";
}

int smallestTextPixelSize(const Drawing& drawing) {
    int smallest = smallestIn(drawing, drawing.ops(), 0);
    for (std::size_t i = 0; i < drawing.subCount(); ++i) {
        smallest = smallestIn(drawing, drawing.sub(static_cast<std::uint32_t>(i)).ops, smallest);
    }
    return smallest;
}

std::vector<Span> mergedSpans(std::vector<Span> spans, int gap) {
    std::erase_if(spans, [](const Span& s) { return s.to <= s.from; });
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.from < b.from; });
    std::vector<Span> out;
    for (const Span& s : spans) {
        if (!out.empty() && s.from - out.back().to < std::max(gap, 1)) {
            out.back().to = std::max(out.back().to, s.to);
        } else {
            out.push_back(s);
        }
    }
    return out;
}

PageContent pageContentOf(const Drawing& drawing) {
    PageContent c{drawing.width(),
                  drawing.height(),
                  drawing.vertical,
                  smallestTextPixelSize(drawing),
                  {},
                  {},
                  {}};
    // The texts' ink, in blocks too (a block's white room may be cut), with a pixel of
    // room either side: the outline of a glyph on paper may reach a little past its pixels.
    std::vector<Span> across;
    std::vector<Span> down;
    const auto add = [&](const Box& b) {
        if (!b.empty()) {
            across.push_back({b.left - 1, b.right + 1});
            down.push_back({b.top - 1, b.bottom + 1});
        }
    };
    // What is drawn in ink: not white fills, nor a block's white room.
    const auto inked = [](const DrawOp& op) {
        return !op.bounds.empty() &&
               !(op.kind == DrawOp::Kind::Fill && op.colour == kBackgroundColour);
    };
    for (const DrawOp& op : drawing.ops()) {
        if (op.kind == DrawOp::Kind::Place) {
            for (const DrawOp& inner : drawing.sub(op.ref).ops) {
                const Box b = inner.bounds.translated(op.x1, op.y1).intersected(op.clip);
                if (inked(inner) && !b.empty()) {
                    c.ink.push_back(b);
                    if (inner.kind == DrawOp::Kind::Text) {
                        add(b);
                    }
                }
            }
        } else if (inked(op)) {
            c.ink.push_back(op.bounds);
            if (op.kind == DrawOp::Kind::Text) {
                add(op.bounds);
            }
        }
    }
    // The room between the characters of a name is no place for an edge: texts closer than
    // a character of the smallest text are one.
    c.textAcross = mergedSpans(std::move(across), c.textPixelSize);
    c.textDown = mergedSpans(std::move(down), c.textPixelSize);
    return c;
}

namespace {

// The edges of sheets of `room` chart pixels laid over `length` from 0 (from `length` down
// when `fromEnd`), each edge moved back to the nearest place no span crosses, by at most a
// quarter of a sheet: 0, the edges, `length`, in increasing order.
std::vector<double> sheetEdges(double length, double room, const std::vector<Span>& spans,
                               bool fromEnd) {
    // From the end: the same walk over the mirrored spans.
    std::vector<Span> walk;
    walk.reserve(spans.size());
    if (fromEnd) {
        for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
            walk.push_back(
                {static_cast<int>(length) - it->to, static_cast<int>(length) - it->from});
        }
    } else {
        walk = spans;
    }
    std::vector<double> edges{0};
    double at = 0;
    while (length - at > room * (1 + 1e-9)) {
        const double limit = at + room;
        double edge = limit;
        // The span the full sheet would end in, if any.
        auto it = std::upper_bound(walk.begin(), walk.end(), limit,
                                   [](double v, const Span& s) { return v < s.to; });
        if (it != walk.end() && it->from < limit && it->from >= at + 0.75 * room) {
            edge = it->from;
        }
        edges.push_back(edge);
        at = edge;
        if (edges.size() > static_cast<std::size_t>(kMostPages) + 1) {
            break;
        }
    }
    edges.push_back(length);
    if (fromEnd) {
        for (double& e : edges) {
            e = length - e;
        }
        std::reverse(edges.begin(), edges.end());
    }
    return edges;
}

PaperError tooManySheets(long long columns, long long rows) {
    return PaperError("図面が大きすぎます：" + std::to_string(columns) + " × " +
                      std::to_string(rows) + " 枚の用紙が要ります（" + std::to_string(kMostPages) +
                      " 枚まで）。最小の文字の大きさを下げるか、大きな用紙にしてください");
}

} // namespace

namespace {

constexpr double kMillimetresPerPixel = 25.4 / 96.0; // at 100%

// The chart over as many sheets as the floor of the text size asks for, at the largest scale
// at which that many still hold it (not beyond 100% unless the floor needs more). The edges
// fall between names along an axis unless that takes more sheets than straight edges do at
// the floor; then names may be cut there.
void scaleOverSheets(PagePlan& plan, const PageContent& content, double floorScale) {
    const double roomW = plan.content.width();
    const double roomH = plan.content.height();
    const double chartW = content.width * kMillimetresPerPixel;
    const double chartH = content.height * kMillimetresPerPixel;
    const long long columns = sheetsFor(chartW * floorScale, roomW);
    const long long rows = sheetsFor(chartH * floorScale, roomH);
    if (columns * rows > kMostPages) {
        throw tooManySheets(columns, rows);
    }
    const std::vector<Span> none;
    const std::vector<Span>* spansAcross = &content.textAcross;
    const std::vector<Span>* spansDown = &content.textDown;
    const auto edgesAt = [&](double scale, std::vector<double>& across, std::vector<double>& down) {
        const double px = scale * kMillimetresPerPixel;
        across = sheetEdges(content.width, roomW / px, *spansAcross, content.vertical);
        down = sheetEdges(content.height, roomH / px, *spansDown, false);
    };
    const auto holds = [&](double scale) {
        edgesAt(scale, plan.cutsAcross, plan.cutsDown);
        return static_cast<long long>(plan.cutsAcross.size()) - 1 <= columns &&
               static_cast<long long>(plan.cutsDown.size()) - 1 <= rows;
    };
    edgesAt(floorScale, plan.cutsAcross, plan.cutsDown);
    if (static_cast<long long>(plan.cutsAcross.size()) - 1 > columns) {
        spansAcross = &none;
    }
    if (static_cast<long long>(plan.cutsDown.size()) - 1 > rows) {
        spansDown = &none;
    }
    double low = floorScale;
    double high = std::min({static_cast<double>(columns) * roomW / chartW,
                            static_cast<double>(rows) * roomH / chartH, std::max(1.0, floorScale)});
    if (high > low && holds(high)) {
        low = high;
    } else {
        for (int i = 0; i < 40 && high - low > 1e-6 * high; ++i) {
            const double mid = (low + high) / 2;
            (holds(mid) ? low : high) = mid;
        }
    }
    plan.scale = low;
    edgesAt(plan.scale, plan.cutsAcross, plan.cutsDown);
}

// One sheet: the chart at the top, centred across.
Page singleSheet(const PagePlan& plan, const PageContent& content) {
    const double px = plan.pixelMillimetres();
    Page page;
    page.number = 1;
    page.source = {0, 0, static_cast<double>(content.width), static_cast<double>(content.height)};
    const double w = content.width * px;
    const double left = plan.content.left + (plan.content.width() - w) / 2;
    page.area = {left, plan.content.top, left + w, plan.content.top + content.height * px};
    return page;
}

// The numbers of the sheets of a plan, in reading order: rows from the top, each from the
// left, or columns from the right, each from the top. A sheet on which nothing would be
// drawn has none (0), like a place off the grid.
class SheetNumbers {
public:
    SheetNumbers(const PagePlan& plan, const PageContent& content)
        : columns_(plan.columns), rows_(plan.rows),
          numbers_(static_cast<std::size_t>(plan.columns * plan.rows), 0) {
        const std::vector<bool> drawn = drawnSheets(plan, content);
        for (int outer = 0; outer < (content.vertical ? columns_ : rows_); ++outer) {
            for (int inner = 0; inner < (content.vertical ? rows_ : columns_); ++inner) {
                const int column = content.vertical ? columns_ - 1 - outer : inner;
                const int row = content.vertical ? inner : outer;
                if (drawn[index(column, row)]) {
                    numbers_[index(column, row)] = ++count_;
                }
            }
        }
    }

    int at(int column, int row) const {
        return column < 0 || row < 0 || column >= columns_ || row >= rows_
                   ? 0
                   : numbers_[index(column, row)];
    }
    int count() const { return count_; }

private:
    std::size_t index(int column, int row) const {
        return static_cast<std::size_t>(row * columns_ + column);
    }
    // Per sheet, whether any ink reaches it (all of them for a drawing without ink).
    std::vector<bool> drawnSheets(const PagePlan& plan, const PageContent& content) const {
        std::vector<bool> drawn(numbers_.size(), content.ink.empty());
        // The sheet an edge value lies in (edges are increasing).
        const auto first = [](const std::vector<double>& edges, double v) {
            return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), v) -
                                    edges.begin()) -
                   1;
        };
        for (const Box& b : content.ink) {
            const int c0 = std::max(0, first(plan.cutsAcross, b.left));
            const int c1 = std::min(columns_ - 1, first(plan.cutsAcross, b.right - 1e-6));
            const int r0 = std::max(0, first(plan.cutsDown, b.top));
            const int r1 = std::min(rows_ - 1, first(plan.cutsDown, b.bottom - 1e-6));
            for (int r = r0; r <= r1; ++r) {
                for (int col = c0; col <= c1; ++col) {
                    drawn[index(col, r)] = true;
                }
            }
        }
        return drawn;
    }

    int columns_;
    int rows_;
    std::vector<int> numbers_;
    int count_ = 0;
};

// The sides of a page at which another sheet joins on.
struct Joins {
    bool left, right, top, bottom;
};

// The ends of every edge that joins another sheet, continued into the margin, kept above the
// guard.
void addJoinMarks(Page& page, const Sheet& sheet, const Joins& joins, double guardTop) {
    const PaperRect& a = page.area;
    const double reachLeft = std::min(kMarkLength, a.left - kMarkGap - 2);
    const double reachRight = std::min(kMarkLength, sheet.width - a.right - kMarkGap - 2);
    const double reachTop = std::min(kMarkLength, a.top - kMarkGap - 2);
    const double reachBottom = std::min(kMarkLength, sheet.height - a.bottom - kMarkGap - 2);
    std::vector<PaperLine> marks;
    for (const auto& [joined, x] : {std::pair{joins.left, a.left}, {joins.right, a.right}}) {
        if (!joined) {
            continue;
        }
        if (reachTop > 0) {
            marks.push_back({x, a.top - kMarkGap, x, a.top - kMarkGap - reachTop});
        }
        if (reachBottom > 0) {
            marks.push_back({x, a.bottom + kMarkGap, x, a.bottom + kMarkGap + reachBottom});
        }
    }
    for (const auto& [joined, y] : {std::pair{joins.top, a.top}, {joins.bottom, a.bottom}}) {
        if (!joined) {
            continue;
        }
        if (reachLeft > 0) {
            marks.push_back({a.left - kMarkGap, y, a.left - kMarkGap - reachLeft, y});
        }
        if (reachRight > 0) {
            marks.push_back({a.right + kMarkGap, y, a.right + kMarkGap + reachRight, y});
        }
    }
    for (PaperLine& mark : marks) {
        if (keepAboveGuard(mark, guardTop - kMarkWidth)) {
            page.marks.push_back(mark);
        }
    }
}

// The page number at the top right, and beside each joining edge the number of the sheet
// that continues there.
void addPageLabels(Page& page, const PagePlan& plan, const Margins& m, const SheetNumbers& numbers,
                   double guardTop) {
    const PaperRect& c = plan.content;
    const PaperRect& a = page.area;
    const int column = page.column;
    const int row = page.row;
    page.labels.push_back({c.right, m.top / 2, pageNumberText(page.number, numbers.count()), true});
    const double midX = std::min((a.left + a.right) / 2, c.right - 25);
    const double midY = (a.top + a.bottom) / 2;
    if (const int n = numbers.at(column - 1, row); n > 0) {
        page.labels.push_back({a.left - m.left / 2, midY, "←" + std::to_string(n)});
    }
    if (const int n = numbers.at(column + 1, row); n > 0) {
        page.labels.push_back({a.right + m.right / 2, midY, std::to_string(n) + "→"});
    }
    if (const int n = numbers.at(column, row - 1); n > 0) {
        page.labels.push_back({midX, m.top / 2, "↑" + std::to_string(n)});
    }
    const double belowY = a.bottom + (plan.sheet.height - a.bottom) / 2;
    if (const int n = numbers.at(column, row + 1);
        n > 0 && belowY + kLabelPoints * 25.4 / 72 / 2 <= guardTop) {
        page.labels.push_back({midX, belowY, "↓" + std::to_string(n)});
    }
}

// The page of the sheet at `column`, `row`: its part of the chart at the top of the sheet,
// at the left (at the right when read from the right), with the marks and labels of the
// sheets joining on.
Page sheetPage(const PagePlan& plan, const PageContent& content, const PageSetup& setup,
               const SheetNumbers& numbers, int column, int row) {
    const auto ci = static_cast<std::size_t>(column);
    const auto ri = static_cast<std::size_t>(row);
    const double px = plan.pixelMillimetres();
    const PaperRect& c = plan.content;
    Page page;
    page.number = numbers.at(column, row);
    page.column = column;
    page.row = row;
    page.source = {plan.cutsAcross[ci], plan.cutsDown[ri], plan.cutsAcross[ci + 1],
                   plan.cutsDown[ri + 1]};
    const double w = page.source.width() * px;
    const double h = page.source.height() * px;
    const double left = content.vertical ? c.right - w : c.left;
    page.area = {left, c.top, left + w, c.top + h};
    const double guardTop = setup.bottomGuard > 0 ? plan.sheet.height - setup.bottomGuard
                                                  : std::numeric_limits<double>::max();
    const Joins joins{numbers.at(column - 1, row) > 0, numbers.at(column + 1, row) > 0,
                      numbers.at(column, row - 1) > 0, numbers.at(column, row + 1) > 0};
    addJoinMarks(page, plan.sheet, joins, guardTop);
    addPageLabels(page, plan, setup.margins, numbers, guardTop);
    return page;
}

} // namespace

PagePlan planPages(const PageContent& content, const PageSetup& setup, const Sheet& sheet) {
    if (const std::string wrong = checkPageSetup(setup, sheet); !wrong.empty()) {
        throw PaperError(wrong);
    }
    if (content.width <= 0 || content.height <= 0) {
        throw PaperError("図面が空なので、用紙に割り付けられません");
    }
    const Margins& m = setup.margins;
    PagePlan plan;
    plan.sheet = sheet;
    plan.content = {m.left, m.top, sheet.width - m.right, sheet.height - bottomRoom(setup)};

    // The text's size on paper at 100% and the scale that brings it to the floor.
    const double pointsAt100 = content.textPixelSize * 72.0 / 96.0;
    const double floorScale =
        pointsAt100 > 0 ? setup.minFontPoints / pointsAt100 : 0; // 0: any scale is legible
    const double fit =
        std::min({plan.content.width() / (content.width * kMillimetresPerPixel),
                  plan.content.height() / (content.height * kMillimetresPerPixel), 1.0});
    if (setup.onePage || fit + kSlack >= floorScale) {
        plan.scale = fit;
        plan.cutsAcross = {0, static_cast<double>(content.width)};
        plan.cutsDown = {0, static_cast<double>(content.height)};
    } else {
        scaleOverSheets(plan, content, floorScale);
    }
    plan.columns = static_cast<int>(plan.cutsAcross.size() - 1);
    plan.rows = static_cast<int>(plan.cutsDown.size() - 1);
    plan.textPoints = pointsAt100 * plan.scale;
    plan.legible = pointsAt100 == 0 || plan.scale + kSlack >= floorScale;

    if (plan.columns * plan.rows == 1) {
        plan.pages.push_back(singleSheet(plan, content));
        return plan;
    }
    const SheetNumbers numbers(plan, content);
    for (int row = 0; row < plan.rows; ++row) {
        for (int column = 0; column < plan.columns; ++column) {
            if (numbers.at(column, row) != 0) {
                plan.pages.push_back(sheetPage(plan, content, setup, numbers, column, row));
            }
        }
    }
    std::sort(plan.pages.begin(), plan.pages.end(),
              [](const Page& a, const Page& b) { return a.number < b.number; });
    return plan;
}

std::string pageNumberText(int n, int m) {
    return std::to_string(n) + " / " + std::to_string(m);
}

std::string scaleText(double scale) {
    const double percent = scale * 100;
    char text[32];
    if (percent < 9.95) {
        std::snprintf(text, sizeof text, "%.1f%%", percent);
    } else {
        std::snprintf(text, sizeof text, "%.0f%%", percent);
    }
    return text;
}

std::string planSummary(const PageSetup& setup, const PagePlan& plan) {
    return paperName(setup.paper) + " " + orientationName(setup.orientation) + " " +
           std::to_string(plan.pageCount()) + " 枚、縮尺 " + scaleText(plan.scale);
}

} // namespace render
