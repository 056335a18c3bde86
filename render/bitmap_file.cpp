#include "render/bitmap_file.h"

#include "common/file_io.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace render {

namespace {

constexpr std::uint32_t kHeaderSize = 14 + 40 + kPaletteSize * 4;

std::uint64_t stride(int width) {
    return (static_cast<std::uint64_t>(width) + 3) / 4 * 4;
}

void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::uint64_t bmpFileSize(int width, int height) {
    return kHeaderSize + stride(width) * static_cast<std::uint64_t>(height);
}

std::string bmpHeader(int width, int height) {
    const std::uint64_t pixels = stride(width) * static_cast<std::uint64_t>(height);
    const bool sized = kHeaderSize + pixels <= std::numeric_limits<std::uint32_t>::max();
    std::string h;
    h.reserve(kHeaderSize);
    h += "BM";
    put32(h, sized ? static_cast<std::uint32_t>(kHeaderSize + pixels) : 0);
    put32(h, 0);
    put32(h, kHeaderSize);
    put32(h, 40); // BITMAPINFOHEADER
    put32(h, static_cast<std::uint32_t>(width));
    put32(h, static_cast<std::uint32_t>(height));
    put16(h, 1);
    put16(h, 8);
    put32(h, 0); // uncompressed
    put32(h, sized ? static_cast<std::uint32_t>(pixels) : 0);
    put32(h, 3780); // 96 dots per inch in dots per metre
    put32(h, 3780);
    put32(h, kPaletteSize);
    put32(h, kPaletteSize);
    for (int b = 0; b < kPaletteSize; ++b) {
        const Rgb& c = kPalette[static_cast<std::size_t>(b ^ kBackgroundColour)];
        h.push_back(static_cast<char>(c.b));
        h.push_back(static_cast<char>(c.g));
        h.push_back(static_cast<char>(c.r));
        h.push_back('\0');
    }
    return h;
}

void writeBmp(const Drawing& drawing, GlyphSource& glyphs, const std::filesystem::path& path,
              std::size_t bandBytes) {
    common::FileReplacement file(path);
    file.write(bmpHeader(drawing.width(), drawing.height()));
    // Each band is painted straight into the file's rows: bottom-up, each byte the palette
    // index XOR 15 (white is 0), the padding left zero; after writing, only what was painted
    // is made white again.
    Rasteriser raster(drawing, glyphs);
    const int width = drawing.width();
    const int height = drawing.height();
    const auto rowBytes = static_cast<std::size_t>(stride(width));
    const int rows = static_cast<int>(
        std::clamp<std::size_t>(bandBytes / rowBytes, 1, static_cast<std::size_t>(height)));
    std::vector<std::uint8_t> band(rowBytes * static_cast<std::size_t>(rows), 0);
    for (int bottom = height; bottom > 0; bottom -= rows) {
        const int top = std::max(0, bottom - rows);
        const int n = bottom - top;
        const Box area{0, top, width, bottom};
        std::uint8_t* lastRow = band.data() + static_cast<std::size_t>(n - 1) * rowBytes;
        const auto up = -static_cast<std::ptrdiff_t>(rowBytes);
        raster.paintOnWhite(area, 1.0, lastRow, up, kBackgroundColour);
        file.write(std::string_view(reinterpret_cast<const char*>(band.data()),
                                    rowBytes * static_cast<std::size_t>(n)));
        raster.whiten(area, 1.0, lastRow, up, kBackgroundColour);
    }
    file.commit();
}

} // namespace render
