// MAINFORM: the person list and details, adding and editing persons, the given-name
// search, saving, the way to the family form and the mode toggle.
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"

#include "editing/main_window.h"
#include "editing/person_editing.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/mainform.h"

namespace app {

void TsubakiApp::fillPersonList() {
    std::vector<std::string> lines;
    for (int n = 1; n <= data_.reg.personCount(); ++n) {
        lines.push_back(editing::personListLine(data_.reg, n));
    }
    mainForm_->showPersons(lines);
}

void TsubakiApp::showPersonDetail(int n) {
    if (n < 1 || n > data_.reg.personCount()) {
        mainForm_->clearDetail();
        return;
    }
    mainForm_->showDetail(editing::personDetailText(data_.reg, n));
}

void TsubakiApp::selectPerson(int n) {
    mainForm_->selectPerson(n);
    persons_.selected = n;
    showPersonDetail(n);
}

void TsubakiApp::updatePersonCountControls() {
    mainForm_->setFamilyFormAvailable(editing::whyNoFamilyForm(data_.reg));
    form5_->setLinkAvailable(editing::whyNoLinkYet(data_.reg));
}

namespace {

void addPerson(TsubakiApp& a) {
    auto session = editing::beginAdd(a.data().reg, a.data().env, a.dialogs());
    if (!session) {
        return;
    }
    a.persons().selected = session->person;
    a.openPersonForm(std::move(*session));
    a.mainForm().clearSelection();
}

void showChosenPerson(TsubakiApp& a) {
    a.persons().selected = a.mainForm().selectedPerson();
    a.showPersonDetail(a.persons().selected);
}

void editSelectedPerson(TsubakiApp& a) {
    a.persons().selected = a.mainForm().selectedPerson();
    const int n = a.persons().selected;
    if (n < 1 || n > a.data().reg.personCount()) {
        return;
    }
    a.openPersonForm(editing::beginEdit(a.data().reg, n));
}

void openFamilyForm(TsubakiApp& a) {
    if (!editing::canRelatePersons(a.data().reg)) {
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
        a.mainForm().showGuidance("当事者がまだ登録されていません");
        return;
    }
    const auto text = a.dialogs().input("名前を検索", "姓は入力しない", "");
    a.persons().searchText = text.value_or("");
    if (a.persons().searchText.empty()) {
        return;
    }
    if (const int n = editing::findByGivenName(a.data().reg, a.persons().searchText, 1)) {
        a.selectPerson(n);
    } else {
        a.mainForm().showGuidance("名が「" + a.persons().searchText +
                                  "」の当事者は見つかりません（姓は入力しません）");
    }
}

void searchNextGivenName(TsubakiApp& a) {
    if (a.persons().searchText.empty()) {
        a.mainForm().showGuidance("先に「名前を検索」で名を入力してください");
        return;
    }
    const int from = a.mainForm().selectedPerson() + 1;
    const int n = from > a.data().reg.personCount()
                      ? 0
                      : editing::findByGivenName(a.data().reg, a.persons().searchText, from);
    if (n > 0) {
        a.selectPerson(n);
    } else {
        a.mainForm().showGuidance("これより後に、名が「" + a.persons().searchText +
                                  "」の当事者はいません");
    }
}

void savePersons(TsubakiApp& a) {
    if (a.save([&a] { a.data().savePersons(); })) {
        a.mainForm().showGuidance("当事者のデータをファイルに保存しました");
    }
}

void toggleMode(TsubakiApp& a) {
    auto& mode = a.data().env.Mode;
    mode = static_cast<std::int16_t>(editing::switchedMode(mode));
    a.mainForm().showMode(editing::modeCaptions(mode, false));
}

void install(TsubakiApp& a, EventModule& m) {
    using E = EventCode;

    m.on(E::LIST_A1A_CLICK, [&a] { showChosenPerson(a); });
    m.on(E::BUTTON_A1A_ON, [&a] { addPerson(a); });
    m.on(E::BUTTON34_ON, [&a] { editSelectedPerson(a); });
    m.on(E::BUTTON_A3A_ON, [&a] { savePersons(a); });
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
