#include "editing/family_lists.h"

#include "editing/names.h"

#include <algorithm>

namespace editing {

namespace {

bool validPerson(const core::Registers& reg, int person) {
    return person >= 1 && person <= reg.personCount();
}

std::string partner(const core::Registers& reg, int person) {
    if (person == 0) {
        return "(0) 登録未設定";
    }
    return "(" + std::to_string(person) + ") " + displayName(reg, person);
}

// The part of a person line after the name: the birth date, then the address or, without
// one, the registered domicile.
std::string birthAndAddress(const core::当事者& p) {
    std::string out;
    if (!p.生年月日.empty()) {
        out += "(生年月日 " + p.生年月日 + "）";
    }
    if (!p.住所1.empty()) {
        out += "（住所：" + p.住所1 + p.住所2 + "）";
    } else if (!p.本籍1.empty()) {
        out += "（本籍：" + p.本籍1 + p.本籍2 + "）";
    }
    return out;
}

PersonChoices spouseChoices(const core::Registers& reg, bool wives) {
    // Persons who are the husband (or the wife) of some family get the mark "♪".
    std::vector<bool> isSpouse(static_cast<std::size_t>(reg.personCount()) + 1, false);
    for (const auto& f : reg.families) {
        const int n = wives ? f.妻NO : f.夫NO;
        if (validPerson(reg, n)) {
            isSpouse[static_cast<std::size_t>(n)] = true;
        }
    }
    PersonChoices c;
    c.items.push_back("◎0 登録未設定　");
    c.persons.push_back(0);
    for (int i = 1; i <= reg.personCount(); ++i) {
        const auto& p = reg.person(i);
        if (wives ? !p.isRecordedFemale() : p.isFemale()) {
            continue;
        }
        std::string line = isSpouse[static_cast<std::size_t>(i)] ? "♪" : "◎";
        line += std::to_string(i) + " " + displayName(p) + "　";
        if (!p.生年月日.empty()) {
            line += "（" + p.生年月日 + "生）";
        }
        c.items.push_back(std::move(line));
        c.persons.push_back(i);
    }
    return c;
}

} // namespace

int PersonChoices::entryOf(int person) const {
    const auto it = std::find(persons.begin(), persons.end(), person);
    return it == persons.end() ? -1 : static_cast<int>(it - persons.begin());
}

int PersonChoices::personAt(int entry) const {
    return entry >= 0 && entry < static_cast<int>(persons.size())
               ? persons[static_cast<std::size_t>(entry)]
               : 0;
}

bool PersonChoices::offers(int entry) const {
    return entry >= 0 && entry < static_cast<int>(items.size()) &&
           std::find(inactive.begin(), inactive.end(), entry) == inactive.end();
}

std::string familyListLine(const core::Registers& reg, int family) {
    const auto& f = reg.family(family);
    return std::to_string(family) + " : " + partner(reg, f.夫NO) + "　＝　" + partner(reg, f.妻NO);
}

std::vector<std::string> familyListLines(const core::Registers& reg) {
    std::vector<std::string> lines;
    for (int f = 1; f <= reg.familyCount(); ++f) {
        lines.push_back(familyListLine(reg, f));
    }
    return lines;
}

PersonChoices husbandChoices(const core::Registers& reg) {
    return spouseChoices(reg, false);
}

PersonChoices wifeChoices(const core::Registers& reg) {
    return spouseChoices(reg, true);
}

std::vector<std::string> baseFamilyChoices(const core::Registers& reg) {
    auto name = [&reg](int person) {
        return person == 0 ? std::string("登録未設定") : displayName(reg, person);
    };
    std::vector<std::string> items{"0 : 指定なし（選択中の家族）"};
    for (int f = 1; f <= reg.familyCount(); ++f) {
        const auto& fam = reg.family(f);
        items.push_back(std::to_string(f) + " : " + name(fam.夫NO) + "　＝　" + name(fam.妻NO));
    }
    return items;
}

std::vector<std::string> childListLines(const core::Registers& reg, int family) {
    std::vector<std::string> lines;
    for (const auto& c : reg.family(family).子) {
        const bool known = validPerson(reg, c.子NO);
        const bool male = !known || reg.person(c.子NO).isMale();
        lines.push_back(c.子の肩書 + (male ? "（男 " : "（女 ") + std::to_string(c.子NO) + "）" +
                        displayName(reg, c.子NO) + "　");
    }
    return lines;
}

PersonChoices childCandidates(const core::Registers& reg, int family) {
    const auto& f = reg.family(family);
    PersonChoices c;
    c.items.emplace_back(kNoChildEntry);
    c.persons.push_back(0);
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (i == f.夫NO || i == f.妻NO) {
            continue;
        }
        const bool child = std::any_of(f.子.begin(), f.子.end(),
                                       [i](const core::Child& ch) { return ch.子NO == i; });
        const auto& p = reg.person(i);
        // The mark stands right after the name, where a narrow list still shows it.
        std::string line = std::to_string(i) + " " + (p.isMale() ? "(男) " : "(女) ") +
                           displayName(p) + "　" + (child ? "（この家族の子）" : "") +
                           birthAndAddress(p);
        if (child) {
            c.inactive.push_back(static_cast<int>(c.items.size()));
        }
        c.items.push_back(std::move(line));
        c.persons.push_back(i);
    }
    return c;
}

std::vector<std::string> childTitles(const core::Environment& env, const core::当事者& child) {
    std::vector<std::string> titles = child.isMale() ? env.息子 : env.娘;
    titles.insert(titles.end(), env.一般.begin(), env.一般.end());
    return titles;
}

} // namespace editing
