// Charts: the module "charts" of the event table puts the chart settings dialog FORM4 and the chart
// window FORM3 behind their event codes: "作図開始" of FORM2 (37) and of MAINFORM (57), the
// hidden-family list and its buttons (38, 40, 41, 42), "作図実行" (44), "テキスト化" (53),
// "キャンセル" (45), and the centre-side question when the base family is chosen (39, through the
// family editor's baseFamilyChosen).
//
// "作図実行" and "テキスト化" store the dialog into the drawing settings, ask the centre-side
// question when the base family's lineage is not set, save the settings, the person register
// and the family register (in this order), and draw (render/chart_run.h). The legal chart
// forms hook in at one place: with "相続関係説明図にする" or "法定相続情報一覧図作成" chosen, the
// run is handed to the start set by setLegalChartStart (their dialogs FORM8, FORM10 and
// FORM11 come first and then call drawChartNow with their headings).
#pragma once

#include <functional>
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

// Draws the chart of the present settings and shows it in FORM3 (in text mode, then the
// export of "図面.TXT"). The registers are not changed. False (after a message) when the
// chart could not be drawn.
bool drawChartNow(TsubakiApp& app, bool textMode, render::ChartHeadings* headings = nullptr,
                  const ChartSource& source = {});

// Where "作図実行" and "テキスト化" go when a legal chart form is chosen; the argument tells
// text mode.
void setLegalChartStart(TsubakiApp& app, std::function<void(bool textMode)> start);

// For scripts/screenshot: FORM4 opened by "作図開始" (form4_chart_settings.png, and
// form4_horizontal.png after "横書き"), FORM3 with the data folder's chart in vertical and
// horizontal writing (form3_vertical.png, form3_horizontal.png) and the whole charts
// (chart_vertical.png, chart_horizontal.png). Writes no register. False when a picture
// could not be made.
bool saveChartScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
