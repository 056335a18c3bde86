// The fixed texts of the two legal charts, 相続関係説明図 and 法定相続情報一覧図: the title,
// the information lines of the deceased, the return message, "以下余白", the applicant and
// creator lines, and the rule by which FORM8 fills the registry address from the deceased.
// Where these texts stand on the chart is legal_headings.h's business.
#pragma once

#include "core/drawing_settings.h"
#include "core/registers.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render {

inline constexpr std::string_view kReturnMessage = "戸籍の謄抄本及び除籍謄本は還付した。";
inline constexpr std::string_view kListFooter = "以下余白";
// The word of the explanation chart's title under (horizontal) or beside (vertical) which
// the return message and the information block are placed.
inline constexpr std::string_view kExplanationWord = "相続関係説明図";

// The deceased of a legal chart: the husband of the base family when its lineage is Paternal,
// the wife when Maternal, replaced by the person it is linked to (C_当事者NO). 0 when the family
// or the lineage does not name a person.
int deceasedPerson(const core::Registers& reg, int baseFamily, core::Lineage lineage);

// The deceased's name in the headings: 姓 + 名 without a space.
std::string headingName(const core::当事者& p);

// The joined name of lists and messages (氏名結合_SUB): 姓 and 名 in the person's name
// order, "・" between them where the separator rule asks for it (always between both parts
// in given-name-first order). Empty when both parts are empty.
std::string joinedName(const core::当事者& p);

// "被相続人　" + name + "　　相続関係説明図".
std::string explanationTitle(const std::string& name);
// "被相続人　" + name + "　　法定相続情報", then "　　" + addition when there is one.
std::string listTitle(const std::string& name, const std::string& addition);

// Characters before `word` in `text` (nullopt when it does not occur).
std::optional<int> characterPosition(std::string_view text, std::string_view word);

// The information lines 0 to 13 of the deceased (explanation chart). Lines 1 and 3 carry
// their labels in the form of the writing direction.
using InformationLines = std::array<std::string, 14>;
InformationLines informationLines(const core::当事者& deceased, const core::DrawingSettings& s,
                                  bool vertical);
// The lines of the information block as drawn, in order: 1, 7 (when 2 is not empty), 3,
// 8 (when 4 is not empty), 5, 9 (when 6 is not empty), 12 (when 10 is not empty), 13 (when
// 11 is not empty).
std::vector<std::string> informationBlockLines(const InformationLines& lines);

// The applicant and creator lines 0 to 4 of the list chart: 0-1 the applicant's address and
// name, 2 the date of making, 3-4 the creator's address and name. With
// "氏名を１文字間隔で表示" both names are spread out.
std::array<std::string, 5> applicantLines(const core::DrawingSettings& s);

// FORM8's registry-address rule: when the deceased is not the person the addresses were
// last filled in for ("被相続人の名前"), that name is kept, lines 1 and 2 take the deceased's
// 住所1 and 住所2, lines 3 and 4 are emptied. Returns true when it filled them.
bool fillRegistryAddress(core::DrawingSettings& s, const core::当事者& deceased);

// The four registry lines converted to full width (typed text), in place. Returns the
// number (1 to 4) of the first line holding a character Shift-JIS cannot hold, leaving
// every line as it was; nullopt when all were converted.
std::optional<int> registryLinesToFullWidth(core::DrawingSettings& s);

} // namespace render
