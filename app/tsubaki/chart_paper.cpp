#include "app/tsubaki/chart_paper.h"

#include "common/file_io.h"
#include "forms/tsubaki/page_setup_form.h"
#include "platform/page_settings.h"
#include "platform/paper_painter.h"
#include "platform/qt_text.h"
#include "render/page_setup_summary.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

using platform::toQString;

namespace app {

ChartPaper::ChartPaper(QWidget& window, common::Dialogs& dialogs, render::GlyphSource& glyphs)
    : window_(window), dialogs_(dialogs), glyphs_(glyphs) {}

render::PageSetup ChartPaper::setupFor(render::DrawingKind kind) const {
    return platform::loadPageSetup(kind);
}

bool ChartPaper::savePdf(const render::Drawing& drawing, const std::filesystem::path& folder) {
    const render::PageSetup setup = setupFor(drawing.kind);
    render::PagePlan plan;
    try {
        plan = render::planPages(render::pageContentOf(drawing), setup);
    } catch (const render::PaperError& e) {
        common::STOP_SUB(dialogs_, "保存できません", e.what());
        return false;
    }
    const auto path =
        dialogs_.saveFile("名前を付けて保存", folder.string(), "図面.PDF", "PDF形式(*.PDF)");
    if (!path) {
        return false;
    }
    try {
        platform::writePdf(drawing, glyphs_, plan, std::filesystem::path(*path));
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "保存できません", e.what());
        return false;
    }
    return true;
}

void ChartPaper::preparePrinter(QPrinter& printer, const render::Drawing& drawing) const {
    const render::PageSetup setup = setupFor(drawing.kind);
    printer.setFullPage(true);
    printer.setPageLayout(platform::pageLayoutOf(setup.sheet()));
    printer.setDocName(toQString(render::drawingKindName(drawing.kind)));
    printer.setCreator(QStringLiteral("tsubaki"));
}

bool ChartPaper::printTo(QPrinter& printer, const render::Drawing& drawing) {
    render::PagePlan plan;
    try {
        // On the printer's sheet: the preview may have turned it.
        plan = render::planPages(render::pageContentOf(drawing), setupFor(drawing.kind),
                                 platform::sheetOf(printer.pageLayout()));
    } catch (const render::PaperError& e) {
        common::STOP_SUB(dialogs_, "印刷できません", e.what());
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        common::STOP_SUB(dialogs_, "印刷できません", "プリンタに印刷を始められませんでした。");
        return false;
    }
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    platform::paintPages(painter, printer, drawing, glyphs_, plan, range ? printer.fromPage() : 1,
                         range ? printer.toPage() : 0);
    painter.end();
    return true;
}

bool ChartPaper::print(const render::Drawing& drawing) {
    try {
        render::planPages(render::pageContentOf(drawing), setupFor(drawing.kind));
    } catch (const render::PaperError& e) {
        common::STOP_SUB(dialogs_, "印刷できません", e.what());
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, drawing);
    QPrintPreviewDialog preview(&printer, &window_);
    preview.setObjectName("PRINT_PREVIEW");
    preview.setWindowTitle("印刷プレビュー");
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* p) { printTo(*p, drawing); });
    return preview.exec() == QDialog::Accepted;
}

bool ChartPaper::editPageSetup(render::DrawingKind kind, const render::Drawing* drawing) {
    forms::PageSetupForm form(&window_, render::defaultPageSetup(kind),
                              kind == render::DrawingKind::ListChart);
    form.showSetup(setupFor(kind));
    const auto update = [&] { form.showVerdict(render::pageSetupVerdict(form.setup(), drawing)); };
    QObject::connect(&form, &forms::PageSetupForm::setupChanged, &form, update);
    update();
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    const render::PageSetup chosen = form.setup();
    if (!render::checkPageSetup(chosen).empty()) {
        return false;
    }
    platform::savePageSetup(kind, chosen);
    return true;
}

} // namespace app
