// The text canvas of a text drawing: the character grid that becomes "図面.TXT".
//
// Rows are numbered from 1 and hold Shift-JIS bytes, two per full-width cell, columns
// numbered from 1 (cell c starts at byte 2c − 1). Each row keeps a used length, the last
// byte position written (0 for an untouched row); the export writes only that many bytes
// of each row. The grid lives in memory; what it exports is byte for byte what the
// record-file canvas of older versions produced, except where noted below.
//
// A drawing reaches it as one more surface of the recorded chart (TextGridCanvas,
// drawTextGrid): the block and heading lines the drawing gave as text grid items (addItem,
// addBlockItem) are collected, merged into the rows (mergeItems) before the first line, and
// the lines then write their box-drawing characters (XLINE_SUB, marriageLine, divorceMark).
// exportBytes/exportTo produce the file, applying the line style chosen for the export.
#pragma once

#include "render/canvas.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace render {

// "テキスト化の際のラインの扱い", the values stored under "テキスト罫線".
enum class TextLineStyle {
    ShowLines = 1,      // "ラインを表示する"
    HorizontalOnly = 2, // "横ラインのみ表示": "│" exported as "　"
    DotsAtEnds = 3,     // "主要部分だけ点で表示": lines drawn as "・" at their ends
    JunctionsOnly = 4,  // "ラインの交差部分のみ表示": "│" and "─" exported as "　"
    NoLines = 5,        // "ラインは表示しない": no line characters drawn
};

// The stored value 1..5; anything else is taken as "ラインを表示する".
TextLineStyle textLineStyleFromSetting(int value);

// Cell size W × H of the chart font and the spacings, in pixels.
struct GridMetrics {
    float W = 0;
    float H = 0;
    float 字間 = 0;
    float 行間 = 0;
};

struct GridPoint {
    int column = 0;
    int row = 0;
    bool operator==(const GridPoint&) const = default;
};

// A text that the text canvas cannot hold (a character Shift-JIS has no code for).
class TextDrawingError : public std::runtime_error {
public:
    explicit TextDrawingError(const std::string& message) : std::runtime_error(message) {}
};

class TextCanvas {
public:
    TextCanvas(GridMetrics metrics, TextLineStyle style);

    const GridMetrics& metrics() const { return m_; }
    TextLineStyle style() const { return style_; }

    // The grid cell of a pixel point on a line:
    // column = ⌊(x − ⌊W/2⌋) / (W + 字間)⌋ + 1, row = ⌊(y − ⌊H/2⌋) / (H + 行間)⌋.
    GridPoint map(float x, float y) const;

    // Width in columns (the widest item placed) and row count.
    int columns() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    void widen(int columns);
    // Appends blank rows up to `row`.
    void extendRows(int row);

    // Collects an item (row, column, text) to be written by mergeItems. Throws
    // TextDrawingError when the text holds a character Shift-JIS cannot hold.
    void addItem(int row, int column, std::string_view text);
    // The item of a block line whose top-left is at pixel (x, y) of the chart:
    // column = ⌊x / W⌋ + 1, row = ⌊y / H⌋; widens the canvas so that
    // column + recordedLength − 1 fits and extends the rows to the item's row.
    void addBlockItem(float x, float y, std::string_view text, int recordedLength);
    std::size_t pendingItems() const { return items_.size(); }
    // Writes the collected items into their rows in the order they were added and
    // forgets them.
    void mergeItems();

    // A single line on the grid (see the .cpp for the junction rules). Orientation 0 is a
    // vertical line at x1 from y1 to y2, any other value a horizontal line at y1 from x1 to
    // x2. `barAfterAdoption`: the line is a sibling bar drawn right after an adoption
    // stub, whose far end lies ⌊H/4⌋ lower than the stub's row; the end row is taken from
    // y2 − ⌊H/4⌋.
    void XLINE_SUB(int orientation, float x1, float y1, float x2, float y2,
                   bool barAfterAdoption = false);

    // The text form of a vertical marriage line at x from y1 to y2: "││" in the two cells
    // ending at column ⌊x / (W + 字間)⌋ + 1 of every row (in dot mode "・・" in the first and
    // last row only). Remembers the middle row and the cell left of the line's column for
    // the divorce mark.
    void marriageLine(float x, float y1, float y2);
    // "×" in the cell remembered by the last marriage line (the caller decides whether a
    // cross is drawn at all).
    void divorceMark();

    // The cell as UTF-8 ("　" when blank or outside the written part of the row).
    std::string cell(int row, int column) const;
    // The used part of a row as UTF-8, as drawn (no export style applied).
    std::string rowText(int row) const;
    int usedLength(int row) const;

    // The export: one line per row 1..rowCount, the used bytes of the row with the line
    // style applied, each ended by CR LF, Shift-JIS.
    std::string exportBytes() const;
    // Writes exportBytes through the atomic replace. Throws common::FileError.
    void exportTo(const std::filesystem::path& path) const;

private:
    struct Item {
        int row;
        int column;
        std::string bytes;
    };
    struct Row {
        std::string bytes; // only the written part; bytes beyond are blank cells
        int used = 0;
    };

    // The two bytes of a cell ("　" when beyond the written part); nullptr-free copy.
    std::string cellBytes(int row, int column) const;
    // Writes bytes at a byte position (1-based) of a row, extending the row with blank
    // cells as needed, and raises the used length to cover them. Rows and columns below 1
    // are ignored.
    void write(int row, int bytePosition, std::string_view bytes);
    void writeCell(int row, int column, std::string_view bytes);
    void vertical(int column, int firstRow, int lastRow);
    void horizontal(int row, int firstColumn, int lastColumn);

    GridMetrics m_;
    TextLineStyle style_;
    int columns_ = 0;
    std::vector<Row> rows_;
    std::vector<Item> items_;
    int markRow_ = 0;
    int markByte_ = 0;
};

// The character grid as a canvas: what the drawing tells a canvas of its text form
// (Canvas::gridText, Canvas::gridLine) goes onto the grid; the pixel operations have
// nothing to draw on it. Call finish() after the last operation.
class TextGridCanvas : public Canvas {
public:
    TextGridCanvas(TextCanvas& grid, int width, int height)
        : grid_(grid), width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void fillRect(int, int, int, int, int) override {}
    void line(int, int, int, int, int, PenStyle) override {}
    void setFontSize(float) override {}
    TextEnd drawText(int x, int y, std::string_view, int) override { return {x, y}; }
    void drawTextRotated(int, int, std::string_view, int) override {}
    void copyFrom(const Canvas&, int, int, int, int, int, int) override {}
    // Throws TextDrawingError for a text Shift-JIS cannot hold.
    void gridText(const GridText& text) override;
    void gridLine(const GridLine& line) override;
    // Writes the items not yet merged (a drawing without lines).
    void finish();

private:
    TextCanvas& grid_;
    int width_;
    int height_;
};

class Drawing;

// The text drawing of a recorded chart drawn with the cell and spacings of `metrics`.
// Throws TextDrawingError.
std::unique_ptr<TextCanvas> drawTextGrid(const Drawing& drawing, GridMetrics metrics,
                                         TextLineStyle style);

} // namespace render
