// GEDCOM dates in the registers' form: 和暦 with full-width digits, as the person form writes
// them ("昭和３１年３月１２日", "平成元年１月８日").
//
// A day, a month or a year of the Gregorian calendar is written in the era of its days; a
// month or year that two eras share names both ("昭和６４年（平成元年）１月"). Days before
// 明治６年 (1873-01-01), when Japan still kept the lunisolar calendar, are written in the
// Western year ("西暦１８６０年３月１２日"). Approximate dates and ranges keep their sense in
// words: ABT, CAL and EST "…頃", BEF "…以前", AFT "…以後", BET … AND … "…から…の間", FROM …
// TO … "…から…まで". A date of another calendar (Julian, Hebrew, French) or before the
// common era is kept as written.
#pragma once

#include "common/wareki.h"

#include <string>
#include <string_view>

namespace converter {

struct GedcomDateText {
    enum class Kind {
        Converted,     // `text` is the date in the registers' form
        KeptAsWritten, // a GEDCOM date this form cannot show: `text` is the value as written
        Unreadable,    // not a GEDCOM date: `text` is the value as written
    };
    Kind kind = Kind::Unreadable;
    std::string text;
};

// The date value of a DATE line (without a date phrase) in the registers' form.
GedcomDateText registerDate(std::string_view value);

// The parts of a 5.5.1 date value: "INT 12 MAR 1956 (昭和３１年３月１２日)" or "(不詳)" give the
// date and the phrase; anything else is a date without a phrase.
struct DateAndPhrase {
    std::string_view date;
    std::string_view phrase;
    bool hasPhrase = false;
};
DateAndPhrase splitDatePhrase(std::string_view value);

// The 和暦 of a year, of a month of a year, of a day (see above for eras they share and for
// days before 1873).
std::string warekiYear(int year);
std::string warekiMonth(int year, int month);
std::string warekiDay(const common::CivilDate& day);

} // namespace converter
