// The pixels of the chart window: a recorded drawing at the window's zoom, rasterised in
// square tiles as they come into view and kept (the most recently used ones) while they are
// shown again, so that the memory follows the window, not the chart.
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/raster.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <utility>
#include <vector>

namespace render {

class ViewRaster {
public:
    static constexpr int kTile = 256;

    // `drawing` and `glyphs` must outlive the view. At most `keptTiles` tiles are kept.
    ViewRaster(const Drawing& drawing, GlyphSource& glyphs, std::size_t keptTiles = 512);

    // The zoom (1 = the chart's own pixels); the tiles of another zoom are forgotten.
    void setScale(double scale);
    double scale() const { return scale_; }
    // The drawing's size at the zoom.
    int width() const { return scaledExtent(drawing_.width(), scale_); }
    int height() const { return scaledExtent(drawing_.height(), scale_); }

    // Paints `area` (pixels at the zoom) into `out`, `stride` bytes a row, palette indices;
    // outside the drawing is white.
    void paint(const Box& area, std::uint8_t* out, std::size_t stride);

    std::size_t tilesKept() const { return tiles_.size(); }
    std::size_t tilesMade() const { return made_; }

private:
    using Key = std::pair<int, int>; // tile column, row
    struct Tile {
        std::vector<std::uint8_t> pixels; // kTile × kTile
        std::list<Key>::iterator use;
    };
    const Tile& tile(const Key& key);

    const Drawing& drawing_;
    Rasteriser raster_;
    std::size_t keptTiles_;
    double scale_ = 1.0;
    std::map<Key, Tile> tiles_;
    std::list<Key> uses_; // most recent first
    std::size_t made_ = 0;
};

} // namespace render
