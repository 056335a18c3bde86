// The recorded drawing of a chart: every operation that reached the chart canvas, in order,
// with the chart's extent. A chart run ends in one; the bitmaps (in bands), the chart window
// (in tiles, at any zoom), the text drawing and the printed page all replay it, so that
// none repeats the survey, the layout or the typesetting, and none needs the chart's whole
// area in memory.
//
// Operations: filled rectangles, solid and dotted lines, text runs (font size, colour,
// upright or turned, clipped to a rectangle and optionally on a filled background: a glyph
// cell copied onto a block), and placed sub-drawings (a block canvas copied onto the
// chart: the block's own operations, the copied rectangle and where it went). Beside the
// pixels the drawing keeps what the text drawing makes of it (GridText, GridLine), in order.
//
// A drawing is recorded through DrawingCanvas, the Canvas of the chart run: render code
// draws on it exactly as on a bitmap (block canvases, the glyph cell, copies between them),
// and the canvas keeps operations instead of pixels.
#pragma once

#include "render/canvas.h"
#include "render/glyphs.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace render {

// A rectangle of pixels, half-open: left <= x < right, top <= y < bottom.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(const Box& o) const {
        return o.empty() ||
               (left <= o.left && top <= o.top && o.right <= right && o.bottom <= bottom);
    }
    bool intersects(const Box& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    Box intersected(const Box& o) const;
    Box translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Box&) const = default;
};

// The box from (x1, y1) to (x2, y2) with both corners included, in any order.
Box boxOfCorners(int x1, int y1, int x2, int y2);

struct DrawOp {
    enum class Kind : std::uint8_t { Fill, Line, Text, Place };
    Kind kind = Kind::Fill;
    std::uint8_t colour = 0;
    bool dotted = false;          // Line
    bool turned = false;          // Text
    std::int16_t background = -1; // Text: colour filled over `clip` first; -1 none
    std::uint16_t pixelSize = 0;  // Text
    std::int32_t x1 = 0, y1 = 0;  // Line: from; Text: where written; Place: offset added
    std::int32_t x2 = 0, y2 = 0;  // Line: to
    std::uint32_t ref = 0;        // Text: run (Drawing::run); Place: sub-drawing
    Box clip;   // pixels outside are never changed (the canvas, a copied rectangle)
    Box bounds; // the pixels the operation may change, within `clip`
};

struct GridOp {
    bool isLine = false;
    GridText text;
    GridLine line;
};

// A block's operations, placed by a Place operation (in its own coordinates).
struct SubDrawing {
    std::vector<DrawOp> ops;
    Box bounds; // of every operation
};

// The text runs of a drawing, each kept once.
class RunTable {
public:
    std::uint32_t intern(std::string_view text);
    const std::string& text(std::uint32_t id) const { return runs_[id]; }
    std::size_t size() const { return runs_.size(); }

private:
    std::vector<std::string> runs_;
    std::unordered_map<std::string, std::uint32_t> ids_;
};

enum class DrawingKind : std::uint8_t { FamilyChart, ExplanationChart, ListChart };

// "系図", "相続関係説明図", "法定相続情報一覧図".
const char* drawingKindName(DrawingKind kind);

class Drawing {
public:
    Drawing(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Box extent() const { return {0, 0, width_, height_}; }
    // "縦書き": the chart reads from its top right corner.
    bool vertical = false;
    // What the chart is: its paper (the list chart keeps the bottom of the sheet empty) and
    // the title of its PDF follow it.
    DrawingKind kind = DrawingKind::FamilyChart;

    const std::vector<DrawOp>& ops() const { return ops_; }
    const SubDrawing& sub(std::uint32_t i) const { return subs_[i]; }
    std::size_t subCount() const { return subs_.size(); }
    const std::string& run(std::uint32_t id) const { return runs_.text(id); }
    const std::vector<GridOp>& grid() const { return grid_; }

private:
    friend class DrawingStore;
    int width_;
    int height_;
    std::vector<DrawOp> ops_;
    std::vector<SubDrawing> subs_;
    RunTable runs_;
    std::vector<GridOp> grid_;
};

// A person's block as drawn, for finding the person on the chart.
struct DrawnPerson {
    int person = 0;   // the person number of the block's slot
    std::string name; // the name line as drawn
    Box box;          // the block on the chart
};

// Palette entries that show the same colour are one once copied between canvases (a
// black line colour copied from a block is text black): the lowest entry of that colour.
int canonicalColour(int colour);

// What every canvas of one recording shares: the runs, the sub-drawings and the glyphs.
class DrawingStore {
public:
    explicit DrawingStore(GlyphSource& glyphs) : glyphs_(glyphs) {}
    GlyphSource& glyphs() { return glyphs_; }
    std::uint32_t intern(std::string_view text) { return runs_.intern(text); }
    std::uint32_t addSub(SubDrawing sub);
    // Moves the recording into a drawing (the store is empty afterwards).
    std::unique_ptr<Drawing> take(int width, int height, std::vector<DrawOp> ops,
                                  std::vector<GridOp> grid);

private:
    GlyphSource& glyphs_;
    RunTable runs_;
    std::vector<SubDrawing> subs_;
};

// The canvas of a recording. The chart canvas keeps its operations as the drawing; the
// block canvases and the glyph cell are scratch canvases whose operations are copied into
// the canvas they are copied onto (onto the chart as a placed sub-drawing, onto a block
// inline). A scratch canvas forgets what a later opaque fill or copy covers, so that reusing
// it never grows it.
class DrawingCanvas : public Canvas {
public:
    DrawingCanvas(std::shared_ptr<DrawingStore> store, int width, int height, bool chart);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void fillRect(int x1, int y1, int x2, int y2, int colour) override;
    void line(int x1, int y1, int x2, int y2, int colour,
              PenStyle style = PenStyle::Solid) override;
    void setFontSize(float points) override;
    TextEnd drawText(int x, int y, std::string_view text, int colour) override;
    void drawTextRotated(int x, int y, std::string_view text, int colour) override;
    // From another canvas of the same recording.
    void copyFrom(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) override;
    void gridText(const GridText& text) override;
    void gridLine(const GridLine& line) override;

    bool isChart() const { return chart_; }
    const std::vector<DrawOp>& ops() const { return ops_; }
    // The chart canvas: the finished drawing (the canvas is empty afterwards).
    std::unique_ptr<Drawing> finish();

private:
    void append(DrawOp op);
    Box bounds() const { return {0, 0, width_, height_}; }
    DrawOp textOp(int x, int y, std::string_view text, int colour, bool turned, Box clip);

    std::shared_ptr<DrawingStore> store_;
    int width_;
    int height_;
    bool chart_;
    int pixelSize_;
    std::vector<DrawOp> ops_;
    std::vector<GridOp> grid_;
};

// Makes the canvases of one recording: create() scratch canvases, chart() the chart.
class DrawingCanvasFactory : public CanvasFactory {
public:
    explicit DrawingCanvasFactory(GlyphSource& glyphs)
        : store_(std::make_shared<DrawingStore>(glyphs)) {}
    std::unique_ptr<Canvas> create(int width, int height) override;
    std::unique_ptr<DrawingCanvas> chart(int width, int height);
    GlyphSource& glyphs() { return store_->glyphs(); }

private:
    std::shared_ptr<DrawingStore> store_;
};

// Replays a drawing onto any canvas, operation by operation, through the Canvas interface: a
// placed sub-drawing and a clipped text are drawn on a scratch canvas from `scratch` and
// copied, as they were recorded. For a canvas that keeps what it is given (a recording canvas
// in tests, a Qt image as a reference); the outputs of the program have their own replays.
void replay(const Drawing& drawing, Canvas& target, CanvasFactory& scratch);

} // namespace render
