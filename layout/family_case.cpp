#include "layout/family_case.h"

#include <string>

namespace layout {

namespace {

bool isHeir(const std::vector<std::uint8_t>& flags, int person) {
    return person >= 1 && static_cast<std::size_t>(person) <= flags.size() &&
           flags[static_cast<std::size_t>(person - 1)] == 1;
}

} // namespace

int 家族調査_SUB(core::家族& family, int centre, std::vector<std::uint8_t>& heirFlags) {
    const bool husbandMain = family.系統_F == core::Lineage::Paternal; // any other value: the wife
    const int main = husbandMain ? family.夫NO : family.妻NO;
    const int other = husbandMain ? family.妻NO : family.夫NO;
    std::string& mainTitle = husbandMain ? family.夫肩書 : family.妻肩書;
    const bool mainIsCentre = main != 0 && main == centre;
    if (mainTitle == "被代襲者") {
        if (mainIsCentre) {
            mainTitle = husbandMain ? "夫" : "妻";
        } else {
            if (main >= 1) {
                if (static_cast<std::size_t>(main) > heirFlags.size()) {
                    heirFlags.resize(static_cast<std::size_t>(main), 0);
                }
                heirFlags[static_cast<std::size_t>(main - 1)] = 1;
            }
            return husbandMain ? 15 : 16;
        }
    }
    if (mainIsCentre) {
        if (other == 0) {
            return husbandMain ? 13 : 14;
        }
        if (isHeir(heirFlags, other)) {
            return husbandMain ? 4 : 5;
        }
        return husbandMain ? 7 : 8;
    }
    if (other == 0) {
        if (isHeir(heirFlags, main)) {
            return husbandMain ? 9 : 10;
        }
        return husbandMain ? 11 : 12;
    }
    const bool husbandHeir = isHeir(heirFlags, family.夫NO);
    const bool wifeHeir = isHeir(heirFlags, family.妻NO);
    if (husbandHeir && wifeHeir) {
        return 3;
    }
    if (husbandHeir) {
        return 1;
    }
    if (wifeHeir) {
        return 2;
    }
    return 6;
}

} // namespace layout
