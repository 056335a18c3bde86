// Pictures of the chart side for scripts/screenshot: FORM4 as "作図開始" opens it on the
// samples, and FORM3 with the samples' chart in vertical and in horizontal writing, with the
// whole charts beside them. Nothing is saved: the charts are drawn with the settings in
// memory, without the save points of "作図実行".
#include "app/tsubaki/chart_handlers.h"

#include "app/tsubaki/chart_window.h"
#include "app/tsubaki/screenshots.h"
#include "app/tsubaki/tsubaki_app.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form4.h"
#include "platform/qt_text.h"

#include <QDir>

#include <iostream>

using platform::toQString;
using platform::toUtf8;

namespace app {

namespace {

// The chart of the present settings in FORM3 at 100%, fitted whole ("全体表示") and with
// 山田一郎 found ("人物を検索"), and the whole chart as a PNG.
bool snapChart(TsubakiApp& app, const QDir& dir, const QString& name) {
    if (!app.charts().draw(false)) {
        std::cerr << "tsubaki: the chart of " << toUtf8(name) << " was not drawn\n";
        return false;
    }
    // The window as it opens on the screen, the settings dialog behind it.
    bool ok = snapScreen(dir, "screen_chart_" + name);
    app.form3().resize(1100, 800);
    ChartWindow& window = chartWindow(app);
    ok = snapForm(&app.form3(), dir, "form3_" + name) && ok;
    // The whole chart fitted in, a person found and marked, then back to 100%.
    window.fitWhole();
    ok = snapForm(&app.form3(), dir, "form3_" + name + "_whole") && ok;
    window.actualSize();
    if (window.findPerson("山田一郎")) {
        ok = snapForm(&app.form3(), dir, "form3_" + name + "_search") && ok;
    }
    return saveChartPicture(&window, dir, "chart_" + name) && ok;
}

} // namespace

bool saveChartScreenshots(TsubakiApp& app, const std::string& folder) {
    const QDir dir(toQString(folder));
    if (app.data().reg.familyCount() < 1 || !app.onFamilyFormOpened) {
        return true;
    }
    for (QWidget* f : app.allForms()) {
        f->hide();
    }
    app.form2().show();
    app.onFamilyFormOpened();
    app.dispatch(EventCode::BUTTON_A21A_ON); // "作図開始"
    bool ok = snapForm(&app.form4(), dir, "form4_chart_settings");
    ok = snapScreen(dir, "screen_form4") && ok;

    core::DrawingSettings& settings = app.data().settings;
    const core::DrawingSettings kept = settings;
    settings.縦書き = true;
    settings.横書き = false;
    ok = snapChart(app, dir, "vertical") && ok;
    // "横書き" as the user clicks it, and the settings in memory to match.
    app.form4().clickWritingDirection(false);
    settings.縦書き = false;
    settings.横書き = true;
    ok = snapForm(&app.form4(), dir, "form4_horizontal") && ok;
    ok = snapChart(app, dir, "horizontal") && ok;
    settings = kept;
    return ok;
}

} // namespace app
