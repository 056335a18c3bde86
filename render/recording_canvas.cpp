#include "render/recording_canvas.h"

#include "common/text.h"

#include <algorithm>
#include <stdexcept>

namespace render {

namespace {

CanvasOp makeOp(CanvasOp::Kind kind, int x1, int y1, int x2, int y2, int colour) {
    CanvasOp op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = colour;
    return op;
}

} // namespace

RecordingCanvas::RecordingCanvas(int width, int height, int lineGap, int id)
    : width_(width), height_(height), lineGap_(lineGap), id_(id), fontPixels_(fontPixelSize(16)),
      pixels_(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0),
              static_cast<unsigned char>(kBackgroundColour)) {
    if (width <= 0 || height <= 0) {
        throw CanvasError("大きさ " + std::to_string(width) + "×" + std::to_string(height) +
                          " の画像は作れません。");
    }
}

std::vector<CanvasOp> RecordingCanvas::ops(CanvasOp::Kind kind) const {
    std::vector<CanvasOp> out;
    for (const auto& op : ops_) {
        if (op.kind == kind) {
            out.push_back(op);
        }
    }
    return out;
}

int RecordingCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return kBackgroundColour;
    }
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

int RecordingCanvas::advance(std::string_view text) const {
    int a = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0) {
            len = 4;
        } else if (lead >= 0xE0) {
            len = 3;
        } else if (lead >= 0xC0) {
            len = 2;
        }
        const auto ch = text.substr(i, len);
        a += common::sjisWidth(ch) == 1 ? fontPixels_ / 2 : fontPixels_;
        i += len;
    }
    return a;
}

RecordingCanvas::Box RecordingCanvas::boxOf(const PlacedText& t) const {
    const int length = std::max(advance(t.text), 1);
    const int lineHeight = t.fontPixels + lineGap_;
    if (t.rotated) {
        return {t.x - lineHeight, t.y, t.x, t.y + length};
    }
    return {t.x, t.y, t.x + length, t.y + lineHeight};
}

void RecordingCanvas::removeTexts(const Box& a) {
    std::erase_if(texts_, [&](const PlacedText& t) {
        const Box b = boxOf(t);
        return b.left < a.right && a.left < b.right && b.top < a.bottom && a.top < b.bottom;
    });
}

void RecordingCanvas::fillRect(int x1, int y1, int x2, int y2, int colour) {
    checkColour(colour);
    ops_.push_back(makeOp(CanvasOp::Kind::Fill, x1, y1, x2, y2, colour));
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), width_ - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), height_ - 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            pixels_[static_cast<std::size_t>(y) * width_ + x] = static_cast<unsigned char>(colour);
        }
    }
    removeTexts({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1});
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2, int colour, PenStyle style) {
    checkColour(colour);
    CanvasOp op = makeOp(CanvasOp::Kind::Line, x1, y1, x2, y2, colour);
    op.style = style;
    ops_.push_back(op);
}

void RecordingCanvas::setFontSize(float points) {
    CanvasOp op = makeOp(CanvasOp::Kind::Font, 0, 0, 0, 0, 0);
    op.points = points;
    ops_.push_back(op);
    fontPixels_ = fontPixelSize(points);
}

TextEnd RecordingCanvas::drawText(int x, int y, std::string_view text, int colour) {
    checkColour(colour);
    CanvasOp op = makeOp(CanvasOp::Kind::Text, x, y, 0, 0, colour);
    op.text = std::string(text);
    ops_.push_back(op);
    if (!text.empty()) {
        texts_.push_back({x, y, std::string(text), colour, false, fontPixels_});
    }
    return {x + advance(text), y + lineHeight()};
}

void RecordingCanvas::drawTextRotated(int x, int y, std::string_view text, int colour) {
    checkColour(colour);
    CanvasOp op = makeOp(CanvasOp::Kind::RotatedText, x, y, 0, 0, colour);
    op.text = std::string(text);
    ops_.push_back(op);
    if (!text.empty()) {
        texts_.push_back({x, y, std::string(text), colour, true, fontPixels_});
    }
}

void RecordingCanvas::copyFrom(const Canvas& source, int sx, int sy, int w, int h, int dx, int dy) {
    const auto* src = dynamic_cast<const RecordingCanvas*>(&source);
    if (src == nullptr) {
        throw std::invalid_argument("RecordingCanvas::copyFrom: source of another kind");
    }
    CanvasOp op = makeOp(CanvasOp::Kind::Copy, sx, sy, dx, dy, 0);
    op.w = w;
    op.h = h;
    op.sourceId = src->id_;
    ops_.push_back(op);
    if (w <= 0 || h <= 0) {
        return;
    }
    // Read first: the source may be this canvas.
    std::vector<unsigned char> block(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            block[static_cast<std::size_t>(y) * w + x] =
                static_cast<unsigned char>(src->pixel(sx + x, sy + y));
        }
    }
    std::vector<PlacedText> moved;
    const Box from{sx, sy, sx + w, sy + h};
    for (const auto& t : src->texts_) {
        const Box b = src->boxOf(t);
        if (b.left < from.right && from.left < b.right && b.top < from.bottom &&
            from.top < b.bottom) {
            PlacedText c = t;
            c.x += dx - sx;
            c.y += dy - sy;
            moved.push_back(c);
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int tx = dx + x;
            const int ty = dy + y;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) {
                pixels_[static_cast<std::size_t>(ty) * width_ + tx] =
                    block[static_cast<std::size_t>(y) * w + x];
            }
        }
    }
    removeTexts({dx, dy, dx + w, dy + h});
    texts_.insert(texts_.end(), moved.begin(), moved.end());
}

std::string RecordingCanvas::textsInOrder() const {
    auto sorted = texts_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const PlacedText& a, const PlacedText& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    std::string out;
    for (const auto& t : sorted) {
        out += t.text;
    }
    return out;
}

std::unique_ptr<Canvas> RecordingCanvasFactory::create(int width, int height) {
    const int id = static_cast<int>(made_.size()) + 1;
    auto canvas = std::make_unique<RecordingCanvas>(width, height, lineGap_, id);
    made_.push_back({id, width, height});
    return canvas;
}

} // namespace render
