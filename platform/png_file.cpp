#include "platform/png_file.h"

#include "common/file_io.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace platform {

namespace {

// What the write callback met: libpng may not be left by an exception, so a failed write
// is kept here and raised once libpng has returned.
struct Sink {
    common::FileReplacement* file = nullptr;
    std::exception_ptr failure;
    std::string libpngMessage;
};

void writeData(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink->failure) {
        return;
    }
    try {
        sink->file->write(std::string_view(reinterpret_cast<const char*>(data), length));
    } catch (...) {
        sink->failure = std::current_exception();
    }
}

void flushData(png_structp) {}

void onError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<Sink*>(png_get_error_ptr(png));
    sink->libpngMessage = message != nullptr ? message : "";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The calls into libpng, each behind its own return point; these frames hold nothing that
// needs destroying, so that an error of libpng may jump back into them.
bool writeHeader(png_structp png, png_infop info, int width, int height) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 4,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[render::kPaletteSize];
    for (int i = 0; i < render::kPaletteSize; ++i) {
        const render::Rgb& c = render::kPalette[static_cast<std::size_t>(i)];
        palette[i] = png_color{c.r, c.g, c.b};
    }
    png_set_PLTE(png, info, palette, render::kPaletteSize);
    // 96 dots per inch.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    return true;
}

bool writeChunk(png_structp png, const char* name, const std::uint8_t* data, std::size_t size) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data, size);
    return true;
}

// Two pixels a byte, the first in the high half; eight pixels at a time where they are.
void packRow(const std::uint8_t* in, int width, std::uint8_t* out) {
    int x = 0;
    for (; x + 8 <= width; x += 8, out += 4) {
        std::uint64_t v;
        std::memcpy(&v, in + x, 8);
        // Little-endian: byte 2k of t is pixel 2k << 4 | pixel 2k + 1.
        std::uint64_t t = ((v << 4) | (v >> 8)) & 0x00FF00FF00FF00FFull;
        t = (t | (t >> 8)) & 0x0000FFFF0000FFFFull;
        t = (t | (t >> 16)) & 0x00000000FFFFFFFFull;
        const auto word = static_cast<std::uint32_t>(t);
        std::memcpy(out, &word, 4);
    }
    for (; x + 2 <= width; x += 2) {
        *out++ = static_cast<std::uint8_t>(in[x] << 4 | in[x + 1]);
    }
    if (x < width) {
        *out = static_cast<std::uint8_t>(in[x] << 4);
    }
}

// One part of the image's rows compressed on its own: the rows painted band by band, each
// row its filter byte (0, none) and its pixels at four bits (the first in the high half),
// deflated without a zlib wrapper. All parts but the last end at a byte boundary without
// ending the stream, so that the parts joined are one deflate stream; the adler-32 of the
// part's bytes is kept for the stream's end.
struct Part {
    int top = 0;
    int bottom = 0;
    bool last = false;
    std::string compressed;
    uLong adler = 1;
    uLong length = 0;
    std::exception_ptr failure;
};

void compressPart(const render::Drawing& drawing, render::GlyphSource& glyphs, Part& part,
                  std::size_t bandBytes,
                  const std::function<void(const std::string&)>& deliver = {}) {
    try {
        render::Rasteriser raster(drawing, glyphs);
        const int width = drawing.width();
        const std::size_t rowBytes = 1 + (static_cast<std::size_t>(width) + 1) / 2;
        const int rows =
            render::bandRows(bandBytes, static_cast<std::size_t>(width), part.bottom - part.top);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                             static_cast<std::size_t>(rows),
                                         render::kBackgroundColour);
        std::vector<std::uint8_t> packed(rowBytes * static_cast<std::size_t>(rows));
        z_stream z{};
        if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw common::FileError("PNG形式に圧縮できません（メモリが足りません）。");
        }
        std::vector<std::uint8_t> out(std::size_t(1) << 20);
        auto flush = [&](int mode) {
            do {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                deflate(&z, mode);
                part.compressed.append(reinterpret_cast<const char*>(out.data()),
                                       out.size() - z.avail_out);
            } while (z.avail_out == 0);
            if (deliver && !part.compressed.empty()) {
                deliver(part.compressed);
                part.compressed.clear();
            }
        };
        for (int top = part.top; top < part.bottom; top += rows) {
            const int n = std::min(rows, part.bottom - top);
            const render::Box area{0, top, width, top + n};
            raster.paintOnWhite(area, 1.0, pixels.data(), width);
            for (int r = 0; r < n; ++r) {
                const std::uint8_t* in =
                    pixels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
                std::uint8_t* to = packed.data() + static_cast<std::size_t>(r) * rowBytes;
                to[0] = 0;
                packRow(in, width, to + 1);
            }
            raster.whiten(area, 1.0, pixels.data(), width);
            const auto size = static_cast<uInt>(rowBytes * static_cast<std::size_t>(n));
            part.adler = adler32(part.adler, packed.data(), size);
            part.length += size;
            z.next_in = packed.data();
            z.avail_in = size;
            flush(Z_NO_FLUSH);
        }
        flush(part.last ? Z_FINISH : Z_SYNC_FLUSH);
        deflateEnd(&z);
    } catch (...) {
        part.failure = std::current_exception();
    }
}

// The rows in as many parts as there are processors (64 rows at least each, four parts at
// most).
std::vector<Part> imageParts(int height) {
    const int processors = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int count = std::clamp(height / 64, 1, std::min(processors, 4));
    std::vector<Part> parts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Part& p = parts[static_cast<std::size_t>(i)];
        p.top = static_cast<int>(static_cast<long long>(height) * i / count);
        p.bottom = static_cast<int>(static_cast<long long>(height) * (i + 1) / count);
        p.last = i == count - 1;
    }
    return parts;
}

// Compresses the parts at the same time: the first part goes to `deliver` as it comes, the
// others follow it in order. Returns the adler-32 of the image data of all parts.
uLong compressParts(const render::Drawing& drawing, render::GlyphSource& glyphs,
                    std::vector<Part>& parts, std::size_t bandBytes,
                    const std::function<void(const std::string&)>& deliver) {
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        workers.emplace_back([&, i] { compressPart(drawing, glyphs, parts[i], bandBytes); });
    }
    std::exception_ptr ownFailure;
    try {
        compressPart(drawing, glyphs, parts[0], bandBytes, deliver);
    } catch (...) {
        ownFailure = std::current_exception();
    }
    for (std::thread& t : workers) {
        t.join();
    }
    if (ownFailure) {
        std::rethrow_exception(ownFailure);
    }
    uLong adler = parts[0].adler;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Part& p = parts[i];
        if (p.failure) {
            std::rethrow_exception(p.failure);
        }
        if (i > 0) {
            adler = adler32_combine(adler, p.adler, static_cast<z_off_t>(p.length));
            for (std::size_t at = 0; at < p.compressed.size(); at += std::size_t(1) << 20) {
                deliver(p.compressed.substr(at, std::size_t(1) << 20));
            }
        }
    }
    return adler;
}

} // namespace

void writePng(const render::Drawing& drawing, render::GlyphSource& glyphs,
              const std::filesystem::path& path, std::size_t bandBytes) {
    common::FileReplacement file(path);
    Sink sink;
    sink.file = &file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, onError, onWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    struct Release {
        png_structp& png;
        png_infop& info;
        ~Release() { png_destroy_write_struct(&png, &info); }
    } release{png, info};
    const std::string name = common::displayName(path);
    auto failed = [&] {
        if (sink.failure) {
            std::rethrow_exception(sink.failure);
        }
        throw common::FileError("「" + name + "」をPNG形式で書けません（" + sink.libpngMessage +
                                "）。元のファイルはそのままです。");
    };
    if (info == nullptr) {
        throw common::FileError("「" + name + "」をPNG形式で書けません（メモリが足りません）。");
    }
    png_set_write_fn(png, &sink, writeData, flushData);
    if (!writeHeader(png, info, drawing.width(), drawing.height()) || sink.failure) {
        failed();
    }

    // The image data, compressed in parts at the same time, in IDAT chunks; libpng writes
    // every chunk around them.
    bool first = true;
    auto idat = [&](const std::string& data) {
        std::string chunk;
        if (first) {
            chunk = "\x78\x01"; // the zlib header: deflate, 32 KiB window, fastest
            first = false;
        }
        chunk += data;
        if (!writeChunk(png, "IDAT", reinterpret_cast<const std::uint8_t*>(chunk.data()),
                        chunk.size()) ||
            sink.failure) {
            failed();
        }
    };
    std::vector<Part> parts = imageParts(drawing.height());
    const uLong adler = compressParts(drawing, glyphs, parts, bandBytes, idat);
    const std::uint8_t trailer[4] = {
        static_cast<std::uint8_t>(adler >> 24), static_cast<std::uint8_t>(adler >> 16),
        static_cast<std::uint8_t>(adler >> 8), static_cast<std::uint8_t>(adler)};
    if (!writeChunk(png, "IDAT", trailer, 4) || !writeChunk(png, "IEND", nullptr, 0) ||
        sink.failure) {
        failed();
    }
    file.commit();
}

} // namespace platform
