// The module "family editing" of the event table: the event codes of FORM2 and FORM6, the filling
// of FORM2 on "家族構成へ", the candidate list that acts at once, and what closing FORM6 means.
#include "app/tsubaki/family_handlers.h"

#include "app/tsubaki/event_table.h"
#include "app/tsubaki/family_binding.h"
#include "app/tsubaki/tsubaki_app.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"

#include "ui_form2.h"
#include "ui_form6.h"
#include "ui_mainform.h"

#include <stdexcept>

namespace app {

namespace {

using Outcome = editing::FamilyEditor::Outcome;

constexpr const char* kWiringName = "familyEditing";

// The editor with the binding of its controls. A child object of FORM2, so that it lives as
// long as the forms and is found through them.
class FamilyWiring : public QObject {
public:
    explicit FamilyWiring(TsubakiApp& a)
        : QObject(&a.form2()), editor_(a.data(), a.dialogs()),
          binding_(editor_.controls(), {&a.form2(), &a.form6()}), form6_(&a.form6()) {
        setObjectName(kWiringName);
    }

    editing::FamilyEditor& editor() { return editor_; }

    void run(const std::function<void()>& operation) {
        binding_.copyIn(editor_.controls());
        try {
            operation();
        } catch (...) {
            binding_.apply(editor_.controls());
            throw;
        }
        binding_.apply(editor_.controls());
    }

    // A family chosen in FORM2 (a click, a search, a new family) brings FORM6, which shows
    // it, to the front without taking the focus from the list.
    Outcome dispatch(EventCode code) {
        Outcome outcome = Outcome::NotHandled;
        const int before = editor_.currentFamily();
        run([&] { outcome = editor_.dispatch(code); });
        if (editor_.currentFamily() != before && form6_->isVisible()) {
            form6_->raise();
        }
        return outcome;
    }

    // Closing FORM6 through its frame: back to FORM2. A child selection still open ends as
    // "キャンセル" would end it, adding nobody.
    void closeDetailForm() {
        run([this] {
            if (editor_.inChildSelection()) {
                editor_.chooseCandidate(0);
                editor_.childSelectionButton();
            }
            editor_.controls().hide("FORM6");
        });
    }

private:
    editing::FamilyEditor editor_;
    ControlBinding binding_;
    QWidget* form6_;
};

FamilyWiring& wiring(TsubakiApp& a) {
    auto* w = a.form2().findChild<QObject*>(kWiringName, Qt::FindDirectChildrenOnly);
    if (w == nullptr) {
        throw std::logic_error("family editing is not installed");
    }
    return *static_cast<FamilyWiring*>(w);
}

// "当事者入力へ" after the editor has hidden its forms: MAINFORM with its person list
// refilled (family editing changes parents and descendant flags) and the person selected
// before still selected. MAINFORM's "作図開始" follows the families as they are now by the
// rule of start-up: no chart while a family has neither husband nor wife.
void backToPersonInput(TsubakiApp& a) {
    a.mainForm().ui().BUTTON39->setEnabled(a.data().settingsFilePresent &&
                                           !a.data().hasFamilyWithoutPartners());
    a.fillPersonList();
    const int n = a.persons().selected;
    if (n >= 1 && n <= a.data().reg.personCount()) {
        a.selectPerson(n);
    } else {
        a.showPersonDetail(0);
        a.mainForm().ui().BUTTON34->setEnabled(false);
    }
    a.mainForm().show();
    a.mainForm().activateWindow();
}

void install(TsubakiApp& a, EventModule& m) {
    using E = EventCode;
    auto* w = new FamilyWiring(a); // owned by FORM2

    // Every code of the editor, two of them with what follows in the program.
    for (const E code : editing::FamilyEditor::eventCodes()) {
        if (code != E::BUTTON_A9A_ON && code != E::BUTTON_A16A_ON) {
            m.on(code, [w, code] { w->dispatch(code); });
        }
    }
    m.on(E::BUTTON_A9A_ON, [&a, w] {
        w->dispatch(E::BUTTON_A9A_ON);
        backToPersonInput(a);
    });
    // FORM2's "終　了": its own save, and only when that succeeded the main window's end
    // (person register, "KANKYO.TXT", the end). That writes the family register a second
    // time, with the same content.
    m.on(E::BUTTON_A16A_ON, [&a, w] {
        if (w->dispatch(E::BUTTON_A16A_ON) == Outcome::Done) {
            a.runHandler(E::BUTTON_A15A_ON);
        }
    });

    a.onFamilyFormOpened = [w] { w->run([w] { w->editor().open(); }); };

    auto& f2 = a.form2().ui();
    auto& f6 = a.form6().ui();
    // A click on the family already selected opens FORM6 again after it was closed.
    QObject::connect(f2.LIST_A3A, &QListWidget::itemClicked, w, [&a] {
        if (a.form6().isHidden()) {
            a.dispatch(E::LIST_A3A_CLICK);
        }
    });
    // The candidate list only records the choice; "登録決定" acts on it.
    QObject::connect(f6.LIST_A4A, &QListWidget::currentRowChanged, w,
                     [w](int row) { w->editor().chooseCandidate(row); });
    // Typed titles are stored by their "登録" buttons, never added to the offered entries.
    for (QComboBox* combo : {f6.COMBO6, f6.COMBO7, f6.COMBO_A3A}) {
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    a.setCloseAction(&a.form6(), [w] { w->closeDetailForm(); });
}

} // namespace

editing::FamilyEditor& familyEditor(TsubakiApp& app) {
    return wiring(app).editor();
}

void runFamilyOperation(TsubakiApp& app,
                        const std::function<void(editing::FamilyEditor&)>& operation) {
    auto& w = wiring(app);
    w.run([&] { operation(w.editor()); });
}

void installFamilyHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
