// A canvas for tests that records every operation with its exact coordinates and keeps a
// simple model of what the canvas shows: a grid of palette indices changed by fills and
// copies, and the texts written on it with their positions (moved by copies, removed by
// fills and by copies over them). Lines are recorded but not put on the grid; what the text
// drawing is told (gridText, gridLine) is kept in order.
//
// Text metrics are synthetic and fixed: at a font of p pixels (fontPixelSize) a
// double-byte character advances p pixels, a single-byte character p / 2, and a line is
// p + lineGap pixels high, so that the cell width and height differ.
#pragma once

#include "render/canvas.h"

#include <string>
#include <vector>

namespace render {

struct CanvasOp {
    enum class Kind { Fill, Line, Font, Text, RotatedText, Copy };
    Kind kind = Kind::Fill;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Fill/Line: the two points; Text: x1, y1; Copy:
                                        // source x1, y1, destination x2, y2
    int w = 0, h = 0;                   // Copy: size
    int colour = 0;
    PenStyle style = PenStyle::Solid;
    std::string text;
    float points = 0;
    int sourceId = 0; // Copy: id of the source canvas
};

// A text as it stands on a canvas. For a rotated text (x, y) is its reference point.
struct PlacedText {
    int x = 0;
    int y = 0;
    std::string text;
    int colour = 0;
    bool rotated = false;
    int fontPixels = 0;
    bool operator==(const PlacedText&) const = default;
};

class RecordingCanvas : public Canvas {
public:
    RecordingCanvas(int width, int height, int lineGap = 3, int id = 0);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void fillRect(int x1, int y1, int x2, int y2, int colour) override;
    void line(int x1, int y1, int x2, int y2, int colour, PenStyle style) override;
    void setFontSize(float points) override;
    TextEnd drawText(int x, int y, std::string_view text, int colour) override;
    void drawTextRotated(int x, int y, std::string_view text, int colour) override;
    void copyFrom(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) override;
    void gridText(const GridText& text) override { gridTexts_.push_back(text); }
    void gridLine(const GridLine& line) override { gridLines_.push_back(line); }

    int id() const { return id_; }
    // What the text drawing was told, in order.
    const std::vector<GridText>& gridTexts() const { return gridTexts_; }
    const std::vector<GridLine>& gridLines() const { return gridLines_; }
    const std::vector<CanvasOp>& ops() const { return ops_; }
    std::vector<CanvasOp> ops(CanvasOp::Kind kind) const;
    void clearOps() { ops_.clear(); }
    // Palette index at a pixel (15 outside the canvas).
    int pixel(int x, int y) const;
    const std::vector<PlacedText>& texts() const { return texts_; }
    // The texts in reading order (by y, then x) joined, for quick checks.
    std::string textsInOrder() const;
    int fontPixels() const { return fontPixels_; }
    int advance(std::string_view text) const;
    int lineHeight() const { return fontPixels_ + lineGap_; }

private:
    struct Box {
        int left, top, right, bottom; // half-open
    };
    Box boxOf(const PlacedText& t) const;
    void removeTexts(const Box& area);

    int width_;
    int height_;
    int lineGap_;
    int id_;
    int fontPixels_;
    std::vector<unsigned char> pixels_;
    std::vector<PlacedText> texts_;
    std::vector<CanvasOp> ops_;
    std::vector<GridText> gridTexts_;
    std::vector<GridLine> gridLines_;
};

// Makes RecordingCanvases, numbering them from 1, and remembers what it made.
class RecordingCanvasFactory : public CanvasFactory {
public:
    explicit RecordingCanvasFactory(int lineGap = 3) : lineGap_(lineGap) {}
    std::unique_ptr<Canvas> create(int width, int height) override;
    struct Made {
        int id, width, height;
    };
    const std::vector<Made>& made() const { return made_; }

private:
    int lineGap_;
    std::vector<Made> made_;
};

} // namespace render
