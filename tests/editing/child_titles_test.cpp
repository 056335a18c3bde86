// The title a child is offered when it is added, and the candidate list that keeps its rows.
#include "tests/editing/family_fixture.h"

#include "editing/child_titles.h"
#include "editing/family_lists.h"

namespace {

using editing::EventCode;
using family_testing::FamilyFixture;
using Strings = std::vector<std::string>;

TEST(KanjiNumber, AsTitlesCount) {
    const std::vector<std::pair<int, std::string>> cases = {
        {1, "一"},           {2, "二"},      {9, "九"},           {10, "十"},    {11, "十一"},
        {20, "二十"},        {23, "二十三"}, {100, "百"},         {101, "百一"}, {110, "百十"},
        {999, "九百九十九"}, {1000, "千"},   {2024, "二千二十四"}};
    for (const auto& [n, text] : cases) {
        EXPECT_EQ(editing::kanjiNumber(n), text) << n;
    }
}

// A confirmed couple (family 1) whose children are entered directly into its slots.
class ChildTitles : public FamilyFixture {
protected:
    ChildTitles() {
        core::家族 f;
        f.夫NO = static_cast<std::int16_t>(addPerson("山田", "太郎", 1));
        f.妻NO = static_cast<std::int16_t>(addPerson("山田", "花子", 2));
        f.夫婦確定_f = 1;
        data.reg.families.push_back(f);
    }
    // A child in the next slot of family 1; returns the slot.
    int child(int sex, const char* born = "", core::ChildKind kind = core::ChildKind::Birth) {
        const int n = addPerson("山田", "子", sex);
        person(n).生年月日 = born;
        core::Child c;
        c.子NO = static_cast<std::int16_t>(n);
        c.子の形態 = kind;
        family(1).子.push_back(c);
        return family(1).子数();
    }
    std::string title(int slot) { return editing::proposedChildTitle(data.reg, 1, slot).title; }
};

TEST_F(ChildTitles, SonsAndDaughtersCountApartInTheirOrder) {
    const int a = child(1);
    const int b = child(2);
    const int c = child(1);
    const int d = child(1);
    const int e = child(2);
    const int f = child(0); // no recorded sex counts as a son
    EXPECT_EQ(title(a), "長男");
    EXPECT_EQ(title(b), "長女");
    EXPECT_EQ(title(c), "二男");
    EXPECT_EQ(title(d), "三男");
    EXPECT_EQ(title(e), "二女");
    EXPECT_EQ(title(f), "四男");
    EXPECT_EQ(editing::proposedChildTitle(data.reg, 1, c).reason,
              "この家族の男の子の二番目なので「二男」を提案します。");
}

TEST_F(ChildTitles, AdoptedChildrenAreYoushiAndYoujoAndNotCounted) {
    const int adoptedSon = child(1, "", core::ChildKind::Adopted);
    const int adoptedDaughter = child(2, "", core::ChildKind::Adopted);
    const int son = child(1);
    const int acknowledged = child(1, "", core::ChildKind::Acknowledged);
    EXPECT_EQ(title(adoptedSon), "養子");
    EXPECT_EQ(title(adoptedDaughter), "養女");
    EXPECT_EQ(title(son), "長男");
    EXPECT_EQ(title(acknowledged), "二男");
    EXPECT_EQ(editing::proposedChildTitle(data.reg, 1, adoptedDaughter).reason,
              "養子縁組による子なので「養女」を提案します。");
}

TEST_F(ChildTitles, BirthDatesDecideWhereKnown) {
    const int late = child(1, "昭和５０年５月１日");
    const int unknown = child(1, "不詳");
    const int early = child(1, "昭和４５年１月３日");
    // The dated sons take the places of the dated ones by birth; the undated one keeps his.
    EXPECT_EQ(title(early), "長男");
    EXPECT_EQ(title(unknown), "二男");
    EXPECT_EQ(title(late), "三男");
    // Twins (one day) keep their slot order.
    const int twin = child(2, "平成元年１月８日");
    const int twin2 = child(2, "平成元年１月８日");
    EXPECT_EQ(title(twin), "長女");
    EXPECT_EQ(title(twin2), "二女");
}

// Adding children through the editor: the title box, and the candidate list.
class ChildAddition : public FamilyFixture {
protected:
    ChildAddition() {
        father = addPerson("山田", "太郎", 1);
        mother = addPerson("山田", "花子", 2);
        first = addPerson("山田", "一郎", 1);
        second = addPerson("山田", "二郎", 1);
        daughter = addPerson("山田", "春子", 2);
        for (int c : {first, second, daughter}) {
            person(c).実父NO = 9; // real parents elsewhere: adding asks nothing else
        }
        makeFamily(father, mother);
        takeMessages();
    }
    int father, mother, first, second, daughter;
};

TEST_F(ChildAddition, TheTitleOfferedIsConfirmedChangedOrLeft) {
    // Adopted sons (real parents elsewhere): the first proposal is 養子.
    addChild(first, "養子");
    ASSERT_EQ(dialogs.inputs(), Strings{"子の肩書 / 養子"});
    EXPECT_EQ(dialogs.shown.back().text,
              "山田一郎の肩書を確かめてください。\n養子縁組による子なので「養子」を提案します。"
              "\n（取消すと肩書なしで登録します）");
    EXPECT_EQ(family(1).child(1).子の肩書, "養子");
    EXPECT_EQ(ctl()["LIST_A2A"].items[0], "養子（男 3）山田一郎　");

    // Changed by the user: typed text is stored full width.
    addChild(second, "ｙｏｓｈｉ2");
    EXPECT_EQ(family(1).child(2).子の肩書, "ｙｏｓｈｉ２");

    // Cancelled: no title.
    addChild(daughter, std::nullopt);
    EXPECT_EQ(dialogs.inputs().back(), "子の肩書 / 養女");
    EXPECT_EQ(family(1).child(3).子の肩書, "");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(ChildAddition, ARealChildIsOfferedItsBirthOrder) {
    person(first).実父NO = 0;
    dialogs.answerYes(); // the couple as real parents
    addChild(first, "長男");
    EXPECT_EQ(dialogs.inputs(), Strings{"子の肩書 / 長男"});
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Birth);
}

TEST_F(ChildAddition, ARefusedOrCancelledChildIsOfferedNoTitle) {
    chooseChild(0);
    EXPECT_TRUE(dialogs.inputs().empty());
    EXPECT_EQ(family(1).子数(), 0);
}

TEST_F(ChildAddition, TheCandidateListKeepsItsRowsAfterAnAddition) {
    person(first).生年月日 = "昭和５０年１月１日";
    editor().childSelectionButton();
    const Strings before = ctl()["LIST_A4A"].items;
    ASSERT_EQ(before, (Strings{"キャンセル（子供を追加しない）",
                               "3 (男) 山田一郎　(生年月日 昭和５０年１月１日）",
                               "4 (男) 山田二郎　", "5 (女) 山田春子　"}));
    editor().chooseCandidate(1);
    dialogs.answerInput(std::nullopt);
    editor().childSelectionButton();

    editor().childSelectionButton();
    const auto& list = ctl()["LIST_A4A"];
    // The child added stays in its row, greyed and marked after its name: nothing below it
    // moves up.
    EXPECT_EQ(list.items,
              (Strings{"キャンセル（子供を追加しない）",
                       "3 (男) 山田一郎　（この家族の子）(生年月日 昭和５０年１月１日）",
                       "4 (男) 山田二郎　", "5 (女) 山田春子　"}));
    EXPECT_EQ(list.inactiveItems, std::vector<int>{1});
    EXPECT_EQ(list.current, -1);
    // It cannot be chosen again; the row below it is still the next person.
    editor().chooseCandidate(1);
    EXPECT_EQ(list.current, -1);
    editor().chooseCandidate(2);
    EXPECT_EQ(editor().candidates().personAt(list.current), second);
}

} // namespace
