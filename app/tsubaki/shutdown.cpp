// The end of the program: "終　了" on MAINFORM (code 20) or FORM2 (code 21) saves the
// registers and "KANKYO.TXT" and ends. A save that fails is reported and the program goes
// on, so that nothing is lost.
#include "app/tsubaki/handler_module.h"
#include "app/tsubaki/tsubaki_app.h"

#include "common/file_io.h"
#include "forms/tsubaki/form2.h"

#include "ui_form2.h"

namespace app {

namespace {

// The registers in one folder transaction (the family register only from MAINFORM:
// FORM2's own save has written it), then "KANKYO.TXT", the end.
void finish(TsubakiApp& a, bool families) {
    std::vector<core::Part> parts;
    if (families && a.data().reg.familyCount() >= 1) {
        parts.push_back(core::Part::Families);
    }
    if (a.data().reg.personCount() >= 1) {
        parts.push_back(core::Part::Persons);
    }
    if (!parts.empty()) {
        a.data().save(parts);
    }
    core::writeEnvironment(a.environmentFile(), a.data().env);
    a.end(0);
}

void shutDown(TsubakiApp& a, bool fromFamilyForm) {
    try {
        if (fromFamilyForm) {
            // The family form's own save first, when a family is selected.
            if (a.form2().ui().LIST_A3A->currentRow() >= 0) {
                a.runHandler(EventCode::BUTTON_A7A_ON);
            }
        }
        finish(a, !fromFamilyForm);
    } catch (const common::FileError& e) {
        common::STOP_SUB(a.dialogs(), "保存できません",
                         std::string(e.what()) + "\n終了を取りやめました。");
    }
}

void install(TsubakiApp& a) {
    a.setHandler(EventCode::BUTTON_A15A_ON, [&a] { shutDown(a, false); });
    a.setHandler(EventCode::BUTTON_A16A_ON, [&a] { shutDown(a, true); });
}

const HandlerModule shutdownModule(12, "shutdown", install);

} // namespace

} // namespace app
