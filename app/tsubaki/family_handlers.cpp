// The module "family editing" of the event table: the event codes of FORM2 and FORM6, the filling
// of FORM2 on "家族構成へ", the candidate list that acts at once, and what closing FORM6 means.
#include "app/tsubaki/family_handlers.h"

#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"
#include "editing/main_window.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"

#include <stdexcept>
#include <string>

namespace app {

FamilyEditing::FamilyEditing(TsubakiApp& app)
    : editor_(app.data(), app.dialogs()), form2_(app.form2()), form6_(app.form6()) {
    for (const auto& [name, state] : editor_.controls().all()) {
        if (!form2_.bindsControl(name) && !form6_.bindsControl(name)) {
            throw std::logic_error("family forms: no control named " + name);
        }
    }
}

void FamilyEditing::run(const std::function<void()>& operation) {
    auto applyStates = [this] {
        form2_.apply(editor_.controls());
        form6_.apply(editor_.controls());
    };
    form2_.copyInto(editor_.controls());
    form6_.copyInto(editor_.controls());
    try {
        operation();
    } catch (...) {
        editor_.explainDisabledControls();
        applyStates();
        throw;
    }
    editor_.explainDisabledControls();
    applyStates();
}

FamilyEditing::Outcome FamilyEditing::dispatch(editing::EventCode code) {
    Outcome outcome = Outcome::NotHandled;
    const int before = editor_.currentFamily();
    run([&] { outcome = editor_.dispatch(code); });
    if (editor_.currentFamily() != before && form6_.isVisible()) {
        form6_.raise();
    }
    return outcome;
}

void FamilyEditing::closeDetailForm() {
    run([this] {
        if (editor_.inChildSelection()) {
            editor_.chooseCandidate(0);
            editor_.childSelectionButton();
        }
        editor_.controls().hide("FORM6");
    });
}

namespace {

using Outcome = FamilyEditing::Outcome;

// "当事者入力へ" after the editor has hidden its forms: MAINFORM with its person list
// refilled (family editing changes parents and descendant flags) and the person selected
// before still selected. MAINFORM's "作図開始" follows the families as they are now.
void backToPersonInput(TsubakiApp& a) {
    a.mainForm().setChartAvailable(editing::whyNoChart(a.data()));
    a.fillPersonList();
    const int n = a.persons().selected;
    if (n >= 1 && n <= a.data().reg.personCount()) {
        a.selectPerson(n);
    } else {
        a.showPersonDetail(0);
        a.mainForm().setEditEnabled(false);
    }
    a.mainForm().show();
    a.mainForm().activateWindow();
}

// What the two forms do that goes past the event table: a click on the family already chosen
// opens FORM6 again after it was closed; "子供の追加" / "登録決定" raises the code of the
// editor's state; a candidate is only recorded, "登録決定" acts on it.
void connectForms(TsubakiApp& a, FamilyEditing& f) {
    using E = EventCode;
    QObject::connect(&a.form2(), &forms::Form2::familyClicked, &a.form2(), [&a] {
        if (a.form6().isHidden()) {
            a.dispatch(E::LIST_A3A_CLICK);
        }
    });
    QObject::connect(&a.form6(), &forms::Form6::childSelectionButtonClicked, &a.form6(),
                     [&a, &f] { a.dispatch(f.editor().childSelectionButtonCode()); });
    QObject::connect(&a.form6(), &forms::Form6::candidateChosen, &a.form6(),
                     [&f](int entry) { f.editor().chooseCandidate(entry); });
}

void install(TsubakiApp& a, EventModule& m) {
    using E = EventCode;
    FamilyEditing& f = a.familyEditing();

    // Every code of the editor, two of them with what follows in the program.
    for (const E code : editing::FamilyEditor::eventCodes()) {
        if (code != E::BUTTON_A9A_ON && code != E::BUTTON_A16A_ON) {
            m.on(code, [&f, code] { f.dispatch(code); });
        }
    }
    m.on(E::BUTTON_A9A_ON, [&a, &f] {
        f.dispatch(E::BUTTON_A9A_ON);
        backToPersonInput(a);
    });
    // FORM2's "終　了": its own save, and only when that succeeded the main window's end
    // (person register, "KANKYO.TXT", the end). That writes the family register a second
    // time, with the same content.
    m.on(E::BUTTON_A16A_ON, [&a, &f] {
        if (f.dispatch(E::BUTTON_A16A_ON) == Outcome::Done) {
            a.runHandler(E::BUTTON_A15A_ON);
        }
    });

    a.onFamilyFormOpened = [&f] { f.run([&f] { f.editor().open(); }); };
    connectForms(a, f);
    a.setCloseAction(&a.form6(), [&f] { f.closeDetailForm(); });
}

} // namespace

editing::FamilyEditor& familyEditor(TsubakiApp& app) {
    return app.familyEditing().editor();
}

void runFamilyOperation(TsubakiApp& app,
                        const std::function<void(editing::FamilyEditor&)>& operation) {
    auto& f = app.familyEditing();
    f.run([&] { operation(f.editor()); });
}

void installFamilyHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
