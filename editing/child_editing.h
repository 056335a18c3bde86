// The descendant-flag rules of children: which family a person is drawn under as a
// descendant (子孫_F) and the family of the person's own line (子孫_FL), kept right when a
// child leaves a family and across linked persons. The child operations themselves are
// members of FamilyEditor (editing/family_editing.h).
#pragma once

#include "core/descendant_flags.h"

namespace editing {

// The rules themselves are shared with the list chart and live in core.
using core::familyHasChild;
using core::firstFamilyWithChild;
using core::firstTargetDescendantFamily;
using core::repairDescendantFlags;
using core::repairLinkedSource;

} // namespace editing
