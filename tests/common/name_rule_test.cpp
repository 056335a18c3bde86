#include "common/name_rule.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* first;
    const char* second;
    bool separator;
};

TEST(SeparatorRule, Cases) {
    const Case cases[] = {
        {"スミス", "ジョン", true},       // two katakana parts
        {"山田", "太郎", false},          // two kanji parts
        {"ルーカー", "アン", true},       // katakana surname ending in ー
        {"山田", "アン", false},          // kanji before katakana
        {"スミス", "太郎", false},        // katakana before kanji
        {"Smith", "John", true},          // Latin letters
        {"Ｓｍｉｔｈ", "Ｊｏｈｎ", true}, // full-width Latin letters narrow to Latin
        {"Smith", "ジョン", false},
        {"ｽﾐｽ", "ｼﾞｮﾝ", false}, // half-width katakana is not in the katakana range
        {"", "太郎", false},
        {"山田", "", false},
        {"ー", "ア", true},
        {"A1", "B", false}, // the touching characters are 1 and B
    };
    for (const auto& c : cases) {
        EXPECT_EQ(common::姓名判断_SUB(c.first, c.second), c.separator)
            << c.first << " / " << c.second;
    }
}

} // namespace
