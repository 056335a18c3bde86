// The chart window FORM3 "系図の表示": shows the recorded drawing of the last chart at any
// zoom, painting only what is visible from tiles rasterised at that zoom
// (render/view_raster.h), with the scroll bars, the corner button and drag-to-pan that
// render::ChartView computes for the chart's size at the zoom. Its tool bar zooms in and
// out (also Ctrl + mouse wheel, Ctrl++ and Ctrl+−; render/view_zoom.h), fits the whole chart
// or its width, goes back to 100% and finds a person by name or number
// (render/person_search.h). The window saves the chart as "図面.BMP" or, after a text-mode
// drawing, the text drawing as "図面.TXT", and puts it on paper: "PDF保存", "印刷" and
// "用紙設定" (app/tsubaki/chart_paper.h). The form's actions (forms/tsubaki/form3.h) act at
// once, without the dispatch table.
#pragma once

#include "app/tsubaki/chart_paper.h"
#include "common/dialogs.h"
#include "platform/qt_glyphs.h"
#include "render/drawing.h"
#include "render/text_canvas.h"
#include "render/view_geometry.h"
#include "render/view_raster.h"

#include <QImage>
#include <QObject>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace forms {
class Form3;
}

namespace app {

class TsubakiApp;

class ChartWindow : public QObject {
public:
    ChartWindow(forms::Form3& form, common::Dialogs& dialogs, std::filesystem::path folder);
    ~ChartWindow() override;

    // The text of every drawing shown here: each glyph is rendered once for the program.
    render::GlyphSource& glyphs() { return glyphs_; }

    // A new drawing: the window opens at 100% on the chart's beginning (the top right in
    // vertical writing, the top left in horizontal writing). `text` is the text canvas of
    // a text-mode drawing, else null; `persons` are the blocks the search finds.
    void showChart(std::shared_ptr<const render::Drawing> chart,
                   std::unique_ptr<render::TextCanvas> text = nullptr,
                   std::vector<render::DrawnPerson> persons = {});
    bool hasChart() const { return chart_ != nullptr; }
    // Forgets the chart shown.
    void clearChart();
    const render::Drawing* chart() const { return chart_.get(); }
    // The person blocks of the chart shown, in drawing order.
    const std::vector<render::DrawnPerson>& persons() const { return persons_; }
    const render::TextCanvas* text() const { return text_.get(); }
    const render::ChartView& view() const { return view_; }

    // The zoom: 1 is the chart's own pixels (100%).
    double zoom() const { return zoom_; }
    // Zooms keeping the chart point under (x, y) of PICTURE1 where it is (the centre of
    // the view when x < 0).
    void setZoom(double zoom, int x = -1, int y = -1);
    void zoomIn();
    void zoomOut();
    void fitWhole(); // "全体表示"
    void fitWidth(); // "幅に合わせる"
    // "100%"
    void actualSize() { setZoom(1.0); }
    // The zoom as the tool bar shows it ("100%").
    std::string zoomText() const;

    // "人物を検索": the blocks whose person number is `query` (a number) or whose name
    // holds it, in reading order; the view centres on the first and marks it. The same
    // query again goes to the next match. False, after a message, when nothing matches.
    bool findPerson(const std::string& query);
    // The block marked by the last search (chart pixels), if any.
    const render::Box* marked() const;

    // CG_ON_SUB: WIN_SAIZU_SUB for the present client size, then the repaint.
    void layOut();
    // CG_UP_SUB: the visible part of the chart into PICTURE1.
    void repaint();
    // The visible part as painted, without the search mark (for tests).
    QImage visibleImage() const;

    // "ＢＭＰファイル化": the whole chart, through the save dialog. False when nothing was saved
    // (cancelled, no chart, or an error that was shown).
    bool saveBitmap();
    // The text drawing of the last text-mode drawing, through the save dialog.
    bool exportText();

    // "PDF保存", "印刷" and "用紙設定" for the chart shown (ChartPaper); "用紙設定" without a
    // chart sets up the family chart's paper.
    bool savePdf();
    bool print();
    bool editPageSetup();
    ChartPaper& paper() { return paper_; }

    // Where the data folder is (the save dialogs start there).
    void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }

private:
    void connectForm();
    void applyLayout();
    void syncBarPositions();
    void showZoom();
    void mouseMoved(int x, int y, bool leftButtonDown);

    forms::Form3& form_;
    common::Dialogs& dialogs_;
    std::filesystem::path folder_;
    platform::QtGlyphs glyphs_;
    ChartPaper paper_;
    render::ChartView view_;
    std::shared_ptr<const render::Drawing> chart_;
    std::unique_ptr<render::ViewRaster> raster_;
    std::unique_ptr<render::TextCanvas> text_;
    std::vector<render::DrawnPerson> persons_;
    double zoom_ = 1.0;
    bool applying_ = false;
    std::string lastQuery_;
    std::vector<std::size_t> matches_;
    std::size_t match_ = 0;
    bool marking_ = false;
};

// The chart window of `app` (held by its charts, chart_handlers.h).
ChartWindow& chartWindow(TsubakiApp& app);

} // namespace app
