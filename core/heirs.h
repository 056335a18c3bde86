// The legal heirs (法定相続人) of a deceased person, worked out from the registers by the Civil
// Code as practitioners apply it (the rules as data: core/succession_law.h):
//   the spouse (married, not divorced, surviving the deceased), always;
//   first rank: the children, natural and adopted, and in the place of a child who died
//     before the deceased or on the same day, that child's descendants, generation after
//     generation (a child of an adopted child born before the adoption excepted);
//   second rank, with no heir of the first: the nearest ascendants, natural and adoptive;
//   third rank, with neither: the siblings, full and half, and in the place of a sibling who
//     died before, that sibling's children (one generation only).
// Persons who died on the same day as the deceased do not inherit from each other. A person
// who stands for another through a person link (C_当事者NO) is that person.
//
// Who is whose parent comes from the families' child lists: both partners are parents of a
// child by birth, an adopted child and an acknowledged child; only the mother of a child not
// yet acknowledged (ChildKind::Unacknowledged). Dates are read as 和暦 (common/wareki.h); a death
// date that cannot be read leaves the person's place open and is reported, never guessed.
#pragma once

#include "core/drawing_settings.h"
#include "core/registers.h"
#include "core/succession_law.h"

#include <string>
#include <vector>

namespace core {

enum class HeirRank { Spouse, Descendant, Ascendant, Sibling };

struct Heir {
    int person = 0;
    HeirRank rank = HeirRank::Descendant;
    std::string relationship; // as the bureau writes it: 妻, 長男, 子, 孫, 父, 兄, 甥 ...
    int generation = 1;       // below (descendants, siblings' children) or above the deceased
    int represents = 0; // the 被代襲者 whose place the heir takes; 0 in the heir's own right
    bool halfBlood = false; // a sibling (or a sibling's child) of the half blood
    Share share;

    // The relationship with "（代襲者）" for a representative: "孫（代襲者）".
    std::string relationshipText() const;
};

struct PassedOver {
    int person = 0;
    PassReason reason = PassReason::NoLine;
    int standsFor = 0; // LinkCopy: the person the entry stands for
};

// A date the computation needed and could not read.
struct UnreadableDate {
    int person = 0;
    std::string field; // "死亡年月日", "生年月日", "縁組日"
    std::string text;
    std::string reason;
};

// One line of the heirs in the order of the documents: the spouse, the children by birth
// with the representatives under their 被代襲者, then the ascendants or the siblings.
struct SuccessionLine {
    int person = 0;
    bool substituted = false; // a 被代襲者: shown for the heirs below it, no heir itself
    int depth = 0;            // how many 被代襲者 stand above the line
    std::string relationship; // as for an heir (a 被代襲者's own: 二男, 兄 ...)
};

struct HeirOutcome {
    int deceased = 0;
    std::vector<Heir> heirs; // in document order
    std::vector<SuccessionLine> lines;
    std::vector<PassedOver> passedOver; // by person number
    std::vector<UnreadableDate> unreadable;
    // False when an unreadable date left a place open: the heirs shown are certain, others
    // may be missing.
    bool complete = true;
    // The death falls under the old Civil Code (before 1947-05-03): no heirs are worked out.
    bool oldLaw = false;

    const Heir* heir(int person) const;
    bool isHeir(int person) const { return heir(person) != nullptr; }
};

// The person an entry stands for: C_当事者NO followed to its end (the entry itself when it
// is no link or the links run in a circle).
int linkSource(const Registers& reg, int person);

// Works out the heirs of `deceased` (a person number). Every person of `accountFor` that is
// no heir appears in passedOver with its reason, as does every person the rules looked at.
HeirOutcome workOutHeirs(const Registers& reg, int deceased,
                         const std::vector<int>& accountFor = {});

// The persons of the list chart's heir list ("相続権のある人の選択欄"): every husband, wife and
// child of every family that is not hidden (the base family never is), except the deceased,
// in person order.
std::vector<int> heirListPersons(const Registers& reg, const DrawingSettings& s, int baseFamily,
                                 int deceased);

// FORM10's "法定相続人を選ぶ": the persons of the heir list `listed` that are worked-out heirs,
// and the heirs the list does not hold (persons of hidden families).
struct HeirChoice {
    std::vector<int> selected;
    std::vector<int> notListed;
};
HeirChoice chooseLegalHeirs(const HeirOutcome& outcome, const std::vector<int>& listed);

// "1/2"; "1" for the whole; "不明" for a share that cannot be told.
std::string shareText(const Share& s);

} // namespace core
