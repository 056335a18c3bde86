// FORM2, "家族関連の設定": the family list, the base family for drawing and the way on to
// the family details and the chart.
//
// The form's controls follow the family editor (editing/family_editing.h): the form holds the
// binding of those that are its own (control_binding.h), copies the user's values into the
// editor's control states before an operation and applies the states afterwards. Its buttons,
// the family list LIST_A3A and the base-family choice COMBO_A5A raise their event codes
// (eventRaised). A click on a family raises familyClicked() as well, also on the family
// already chosen; "ファイルをバックアップ" (BUTTON50) acts at once: backupRequested().
#pragma once

#include "editing/event_codes.h"
#include "editing/family_controls.h"
#include "editing/register_history.h"
#include "forms/tsubaki/control_binding.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string_view>

namespace Ui {
class FORM2;
}

namespace forms {

class Form2 : public FormWindow {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // Whether the family editor's control `name` is on this form (the form itself included).
    bool bindsControl(std::string_view name) const { return binding_.binds(name); }
    // The user's values into the editor's control states.
    void copyInto(editing::FamilyControls& controls) const { binding_.copyIn(controls); }
    // The editor's control states onto the widgets; raises no event.
    void apply(const editing::FamilyControls& controls) { binding_.apply(controls); }
    // "元に戻す" and "やり直す" (Ctrl+Z, Ctrl+Y), which act at once: undoRequested(),
    // redoRequested().
    void showUndo(const editing::UndoView& view);

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void familyClicked();
    void backupRequested();
    void undoRequested();
    void redoRequested();

private:
    std::unique_ptr<Ui::FORM2> ui_;
    ControlBinding binding_;
};

} // namespace forms
