#include "core/descendant_flags.h"

#include <algorithm>

namespace core {

int firstFamilyWithChild(const Registers& reg, int person) {
    for (int f = 1; f <= reg.familyCount(); ++f) {
        if (familyHasChild(reg, f, person)) {
            return f;
        }
    }
    return 0;
}

bool familyHasChild(const Registers& reg, int family, int person) {
    if (family < 1 || family > reg.familyCount()) {
        return false;
    }
    const auto& children = reg.family(family).子;
    return std::any_of(children.begin(), children.end(),
                       [person](const Child& c) { return c.子NO == person; });
}

int firstTargetDescendantFamily(const Registers& reg, int source) {
    for (int p = 1; p <= reg.personCount(); ++p) {
        const 当事者& t = reg.person(p);
        if (p != source && t.C_当事者NO == source && t.子孫_FL != 0) {
            return t.子孫_FL;
        }
    }
    return 0;
}

void repairDescendantFlags(Registers& reg, int person, int family) {
    当事者& p = reg.person(person);
    if (p.子孫_F == family) {
        p.子孫_F = 0;
        if (p.子孫_FL == family) {
            const auto other = static_cast<std::int16_t>(firstFamilyWithChild(reg, person));
            p.子孫_F = other;
            p.子孫_FL = other;
        } else {
            p.子孫_F = p.子孫_FL;
        }
    } else if (p.子孫_FL == family) {
        p.子孫_FL = familyHasChild(reg, p.子孫_F, person)
                        ? p.子孫_F
                        : static_cast<std::int16_t>(firstFamilyWithChild(reg, person));
    }
}

void repairLinkedSource(Registers& reg, int person, int source, int family) {
    当事者& s = reg.person(source);
    if (s.子孫_F != family) {
        return;
    }
    if (reg.person(person).子孫_F != 0) {
        s.子孫_F = reg.person(person).子孫_F;
    } else if (s.子孫_FL != 0) {
        s.子孫_F = s.子孫_FL;
    } else {
        s.子孫_F = static_cast<std::int16_t>(firstTargetDescendantFamily(reg, source));
    }
}

void repairAfterLeavingFamily(Registers& reg, int person, int family) {
    repairDescendantFlags(reg, person, family);
    const int source = reg.person(person).C_当事者NO;
    if (source != person && source >= 1 && source <= reg.personCount()) {
        repairLinkedSource(reg, person, source, family);
        return;
    }
    bool isSource = false;
    for (int p = 1; p <= reg.personCount() && !isSource; ++p) {
        isSource = p != person && reg.person(p).C_当事者NO == person;
    }
    if (isSource && reg.person(person).子孫_F == 0) {
        reg.person(person).子孫_F =
            static_cast<std::int16_t>(firstTargetDescendantFamily(reg, person));
    }
}

} // namespace core
