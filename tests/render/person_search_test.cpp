// "人物を検索" in a drawing: by name, compared in full width without blanks and "・", or by
// person number, the blocks found in reading order for either writing direction.
#include "render/person_search.h"

#include <gtest/gtest.h>

namespace {

using render::DrawnPerson;

// Four blocks: 山田太郎 twice (top right and lower left), 山田・花子 and ﾔﾏﾀﾞ 一郎 (lower,
// right of the second 太郎).
std::vector<DrawnPerson> blocks() {
    return {
        {1, "山田　太郎", render::Box{10, 200, 60, 300}},
        {2, "山田・花子", render::Box{100, 50, 150, 150}},
        {1, "山田太郎", render::Box{300, 10, 350, 110}},
        {12, "ﾔﾏﾀﾞ 一郎", render::Box{200, 200, 250, 300}},
    };
}

TEST(PersonSearch, ByNameInReadingOrder) {
    const auto persons = blocks();
    // Vertical writing reads from the right, then downwards.
    EXPECT_EQ(render::findDrawnPersons(persons, "山田太郎", true),
              (std::vector<std::size_t>{2, 0}));
    // Horizontal writing from the top, then from the left.
    EXPECT_EQ(render::findDrawnPersons(persons, "山田太郎", false),
              (std::vector<std::size_t>{2, 0}));
    EXPECT_EQ(render::findDrawnPersons(persons, "山田", false),
              (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(render::findDrawnPersons(persons, "山田", true), (std::vector<std::size_t>{2, 1, 0}));
    // The two orders differ where a block is lower but further right.
    EXPECT_EQ(render::findDrawnPersons(persons, "郎", false), (std::vector<std::size_t>{2, 0, 3}));
    EXPECT_EQ(render::findDrawnPersons(persons, "郎", true), (std::vector<std::size_t>{2, 3, 0}));
    // Blanks, separators and half width do not matter; a part of the name is enough.
    EXPECT_EQ(render::findDrawnPersons(persons, "田 花", true), (std::vector<std::size_t>{1}));
    EXPECT_EQ(render::findDrawnPersons(persons, "やまだ", true), (std::vector<std::size_t>{}));
    EXPECT_EQ(render::findDrawnPersons(persons, "ヤマダ一", true), (std::vector<std::size_t>{3}));
    EXPECT_TRUE(render::findDrawnPersons(persons, "徳川", true).empty());
    EXPECT_TRUE(render::findDrawnPersons(persons, "　", true).empty()) << "nothing to look for";
}

TEST(PersonSearch, ByNumber) {
    const auto persons = blocks();
    EXPECT_EQ(render::findDrawnPersons(persons, "1", true), (std::vector<std::size_t>{2, 0}));
    EXPECT_EQ(render::findDrawnPersons(persons, "１２", true), (std::vector<std::size_t>{3}));
    EXPECT_EQ(render::findDrawnPersons(persons, " 1 2", true), (std::vector<std::size_t>{3}));
    EXPECT_TRUE(render::findDrawnPersons(persons, "7", true).empty());
    EXPECT_TRUE(render::findDrawnPersons(persons, "0", true).empty());
    // Seven digits are no person number: looked for in the names.
    EXPECT_TRUE(render::findDrawnPersons(persons, "0000001", true).empty());
}

} // namespace
