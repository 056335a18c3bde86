// Charts: the module "charts" of the event table puts the chart settings dialog FORM4 and the
// chart window FORM3 behind their event codes: "作図開始" of FORM2 (BUTTON_A21A_ON) and of
// MAINFORM (BUTTON39_ON), the hidden-family list and its buttons (LIST_A5A_CLICK,
// BUTTON_A31A_ON, BUTTON_A32A_ON, BUTTON_A33A_ON), "作図実行" (BUTTON_A22A_ON), "テキスト化"
// (BUTTON37_ON), "キャンセル" (BUTTON_A23A_ON), and the centre-side question when the base
// family is chosen (COMBO_A5A_CHANGE, through the family editor's baseFamilyChosen).
//
// "作図実行" and "テキスト化" store the dialog into the drawing settings, ask the centre-side
// question when the base family's lineage is not set, save the settings, the person register
// and the family register (in this order), and draw (render/chart_run.h). With
// "相続関係説明図にする" or "法定相続情報一覧図作成" chosen, the run goes on in the legal charts
// (legal_handlers.h), whose dialogs FORM8, FORM10 and FORM11 come first and then call draw()
// with their headings.
#pragma once

#include "app/tsubaki/chart_window.h"

#include <memory>
#include <string>

namespace core {
struct Registers;
struct DrawingSettings;
} // namespace core

namespace render {
class ChartHeadings;
}

namespace app {

class TsubakiApp;

// What a legal chart is drawn from when it is not the program's registers and settings as
// they are (the list chart draws a rewritten copy of the registers).
struct ChartSource {
    const core::Registers* registers = nullptr;      // null: the program's registers
    const core::DrawingSettings* settings = nullptr; // null: the program's settings
    int applicant = 0; // the list chart's applicant when an heir ("（申出人）")
};

// The chart side of the program: the settings dialog's save points, the centre-side question
// and the chart window. TsubakiApp holds one.
class Charts {
public:
    explicit Charts(TsubakiApp& app);
    ~Charts();

    ChartWindow& window() { return *window_; }

    // The family the chart is drawn for: the base family, else the current one
    // (layout::defaultBaseFamily); 0 for none.
    int baseFamily() const;
    // The same, or 0 after the message that no family is chosen to be drawn.
    int baseFamilyToDraw();

    // The centre-side question for `family` when its lineage is not set. The answer goes
    // into FORM6's lineage buttons when the family is the one FORM6 shows (through the
    // family editor, inside its operation when `insideFamilyOperation`), and into 系統_F.
    void ensureLineage(int family, bool insideFamilyOperation);
    // The answer to a centre-side question about the base family, kept as ensureLineage
    // keeps it.
    void keepLineage(int family, bool husbandSide, bool insideFamilyOperation);

    // "作図開始": FORM4 loaded from the settings and prepared, with its hidden-family list.
    void open();
    // The hidden-family list's selection into the settings, and back onto the list.
    void readHiddenFamilies();
    void hideAllFamilies();   // "全部選択"
    void showAllFamilies();   // "全部解除"
    void releaseDirectLine(); // "直系子孫の解除"
    // "作図実行" (false) and "テキスト化" (true).
    void start(bool textMode);
    // Draws the chart of the present settings and shows it in FORM3 (in text mode, then the
    // export of "図面.TXT"). The registers are not changed. False (after a message) when the
    // chart could not be drawn.
    bool draw(bool textMode, render::ChartHeadings* headings = nullptr,
              const ChartSource& source = {});
    // "キャンセル": the controls kept in the settings and saved, back to family editing.
    void cancel();
    // The base family chosen in FORM2 (0: the choice was cleared).
    void baseFamilyChosen(int family);

private:
    bool storeRun();

    TsubakiApp& app_;
    std::unique_ptr<ChartWindow> window_;
};

// For scripts/screenshot: FORM4 opened by "作図開始" (form4_chart_settings.png, and
// form4_horizontal.png after "横書き"), FORM3 with the data folder's chart in vertical and
// horizontal writing (form3_vertical.png, form3_horizontal.png) and the whole charts
// (chart_vertical.png, chart_horizontal.png). Writes no register. False when a picture
// could not be made.
bool saveChartScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
