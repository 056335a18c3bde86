// The chart canvas of a drawing: one byte per pixel, held as the pixel rows of an 8-bit BMP
// file, so that a chart of a thousand persons (hundreds of millions of pixels) takes a
// quarter of the memory of a 32-bit image and "図面.BMP" is written straight from it, without
// a conversion. Blocks and glyph cells stay QtCanvases (text needs QPainter); the chart
// receives their copies, the filled bars and the lines. Needs a QGuiApplication only for text
// drawn straight onto it.
//
// A byte holds the palette index XOR 15, and the file's colour table lists the palette in
// that order (white first): a new chart is white because its memory is zero. The memory of
// a large chart is mapped in huge pages where the system offers them, and the memory of the
// last chart released is kept and used again (cleared) for the next one: making a chart of
// a few hundred megabytes is otherwise mostly the system's page faulting.
#pragma once

#include "render/canvas.h"

#include <QImage>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// The largest chart made, in bytes of its pixels (1 GiB); a larger one is refused with a
// message naming its size.
inline constexpr long long kLargestChartBytes = 1LL << 30;

class ChartImage : public render::Canvas {
public:
    // A white chart. Throws render::CanvasError naming the size when it is empty, larger
    // than kLargestChartBytes, or memory runs out.
    ChartImage(int width, int height);
    ~ChartImage() override;
    ChartImage(const ChartImage&) = delete;
    ChartImage& operator=(const ChartImage&) = delete;

    int width() const override { return width_; }
    int height() const override { return height_; }
    void fillRect(int x1, int y1, int x2, int y2, int colour) override;
    // Solid lines cover every pixel from end to end; dotted ones one pixel in three.
    void line(int x1, int y1, int x2, int y2, int colour,
              render::PenStyle style = render::PenStyle::Solid) override;
    void setFontSize(float points) override;
    render::TextEnd drawText(int x, int y, std::string_view text, int colour) override;
    void drawTextRotated(int x, int y, std::string_view text, int colour) override;
    // From a QtCanvas (block canvas, glyph cell) or another ChartImage. Parts outside either
    // canvas are clipped.
    void copyFrom(const render::Canvas& source, int sx, int sy, int w, int h, int dx,
                  int dy) override;

    // Palette index of a pixel (15 outside the chart).
    int paletteIndexAt(int x, int y) const;
    // A rectangle of the chart as an 8-bit indexed image with the palette (the window).
    QImage part(int x, int y, int w, int h) const;

    // The whole "図面.BMP": 8 bits per pixel, the sixteen palette colours (white first), rows
    // bottom-up padded to four bytes, 96 dots per inch.
    std::string_view bmpBytes() const { return {data_, size_}; }
    std::string pngBytes() const;
    // Through the atomic replace (throws common::FileError; the old file stays whole).
    void saveBmp(const std::filesystem::path& path) const;
    void savePng(const std::filesystem::path& path) const;

    // Gives back the memory kept from the last chart released.
    static void releaseKeptMemory();

private:
    unsigned char* row(int y) const;
    // `value` is the stored byte (index XOR 15).
    void plot(int x, int y, unsigned char value) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            row(y)[x] = value;
        }
    }
    // Copies the pixels of a white-background image that are not white, at (dx, dy).
    void overlay(const QImage& image, int dx, int dy);

    int width_;
    int height_;
    std::size_t stride_;
    std::size_t size_;
    struct Buffer;
    std::unique_ptr<Buffer> buffer_;
    char* data_ = nullptr;
    float fontPoints_ = 16;
};

// Makes the chart canvas of a drawing (render::ChartRequest::chartFactory).
class ChartImageFactory : public render::CanvasFactory {
public:
    std::unique_ptr<render::Canvas> create(int width, int height) override;
};

} // namespace platform
