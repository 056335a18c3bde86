#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace render {

namespace {

std::uint8_t index(int colour) {
    return static_cast<std::uint8_t>(colour);
}

} // namespace

int scaledExtent(int extent, double scale) {
    return std::max(1, static_cast<int>(std::floor(static_cast<double>(extent) * scale)));
}

// Where the painting goes: the area (scaled pixels) and its buffer, and the scale.
struct Rasteriser::Target {
    Box area;
    double scale = 1;
    bool exact = true; // scale 1
    std::uint8_t* out = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint8_t mask = 0; // XORed into every value written

    int at(int v) const { return exact ? v : static_cast<int>(std::floor(v * scale)); }
    // A chart rectangle in scaled pixels, never thinner than one pixel.
    Box scaled(const Box& b) const {
        if (exact || b.empty()) {
            return b;
        }
        Box s{at(b.left), at(b.top), at(b.right), at(b.bottom)};
        s.right = std::max(s.right, s.left + 1);
        s.bottom = std::max(s.bottom, s.top + 1);
        return s;
    }
    // The chart pixels whose operations can reach the area: at another scale with a margin
    // for rounding and for text drawn at its scaled size.
    Box chartArea() const {
        if (exact) {
            return area;
        }
        const int margin = 1 + static_cast<int>(std::ceil(3.0 / scale));
        return {static_cast<int>(std::floor(area.left / scale)) - margin,
                static_cast<int>(std::floor(area.top / scale)) - margin,
                static_cast<int>(std::ceil(area.right / scale)) + margin,
                static_cast<int>(std::ceil(area.bottom / scale)) + margin};
    }
    std::uint8_t* row(int y) const {
        return out + static_cast<std::ptrdiff_t>(y - area.top) * stride;
    }
    void fill(const Box& b, std::uint8_t colour) const {
        const Box c = b.intersected(area);
        if (c.empty()) {
            return;
        }
        for (int y = c.top; y < c.bottom; ++y) {
            std::memset(row(y) + (c.left - area.left), colour ^ mask,
                        static_cast<std::size_t>(c.width()));
        }
    }
};

Rasteriser::Rasteriser(const Drawing& drawing, GlyphSource& glyphs)
    : drawing_(drawing), glyphs_(glyphs) {
    buildIndex();
}

void Rasteriser::buildIndex() {
    columns_ = (drawing_.width() + kCell - 1) / kCell;
    rows_ = (drawing_.height() + kCell - 1) / kCell;
    cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
    const auto& ops = drawing_.ops();
    seen_.assign(ops.size(), 0);
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const Box b = ops[i].bounds.intersected(drawing_.extent());
        if (b.empty()) {
            continue;
        }
        for (int r = b.top / kCell; r <= (b.bottom - 1) / kCell; ++r) {
            for (int c = b.left / kCell; c <= (b.right - 1) / kCell; ++c) {
                cells_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                       static_cast<std::size_t>(c)]
                    .push_back(static_cast<std::uint32_t>(i));
            }
        }
    }
}

void Rasteriser::query(const Box& box, std::vector<std::uint32_t>& out) {
    out.clear();
    const Box b = box.intersected(drawing_.extent());
    if (b.empty()) {
        return;
    }
    ++queryNumber_;
    const auto& ops = drawing_.ops();
    for (int r = b.top / kCell; r <= (b.bottom - 1) / kCell; ++r) {
        for (int c = b.left / kCell; c <= (b.right - 1) / kCell; ++c) {
            for (std::uint32_t i :
                 cells_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                        static_cast<std::size_t>(c)]) {
                if (seen_[i] != queryNumber_ && ops[i].bounds.intersects(b)) {
                    seen_[i] = queryNumber_;
                    out.push_back(i);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
}

void Rasteriser::paint(const Box& area, double scale, std::uint8_t* out, std::ptrdiff_t stride,
                       std::uint8_t mask) {
    if (area.empty()) {
        return;
    }
    Target t{area, scale, scale == 1.0, out, stride, mask};
    t.fill(area, index(kBackgroundColour));
    replay(t);
}

void Rasteriser::paintOnWhite(const Box& area, double scale, std::uint8_t* out,
                              std::ptrdiff_t stride, std::uint8_t mask) {
    if (area.empty()) {
        return;
    }
    Target t{area, scale, scale == 1.0, out, stride, mask};
    replay(t);
}

void Rasteriser::whiten(const Box& area, double scale, std::uint8_t* out, std::ptrdiff_t stride,
                        std::uint8_t mask) {
    if (area.empty()) {
        return;
    }
    const Target t{area, scale, scale == 1.0, out, stride, mask};
    std::vector<std::uint32_t> ops;
    query(t.chartArea(), ops);
    for (std::uint32_t i : ops) {
        const DrawOp& op = drawing_.ops()[i];
        if (t.exact) {
            // At the chart's own pixels only what left ink needs white again: a white fill
            // left none, and of a block only its own inked operations did.
            whitenInk(op, 0, 0, drawing_.extent(), t);
            continue;
        }
        Box b = t.scaled(op.kind == DrawOp::Kind::Place ? op.clip : op.bounds);
        if (op.kind == DrawOp::Kind::Text) {
            b = t.scaled(op.clip); // text at its scaled size may reach past its own bounds
        }
        t.fill(b, index(kBackgroundColour));
    }
}

void Rasteriser::whitenInk(const DrawOp& op, int dx, int dy, const Box& clip, const Target& t) {
    if (op.kind == DrawOp::Kind::Fill && op.colour == kBackgroundColour) {
        return;
    }
    const Box within = op.clip.translated(dx, dy).intersected(clip);
    if (op.kind == DrawOp::Kind::Place) {
        const SubDrawing& sub = drawing_.sub(op.ref);
        for (const DrawOp& inner : sub.ops) {
            whitenInk(inner, dx + op.x1, dy + op.y1, within, t);
        }
        return;
    }
    const Box b = op.kind == DrawOp::Kind::Text && op.background >= 0 ? op.clip : op.bounds;
    t.fill(b.translated(dx, dy).intersected(within), index(kBackgroundColour));
}

void Rasteriser::replay(Target& t) {
    std::vector<std::uint32_t> ops;
    query(t.chartArea(), ops);
    for (std::uint32_t i : ops) {
        paintOp(drawing_.ops()[i], 0, 0, drawing_.extent(), t);
    }
}

std::vector<std::uint8_t> Rasteriser::paint(const Box& area, double scale) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(std::max(area.width(), 0)) *
                                  static_cast<std::size_t>(std::max(area.height(), 0)));
    paint(area, scale, out.data(), area.width());
    return out;
}

// One operation moved by (ox, oy) (a placed block's offset), changing nothing outside
// `within` (chart pixels).
void Rasteriser::paintOp(const DrawOp& op, int ox, int oy, const Box& within, Target& t) {
    const Box clip = op.clip.translated(ox, oy).intersected(within);
    if (clip.empty()) {
        return;
    }
    const Box limit = t.scaled(clip).intersected(t.area);
    if (limit.empty()) {
        return;
    }
    switch (op.kind) {
    case DrawOp::Kind::Fill:
        t.fill(t.scaled(op.bounds.translated(ox, oy).intersected(clip)), op.colour);
        break;
    case DrawOp::Kind::Line:
        paintLine(op, ox, oy, limit, t);
        break;
    case DrawOp::Kind::Text:
        paintText(op, ox, oy, limit, t);
        break;
    case DrawOp::Kind::Place: {
        // A block: its rectangle white, then its own operations within it.
        t.fill(limit, index(kBackgroundColour));
        const SubDrawing& sub = drawing_.sub(op.ref);
        const int sx = ox + op.x1;
        const int sy = oy + op.y1;
        const Box chartLimit = t.exact ? limit : t.chartArea().intersected(clip);
        for (const DrawOp& inner : sub.ops) {
            if (inner.bounds.translated(sx, sy).intersects(chartLimit)) {
                paintOp(inner, sx, sy, clip, t);
            }
        }
        break;
    }
    }
}

// Bresenham from end to end; a dotted line keeps one pixel in three. A line along one axis
// is drawn only where it crosses `limit`.
void Rasteriser::paintLine(const DrawOp& op, int ox, int oy, const Box& limit, Target& t) {
    int x = op.x1 + ox;
    int y = op.y1 + oy;
    int x2 = op.x2 + ox;
    int y2 = op.y2 + oy;
    if (!t.exact) {
        x = t.at(x);
        y = t.at(y);
        x2 = t.at(x2);
        y2 = t.at(y2);
    }
    const int dx = std::abs(x2 - x);
    const int dy = -std::abs(y2 - y);
    const auto colour = static_cast<std::uint8_t>(op.colour ^ t.mask);
    if (dy == 0 || dx == 0) {
        const bool horizontal = dy == 0;
        const int from = horizontal ? x : y;
        const int to = horizontal ? x2 : y2;
        const int fixed = horizontal ? y : x;
        if (horizontal ? (fixed < limit.top || fixed >= limit.bottom)
                       : (fixed < limit.left || fixed >= limit.right)) {
            return;
        }
        const int lo = std::max(std::min(from, to), horizontal ? limit.left : limit.top);
        const int hi = std::min(std::max(from, to), (horizontal ? limit.right : limit.bottom) - 1);
        for (int v = lo; v <= hi; ++v) {
            if (op.dotted && std::abs(v - from) % 3 != 0) {
                continue;
            }
            if (horizontal) {
                t.row(fixed)[v - t.area.left] = colour;
            } else {
                t.row(v)[fixed - t.area.left] = colour;
            }
        }
        return;
    }
    const int stepX = x < x2 ? 1 : -1;
    const int stepY = y < y2 ? 1 : -1;
    int error = dx + dy;
    for (long n = 0;; ++n) {
        if ((!op.dotted || n % 3 == 0) && x >= limit.left && x < limit.right && y >= limit.top &&
            y < limit.bottom) {
            t.row(y)[x - t.area.left] = colour;
        }
        if (x == x2 && y == y2) {
            break;
        }
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

// A text's glyphs stamped from their ink, over its background when it has one.
void Rasteriser::paintText(const DrawOp& op, int ox, int oy, const Box& limit, Target& t) {
    if (op.background >= 0) {
        t.fill(limit, index(op.background));
    }
    const int size =
        t.exact ? op.pixelSize : std::max(1, static_cast<int>(std::lround(op.pixelSize * t.scale)));
    const GlyphInk& ink = glyphs_.ink(drawing_.run(op.ref), size, op.turned);
    const int x0 = t.at(op.x1 + ox);
    const int y0 = t.at(op.y1 + oy);
    if (ink.empty() || y0 + ink.bottom <= limit.top || y0 + ink.top >= limit.bottom ||
        x0 + ink.right <= limit.left || x0 + ink.left >= limit.right) {
        return;
    }
    for (const InkSpan& s : ink.spans) {
        const int y = y0 + s.y;
        if (y < limit.top || y >= limit.bottom) {
            continue;
        }
        const int a = std::max(x0 + s.x0, limit.left);
        const int b = std::min(x0 + s.x1, limit.right);
        if (a < b) {
            std::memset(t.row(y) + (a - t.area.left), op.colour ^ t.mask,
                        static_cast<std::size_t>(b - a));
        }
    }
}

int bandRows(std::size_t bandBytes, std::size_t rowBytes, int height) {
    const std::size_t most = static_cast<std::size_t>(std::max(height, 1));
    rowBytes = std::max<std::size_t>(rowBytes, 1);
    if (bandBytes == kAutomaticBand) {
        return static_cast<int>(std::clamp<std::size_t>(
            kBandBytes / rowBytes, std::min<std::size_t>(kMinBandRows, most), most));
    }
    return static_cast<int>(std::clamp<std::size_t>(bandBytes / rowBytes, 1, most));
}

void paintBands(Rasteriser& raster, const Drawing& drawing, bool bottomUp,
                const std::function<void(const Band&)>& take, std::size_t bandBytes) {
    const int width = drawing.width();
    const int height = drawing.height();
    const int rows = bandRows(bandBytes, static_cast<std::size_t>(width), height);
    std::vector<std::uint8_t> pixels(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), index(kBackgroundColour));
    const int bands = (height + rows - 1) / rows;
    for (int i = 0; i < bands; ++i) {
        const int b = bottomUp ? bands - 1 - i : i;
        const int top = b * rows;
        const int n = std::min(rows, height - top);
        const Box area{0, top, width, top + n};
        raster.paintOnWhite(area, 1.0, pixels.data(), width);
        take(Band{top, n, width, pixels.data()});
        raster.whiten(area, 1.0, pixels.data(), width);
    }
}

} // namespace render
