// The drawing surface every chart drawing goes through, and the palette.
//
// A canvas is an off-screen image of palette colours: the chart canvas (the whole chart),
// a block canvas (one text block) or the glyph cell (one character). Render code creates
// them through a CanvasFactory, so that the program draws with Qt (platform/QtCanvas) and
// the tests with a recording canvas that keeps every operation with its exact coordinates.
//
// How a chart is drawn with the pieces of render/:
//   Typesetter (typesetting.h)   measures CW/CH (文字_MAX) and typesets text a glyph at a
//                                time; headings and person blocks use it.
//   drawPersonBlock (person_block.h)  one block from its slot texts, offsets and size,
//                                copied onto the chart; returns the block's anchor.
//   TextCanvas (text_canvas.h)   in text mode, collects the block texts as items, merges them
//                                and takes the lines as box-drawing characters; exports
//                                "図面.TXT".
//   LineDrawer (lines.h)         the line pass: family lines, same-person joins, separators,
//                                drawn over the blocks.
//   ChartView (view_geometry.h)  where the chart window shows which part of the chart.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace render {

// Palette entries used by name.
inline constexpr int kTextColour = 0;
inline constexpr int kLineColour = 1;
inline constexpr int kFamilyNumberColour = 2;
inline constexpr int kLinkedPersonNumberColour = 10;
inline constexpr int kPersonNumberColour = 12;
inline constexpr int kBackgroundColour = 15;
inline constexpr int kPaletteSize = 16;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Text and lines are black so that legal charts print black; 15 is white; 2 to 14 are the
// distinct colours of the classic sixteen-colour set.
inline constexpr std::array<Rgb, kPaletteSize> kPalette = {{
    {0, 0, 0},       // 0 text
    {0, 0, 0},       // 1 lines
    {0, 128, 0},     // 2 green: family numbers, first same-person link
    {0, 128, 128},   // 3 teal
    {128, 0, 0},     // 4 maroon
    {128, 0, 128},   // 5 purple
    {128, 128, 0},   // 6 olive
    {192, 192, 192}, // 7 silver
    {128, 128, 128}, // 8 grey
    {0, 0, 255},     // 9 blue
    {0, 255, 0},     // 10 lime
    {0, 255, 255},   // 11 aqua
    {255, 0, 0},     // 12 red
    {255, 0, 255},   // 13 fuchsia
    {255, 255, 0},   // 14 yellow
    {255, 255, 255}, // 15 white: backgrounds
}};

enum class PenStyle { Solid, Dotted };

// Where a text written by Canvas::drawText ended: x is the start x plus the text's advance,
// y is the start y plus the height of one line of the current font. Writing "　" thus gives
// the cell width, writing "" the cell height.
struct TextEnd {
    int x = 0;
    int y = 0;
};

// A canvas that cannot be created (too large for memory, or an empty size). The message
// is for the user and names the size.
class CanvasError : public std::runtime_error {
public:
    explicit CanvasError(const std::string& message) : std::runtime_error(message) {}
};

// Font sizes are points at a fixed 96 dots per inch, whatever the screen, so that a chart
// has the same geometry everywhere: 16 points are 21 pixels. A size of 0 or less counts
// as 16 points, as everywhere in chart drawing.
inline int fontPixelSize(float points) {
    if (!(points > 0)) {
        points = 16;
    }
    const long px = std::lround(static_cast<double>(points) * 96.0 / 72.0);
    return px < 1 ? 1 : static_cast<int>(px);
}

// A palette colour index outside 0..15 is a programming error in the caller.
inline void checkColour(int colour) {
    if (colour < 0 || colour >= kPaletteSize) {
        throw std::out_of_range("palette colour " + std::to_string(colour));
    }
}

// What the text drawing takes of a drawing.
struct GridText {
    enum class Kind : std::uint8_t {
        Block,   // a block line at its pixel point, with its recorded length
        Heading, // a heading line at its pixel point
    };
    Kind kind = Kind::Block;
    float x = 0;
    float y = 0;
    std::string text;
    int length = 0; // Block: characters + 3
};

struct GridLine {
    enum class Kind : std::uint8_t {
        Single,      // TextCanvas::XLINE_SUB
        Marriage,    // TextCanvas::marriageLine (x1, y1 .. y2)
        DivorceMark, // TextCanvas::divorceMark
    };
    Kind kind = Kind::Single;
    int orientation = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool afterAdoption = false;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // A filled rectangle with both corners (x1, y1) and (x2, y2) included, in any order.
    // Parts outside the canvas are clipped.
    virtual void fillRect(int x1, int y1, int x2, int y2, int colour) = 0;

    // A straight one-pixel line from (x1, y1) to (x2, y2).
    virtual void line(int x1, int y1, int x2, int y2, int colour,
                      PenStyle style = PenStyle::Solid) = 0;

    // Sets the chart font size in points (see fontPixelSize).
    virtual void setFontSize(float points) = 0;

    // Writes UTF-8 text with its cell's top-left at (x, y), glyphs only (the background is
    // left as it is), and returns where writing ended.
    virtual TextEnd drawText(int x, int y, std::string_view text, int colour) = 0;

    // Writes text turned a quarter turn clockwise: the top-left corner of the unturned text
    // goes to (x, y), so the text occupies one line height to the left of x and runs down
    // from y.
    virtual void drawTextRotated(int x, int y, std::string_view text, int colour) = 0;

    // Copies the rectangle (sx, sy, w, h) of `source` to (dx, dy) of this canvas. The
    // source must be a canvas of the same kind (made by the same factory).
    virtual void copyFrom(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) = 0;

    // What the text drawing ("図面.TXT") makes of what is drawn: a block or heading line at
    // its place, and the grid form of a line. Only the text grid draws them; a canvas of
    // pixels has nothing to do, and the chart's recording keeps them.
    virtual void gridText(const GridText& text) {}
    virtual void gridLine(const GridLine& line) {}
};

// Creates the canvases render code needs (block canvas, glyph cell, chart canvas). A new
// canvas is white (colour 15). Throws CanvasError when a canvas of that size cannot be made.
class CanvasFactory {
public:
    virtual ~CanvasFactory() = default;
    virtual std::unique_ptr<Canvas> create(int width, int height) = 0;
};

} // namespace render
