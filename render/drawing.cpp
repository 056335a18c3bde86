#include "render/drawing.h"

#include <algorithm>
#include <stdexcept>

namespace render {

namespace {

// The rectangle of a copy of w × h from (sx, sy) of a source sw × sh to (dx, dy) of a
// target tw × th, with what lies outside either canvas taken away.
void clipAxis(int& s, int& d, int& n, int sn, int tn) {
    if (s < 0) {
        d -= s;
        n += s;
        s = 0;
    }
    if (d < 0) {
        s -= d;
        n += d;
        d = 0;
    }
    n = std::min({n, sn - s, tn - d});
}

DrawOp translated(DrawOp op, int dx, int dy, const Box& within) {
    op.x1 += dx;
    op.y1 += dy;
    if (op.kind == DrawOp::Kind::Line) {
        op.x2 += dx;
        op.y2 += dy;
    }
    op.clip = op.clip.translated(dx, dy).intersected(within);
    op.bounds = op.bounds.translated(dx, dy).intersected(op.clip);
    return op;
}

void canonicalise(DrawOp& op) {
    op.colour = static_cast<std::uint8_t>(canonicalColour(op.colour));
    if (op.background >= 0) {
        op.background = static_cast<std::int16_t>(canonicalColour(op.background));
    }
}

} // namespace

Box Box::intersected(const Box& o) const {
    Box b{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
          std::min(bottom, o.bottom)};
    if (b.empty()) {
        return {};
    }
    return b;
}

Box boxOfCorners(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
}

const char* drawingKindName(DrawingKind kind) {
    switch (kind) {
    case DrawingKind::ExplanationChart:
        return "相続関係説明図";
    case DrawingKind::ListChart:
        return "法定相続情報一覧図";
    case DrawingKind::FamilyChart:
        break;
    }
    return "系図";
}

int canonicalColour(int colour) {
    checkColour(colour);
    for (int i = 0; i < colour; ++i) {
        if (kPalette[static_cast<std::size_t>(i)] == kPalette[static_cast<std::size_t>(colour)]) {
            return i;
        }
    }
    return colour;
}

std::uint32_t RunTable::intern(std::string_view text) {
    const auto it = ids_.find(std::string(text));
    if (it != ids_.end()) {
        return it->second;
    }
    const auto id = static_cast<std::uint32_t>(runs_.size());
    runs_.emplace_back(text);
    ids_.emplace(runs_.back(), id);
    return id;
}

std::uint32_t DrawingStore::addSub(SubDrawing sub) {
    subs_.push_back(std::move(sub));
    return static_cast<std::uint32_t>(subs_.size() - 1);
}

std::unique_ptr<Drawing> DrawingStore::take(int width, int height, std::vector<DrawOp> ops,
                                            std::vector<GridOp> grid) {
    auto d = std::make_unique<Drawing>(width, height);
    d->ops_ = std::move(ops);
    d->subs_ = std::move(subs_);
    d->runs_ = std::move(runs_);
    d->grid_ = std::move(grid);
    subs_.clear();
    runs_ = RunTable();
    return d;
}

DrawingCanvas::DrawingCanvas(std::shared_ptr<DrawingStore> store, int width, int height, bool chart)
    : store_(std::move(store)), width_(width), height_(height), chart_(chart),
      pixelSize_(fontPixelSize(16)) {
    if (width <= 0 || height <= 0) {
        throw CanvasError("大きさ " + std::to_string(width) + "×" + std::to_string(height) +
                          " ピクセルの図面は作れません。");
    }
}

void DrawingCanvas::append(DrawOp op) {
    if (op.bounds.empty()) {
        return;
    }
    if (!chart_) {
        // A scratch canvas is reused block after block: what an opaque fill or copy covers
        // is gone, and a white fill where nothing was drawn changes nothing.
        const bool opaque = op.kind == DrawOp::Kind::Fill || op.kind == DrawOp::Kind::Place;
        if (opaque) {
            const Box cover = op.kind == DrawOp::Kind::Fill ? op.bounds : op.clip;
            std::erase_if(ops_, [&](const DrawOp& o) { return cover.contains(o.bounds); });
            if (op.kind == DrawOp::Kind::Fill && op.colour == kBackgroundColour &&
                std::none_of(ops_.begin(), ops_.end(),
                             [&](const DrawOp& o) { return o.bounds.intersects(op.bounds); })) {
                return;
            }
        }
        // A text clipped to the rectangle just filled is a glyph cell copied: one operation.
        if (op.kind == DrawOp::Kind::Text && op.background < 0 && !ops_.empty() &&
            ops_.back().kind == DrawOp::Kind::Fill && ops_.back().bounds == op.clip) {
            op.background = ops_.back().colour;
            op.bounds = op.clip;
            ops_.pop_back();
        }
    }
    ops_.push_back(op);
}

void DrawingCanvas::fillRect(int x1, int y1, int x2, int y2, int colour) {
    checkColour(colour);
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.colour = static_cast<std::uint8_t>(colour);
    op.clip = bounds();
    op.bounds = boxOfCorners(x1, y1, x2, y2).intersected(op.clip);
    append(op);
}

void DrawingCanvas::line(int x1, int y1, int x2, int y2, int colour, PenStyle style) {
    checkColour(colour);
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.colour = static_cast<std::uint8_t>(colour);
    op.dotted = style == PenStyle::Dotted;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.clip = bounds();
    op.bounds = boxOfCorners(x1, y1, x2, y2).intersected(op.clip);
    append(op);
}

void DrawingCanvas::setFontSize(float points) {
    pixelSize_ = fontPixelSize(points);
}

DrawOp DrawingCanvas::textOp(int x, int y, std::string_view text, int colour, bool turned,
                             Box clip) {
    const GlyphInk& ink = store_->glyphs().ink(text, pixelSize_, turned);
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.colour = static_cast<std::uint8_t>(colour);
    op.turned = turned;
    op.pixelSize = static_cast<std::uint16_t>(pixelSize_);
    op.x1 = x;
    op.y1 = y;
    op.ref = store_->intern(text);
    op.clip = clip.intersected(bounds());
    op.bounds =
        ink.empty()
            ? Box{}
            : Box{ink.left, ink.top, ink.right, ink.bottom}.translated(x, y).intersected(op.clip);
    return op;
}

TextEnd DrawingCanvas::drawText(int x, int y, std::string_view text, int colour) {
    checkColour(colour);
    const TextEnd size = store_->glyphs().measure(text, pixelSize_);
    if (!text.empty()) {
        // Text written straight onto the chart is drawn within its advance and line, as on
        // a scratch image of that size laid over the chart.
        const Box clip = chart_ ? Box{x, y, x + size.x, y + size.y} : bounds();
        append(textOp(x, y, text, colour, false, clip));
    }
    return {x + size.x, y + size.y};
}

void DrawingCanvas::drawTextRotated(int x, int y, std::string_view text, int colour) {
    checkColour(colour);
    if (text.empty()) {
        return;
    }
    Box clip = bounds();
    if (chart_) {
        const TextEnd size = store_->glyphs().measure(text, pixelSize_);
        clip = Box{x - size.y, y, x, y + size.x};
    }
    append(textOp(x, y, text, colour, true, clip));
}

void DrawingCanvas::copyFrom(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) {
    const auto* src = dynamic_cast<const DrawingCanvas*>(&source);
    if (src == nullptr || src->store_ != store_) {
        throw std::invalid_argument("DrawingCanvas::copyFrom: a canvas of another recording");
    }
    if (w <= 0 || h <= 0) {
        return;
    }
    clipAxis(sx, dx, w, src->width_, width_);
    clipAxis(sy, dy, h, src->height_, height_);
    if (w <= 0 || h <= 0) {
        return;
    }
    const Box from{sx, sy, sx + w, sy + h};
    const Box to{dx, dy, dx + w, dy + h};
    const int tx = dx - sx;
    const int ty = dy - sy;
    // Read before writing: the source may be this canvas.
    std::vector<DrawOp> copied;
    for (const DrawOp& op : src->ops_) {
        if (op.bounds.intersects(from)) {
            copied.push_back(op);
            canonicalise(copied.back());
        }
    }
    if (chart_ && !src->chart_) {
        // A block onto the chart: placed as a sub-drawing.
        SubDrawing sub;
        for (const DrawOp& op : copied) {
            sub.bounds = sub.ops.empty() ? op.bounds
                                         : Box{std::min(sub.bounds.left, op.bounds.left),
                                               std::min(sub.bounds.top, op.bounds.top),
                                               std::max(sub.bounds.right, op.bounds.right),
                                               std::max(sub.bounds.bottom, op.bounds.bottom)};
        }
        sub.ops = std::move(copied);
        DrawOp place;
        place.kind = DrawOp::Kind::Place;
        place.x1 = tx;
        place.y1 = ty;
        place.ref = store_->addSub(std::move(sub));
        place.clip = to;
        place.bounds = to;
        append(place);
        return;
    }
    // Onto a scratch canvas: the copied rectangle is the source's white with its
    // operations on it.
    DrawOp background;
    background.kind = DrawOp::Kind::Fill;
    background.colour = kBackgroundColour;
    background.clip = bounds();
    background.bounds = to;
    append(background);
    for (const DrawOp& op : copied) {
        append(translated(op, tx, ty, to));
    }
}

void DrawingCanvas::gridText(const GridText& text) {
    if (chart_) {
        GridOp op;
        op.text = text;
        grid_.push_back(std::move(op));
    }
}

void DrawingCanvas::gridLine(const GridLine& line) {
    if (chart_) {
        GridOp op;
        op.isLine = true;
        op.line = line;
        grid_.push_back(std::move(op));
    }
}

std::unique_ptr<Drawing> DrawingCanvas::finish() {
    if (!chart_) {
        throw std::logic_error("DrawingCanvas::finish on a scratch canvas");
    }
    auto d = store_->take(width_, height_, std::move(ops_), std::move(grid_));
    ops_.clear();
    grid_.clear();
    return d;
}

std::unique_ptr<Canvas> DrawingCanvasFactory::create(int width, int height) {
    return std::make_unique<DrawingCanvas>(store_, width, height, false);
}

std::unique_ptr<DrawingCanvas> DrawingCanvasFactory::chart(int width, int height) {
    return std::make_unique<DrawingCanvas>(store_, width, height, true);
}

// ---- replay onto a canvas ------------------------------------------------------------------

namespace {

float pointsOf(int pixelSize) {
    return static_cast<float>(pixelSize) * 72.0f / 96.0f;
}

void replayOps(const Drawing& d, const std::vector<DrawOp>& ops, int ox, int oy, Canvas& target,
               CanvasFactory& scratch);

void replayOp(const Drawing& d, const DrawOp& op, int ox, int oy, Canvas& target,
              CanvasFactory& scratch) {
    switch (op.kind) {
    case DrawOp::Kind::Fill: {
        const Box b = op.bounds.translated(ox, oy);
        target.fillRect(b.left, b.top, b.right - 1, b.bottom - 1, op.colour);
        break;
    }
    case DrawOp::Kind::Line:
        target.line(op.x1 + ox, op.y1 + oy, op.x2 + ox, op.y2 + oy, op.colour,
                    op.dotted ? PenStyle::Dotted : PenStyle::Solid);
        break;
    case DrawOp::Kind::Text: {
        const std::string& text = d.run(op.ref);
        if (op.background < 0) {
            target.setFontSize(pointsOf(op.pixelSize));
            if (op.turned) {
                target.drawTextRotated(op.x1 + ox, op.y1 + oy, text, op.colour);
            } else {
                target.drawText(op.x1 + ox, op.y1 + oy, text, op.colour);
            }
            break;
        }
        // A glyph cell copied: the text on its background, within the cell.
        const Box clip = op.clip.translated(ox, oy);
        auto cell = scratch.create(clip.width(), clip.height());
        cell->fillRect(0, 0, clip.width() - 1, clip.height() - 1, op.background);
        cell->setFontSize(pointsOf(op.pixelSize));
        const int x = op.x1 + ox - clip.left;
        const int y = op.y1 + oy - clip.top;
        if (op.turned) {
            cell->drawTextRotated(x, y, text, op.colour);
        } else {
            cell->drawText(x, y, text, op.colour);
        }
        target.copyFrom(*cell, 0, 0, clip.width(), clip.height(), clip.left, clip.top);
        break;
    }
    case DrawOp::Kind::Place: {
        const Box clip = op.clip.translated(ox, oy);
        auto block = scratch.create(clip.width(), clip.height());
        replayOps(d, d.sub(op.ref).ops, op.x1 + ox - clip.left, op.y1 + oy - clip.top, *block,
                  scratch);
        target.copyFrom(*block, 0, 0, clip.width(), clip.height(), clip.left, clip.top);
        break;
    }
    }
}

void replayOps(const Drawing& d, const std::vector<DrawOp>& ops, int ox, int oy, Canvas& target,
               CanvasFactory& scratch) {
    for (const DrawOp& op : ops) {
        replayOp(d, op, ox, oy, target, scratch);
    }
}

} // namespace

void replay(const Drawing& drawing, Canvas& target, CanvasFactory& scratch) {
    replayOps(drawing, drawing.ops(), 0, 0, target, scratch);
    for (const GridOp& op : drawing.grid()) {
        if (op.isLine) {
            target.gridLine(op.line);
        } else {
            target.gridText(op.text);
        }
    }
}

} // namespace render
