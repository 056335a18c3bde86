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
        return {LinkRole::Target, linkSource(reg, p), p};
    }
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (i != p && reg.person(i).C_当事者NO == p) {
            return {LinkRole::Source, p, i};
        }
    }
    return {LinkRole::None, p, 0};
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

ParentsSearch 当事者リンク検索_SUB3(const core::Registers& reg, int p) {
    if (!isLinkTarget(reg, p)) {
        if (const int q = targetWithRealParents(reg, p, {p})) {
            return {LinkedParents::OfTarget, q, p};
        }
        return {LinkedParents::None, p, 0};
    }
    const int s = linkSource(reg, p);
    if (hasRealParents(reg, s)) {
        return {LinkedParents::OfSource, p, s};
    }
    if (const int q = targetWithRealParents(reg, s, {p, s})) {
        return {LinkedParents::OfOtherTarget, q, s};
    }
    return {LinkedParents::None, p, s};
}

LinkCheck 当事者リンク検索_SUB2(const core::Registers& reg, int a, int b) {
    LinkCheck c{LinkConflict::None, a, b, 0};
    const bool aHasParents = hasRealParents(reg, a);
    if (aHasParents) {
        if (hasRealParents(reg, b)) {
            c.result = LinkConflict::ChosenHasParents;
        } else if (const int q = targetWithRealParents(reg, b, {a, b})) {
            c.result = LinkConflict::TargetOfChosenHasParents;
            c.a = q;
        }
        if (c.result == LinkConflict::None && isLinkTarget(reg, b)) {
            c.chosen = b;
            c.b = linkSource(reg, b);
            if (hasRealParents(reg, c.b)) {
                c.result = LinkConflict::SourceHasParents;
            } else if (const int q = targetWithRealParents(reg, c.b, {a, c.b, c.chosen})) {
                c.result = LinkConflict::TargetOfSourceHasParents;
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
