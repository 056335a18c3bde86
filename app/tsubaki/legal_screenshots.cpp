// Pictures of the legal chart side for scripts/screenshot (legal_handlers.h): FORM8, FORM10
// and FORM11 as the charts open them, the charts themselves and the findings dialog. Nothing
// is saved: the settings and the registers are put back as they were.
#include "app/tsubaki/legal_handlers.h"

#include "app/tsubaki/chart_handlers.h"
#include "app/tsubaki/chart_window.h"
#include "app/tsubaki/screenshots.h"
#include "app/tsubaki/tsubaki_app.h"
#include "forms/tsubaki/form10.h"
#include "forms/tsubaki/form11.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form8.h"
#include "platform/qt_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QTimer>

#include <iostream>

using platform::toQString;

namespace app {

namespace {

// A lineage not set taken as "父系".
std::optional<bool> husbandSideAnswer(const layout::CentreQuestion&) {
    return true;
}

bool snapWholeChart(TsubakiApp& app, const QDir& dir, const QString& name, bool drawn) {
    return saveChartPicture(drawn ? &chartWindow(app) : nullptr, dir, name);
}

// The explanation chart: FORM8 as it opens, then its "作図実行" (which saves nothing), in
// vertical writing, then the same chart in horizontal writing.
bool snapExplanationChart(TsubakiApp& app, const QDir& dir) {
    LegalCharts& legal = app.legalCharts();
    core::DrawingSettings& st = app.data().settings;
    st.相続関係説明図にする = true;
    st.法定相続情報一覧図にする = false;
    st.縦書き = true;
    st.横書き = false;
    legal.openExplanation();
    bool ok = snapForm(&app.form8(), dir, "form8_explanation");
    legal.explanationRun();
    ok = snapWholeChart(app, dir, "chart_explanation_vertical", app.form3().isVisible()) && ok;
    st.縦書き = false;
    st.横書き = true;
    return snapWholeChart(app, dir, "chart_explanation_horizontal",
                          legal.draw(render::LegalChartKind::Explanation, husbandSideAnswer)) &&
           ok;
}

// The families that have nothing to do with the inheritance hidden, as a practitioner hides
// them in FORM4: those in which neither spouse is the deceased, an heir or a "被代襲者".
void hideUnconcernedFamilies(TsubakiApp& app) {
    core::DataFolder& data = app.data();
    core::DrawingSettings& st = data.settings;
    const int base = app.charts().baseFamily();
    const int deceased = app.legalCharts().deceased();
    const auto concerned = [&](int p) { return p != 0 && (p == deceased || st.isHeir(p)); };
    for (int f = 1; f <= data.reg.familyCount(); ++f) {
        const core::家族& family = data.reg.family(f);
        const bool substituted = family.夫肩書 == "被代襲者" || family.妻肩書 == "被代襲者";
        if (f != base && !concerned(family.夫NO) && !concerned(family.妻NO) && !substituted &&
            static_cast<std::size_t>(f) <= st.familyEntries.size()) {
            st.familyEntries[static_cast<std::size_t>(f - 1)].selected = 1;
        }
    }
}

// The list chart: FORM10 and FORM11 as they open, the chart drawn in its tree and in its list
// form.
bool snapListChart(TsubakiApp& app, const QDir& dir) {
    LegalCharts& legal = app.legalCharts();
    core::DataFolder& data = app.data();
    data.settings.相続関係説明図にする = false;
    data.settings.法定相続情報一覧図にする = true;
    hideUnconcernedFamilies(app);
    legal.openHeirs();
    bool ok = snapForm(&app.form10(), dir, "form10_heirs");
    legal.heirsDone();
    ok = snapForm(&app.form11(), dir, "form11_applicant") && ok;
    legal.closeDialog(&app.form11()); // instead of its "設定完了", which saves
    const auto kind = render::LegalChartKind::List;
    ok = snapWholeChart(app, dir, "chart_list", legal.draw(kind, husbandSideAnswer)) && ok;
    const core::FolderOptions keptOptions = data.options;
    data.options.listChartForm = core::ListChartForm::List;
    ok = snapWholeChart(app, dir, "chart_list_form", legal.draw(kind, husbandSideAnswer)) && ok;
    data.options = keptOptions;
    return ok;
}

// The findings dialog as drawing the list chart shows it: pictured while it waits for an
// answer, then answered with "このまま作図".
bool snapFindingsDialog(TsubakiApp& app, const QDir& dir) {
    LegalCharts& legal = app.legalCharts();
    legal.setChecks(true);
    bool ok = true;
    bool findingsShown = false;
    QTimer waiting;
    waiting.setSingleShot(true);
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        auto* buttons = box != nullptr ? box->findChild<QDialogButtonBox*>() : nullptr;
        if (buttons == nullptr) {
            return;
        }
        findingsShown = true;
        ok = snapForm(box, dir, "findings_dialog") && ok;
        for (QAbstractButton* b : buttons->buttons()) {
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) {
                b->click();
            }
        }
    });
    waiting.start(0);
    legal.draw(render::LegalChartKind::List, husbandSideAnswer);
    waiting.stop();
    if (!findingsShown) {
        std::cerr << "tsubaki: the findings dialog was not shown\n";
        ok = false;
    }
    return ok;
}

} // namespace

bool saveLegalChartScreenshots(TsubakiApp& app, const std::string& folder) {
    core::DataFolder& data = app.data();
    if (data.reg.familyCount() < 1) {
        return true;
    }
    const QDir dir(toQString(folder));
    const core::DrawingSettings keptSettings = data.settings;
    const core::Registers keptRegisters = data.reg;
    for (QWidget* f : app.allForms()) {
        f->hide();
    }
    app.legalCharts().setTextMode(false);
    app.legalCharts().setChecks(false);
    bool ok = snapExplanationChart(app, dir);
    ok = snapListChart(app, dir) && ok;
    ok = snapFindingsDialog(app, dir) && ok;
    for (QWidget* f : app.allForms()) {
        f->setEnabled(true);
    }
    data.settings = keptSettings;
    data.reg = keptRegisters;
    return ok;
}

} // namespace app
