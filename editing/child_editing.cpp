#include "editing/child_editing.h"

#include "common/dialogs.h"
#include "editing/child_titles.h"
#include "editing/family_editing.h"
#include "editing/person_links.h"

#include <algorithm>
#include <utility>

namespace editing {

// ---------------------------------------------------------------------------------------
// The children section of FORM6

namespace {

using common::Icon;

constexpr const char* kChildrenSection[] = {"BUTTON_A4A",  "LIST_A2A",    "TEXT31",   "BUTTON_A10A",
                                            "BUTTON_A11A", "BUTTON_A12A", "CHECK_A5A"};
// Shown on the first press of "子供の追加" and back on "登録決定".
constexpr const char* kHiddenWhileChoosing[] = {"BUTTON_A5A",  "BUTTON_A7A",  "BUTTON_A10A",
                                                "BUTTON_A11A", "BUTTON_A12A", "CHECK_A5A"};

// True when the person's link field names a person of the register, so that the link
// searches can follow it.
bool linkUsable(const core::Registers& reg, int person) {
    const int c = reg.person(person).C_当事者NO;
    return c >= 1 && c <= reg.personCount();
}

} // namespace

int FamilyEditor::selectedChild() const {
    if (!hasFamily()) {
        return 0;
    }
    const int entry = controls_["LIST_A2A"].current;
    const int count = data_.reg.family(currentFamily()).子数();
    return entry >= 0 && entry < count ? entry + 1 : 0;
}

void FamilyEditor::showChildrenSection(bool shown) {
    if (!shown && inChildSelection()) {
        leaveChildSelection();
    }
    for (const char* c : kChildrenSection) {
        controls_.show(c, shown);
    }
    // The child delete button belongs to a selected child.
    controls_.show("BUTTON_A17A", shown && selectedChild() > 0);
    controls_.show("BUTTON_A6A", !shown);
    if (!shown) {
        clearChildDetail();
    }
}

void FamilyEditor::hideChildTitleControls() {
    controls_.hide("TEXT_A16A");
    controls_.hide("COMBO_A3A");
    controls_.hide("BUTTON_A20A");
}

void FamilyEditor::clearChildDetail() {
    for (const char* c : {"CHECK_A3A", "CHECK_A4A"}) {
        controls_.hide(c);
        controls_.uncheck(c);
        controls_.enable(c);
    }
    for (const char* c :
         {"TEXT_A12A", "EDIT_A10A", "BUTTON_A18A", "TEXT_A13A", "EDIT_A11A", "BUTTON_A19A"}) {
        controls_.hide(c);
    }
    controls_.setText("EDIT_A10A", "");
    controls_.setText("EDIT_A11A", "");
    hideChildTitleControls();
    controls_.setText("COMBO_A3A", "");
    controls_.uncheck("CHECK_A5A");
    controls_.enable("CHECK_A5A");
}

void FamilyEditor::fillChildList() {
    controls_.setItems("LIST_A2A", hasFamily() ? childListLines(data_.reg, currentFamily())
                                               : std::vector<std::string>{});
    controls_.hide("BUTTON_A17A");
}

void FamilyEditor::fillCandidates() {
    candidates_ = childCandidates(data_.reg, currentFamily());
    controls_.setItems("LIST_A4A", candidates_.items, -1, candidates_.inactive);
}

int FamilyEditor::chosenChild() {
    const int k = selectedChild();
    if (k == 0) {
        guide(kDetailGuidance, "先に子供欄で子供を選んでください");
    }
    return k;
}

void FamilyEditor::reselectChild(int slot) {
    controls_["LIST_A2A"].current = slot - 1;
    controls_.show("BUTTON_A17A");
}

// ---------------------------------------------------------------------------------------
// Child selection mode and adding a child

void FamilyEditor::childSelectionButton() {
    if (!hasFamily() || family().夫婦確定_f != 1) {
        return;
    }
    if (!inChildSelection()) {
        if (family().子数() >= data_.env.一世帯当りの子供の最大数) {
            refuseAtCapacity("この家族の子供の数", "一世帯当りの子供の最大数",
                             data_.env.一世帯当りの子供の最大数);
            return;
        }
        controls_.setText("BUTTON_A4A", "登録決定");
        controls_.show("LIST_A4A");
        controls_.show("TEXT32");
        controls_.disable("LIST_A3A");
        controls_.disable("LIST_A2A");
        controls_.disable("BUTTON_A9A");
        for (const char* c : kHiddenWhileChoosing) {
            controls_.hide(c);
        }
        controls_.hide("BUTTON_A17A");
        controls_["LIST_A2A"].current = -1;
        clearChildDetail();
        // Registering redraws the marriage controls, so they are locked after it.
        registerFamily(false);
        婚姻離婚CHECK_SUB1();
        fillCandidates();
        guide(kDetailGuidance, "候補から子供を一人選んで「登録決定」を押してください");
    } else {
        const int entry = controls_["LIST_A4A"].current;
        const int x = candidates_.offers(entry) ? candidates_.personAt(entry) : 0;
        leaveChildSelection();
        if (x == 0) {
            guide(kDetailGuidance,
                  "子供は追加していません（候補を選ばずに「登録決定」を押しました）");
        }
        addChild(x);
    }
    hideChildTitleControls();
}

void FamilyEditor::chooseCandidate(int entry) {
    controls_["LIST_A4A"].current = candidates_.offers(entry) ? entry : -1;
}

void FamilyEditor::leaveChildSelection() {
    controls_.setText("BUTTON_A4A", "子供の追加");
    controls_.hide("LIST_A4A");
    controls_.hide("TEXT32");
    controls_.enable("LIST_A3A");
    controls_.enable("LIST_A2A");
    controls_.enable("BUTTON_A9A", !chartSettingsOpen_);
    for (const char* c : kHiddenWhileChoosing) {
        controls_.show(c);
    }
    婚姻離婚CHECK_SUB2();
}

void FamilyEditor::addChild(int x) {
    if (!childCanBeAdded(x)) {
        return;
    }
    auto& reg = data_.reg;
    const bool linked = linkUsable(reg, x);
    if (linked) {
        announceChildLinks(x);
    }
    const ParentsSearch parents =
        linked ? 当事者リンク検索_SUB3(reg, x) : ParentsSearch{LinkedParents::None, x, 0};
    const int before = family().子数();
    const std::optional<core::ChildKind> form = parents.result == LinkedParents::None
                                                    ? childFormByParents(x)
                                                    : childFormWithLinkedParents(x, parents);
    if (form) {
        enterChild(x, *form, parents);
    }
    if (family().子数() > before) {
        offerChildTitle(family().子数());
    }
    fillChildList();
    updateDeleteButton();
}

void FamilyEditor::offerChildTitle(int slot) {
    auto& child = family().child(slot);
    const auto proposal = proposedChildTitle(data_.reg, currentFamily(), slot);
    const auto answer = dialogs_.input("子の肩書",
                                       name(child.子NO) + "の肩書を確かめてください。\n" +
                                           proposal.reason + "\n（取消すと肩書なしで登録します）",
                                       proposal.title);
    if (!answer) {
        return;
    }
    if (auto title = typed("子の肩書", *answer)) {
        family().child(slot).子の肩書 = *title;
    }
}

bool FamilyEditor::childCanBeAdded(int x) {
    if (x == 0 || !hasFamily() || !validPerson(x)) {
        return false;
    }
    const auto& f = family();
    if (f.子数() >= data_.env.一世帯当りの子供の最大数) {
        refuseAtCapacity("この家族の子供の数", "一世帯当りの子供の最大数",
                         data_.env.一世帯当りの子供の最大数);
        return false;
    }
    // Never offered as a candidate.
    return !(x == f.夫NO || x == f.妻NO || familyHasChild(data_.reg, currentFamily(), x) ||
             (f.夫NO == 0 && f.妻NO == 0));
}

void FamilyEditor::announceChildLinks(int x) {
    const LinkSearch link = 当事者リンク検索_SUB1(data_.reg, x);
    if (link.result == LinkRole::Source) {
        dialogs_.ok("当事者リンクのメッセージ",
                    "選択した" + name(x) + "は、\n" + name(link.partner) +
                        "のリンク元になっています",
                    Icon::Exclamation);
    } else if (link.result == LinkRole::Target) {
        dialogs_.ok("当事者リンクのメッセージ",
                    "選択した" + name(x) + "は、\n" + name(link.person) +
                        "のリンク先になっています",
                    Icon::Exclamation);
    }
}

core::ChildKind FamilyEditor::adoptedBySingleParent() {
    const bool fatherOnly = family().夫NO > 0 && family().妻NO == 0;
    dialogs_.ok("警告",
                fatherOnly ? "親は独身なので、男性の養子になります"
                           : "親は独身なので、女性の養子になります",
                Icon::Exclamation);
    return core::ChildKind::Adopted;
}

std::optional<core::ChildKind> FamilyEditor::childFormByParents(int x) {
    auto& f = family();
    const int fam = currentFamily();
    const int h = f.夫NO;
    const int w = f.妻NO;
    auto& p = person(x);
    const bool nonMarriage = f.形態 == core::UnionForm::NonMarital;
    if (nonMarriage && h > 0 && w == 0) {
        if (p.実父NO == h) {
            dialogs_.ok("警告　登録できません", "既に父親は実の父になっています", Icon::Stop);
            return std::nullopt;
        }
        return adoptedBySingleParent();
    }
    if (nonMarriage && h == 0 && w > 0) {
        if (p.実母NO == w) {
            dialogs_.ok("警告　登録できません", "既に母親は実の母になっています", Icon::Stop);
            return std::nullopt;
        }
        return adoptedBySingleParent();
    }
    if (nonMarriage) {
        if (p.実母NO != 0) {
            dialogs_.ok("警告　実母が存在しています", "結婚していない二人の養子にはなれません",
                        Icon::Stop);
            return std::nullopt;
        }
        p.実父NO = 0;
        p.実母NO = static_cast<std::int16_t>(w);
        p.父母家族NO = static_cast<std::int16_t>(fam);
        dialogs_.ok("警告", "二人は結婚していないので母親だけ実母になります", Icon::Exclamation);
        return core::ChildKind::Unacknowledged;
    }
    if (p.実父NO == 0 && p.実母NO == 0) {
        if (!dialogs_.yes("警告　実の両親が登録されていません",
                          "父母を実の両親として登録してもいいですか", Icon::Question)) {
            dialogs_.ok("注意", "父母の養子として登録しました", Icon::Information);
            return core::ChildKind::Adopted;
        }
        p.実父NO = static_cast<std::int16_t>(h);
        p.実母NO = static_cast<std::int16_t>(w);
        p.父母家族NO = static_cast<std::int16_t>(fam);
        if (p.子孫_F != 0) {
            // Entered as it is, so that the person keeps its descendant flags.
            core::Child c;
            c.子NO = static_cast<std::int16_t>(x);
            f.子.push_back(std::move(c));
            return std::nullopt;
        }
        controls_.check("CHECK_A5A");
        controls_.disable("CHECK_A5A");
        return core::ChildKind::Birth;
    }
    if (w > 0 && p.実母NO == w) {
        dialogs_.ok("注意　母親は実母です。", "父の養子として登録しました", Icon::Information);
    } else if (h > 0 && p.実父NO == h) {
        dialogs_.ok("注意　父親は実父です。", "母の養子として登録しました", Icon::Information);
    } else {
        dialogs_.ok("注意　実の両親が別にいます。", "養子として登録しました", Icon::Information);
    }
    return core::ChildKind::Adopted;
}

std::optional<core::ChildKind>
FamilyEditor::childFormWithLinkedParents(int x, const ParentsSearch& parents) {
    std::string warning;
    if (parents.result == LinkedParents::OfTarget) {
        warning = name(x) + "は、実の親がいる\n" + name(parents.person) +
                  "のリンク元なので、\n養子縁組になります";
    } else if (parents.result == LinkedParents::OfSource) {
        warning = name(x) + "は、実の親がいる\n" + name(parents.partner) +
                  "のリンク先になっているので、\n養子縁組になります";
    } else {
        warning = "選択した" + name(x) + "は、\n" + name(parents.partner) +
                  "のリンク先になっていますが、同じリンク先になる\n" + name(parents.person) +
                  "には実の親がいるので養子縁組になります";
    }
    dialogs_.ok("警告", warning, Icon::Stop);
    const auto& f = family();
    if (f.形態 == core::UnionForm::NonMarital) {
        const bool fatherOnly = f.夫NO > 0 && f.妻NO == 0;
        const bool motherOnly = f.夫NO == 0 && f.妻NO > 0;
        if (fatherOnly || motherOnly) {
            return adoptedBySingleParent();
        }
        dialogs_.ok("警告", "結婚していない二人の養子にはなれません", Icon::Stop);
        return std::nullopt;
    }
    dialogs_.ok("注意", "父母の養子として登録しました", Icon::Information);
    return core::ChildKind::Adopted;
}

void FamilyEditor::enterChild(int x, core::ChildKind form, const ParentsSearch& parents) {
    const auto fam = static_cast<std::int16_t>(currentFamily());
    core::Child c;
    c.子NO = static_cast<std::int16_t>(x);
    c.子の形態 = form;
    family().子.push_back(std::move(c));
    person(x).子孫_F = fam;
    person(x).子孫_FL = fam;
    if (parents.result == LinkedParents::OfSource ||
        parents.result == LinkedParents::OfOtherTarget) {
        // The link source's descendant flag follows its target into this family.
        const int s = parents.partner;
        person(s).子孫_F = fam;
        dialogs_.ok("子孫フラッグ強制変更メッセージ",
                    "選択中の" + name(x) + "は、\n" + name(s) + "と\nリンクしているので、\n" +
                        "リンク元の" + name(s) + "の子孫フラッグを変更します。",
                    Icon::Exclamation);
    }
}

// ---------------------------------------------------------------------------------------
// The selected child

void FamilyEditor::selectChild() {
    const int k = selectedChild();
    if (k == 0) {
        return;
    }
    auto& slot = family().child(k);
    const int x = slot.子NO;
    clearChildDetail();
    for (const char* c : {"BUTTON_A17A", "CHECK_A5A", "BUTTON_A20A", "TEXT_A16A", "COMBO_A3A"}) {
        controls_.show(c);
    }
    if (slot.子の形態 == core::ChildKind::Adopted) {
        controls_.show("CHECK_A3A");
        controls_.check("CHECK_A3A");
        controls_.disable("CHECK_A3A");
        controls_.show("TEXT_A12A");
        controls_.show("EDIT_A10A");
        controls_.show("BUTTON_A18A");
        controls_.setText("EDIT_A10A", slot.縁組日);
    } else if (slot.子の形態 == core::ChildKind::Acknowledged) {
        controls_.show("CHECK_A4A");
        controls_.check("CHECK_A4A");
        controls_.disable("CHECK_A4A");
        controls_.show("TEXT_A13A");
        controls_.show("EDIT_A11A");
        controls_.show("BUTTON_A19A");
        controls_.setText("EDIT_A11A", slot.認知日);
    } else if (slot.子の形態 == core::ChildKind::Unacknowledged) {
        controls_.show("CHECK_A4A");
        controls_.enable("CHECK_A4A");
        controls_.uncheck("CHECK_A4A");
        slot.認知日.clear();
    }
    if (slot.子の形態 != core::ChildKind::Adopted) {
        slot.縁組日.clear();
    }
    if (!validPerson(x)) {
        return;
    }
    controls_.setItems("COMBO_A3A", childTitles(data_.env, person(x)));
    controls_.setText("COMBO_A3A", slot.子の肩書);

    int d = x;
    if (linkUsable(data_.reg, x)) {
        const auto link = 当事者リンク検索_SUB1(data_.reg, x);
        if (link.result != LinkRole::None) {
            const int other = link.result == LinkRole::Source ? link.partner : link.person;
            dialogs_.ok("当事者リンクのメッセージ",
                        "選択中の" + name(x) + "は、\n" + name(other) + "と\nリンクしています。",
                        Icon::Exclamation);
        }
        if (link.result == LinkRole::Target && validPerson(link.person)) {
            d = link.person;
        }
    }
    const bool drawnHere = person(d).子孫_F == currentFamily();
    controls_.show("CHECK_A5A");
    controls_.check("CHECK_A5A", drawnHere);
    controls_.enable("CHECK_A5A", !drawnHere);
}

void FamilyEditor::acknowledgeClicked() {
    const int k = selectedChild();
    if (k == 0) {
        controls_.uncheck("CHECK_A4A");
        return;
    }
    auto& f = family();
    auto& slot = f.child(k);
    if (slot.子の形態 != core::ChildKind::Unacknowledged || f.夫NO == 0 ||
        !validPerson(slot.子NO)) {
        controls_.check("CHECK_A4A", slot.子の形態 == core::ChildKind::Acknowledged);
        return;
    }
    if (!controls_.checked("CHECK_A4A")) {
        return;
    }
    if (dialogs_.yes("認知確認", "本当に父親はこの子を認知しましたか", Icon::Question)) {
        slot.子の形態 = core::ChildKind::Acknowledged;
        person(slot.子NO).実父NO = f.夫NO;
        controls_.show("TEXT_A13A");
        controls_.show("EDIT_A11A");
        controls_.show("BUTTON_A19A");
        controls_.setText("EDIT_A11A", slot.認知日);
        controls_.check("CHECK_A4A");
        controls_.disable("CHECK_A4A");
    } else {
        controls_.uncheck("CHECK_A4A");
    }
}

void FamilyEditor::storeAdoptionDate() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (auto date = typed("縁組日", controls_.text("EDIT_A10A"))) {
        family().child(k).縁組日 = *date;
        controls_.setText("EDIT_A10A", *date);
    }
}

void FamilyEditor::storeAcknowledgmentDate() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (auto date = typed("認知日", controls_.text("EDIT_A11A"))) {
        family().child(k).認知日 = *date;
        controls_.setText("EDIT_A11A", *date);
    }
}

void FamilyEditor::storeChildTitle() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (auto title = typed("子の肩書", controls_.text("COMBO_A3A"))) {
        family().child(k).子の肩書 = *title;
        controls_.setText("COMBO_A3A", *title);
        fillChildList();
        reselectChild(k);
    }
}

void FamilyEditor::descendantFlagClicked() {
    const int k = chosenChild();
    if (k == 0) {
        controls_.uncheck("CHECK_A5A");
        return;
    }
    if (!controls_.checked("CHECK_A5A")) {
        return; // clearing the box changes no flag
    }
    const int x = family().child(k).子NO;
    if (!validPerson(x)) {
        return;
    }
    const auto fam = static_cast<std::int16_t>(currentFamily());
    const auto link = linkUsable(data_.reg, x) ? 当事者リンク検索_SUB1(data_.reg, x)
                                               : LinkSearch{LinkRole::None, x, 0};
    if (link.result == LinkRole::Source) {
        person(x).子孫_F = fam;
    } else if (link.result == LinkRole::Target && validPerson(link.person)) {
        const int s = link.person;
        person(s).子孫_F = fam;
        dialogs_.ok("子孫フラッグ強制変更メッセージ",
                    "選択中の" + name(x) + "は、\n" + name(s) + "と\nリンクしているので、\n" +
                        "リンク元の" + name(s) + "の子孫フラッグを変更します。",
                    Icon::Exclamation);
    } else {
        person(x).子孫_F = fam;
        person(x).子孫_FL = fam;
        controls_.disable("CHECK_A5A");
    }
}

// ---------------------------------------------------------------------------------------
// Order of children

void FamilyEditor::moveChildUp() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (k == 1) {
        guide(kDetailGuidance, "選択中の子供は一番上です");
        return;
    }
    std::swap(family().child(k), family().child(k - 1));
    fillChildList();
    reselectChild(k - 1);
}

void FamilyEditor::moveChildDown() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (k == family().子数()) {
        guide(kDetailGuidance, "選択中の子供は一番下です");
        return;
    }
    std::swap(family().child(k), family().child(k + 1));
    fillChildList();
    reselectChild(k + 1);
}

void FamilyEditor::reverseChildren() {
    const int k = chosenChild();
    if (k == 0) {
        return;
    }
    if (family().子数() < 2) {
        guide(kDetailGuidance, "子供が二人以上いるときに並べ替えられます");
        return;
    }
    auto& children = family().子;
    std::reverse(children.begin(), children.end());
    fillChildList();
    clearChildDetail();
}

// ---------------------------------------------------------------------------------------
// Deleting a child

void FamilyEditor::deleteChild() {
    const int k = selectedChild();
    if (k == 0) {
        return;
    }
    auto& f = family();
    const int fam = currentFamily();
    const int x = f.child(k).子NO;
    const bool known = validPerson(x);
    const bool realParentsHere = known && person(x).父母家族NO == fam;
    if (realParentsHere) {
        dialogs_.ok("確認", "削除する子供の親は、実の親です", Icon::Exclamation);
    }
    if (!dialogs_.yes("削除確認", "本当にこの子を削除してもいいのですか", Icon::Question)) {
        return;
    }
    f.子.erase(f.子.begin() + (k - 1));
    if (realParentsHere) {
        auto& p = person(x);
        p.実父NO = 0;
        p.実母NO = 0;
        p.父母家族NO = 0;
    }
    fillChildList();
    if (known) {
        auto& reg = data_.reg;
        const auto link =
            linkUsable(reg, x) ? 当事者リンク検索_SUB1(reg, x) : LinkSearch{LinkRole::None, x, 0};
        if (link.result == LinkRole::Source) {
            dialogs_.ok("当事者リンク関連メッセージ",
                        "選択中の" + name(x) + "は、\n" + name(link.partner) + "の\nリンク元です。",
                        Icon::Exclamation);
        } else if (link.result == LinkRole::Target) {
            dialogs_.ok("当事者リンク関連メッセージ",
                        "選択中の" + name(x) + "は、\n" + name(link.person) + "の\nリンク先です。",
                        Icon::Exclamation);
        }
        core::repairAfterLeavingFamily(reg, x, fam);
    }
    updateDeleteButton();
    controls_.hide("BUTTON_A17A");
    clearChildDetail();
}

} // namespace editing
