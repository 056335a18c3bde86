#include "common/wareki.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace common {

namespace {

struct Era {
    std::string_view name;
    CivilDate first; // first Gregorian day (明治: the first day after the lunisolar calendar)
    CivilDate last;  // last day; year 0 for an era that has not ended
    int firstYear;   // the Western year of 元年
};

constexpr std::array<Era, 5> kEras = {{
    {"明治", {1873, 1, 1}, {1912, 7, 29}, 1868},
    {"大正", {1912, 7, 30}, {1926, 12, 24}, 1912},
    {"昭和", {1926, 12, 25}, {1989, 1, 7}, 1926},
    {"平成", {1989, 1, 8}, {2019, 4, 30}, 1989},
    {"令和", {2019, 5, 1}, {0, 0, 0}, 2019},
}};

// The lunisolar years of 明治 (元年 to ５年): their leap months, and the last day.
constexpr int kLastLunisolarYear = 1872;
constexpr CivilDate kLastLunisolarDay{1872, 12, 2};
struct LeapMonth {
    int year;
    int month;
};
constexpr std::array<LeapMonth, 2> kLeapMonths = {{{1868, 4}, {1870, 10}}};

// Full-width digits of a number ("３１").
std::string fullWidthNumber(int n) {
    static constexpr std::array<std::string_view, 10> digits = {"０", "１", "２", "３", "４",
                                                                "５", "６", "７", "８", "９"};
    std::string s = std::to_string(n);
    std::string out;
    for (char c : s) {
        out += digits[static_cast<std::size_t>(c - '0')];
    }
    return out;
}

std::string eraYearText(int year) {
    return year == 1 ? std::string("元") : fullWidthNumber(year);
}

std::string dateText(std::string_view era, int year, int month, int day, bool leap) {
    return std::string(era) + eraYearText(year) + "年" + (leap ? "閏" : "") +
           fullWidthNumber(month) + "月" + fullWidthNumber(day) + "日";
}

// The text as a list of characters (UTF-8 sequences); an invalid sequence becomes one
// character of its own byte.
std::vector<std::string> characters(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80         ? 1
                        : (b >> 5) == 6  ? 2
                        : (b >> 4) == 14 ? 3
                        : (b >> 3) == 30 ? 4
                                         : 1;
        if (i + n > s.size()) {
            n = 1;
        }
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

bool isSpace(const std::string& c) {
    return c == " " || c == "\t" || c == "　";
}

// The value of a digit character (ASCII, full width or kanji), or -1.
int digitValue(const std::string& c) {
    if (c.size() == 1 && c[0] >= '0' && c[0] <= '9') {
        return c[0] - '0';
    }
    static constexpr std::array<std::string_view, 10> wide = {"０", "１", "２", "３", "４",
                                                              "５", "６", "７", "８", "９"};
    static constexpr std::array<std::string_view, 10> kanji = {"〇", "一", "二", "三", "四",
                                                               "五", "六", "七", "八", "九"};
    for (int d = 0; d < 10; ++d) {
        if (c == wide[static_cast<std::size_t>(d)] || c == kanji[static_cast<std::size_t>(d)]) {
            return d;
        }
    }
    if (c == "零") {
        return 0;
    }
    if (c == "壱") {
        return 1;
    }
    if (c == "弐") {
        return 2;
    }
    if (c == "参") {
        return 3;
    }
    return -1;
}

bool isTen(const std::string& c) {
    return c == "十" || c == "拾";
}

// Reads a number at `pos`: digits of any form, or kanji with 十 ("三十一", "十二", "二十").
// Advances `pos`; nullopt when there is no number or its form is broken.
std::optional<int> readNumber(const std::vector<std::string>& cs, std::size_t& pos) {
    std::size_t i = pos;
    std::vector<int> digits;
    int tens = -1; // the digits before 十, once 十 was read
    while (i < cs.size()) {
        const int d = digitValue(cs[i]);
        if (d >= 0) {
            digits.push_back(d);
        } else if (isTen(cs[i])) {
            if (tens >= 0 || digits.size() > 1) {
                return std::nullopt;
            }
            tens = digits.empty() ? 1 : digits[0];
            if (tens == 0) {
                return std::nullopt;
            }
            digits.clear();
        } else {
            break;
        }
        ++i;
        if (digits.size() > 4) {
            return std::nullopt;
        }
    }
    if (i == pos) {
        return std::nullopt;
    }
    int value = 0;
    if (tens >= 0) {
        if (digits.size() > 1 || (digits.size() == 1 && digits[0] == 0)) {
            return std::nullopt;
        }
        value = tens * 10 + (digits.empty() ? 0 : digits[0]);
    } else {
        for (int d : digits) {
            value = value * 10 + d;
        }
    }
    pos = i;
    return value;
}

long daysFromCivil(const CivilDate& d) {
    // Days since 1970-01-01 (proleptic Gregorian).
    const int y = d.month <= 2 ? d.year - 1 : d.year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (d.month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + d.day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<long>(era) * 146097 + doe - 719468;
}

CivilDate dayBefore(const CivilDate& d) {
    if (d.day > 1) {
        return {d.year, d.month, d.day - 1};
    }
    if (d.month > 1) {
        return {d.year, d.month - 1, daysInMonth(d.year, d.month - 1)};
    }
    return {d.year - 1, 12, 31};
}

WarekiReading fail(std::string reason) {
    WarekiReading r;
    r.reason = std::move(reason);
    return r;
}

} // namespace

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[static_cast<std::size_t>(month - 1)];
}

bool isRealDate(const CivilDate& d) {
    return d.day >= 1 && d.day <= daysInMonth(d.year, d.month);
}

long WarekiDate::orderKey() const {
    if (lunisolar) {
        // Before 1873-01-01, in the order of year, month, leap month and day.
        const long key =
            ((static_cast<long>(civil.year) * 13 + month) * 2 + (leapMonth ? 1 : 0)) * 31 + day;
        const long lastKey = ((static_cast<long>(kLastLunisolarYear) * 13 + 12) * 2) * 31 + 2;
        return daysFromCivil({1873, 1, 1}) - 1 - (lastKey - key);
    }
    return daysFromCivil(civil);
}

std::string WarekiDate::text() const {
    return dateText(era, eraYear, month, day, leapMonth);
}

namespace {

// The characters of a written date, spaces left out.
std::vector<std::string> dateCharacters(std::string_view input) {
    std::vector<std::string> cs;
    for (std::string& c : characters(input)) {
        if (!isSpace(c)) {
            cs.push_back(std::move(c));
        }
    }
    return cs;
}

// The parts of a date as written: "<元号><year>年[閏]<month>月<day>日".
struct WrittenDate {
    const Era* era = nullptr;
    int year = 0;
    bool leap = false;
    int month = 0;
    int day = 0;
};

// Reads the parts of the (non-empty) characters of a date into `w`; the reason when they
// cannot be read, in the order in which they are written.
std::optional<std::string> readParts(const std::vector<std::string>& cs, WrittenDate& w) {
    if (cs.size() >= 2) {
        const std::string name = cs[0] + cs[1];
        for (const Era& e : kEras) {
            if (name == e.name) {
                w.era = &e;
            }
        }
    }
    if (w.era == nullptr) {
        return "元号（明治・大正・昭和・平成・令和）で始まっていません";
    }
    std::size_t pos = 2;
    if (pos < cs.size() && cs[pos] == "元") {
        w.year = 1;
        ++pos;
    } else if (const auto n = readNumber(cs, pos)) {
        w.year = *n;
    } else {
        return "年の数字が読めません";
    }
    if (pos >= cs.size() || cs[pos] != "年") {
        return "「年」がありません";
    }
    ++pos;
    if (w.year < 1) {
        return std::string(w.era->name) + "０年はありません";
    }
    if (pos < cs.size() && cs[pos] == "閏") {
        w.leap = true;
        ++pos;
    }
    const auto month = readNumber(cs, pos);
    if (!month) {
        return pos >= cs.size() ? "月と日がありません" : "月の数字が読めません";
    }
    if (pos >= cs.size() || cs[pos] != "月") {
        return "「月」がありません";
    }
    ++pos;
    const auto day = readNumber(cs, pos);
    if (!day) {
        return pos >= cs.size() ? "日がありません" : "日の数字が読めません";
    }
    if (pos >= cs.size() || cs[pos] != "日") {
        return "「日」がありません";
    }
    ++pos;
    if (pos < cs.size()) {
        std::string rest;
        for (std::size_t i = pos; i < cs.size(); ++i) {
            rest += cs[i];
        }
        return "日付のあとに「" + rest + "」があります";
    }
    if (*month < 1 || *month > 12) {
        return fullWidthNumber(*month) + "月はありません";
    }
    w.month = *month;
    w.day = *day;
    return std::nullopt;
}

// A date of Meiji up to its 5th year: the lunisolar calendar, months of 29 or 30 days and
// the leap months of its years.
WarekiReading lunisolarDate(WarekiDate d, int western) {
    d.lunisolar = true;
    d.civil = {western, d.month, d.day};
    if (d.leapMonth) {
        bool known = false;
        for (const LeapMonth& l : kLeapMonths) {
            known = known || (l.year == western && l.month == d.month);
        }
        if (!known) {
            return fail(d.text() + "はありません（閏月は明治元年閏４月と明治３年閏１０月）");
        }
    }
    if (d.day < 1 || d.day > 30) {
        return fail("旧暦（明治５年まで）の月は３０日までです");
    }
    if (d.civil > kLastLunisolarDay && !d.leapMonth) {
        return fail("明治５年１２月３日からあとの１２月の日はありません（明治５年１２月２日の翌日"
                    "が明治６年１月１日）");
    }
    return {d, {}};
}

// A date of the Gregorian calendar: a real day within its era.
WarekiReading gregorianDate(WarekiDate d, const Era& era, int western) {
    if (d.leapMonth) {
        return fail("閏月は明治５年までの旧暦にしかありません");
    }
    d.civil = {western, d.month, d.day};
    if (!isRealDate(d.civil)) {
        if (d.month == 2 && d.day == 29) {
            return fail(std::string(era.name) + eraYearText(d.eraYear) + "年（" +
                        std::to_string(western) +
                        "年）はうるう年ではありません（２月は２８日まで）");
        }
        return fail(fullWidthNumber(d.month) + "月は" +
                    fullWidthNumber(daysInMonth(western, d.month)) + "日までです");
    }
    if (d.civil < era.first) {
        const CivilDate before = dayBefore(era.first);
        const std::string firstText = warekiText(era.first).value_or("");
        return fail(d.text() + "は" + std::string(era.name) + "より前です（" +
                    std::string(era.name) + "は" + firstText + "から、その前日は" +
                    warekiText(before).value_or("") + "）");
    }
    if (era.last.year != 0 && d.civil > era.last) {
        return fail(d.text() + "は" + std::string(era.name) + "の終わりより後です（" +
                    warekiText(era.last).value_or("") + "が最後の日、この日は" +
                    warekiText(d.civil).value_or("") + "）");
    }
    return {d, {}};
}

} // namespace

WarekiReading readWareki(std::string_view input) {
    const std::vector<std::string> cs = dateCharacters(input);
    if (cs.empty()) {
        return fail("日付が書かれていません");
    }
    WrittenDate w;
    if (const auto reason = readParts(cs, w)) {
        return fail(*reason);
    }
    WarekiDate d;
    d.era = std::string(w.era->name);
    d.eraYear = w.year;
    d.month = w.month;
    d.day = w.day;
    d.leapMonth = w.leap;
    const int western = w.era->firstYear + w.year - 1;
    if (w.era->name == "明治" && western <= kLastLunisolarYear) {
        return lunisolarDate(d, western);
    }
    return gregorianDate(d, *w.era, western);
}

std::optional<std::string> warekiText(const CivilDate& d) {
    if (!isRealDate(d) || d < kEras[0].first) {
        return std::nullopt;
    }
    const Era* era = &kEras[0];
    for (const Era& e : kEras) {
        if (d >= e.first) {
            era = &e;
        }
    }
    return dateText(era->name, d.year - era->firstYear + 1, d.month, d.day, false);
}

} // namespace common
