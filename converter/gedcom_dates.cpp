#include "converter/gedcom_dates.h"

#include <array>
#include <optional>
#include <vector>

namespace converter {

namespace {

constexpr common::CivilDate kGregorianStart{1873, 1, 1};

std::string wideNumber(int n) {
    static constexpr std::array<std::string_view, 10> kDigits = {"０", "１", "２", "３", "４",
                                                                 "５", "６", "７", "８", "９"};
    std::string s;
    for (char c : std::to_string(n)) {
        s += kDigits[static_cast<std::size_t>(c - '0')];
    }
    return s;
}

// "昭和３１年" of a day on or after 1873-01-01.
std::string eraYear(const common::CivilDate& d) {
    const std::string t = common::warekiText(d).value_or("");
    return t.substr(0, t.find("年") + std::string_view("年").size());
}

// The era years of a period: one, or the first with the second in parentheses.
std::string eraYears(const common::CivilDate& first, const common::CivilDate& last) {
    const std::string a = eraYear(first);
    const std::string b = eraYear(last);
    return a == b ? a : a + "（" + b + "）";
}

std::string western(int year) {
    return "西暦" + wideNumber(year) + "年";
}

std::string trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return std::string(s);
}

int monthOf(std::string_view token) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::string u(token);
    for (auto& c : u) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (u == kMonths[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool number(std::string_view token, int maxDigits, int& value) {
    if (token.empty() || token.size() > static_cast<std::size_t>(maxDigits)) {
        return false;
    }
    value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

enum class Outcome { Converted, KeptAsWritten, Unreadable };

// One date: [calendar] [[day] month] year [epoch].
Outcome oneDate(const std::vector<std::string_view>& tokens, std::string& text) {
    std::size_t i = 0;
    if (i < tokens.size()) {
        const std::string_view first = tokens[i];
        if (first.rfind("@#D", 0) == 0) {
            const bool gregorian = first == "@#DGREGORIAN@";
            // "@#DFRENCH R@" holds a space: its second token ends the escape.
            if (first.back() != '@') {
                ++i;
            }
            ++i;
            if (!gregorian) {
                return i < tokens.size() ? Outcome::KeptAsWritten : Outcome::Unreadable;
            }
        } else if (first == "GREGORIAN") {
            ++i;
        } else if (first == "JULIAN" || first == "HEBREW" || first == "FRENCH_R" ||
                   first.front() == '_') {
            return tokens.size() > 1 ? Outcome::KeptAsWritten : Outcome::Unreadable;
        }
    }
    const std::size_t n = tokens.size() - i;
    if (n == 0 || n > 4) {
        return Outcome::Unreadable;
    }
    std::vector<std::string_view> t(tokens.begin() + static_cast<std::ptrdiff_t>(i), tokens.end());
    bool beforeCommonEra = false;
    if (t.back() == "B.C." || t.back() == "BCE" || t.back() == "BC") {
        beforeCommonEra = true;
        t.pop_back();
    }
    if (t.empty() || t.size() > 3) {
        return Outcome::Unreadable;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    const std::string_view yearToken = t.back();
    const std::size_t slash = yearToken.find('/');
    bool dualYear = false;
    if (slash != std::string_view::npos) {
        int second = 0;
        if (!number(yearToken.substr(0, slash), 4, year) ||
            !number(yearToken.substr(slash + 1), 2, second)) {
            return Outcome::Unreadable;
        }
        dualYear = true;
    } else if (!number(yearToken, 4, year)) {
        return Outcome::Unreadable;
    }
    if (t.size() >= 2 && (month = monthOf(t[t.size() - 2])) == 0) {
        return Outcome::Unreadable;
    }
    if (t.size() == 3 && !number(t[0], 2, day)) {
        return Outcome::Unreadable;
    }
    if (year == 0 || (day != 0 && !common::isRealDate({year, month, day}))) {
        return Outcome::Unreadable;
    }
    if (beforeCommonEra || dualYear) {
        return Outcome::KeptAsWritten;
    }
    if (day != 0) {
        text = warekiDay({year, month, day});
    } else if (month != 0) {
        text = warekiMonth(year, month);
    } else {
        text = warekiYear(year);
    }
    return Outcome::Converted;
}

std::vector<std::string_view> tokensOf(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ') {
            ++i;
        }
        if (i > start) {
            out.push_back(s.substr(start, i - start));
        }
    }
    return out;
}

} // namespace

std::string warekiYear(int year) {
    if (year < kGregorianStart.year) {
        return western(year);
    }
    return eraYears({year, 1, 1}, {year, 12, 31});
}

std::string warekiMonth(int year, int month) {
    const common::CivilDate first{year, month, 1};
    if (first < kGregorianStart) {
        return western(year) + wideNumber(month) + "月";
    }
    return eraYears(first, {year, month, common::daysInMonth(year, month)}) + wideNumber(month) +
           "月";
}

std::string warekiDay(const common::CivilDate& day) {
    if (day < kGregorianStart) {
        return western(day.year) + wideNumber(day.month) + "月" + wideNumber(day.day) + "日";
    }
    return common::warekiText(day).value_or("");
}

DateAndPhrase splitDatePhrase(std::string_view value) {
    DateAndPhrase d;
    std::string_view v = value;
    while (!v.empty() && v.front() == ' ') {
        v.remove_prefix(1);
    }
    while (!v.empty() && v.back() == ' ') {
        v.remove_suffix(1);
    }
    d.date = v;
    if (v.empty() || v.back() != ')') {
        return d;
    }
    std::string_view datePart;
    std::size_t open = std::string_view::npos;
    if (v.front() == '(') {
        open = 0;
    } else if (v.rfind("INT ", 0) == 0) {
        open = v.find('(');
        if (open == std::string_view::npos) {
            return d;
        }
        datePart = v.substr(4, open - 4);
    } else {
        return d;
    }
    d.date = datePart;
    d.phrase = v.substr(open + 1, v.size() - open - 2);
    d.hasPhrase = true;
    return d;
}

GedcomDateText registerDate(std::string_view value) {
    GedcomDateText out;
    out.text = trim(value);
    const std::vector<std::string_view> t = tokensOf(value);
    if (t.empty()) {
        out.kind = GedcomDateText::Kind::Unreadable;
        return out;
    }
    auto upto = [&](std::size_t from, std::string_view stop) {
        std::size_t k = from;
        while (k < t.size() && t[k] != stop) {
            ++k;
        }
        return k;
    };
    auto part = [&](std::size_t from, std::size_t to, std::string& text) {
        return oneDate(std::vector<std::string_view>(t.begin() + static_cast<std::ptrdiff_t>(from),
                                                     t.begin() + static_cast<std::ptrdiff_t>(to)),
                       text);
    };
    std::string a;
    std::string b;
    Outcome outcome = Outcome::Unreadable;
    const std::string_view head = t[0];
    if (head == "ABT" || head == "CAL" || head == "EST") {
        outcome = part(1, t.size(), a);
        a += "頃";
    } else if (head == "BEF") {
        outcome = part(1, t.size(), a);
        a += "以前";
    } else if (head == "AFT") {
        outcome = part(1, t.size(), a);
        a += "以後";
    } else if (head == "INT") {
        outcome = part(1, t.size(), a);
    } else if (head == "BET") {
        const std::size_t and_ = upto(1, "AND");
        if (and_ < t.size()) {
            const Outcome first = part(1, and_, a);
            const Outcome second = part(and_ + 1, t.size(), b);
            outcome = std::max(first, second);
            a += "から" + b + "の間";
        }
    } else if (head == "FROM") {
        const std::size_t to = upto(1, "TO");
        const Outcome first = part(1, to, a);
        outcome = first;
        if (to < t.size()) {
            outcome = std::max(first, part(to + 1, t.size(), b));
            a += "から" + b + "まで";
        } else {
            a += "から";
        }
    } else if (head == "TO") {
        outcome = part(1, t.size(), a);
        a += "まで";
    } else {
        outcome = part(0, t.size(), a);
    }
    switch (outcome) {
    case Outcome::Converted:
        out.kind = GedcomDateText::Kind::Converted;
        out.text = a;
        break;
    case Outcome::KeptAsWritten:
        out.kind = GedcomDateText::Kind::KeptAsWritten;
        break;
    case Outcome::Unreadable:
        out.kind = GedcomDateText::Kind::Unreadable;
        break;
    }
    return out;
}

} // namespace converter
