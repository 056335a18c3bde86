// A recorded drawing as a PNG file: a 4-bit palette image with the sixteen palette colours,
// through the atomic replace. The rows come band by band from the drawing (never a whole
// image in memory); the image's rows are cut into one part per processor, each part's bands
// painted and deflated at the same time (the parts make one stream), and libpng writes the
// file's chunks around them.
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/raster.h"

#include <filesystem>

namespace platform {

// Throws common::FileError (the old file stays whole).
void writePng(const render::Drawing& drawing, render::GlyphSource& glyphs,
              const std::filesystem::path& path, std::size_t bandBytes = render::kAutomaticBand);

} // namespace platform
