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

// The spouse's share beside the heirs of each rank, by the day of the death.
struct SpouseShares {
    common::CivilDate from; // deaths on and after this day
    Share withDescendants;
    Share withAscendants;
    Share withSiblings;
};

// Newest period first. Deaths before the last period's day fall under the old Civil Code
// (家督相続), whose heirs are not worked out.
inline constexpr std::array<SpouseShares, 2> kSpouseShares = {{
    {{1981, 1, 1}, {1, 2}, {2, 3}, {3, 4}},
    {{1947, 5, 3}, {1, 3}, {1, 2}, {2, 3}},
}};

// A half-blood sibling takes half of a full sibling's share: full siblings count two parts,
// half-blood siblings one.
inline constexpr int kFullSiblingParts = 2;
inline constexpr int kHalfSiblingParts = 1;

// The descendants who inherit in the place of a predeceased heir: every generation below a
// child; one generation (the sibling's children) below a sibling.
inline constexpr int kSiblingRepresentationGenerations = 1;

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
inline constexpr std::string_view kRepresentativeMark = "（代襲者）";

// Why a person of the registers does not inherit.
enum class PassReason {
    Substituted,        // died before (or on the day of) the deceased; heirs take the place
    DiedBefore,         // died before the deceased, nobody takes the place
    SameDay,            // died on the same day: the two do not inherit from each other
    Divorced,           // a divorced spouse
    NotMarried,         // a partner without marriage
    PriorRank,          // an heir of an earlier rank exists
    NearerAscendant,    // an ascendant of a nearer degree inherits
    ParentInherits,     // a descendant whose parent (in this line) inherits
    BornBeforeAdoption, // a child of an adopted child born before the adoption
    BeyondNephews,      // a sibling's grandchild: siblings are represented by their children
    SurvivalUnknown,    // a date needed to tell who died first cannot be read
    LinkCopy,           // an entry that stands for another person (person link)
    NoLine,             // no line of succession to the deceased in the registers
};

std::string_view passReasonText(PassReason r);

// The spouse's shares for a death on `death`; nullptr for a death under the old Civil Code.
const SpouseShares* spouseSharesFor(const common::CivilDate& death);

} // namespace core
