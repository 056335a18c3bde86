// "元に戻す" and "やり直す": the registers of the undo history put back, and the main window
// and the family forms shown again from them.
#include "app/tsubaki/tsubaki_app.h"

#include "app/tsubaki/family_handlers.h"
#include "editing/main_window.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"

namespace app {

std::string TsubakiApp::historyBlocked() const {
    if (persons_.session) {
        return "当事者の入力中は使えません";
    }
    return familyEditing_->editor().historyBlocked();
}

void TsubakiApp::showHistory() {
    const auto view = editing::undoView(history_, historyBlocked());
    mainForm_->showUndo(view);
    form2_->showUndo(view);
    form6_->showUndo(view);
}

void TsubakiApp::undo() {
    if (dispatching_ || ended_ || !historyBlocked().empty()) {
        return;
    }
    const std::string name = history_.undoName();
    if (history_.undo(data_.reg)) {
        showRestoredRegisters("「" + name + "」を元に戻しました");
    }
}

void TsubakiApp::redo() {
    if (dispatching_ || ended_ || !historyBlocked().empty()) {
        return;
    }
    const std::string name = history_.redoName();
    if (history_.redo(data_.reg)) {
        showRestoredRegisters("「" + name + "」をやり直しました");
    }
}

void TsubakiApp::showRestoredRegisters(const std::string& guidance) {
    const int count = data_.reg.personCount();
    persons_.selected = std::min(persons_.selected, count);
    if (persons_.copySource > count) {
        persons_.copySource = 0;
    }
    runFamilyOperation(*this, [&guidance](editing::FamilyEditor& editor) {
        editor.showRestoredRegisters();
        editor.controls().setText(editing::kListGuidance, guidance);
        editor.controls().setText(editing::kDetailGuidance, guidance);
    });
    fillPersonList();
    updatePersonCountControls();
    mainForm_->setChartAvailable(editing::whyNoChart(data_));
    if (persons_.selected >= 1) {
        selectPerson(persons_.selected);
    } else {
        showPersonDetail(0);
        mainForm_->setEditEnabled(false);
    }
    mainForm_->showGuidance(guidance);
    showHistory();
}

} // namespace app
