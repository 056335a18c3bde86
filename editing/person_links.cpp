#include "editing/person_links.h"

namespace editing {

bool hasRealParents(const core::Registers& reg, int person) {
    const auto& p = reg.person(person);
    return p.実父NO != 0 || p.実母NO != 0;
}

bool isLinkTarget(const core::Registers& reg, int person) {
    return reg.person(person).C_当事者NO != person;
}

int linkSource(const core::Registers& reg, int person) {
    return reg.person(person).C_当事者NO;
}

std::vector<int> linkTargets(const core::Registers& reg, int source) {
    std::vector<int> out;
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (i != source && reg.person(i).C_当事者NO == source) {
            out.push_back(i);
        }
    }
    return out;
}

LinkSearch 当事者リンク検索_SUB1(const core::Registers& reg, int p) {
    if (isLinkTarget(reg, p)) {
        return {2, linkSource(reg, p), p};
    }
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (i != p && reg.person(i).C_当事者NO == p) {
            return {1, p, i};
        }
    }
    return {0, p, 0};
}

namespace {

// The first target of `source`, other than the persons in `except`, with real parents.
int targetWithRealParents(const core::Registers& reg, int source,
                          std::initializer_list<int> except) {
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (reg.person(i).C_当事者NO != source || i == source) {
            continue;
        }
        bool excluded = false;
        for (int e : except) {
            excluded = excluded || e == i;
        }
        if (!excluded && hasRealParents(reg, i)) {
            return i;
        }
    }
    return 0;
}

} // namespace

LinkSearch 当事者リンク検索_SUB3(const core::Registers& reg, int p) {
    if (!isLinkTarget(reg, p)) {
        if (const int q = targetWithRealParents(reg, p, {p})) {
            return {1, q, p};
        }
        return {0, p, 0};
    }
    const int s = linkSource(reg, p);
    if (hasRealParents(reg, s)) {
        return {2, p, s};
    }
    if (const int q = targetWithRealParents(reg, s, {p, s})) {
        return {3, q, s};
    }
    return {0, p, s};
}

LinkCheck 当事者リンク検索_SUB2(const core::Registers& reg, int a, int b) {
    LinkCheck c{0, a, b, 0};
    const bool aHasParents = hasRealParents(reg, a);
    if (aHasParents) {
        if (hasRealParents(reg, b)) {
            c.result = 1;
        } else if (const int q = targetWithRealParents(reg, b, {a, b})) {
            c.result = 2;
            c.a = q;
        }
        if (c.result == 0 && isLinkTarget(reg, b)) {
            c.chosen = b;
            c.b = linkSource(reg, b);
            if (hasRealParents(reg, c.b)) {
                c.result = 3;
            } else if (const int q = targetWithRealParents(reg, c.b, {a, c.b, c.chosen})) {
                c.result = 4;
                c.a = q;
            }
        }
    } else if (isLinkTarget(reg, b)) {
        c.chosen = b;
        c.b = linkSource(reg, b);
    }
    return c;
}

} // namespace editing
