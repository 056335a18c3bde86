// The legal charts: the module "legal charts" of the event table puts the dialogs of the
// 相続関係説明図 and the 法定相続情報一覧図 behind their event codes and draws these charts
// (render/legal_chart.h).
//
// With "相続関係説明図にする" chosen, FORM4's "作図実行" (or "テキスト化") surveys the family
// and opens FORM8 "相続関係説明図のオプション設定" with the registry address filled from the
// deceased when the deceased changed; FORM8's "作図実行" (54) makes the four address lines
// full width and draws.
//
// With "法定相続情報一覧図作成" chosen, FORM10 "相続人設定" opens with the heir list and, beside
// it, the heirs the law gives with their shares (core/heirs.h); "法定相続人を選ぶ" selects
// exactly those, "全部選択" (63) and "全部解除" (64) all or none, "列挙形式で作成" chooses the
// list form (kept in "tsubaki.ini"), and "設定完了" (62) leads to FORM11 "申出人と作成者の
// 設定", whose list (65) fills the applicant's address and name, "作成者は申出人と同じ"
// copies them to the creator, and "設定完了" (66) stores the fields, saves the settings, both
// registers and the options and draws the list chart (code 29). The list chart is drawn from
// a rewritten copy of the registers: the program's own registers are never changed by it.
//
// Before either chart is drawn, the checks (render/legal_checks.h) are listed in one dialog:
// "このまま作図" draws, "戻って直す" goes back to FORM10 (list chart) or FORM8.
//
// While one of the three dialogs is open the other forms are disabled.
#pragma once

#include <string>

namespace app {

class TsubakiApp;

// For scripts/screenshot: FORM8 as the explanation chart opens it (form8_explanation.png),
// the explanation chart of the data folder in vertical and horizontal writing
// (chart_explanation_vertical.png, chart_explanation_horizontal.png), FORM10 and FORM11
// as the list chart opens them (form10_heirs.png, form11_applicant.png), the list chart
// (chart_list.png) and its list form (chart_list_form.png), drawn without the findings
// dialog, then the findings dialog of the list chart (findings_dialog.png). Nothing is
// saved. For the list chart, as a practitioner would, the families in which neither spouse
// is the deceased, an heir or a "被代襲者" are hidden and a lineage not set is taken as
// "父系" (in memory only). False when a picture could not be made.
bool saveLegalChartScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
