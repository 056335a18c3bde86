// What the family forms say instead of doing nothing: the guidance lines of FORM2 and FORM6,
// each raised by the smallest case that causes it, and the reasons disabled controls give.
#include "tests/editing/family_fixture.h"

namespace {

using editing::EventCode;
using editing::kDetailGuidance;
using editing::kListGuidance;
using family_testing::FamilyFixture;

class Guidance : public FamilyFixture {
protected:
    Guidance() {
        taro = addPerson("山田", "太郎", 1);
        hanako = addPerson("山田", "花子", 2);
        ichiro = addPerson("山田", "一郎", 1);
        jiro = addPerson("山田", "二郎", 1);
        for (int c : {ichiro, jiro}) {
            person(c).実父NO = 9; // adding them asks nothing but the title
        }
    }
    std::string detail() { return ctl().text(kDetailGuidance); }
    std::string list() { return ctl().text(kListGuidance); }
    std::string why(const char* name) { return ctl()[name].whyDisabled; }
    // A confirmed couple with `children` of them added, untitled.
    void coupleWith(std::vector<int> children) {
        makeFamily(taro, hanako);
        for (int c : children) {
            addChild(c);
        }
        takeMessages();
    }
    int taro, hanako, ichiro, jiro;
};

TEST_F(Guidance, ConfirmingBeforeRegisteringSaysToRegisterFirst) {
    editor().dispatch(EventCode::BUTTON_A5A_ON);
    EXPECT_EQ(detail(), "夫か妻を選んで「リスト登録」を押してください");
    choosePartners(taro, hanako);
    editor().dispatch(EventCode::BUTTON_A13A_ON);
    EXPECT_EQ(detail(), "先に「リスト登録」を押してください");
    EXPECT_EQ(family(1).夫婦確定_f, 0);
    EXPECT_TRUE(dialogs.shown.empty());

    // Nobody chosen either.
    choosePartners(0, 0);
    editor().dispatch(EventCode::BUTTON_A13A_ON);
    EXPECT_EQ(detail(), "夫か妻を選んで「リスト登録」を押してください");
}

TEST_F(Guidance, AnUnconfirmedCoupleIsToldHowToReachItsChildren) {
    editor().dispatch(EventCode::BUTTON_A5A_ON);
    choosePartners(taro, hanako);
    editor().dispatch(EventCode::BUTTON_A6A_ON);
    EXPECT_EQ(detail(), "子供を追加するには「夫婦確定」を押してください");
    dialogs.answerYes();
    editor().dispatch(EventCode::BUTTON_A13A_ON);
    EXPECT_EQ(detail(), "子供は「子供の追加」で追加できます");
}

TEST_F(Guidance, ChoosingAChildSaysWhatToDoAndWhenNothingWasAdded) {
    coupleWith({});
    editor().dispatch(EventCode::BUTTON_A4A_ON_12);
    EXPECT_EQ(detail(), "候補から子供を一人選んで「登録決定」を押してください");
    EXPECT_EQ(why("BUTTON_A9A"), "子供の選択中は使えません（「登録決定」で選択を終えてください）");
    EXPECT_EQ(why("LIST_A3A"), "子供の選択中は使えません（「登録決定」で選択を終えてください）");
    EXPECT_EQ(why("CHECK_A1A"), "子供の選択中は変えられません");
    EXPECT_EQ(editor().historyBlocked(),
              "子供の選択中は使えません（「登録決定」で選択を終えてください）");
    editor().dispatch(EventCode::BUTTON_A4A_ON_11);
    EXPECT_EQ(detail(), "子供は追加していません（候補を選ばずに「登録決定」を押しました）");
    EXPECT_EQ(editor().historyBlocked(), "");
    EXPECT_TRUE(ctl().enabled("BUTTON_A9A"));
    EXPECT_EQ(why("BUTTON_A9A"), "");
}

TEST_F(Guidance, ChildOperationsNeedAChosenChild) {
    coupleWith({ichiro});
    for (const EventCode code :
         {EventCode::BUTTON_A10A_ON, EventCode::BUTTON_A11A_ON, EventCode::BUTTON_A12A_ON,
          EventCode::BUTTON_A20A_ON, EventCode::BUTTON_A18A_ON, EventCode::BUTTON_A19A_ON}) {
        editor().dispatch(code);
        EXPECT_EQ(detail(), "先に子供欄で子供を選んでください") << static_cast<int>(code);
    }
    ctl().check("CHECK_A5A");
    editor().dispatch(EventCode::CHECK_A5A_ON);
    EXPECT_EQ(detail(), "先に子供欄で子供を選んでください");
    EXPECT_FALSE(ctl().checked("CHECK_A5A"));
}

TEST_F(Guidance, MovingSaysWhereTheChildAlreadyIs) {
    coupleWith({ichiro});
    selectChild(1);
    editor().dispatch(EventCode::BUTTON_A12A_ON);
    EXPECT_EQ(detail(), "子供が二人以上いるときに並べ替えられます");
    editor().dispatch(EventCode::BUTTON_A10A_ON);
    EXPECT_EQ(detail(), "選択中の子供は一番上です");
    editor().dispatch(EventCode::BUTTON_A11A_ON);
    EXPECT_EQ(detail(), "選択中の子供は一番下です");
    // A move that acts clears the line.
    addChild(jiro);
    selectChild(2);
    editor().dispatch(EventCode::BUTTON_A10A_ON);
    EXPECT_EQ(detail(), "");
    EXPECT_EQ(family(1).child(1).子NO, jiro);
}

TEST_F(Guidance, TheFamilySearchSaysWhatItDidNotFind) {
    editor().dispatch(EventCode::BUTTON_A28A_ON);
    EXPECT_EQ(list(), "家族がまだ登録されていません");
    EXPECT_TRUE(dialogs.shown.empty()) << "no input box without families";

    makeFamily(taro, hanako);
    editor().dispatch(EventCode::BUTTON_A29A_ON);
    EXPECT_EQ(list(), "先に「名前で検索」で名を入力してください");
    dialogs.answerInput("三郎");
    dialogs.answerInput("太郎");
    editor().dispatch(EventCode::BUTTON_A28A_ON);
    EXPECT_EQ(list(), "名が「三郎」の夫か妻のいる家族は見つかりません");
    editor().dispatch(EventCode::BUTTON_A28A_ON);
    EXPECT_EQ(list(), "");
    editor().dispatch(EventCode::BUTTON_A29A_ON);
    EXPECT_EQ(list(), "これより後に、名が「太郎」の夫か妻のいる家族はありません");
}

TEST_F(Guidance, SavingSaysWhatItWrote) {
    editor().dispatch(EventCode::BUTTON_A7A_ON);
    EXPECT_EQ(list(), "保存する家族がまだありません");
    makeFamily(taro, hanako);
    editor().dispatch(EventCode::BUTTON_A7A_ON);
    EXPECT_EQ(list(), "家族のデータをファイルに保存しました");
}

TEST_F(Guidance, DisabledControlsSayWhy) {
    // A single father: the marriage form and the line of descent are fixed.
    makeFamily(taro, 0, false, /*confirm=*/false);
    editor().explainDisabledControls();
    EXPECT_EQ(why("CHECK_A1A"), "夫か妻の一人だけの家族は非婚姻関係です");
    EXPECT_EQ(why("RADIO_A7A"), "夫だけの家族の直系は父系です");
    EXPECT_EQ(why("COMBO_A1A"), "") << "enabled controls give no reason";

    // A confirmed, divorced married couple.
    makeFamily(ichiro, hanako);
    dialogs.answerYes();
    click("CHECK_A2A", true, &editing::FamilyEditor::divorceClicked);
    editor().explainDisabledControls();
    EXPECT_EQ(why("COMBO_A1A"), "夫婦確定の後は夫と妻を変えられません");
    EXPECT_EQ(why("CHECK_A1A"), "夫婦確定した婚姻は非婚姻関係に変えられません");
    EXPECT_EQ(why("CHECK_A2A"), "離婚の記録は取り消せません");

    // A single mother's line of descent.
    makeFamily(0, hanako, false, /*confirm=*/false);
    editor().explainDisabledControls();
    EXPECT_EQ(why("RADIO_A2A"), "妻だけの家族の直系は母系です");

    // The chart settings open.
    editor().setChartSettingsOpen(true);
    editor().explainDisabledControls();
    for (const char* b : {"BUTTON_A5A", "BUTTON_A9A", "BUTTON_A14A", "BUTTON_A21A"}) {
        EXPECT_FALSE(ctl().enabled(b)) << b;
        EXPECT_EQ(why(b), "作図設定の画面を開いている間は使えません") << b;
    }
    EXPECT_EQ(editor().historyBlocked(), "作図設定の画面を開いている間は使えません");
    EXPECT_EQ(why("COMBO_A2A"), "作図設定の画面を開いている間は変えられません");
    editor().setChartSettingsOpen(false);
    EXPECT_TRUE(ctl().enabled("BUTTON_A21A"));
    EXPECT_TRUE(ctl().enabled("BUTTON_A14A"));
}

TEST_F(Guidance, TheDetailsOfAChildSayWhyTheyAreFixed) {
    makeFamily(taro, hanako);
    addChild(ichiro); // adopted: a real father elsewhere
    takeMessages();
    selectChild(1);
    editor().explainDisabledControls();
    EXPECT_EQ(why("CHECK_A3A"), "養子縁組かどうかは、子供を追加したときに決まります");
    EXPECT_EQ(why("CHECK_A5A"), "この子はこの家族の子孫として描かれます");

    // An unmarried couple's child, acknowledged.
    const int yoko = addPerson("鈴木", "洋子", 2);
    const int saburo = addPerson("鈴木", "三郎", 1);
    makeFamily(jiro, yoko, /*nonMarriage=*/true);
    addChild(saburo);
    takeMessages();
    selectChild(1);
    dialogs.answerYes();
    click("CHECK_A4A", true, &editing::FamilyEditor::acknowledgeClicked);
    editor().explainDisabledControls();
    EXPECT_EQ(why("CHECK_A4A"), "認知は記録済みです");
}

} // namespace
