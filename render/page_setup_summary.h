// What the page setup dialog "用紙設定" says about a setup, and the setup its "初期値に戻す"
// gives.
#pragma once

#include "render/drawing.h"
#include "render/page_setup.h"

#include <string>

namespace render {

// The setup of charts of `kind` before the user chose one: the list chart's own (with its
// guard), else the default.
PageSetup defaultPageSetup(DrawingKind kind);

// What `setup` gives `drawing` on paper ("A4 縦 2 枚、縮尺 46%（いちばん小さい文字 7.3 ポイン
// ト）", with "、N ポイントより小さい" when the text is below the legible size), or why the
// pages cannot be planned.
std::string paperSummary(const PageSetup& setup, const Drawing& drawing);

// The dialog's line under the setup: a setup checkPageSetup refuses cannot be confirmed and
// the line says why; a usable one says what it gives the chart shown ("この図面は ..."), or
// nothing without a chart.
struct PageSetupVerdict {
    bool usable = true;
    std::string text;
    bool operator==(const PageSetupVerdict&) const = default;
};
PageSetupVerdict pageSetupVerdict(const PageSetup& setup, const Drawing* drawing);

} // namespace render
