// The module "legal charts" of the event table: FORM8, FORM10 and FORM11 and the drawing of the
// two legal charts (legal_handlers.h).
#include "app/tsubaki/legal_handlers.h"

#include "app/tsubaki/chart_handlers.h"
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"
#include "editing/legal_forms.h"
#include "forms/tsubaki/form10.h"
#include "forms/tsubaki/form11.h"
#include "forms/tsubaki/form8.h"
#include "layout/chart_survey.h"
#include "render/heir_choice.h"
#include "render/legal_checks.h"

namespace app {

namespace {

// A refusal of typed texts: the message, and the focus into the field refused.
template <class Focus>
void refuse(TsubakiApp& a, const editing::FieldRefusal& refusal, Focus focus) {
    common::STOP_SUB(a.dialogs(), editing::kInputErrorTitle, refusal.message);
    focus(refusal.field);
}

} // namespace

void LegalCharts::start(bool textMode) {
    textMode_ = textMode;
    if (render::legalChartKind(app_.data().settings) == render::LegalChartKind::List) {
        openHeirs();
    } else {
        openExplanation();
    }
}

int LegalCharts::deceased() const {
    const core::Registers& reg = app_.data().reg;
    const int base = app_.charts().baseFamily();
    return base == 0 ? 0 : render::deceasedPerson(reg, base, reg.family(base).系統_F);
}

// ---- FORM8 ----

void LegalCharts::openExplanation() {
    core::DataFolder& data = app_.data();
    const int base = app_.charts().baseFamilyToDraw();
    if (base == 0) {
        return;
    }
    const layout::SurveyOutcome surveyed = layout::surveyChart(
        data.reg,
        layout::surveyOptions(render::runSettings(data.settings, textMode_), data.env, base),
        [](const layout::CentreQuestion&) { return std::optional<bool>(); });
    if (!surveyed.ok()) {
        common::STOP_SUB(app_.dialogs(), surveyed.error->title, surveyed.error->text);
        return;
    }
    if (const int d = deceased(); d != 0) {
        render::fillRegistryAddress(data.settings, data.reg.person(d));
    }
    app_.form8().load(editing::explanationOptions(data.settings));
    showDialog(&app_.form8());
}

void LegalCharts::explanationRun() {
    forms::Form8& form = app_.form8();
    core::DrawingSettings& st = app_.data().settings;
    if (const auto refusal = editing::storeExplanationOptions(form.typed(), st)) {
        refuse(app_, *refusal, [&](std::size_t line) { form.focusAddressLine(line); });
        return;
    }
    form.load(editing::explanationOptions(st));
    closeDialog(&form);
    draw(render::LegalChartKind::Explanation, askLineage());
}

// ---- FORM10 ----

void LegalCharts::openHeirs() {
    core::DataFolder& data = app_.data();
    const int base = app_.charts().baseFamilyToDraw();
    if (base == 0) {
        return;
    }
    forms::Form10& form = app_.form10();
    heirList_ = editing::openHeirList(data.settings, data.reg, base, deceased());
    form.showHeirs(editing::heirListLines(data.reg, heirList_),
                   editing::heirSelection(data.settings, heirList_));
    form.loadOptions(editing::heirOptions(data.settings, data.options));
    // The heirs the law gives, with their shares, beside the list.
    legalHeirs_ = core::workOutHeirs(data.reg, deceased(), heirList_);
    form.showShares(render::heirShareLines(data.reg, legalHeirs_));
    showDialog(&form);
}

void LegalCharts::chooseLegalHeirs() {
    const render::LegalHeirSelection choice =
        render::selectLegalHeirs(app_.data().reg, legalHeirs_, heirList_);
    if (choice.refusal) {
        common::STOP_SUB(app_.dialogs(), choice.refusal->title, choice.refusal->text);
        return;
    }
    app_.form10().selectHeirs(choice.selected);
    for (const render::HeirChoiceMessage& notice : choice.notices) {
        common::STOP_SUB(app_.dialogs(), notice.title, notice.text);
    }
}

void LegalCharts::selectAllHeirs(bool selected) {
    app_.form10().selectAllHeirs(selected);
}

void LegalCharts::heirsDone() {
    forms::Form10& form = app_.form10();
    core::DataFolder& data = app_.data();
    if (const auto refusal = editing::storeHeirs(
            heirList_, form.heirSelection(), form.typedOptions(), data.settings, data.options)) {
        refuse(app_, *refusal, [&](std::size_t) { form.focusTitleAddition(); });
        return;
    }
    form.showTitleAddition(data.settings.表題部追加情報);
    form.hide();
    openApplicant();
}

// ---- FORM11 ----

void LegalCharts::openApplicant() {
    const core::DataFolder& data = app_.data();
    app_.form11().load(editing::applicantListLines(data.reg),
                       editing::applicantFields(data.settings, data.reg.personCount()));
    showDialog(&app_.form11());
}

void LegalCharts::applicantChosen() {
    forms::Form11& form = app_.form11();
    form.showApplicant(editing::applicantLines(app_.data().reg, form.chosenApplicant()));
}

void LegalCharts::applicantDone() {
    forms::Form11& form = app_.form11();
    core::DataFolder& data = app_.data();
    if (const auto refusal = editing::storeApplicant(form.typed(), data.settings)) {
        refuse(app_, *refusal, [&](std::size_t field) { form.focusText(field); });
        return;
    }
    form.showTexts(editing::applicantFields(data.settings, data.reg.personCount()));
    closeDialog(&form);
    // A failed save is reported; the chart is drawn all the same, from a copy of the
    // registers, so nothing typed is lost either way.
    app_.save([&] {
        data.save(
            {core::Part::Settings, core::Part::Persons, core::Part::Families, core::Part::Options});
    });
    drawList();
}

// ---- drawing ----

bool LegalCharts::drawList() {
    return draw(render::LegalChartKind::List, askLineage());
}

render::LineageAnswer LegalCharts::askLineage() {
    return [this](const layout::CentreQuestion& question) -> std::optional<bool> {
        const bool husband =
            app_.dialogs().yes(question.title, question.text, common::Icon::Question);
        if (question.family == app_.charts().baseFamily()) {
            app_.charts().keepLineage(question.family, husband, false);
        }
        return husband;
    };
}

// The findings of the checks in one dialog; false when the user goes back to the chart's
// first dialog ("戻って直す"), which is then open again.
bool LegalCharts::findingsAllowDrawing(render::LegalChartKind kind, const render::LegalChart& chart,
                                       int base) {
    const core::DataFolder& data = app_.data();
    render::LegalCheckRequest request;
    request.kind = kind;
    request.form = chart.form;
    request.baseFamily = base;
    request.deceased = chart.deceased;
    const std::vector<render::Finding> findings =
        render::checkLegalChart(data.reg, data.settings, request);
    if (findings.empty() ||
        app_.dialogs().choose(render::kFindingsTitle, render::findingsMessage(findings),
                              render::kDrawAnyway, render::kGoBack,
                              render::hasErrors(findings) ? common::Icon::Exclamation
                                                          : common::Icon::Information)) {
        return true;
    }
    if (kind == render::LegalChartKind::List) {
        openHeirs();
    } else {
        openExplanation();
    }
    return false;
}

bool LegalCharts::draw(render::LegalChartKind kind, const render::LineageAnswer& answer) {
    core::DataFolder& data = app_.data();
    const int base = app_.charts().baseFamilyToDraw();
    if (base == 0) {
        return false;
    }
    render::DrawingCanvasFactory factory(app_.charts().window().glyphs());
    render::LegalChartOutcome prepared =
        render::prepareLegalChart(kind, data.reg, data.settings, base, textMode_, factory, answer,
                                  data.options.listChartForm);
    if (!prepared.ok()) {
        common::STOP_SUB(app_.dialogs(), prepared.failure->title, prepared.failure->text);
        return false;
    }
    render::LegalChart& chart = *prepared.chart;
    if (checks_ && !findingsAllowDrawing(kind, chart, base)) {
        return false;
    }
    return app_.charts().draw(textMode_, chart.headings.get(),
                              ChartSource{&chart.registers, &chart.settings, chart.applicant});
}

void LegalCharts::showDialog(QWidget* dialog) {
    for (QWidget* form : app_.allForms()) {
        form->setEnabled(form == dialog);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void LegalCharts::closeDialog(QWidget* dialog) {
    dialog->hide();
    for (QWidget* form : app_.allForms()) {
        form->setEnabled(true);
    }
}

void installLegalHandlers(TsubakiApp& a, EventModule& m) {
    using E = EventCode;
    LegalCharts& l = a.legalCharts();
    m.on(E::BUTTON38_ON, [&l] { l.explanationRun(); });
    m.on(E::BUTTON44_ON, [&l] { l.selectAllHeirs(true); });
    m.on(E::BUTTON45_ON, [&l] { l.selectAllHeirs(false); });
    m.on(E::BUTTON46_ON, [&l] { l.heirsDone(); });
    m.on(E::LIST9_CLICK, [&l] { l.applicantChosen(); });
    m.on(E::BUTTON48_ON, [&l] { l.applicantDone(); });
    m.on(E::InheritanceChart, [&l] { l.drawList(); });
}

} // namespace app
