// The event table of tsubaki: each event code (editing/event_codes.h) to its handler and the
// module that filled it. buildEventTable() fills it in one place, module by module in a fixed
// order (event_table.cpp); a code is filled once, by one module.
#pragma once

#include "editing/event_codes.h"

#include <functional>
#include <string_view>

namespace app {

using editing::EventCode;

class TsubakiApp;

// What one module fills its entries through.
class EventModule {
public:
    EventModule(TsubakiApp& app, std::string_view name) : app_(app), name_(name) {}

    // Fills the entry of `code`. Throws std::logic_error naming both modules when the entry
    // is filled already, and naming the code when it is outside the table.
    void on(EventCode code, std::function<void()> handler);

private:
    TsubakiApp& app_;
    std::string_view name_;
};

// The modules, each in its own file, in the order the table is built.
void installMainWindowHandlers(TsubakiApp& a, EventModule& m); // main_window.cpp
void installPersonFormHandlers(TsubakiApp& a, EventModule& m); // person_form.cpp
void installShutdownHandlers(TsubakiApp& a, EventModule& m);   // shutdown.cpp
void installFamilyHandlers(TsubakiApp& a, EventModule& m);     // family_handlers.cpp
void installChartHandlers(TsubakiApp& a, EventModule& m);      // chart_handlers.cpp
void installLegalHandlers(TsubakiApp& a, EventModule& m);      // legal_handlers.cpp

// Fills the table of `app`: every module above, in that order.
void buildEventTable(TsubakiApp& app);

} // namespace app
