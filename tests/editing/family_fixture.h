// A data folder with a few persons and a family editor on it, answering through the
// scripted dialogs, for the family and child editing tests.
#pragma once

#include "core/data_folder.h"
#include "editing/family_editing.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace family_testing {

class FamilyFixture : public ::testing::Test {
protected:
    FamilyFixture() {
        data.folder = dir.path();
        data.env.最大登録人数 = 100;
        data.env.最大婚姻数 = 20;
        data.env.一世帯当りの子供の最大数 = 10;
        data.env.一般 = {"子", "養子"};
        data.env.息子 = {"長男", "二男"};
        data.env.娘 = {"長女", "二女"};
        data.env.夫 = core::defaultHusbandTitles();
        data.env.妻 = core::defaultWifeTitles();
        data.settings = core::firstUseSettings(0);
    }

    // Appends a person (sex 1 male, 2 female) and returns its number.
    int addPerson(const char* sei, const char* mei, int sex) {
        core::当事者 p;
        const auto n = static_cast<std::int16_t>(data.reg.personCount() + 1);
        p.当事者NO = p.C_当事者NO = n;
        p.姓 = sei;
        p.名 = mei;
        p.男女 = static_cast<std::int16_t>(sex);
        data.reg.persons.push_back(p);
        return n;
    }

    editing::FamilyEditor& editor() {
        if (!ed) {
            ed = std::make_unique<editing::FamilyEditor>(data, dialogs);
            ed->open();
        }
        return *ed;
    }
    editing::FamilyControls& ctl() { return editor().controls(); }
    core::家族& family(int n) { return data.reg.family(n); }
    core::当事者& person(int n) { return data.reg.person(n); }

    void choosePartners(int husband, int wife) {
        ctl()["COMBO_A1A"].current = editor().husbandChoices().entryOf(husband);
        ctl()["COMBO_A2A"].current = editor().wifeChoices().entryOf(wife);
    }

    // A user's click on a check box: the box changes, then its event runs.
    void click(const char* box, bool checked, void (editing::FamilyEditor::*op)()) {
        ctl().check(box, checked);
        (editor().*op)();
    }

    // Creates a family of `husband` and `wife` with "新規追加" and "リスト登録" and, unless
    // `confirm` is false, confirms it with Yes. `nonMarriage` ticks "非婚姻関係" first.
    int makeFamily(int husband, int wife, bool nonMarriage = false, bool confirm = true) {
        if (ctl()["LIST_A3A"].current >= 0 && data.reg.familyCount() > 0 &&
            data.reg.family(editor().currentFamily()).夫婦確定_f == 0 &&
            (data.reg.family(editor().currentFamily()).夫NO != 0 ||
             data.reg.family(editor().currentFamily()).妻NO != 0)) {
            dialogs.answerNo(); // "新規追加" first offers to confirm the selected family
        }
        editor().newFamily();
        choosePartners(husband, wife);
        editor().registerFamily();
        if (nonMarriage) {
            click("CHECK_A1A", true, &editing::FamilyEditor::nonMarriageClicked);
        }
        if (confirm) {
            dialogs.answerYes();
            editor().confirmCouple();
        }
        return editor().currentFamily();
    }

    // "子供の追加", a click on the candidate `person`, "登録決定", for a child that is
    // entered: the title box offered then is answered with `title` (nullopt cancels it,
    // leaving the child without a title).
    void addChild(int person, std::optional<std::string> title = std::nullopt) {
        dialogs.answerInput(std::move(title));
        chooseChild(person);
    }
    // The same for a child that is not entered (refused, or 0 for "キャンセル"): no title box.
    void chooseChild(int person) {
        editor().childSelectionButton();
        editor().chooseCandidate(editor().candidates().entryOf(person));
        editor().childSelectionButton();
    }

    void selectChild(int slot) {
        ctl()["LIST_A2A"].current = slot - 1;
        editor().selectChild();
    }

    std::vector<std::string> takeMessages() {
        auto m = dialogs.messages();
        dialogs.shown.clear();
        return m;
    }

    testing_support::TempDir dir;
    testing_support::ScriptedDialogs dialogs;
    core::DataFolder data;
    std::unique_ptr<editing::FamilyEditor> ed;
};

} // namespace family_testing
