// The codes of the family register and the person's side: values the files may hold without
// a name are kept, and each rule says how it counts them.
#include "core/registers.h"

#include <gtest/gtest.h>

namespace {

using core::Lineage;

Lineage lineage(int code) {
    return static_cast<Lineage>(code);
}

TEST(LineageRules, OnlyPaternalAndMaternalNameASide) {
    EXPECT_TRUE(core::isChosen(Lineage::Paternal));
    EXPECT_TRUE(core::isChosen(Lineage::Maternal));
    for (int code : {0, 3, 7, -1}) {
        EXPECT_FALSE(core::isChosen(lineage(code))) << code;
    }
    EXPECT_EQ(core::lineageThrough(true), Lineage::Paternal);
    EXPECT_EQ(core::lineageThrough(false), Lineage::Maternal);
}

TEST(LineageRules, AFamilyIsTakenOnASideOnlyWhenUnsetOrOfThatSide) {
    struct Row {
        int code;
        bool paternalSide, maternalSide;
    };
    const Row rows[] = {
        {0, true, true},    {1, true, false},
        {2, false, true},   {3, false, false}, // without a name: on neither side
        {-1, false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(core::admitsSide(lineage(row.code), Lineage::Paternal), row.paternalSide)
            << row.code;
        EXPECT_EQ(core::admitsSide(lineage(row.code), Lineage::Maternal), row.maternalSide)
            << row.code;
    }
}

TEST(PersonSide, AnUnrecordedSexStandsOnTheHusbandsSideButIsRecordedAsNeither) {
    struct Row {
        int sex;
        Lineage side;
        bool recordedMale, recordedFemale;
    };
    const Row rows[] = {
        {0, Lineage::Paternal, false, false},
        {1, Lineage::Paternal, true, false},
        {2, Lineage::Maternal, false, true},
        {3, Lineage::Maternal, false, false},
    };
    for (const Row& row : rows) {
        core::当事者 p;
        p.男女 = static_cast<std::int16_t>(row.sex);
        EXPECT_EQ(p.lineage(), row.side) << row.sex;
        EXPECT_EQ(p.isRecordedMale(), row.recordedMale) << row.sex;
        EXPECT_EQ(p.isRecordedFemale(), row.recordedFemale) << row.sex;
        EXPECT_EQ(p.hasRecordedSex(), row.recordedMale || row.recordedFemale) << row.sex;
    }
}

} // namespace
