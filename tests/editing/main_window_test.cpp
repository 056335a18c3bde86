// The main window's rules: the mode and its captions, what the person count and the data
// folder allow, and what the end of the program writes.
#include "editing/main_window.h"

#include <gtest/gtest.h>

namespace {

core::Registers persons(int count) {
    core::Registers reg;
    for (int n = 1; n <= count; ++n) {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
        reg.persons.push_back(p);
    }
    return reg;
}

core::家族 family(int husband, int wife) {
    core::家族 f;
    f.夫NO = static_cast<std::int16_t>(husband);
    f.妻NO = static_cast<std::int16_t>(wife);
    return f;
}

TEST(Mode, CaptionsAtStartUpAndAfterEachSwitch) {
    const auto normal = editing::modeCaptions(1, true);
    EXPECT_EQ(normal.toggle, "varovﾓｰﾄﾞへ");
    EXPECT_EQ(normal.label, "通常モード");
    // The button names the normal mode in half-width kana only at start-up.
    EXPECT_EQ(editing::modeCaptions(0, true).toggle, "通常ﾓｰﾄﾞへ");
    EXPECT_EQ(editing::modeCaptions(0, false).toggle, "通常モードへ");
    EXPECT_EQ(editing::modeCaptions(0, false).label, "viraモード");
    EXPECT_EQ(editing::modeCaptions(1, false).toggle, "varovﾓｰﾄﾞへ");
    // Any value but 1 is viraモード.
    EXPECT_EQ(editing::modeCaptions(2, true).label, "viraモード");
    EXPECT_EQ(editing::modeCaptions(-1, true).toggle, "通常ﾓｰﾄﾞへ");

    EXPECT_EQ(editing::switchedMode(1), 0);
    EXPECT_EQ(editing::switchedMode(0), 1);
    EXPECT_EQ(editing::switchedMode(2), 1);
}

TEST(MainWindow, PersonsAreRelatedFromTwoOn) {
    EXPECT_FALSE(editing::canRelatePersons(persons(0)));
    EXPECT_FALSE(editing::canRelatePersons(persons(1)));
    EXPECT_TRUE(editing::canRelatePersons(persons(2)));
    EXPECT_TRUE(editing::canRelatePersons(persons(30)));
}

TEST(MainWindow, ChartNeedsTheSettingsFileAndNoFamilyWithoutPartners) {
    core::DataFolder data;
    data.reg = persons(2);
    EXPECT_FALSE(editing::chartCanStart(data)); // no "作図設定.TXT"
    data.settingsFilePresent = true;
    EXPECT_TRUE(editing::chartCanStart(data));
    data.reg.families = {family(1, 2), family(0, 2), family(1, 0)};
    EXPECT_TRUE(editing::chartCanStart(data)); // one partner is enough
    data.reg.families.push_back(family(0, 0));
    EXPECT_FALSE(editing::chartCanStart(data));
}

TEST(MainWindow, TheEndWritesTheRegistersThatHoldSomething) {
    using P = core::Part;
    core::Registers reg;
    EXPECT_TRUE(editing::partsSavedAtEnd(reg).empty());
    reg = persons(1);
    EXPECT_EQ(editing::partsSavedAtEnd(reg), std::vector<P>{P::Persons});
    reg.families = {family(1, 0)};
    EXPECT_EQ(editing::partsSavedAtEnd(reg), (std::vector<P>{P::Families, P::Persons}));
    reg.persons.clear();
    EXPECT_EQ(editing::partsSavedAtEnd(reg), std::vector<P>{P::Families});
}

} // namespace
