// The rules of the main window, the person form and person links, driven through the
// scripted dialogs.
#include "editing/link_editing.h"
#include "editing/person_editing.h"
#include "editing/person_text.h"

#include "common/text.h"
#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <functional>

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

core::Registers registers(std::initializer_list<std::pair<const char*, const char*>> names) {
    core::Registers reg;
    int n = 0;
    for (const auto& [sei, mei] : names) {
        reg.persons.push_back(make(++n, sei, mei));
    }
    return reg;
}

core::Environment environment(int capacity, int mode = 1) {
    core::Environment env;
    env.Mode = static_cast<std::int16_t>(mode);
    env.最大登録人数 = static_cast<std::int16_t>(capacity);
    return env;
}

editing::TypedPerson typed(const char* sei, const char* mei) {
    editing::TypedPerson t;
    t.姓 = sei;
    t.名 = mei;
    return t;
}

// ---- list lines, detail text, parent lines, sex lock --------------------------------------

TEST(PersonLines, ListAndChoiceLines) {
    core::Registers reg;
    auto a = make(1, "山田", "太郎");
    a.生年月日 = "昭和５年３月１日";
    a.住所1 = "東京都";
    a.住所2 = "一丁目";
    a.本籍1 = "大阪府";
    reg.persons.push_back(a);
    auto b = make(2, "", "", 2);
    b.本籍1 = "京都府";
    b.本籍2 = "二番地";
    reg.persons.push_back(b);
    auto c = make(3, "スミス", "ジョン", 0); // sex not set counts as male
    reg.persons.push_back(c);

    EXPECT_EQ(editing::personListLine(reg, 1),
              "1 (男) 山田太郎　(生年月日 昭和５年３月１日）（住所：東京都一丁目）");
    EXPECT_EQ(editing::personChoiceLine(reg, 1), "1 (男) 山田太郎　（住所：東京都一丁目）");
    EXPECT_EQ(editing::personListLine(reg, 2), "2 (女) 氏名不詳　（本籍：京都府二番地）");
    EXPECT_EQ(editing::personListLine(reg, 3), "3 (男) スミス・ジョン　");
}

TEST(PersonLines, DetailTextOfLinkTargetAndSource) {
    auto reg = registers({{"山田", "太郎"}, {"山田", "花子"}, {"山田", "一郎"}, {"", ""}});
    auto& p = reg.person(3);
    p.実父NO = 1;
    p.実母NO = 2;
    p.男女 = 1;
    p.生年月日 = "平成１年";
    p.備考2 = "メモ";
    p.創始階層 = -2;
    reg.person(4).C_当事者NO = 3; // 4 links to 3
    const std::string text = editing::personDetailText(reg, 3);
    EXPECT_EQ(text, "当事者Ｎｏ：3　　当事者Ｎｏ：4のリンク元\r\n"
                    "　　　性別：男\r\n"
                    "　　　氏名：山田一郎\r\n"
                    "　生年月日：平成１年\r\n"
                    "死亡年月日：\r\n"
                    "　　住所１：\r\n"
                    "　　住所２：\r\n"
                    "　　本籍１：\r\n"
                    "　　本籍２：\r\n"
                    "　　備考１：\r\n"
                    "　　備考２：メモ\r\n"
                    "　　　実父：1 山田太郎\r\n"
                    "　　　実母：2 山田花子\r\n"
                    "創始階層登録-2\r\n");
    const std::string target = editing::personDetailText(reg, 4);
    EXPECT_EQ(target.substr(0, target.find("\r\n")), "当事者Ｎｏ：4　　当事者Ｎｏ：3のリンク先");
    EXPECT_NE(target.find("　　　氏名：氏名不詳\r\n"), std::string::npos);
    EXPECT_NE(target.find("　　　実父：\r\n"), std::string::npos);
    EXPECT_NE(target.find("創始階層登録 0\r\n"), std::string::npos);
}

TEST(PersonLines, ParentLineIsCutAtACharacterBoundary) {
    auto reg = registers({{"長谷川", "一二三四五六七八"}});
    // "実父：" 6 bytes + "1 " 2 bytes + 11 kanji: 30 bytes fit exactly.
    EXPECT_EQ(editing::parentLine("実父：", reg, 1), "実父：1 長谷川一二三四五六七八");
    reg.person(1).名 = "一二三四五六七八九";
    const std::string cut = editing::parentLine("実父：", reg, 1);
    EXPECT_EQ(cut, "実父：1 長谷川一二三四五六七八"); // the 31st byte would split 九
    // With a two-digit number the cut falls in the middle of a character: one byte short.
    core::Registers many;
    for (int i = 1; i <= 12; ++i) {
        many.persons.push_back(make(i, "長谷川", "一二三四五六七八"));
    }
    const std::string line = editing::parentLine("実母：", many, 12);
    EXPECT_EQ(line, "実母：12 長谷川一二三四五六七");
    EXPECT_EQ(common::sjisWidth(line), 29u);
    EXPECT_EQ(editing::parentLine("実母：", many, 0), "実母：");
}

TEST(PersonLines, SexIsLockedForHusbandsAndWivesOnly) {
    auto reg = registers({{"a", "a"}, {"b", "b"}, {"c", "c"}});
    core::家族 f;
    f.妻NO = 2;
    f.子.push_back({3, "長男", core::ChildKind::Birth, "", ""});
    reg.families.push_back(f);
    EXPECT_FALSE(editing::sexLocked(reg, 1));
    EXPECT_TRUE(editing::sexLocked(reg, 2));
    EXPECT_FALSE(editing::sexLocked(reg, 3)); // only a child
}

// ---- adding and committing -------------------------------------------------------------

TEST(PersonCommit, NamesakeYesAppendsWithTheNextNumber) {
    auto reg = registers({{"山田", "太郎"}, {"佐藤", "花子"}});
    ScriptedDialogs d;
    auto session = editing::beginAdd(reg, environment(10), d);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->person, 3);
    d.answerYes();
    EXPECT_EQ(editing::commitPerson(reg, *session, typed("山田", "太郎"), d),
              editing::CommitOutcome::Accepted);
    ASSERT_EQ(reg.personCount(), 3);
    EXPECT_EQ(reg.person(3).名, "太郎");
    EXPECT_EQ(reg.person(3).C_当事者NO, 3);
    ASSERT_EQ(d.messages().size(), 1u);
    EXPECT_EQ(d.messages()[0], " 1番目に同姓同名が登録されています / 別人として登録しますか？");
    EXPECT_EQ(d.shown[0].icon, common::Icon::Exclamation);
    EXPECT_EQ(d.shown[0].buttons, common::Buttons::YesNo);
}

TEST(PersonCommit, NoThenYesAcceptsAndADifferentSurnameIsPassedOver) {
    auto reg = registers({{"山田", "太郎"}, {"鈴木", "太郎"}, {"山田", "太郎"}});
    ScriptedDialogs d;
    auto session = editing::beginAdd(reg, environment(10), d);
    d.answerNo();
    d.answerYes();
    EXPECT_EQ(editing::commitPerson(reg, *session, typed("山田", "太郎"), d),
              editing::CommitOutcome::Accepted);
    EXPECT_EQ(reg.personCount(), 4);
    ASSERT_EQ(d.messages().size(), 2u);
    EXPECT_EQ(d.shown[0].title, " 1番目に同姓同名が登録されています");
    EXPECT_EQ(d.shown[1].title, " 3番目に同姓同名が登録されています");
}

TEST(PersonCommit, NoToEveryNamesakeCancelsTheAddition) {
    auto reg = registers({{"山田", "太郎"}, {"山田", "太郎"}});
    reg.person(1).備考1 = "元";
    const auto before = reg.persons;
    ScriptedDialogs d;
    auto session = editing::beginAdd(reg, environment(10), d);
    d.answerNo();
    d.answerNo();
    EXPECT_EQ(editing::commitPerson(reg, *session, typed("山田", "太郎"), d),
              editing::CommitOutcome::Refused);
    EXPECT_EQ(reg.persons, before);
    EXPECT_TRUE(d.scriptUsedUp());
}

TEST(PersonCommit, EditingAsksOnlyAboutEarlierNamesakes) {
    auto reg = registers({{"a", "a"}, {"山田", "太郎"}, {"c", "c"}, {"d", "d"}, {"山田", "太郎"}});
    ScriptedDialogs d; // any question would throw
    auto session = editing::beginEdit(reg, 2);
    auto t = typed("山田", "太郎");
    t.住所1 = "東京";
    EXPECT_EQ(editing::commitPerson(reg, session, t, d), editing::CommitOutcome::Accepted);
    EXPECT_EQ(reg.person(2).住所1, "東京");
    EXPECT_TRUE(d.shown.empty());

    // Person 5 renamed to a namesake of 2, refused: names back, other fields kept.
    reg.person(5).名 = "次郎";
    auto s5 = editing::beginEdit(reg, 5);
    auto t5 = typed("山田", "太郎");
    t5.住所1 = "大阪";
    d.answerNo();
    EXPECT_EQ(editing::commitPerson(reg, s5, t5, d), editing::CommitOutcome::Refused);
    EXPECT_EQ(reg.person(5).名, "次郎");
    EXPECT_EQ(reg.person(5).住所1, "大阪");
    EXPECT_EQ(reg.personCount(), 5);
}

TEST(PersonCommit, TypedTextsAreStoredFullWidth) {
    auto reg = registers({{"a", "b"}});
    ScriptedDialogs d;
    auto session = editing::beginEdit(reg, 1);
    auto t = typed("ｶﾞｲ", "A,B:C");
    t.備考1 = "\"x\" 1";
    t.創始階層 = "　３ ";
    t.female = true;
    t.当姓 = true;
    ASSERT_EQ(editing::commitPerson(reg, session, t, d), editing::CommitOutcome::Accepted);
    const auto& p = reg.person(1);
    EXPECT_EQ(p.姓, "ガイ");
    EXPECT_EQ(p.名, "Ａ，Ｂ：Ｃ");
    EXPECT_EQ(p.備考1, "”ｘ”　１");
    EXPECT_EQ(p.創始階層, 3);
    EXPECT_EQ(p.男女, 2);
    EXPECT_EQ(p.当姓, 1);
    EXPECT_TRUE(common::readsBackUnquoted(p.名));
}

TEST(PersonCommit, UnencodableCharacterStoresNothingUnlessAccepted) {
    auto reg = registers({{"山田", "太郎"}});
    const auto before = reg.persons;
    ScriptedDialogs d;
    auto session = editing::beginEdit(reg, 1);
    auto t = typed("山田", "太郎");
    t.住所2 = "𠮷野町";
    t.生年月日 = "昭和";
    d.answerNo();
    EXPECT_EQ(editing::commitPerson(reg, session, t, d), editing::CommitOutcome::NotStored);
    EXPECT_EQ(reg.persons, before);
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_NE(d.shown[0].text.find("「住所２」の「𠮷」（U+20BB7）"), std::string::npos);

    d.answerYes();
    d.answerYes(); // "昭和" is kept as it is, though no date
    EXPECT_EQ(editing::commitPerson(reg, session, t, d), editing::CommitOutcome::Accepted);
    EXPECT_EQ(reg.person(1).住所2, "■野町");
    EXPECT_EQ(reg.person(1).生年月日, "昭和");
}

TEST(PersonCommit, FounderLevelMustBeAWholeNumber) {
    auto reg = registers({{"山田", "太郎"}});
    const auto before = reg.persons;
    ScriptedDialogs d;
    auto session = editing::beginEdit(reg, 1);
    for (const char* bad : {"abc", "1.5", "40000", "-"}) {
        auto t = typed("x", "y");
        t.創始階層 = bad;
        EXPECT_EQ(editing::commitPerson(reg, session, t, d), editing::CommitOutcome::NotStored)
            << bad;
        EXPECT_EQ(reg.persons, before);
    }
    EXPECT_EQ(d.shown.size(), 4u);
    EXPECT_EQ(d.shown[0].title, "入力エラー");
    EXPECT_NE(d.shown[0].text.find("創始階層登録"), std::string::npos);
}

TEST(PersonAdd, RefusedAtCapacityAndNameOrderFollowsMode) {
    auto reg = registers({{"a", "a"}, {"b", "b"}});
    ScriptedDialogs d;
    EXPECT_FALSE(editing::beginAdd(reg, environment(2), d));
    EXPECT_EQ(reg.personCount(), 2);
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_NE(d.shown[0].text.find("「KANKYO.TXT」の「最大登録人数」（2人）"), std::string::npos);

    auto normal = editing::beginAdd(reg, environment(5, 1), d);
    EXPECT_EQ(reg.person(3).姓名順, 0);
    editing::cancelSession(reg, *normal);
    EXPECT_EQ(reg.personCount(), 2);
    auto vira = editing::beginAdd(reg, environment(5, 0), d);
    EXPECT_EQ(reg.person(3).姓名順, 1);
    EXPECT_EQ(vira->committedCount, 2);
}

TEST(PersonSearch, GivenNameOnlyExactAndFromAPosition) {
    auto reg = registers({{"山田", "太郎"}, {"太郎", "花子"}, {"佐藤", "太郎"}, {"x", "ＡＢ"}});
    EXPECT_EQ(editing::findByGivenName(reg, "太郎", 1), 1);
    EXPECT_EQ(editing::findByGivenName(reg, "太郎", 2), 3);
    EXPECT_EQ(editing::findByGivenName(reg, "太郎", 4), 0);
    EXPECT_EQ(editing::findByGivenName(reg, "山田", 1), 0); // a surname is not found
    EXPECT_EQ(editing::findByGivenName(reg, "太", 1), 0);
    EXPECT_EQ(editing::findByGivenName(reg, "AB", 1), 4); // typed half-width
}

TEST(TypedText, IntegersAndStrNumber) {
    EXPECT_EQ(editing::typedInteger(""), 0);
    EXPECT_EQ(editing::typedInteger(" -12 "), -12);
    EXPECT_EQ(editing::typedInteger("－３２７６８"), -32768);
    EXPECT_EQ(editing::typedInteger("32767"), 32767);
    EXPECT_FALSE(editing::typedInteger("32768"));
    EXPECT_FALSE(editing::typedInteger("1 2"));
    EXPECT_EQ(editing::strNumber(5), " 5");
    EXPECT_EQ(editing::strNumber(-5), "-5");
    EXPECT_EQ(editing::replaceUnencodable("a😀b"), "a■b");
}

// ---- person links ------------------------------------------------------------------------

// Persons 1..n alternating male (odd) and female (even), names P1, P2, ...
core::Registers linkRegisters(int n) {
    core::Registers reg;
    for (int i = 1; i <= n; ++i) {
        reg.persons.push_back(make(i, "P", std::to_string(i).c_str(), i % 2 ? 1 : 2));
    }
    return reg;
}

std::string name(int n) {
    return "P" + std::to_string(n);
}

TEST(LinkSet, CandidatesAreOtherPersonsOfTheSameSex) {
    auto reg = linkRegisters(6);
    ScriptedDialogs d;
    // Person 2 is female in the register but set male in the form.
    const auto c = editing::beginLink(reg, 2, false, name(2), d);
    ASSERT_TRUE(c);
    EXPECT_EQ(*c, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(reg.person(2).男女, 1);
    EXPECT_TRUE(d.shown.empty());
}

TEST(LinkSet, ASourceCannotBecomeATargetAndNobodyOfTheSameSex) {
    auto reg = linkRegisters(4);
    reg.person(3).C_当事者NO = 1;
    ScriptedDialogs d;
    EXPECT_FALSE(editing::beginLink(reg, 1, false, name(1), d));
    ASSERT_EQ(d.messages().size(), 1u);
    EXPECT_EQ(d.messages()[0],
              "リンクエラー / P1は、\n 3:P3からリンクされているので、\nリンクできません。");

    auto two = linkRegisters(2);
    ScriptedDialogs e;
    EXPECT_FALSE(editing::beginLink(two, 1, false, name(1), e));
    EXPECT_EQ(e.messages(),
              (std::vector<std::string>{"警告 / まだ登録できる状態ではありません。"}));
}

TEST(LinkSet, ChosenTargetLinksToItsSourceWithBothNotices) {
    auto reg = linkRegisters(7);
    reg.person(3).C_当事者NO = 1; // 3 is a target of 1
    reg.person(1).備考1 = "旧姓";
    reg.person(5).子孫_F = 2;
    ScriptedDialogs d;
    const auto out = editing::chooseLinkSource(reg, 5, 3, "新しい人", d);
    EXPECT_TRUE(out.linked);
    EXPECT_EQ(out.source, 1);
    EXPECT_EQ(out.remark1, "P1");
    EXPECT_EQ(reg.person(5).C_当事者NO, 1);
    EXPECT_EQ(reg.person(1).備考1, "旧姓　新しい人");
    EXPECT_EQ(reg.person(1).子孫_F, 2);
    EXPECT_EQ(d.messages(),
              (std::vector<std::string>{
                  "当事者リンクメッセージ / 選択したP3は、既に\nP1がリンク元になっています。",
                  "当事者リンクメッセージ / 新しい人のリンク元は、\nP1になります。"}));
    EXPECT_EQ(editing::linkLabel(out.source), "No: 1");
}

TEST(LinkSet, DirectLinkKeepsTheSourcesDescendantFamily) {
    auto reg = linkRegisters(3);
    reg.person(1).子孫_F = 4;
    reg.person(3).子孫_F = 2;
    ScriptedDialogs d;
    const auto out = editing::chooseLinkSource(reg, 3, 1, "P3", d);
    EXPECT_TRUE(out.linked);
    EXPECT_EQ(reg.person(1).子孫_F, 4);
    EXPECT_EQ(reg.person(1).備考1, "P3");
    EXPECT_TRUE(d.shown.empty());
}

// Each refusal: its title, its exact text, and nothing linked.
TEST(LinkSet, DoubleRegistrationOfRealParentsIsRefused) {
    struct Case {
        const char* what;
        std::function<void(core::Registers&)> setup;
        int s;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"1: the chosen source has real parents",
         [](core::Registers& r) { r.person(1).実父NO = 9; }, 1,
         "実の親の二重登録によるリンクエラー",
         "P5には実の親がいて、\nP1(1）にも、既に実の親がいます。\nよってリンクできません。"},
        {"2: another target of the source has real parents",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(3).実母NO = 9;
         },
         1, "実の親の二重登録によるリンクエラー",
         "P5には実の親がいて、\n同じくP1(1）をリンク元にしている、\nP3(3）にも、実の親がいます。\n"
         "よってリンクできません。"},
        {"3: the source of the chosen target has real parents",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(1).実父NO = 9;
         },
         3, "実の親の二重登録によるリンクエラー",
         "P5には実の親がいて、\nP1(1）にも、既に実の親がいます。\nよってリンクできません。"},
        {"4: another target of that source has real parents",
         [](core::Registers& r) {
             r.person(3).C_当事者NO = 1;
             r.person(7).C_当事者NO = 1;
             r.person(7).実父NO = 9;
         },
         3, "実の親の二重登録によるリンクエラー",
         "P5には実の親がいて、\nP1(1）をリンク元にしている、\nP7(7）に、実の親がいます。\n"
         "よってリンクできません。"},
    };
    for (const auto& c : cases) {
        auto reg = linkRegisters(9);
        reg.person(5).実父NO = 8; // the person being linked has real parents
        c.setup(reg);
        const auto before = reg.persons;
        ScriptedDialogs d;
        const auto out = editing::chooseLinkSource(reg, 5, c.s, "P5", d);
        EXPECT_FALSE(out.linked) << c.what;
        EXPECT_EQ(reg.persons, before) << c.what;
        ASSERT_FALSE(d.shown.empty()) << c.what;
        EXPECT_EQ(d.shown.back().title, c.title) << c.what;
        EXPECT_EQ(d.shown.back().text, c.text) << c.what;
        EXPECT_EQ(d.shown.back().icon, common::Icon::Exclamation) << c.what;
    }
}

TEST(LinkSet, OwnSourceIsRefused) {
    auto reg = linkRegisters(3);
    ScriptedDialogs d;
    EXPECT_FALSE(editing::chooseLinkSource(reg, 3, 3, "P3", d).linked);
    EXPECT_EQ(d.messages(),
              (std::vector<std::string>{
                  "同一人登録によるリンクエラー / リンク先とリンク元が同一になります。"
                  "\nよってリンクできません。"}));
    EXPECT_EQ(reg.person(3).C_当事者NO, 3);
}

TEST(LinkRemove, DescendantFlagReturnsToTheSourcesOwn) {
    auto reg = linkRegisters(5);
    core::家族 f1;
    f1.子.push_back({3, "", core::ChildKind::Birth, "", ""});
    reg.families = {f1, core::家族{}};
    reg.person(3).C_当事者NO = 1;
    reg.person(1).子孫_F = 1; // came through target 3, a child of family 1
    reg.person(1).子孫_FL = 2;
    ScriptedDialogs d;
    editing::removeLink(reg, 3, true, d);
    EXPECT_EQ(reg.person(3).C_当事者NO, 3);
    EXPECT_EQ(reg.person(1).子孫_F, 2);
    EXPECT_EQ(
        d.messages(),
        (std::vector<std::string>{
            "子孫フラッグ関連メッセージ / リンク解除により子孫フラッグが付け変わりました。"}));

    // The last link of a source without a flag of its own: back to 0, no message.
    auto lone = linkRegisters(3);
    lone.families = {f1};
    lone.person(3).C_当事者NO = 1;
    lone.person(1).子孫_F = 1;
    ScriptedDialogs e;
    editing::removeLink(lone, 3, true, e);
    EXPECT_EQ(lone.person(1).子孫_F, 0);
    EXPECT_TRUE(e.shown.empty());
}

TEST(LinkRemove, FlagStaysWhileAnotherTargetIsAChildAndMovesToATargetsFamily) {
    auto reg = linkRegisters(7);
    core::家族 f1;
    f1.子.push_back({3, "", core::ChildKind::Birth, "", ""});
    f1.子.push_back({5, "", core::ChildKind::Birth, "", ""});
    reg.families = {f1, core::家族{}, core::家族{}};
    reg.person(3).C_当事者NO = 1;
    reg.person(5).C_当事者NO = 1;
    reg.person(1).子孫_F = 1;
    ScriptedDialogs d;
    editing::removeLink(reg, 3, true, d); // 5 is still a child of family 1 linking to 1
    EXPECT_EQ(reg.person(1).子孫_F, 1);
    EXPECT_TRUE(d.shown.empty());

    // Family 1 no longer holds a child linked to 1: the flag moves to target 7's own family.
    reg.families[0].子.clear();
    reg.person(7).C_当事者NO = 1;
    reg.person(7).子孫_FL = 3;
    editing::removeLink(reg, 5, true, d);
    EXPECT_EQ(reg.person(1).子孫_F, 3);
    EXPECT_EQ(d.shown.size(), 1u);

    // Without a register file the flag is left alone.
    reg.person(1).子孫_F = 1;
    editing::removeLink(reg, 7, false, d);
    EXPECT_EQ(reg.person(7).C_当事者NO, 7);
    EXPECT_EQ(reg.person(1).子孫_F, 1);
}

} // namespace
