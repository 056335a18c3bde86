// The chart window's paper: "PDF保存" (through the save dialog, "図面.PDF"), "印刷" (Qt's print
// preview, from which Qt's print dialog prints) and "用紙設定" (PAGESETUP, which shows what the
// setup gives the chart shown: sheets, scale, the smallest text; render/page_setup_summary.h).
// All three use the page setup remembered per user for the kind of chart shown
// (platform/page_settings.h), planned by render::planPages and painted by
// platform::paintPages, the same replay for the PDF and the printer.
#pragma once

#include "common/dialogs.h"
#include "render/drawing.h"
#include "render/glyphs.h"
#include "render/page_setup.h"

#include <filesystem>

class QPrinter;
class QWidget;

namespace app {

class ChartPaper {
public:
    ChartPaper(QWidget& window, common::Dialogs& dialogs, render::GlyphSource& glyphs);

    // The setup of charts of `kind`: the user's last choice, else the default.
    render::PageSetup setupFor(render::DrawingKind kind) const;

    // "PDF保存": the whole chart as planned, through the save dialog. False when nothing was
    // saved (cancelled, or an error that was shown).
    bool savePdf(const render::Drawing& drawing, const std::filesystem::path& folder);

    // "印刷": the print preview of the pages (modal). True when they were printed.
    bool print(const render::Drawing& drawing);
    // The pages planned for the printer's sheet, those of its page range (all when none is
    // chosen), painted on `printer`. False, after a message, when they cannot be planned.
    bool printTo(QPrinter& printer, const render::Drawing& drawing);
    // The printer "印刷" starts from: the setup's sheet, full page (the plan keeps the margins).
    void preparePrinter(QPrinter& printer, const render::Drawing& drawing) const;

    // "用紙設定" for charts of `kind` (`drawing`, when one is shown, for the summary). True
    // when the user confirmed a setup, which is then remembered.
    bool editPageSetup(render::DrawingKind kind, const render::Drawing* drawing);

private:
    QWidget& window_;
    common::Dialogs& dialogs_;
    render::GlyphSource& glyphs_;
};

} // namespace app
