// The person-link searches: a link target is a person record whose C_当事者NO names another
// record, its link source, that stands for the same human.
#pragma once

#include "core/registers.h"

#include <vector>

namespace editing {

// True when the person has a real father or mother recorded.
bool hasRealParents(const core::Registers& reg, int person);
// True when the person is a link target (its C_当事者NO names another person).
bool isLinkTarget(const core::Registers& reg, int person);
// The link source of a person: C_当事者NO, or the person itself.
int linkSource(const core::Registers& reg, int person);
// The persons that link to `source`, in person-number order.
std::vector<int> linkTargets(const core::Registers& reg, int source);

// Result of a link search: what it found, the person given back in place of the one
// searched for, and the partner.
template <class Found> struct LinkSearchResult {
    Found result{};
    int person = 0;
    int partner = 0;
};

// What 当事者リンク検索_SUB1 finds a person to be (the numbers are the search's own codes).
enum class LinkRole {
    None = 0,
    Source = 1, // other persons link to p: partner = its first target
    Target = 2, // p links to another: person = its source, partner = p
};
using LinkSearch = LinkSearchResult<LinkRole>;
LinkSearch 当事者リンク検索_SUB1(const core::Registers& reg, int p);

// Where 当事者リンク検索_SUB3, before p is added as a child, finds real parents in p's link
// group (for a target p of s, partner = s).
enum class LinkedParents {
    None = 0,
    OfTarget = 1,      // p is a source, and one of its targets q has them (person = q, partner = p)
    OfSource = 2,      // p is a target, and its source s has them
    OfOtherTarget = 3, // p is a target, and another target q of s has them (person = q)
};
using ParentsSearch = LinkSearchResult<LinkedParents>;
ParentsSearch 当事者リンク検索_SUB3(const core::Registers& reg, int p);

// Why 当事者リンク検索_SUB2 refuses to link a (which has real parents) to the chosen source
// b: the real parents would be registered twice.
enum class LinkConflict {
    None = 0,                     // the link is allowed
    ChosenHasParents = 1,         // b has real parents
    TargetOfChosenHasParents = 2, // another target of b has them (a = that target)
    SourceHasParents = 3,         // the chosen b is a target, and its own source has them
    TargetOfSourceHasParents = 4, // another target of b's source has them (a = that target)
};
// 当事者リンク検索_SUB2, before linking a to the chosen source b. `a` and `b` come back
// possibly changed (b replaced by its own source, a by the conflicting person); `chosen`
// is the b that was chosen when it was replaced, else 0.
struct LinkCheck {
    LinkConflict result = LinkConflict::None;
    int a = 0;
    int b = 0;
    int chosen = 0;
};
LinkCheck 当事者リンク検索_SUB2(const core::Registers& reg, int a, int b);

} // namespace editing
