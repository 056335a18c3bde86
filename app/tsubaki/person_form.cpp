// FORM5, the person form, with the copy dialog FORM7 and the link-source dialog FORM9:
// filling the form, the name order, the sex lock, committing, copying and linking.
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"

#include "editing/link_editing.h"
#include "editing/person_editing.h"
#include "editing/person_form.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/form7.h"
#include "forms/tsubaki/form9.h"
#include "forms/tsubaki/mainform.h"

namespace app {

void TsubakiApp::openPersonForm(editing::PersonSession session) {
    form5_->load(editing::personFormView(data_.reg, session));
    persons_.session = std::move(session);
    mainForm_->hide();
    form5_->setEnabled(true);
    form5_->show();
    form5_->activateWindow();
    form5_->focusSurname();
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
        mainForm_->setEditEnabled(false);
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
    // The undo step the form kept open closes with it (a commit closes it in dispatch).
    if (!dispatching_) {
        history_.end(data_.reg);
    }
}

std::string TsubakiApp::personFormName() const {
    if (!persons_.session) {
        return {};
    }
    const auto typed = form5_->typed();
    return editing::typedDisplayName(data_.reg.person(persons_.session->person), typed.姓,
                                     typed.名);
}

namespace {

// The lines of persons `persons` for a choice list.
std::vector<std::string> choiceLines(const core::Registers& reg, const std::vector<int>& persons) {
    std::vector<std::string> lines;
    for (int n : persons) {
        lines.push_back(editing::personChoiceLine(reg, n));
    }
    return lines;
}

void showCopySource(TsubakiApp& a) {
    const int s = a.persons().copySource;
    if (s < 1 || s > a.data().reg.personCount()) {
        return;
    }
    a.form7().showSource(a.data().reg.person(s));
}

void commitPersonForm(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const auto session = *a.persons().session;
    const auto outcome =
        editing::commitPerson(a.data().reg, session, a.form5().typed(), a.dialogs());
    if (outcome == editing::CommitOutcome::NotStored) {
        return;
    }
    if (outcome == editing::CommitOutcome::Refused && !session.adding) {
        const auto& p = a.data().reg.person(session.person);
        a.form5().showText(&core::当事者::姓, p.姓);
        a.form5().showText(&core::当事者::名, p.名);
    }
    a.persons().selected = session.person;
    a.closePersonForm();
}

void nameOrderClicked(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    auto& p = a.data().reg.person(a.persons().session->person);
    p.姓名順 = a.form5().givenNameFirst() ? 1 : 0;
    a.form5().arrangeNameFields(p.姓名順 == 1);
}

void linkClicked(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const int p = a.persons().session->person;
    auto& form = a.form5();
    if (!form.linkTicked()) {
        editing::unlinkPerson(a.data(), p, a.dialogs());
        form.clearLinkSource();
        return;
    }
    const auto candidates =
        editing::beginLink(a.data().reg, p, form.typed().female, a.personFormName(), a.dialogs());
    if (!candidates) {
        form.untickLink();
        return;
    }
    a.persons().linkCandidates = *candidates;
    a.form9().showCandidates(choiceLines(a.data().reg, *candidates));
    form.setEnabled(false);
    a.form9().show();
    a.form9().activateWindow();
}

void linkSourceChosen(TsubakiApp& a) {
    const int row = a.form9().chosenEntry();
    const auto& candidates = a.persons().linkCandidates;
    if (!a.persons().session || row < 0 || row >= static_cast<int>(candidates.size())) {
        return;
    }
    a.form9().hide();
    auto& form = a.form5();
    form.setEnabled(true);
    form.show();
    const auto outcome = editing::chooseLinkSource(a.data().reg, a.persons().session->person,
                                                   candidates[static_cast<std::size_t>(row)],
                                                   a.personFormName(), a.dialogs());
    if (outcome.linked) {
        form.showLinkSource(editing::linkLabel(outcome.source));
        form.showText(&core::当事者::備考1, outcome.remark1);
    } else {
        form.untickLink();
    }
}

void openCopyDialog(TsubakiApp& a) {
    if (!a.persons().session) {
        return;
    }
    const int count = a.persons().session->committedCount;
    std::vector<int> persons;
    for (int n = 1; n <= count; ++n) {
        persons.push_back(n);
    }
    a.form7().showPersons(choiceLines(a.data().reg, persons));
    const int s = a.persons().copySource;
    if (s >= 1 && s <= count) {
        a.form7().selectPerson(s);
        showCopySource(a);
    } else {
        a.persons().copySource = 0;
    }
    a.form5().setEnabled(false);
    a.form7().show();
    a.form7().activateWindow();
}

void copySourceChosen(TsubakiApp& a) {
    a.persons().copySource = a.form7().selectedPerson();
    showCopySource(a);
}

void copyChosenFields(TsubakiApp& a) {
    a.form7().hide();
    a.form5().setEnabled(true);
    a.form5().show();
    const int s = a.persons().copySource;
    if (s < 1 || s > a.data().reg.personCount()) {
        a.form5().showGuidance("複写元の当事者が選ばれていないので、何も複写していません");
        return;
    }
    const auto& source = a.data().reg.person(s);
    const auto fields = a.form7().tickedFields();
    if (fields.empty()) {
        a.form5().showGuidance("複写する項目にチェックがないので、何も複写していません");
        return;
    }
    for (const editing::PersonTextField field : fields) {
        a.form5().showText(field, source.*field);
    }
    a.form5().showGuidance("複写しました。「リスト登録」で登録されます");
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
