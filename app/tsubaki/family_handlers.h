// Family editing on the family list form FORM2 and the family detail form FORM6: handler
// module 20 puts the family editor (editing/family_editing.h) behind the event codes of
// these forms and carries its control states onto their widgets (family_binding.h).
//
// Every event of the two forms runs the same way: the widgets' values are copied into the
// editor's controls, the editor runs the operation of the code, and the control states are
// applied back onto the widgets. Which window of the two is shown belongs to the editor as
// well; other modules change it through runFamilyOperation, not on the widgets.
//
// For the chart run: "作図開始" (code 37) has no entry here. The centre-side question goes
// into familyEditor(app).baseFamilyChosen (run by code 39 after the base family was chosen);
// FORM4's opening and closing call setChartSettingsOpen through runFamilyOperation so that
// the captions and buttons of both forms follow.
#pragma once

#include "editing/family_editing.h"

#include <functional>

namespace app {

class TsubakiApp;

// The family editor of `app`.
editing::FamilyEditor& familyEditor(TsubakiApp& app);

// Copies the forms' values into the editor, runs `operation` on it and applies the control
// states back onto FORM2 and FORM6.
void runFamilyOperation(TsubakiApp& app,
                        const std::function<void(editing::FamilyEditor&)>& operation);

} // namespace app
