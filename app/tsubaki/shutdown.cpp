// The end of the program: "終　了" on MAINFORM (BUTTON_A15A_ON) saves the registers and
// "KANKYO.TXT" and ends; FORM2's (BUTTON_A16A_ON, module "family editing") runs it after the
// family form's own save. A save that fails is reported and the program goes on, so that
// nothing is lost.
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/tsubaki_app.h"

#include "common/file_io.h"
#include "editing/main_window.h"

namespace app {

namespace {

// The registers in one folder transaction, then "KANKYO.TXT", the end.
void finish(TsubakiApp& a) {
    const auto parts = editing::partsSavedAtEnd(a.data().reg);
    if (!parts.empty()) {
        a.data().save(parts);
    }
    core::writeEnvironment(a.environmentFile(), a.data().env);
    a.end(0);
}

void shutDown(TsubakiApp& a) {
    try {
        finish(a);
    } catch (const common::FileError& e) {
        common::STOP_SUB(a.dialogs(), "保存できません",
                         std::string(e.what()) + "\n終了を取りやめました。");
    }
}

void install(TsubakiApp& a, EventModule& m) {
    m.on(EventCode::BUTTON_A15A_ON, [&a] { shutDown(a); });
}

} // namespace

void installShutdownHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
