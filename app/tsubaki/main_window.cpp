// MAINFORM: the person list and details, adding and editing persons, the given-name
// search, saving, the way to the family form and the mode toggle.
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"

#include "editing/person_editing.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"
#include "platform/qt_text.h"

#include "ui_form5.h"
#include "ui_mainform.h"

using platform::toQString;

namespace app {

void TsubakiApp::fillPersonList() {
    const bool wasDispatching = dispatching_;
    dispatching_ = true;
    auto* list = mainForm_->ui().LIST_A1A;
    list->clear();
    for (int n = 1; n <= data_.reg.personCount(); ++n) {
        list->addItem(toQString(editing::personListLine(data_.reg, n)));
    }
    dispatching_ = wasDispatching;
}

void TsubakiApp::showPersonDetail(int n) {
    auto* edit = mainForm_->ui().EDIT20;
    if (n < 1 || n > data_.reg.personCount()) {
        edit->clear();
        return;
    }
    // The text's lines end in CR LF; the field shows plain line breaks.
    edit->setPlainText(toQString(editing::personDetailText(data_.reg, n)).replace("\r\n", "\n"));
}

void TsubakiApp::selectPerson(int n) {
    const bool wasDispatching = dispatching_;
    dispatching_ = true;
    auto& ui = mainForm_->ui();
    ui.LIST_A1A->setCurrentRow(n - 1);
    dispatching_ = wasDispatching;
    persons_.selected = n;
    ui.BUTTON34->setEnabled(ui.LIST_A1A->currentRow() >= 0);
    showPersonDetail(n);
}

void TsubakiApp::updatePersonCountControls() {
    const bool several = data_.reg.personCount() > 1;
    mainForm_->ui().BUTTON_A8A->setVisible(several);
    form5_->ui().CHECK39->setEnabled(several);
}

namespace {

void addPerson(TsubakiApp& a) {
    auto session = editing::beginAdd(a.data().reg, a.data().env, a.dialogs());
    if (!session) {
        return;
    }
    a.persons().selected = session->person;
    a.openPersonForm(std::move(*session));
    a.mainForm().ui().LIST_A1A->setCurrentRow(-1);
    a.mainForm().ui().LIST_A1A->clearSelection();
}

void editSelectedPerson(TsubakiApp& a) {
    const int n = a.persons().selected;
    if (n < 1 || n > a.data().reg.personCount()) {
        return;
    }
    a.openPersonForm(editing::beginEdit(a.data().reg, n));
}

void openFamilyForm(TsubakiApp& a) {
    if (a.data().reg.personCount() < 2) {
        return;
    }
    if (!a.save([&a] { a.data().savePersons(); })) {
        return;
    }
    a.mainForm().hide();
    a.form2().show();
    a.form2().activateWindow();
    if (a.onFamilyFormOpened) {
        a.onFamilyFormOpened();
    }
}

void searchGivenName(TsubakiApp& a) {
    if (a.data().reg.personCount() < 1) {
        return;
    }
    const auto text = a.dialogs().input("名前を検索", "姓は入力しない", "");
    a.persons().searchText = text.value_or("");
    if (a.persons().searchText.empty()) {
        return;
    }
    if (const int n = editing::findByGivenName(a.data().reg, a.persons().searchText, 1)) {
        a.selectPerson(n);
    }
}

void searchNextGivenName(TsubakiApp& a) {
    if (a.persons().searchText.empty()) {
        return;
    }
    const int from = a.mainForm().ui().LIST_A1A->currentRow() + 2;
    if (from > a.data().reg.personCount()) {
        return;
    }
    if (const int n = editing::findByGivenName(a.data().reg, a.persons().searchText, from)) {
        a.selectPerson(n);
    }
}

void toggleMode(TsubakiApp& a) {
    auto& mode = a.data().env.Mode;
    if (mode == 1) {
        a.mainForm().ui().BUTTON_A30A->setText("通常モードへ");
        mode = 0;
    } else {
        a.mainForm().ui().BUTTON_A30A->setText("varovﾓｰﾄﾞへ");
        mode = 1;
    }
    a.setModeCaptions();
}

void install(TsubakiApp& a, EventModule& m) {
    using E = EventCode;

    m.on(E::LIST_A1A_CLICK, [&a] { a.showPersonDetail(a.persons().selected); });
    m.on(E::BUTTON_A1A_ON, [&a] { addPerson(a); });
    m.on(E::BUTTON34_ON, [&a] { editSelectedPerson(a); });
    m.on(E::BUTTON_A3A_ON, [&a] { a.save([&a] { a.data().savePersons(); }); });
    m.on(E::BUTTON_A8A_ON, [&a] { openFamilyForm(a); });
    m.on(E::BUTTON_A26A_ON, [&a] { searchGivenName(a); });
    m.on(E::BUTTON_A27A_ON, [&a] { searchNextGivenName(a); });
    m.on(E::BUTTON_A30A_ON, [&a] { toggleMode(a); });
}

} // namespace

void installMainWindowHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
