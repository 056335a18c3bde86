// The title a child added to a family is offered: 長男, 二男, 三男 … for sons, 長女, 二女 …
// for daughters, 養子 or 養女 for an adopted child.
#pragma once

#include "core/registers.h"

#include <string>

namespace editing {

struct ChildTitleProposal {
    std::string title;  // "二男"
    std::string reason; // one line for the user: why this title
};

// The title implied for the child in slot `slot` (1-based) of family `family`. A child by
// adoption is 養子 (a son or a child whose sex is not recorded) or 養女. Any other child is
// counted among the family's children of the same sex that are not adopted: in slot order,
// except that of two children whose birth dates are both real 和暦 dates the one born first
// comes first.
ChildTitleProposal proposedChildTitle(const core::Registers& reg, int family, int slot);

// 1 to 9999 in kanji numerals as titles count ("二", "十", "十一", "二十三", "百一").
std::string kanjiNumber(int n);

} // namespace editing
