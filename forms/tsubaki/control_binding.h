// Carries the control states of the family editor (editing::FamilyControls) onto the Qt
// widgets of FORM2 and FORM6, and the user's values back into them, by objectName. Nothing
// here knows a rule of family editing: which widget does what is all in the states.
#pragma once

#include "editing/family_controls.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace app {

class ControlBinding {
public:
    // Finds every control of `controls` among `forms`, a form itself by its own objectName.
    // Throws std::logic_error naming a control that none of the forms has.
    ControlBinding(const editing::FamilyControls& controls, const std::vector<QWidget*>& forms);

    // Before an operation: `checked` of check boxes and radio buttons, `text` of the controls
    // marked textInput, `current` of lists and combo boxes, and whether each form is shown
    // (a window closed or hidden elsewhere counts as hidden).
    void copyIn(editing::FamilyControls& controls) const;

    // After an operation: every state onto its widget with the widgets' signals blocked, so
    // that applying raises no event. A list or combo box gets its entries anew only when its
    // itemsVersion changed since the last apply. Forms are shown or hidden last, a form that
    // appears is raised.
    void apply(const editing::FamilyControls& controls);

    QWidget* widget(const std::string& name) const;

private:
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, unsigned, std::less<>> appliedItems_;
};

} // namespace app
