#include "tests/editing/family_fixture.h"

#include "editing/child_editing.h"

namespace {

using editing::EventCode;
using editing::FamilyEditor;
using family_testing::FamilyFixture;
using Strings = std::vector<std::string>;

// A married couple (family 1, confirmed) and persons to add as children.
class ChildEditing : public FamilyFixture {
protected:
    ChildEditing() {
        father = addPerson("山田", "太郎", 1);
        mother = addPerson("山田", "花子", 2);
        son = addPerson("山田", "一郎", 1);
        daughter = addPerson("山田", "春子", 2);
        other = addPerson("佐藤", "三郎", 1);
    }
    int married() {
        const int f = makeFamily(father, mother);
        takeMessages();
        return f;
    }
    int unmarried() {
        const int f = makeFamily(father, mother, /*nonMarriage=*/true);
        takeMessages();
        return f;
    }
    int father, mother, son, daughter, other;
};

TEST_F(ChildEditing, MarriedCoupleBecomesTheRealParentsOnYes) {
    married();
    dialogs.answerYes();
    addChild(son);
    EXPECT_EQ(
        takeMessages(),
        Strings{"警告　実の両親が登録されていません / 父母を実の両親として登録してもいいですか"});
    ASSERT_EQ(family(1).子数(), 1);
    EXPECT_EQ(family(1).child(1).子NO, son);
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Birth);
    EXPECT_EQ(person(son).実父NO, father);
    EXPECT_EQ(person(son).実母NO, mother);
    EXPECT_EQ(person(son).父母家族NO, 1);
    EXPECT_EQ(person(son).子孫_F, 1);
    EXPECT_EQ(person(son).子孫_FL, 1);
    EXPECT_EQ(ctl()["LIST_A2A"].items, Strings{"（男 3）山田一郎　"});
    // A family with children cannot be deleted.
    EXPECT_FALSE(ctl().enabled("BUTTON_A14A"));
}

TEST_F(ChildEditing, MarriedCoupleAdoptsOnNo) {
    married();
    dialogs.answerNo();
    addChild(daughter);
    EXPECT_EQ(
        takeMessages(),
        (Strings{"警告　実の両親が登録されていません / 父母を実の両親として登録してもいいですか",
                 "注意 / 父母の養子として登録しました"}));
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Adopted);
    EXPECT_EQ(person(daughter).実父NO, 0);
    EXPECT_EQ(person(daughter).父母家族NO, 0);
    EXPECT_EQ(person(daughter).子孫_F, 1);
    EXPECT_EQ(ctl()["LIST_A2A"].items, Strings{"（女 4）山田春子　"});
}

TEST_F(ChildEditing, RealChildKeepsAnEarlierDescendantFamily) {
    makeFamily(other, 0); // family 1, a single father
    married();            // family 2
    person(son).子孫_F = 1;
    person(son).子孫_FL = 1;
    dialogs.answerYes();
    addChild(son);
    EXPECT_EQ(family(2).child(1).子NO, son);
    EXPECT_EQ(person(son).父母家族NO, 2);
    EXPECT_EQ(person(son).子孫_F, 1);
    EXPECT_EQ(person(son).子孫_FL, 1);
}

TEST_F(ChildEditing, ExistingRealParentsMakeAnAdoption) {
    married();
    person(son).実母NO = static_cast<std::int16_t>(mother);
    person(son).実父NO = static_cast<std::int16_t>(father);
    person(daughter).実父NO = static_cast<std::int16_t>(father);
    person(other).実母NO = 9;
    addChild(son);
    addChild(daughter);
    addChild(other);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].icon, common::Icon::Information);
    EXPECT_EQ(takeMessages(), (Strings{"注意　母親は実母です。 / 父の養子として登録しました",
                                       "注意　父親は実父です。 / 母の養子として登録しました",
                                       "注意　実の両親が別にいます。 / 養子として登録しました"}));
    ASSERT_EQ(family(1).子数(), 3);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(family(1).child(k).子の形態, core::ChildKind::Adopted);
    }
}

TEST_F(ChildEditing, UnmarriedCoupleChildAndItsAcknowledgment) {
    unmarried();
    person(son).実父NO = static_cast<std::int16_t>(other); // taken away: only the mother counts
    addChild(son);
    EXPECT_EQ(takeMessages(), Strings{"警告 / 二人は結婚していないので母親だけ実母になります"});
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Unacknowledged);
    EXPECT_EQ(person(son).実父NO, 0);
    EXPECT_EQ(person(son).実母NO, mother);
    EXPECT_EQ(person(son).父母家族NO, 1);

    selectChild(1);
    EXPECT_TRUE(ctl().visible("CHECK_A4A"));
    EXPECT_TRUE(ctl().enabled("CHECK_A4A"));
    EXPECT_FALSE(ctl().checked("CHECK_A4A"));
    EXPECT_FALSE(ctl().visible("EDIT_A11A"));
    EXPECT_FALSE(ctl().visible("CHECK_A3A"));

    dialogs.answerNo();
    click("CHECK_A4A", true, &FamilyEditor::acknowledgeClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A4A"));
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Unacknowledged);

    dialogs.answerYes();
    click("CHECK_A4A", true, &FamilyEditor::acknowledgeClicked);
    EXPECT_EQ(takeMessages(), (Strings{"認知確認 / 本当に父親はこの子を認知しましたか",
                                       "認知確認 / 本当に父親はこの子を認知しましたか"}));
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Acknowledged);
    EXPECT_EQ(person(son).実父NO, father);
    EXPECT_FALSE(ctl().enabled("CHECK_A4A"));
    EXPECT_TRUE(ctl().visible("EDIT_A11A"));
    ctl().setText("EDIT_A11A", "H1.1.8");
    editor().dispatch(EventCode::BUTTON_A19A_ON);
    EXPECT_EQ(family(1).child(1).認知日, "Ｈ１．１．８");

    // A child with a real mother cannot be taken in by an unmarried couple.
    person(daughter).実母NO = 9;
    chooseChild(daughter);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "警告　実母が存在しています");
    EXPECT_EQ(dialogs.shown[0].text, "結婚していない二人の養子にはなれません");
    EXPECT_EQ(dialogs.shown[0].icon, common::Icon::Stop);
    EXPECT_EQ(family(1).子数(), 1);
    EXPECT_EQ(person(daughter).子孫_F, 0);
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(ChildEditing, SingleParentsAdopt) {
    makeFamily(father, 0);
    person(son).実父NO = static_cast<std::int16_t>(father);
    takeMessages();
    chooseChild(son);
    EXPECT_EQ(takeMessages(), Strings{"警告　登録できません / 既に父親は実の父になっています"});
    EXPECT_EQ(family(1).子数(), 0);
    addChild(daughter);
    EXPECT_EQ(takeMessages(), Strings{"警告 / 親は独身なので、男性の養子になります"});
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Adopted);

    makeFamily(0, mother);
    person(other).実母NO = static_cast<std::int16_t>(mother);
    takeMessages();
    chooseChild(other);
    EXPECT_EQ(takeMessages(), Strings{"警告　登録できません / 既に母親は実の母になっています"});
    addChild(son);
    EXPECT_EQ(takeMessages(), Strings{"警告 / 親は独身なので、女性の養子になります"});
    EXPECT_EQ(family(2).child(1).子NO, son);
}

TEST_F(ChildEditing, CancelAddsNothingAndTheSelectionModeRestoresTheForm) {
    married();
    dialogs.answerYes();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    const bool nonMarriageEnabled = ctl().enabled("CHECK_A1A");
    const bool divorceEnabled = ctl().enabled("CHECK_A2A");
    const bool dateEnabled = ctl().enabled("EDIT_A9A");

    editor().dispatch(EventCode::BUTTON_A4A_ON_11);
    EXPECT_TRUE(editor().inChildSelection());
    EXPECT_EQ(ctl().text("BUTTON_A4A"), "登録決定");
    EXPECT_TRUE(ctl().visible("LIST_A4A"));
    EXPECT_TRUE(ctl().visible("TEXT32"));
    EXPECT_FALSE(ctl().enabled("LIST_A3A"));
    EXPECT_FALSE(ctl().enabled("LIST_A2A"));
    EXPECT_FALSE(ctl().enabled("BUTTON_A9A"));
    for (const char* c : {"BUTTON_A5A", "BUTTON_A7A", "BUTTON_A10A", "BUTTON_A11A", "BUTTON_A12A",
                          "BUTTON_A17A", "CHECK_A5A"}) {
        EXPECT_FALSE(ctl().visible(c)) << c;
    }
    for (const char* c : {"CHECK_A1A", "CHECK_A2A", "EDIT_A9A"}) {
        EXPECT_FALSE(ctl().enabled(c)) << c;
    }
    // Neither partner is offered; the entry that adds nobody comes first.
    EXPECT_EQ(ctl()["LIST_A4A"].items,
              (Strings{"キャンセル（子供を追加しない）", "3 (男) 山田一郎　", "4 (女) 山田春子　",
                       "5 (男) 佐藤三郎　"}));

    editor().chooseCandidate(0);
    editor().dispatch(EventCode::BUTTON_A4A_ON_12);
    EXPECT_FALSE(editor().inChildSelection());
    EXPECT_EQ(ctl().text("BUTTON_A4A"), "子供の追加");
    EXPECT_FALSE(ctl().visible("LIST_A4A"));
    EXPECT_TRUE(ctl().enabled("LIST_A3A"));
    EXPECT_TRUE(ctl().visible("BUTTON_A5A"));
    EXPECT_TRUE(ctl().visible("CHECK_A5A"));
    EXPECT_EQ(ctl().enabled("CHECK_A1A"), nonMarriageEnabled);
    EXPECT_EQ(ctl().enabled("CHECK_A2A"), divorceEnabled);
    EXPECT_EQ(ctl().enabled("EDIT_A9A"), dateEnabled);
    EXPECT_EQ(family(1).子数(), 0);
    EXPECT_EQ(takeMessages().size(), 1u); // only the divorce question
}

TEST_F(ChildEditing, CandidateLineShowsBirthDateAndAddressOrDomicile) {
    married();
    person(son).生年月日 = "平成２年";
    person(son).住所1 = "東京都";
    person(son).住所2 = "港区";
    person(daughter).本籍1 = "京都府";
    editor().childSelectionButton();
    EXPECT_EQ(ctl()["LIST_A4A"].items[1],
              "3 (男) 山田一郎　(生年月日 平成２年）（住所：東京都港区）");
    EXPECT_EQ(ctl()["LIST_A4A"].items[2], "4 (女) 山田春子　（本籍：京都府）");
}

TEST_F(ChildEditing, ChildrenStopAtTheCapacity) {
    data.env.一世帯当りの子供の最大数 = 1;
    married();
    person(other).実父NO = 9; // so that adding asks nothing
    addChild(other);
    takeMessages();
    editor().childSelectionButton();
    EXPECT_FALSE(editor().inChildSelection());
    const auto shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("一世帯当りの子供の最大数"), std::string::npos);
    EXPECT_NE(shown[0].find("KANKYO.TXT"), std::string::npos);
    EXPECT_EQ(family(1).子数(), 1);
}

TEST_F(ChildEditing, LinkedPersonWithRealParentsIsAdoptedAndMovesTheSourceFlag) {
    const int source = addPerson("山田", "一郎", 1);
    person(son).C_当事者NO = static_cast<std::int16_t>(source); // son is a link target
    person(source).実父NO = 9;
    married();
    addChild(son);
    EXPECT_EQ(
        takeMessages(),
        (Strings{
            "当事者リンクのメッセージ / 選択した山田一郎は、\n山田一郎のリンク先になっています",
            "警告 / "
            "山田一郎は、実の親がいる\n山田一郎のリンク先になっているので、\n養子縁組になります",
            "注意 / 父母の養子として登録しました",
            "子孫フラッグ強制変更メッセージ / "
            "選択中の山田一郎は、\n山田一郎と\nリンクしているので、\nリンク元の山田一郎の子孫フラッ"
            "グを変更します。"}));
    EXPECT_EQ(family(1).child(1).子の形態, core::ChildKind::Adopted);
    EXPECT_EQ(person(son).子孫_F, 1);
    EXPECT_EQ(person(source).子孫_F, 1);

    // Deleting it gives the source back its own line.
    person(source).子孫_FL = 7;
    selectChild(1);
    EXPECT_EQ(
        takeMessages(),
        Strings{"当事者リンクのメッセージ / 選択中の山田一郎は、\n山田一郎と\nリンクしています。"});
    // The flag box speaks for the source of the link.
    EXPECT_TRUE(ctl().checked("CHECK_A5A"));
    EXPECT_FALSE(ctl().enabled("CHECK_A5A"));
    dialogs.answerYes();
    editor().deleteChild();
    EXPECT_EQ(person(son).子孫_F, 0);
    EXPECT_EQ(person(son).子孫_FL, 0);
    EXPECT_EQ(person(source).子孫_F, 7);
}

TEST_F(ChildEditing, UnmarriedCoupleRefusesALinkedPersonWithRealParents) {
    const int target = addPerson("山田", "二郎", 1);
    person(target).C_当事者NO = static_cast<std::int16_t>(son); // son is a link source
    person(target).実母NO = 9;
    unmarried();
    chooseChild(son);
    const auto shown = takeMessages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1],
              "警告 / 山田一郎は、実の親がいる\n山田二郎のリンク元なので、\n養子縁組になります");
    EXPECT_EQ(shown[2], "警告 / 結婚していない二人の養子にはなれません");
    EXPECT_EQ(family(1).子数(), 0);
}

TEST_F(ChildEditing, SelectingAChildShowsItsDetails) {
    married();
    dialogs.answerNo();
    addChild(son); // adopted
    family(1).child(1).縁組日 = "Ｈ３";
    family(1).child(1).認知日 = "stale";
    selectChild(1);
    EXPECT_TRUE(ctl().visible("CHECK_A3A"));
    EXPECT_TRUE(ctl().checked("CHECK_A3A"));
    EXPECT_FALSE(ctl().enabled("CHECK_A3A"));
    EXPECT_TRUE(ctl().visible("EDIT_A10A"));
    EXPECT_EQ(ctl().text("EDIT_A10A"), "Ｈ３");
    EXPECT_FALSE(ctl().visible("CHECK_A4A"));
    EXPECT_TRUE(ctl().visible("BUTTON_A17A"));
    EXPECT_EQ(ctl()["COMBO_A3A"].items, (Strings{"長男", "二男", "子", "養子"}));
    // 子孫_F of the child names this family.
    EXPECT_TRUE(ctl().checked("CHECK_A5A"));

    ctl().setText("COMBO_A3A", "養子");
    editor().dispatch(EventCode::BUTTON_A20A_ON);
    EXPECT_EQ(family(1).child(1).子の肩書, "養子");
    EXPECT_EQ(ctl()["LIST_A2A"].items, Strings{"養子（男 3）山田一郎　"});
    EXPECT_EQ(editor().selectedChild(), 1);

    ctl().setText("EDIT_A10A", "H3.4.1");
    editor().storeAdoptionDate();
    EXPECT_EQ(family(1).child(1).縁組日, "Ｈ３．４．１");

    // Without a selected child the dates and the flag box do nothing.
    ctl()["LIST_A2A"].current = -1;
    ctl().setText("EDIT_A10A", "X");
    editor().storeAdoptionDate();
    EXPECT_EQ(family(1).child(1).縁組日, "Ｈ３．４．１");
    click("CHECK_A5A", true, &FamilyEditor::descendantFlagClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A5A"));
}

TEST_F(ChildEditing, DescendantFlagBox) {
    makeFamily(other, 0);
    married(); // family 2
    person(son).実父NO = 9;
    addChild(son);
    person(son).子孫_F = 1;
    person(son).子孫_FL = 1;
    selectChild(1);
    EXPECT_FALSE(ctl().checked("CHECK_A5A"));
    EXPECT_TRUE(ctl().enabled("CHECK_A5A"));
    click("CHECK_A5A", true, &FamilyEditor::descendantFlagClicked);
    EXPECT_EQ(person(son).子孫_F, 2);
    EXPECT_EQ(person(son).子孫_FL, 2);
    EXPECT_FALSE(ctl().enabled("CHECK_A5A"));
}

class ChildOrder : public ChildEditing {
protected:
    void fiveChildren() {
        married();
        for (int i = 0; i < 5; ++i) {
            const int c = addPerson("山田", ("子" + std::to_string(i + 1)).c_str(), 1);
            person(c).実父NO = 9;
            numbers.push_back(c);
            addChild(c);
        }
        takeMessages();
    }
    std::vector<int> order() {
        std::vector<int> out;
        for (const auto& c : family(1).子) {
            out.push_back(c.子NO);
        }
        return out;
    }
    std::vector<int> numbers;
};

TEST_F(ChildOrder, ReversingFiveChildren) {
    fiveChildren();
    family(1).child(3).子の肩書 = "三男";
    selectChild(2);
    editor().dispatch(EventCode::BUTTON_A12A_ON);
    const auto& n = numbers;
    EXPECT_EQ(order(), (std::vector<int>{n[4], n[3], n[2], n[1], n[0]}));
    EXPECT_EQ(family(1).child(3).子の肩書, "三男");
    EXPECT_EQ(editor().selectedChild(), 0);
    // Nothing is reversed without a selected child.
    editor().reverseChildren();
    EXPECT_EQ(order(), (std::vector<int>{n[4], n[3], n[2], n[1], n[0]}));
}

TEST_F(ChildOrder, MovedChildStaysSelected) {
    fiveChildren();
    const auto& n = numbers;
    family(1).child(4).縁組日 = "Ｄ";
    selectChild(4);
    editor().dispatch(EventCode::BUTTON_A10A_ON);
    editor().dispatch(EventCode::BUTTON_A10A_ON);
    EXPECT_EQ(order(), (std::vector<int>{n[0], n[3], n[1], n[2], n[4]}));
    EXPECT_EQ(editor().selectedChild(), 2);
    EXPECT_EQ(family(1).child(2).縁組日, "Ｄ"); // every field of the slot moves
    EXPECT_TRUE(ctl().visible("BUTTON_A17A"));
    editor().moveChildUp();
    editor().moveChildUp(); // already at the top
    EXPECT_EQ(order(), (std::vector<int>{n[3], n[0], n[1], n[2], n[4]}));
    selectChild(5);
    editor().dispatch(EventCode::BUTTON_A11A_ON); // already at the bottom
    EXPECT_EQ(order(), (std::vector<int>{n[3], n[0], n[1], n[2], n[4]}));
    selectChild(3);
    editor().moveChildDown();
    EXPECT_EQ(order(), (std::vector<int>{n[3], n[0], n[2], n[1], n[4]}));
}

TEST_F(ChildEditing, DeletingRealAndAdoptedChildren) {
    married();
    dialogs.answerYes();
    addChild(son); // real child
    dialogs.answerNo();
    addChild(daughter);          // adopted
    person(daughter).実母NO = 9; // a real mother elsewhere stays
    takeMessages();

    // No answered: nothing changes.
    selectChild(1);
    dialogs.answerNo();
    editor().deleteChild();
    EXPECT_EQ(takeMessages(), (Strings{"確認 / 削除する子供の親は、実の親です",
                                       "削除確認 / 本当にこの子を削除してもいいのですか"}));
    EXPECT_EQ(family(1).子数(), 2);

    dialogs.answerYes();
    editor().dispatch(EventCode::BUTTON_A17A_ON);
    ASSERT_EQ(family(1).子数(), 1);
    EXPECT_EQ(family(1).child(1).子NO, daughter);
    EXPECT_EQ(person(son).実父NO, 0);
    EXPECT_EQ(person(son).実母NO, 0);
    EXPECT_EQ(person(son).父母家族NO, 0);
    EXPECT_EQ(person(son).子孫_F, 0);
    EXPECT_EQ(person(son).子孫_FL, 0);
    // The family delete button returns only with the last child gone.
    EXPECT_FALSE(ctl().enabled("BUTTON_A14A"));
    EXPECT_FALSE(ctl().visible("BUTTON_A17A"));

    takeMessages();
    selectChild(1);
    dialogs.answerYes();
    editor().deleteChild();
    EXPECT_EQ(takeMessages(), Strings{"削除確認 / 本当にこの子を削除してもいいのですか"});
    EXPECT_EQ(family(1).子数(), 0);
    EXPECT_EQ(person(daughter).実母NO, 9);
    EXPECT_TRUE(ctl().enabled("BUTTON_A14A"));
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST(DescendantFlagRepair, FlagsMoveToAnotherFamilyOrTheOwnLine) {
    core::Registers reg;
    for (int i = 1; i <= 3; ++i) {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(i);
        reg.persons.push_back(p);
    }
    reg.families.resize(3);
    core::Child c;
    c.子NO = 1;
    reg.family(3).子.push_back(c); // person 1 is still a child of family 3

    auto& p = reg.person(1);
    p.子孫_F = 2;
    p.子孫_FL = 2;
    editing::repairDescendantFlags(reg, 1, 2);
    EXPECT_EQ(p.子孫_F, 3);
    EXPECT_EQ(p.子孫_FL, 3);

    p.子孫_F = 2;
    p.子孫_FL = 1;
    editing::repairDescendantFlags(reg, 1, 2);
    EXPECT_EQ(p.子孫_F, 1);
    EXPECT_EQ(p.子孫_FL, 1);

    p.子孫_F = 3;
    p.子孫_FL = 2;
    editing::repairDescendantFlags(reg, 1, 2);
    EXPECT_EQ(p.子孫_FL, 3);

    p.子孫_F = 1;
    p.子孫_FL = 2;
    editing::repairDescendantFlags(reg, 1, 2);
    EXPECT_EQ(p.子孫_F, 1);
    EXPECT_EQ(p.子孫_FL, 3);

    // A source drawn through the family falls back on the first line of its targets.
    reg.person(2).C_当事者NO = 3;
    reg.person(3).子孫_F = 2;
    reg.person(2).子孫_F = 0;
    reg.person(2).子孫_FL = 0;
    reg.person(1).C_当事者NO = 3;
    reg.person(1).子孫_FL = 1;
    editing::repairLinkedSource(reg, 2, 3, 2);
    EXPECT_EQ(reg.person(3).子孫_F, 1);
}

} // namespace
