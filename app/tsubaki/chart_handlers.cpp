// The module "charts" of the event table: FORM4 and FORM3 behind their event codes
// (chart_handlers.h).
#include "app/tsubaki/chart_handlers.h"

#include "app/tsubaki/event_table.h"
#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/legal_handlers.h"
#include "app/tsubaki/tsubaki_app.h"
#include "editing/chart_settings.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form4.h"
#include "layout/chart_survey.h"
#include "render/chart_run.h"

namespace app {

Charts::Charts(TsubakiApp& app)
    : app_(app),
      window_(std::make_unique<ChartWindow>(app.form3(), app.dialogs(), app.data().folder)) {}

Charts::~Charts() = default;

int Charts::baseFamily() const {
    return layout::defaultBaseFamily(app_.data().settings, app_.data().reg.familyCount());
}

int Charts::baseFamilyToDraw() {
    const int base = baseFamily();
    if (base == 0) {
        common::STOP_SUB(app_.dialogs(), "作図できません",
                         "作図する家族が決まっていません。家族を選んでください。");
    }
    return base;
}

void Charts::ensureLineage(int family, bool insideFamilyOperation) {
    const core::Registers& reg = app_.data().reg;
    if (family < 1 || family > reg.familyCount() || core::isChosen(reg.family(family).系統_F)) {
        return;
    }
    const layout::CentreQuestion question = layout::centreQuestion(family);
    keepLineage(family, app_.dialogs().yes(question.title, question.text, common::Icon::Question),
                insideFamilyOperation);
}

void Charts::keepLineage(int family, bool husbandSide, bool insideFamilyOperation) {
    const core::Lineage chosen = core::lineageThrough(husbandSide);
    auto choose = [&](editing::FamilyEditor& editor) {
        if (editor.currentFamily() == family) {
            editor.lineOfDescentChosen(chosen);
        }
    };
    if (insideFamilyOperation) {
        choose(familyEditor(app_));
    } else {
        runFamilyOperation(app_, choose);
    }
    app_.data().reg.family(family).系統_F = chosen;
}

namespace {

// The hidden-family list of FORM4 anew from the settings' entries, for the base family.
void fillHiddenFamilies(TsubakiApp& a, int base) {
    core::DataFolder& data = a.data();
    const std::vector<std::string> lines =
        editing::refreshFamilyEntries(data.settings.familyEntries, data.reg, base);
    a.form4().showFamilies(lines);
    a.form4().selectFamilies(editing::hiddenFamilySelection(data.settings.familyEntries,
                                                            static_cast<int>(lines.size()), base));
}

// The list's selection from the settings' entries.
void showHiddenFamilies(TsubakiApp& a, int base) {
    const auto listed = static_cast<int>(a.form4().selectedFamilies().size());
    a.form4().selectFamilies(
        editing::hiddenFamilySelection(a.data().settings.familyEntries, listed, base));
}

} // namespace

void Charts::open() {
    core::DataFolder& data = app_.data();
    if (data.reg.familyCount() < 1) {
        return;
    }
    forms::Form4& form = app_.form4();
    window_->setFolder(data.folder);
    form.load(data.settings);
    runFamilyOperation(app_, [](editing::FamilyEditor& e) { e.setChartSettingsOpen(true); });
    form.prepare({data.env.Mode, data.settingsFilePresent});
    fillHiddenFamilies(app_, baseFamily());
    form.show();
    form.raise();
    form.activateWindow();
}

void Charts::readHiddenFamilies() {
    core::DataFolder& data = app_.data();
    const int base = baseFamily();
    editing::storeHiddenFamilies(data.settings.familyEntries, app_.form4().selectedFamilies(),
                                 data.reg.familyCount(), base);
    showHiddenFamilies(app_, base);
}

void Charts::hideAllFamilies() {
    const int base = baseFamily();
    editing::hideAllFamilies(app_.data().settings.familyEntries, base);
    showHiddenFamilies(app_, base);
}

void Charts::showAllFamilies() {
    editing::showAllFamilies(app_.data().settings.familyEntries);
    showHiddenFamilies(app_, 0);
}

void Charts::releaseDirectLine() {
    core::DataFolder& data = app_.data();
    const int base = baseFamily();
    if (base == 0) {
        return;
    }
    readHiddenFamilies();
    ensureLineage(base, false);
    const layout::SurveyOutcome outcome =
        layout::直系子孫の解除(data.reg, data.settings, data.env, base,
                               [](const layout::CentreQuestion&) { return std::optional<bool>(); });
    if (!outcome.ok()) {
        common::STOP_SUB(app_.dialogs(), outcome.error->title, outcome.error->text);
    }
    showHiddenFamilies(app_, base);
}

// What "作図実行" and "テキスト化" take from the dialog; false, after the message naming the
// field, when a field holds no number it can take.
bool Charts::storeRun() {
    core::DrawingSettings& settings = app_.data().settings;
    forms::Form4& form = app_.form4();
    if (const auto error = editing::storeRunFields(form.fields(), settings)) {
        common::STOP_SUB(app_.dialogs(), "設定の値が正しくありません", *error);
        return false;
    }
    form.storeChoices(settings);
    form.showBirthDateIndent(settings.生年月日の字下げ);
    return true;
}

void Charts::start(bool textMode) {
    core::DataFolder& data = app_.data();
    if (!storeRun()) {
        return;
    }
    readHiddenFamilies();
    ensureLineage(baseFamily(), false);
    if (!app_.save([&] { data.save(editing::partsSavedAtRun()); })) {
        return;
    }
    if (data.settings.相続関係説明図にする || data.settings.法定相続情報一覧図にする) {
        app_.legalCharts().start(textMode);
        return;
    }
    draw(textMode, nullptr);
}

bool Charts::draw(bool textMode, render::ChartHeadings* headings, const ChartSource& source) {
    core::DataFolder& data = app_.data();
    const int base = baseFamilyToDraw();
    if (base == 0) {
        return false;
    }
    render::ChartRequest request;
    request.baseFamily = base;
    request.textMode = textMode;
    request.headings = headings;
    request.applicant = source.applicant;
    request.answer = [this, base](const layout::CentreQuestion&) -> std::optional<bool> {
        ensureLineage(base, false);
        return app_.data().reg.family(base).系統_F == core::Lineage::Paternal;
    };
    // The chart shown before gives up its memory first.
    window_->clearChart();
    render::ChartOutcome outcome =
        render::runChart(source.registers != nullptr ? *source.registers : data.reg,
                         source.settings != nullptr ? *source.settings : data.settings, data.env,
                         request, window_->glyphs());
    if (!outcome.ok()) {
        common::STOP_SUB(app_.dialogs(), outcome.failure->title, outcome.failure->text);
        return false;
    }
    render::ChartDrawing& drawing = *outcome.drawing;
    window_->setFolder(data.folder);
    window_->showChart(drawing.recording, std::move(drawing.text), std::move(drawing.persons));
    if (textMode) {
        window_->exportText();
    }
    return true;
}

void Charts::cancel() {
    core::DataFolder& data = app_.data();
    app_.form4().storeChoices(data.settings);
    editing::storeKeptFields(app_.form4().fields(), data.settings);
    readHiddenFamilies();
    app_.save([&] { data.save(editing::partsSavedAtCancel(data.reg)); });
    runFamilyOperation(app_, [](editing::FamilyEditor& e) { e.setChartSettingsOpen(false); });
    app_.form3().hide();
    app_.form4().hide();
}

void Charts::baseFamilyChosen(int family) {
    ensureLineage(family > 0 ? family : baseFamily(), true);
    if (app_.form4().isVisible()) {
        fillHiddenFamilies(app_, baseFamily());
    }
}

ChartWindow& chartWindow(TsubakiApp& app) {
    return app.charts().window();
}

void installChartHandlers(TsubakiApp& a, EventModule& m) {
    using E = EventCode;
    Charts& c = a.charts();
    m.on(E::BUTTON_A21A_ON, [&c] { c.open(); });
    // MAINFORM's "作図開始": the way to the family form, then the family form's own.
    m.on(E::BUTTON39_ON, [&a] {
        a.runHandler(E::BUTTON_A8A_ON);
        if (a.form2().isVisible()) {
            a.runHandler(E::BUTTON_A21A_ON);
        }
    });
    m.on(E::LIST_A5A_CLICK, [&c] { c.readHiddenFamilies(); });
    m.on(E::BUTTON_A31A_ON, [&c] { c.hideAllFamilies(); });
    m.on(E::BUTTON_A32A_ON, [&c] { c.showAllFamilies(); });
    m.on(E::BUTTON_A33A_ON, [&c] { c.releaseDirectLine(); });
    m.on(E::BUTTON_A22A_ON, [&c] { c.start(false); });
    m.on(E::BUTTON37_ON, [&c] { c.start(true); });
    m.on(E::BUTTON_A23A_ON, [&c] { c.cancel(); });
    // Choosing the base family (run by family editing) asks the centre-side question, and
    // the hidden-family list never selects the new base family.
    familyEditor(a).baseFamilyChosen = [&c](int family) { c.baseFamilyChosen(family); };
}

} // namespace app
