// The chart settings dialog's rules: the numbers of its fields as shown and as typed, what the
// save points take from them, the states its controls take by the writing direction, the
// mode and the settings file, the hidden-family list, and what "キャンセル" writes.
#include "editing/chart_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using editing::SettingsControls;
using editing::SettingsDialogContext;

TEST(FieldNumbers, AsTheFieldsShowThem) {
    EXPECT_EQ(editing::fieldNumber(16), "16");
    EXPECT_EQ(editing::fieldNumber(0), "0");
    EXPECT_EQ(editing::fieldNumber(-2), "-2");
    EXPECT_EQ(editing::fieldNumber(1.5f), "1.5");
    EXPECT_EQ(editing::fieldNumber(0.1f), "0.1"); // the shortest text that reads back
    EXPECT_EQ(editing::fieldNumber(2e9f), "2e+09");
}

TEST(FieldNumbers, AsTyped) {
    using editing::parseFieldNumber;
    EXPECT_EQ(parseFieldNumber("16"), 16.0f);
    EXPECT_EQ(parseFieldNumber("  1.5 "), 1.5f);
    EXPECT_EQ(parseFieldNumber(".5"), 0.5f);
    EXPECT_EQ(parseFieldNumber("5."), 5.0f);
    EXPECT_EQ(parseFieldNumber("+3"), 3.0f);
    EXPECT_EQ(parseFieldNumber("-2e1"), -20.0f);
    EXPECT_EQ(parseFieldNumber("0.1"), 0.1f) << "read as a double, then narrowed";
    // Full-width forms as the Japanese input gives them, the minus sign, Unicode blanks.
    EXPECT_EQ(parseFieldNumber("２０"), 20.0f);
    EXPECT_EQ(parseFieldNumber("　１．５　"), 1.5f);
    EXPECT_EQ(parseFieldNumber("－３"), -3.0f);
    EXPECT_EQ(parseFieldNumber("＋３"), 3.0f);
    EXPECT_EQ(parseFieldNumber("−3"), -3.0f) << "U+2212";
    EXPECT_EQ(parseFieldNumber("１ｅ２"), 100.0f);
    EXPECT_EQ(parseFieldNumber("1Ｅ－1"), 0.1f);
    EXPECT_EQ(parseFieldNumber("\u00A0"
                               "7\u2003"),
              7.0f);

    for (const char* wrong :
         {"", " ", "abc", "1 0", "1,000", "１，０００", ".", "-", "1e", "e5", "1.2.3", "--1",
          "0x10", "inf", "nan", "ｉｎｆ", "1e39", "1e-46", "1e400"}) {
        EXPECT_EQ(parseFieldNumber(wrong), std::nullopt) << wrong;
    }
    EXPECT_EQ(parseFieldNumber("0e5"), 0.0f) << "0 stays 0";
    EXPECT_EQ(parseFieldNumber("1e-45"), std::nextafter(0.0f, 1.0f)) << "the smallest float";
}

TEST(FieldNumbers, Ranges) {
    EXPECT_EQ(editing::birthDateIndent(20), 15);
    EXPECT_EQ(editing::birthDateIndent(-1), 0);
    EXPECT_EQ(editing::birthDateIndent(7.5f), 7.5f);
    EXPECT_EQ(editing::numeralStyle(-1), 0);
    EXPECT_EQ(editing::numeralStyle(3), 2);
    EXPECT_EQ(editing::numeralStyle(1), 1);
}

core::DrawingSettings someSettings() {
    core::DrawingSettings s;
    s.FONT_SIZE = 12;
    s.行間 = 2;
    s.字間 = 1.5f;
    s.ラインの太さ = 3;
    s.最下層部を広げる値 = 4;
    s.名前の字下げ = 1;
    s.生年月日の字下げ = 20;
    return s;
}

TEST(SettingsFields, ShownAndKeptByCancel) {
    const core::DrawingSettings s = someSettings();
    editing::SettingsFields f = editing::settingsFields(s);
    EXPECT_EQ(f.fontSize, "12");
    EXPECT_EQ(f.lineSpacing, "2");
    EXPECT_EQ(f.charSpacing, "1.5");
    EXPECT_EQ(f.lineThickness, "3");
    EXPECT_EQ(f.bottomSpread, "4");
    EXPECT_EQ(f.nameIndent, "1");
    EXPECT_EQ(f.birthIndent, "15") << "within its range";

    // "キャンセル" keeps the numbers it can take and nothing else.
    f.fontSize = "30";
    f.bottomSpread = "-1"; // refused: below 0
    f.nameIndent = "２";
    f.birthIndent = "abc";
    core::DrawingSettings kept = s;
    editing::storeKeptFields(f, kept);
    EXPECT_EQ(kept.FONT_SIZE, 12) << "the font size is not kept by the cancel";
    EXPECT_EQ(kept.最下層部を広げる値, 4);
    EXPECT_EQ(kept.名前の字下げ, 2);
    EXPECT_EQ(kept.生年月日の字下げ, 20) << "no number: as it was";
    f.bottomSpread = "0";
    f.birthIndent = "99";
    editing::storeKeptFields(f, kept);
    EXPECT_EQ(kept.最下層部を広げる値, 0);
    EXPECT_EQ(kept.生年月日の字下げ, 15);
}

TEST(SettingsFields, TheRunTakesThemWithTheirCorrections) {
    editing::SettingsFields f = editing::settingsFields(someSettings());
    f.fontSize = "0";      // kept
    f.lineThickness = "x"; // 1
    f.birthIndent = "２０";
    core::DrawingSettings s = someSettings();
    EXPECT_EQ(editing::storeRunFields(f, s), std::nullopt);
    EXPECT_EQ(s.FONT_SIZE, 12);
    EXPECT_EQ(s.ラインの太さ, 1);
    EXPECT_EQ(s.行間, 2);
    EXPECT_EQ(s.字間, 1.5f);
    EXPECT_EQ(s.生年月日の字下げ, 15);
    f.fontSize = "20";
    f.lineThickness = "-2";
    editing::storeRunFields(f, s);
    EXPECT_EQ(s.FONT_SIZE, 20);
    EXPECT_EQ(s.ラインの太さ, 1);
}

TEST(SettingsFields, AFieldTheRunCannotTakeIsNamedAndNothingStored) {
    const core::DrawingSettings before = someSettings();
    struct Case {
        std::string editing::SettingsFields::*field;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {&editing::SettingsFields::lineSpacing, "abc",
         "「行の間隔」の値「abc」は使えません。数を入れてください（0 から 500 まで）。"},
        {&editing::SettingsFields::charSpacing, "501",
         "「文字間隔」の値「501」は使えません。数を入れてください（0 から 500 まで）。"},
        {&editing::SettingsFields::bottomSpread, "-0.5",
         "「最下層部を広げる値」の値「-0.5」は使えません。数を入れてください（0 から 100 まで）。"},
        {&editing::SettingsFields::nameIndent, "５１",
         "「名前の字下げ値」の値「５１」は使えません。数を入れてください（0 から 50 まで）。"},
        {&editing::SettingsFields::birthIndent, "",
         "「生年月日の字下げ値」の値「」は使えません。数を入れてください。"},
        {&editing::SettingsFields::birthIndent, "2e9",
         "「生年月日の字下げ値」の値「2e9」は使えません。数を入れてください。"},
    };
    for (const Case& c : cases) {
        editing::SettingsFields f = editing::settingsFields(before);
        f.fontSize = "30";
        f.*c.field = c.typed;
        core::DrawingSettings s = before;
        EXPECT_EQ(editing::storeRunFields(f, s), c.message);
        EXPECT_EQ(s, before) << c.typed;
    }
}

// The dialog as its controls are when it opens on stored settings.
SettingsControls opened(bool vertical = true) {
    SettingsControls c;
    c.verticalTicked = vertical;
    c.horizontalTicked = !vertical;
    c.domicile = {true, false};
    c.address = {false, false};
    c.divorce = {true, true};
    c.explanation = {true, false};
    c.childOrder.checked = true;
    return c;
}

TEST(SettingsStates, OpeningInTheNormalMode) {
    SettingsControls c = opened();
    editing::prepareControls(c, {1, true});
    EXPECT_TRUE(c.verticalTicked);
    EXPECT_FALSE(c.horizontalTicked);
    EXPECT_TRUE(c.numeralsShown);
    EXPECT_TRUE(c.childOrderShown);
    EXPECT_TRUE(c.childOrder.checked);
    EXPECT_FALSE(c.textDrawingEnabled) << "text drawings are horizontal only";
    for (const editing::SettingsBox* box :
         {&c.domicile, &c.remarks1, &c.remarks2, &c.address, &c.acknowledgment, &c.divorce,
          &c.deathDate, &c.birthDate, &c.divorceDate, &c.explanation}) {
        EXPECT_TRUE(box->enabled);
    }
    EXPECT_TRUE(c.domicile.checked) << "the normal mode keeps the field boxes";
    // A label box can be used while its field is shown.
    EXPECT_TRUE(c.domicileLabel.enabled);
    EXPECT_FALSE(c.addressLabel.enabled);
    EXPECT_TRUE(c.divorceDate.enabled);

    // Without a settings file: the child order ticked, the persons' links not drawn.
    c = opened();
    c.childOrder.checked = false;
    c.linkSame.checked = true;
    editing::prepareControls(c, {1, false});
    EXPECT_TRUE(c.childOrder.checked);
    EXPECT_FALSE(c.linkSame.checked);

    // Vertical unless only "横書き" is ticked.
    c = opened(false);
    editing::prepareControls(c, {1, true});
    EXPECT_FALSE(c.verticalTicked);
    EXPECT_FALSE(c.numeralsShown);
    EXPECT_FALSE(c.childOrderShown);
    EXPECT_FALSE(c.childOrder.checked);
    EXPECT_TRUE(c.textDrawingEnabled);
    c = opened();
    c.verticalTicked = false;
    c.horizontalTicked = false;
    c.directionEnabled = false;
    editing::prepareControls(c, {1, true});
    EXPECT_TRUE(c.verticalTicked);
    EXPECT_TRUE(c.directionEnabled);
}

TEST(SettingsStates, OpeningInTheSimplifiedMode) {
    SettingsControls c = opened();
    c.childOrderShown = false;
    editing::prepareControls(c, {0, true});
    // Neither domicile, address nor acknowledgment, and no explanation chart.
    for (const editing::SettingsBox* box :
         {&c.domicile, &c.address, &c.acknowledgment, &c.explanation}) {
        EXPECT_EQ(*box, (editing::SettingsBox{false, false}));
    }
    EXPECT_FALSE(c.domicileLabel.enabled);
    EXPECT_FALSE(c.childOrderShown) << "offered in vertical writing by the normal mode only";
    EXPECT_TRUE(c.childOrder.checked);

    // Without a settings file: the persons' links drawn, no child order.
    c = opened();
    editing::prepareControls(c, {2, false});
    EXPECT_TRUE(c.linkSame.checked);
    EXPECT_FALSE(c.childOrder.checked);
}

TEST(SettingsStates, TheWritingDirection) {
    SettingsControls c = opened(false);
    editing::prepareControls(c, {0, false});
    c.listChart = {true, true};
    c.explanation.enabled = false;
    editing::verticalChosen(c, {0, false});
    EXPECT_TRUE(c.numeralsShown);
    EXPECT_TRUE(c.childOrderShown) << "offered on the click in either mode";
    EXPECT_TRUE(c.childOrder.checked) << "ticked without a settings file";
    EXPECT_FALSE(c.textDrawingEnabled);
    EXPECT_EQ(c.listChart, (editing::SettingsBox{false, false}))
        << "the list chart is drawn in horizontal writing only";
    EXPECT_TRUE(c.explanation.enabled);

    c.childOrder.checked = false;
    editing::verticalChosen(c, {1, true});
    EXPECT_FALSE(c.childOrder.checked) << "left as it is with a settings file";

    c.explanation.enabled = false;
    editing::horizontalChosen(c);
    EXPECT_FALSE(c.numeralsShown);
    EXPECT_FALSE(c.childOrderShown);
    EXPECT_TRUE(c.textDrawingEnabled);
    EXPECT_EQ(c.listChart, (editing::SettingsBox{false, true}));
    EXPECT_TRUE(c.explanation.enabled);
}

TEST(SettingsStates, LabelBoxesAndTheLegalCharts) {
    using F = editing::LabelledField;
    SettingsControls c;
    c.domicile.checked = true;
    c.domicileLabel = {true, false};
    editing::labelledFieldClicked(c, F::Domicile);
    EXPECT_EQ(c.domicileLabel, (editing::SettingsBox{false, true}));
    c.address.checked = false;
    c.addressLabel = {true, true};
    editing::labelledFieldClicked(c, F::Address);
    EXPECT_EQ(c.addressLabel, (editing::SettingsBox{false, false}));
    c.divorce.checked = false;
    c.divorceDate = {true, true};
    editing::labelledFieldClicked(c, F::Divorce);
    EXPECT_EQ(c.divorceDate, (editing::SettingsBox{false, false}));
    EXPECT_EQ(c.domicileLabel, (editing::SettingsBox{false, true})) << "each its own";

    c.explanation.checked = true;
    c.listChart.checked = true;
    editing::legalChartClicked(c, editing::LegalChartBox::List);
    EXPECT_FALSE(c.explanation.checked);
    EXPECT_TRUE(c.listChart.checked);
    c.explanation.checked = true;
    editing::legalChartClicked(c, editing::LegalChartBox::Explanation);
    EXPECT_FALSE(c.listChart.checked);
    EXPECT_TRUE(c.explanation.checked);
}

core::Registers threeFamilies() {
    core::Registers reg;
    for (int n = 1; n <= 4; ++n) {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
        p.姓 = "山田";
        p.名 = std::string("一二三四").substr(static_cast<std::size_t>(n - 1) * 3, 3);
        reg.persons.push_back(p);
    }
    for (int f = 1; f <= 3; ++f) {
        core::家族 family;
        family.夫NO = static_cast<std::int16_t>(f);
        family.妻NO = static_cast<std::int16_t>(f + 1);
        reg.families.push_back(family);
    }
    return reg;
}

TEST(HiddenFamilies, TheListFollowsTheFamiliesAndNeverHidesTheBase) {
    const core::Registers reg = threeFamilies();
    std::vector<core::FamilyEntry> entries = {
        {"1 : (1) 山田一　＝　(2) 山田二", 1}, // as listed: stays hidden
        {"2 : (2) 昔の名前", 1},               // changed since: shown again
        {"3 : (3) 山田三　＝　(4) 山田四", 1}, // the base family
        {"4 : gone", 1},
    };
    const std::vector<std::string> lines = editing::refreshFamilyEntries(entries, reg, 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "1 : (1) 山田一　＝　(2) 山田二");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].selected, 1);
    EXPECT_EQ(entries[1].selected, 0);
    EXPECT_EQ(entries[1].text, lines[1]);
    EXPECT_EQ(entries[2].selected, 0);
    EXPECT_EQ(editing::hiddenFamilySelection(entries, 3, 3),
              (std::vector<bool>{true, false, false}));

    // A click: the selection stored, the base family unselected; the entries grow to the
    // families.
    entries.resize(1);
    editing::storeHiddenFamilies(entries, {false, true, true}, 3, 3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].selected, 0);
    EXPECT_EQ(entries[1].selected, 1);
    EXPECT_EQ(entries[2].selected, 0);
    EXPECT_EQ(editing::hiddenFamilySelection(entries, 4, 0),
              (std::vector<bool>{false, true, false, false}))
        << "an entry beyond the stored ones is not selected";

    editing::hideAllFamilies(entries, 2);
    EXPECT_EQ(editing::hiddenFamilySelection(entries, 3, 2),
              (std::vector<bool>{true, false, true}));
    editing::showAllFamilies(entries);
    EXPECT_EQ(editing::hiddenFamilySelection(entries, 3, 0),
              (std::vector<bool>{false, false, false}));
}

TEST(SavePoints, CancelWritesTheFamiliesOnlyWhenThereAreAny) {
    using P = core::Part;
    core::Registers reg = threeFamilies();
    EXPECT_EQ(editing::partsSavedAtCancel(reg), (std::vector<P>{P::Settings, P::Families}));
    reg.families.clear();
    EXPECT_EQ(editing::partsSavedAtCancel(reg), std::vector<P>{P::Settings});
}

} // namespace
