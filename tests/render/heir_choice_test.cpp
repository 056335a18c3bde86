// "法定相続人を選ぶ": the entries of the heir list selected from the heirs the law gives, what
// refuses the choice, and the notices of heirs the list does not hold and of heirs that may be
// missing.
#include "render/heir_choice.h"

#include "render/legal_checks.h"

#include <gtest/gtest.h>

namespace {

core::Registers persons(int count) {
    core::Registers reg;
    const char* names[] = {"太郎", "花子", "一郎", "次郎", "三郎"};
    for (int n = 1; n <= count; ++n) {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
        p.姓 = "山田";
        p.名 = names[n - 1];
        reg.persons.push_back(p);
    }
    return reg;
}

core::HeirOutcome heirs(int deceased, std::vector<int> who) {
    core::HeirOutcome o;
    o.deceased = deceased;
    for (int p : who) {
        core::Heir h;
        h.person = p;
        o.heirs.push_back(h);
    }
    return o;
}

TEST(LegalHeirChoice, TheListedHeirsAreSelected) {
    const core::Registers reg = persons(5);
    const render::LegalHeirSelection choice =
        render::selectLegalHeirs(reg, heirs(1, {2, 4}), {2, 3, 4});
    EXPECT_FALSE(choice.refusal);
    EXPECT_EQ(choice.selected, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(choice.notices.empty());
}

TEST(LegalHeirChoice, HeirsOutsideTheListAndUnreadableDatesAreTold) {
    const core::Registers reg = persons(5);
    core::HeirOutcome o = heirs(1, {2, 4, 5});
    o.complete = false;
    const render::LegalHeirSelection choice = render::selectLegalHeirs(reg, o, {2, 3});
    EXPECT_EQ(choice.selected, (std::vector<bool>{true, false}));
    ASSERT_EQ(choice.notices.size(), 2u);
    EXPECT_EQ(
        choice.notices[0],
        (render::HeirChoiceMessage{"法定相続人", "次の相続人は非表示の家族にいるので選べません。\n"
                                                 "当事者NO.4 山田次郎\n当事者NO.5 山田三郎"}));
    EXPECT_EQ(choice.notices[1],
              (render::HeirChoiceMessage{"法定相続人",
                                         "日付が読めない人がいるため、相続人をすべては決められ"
                                         "ません。選ばれた人を確かめてください。"}));
}

TEST(LegalHeirChoice, NothingIsChosenWithoutADeceasedOrUnderTheOldLaw) {
    const core::Registers reg = persons(3);
    render::LegalHeirSelection choice = render::selectLegalHeirs(reg, heirs(0, {}), {2, 3});
    ASSERT_TRUE(choice.refusal);
    EXPECT_EQ(choice.refusal->title, "法定相続人を選べません");
    EXPECT_EQ(choice.refusal->text, std::string(render::kDeceasedUnknown) + "。");
    EXPECT_TRUE(choice.selected.empty());

    core::HeirOutcome old = heirs(1, {2});
    old.oldLaw = true;
    choice = render::selectLegalHeirs(reg, old, {2, 3});
    ASSERT_TRUE(choice.refusal);
    EXPECT_EQ(choice.refusal->text,
              "被相続人の死亡は旧民法の時代なので、相続人を自動では選べません。");
    EXPECT_TRUE(choice.selected.empty());
    EXPECT_TRUE(choice.notices.empty());
}

} // namespace
