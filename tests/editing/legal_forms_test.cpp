// The legal chart dialogs' rules: typed texts stored in full width or refused by the first
// that Shift-JIS cannot hold, FORM8's options, FORM10's heir list and options, FORM11's
// applicant.
#include "editing/legal_forms.h"

#include <gtest/gtest.h>

namespace {

const char* const kEmoji = "\xF0\x9F\x98\x80";

TEST(TypedTexts, FullWidthOrTheFirstRefused) {
    const editing::FullWidthTexts wide =
        editing::fullWidthTexts({{"住所", "2-3 abc"}, {"氏名", "ﾔﾏﾀﾞ"}, {"日付", ""}});
    EXPECT_FALSE(wide.refusal);
    EXPECT_EQ(wide.texts, (std::vector<std::string>{"２－３　ａｂｃ", "ヤマダ", ""}));

    const std::string bad = std::string("北沢") + kEmoji;
    const editing::FullWidthTexts refused =
        editing::fullWidthTexts({{"一", "a"}, {"二", bad}, {"三", kEmoji}});
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(refused.refusal->field, 1u);
    EXPECT_EQ(refused.refusal->message, "二「" + bad + "」に、Shift-JISで書けない文字があります。");
    EXPECT_TRUE(refused.texts.empty());
}

TEST(ExplanationOptions, StoredInFullWidthOrNotAtAll) {
    core::DrawingSettings s;
    s.被相続人の情報欄を表示する = true;
    s.登記簿上の住所２ = "二行目";
    editing::ExplanationOptions o = editing::explanationOptions(s);
    EXPECT_TRUE(o.deceasedInfo);
    EXPECT_FALSE(o.returnNote);
    EXPECT_EQ(o.registryAddress[1], "二行目");

    o.returnNote = true;
    o.registryAddress = {"1-2", "", "x", "ｶﾅ"};
    const core::DrawingSettings before = s;
    o.registryAddress[2] = kEmoji;
    const auto refusal = editing::storeExplanationOptions(o, s);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, 2u);
    EXPECT_EQ(refusal->message, std::string("登記簿上の住所の3行目「") + kEmoji +
                                    "」に、Shift-JISで書けない文字があります。");
    EXPECT_EQ(s, before);

    o.registryAddress[2] = "x";
    EXPECT_EQ(editing::storeExplanationOptions(o, s), std::nullopt);
    EXPECT_EQ(s.登記簿上の住所１, "１－２");
    EXPECT_EQ(s.登記簿上の住所２, "");
    EXPECT_EQ(s.登記簿上の住所３, "ｘ");
    EXPECT_EQ(s.登記簿上の住所４, "カナ");
    EXPECT_TRUE(s.戸籍還付欄を表示する);
    EXPECT_EQ(editing::explanationOptions(s).registryAddress[0], "１－２");
}

core::当事者 person(int n, const char* sei, const char* mei, int sex) {
    core::当事者 p;
    p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
    p.姓 = sei;
    p.名 = mei;
    p.男女 = static_cast<std::int16_t>(sex);
    return p;
}

// 太郎 and 花子 with their son 一郎; 次郎 is in no family.
core::Registers household() {
    core::Registers reg;
    reg.persons = {person(1, "山田", "太郎", 1), person(2, "山田", "花子", 2),
                   person(3, "山田", "一郎", 1), person(4, "鈴木", "次郎", 1)};
    reg.person(2).住所1 = "東京都";
    reg.person(2).住所2 = "一番地";
    core::家族 f;
    f.夫NO = 1;
    f.妻NO = 2;
    core::Child c;
    c.子NO = 3;
    f.子.push_back(c);
    reg.families.push_back(f);
    return reg;
}

TEST(HeirList, PersonsNotListedAreNoHeirs) {
    const core::Registers reg = household();
    core::DrawingSettings s;
    s.setHeir(2, true);
    s.setHeir(4, true);
    const std::vector<int> list = editing::openHeirList(s, reg, 1, 1);
    EXPECT_EQ(list, (std::vector<int>{2, 3}));
    EXPECT_EQ(s.heirs(), std::vector<int>{2});
    EXPECT_EQ(editing::heirSelection(s, list), (std::vector<bool>{true, false}));
    const std::vector<std::string> lines = editing::heirListLines(reg, list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("2 (女) 山田花子", 0), 0u) << lines[0];
}

TEST(HeirList, TheSelectionAndOptionsStoredTogether) {
    core::DrawingSettings s;
    s.一覧図に住所を記載する = 1;
    s.表題部追加情報 = "（一部）";
    core::FolderOptions options;
    editing::HeirOptions o = editing::heirOptions(s, options);
    EXPECT_TRUE(o.withAddresses);
    EXPECT_FALSE(o.familyHeadship);
    EXPECT_EQ(o.titleAddition, "（一部）");
    EXPECT_FALSE(o.listForm);

    const std::vector<int> list = {2, 3};
    o.familyHeadship = true;
    o.listForm = true;
    o.titleAddition = kEmoji;
    const core::DrawingSettings before = s;
    const auto refusal = editing::storeHeirs(list, {true, true}, o, s, options);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, std::string("表題部追加情報「") + kEmoji +
                                    "」に、Shift-JISで書けない文字があります。");
    EXPECT_EQ(s, before) << "not even the heirs";
    EXPECT_EQ(options.listChartForm, core::ListChartForm::Tree);

    o.titleAddition = "(2)";
    EXPECT_EQ(editing::storeHeirs(list, {false, true}, o, s, options), std::nullopt);
    EXPECT_EQ(s.heirs(), std::vector<int>{3});
    EXPECT_EQ(s.家督相続, 1);
    EXPECT_EQ(s.表題部追加情報, "（２）");
    EXPECT_EQ(options.listChartForm, core::ListChartForm::List);
    o.titleAddition = "（２）";
    EXPECT_EQ(editing::heirOptions(s, options), o);
}

TEST(Applicant, TheListTheChoiceAndTheStore) {
    const core::Registers reg = household();
    const std::vector<std::string> lines = editing::applicantListLines(reg);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "このリストに申出人はいない");

    core::DrawingSettings s;
    s.申出人の当事者番号 = 4;
    s.作成日付 = "令和５年";
    s.この系図では設定の記載を省略 = 1;
    editing::ApplicantFields f = editing::applicantFields(s, reg.personCount());
    EXPECT_EQ(f.applicant, 4);
    EXPECT_EQ(f.date, "令和５年");
    EXPECT_TRUE(f.omitSettings);
    for (int outside : {5, -1}) {
        s.申出人の当事者番号 = static_cast<std::int16_t>(outside);
        EXPECT_EQ(editing::applicantFields(s, reg.personCount()).applicant, 0) << outside;
    }

    EXPECT_EQ(editing::applicantLines(reg, 2),
              (editing::ApplicantLines{"東京都一番地", "山田花子"}));
    EXPECT_EQ(editing::applicantLines(reg, 0), std::nullopt);
    EXPECT_EQ(editing::applicantLines(reg, 5), std::nullopt);

    f.applicant = -1; // nothing chosen in the list: nobody
    f.applicantName = "ﾔﾏﾀﾞ";
    f.creatorName = "山田花子";
    f.omitSettings = false;
    f.date = kEmoji;
    const core::DrawingSettings before = s;
    const auto refusal = editing::storeApplicant(f, s);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, 4u);
    EXPECT_EQ(refusal->message,
              std::string("作成日付「") + kEmoji + "」に、Shift-JISで書けない文字があります。");
    EXPECT_EQ(s, before);
    f.date = "R5.2.1";
    EXPECT_EQ(editing::storeApplicant(f, s), std::nullopt);
    EXPECT_EQ(s.申出人の当事者番号, 0);
    EXPECT_EQ(s.申出人の氏名, "ヤマダ");
    EXPECT_EQ(s.作成者の氏名, "山田花子");
    EXPECT_EQ(s.作成日付, "Ｒ５．２．１");
    EXPECT_EQ(s.この系図では設定の記載を省略, 0);
}

} // namespace
