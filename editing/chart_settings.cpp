#include "editing/chart_settings.h"

#include "common/text.h"
#include "editing/family_lists.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace editing {

namespace {

// What a typed number may hold, and each character's full-width form as the full-width
// conversion writes it ("１", "－", "．", "　" ...). The minus sign U+2212, which the
// Shift-JIS codec also writes as "－", is a minus too.
constexpr std::string_view kNumberCharacters = "0123456789+-.eE ";
constexpr std::string_view kMinusSign = "\u2212";

std::string asciiNumberText(std::string_view typed) {
    static const std::vector<std::pair<std::string, char>> wide = [] {
        std::vector<std::pair<std::string, char>> forms;
        for (const char c : kNumberCharacters) {
            forms.emplace_back(common::toFullWidth(std::string_view(&c, 1)), c);
        }
        forms.emplace_back(kMinusSign, '-');
        return forms;
    }();
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size();) {
        const auto form = std::find_if(wide.begin(), wide.end(), [&](const auto& f) {
            return typed.substr(i, f.first.size()) == f.first;
        });
        if (form != wide.end()) {
            out += form->second;
            i += form->first.size();
        } else {
            out += typed[i];
            ++i;
        }
    }
    return out;
}

// The blanks around a typed number: ASCII white space and the Unicode spaces (no-break,
// the typographic spaces, line and paragraph separators).
constexpr std::string_view kBlanks[] = {
    " ",      "\t",     "\n",     "\v",     "\f",     "\r",     "\u0085", "\u00A0",
    "\u1680", "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006",
    "\u2007", "\u2008", "\u2009", "\u200A", "\u2028", "\u2029", "\u202F", "\u205F",
};

std::string_view trimmed(std::string_view s) {
    for (bool more = true; more;) {
        more = false;
        for (const std::string_view blank : kBlanks) {
            if (s.starts_with(blank)) {
                s.remove_prefix(blank.size());
                more = true;
            }
            if (s.ends_with(blank)) {
                s.remove_suffix(blank.size());
                more = true;
            }
        }
    }
    return s;
}

std::size_t digitsAt(std::string_view s, std::size_t at) {
    std::size_t n = 0;
    while (at + n < s.size() && s[at + n] >= '0' && s[at + n] <= '9') {
        ++n;
    }
    return n;
}

// A decimal number: a sign, digits with at most one point (a digit on either side), an
// exponent with its own sign and digits.
bool isDecimal(std::string_view s) {
    std::size_t at = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
    const std::size_t whole = digitsAt(s, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < s.size() && s[at] == '.') {
        fraction = digitsAt(s, at + 1);
        at += 1 + fraction;
    }
    if (whole + fraction == 0) {
        return false;
    }
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        ++at;
        if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
            ++at;
        }
        const std::size_t exponent = digitsAt(s, at);
        if (exponent == 0) {
            return false;
        }
        at += exponent;
    }
    return at == s.size();
}

std::string rangeText(float low, float high) {
    return "（" + fieldNumber(low) + " から " + fieldNumber(high) + " まで）";
}

} // namespace

std::string fieldNumber(float value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e9f) {
        return std::to_string(static_cast<long long>(value));
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::optional<float> parseFieldNumber(std::string_view text) {
    const std::string ascii = asciiNumberText(text);
    std::string_view number = trimmed(ascii);
    if (!isDecimal(number)) {
        return std::nullopt;
    }
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) {
        number.remove_prefix(1);
    }
    double value = 0;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
    if (r.ec != std::errc() || r.ptr != number.data() + number.size()) {
        return std::nullopt; // beyond a double, or below its smallest value
    }
    // Read as a double and then narrowed: refused when the float would overflow, or lose
    // a value that is not 0.
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    const auto narrow = static_cast<float>(value);
    if (value != 0 && narrow == 0) {
        return std::nullopt;
    }
    return negative ? -narrow : narrow;
}

float birthDateIndent(float value) {
    return std::clamp(value, 0.0f, 15.0f);
}

int numeralStyle(int value) {
    return std::clamp(value, 0, 2);
}

SettingsFields settingsFields(const core::DrawingSettings& s) {
    SettingsFields f;
    f.fontSize = fieldNumber(s.FONT_SIZE);
    f.lineSpacing = fieldNumber(s.行間);
    f.charSpacing = fieldNumber(s.字間);
    f.lineThickness = fieldNumber(s.ラインの太さ);
    f.bottomSpread = fieldNumber(s.最下層部を広げる値);
    f.nameIndent = fieldNumber(s.名前の字下げ);
    f.birthIndent = fieldNumber(birthDateIndent(s.生年月日の字下げ));
    return f;
}

void storeKeptFields(const SettingsFields& fields, core::DrawingSettings& s) {
    if (const auto v = parseFieldNumber(fields.bottomSpread); v && *v >= 0) {
        s.最下層部を広げる値 = *v;
    }
    if (const auto v = parseFieldNumber(fields.nameIndent)) {
        s.名前の字下げ = *v;
    }
    if (const auto v = parseFieldNumber(fields.birthIndent)) {
        s.生年月日の字下げ = birthDateIndent(*v);
    }
}

std::optional<std::string> storeRunFields(const SettingsFields& fields, core::DrawingSettings& s) {
    // The fields that must hold a number, with their captions and ranges (the birth-date
    // indent's is no range a message names).
    struct NumberField {
        const std::string& text;
        const char* caption;
        float low;
        float high;
    };
    const NumberField checked[] = {
        {fields.lineSpacing, "行の間隔", 0, 500},
        {fields.charSpacing, "文字間隔", 0, 500},
        {fields.bottomSpread, "最下層部を広げる値", 0, 100},
        {fields.nameIndent, "名前の字下げ値", 0, 50},
        {fields.birthIndent, "生年月日の字下げ値", -1e9f, 1e9f},
    };
    for (const auto& f : checked) {
        const auto v = parseFieldNumber(f.text);
        if (!v || *v < f.low || *v > f.high) {
            const std::string range = f.high >= 1e9f ? "" : rangeText(f.low, f.high);
            return "「" + std::string(f.caption) + "」の値「" + f.text +
                   "」は使えません。数を入れてください" + range + "。";
        }
    }
    if (const auto v = parseFieldNumber(fields.fontSize); v && *v > 0) {
        s.FONT_SIZE = *v;
    }
    s.行間 = *parseFieldNumber(fields.lineSpacing);
    s.字間 = *parseFieldNumber(fields.charSpacing);
    const auto thickness = parseFieldNumber(fields.lineThickness);
    s.ラインの太さ = thickness && *thickness > 0 ? *thickness : 1;
    s.最下層部を広げる値 = *parseFieldNumber(fields.bottomSpread);
    s.名前の字下げ = *parseFieldNumber(fields.nameIndent);
    s.生年月日の字下げ = birthDateIndent(*parseFieldNumber(fields.birthIndent));
    return std::nullopt;
}

namespace {

// The controls that follow the writing direction. The child order box is offered in
// vertical writing when `childOrderInEitherMode` or in the normal mode, ticked when there
// was no settings file; text drawings are made of horizontal writing only.
void showDirectionControls(SettingsControls& c, bool vertical, bool childOrderInEitherMode,
                           const SettingsDialogContext& context) {
    c.numeralsShown = vertical;
    if (vertical) {
        if (childOrderInEitherMode || context.mode == 1) {
            c.childOrderShown = true;
            if (!context.settingsFilePresent) {
                c.childOrder.checked = true;
            }
        }
    } else {
        c.childOrderShown = false;
        c.childOrder.checked = false;
    }
    c.textDrawingEnabled = !vertical;
}

void setLabelStates(SettingsControls& c) {
    c.divorceDate.enabled = c.divorce.checked;
    c.domicileLabel.enabled = c.domicile.checked;
    c.addressLabel.enabled = c.address.checked;
}

} // namespace

std::string textDrawingWhyNot(const SettingsControls& c) {
    return c.textDrawingEnabled ? ""
                                : "テキスト化は横書きの系図だけです。「横書き」を選ぶと使えます";
}

void prepareControls(SettingsControls& c, const SettingsDialogContext& context) {
    const bool vertical = c.verticalTicked || !c.horizontalTicked;
    showDirectionControls(c, vertical, false, context);
    for (SettingsBox* box : {&c.domicile, &c.remarks1, &c.remarks2, &c.address, &c.acknowledgment,
                             &c.divorce, &c.deathDate, &c.birthDate, &c.divorceDate}) {
        box->enabled = true;
    }
    if (context.mode != 1) {
        for (SettingsBox* box : {&c.domicile, &c.address, &c.acknowledgment, &c.explanation}) {
            box->checked = false;
            box->enabled = false;
        }
        if (!context.settingsFilePresent) {
            c.childOrder.checked = false;
            c.linkSame.checked = true;
        }
    } else {
        c.explanation.enabled = true;
        if (!context.settingsFilePresent) {
            c.linkSame.checked = false;
        }
    }
    c.verticalTicked = vertical;
    c.horizontalTicked = !vertical;
    c.directionEnabled = true;
    setLabelStates(c);
}

void verticalChosen(SettingsControls& c, const SettingsDialogContext& context) {
    showDirectionControls(c, true, true, context);
    c.listChart.checked = false;
    c.listChart.enabled = false;
    c.explanation.enabled = true;
}

void horizontalChosen(SettingsControls& c) {
    showDirectionControls(c, false, false, SettingsDialogContext());
    c.listChart.enabled = true;
    c.explanation.enabled = true;
}

void labelledFieldClicked(SettingsControls& c, LabelledField field) {
    const SettingsBox& box = field == LabelledField::Domicile  ? c.domicile
                             : field == LabelledField::Address ? c.address
                                                               : c.divorce;
    SettingsBox& label = field == LabelledField::Domicile  ? c.domicileLabel
                         : field == LabelledField::Address ? c.addressLabel
                                                           : c.divorceDate;
    label.checked = false;
    label.enabled = box.checked;
}

void legalChartClicked(SettingsControls& c, LegalChartBox box) {
    (box == LegalChartBox::List ? c.explanation : c.listChart).checked = false;
}

std::vector<std::string> refreshFamilyEntries(std::vector<core::FamilyEntry>& entries,
                                              const core::Registers& reg, int baseFamily) {
    const int count = reg.familyCount();
    entries.resize(static_cast<std::size_t>(count));
    std::vector<std::string> lines;
    for (int f = 1; f <= count; ++f) {
        std::string line = familyListLine(reg, f);
        core::FamilyEntry& e = entries[static_cast<std::size_t>(f - 1)];
        if (e.text != line) {
            e.selected = 0; // the family changed since it was hidden
            e.text = line;
        }
        if (f == baseFamily) {
            e.selected = 0;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<bool> hiddenFamilySelection(const std::vector<core::FamilyEntry>& entries, int listed,
                                        int baseFamily) {
    std::vector<bool> selected;
    for (int i = 0; i < listed; ++i) {
        selected.push_back(static_cast<std::size_t>(i) < entries.size() &&
                           entries[static_cast<std::size_t>(i)].selected == 1 &&
                           i + 1 != baseFamily);
    }
    return selected;
}

void storeHiddenFamilies(std::vector<core::FamilyEntry>& entries, const std::vector<bool>& selected,
                         int familyCount, int baseFamily) {
    const int listed = static_cast<int>(selected.size());
    entries.resize(static_cast<std::size_t>(std::max(listed, familyCount)));
    for (int i = 0; i < listed; ++i) {
        const bool hidden = selected[static_cast<std::size_t>(i)] && i + 1 != baseFamily;
        entries[static_cast<std::size_t>(i)].selected = hidden ? 1 : 0;
    }
}

void hideAllFamilies(std::vector<core::FamilyEntry>& entries, int baseFamily) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].selected = static_cast<int>(i) + 1 == baseFamily ? 0 : 1;
    }
}

void showAllFamilies(std::vector<core::FamilyEntry>& entries) {
    for (auto& e : entries) {
        e.selected = 0;
    }
}

std::vector<core::Part> partsSavedAtRun() {
    return {core::Part::Settings, core::Part::Persons, core::Part::Families};
}

std::vector<core::Part> partsSavedAtCancel(const core::Registers& reg) {
    if (reg.familyCount() > 0) {
        return {core::Part::Settings, core::Part::Families};
    }
    return {core::Part::Settings};
}

} // namespace editing
