#include "forms/tsubaki/form5.h"

#include "platform/qt_text.h"

#include "ui_form5.h"

#include <utility>

using platform::toQString;
using platform::toUtf8;

namespace forms {

namespace {

// The text fields, each with the record field it shows and its place in the typed fields.
struct TextField {
    QLineEdit* Ui::FORM5::*edit;
    editing::PersonTextField record;
    std::string editing::TypedPerson::*typed;
};

const TextField kTextFields[] = {
    {&Ui::FORM5::EDIT_A1A, &core::当事者::姓, &editing::TypedPerson::姓},
    {&Ui::FORM5::EDIT_A2A, &core::当事者::名, &editing::TypedPerson::名},
    {&Ui::FORM5::EDIT_A3A, &core::当事者::住所1, &editing::TypedPerson::住所1},
    {&Ui::FORM5::EDIT_A18A, &core::当事者::住所2, &editing::TypedPerson::住所2},
    {&Ui::FORM5::EDIT_A4A, &core::当事者::本籍1, &editing::TypedPerson::本籍1},
    {&Ui::FORM5::EDIT_A19A, &core::当事者::本籍2, &editing::TypedPerson::本籍2},
    {&Ui::FORM5::EDIT_A7A, &core::当事者::備考1, &editing::TypedPerson::備考1},
    {&Ui::FORM5::EDIT_A8A, &core::当事者::備考2, &editing::TypedPerson::備考2},
    {&Ui::FORM5::EDIT_A5A, &core::当事者::生年月日, &editing::TypedPerson::生年月日},
    {&Ui::FORM5::EDIT_A6A, &core::当事者::死亡年月日, &editing::TypedPerson::死亡年月日},
};

} // namespace

Form5::Form5(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM5>()) {
    ui_->setupUi(this);
    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON_A2A, E::BUTTON_A2A_ON},   // "リスト登録"
        {ui_->BUTTON_A25A, E::BUTTON_A25A_ON}, // "他の人のデータを利用"
        {ui_->CHECK35, E::CHECK35_ON},         // "名・姓表示"
        {ui_->CHECK39, E::CHECK39_ON},         // "当事者リンク"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
}

Form5::~Form5() = default;

void Form5::load(const editing::PersonFormView& view) {
    auto& ui = *ui_;
    showGuidance("");
    ui.BUTTON_A25A->setEnabled(view.copyAvailable);
    ui.BUTTON_A25A->setToolTip(toQString(view.copyWhyNot));
    ui.CHECK35->setChecked(view.givenNameFirst);
    ui.CHECK39->setChecked(view.linked);
    if (view.linked) {
        ui.TEXT39->setText(toQString(view.linkLabel));
    } else {
        ui.TEXT39->clear();
    }
    setLinkAvailable(view.linkWhyNot);
    arrangeNameFields(view.givenNameFirst);

    // 当事者_ST_SUB
    ui.TEXT_A8A->setText(toQString(view.numberCaption));
    for (const auto& f : kTextFields) {
        (ui.*(f.edit))->setText(toQString(view.fields.*(f.typed)));
    }
    ui.EDIT_A15A->setText(toQString(view.fields.創始階層));
    ui.TEXT_A10A->setText(toQString(view.fatherLine));
    ui.TEXT_A11A->setText(toQString(view.motherLine));
    ui.RADIO_A3A->setEnabled(true);
    ui.RADIO_A4A->setEnabled(true);
    (view.fields.female ? ui.RADIO_A4A : ui.RADIO_A3A)->setChecked(true);
    if (view.sexLocked) {
        ui.RADIO_A3A->setEnabled(false);
        ui.RADIO_A4A->setEnabled(false);
    }
    ui.RADIO_A3A->setToolTip(toQString(view.sexWhyLocked));
    ui.RADIO_A4A->setToolTip(toQString(view.sexWhyLocked));
    ui.CHECK45->setChecked(view.fields.当姓);
}

editing::TypedPerson Form5::typed() const {
    editing::TypedPerson t;
    for (const auto& f : kTextFields) {
        t.*(f.typed) = toUtf8((ui_.get()->*(f.edit))->text());
    }
    t.創始階層 = toUtf8(ui_->EDIT_A15A->text());
    t.female = ui_->RADIO_A4A->isChecked();
    t.当姓 = ui_->CHECK45->isChecked();
    return t;
}

void Form5::showText(editing::PersonTextField field, const std::string& text) {
    for (const auto& f : kTextFields) {
        if (f.record == field) {
            (ui_.get()->*(f.edit))->setText(toQString(text));
        }
    }
}

void Form5::focusSurname() {
    ui_->EDIT_A1A->setFocus();
}

bool Form5::givenNameFirst() const {
    return ui_->CHECK35->isChecked();
}

void Form5::arrangeNameFields(bool givenNameFirst) {
    QLineEdit* first = givenNameFirst ? ui_->EDIT_A2A : ui_->EDIT_A1A;
    QLineEdit* second = givenNameFirst ? ui_->EDIT_A1A : ui_->EDIT_A2A;
    first->hide();
    second->hide();
    ui_->nameGrid->removeWidget(first);
    ui_->nameGrid->removeWidget(second);
    ui_->nameGrid->addWidget(first, 0, 1);
    ui_->nameGrid->addWidget(second, 0, 3);
    ui_->TEXT_A14A->setText(givenNameFirst ? "名" : "姓");
    ui_->TEXT_A9A->setText(givenNameFirst ? "姓" : "名");
    setTabOrder(first, second);
    first->show();
    second->show();
}

bool Form5::linkTicked() const {
    return ui_->CHECK39->isChecked();
}

void Form5::untickLink() {
    ui_->CHECK39->setChecked(false);
}

void Form5::setLinkAvailable(const std::string& whyNot) {
    ui_->CHECK39->setEnabled(whyNot.empty());
    ui_->CHECK39->setToolTip(toQString(whyNot));
}

void Form5::showGuidance(const std::string& text) {
    setGuidance(*ui_->guidanceLabel, text);
}

std::string Form5::guidance() const {
    return toUtf8(ui_->guidanceLabel->text());
}

void Form5::showLinkSource(const std::string& label) {
    ui_->TEXT39->setText(toQString(label));
}

void Form5::clearLinkSource() {
    ui_->TEXT39->clear();
}

} // namespace forms
