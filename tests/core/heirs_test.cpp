// The heir rules case by case of the law, each case a small register written out as data:
// its persons (numbered from 1 in the order given), its families, the deceased, the heirs
// expected with relationship and share, and persons passed over with their reason.
#include "core/heirs.h"

#include "core/data_folder.h"
#include "core/environment.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using core::PassReason;

struct P {
    int sex; // 1 male, 2 female
    const char* born;
    const char* died = "";
};

struct K {
    int person;
    int kind = 0; // 子の形態
    const char* title = "";
    const char* adopted = ""; // 縁組日
};

struct F {
    int husband;
    int wife;
    std::vector<K> children = {};
    bool divorced = false;
    int form = 0; // 形態: 1 non-marital
};

struct Expected {
    int person;
    const char* relationship; // relationshipText
    const char* share;
    int represents = 0;
};

struct Case {
    const char* name;
    std::vector<P> persons;
    std::vector<F> families;
    std::vector<Expected> heirs; // in document order; the deceased is person 1
    std::vector<std::pair<int, PassReason>> passed = {};
    bool complete = true;
};

core::Registers build(const Case& c) {
    core::Registers reg;
    for (const P& p : c.persons) {
        core::当事者 x;
        const auto n = static_cast<std::int16_t>(reg.personCount() + 1);
        x.当事者NO = x.C_当事者NO = n;
        x.男女 = static_cast<std::int16_t>(p.sex);
        x.姓 = "山田";
        x.名 = "人" + std::to_string(n);
        x.生年月日 = p.born;
        x.死亡年月日 = p.died;
        reg.persons.push_back(x);
    }
    for (const F& f : c.families) {
        core::家族 y;
        y.夫婦確定_f = 1;
        y.婚姻NO = static_cast<std::int16_t>(reg.familyCount() + 1);
        y.夫NO = static_cast<std::int16_t>(f.husband);
        y.妻NO = static_cast<std::int16_t>(f.wife);
        y.形態 = static_cast<core::UnionForm>(f.form);
        y.離婚_F = f.divorced ? 1 : 0;
        for (const K& k : f.children) {
            core::Child ch;
            ch.子NO = static_cast<std::int16_t>(k.person);
            ch.子の形態 = static_cast<core::ChildKind>(k.kind);
            ch.子の肩書 = k.title;
            ch.縁組日 = k.adopted;
            y.子.push_back(ch);
        }
        reg.families.push_back(y);
    }
    return reg;
}

std::vector<int> everybody(const core::Registers& reg) {
    std::vector<int> all;
    for (int p = 1; p <= reg.personCount(); ++p) {
        all.push_back(p);
    }
    return all;
}

void expectCase(const Case& c, const core::Registers& reg, int deceased = 1) {
    SCOPED_TRACE(c.name);
    const core::HeirOutcome out = core::workOutHeirs(reg, deceased, everybody(reg));
    EXPECT_EQ(out.complete, c.complete);
    ASSERT_EQ(out.heirs.size(), c.heirs.size());
    core::Share sum;
    for (std::size_t i = 0; i < c.heirs.size(); ++i) {
        const core::Heir& h = out.heirs[i];
        EXPECT_EQ(h.person, c.heirs[i].person) << i;
        EXPECT_EQ(h.relationshipText(), c.heirs[i].relationship) << h.person;
        EXPECT_EQ(core::shareText(h.share), c.heirs[i].share) << h.person;
        EXPECT_EQ(h.represents, c.heirs[i].represents) << h.person;
        sum = sum + h.share;
    }
    if (c.complete && !c.heirs.empty()) {
        EXPECT_EQ(sum, (core::Share{1, 1})) << core::shareText(sum);
    }
    std::map<int, PassReason> passed;
    for (const core::PassedOver& p : out.passedOver) {
        passed[p.person] = p.reason;
        EXPECT_FALSE(out.isHeir(p.person)) << p.person;
    }
    for (const auto& [person, reason] : c.passed) {
        ASSERT_EQ(passed.count(person), 1u) << person;
        EXPECT_EQ(passed[person], reason) << person << ": " << core::passReasonText(passed[person]);
    }
    // Everybody but the deceased and the heirs is accounted for.
    EXPECT_EQ(out.passedOver.size() + out.heirs.size() + 1,
              static_cast<std::size_t>(reg.personCount()));
}

const char* const kDied = "令和４年１０月５日";

const std::vector<Case>& lawCases() {
    static const std::vector<Case> cases = {
        {"spouse and two children",
         {{1, "昭和５年３月１日", kDied},
          {2, "昭和８年７月２０日"},
          {1, "昭和３２年５月５日"},
          {2, "昭和３５年１月１日"}},
         {{1, 2, {{4, 0, "長女"}, {3, 0, "長男"}}}},
         {{2, "妻", "1/2"}, {3, "長男", "1/4"}, {4, "長女", "1/4"}}},

        {"a predeceased child's children, and a predeceased grandchild's child",
         {{1, "昭和５年３月１日", kDied},
          {2, "昭和８年７月２０日"},
          {1, "昭和３２年５月５日"},
          {1, "昭和３８年９月１０日", "平成２０年６月１日"},
          {2, "昭和４０年２月２日"},
          {1, "平成４年４月８日"},
          {2, "平成６年１月１日", "平成３０年１月１日"},
          {2, "平成２８年１月１日"}},
         {{1, 2, {{3, 0, "長男"}, {4, 0, "二男"}}},
          {4, 5, {{6, 0, "長男"}, {7, 0, "長女"}}},
          {0, 7, {{8, 0, "長女"}}}},
         {{2, "妻", "1/2"},
          {3, "長男", "1/4"},
          {6, "孫（代襲者）", "1/8", 4},
          {8, "曾孫（代襲者）", "1/8", 7}},
         {{4, PassReason::Substituted}, {7, PassReason::Substituted}, {5, PassReason::NoLine}}},

        {"no descendants, one living parent",
         {{1, "昭和３０年１月１日", kDied},
          {2, "昭和３２年１月１日"},
          {1, "昭和５年１月１日"},
          {2, "昭和７年１月１日", "平成１０年１月１日"},
          {1, "昭和３３年１月１日"}},
         {{3, 4, {{1}, {5}}}, {1, 2}},
         {{2, "妻", "2/3"}, {3, "父", "1/3"}},
         {{4, PassReason::DiedBefore}, {5, PassReason::PriorRank}}},

        {"siblings of the full and the half blood, a predeceased sister's children",
         {{1, "昭和２０年１月１日", kDied},
          {1, "大正５年１月１日", "昭和６０年１月１日"},
          {2, "大正８年１月１日", "昭和５０年１月１日"},
          {2, "大正１０年１月１日", "平成２年１月１日"},
          {1, "昭和１５年１月１日"},
          {2, "昭和２５年１月１日", "平成２５年１月１日"},
          {1, "昭和５０年１月１日"},
          {1, "昭和５５年１月１日"},
          {2, "昭和２２年１月１日"},
          {1, "昭和２３年１月１日"},
          {1, "昭和５２年１月１日", "平成２０年１月１日"},
          {2, "平成１５年１月１日"}},
         {{2, 3, {{5}, {1}, {6}}}, {2, 4, {{8}}}, {10, 6, {{7}, {11}}}, {11, 0, {{12}}}, {1, 9}},
         {{9, "妻", "3/4"}, {5, "兄", "1/10"}, {7, "甥（代襲者）", "1/10", 6}, {8, "弟", "1/20"}},
         {{6, PassReason::Substituted},
          {11, PassReason::DiedBefore},
          {12, PassReason::BeyondNephews},
          {2, PassReason::DiedBefore},
          {10, PassReason::NoLine}}},

        {"deaths on the same day",
         {{1, "昭和２０年１月１日", kDied},
          {2, "昭和２２年１月１日", kDied},
          {1, "昭和５０年１月１日"},
          {1, "昭和５２年１月１日", kDied},
          {2, "平成１５年１月１日"}},
         {{1, 2, {{3, 0, "長男"}, {4, 0, "二男"}}}, {4, 0, {{5, 0, "長女"}}}},
         {{3, "長男", "1/2"}, {5, "孫（代襲者）", "1/2", 4}},
         {{2, PassReason::SameDay}, {4, PassReason::Substituted}}},

        {"an adopted child, and an adopted child's children born before and after the adoption",
         {{1, "昭和５年１月１日", kDied},
          {2, "昭和８年１月１日"},
          {1, "昭和３２年１月１日"},
          {2, "昭和４５年１１月３日"},
          {1, "昭和３５年１月１日", "平成２５年１月１日"},
          {1, "昭和６３年１月１日"},
          {2, "平成５年１月１日"}},
         {{1,
           2,
           {{3, 0, "長男"}, {4, 1, "養女", "平成２年４月１日"}, {5, 1, "", "平成２年４月１日"}}},
          {5, 0, {{6}, {7}}}},
         {{2, "妻", "1/2"}, {3, "長男", "1/6"}, {7, "孫（代襲者）", "1/6", 5}, {4, "養女", "1/6"}},
         {{5, PassReason::Substituted}, {6, PassReason::BornBeforeAdoption}}},

        {"a divorced spouse and the child of that marriage",
         {{1, "昭和５年１月１日", kDied},
          {2, "昭和７年１月１日"},
          {1, "昭和３２年１月１日"},
          {2, "昭和１０年１月１日"}},
         {{1, 2, {{3, 0, "長男"}}, true}, {1, 4}},
         {{4, "妻", "1/2"}, {3, "長男", "1/2"}},
         {{2, PassReason::Divorced}}},

        {"a partner without marriage, an acknowledged and an unacknowledged child",
         {{1, "昭和５年１月１日", kDied},
          {2, "昭和７年１月１日"},
          {1, "昭和４０年１月１日"},
          {2, "昭和４２年１月１日"},
          {2, "明治４５年１月１日"}},
         {{1, 2, {{3, 3}, {4, 2}}, false, 1}, {0, 5, {{1}}}},
         {{4, "子", "1"}},
         {{2, PassReason::NotMarried}, {3, PassReason::NoLine}, {5, PassReason::PriorRank}}},

        {"the nearest ascendants: two grandmothers",
         {{1, "昭和５０年１月１日", kDied},
          {1, "昭和２０年１月１日", "平成２０年１月１日"},
          {2, "昭和２２年１月１日", "平成２２年１月１日"},
          {1, "大正５年１月１日", "昭和６０年１月１日"},
          {2, "大正１０年１月１日"},
          {2, "大正１２年１月１日"}},
         {{2, 3, {{1}}}, {4, 5, {{2}}}, {0, 6, {{3}}}},
         {{5, "祖母", "1/2"}, {6, "祖母", "1/2"}},
         {{2, PassReason::DiedBefore}, {4, PassReason::DiedBefore}}},

        {"a death of 1975: the spouse's share before 1981",
         {{1, "大正５年１月１日", "昭和５０年１月１日"},
          {2, "大正８年１月１日"},
          {2, "昭和２０年１月１日"}},
         {{1, 2, {{3, 0, "長女"}}}},
         {{2, "妻", "1/3"}, {3, "長女", "2/3"}}},

        {"a child's death date that cannot be read",
         {{1, "昭和５年１月１日", kDied},
          {1, "昭和３２年１月１日"},
          {1, "昭和３５年１月１日", "平成２０年頃"}},
         {{1, 0, {{2, 0, "長男"}, {3, 0, "二男"}}}},
         {{2, "長男", "不明"}},
         {{3, PassReason::SurvivalUnknown}},
         false},
    };
    return cases;
}

TEST(Heirs, CasesOfTheLaw) {
    for (const Case& c : lawCases()) {
        expectCase(c, build(c));
    }
}

TEST(Heirs, TheOldCivilCodeIsNotWorkedOut) {
    Case c{"a death of 1945",
           {{1, "明治４０年１月１日", "昭和２０年１月１日"}, {1, "大正５年１月１日"}},
           {{1, 0, {{2, 0, "長男"}}}},
           {}};
    const core::HeirOutcome out = core::workOutHeirs(build(c), 1);
    EXPECT_TRUE(out.oldLaw);
    EXPECT_TRUE(out.heirs.empty());
}

// A deceased without a death date: whoever has one cannot be placed before or after.
TEST(Heirs, WithoutTheDeceasedsDeathDateOnlyTheLivingAreCertain) {
    Case c{"no death date",
           {{1, "昭和５年１月１日"},
            {2, "昭和８年１月１日"},
            {1, "昭和３２年１月１日", "平成２０年１月１日"}},
           {{1, 2, {{3, 0, "長男"}}}},
           {}};
    const core::HeirOutcome out = core::workOutHeirs(build(c), 1);
    EXPECT_FALSE(out.complete);
    ASSERT_EQ(out.heirs.size(), 1u);
    EXPECT_EQ(out.heirs[0].person, 2);
    EXPECT_FALSE(out.heirs[0].share.known());
}

// Entries linked to another person (C_当事者NO) are that person: the deceased's wife entered
// twice inherits once, under her own number.
TEST(Heirs, LinkedEntriesStandForTheirSource) {
    Case c{"links",
           {{1, "昭和５年１月１日", kDied}, {2, "昭和８年１月１日"}, {2, "昭和８年１月１日"}},
           {{1, 3}},
           {}};
    core::Registers reg = build(c);
    reg.person(3).C_当事者NO = 2;
    const core::HeirOutcome out = core::workOutHeirs(reg, 1, {2, 3});
    ASSERT_EQ(out.heirs.size(), 1u);
    EXPECT_EQ(out.heirs[0].person, 2);
    EXPECT_EQ(core::shareText(out.heirs[0].share), "1");
    ASSERT_EQ(out.passedOver.size(), 1u);
    EXPECT_EQ(out.passedOver[0].reason, PassReason::LinkCopy);
    EXPECT_EQ(out.passedOver[0].standsFor, 2);
}

// The sample folder: 山田太郎 leaves his wife, four children and the son of his predeceased
// second son 次郎; the children's mothers, his parents and the in-laws do not inherit.
TEST(Heirs, TheSampleFamily) {
    const core::DataFolder data = core::DataFolder::load(
        TSUBAKI_SAMPLES_DIR,
        core::readEnvironment(std::string(TSUBAKI_SAMPLES_DIR) + "/KANKYO.TXT"),
        [] { return true; });
    const core::HeirOutcome out = core::workOutHeirs(data.reg, 1, everybody(data.reg));
    EXPECT_TRUE(out.complete);
    std::vector<std::string> heirs;
    for (const core::Heir& h : out.heirs) {
        heirs.push_back(std::to_string(h.person) + " " + h.relationshipText() + " " +
                        core::shareText(h.share));
    }
    EXPECT_EQ(heirs, (std::vector<std::string>{"2 妻 1/2", "4 長男 1/10", "8 孫（代襲者） 1/10",
                                               "6 長女 1/10", "13 子 1/10", "9 養女 1/10"}));
    std::map<int, PassReason> passed;
    for (const core::PassedOver& p : out.passedOver) {
        passed[p.person] = p.reason;
    }
    EXPECT_EQ(passed[3], PassReason::Divorced);
    EXPECT_EQ(passed[5], PassReason::Substituted);
    EXPECT_EQ(passed[11], PassReason::ParentInherits);
    EXPECT_EQ(passed[12], PassReason::NotMarried);
    EXPECT_EQ(passed[14], PassReason::DiedBefore);
    EXPECT_EQ(passed[18], PassReason::LinkCopy);
    EXPECT_EQ(passed[7], PassReason::NoLine);
    // The document order: the 被代襲者 次郎 just before his son.
    std::vector<int> lines;
    for (const core::SuccessionLine& l : out.lines) {
        lines.push_back(l.substituted ? -l.person : l.person);
    }
    EXPECT_EQ(lines, (std::vector<int>{2, 4, -5, 8, 6, 13, 9}));
}

} // namespace
