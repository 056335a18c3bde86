// Carries control states (editing::FamilyControls) onto the widgets of one form, and the
// user's values back into them, by objectName. The family forms FORM2 and FORM6 each hold one
// for the controls of the family editor that are theirs. Nothing here knows a rule of family
// editing: which widget does what is all in the states.
#pragma once

#include "editing/family_controls.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QWidget;

namespace forms {

class ControlBinding {
public:
    ControlBinding() = default;
    // Binds every control of `controls` found on `form`, the form itself by its own
    // objectName; the controls of other forms are left out.
    ControlBinding(QWidget& form, const editing::FamilyControls& controls);

    bool binds(std::string_view name) const { return widgets_.contains(name); }

    // Before an operation: `checked` of check boxes and radio buttons, `text` of the controls
    // marked textInput, `current` of lists and combo boxes, and whether the form is shown
    // (a window closed or hidden elsewhere counts as hidden).
    void copyIn(editing::FamilyControls& controls) const;

    // After an operation: every state onto its widget with the widgets' signals blocked, so
    // that applying raises no event. A list or combo box gets its entries anew only when its
    // itemsVersion changed since the last apply; a list whose number of entries stayed keeps
    // its rows and scrolling, and its inactive entries are greyed. A disabled control shows
    // why in its tooltip. The form is shown or hidden last; a form that appears is raised.
    void apply(const editing::FamilyControls& controls);

private:
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, unsigned, std::less<>> appliedItems_;
};

} // namespace forms
