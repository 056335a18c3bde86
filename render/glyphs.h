// Text of the chart font as a drawing needs it: where a written text ends, and the ink of a
// text as spans of pixels, upright or turned a quarter turn. The program's source renders
// the chart font with Qt (platform/QtGlyphs), each character once per size and turn; the
// synthetic source gives the fixed metrics and box-shaped ink the Qt-free tests count on.
#pragma once

#include "render/canvas.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace render {

// One row of ink: pixels x0 .. x1 − 1 of row y.
struct InkSpan {
    std::int32_t y = 0;
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    bool operator==(const InkSpan&) const = default;
};

// The ink of a text, relative to the point it is written at (Canvas::drawText's (x, y), or
// drawTextRotated's). `spans` are sorted by row, then by x. The box holds every span.
struct GlyphInk {
    std::vector<InkSpan> spans;
    int left = 0; // half-open box
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return spans.empty(); }
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Where writing `text` at (0, 0) with the chart font of `pixelSize` pixels ends (the
    // advance and the height of one line), as Canvas::drawText reports it.
    virtual TextEnd measure(std::string_view text, int pixelSize) = 0;
    // The ink of `text` written upright at (0, 0), or turned a quarter turn clockwise with
    // its unturned top-left at (0, 0) (drawTextRotated). Valid until the source is destroyed.
    virtual const GlyphInk& ink(std::string_view text, int pixelSize, bool turned) = 0;
};

// Fixed metrics: at p pixels a double-byte character advances p, a single-byte one p / 2,
// and a line is p + lineGap high. The ink of a text is its whole box (upright: advance ×
// p from the top; turned: p wide left of the point and the advance long).
class SyntheticGlyphs : public GlyphSource {
public:
    explicit SyntheticGlyphs(int lineGap = 3) : lineGap_(lineGap) {}
    TextEnd measure(std::string_view text, int pixelSize) override;
    const GlyphInk& ink(std::string_view text, int pixelSize, bool turned) override;
    int lineGap() const { return lineGap_; }

private:
    int lineGap_;
    std::map<std::tuple<std::string, int, bool>, GlyphInk> cache_;
};

// The box of a set of spans.
void boundSpans(GlyphInk& ink);

} // namespace render
