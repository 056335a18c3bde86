// The law of intestate succession as data: the spouse's statutory share by the period of the
// death, the words in which the bureau writes each relationship, and the reasons for which
// a person does not inherit. core/heirs.h applies them to the registers.
#pragma once

#include "common/wareki.h"

#include <array>
#include <cstdint>
#include <numeric>
#include <string_view>

namespace core {

// A share of the estate as a reduced fraction; a denominator of 0 marks a share that cannot
// be told (a date that decides it is unreadable).
struct Share {
    std::int64_t num = 0;
    std::int64_t den = 1;

    static Share of(std::int64_t n, std::int64_t d) {
        const std::int64_t g = std::gcd(n, d);
        return g == 0 ? Share{0, 1} : Share{n / g, d / g};
    }
    Share operator+(const Share& o) const { return of(num * o.den + o.num * den, den * o.den); }
    Share operator-(const Share& o) const { return of(num * o.den - o.num * den, den * o.den); }
    Share operator*(const Share& o) const { return of(num * o.num, den * o.den); }
    Share divided(std::int64_t n) const { return den == 0 ? *this : of(num, den * n); }
    bool known() const { return den != 0; }
    bool operator==(const Share&) const = default;
};

// The law that applies to a death, by the day of the death: the spouse's share beside the
// heirs of each rank, how far a predeceased sibling is represented, and whether a child born
// outside marriage and a sibling of the half blood take half of the others' share.
struct LawPeriod {
    common::CivilDate from; // deaths on and after this day
    Share withDescendants;  // the spouse's share
    Share withAscendants;
    Share withSiblings;
    int siblingRepresentation = 1; // generations below a sibling; kUnlimited for every one
    bool nonMaritalHalf = false;   // a child born outside marriage: half a child of marriage
    bool halfBloodHalf = true;     // a half-blood sibling: half a full sibling
    // What a practitioner should check for a death of the period ("" for nothing).
    std::string_view note;
};

inline constexpr int kUnlimited = 1000;

// Newest period first. Deaths before the last period's day fall under the old Civil Code
// (家督相続), whose heirs are not worked out.
//   2013-09-05  the share of a child born outside marriage equal to the others' (Civil Code
//               amended after the Supreme Court's decision of 2013-09-04);
//   2001-07-01  that decision held the half share void for deaths from July 2001 on, save
//               where the estate was settled before it;
//   1981-01-01  the spouse's shares 1/2, 2/3, 3/4; a sibling represented by its children
//               only;
//   1948-01-01  the Civil Code: representation of siblings without a limit, the half shares
//               of a child born outside marriage and of a half-blood sibling;
//   1947-05-03  the interim act under the new constitution (応急措置法): spouse 1/3, 1/2,
//               2/3, no representation of siblings, the old half share of children born
//               outside marriage.
inline constexpr std::array<LawPeriod, 5> kLawPeriods = {{
    {{2013, 9, 5}, {1, 2}, {2, 3}, {3, 4}, 1, false, true, ""},
    {{2001, 7, 1},
     {1, 2},
     {2, 3},
     {3, 4},
     1,
     false,
     true,
     "平成１３年７月から平成２５年９月４日までの死亡では、最高裁判所の決定（平成２５年９月４日）"
     "より前に遺産分割などで確定した相続には、嫡出でない子の相続分を嫡出子の２分の１とする旧"
     "規定が適用されます"},
    {{1981, 1, 1}, {1, 2}, {2, 3}, {3, 4}, 1, true, true, ""},
    {{1948, 1, 1}, {1, 3}, {1, 2}, {2, 3}, kUnlimited, true, true, ""},
    {{1947, 5, 3},
     {1, 3},
     {1, 2},
     {2, 3},
     0,
     true,
     false,
     "昭和２２年５月３日から同年１２月３１日までの死亡は応急措置法の時代の相続です。兄弟姉妹の"
     "代襲と相続分を確かめてください"},
}};

// A half-blood sibling takes half of a full sibling's share: full siblings count two parts,
// half-blood siblings one. Likewise a child of marriage two parts and a child born outside
// marriage one, where the period has that rule.
inline constexpr int kFullSiblingParts = 2;
inline constexpr int kHalfSiblingParts = 1;

// Relationship words as the bureau writes them, by generation below (descendants) or above
// (ascendants) the deceased, male and female. Beyond the table the general words are used.
struct GenerationWords {
    std::string_view male;
    std::string_view female;
};
inline constexpr std::array<GenerationWords, 4> kDescendantWords = {
    {{"子", "子"}, {"孫", "孫"}, {"曾孫", "曾孫"}, {"玄孫", "玄孫"}}};
inline constexpr std::string_view kFarDescendant = "直系卑属";
inline constexpr std::array<GenerationWords, 4> kAscendantWords = {
    {{"父", "母"}, {"祖父", "祖母"}, {"曾祖父", "曾祖母"}, {"高祖父", "高祖母"}}};
inline constexpr GenerationWords kAdoptiveParent = {"養父", "養母"};
inline constexpr std::string_view kFarAscendant = "直系尊属";
inline constexpr GenerationWords kAdoptedChild = {"養子", "養女"};
inline constexpr GenerationWords kSpouse = {"夫", "妻"};
inline constexpr GenerationWords kOlderSibling = {"兄", "姉"};
inline constexpr GenerationWords kYoungerSibling = {"弟", "妹"};
inline constexpr GenerationWords kSibling = {"兄弟", "姉妹"}; // order of birth unknown
inline constexpr GenerationWords kSiblingsChild = {"甥", "姪"};
// Below a sibling's children (represented before 1981 only).
inline constexpr std::string_view kSiblingsFarDescendant = "兄弟姉妹の孫";
inline constexpr std::string_view kRepresentativeMark = "（代襲者）";

// Why a person of the registers does not inherit.
enum class PassReason {
    Substituted,             // died before (or on the day of) the deceased; heirs take the place
    DiedBefore,              // died before the deceased, nobody takes the place
    SameDay,                 // died on the same day: the two do not inherit from each other
    Divorced,                // a divorced spouse
    NotMarried,              // a partner without marriage
    PriorRank,               // an heir of an earlier rank exists
    NearerAscendant,         // an ascendant of a nearer degree inherits
    ParentInherits,          // a descendant whose parent (in this line) inherits
    BornBeforeAdoption,      // a child of an adopted child born before the adoption
    BeyondNephews,           // a sibling's grandchild: siblings are represented by their children
    NoSiblingRepresentation, // a predeceased sibling's child where siblings are not represented
    SurvivalUnknown,         // a date needed to tell who died first cannot be read
    LinkCopy,                // an entry that stands for another person (person link)
    NoLine,                  // no line of succession to the deceased in the registers
};

std::string_view passReasonText(PassReason r);

// The law of a death on `death`; nullptr for a death under the old Civil Code.
const LawPeriod* lawAt(const common::CivilDate& death);

} // namespace core
