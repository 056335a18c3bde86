// The chart window on paper: "PDF保存" through the save dialog, "用紙設定" (what it says the
// setup gives the chart, what it refuses, that it is remembered per user and never in the
// data folder), the list chart's own setup with its guard, and "印刷": the preview and the
// pages the printer gets, their range included. Read back with poppler's tools.
#include "gui_fixture.h"

#include "app/tsubaki/chart_window.h"
#include "forms/tsubaki/page_setup_form.h"
#include "platform/page_settings.h"

#include "tests/support/poppler.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QTimer>

#include <functional>
#include <map>

namespace gui_test {
namespace {

// Every file below a folder with its contents.
std::map<std::string, std::string> folderContents(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) {
            out[fs::relative(e.path(), dir).string()] = common::readFile(e.path());
        }
    }
    return out;
}

class ChartPaper : public Gui {
protected:
    void SetUp() override {
        // The user's choices go to a folder of the test's own.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(config.path().string()));
        copySamples();
    }
    void drawSamples() {
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        click(form(1), "BUTTON_A21A"); // "作図開始"
        click(form(3), "BUTTON_A22A"); // "作図実行"
        ASSERT_TRUE(window().hasChart());
    }
    // The list chart through FORM10 and FORM11 (families 2 and 4 on the husband's side).
    void drawListChart() {
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        click(form(1), "BUTTON_A21A");
        ctl<QRadioButton>(form(3), "RADIO_A6A")->click(); // horizontal writing
        ctl<QCheckBox>(form(3), "CHECK46")->click();      // "法定相続情報一覧図作成"
        click(form(3), "BUTTON_A22A");
        click(form(9), "BUTTON46");
        dialogs.answerYes();
        dialogs.answerYes();
        dialogs.answerYes(); // "このまま作図" in the findings dialog
        click(form(10), "BUTTON48");
        ASSERT_TRUE(window().hasChart());
        ASSERT_EQ(window().chart()->kind, render::DrawingKind::ListChart);
    }
    app::ChartWindow& window() { return app::chartWindow(*app); }
    void trigger(const char* action) {
        auto* a = form(2).findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    // Runs `act` on the modal dialog that `open` shows, once it is shown.
    template <class Dialog>
    void onDialog(const std::function<void(Dialog&)>& act, const std::function<void()>& open) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            seen = true;
            act(*d);
        });
        open();
        EXPECT_TRUE(seen);
    }
    fs::path savePdf(const std::string& name = "図面.PDF") {
        const fs::path out = workDir.path() / name;
        dialogs.answerFile(out.string());
        trigger("PDF_F");
        return out;
    }
    std::string summaryOf(forms::PageSetupForm& f) {
        return s(ctl<QLabel>(f, "LABEL_SUMMARY")->text());
    }

    testing_support::TempDir config;
};

TEST_F(ChartPaper, SavesThePdfThroughTheSaveDialog) {
    drawSamples();
    const fs::path out = savePdf();
    EXPECT_EQ(dialogs.shown.back().text, "図面.PDF");
    ASSERT_TRUE(fs::exists(out));
    EXPECT_EQ(testing_support::pdfPages(out), 2); // A4 portrait by default
    const std::string text = testing_support::pdfText(out);
    EXPECT_NE(text.find("1 / 2"), std::string::npos);
    EXPECT_NE(testing_support::pdfInfo(out).find("(A4)"), std::string::npos);

    // Cancelled: nothing is written.
    fs::remove(out);
    dialogs.answerFile(std::nullopt);
    trigger("PDF_F");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ChartPaper, ThePageSetupSaysWhatItGivesAndIsRememberedOutsideTheFolder) {
    drawSamples();
    const std::map<std::string, std::string> folderBefore = folderContents(data.path());
    onDialog<forms::PageSetupForm>(
        [&](forms::PageSetupForm& f) {
            EXPECT_EQ(s(f.windowTitle()), "用紙設定");
            EXPECT_TRUE(ctl<QLabel>(f, "LABEL_GUARD")->isHidden()) << "not the list chart";
            EXPECT_EQ(summaryOf(f),
                      "この図面は A4 縦 2 枚、縮尺 48%（いちばん小さい文字 7.6 ポイント）");
            // Margins that leave no room on A4: said, and OK cannot be pressed.
            ctl<QDoubleSpinBox>(f, "SPIN_MARGIN_LEFT")->setValue(100);
            ctl<QDoubleSpinBox>(f, "SPIN_MARGIN_RIGHT")->setValue(100);
            EXPECT_NE(summaryOf(f).find("余白が大きすぎて"), std::string::npos);
            EXPECT_FALSE(ctl<QPushButton>(f, "BUTTON_OK")->isEnabled());
            ctl<QDoubleSpinBox>(f, "SPIN_MARGIN_LEFT")->setValue(20);
            ctl<QDoubleSpinBox>(f, "SPIN_MARGIN_RIGHT")->setValue(20);
            EXPECT_TRUE(ctl<QPushButton>(f, "BUTTON_OK")->isEnabled());
            ctl<QComboBox>(f, "COMBO_PAPER")->setCurrentIndex(1); // A3
            EXPECT_EQ(summaryOf(f).rfind("この図面は A3 縦 1 枚、縮尺 ", 0), 0u) << summaryOf(f);
            ctl<QRadioButton>(f, "RADIO_LANDSCAPE")->setChecked(true);
            ctl<QPushButton>(f, "BUTTON_OK")->click();
        },
        [&] { trigger("PAGE_SETUP"); });

    // Remembered for the user, and the PDF follows it.
    const render::PageSetup kept = platform::loadPageSetup(render::DrawingKind::FamilyChart);
    EXPECT_EQ(kept.paper, render::Paper::A3);
    EXPECT_EQ(kept.orientation, render::Orientation::Landscape);
    EXPECT_EQ(kept.margins.left, 20);
    EXPECT_EQ(kept.margins.top, 15);
    EXPECT_EQ(platform::pageSettingsFile().toStdString().rfind(config.path().string(), 0), 0u);
    const fs::path out = savePdf();
    const std::string info = testing_support::pdfInfo(out);
    EXPECT_NE(info.find("1191 x 842 pts (A3)"), std::string::npos) << info;
    // The data folder is as it was (the PDF went elsewhere).
    EXPECT_EQ(folderContents(data.path()), folderBefore);

    // Cancelled: the choice stays; "初期値に戻す" then OK gives the defaults back.
    onDialog<forms::PageSetupForm>(
        [&](forms::PageSetupForm& f) {
            EXPECT_EQ(ctl<QComboBox>(f, "COMBO_PAPER")->currentIndex(), 1);
            EXPECT_TRUE(ctl<QRadioButton>(f, "RADIO_LANDSCAPE")->isChecked());
            ctl<QComboBox>(f, "COMBO_PAPER")->setCurrentIndex(3);
            ctl<QPushButton>(f, "BUTTON_CANCEL")->click();
        },
        [&] { trigger("PAGE_SETUP"); });
    EXPECT_EQ(platform::loadPageSetup(render::DrawingKind::FamilyChart).paper, render::Paper::A3);
    onDialog<forms::PageSetupForm>(
        [&](forms::PageSetupForm& f) {
            ctl<QPushButton>(f, "BUTTON_RESET")->click();
            EXPECT_EQ(ctl<QComboBox>(f, "COMBO_PAPER")->currentIndex(), 0);
            EXPECT_EQ(ctl<QDoubleSpinBox>(f, "SPIN_MARGIN_LEFT")->value(), 15);
            ctl<QPushButton>(f, "BUTTON_OK")->click();
        },
        [&] { trigger("PAGE_SETUP"); });
    EXPECT_EQ(platform::loadPageSetup(render::DrawingKind::FamilyChart), render::PageSetup{});
}

TEST_F(ChartPaper, TheListChartHasItsOwnSetupWithTheGuard) {
    render::PageSetup a3;
    a3.paper = render::Paper::A3;
    platform::savePageSetup(render::DrawingKind::FamilyChart, a3);
    drawListChart();
    onDialog<forms::PageSetupForm>(
        [&](forms::PageSetupForm& f) {
            EXPECT_FALSE(ctl<QLabel>(f, "LABEL_GUARD")->isHidden());
            EXPECT_EQ(ctl<QComboBox>(f, "COMBO_PAPER")->currentIndex(),
                      0); // A4, not the family chart's A3
            EXPECT_TRUE(ctl<QRadioButton>(f, "RADIO_PORTRAIT")->isChecked());
            EXPECT_EQ(summaryOf(f).rfind("この図面は A4 縦 2 枚、縮尺 59%", 0), 0u) << summaryOf(f);
            ctl<QPushButton>(f, "BUTTON_OK")->click();
        },
        [&] { trigger("PAGE_SETUP"); });
    const fs::path out = savePdf();
    const int pages = testing_support::pdfPages(out);
    ASSERT_EQ(pages, 2);
    for (int n = 1; n <= pages; ++n) {
        const testing_support::GreyPage page =
            testing_support::renderPage(out, n, 100, workDir.path());
        EXPECT_TRUE(page.inkIn(15, 15, 195, 246)) << n;
        EXPECT_FALSE(page.inkIn(0, 297 - 50, 210, 297)) << n;
    }
    EXPECT_NE(testing_support::pdfInfo(out).find("法定相続情報一覧図"), std::string::npos);
    // The family chart's setup is still its own.
    EXPECT_EQ(platform::loadPageSetup(render::DrawingKind::FamilyChart).paper, render::Paper::A3);
    EXPECT_EQ(platform::loadPageSetup(render::DrawingKind::ListChart).bottomGuard, 50);
}

TEST_F(ChartPaper, PrintingShowsThePreviewAndPrintsThePagesAsked) {
    drawSamples();
    onDialog<QPrintPreviewDialog>(
        [&](QPrintPreviewDialog& d) {
            EXPECT_EQ(s(d.windowTitle()), "印刷プレビュー");
            auto* preview = d.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(preview, nullptr);
            EXPECT_EQ(preview->pageCount(), 2);
            d.reject();
        },
        [&] { trigger("PRINT"); });

    // What the printer gets: the pages as planned, on the setup's sheet, only those of the
    // range when one is chosen.
    const fs::path out = workDir.path() / "printed.pdf";
    QPrinter printer(QPrinter::HighResolution);
    window().paper().preparePrinter(printer, *window().chart());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(out.string()));
    ASSERT_TRUE(window().paper().printTo(printer, *window().chart()));
    EXPECT_EQ(testing_support::pdfPages(out), 2);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    ASSERT_TRUE(window().paper().printTo(printer, *window().chart()));
    EXPECT_EQ(testing_support::pdfPages(out), 1);
    EXPECT_NE(testing_support::pdfText(out).find("2 / 2"), std::string::npos);
    // Turned to landscape (as the preview can): planned again for that sheet.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(window().paper().printTo(printer, *window().chart()));
    EXPECT_NE(testing_support::pdfInfo(out).find("842 x 595"), std::string::npos);
    EXPECT_TRUE(dialogs.messages().empty());
}

} // namespace
} // namespace gui_test
