// A recorded drawing as a PNG file: 8-bit palette image with the sixteen palette colours,
// written row by row with libpng from the bands of the drawing (never a whole image in
// memory) through the atomic replace.
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/raster.h"

#include <filesystem>

namespace platform {

// Throws common::FileError (the old file stays whole).
void writePng(const render::Drawing& drawing, render::GlyphSource& glyphs,
              const std::filesystem::path& path, std::size_t bandBytes = render::kBandBytes);

} // namespace platform
