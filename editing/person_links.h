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

// Result of a link search: a code, the person given back in place of the one searched
// for, and the partner.
struct LinkSearch {
    int result = 0;
    int person = 0;
    int partner = 0;
};

// 当事者リンク検索_SUB1: 2 when p is a link target (person = its source, partner = p);
// else 1 when p is a link source (partner = its first target); else 0.
LinkSearch 当事者リンク検索_SUB1(const core::Registers& reg, int p);

// 当事者リンク検索_SUB3, before adding p as a child: 1 when p is a source one of whose
// targets q has real parents (person = q, partner = p); for a target p of s (partner = s):
// 2 when s has real parents, 3 when another target q of s has them (person = q); else 0.
LinkSearch 当事者リンク検索_SUB3(const core::Registers& reg, int p);

// 当事者リンク検索_SUB2, before linking a to the chosen source b. `a` and `b` come back
// possibly changed (b replaced by its own source, a by the conflicting person); `chosen`
// is the b that was chosen when it was replaced, else 0. Results 1..4 are the double
// registrations of real parents; 0 allows the link.
struct LinkCheck {
    int result = 0;
    int a = 0;
    int b = 0;
    int chosen = 0;
};
LinkCheck 当事者リンク検索_SUB2(const core::Registers& reg, int a, int b);

} // namespace editing
