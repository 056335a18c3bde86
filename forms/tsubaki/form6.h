// FORM6, "家族の詳細設定": one family's partners, form, titles, display flags and
// children.
//
// The form's controls follow the family editor (editing/family_editing.h) as FORM2's do
// (form2.h). Its buttons, check boxes, radio buttons, the child list LIST_A2A and the title
// choices COMBO6 and COMBO7 raise their event codes (eventRaised); each title's "登録"
// (BUTTON42, BUTTON43) raises the code of its choice. "子供の追加" / "登録決定" (BUTTON_A4A)
// raises childSelectionButtonClicked(): its code depends on the editor's state. A choice in
// the candidate list LIST_A4A acts at once: candidateChosen().
#pragma once

#include "editing/event_codes.h"
#include "editing/family_controls.h"
#include "editing/register_history.h"
#include "forms/tsubaki/control_binding.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Ui {
class FORM6;
}

namespace forms {

class Form6 : public FormWindow {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
    ~Form6() override;

    // Whether the family editor's control `name` is on this form (the form itself included).
    bool bindsControl(std::string_view name) const { return binding_.binds(name); }
    // The user's values into the editor's control states.
    void copyInto(editing::FamilyControls& controls) const { binding_.copyIn(controls); }
    // The editor's control states onto the widgets; raises no event.
    void apply(const editing::FamilyControls& controls) { binding_.apply(controls); }
    // "元に戻す" and "やり直す" (Ctrl+Z, Ctrl+Y), which act at once: undoRequested(),
    // redoRequested().
    void showUndo(const editing::UndoView& view);

    // The titles offered for husbands (COMBO6) and wives (COMBO7) before the family editor
    // first fills them.
    void showTitleChoices(const std::vector<std::string>& husbands,
                          const std::vector<std::string>& wives);

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void childSelectionButtonClicked();
    void candidateChosen(int entry); // 0-based, -1 when the choice was cleared
    void undoRequested();
    void redoRequested();

private:
    std::unique_ptr<Ui::FORM6> ui_;
    ControlBinding binding_;
};

} // namespace forms
