// A recorded drawing on paper: the pages of a page plan (render/page_setup.h) painted with
// QPainter on a paged device, one replay for the PDF (QPdfWriter) and the printer (QPrinter,
// full page). Text is drawn as text in the chart font (IPA明朝 for "ＭＳ 明朝"), so that a PDF
// embeds a subset of it and its names can be searched and copied; lines are paths one chart
// pixel wide (never thinner than 0.1 mm), dotted ones one pixel in three; every operation
// keeps its clip and its background, and a placed block covers what lies under it, as in the
// bitmap. Colours are the palette's (text and lines black).
#pragma once

#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/page_setup.h"

#include <QPageLayout>

#include <filesystem>

class QPagedPaintDevice;
class QPainter;

namespace platform {

// The layout of a sheet with no margins of its own (the plan keeps its margins).
QPageLayout pageLayoutOf(const render::Sheet& sheet);
// The sheet of a device's layout (a printer may have its own paper).
render::Sheet sheetOf(const QPageLayout& layout);

// Paints pages `from` to `to` (1-based, inclusive; 0 for the last) of `plan` on `device`,
// with `painter` begun on it; a new page is started between two pages. `glyphs` tells where
// a text's ink lies (to clip only what reaches outside its box).
void paintPages(QPainter& painter, QPagedPaintDevice& device, const render::Drawing& drawing,
                render::GlyphSource& glyphs, const render::PagePlan& plan, int from = 1,
                int to = 0);

// The drawing as a PDF file, page by page as planned, through the atomic replace: a write
// that fails leaves the old file whole. Throws common::FileError.
void writePdf(const render::Drawing& drawing, render::GlyphSource& glyphs,
              const render::PagePlan& plan, const std::filesystem::path& path);

} // namespace platform
