#include "layout/chart_survey.h"

#include "common/name_rule.h"

#include <algorithm>
#include <utility>

namespace layout {

namespace {

// A number as BASIC's STR$ writes it: a leading blank for a non-negative value.
std::string basicStr(int n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

// The joined name of lists and messages: surname and given name in the person's order,
// with "・" where the separator rule (surname first) or both parts (given name first)
// ask for it.
std::string joinedName(const core::当事者& p) {
    const bool both = !p.姓.empty() && !p.名.empty();
    if (p.姓名順 == 1) {
        return both ? p.名 + "・" + p.姓 : p.名 + p.姓;
    }
    return both && common::姓名判断_SUB(p.姓, p.名) ? p.姓 + "・" + p.名 : p.姓 + p.名;
}

// The rules of the household search's second pass, in the order in which they are tried.
// Each rule takes the first family of the person (in number order) that it fits; the next
// is tried only when none does. Apart from the base family, a family fits a rule only when
// it may be taken on the person's side (core::admitsSide).
enum class HouseholdRule {
    BaseFamily = 1,       // the base family, whatever its lineage and partners
    MarriageOnSide = 2,   // a married couple of the person's lineage
    MarriageUnset = 3,    // a married couple, lineage unset
    NonMaritalOnSide = 4, // a couple not married, of the person's lineage, with children or forced
    NonMaritalUnset = 5,  // a couple not married, lineage unset, with children or forced
};
constexpr HouseholdRule kHouseholdRules[] = {
    HouseholdRule::BaseFamily,       HouseholdRule::MarriageOnSide,  HouseholdRule::MarriageUnset,
    HouseholdRule::NonMaritalOnSide, HouseholdRule::NonMaritalUnset,
};

// The phases of the survey, which decide what the household search skips.
enum class Phase {
    CentreDescendants, // stage 1; its households are marked centreReached
    Ancestors,         // stage 2
    FromAncestors,     // stages 3 and 4 until the centre person is met: centreReached skipped
    CentreMet,         // stages 3 and 4 from then on
};

struct SurveyFailure {
    SurveyError error;
};

[[noreturn]] void failInput(const std::string& text) {
    SurveyError e;
    e.kind = SurveyError::Kind::BadInput;
    e.title = "作図できません";
    e.text = text;
    throw SurveyFailure{e};
}

// Refuses register references the survey cannot follow, naming the record and field.
void checkReferences(const core::Registers& reg) {
    const int persons = reg.personCount();
    const int families = reg.familyCount();
    auto personRef = [&](int value) { return value >= 0 && value <= persons; };
    for (int f = 1; f <= families; ++f) {
        const core::家族& fam = reg.family(f);
        const std::string where = "家族目録の家族No." + std::to_string(f) + "の";
        if (!personRef(fam.夫NO)) {
            failInput(where + "夫NO（" + std::to_string(fam.夫NO) +
                      "）は登録されていない当事者です");
        }
        if (!personRef(fam.妻NO)) {
            failInput(where + "妻NO（" + std::to_string(fam.妻NO) +
                      "）は登録されていない当事者です");
        }
        for (int k = 1; k <= fam.子数(); ++k) {
            const int c = fam.child(k).子NO;
            if (c < 1 || c > persons) {
                failInput(where + std::to_string(k) + "番目の子NO（" + std::to_string(c) +
                          "）は登録されていない当事者です");
            }
        }
    }
    for (int p = 1; p <= persons; ++p) {
        const core::当事者& person = reg.person(p);
        const std::string where = "当事者目録の当事者NO." + std::to_string(p) + "の";
        if (person.子孫_F < 0 || person.子孫_F > families) {
            failInput(where + "子孫_F（" + std::to_string(person.子孫_F) +
                      "）は登録されていない家族です");
        }
        if (!personRef(person.C_当事者NO)) {
            failInput(where + "C_当事者NO（" + std::to_string(person.C_当事者NO) +
                      "）は登録されていない当事者です");
        }
    }
}

// The survey's running state and work tables for one run.
class Survey {
public:
    Survey(const SurveyOptions& options, SurveyResult& r) : opt_(options), r_(r) {}

    void prepare(const core::Registers& reg, const CentreAnswer& answer);
    void stage1();
    void stage2();
    void stage3();
    void stage4();
    void close();
    void release();

private:
    core::Registers& run() { return r_.run; }
    FamilySurvey& fam(int f) { return r_.families[static_cast<std::size_t>(f - 1)]; }
    PersonSurvey& per(int p) { return r_.persons[static_cast<std::size_t>(p - 1)]; }
    int& counter(int p) { return counters_[static_cast<std::size_t>(p - 1)]; }
    bool hidden(int f) const { return r_.hidden[static_cast<std::size_t>(f - 1)]; }
    const std::vector<int>& familiesAsSpouse(int p) const {
        const std::size_t i = static_cast<std::size_t>(p - 1);
        return r_.run.person(p).isMale() ? asHusband_[i] : asWife_[i];
    }
    int founderLevel(int p) const { return std::max<int>(0, r_.run.person(p).創始階層); }

    // The preparation's steps, in order.
    void fixCentre(const core::Registers& reg, const CentreAnswer& answer);
    void markHiddenFamilies();
    void resolveLinks();
    void cutHiddenFamiliesLoose();
    void reverseChildOrder();
    void indexSpouses();
    // The link source of a person (0 for nobody; a person whose C_当事者NO is 0 stands for
    // itself).
    std::int16_t sourceOf(int p) const;

    void resetHouseholdTables();
    int 夫婦検索_SUB(int p);
    bool fits(HouseholdRule rule, int f, core::Lineage side) const;
    int 夫婦検索_SUB2(int p) const;
    void 座標割当_SUB(int f, int p);
    void 家族スタック_SUB(int p);
    int takeAllHouseholds(int p);
    void prePass(int p);
    void descent(int start, int startLevel);
    // 過去検索_SUB: the ancestor of `start` (0 when none) and its height (0 or negative).
    std::pair<int, int> 過去検索_SUB(int start) const;

    const SurveyOptions& opt_;
    SurveyResult& r_;
    std::vector<std::vector<int>> asHusband_; // per person, families in number order
    std::vector<std::vector<int>> asWife_;
    std::vector<int> counters_; // household counter per person
    std::vector<int> discovery_;
    int slotCounter_ = 1;
    Phase phase_ = Phase::CentreDescendants;
    int level_ = 0;
};

void Survey::prepare(const core::Registers& reg, const CentreAnswer& answer) {
    checkReferences(reg);
    fixCentre(reg, answer);
    markHiddenFamilies();
    resolveLinks();
    if (!opt_.releaseRun) {
        cutHiddenFamiliesLoose();
        if (opt_.縦書き && opt_.子供の表示を右順にする) {
            reverseChildOrder();
        }
    }
    indexSpouses();
    resetHouseholdTables();
}

std::int16_t Survey::sourceOf(int p) const {
    const int c = p == 0 ? 0 : r_.run.person(p).C_当事者NO;
    return static_cast<std::int16_t>(c == 0 ? p : c);
}

void Survey::fixCentre(const core::Registers& reg, const CentreAnswer& answer) {
    const int families = reg.familyCount();
    if (opt_.baseFamily < 1 || opt_.baseFamily > families) {
        failInput(families == 0 ? std::string("家族が登録されていません")
                                : "作図時の基準家族No." + std::to_string(opt_.baseFamily) +
                                      "は登録されていない家族です");
    }
    const std::optional<core::Lineage> lineage = 男性チェック(reg, opt_.baseFamily, answer);
    if (!lineage) {
        const CentreQuestion q = centreQuestion(opt_.baseFamily);
        SurveyError e;
        e.kind = SurveyError::Kind::CentreUnanswered;
        e.title = q.title;
        e.text = q.text;
        throw SurveyFailure{e};
    }
    r_.run = reg;
    r_.baseFamily = opt_.baseFamily;
    r_.lineage = *lineage;
    core::家族& base = run().family(opt_.baseFamily);
    base.系統_F = *lineage;
    const bool husband = *lineage == core::Lineage::Paternal;
    const int centre = husband ? base.夫NO : base.妻NO;
    if (centre == 0) {
        failInput("家族No." + std::to_string(opt_.baseFamily) + "には" + (husband ? "夫" : "妻") +
                  "が登録されていないため、作図の中心となる人物が決まりません");
    }
    r_.centre = sourceOf(centre);
}

void Survey::markHiddenFamilies() {
    const int families = run().familyCount();
    r_.hidden.assign(static_cast<std::size_t>(families), false);
    for (int f = 1; f <= families && static_cast<std::size_t>(f) <= opt_.hidden.size(); ++f) {
        r_.hidden[static_cast<std::size_t>(f - 1)] =
            opt_.hidden[static_cast<std::size_t>(f - 1)] && f != opt_.baseFamily;
    }
}

void Survey::resolveLinks() {
    const int families = run().familyCount();
    RunChanges& ch = r_.changes;
    ch.families.resize(static_cast<std::size_t>(families));
    for (int f = 1; f <= families; ++f) {
        core::家族& fam = run().family(f);
        RunChanges::FamilyRefs& saved = ch.families[static_cast<std::size_t>(f - 1)];
        saved.夫NO = fam.夫NO;
        saved.妻NO = fam.妻NO;
        fam.夫NO = sourceOf(fam.夫NO);
        fam.妻NO = sourceOf(fam.妻NO);
        for (core::Child& c : fam.子) {
            saved.子NO.push_back(c.子NO);
            c.子NO = sourceOf(c.子NO);
        }
    }
}

void Survey::cutHiddenFamiliesLoose() {
    const int persons = run().personCount();
    RunChanges& ch = r_.changes;
    ch.子孫_F.resize(static_cast<std::size_t>(persons));
    for (int p = 1; p <= persons; ++p) {
        core::当事者& person = run().person(p);
        ch.子孫_F[static_cast<std::size_t>(p - 1)] = person.子孫_F;
        if (person.子孫_F != 0 && hidden(person.子孫_F)) {
            person.子孫_F = 0;
        }
    }
}

void Survey::reverseChildOrder() {
    RunChanges& ch = r_.changes;
    ch.childrenReversed = true;
    for (int f = 1; f <= run().familyCount(); ++f) {
        core::家族& fam = run().family(f);
        if (fam.子数() >= 2) {
            std::reverse(fam.子.begin(), fam.子.end());
            auto& saved = ch.families[static_cast<std::size_t>(f - 1)].子NO;
            std::reverse(saved.begin(), saved.end());
        }
    }
}

void Survey::indexSpouses() {
    const auto persons = static_cast<std::size_t>(run().personCount());
    asHusband_.assign(persons, {});
    asWife_.assign(persons, {});
    for (int f = 1; f <= run().familyCount(); ++f) {
        const core::家族& fam = run().family(f);
        if (fam.夫NO > 0) {
            asHusband_[static_cast<std::size_t>(fam.夫NO - 1)].push_back(f);
        }
        if (fam.妻NO > 0) {
            asWife_[static_cast<std::size_t>(fam.妻NO - 1)].push_back(f);
        }
    }
}

void Survey::resetHouseholdTables() {
    const int families = run().familyCount();
    std::vector<bool> reached(static_cast<std::size_t>(families), false);
    for (std::size_t i = 0; i < r_.families.size() && i < reached.size(); ++i) {
        reached[i] = r_.families[i].centreReached;
    }
    r_.families.assign(static_cast<std::size_t>(families), {});
    for (int f = 1; f <= families; ++f) {
        fam(f).centreReached = reached[static_cast<std::size_t>(f - 1)];
    }
    r_.persons.assign(static_cast<std::size_t>(run().personCount()), {});
    counters_.assign(static_cast<std::size_t>(run().personCount()), 0);
    discovery_.clear();
}

int Survey::夫婦検索_SUB(int p) {
    const core::Lineage side = run().person(p).lineage();
    const std::vector<int>& list = familiesAsSpouse(p);
    if (phase_ == Phase::FromAncestors && p == r_.centre) {
        phase_ = Phase::CentreMet;
    }
    auto skipped = [&](int f) {
        return (hidden(f) && !opt_.releaseRun) ||
               (phase_ == Phase::FromAncestors && fam(f).centreReached) || fam(f).orderNo > 0;
    };
    auto take = [&](int f) {
        fam(f).orderNo = ++counter(p);
        return f;
    };
    if (counter(p) == 0) {
        // First pass: one single-parent household.
        for (int f : list) {
            if (skipped(f)) {
                continue;
            }
            const core::家族& family = run().family(f);
            if (family.夫NO != 0 && family.妻NO != 0) {
                continue;
            }
            if (f == opt_.baseFamily || core::admitsSide(family.系統_F, side)) {
                return take(f);
            }
            break;
        }
        counter(p) = 1; // order number 1 stays reserved for a single-parent household
    }
    for (const HouseholdRule rule : kHouseholdRules) {
        for (int f : list) {
            if (!skipped(f) && fits(rule, f, side)) {
                return take(f);
            }
        }
    }
    return 0;
}

bool Survey::fits(HouseholdRule rule, int f, core::Lineage side) const {
    const core::家族& family = r_.run.family(f);
    if (f != opt_.baseFamily && !core::admitsSide(family.系統_F, side)) {
        return false;
    }
    const bool couple = family.夫NO != 0 && family.妻NO != 0;
    const bool shown = opt_.非婚姻関係を強制表示 || family.子数() > 0;
    const bool marriage = family.形態 == core::UnionForm::Marriage;
    const bool nonMarital = family.形態 == core::UnionForm::NonMarital;
    const bool onSide = family.系統_F == side;
    const bool unset = family.系統_F == core::Lineage::Unset;
    switch (rule) {
    case HouseholdRule::BaseFamily:
        return f == opt_.baseFamily;
    case HouseholdRule::MarriageOnSide:
        return couple && onSide && marriage;
    case HouseholdRule::MarriageUnset:
        return couple && unset && marriage;
    case HouseholdRule::NonMaritalOnSide:
        return couple && onSide && nonMarital && shown;
    case HouseholdRule::NonMaritalUnset:
        return couple && unset && nonMarital && shown;
    }
    return false;
}

int Survey::夫婦検索_SUB2(int p) const {
    const core::Lineage side = r_.run.person(p).lineage();
    for (int f : familiesAsSpouse(p)) {
        const core::家族& family = r_.run.family(f);
        if (r_.families[static_cast<std::size_t>(f - 1)].orderNo > 0 || hidden(f)) {
            continue;
        }
        if (!core::admitsSide(family.系統_F, side)) {
            continue;
        }
        return f;
    }
    return -1;
}

void Survey::座標割当_SUB(int f, int p) {
    FamilySurvey& s = fam(f);
    s.entrySex = run().person(p).男女;
    s.takenBy = p;
    s.階層 = level_;
    s.slots = {slotCounter_, slotCounter_ + 1, slotCounter_ + 2};
    slotCounter_ += 3;
    const int children = run().family(f).子数();
    s.childSlots.assign(static_cast<std::size_t>(children), 0);
    s.childHousehold.assign(static_cast<std::size_t>(children), 0);
    if (phase_ == Phase::CentreDescendants) {
        s.centreReached = true;
    }
    discovery_.push_back(f);
}

void Survey::家族スタック_SUB(int p) {
    // Households alternate to both sides of the person: horizontal writing takes the odd
    // order numbers from the last found back to the first, then the even ones forward;
    // vertical writing the even ones back, then the odd ones forward.
    std::vector<int>& out = per(p).households;
    out.clear();
    const int backParity = opt_.縦書き ? 0 : 1;
    for (auto it = discovery_.rbegin(); it != discovery_.rend(); ++it) {
        if (fam(*it).orderNo % 2 == backParity) {
            out.push_back(*it);
        }
    }
    for (int f : discovery_) {
        if (fam(f).orderNo % 2 != backParity) {
            out.push_back(f);
        }
    }
    discovery_.clear();
}

int Survey::takeAllHouseholds(int p) {
    discovery_.clear();
    counter(p) = 0;
    for (int f = 夫婦検索_SUB(p); f != 0; f = 夫婦検索_SUB(p)) {
        座標割当_SUB(f, p);
    }
    const int first = discovery_.empty() ? 0 : discovery_.front();
    if (first != 0) {
        家族スタック_SUB(p);
    }
    return first;
}

void Survey::prePass(int p) {
    for (int f : per(p).households) {
        const core::家族& family = run().family(f);
        for (int k = 1; k <= family.子数(); ++k) {
            const int c = family.child(k).子NO;
            fam(f).childSlots[static_cast<std::size_t>(k - 1)] =
                run().person(c).子孫_F != f ? slotCounter_++ : 0;
        }
    }
}

void Survey::descent(int start, int startLevel) {
    if (!per(start).households.empty()) {
        return;
    }
    level_ = startLevel;
    if (takeAllHouseholds(start) == 0) {
        return;
    }
    prePass(start);
    struct Frame {
        int person;
        std::size_t household; // index into the person's household list
        int child;             // next child index, 1-based
    };
    std::vector<Frame> stack; // the saved state of each level above the current one
    Frame cur{start, 0, 1};
    while (true) {
        const std::vector<int>& households = per(cur.person).households;
        if (cur.household < households.size()) {
            const int f = households[cur.household];
            const core::家族& family = run().family(f);
            if (cur.child > family.子数()) {
                // 子供順_SUB: on to the next household.
                ++cur.household;
                cur.child = 1;
                continue;
            }
            const int k = cur.child;
            if (fam(f).childSlots[static_cast<std::size_t>(k - 1)] != 0) {
                ++cur.child; // drawn here, continued under its own family
                continue;
            }
            r_.最大深度_H = std::max(r_.最大深度_H, level_);
            if (level_ > opt_.最大世代数 - 2) {
                SurveyError e;
                e.kind = SurveyError::Kind::TooDeep;
                e.title = "階層値が最大階層深度数を超えました";
                e.text = "KANKYO.TXTの最大階層深度数の値を大きくして下さい";
                throw SurveyFailure{e};
            }
            const int c = family.child(k).子NO;
            int first = 0;
            // A person surveyed as a parent before is never surveyed again: it stays a
            // leaf here.
            if (per(c).households.empty()) {
                stack.push_back(cur);
                ++level_;
                first = takeAllHouseholds(c);
                if (first == 0) {
                    --level_;
                    cur = stack.back();
                    stack.pop_back();
                }
            }
            if (first == 0) {
                fam(f).childSlots[static_cast<std::size_t>(k - 1)] = slotCounter_++; // a leaf
                ++cur.child;
                continue;
            }
            fam(f).childHousehold[static_cast<std::size_t>(k - 1)] = first;
            fam(first).parentFamily = f;
            fam(first).parentChild = k;
            prePass(c);
            cur = Frame{c, 0, 1};
            continue;
        }
        // Every child of every household of this person is done: back up one level.
        --level_;
        if (level_ < startLevel) {
            break;
        }
        cur = stack.back();
        stack.pop_back();
        ++cur.child;
    }
}

std::pair<int, int> Survey::過去検索_SUB(int start) const {
    int p = start;
    int height = 0;
    while (true) {
        const int f = r_.run.person(p).子孫_F;
        if (f == 0 || hidden(f)) {
            break;
        }
        --height;
        if (height < -opt_.最大世代数) {
            SurveyError e;
            e.kind = SurveyError::Kind::Contradiction;
            e.title = "系図作成上の矛盾エラーメッセージ";
            e.text = "当事者NO:" + basicStr(start) + "（" + joinedName(r_.run.person(start)) +
                     "）の先祖に\n矛盾があります。当事者リンクの設定をしていた場合は\n"
                     "リンク元やリンク先の関係も見直して下さい。";
            e.person = start;
            throw SurveyFailure{e};
        }
        const core::家族& family = r_.run.family(f);
        // Up through the wife on a maternal lineage; where none is chosen, as the option says.
        const bool wifeSide = core::isChosen(family.系統_F)
                                  ? family.系統_F == core::Lineage::Maternal
                                  : opt_.子孫以外は女性主体で作図;
        const int preferred = wifeSide ? family.妻NO : family.夫NO;
        const int other = wifeSide ? family.夫NO : family.妻NO;
        const int next = preferred != 0 ? preferred : other;
        if (next == 0) {
            ++height; // a family without parents: the climb ends at this person
            break;
        }
        p = next;
    }
    return {height < 0 ? p : 0, height};
}

void Survey::stage1() {
    slotCounter_ = 1;
    r_.最大深度_H = 0;
    phase_ = Phase::CentreDescendants;
    descent(r_.centre, 0);
}

void Survey::release() {
    for (int f = 1; f <= run().familyCount(); ++f) {
        if (fam(f).taken()) {
            r_.releasedFamilies.push_back(f);
        }
    }
}

void Survey::stage2() {
    phase_ = Phase::Ancestors;
    r_.centreDepth = r_.最大深度_H;
    const std::vector<int>& households = per(r_.centre).households;
    const bool centreFemale = run().person(r_.centre).isFemale();
    std::vector<int> examined = {r_.centre};
    for (int f : households) {
        const core::家族& family = run().family(f);
        examined.push_back(centreFemale ? family.夫NO : family.妻NO);
    }
    if (households.empty()) {
        examined.push_back(0);
    }
    r_.先祖.assign(examined.size(), 0);
    r_.先祖高度.assign(examined.size(), 0);
    for (std::size_t i = 0; i < examined.size(); ++i) {
        if (examined[i] == 0) {
            continue;
        }
        const auto [ancestor, height] = 過去検索_SUB(examined[i]);
        r_.先祖[i] = ancestor;
        r_.先祖高度[i] = ancestor != 0 ? height : 0;
    }
    r_.roots.push_back(r_.先祖[0] != 0 ? r_.先祖[0] : r_.centre);
    for (std::size_t i = 1; i < examined.size(); ++i) {
        const int a = r_.先祖[i];
        if (a != 0 && std::find(r_.roots.begin(), r_.roots.end(), a) == r_.roots.end()) {
            r_.roots.push_back(a);
        }
    }
}

void Survey::stage3() {
    resetHouseholdTables();
    phase_ = Phase::FromAncestors;
    slotCounter_ = 1;
    const bool anyAncestor =
        std::any_of(r_.先祖.begin(), r_.先祖.end(), [](int a) { return a != 0; });
    if (!anyAncestor) {
        descent(r_.centre, founderLevel(r_.centre));
        return;
    }
    r_.MAX_先祖高度 = *std::min_element(r_.先祖高度.begin(), r_.先祖高度.end());
    for (int a : r_.先祖) {
        if (a != 0) {
            descent(a, founderLevel(a));
        }
    }
}

void Survey::stage4() {
    // Each round takes the persons recorded exactly as of its sex; a person whose 男女 is
    // neither 1 nor 2 is in no round.
    struct Round {
        bool rootsOnly; // persons whose 子孫_F is 0
        bool female;
    };
    const bool female = opt_.子孫以外は女性主体で作図;
    const Round rounds[] = {{true, female}, {true, !female}, {false, female}, {false, !female}};
    for (const Round& round : rounds) {
        for (int p = 1; p <= run().personCount(); ++p) {
            const core::当事者& person = run().person(p);
            const bool inRound = round.female ? person.isRecordedFemale() : person.isRecordedMale();
            if ((round.rootsOnly && person.子孫_F != 0) || !inRound) {
                continue;
            }
            // A person already surveyed as a parent has no household left to draw.
            if (!per(p).households.empty()) {
                continue;
            }
            level_ = founderLevel(p);
            if (夫婦検索_SUB2(p) > 0) {
                if (std::find(r_.roots.begin(), r_.roots.end(), p) == r_.roots.end()) {
                    r_.roots.push_back(p);
                }
                descent(p, founderLevel(p));
            }
        }
    }
}

void Survey::close() {
    for (int p = 1; p <= run().personCount(); ++p) {
        if (per(p).households.size() >= 2) {
            per(p).multiSlot = slotCounter_++;
        }
    }
    r_.slotCount = slotCounter_ - 1;
}

} // namespace

SurveyOptions surveyOptions(const core::DrawingSettings& settings, const core::Environment& env,
                            int baseFamily) {
    SurveyOptions o;
    o.baseFamily = baseFamily;
    o.縦書き = settings.縦書き;
    o.子供の表示を右順にする = settings.子供の表示を右順にする;
    o.子孫以外は女性主体で作図 = settings.子孫以外は女性主体で作図;
    o.非婚姻関係を強制表示 = settings.非婚姻関係を強制表示;
    for (const core::FamilyEntry& e : settings.familyEntries) {
        o.hidden.push_back(e.selected == 1);
    }
    o.最大世代数 = env.最大世代数;
    return o;
}

int defaultBaseFamily(const core::DrawingSettings& settings, int familyCount) {
    if (settings.基準家族 >= 1 && settings.基準家族 <= familyCount) {
        return settings.基準家族;
    }
    if (settings.リスト３ >= 1 && settings.リスト３ <= familyCount) {
        return settings.リスト３;
    }
    return 0;
}

CentreQuestion centreQuestion(int family) {
    return {family, "作図の中心となる人物が決まっていません",
            "家族No." + basicStr(family) + "は、男性を中心に作図しますか？"};
}

std::optional<core::Lineage> 男性チェック(const core::Registers& reg, int family,
                                          const CentreAnswer& answer) {
    const core::Lineage lineage = reg.family(family).系統_F;
    if (core::isChosen(lineage)) {
        return lineage;
    }
    if (!answer) {
        return std::nullopt;
    }
    const std::optional<bool> yes = answer(centreQuestion(family));
    if (!yes) {
        return std::nullopt;
    }
    return core::lineageThrough(*yes);
}

void restoreRun(core::Registers& run, const RunChanges& changes) {
    for (int f = 1;
         f <= run.familyCount() && static_cast<std::size_t>(f) <= changes.families.size(); ++f) {
        core::家族& fam = run.family(f);
        const RunChanges::FamilyRefs& saved = changes.families[static_cast<std::size_t>(f - 1)];
        fam.夫NO = saved.夫NO;
        fam.妻NO = saved.妻NO;
        for (std::size_t k = 0; k < fam.子.size() && k < saved.子NO.size(); ++k) {
            fam.子[k].子NO = saved.子NO[k];
        }
        if (changes.childrenReversed && fam.子数() >= 2) {
            std::reverse(fam.子.begin(), fam.子.end());
        }
    }
    for (std::size_t p = 0; p < changes.子孫_F.size() && p < run.persons.size(); ++p) {
        run.persons[p].子孫_F = changes.子孫_F[p];
    }
}

std::string FamilySurvey::親接続() const {
    if (parentFamily == 0) {
        return {};
    }
    return std::to_string(parentFamily) + "," + std::to_string(parentChild);
}

int SurveyResult::sourceHusband(int family) const {
    return changes.families.at(static_cast<std::size_t>(family - 1)).夫NO;
}

int SurveyResult::sourceWife(int family) const {
    return changes.families.at(static_cast<std::size_t>(family - 1)).妻NO;
}

int SurveyResult::sourceChild(int family, int k) const {
    return changes.families.at(static_cast<std::size_t>(family - 1))
        .子NO.at(static_cast<std::size_t>(k - 1));
}

SurveyOutcome surveyChart(const core::Registers& reg, const SurveyOptions& options,
                          const CentreAnswer& answer) {
    SurveyOutcome outcome;
    SurveyResult result;
    Survey survey(options, result);
    try {
        survey.prepare(reg, answer);
        survey.stage1();
        if (options.releaseRun) {
            survey.release();
        } else {
            survey.stage2();
            survey.stage3();
            survey.stage4();
            survey.close();
        }
    } catch (const SurveyFailure& failure) {
        outcome.error = failure.error;
        return outcome;
    }
    outcome.result = std::move(result);
    return outcome;
}

SurveyOutcome 直系子孫の解除(const core::Registers& reg, core::DrawingSettings& settings,
                             const core::Environment& env, int baseFamily,
                             const CentreAnswer& answer) {
    SurveyOptions options = surveyOptions(settings, env, baseFamily);
    options.releaseRun = true;
    SurveyOutcome outcome = surveyChart(reg, options, answer);
    if (outcome.ok()) {
        for (int f : outcome.result->releasedFamilies) {
            if (static_cast<std::size_t>(f) <= settings.familyEntries.size()) {
                settings.familyEntries[static_cast<std::size_t>(f - 1)].selected = 0;
            }
        }
    }
    return outcome;
}

} // namespace layout
