#include "render/view_raster.h"

#include <algorithm>
#include <cstring>

namespace render {

ViewRaster::ViewRaster(const Drawing& drawing, GlyphSource& glyphs, std::size_t keptTiles)
    : drawing_(drawing), raster_(drawing, glyphs), keptTiles_(std::max<std::size_t>(keptTiles, 1)) {
}

void ViewRaster::setScale(double scale) {
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    tiles_.clear();
    uses_.clear();
}

const ViewRaster::Tile& ViewRaster::tile(const Key& key) {
    if (auto it = tiles_.find(key); it != tiles_.end()) {
        uses_.splice(uses_.begin(), uses_, it->second.use);
        return it->second;
    }
    if (tiles_.size() >= keptTiles_) {
        tiles_.erase(uses_.back());
        uses_.pop_back();
    }
    Tile t;
    t.pixels.resize(static_cast<std::size_t>(kTile) * kTile);
    const Box box{key.first * kTile, key.second * kTile, (key.first + 1) * kTile,
                  (key.second + 1) * kTile};
    raster_.paint(box, scale_, t.pixels.data(), kTile);
    ++made_;
    uses_.push_front(key);
    t.use = uses_.begin();
    return tiles_.emplace(key, std::move(t)).first->second;
}

void ViewRaster::paint(const Box& area, std::uint8_t* out, std::size_t stride) {
    if (area.empty()) {
        return;
    }
    for (int y = area.top; y < area.bottom; ++y) {
        std::memset(out + static_cast<std::size_t>(y - area.top) * stride, kBackgroundColour,
                    static_cast<std::size_t>(area.width()));
    }
    const Box inside = area.intersected({0, 0, width(), height()});
    if (inside.empty()) {
        return;
    }
    for (int ty = inside.top / kTile; ty <= (inside.bottom - 1) / kTile; ++ty) {
        for (int tx = inside.left / kTile; tx <= (inside.right - 1) / kTile; ++tx) {
            const Tile& t = tile({tx, ty});
            const Box part =
                inside.intersected({tx * kTile, ty * kTile, (tx + 1) * kTile, (ty + 1) * kTile});
            for (int y = part.top; y < part.bottom; ++y) {
                std::memcpy(out + static_cast<std::size_t>(y - area.top) * stride +
                                static_cast<std::size_t>(part.left - area.left),
                            t.pixels.data() + static_cast<std::size_t>(y - ty * kTile) * kTile +
                                static_cast<std::size_t>(part.left - tx * kTile),
                            static_cast<std::size_t>(part.width()));
            }
        }
    }
}

} // namespace render
