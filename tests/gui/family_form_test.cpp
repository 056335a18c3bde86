// The family list form FORM2 and the family detail form FORM6 driven through their widgets:
// that every event reaches the family editor, that its control states show on the widgets,
// and what the registers and files hold afterwards. The rules themselves are tested in
// tests/editing.
#include "gui_fixture.h"

#include "app/tsubaki/family_handlers.h"

namespace gui_test {
namespace {

core::家族 couple(int husband, int wife, bool confirmed = true) {
    core::家族 f;
    f.夫NO = static_cast<std::int16_t>(husband);
    f.妻NO = static_cast<std::int16_t>(wife);
    f.夫婦確定_f = confirmed ? 1 : 0;
    f.夫肩書 = "夫";
    f.妻肩書 = "妻";
    return f;
}

core::Child child(int n, int form = 0) {
    core::Child c;
    c.子NO = static_cast<std::int16_t>(n);
    c.子の肩書 = "子";
    c.子の形態 = static_cast<core::ChildKind>(form);
    return c;
}

class FamilyForms : public Gui {
protected:
    template <class T = QWidget> T* f2(const char* name) { return ctl<T>(form(1), name); }
    template <class T = QWidget> T* f6(const char* name) { return ctl<T>(form(5), name); }
    bool shown(QWidget* w) { return !w->isHidden(); }

    // Persons 1 山田太郎, 3 山田一郎, 5 佐藤次郎 (men), 2 鈴木花子, 4 山田春子 (women), the
    // families given, then MAINFORM's "家族構成へ".
    void openWith(std::vector<core::家族> families,
                  std::vector<core::当事者> persons = defaultPersons()) {
        prepare(persons);
        for (std::size_t i = 0; i < families.size(); ++i) {
            families[i].婚姻NO = static_cast<std::int16_t>(i + 1);
        }
        if (!families.empty()) {
            writeFamilies(families);
        }
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        ASSERT_TRUE(form(1).isVisible());
    }
    static std::vector<core::当事者> defaultPersons() {
        return {person(1, "山田", "太郎"), person(2, "鈴木", "花子", 2), person(3, "山田", "一郎"),
                person(4, "山田", "春子", 2), person(5, "佐藤", "次郎")};
    }

    // A click on a list row as Qt delivers it: the row becomes current, then the click.
    void clickRow(QListWidget* list, int row) {
        list->setCurrentRow(row);
        Q_EMIT list->itemClicked(list->item(row));
    }
    void clickFamily(int n) { clickRow(f2<QListWidget>("LIST_A3A"), n - 1); }
    // Selects the entry of a combo box or list that shows `text`.
    void chooseCombo(const char* name, const std::string& text) {
        auto* combo = f6<QComboBox>(name);
        const int i = combo->findText(QString::fromStdString(text), Qt::MatchContains);
        ASSERT_GE(i, 0) << text;
        combo->setCurrentIndex(i);
    }
    void chooseCandidate(int person) {
        auto* list = f6<QListWidget>("LIST_A4A");
        const auto found = list->findItems(QString::number(person) + " ", Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        clickRow(list, list->row(found[0]));
    }

    core::家族& family(int n) { return app->data().reg.family(n); }
    std::vector<int> childOrder(int f) {
        std::vector<int> out;
        for (const auto& c : family(f).子) {
            out.push_back(c.子NO);
        }
        return out;
    }
    std::vector<core::家族> fileFamilies() {
        return core::readFamilyRegister(data.path(), {50, 20, personCount()});
    }
};

TEST_F(FamilyForms, OpeningFillsTheListsAndEveryEventOfTheFormsHasItsHandler) {
    openWith({couple(1, 2), couple(3, 4, false)});
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_FALSE(form(5).isVisible());
    auto* list = f2<QListWidget>("LIST_A3A");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(s(list->item(0)->text()), "1 : (1) 山田太郎　＝　(2) 鈴木花子");
    EXPECT_EQ(list->currentRow(), 1); // the current family, the last one without settings
    EXPECT_EQ(f2<QComboBox>("COMBO_A5A")->count(), 3);
    EXPECT_TRUE(shown(f2("BUTTON_A21A")));
    EXPECT_EQ(f6<QComboBox>("COMBO7")->count(), 6);

    using E = app::EventCode;
    for (const E code :
         {E::BUTTON_A9A_ON,  E::BUTTON_A5A_ON,    E::BUTTON_A6A_ON,    E::BUTTON_A7A_ON,
          E::LIST_A3A_CLICK, E::BUTTON_A4A_ON_11, E::BUTTON_A4A_ON_12, E::CHECK_A2A_ON,
          E::LIST_A2A_CLICK, E::BUTTON_A13A_ON,   E::BUTTON_A10A_ON,   E::BUTTON_A11A_ON,
          E::BUTTON_A12A_ON, E::BUTTON_A14A_ON,   E::BUTTON_A16A_ON,   E::BUTTON_A17A_ON,
          E::BUTTON_A20A_ON, E::CHECK_A4A_ON,     E::BUTTON_A18A_ON,   E::BUTTON_A19A_ON,
          E::CHECK_A1A_ON,   E::CHECK_A5A_ON,     E::BUTTON_A28A_ON,   E::BUTTON_A29A_ON,
          E::CHECK_A21A_ON,  E::COMBO_A5A_CHANGE, E::BUTTON36_ON,      E::RADIO_A1A_ON,
          E::RADIO_A2A_ON,   E::RADIO_A7A_ON,     E::COMBO6_CHANGE,    E::COMBO7_CHANGE,
          E::CHECK44_ON,     E::CHECK50_ON}) {
        EXPECT_TRUE(app->hasHandler(code)) << static_cast<int>(code);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FamilyForms, DivorceShowsTheDateFieldAndCannotBeTakenBack) {
    openWith({couple(1, 2)});
    clickFamily(1);
    ASSERT_TRUE(form(5).isVisible());
    auto* divorce = f6<QCheckBox>("CHECK_A2A");
    EXPECT_TRUE(shown(divorce) && divorce->isEnabled());
    EXPECT_EQ(s(divorce->text()), "離婚");
    EXPECT_FALSE(shown(f6("EDIT_A9A")));

    dialogs.answerYes();
    divorce->click();
    EXPECT_EQ(dialogs.messages().back(), "離婚確認メッセージ / 離婚した事に間違いありませんか？");
    EXPECT_EQ(s(divorce->text()), "離婚　　離婚年月日");
    EXPECT_TRUE(divorce->isChecked());
    EXPECT_FALSE(divorce->isEnabled());
    EXPECT_TRUE(shown(f6("EDIT_A9A")) && shown(f6("BUTTON36")));
    EXPECT_FALSE(f6("CHECK_A1A")->isEnabled());

    f6<QLineEdit>("EDIT_A9A")->setText("S35.2.10");
    click(form(5), "BUTTON36");
    EXPECT_EQ(s(f6<QLineEdit>("EDIT_A9A")->text()), "Ｓ３５．２．１０");
    click(form(1), "BUTTON_A7A");
    EXPECT_EQ(fileFamilies().at(0).離婚_F, 1);
    EXPECT_EQ(fileFamilies().at(0).離婚年月日, "Ｓ３５．２．１０");

    // Back to the person register and in again: the family shows as divorced.
    click(form(1), "BUTTON_A9A");
    clickMain("BUTTON_A8A");
    clickFamily(1);
    EXPECT_EQ(s(divorce->text()), "離婚　　離婚年月日");
    EXPECT_TRUE(divorce->isChecked() && !divorce->isEnabled());
    EXPECT_EQ(s(f6<QLineEdit>("EDIT_A9A")->text()), "Ｓ３５．２．１０");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(FamilyForms, SingleParentFamilyWarnsOnceAndLocksTheLineOfDescent) {
    openWith({});
    click(form(1), "BUTTON_A5A");
    ASSERT_TRUE(form(5).isVisible());
    EXPECT_EQ(f2<QListWidget>("LIST_A3A")->count(), 1);
    EXPECT_TRUE(shown(f6("BUTTON_A6A")));
    EXPECT_FALSE(shown(f6("BUTTON_A4A")));

    chooseCombo("COMBO_A2A", "鈴木花子");
    click(form(5), "BUTTON_A6A");
    ASSERT_EQ(dialogs.messages(),
              std::vector<std::string>{
                  "独身警告 / 選択中の婚姻関係は、独身とみなして、非婚姻関係になります"});
    EXPECT_TRUE(f6<QRadioButton>("RADIO_A7A")->isChecked());
    for (const char* radio : {"RADIO_A1A", "RADIO_A2A", "RADIO_A7A"}) {
        EXPECT_FALSE(f6(radio)->isEnabled()) << radio;
    }
    EXPECT_TRUE(f6<QCheckBox>("CHECK_A1A")->isChecked());
    EXPECT_FALSE(f6("CHECK_A1A")->isEnabled());

    // Registered again: the family finds itself; the warning is not repeated.
    click(form(5), "BUTTON_A6A");
    EXPECT_EQ(dialogs.messages().back(), "独身家族構成の重複エラー / １番目に既に登録済です。");
    // FORM6 closed through its frame and opened again by a click on the same family.
    form(5).close();
    EXPECT_FALSE(form(5).isVisible());
    EXPECT_TRUE(form(1).isVisible());
    clickFamily(1);
    EXPECT_TRUE(form(5).isVisible());
    EXPECT_EQ(dialogs.shown.size(), 2u);

    click(form(1), "BUTTON_A7A");
    const auto saved = fileFamilies().at(0);
    EXPECT_EQ(saved.妻NO, 2);
    EXPECT_EQ(saved.夫NO, 0);
    EXPECT_EQ(saved.系統_F, core::Lineage::Maternal);
    EXPECT_EQ(saved.形態L3, core::UnionForm::NonMarital);
}

TEST_F(FamilyForms, ChildrenSectionOpensOnlyWithTheConfirmedCouple) {
    openWith({});
    click(form(1), "BUTTON_A5A");
    chooseCombo("COMBO_A1A", "山田太郎");
    chooseCombo("COMBO_A2A", "鈴木花子");
    click(form(5), "BUTTON_A6A");
    const char* section[] = {"BUTTON_A4A",  "LIST_A2A",    "TEXT31",   "BUTTON_A10A",
                             "BUTTON_A11A", "BUTTON_A12A", "CHECK_A5A"};
    auto sectionShown = [&](bool expected) {
        for (const char* c : section) {
            EXPECT_EQ(shown(f6(c)), expected) << c;
        }
        EXPECT_EQ(shown(f6("BUTTON_A6A")), !expected);
        EXPECT_EQ(shown(f6("BUTTON_A13A")), !expected);
        EXPECT_EQ(shown(f6("CHECK_A21A")), expected);
        EXPECT_EQ(f6("COMBO_A1A")->isEnabled(), !expected);
        EXPECT_EQ(f6("COMBO_A2A")->isEnabled(), !expected);
    };
    sectionShown(false);

    dialogs.answerNo();
    click(form(5), "BUTTON_A13A");
    EXPECT_EQ(dialogs.messages().back(), "確定確認 / 婚姻関係・夫婦名の確定をしてもいいですか");
    sectionShown(false);

    dialogs.answerYes();
    click(form(5), "BUTTON_A13A");
    sectionShown(true);
    EXPECT_FALSE(shown(f6("BUTTON_A17A"))); // no child selected
    EXPECT_EQ(family(1).夫婦確定_f, 1);
    EXPECT_EQ(family(1).夫NO, 1);
    EXPECT_EQ(family(1).妻NO, 2);
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(FamilyForms, ChildrenAreAddedThroughTheCandidateList) {
    openWith({couple(1, 2)});
    clickFamily(1);
    auto* button = f6<QPushButton>("BUTTON_A4A");
    auto* candidates = f6<QListWidget>("LIST_A4A");

    button->click();
    EXPECT_EQ(s(button->text()), "登録決定");
    ASSERT_TRUE(shown(candidates));
    EXPECT_EQ(s(candidates->item(0)->text()), "キャンセル（子供を追加しない）");
    EXPECT_EQ(candidates->count(), 4); // the entry adding nobody and persons 3, 4, 5
    for (const char* off : {"LIST_A3A", "BUTTON_A9A"}) {
        EXPECT_FALSE(f2(off)->isEnabled()) << off;
    }
    EXPECT_FALSE(f6("LIST_A2A")->isEnabled());
    EXPECT_FALSE(f6("CHECK_A2A")->isEnabled());
    EXPECT_FALSE(shown(f2("BUTTON_A5A")) || shown(f2("BUTTON_A7A")));

    // Yes: the couple become the real parents; the title offered is kept.
    chooseCandidate(3);
    dialogs.answerYes();
    dialogs.answerInput("長男");
    button->click();
    EXPECT_EQ(dialogs.messages().back(),
              "警告　実の両親が登録されていません / 父母を実の両親として登録してもいいですか");
    EXPECT_EQ(dialogs.inputs(), std::vector<std::string>{"子の肩書 / 長男"});
    EXPECT_EQ(s(f6<QListWidget>("LIST_A2A")->item(0)->text()), "長男（男 3）山田一郎　");
    EXPECT_EQ(s(button->text()), "子供の追加");
    EXPECT_FALSE(shown(candidates));
    EXPECT_TRUE(f2("LIST_A3A")->isEnabled() && f2("BUTTON_A9A")->isEnabled());
    EXPECT_TRUE(f6("CHECK_A2A")->isEnabled());
    EXPECT_TRUE(shown(f2("BUTTON_A5A")));
    // A family with children cannot be deleted, and says so.
    EXPECT_FALSE(f2("BUTTON_A14A")->isEnabled());
    EXPECT_EQ(s(f2("BUTTON_A14A")->toolTip()),
              "子供のいる家族は削除できません（先に子供をすべて削除してください）");
    ASSERT_EQ(f6<QListWidget>("LIST_A2A")->count(), 1);
    const auto& p3 = app->data().reg.person(3);
    EXPECT_EQ(std::vector<int>({p3.実父NO, p3.実母NO, p3.父母家族NO}), std::vector<int>({1, 2, 1}));

    // No: adopted, the parents stay unknown. The candidate list keeps its rows: the child
    // added is greyed where it was, the others stay where they were.
    button->click();
    ASSERT_EQ(candidates->count(), 4);
    EXPECT_EQ(s(candidates->item(1)->text()), "3 (男) 山田一郎　（この家族の子）");
    EXPECT_FALSE(candidates->item(1)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(s(candidates->item(2)->text()).substr(0, 2), "4 ");
    chooseCandidate(4);
    dialogs.answerNo();
    dialogs.answerInput(std::nullopt); // the title 養女 offered, not taken
    button->click();
    EXPECT_EQ(dialogs.messages().back(), "注意 / 父母の養子として登録しました");
    EXPECT_EQ(childOrder(1), std::vector<int>({3, 4}));
    EXPECT_EQ(family(1).child(2).子の形態, core::ChildKind::Adopted);
    EXPECT_EQ(app->data().reg.person(4).実母NO, 0);
    EXPECT_EQ(dialogs.inputs().back(), "子の肩書 / 養女");
    EXPECT_EQ(family(1).child(2).子の肩書, "");

    // "キャンセル" adds nothing, and neither does closing FORM6 during the choice.
    const auto boxes = dialogs.shown.size();
    button->click();
    clickRow(candidates, 0);
    button->click();
    button->click();
    chooseCandidate(5);
    form(5).close();
    EXPECT_FALSE(form(5).isVisible());
    EXPECT_TRUE(f2("LIST_A3A")->isEnabled());
    EXPECT_EQ(childOrder(1), std::vector<int>({3, 4}));
    EXPECT_EQ(dialogs.shown.size(), boxes);
    clickFamily(1);
    EXPECT_EQ(s(button->text()), "子供の追加");
    EXPECT_FALSE(shown(candidates));

    click(form(1), "BUTTON_A7A");
    EXPECT_EQ(fileFamilies().at(0).子数(), 2);
}

TEST_F(FamilyForms, ChildrenAreMovedReversedAndDeleted) {
    auto persons = defaultPersons();
    persons[2].実父NO = 1;
    persons[2].実母NO = 2;
    persons[2].父母家族NO = 1;
    auto f = couple(1, 2);
    f.子 = {child(3), child(4, 1), child(5)};
    openWith({f}, persons);
    clickFamily(1);
    auto* children = f6<QListWidget>("LIST_A2A");
    ASSERT_EQ(children->count(), 3);
    EXPECT_FALSE(shown(f6("BUTTON_A17A")));

    clickRow(children, 1);
    EXPECT_TRUE(shown(f6("BUTTON_A17A")));
    EXPECT_TRUE(f6<QCheckBox>("CHECK_A3A")->isChecked()); // the adopted child
    click(form(5), "BUTTON_A10A");
    click(form(5), "BUTTON_A10A"); // already first: nothing
    EXPECT_EQ(childOrder(1), std::vector<int>({4, 3, 5}));
    EXPECT_EQ(children->currentRow(), 0);
    click(form(5), "BUTTON_A11A");
    click(form(5), "BUTTON_A11A");
    EXPECT_EQ(childOrder(1), std::vector<int>({3, 5, 4}));
    EXPECT_EQ(children->currentRow(), 2);
    EXPECT_EQ(s(children->item(2)->text()), "子（女 4）山田春子　");

    click(form(5), "BUTTON_A12A");
    EXPECT_EQ(childOrder(1), std::vector<int>({4, 5, 3}));
    EXPECT_EQ(children->currentRow(), -1);
    EXPECT_FALSE(shown(f6("BUTTON_A17A")));

    // The real child: a notice, then the question; its parents are cleared.
    clickRow(children, 2);
    dialogs.answerYes();
    click(form(5), "BUTTON_A17A");
    const auto m = dialogs.messages();
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m[m.size() - 2], "確認 / 削除する子供の親は、実の親です");
    EXPECT_EQ(m.back(), "削除確認 / 本当にこの子を削除してもいいのですか");
    EXPECT_EQ(childOrder(1), std::vector<int>({4, 5}));
    EXPECT_EQ(app->data().reg.person(3).父母家族NO, 0);
    EXPECT_EQ(app->data().reg.person(3).実父NO, 0);

    clickRow(children, 0);
    dialogs.answerNo();
    click(form(5), "BUTTON_A17A");
    EXPECT_EQ(childOrder(1), std::vector<int>({4, 5}));

    clickRow(children, 0);
    dialogs.answerYes();
    click(form(5), "BUTTON_A17A");
    EXPECT_FALSE(f2("BUTTON_A14A")->isEnabled());
    clickRow(children, 0);
    dialogs.answerYes();
    click(form(5), "BUTTON_A17A");
    EXPECT_EQ(children->count(), 0);
    EXPECT_TRUE(f2("BUTTON_A14A")->isEnabled());
    EXPECT_EQ(s(f2("BUTTON_A14A")->toolTip()), "");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(FamilyForms, DeletingFamiliesDownToTheLast) {
    openWith({couple(1, 2), couple(3, 4)});
    clickFamily(1);
    click(form(1), "BUTTON_A14A");
    auto* list = f2<QListWidget>("LIST_A3A");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(s(list->item(0)->text()), "1 : (3) 山田一郎　＝　(4) 山田春子");
    EXPECT_EQ(fileFamilies().size(), 1u);
    EXPECT_EQ(fileFamilies().at(0).夫NO, 3);
    EXPECT_NE(s(f6<QComboBox>("COMBO_A1A")->currentText()).find("山田一郎"), std::string::npos);
    EXPECT_EQ(f2<QComboBox>("COMBO_A5A")->count(), 2);

    // The last one, deleted while a child is being chosen for it: the choice ends with
    // nobody added and FORM2 stays usable.
    click(form(5), "BUTTON_A4A");
    click(form(1), "BUTTON_A14A");
    EXPECT_EQ(app->data().reg.familyCount(), 0);
    EXPECT_FALSE(fs::exists(data.path() / "家族目録.TXT"));
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(form(5).isVisible());
    EXPECT_TRUE(form(1).isVisible());
    EXPECT_FALSE(f2("BUTTON_A21A")->isEnabled());
    EXPECT_EQ(s(f2("BUTTON_A21A")->toolTip()), "家族がまだ登録されていません");
    EXPECT_TRUE(shown(f2("BUTTON_A5A")) && shown(f2("BUTTON_A7A")));
    EXPECT_TRUE(list->isEnabled() && f2("BUTTON_A9A")->isEnabled());
    click(form(1), "BUTTON_A5A");
    EXPECT_TRUE(form(5).isVisible());
    EXPECT_EQ(s(f6<QPushButton>("BUTTON_A4A")->text()), "子供の追加");
    EXPECT_FALSE(shown(f6("LIST_A4A")));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FamilyForms, TitlesAndFlagsAreStoredAndTheExitSavesOrStaysOpen) {
    openWith({couple(1, 2)});
    clickFamily(1);
    f6<QComboBox>("COMBO6")->setEditText("ab");
    click(form(5), "BUTTON42");
    EXPECT_EQ(s(f6<QComboBox>("COMBO6")->currentText()), "ａｂ");
    EXPECT_EQ(f6<QComboBox>("COMBO6")->count(), 1);
    auto* wives = f6<QComboBox>("COMBO7");
    wives->setCurrentIndex(4);
    Q_EMIT wives->activated(4);
    f6<QCheckBox>("CHECK_A21A")->click();
    f6<QCheckBox>("CHECK50")->click();
    f6<QCheckBox>("CHECK44")->click();
    f6<QRadioButton>("RADIO_A2A")->click();
    EXPECT_EQ(family(1).夫肩書, "ａｂ");
    EXPECT_EQ(family(1).妻肩書, "先妻");
    EXPECT_EQ(family(1).配偶者非表示_F, 11);
    EXPECT_EQ(family(1).配偶者姓F, 1);
    EXPECT_EQ(family(1).系統_F, core::Lineage::Paternal);

    // "終　了" whose save fails: a message, the program goes on with nothing lost.
    fs::remove(data.path() / "家族目録.TXT");
    fs::create_directory(data.path() / "家族目録.TXT");
    click(form(1), "BUTTON_A16A");
    EXPECT_FALSE(app->ended());
    EXPECT_TRUE(form(1).isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "保存エラー");

    fs::remove(data.path() / "家族目録.TXT");
    fs::remove(envFile());
    click(form(1), "BUTTON_A16A");
    EXPECT_TRUE(app->ended());
    EXPECT_FALSE(form(1).isVisible() || form(5).isVisible());
    EXPECT_TRUE(fs::exists(envFile()));
    const auto saved = fileFamilies().at(0);
    EXPECT_EQ(saved.妻肩書, "先妻");
    EXPECT_EQ(saved.配偶者非表示_F, 11);
}

TEST_F(FamilyForms, BackToPersonInputAndTheHooksOfTheChartSide) {
    writeSettings(1, 5);
    openWith({couple(1, 2)});
    EXPECT_TRUE(main("BUTTON39")->isEnabled());
    click(form(1), "BUTTON_A5A"); // a family without partners: no chart from MAINFORM
    click(form(1), "BUTTON_A9A");
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(form(1).isVisible() || form(5).isVisible());
    EXPECT_FALSE(main("BUTTON39")->isEnabled());
    clickMain("BUTTON_A8A");
    clickFamily(2);
    click(form(1), "BUTTON_A14A");
    click(form(1), "BUTTON_A9A");
    EXPECT_TRUE(main("BUTTON39")->isEnabled());

    add("山田", "三郎");
    clickMain("BUTTON_A8A");
    EXPECT_EQ(f6<QComboBox>("COMBO_A1A")->count(), 5); // nobody and four men

    int chosen = -1;
    app::familyEditor(*app).baseFamilyChosen = [&chosen](int f) { chosen = f; };
    auto* base = f2<QComboBox>("COMBO_A5A");
    base->setCurrentIndex(1);
    Q_EMIT base->activated(1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(app->data().settings.基準家族, 1);

    app::runFamilyOperation(*app, [](auto& e) { e.setChartSettingsOpen(true); });
    EXPECT_TRUE(s(form(1).windowTitle()).starts_with("基準になる家族の設定"));
    EXPECT_FALSE(f2("BUTTON_A5A")->isEnabled());
    fs::remove(data.path() / "作図設定.TXT");
    click(form(1), "BUTTON_A7A");
    EXPECT_TRUE(fs::exists(data.path() / "作図設定.TXT"));
}

} // namespace
} // namespace gui_test
