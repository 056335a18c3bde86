// A canvas painted by QPainter on a 32-bit QImage without antialiasing, so that every pixel
// is a palette colour, with the chart font ("ＭＳ 明朝", mapped onto IPAMincho) at a fixed
// 96 dots per inch: a chart painted whole, the way the recorded drawing's own pixels
// (render/raster.h, glyphs from platform/QtGlyphs) are checked against. Needs a
// QGuiApplication for text.
#pragma once

#include "render/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <memory>
#include <string>

class QPainter;

namespace platform {

// The largest canvas made, in bytes of its 32-bit image (1 GiB, e.g. 16384 × 16384
// pixels); a larger chart is refused with a message rather than exhausting memory.
inline constexpr long long kLargestCanvasBytes = 1LL << 30;

class QtCanvas : public render::Canvas {
public:
    // A white canvas. Throws render::CanvasError naming the size when the image cannot be
    // made (empty, larger than kLargestCanvasBytes, or out of memory).
    QtCanvas(int width, int height);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    void fillRect(int x1, int y1, int x2, int y2, int colour) override;
    void line(int x1, int y1, int x2, int y2, int colour,
              render::PenStyle style = render::PenStyle::Solid) override;
    void setFontSize(float points) override;
    render::TextEnd drawText(int x, int y, std::string_view text, int colour) override;
    void drawTextRotated(int x, int y, std::string_view text, int colour) override;
    void copyFrom(const render::Canvas& source, int sx, int sy, int w, int h, int dx,
                  int dy) override;

    // The image as painted so far (for the chart window).
    const QImage& image() const { return image_; }
    // Palette index of a pixel, or -1 when it is no palette colour.
    int paletteIndexAt(int x, int y) const;

private:
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    QFontMetrics metrics_;
    int ascent_ = 0;
};

class QtCanvasFactory : public render::CanvasFactory {
public:
    std::unique_ptr<render::Canvas> create(int width, int height) override;
};

// The palette as Qt colours (0xffRRGGBB).
QRgb paletteRgb(int index);

} // namespace platform
