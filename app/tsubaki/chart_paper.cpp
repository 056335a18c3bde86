#include "app/tsubaki/chart_paper.h"

#include "common/file_io.h"
#include "forms/tsubaki/page_setup_form.h"
#include "platform/page_settings.h"
#include "platform/paper_painter.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "ui_page_setup_form.h"

#include <algorithm>
#include <cstdio>

using platform::toQString;

namespace app {

namespace {

constexpr render::Paper kPapers[] = {render::Paper::A4, render::Paper::A3, render::Paper::B4,
                                     render::Paper::B5};

render::PageSetup defaultsOf(render::DrawingKind kind) {
    return kind == render::DrawingKind::ListChart ? render::listChartDefaults()
                                                  : render::PageSetup{};
}

std::string points(double p) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", p);
    return text;
}

void showSetup(Ui::PAGESETUP& ui, const render::PageSetup& s) {
    for (int i = 0; i < 4; ++i) {
        if (kPapers[i] == s.paper) {
            ui.COMBO_PAPER->setCurrentIndex(i);
        }
    }
    ui.RADIO_PORTRAIT->setChecked(s.orientation == render::Orientation::Portrait);
    ui.RADIO_LANDSCAPE->setChecked(s.orientation == render::Orientation::Landscape);
    ui.SPIN_MARGIN_TOP->setValue(s.margins.top);
    ui.SPIN_MARGIN_BOTTOM->setValue(s.margins.bottom);
    ui.SPIN_MARGIN_LEFT->setValue(s.margins.left);
    ui.SPIN_MARGIN_RIGHT->setValue(s.margins.right);
    ui.SPIN_MIN_FONT->setValue(s.minFontPoints);
    ui.CHECK_ONE_PAGE->setChecked(s.onePage);
}

render::PageSetup readSetup(const Ui::PAGESETUP& ui, render::PageSetup s) {
    s.paper = kPapers[std::clamp(ui.COMBO_PAPER->currentIndex(), 0, 3)];
    s.orientation = ui.RADIO_LANDSCAPE->isChecked() ? render::Orientation::Landscape
                                                    : render::Orientation::Portrait;
    s.margins = {ui.SPIN_MARGIN_TOP->value(), ui.SPIN_MARGIN_RIGHT->value(),
                 ui.SPIN_MARGIN_BOTTOM->value(), ui.SPIN_MARGIN_LEFT->value()};
    s.minFontPoints = ui.SPIN_MIN_FONT->value();
    s.onePage = ui.CHECK_ONE_PAGE->isChecked();
    return s;
}

} // namespace

ChartPaper::ChartPaper(QWidget& window, common::Dialogs& dialogs, render::GlyphSource& glyphs)
    : window_(window), dialogs_(dialogs), glyphs_(glyphs) {}

render::PageSetup ChartPaper::setupFor(render::DrawingKind kind) const {
    return platform::loadPageSetup(kind);
}

std::string ChartPaper::summary(const render::PageSetup& setup, const render::Drawing& drawing) {
    try {
        const render::PagePlan plan = render::planPages(render::pageContentOf(drawing), setup);
        std::string text = render::planSummary(setup, plan);
        if (plan.textPoints > 0) {
            text += "（いちばん小さい文字 " + points(plan.textPoints) + " ポイント";
            if (!plan.legible) {
                text += "、" + points(setup.minFontPoints) + " ポイントより小さい";
            }
            text += "）";
        }
        return text;
    } catch (const render::PaperError& e) {
        return e.what();
    }
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
    forms::PageSetupForm form(&window_);
    Ui::PAGESETUP& ui = form.ui();
    const render::PageSetup defaults = defaultsOf(kind);
    const render::PageSetup before = setupFor(kind);
    showSetup(ui, before);
    ui.LABEL_GUARD->setVisible(kind == render::DrawingKind::ListChart);
    const auto update = [&] {
        const render::PageSetup s = readSetup(ui, defaults);
        const std::string wrong = render::checkPageSetup(s);
        ui.BUTTON_OK->setEnabled(wrong.empty());
        ui.LABEL_SUMMARY->setStyleSheet(wrong.empty() ? QString()
                                                      : QStringLiteral("color: #c00000"));
        if (!wrong.empty()) {
            ui.LABEL_SUMMARY->setText(toQString(wrong));
        } else if (drawing != nullptr) {
            ui.LABEL_SUMMARY->setText(toQString("この図面は " + summary(s, *drawing)));
        } else {
            ui.LABEL_SUMMARY->clear();
        }
    };
    for (QDoubleSpinBox* spin : {ui.SPIN_MARGIN_TOP, ui.SPIN_MARGIN_BOTTOM, ui.SPIN_MARGIN_LEFT,
                                 ui.SPIN_MARGIN_RIGHT, ui.SPIN_MIN_FONT}) {
        QObject::connect(spin, &QDoubleSpinBox::valueChanged, &form, update);
    }
    QObject::connect(ui.COMBO_PAPER, &QComboBox::currentIndexChanged, &form, update);
    QObject::connect(ui.RADIO_LANDSCAPE, &QRadioButton::toggled, &form, update);
    QObject::connect(ui.CHECK_ONE_PAGE, &QCheckBox::toggled, &form, update);
    QObject::connect(ui.BUTTON_RESET, &QPushButton::clicked, &form, [&] {
        showSetup(ui, defaults);
        update();
    });
    update();
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    const render::PageSetup chosen = readSetup(ui, defaults);
    if (!render::checkPageSetup(chosen).empty()) {
        return false;
    }
    platform::savePageSetup(kind, chosen);
    return true;
}

} // namespace app
