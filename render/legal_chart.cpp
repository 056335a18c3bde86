#include "render/legal_chart.h"

#include "render/list_form.h"

namespace render {

namespace {

ChartFailure failure(const std::string& title, const std::string& text) {
    return ChartFailure{ChartFailure::Kind::Survey, title, text, {}};
}

// What a legal chart is prepared from.
struct Inputs {
    const core::Registers& reg;
    const core::DrawingSettings& settings;
    bool textMode;
    CanvasFactory& factory;
    const LineageAnswer& lineage;
};

// The list chart: the registers rewritten for it, the families that would show only bare
// labels left out, and its headings in `form`. False (with `out` telling why) when it
// cannot be built.
bool prepareListChart(const Inputs& in, core::ListChartForm form, LegalChart& chart,
                      LegalChartOutcome& out) {
    const core::Registers& reg = in.reg;
    const core::DrawingSettings& settings = in.settings;
    core::DrawingSettings& s = chart.settings;
    ListChartOptions o;
    o.baseFamily = chart.baseFamily;
    for (const core::FamilyEntry& e : settings.familyEntries) {
        o.hidden.push_back(e.selected == 1);
    }
    o.heirFlags = settings.heirFlags;
    o.家督相続 = settings.家督相続 != 0;
    o.一覧図に住所を記載する = settings.一覧図に住所を記載する != 0;
    ListChartBuild built = buildListChart(reg, o, in.lineage);
    if (!built.ok()) {
        const ListChartFailure& f = *built.failure;
        out.failure = failure(f.title, f.text);
        if (f.kind == ListChartFailure::Kind::LineageUnanswered) {
            out.unansweredFamily = f.family;
        }
        return false;
    }
    ListChartRegisters& r = *built.result;
    if (!r.leftOut.empty() &&
        s.familyEntries.size() < static_cast<std::size_t>(reg.familyCount())) {
        s.familyEntries.resize(static_cast<std::size_t>(reg.familyCount()));
    }
    for (int f : r.leftOut) {
        s.familyEntries[static_cast<std::size_t>(f - 1)].selected = 1;
    }
    chart.registers = std::move(r.reg);
    chart.deceased = r.deceased;
    chart.answeredLineages = std::move(r.answeredLineages);
    chart.applicant = applicantHeir(settings);
    // The list chart is laid out in rows whatever the writing direction says.
    s.縦書き = false;
    s.横書き = true;
    s.相続関係説明図にする = false;
    ApplicantBlocks blocks;
    blocks.omitted = settings.この系図では設定の記載を省略 != 0;
    blocks.applicantIsHeir = chart.applicant != 0;
    chart.form = form;
    if (form == core::ListChartForm::List) {
        chart.headings = std::make_unique<ListFormHeadings>(
            runSettings(s, in.textMode), in.textMode, in.factory, blocks,
            listFormEntries(reg, settings, chart.deceased, chart.applicant));
    } else {
        chart.headings = std::make_unique<LegalHeadings>(chart.kind, runSettings(s, in.textMode),
                                                         in.textMode, in.factory, blocks);
    }
    return true;
}

// The explanation chart: the base family's lineage (asked when it is not set), the deceased
// with the registry address, and the headings. False (with `out` telling why) when it
// cannot be drawn.
bool prepareExplanationChart(const Inputs& in, LegalChart& chart, LegalChartOutcome& out) {
    core::DrawingSettings& s = chart.settings;
    const int baseFamily = chart.baseFamily;
    chart.registers = in.reg;
    core::家族& base = chart.registers.family(baseFamily);
    if (!core::isChosen(base.系統_F)) {
        const layout::CentreQuestion q = layout::centreQuestion(baseFamily);
        const std::optional<bool> husband = in.lineage ? in.lineage(q) : std::nullopt;
        if (!husband) {
            out.failure = failure(q.title, q.text);
            out.unansweredFamily = baseFamily;
            return false;
        }
        base.系統_F = core::lineageThrough(*husband);
        chart.answeredLineages.emplace_back(baseFamily, base.系統_F);
    }
    chart.deceased = deceasedPerson(chart.registers, baseFamily, base.系統_F);
    if (chart.deceased != 0) {
        fillRegistryAddress(s, chart.registers.person(chart.deceased));
    }
    if (const auto line = registryLinesToFullWidth(s)) {
        out.failure = failure("作図できません", "登記簿上の住所の" + std::to_string(*line) +
                                                    "行目に、Shift-JISで書けない文字があります。");
        return false;
    }
    s.法定相続情報一覧図にする = false;
    chart.headings = std::make_unique<LegalHeadings>(chart.kind, runSettings(s, in.textMode),
                                                     in.textMode, in.factory);
    return true;
}

} // namespace

std::optional<LegalChartKind> legalChartKind(const core::DrawingSettings& s) {
    if (s.法定相続情報一覧図にする) {
        return LegalChartKind::List;
    }
    if (s.相続関係説明図にする) {
        return LegalChartKind::Explanation;
    }
    return std::nullopt;
}

int applicantHeir(const core::DrawingSettings& s) {
    const int a = s.申出人の当事者番号;
    return a >= 1 && s.isHeir(a) ? a : 0;
}

LegalChartOutcome prepareLegalChart(LegalChartKind kind, const core::Registers& reg,
                                    const core::DrawingSettings& settings, int baseFamily,
                                    bool textMode, CanvasFactory& factory,
                                    const LineageAnswer& lineage, core::ListChartForm form) {
    LegalChartOutcome out;
    if (baseFamily < 1 || baseFamily > reg.familyCount()) {
        out.failure = failure("作図できません", "作図する家族が決まっていません。");
        return out;
    }
    LegalChart chart;
    chart.kind = kind;
    chart.baseFamily = baseFamily;
    chart.settings = settings;
    const Inputs in{reg, settings, textMode, factory, lineage};
    const bool prepared = kind == LegalChartKind::List ? prepareListChart(in, form, chart, out)
                                                       : prepareExplanationChart(in, chart, out);
    if (prepared) {
        out.chart = std::move(chart);
    }
    return out;
}

ChartOutcome drawLegalChart(LegalChart& chart, const core::Environment& env, ChartRequest request,
                            GlyphSource& glyphs) {
    request.baseFamily = chart.baseFamily;
    request.headings = chart.headings.get();
    request.applicant = chart.applicant;
    return runChart(chart.registers, chart.settings, env, request, glyphs);
}

} // namespace render
