#include "common/wareki.h"

#include <gtest/gtest.h>

namespace {

using common::CivilDate;
using common::readWareki;
using common::warekiText;

CivilDate civil(const std::string& text) {
    const common::WarekiReading r = readWareki(text);
    EXPECT_TRUE(r.ok()) << text << ": " << r.reason;
    return r.ok() ? r.date->civil : CivilDate{};
}

std::string reason(const std::string& text) {
    const common::WarekiReading r = readWareki(text);
    EXPECT_FALSE(r.ok()) << text << " was read";
    EXPECT_FALSE(r.reason.empty()) << text;
    return r.reason;
}

TEST(Wareki, DigitsOfEveryFormAndSpaces) {
    const CivilDate d{1956, 3, 12};
    EXPECT_EQ(civil("昭和３１年３月１２日"), d);
    EXPECT_EQ(civil("昭和31年3月12日"), d);
    EXPECT_EQ(civil("昭和三十一年三月十二日"), d);
    EXPECT_EQ(civil("昭和三一年三月一二日"), d);
    EXPECT_EQ(civil("昭和　３１年 ３月１２日"), d);
    EXPECT_EQ(civil("昭和参拾壱年参月拾弐日"), d);
    EXPECT_EQ(civil("平成二十年十月二十日"), (CivilDate{2008, 10, 20}));
    EXPECT_EQ(civil("平成元年１月８日"), (CivilDate{1989, 1, 8}));
    EXPECT_EQ(civil("平成１年１月８日"), (CivilDate{1989, 1, 8}));
    EXPECT_EQ(civil("令和元年五月一日"), (CivilDate{2019, 5, 1}));
}

// Each era's first and last day, and the day beyond, whose reason names the date in the
// era it belongs to.
TEST(Wareki, EraBoundaries) {
    struct Boundary {
        const char* last;
        CivilDate lastDay;
        const char* pastEnd;
        const char* first;
        const char* beforeStart;
        const char* previousEra; // the form named in the reason for beforeStart
    };
    const Boundary boundaries[] = {
        {"明治４５年７月２９日",
         {1912, 7, 29},
         "明治４５年７月３０日",
         "大正元年７月３０日",
         "大正元年７月２９日",
         "明治４５年７月２９日"},
        {"大正１５年１２月２４日",
         {1926, 12, 24},
         "大正１５年１２月２５日",
         "昭和元年１２月２５日",
         "昭和元年１２月２４日",
         "大正１５年１２月２４日"},
        {"昭和６４年１月７日",
         {1989, 1, 7},
         "昭和６４年１月８日",
         "平成元年１月８日",
         "平成元年１月７日",
         "昭和６４年１月７日"},
        {"平成３１年４月３０日",
         {2019, 4, 30},
         "平成３１年５月１日",
         "令和元年５月１日",
         "令和元年４月３０日",
         "平成３１年４月３０日"},
    };
    for (const Boundary& b : boundaries) {
        EXPECT_EQ(civil(b.last), b.lastDay) << b.last;
        EXPECT_NE(reason(b.pastEnd).find(b.first), std::string::npos) << b.pastEnd;
        CivilDate next = b.lastDay;
        next.day += 1;
        if (!common::isRealDate(next)) {
            next = next.month == 12 ? CivilDate{next.year + 1, 1, 1}
                                    : CivilDate{next.year, next.month + 1, 1};
        }
        EXPECT_EQ(civil(b.first), next) << b.first;
        EXPECT_NE(reason(b.beforeStart).find(b.previousEra), std::string::npos) << b.beforeStart;
    }
    EXPECT_NE(reason("昭和９９年１月１日").find("令和６年１月１日"), std::string::npos);
}

TEST(Wareki, MonthsAndDaysOfTheGregorianCalendar) {
    EXPECT_EQ(civil("平成４年２月２９日"), (CivilDate{1992, 2, 29}));
    EXPECT_EQ(civil("平成１２年２月２９日"), (CivilDate{2000, 2, 29})); // 400-year rule
    EXPECT_EQ(civil("昭和３１年１２月３１日"), (CivilDate{1956, 12, 31}));
    EXPECT_NE(reason("平成５年２月２９日").find("うるう年"), std::string::npos);
    EXPECT_NE(reason("明治３３年２月２９日").find("うるう年"), std::string::npos); // 1900
    EXPECT_NE(reason("昭和３１年４月３１日").find("３０日まで"), std::string::npos);
    EXPECT_NE(reason("昭和３１年１３月１日").find("１３月"), std::string::npos);
    reason("昭和３１年３月０日");
    reason("昭和９９年１３月４０日");
    reason("昭和０年１月１日");
}

// 明治５年１２月２日 was the last day of the lunisolar calendar; its dates are kept as
// written, ordered before every Gregorian date.
TEST(Wareki, LunisolarMeiji) {
    const auto last = readWareki("明治５年１２月２日");
    ASSERT_TRUE(last.ok());
    EXPECT_TRUE(last.date->lunisolar);
    const auto first = readWareki("明治６年１月１日");
    ASSERT_TRUE(first.ok());
    EXPECT_FALSE(first.date->lunisolar);
    EXPECT_EQ(first.date->civil, (CivilDate{1873, 1, 1}));
    EXPECT_TRUE(last.date->before(*first.date));
    EXPECT_EQ(first.date->orderKey() - last.date->orderKey(), 1);
    reason("明治５年１２月３日");
    EXPECT_TRUE(readWareki("明治２年２月３０日").ok());
    reason("明治２年２月３１日");

    const auto leap = readWareki("明治３年閏１０月５日");
    ASSERT_TRUE(leap.ok());
    EXPECT_TRUE(leap.date->leapMonth);
    EXPECT_EQ(leap.date->text(), "明治３年閏１０月５日");
    EXPECT_TRUE(readWareki("明治３年１０月３０日").date->before(*leap.date));
    EXPECT_TRUE(leap.date->before(*readWareki("明治３年１１月１日").date));
    reason("明治４年閏１０月５日");
    reason("昭和３年閏１０月５日");

    // 明治元年, in every digit form, with its leap fourth month.
    for (const char* text : {"明治元年１月１日", "明治元年1月1日", "明治元年一月一日"}) {
        const auto r = readWareki(text);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_TRUE(r.date->lunisolar);
        EXPECT_TRUE(r.date->before(*readWareki("明治２年１月１日").date)) << text;
    }
    const auto leap4 = readWareki("明治元年閏４月１日");
    ASSERT_TRUE(leap4.ok());
    EXPECT_TRUE(readWareki("明治元年４月３０日").date->before(*leap4.date));
    EXPECT_TRUE(leap4.date->before(*readWareki("明治元年５月１日").date));
    reason("明治元年閏５月１日");
}

TEST(Wareki, TextsThatAreNoDate) {
    for (const char* text :
         {"", "　", "1956年3月12日", "西暦１９５６年３月１２日", "慶応３年１月１日", "昭和",
          "昭和３１年", "昭和３１年３月", "昭和３１年３月１２", "昭和３１年３月１２日生",
          "昭和十十年１月１日", "昭和〇十年１月１日", "昭和３１年３月頃", "昭和年３月１２日"}) {
        reason(text);
    }
    EXPECT_NE(reason("昭和３１年３月１２日生").find("「生」"), std::string::npos);
    EXPECT_NE(reason("昭和３１年３月").find("日がありません"), std::string::npos);
}

TEST(Wareki, GregorianDatesWrittenAsTheRegistersDo) {
    EXPECT_EQ(warekiText({1956, 3, 12}), "昭和３１年３月１２日");
    EXPECT_EQ(warekiText({1989, 1, 7}), "昭和６４年１月７日");
    EXPECT_EQ(warekiText({1989, 1, 8}), "平成元年１月８日");
    EXPECT_EQ(warekiText({1912, 7, 30}), "大正元年７月３０日");
    EXPECT_EQ(warekiText({2019, 5, 1}), "令和元年５月１日");
    EXPECT_EQ(warekiText({1873, 1, 1}), "明治６年１月１日");
    EXPECT_EQ(warekiText({1872, 12, 31}), std::nullopt);
    EXPECT_EQ(warekiText({2001, 2, 29}), std::nullopt);
}

// Every day from the first Gregorian day of 明治 to 2040 is written and read back to itself,
// one day after the other.
TEST(Wareki, EveryDayReadsBackAsWritten) {
    CivilDate d{1873, 1, 1};
    long previous = readWareki(*warekiText(d)).date->orderKey() - 1;
    while (d.year <= 2040) {
        const auto text = warekiText(d);
        ASSERT_TRUE(text) << d.year << "-" << d.month << "-" << d.day;
        const auto back = readWareki(*text);
        ASSERT_TRUE(back.ok()) << *text << ": " << back.reason;
        ASSERT_EQ(back.date->civil, d) << *text;
        ASSERT_EQ(back.date->text(), *text);
        ASSERT_EQ(back.date->orderKey(), previous + 1) << *text;
        previous = back.date->orderKey();
        d.day += 1;
        if (!common::isRealDate(d)) {
            d = d.month == 12 ? CivilDate{d.year + 1, 1, 1} : CivilDate{d.year, d.month + 1, 1};
        }
    }
}

} // namespace
