#include "core/heirs.h"

#include "common/wareki.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <set>

namespace core {

namespace {

enum class Survival { Survives, DiedBefore, SameDay, Unknown };

// A parent-child tie from a family's child list.
struct Tie {
    int parent = 0;
    int child = 0;
    int family = 0;
    int position = 0; // child position, from 1
    ChildKind kind = ChildKind::Birth;
};

// A person the descent rules looked at, with those who may take its place.
struct Node {
    int person = 0;
    int generation = 1;
    Survival survival = Survival::Survives;
    Tie tie;
    std::vector<Node> below; // for a person who did not survive the deceased
    bool counts = false;     // the node carries a share (an heir, or heirs below it)
};

// Generations the descent may go at most, so that a circle in the registers ends.
constexpr int kMaxGenerations = 40;

class Succession {
public:
    Succession(const Registers& reg, int deceased) : reg_(reg), d_(deceased) {
        const auto n = static_cast<std::size_t>(reg.personCount()) + 1;
        parents_.resize(n);
        children_.resize(n);
        for (int f = 1; f <= reg.familyCount(); ++f) {
            const 家族& F = reg.family(f);
            const int h = valid(F.夫NO) ? linkSource(reg, F.夫NO) : 0;
            const int w = valid(F.妻NO) ? linkSource(reg, F.妻NO) : 0;
            for (int k = 1; k <= F.子数(); ++k) {
                const Child& c = F.child(k);
                if (!valid(c.子NO)) {
                    continue;
                }
                const int x = linkSource(reg, c.子NO);
                // A child not yet acknowledged has its mother only.
                if (w != 0) {
                    tie({w, x, f, k, c.子の形態});
                }
                if (h != 0 && c.子の形態 != ChildKind::Unacknowledged) {
                    tie({h, x, f, k, c.子の形態});
                }
            }
        }
    }

    HeirOutcome run(const std::vector<int>& accountFor) {
        out_.deceased = d_;
        if (!valid(d_)) {
            return out_;
        }
        const SpouseShares* law = lawAtDeath();
        if (law == nullptr) {
            out_.oldLaw = true;
            return out_;
        }
        spouses();
        Ranks ranks = firstRank();
        const Share rankShare = spouseHeirs(ranks, *law);
        rankHeirs(ranks, rankShare);
        if (ranks.undetermined) {
            out_.complete = false;
        }
        accountForOthers(accountFor);
        return out_;
    }

private:
    // The heirs of each rank that the descent rules found, and the first rank that has any.
    struct Ranks {
        std::optional<HeirRank> rank;
        bool undetermined = false; // whether the first rank is open (dates cannot be read)
        std::vector<Node> descendants;
        std::vector<int> ascendants;
        int ascendantLevel = 0;
        std::vector<Node> siblings;
    };

    // The spouse shares of the law at the deceased's death (the present law when the date
    // is not known); nullptr for a death under the old law.
    const SpouseShares* lawAtDeath() {
        const std::string& deathText = reg_.person(d_).死亡年月日;
        if (!deathText.empty()) {
            const common::WarekiReading r = common::readWareki(deathText);
            if (r.ok()) {
                death_ = r.date;
            } else {
                unreadable(d_, "死亡年月日", deathText, r.reason);
            }
        }
        if (death_) {
            return death_->lunisolar ? nullptr : spouseSharesFor(death_->civil);
        }
        return &kSpouseShares[0];
    }

    Ranks firstRank() {
        Ranks r;
        r.descendants = descent(d_, 1, kMaxGenerations);
        if (anyCounts(r.descendants)) {
            r.rank = HeirRank::Descendant;
        } else if (anyUnknown(r.descendants)) {
            r.undetermined = true;
        }
        if (!r.rank && !r.undetermined) {
            r.ascendantLevel = nearestAscendants(r.ascendants, r.undetermined);
            if (!r.ascendants.empty()) {
                r.rank = HeirRank::Ascendant;
            }
        }
        r.siblings = siblings();
        if (!r.rank && !r.undetermined) {
            if (anyCounts(r.siblings)) {
                r.rank = HeirRank::Sibling;
            } else if (anyUnknown(r.siblings)) {
                r.undetermined = true;
            }
        }
        return r;
    }

    // The spouses as heirs, with their share beside the first rank; returns what is left
    // for that rank.
    Share spouseHeirs(const Ranks& r, const SpouseShares& law) {
        if (spouses_.empty()) {
            return Share{1, 1};
        }
        Share spouseShare{1, 1};
        if (r.rank == HeirRank::Descendant) {
            spouseShare = law.withDescendants;
        } else if (r.rank == HeirRank::Ascendant) {
            spouseShare = law.withAscendants;
        } else if (r.rank == HeirRank::Sibling) {
            spouseShare = law.withSiblings;
        }
        const Share rankShare = Share{1, 1} - spouseShare;
        if (r.undetermined) {
            spouseShare = Share{0, 0}; // not known while the first place is open
        }
        for (int s : spouses_) {
            Heir h;
            h.person = s;
            h.rank = HeirRank::Spouse;
            h.relationship = std::string(word(kSpouse, s));
            h.generation = 0;
            h.share = spouseShare.divided(static_cast<std::int64_t>(spouses_.size()));
            addHeir(h, 0);
        }
        return rankShare;
    }

    // The heirs of the first rank with `rankShare`; everyone of the other ranks passed over.
    void rankHeirs(Ranks& r, Share rankShare) {
        if (r.rank == HeirRank::Descendant) {
            assign(r.descendants, rankShare, HeirRank::Descendant, 0, 0, false);
        } else {
            passAll(r.descendants);
        }
        if (r.rank == HeirRank::Ascendant) {
            sortByBirth(r.ascendants, true);
            for (int a : r.ascendants) {
                Heir h;
                h.person = a;
                h.rank = HeirRank::Ascendant;
                h.generation = r.ascendantLevel;
                h.relationship = ascendantWord(a, r.ascendantLevel);
                h.share = rankShare.divided(static_cast<std::int64_t>(r.ascendants.size()));
                addHeir(h, 0);
            }
        } else if (r.rank == HeirRank::Descendant) {
            for (const Tie& t : parents_[index(d_)]) {
                const Survival s = survival(t.parent);
                pass(t.parent, s == Survival::Survives ? PassReason::PriorRank : reasonFor(s));
            }
        }
        if (r.rank == HeirRank::Sibling) {
            assign(r.siblings, rankShare, HeirRank::Sibling, 0, 0, true);
        } else {
            passAll(r.siblings);
        }
    }

    // Why each of `accountFor` that is no heir is none, and everyone passed over.
    void accountForOthers(const std::vector<int>& accountFor) {
        for (int p : accountFor) {
            if (!valid(p)) {
                continue;
            }
            const int source = linkSource(reg_, p);
            if (source != p) {
                PassedOver po;
                po.person = p;
                po.reason = PassReason::LinkCopy;
                po.standsFor = source;
                passed_.emplace(p, po);
            } else if (p != d_) {
                pass(p, PassReason::NoLine);
            }
        }
        for (const auto& [p, po] : passed_) {
            if (!out_.isHeir(p) && p != d_) {
                out_.passedOver.push_back(po);
            }
        }
    }

    bool valid(int p) const { return p >= 1 && p <= reg_.personCount(); }
    static std::size_t index(int p) { return static_cast<std::size_t>(p); }
    const 当事者& person(int p) const { return reg_.person(p); }
    std::string_view word(const GenerationWords& w, int p) const {
        return person(p).isFemale() ? w.female : w.male;
    }

    void tie(const Tie& t) {
        if (t.parent == t.child) {
            return;
        }
        for (const Tie& e : children_[index(t.parent)]) {
            if (e.child == t.child) {
                return; // one tie per parent and child: the first in family order
            }
        }
        children_[index(t.parent)].push_back(t);
        parents_[index(t.child)].push_back(t);
    }

    void unreadable(int p, const char* field, const std::string& text, const std::string& why) {
        for (const UnreadableDate& u : out_.unreadable) {
            if (u.person == p && u.field == field) {
                return;
            }
        }
        out_.unreadable.push_back({p, field, text, why});
    }

    std::optional<common::WarekiDate> date(int p, const char* field, const std::string& text) {
        if (text.empty()) {
            return std::nullopt;
        }
        const common::WarekiReading r = common::readWareki(text);
        if (!r.ok()) {
            unreadable(p, field, text, r.reason);
        }
        return r.date;
    }

    Survival survival(int p) {
        const std::string& text = person(p).死亡年月日;
        if (text.empty()) {
            return Survival::Survives;
        }
        const auto died = date(p, "死亡年月日", text);
        if (!died || !death_) {
            return Survival::Unknown;
        }
        if (died->sameDay(*death_)) {
            return Survival::SameDay;
        }
        return died->before(*death_) ? Survival::DiedBefore : Survival::Survives;
    }

    void pass(int p, PassReason r) {
        if (!valid(p) || p == d_) {
            return;
        }
        PassedOver po;
        po.person = p;
        po.reason = r;
        passed_.emplace(p, po);
        if (r == PassReason::SurvivalUnknown) {
            out_.complete = false;
        }
    }

    static PassReason reasonFor(Survival s) {
        switch (s) {
        case Survival::DiedBefore:
            return PassReason::DiedBefore;
        case Survival::SameDay:
            return PassReason::SameDay;
        case Survival::Unknown:
            return PassReason::SurvivalUnknown;
        case Survival::Survives:
            break;
        }
        return PassReason::NoLine;
    }

    // The spouses: partners of a marriage that was not dissolved by divorce, surviving the
    // deceased.
    void spouses() {
        for (int f = 1; f <= reg_.familyCount(); ++f) {
            const 家族& F = reg_.family(f);
            const int h = valid(F.夫NO) ? linkSource(reg_, F.夫NO) : 0;
            const int w = valid(F.妻NO) ? linkSource(reg_, F.妻NO) : 0;
            if ((h != d_ && w != d_) || h == 0 || w == 0 || h == w) {
                continue;
            }
            const int other = h == d_ ? w : h;
            const bool married = (F.夫婦確定_f == 1 ? F.形態 : F.形態L3) == UnionForm::Marriage;
            if (F.離婚_F == 1) {
                pass(other, PassReason::Divorced);
            } else if (!married) {
                pass(other, PassReason::NotMarried);
            } else if (const Survival s = survival(other); s == Survival::Survives) {
                if (std::find(spouses_.begin(), spouses_.end(), other) == spouses_.end()) {
                    spouses_.push_back(other);
                }
            } else {
                pass(other, reasonFor(s));
            }
        }
    }

    // Whether a child of `node` (a predeceased adopted child) was born before its parent's
    // adoption and so does not take its place; nullopt when the dates do not tell.
    std::optional<bool> bornBeforeAdoption(const Tie& adoption, int child) {
        const Child& slot = reg_.family(adoption.family).child(adoption.position);
        if (slot.縁組日.empty()) {
            return false; // no adoption date recorded: nothing restricts the line
        }
        const auto adopted = date(adoption.child, "縁組日", slot.縁組日);
        const auto born = date(child, "生年月日", person(child).生年月日);
        if (!adopted || !born) {
            if (person(child).生年月日.empty()) {
                unreadable(child, "生年月日", "", "生年月日がなく、養子縁組の前か後か分からない");
            }
            return std::nullopt;
        }
        return born->before(*adopted);
    }

    // The descendants of `parent` from `generation` on, as far as they take a place: each
    // child, and below a child who did not survive the deceased, that child's descendants,
    // down to `lastGeneration`.
    std::vector<Node> descent(int parent, int generation, int lastGeneration) {
        std::vector<Node> nodes;
        path_.insert(parent);
        for (const Tie& t : children_[index(parent)]) {
            if (path_.count(t.child) != 0) {
                continue;
            }
            Node n;
            n.person = t.child;
            n.generation = generation;
            n.tie = t;
            n.survival = survival(t.child);
            if (n.survival == Survival::Survives) {
                n.counts = true;
            } else if (n.survival != Survival::Unknown && generation < lastGeneration) {
                n.below = descent(t.child, generation + 1, lastGeneration);
                if (t.kind == ChildKind::Adopted) {
                    restrictToAdoption(n);
                }
                n.counts = anyCounts(n.below);
            } else if (n.survival != Survival::Unknown) {
                for (const Tie& g : children_[index(t.child)]) {
                    pass(g.child, PassReason::BeyondNephews);
                }
            }
            nodes.push_back(std::move(n));
        }
        path_.erase(parent);
        return nodes;
    }

    // Children of an adopted child born before the adoption are no descendants of the
    // adoptive parent's line.
    void restrictToAdoption(Node& n) {
        std::vector<Node> kept;
        for (Node& b : n.below) {
            const std::optional<bool> before = bornBeforeAdoption(n.tie, b.person);
            if (before == true) {
                pass(b.person, PassReason::BornBeforeAdoption);
            } else if (!before) {
                b.survival = Survival::Unknown;
                b.counts = false;
                b.below.clear();
                kept.push_back(std::move(b));
            } else {
                kept.push_back(std::move(b));
            }
        }
        n.below = std::move(kept);
    }

    static bool anyCounts(const std::vector<Node>& nodes) {
        return std::any_of(nodes.begin(), nodes.end(), [](const Node& n) { return n.counts; });
    }
    static bool anyUnknown(const std::vector<Node>& nodes) {
        return std::any_of(nodes.begin(), nodes.end(), [](const Node& n) {
            return n.survival == Survival::Unknown || anyUnknown(n.below);
        });
    }

    // Every node as passed over (a rank that does not inherit).
    void passAll(const std::vector<Node>& nodes) {
        for (const Node& n : nodes) {
            pass(n.person,
                 n.survival == Survival::Survives ? PassReason::PriorRank : reasonFor(n.survival));
            passAll(n.below);
        }
    }

    // The descendants of an heir: their parent inherits.
    void passBelowHeir(int heir, int generationsLeft) {
        if (generationsLeft <= 0) {
            return;
        }
        for (const Tie& t : children_[index(heir)]) {
            if (t.child != d_) {
                pass(t.child, PassReason::ParentInherits);
                passBelowHeir(t.child, generationsLeft - 1);
            }
        }
    }

    long birthKey(int p) const {
        const common::WarekiReading r = common::readWareki(person(p).生年月日);
        return r.ok() ? r.date->orderKey() : LONG_MAX;
    }

    // By birth, those without a readable birth date last in the order given; ascendants
    // male before female.
    void sortByBirth(std::vector<int>& persons, bool maleFirst) const {
        std::stable_sort(persons.begin(), persons.end(), [&](int a, int b) {
            if (maleFirst && person(a).isFemale() != person(b).isFemale()) {
                return !person(a).isFemale();
            }
            return birthKey(a) < birthKey(b);
        });
    }

    std::string descendantWord(const Node& n, HeirRank rank) const {
        if (rank == HeirRank::Sibling) {
            if (n.generation >= 2) {
                return std::string(word(kSiblingsChild, n.person));
            }
            const long mine = birthKey(n.person);
            const long theirs = birthKey(d_);
            if (mine == LONG_MAX || theirs == LONG_MAX || mine == theirs) {
                return std::string(word(kSibling, n.person));
            }
            return std::string(word(mine < theirs ? kOlderSibling : kYoungerSibling, n.person));
        }
        if (n.generation == 1) {
            const Child& slot = reg_.family(n.tie.family).child(n.tie.position);
            if (!slot.子の肩書.empty() && slot.子の肩書 != "子") {
                return slot.子の肩書;
            }
            return n.tie.kind == ChildKind::Adopted ? std::string(word(kAdoptedChild, n.person))
                                                    : "子";
        }
        if (static_cast<std::size_t>(n.generation) <= kDescendantWords.size()) {
            return std::string(
                word(kDescendantWords[static_cast<std::size_t>(n.generation - 1)], n.person));
        }
        return std::string(kFarDescendant);
    }

    std::string ascendantWord(int a, int level) const {
        if (level == 1) {
            for (const Tie& t : parents_[index(d_)]) {
                if (t.parent == a && t.kind == ChildKind::Adopted) {
                    return std::string(word(kAdoptiveParent, a));
                }
            }
        }
        if (level >= 1 && static_cast<std::size_t>(level) <= kAscendantWords.size()) {
            return std::string(word(kAscendantWords[static_cast<std::size_t>(level - 1)], a));
        }
        return std::string(kFarAscendant);
    }

    // Shares `share` among the nodes that count (siblings by their parts of blood), in the
    // order of birth; a node that did not survive passes its part to those below it.
    void assign(std::vector<Node>& nodes, Share share, HeirRank rank, int represents, int depth,
                bool weighBlood, bool halfBloodLine = false) {
        std::vector<int> order;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            order.push_back(static_cast<int>(i));
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return birthKey(nodes[static_cast<std::size_t>(a)].person) <
                   birthKey(nodes[static_cast<std::size_t>(b)].person);
        });
        std::int64_t parts = 0;
        bool open = !share.known(); // a line that may or may not take a part
        for (const Node& n : nodes) {
            if (n.counts) {
                parts += weighBlood ? bloodParts(n.person) : 1;
            } else if (n.survival == Survival::Unknown || anyUnknown(n.below)) {
                open = true;
            }
        }
        for (int i : order) {
            Node& n = nodes[static_cast<std::size_t>(i)];
            if (!n.counts) {
                pass(n.person, reasonFor(n.survival));
                passAll(n.below);
                continue;
            }
            const std::int64_t mine = weighBlood ? bloodParts(n.person) : 1;
            const bool half = weighBlood ? mine == kHalfSiblingParts : halfBloodLine;
            const Share part = open ? Share{0, 0} : Share::of(share.num * mine, share.den * parts);
            if (n.survival == Survival::Survives) {
                Heir h;
                h.person = n.person;
                h.rank = rank;
                h.generation = n.generation;
                h.represents = represents;
                h.halfBlood = rank == HeirRank::Sibling && half;
                h.relationship = descendantWord(n, rank);
                h.share = part;
                addHeir(h, depth);
                passBelowHeir(n.person, rank == HeirRank::Sibling ? 1 : kMaxGenerations);
            } else {
                pass(n.person, PassReason::Substituted);
                out_.lines.push_back({n.person, true, depth, descendantWord(n, rank)});
                assign(n.below, part, rank, n.person, depth + 1, false, half);
            }
        }
    }

    void addHeir(const Heir& h, int depth) {
        for (Heir& e : out_.heirs) {
            if (e.person == h.person) {
                e.share = e.share + h.share; // inherits in two places (a grandchild adopted)
                return;
            }
        }
        out_.heirs.push_back(h);
        out_.lines.push_back({h.person, false, depth, h.relationship});
    }

    // The nearest degree of ascendants with one surviving the deceased; those who did not
    // are passed over. Returns the degree, 0 when none.
    int nearestAscendants(std::vector<int>& heirs, bool& undetermined) {
        std::set<int> seen{d_};
        std::vector<int> level;
        for (const Tie& t : parents_[index(d_)]) {
            if (seen.insert(t.parent).second) {
                level.push_back(t.parent);
            }
        }
        for (int degree = 1; degree <= kMaxGenerations && !level.empty(); ++degree) {
            bool unknown = false;
            for (int a : level) {
                const Survival s = survival(a);
                if (s == Survival::Survives) {
                    heirs.push_back(a);
                } else {
                    unknown = unknown || s == Survival::Unknown;
                }
            }
            for (int a : level) {
                if (std::find(heirs.begin(), heirs.end(), a) == heirs.end()) {
                    pass(a, reasonFor(survival(a)));
                }
            }
            if (!heirs.empty()) {
                if (unknown) {
                    out_.complete = false;
                }
                return degree;
            }
            if (unknown) {
                undetermined = true;
                return 0;
            }
            std::vector<int> next;
            for (int a : level) {
                for (const Tie& t : parents_[index(a)]) {
                    if (seen.insert(t.parent).second) {
                        next.push_back(t.parent);
                    }
                }
            }
            level = std::move(next);
        }
        return 0;
    }

    // The deceased's siblings (children of one of its parents), each with its children in
    // its place when it did not survive.
    std::vector<Node> siblings() {
        std::vector<Node> nodes;
        std::set<int> seen{d_};
        path_.insert(d_);
        for (const Tie& p : parents_[index(d_)]) {
            for (const Tie& t : children_[index(p.parent)]) {
                if (!seen.insert(t.child).second) {
                    continue;
                }
                Node n;
                n.person = t.child;
                n.generation = 1;
                n.tie = t;
                n.survival = survival(t.child);
                if (n.survival == Survival::Survives) {
                    n.counts = true;
                } else if (n.survival != Survival::Unknown) {
                    n.below = descent(t.child, 2, 1 + kSiblingRepresentationGenerations);
                    if (t.kind == ChildKind::Adopted) {
                        restrictToAdoption(n);
                    }
                    n.counts = anyCounts(n.below);
                }
                nodes.push_back(std::move(n));
            }
        }
        path_.erase(d_);
        return nodes;
    }

    // A sibling of the full blood shares both parents of one of the deceased's couples.
    std::int64_t bloodParts(int sibling) const {
        std::set<int> theirs;
        for (const Tie& t : parents_[index(sibling)]) {
            theirs.insert(t.parent);
        }
        std::map<int, std::vector<int>> couples; // family -> the deceased's parents in it
        for (const Tie& t : parents_[index(d_)]) {
            couples[t.family].push_back(t.parent);
        }
        for (const auto& [family, pair] : couples) {
            if (pair.size() == 2 && theirs.count(pair[0]) != 0 && theirs.count(pair[1]) != 0) {
                return kFullSiblingParts;
            }
        }
        return kHalfSiblingParts;
    }

    const Registers& reg_;
    int d_;
    std::vector<std::vector<Tie>> parents_;  // by person: the ties to its parents
    std::vector<std::vector<Tie>> children_; // by person: the ties to its children
    std::optional<common::WarekiDate> death_;
    std::vector<int> spouses_;
    std::set<int> path_; // the persons of the descent being walked
    std::map<int, PassedOver> passed_;
    HeirOutcome out_;
};

} // namespace

std::string Heir::relationshipText() const {
    return represents != 0 ? relationship + std::string(kRepresentativeMark) : relationship;
}

const Heir* HeirOutcome::heir(int person) const {
    for (const Heir& h : heirs) {
        if (h.person == person) {
            return &h;
        }
    }
    return nullptr;
}

int linkSource(const Registers& reg, int person) {
    int p = person;
    for (int step = 0; step <= reg.personCount(); ++step) {
        const int next = reg.person(p).C_当事者NO;
        if (next == p || next < 1 || next > reg.personCount()) {
            return p;
        }
        p = next;
    }
    return person; // the links run in a circle
}

HeirOutcome workOutHeirs(const Registers& reg, int deceased, const std::vector<int>& accountFor) {
    const int d =
        deceased >= 1 && deceased <= reg.personCount() ? linkSource(reg, deceased) : deceased;
    Succession s(reg, d);
    return s.run(accountFor);
}

std::vector<int> heirListPersons(const Registers& reg, const DrawingSettings& st, int base,
                                 int deceased) {
    std::set<int> persons;
    for (int f = 1; f <= reg.familyCount(); ++f) {
        const auto i = static_cast<std::size_t>(f - 1);
        if (f != base && i < st.familyEntries.size() && st.familyEntries[i].selected == 1) {
            continue;
        }
        const 家族& family = reg.family(f);
        persons.insert(family.夫NO);
        persons.insert(family.妻NO);
        for (const Child& c : family.子) {
            persons.insert(c.子NO);
        }
    }
    std::vector<int> out;
    for (int p : persons) {
        if (p >= 1 && p <= reg.personCount() && p != deceased) {
            out.push_back(p);
        }
    }
    return out;
}

HeirChoice chooseLegalHeirs(const HeirOutcome& outcome, const std::vector<int>& listed) {
    HeirChoice c;
    for (int p : listed) {
        if (outcome.isHeir(p)) {
            c.selected.push_back(p);
        }
    }
    for (const Heir& h : outcome.heirs) {
        if (std::find(listed.begin(), listed.end(), h.person) == listed.end()) {
            c.notListed.push_back(h.person);
        }
    }
    return c;
}

std::string shareText(const Share& s) {
    if (s.den == 0) {
        return "不明";
    }
    if (s.den == 1) {
        return std::to_string(s.num);
    }
    return std::to_string(s.num) + "/" + std::to_string(s.den);
}

} // namespace core
