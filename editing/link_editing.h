// Setting and removing a person link in the person form (check box "当事者リンク" and the
// link-source dialog), with every check that keeps a link group consistent: a source is
// never itself a target, a source cannot become a target, both are of the same sex, and
// only one record of a group has real parents.
#pragma once

#include "common/dialogs.h"
#include "core/registers.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

// The box was ticked for person p: `female` is the sex chosen in the form (stored into p
// first). Returns the candidate sources (every other person of the same sex, in number
// order), or nullopt after telling the user why p cannot be linked (p is a link source, or
// nobody is of the same sex); the box is then cleared. `nameP` is p's name as the form
// shows it.
std::optional<std::vector<int>> beginLink(core::Registers& reg, int p, bool female,
                                          std::string_view nameP, common::Dialogs& dialogs);

struct LinkOutcome {
    bool linked = false;
    int source = 0;      // the source p now links to
    std::string remark1; // the text for the form's 備考１ field of p (the source's name)
};

// Person `s` was chosen in the link-source dialog for p. A chosen link target is replaced
// by its own source (with a notice); the double registration of real parents and p chosen
// as its own source are refused with their messages. On success p's C_当事者NO names the
// source, the source's 備考1 gets p's name appended and, when it had none, the source takes
// p's descendant family.
LinkOutcome chooseLinkSource(core::Registers& reg, int p, int s, std::string_view nameP,
                             common::Dialogs& dialogs);

// The box was cleared: p is its own source again. With a person register file in the data
// folder (`registerFilePresent`), the descendant flag of the former source is repaired and
// the user told when it moved to another family.
void removeLink(core::Registers& reg, int p, bool registerFilePresent, common::Dialogs& dialogs);

// "No:" and the source number as the label beside the box shows it (" 12" form).
std::string linkLabel(int source);

} // namespace editing
