#include "platform/chart_image.h"

#include "platform/qt_canvas.h"

#include "common/file_io.h"

#include <QBuffer>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

constexpr std::size_t kHeaderSize = 14 + 40 + render::kPaletteSize * 4;
constexpr unsigned char kWhite = render::kBackgroundColour;

// The byte stored for a palette index and back: white is 0.
constexpr unsigned char stored(int index) {
    return static_cast<unsigned char>(index ^ render::kBackgroundColour);
}
constexpr int paletteIndex(unsigned char byte) {
    return byte ^ render::kBackgroundColour;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "×" + std::to_string(height);
}

void put16(char* at, std::uint32_t v) {
    at[0] = static_cast<char>(v & 0xFF);
    at[1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(char* at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
}

// The palette index of a colour painted by a QtCanvas; the nearest entry should a pixel
// ever be something else.
unsigned char indexOf(QRgb p) {
    p |= 0xFF000000u;
    int best = 0;
    int bestDistance = -1;
    for (int i = 0; i < render::kPaletteSize; ++i) {
        const QRgb c = paletteRgb(i);
        if (c == p) {
            return static_cast<unsigned char>(i);
        }
        const int dr = qRed(c) - qRed(p);
        const int dg = qGreen(c) - qGreen(p);
        const int db = qBlue(c) - qBlue(p);
        const int d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<unsigned char>(best);
}

// The colour table in stored order.
QList<QRgb> colourTable() {
    QList<QRgb> table;
    for (int b = 0; b < render::kPaletteSize; ++b) {
        table.push_back(paletteRgb(paletteIndex(static_cast<unsigned char>(b))));
    }
    return table;
}

// Clips one axis of a copy of n pixels from s in a source of sn to d in a target of tn.
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

// Clips a copy of w × h from (sx, sy) of a source sw × sh to (dx, dy) of a target tw × th.
bool clip(int& sx, int& sy, int& w, int& h, int& dx, int& dy, int sw, int sh, int tw, int th) {
    clipAxis(sx, dx, w, sw, tw);
    clipAxis(sy, dy, h, sh, th);
    return w > 0 && h > 0;
}

} // namespace

// Zeroed memory for a chart's file. Large buffers are mapped (zero pages, huge pages where
// the system gives them); the last one released is kept for the next chart.
struct ChartImage::Buffer {
    char* data = nullptr;
    std::size_t capacity = 0;
    bool mapped = false;
    char* mapping = nullptr; // start and length of the whole mapping when mapped
    std::size_t mappingLength = 0;

    ~Buffer() {
#if defined(__linux__)
        if (mapped) {
            munmap(mapping, mappingLength);
            return;
        }
#endif
        std::free(data);
    }

    static std::unique_ptr<Buffer>& spare() {
        static std::unique_ptr<Buffer> kept;
        return kept;
    }
    static std::mutex& spareLock() {
        static std::mutex m;
        return m;
    }

    // `size` zeroed bytes, or null when memory runs out.
    static std::unique_ptr<Buffer> take(std::size_t size) {
        {
            const std::lock_guard<std::mutex> lock(spareLock());
            std::unique_ptr<Buffer>& kept = spare();
            if (kept && kept->capacity >= size && kept->capacity / 2 <= size) {
                std::unique_ptr<Buffer> b = std::move(kept);
                std::memset(b->data, 0, size);
                return b;
            }
            kept.reset(); // never held beside a chart it does not fit
        }
        auto b = std::make_unique<Buffer>();
#if defined(__linux__)
        constexpr std::size_t kHuge = std::size_t(2) << 20;
        if (size >= kHuge) {
            // Mapped one huge page longer so that the buffer can start on a huge-page
            // boundary: only aligned 2 MiB ranges can be huge pages, and on this kind of
            // machine faulting in small pages costs about a second per 400 MB.
            const std::size_t capacity = (size + kHuge - 1) / kHuge * kHuge;
            const std::size_t length = capacity + kHuge;
            void* p =
                mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED) {
                return nullptr;
            }
            const auto start = reinterpret_cast<std::uintptr_t>(p);
            const std::uintptr_t aligned = (start + kHuge - 1) / kHuge * kHuge;
            b->mapping = static_cast<char*>(p);
            b->mappingLength = length;
            b->data = b->mapping + (aligned - start);
            madvise(b->data, capacity, MADV_HUGEPAGE);
            b->capacity = capacity;
            b->mapped = true;
            return b;
        }
#endif
        b->data = static_cast<char*>(std::calloc(size, 1));
        if (b->data == nullptr) {
            return nullptr;
        }
        b->capacity = size;
        return b;
    }

    // Keeps `b` for the next chart (instead of a smaller one kept before).
    static void give(std::unique_ptr<Buffer> b) {
        const std::lock_guard<std::mutex> lock(spareLock());
        std::unique_ptr<Buffer>& kept = spare();
        if (!kept || kept->capacity <= b->capacity) {
            kept = std::move(b);
        }
    }
};

ChartImage::ChartImage(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) {
        throw render::CanvasError("大きさ " + sizeText(width, height) +
                                  " ピクセルの図面は作れません。");
    }
    stride_ = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t pixels = stride_ * static_cast<std::size_t>(height);
    if (static_cast<long long>(pixels) > kLargestChartBytes) {
        throw render::CanvasError("図面が大きすぎて画像にできません（" + sizeText(width, height) +
                                  " ピクセル）。");
    }
    size_ = kHeaderSize + pixels;
    // Zeroed memory is white.
    buffer_ = Buffer::take(size_);
    if (!buffer_) {
        throw render::CanvasError("メモリが足りず、" + sizeText(width, height) +
                                  " ピクセルの図面を作れません。");
    }
    data_ = buffer_->data;
    char* h = data_;
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, static_cast<std::uint32_t>(size_));
    put32(h + 10, static_cast<std::uint32_t>(kHeaderSize));
    put32(h + 14, 40); // BITMAPINFOHEADER
    put32(h + 18, static_cast<std::uint32_t>(width));
    put32(h + 22, static_cast<std::uint32_t>(height));
    put16(h + 26, 1);
    put16(h + 28, 8);
    put32(h + 34, static_cast<std::uint32_t>(pixels));
    put32(h + 38, 3780); // 96 dots per inch in dots per metre
    put32(h + 42, 3780);
    put32(h + 46, render::kPaletteSize);
    put32(h + 50, render::kPaletteSize);
    char* entry = h + 54;
    for (int b = 0; b < render::kPaletteSize; ++b) {
        const render::Rgb& c =
            render::kPalette[static_cast<std::size_t>(paletteIndex(static_cast<unsigned char>(b)))];
        entry[0] = static_cast<char>(c.b);
        entry[1] = static_cast<char>(c.g);
        entry[2] = static_cast<char>(c.r);
        entry += 4;
    }
}

void ChartImage::releaseKeptMemory() {
    std::unique_ptr<Buffer> released;
    const std::lock_guard<std::mutex> lock(Buffer::spareLock());
    released = std::move(Buffer::spare());
}

ChartImage::~ChartImage() {
    if (buffer_) {
        Buffer::give(std::move(buffer_));
    }
}

unsigned char* ChartImage::row(int y) const {
    return reinterpret_cast<unsigned char*>(data_) + kHeaderSize +
           stride_ * static_cast<std::size_t>(height_ - 1 - y);
}

void ChartImage::fillRect(int x1, int y1, int x2, int y2, int colour) {
    render::checkColour(colour);
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), width_ - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), height_ - 1);
    if (left > right || top > bottom) {
        return;
    }
    for (int y = top; y <= bottom; ++y) {
        std::memset(row(y) + left, stored(colour), static_cast<std::size_t>(right - left + 1));
    }
}

void ChartImage::line(int x1, int y1, int x2, int y2, int colour, render::PenStyle style) {
    render::checkColour(colour);
    const unsigned char value = stored(colour);
    // Bresenham from end to end.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    for (long n = 0;; ++n) {
        if (style == render::PenStyle::Solid || n % 3 == 0) {
            plot(x, y, value);
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

void ChartImage::setFontSize(float points) {
    fontPoints_ = points;
}

void ChartImage::overlay(const QImage& image, int dx, int dy) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const unsigned char v = indexOf(in[x]);
            if (v != kWhite) {
                plot(dx + x, dy + y, stored(v));
            }
        }
    }
}

render::TextEnd ChartImage::drawText(int x, int y, std::string_view text, int colour) {
    // Measured on a cell of the chart font, then drawn on a scratch canvas of its size.
    QtCanvas measure(1, 1);
    measure.setFontSize(fontPoints_);
    const render::TextEnd size = measure.drawText(0, 0, text, colour);
    if (size.x > 0 && size.y > 0) {
        QtCanvas scratch(size.x, size.y);
        scratch.setFontSize(fontPoints_);
        scratch.drawText(0, 0, text, colour);
        overlay(scratch.image(), x, y);
    }
    return {x + size.x, y + size.y};
}

void ChartImage::drawTextRotated(int x, int y, std::string_view text, int colour) {
    QtCanvas measure(1, 1);
    measure.setFontSize(fontPoints_);
    const render::TextEnd size = measure.drawText(0, 0, text, colour);
    if (size.x <= 0 || size.y <= 0) {
        return;
    }
    // Turned, the text is one line height wide and its advance long, left of x.
    QtCanvas scratch(size.y, size.x);
    scratch.setFontSize(fontPoints_);
    scratch.drawTextRotated(size.y, 0, text, colour);
    overlay(scratch.image(), x - size.y, y);
}

void ChartImage::copyFrom(const render::Canvas& source, int sx, int sy, int w, int h, int dx,
                          int dy) {
    if (const auto* chart = dynamic_cast<const ChartImage*>(&source)) {
        if (!clip(sx, sy, w, h, dx, dy, chart->width_, chart->height_, width_, height_)) {
            return;
        }
        // Rows in the order that never reads a row already overwritten.
        const bool down = !(chart == this && dy > sy);
        for (int i = 0; i < h; ++i) {
            const int r = down ? i : h - 1 - i;
            std::memmove(row(dy + r) + dx, chart->row(sy + r) + sx, static_cast<std::size_t>(w));
        }
        return;
    }
    const auto* canvas = dynamic_cast<const QtCanvas*>(&source);
    if (canvas == nullptr) {
        throw std::invalid_argument("ChartImage::copyFrom: source of another kind");
    }
    const QImage& image = canvas->image();
    if (!clip(sx, sy, w, h, dx, dy, image.width(), image.height(), width_, height_)) {
        return;
    }
    // Nearly every pixel of a block is white or black: those two first.
    const QRgb white = paletteRgb(kWhite);
    const QRgb black = paletteRgb(render::kTextColour);
    QRgb last = white;
    unsigned char lastByte = stored(kWhite);
    for (int r = 0; r < h; ++r) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy + r)) + sx;
        unsigned char* out = row(dy + r) + dx;
        for (int x = 0; x < w; ++x) {
            const QRgb p = in[x] | 0xFF000000u;
            if (p == white) {
                out[x] = stored(kWhite);
            } else if (p == black) {
                out[x] = stored(render::kTextColour);
            } else {
                if (p != last) {
                    last = p;
                    lastByte = stored(indexOf(p));
                }
                out[x] = lastByte;
            }
        }
    }
}

int ChartImage::paletteIndexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return kWhite;
    }
    return paletteIndex(row(y)[x]);
}

QImage ChartImage::part(int x, int y, int w, int h) const {
    int sx = x;
    int sy = y;
    int dx = 0;
    int dy = 0;
    QImage out(std::max(w, 1), std::max(h, 1), QImage::Format_Indexed8);
    out.setColorTable(colourTable());
    out.fill(stored(kWhite));
    if (clip(sx, sy, w, h, dx, dy, width_, height_, out.width(), out.height())) {
        for (int r = 0; r < h; ++r) {
            std::memcpy(out.scanLine(dy + r) + dx, row(sy + r) + sx, static_cast<std::size_t>(w));
        }
    }
    return out;
}

std::string ChartImage::pngBytes() const {
    const QImage whole = part(0, 0, width_, height_);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (whole.isNull() || !whole.save(&buffer, "PNG")) {
        throw common::FileError("図面（" + sizeText(width_, height_) +
                                " ピクセル）をPNG形式にできませんでした。");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void ChartImage::saveBmp(const std::filesystem::path& path) const {
    common::replaceFile(path, bmpBytes());
}

void ChartImage::savePng(const std::filesystem::path& path) const {
    common::replaceFile(path, pngBytes());
}

std::unique_ptr<render::Canvas> ChartImageFactory::create(int width, int height) {
    return std::make_unique<ChartImage>(width, height);
}

} // namespace platform
