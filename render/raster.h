// Pixels from a recorded drawing: any rectangle of the chart, at any scale, as palette
// indices. At scale 1 the pixels are exactly those of a chart painted whole (filled
// rectangles with both corners, Bresenham lines with one dot in three for dotted ones,
// glyphs as the chart font draws them, blocks copied opaquely); the bitmap files are written
// band by band from it and the chart window paints its tiles from it at its zoom.
//
// At another scale s a chart point x goes to ⌊x·s⌋, every rectangle keeps at least one
// pixel each way (thin lines stay visible when the chart is made small), lines run between
// the scaled ends, and text is drawn with the chart font at its scaled size, so that it stays
// sharp when the chart is made large.
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace render {

// The size of a drawing shown at `scale`: ⌊extent · scale⌋, at least one pixel.
int scaledExtent(int extent, double scale);

class Rasteriser {
public:
    // `drawing` and `glyphs` must outlive the rasteriser.
    Rasteriser(const Drawing& drawing, GlyphSource& glyphs);

    // Paints `area` of the drawing shown at `scale` (in the scaled pixels) into `out`, one
    // palette index per pixel (XOR `mask`, as a file stores it), row after row, `stride`
    // bytes apart (negative: the rows upwards from `out`); everything is white before the
    // operations are replayed.
    void paint(const Box& area, double scale, std::uint8_t* out, std::ptrdiff_t stride,
               std::uint8_t mask = 0);
    // The same onto pixels that are white already (a band buffer that `whiten` cleared).
    void paintOnWhite(const Box& area, double scale, std::uint8_t* out, std::ptrdiff_t stride,
                      std::uint8_t mask = 0);
    // Makes white again what paintOnWhite painted in `area` (the rectangles of the operations
    // met), so that a band buffer is used again without clearing all of it: a chart is
    // nearly all white.
    void whiten(const Box& area, double scale, std::uint8_t* out, std::ptrdiff_t stride,
                std::uint8_t mask = 0);

    // The same into a new buffer (stride = the area's width).
    std::vector<std::uint8_t> paint(const Box& area, double scale = 1.0);

private:
    struct Target;
    void buildIndex();
    // The top-level operations whose bounds meet `box` (chart pixels), in drawing order.
    void query(const Box& box, std::vector<std::uint32_t>& out);
    void paintOp(const DrawOp& op, int ox, int oy, const Box& within, Target& t);
    void paintLine(const DrawOp& op, int ox, int oy, const Box& limit, Target& t);
    void paintText(const DrawOp& op, int ox, int oy, const Box& limit, Target& t);
    void replay(Target& t);
    // Makes white again, at the chart's own pixels, what `op` (placed at dx, dy, within
    // `clip`) painted in ink.
    void whitenInk(const DrawOp& op, int dx, int dy, const Box& clip, const Target& t);

    const Drawing& drawing_;
    GlyphSource& glyphs_;
    // Top-level operations by cells of kCell × kCell chart pixels.
    static constexpr int kCell = 256;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::vector<std::uint32_t>> cells_;
    std::vector<std::uint32_t> seen_; // per operation: the query that took it last
    std::uint32_t queryNumber_ = 0;
};

// One band of a drawing at scale 1: rows top .. top + rows − 1, each `width` palette indices.
struct Band {
    int top = 0;
    int rows = 0;
    int width = 0;
    const std::uint8_t* pixels = nullptr; // rows top-down, `width` bytes apart
};

// How many bytes of pixels a band holds: kBandBytes, but never fewer than kMinBandRows rows.
// A band of about this size stays in the processor's caches between its painting and its
// writing (larger bands were slower to write, smaller ones slower to paint); each band looks
// up the operations that reach it, which a chart hundreds of thousands of pixels wide would
// otherwise do row by row. kAutomaticBand asks for this size; any other size is taken as it
// is (one row at least).
inline constexpr std::size_t kBandBytes = std::size_t(1) << 20;
inline constexpr int kMinBandRows = 16;
inline constexpr std::size_t kAutomaticBand = 0;

// The rows of a band of `bandBytes` (or kAutomaticBand) over rows of `rowBytes`, within
// 1 .. `height` (at least 1).
int bandRows(std::size_t bandBytes, std::size_t rowBytes, int height);

// The whole drawing at scale 1, band after band, from the top or from the bottom; memory
// follows the band, not the chart.
void paintBands(Rasteriser& raster, const Drawing& drawing, bool bottomUp,
                const std::function<void(const Band&)>& take,
                std::size_t bandBytes = kAutomaticBand);

} // namespace render
