#include "editing/family_controls.h"

#include "core/constants.h"

#include <stdexcept>

namespace editing {

void FamilyControls::add(const char* name, ControlKind kind, bool visible) {
    ControlState c;
    c.kind = kind;
    c.visible = visible;
    if (kind == ControlKind::Edit) {
        c.text = "";
        c.textInput = true;
    }
    controls_.emplace(name, std::move(c));
}

FamilyControls::FamilyControls() {
    using K = ControlKind;
    // FORM2, the family list form; shown by the main window.
    add("FORM2", K::Form, false);
    add("LIST_A3A", K::List);
    add("BUTTON_A5A", K::Button);         // "新規追加"
    add("BUTTON_A7A", K::Button);         // "データをファイルに保存"
    add("BUTTON_A9A", K::Button);         // "当事者入力へ"
    add("BUTTON_A14A", K::Button);        // "削除"
    add("BUTTON_A16A", K::Button);        // "終　了"
    add("BUTTON_A21A", K::Button, false); // "作図開始": shown by the family list fill
    add("BUTTON_A28A", K::Button);        // "名前で検索"
    add("BUTTON_A29A", K::Button);        // "次を検索"
    add("COMBO_A5A", K::Combo);           // "作図時の基準家族No"
    add(kListGuidance.data(), K::Label);

    // FORM6, the family detail form; shown by a new family or a family chosen in the list.
    add("FORM6", K::Form, false);
    add("COMBO_A1A", K::Combo);
    add("COMBO_A2A", K::Combo);
    add("BUTTON_A6A", K::Button);  // "リスト登録"
    add("BUTTON_A13A", K::Button); // "夫婦確定"
    add("CHECK_A1A", K::CheckBox); // "非婚姻関係"
    add("CHECK_A2A", K::CheckBox); // "離婚"
    add("EDIT_A9A", K::Edit, false);
    add("BUTTON36", K::Button, false); // "原因日付を書き込む"
    add("RADIO_A1A", K::Radio);        // "未設定"
    add("RADIO_A2A", K::Radio);        // "父系"
    add("RADIO_A7A", K::Radio);        // "母系"
    add("CHECK_A21A", K::CheckBox);    // "配偶者を非表示にする"
    add("CHECK50", K::CheckBox);       // "世帯主を非表示にする"
    add("CHECK44", K::CheckBox);       // "配偶者の姓を非表示にする"
    add("COMBO6", K::Combo);           // husband titles
    add("BUTTON42", K::Button);
    add("COMBO7", K::Combo); // wife titles
    add("BUTTON43", K::Button);

    // The children section, shown for a confirmed family.
    add("BUTTON_A4A", K::Button, false); // "子供の追加" / "登録決定"
    add("LIST_A2A", K::List, false);
    add("TEXT31", K::Label, false);
    add("BUTTON_A10A", K::Button, false); // "上に移動"
    add("BUTTON_A11A", K::Button, false); // "下に移動"
    add("BUTTON_A12A", K::Button, false); // "上下並べ替え"
    add("BUTTON_A17A", K::Button, false); // "子の削除"
    add("CHECK_A5A", K::CheckBox, false); // "子孫フラッグ"
    // The candidate list of the child selection mode.
    add("LIST_A4A", K::List, false);
    add("TEXT32", K::Label, false);
    // The details of the selected child.
    add("CHECK_A3A", K::CheckBox, false); // "養子縁組"
    add("CHECK_A4A", K::CheckBox, false); // "認　知"
    add("TEXT_A12A", K::Label, false);
    add("EDIT_A10A", K::Edit, false);
    add("BUTTON_A18A", K::Button, false);
    add("TEXT_A13A", K::Label, false);
    add("EDIT_A11A", K::Edit, false);
    add("BUTTON_A19A", K::Button, false);
    add("TEXT_A16A", K::Label, false);
    add("COMBO_A3A", K::Combo, false);
    add("BUTTON_A20A", K::Button, false);
    add(kDetailGuidance.data(), K::Label);

    for (const char* editable : {"COMBO6", "COMBO7", "COMBO_A3A"}) {
        (*this)[editable].text = "";
        (*this)[editable].textInput = true;
    }
    (*this)["RADIO_A1A"].checked = true;
    (*this)["BUTTON_A4A"].text = "子供の追加";
    (*this)["CHECK_A2A"].text = "離婚";
    (*this)["FORM2"].text = "家族関連の設定" + std::string(core::title_text);
    (*this)["FORM6"].text = "家族の詳細設定" + std::string(core::title_text);
    (*this)[kListGuidance].text = "";
    (*this)[kDetailGuidance].text = "";
}

ControlState& FamilyControls::operator[](std::string_view name) {
    const auto it = controls_.find(name);
    if (it == controls_.end()) {
        throw std::out_of_range("no control named " + std::string(name));
    }
    return it->second;
}

const ControlState& FamilyControls::operator[](std::string_view name) const {
    const auto it = controls_.find(name);
    if (it == controls_.end()) {
        throw std::out_of_range("no control named " + std::string(name));
    }
    return it->second;
}

std::string FamilyControls::text(std::string_view name) const {
    return (*this)[name].text.value_or("");
}

void FamilyControls::setItems(std::string_view name, std::vector<std::string> items, int current,
                              std::vector<int> inactive) {
    auto& c = (*this)[name];
    c.items = std::move(items);
    c.inactiveItems = std::move(inactive);
    c.current = current >= 0 && current < static_cast<int>(c.items.size()) ? current : -1;
    ++c.itemsVersion;
}

void FamilyControls::enableUnless(std::string_view name, std::string why) {
    auto& c = (*this)[name];
    c.enabled = why.empty();
    c.whyDisabled = std::move(why);
}

} // namespace editing
