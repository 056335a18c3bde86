// The date checks of the person form's commit: dates that are not real 和暦 dates and a death
// before the birth are asked about, and kept when the user says so.
#include "editing/person_dates.h"
#include "editing/person_editing.h"

#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

Strings doubts(const char* birth, const char* death) {
    return editing::dateDoubts("", "", birth, death);
}

TEST(DateDoubts, DatesThatAreNoRealDatesAreNamedWithTheReason) {
    EXPECT_EQ(
        doubts("昭和３１年１３月１日", ""),
        Strings{"生年月日「昭和３１年１３月１日」は日付として読めません（１３月はありません）。"
                "\nこのまま登録しますか？"});
    // An era year beyond the era.
    EXPECT_EQ(doubts("", "昭和９９年１月１日"),
              Strings{"死亡年月日「昭和９９年１月１日」は日付として読めません（昭和９９年１月１日は"
                      "昭和の終わりより後です（昭和６４年１月７日が最後の日、この日は令和"
                      "６年１月１日））。\nこのまま登録しますか？"});
    EXPECT_EQ(doubts("不詳", "").size(), 1u);
    EXPECT_EQ(doubts("昭和９９年１３月４０日", "abc").size(), 2u);
}

TEST(DateDoubts, GannenIsTheFirstYearOfItsEra) {
    EXPECT_TRUE(doubts("平成元年１月８日", "令和元年５月１日").empty());
    // The first year begins on the era's first day, not before.
    const auto early = doubts("平成元年１月７日", "");
    ASSERT_EQ(early.size(), 1u);
    EXPECT_NE(early[0].find("平成より前です"), std::string::npos);
}

TEST(DateDoubts, ADeathBeforeTheBirthIsNamed) {
    EXPECT_EQ(doubts("昭和５０年１月１日", "昭和４９年１２月３１日"),
              Strings{"死亡年月日「昭和４９年１２月３１日」が生年月日「昭和５０年１月１日」より前に"
                      "なっています。\nこのまま登録しますか？"});
    // On the day of the birth is no doubt.
    EXPECT_TRUE(doubts("昭和５０年１月１日", "昭和５０年１月１日").empty());
}

TEST(DateDoubts, EmptyAndUnchangedDatesAskNothing) {
    EXPECT_TRUE(doubts("", "").empty());
    EXPECT_TRUE(editing::dateDoubts("不詳", "", "不詳", "").empty());
    // A changed death asks again about the order with the birth as stored.
    EXPECT_EQ(
        editing::dateDoubts("昭和５０年１月１日", "", "昭和５０年１月１日", "昭和４０年１月１日")
            .size(),
        1u);
}

// The commit asks, keeps on Yes, and stores nothing on No.
class DateCommit : public ::testing::Test {
protected:
    DateCommit() {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = 1;
        p.姓 = "山田";
        p.名 = "太郎";
        reg.persons.push_back(p);
    }
    editing::CommitOutcome commit(const char* birth, const char* death) {
        editing::TypedPerson t;
        t.姓 = "山田";
        t.名 = "太郎";
        t.生年月日 = birth;
        t.死亡年月日 = death;
        t.創始階層 = "0";
        return editing::commitPerson(reg, editing::beginEdit(reg, 1), t, dialogs);
    }
    core::Registers reg;
    testing_support::ScriptedDialogs dialogs;
};

TEST_F(DateCommit, FuShouIsKeptWhenTheUserSaysSo) {
    dialogs.answerYes();
    EXPECT_EQ(commit("不詳", ""), editing::CommitOutcome::Accepted);
    EXPECT_EQ(reg.person(1).生年月日, "不詳");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "日付の確認");
    EXPECT_EQ(dialogs.shown[0].icon, common::Icon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, common::Buttons::YesNo);
    // Stored as it is, it asks nothing the next time.
    EXPECT_EQ(commit("不詳", ""), editing::CommitOutcome::Accepted);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(DateCommit, NoStoresNothingAndLeavesTheFormOpen) {
    const auto before = reg.persons;
    dialogs.answerNo();
    EXPECT_EQ(commit("昭和３１年２月３０日", ""), editing::CommitOutcome::NotStored);
    EXPECT_EQ(reg.persons, before);
    // A death before the birth, not kept.
    dialogs.answerNo();
    EXPECT_EQ(commit("昭和５０年１月１日", "昭和４９年１月１日"),
              editing::CommitOutcome::NotStored);
    EXPECT_EQ(reg.persons, before);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    // A date that cannot be read cannot be ordered either: one question only.
    dialogs.answerYes();
    EXPECT_EQ(commit("abc", "昭和元年１２月２５日"), editing::CommitOutcome::Accepted);
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(reg.person(1).生年月日, "ａｂｃ");
    EXPECT_TRUE(dialogs.scriptUsedUp());
    // Nothing is changed in a date that is kept: full width only, as every text.
    dialogs.answerYes();
    EXPECT_EQ(commit("S31.2.3", ""), editing::CommitOutcome::Accepted);
    EXPECT_EQ(reg.person(1).生年月日, "Ｓ３１．２．３");
}

} // namespace
