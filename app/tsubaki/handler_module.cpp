#include "app/tsubaki/handler_module.h"

#include <algorithm>
#include <string>
#include <vector>

namespace app {

namespace {

struct Entry {
    int order;
    std::string name;
    HandlerModule::Install install;
};

// Built on first use, so that modules registering during static initialisation find it.
std::vector<Entry>& registry() {
    static std::vector<Entry> modules;
    return modules;
}

} // namespace

HandlerModule::HandlerModule(int order, const char* name, Install install) {
    registry().push_back({order, name, std::move(install)});
}

void installHandlerModules(TsubakiApp& app) {
    auto modules = registry();
    std::stable_sort(modules.begin(), modules.end(), [](const Entry& a, const Entry& b) {
        return a.order != b.order ? a.order < b.order : a.name < b.name;
    });
    for (const auto& m : modules) {
        m.install(app);
    }
}

} // namespace app
