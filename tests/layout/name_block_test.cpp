// Name blocks: field lengths and boxes in both writing directions, labels, notes and the
// name text, with measures chosen so that every pitch differs (CW 20, CH 24, 行間 2,
// 字間 3: vertical columns 22 apart and characters 27; horizontal characters 23 and rows
// 26).
#include "layout/name_block.h"
#include "layout/name_text.h"

#include <gtest/gtest.h>

namespace {

layout::BlockStyle style(bool vertical) {
    layout::BlockStyle s;
    s.CW = 20;
    s.CH = 24;
    s.行間 = 2;
    s.字間 = 3;
    s.vertical = vertical;
    return s;
}

layout::BlockTexts nameOnly(const std::string& name) {
    layout::BlockTexts t;
    t.fields[layout::kNameField] = name;
    return t;
}

TEST(BlockMeasure, ANameOnlyBlockInBothDirections) {
    const auto v =
        layout::P_個人座標_SUB(style(true), nameOnly("　山田太郎"), layout::BlockBlanking::None);
    EXPECT_EQ(v.width, 22);
    EXPECT_EQ(v.height, 24 + 27 * (5 + 4));
    EXPECT_EQ(v.anchorX, 10);
    EXPECT_EQ(v.anchorY, 0);
    EXPECT_EQ(v.lineX, 10);
    EXPECT_EQ(v.lineY, v.height);
    EXPECT_EQ(v.halfWidth, 11);

    const auto h =
        layout::P_個人座標_SUB(style(false), nameOnly("　山田太郎"), layout::BlockBlanking::None);
    EXPECT_EQ(h.width, 20 + 23 * 6);
    EXPECT_EQ(h.height, 26);
    EXPECT_EQ(h.anchorX, 0);
    EXPECT_EQ(h.anchorY, 12);
    EXPECT_EQ(h.lineX, h.width);
    EXPECT_EQ(h.lineY, 12);
}

TEST(BlockMeasure, CharactersCountOnceWhateverTheirWidth) {
    const auto b =
        layout::P_個人座標_SUB(style(false), nameOnly("Ａ1ｶ"), layout::BlockBlanking::None);
    EXPECT_EQ(b.fields[layout::kNameField].length, 3);
}

TEST(BlockMeasure, TheBirthDateIsIndentedAndDatesGetTwoMoreCharacters) {
    auto s = style(true);
    s.shown[layout::kBirthField] = true;
    s.birthIndent = 3;
    auto texts = nameOnly("　山田");
    texts.fields[layout::kBirthField] = "昭和５年３月１日"; // 8 characters
    const auto v = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    const auto& birth = v.fields[layout::kBirthField];
    EXPECT_EQ(birth.length, 10);
    EXPECT_EQ(birth.left, 0); // before the name in vertical writing
    EXPECT_EQ(birth.top, 24 + 27 * 3);
    EXPECT_EQ(birth.bottom, 24 + 27 * 3 + 27 * 11 + 27 * 3);
    EXPECT_EQ(v.fields[layout::kNameField].left, 22);
    EXPECT_EQ(v.anchorX, 32);
    EXPECT_EQ(v.width, 44);
    EXPECT_EQ(v.height, birth.bottom);

    s.vertical = false;
    const auto h = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    EXPECT_EQ(h.fields[layout::kNameField].top, 0); // the name row comes first
    EXPECT_EQ(h.fields[layout::kBirthField].top, 26);
    EXPECT_EQ(h.fields[layout::kBirthField].left, 20 + 23 * 3);
    EXPECT_EQ(h.width, 20 + 23 * 3 + 23 * 11);
    EXPECT_EQ(h.height, 52);
}

TEST(BlockMeasure, FieldLabelsWidenEveryHorizontalRowButBirthAndName) {
    auto s = style(false);
    s.shown = {true, false, false, true, false, false, false, true};
    s.labelCount = 1;
    auto texts = nameOnly("　山田");
    texts.fields[0] = "東京都";
    texts.fields[10] = "１番地";
    texts.fields[3] = "大阪";
    texts.fields[9] = "梅田";
    texts.fields[7] = "昭和";
    const auto b = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    EXPECT_EQ(b.fields[0].right, 20 + 23 * 4 + 23 * 3);
    EXPECT_EQ(b.fields[9].right, 20 + 23 * 3 + 23 * 3);
    EXPECT_EQ(b.fields[layout::kNameField].right, 20 + 23 * 4);
    EXPECT_EQ(b.fields[7].right, 20 + 23 * 5);
    // Rows: 0, 10, 3, 9, name, birth.
    EXPECT_EQ(b.fields[10].top, 26);
    EXPECT_EQ(b.fields[layout::kNameField].top, 4 * 26);
    EXPECT_EQ(b.height, 6 * 26);
    EXPECT_EQ(b.width, b.fields[0].right);
    // A field whose switch is off is not placed even with a text.
    s.shown[3] = false;
    const auto without = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    EXPECT_EQ(without.height, 4 * 26);
}

TEST(BlockMeasure, HiddenBlocks) {
    auto texts = nameOnly("　山田");
    texts.fields[7] = "昭和";
    auto s = style(true);
    s.shown[7] = true;
    const auto spouse = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::Empty);
    EXPECT_EQ(spouse.width, 0);
    EXPECT_EQ(spouse.height, 0);
    EXPECT_TRUE(spouse.empty);
    const auto head = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::HiddenHead);
    EXPECT_EQ(head.fields[layout::kNameField].text, "　");
    EXPECT_EQ(head.width, 22);
    EXPECT_EQ(head.height, 24 + 27 * 5);
}

TEST(BlockMeasure, TheExplanationChartOrdersFieldsItsOwnWay) {
    auto s = style(false);
    s.shown = {true, true, true, true, true, true, true, true};
    s.explanationChart = true;
    layout::BlockTexts texts;
    for (auto& t : texts.fields) {
        t = "字";
    }
    const auto b = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    const int expected[] = {0, 10, 1, 2, 4, 5, 6, 3, 9, 8, 7};
    for (int row = 0; row < 11; ++row) {
        EXPECT_EQ(b.fields[static_cast<std::size_t>(expected[row])].top, 26 * row) << row;
    }
    s.explanationChart = false;
    s.vertical = true;
    const auto v = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None);
    const int columns[] = {2, 1, 7, 8, 9, 3, 6, 5, 4, 10, 0};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(v.fields[static_cast<std::size_t>(columns[c])].left, 22 * c) << c;
    }
}

TEST(BlockMeasure, TheListChartHasItsOwnRowsWithoutDateAllowance) {
    auto s = style(false);
    s.listChart = true;
    core::当事者 p;
    p.本籍1 = "最後の住所";
    p.住所1 = "東京";
    p.住所2 = "北沢";
    p.生年月日 = "出生　昭和";
    p.死亡年月日 = "死亡　平成";
    p.備考1 = "（長男）";
    auto texts = layout::personTexts(p, true);
    texts.fields[layout::kNameField] = "山田太郎";
    const auto b = layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None, false, "03");
    const int rows[] = {5, 3, 9, 7, 6, 4, 8};
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(b.fields[static_cast<std::size_t>(rows[r])].top, 26 * r) << r;
    }
    EXPECT_EQ(b.fields[7].right, 20 + 23 * 6);
    EXPECT_EQ(b.anchorY, 26 * 6 + 12);
    const auto predeceased =
        layout::P_個人座標_SUB(s, texts, layout::BlockBlanking::None, false, "15");
    EXPECT_EQ(predeceased.fields[layout::kNameField].top, 26 * 4);
    EXPECT_EQ(predeceased.fields[6].top, 26 * 5);
    EXPECT_EQ(predeceased.height, 26 * 6); // no row for 備考1
}

TEST(NameLabel, LabelsAndIndentation) {
    EXPECT_EQ(layout::氏名字下げ("山田花子", layout::spouseLabel(false, "妻", false), 0),
              "（妻）山田花子");
    EXPECT_EQ(layout::氏名字下げ("山田花子", layout::spouseLabel(false, "妻", false), 4),
              "（妻）　山田花子");
    EXPECT_EQ(layout::氏名字下げ("山田花子", layout::spouseLabel(false, "", false), 2),
              "　　山田花子");
    EXPECT_EQ(layout::spouseLabel(false, "先妻", true), "（妻）");
    EXPECT_EQ(layout::spouseLabel(true, "夫", true), "（夫）");
    EXPECT_EQ(layout::氏名字下げ("山田一郎", layout::headLabel("長男", false, false), 0),
              "長男　山田一郎");
    EXPECT_EQ(layout::氏名字下げ("山田一郎", layout::headLabel("長男", false, false), 4),
              "長男　　山田一郎");
    EXPECT_EQ(layout::氏名字下げ("山田一郎", layout::headLabel("", false, false), 0), "　山田一郎");
    EXPECT_EQ(layout::headLabel("長男", true, true), "（被）");
    EXPECT_EQ(layout::headLabel("長男", true, false), "長男　");
}

core::当事者 named(const std::string& surname, const std::string& given, int order = 0) {
    core::当事者 p;
    p.姓 = surname;
    p.名 = given;
    p.姓名順 = static_cast<std::int16_t>(order);
    return p;
}

TEST(NameText, OrdinaryChart) {
    const layout::NameOptions plain;
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "太郎"), plain), "山田太郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("スミス", "ジョン"), plain), "スミス　ジョン");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "太郎", 1), plain), "太郎山田");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("Ｓｍｉｔｈ", "Ｊｏｈｎ", 1), plain),
              "Ｊｏｈｎ　Ｓｍｉｔｈ");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("", "太郎", 1), plain), "太郎");
    core::当事者 hidden = named("山田", "太郎");
    hidden.当姓 = 1;
    EXPECT_EQ(layout::P_氏名結合_SUB(hidden, plain), "太郎");

    layout::NameOptions spread;
    spread.氏名を１文字間隔で表示 = true;
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "太郎"), spread), "山　田　太　郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("被代襲者", ""), spread), "被代襲者");
    EXPECT_EQ(layout::氏名空白挿入_SUB("山"), "山");
    EXPECT_EQ(layout::氏名空白挿入_SUB("（父）"), "（父）");
}

TEST(NameText, ListChart) {
    layout::NameOptions list;
    list.listChart = true;
    const core::当事者 deceased = named("山田", "太郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "一郎"), list, &deceased), "山田一郎");
    list.姓と名の間に___を付ける = true;
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "一郎"), list, &deceased), "山田・一郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "一郎", 1), list, &deceased), "一郎・山田");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("", "一郎"), list, &deceased), "一郎");
    list.本家と同じ名字は省略する = true;
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "一郎"), list, &deceased), "　一郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("山田", "一郎", 1), list, &deceased), "一郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(deceased, list, &deceased, true), "山田・太郎");
    EXPECT_EQ(layout::P_氏名結合_SUB(named("鈴木", "幸子"), list, &deceased), "鈴木・幸子");
}

// Blocks measured from registers: notes, titles, the deceased and the data person.
class MeasuredBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 4; ++i) {
            core::当事者 p = named("山田", std::string("人") + std::to_string(i));
            p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(i);
            p.男女 = static_cast<std::int16_t>(i % 2 == 1 ? 1 : 2);
            p.本籍1 = "東京";
            reg.persons.push_back(p);
        }
        core::家族 f;
        f.夫NO = 1;
        f.妻NO = 2;
        f.夫肩書 = "夫";
        f.妻肩書 = "後妻";
        f.離婚_F = 1;
        f.離婚年月日 = "昭和５０年";
        core::Child c;
        c.子NO = 3;
        c.子の肩書 = "長男";
        c.子の形態 = core::ChildKind::Adopted;
        c.縁組日 = "平成２年";
        f.子.push_back(c);
        c.子NO = 4;
        c.子の肩書 = "長女";
        c.子の形態 = core::ChildKind::Acknowledged;
        c.縁組日.clear();
        c.認知日 = "昭和４５年";
        f.子.push_back(c);
        reg.families.push_back(f);
        s = style(false);
        s.shown = {true, false, false, false, true, true, false, false};
    }
    core::Registers reg;
    layout::BlockStyle s;
};

TEST_F(MeasuredBlocks, ChildrenCarryTheirTitleAndNotes) {
    layout::BlockMeasurer m(s, reg, 1);
    const auto adopted = m.head(3, 3, 1, 1, layout::BlockBlanking::None);
    EXPECT_EQ(adopted.fields[8].text, "長男　山田人3");
    EXPECT_EQ(adopted.fields[5].text, "平成２年養子縁組");
    EXPECT_EQ(adopted.fields[4].text, "");
    const auto acknowledged = m.head(4, 4, 1, 2, layout::BlockBlanking::None);
    EXPECT_EQ(acknowledged.fields[4].text, "昭和４５年認知");
    const auto root = m.head(1, 1, 0, 0, layout::BlockBlanking::None);
    EXPECT_EQ(root.fields[8].text, "　山田人1");
    EXPECT_EQ(root.fields[4].length + root.fields[5].length, 0);
}

TEST_F(MeasuredBlocks, SpousesCarryTheDivorceNoteAndTheirTitle) {
    layout::BlockMeasurer m(s, reg, 1);
    auto wife = m.spouse(2, 2, 1, layout::BlockBlanking::None);
    EXPECT_EQ(wife.fields[8].text, "（後妻）山田人2");
    EXPECT_EQ(wife.fields[5].text, "昭和５０年離婚");
    reg.family(1).配偶者姓F = 1;
    s.離婚年月日非表示 = true;
    layout::BlockMeasurer hiding(s, reg, 1);
    wife = hiding.spouse(2, 2, 1, layout::BlockBlanking::None);
    EXPECT_EQ(wife.fields[8].text, "（後妻）人2");
    EXPECT_EQ(wife.fields[5].length, 0);
    EXPECT_EQ(reg.person(2).姓, "山田"); // the surname was hidden only for the block
}

TEST_F(MeasuredBlocks, TheDeceasedOnTheExplanationChart) {
    s.explanationChart = true;
    s.deceasedInfoBlock = true;
    layout::BlockMeasurer m(s, reg, 1);
    const auto deceased = m.head(1, 1, 0, 0, layout::BlockBlanking::None);
    EXPECT_EQ(deceased.fields[8].text, "（被）山田人1");
    EXPECT_EQ(deceased.fields[0].length, 0); // shown in the information block instead
    EXPECT_EQ(m.head(3, 3, 1, 1, layout::BlockBlanking::None).fields[0].length, 2);
    EXPECT_EQ(m.spouse(2, 2, 1, layout::BlockBlanking::None).fields[8].text, "（妻）山田人2");
}

TEST_F(MeasuredBlocks, TheDataComeFromTheRegisteredPersonUnlessUnified) {
    reg.person(4).本籍1 = "大阪府";
    layout::BlockMeasurer m(s, reg, 1);
    // Person 4 is shown for person 3 (a link): its own data unless unified.
    EXPECT_EQ(m.head(3, 4, 0, 0, layout::BlockBlanking::None).fields[0].text, "大阪府");
    s.当事者リンク元に統一 = true;
    layout::BlockMeasurer unified(s, reg, 1);
    EXPECT_EQ(unified.head(3, 4, 0, 0, layout::BlockBlanking::None).fields[0].text, "東京");
    EXPECT_EQ(unified.maxima().width, 20 + 23 * 6);
}

} // namespace
