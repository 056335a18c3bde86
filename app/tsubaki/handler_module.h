// Handler modules: each fills its entries of the dispatch table. A module is one .cpp file
// of app/tsubaki/ that defines, at namespace scope,
//
//     const app::HandlerModule familyModule(20, "family editing", [](app::TsubakiApp& a) {
//         a.setHandler(app::EventCode::BUTTON_A5A_ON, [&a] { ... });
//     });
//
// Every TsubakiApp installs all modules in increasing `order` (ties by name); a later
// module's setHandler replaces an earlier entry. The modules of this program: 10 main
// window, 11 person form, 12 shutdown; family editing, charts and legal charts follow with
// orders of 20 and above.
#pragma once

#include <functional>

namespace app {

class TsubakiApp;

class HandlerModule {
public:
    using Install = std::function<void(TsubakiApp&)>;
    HandlerModule(int order, const char* name, Install install);
};

// Installs every registered module into `app`.
void installHandlerModules(TsubakiApp& app);

} // namespace app
