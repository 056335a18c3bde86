// The legal charts: the module "legal charts" of the event table puts the dialogs of the
// 相続関係説明図 and the 法定相続情報一覧図 behind their event codes and draws these charts
// (render/legal_chart.h).
//
// With "相続関係説明図にする" chosen, FORM4's "作図実行" (or "テキスト化") surveys the family
// and opens FORM8 "相続関係説明図のオプション設定" with the registry address filled from the
// deceased when the deceased changed; FORM8's "作図実行" (BUTTON38_ON) makes the four address
// lines full width and draws.
//
// With "法定相続情報一覧図作成" chosen, FORM10 "相続人設定" opens with the heir list and, beside
// it, the heirs the law gives with their shares (core/heirs.h); "法定相続人を選ぶ" selects
// exactly those (render/heir_choice.h), "全部選択" (BUTTON44_ON) and "全部解除" (BUTTON45_ON)
// all or none, "列挙形式で作成" chooses the list form (kept in "tsubaki.ini"), and "設定完了"
// (BUTTON46_ON) leads to FORM11 "申出人と作成者の設定", whose list (LIST9_CLICK) fills the
// applicant's address and name, "作成者は申出人と同じ" copies them to the creator, and
// "設定完了" (BUTTON48_ON) stores the fields, saves the settings, both registers and the
// options and draws the list chart (InheritanceChart). The list chart is drawn from a
// rewritten copy of the registers: the program's own registers are never changed by it. What
// the three dialogs store, and how, is in editing/legal_forms.h.
//
// Before either chart is drawn, the checks (render/legal_checks.h) are listed in one dialog:
// "このまま作図" draws, "戻って直す" goes back to FORM10 (list chart) or FORM8.
//
// While one of the three dialogs is open the other forms are disabled.
#pragma once

#include "core/heirs.h"
#include "render/legal_chart.h"

#include <string>
#include <vector>

class QWidget;

namespace app {

class TsubakiApp;

// The legal chart side of the program: which drawing the dialogs lead to and the persons of
// the heir list. TsubakiApp holds one.
class LegalCharts {
public:
    explicit LegalCharts(TsubakiApp& app) : app_(app) {}

    // "作図実行" / "テキスト化" of FORM4 with a legal chart chosen (after its saves).
    void start(bool textMode);

    // The deceased of the base family's chart, 0 for none.
    int deceased() const;

    // FORM8: opened after the survey, so that a family that cannot be drawn is reported
    // before the dialog; its "作図実行".
    void openExplanation();
    void explanationRun();

    // FORM10: opened with the heir list; "法定相続人を選ぶ", "全部選択" / "全部解除" and
    // "設定完了".
    void openHeirs();
    void chooseLegalHeirs();
    void selectAllHeirs(bool selected);
    void heirsDone();

    // FORM11: opened with the stored applicant; a choice in its list; "設定完了", which
    // saves and draws the list chart.
    void openApplicant();
    void applicantChosen();
    void applicantDone();

    // The list chart's construction and drawing: the subroutine behind InheritanceChart.
    bool drawList();
    // Prepares the chart, lists the findings of the checks in one dialog ("このまま作図" or
    // "戻って直す", which goes back to the chart's first dialog), and draws.
    bool draw(render::LegalChartKind kind, const render::LineageAnswer& answer);

    // The text drawing ("テキスト化") or the chart; set by start().
    void setTextMode(bool on) { textMode_ = on; }
    // Off only for the pictures of scripts/screenshot, which show the charts as drawn.
    void setChecks(bool on) { checks_ = on; }

    // One of the three dialogs, the other forms disabled; and closed, all enabled again.
    void showDialog(QWidget* dialog);
    void closeDialog(QWidget* dialog);

private:
    // The lineage question of a family whose lineage is not set. The base family's answer
    // is kept (in its 系統_F and FORM6's lineage buttons, as the plain chart keeps it);
    // another family's holds for this drawing.
    render::LineageAnswer askLineage();
    bool findingsAllowDrawing(render::LegalChartKind kind, const render::LegalChart& chart,
                              int base);

    TsubakiApp& app_;
    bool textMode_ = false;
    bool checks_ = true;
    std::vector<int> heirList_;    // the persons of LIST8, in list order
    core::HeirOutcome legalHeirs_; // worked out when FORM10 opens
};

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
