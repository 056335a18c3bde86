// Family editing on the family list form FORM2 and the family detail form FORM6: the module
// "family editing" of the event table puts the family editor (editing/family_editing.h)
// behind the event codes of these forms, whose widgets follow the editor's control states
// (forms/tsubaki/form2.h, form6.h).
//
// Every event of the two forms runs the same way: the forms copy their widgets' values into
// the editor's controls, the editor runs the operation of the code, and the forms apply the
// control states back onto their widgets. Which window of the two is shown belongs to the
// editor as well; other modules change it through runFamilyOperation, not on the widgets.
//
// For the chart run: FORM2's "作図開始" has no entry here. The centre-side question goes
// into familyEditor(app).baseFamilyChosen (run by the base family's COMBO_A5A_CHANGE); FORM4's
// opening and closing call setChartSettingsOpen through runFamilyOperation so that the
// captions and buttons of both forms follow.
#pragma once

#include "editing/family_editing.h"

#include <functional>

namespace forms {
class Form2;
class Form6;
} // namespace forms

namespace app {

class TsubakiApp;

// The family editor with the two forms it runs on; TsubakiApp holds one.
class FamilyEditing {
public:
    using Outcome = editing::FamilyEditor::Outcome;

    // Throws std::logic_error naming a control of the editor that neither form has.
    explicit FamilyEditing(TsubakiApp& app);

    editing::FamilyEditor& editor() { return editor_; }

    // Copies the forms' values into the editor, runs `operation` and applies the control
    // states back onto FORM2 and FORM6, also when `operation` throws.
    void run(const std::function<void()>& operation);

    // The operation of `code`. A family chosen in FORM2 (a click, a search, a new family)
    // brings FORM6, which shows it, to the front without taking the focus from the list.
    Outcome dispatch(editing::EventCode code);

    // Closing FORM6 through its frame: back to FORM2. A child selection still open ends as
    // "キャンセル" would end it, adding nobody.
    void closeDetailForm();

private:
    editing::FamilyEditor editor_;
    forms::Form2& form2_;
    forms::Form6& form6_;
};

// The family editor of `app`.
editing::FamilyEditor& familyEditor(TsubakiApp& app);

// Copies the forms' values into the editor, runs `operation` on it and applies the control
// states back onto FORM2 and FORM6.
void runFamilyOperation(TsubakiApp& app,
                        const std::function<void(editing::FamilyEditor&)>& operation);

} // namespace app
