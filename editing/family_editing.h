// The family editor: the rules of the family list form FORM2 and the family detail form
// FORM6 (couples, marriage form, divorce, line of descent, display flags, titles, deleting a
// family, and the children with adoption and acknowledgment), without Qt.
//
// The editor owns the control states of both forms (FamilyControls). A form wires itself
// onto it in three steps per event:
//   1. copy the user's values in: `checked` of every check box and radio button, `text` of
//      every control with `textInput`, `current` of every list and combo box;
//   2. run the operation of the event code (dispatch(), or the named operation below);
//   3. apply every ControlState back onto its widget (visible, enabled, checked, text when
//      set, and the entries when `itemsVersion` changed), with the widget's signals blocked.
// Every message goes through common::Dialogs.
//
// The event codes of FORM2 and FORM6 (editing/event_codes.h) each run one operation below;
// the table is in family_editing.cpp, and eventCodes() lists it.
// A click in the candidate list LIST_A4A acts at once: chooseCandidate().
#pragma once

#include "common/dialogs.h"
#include "core/data_folder.h"
#include "editing/event_codes.h"
#include "editing/family_controls.h"
#include "editing/family_lists.h"
#include "editing/person_links.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

class FamilyEditor {
public:
    FamilyEditor(core::DataFolder& data, common::Dialogs& dialogs);

    FamilyControls& controls() { return controls_; }
    const FamilyControls& controls() const { return controls_; }

    // The current family (the one chosen in the family list or just created), 0 for none.
    // It is kept in the drawing settings as "リスト３".
    int currentFamily() const;
    // The selected child slot (1-based), 0 when no child is selected.
    int selectedChild() const;
    bool inChildSelection() const { return controls_.visible("LIST_A4A"); }
    // The code of "子供の追加" / "登録決定" (BUTTON_A4A): it ends the child selection when one
    // is open, else it opens one.
    EventCode childSelectionButtonCode() const {
        return inChildSelection() ? EventCode::BUTTON_A4A_ON_11 : EventCode::BUTTON_A4A_ON_12;
    }

    // Entering FORM2 from the main window: fills the family list, the person and title
    // choices and the base-family choice, loads the current family into FORM6's controls
    // and shows FORM2.
    void open();

    // The chart settings form FORM4 opened on "作図開始" or closed again: the form captions
    // change, the family-editing buttons of FORM2 are disabled while it is open, and the
    // family form's save then writes the drawing settings as well.
    void setChartSettingsOpen(bool open);
    bool chartSettingsOpen() const { return chartSettingsOpen_; }

    // Called after a base family was chosen in COMBO_A5A (0 = none) and made current; the
    // chart side asks its centre-side question here.
    std::function<void(int family)> baseFamilyChosen;

    // Runs the operation of an event code of FORM2/FORM6: NotHandled for a code that is not
    // one of eventCodes(), Failed when a save (BUTTON_A7A_ON, BUTTON_A16A_ON) could not
    // write its file. After BUTTON_A9A_ON the caller shows MAINFORM; after BUTTON_A16A_ON
    // it goes on with the shutdown only on Done.
    enum class Outcome { NotHandled, Done, Failed };
    Outcome dispatch(EventCode code);
    // The event codes dispatch() runs, in increasing order.
    static const std::vector<EventCode>& eventCodes();

    // --- FORM2 ---
    void leaveForPersonInput(); // hides FORM2 and FORM6; the caller shows MAINFORM
    void newFamily();
    void selectFamily(); // the family of LIST_A3A's selected entry
    // Writes the family register, and the drawing settings while FORM4 is open. False (after
    // a message) when a file could not be written.
    bool save();
    // The save of the family form's exit button; the caller goes on with the shutdown only
    // when it returns true.
    bool saveBeforeExit();
    void deleteFamily();
    void findFamilyByName();
    void findNextFamily();
    void baseFamilyChanged();

    // --- FORM6: the couple ---
    // "リスト登録" by its own button, with the duplicate single-person check.
    void registerFamily();
    void confirmCouple();
    void nonMarriageClicked();
    void divorceClicked();
    void storeDivorceDate();
    void lineOfDescentChosen(core::Lineage lineage); // Unset, Paternal or Maternal
    void hideSpouseClicked();
    void hideHouseholdHeadClicked();
    void hideSpouseSurnameClicked();
    void storeHusbandTitle();
    void storeWifeTitle();

    // --- FORM6: the children ---
    void childSelectionButton(); // "子供の追加" / "登録決定"
    void chooseCandidate(int entry);
    void selectChild();
    void acknowledgeClicked();
    void storeAdoptionDate();
    void storeAcknowledgmentDate();
    void storeChildTitle();
    void descendantFlagClicked();
    void moveChildUp();
    void moveChildDown();
    void reverseChildren();
    void deleteChild();

    // The registers were put back ("元に戻す", "やり直す"): every list and the current
    // family's details again from them; the current family stays when it still exists, and
    // FORM6 is hidden when no family is left. A child selection still open ends, adding
    // nobody.
    void showRestoredRegisters();
    // Why the registers' history cannot be stepped back or forth now (a child being chosen,
    // the chart settings open); empty when it can.
    std::string historyBlocked() const;
    // Each disabled control says why in its whyDisabled. dispatch() runs this after every
    // operation; the program runs it after every operation it calls directly.
    void explainDisabledControls();

    // The choices behind the person combo boxes and the candidate list.
    const PersonChoices& husbandChoices() const { return husbands_; }
    const PersonChoices& wifeChoices() const { return wives_; }
    const PersonChoices& candidates() const { return candidates_; }

private:
    bool hasFamily() const;
    core::家族& family();
    core::当事者& person(int n) { return data_.reg.person(n); }
    bool validPerson(int n) const { return n >= 1 && n <= data_.reg.personCount(); }
    void setCurrentFamily(int family);

    // Typed text through the full-width conversion; nullopt (after a message naming the
    // field and the character) when Shift-JIS cannot hold it.
    std::optional<std::string> typed(std::string_view field, std::string_view text);
    void refuseAtCapacity(std::string_view what, std::string_view key, int capacity);

    // List fills.
    void fillFamilyList();        // LIST_A3A_ADD
    void fillPersonChoices();     // COMBO_A1A_ADD, COMBO_A2A_ADD
    void fillBaseFamilyChoices(); // COMBO_A5A_ADD
    void fillTitleChoices();      // COMBO6_ADD, COMBO7_ADD
    void fillChildList();         // LIST_A2A_ADD
    void fillCandidates();        // LIST_A4A_ADD

    void loadFamily(); // the record of the current family into FORM6
    // A line in a guidance area (kListGuidance, kDetailGuidance); dispatch() clears both
    // before every operation.
    void guide(std::string_view area, std::string text);
    void guideUnconfirmed();   // what an unconfirmed family needs before its children
    void updateChartButton();  // "作図開始" of FORM2, disabled with its reason
    void updateDeleteButton(); // "削除" of FORM2, disabled with its reason
    bool registerFamily(bool byOwnButton);
    void 婚姻形態_SUB();
    void 婚姻制御_SUB();
    void 形態表示_SUB();
    void lockLineOfDescent();
    void setLineOfDescentRadios(core::Lineage lineage);
    void 婚姻離婚CHECK_SUB1();
    void 婚姻離婚CHECK_SUB2();

    void showChildrenSection(bool shown);
    void clearChildDetail();
    void hideChildTitleControls();
    void leaveChildSelection();
    // Adding a child: the checks, the notices about its link group, the choice of its form
    // (nullopt when it is refused, or was entered as it is) and the entry.
    void addChild(int x);
    bool childCanBeAdded(int x);
    void announceChildLinks(int x);
    std::optional<core::ChildKind> childFormByParents(int x);
    std::optional<core::ChildKind> childFormWithLinkedParents(int x, const ParentsSearch& parents);
    core::ChildKind adoptedBySingleParent();
    void enterChild(int x, core::ChildKind form, const ParentsSearch& parents);
    // The title of the child in `slot`, offered in the input box for the user to confirm or
    // change (child_titles.h); a cancel leaves it without a title.
    void offerChildTitle(int slot);
    // The selected child, or 0 with guidance saying that a child must be chosen first.
    int chosenChild();
    void reselectChild(int slot);
    std::string name(int person) const;

    core::DataFolder& data_;
    common::Dialogs& dialogs_;
    FamilyControls controls_;
    PersonChoices husbands_;
    PersonChoices wives_;
    PersonChoices candidates_;
    bool chartSettingsOpen_ = false;
    std::string searchText_;
    struct MarriageControlsEnabled {
        bool nonMarriage = true;
        bool divorce = true;
        bool divorceDate = true;
    } remembered_;
};

} // namespace editing
