#include "platform/png_file.h"

#include "common/file_io.h"

#include <png.h>

#include <csetjmp>
#include <exception>
#include <string>

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
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
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
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    return true;
}

bool writeRows(png_structp png, const std::uint8_t* pixels, int rows, int width) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    for (int r = 0; r < rows; ++r) {
        png_write_row(png, pixels + static_cast<std::size_t>(r) * static_cast<std::size_t>(width));
    }
    return true;
}

bool writeEnd(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_write_end(png, info);
    return true;
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
    render::Rasteriser raster(drawing, glyphs);
    render::paintBands(
        raster, drawing, false,
        [&](const render::Band& band) {
            if (!writeRows(png, band.pixels, band.rows, band.width) || sink.failure) {
                failed();
            }
        },
        bandBytes);
    if (!writeEnd(png, info) || sink.failure) {
        failed();
    }
    file.commit();
}

} // namespace platform
