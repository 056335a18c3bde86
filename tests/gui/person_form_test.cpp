// The main window and the person form: adding and editing with the namesake question, the
// name order, the sex lock, search, the copy dialog and person links.
#include "gui_fixture.h"

#include "common/text.h"
#include "editing/person_editing.h"

#include <QLayout>

namespace gui_test {
namespace {

class Persons : public Gui {
protected:
    void SetUp() override {
        prepare({person(1, "山田", "太郎"), person(2, "佐藤", "花子", 2), person(3, "山田", "太郎"),
                 person(4, "鈴木", "一郎"), person(5, "佐藤", "花子", 2)});
        ASSERT_TRUE(start());
    }
};

TEST_F(Persons, AddingWithYesToTheFirstNamesake) {
    clickMain("BUTTON_A1A");
    EXPECT_TRUE(form(4).isVisible());
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_EQ(s(f5<QLabel>("TEXT_A8A")->text()), "当事者Ｎｏ : 6");
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), -1);
    set("EDIT_A1A", "山田");
    set("EDIT_A2A", "太郎");
    set("EDIT_A3A", "東京都");
    dialogs.answerYes();
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(
        dialogs.messages(),
        std::vector<std::string>{" 1番目に同姓同名が登録されています / 別人として登録しますか？"});
    ASSERT_EQ(personCount(), 6);
    EXPECT_EQ(app->data().reg.person(6).住所1, "東京都");
    EXPECT_FALSE(form(4).isVisible());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->count(), 6);
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 5);
    EXPECT_EQ(listLine(6), "6 (男) 山田太郎　（住所：東京都）");
    EXPECT_TRUE(main<QPushButton>("BUTTON34")->isEnabled());
    EXPECT_TRUE(s(main<QPlainTextEdit>("EDIT20")->toPlainText()).starts_with("当事者Ｎｏ：6\n"));
    // Nothing is written before a save.
    EXPECT_EQ(core::readPersonRegister(data.path(), 100, [] { return true; }).size(), 5u);
}

TEST_F(Persons, AddingWithNoThenYes) {
    dialogs.answerNo();
    dialogs.answerYes();
    add("山田", "太郎");
    EXPECT_EQ(personCount(), 6);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, " 3番目に同姓同名が登録されています");
}

TEST_F(Persons, NoToEveryNamesakeCancelsTheAddition) {
    dialogs.answerNo();
    dialogs.answerNo();
    add("佐藤", "花子");
    EXPECT_EQ(personCount(), 5);
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->count(), 5);
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 4); // the last person
    EXPECT_FALSE(form(4).isVisible());
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(Persons, EditingPersonThreeAsksOnlyAboutPersonOne) {
    edit(3);
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A2A")->text()), "太郎");
    set("EDIT_A6A", "令和元年５月１日");
    dialogs.answerYes();
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(app->data().reg.person(3).死亡年月日, "令和元年５月１日");

    // Person 2's namesake is person 5, which comes later: no question.
    edit(2);
    set("EDIT_A5A", "昭和３１年３月１２日");
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(app->data().reg.person(2).生年月日, "昭和３１年３月１２日");
}

TEST_F(Persons, RefusedRenameKeepsTheOldNames) {
    edit(4);
    set("EDIT_A1A", "山田");
    set("EDIT_A2A", "太郎");
    dialogs.answerNo();
    dialogs.answerNo();
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(4).姓, "鈴木");
    EXPECT_EQ(app->data().reg.person(4).名, "一郎");
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A1A")->text()), "鈴木");
    EXPECT_FALSE(form(4).isVisible());
    EXPECT_EQ(listLine(4), "4 (男) 鈴木一郎　");
}

TEST_F(Persons, TypedTextIsStoredFullWidthAndAnUnencodableCharacterIsAskedAbout) {
    edit(4);
    set("EDIT_A3A", "Tokyo 1-2");
    set("EDIT_A4A", "髙橋𠮷");
    dialogs.answerNo();
    click(form(4), "BUTTON_A2A");
    EXPECT_TRUE(form(4).isVisible()); // nothing stored, the form stays
    EXPECT_EQ(app->data().reg.person(4).住所1, "");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("「本籍１」の「𠮷」"), std::string::npos);

    set("EDIT_A4A", "髙橋");
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(4).住所1, "Ｔｏｋｙｏ　１－２");
    EXPECT_EQ(app->data().reg.person(4).本籍1, "髙橋");
}

TEST_F(Persons, CapacityRefusesAnAddition) {
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)}, 2);
    ASSERT_TRUE(start());
    clickMain("BUTTON_A1A");
    EXPECT_FALSE(form(4).isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("最大登録人数"), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find("KANKYO.TXT"), std::string::npos);
    EXPECT_EQ(personCount(), 2);
}

TEST_F(Persons, SeparatorRuleAndNameOrderInTheList) {
    add("スミス", "ジョン");
    add("ルーカー", "アン");
    add("Smith", "John");
    add("田中", "アン");
    EXPECT_EQ(listLine(6), "6 (男) スミス・ジョン　");
    EXPECT_EQ(listLine(7), "7 (男) ルーカー・アン　");
    EXPECT_EQ(listLine(8), "8 (男) Ｓｍｉｔｈ・Ｊｏｈｎ　");
    EXPECT_EQ(listLine(9), "9 (男) 田中アン　");

    // Given name first: "・" always; the fields and their labels change places.
    edit(9);
    auto* surname = f5<QLineEdit>("EDIT_A1A");
    auto* given = f5<QLineEdit>("EDIT_A2A");
    form(4).layout()->activate();
    EXPECT_LT(surname->x(), given->x());
    f5<QCheckBox>("CHECK35")->click();
    form(4).layout()->activate();
    EXPECT_GT(surname->x(), given->x());
    EXPECT_EQ(s(f5<QLabel>("TEXT_A14A")->text()), "名");
    EXPECT_EQ(s(f5<QLabel>("TEXT_A9A")->text()), "姓");
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(listLine(9), "9 (男) アン・田中　");
    EXPECT_EQ(app->data().reg.person(9).姓名順, 1);

    // Opening it again shows the given name first.
    edit(9);
    form(4).layout()->activate();
    EXPECT_TRUE(f5<QCheckBox>("CHECK35")->isChecked());
    EXPECT_GT(surname->x(), given->x());
}

TEST_F(Persons, SexIsLockedForHusbandsAndWives) {
    core::家族 f;
    f.夫NO = 1;
    f.子.push_back({4, "長男", core::ChildKind::Birth, "", ""});
    app->data().reg.families.push_back(f);
    edit(1);
    EXPECT_FALSE(f5<QRadioButton>("RADIO_A3A")->isEnabled());
    EXPECT_FALSE(f5<QRadioButton>("RADIO_A4A")->isEnabled());
    click(form(4), "BUTTON_A2A");

    edit(4); // only a child
    EXPECT_TRUE(f5<QRadioButton>("RADIO_A4A")->isEnabled());
    f5<QRadioButton>("RADIO_A4A")->click();
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(4).男女, 2);
    EXPECT_EQ(listLine(4), "4 (女) 鈴木一郎　");

    edit(2);
    EXPECT_TRUE(f5<QRadioButton>("RADIO_A4A")->isChecked());
}

TEST_F(Persons, ParentLinesAreCutAtThirtyBytes) {
    auto& reg = app->data().reg;
    reg.person(1).姓 = "長谷川";
    reg.person(1).名 = "一二三四五六七八九";
    reg.person(4).実父NO = 1;
    reg.person(4).実母NO = 2;
    edit(4);
    EXPECT_EQ(s(f5<QLabel>("TEXT_A10A")->text()), "実父：1 長谷川一二三四五六七八");
    EXPECT_EQ(s(f5<QLabel>("TEXT_A11A")->text()), "実母：2 佐藤花子");
    EXPECT_EQ(s(f5<QLabel>("TEXT_A8A")->text()), "当事者Ｎｏ : 4");
}

TEST_F(Persons, SearchAndNextByGivenName) {
    dialogs.answerInput("太郎");
    clickMain("BUTTON_A26A");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "名前を検索");
    EXPECT_EQ(dialogs.shown[0].text, "姓は入力しない");
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 0);
    EXPECT_TRUE(s(main<QPlainTextEdit>("EDIT20")->toPlainText()).starts_with("当事者Ｎｏ：1"));
    clickMain("BUTTON_A27A");
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 2);
    clickMain("BUTTON_A27A"); // no further match: unchanged, no wrap
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 2);

    dialogs.answerInput("山田"); // a surname finds nothing
    clickMain("BUTTON_A26A");
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 2);

    dialogs.answerInput(std::nullopt); // cancelled: the search text is cleared
    clickMain("BUTTON_A26A");
    choosePerson(1);
    clickMain("BUTTON_A27A");
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->currentRow(), 0);
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(Persons, CopyDialogCopiesTheTickedFieldsIntoTheFormOnly) {
    app->data().reg.person(1).住所1 = "東京都";
    app->data().reg.person(1).生年月日 = "昭和３年４月５日";
    edit(4);
    click(form(4), "BUTTON_A25A");
    EXPECT_TRUE(form(6).isVisible());
    EXPECT_FALSE(form(4).isEnabled());
    auto* list = ctl<QListWidget>(form(6), "LIST6");
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(s(list->item(0)->text()), "1 (男) 山田太郎　（住所：東京都）");

    click(form(6), "BUTTON35"); // no source chosen: nothing changes, and the form says so
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A3A")->text()), "");
    EXPECT_TRUE(form(4).isEnabled());
    EXPECT_EQ(s(f5<QLabel>("guidanceLabel")->text()),
              "複写元の当事者が選ばれていないので、何も複写していません");

    click(form(4), "BUTTON_A25A");
    list->setCurrentRow(0);
    EXPECT_EQ(s(ctl<QCheckBox>(form(6), "CHECK29")->text()), "住所１：東京都");
    EXPECT_EQ(s(ctl<QCheckBox>(form(6), "CHECK41")->text()), "　生年月日：昭和３年４月５日");
    EXPECT_EQ(s(ctl<QCheckBox>(form(6), "CHECK27")->text()), "　　姓：山田");
    ctl<QCheckBox>(form(6), "CHECK29")->setChecked(true);
    ctl<QCheckBox>(form(6), "CHECK41")->setChecked(true);
    click(form(6), "BUTTON35");
    EXPECT_FALSE(form(6).isVisible());
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A3A")->text()), "東京都");
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A5A")->text()), "昭和３年４月５日");
    EXPECT_EQ(s(f5<QLabel>("guidanceLabel")->text()), "複写しました。「リスト登録」で登録されます");
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A1A")->text()), "鈴木");
    EXPECT_EQ(app->data().reg.person(4).住所1, ""); // not before the commit
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(4).住所1, "東京都");

    // The source stays chosen the next time.
    edit(3);
    click(form(4), "BUTTON_A25A");
    EXPECT_EQ(list->currentRow(), 0);
    form(6).close(); // the frame cancels
    EXPECT_TRUE(form(4).isEnabled());
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A3A")->text()), "");
}

// ---- person links ------------------------------------------------------------------------

class Links : public Gui {
protected:
    // Nine persons, odd numbers male and even numbers female, names P1 ... P9.
    void SetUp() override {
        std::vector<core::当事者> persons;
        for (int i = 1; i <= 9; ++i) {
            const std::string mei = std::to_string(i);
            persons.push_back(person(i, "Ｐ", "", i % 2 ? 1 : 2));
            persons.back().名 = common::toFullWidth(mei);
        }
        prepare(persons);
    }
    // Ticks "当事者リンク" of the open person form and picks person `source` in FORM9.
    void linkTo(int source) {
        f5<QCheckBox>("CHECK39")->click();
        ASSERT_TRUE(form(8).isVisible());
        auto* list = ctl<QListWidget>(form(8), "LIST7");
        for (int row = 0; row < list->count(); ++row) {
            if (s(list->item(row)->text()).starts_with(std::to_string(source) + " ")) {
                list->setCurrentRow(row);
                Q_EMIT list->itemClicked(list->item(row));
                return;
            }
        }
        FAIL() << "person " << source << " is not a candidate";
    }
};

TEST_F(Links, LinkingAndCommittingShowsTheLinkEverywhere) {
    ASSERT_TRUE(start());
    edit(5);
    EXPECT_TRUE(f5<QCheckBox>("CHECK39")->isEnabled());
    f5<QCheckBox>("CHECK39")->click();
    EXPECT_TRUE(form(8).isVisible());
    EXPECT_FALSE(form(4).isEnabled());
    auto* list = ctl<QListWidget>(form(8), "LIST7");
    ASSERT_EQ(list->count(), 4); // 1, 3, 7, 9: the same sex, not 5 itself
    EXPECT_EQ(s(list->item(0)->text()), "1 (男) Ｐ１　");
    EXPECT_EQ(s(list->item(2)->text()), "7 (男) Ｐ７　");
    list->setCurrentRow(0);
    Q_EMIT list->itemClicked(list->item(0));
    EXPECT_FALSE(form(8).isVisible());
    EXPECT_TRUE(form(4).isEnabled());
    EXPECT_EQ(s(f5<QLabel>("TEXT39")->text()), "No: 1");
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A7A")->text()), "Ｐ１");
    EXPECT_EQ(app->data().reg.person(1).備考1, "Ｐ５");
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(5).C_当事者NO, 1);
    EXPECT_EQ(app->data().reg.person(5).備考1, "Ｐ１");
    EXPECT_TRUE(s(main<QPlainTextEdit>("EDIT20")->toPlainText())
                    .starts_with("当事者Ｎｏ：5　　当事者Ｎｏ：1のリンク先\n"));
    choosePerson(1);
    EXPECT_TRUE(s(main<QPlainTextEdit>("EDIT20")->toPlainText())
                    .starts_with("当事者Ｎｏ：1　　当事者Ｎｏ：5のリンク元\n"));

    // A source cannot be linked: its box is disabled when its form opens.
    edit(1);
    EXPECT_FALSE(f5<QCheckBox>("CHECK39")->isEnabled());
    form(4).close();
    // The target's form opens with its link shown.
    edit(5);
    EXPECT_TRUE(f5<QCheckBox>("CHECK39")->isChecked());
    EXPECT_EQ(s(f5<QLabel>("TEXT39")->text()), "No: 1");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Links, ANewPersonLinksWithItsTypedName) {
    ASSERT_TRUE(start());
    clickMain("BUTTON_A1A");
    set("EDIT_A1A", "Ｐ");
    set("EDIT_A2A", "new");
    linkTo(3);
    EXPECT_EQ(app->data().reg.person(3).備考1, "Ｐ・ｎｅｗ"); // two Latin letters meet
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(app->data().reg.person(10).C_当事者NO, 3);
    EXPECT_EQ(personCount(), 10);
}

TEST_F(Links, CancellingTheFormUndoesTheLink) {
    ASSERT_TRUE(start());
    edit(5);
    linkTo(1);
    EXPECT_EQ(app->data().reg.person(5).C_当事者NO, 1);
    form(4).close();
    EXPECT_EQ(app->data().reg.person(5).C_当事者NO, 5);
    EXPECT_EQ(app->data().reg.person(1).備考1, "");
}

TEST_F(Links, CancelButtonAndFrameOfTheSourceDialog) {
    ASSERT_TRUE(start());
    edit(5);
    f5<QCheckBox>("CHECK39")->click();
    click(form(8), "BUTTON41");
    EXPECT_FALSE(form(8).isVisible());
    EXPECT_TRUE(form(4).isVisible());
    EXPECT_TRUE(form(4).isEnabled());
    EXPECT_FALSE(f5<QCheckBox>("CHECK39")->isChecked());
    f5<QCheckBox>("CHECK39")->click();
    form(8).close();
    EXPECT_FALSE(f5<QCheckBox>("CHECK39")->isChecked());
    EXPECT_EQ(app->data().reg.person(5).C_当事者NO, 5);
}

TEST_F(Links, ChosenTargetLinksToItsSourceWithBothNotices) {
    ASSERT_TRUE(start());
    app->data().reg.person(3).C_当事者NO = 1;
    edit(5);
    linkTo(3);
    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{
                  "当事者リンクメッセージ / 選択したＰ３は、既に\nＰ１がリンク元になっています。",
                  "当事者リンクメッセージ / Ｐ５のリンク元は、\nＰ１になります。"}));
    EXPECT_EQ(app->data().reg.person(5).C_当事者NO, 1);
    EXPECT_EQ(s(f5<QLabel>("TEXT39")->text()), "No: 1");
}

TEST_F(Links, EveryLinkErrorWithItsText) {
    struct Case {
        const char* what;
        std::function<void(core::Registers&)> setup;
        int person;
        int source; // 0: the box is refused before the dialog
        std::string message;
    };
    const std::string twice = "実の親の二重登録によるリンクエラー / Ｐ５には実の親がいて、\n";
    const Case cases[] = {
        {"a source cannot be linked", [](core::Registers& r) { r.person(7).C_当事者NO = 5; }, 5, 0,
         "リンクエラー / Ｐ５は、\n 7:Ｐ７からリンクされているので、\nリンクできません。"},
        {"nobody of the same sex",
         [](core::Registers& r) {
             for (auto& p : r.persons) {
                 p.男女 = p.当事者NO == 5 ? 2 : 1;
             }
         },
         5, 0, "警告 / まだ登録できる状態ではありません。"},
        {"1", [](core::Registers& r) { r.person(1).実父NO = 8; }, 5, 1,
         twice + "Ｐ１(1）にも、既に実の親がいます。\nよってリンクできません。"},
        {"2",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(3).実母NO = 8;
         },
         5, 1,
         twice + "同じくＰ１(1）をリンク元にしている、\nＰ３(3）にも、実の親がいます。\n"
                 "よってリンクできません。"},
        {"3",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(1).実父NO = 8;
         },
         5, 3, twice + "Ｐ１(1）にも、既に実の親がいます。\nよってリンクできません。"},
        {"4",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(7).C_当事者NO = 1;
             r.person(7).実父NO = 8;
         },
         5, 3,
         twice + "Ｐ１(1）をリンク元にしている、\nＰ７(7）に、実の親がいます。\n"
                 "よってリンクできません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.shown.clear();
        ASSERT_TRUE(start());
        auto& reg = app->data().reg;
        reg.person(5).実父NO = 6; // the person being linked has real parents
        c.setup(reg);
        const auto before = reg.persons;
        edit(c.person);
        if (c.source == 0) {
            auto* box = f5<QCheckBox>("CHECK39");
            if (reg.person(7).C_当事者NO == 5) {
                // A source's box is disabled when its form opens; were it enabled, the
                // handler would still refuse.
                EXPECT_FALSE(box->isEnabled());
                box->setEnabled(true);
            }
            box->click();
            EXPECT_FALSE(form(8).isVisible());
        } else {
            linkTo(c.source);
        }
        EXPECT_FALSE(f5<QCheckBox>("CHECK39")->isChecked());
        EXPECT_TRUE(s(f5<QLabel>("TEXT39")->text()).empty());
        ASSERT_FALSE(dialogs.messages().empty());
        EXPECT_EQ(dialogs.messages().back(), c.message);
        EXPECT_EQ(dialogs.shown.back().icon, common::Icon::Exclamation);
        EXPECT_EQ(reg.person(5).C_当事者NO, 5);
        EXPECT_EQ(reg.person(1).備考1, before[0].備考1);
        form(4).close();
        EXPECT_EQ(reg.persons, before);
    }
}

TEST_F(Links, RemovingTheLinkRepairsTheSourcesDescendantFlag) {
    core::家族 f1;
    f1.夫NO = 7;
    f1.子.push_back({3, "長男", core::ChildKind::Birth, "", ""});
    core::家族 f2;
    f2.夫NO = 9;
    writeFamilies({f1, f2});
    ASSERT_TRUE(start());
    auto& reg = app->data().reg;
    reg.person(3).C_当事者NO = 1;
    reg.person(3).子孫_F = reg.person(3).子孫_FL = 1;
    reg.person(1).子孫_F = 1; // through target 3, a child of family 1
    reg.person(1).子孫_FL = 2;
    edit(3);
    EXPECT_TRUE(f5<QCheckBox>("CHECK39")->isChecked());
    f5<QCheckBox>("CHECK39")->click();
    EXPECT_EQ(reg.person(3).C_当事者NO, 3);
    EXPECT_TRUE(s(f5<QLabel>("TEXT39")->text()).empty());
    EXPECT_EQ(reg.person(1).子孫_F, 2);
    EXPECT_EQ(
        dialogs.messages(),
        (std::vector<std::string>{
            "子孫フラッグ関連メッセージ / リンク解除により子孫フラッグが付け変わりました。"}));
    click(form(4), "BUTTON_A2A");
    EXPECT_EQ(reg.person(3).C_当事者NO, 3);
}

} // namespace
} // namespace gui_test
