#include "editing/names.h"
#include "editing/person_links.h"

#include <gtest/gtest.h>

namespace {

core::当事者 person(const char* sei, const char* mei, int order = 0) {
    core::当事者 p;
    p.姓 = sei;
    p.名 = mei;
    p.姓名順 = static_cast<std::int16_t>(order);
    return p;
}

TEST(JoinedName, OrdersAndSeparators) {
    EXPECT_EQ(editing::氏名結合_SUB(person("スミス", "ジョン")), "スミス・ジョン");
    EXPECT_EQ(editing::氏名結合_SUB(person("山田", "太郎")), "山田太郎");
    EXPECT_EQ(editing::氏名結合_SUB(person("ルーカー", "アン")), "ルーカー・アン");
    // Given name first: always the separator when both parts are present.
    EXPECT_EQ(editing::氏名結合_SUB(person("山田", "太郎", 1)), "太郎・山田");
    // Only a surname, in both orders.
    EXPECT_EQ(editing::氏名結合_SUB(person("山田", "", 0)), "山田");
    EXPECT_EQ(editing::氏名結合_SUB(person("山田", "", 1)), "山田");
    EXPECT_EQ(editing::displayName(person("", "")), "氏名不詳");
}

// Persons 1..n, each its own link source, without parents.
core::Registers persons(int n) {
    core::Registers reg;
    for (int i = 1; i <= n; ++i) {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(i);
        reg.persons.push_back(p);
    }
    return reg;
}

void link(core::Registers& reg, int target, int source) {
    reg.person(target).C_当事者NO = static_cast<std::int16_t>(source);
}

void parents(core::Registers& reg, int person) {
    reg.person(person).実父NO = 9;
}

TEST(LinkSearches, Sub1FindsSourceOrFirstTarget) {
    auto reg = persons(9);
    link(reg, 3, 1);
    link(reg, 5, 1);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 5).result, editing::LinkRole::Target);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 5).person, 1);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 5).partner, 5);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 1).result, editing::LinkRole::Source);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 1).partner, 3);
    EXPECT_EQ(editing::当事者リンク検索_SUB1(reg, 2).result, editing::LinkRole::None);
}

TEST(LinkSearches, Sub3BeforeAddingAChild) {
    auto reg = persons(9);
    link(reg, 3, 1);
    link(reg, 5, 1);
    EXPECT_EQ(editing::当事者リンク検索_SUB3(reg, 1).result, editing::LinkedParents::None);
    parents(reg, 5);
    auto r = editing::当事者リンク検索_SUB3(reg, 1);
    EXPECT_EQ(r.result, editing::LinkedParents::OfTarget);
    EXPECT_EQ(r.person, 5);
    // Target 3: another target (5) of its source has real parents.
    r = editing::当事者リンク検索_SUB3(reg, 3);
    EXPECT_EQ(r.result, editing::LinkedParents::OfOtherTarget);
    EXPECT_EQ(r.person, 5);
    EXPECT_EQ(r.partner, 1);
    // Target 5 itself: the other target 3 has none, the source neither.
    EXPECT_EQ(editing::当事者リンク検索_SUB3(reg, 5).result, editing::LinkedParents::None);
    parents(reg, 1);
    r = editing::当事者リンク検索_SUB3(reg, 3);
    EXPECT_EQ(r.result, editing::LinkedParents::OfSource);
    EXPECT_EQ(r.partner, 1);
}

TEST(LinkSearches, Sub2BeforeLinking) {
    auto reg = persons(9);
    link(reg, 3, 1);
    // a without real parents choosing a target: replaced by its source, result 0.
    auto c = editing::当事者リンク検索_SUB2(reg, 4, 3);
    EXPECT_EQ(c.result, editing::LinkConflict::None);
    EXPECT_EQ(c.b, 1);
    EXPECT_EQ(c.chosen, 3);
    parents(reg, 4);
    EXPECT_EQ(editing::当事者リンク検索_SUB2(reg, 4, 1).result, editing::LinkConflict::None);
    // Another target of b has real parents.
    parents(reg, 3);
    c = editing::当事者リンク検索_SUB2(reg, 4, 1);
    EXPECT_EQ(c.result, editing::LinkConflict::TargetOfChosenHasParents);
    EXPECT_EQ(c.a, 3);
    // b itself has real parents.
    parents(reg, 6);
    EXPECT_EQ(editing::当事者リンク検索_SUB2(reg, 4, 6).result,
              editing::LinkConflict::ChosenHasParents);
    // Chosen b is a target whose source has real parents.
    auto reg2 = persons(9);
    link(reg2, 3, 1);
    parents(reg2, 1);
    parents(reg2, 4);
    c = editing::当事者リンク検索_SUB2(reg2, 4, 3);
    EXPECT_EQ(c.result, editing::LinkConflict::SourceHasParents);
    EXPECT_EQ(c.b, 1);
    // ... or another target of that source has them.
    auto reg3 = persons(9);
    link(reg3, 3, 1);
    link(reg3, 7, 1);
    parents(reg3, 7);
    parents(reg3, 4);
    c = editing::当事者リンク検索_SUB2(reg3, 4, 3);
    EXPECT_EQ(c.result, editing::LinkConflict::TargetOfSourceHasParents);
    EXPECT_EQ(c.a, 7);
    EXPECT_EQ(c.chosen, 3);
}

} // namespace
