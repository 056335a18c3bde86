#include "render/text_canvas.h"

#include "render/drawing.h"
#include "render/rounding.h"

#include "common/cp932.h"
#include "common/file_io.h"

#include <algorithm>

namespace render {

namespace {

// Shift-JIS codes of the characters the grid works with.
const std::string kBlank = "\x81\x40";      // "　"
const std::string kVertical = "\x84\xA0";   // "│"
const std::string kHorizontal = "\x84\x9F"; // "─"
const std::string kDownRight = "\x84\xA1";  // "┌"
const std::string kDownLeft = "\x84\xA2";   // "┐"
const std::string kUpLeft = "\x84\xA3";     // "┘"
const std::string kUpRight = "\x84\xA4";    // "└"
const std::string kTeeRight = "\x84\xA5";   // "├"
const std::string kTeeDown = "\x84\xA6";    // "┬"
const std::string kTeeLeft = "\x84\xA7";    // "┤"
const std::string kTeeUp = "\x84\xA8";      // "┴"
const std::string kCross = "\x84\xA9";      // "┼"
const std::string kDot = "\x81\x45";        // "・"
const std::string kTimes = "\x81\x7E";      // "×"

// A box character whose stroke leaves the cell to the right / to the left.
bool reachesRight(const std::string& c) {
    return c == kHorizontal || c == kCross || c == kTeeRight || c == kDownRight || c == kUpRight ||
           c == kTeeDown || c == kTeeUp;
}
bool reachesLeft(const std::string& c) {
    return c == kHorizontal || c == kCross || c == kTeeLeft || c == kDownLeft || c == kUpLeft ||
           c == kTeeDown || c == kTeeUp;
}

} // namespace

TextLineStyle textLineStyleFromSetting(int value) {
    if (value >= 1 && value <= 5) {
        return static_cast<TextLineStyle>(value);
    }
    return TextLineStyle::ShowLines;
}

TextCanvas::TextCanvas(GridMetrics metrics, TextLineStyle style) : m_(metrics), style_(style) {}

GridPoint TextCanvas::map(float x, float y) const {
    return {idiv(x - half(m_.W), m_.W + m_.字間) + 1, idiv(y - half(m_.H), m_.H + m_.行間)};
}

void TextCanvas::widen(int columns) {
    columns_ = std::max(columns_, columns);
}

void TextCanvas::extendRows(int row) {
    if (row > rowCount()) {
        rows_.resize(static_cast<std::size_t>(row));
    }
}

void TextCanvas::addItem(int row, int column, std::string_view text) {
    std::string bytes;
    try {
        bytes = common::encodeCp932(text);
    } catch (const common::Cp932Error& e) {
        throw TextDrawingError("テキスト図面の" + std::to_string(row) + "行目に書く「" +
                               std::string(text) + "」に、Shift-JISで書けない文字があります。\n" +
                               e.what());
    }
    items_.push_back({row, column, std::move(bytes)});
}

void TextCanvas::addBlockItem(float x, float y, std::string_view text, int recordedLength) {
    const int column = idiv(x, m_.W) + 1;
    const int row = idiv(y, m_.H);
    widen(column + recordedLength - 1);
    extendRows(row);
    addItem(row, column, text);
}

void TextCanvas::mergeItems() {
    for (const auto& item : items_) {
        extendRows(item.row);
        write(item.row, 2 * item.column - 1, item.bytes);
    }
    items_.clear();
}

std::string TextCanvas::cellBytes(int row, int column) const {
    if (row < 1 || row > rowCount() || column < 1) {
        return kBlank;
    }
    const auto& bytes = rows_[static_cast<std::size_t>(row - 1)].bytes;
    const std::size_t at = static_cast<std::size_t>(2 * column - 2);
    if (at + 2 > bytes.size()) {
        return kBlank;
    }
    return bytes.substr(at, 2);
}

// Old versions kept the rows in a record file of fixed width and left the used length
// alone when a text started inside the used part, so a text reaching past the old end
// was cut in the export; and a cell left of column 1 stopped the program. Here a write
// extends its row and the used length always covers every byte written; cells outside the
// grid (row or column below 1) are skipped.
void TextCanvas::write(int row, int bytePosition, std::string_view bytes) {
    if (row < 1 || bytePosition < 1 || bytes.empty()) {
        return;
    }
    extendRows(row);
    auto& r = rows_[static_cast<std::size_t>(row - 1)];
    const std::size_t at = static_cast<std::size_t>(bytePosition - 1);
    const std::size_t end = at + bytes.size();
    while (r.bytes.size() < end) {
        r.bytes += kBlank;
    }
    r.bytes.replace(at, bytes.size(), bytes);
    r.used = std::max(r.used, static_cast<int>(end));
    widen(static_cast<int>((end + 1) / 2));
}

void TextCanvas::writeCell(int row, int column, std::string_view bytes) {
    if (column < 1) {
        return;
    }
    write(row, 2 * column - 1, bytes);
}

void TextCanvas::XLINE_SUB(int orientation, float x1, float y1, float x2, float y2,
                           bool barAfterAdoption) {
    if (style_ == TextLineStyle::NoLines) {
        return;
    }
    const GridPoint start = map(x1, y1);
    const GridPoint end = map(x2, barAfterAdoption ? y2 - idiv(m_.H, 4) : y2);
    if (orientation == 0) {
        vertical(start.column, std::min(start.row, end.row), std::max(start.row, end.row));
    } else {
        horizontal(start.row, std::min(start.column, end.column),
                   std::max(start.column, end.column));
    }
}

// A vertical line meets what is already on the grid:
// - a blank cell becomes "│";
// - a "─" becomes "┌" in the first row and "└" in the last row; in a row between, the
//   line passes through it, and the junction is the one its neighbours imply: "┼" when
//   the horizontal stroke goes on to both sides ("───"), "├" when only to the right
//   ("　──"), "┤" when only to the left ("──　"). A neighbour continues the stroke when
//   its own stroke reaches towards this cell (─ ┼ ├ ┌ └ ┬ ┴ on the left, ─ ┼ ┤ ┐ ┘ ┬ ┴
//   on the right). A lone "─" with neither neighbour continuing becomes "┼": the vertical
//   line crosses a horizontal stroke one cell long. (Older versions left the junction of
//   the previous such row, or nothing, in the cases other than the three patterns.)
// - any other character (name text, another box character) is left as it is.
// In dot mode only the first and last rows get "・".
void TextCanvas::vertical(int column, int firstRow, int lastRow) {
    extendRows(lastRow);
    if (style_ == TextLineStyle::DotsAtEnds) {
        writeCell(firstRow, column, kDot);
        writeCell(lastRow, column, kDot);
        return;
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::string here = cellBytes(row, column);
        if (here == kBlank) {
            writeCell(row, column, kVertical);
        } else if (here == kHorizontal) {
            if (row == firstRow) {
                writeCell(row, column, kDownRight);
            } else if (row == lastRow) {
                writeCell(row, column, kUpRight);
            } else {
                const bool left = column > 1 && reachesRight(cellBytes(row, column - 1));
                const bool right = reachesLeft(cellBytes(row, column + 1));
                writeCell(row, column, left == right ? kCross : (right ? kTeeRight : kTeeLeft));
            }
        }
    }
}

void TextCanvas::horizontal(int row, int firstColumn, int lastColumn) {
    extendRows(row);
    if (style_ == TextLineStyle::DotsAtEnds) {
        writeCell(row, firstColumn, kDot);
        writeCell(row, lastColumn, kDot);
        return;
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        if (column == firstColumn && cellBytes(row, column) == kVertical) {
            writeCell(row, column, kTeeRight);
        } else {
            writeCell(row, column, kHorizontal);
        }
    }
}

void TextCanvas::marriageLine(float x, float y1, float y2) {
    const int column = idiv(x, m_.W + m_.字間) + 1;
    const int first = std::min(map(x, y1).row, map(x, y2).row);
    const int last = std::max(map(x, y1).row, map(x, y2).row);
    markRow_ = map(x, y1 + idiv(y2 - y1, 2)).row;
    markByte_ = 2 * column - 3;
    if (style_ == TextLineStyle::NoLines) {
        return;
    }
    extendRows(last);
    for (int row = first; row <= last; ++row) {
        if (style_ == TextLineStyle::DotsAtEnds) {
            if (row == first || row == last) {
                writeCell(row, column - 1, kDot);
                writeCell(row, column, kDot);
            }
        } else {
            writeCell(row, column - 1, kVertical);
            writeCell(row, column, kVertical);
        }
    }
}

void TextCanvas::divorceMark() {
    write(markRow_, markByte_, kTimes);
}

std::string TextCanvas::cell(int row, int column) const {
    return common::decodeCp932(cellBytes(row, column));
}

int TextCanvas::usedLength(int row) const {
    if (row < 1 || row > rowCount()) {
        return 0;
    }
    return rows_[static_cast<std::size_t>(row - 1)].used;
}

std::string TextCanvas::rowText(int row) const {
    if (row < 1 || row > rowCount()) {
        return {};
    }
    const auto& r = rows_[static_cast<std::size_t>(row - 1)];
    return common::decodeCp932(std::string_view(r.bytes).substr(0, r.used));
}

std::string TextCanvas::exportBytes() const {
    const bool blankVertical =
        style_ == TextLineStyle::HorizontalOnly || style_ == TextLineStyle::JunctionsOnly;
    const bool blankHorizontal = style_ == TextLineStyle::JunctionsOnly;
    std::string out;
    for (const auto& r : rows_) {
        std::string_view used = std::string_view(r.bytes).substr(0, r.used);
        // Character by character, so that a trail byte is never taken for a lead byte.
        for (std::size_t i = 0; i < used.size();) {
            const bool wide =
                common::isCp932LeadByte(static_cast<unsigned char>(used[i])) && i + 1 < used.size();
            const std::string_view ch = used.substr(i, wide ? 2 : 1);
            if ((blankVertical && ch == kVertical) || (blankHorizontal && ch == kHorizontal)) {
                out += kBlank;
            } else {
                out += ch;
            }
            i += ch.size();
        }
        out += "\r\n";
    }
    return out;
}

void TextCanvas::exportTo(const std::filesystem::path& path) const {
    common::replaceFile(path, exportBytes());
}

void TextGridCanvas::gridText(const GridText& t) {
    if (t.kind == GridText::Kind::Block) {
        grid_.addBlockItem(t.x, t.y, t.text, t.length);
        return;
    }
    // A heading line; the rows count from 1, so a heading on the chart's first cell row
    // goes into row 1.
    const GridMetrics& g = grid_.metrics();
    const int column = idiv(t.x, g.W) + 1;
    const int row = std::max(1, idiv(t.y, g.H));
    grid_.widen(column + t.length);
    grid_.extendRows(row);
    grid_.addItem(row, column, t.text);
}

void TextGridCanvas::gridLine(const GridLine& l) {
    // The lines go over the blocks and headings.
    if (grid_.pendingItems() > 0) {
        grid_.mergeItems();
    }
    switch (l.kind) {
    case GridLine::Kind::Single:
        grid_.XLINE_SUB(l.orientation, l.x1, l.y1, l.x2, l.y2, l.afterAdoption);
        break;
    case GridLine::Kind::Marriage:
        grid_.marriageLine(l.x1, l.y1, l.y2);
        break;
    case GridLine::Kind::DivorceMark:
        if (grid_.style() == TextLineStyle::ShowLines) {
            grid_.divorceMark();
        }
        break;
    }
}

void TextGridCanvas::finish() {
    if (grid_.pendingItems() > 0) {
        grid_.mergeItems();
    }
}

std::unique_ptr<TextCanvas> drawTextGrid(const Drawing& drawing, GridMetrics metrics,
                                         TextLineStyle style) {
    auto text = std::make_unique<TextCanvas>(metrics, style);
    TextGridCanvas grid(*text, drawing.width(), drawing.height());
    for (const GridOp& op : drawing.grid()) {
        if (op.isLine) {
            grid.gridLine(op.line);
        } else {
            grid.gridText(op.text);
        }
    }
    grid.finish();
    return text;
}

} // namespace render
