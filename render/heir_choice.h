// FORM10's "法定相続人を選ぶ": from the heirs the law gives (core/heirs.h), which entries of the
// heir list are selected, and what the user is told: why nothing can be chosen, the heirs
// the list does not hold, and that the heirs may be incomplete.
#pragma once

#include "core/heirs.h"
#include "core/registers.h"

#include <optional>
#include <string>
#include <vector>

namespace render {

// A message box: its title and text.
struct HeirChoiceMessage {
    std::string title;
    std::string text;
    bool operator==(const HeirChoiceMessage&) const = default;
};

struct LegalHeirSelection {
    // Set when no heir can be chosen (the deceased is not known, or died under the old
    // Civil Code): the list stays as it is and `selected` is empty.
    std::optional<HeirChoiceMessage> refusal;
    std::vector<bool> selected;             // one per entry of the heir list
    std::vector<HeirChoiceMessage> notices; // shown after the choice, in order
};

// The choice for the heir list `list` (its persons, in list order).
LegalHeirSelection selectLegalHeirs(const core::Registers& reg, const core::HeirOutcome& heirs,
                                    const std::vector<int>& list);

} // namespace render
