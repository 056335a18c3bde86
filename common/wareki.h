// 和暦 dates as the registers hold them ("昭和３１年３月１２日", "平成元年１月８日"): reading such
// a text into a calendar date, and writing a calendar date back in that form. Every date check of
// both programs reads dates through readWareki, so that a date is either read exactly or reported
// with the reason it cannot be, never guessed.
//
// Eras and their days (Gregorian):
//   明治  to 1912-07-29 (明治４５年７月２９日); 明治元年 to 明治５年１２月２日 are dates of the
//         lunisolar calendar, which ended there: the next day was 明治６年１月１日 = 1873-01-01
//   大正  1912-07-30 (大正元年７月３０日) to 1926-12-24
//   昭和  1926-12-25 to 1989-01-07 (昭和６４年１月７日)
//   平成  1989-01-08 to 2019-04-30
//   令和  2019-05-01 on
// A date outside its era's days is not a real date (明治４５年７月３０日 is 大正元年７月３０日).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

// A date of the Gregorian calendar.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CivilDate&) const = default;
};

// Days in a month of the Gregorian calendar (leap years included); 0 for a month outside
// 1..12.
int daysInMonth(int year, int month);

// True for a day that exists in the Gregorian calendar.
bool isRealDate(const CivilDate& d);

// A 和暦 date as read.
struct WarekiDate {
    std::string era;        // "明治", "大正", "昭和", "平成" or "令和"
    int eraYear = 0;        // 1 for 元年
    int month = 0;          // as written
    int day = 0;            // as written
    bool leapMonth = false; // a "閏" month (lunisolar dates only)
    // 明治５年１２月２日 and earlier: a date of the lunisolar calendar. Its month and day are
    // not those of the Gregorian calendar, and `civil` then holds the Western year with the
    // month and day as written (for ordering only).
    bool lunisolar = false;
    CivilDate civil; // the Gregorian date (see lunisolar)

    // Orders dates in time: lunisolar dates come before every Gregorian one, a leap month
    // after the month of the same number.
    long orderKey() const;
    bool sameDay(const WarekiDate& o) const { return orderKey() == o.orderKey(); }
    bool before(const WarekiDate& o) const { return orderKey() < o.orderKey(); }

    // The date in the registers' form, full-width digits, "元年" for the first year.
    std::string text() const;
};

// The outcome of reading a text: the date, or why the text is not a real date.
struct WarekiReading {
    std::optional<WarekiDate> date;
    std::string reason; // for the user, in Japanese; empty when read
    bool ok() const { return date.has_value(); }
};

// Reads a 和暦 date: an era name, the year ("元" or a number), "年", the month, "月", the day
// and "日". Numbers may be written in ASCII, full-width or kanji digits ("三十一" or "三一",
// 壱弐参拾 too); half- and full-width spaces between the parts are skipped. Nothing may
// follow "日".
WarekiReading readWareki(std::string_view text);

// The Gregorian date `d` in the registers' form ("昭和３１年３月１２日", "平成元年１月８日").
// nullopt for a day that does not exist or lies before 1873-01-01 (the lunisolar calendar).
std::optional<std::string> warekiText(const CivilDate& d);

} // namespace common
