// FORM5, the person form, with the copy dialog FORM7 and the link-source dialog FORM9:
// filling the form, the name order, the sex lock, committing, copying and linking.
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"

#include "common/cp932.h"
#include "common/text.h"
#include "core/constants.h"
#include "editing/link_editing.h"
#include "editing/names.h"
#include "editing/person_editing.h"
#include "editing/person_links.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/form7.h"
#include "forms/tsubaki/form9.h"
#include "forms/tsubaki/mainform.h"
#include "platform/qt_text.h"

#include "ui_form5.h"
#include "ui_form7.h"
#include "ui_form9.h"
#include "ui_mainform.h"

using platform::toQString;
using platform::toUtf8;

namespace app {

namespace {

std::string text(const QLineEdit* edit) {
    return toUtf8(edit->text());
}

// The person form's fields and the register field each stands for.
struct FieldControl {
    QLineEdit* Ui::FORM5::*edit;
    std::string core::当事者::*member;
    QCheckBox* Ui::FORM7::*copyBox; // its check box in the copy dialog
    const char* copyCaption;
};

const FieldControl kFields[] = {
    {&Ui::FORM5::EDIT_A1A, &core::当事者::姓, &Ui::FORM7::CHECK27, "　　姓："},
    {&Ui::FORM5::EDIT_A2A, &core::当事者::名, &Ui::FORM7::CHECK28, "　　名："},
    {&Ui::FORM5::EDIT_A3A, &core::当事者::住所1, &Ui::FORM7::CHECK29, "住所１："},
    {&Ui::FORM5::EDIT_A18A, &core::当事者::住所2, &Ui::FORM7::CHECK30, "住所２："},
    {&Ui::FORM5::EDIT_A4A, &core::当事者::本籍1, &Ui::FORM7::CHECK31, "本籍１："},
    {&Ui::FORM5::EDIT_A19A, &core::当事者::本籍2, &Ui::FORM7::CHECK32, "本籍２："},
    {&Ui::FORM5::EDIT_A7A, &core::当事者::備考1, &Ui::FORM7::CHECK33, "備考１："},
    {&Ui::FORM5::EDIT_A8A, &core::当事者::備考2, &Ui::FORM7::CHECK34, "備考２："},
    {&Ui::FORM5::EDIT_A5A, &core::当事者::生年月日, &Ui::FORM7::CHECK41, "　生年月日："},
    {&Ui::FORM5::EDIT_A6A, &core::当事者::死亡年月日, &Ui::FORM7::CHECK42, "死亡年月日："},
};

} // namespace

void TsubakiApp::openPersonForm(editing::PersonSession session) {
    const auto& reg = data_.reg;
    const int p = session.person;
    const auto& person = reg.person(p);
    auto& ui = form5_->ui();
    const bool wasDispatching = dispatching_;
    dispatching_ = true;

    ui.BUTTON_A25A->setEnabled(session.committedCount >= 1);
    ui.CHECK35->setChecked(person.姓名順 == 1);
    if (person.C_当事者NO != p) {
        ui.CHECK39->setChecked(true);
        ui.TEXT39->setText(toQString(editing::linkLabel(person.C_当事者NO)));
    } else {
        ui.CHECK39->setChecked(false);
        ui.TEXT39->clear();
    }
    ui.CHECK39->setEnabled(editing::当事者リンク検索_SUB1(reg, p).result !=
                           editing::LinkRole::Source);
    form5_->arrangeNameFields(person.姓名順);

    // 当事者_ST_SUB
    ui.TEXT_A8A->setText(toQString("当事者Ｎｏ : " + std::to_string(p)));
    for (const auto& f : kFields) {
        (ui.*(f.edit))->setText(toQString(person.*(f.member)));
    }
    ui.EDIT_A15A->setText(QString::number(person.創始階層));
    ui.TEXT_A10A->setText(toQString(editing::parentLine("実父：", reg, person.実父NO)));
    ui.TEXT_A11A->setText(toQString(editing::parentLine("実母：", reg, person.実母NO)));
    ui.RADIO_A3A->setEnabled(true);
    ui.RADIO_A4A->setEnabled(true);
    (person.isFemale() ? ui.RADIO_A4A : ui.RADIO_A3A)->setChecked(true);
    if (editing::sexLocked(reg, p)) {
        ui.RADIO_A3A->setEnabled(false);
        ui.RADIO_A4A->setEnabled(false);
    }
    ui.CHECK45->setChecked(person.当姓 == 1);

    persons_.session = std::move(session);
    dispatching_ = wasDispatching;
    mainForm_->hide();
    form5_->setEnabled(true);
    form5_->show();
    form5_->activateWindow();
    ui.EDIT_A1A->setFocus();
}

void TsubakiApp::closePersonForm() {
    persons_.session.reset();
    form7_->hide();
    form9_->hide();
    form5_->hide();
    fillPersonList();
    updatePersonCountControls();
    const int count = data_.reg.personCount();
    int n = persons_.selected;
    if (n > count) {
        n = count;
    }
    if (n >= 1) {
        selectPerson(n);
    } else {
        persons_.selected = 0;
        showPersonDetail(0);
        mainForm_->ui().BUTTON34->setEnabled(false);
    }
    mainForm_->setEnabled(true);
    mainForm_->show();
    mainForm_->activateWindow();
}

void TsubakiApp::cancelPersonForm() {
    if (persons_.session) {
        editing::cancelSession(data_.reg, *persons_.session);
    }
    closePersonForm();
}

std::string TsubakiApp::personFormName() const {
    if (!persons_.session) {
        return {};
    }
    core::当事者 shown = data_.reg.person(persons_.session->person);
    try {
        shown.姓 = common::toFullWidth(text(form5_->ui().EDIT_A1A));
        shown.名 = common::toFullWidth(text(form5_->ui().EDIT_A2A));
    } catch (const common::Cp932Error&) {
        // A name the register cannot hold yet: the stored one stands in until the commit.
    }
    return editing::displayName(shown);
}

namespace {

editing::TypedPerson typedPerson(const Ui::FORM5& ui) {
    editing::TypedPerson t;
    t.姓 = text(ui.EDIT_A1A);
    t.名 = text(ui.EDIT_A2A);
    t.住所1 = text(ui.EDIT_A3A);
    t.住所2 = text(ui.EDIT_A18A);
    t.本籍1 = text(ui.EDIT_A4A);
    t.本籍2 = text(ui.EDIT_A19A);
    t.生年月日 = text(ui.EDIT_A5A);
    t.死亡年月日 = text(ui.EDIT_A6A);
    t.備考1 = text(ui.EDIT_A7A);
    t.備考2 = text(ui.EDIT_A8A);
    t.創始階層 = text(ui.EDIT_A15A);
    t.female = ui.RADIO_A4A->isChecked();
    t.当姓 = ui.CHECK45->isChecked();
    return t;
}

void showCopySource(TsubakiApp& a) {
    auto& ui = a.form7().ui();
    const int s = a.persons().copySource;
    if (s < 1 || s > a.data().reg.personCount()) {
        return;
    }
    const auto& source = a.data().reg.person(s);
    for (const auto& f : kFields) {
        (ui.*(f.copyBox))->setText(toQString(std::string(f.copyCaption) + source.*(f.member)));
    }
}

void commitPersonForm(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const auto session = *a.persons().session;
    auto& ui = a.form5().ui();
    const auto outcome = editing::commitPerson(a.data().reg, session, typedPerson(ui), a.dialogs());
    if (outcome == editing::CommitOutcome::NotStored) {
        return;
    }
    if (outcome == editing::CommitOutcome::Refused && !session.adding) {
        const auto& p = a.data().reg.person(session.person);
        ui.EDIT_A1A->setText(toQString(p.姓));
        ui.EDIT_A2A->setText(toQString(p.名));
    }
    a.persons().selected = session.person;
    a.closePersonForm();
}

void nameOrderClicked(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    auto& p = a.data().reg.person(a.persons().session->person);
    p.姓名順 = a.form5().ui().CHECK35->isChecked() ? 1 : 0;
    a.form5().arrangeNameFields(p.姓名順);
}

void linkClicked(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const int p = a.persons().session->person;
    auto& ui = a.form5().ui();
    if (!ui.CHECK39->isChecked()) {
        const bool registerFile = std::filesystem::exists(a.data().folder / core::kPersonFile);
        editing::removeLink(a.data().reg, p, registerFile, a.dialogs());
        ui.TEXT39->clear();
        return;
    }
    const auto candidates = editing::beginLink(a.data().reg, p, ui.RADIO_A4A->isChecked(),
                                               a.personFormName(), a.dialogs());
    if (!candidates) {
        ui.CHECK39->setChecked(false);
        return;
    }
    a.persons().linkCandidates = *candidates;
    auto* list = a.form9().ui().LIST7;
    list->clear();
    for (int n : *candidates) {
        list->addItem(toQString(editing::personChoiceLine(a.data().reg, n)));
    }
    a.form5().setEnabled(false);
    a.form9().show();
    a.form9().activateWindow();
}

void linkSourceChosen(TsubakiApp& a) {
    const int row = a.form9().ui().LIST7->currentRow();
    const auto& candidates = a.persons().linkCandidates;
    if (!a.persons().session || row < 0 || row >= static_cast<int>(candidates.size())) {
        return;
    }
    a.form9().hide();
    a.form5().setEnabled(true);
    a.form5().show();
    auto& ui = a.form5().ui();
    const auto outcome = editing::chooseLinkSource(a.data().reg, a.persons().session->person,
                                                   candidates[static_cast<std::size_t>(row)],
                                                   a.personFormName(), a.dialogs());
    if (outcome.linked) {
        ui.TEXT39->setText(toQString(editing::linkLabel(outcome.source)));
        ui.EDIT_A7A->setText(toQString(outcome.remark1));
    } else {
        ui.CHECK39->setChecked(false);
    }
}

void openCopyDialog(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const int count = a.persons().session->committedCount;
    auto* list = a.form7().ui().LIST6;
    list->clear();
    for (int n = 1; n <= count; ++n) {
        list->addItem(toQString(editing::personChoiceLine(a.data().reg, n)));
    }
    const int s = a.persons().copySource;
    if (s >= 1 && s <= count) {
        list->setCurrentRow(s - 1);
        showCopySource(a);
    } else {
        a.persons().copySource = 0;
    }
    a.form5().setEnabled(false);
    a.form7().show();
    a.form7().activateWindow();
}

void copySourceChosen(TsubakiApp& a) {
    a.persons().copySource = a.form7().ui().LIST6->currentRow() + 1;
    showCopySource(a);
}

void copyChosenFields(TsubakiApp& a) {
    a.form7().hide();
    a.form5().setEnabled(true);
    a.form5().show();
    const int s = a.persons().copySource;
    if (s < 1 || s > a.data().reg.personCount()) {
        return;
    }
    const auto& source = a.data().reg.person(s);
    auto& f5 = a.form5().ui();
    auto& f7 = a.form7().ui();
    for (const auto& f : kFields) {
        if ((f7.*(f.copyBox))->isChecked()) {
            (f5.*(f.edit))->setText(toQString(source.*(f.member)));
        }
    }
}

void install(TsubakiApp& a, EventModule& m) {
    using E = EventCode;

    m.on(E::BUTTON_A2A_ON, [&a] { commitPersonForm(a); });
    m.on(E::CHECK35_ON, [&a] { nameOrderClicked(a); });
    m.on(E::CHECK39_ON, [&a] { linkClicked(a); });
    m.on(E::LIST7_CLICK, [&a] { linkSourceChosen(a); });
    m.on(E::BUTTON_A25A_ON, [&a] { openCopyDialog(a); });
    m.on(E::LIST6_CLICK, [&a] { copySourceChosen(a); });
    m.on(E::BUTTON35_ON, [&a] { copyChosenFields(a); });
}

} // namespace

void installPersonFormHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
