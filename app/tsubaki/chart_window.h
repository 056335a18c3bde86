// The chart window FORM3 "系図の表示": shows the chart canvas of the last drawing in
// PICTURE1 with the scroll bars, the corner button and drag-to-pan that render::ChartView
// computes, and saves the chart as "図面.BMP" or, after a text-mode drawing, the text drawing
// as "図面.TXT". The window's resize, scrolling, mouse, corner button and menu act at once,
// without the dispatch table.
#pragma once

#include "common/dialogs.h"
#include "platform/chart_image.h"
#include "render/text_canvas.h"
#include "render/view_geometry.h"

#include <QObject>

#include <filesystem>
#include <memory>

namespace forms {
class Form3;
}

namespace app {

class TsubakiApp;

class ChartWindow : public QObject {
public:
    ChartWindow(forms::Form3& form, common::Dialogs& dialogs, std::filesystem::path folder);

    // A new drawing: the window shows it from its top-left corner (CG_ON_SUB after the view
    // state was reset). `text` is the text canvas of a text-mode drawing, else null.
    void showChart(std::unique_ptr<platform::ChartImage> chart,
                   std::unique_ptr<render::TextCanvas> text = nullptr);
    bool hasChart() const { return chart_ != nullptr; }
    // Forgets the chart shown (a new drawing makes its chart anew, in the same memory).
    void clearChart();
    const platform::ChartImage* chart() const { return chart_.get(); }
    const render::TextCanvas* text() const { return text_.get(); }
    const render::ChartView& view() const { return view_; }

    // CG_ON_SUB: WIN_SAIZU_SUB for the present client size, then the repaint.
    void layOut();
    // CG_UP_SUB: the visible part of the chart into PICTURE1.
    void repaint();

    // "ＢＭＰファイル化": the whole chart, through the save dialog. False when nothing was saved
    // (cancelled, no chart, or an error that was shown).
    bool saveBitmap();
    // The text drawing of the last text-mode drawing, through the save dialog.
    bool exportText();

    // Where the data folder is (the save dialogs start there).
    void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyLayout();
    void syncBarPositions();

    forms::Form3& form_;
    common::Dialogs& dialogs_;
    std::filesystem::path folder_;
    render::ChartView view_;
    std::unique_ptr<platform::ChartImage> chart_;
    std::unique_ptr<render::TextCanvas> text_;
    bool applying_ = false;
};

// The chart window of `app` (made by the chart handler module).
ChartWindow& chartWindow(TsubakiApp& app);

} // namespace app
