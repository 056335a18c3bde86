// A legal chart from the registers and the stored settings: which of the two the settings
// choose, the registers and settings it is drawn from, and its headings. The window
// (after FORM8 or FORM11) and the headless --chart/--text both go through here, so that
// both draw the same chart.
//
//   explanation chart (相続関係説明図): the registers as they are; the registry address
//     filled from the deceased when the deceased changed, and made full width
//   list chart (法定相続情報一覧図): the registers rewritten for it (legal_list.h), always in
//     horizontal writing, the applicant marked in its own block when it is an heir; as the
//     family tree or in the list form (列挙形式, list_form.h)
#pragma once

#include "render/chart_run.h"
#include "render/legal_headings.h"
#include "render/legal_list.h"

#include "core/folder_options.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace render {

// The legal chart the settings choose ("法定相続情報一覧図にする" before
// "相続関係説明図にする"), or nullopt for the plain chart.
std::optional<LegalChartKind> legalChartKind(const core::DrawingSettings& s);

// The applicant-is-heir number: the stored applicant ("申出人の当事者番号") when that person
// is an heir, else 0.
int applicantHeir(const core::DrawingSettings& s);

// Everything one legal chart is drawn from.
struct LegalChart {
    LegalChartKind kind = LegalChartKind::Explanation;
    core::Registers registers;      // a copy: rewritten for the list chart
    core::DrawingSettings settings; // as the chart is drawn
    int baseFamily = 0;
    int deceased = 0;
    int applicant = 0;                                    // list chart: the applicant when an heir
    core::ListChartForm form = core::ListChartForm::Tree; // list chart: tree or list form
    // Lineages answered while preparing, as (family, 系統_F).
    std::vector<std::pair<int, core::Lineage>> answeredLineages;
    std::unique_ptr<LegalHeadings> headings;
};

struct LegalChartOutcome {
    std::optional<LegalChart> chart;
    std::optional<ChartFailure> failure;
    int unansweredFamily = 0; // a lineage question went unanswered for this family
    bool ok() const { return chart.has_value(); }
};

// Prepares the legal chart of `kind` for base family `baseFamily`. `lineage` is asked when
// the base family's lineage (and, for the list chart, a visible family's) is not set.
// `factory` measures the heading font; it must outlive the chart's headings. `form` chooses
// the list chart's form. The registers and settings given are not changed.
LegalChartOutcome prepareLegalChart(LegalChartKind kind, const core::Registers& reg,
                                    const core::DrawingSettings& settings, int baseFamily,
                                    bool textMode, CanvasFactory& factory,
                                    const LineageAnswer& lineage,
                                    core::ListChartForm form = core::ListChartForm::Tree);

// Draws a prepared chart with runChart (the request's base family, headings and applicant
// are set from the chart).
ChartOutcome drawLegalChart(LegalChart& chart, const core::Environment& env, ChartRequest request,
                            GlyphSource& glyphs);

} // namespace render
