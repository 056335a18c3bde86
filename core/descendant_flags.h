// The descendant-flag rules: which family a person is drawn under as a descendant (子孫_F)
// and the family of the person's own line (子孫_FL), kept right when a child leaves a
// family and across linked persons. Used by the family editor when a child is deleted and
// by the list chart when it drops children that do not inherit.
#pragma once

#include "core/registers.h"

namespace core {

// The first family, from 1 upward, that has `person` among its children; 0 when none.
int firstFamilyWithChild(const Registers& reg, int person);

// True when family `family` (0 or out of range: false) has `person` among its children.
bool familyHasChild(const Registers& reg, int family, int person);

// The first non-zero 子孫_FL among the link targets of `source` (the persons whose
// C_当事者NO names it), in person-number order; 0 when none has one.
int firstTargetDescendantFamily(const Registers& reg, int source);

// Repairs the descendant flags of `person` after it was taken out of the children of
// `family`: flags naming that family move to another family that still has the person as
// a child, or to the person's own line, or become 0.
void repairDescendantFlags(Registers& reg, int person, int family);

// After `person`, a link target of `source`, left the children of `family`: when the
// source was drawn through that family it follows the person's remaining descendant family,
// else its own line, else the first line among its targets, else none.
void repairLinkedSource(Registers& reg, int person, int source, int family);

// Everything that follows from `person` leaving the children of `family`: its own flags,
// then those of its link source when it is a link target, or, when it is a link source left
// without a descendant family, the first line among its targets.
void repairAfterLeavingFamily(Registers& reg, int person, int family);

} // namespace core
