// The texts of the lists and combo boxes of the family forms: the family list, the husband
// and wife choices, the base-family choice, the child list, the child candidates and the
// title choices. Pure functions of the registers.
#pragma once

#include "core/environment.h"
#include "core/registers.h"

#include <string>
#include <string_view>
#include <vector>

namespace editing {

// "3 : (1) 山田太郎　＝　(2) 山田花子"; a missing partner shows as "(0) 登録未設定". The
// hidden-family list of the chart settings uses the same line.
std::string familyListLine(const core::Registers& reg, int family);
std::vector<std::string> familyListLines(const core::Registers& reg);

// Entries of a person choice with the person each entry stands for (0 = nobody).
struct PersonChoices {
    std::vector<std::string> items;
    std::vector<int> persons;
    std::vector<int> inactive; // entries shown in their place that cannot be chosen

    // The entry of `person`, or -1 when it is not offered.
    int entryOf(int person) const;
    // The person of entry `entry`, or 0 for an entry that does not exist.
    int personAt(int entry) const;
    // Whether entry `entry` exists and can be chosen.
    bool offers(int entry) const;
};

// COMBO_A1A: nobody, then every person whose 男女 is below 2; "♪" marks a person who is the
// husband of some family, "◎" the others.
PersonChoices husbandChoices(const core::Registers& reg);
// COMBO_A2A: nobody, then every person whose 男女 is 2; "♪" marks a wife of some family.
PersonChoices wifeChoices(const core::Registers& reg);

// COMBO_A5A: one entry per family number from 0, the entry's place being the number:
// "0 : 指定なし（選択中の家族）", then "3 : 山田太郎　＝　山田花子" (a missing partner
// shows as "登録未設定").
std::vector<std::string> baseFamilyChoices(const core::Registers& reg);

// LIST_A2A: one line per child slot: title, "（男 " or "（女 ", number, "）", name, "　".
std::vector<std::string> childListLines(const core::Registers& reg, int family);

// LIST_A4A: "キャンセル（子供を追加しない）" (nobody), then every person who is not a partner
// of the family. The family's children keep their places, marked "（この家族の子）" after
// the name, but cannot be chosen: adding a child moves no other entry.
PersonChoices childCandidates(const core::Registers& reg, int family);
inline constexpr std::string_view kNoChildEntry = "キャンセル（子供を追加しない）";

// COMBO_A3A: the son titles (男女 below 2) or the daughter titles, then the general titles.
std::vector<std::string> childTitles(const core::Environment& env, const core::当事者& child);

} // namespace editing
