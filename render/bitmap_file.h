// "図面.BMP" from a recorded drawing: an 8-bit bitmap with the sixteen palette colours, rows
// bottom-up and padded to four bytes, 96 dots per inch, written band by band through the
// atomic replace. A byte holds the palette index XOR 15 and the colour table lists the
// palette in that order (white first), as the program has always written it. A file of
// more than 4 GiB (a chart of tens of thousands of persons) cannot give its size in the
// header's 32-bit fields: they are 0 then, the value the format allows for an unknown size
// (readers take the size from the width and height).
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/raster.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace render {

// The size of the file for a chart of width × height pixels.
std::uint64_t bmpFileSize(int width, int height);

// The file's header and colour table.
std::string bmpHeader(int width, int height);

// Writes the drawing as a BMP file. Throws common::FileError (the old file stays whole).
void writeBmp(const Drawing& drawing, GlyphSource& glyphs, const std::filesystem::path& path,
              std::size_t bandBytes = kAutomaticBand);

} // namespace render
