#include "render/bitmap_file.h"

#include "common/file_io.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
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

namespace {

// The bands of a chart from the bottom up, of `rows` rows at most. The first ones are
// smaller, each twice the one before, so that the writing starts as soon as the chart is
// drawn and the band buffers are cleared while the bands before them are written.
std::vector<Box> bandAreas(int width, int height, int rows) {
    std::vector<Box> areas;
    int step = std::max(1, rows / 32);
    for (int bottom = height; bottom > 0;) {
        const int top = std::max(0, bottom - step);
        areas.push_back(Box{0, top, width, bottom});
        bottom = top;
        step = step > rows / 2 ? rows : step * 2;
    }
    return areas;
}

// The bands of a bitmap painted on one thread while they are written on another: two band
// buffers take turns, the painter filling one while the writer writes the other.
class BandPainter {
public:
    BandPainter(const Drawing& drawing, GlyphSource& glyphs, std::size_t rowBytes, int rows)
        : drawing_(drawing), glyphs_(glyphs), rowBytes_(rowBytes),
          areas_(bandAreas(drawing.width(), drawing.height(), rows)) {
        for (Band& b : buffers_) {
            b.pixels.reserve(rowBytes * static_cast<std::size_t>(rows)); // untouched till used
        }
        thread_ = std::thread([this] { run(); });
    }
    ~BandPainter() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    BandPainter(const BandPainter&) = delete;
    BandPainter& operator=(const BandPainter&) = delete;

    int bands() const { return static_cast<int>(areas_.size()); }

    // Band `k` (from the bottom), once painted: its rows as the file stores them. Rethrows
    // what stopped the painter.
    std::string_view take(int k) {
        Band& b = buffers_[static_cast<std::size_t>(k % 2)];
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return b.ready || failure_; });
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return {reinterpret_cast<const char*>(b.pixels.data()),
                rowBytes_ * static_cast<std::size_t>(b.area.height())};
    }
    // Band `k` is written: its buffer may be painted again.
    void release(int k) {
        {
            const std::lock_guard lock(mutex_);
            buffers_[static_cast<std::size_t>(k % 2)].ready = false;
        }
        changed_.notify_all();
    }

private:
    struct Band {
        std::vector<std::uint8_t> pixels;
        Box area; // the chart rows it holds (empty: none yet)
        bool ready = false;
    };

    void run() {
        try {
            paintAll();
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        changed_.notify_all();
    }

    // Each band painted straight into the file's rows: bottom-up, each byte the palette
    // index XOR 15 (white is 0), the padding left zero; only what was painted in a buffer
    // before is made white again.
    void paintAll() {
        Rasteriser raster(drawing_, glyphs_);
        const auto up = -static_cast<std::ptrdiff_t>(rowBytes_);
        for (int k = 0; k < bands(); ++k) {
            Band& b = buffers_[static_cast<std::size_t>(k % 2)];
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return !b.ready || stop_; });
                if (stop_) {
                    return;
                }
            }
            if (!b.area.empty()) {
                raster.whiten(b.area, 1.0, lastRow(b, b.area), up, kBackgroundColour);
            }
            const Box& area = areas_[static_cast<std::size_t>(k)];
            const std::size_t bytes = rowBytes_ * static_cast<std::size_t>(area.height());
            if (b.pixels.size() < bytes) {
                b.pixels.resize(bytes); // the new part zero, that is white
            }
            raster.paintOnWhite(area, 1.0, lastRow(b, area), up, kBackgroundColour);
            {
                const std::lock_guard lock(mutex_);
                b.area = area;
                b.ready = true;
            }
            changed_.notify_all();
        }
    }

    std::uint8_t* lastRow(Band& b, const Box& area) const {
        return b.pixels.data() + static_cast<std::size_t>(area.height() - 1) * rowBytes_;
    }

    const Drawing& drawing_;
    GlyphSource& glyphs_;
    std::size_t rowBytes_;
    std::vector<Box> areas_;
    std::array<Band, 2> buffers_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    std::exception_ptr failure_;
    std::thread thread_; // last: started once everything above is made
};

} // namespace

void writeBmp(const Drawing& drawing, GlyphSource& glyphs, const std::filesystem::path& path,
              std::size_t bandBytes) {
    common::FileReplacement file(path);
    file.write(bmpHeader(drawing.width(), drawing.height()));
    const auto rowBytes = static_cast<std::size_t>(stride(drawing.width()));
    const int rows = bandRows(bandBytes, rowBytes, drawing.height());
    {
        BandPainter painter(drawing, glyphs, rowBytes, rows);
        for (int k = 0; k < painter.bands(); ++k) {
            file.write(painter.take(k));
            painter.release(k);
        }
    }
    file.commit();
}

} // namespace render
