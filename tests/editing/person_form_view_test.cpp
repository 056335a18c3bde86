// What the person form shows when it opens, the name as typed before a commit, and clearing
// the link box with and without a person register file in the data folder.
#include "editing/person_form.h"

#include "core/constants.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ScriptedDialogs;

core::当事者 make(int n, const char* sei, const char* mei, int sex = 1) {
    core::当事者 p;
    p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
    p.姓 = sei;
    p.名 = mei;
    p.男女 = static_cast<std::int16_t>(sex);
    return p;
}

core::Registers fourPersons() {
    core::Registers reg;
    reg.persons = {make(1, "山田", "太郎"), make(2, "山田", "花子", 2), make(3, "山田", "一郎"),
                   make(4, "鈴木", "次郎")};
    return reg;
}

TEST(PersonFormView, ShowsTheRecordAsTyped) {
    auto reg = fourPersons();
    auto& p = reg.person(2);
    p.住所1 = "東京都";
    p.本籍2 = "一番地";
    p.備考1 = "メモ";
    p.死亡年月日 = "令和元年";
    p.創始階層 = -3;
    p.当姓 = 1;
    p.実父NO = 1;
    p.実母NO = 9; // beyond the register: the number alone
    const auto view = editing::personFormView(reg, editing::beginEdit(reg, 2));
    EXPECT_EQ(view.numberCaption, "当事者Ｎｏ : 2");
    EXPECT_EQ(view.fields.姓, "山田");
    EXPECT_EQ(view.fields.名, "花子");
    EXPECT_EQ(view.fields.住所1, "東京都");
    EXPECT_EQ(view.fields.本籍2, "一番地");
    EXPECT_EQ(view.fields.備考1, "メモ");
    EXPECT_EQ(view.fields.死亡年月日, "令和元年");
    EXPECT_EQ(view.fields.創始階層, "-3");
    EXPECT_TRUE(view.fields.female);
    EXPECT_TRUE(view.fields.当姓);
    EXPECT_EQ(view.fatherLine, "実父：1 山田太郎");
    EXPECT_EQ(view.motherLine, "実母：9 ");
    EXPECT_FALSE(view.givenNameFirst);
    EXPECT_FALSE(view.linked);
    EXPECT_TRUE(view.linkLabel.empty());
    EXPECT_TRUE(view.linkable);
    EXPECT_FALSE(view.sexLocked);
    EXPECT_TRUE(view.copyAvailable);

    // The given name first only for name order 1.
    p.姓名順 = 1;
    EXPECT_TRUE(editing::personFormView(reg, editing::beginEdit(reg, 2)).givenNameFirst);
    p.姓名順 = 2;
    EXPECT_FALSE(editing::personFormView(reg, editing::beginEdit(reg, 2)).givenNameFirst);
}

TEST(PersonFormView, LinksSexLockAndCopyAvailability) {
    auto reg = fourPersons();
    reg.person(3).C_当事者NO = 1; // 3 links to source 1
    core::家族 f;
    f.妻NO = 2;
    reg.families = {f};

    const auto target = editing::personFormView(reg, editing::beginEdit(reg, 3));
    EXPECT_TRUE(target.linked);
    EXPECT_EQ(target.linkLabel, "No: 1");
    EXPECT_TRUE(target.linkable);

    const auto source = editing::personFormView(reg, editing::beginEdit(reg, 1));
    EXPECT_FALSE(source.linked);
    EXPECT_FALSE(source.linkable); // a source cannot be linked

    EXPECT_TRUE(editing::personFormView(reg, editing::beginEdit(reg, 2)).sexLocked);

    // A new person in an empty register has nobody to copy from.
    core::Registers empty;
    core::Environment env;
    env.最大登録人数 = 10;
    ScriptedDialogs d;
    const auto adding = editing::beginAdd(empty, env, d);
    ASSERT_TRUE(adding);
    const auto view = editing::personFormView(empty, *adding);
    EXPECT_FALSE(view.copyAvailable);
    EXPECT_EQ(view.numberCaption, "当事者Ｎｏ : 1");
    EXPECT_EQ(view.fields.創始階層, "0");
    EXPECT_FALSE(view.fields.female);
}

TEST(PersonFormView, TypedNameIsFullWidthWithTheStoredPartsStandingIn) {
    const auto p = make(5, "山田", "太郎");
    EXPECT_EQ(editing::typedDisplayName(p, "Ｐ", "new"), "Ｐ・ｎｅｗ");
    EXPECT_EQ(editing::typedDisplayName(p, "鈴木", "一郎"), "鈴木一郎");
    // From the first part Shift-JIS cannot hold, the stored parts stand in.
    EXPECT_EQ(editing::typedDisplayName(p, "鈴木", "𠮷"), "鈴木太郎");
    EXPECT_EQ(editing::typedDisplayName(p, "𠮷", "一郎"), "山田太郎");
    EXPECT_EQ(editing::typedDisplayName(make(6, "", ""), "", ""), "氏名不詳");
}

TEST(PersonFormView, ClearingTheLinkRepairsTheFlagOnlyWithARegisterFile) {
    // 3 links to 1; 1's descendant flag came through 3, a child of family 1.
    auto prepare = [](core::DataFolder& data) {
        data.reg = fourPersons();
        core::家族 f1;
        f1.子.push_back({3, "", core::ChildKind::Birth, "", ""});
        data.reg.families = {f1, core::家族{}};
        data.reg.person(3).C_当事者NO = 1;
        data.reg.person(1).子孫_F = 1;
        data.reg.person(1).子孫_FL = 2;
    };
    testing_support::TempDir folder;
    core::DataFolder data;
    data.folder = folder.path();
    prepare(data);
    ScriptedDialogs quiet;
    editing::unlinkPerson(data, 3, quiet);
    EXPECT_EQ(data.reg.person(3).C_当事者NO, 3);
    EXPECT_EQ(data.reg.person(1).子孫_F, 1); // no register file: left alone
    EXPECT_TRUE(quiet.shown.empty());

    folder.write(std::string(core::kPersonFile), "");
    prepare(data);
    ScriptedDialogs told;
    editing::unlinkPerson(data, 3, told);
    EXPECT_EQ(data.reg.person(3).C_当事者NO, 3);
    EXPECT_EQ(data.reg.person(1).子孫_F, 2);
    EXPECT_EQ(told.shown.size(), 1u);
}

} // namespace
