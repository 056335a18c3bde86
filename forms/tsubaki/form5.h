// FORM5, "当事者の個別データ設定": the person form.
//
// The form owns its controls. It loads what editing::personFormView decides and gives back
// what was typed (editing::TypedPerson); each text field is named by the field of the person
// record it shows (editing::PersonTextField). Its buttons and check boxes raise their event
// codes (eventRaised): "リスト登録", "他の人のデータを利用", "名・姓表示" (CHECK35) and
// "当事者リンク" (CHECK39).
#pragma once

#include "editing/event_codes.h"
#include "editing/person_editing.h"
#include "editing/person_form.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>

namespace Ui {
class FORM5;
}

namespace forms {

class Form5 : public FormWindow {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    ~Form5() override;

    // Every control as the form opens on a person.
    void load(const editing::PersonFormView& view);
    // The fields as typed.
    editing::TypedPerson typed() const;
    // Puts `text` into the field that shows `field` of the record.
    void showText(editing::PersonTextField field, const std::string& text);
    // The keyboard focus into the surname field EDIT_A1A.
    void focusSurname();

    // "名・姓表示" (CHECK35) ticked.
    bool givenNameFirst() const;
    // 氏名位置: the surname field EDIT_A1A first and the given-name field EDIT_A2A second
    // (labels "姓", "名"), or the other way round for the given name first.
    void arrangeNameFields(bool givenNameFirst);

    // "当事者リンク" (CHECK39) and the label TEXT39 beside it.
    bool linkTicked() const;
    void untickLink();
    // "当事者リンク" can be ticked when `whyNot` is empty; otherwise disabled, saying why.
    void setLinkAvailable(const std::string& whyNot);
    // The one-line guidance above the buttons; empty clears it.
    void showGuidance(const std::string& text);
    std::string guidance() const;
    void showLinkSource(const std::string& label);
    void clearLinkSource();

Q_SIGNALS:
    void eventRaised(editing::EventCode code);

private:
    std::unique_ptr<Ui::FORM5> ui_;
};

} // namespace forms
