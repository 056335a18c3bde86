#include "render/page_setup_summary.h"

#include <cstdio>

namespace render {

namespace {

std::string points(double p) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", p);
    return text;
}

} // namespace

PageSetup defaultPageSetup(DrawingKind kind) {
    return kind == DrawingKind::ListChart ? listChartDefaults() : PageSetup{};
}

std::string paperSummary(const PageSetup& setup, const Drawing& drawing) {
    try {
        const PagePlan plan = planPages(pageContentOf(drawing), setup);
        std::string text = planSummary(setup, plan);
        if (plan.textPoints > 0) {
            text += "（いちばん小さい文字 " + points(plan.textPoints) + " ポイント";
            if (!plan.legible) {
                text += "、" + points(setup.minFontPoints) + " ポイントより小さい";
            }
            text += "）";
        }
        return text;
    } catch (const PaperError& e) {
        return e.what();
    }
}

PageSetupVerdict pageSetupVerdict(const PageSetup& setup, const Drawing* drawing) {
    const std::string wrong = checkPageSetup(setup);
    if (!wrong.empty()) {
        return {false, wrong};
    }
    if (drawing == nullptr) {
        return {true, ""};
    }
    return {true, "この図面は " + paperSummary(setup, *drawing)};
}

} // namespace render
