// The undo history of the registers: steps taken around operations, undo and redo back to the
// registers as they were loaded, steps kept open over the person form, and the limits.
#include "tests/editing/family_fixture.h"

#include "editing/person_editing.h"
#include "editing/register_history.h"

namespace {

using editing::EventCode;
using editing::RegisterHistory;
using family_testing::FamilyFixture;

// The family editor with a history wrapped around each of its operations, as the program
// wraps every operation of its event table.
class History : public FamilyFixture {
protected:
    History() {
        father = addPerson("山田", "太郎", 1);
        mother = addPerson("山田", "花子", 2);
        son = addPerson("山田", "一郎", 1);
        other = addPerson("佐藤", "次郎", 1);
        wife = addPerson("佐藤", "春子", 2);
        // A confirmed couple, as loaded from the files.
        core::家族 f;
        f.婚姻NO = 1;
        f.夫NO = static_cast<std::int16_t>(father);
        f.妻NO = static_cast<std::int16_t>(mother);
        f.夫婦確定_f = 1;
        f.夫肩書 = "夫";
        f.妻肩書 = "妻";
        data.reg.families.push_back(f);
        data.settings.リスト３ = 1;
    }

    void run(EventCode code) {
        history.begin(data.reg, code);
        editor().dispatch(code);
        history.end(data.reg);
    }

    // The person form on person n from "リスト中の当事者を編集" to "リスト登録": one step.
    void editPerson(int n, const char* address) {
        history.begin(data.reg, EventCode::BUTTON34_ON);
        auto session = editing::beginEdit(data.reg, n);
        history.end(data.reg, /*keepOpen=*/true);
        editing::TypedPerson t;
        t.姓 = person(n).姓;
        t.名 = person(n).名;
        t.住所1 = address;
        t.創始階層 = "0";
        t.female = person(n).isFemale();
        history.begin(data.reg, EventCode::BUTTON_A2A_ON);
        editing::commitPerson(data.reg, session, t, dialogs);
        history.end(data.reg);
    }

    RegisterHistory history;
    int father, mother, son, other, wife;
};

TEST_F(History, UndoAndRedoReturnExactlyAcrossEditsFamiliesChildrenAndDeletions) {
    editor();
    const core::Registers loaded = data.reg;

    editPerson(son, "東京都");
    run(EventCode::BUTTON_A5A_ON); // a new family: family 2
    choosePartners(other, wife);
    run(EventCode::BUTTON_A6A_ON);
    const core::Registers withSecondFamily = data.reg;

    ctl()["LIST_A3A"].current = 0;
    run(EventCode::LIST_A3A_CLICK); // choosing makes no step
    dialogs.answerYes();            // the couple as the son's real parents
    dialogs.answerInput("長男");    // the title offered
    run(EventCode::BUTTON_A4A_ON_12);
    editor().chooseCandidate(editor().candidates().entryOf(son));
    run(EventCode::BUTTON_A4A_ON_11);
    ASSERT_EQ(family(1).子数(), 1);

    ctl()["LIST_A3A"].current = 1;
    run(EventCode::LIST_A3A_CLICK);
    run(EventCode::BUTTON_A14A_ON); // family 2 deleted
    ASSERT_EQ(data.reg.familyCount(), 1);
    const core::Registers last = data.reg;

    EXPECT_EQ(history.undoSteps(), 5u);
    EXPECT_EQ(history.undoName(), "家族の削除");
    // Every step back, and the registers are those loaded, field for field.
    const std::vector<std::string> names = {"家族の削除", "子供の追加", "家族のリスト登録",
                                            "家族の新規追加", "当事者の編集"};
    for (const auto& name : names) {
        EXPECT_EQ(history.undoName(), name);
        ASSERT_TRUE(history.undo(data.reg));
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(data.reg));
    EXPECT_EQ(data.reg, loaded);

    // And forward again to the end.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(history.redo(data.reg));
    }
    EXPECT_EQ(data.reg, withSecondFamily);
    while (history.canRedo()) {
        history.redo(data.reg);
    }
    EXPECT_EQ(data.reg, last);
    EXPECT_EQ(person(son).住所1, "東京都");
    EXPECT_EQ(family(1).child(1).子の肩書, "長男");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(History, ChoosingSearchingAndSavingMakeNoStep) {
    editor();
    for (const EventCode code : {EventCode::LIST_A3A_CLICK, EventCode::BUTTON_A7A_ON,
                                 EventCode::LIST_A2A_CLICK, EventCode::BUTTON_A8A_ON}) {
        history.begin(data.reg, code);
        EXPECT_FALSE(history.stepOpen()) << static_cast<int>(code);
        history.end(data.reg);
    }
    run(EventCode::BUTTON_A7A_ON); // saved: the history stays as it was
    EXPECT_FALSE(history.canUndo());
    // An operation that changes nothing makes no step either.
    run(EventCode::CHECK44_ON);
    EXPECT_FALSE(history.canUndo());
    ctl().check("CHECK44");
    run(EventCode::CHECK44_ON);
    EXPECT_EQ(history.undoName(), "家族の表示設定");
}

TEST_F(History, ANewChangeDropsWhatCouldBeRedone) {
    editor();
    ctl().check("CHECK44");
    run(EventCode::CHECK44_ON);
    ASSERT_TRUE(history.undo(data.reg));
    EXPECT_TRUE(history.canRedo());
    EXPECT_EQ(history.redoName(), "家族の表示設定");
    ctl().check("CHECK50");
    run(EventCode::CHECK50_ON);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoSteps(), 1u);
}

TEST_F(History, AnOpenStepIsNeitherUndoneNorRedone) {
    const core::Registers loaded = data.reg;
    history.begin(data.reg, EventCode::BUTTON_A1A_ON);
    data.reg.persons.push_back(core::当事者{});
    history.end(data.reg, /*keepOpen=*/true);
    EXPECT_TRUE(history.stepOpen());
    EXPECT_FALSE(history.undo(data.reg));
    // The next operation closes it: one step from before the first operation.
    history.begin(data.reg, EventCode::BUTTON_A2A_ON);
    data.reg.person(6).名 = "新";
    history.end(data.reg);
    EXPECT_EQ(history.undoName(), "当事者の追加");
    ASSERT_TRUE(history.undo(data.reg));
    EXPECT_EQ(data.reg, loaded);
}

TEST(HistoryLimits, TheOldestStepsGoButTheNewestStays) {
    RegisterHistory history({/*steps=*/3, /*bytes=*/1u << 30});
    core::Registers reg;
    for (int i = 0; i < 5; ++i) {
        history.begin(reg, EventCode::BUTTON_A1A_ON);
        reg.persons.push_back(core::当事者{});
        history.end(reg);
    }
    EXPECT_EQ(history.undoSteps(), 3u);
    while (history.undo(reg)) {
    }
    EXPECT_EQ(reg.personCount(), 2);

    // A memory limit below one copy still keeps the last step.
    RegisterHistory small({100, 1});
    core::Registers big;
    big.persons.resize(1000);
    for (int i = 0; i < 3; ++i) {
        small.begin(big, EventCode::BUTTON_A1A_ON);
        big.persons.front().住所1 = std::string(100, 'x') + std::to_string(i);
        small.end(big);
    }
    EXPECT_EQ(small.undoSteps(), 1u);
    EXPECT_GT(editing::registerBytes(big), 1000 * sizeof(core::当事者));
}

TEST(HistoryView, TheButtonsSayWhatTheyTakeBackOrWhyNot) {
    RegisterHistory history;
    auto view = editing::undoView(history);
    EXPECT_FALSE(view.undoEnabled);
    EXPECT_FALSE(view.redoEnabled);
    EXPECT_EQ(view.undoTip, "元に戻せる変更はありません");
    EXPECT_EQ(view.redoTip, "やり直せる変更はありません");

    core::Registers reg;
    history.begin(reg, EventCode::BUTTON_A14A_ON);
    reg.families.resize(1);
    history.end(reg);
    view = editing::undoView(history);
    EXPECT_TRUE(view.undoEnabled);
    EXPECT_EQ(view.undoTip, "「家族の削除」を元に戻します（Ctrl+Z）");
    history.undo(reg);
    view = editing::undoView(history);
    EXPECT_EQ(view.redoTip, "「家族の削除」をやり直します（Ctrl+Y）");

    view = editing::undoView(history, "子供の選択中は使えません");
    EXPECT_FALSE(view.redoEnabled);
    EXPECT_EQ(view.redoTip, "子供の選択中は使えません");
}

TEST(HistoryView, EveryChangingCodeHasAName) {
    EXPECT_EQ(editing::changeName(EventCode::BUTTON_A17A_ON), "子の削除");
    EXPECT_EQ(editing::changeName(EventCode::RADIO_A7A_ON), "直系の接続");
    EXPECT_EQ(editing::changeName(EventCode::BUTTON_A22A_ON), "直系の接続（作図の中心）");
    EXPECT_FALSE(editing::changeName(EventCode::LIST_A1A_CLICK));
    EXPECT_FALSE(editing::changeName(EventCode::BUTTON_A28A_ON));
}

} // namespace
