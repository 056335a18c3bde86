#include "render/glyphs.h"

#include "common/text.h"

#include <algorithm>

namespace render {

namespace {

std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

} // namespace

void boundSpans(GlyphInk& ink) {
    if (ink.spans.empty()) {
        ink.left = ink.top = ink.right = ink.bottom = 0;
        return;
    }
    ink.left = ink.spans.front().x0;
    ink.right = ink.spans.front().x1;
    ink.top = ink.spans.front().y;
    ink.bottom = ink.spans.front().y + 1;
    for (const InkSpan& s : ink.spans) {
        ink.left = std::min(ink.left, s.x0);
        ink.right = std::max(ink.right, s.x1);
        ink.top = std::min(ink.top, s.y);
        ink.bottom = std::max(ink.bottom, s.y + 1);
    }
}

TextEnd SyntheticGlyphs::measure(std::string_view text, int pixelSize) {
    int advance = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len =
            std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        advance += common::sjisWidth(text.substr(i, len)) == 1 ? pixelSize / 2 : pixelSize;
        i += len;
    }
    return {advance, pixelSize + lineGap_};
}

const GlyphInk& SyntheticGlyphs::ink(std::string_view text, int pixelSize, bool turned) {
    auto key = std::make_tuple(std::string(text), pixelSize, turned);
    auto it = cache_.find(key);
    if (it != cache_.end()) {
        return it->second;
    }
    GlyphInk ink;
    const int advance = measure(text, pixelSize).x;
    if (advance > 0) {
        for (int y = 0; y < (turned ? advance : pixelSize); ++y) {
            if (turned) {
                ink.spans.push_back({y, -pixelSize, 0});
            } else {
                ink.spans.push_back({y, 0, advance});
            }
        }
    }
    boundSpans(ink);
    return cache_.emplace(std::move(key), std::move(ink)).first->second;
}

} // namespace render
