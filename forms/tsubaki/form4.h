// FORM4, "系図表示設定": the chart options, the hidden-family list and the start of a
// drawing.
//
// The form owns its controls. It loads core::DrawingSettings and stores its choices back into
// them, gives the number fields as typed (editing::SettingsFields) and shows and reads the
// hidden-family list LIST_A5A. The dependencies between its controls act at once by the rules
// of editing/chart_settings.h: "縦書き" / "横書き" (RADIO_A5A, RADIO_A6A), the field boxes with
// a label box (CHECK_A6A, CHECK_A9A, CHECK_A11A) and the two legal chart boxes (CHECK_A18A,
// CHECK46). Its buttons and the list raise their event codes (eventRaised): "全部選択",
// "全部解除", "直系子孫の解除", "作図実行", "テキスト化", "キャンセル" and a change of the
// list's selection. "ファイルをバックアップ" (BUTTON51) acts at once: backupRequested().
#pragma once

#include "core/drawing_settings.h"
#include "editing/chart_settings.h"
#include "editing/event_codes.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class FORM4;
}

namespace forms {

class Form4 : public FormWindow {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;

    // What the form shows before any settings are loaded: the text line style and the two
    // indents of `defaults`.
    void showStartValues(const core::DrawingSettings& defaults);
    // The controls from the settings: the writing direction, the numeral style, the check
    // boxes, the text line style and the number fields.
    void load(const core::DrawingSettings& s);
    // 作図設定_SUB when the dialog opens: the states of the controls by the rules, for
    // `context`, which the dependencies that act at once use until the next preparation.
    void prepare(const editing::SettingsDialogContext& context);

    // The choices the controls hold into `s`: the writing direction, the numeral style, the
    // check boxes, whether "法定相続情報一覧図作成" can be used, the text line style.
    void storeChoices(core::DrawingSettings& s) const;
    // The number fields as typed.
    editing::SettingsFields fields() const;
    // The birth-date indent field EDIT22 as the run corrected it.
    void showBirthDateIndent(float indent);

    // The hidden-family list: its entries anew, and which are selected; raises no event.
    void showFamilies(const std::vector<std::string>& lines);
    void selectFamilies(const std::vector<bool>& selected);
    std::vector<bool> selectedFamilies() const;

    // "縦書き" (true) or "横書き" clicked as the user clicks it.
    void clickWritingDirection(bool vertical);

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void backupRequested();

private:
    editing::SettingsControls controls() const;
    void apply(const editing::SettingsControls& c);
    void connectDependencies();

    std::unique_ptr<Ui::FORM4> ui_;
    editing::SettingsDialogContext context_;
};

} // namespace forms
