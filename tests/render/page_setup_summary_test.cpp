// What "用紙設定" says about a setup: refused setups, what a usable one gives the chart shown
// (with the smallest text and whether it is legible), and the defaults of each kind of chart.
#include "render/page_setup_summary.h"

#include "render/glyphs.h"

#include <gtest/gtest.h>

namespace {

// A chart with 16-point text across `width` pixels.
std::shared_ptr<const render::Drawing> chart(render::SyntheticGlyphs& glyphs, int width) {
    render::DrawingCanvasFactory factory(glyphs);
    auto c = factory.chart(width, 400);
    c->setFontSize(16);
    c->drawText(10, 10, "山田", render::kTextColour);
    c->drawText(width - 60, 300, "花子", render::kTextColour);
    return c->finish();
}

TEST(PageSetupSummary, WhatTheSetupGivesTheChart) {
    render::SyntheticGlyphs glyphs;
    const auto small = chart(glyphs, 500);
    const render::PageSetup a4;
    // 16-point text is 21 pixels, 15.75 points on paper at 100%.
    EXPECT_EQ(render::paperSummary(a4, *small),
              "A4 縦 1 枚、縮尺 100%（いちばん小さい文字 15.8 ポイント）");
    EXPECT_EQ(render::pageSetupVerdict(a4, small.get()),
              (render::PageSetupVerdict{true, "この図面は " + render::paperSummary(a4, *small)}));
    EXPECT_EQ(render::pageSetupVerdict(a4, nullptr), (render::PageSetupVerdict{true, ""}));

    // On one sheet, below the legible size: said.
    render::PageSetup onePage;
    onePage.onePage = true;
    const std::string wide = render::paperSummary(onePage, *chart(glyphs, 20000));
    EXPECT_EQ(wide.rfind("A4 縦 1 枚、縮尺 ", 0), 0u) << wide;
    EXPECT_NE(wide.find("、7.0 ポイントより小さい）"), std::string::npos) << wide;
}

TEST(PageSetupSummary, ARefusedSetupSaysWhyAndCannotBeConfirmed) {
    render::PageSetup s;
    s.margins.left = 101;
    const render::PageSetupVerdict v = render::pageSetupVerdict(s, nullptr);
    EXPECT_FALSE(v.usable);
    EXPECT_EQ(v.text, render::checkPageSetup(s));
    EXPECT_FALSE(v.text.empty());
}

TEST(PageSetupSummary, EachKindHasItsDefaults) {
    EXPECT_EQ(render::defaultPageSetup(render::DrawingKind::FamilyChart), render::PageSetup{});
    EXPECT_EQ(render::defaultPageSetup(render::DrawingKind::ExplanationChart), render::PageSetup{});
    EXPECT_EQ(render::defaultPageSetup(render::DrawingKind::ListChart),
              render::listChartDefaults());
    EXPECT_NE(render::listChartDefaults(), render::PageSetup{});
}

} // namespace
