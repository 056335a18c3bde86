// The chart survey: household order and arrangement, which family a person is drawn
// under, roots, levels and the failures, worked out by hand on small registers.
#include "layout/chart_survey.h"
#include "layout/family_case.h"
#include "register_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

using layout_test::RegisterBuilder;
using layout_test::survey;

namespace {

std::vector<int> orderNumbers(const layout::SurveyResult& r, int person) {
    std::vector<int> out;
    for (int f : r.person(person).households) {
        out.push_back(r.family(f).orderNo);
    }
    return out;
}

// A man with three marriages (the first the base family) and, optionally, a household of
// his own without a partner.
struct ThreeMarriages {
    explicit ThreeMarriages(bool single) {
        man = b.man();
        if (single) {
            alone = b.family(man, 0);
        }
        base = b.family(man, b.woman(), 1);
        second = b.family(man, b.woman());
        third = b.family(man, b.woman());
    }
    RegisterBuilder b;
    int man = 0, alone = 0, base = 0, second = 0, third = 0;
};

TEST(HouseholdArrangement, CouplesAlternateAroundThePersonByWritingDirection) {
    ThreeMarriages t(false);
    const auto h = survey(t.b.reg, t.b.options(t.base, false));
    EXPECT_EQ(h.family(t.base).orderNo, 2);
    EXPECT_EQ(h.family(t.second).orderNo, 3);
    EXPECT_EQ(h.family(t.third).orderNo, 4);
    EXPECT_EQ(orderNumbers(h, t.man), (std::vector<int>{3, 2, 4}));
    EXPECT_EQ(h.person(t.man).households, (std::vector<int>{t.second, t.base, t.third}));
    const auto v = survey(t.b.reg, t.b.options(t.base, true));
    EXPECT_EQ(orderNumbers(v, t.man), (std::vector<int>{4, 2, 3}));
}

TEST(HouseholdArrangement, ASingleParentHouseholdTakesOrderNumberOne) {
    ThreeMarriages t(true);
    const auto h = survey(t.b.reg, t.b.options(t.base, false));
    EXPECT_EQ(h.family(t.alone).orderNo, 1);
    EXPECT_EQ(orderNumbers(h, t.man), (std::vector<int>{3, 1, 2, 4}));
    const auto v = survey(t.b.reg, t.b.options(t.base, true));
    EXPECT_EQ(orderNumbers(v, t.man), (std::vector<int>{4, 2, 1, 3}));
    // Three household slots each, handed out in the order found; then the person's own
    // multi-household slot at closing.
    EXPECT_EQ(v.family(t.alone).slots, (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(v.family(t.base).slots, (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(v.person(t.man).multiSlot, 13);
    EXPECT_EQ(v.slotCount, 13);
}

// A lineage without a name (3) admits neither spouse's side: such a family is taken through
// neither of them. As the base family it is asked about, as an unset lineage is.
TEST(HouseholdSearch, AFamilyOfALineageWithoutANameIsTakenThroughNeitherSpouse) {
    RegisterBuilder b;
    const int man = b.man();
    const int base = b.family(man, b.woman(), 1);
    const int wife = b.woman();
    const int unnamed = b.family(man, wife, 3);
    const auto r = survey(b.reg, b.options(base));
    EXPECT_EQ(r.person(man).households, std::vector<int>{base});
    EXPECT_TRUE(r.person(wife).households.empty());
    EXPECT_FALSE(r.family(unnamed).taken());

    int asked = 0;
    const auto asBase =
        layout::surveyChart(b.reg, b.options(unnamed), [&](const layout::CentreQuestion&) {
            ++asked;
            return std::optional<bool>(true);
        });
    ASSERT_TRUE(asBase.ok());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(asBase.result->lineage, core::Lineage::Paternal);
    EXPECT_EQ(asBase.result->centre, man);
}

TEST(HouseholdSearch, ANonMaritalUnionIsDrawnOnlyWithChildrenOrWhenForced) {
    RegisterBuilder b;
    const int man = b.man();
    const int base = b.family(man, b.woman(), 1);
    const int union_ = b.family(man, b.woman(), 0, 1);
    const int later = b.family(man, b.woman());
    auto o = b.options(base);
    auto r = survey(b.reg, o);
    EXPECT_FALSE(r.family(union_).taken());
    EXPECT_EQ(r.person(man).households.size(), 2u);

    o.非婚姻関係を強制表示 = true;
    r = survey(b.reg, o);
    EXPECT_EQ(r.family(union_).orderNo, 4); // after every marriage
    EXPECT_EQ(r.family(later).orderNo, 3);

    o.非婚姻関係を強制表示 = false;
    b.childOf(union_, 1);
    r = survey(b.reg, o);
    EXPECT_EQ(r.family(union_).orderNo, 4);
    EXPECT_EQ(r.family(union_).takenBy, man);
}

TEST(HouseholdSearch, AMaternalFamilyIsPassedOverForTheHusbandAndTakenThroughTheWife) {
    RegisterBuilder b;
    const int man = b.man();
    const int base = b.family(man, b.woman(), 1);
    const int wife = b.woman();
    const int maternal = b.family(man, wife, 2);
    const auto r = survey(b.reg, b.options(base));
    EXPECT_EQ(r.person(man).households, std::vector<int>{base});
    EXPECT_EQ(r.family(maternal).takenBy, wife);
    EXPECT_EQ(r.family(maternal).orderNo, 2);
    EXPECT_EQ(r.roots, (std::vector<int>{man, wife}));

    // As the base family it is his whatever its lineage.
    const auto asBase = survey(b.reg, b.options(maternal));
    EXPECT_EQ(asBase.centre, wife); // the lineage of the base family decides the centre
    auto o = b.options(maternal);
    b.reg.family(maternal).系統_F = core::Lineage::Paternal;
    const auto husbandSide = survey(b.reg, o);
    EXPECT_EQ(husbandSide.family(maternal).takenBy, man);
}

TEST(HouseholdSearch, TheBaseFamilyIsTakenByRuleOneEvenWithoutAPartner) {
    RegisterBuilder b;
    const int man = b.man();
    const int alone = b.family(man, 0);
    const int base = b.family(man, 0, 1); // a second one-parent family: only as the base
    const int maternal = b.family(man, b.woman(), 2);
    const auto r = survey(b.reg, b.options(base));
    EXPECT_EQ(r.family(alone).orderNo, 1);
    EXPECT_EQ(r.family(base).orderNo, 2);
    EXPECT_NE(r.family(maternal).takenBy, man);
    // Not the base family: the second one-parent family is never his.
    const auto r2 = survey(b.reg, b.options(maternal));
    EXPECT_FALSE(r2.family(base).taken());
}

TEST(DescentSurvey, AChildIsContinuedOnlyUnderTheFamilyNamedByItsDescendantFlag) {
    RegisterBuilder b;
    const int centre = b.man();
    const int base = b.family(centre, b.woman(), 1);
    const int father = b.man();
    const int birth = b.family(father, b.woman(), 1);
    const int girl = b.woman();
    b.child(base, girl, false, 1); // adopted into the base family
    b.child(birth, girl);          // continued under her birth family
    const int own = b.family(b.man(), girl, 2);
    const auto r = survey(b.reg, b.options(base));
    EXPECT_GT(r.family(base).childSlots[0], 0);
    EXPECT_EQ(r.family(base).childHousehold[0], 0);
    EXPECT_EQ(r.family(birth).childSlots[0], 0);
    EXPECT_EQ(r.family(birth).childHousehold[0], own);
    EXPECT_EQ(r.family(own).takenBy, girl);
    EXPECT_EQ(r.family(own).親接続(), std::to_string(birth) + ",1");
    EXPECT_EQ(r.family(own).階層, 1);
    EXPECT_EQ(r.roots, (std::vector<int>{centre, father}));
}

TEST(DescentSurvey, LevelsAreAbsoluteAndLimitedByTheGenerationCapacity) {
    // A line of five generations: person i heads family i at level i.
    RegisterBuilder b;
    std::vector<int> heads = {b.man()};
    std::vector<int> families = {b.family(heads[0], b.woman(), 1)};
    for (int i = 1; i < 5; ++i) {
        heads.push_back(b.childOf(families.back(), 1));
        families.push_back(b.family(heads.back(), b.woman(), 1));
    }
    auto o = b.options(families[0]);
    o.最大世代数 = 5;
    const auto r = survey(b.reg, o);
    EXPECT_EQ(r.family(families[4]).階層, 4); // level 最大世代数 − 1 is still surveyed
    EXPECT_EQ(r.最大深度_H, 3);

    // One child more is a generation too many.
    RegisterBuilder deeper = b;
    deeper.childOf(families[4], 2);
    const auto tooDeep = layout::surveyChart(deeper.reg, o, {});
    ASSERT_FALSE(tooDeep.ok());
    EXPECT_EQ(tooDeep.error->kind, layout::SurveyError::Kind::TooDeep);
    EXPECT_EQ(tooDeep.error->title, "階層値が最大階層深度数を超えました");
    EXPECT_EQ(tooDeep.error->text, "KANKYO.TXTの最大階層深度数の値を大きくして下さい");

    // A tree whose root starts at level 2 holds two generations fewer.
    b.reg.person(heads[0]).創始階層 = 2;
    EXPECT_FALSE(layout::surveyChart(b.reg, o, {}).ok());
    b.reg.person(heads[0]).創始階層 = 0;
    o.最大世代数 = 4;
    EXPECT_FALSE(layout::surveyChart(b.reg, o, {}).ok());
}

TEST(AncestorSearch, TwoSpousesWithOneAncestorGiveOneRoot) {
    RegisterBuilder b;
    const int grandfather = b.man();
    const int parents = b.family(grandfather, b.woman(), 1);
    const int first = b.childOf(parents, 2);
    const int second = b.childOf(parents, 2);
    const int centre = b.man();
    const int base = b.family(centre, first, 1);
    const int other = b.family(centre, second);
    const auto r = survey(b.reg, b.options(base));
    EXPECT_EQ(r.roots, (std::vector<int>{centre, grandfather}));
    EXPECT_EQ(r.先祖, (std::vector<int>{0, grandfather, grandfather}));
    EXPECT_EQ(r.MAX_先祖高度, -1);
    // The sisters' marriages are taken under the centre person, not under their parents.
    EXPECT_EQ(r.family(base).takenBy, centre);
    EXPECT_EQ(r.family(other).takenBy, centre);
    EXPECT_GT(r.family(parents).childSlots[0], 0);
}

TEST(AncestorSearch, AnAncestorLineThroughALinkedCopyIsAContradiction) {
    RegisterBuilder b;
    const int centre = b.person(1, "山田", "太郎");
    const int base = b.family(centre, b.woman(), 1);
    const int father = b.man();
    const int parents = b.family(father, b.woman(), 1);
    b.child(parents, centre);
    const int copy = b.person(1, "山田", "太郎"); // entered again, linked to the centre
    b.reg.person(copy).C_当事者NO = static_cast<std::int16_t>(centre);
    const int grandparents = b.family(copy, b.woman(), 1);
    b.child(grandparents, father); // the father's father is the centre himself
    const core::Registers before = b.reg;
    const auto outcome = layout::surveyChart(b.reg, b.options(base), {});
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error->kind, layout::SurveyError::Kind::Contradiction);
    EXPECT_EQ(outcome.error->title, "系図作成上の矛盾エラーメッセージ");
    EXPECT_EQ(outcome.error->text, "当事者NO: 1（山田太郎）の先祖に\n"
                                   "矛盾があります。当事者リンクの設定をしていた場合は\n"
                                   "リンク元やリンク先の関係も見直して下さい。");
    EXPECT_EQ(b.reg, before);
}

TEST(Preparation, HiddenFamiliesCutTheirChildrenLooseAndTheReleaseRunUnhidesTheDirectLine) {
    RegisterBuilder b;
    const int centre = b.man();
    const int base = b.family(centre, b.woman(), 1);
    const int son = b.childOf(base, 1);
    const int sons = b.family(son, b.woman(), 1);
    const int grandson = b.childOf(sons, 1);
    const int grandsons = b.family(grandson, b.woman(), 1);
    const int stranger = b.family(b.man(), b.woman(), 1);
    auto o = b.options(base);
    o.hidden.assign(static_cast<std::size_t>(b.reg.familyCount()), false);
    o.hidden[static_cast<std::size_t>(sons - 1)] = true;
    o.hidden[static_cast<std::size_t>(base - 1)] = true; // never hidden
    const auto r = survey(b.reg, o);
    EXPECT_FALSE(r.family(sons).taken());
    EXPECT_TRUE(r.family(base).taken());
    EXPECT_GT(r.family(base).childSlots[0], 0); // the son is a leaf now
    EXPECT_EQ(r.run.person(grandson).子孫_F, 0);
    EXPECT_EQ(r.family(grandsons).takenBy, grandson);
    EXPECT_EQ(r.roots[1], grandson);

    core::DrawingSettings settings;
    settings.familyEntries.resize(static_cast<std::size_t>(b.reg.familyCount()));
    settings.familyEntries[static_cast<std::size_t>(sons - 1)].selected = 1;
    settings.familyEntries[static_cast<std::size_t>(stranger - 1)].selected = 1;
    core::Environment env;
    env.最大世代数 = 30;
    const auto released = layout::直系子孫の解除(b.reg, settings, env, base, {});
    ASSERT_TRUE(released.ok());
    EXPECT_EQ(released.result->releasedFamilies, (std::vector<int>{base, sons, grandsons}));
    EXPECT_EQ(settings.familyEntries[static_cast<std::size_t>(sons - 1)].selected, 0);
    EXPECT_EQ(settings.familyEntries[static_cast<std::size_t>(stranger - 1)].selected, 1);
}

TEST(Preparation, TheRunCopyRestoresToTheRegistersExactly) {
    RegisterBuilder b;
    const int centre = b.man();
    const int wife = b.woman();
    const int base = b.family(centre, wife, 1);
    const int a = b.man(), c = b.woman(), d = b.man();
    b.child(base, a, true, 0, "長男");
    b.child(base, c, true, 1, "養女");
    b.reg.family(base).child(2).縁組日 = "平成２年４月１日";
    b.child(base, d, true, 2, "二男");
    b.reg.family(base).child(3).認知日 = "昭和４５年５月２０日";
    const int copy = b.man(); // a linked copy of the first son, married elsewhere
    b.reg.person(copy).C_当事者NO = static_cast<std::int16_t>(a);
    const int hidden = b.family(copy, b.woman(), 1);
    const int grandchild = b.childOf(hidden, 2);
    auto o = b.options(base, true);
    o.子供の表示を右順にする = true;
    o.hidden.assign(static_cast<std::size_t>(b.reg.familyCount()), false);
    o.hidden[static_cast<std::size_t>(hidden - 1)] = true;

    const auto r = survey(b.reg, o);
    // The run sees the children reversed with their titles, the link resolved and the
    // hidden family's child cut loose.
    const core::家族& run = r.run.family(base);
    EXPECT_EQ(run.child(1).子NO, d);
    EXPECT_EQ(run.child(1).子の肩書, "二男");
    EXPECT_EQ(run.child(2).縁組日, "平成２年４月１日");
    EXPECT_EQ(run.child(3).子NO, a);
    EXPECT_EQ(r.run.family(hidden).夫NO, a);
    EXPECT_EQ(r.sourceHusband(hidden), copy);
    EXPECT_EQ(r.sourceChild(base, 1), d);
    EXPECT_EQ(r.run.person(grandchild).子孫_F, 0);

    core::Registers restored = r.run;
    layout::restoreRun(restored, r.changes);
    EXPECT_EQ(restored, b.reg);
}

TEST(Preparation, AnUnsetLineageAsksWhoIsAtTheCentre) {
    RegisterBuilder b;
    const int husband = b.man();
    const int wife = b.woman();
    b.man();
    const int base = b.family(husband, wife);
    b.family(3, wife);
    std::vector<layout::CentreQuestion> asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const layout::CentreQuestion& q) -> std::optional<bool> {
            asked.push_back(q);
            return yes;
        };
    };
    const auto no = layout::surveyChart(b.reg, b.options(2), answer(false));
    ASSERT_TRUE(no.ok());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "作図の中心となる人物が決まっていません");
    EXPECT_EQ(asked[0].text, "家族No. 2は、男性を中心に作図しますか？");
    EXPECT_EQ(no.result->centre, wife);
    EXPECT_EQ(no.result->lineage, core::Lineage::Maternal);
    const auto yes = layout::surveyChart(b.reg, b.options(base), answer(true));
    EXPECT_EQ(yes.result->centre, husband);

    const auto unanswered = layout::surveyChart(b.reg, b.options(base), {});
    ASSERT_FALSE(unanswered.ok());
    EXPECT_EQ(unanswered.error->kind, layout::SurveyError::Kind::CentreUnanswered);
    EXPECT_EQ(unanswered.error->text, "家族No. 1は、男性を中心に作図しますか？");
}

TEST(Preparation, ReferencesOutsideTheRegistersAreRefusedWithTheirPlace) {
    RegisterBuilder b;
    const int base = b.family(b.man(), b.woman(), 1);
    const core::Registers good = b.reg;
    b.reg.family(base).妻NO = 99;
    auto outcome = layout::surveyChart(b.reg, b.options(base), {});
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error->kind, layout::SurveyError::Kind::BadInput);
    EXPECT_EQ(outcome.error->text, "家族目録の家族No.1の妻NO（99）は登録されていない当事者です");

    b.reg = good;
    b.reg.person(2).子孫_F = 7;
    outcome = layout::surveyChart(b.reg, b.options(base), {});
    EXPECT_EQ(outcome.error->text, "当事者目録の当事者NO.2の子孫_F（7）は登録されていない家族です");

    outcome = layout::surveyChart(good, b.options(5), {});
    EXPECT_EQ(outcome.error->text, "作図時の基準家族No.5は登録されていない家族です");

    core::Registers noHusband = good;
    noHusband.family(base).夫NO = 0;
    outcome = layout::surveyChart(noHusband, b.options(base), {});
    EXPECT_EQ(outcome.error->text,
              "家族No.1には夫が登録されていないため、作図の中心となる人物が決まりません");
}

// A person whose 男女 is neither 1 nor 2 is in none of the last stage's rounds: a household
// of its own outside the tree is not drawn.
TEST(OtherRoots, APersonOfUnrecordedSexStartsNoTree) {
    RegisterBuilder b;
    const int base = b.family(b.man(), b.woman(), 1);
    const int unrecorded = b.person(0);
    const int outside = b.family(unrecorded, 0);
    EXPECT_FALSE(survey(b.reg, b.options(base)).family(outside).taken());
    b.reg.person(unrecorded).男女 = 1;
    const auto recorded = survey(b.reg, b.options(base));
    EXPECT_TRUE(recorded.family(outside).taken());
    EXPECT_EQ(recorded.roots.back(), unrecorded);
}

TEST(OtherRoots, FemaleCentredDrawingRootsCouplesOutsideTheLineAtTheWife) {
    RegisterBuilder b;
    const int base = b.family(b.man(), b.woman(), 1);
    const int husband = b.man();
    const int wife = b.woman();
    const int outside = b.family(husband, wife);
    auto o = b.options(base);
    auto r = survey(b.reg, o);
    EXPECT_EQ(r.roots.back(), husband);
    EXPECT_EQ(r.family(outside).entrySex, 1);
    o.子孫以外は女性主体で作図 = true;
    r = survey(b.reg, o);
    EXPECT_EQ(r.roots.back(), wife);
    EXPECT_EQ(r.family(outside).entrySex, 2);
}

struct CaseRow {
    int lineage;
    bool husbandIsCentre, wifeIsCentre;
    bool husbandPresent, wifePresent;
    bool husbandHeir, wifeHeir;
    int code;
};

TEST(OtherRoots, APersonDrawnUnderItsParentsIsNotRootedAgainForALeftoverUnion) {
    RegisterBuilder b;
    const int centre = b.man();
    const int base = b.family(centre, b.woman(), 1);
    const int son = b.childOf(base, 1);
    const int marriage = b.family(son, b.woman());
    const int union_ = b.family(son, b.woman(), 0, 1); // no children: not drawn
    const auto r = survey(b.reg, b.options(base));
    EXPECT_EQ(r.family(marriage).takenBy, son);
    EXPECT_FALSE(r.family(union_).taken());
    EXPECT_EQ(std::count(r.roots.begin(), r.roots.end(), son), 0);
}

TEST(FamilyCase, CodesFollowTheMainSpouseTheDeceasedAndTheHeirs) {
    const CaseRow rows[] = {
        // main = husband (lineage 1)
        {1, true, false, true, false, false, false, 13},
        {1, true, false, true, true, false, true, 4},
        {1, true, false, true, true, false, false, 7},
        {1, false, false, true, false, true, false, 9},
        {1, false, false, true, false, false, false, 11},
        {1, false, false, true, true, true, true, 3},
        {1, false, false, true, true, true, false, 1},
        {1, false, false, true, true, false, false, 6},
        // main = wife (lineage 2, and 0)
        {2, false, true, false, true, false, false, 14},
        {2, false, true, true, true, true, false, 5},
        {0, false, true, true, true, false, false, 8},
        {2, false, false, false, true, false, true, 10},
        {2, false, false, false, true, false, false, 12},
        {0, false, false, true, true, false, true, 2},   // only the wife: 2 whatever the lineage
        {3, false, true, false, true, false, false, 14}, // a lineage without a name: the wife
        {1, false, false, true, true, false, true, 2},
    };
    for (const CaseRow& row : rows) {
        core::家族 f;
        f.系統_F = static_cast<core::Lineage>(row.lineage);
        f.夫NO = row.husbandPresent ? 1 : 0;
        f.妻NO = row.wifePresent ? 2 : 0;
        std::vector<std::uint8_t> heirs = {row.husbandHeir, row.wifeHeir};
        const int centre = row.husbandIsCentre ? 1 : row.wifeIsCentre ? 2 : 9;
        EXPECT_EQ(layout::家族調査_SUB(f, centre, heirs), row.code)
            << "lineage " << row.lineage << " heirs " << row.husbandHeir << row.wifeHeir;
    }
}

TEST(FamilyCase, APredeceasedHeirBecomesAnHeirUnlessItIsTheDeceased) {
    core::家族 f;
    f.系統_F = core::Lineage::Paternal;
    f.夫NO = 3;
    f.妻NO = 4;
    f.夫肩書 = "被代襲者";
    std::vector<std::uint8_t> heirs;
    EXPECT_EQ(layout::家族調査_SUB(f, 1, heirs), 15);
    ASSERT_EQ(heirs.size(), 3u);
    EXPECT_EQ(heirs[2], 1);
    f.系統_F = core::Lineage::Maternal;
    f.妻肩書 = "被代襲者";
    EXPECT_EQ(layout::家族調査_SUB(f, 1, heirs), 16);
    // The deceased keeps its place: the title goes back to 妻 and the family is classified.
    EXPECT_EQ(layout::家族調査_SUB(f, 4, heirs), 5); // husband 3 is an heir now
    EXPECT_EQ(f.妻肩書, "妻");
}

} // namespace
