// The control states of the family list form FORM2 and the family detail form FORM6 as plain
// data: for every control, by its objectName, whether it is visible, enabled and checked, its
// text and its list entries. The family editor reads the user's values from here and writes
// the states it decides here; the Qt forms only copy values in before an operation and apply
// the states afterwards.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

enum class ControlKind { Form, Button, Label, CheckBox, Radio, List, Combo, Edit };

struct ControlState {
    ControlKind kind = ControlKind::Button;
    bool visible = true;
    bool enabled = true;
    bool checked = false; // check boxes and radio buttons
    // Caption, window title, edit text or the text of an editable combo box; nullopt leaves
    // the text the form defines.
    std::optional<std::string> text;
    // True for the controls whose text the user types (edits, editable combo boxes): the form
    // copies their text in before every operation.
    bool textInput = false;
    std::vector<std::string> items; // entries of a list or combo box
    int current = -1;               // selected entry of a list or combo box, -1 for none
    // Changes whenever `items` is replaced, so that a form refills a widget only then.
    unsigned itemsVersion = 0;
    // Entries of a list that are shown in their place but cannot be chosen.
    std::vector<int> inactiveItems;
    // Why the control cannot act now: its tooltip while it is disabled (an enabled control
    // shows none).
    std::string whyDisabled;
};

// The one-line guidance areas of FORM2 and FORM6: what the last operation could not do and
// why, or what to do next.
inline constexpr std::string_view kListGuidance = "familyListGuidance";
inline constexpr std::string_view kDetailGuidance = "familyDetailGuidance";

// The controls of FORM2 and FORM6 with the states the forms start with.
class FamilyControls {
public:
    FamilyControls();

    // The state of a control; throws std::out_of_range for a name that is not one of them.
    ControlState& operator[](std::string_view name);
    const ControlState& operator[](std::string_view name) const;

    const std::map<std::string, ControlState, std::less<>>& all() const { return controls_; }

    void show(std::string_view name, bool visible = true) { (*this)[name].visible = visible; }
    void hide(std::string_view name) { show(name, false); }
    void enable(std::string_view name, bool enabled = true) { (*this)[name].enabled = enabled; }
    void disable(std::string_view name) { enable(name, false); }
    void check(std::string_view name, bool checked = true) { (*this)[name].checked = checked; }
    void uncheck(std::string_view name) { check(name, false); }
    void setText(std::string_view name, std::string text) { (*this)[name].text = std::move(text); }
    std::string text(std::string_view name) const;
    bool checked(std::string_view name) const { return (*this)[name].checked; }
    bool visible(std::string_view name) const { return (*this)[name].visible; }
    bool enabled(std::string_view name) const { return (*this)[name].enabled; }
    // Replaces the entries of a list or combo box and selects `current`; the entries
    // `inactive` are shown but cannot be chosen.
    void setItems(std::string_view name, std::vector<std::string> items, int current = -1,
                  std::vector<int> inactive = {});
    // Enables or disables a control; a disabled one says `why` in its tooltip.
    void enableUnless(std::string_view name, std::string why);

private:
    void add(const char* name, ControlKind kind, bool visible = true);

    std::map<std::string, ControlState, std::less<>> controls_;
};

} // namespace editing
