#include "tests/editing/family_fixture.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "core/family_register.h"

#include <algorithm>
#include <filesystem>

namespace {

using editing::EventCode;
using editing::FamilyEditor;
using family_testing::FamilyFixture;
using Strings = std::vector<std::string>;

class FamilyEditing : public FamilyFixture {
protected:
    FamilyEditing() {
        taro = addPerson("山田", "太郎", 1);
        hanako = addPerson("山田", "花子", 2);
        jiro = addPerson("鈴木", "次郎", 1);
        yoko = addPerson("鈴木", "洋子", 2);
        person(yoko).生年月日 = "昭和１０年１月１日";
    }
    int taro, hanako, jiro, yoko;
};

TEST_F(FamilyEditing, NewFamilyListsAndChoices) {
    editor().newFamily();
    ASSERT_EQ(data.reg.familyCount(), 1);
    EXPECT_EQ(editor().currentFamily(), 1);
    EXPECT_EQ(family(1).夫肩書, "夫");
    EXPECT_EQ(family(1).妻肩書, "妻");
    EXPECT_EQ(family(1).婚姻NO, 1);
    EXPECT_TRUE(ctl().visible("FORM6"));
    EXPECT_EQ(ctl()["LIST_A3A"].items, Strings{"1 : (0) 登録未設定　＝　(0) 登録未設定"});
    // A family with neither partner keeps "作図開始" disabled, and says why.
    EXPECT_TRUE(ctl().visible("BUTTON_A21A"));
    EXPECT_FALSE(ctl().enabled("BUTTON_A21A"));
    EXPECT_EQ(ctl()["BUTTON_A21A"].whyDisabled,
              "夫も妻も登録されていない家族（1番）があるので作図できません");
    EXPECT_TRUE(dialogs.messages().empty());

    choosePartners(taro, yoko);
    editor().registerFamily();
    EXPECT_EQ(ctl()["LIST_A3A"].items, Strings{"1 : (1) 山田太郎　＝　(4) 鈴木洋子"});
    EXPECT_EQ(ctl()["LIST_A3A"].current, 0);
    EXPECT_TRUE(ctl().enabled("BUTTON_A21A"));
    // The person choices mark the partners of a family with "♪".
    EXPECT_EQ(ctl()["COMBO_A1A"].items,
              (Strings{"◎0 登録未設定　", "♪1 山田太郎　", "◎3 鈴木次郎　"}));
    EXPECT_EQ(ctl()["COMBO_A2A"].items, (Strings{"◎0 登録未設定　", "◎2 山田花子　",
                                                 "♪4 鈴木洋子　（昭和１０年１月１日生）"}));
    // The base family is offered with the couple's names; its place is its number.
    EXPECT_EQ(ctl()["COMBO_A5A"].items,
              (Strings{"0 : 指定なし（選択中の家族）", "1 : 山田太郎　＝　鈴木洋子"}));
    EXPECT_EQ(ctl()["COMBO6"].items, Strings{"夫"});
    EXPECT_EQ(ctl()["COMBO7"].items.size(), 6u);
}

TEST_F(FamilyEditing, NewFamilyIsRefusedAtTheCapacity) {
    data.env.最大婚姻数 = 1;
    makeFamily(taro, hanako);
    takeMessages();
    editor().newFamily();
    const auto shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("最大婚姻数"), std::string::npos);
    EXPECT_NE(shown[0].find("KANKYO.TXT"), std::string::npos);
    EXPECT_EQ(data.reg.familyCount(), 1);
    EXPECT_EQ(editor().currentFamily(), 1);
    EXPECT_EQ(family(1).夫NO, taro);
}

TEST_F(FamilyEditing, SinglePersonFamiliesAreNotRegisteredTwice) {
    editor().newFamily();
    choosePartners(0, hanako);
    editor().registerFamily();
    // The single-person warning comes once, and the line of descent is locked to her side.
    EXPECT_EQ(takeMessages(),
              Strings{"独身警告 / 選択中の婚姻関係は、独身とみなして、非婚姻関係になります"});
    EXPECT_EQ(family(1).形態L3, core::UnionForm::NonMarital);
    EXPECT_TRUE(ctl().checked("CHECK_A1A"));
    EXPECT_FALSE(ctl().enabled("CHECK_A1A"));
    EXPECT_TRUE(ctl().checked("RADIO_A7A"));
    EXPECT_FALSE(ctl().enabled("RADIO_A1A"));
    EXPECT_EQ(family(1).系統_F, core::Lineage::Maternal);

    // The same family registered again finds itself.
    editor().registerFamily();
    EXPECT_EQ(takeMessages(), Strings{"独身家族構成の重複エラー / １番目に既に登録済です。"});

    // A second family for her alone is refused; nothing is stored.
    dialogs.answerNo(); // "新規追加" offers to confirm family 1 first
    editor().newFamily();
    ASSERT_EQ(editor().currentFamily(), 2);
    takeMessages();
    choosePartners(0, hanako);
    editor().registerFamily();
    EXPECT_EQ(takeMessages(), Strings{"独身家族構成の重複エラー / １番目に既に登録済です。"});
    EXPECT_EQ(family(2).妻NO, 0);

    // A couple that includes her is accepted.
    choosePartners(jiro, hanako);
    editor().registerFamily();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(family(2).夫NO, jiro);
    EXPECT_EQ(family(2).妻NO, hanako);
    EXPECT_TRUE(ctl().enabled("RADIO_A1A"));

    // Showing family 1 again does not warn again.
    ctl()["LIST_A3A"].current = 0;
    editor().selectFamily();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(FamilyEditing, ConfirmingACouple) {
    editor().newFamily();
    // Nothing to confirm while the family is empty: no question.
    editor().confirmCouple();
    EXPECT_TRUE(dialogs.shown.empty());

    choosePartners(taro, hanako);
    editor().registerFamily();
    dialogs.answerNo();
    editor().confirmCouple();
    EXPECT_EQ(family(1).夫婦確定_f, 0);
    EXPECT_TRUE(ctl().visible("BUTTON_A6A"));
    EXPECT_FALSE(ctl().visible("LIST_A2A"));

    dialogs.answerYes();
    editor().confirmCouple();
    EXPECT_EQ(takeMessages(), (Strings{"確定確認 / 婚姻関係・夫婦名の確定をしてもいいですか",
                                       "確定確認 / 婚姻関係・夫婦名の確定をしてもいいですか"}));
    EXPECT_EQ(family(1).夫婦確定_f, 1);
    EXPECT_EQ(family(1).形態, core::UnionForm::Marriage);
    // Confirmed: the partners are fixed and the children section opens.
    EXPECT_FALSE(ctl().enabled("COMBO_A1A"));
    EXPECT_FALSE(ctl().enabled("COMBO_A2A"));
    EXPECT_FALSE(ctl().visible("BUTTON_A13A"));
    EXPECT_FALSE(ctl().visible("BUTTON_A6A"));
    EXPECT_TRUE(ctl().visible("CHECK_A21A"));
    for (const char* c : {"BUTTON_A4A", "LIST_A2A", "TEXT31", "BUTTON_A10A", "BUTTON_A11A",
                          "BUTTON_A12A", "CHECK_A5A"}) {
        EXPECT_TRUE(ctl().visible(c)) << c;
    }
    EXPECT_FALSE(ctl().visible("BUTTON_A17A"));
    EXPECT_FALSE(ctl().enabled("CHECK_A1A"));
    EXPECT_TRUE(ctl().visible("CHECK_A2A"));
    EXPECT_TRUE(ctl().enabled("CHECK_A2A"));
    EXPECT_EQ(ctl().text("CHECK_A2A"), "離婚");
}

TEST_F(FamilyEditing, NonMarriageFlag) {
    makeFamily(taro, hanako, /*nonMarriage=*/false, /*confirm=*/false);
    click("CHECK_A1A", true, &FamilyEditor::nonMarriageClicked);
    EXPECT_EQ(takeMessages(), Strings{"内縁関係の確認 / 選択中の二人は、内縁関係になります"});
    EXPECT_EQ(family(1).形態L3, core::UnionForm::NonMarital);
    EXPECT_EQ(family(1).形態, core::UnionForm::Marriage); // fixed only at confirmation

    dialogs.answerYes();
    editor().confirmCouple();
    EXPECT_EQ(family(1).形態, core::UnionForm::NonMarital);
    // A confirmed unmarried couple has no divorce, but may still marry.
    EXPECT_FALSE(ctl().visible("CHECK_A2A"));
    EXPECT_TRUE(ctl().enabled("CHECK_A1A"));

    dialogs.answerNo();
    click("CHECK_A1A", false, &FamilyEditor::nonMarriageClicked);
    EXPECT_EQ(family(1).形態, core::UnionForm::NonMarital);
    EXPECT_TRUE(ctl().checked("CHECK_A1A"));

    dialogs.answerYes();
    click("CHECK_A1A", false, &FamilyEditor::nonMarriageClicked);
    EXPECT_EQ(family(1).形態, core::UnionForm::Marriage);
    EXPECT_EQ(family(1).形態L3, core::UnionForm::Marriage);
    EXPECT_FALSE(ctl().checked("CHECK_A1A"));
    EXPECT_FALSE(ctl().enabled("CHECK_A1A"));
    EXPECT_TRUE(ctl().visible("CHECK_A2A"));

    // Non-marriage cannot be ticked for an empty family.
    editor().newFamily();
    takeMessages();
    click("CHECK_A1A", true, &FamilyEditor::nonMarriageClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A1A"));
    EXPECT_EQ(family(2).形態L3, core::UnionForm::Marriage);
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(FamilyEditing, DivorceNeedsAConfirmedCoupleAndStays) {
    makeFamily(taro, hanako, false, /*confirm=*/false);
    takeMessages();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A2A"));
    EXPECT_EQ(family(1).離婚_F, 0);
    EXPECT_TRUE(takeMessages().empty());

    dialogs.answerYes();
    editor().confirmCouple();
    dialogs.answerNo();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A2A"));
    EXPECT_EQ(family(1).離婚_F, 0);

    dialogs.answerYes();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    EXPECT_EQ(family(1).離婚_F, 1);
    EXPECT_EQ(ctl().text("CHECK_A2A"), "離婚　　離婚年月日");
    EXPECT_FALSE(ctl().enabled("CHECK_A2A"));
    EXPECT_TRUE(ctl().visible("EDIT_A9A"));
    EXPECT_TRUE(ctl().visible("BUTTON36"));

    ctl().setText("EDIT_A9A", "S35.2.10");
    editor().storeDivorceDate();
    EXPECT_EQ(family(1).離婚年月日, "Ｓ３５．２．１０");

    // Clearing the box does not take the divorce back.
    click("CHECK_A2A", false, &FamilyEditor::divorceClicked);
    EXPECT_EQ(family(1).離婚_F, 1);
    EXPECT_TRUE(ctl().checked("CHECK_A2A"));

    // Shown again from the list: the divorced caption and the stored date.
    ctl()["LIST_A3A"].current = 0;
    editor().selectFamily();
    EXPECT_EQ(ctl().text("CHECK_A2A"), "離婚　　離婚年月日");
    EXPECT_EQ(ctl().text("EDIT_A9A"), "Ｓ３５．２．１０");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(FamilyEditing, DivorceWithoutBothPartnersIsRefused) {
    makeFamily(taro, 0);
    takeMessages();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    EXPECT_FALSE(ctl().checked("CHECK_A2A"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "警告");
    EXPECT_EQ(dialogs.shown[0].text, "離婚できません");
    EXPECT_EQ(dialogs.shown[0].icon, common::Icon::Stop);
    EXPECT_EQ(family(1).形態,
              core::UnionForm::NonMarital); // a single parent is confirmed as non-marriage
    EXPECT_TRUE(ctl().checked("RADIO_A2A"));
    EXPECT_EQ(family(1).系統_F, core::Lineage::Paternal);
}

TEST_F(FamilyEditing, DisplayFlagsKeepTheirFourValues) {
    makeFamily(taro, hanako);
    auto& v = family(1).配偶者非表示_F;
    click("CHECK_A21A", true, &FamilyEditor::hideSpouseClicked);
    EXPECT_EQ(v, 1);
    click("CHECK_A21A", true, &FamilyEditor::hideSpouseClicked);
    EXPECT_EQ(v, 1);
    click("CHECK50", true, &FamilyEditor::hideHouseholdHeadClicked);
    EXPECT_EQ(v, 11);
    click("CHECK50", true, &FamilyEditor::hideHouseholdHeadClicked);
    EXPECT_EQ(v, 11);
    click("CHECK_A21A", false, &FamilyEditor::hideSpouseClicked);
    EXPECT_EQ(v, 10);
    click("CHECK50", false, &FamilyEditor::hideHouseholdHeadClicked);
    EXPECT_EQ(v, 0);
    click("CHECK44", true, &FamilyEditor::hideSpouseSurnameClicked);
    EXPECT_EQ(family(1).配偶者姓F, 1);

    // A value outside the four counts by its digits and is written back as one of them.
    v = 5;
    ctl()["LIST_A3A"].current = 0;
    editor().selectFamily();
    EXPECT_TRUE(ctl().checked("CHECK_A21A"));
    EXPECT_FALSE(ctl().checked("CHECK50"));
    click("CHECK50", true, &FamilyEditor::hideHouseholdHeadClicked);
    EXPECT_EQ(v, 11);
}

TEST_F(FamilyEditing, LineOfDescentFollowsTheRadios) {
    makeFamily(taro, hanako);
    ctl().check("RADIO_A7A");
    editor().lineOfDescentChosen(core::Lineage::Maternal);
    EXPECT_EQ(family(1).系統_F, core::Lineage::Maternal);
    EXPECT_FALSE(ctl().checked("RADIO_A1A"));
    EXPECT_EQ(editor().dispatch(EventCode::RADIO_A1A_ON), FamilyEditor::Outcome::Done);
    EXPECT_EQ(family(1).系統_F, core::Lineage::Unset);
    EXPECT_TRUE(ctl().checked("RADIO_A1A"));

    // A locked family ignores a radio event.
    makeFamily(0, yoko);
    EXPECT_EQ(family(2).系統_F, core::Lineage::Maternal);
    editor().lineOfDescentChosen(core::Lineage::Paternal);
    EXPECT_EQ(family(2).系統_F, core::Lineage::Maternal);
    EXPECT_TRUE(ctl().checked("RADIO_A7A"));
}

TEST_F(FamilyEditing, TypedTitlesAreStoredFullWidthOrRefused) {
    makeFamily(taro, hanako);
    ctl().setText("COMBO6", "Mr,A");
    editor().storeHusbandTitle();
    EXPECT_EQ(family(1).夫肩書, "Ｍｒ，Ａ");
    EXPECT_EQ(ctl().text("COMBO6"), "Ｍｒ，Ａ");

    takeMessages();
    ctl().setText("COMBO7", "後妻\xF0\xA0\xAE\xB7"); // U+20BB7, outside Shift-JIS
    editor().storeWifeTitle();
    EXPECT_EQ(family(1).妻肩書, "妻");
    const auto shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("妻の肩書"), std::string::npos);
    EXPECT_NE(shown[0].find("\xF0\xA0\xAE\xB7"), std::string::npos);

    // A divorce date that cannot be held stops the registration as a whole.
    dialogs.answerYes();
    click("CHECK_A2A", true, &FamilyEditor::divorceClicked);
    family(1).離婚年月日 = "昭和";
    ctl().setText("EDIT_A9A", "\xF0\xA0\xAE\xB7");
    family(1).系統_F = core::Lineage::Unset;
    ctl().check("RADIO_A2A");
    ctl().uncheck("RADIO_A1A");
    editor().dispatch(EventCode::BUTTON_A6A_ON);
    EXPECT_EQ(family(1).離婚年月日, "昭和");
    EXPECT_EQ(family(1).系統_F, core::Lineage::Unset);
}

TEST_F(FamilyEditing, SavingWritesTheFamiliesAndTheSettingsOnlyWithTheChartOpen) {
    makeFamily(taro, hanako);
    EXPECT_TRUE(editor().save());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "家族目録.TXT"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "作図設定.TXT"));
    const auto back = core::readFamilyRegister(dir.path(), data.familyLimits());
    EXPECT_EQ(back, data.reg.families);

    editor().setChartSettingsOpen(true);
    EXPECT_EQ(ctl().text("FORM2").rfind("基準になる家族の設定", 0), 0u);
    EXPECT_EQ(ctl().text("FORM6").rfind("家族別の表示設定", 0), 0u);
    EXPECT_FALSE(ctl().enabled("BUTTON_A5A"));
    EXPECT_EQ(editor().dispatch(EventCode::BUTTON_A7A_ON), FamilyEditor::Outcome::Done);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "作図設定.TXT"));
    editor().setChartSettingsOpen(false);
    EXPECT_TRUE(ctl().enabled("BUTTON_A5A"));
    EXPECT_EQ(ctl().text("FORM2").rfind("家族関連の設定", 0), 0u);

    // A save that cannot be written says so and reports failure.
    data.folder = dir.path() / "missing";
    takeMessages();
    EXPECT_EQ(editor().dispatch(EventCode::BUTTON_A16A_ON), FamilyEditor::Outcome::Failed);
    const auto shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("保存エラー / ", 0), 0u);
}

TEST_F(FamilyEditing, DeletingAFamilyRenumbersAndTheLastRemovesTheFile) {
    makeFamily(taro, hanako);
    makeFamily(jiro, yoko);
    makeFamily(0, yoko);
    person(taro).父母家族NO = 3;
    person(jiro).子孫_F = 2;
    takeMessages();

    ctl()["LIST_A3A"].current = 1;
    editor().selectFamily();
    editor().deleteFamily();
    ASSERT_EQ(data.reg.familyCount(), 2);
    EXPECT_EQ(person(taro).父母家族NO, 2);
    EXPECT_EQ(person(jiro).子孫_F, 0);
    // The family that took number 2 is shown, so "新規追加" cannot register stale partners.
    EXPECT_EQ(editor().currentFamily(), 2);
    EXPECT_EQ(family(2).妻NO, yoko);
    EXPECT_EQ(family(2).夫NO, 0);
    EXPECT_EQ(ctl()["COMBO_A1A"].current, 0);
    EXPECT_EQ(ctl()["COMBO_A2A"].current, editor().wifeChoices().entryOf(yoko));
    EXPECT_EQ(ctl()["LIST_A3A"].items, (Strings{"1 : (1) 山田太郎　＝　(2) 山田花子",
                                                "2 : (0) 登録未設定　＝　(4) 鈴木洋子"}));
    // Both registers on disk agree.
    EXPECT_EQ(core::readFamilyRegister(dir.path(), data.familyLimits()), data.reg.families);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "当事者目録.TXT"));

    // A family with children is not deleted.
    family(1).子.push_back(core::Child{});
    ctl()["LIST_A3A"].current = 0;
    editor().selectFamily();
    EXPECT_FALSE(ctl().enabled("BUTTON_A14A"));
    EXPECT_EQ(ctl()["BUTTON_A14A"].whyDisabled,
              "子供のいる家族は削除できません（先に子供をすべて削除してください）");
    takeMessages();
    editor().deleteFamily();
    EXPECT_EQ(data.reg.familyCount(), 2);
    EXPECT_EQ(takeMessages().size(), 1u);
    family(1).子.clear();

    editor().deleteFamily();
    editor().deleteFamily();
    EXPECT_EQ(data.reg.familyCount(), 0);
    EXPECT_EQ(editor().currentFamily(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "家族目録.TXT"));
    EXPECT_FALSE(ctl().visible("FORM6"));
    EXPECT_TRUE(ctl()["LIST_A3A"].items.empty());
    EXPECT_FALSE(ctl().enabled("BUTTON_A21A"));
    EXPECT_EQ(ctl()["BUTTON_A21A"].whyDisabled, "家族がまだ登録されていません");
    EXPECT_FALSE(ctl().enabled("BUTTON_A14A"));
    EXPECT_EQ(ctl()["BUTTON_A14A"].whyDisabled, "削除する家族がありません");
    EXPECT_EQ(person(taro).父母家族NO, 0);
}

TEST_F(FamilyEditing, NewFamilyOffersToConfirmTheSelectedOne) {
    makeFamily(taro, hanako, false, /*confirm=*/false);
    takeMessages();
    dialogs.answerYes();
    editor().newFamily();
    EXPECT_EQ(family(1).夫婦確定_f, 1);
    EXPECT_EQ(editor().currentFamily(), 2);
    // The new family starts with open person choices and no children section.
    EXPECT_TRUE(ctl().enabled("COMBO_A1A"));
    EXPECT_FALSE(ctl().visible("LIST_A2A"));
    EXPECT_TRUE(ctl().checked("RADIO_A1A"));
    EXPECT_EQ(ctl()["COMBO_A1A"].current, 0);
}

TEST_F(FamilyEditing, FindingFamiliesByGivenName) {
    makeFamily(taro, hanako);
    makeFamily(jiro, yoko);
    makeFamily(taro, yoko);
    takeMessages();

    dialogs.answerInput("洋子");
    editor().dispatch(EventCode::BUTTON_A28A_ON);
    EXPECT_EQ(editor().currentFamily(), 2);
    EXPECT_EQ(ctl()["LIST_A3A"].current, 1);
    EXPECT_TRUE(ctl().visible("FORM6"));
    // "次を検索" reaches the last family too.
    editor().dispatch(EventCode::BUTTON_A29A_ON);
    EXPECT_EQ(editor().currentFamily(), 3);
    editor().findNextFamily();
    EXPECT_EQ(editor().currentFamily(), 3);

    // A cancelled search forgets the text.
    dialogs.answerInput(std::nullopt);
    editor().findFamilyByName();
    ctl()["LIST_A3A"].current = 0;
    editor().selectFamily();
    editor().findNextFamily();
    EXPECT_EQ(editor().currentFamily(), 1);
}

TEST_F(FamilyEditing, BaseFamilyChoiceIsKeptAndHandedOn) {
    makeFamily(taro, hanako);
    makeFamily(jiro, yoko);
    int handed = -1;
    editor().baseFamilyChosen = [&](int f) { handed = f; };
    ctl()["COMBO_A5A"].current = 1;
    editor().dispatch(EventCode::COMBO_A5A_CHANGE);
    EXPECT_EQ(data.settings.基準家族, 1);
    EXPECT_EQ(editor().currentFamily(), 1);
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(editor().dispatch(EventCode::BUTTON_A8A_ON), FamilyEditor::Outcome::NotHandled);
}

TEST_F(FamilyEditing, OpeningTheFormLoadsTheSelectedFamily) {
    // A family read from the register, selected as "リスト３" and never clicked.
    core::家族 f;
    f.婚姻NO = 1;
    f.夫NO = static_cast<std::int16_t>(taro);
    f.妻NO = static_cast<std::int16_t>(hanako);
    f.系統_F = core::Lineage::Maternal;
    f.夫肩書 = "夫";
    f.妻肩書 = "後妻";
    data.reg.families.push_back(f);
    data.settings.リスト３ = 1;
    editor();
    EXPECT_EQ(ctl()["LIST_A3A"].current, 0);
    EXPECT_TRUE(ctl().checked("RADIO_A7A"));
    EXPECT_EQ(ctl().text("COMBO7"), "後妻");
    // "新規追加" registers the selected family from the form first: nothing of it is lost.
    dialogs.answerNo();
    editor().newFamily();
    EXPECT_EQ(family(1).夫NO, taro);
    EXPECT_EQ(family(1).妻NO, hanako);
    EXPECT_EQ(family(1).系統_F, core::Lineage::Maternal);
    EXPECT_EQ(family(1).妻肩書, "後妻");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(FamilyEditing, EventCodesAndTheirOperationsAgree) {
    const auto& codes = FamilyEditor::eventCodes();
    for (int code = 0; code <= 70; ++code) {
        const auto event = static_cast<EventCode>(code);
        const bool listed = std::find(codes.begin(), codes.end(), event) != codes.end();
        const auto outcome = editor().dispatch(event);
        EXPECT_EQ(outcome != FamilyEditor::Outcome::NotHandled, listed) << code;
    }
}

} // namespace
