#include "app/tsubaki/event_table.h"

#include "app/tsubaki/tsubaki_app.h"

#include <stdexcept>
#include <string>

namespace app {

void EventModule::on(EventCode code, std::function<void()> handler) {
    app_.fillHandler(code, name_, std::move(handler));
}

void buildEventTable(TsubakiApp& app) {
    struct Module {
        std::string_view name;
        void (*install)(TsubakiApp&, EventModule&);
    };
    static constexpr Module modules[] = {
        {"main window", installMainWindowHandlers}, {"person form", installPersonFormHandlers},
        {"shutdown", installShutdownHandlers},      {"family editing", installFamilyHandlers},
        {"charts", installChartHandlers},           {"legal charts", installLegalHandlers},
    };
    for (const Module& module : modules) {
        EventModule m(app, module.name);
        module.install(app, m);
    }
}

} // namespace app
