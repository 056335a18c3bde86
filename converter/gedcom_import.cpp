#include "converter/gedcom_import.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "converter/files.h"
#include "converter/gedcom_dates.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace converter {

std::string GedcomReport::unplacedLine() const {
    if (unplaced.empty()) {
        return {};
    }
    constexpr std::size_t kShown = 16;
    std::string s = "取り込めなかったもの：";
    for (std::size_t k = 0; k < unplaced.size() && k < kShown; ++k) {
        if (k > 0) {
            s += "、";
        }
        s += unplaced[k].first + " " + std::to_string(unplaced[k].second) + " 件";
    }
    if (unplaced.size() > kShown) {
        long rest = 0;
        for (std::size_t k = kShown; k < unplaced.size(); ++k) {
            rest += unplaced[k].second;
        }
        s += "、ほか " + std::to_string(unplaced.size() - kShown) + " 種類 " +
             std::to_string(rest) + " 件";
    }
    return s;
}

std::string findingsText(const std::vector<GedcomFinding>& findings, std::size_t shown) {
    std::string s;
    for (std::size_t k = 0; k < findings.size() && k < shown; ++k) {
        if (k > 0) {
            s += "\n";
        }
        s += findings[k].message();
    }
    if (findings.size() > shown) {
        s += "\n（ほか " + std::to_string(findings.size() - shown) + " 件）";
    }
    return s;
}

namespace {

constexpr std::string_view kWideSpace = "　";
constexpr long kNone = -1;

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string_view> linesOf(std::string_view v) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nl = v.find('\n', start);
        out.push_back(v.substr(start, nl == std::string_view::npos ? nl : nl - start));
        if (nl == std::string_view::npos) {
            return out;
        }
        start = nl + 1;
    }
}

// True when a register holds `v` as it is (Shift-JIS has every character, and it reads back
// unquoted), in one pass; false leaves the reason to the slower checks.
bool holdsAsItIs(std::string_view v) {
    if (v.empty()) {
        return true;
    }
    if (v.front() == ' ' || v.front() == '"' || v.back() == ' ') {
        return false;
    }
    std::size_t i = 0;
    while (i < v.size()) {
        const auto b = static_cast<unsigned char>(v[i]);
        if (b < 0x80) {
            if (b < 0x20 || b == 0x7F || b == ',' || b == ':') {
                return false;
            }
            ++i;
            continue;
        }
        // Two- and three-byte UTF-8 (all Shift-JIS can hold); anything else goes the slow way.
        char32_t cp = 0;
        std::size_t n = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F;
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F;
            n = 3;
        } else {
            return false;
        }
        if (i + n > v.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(v[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 3 && cp < 0x800) || !common::isCp932Encodable(cp)) {
            return false;
        }
        i += n;
    }
    return true;
}

bool hasControl(std::string_view v) {
    return std::any_of(v.begin(), v.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

std::string codePointName(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

// An ADOP or 認知 event of a person, waiting for the child entry it dates.
struct Event {
    std::size_t node = 0;
    long family = kNone; // the FAM node it names; kNone when it names none
    bool taken = false;
};

// What a person's INDI says about families, kept until the families are built.
struct Links {
    struct Famc {
        std::size_t family; // FAM node
        int pedi;           // 1 adopted, 0 birth, -1 not said
    };
    std::vector<Famc> famc;
    std::vector<std::pair<std::size_t, int>> fams; // FAM node, line
    std::vector<Event> adoptions;
    std::vector<Event> acknowledgments;
};

// A child entry of a family as read, before its kind and date are known.
struct Slot {
    long person = 0;   // person number (CHIL) or the number as written (_TSUBAKI_CHIL)
    bool valid = true; // a CHIL pointing at a person
    std::optional<long> kind;
    std::optional<std::string> title;
    std::optional<std::string> date; // _TSUBAKI_DATE
    int line = 0;
};

class Importer {
public:
    Importer(const GedcomFile& f, GedcomImport& out)
        : f_(f), out_(out), used_(f.nodes.size(), 0), number_(f.nodes.size(), 0) {
        ours_ = f.source == "MOKUREN";
    }

    void run() {
        out_.report.errors = f_.errors;
        out_.report.notices = f_.notices;
        f_.forRecords([&](std::size_t r) {
            const GedcomNode& n = f_.nodes[r];
            if (n.tag() == "INDI") {
                indi_.push_back(r);
                number_[r] = static_cast<std::int32_t>(indi_.size());
            } else if (n.tag() == "FAM") {
                fam_.push_back(r);
                number_[r] = static_cast<std::int32_t>(fam_.size());
            } else if (n.tag() == "HEAD" || n.tag() == "TRLR" || n.tag() == "SUBM" ||
                       n.tag() == "SUBN") {
                useTree(r); // the file's own description, not the family's
            }
        });
        auto& reg = out_.registers;
        reg.persons.persons.resize(indi_.size());
        reg.founders.assign(indi_.size(), 0);
        links_.resize(indi_.size());
        out_.personLines.reserve(indi_.size());
        for (std::size_t i = 0; i < indi_.size(); ++i) {
            person(i);
        }
        reg.families.resize(fam_.size());
        slots_.resize(fam_.size());
        for (std::size_t k = 0; k < fam_.size(); ++k) {
            family(k);
        }
        children();
        if (!ours_) {
            parentsFromFamilies();
        }
        spouseLinks();
        layout();
        unplaced();
    }

private:
    // --- helpers -------------------------------------------------------------------------
    const GedcomNode& node(std::size_t i) const { return f_.nodes[i]; }
    void use(std::size_t i) { used_[i] = 1; }
    void useTree(std::size_t i) {
        std::fill(used_.begin() + static_cast<std::ptrdiff_t>(i),
                  used_.begin() + static_cast<std::ptrdiff_t>(f_.nodes[i].end), 1);
    }
    long childNode(std::size_t i, std::string_view tag) const { return f_.child(i, tag); }

    std::string aboutPerson(std::size_t i) const {
        const 当事者& p = out_.registers.persons.persons[i];
        std::string s(node(indi_[i]).xref());
        if (!p.姓.empty() || !p.名.empty()) {
            s += " " + p.姓 + p.名;
        }
        return s;
    }
    std::string aboutFamily(std::size_t k) const { return std::string(node(fam_[k]).xref()); }

    void error(int line, std::string about, std::string text) {
        out_.report.errors.push_back({line, std::move(about), std::move(text)});
    }
    void notice(int line, std::string about, std::string text) {
        out_.report.notices.push_back({line, std::move(about), std::move(text)});
    }

    // A text as the registers hold it: kept as it is when it reads back; full-width, as the
    // person form stores typed text, when it holds half-width separators; refused for a
    // character that Shift-JIS or a register line cannot hold.
    template <class About>
    void text(std::string& field, std::string_view value, int line, std::string_view label,
              About&& about) {
        field.assign(value);
        if (holdsAsItIs(field)) {
            return;
        }
        if (const auto bad = common::firstUnencodable(field)) {
            error(line, about(),
                  "「" + std::string(label) + "」の「" +
                      common::utf32ToUtf8(std::u32string(1, *bad)) + "」（" + codePointName(*bad) +
                      "）はShift-JISにない文字なので、当事者目録と家族目録に書けません");
            return;
        }
        if (common::readsBackUnquoted(field)) {
            return;
        }
        if (hasControl(field)) {
            error(line, about(),
                  "「" + std::string(label) +
                      "」に制御文字（タブなど）があるので、当事者目録と家族目録"
                      "に書けません");
            return;
        }
        field = common::toFullWidth(field);
        notice(line, about(),
               "「" + std::string(label) +
                   "」の半角の「,」「:」や前後の空白などは、読み返せるように全角にしました");
    }

    // Two register lines from a text of several lines (CONT): the first and the second; more
    // lines go into the second, joined with "　".
    template <class About>
    void twoLines(std::string_view value, std::string& first, std::string& second, int line,
                  std::string_view label1, std::string_view label2, About&& about) {
        const std::size_t nl = value.find('\n');
        if (nl == std::string_view::npos) {
            text(first, value, line, label1, about);
            second.clear();
            return;
        }
        const auto lines = linesOf(value);
        text(first, lines[0], line, label1, about);
        std::string rest;
        for (std::size_t k = 1; k < lines.size(); ++k) {
            if (k > 1) {
                rest += kWideSpace;
            }
            rest += lines[k];
        }
        if (lines.size() > 2) {
            notice(line, about(),
                   "「" + std::string(label1) + "」が " + std::to_string(lines.size()) +
                       " 行あるので、２行目から後を「" + std::string(label2) +
                       "」に「　」でつないで入れました");
        }
        text(second, rest, line, label2, about);
    }

    template <class About> bool integer(std::size_t i, long& value, About&& about) {
        use(i);
        const GedcomNode& n = node(i);
        long v = 0;
        if (trim(n.value).empty() || !parseLong(n.value, v)) {
            error(n.line, about(),
                  std::string(n.tag()) + " の値「" + std::string(n.value) +
                      "」は整数ではありません");
            return false;
        }
        value = v;
        return true;
    }

    // The text of a DATE line (see gedcom_dates.h); a phrase of mokuren's is taken whole.
    template <class About>
    std::string dateText(std::size_t d, std::string_view label, About&& about) {
        use(d);
        const GedcomNode& n = node(d);
        if (const long exact = childNode(d, "_TSUBAKI_TEXT"); exact >= 0) {
            use(static_cast<std::size_t>(exact));
            return std::string(node(static_cast<std::size_t>(exact)).value);
        }
        std::string_view date = n.value;
        std::string_view phrase;
        bool hasPhrase = false;
        if (f_.version == GedcomVersion::V70) {
            if (const long p = childNode(d, "PHRASE"); p >= 0) {
                use(static_cast<std::size_t>(p));
                phrase = node(static_cast<std::size_t>(p)).value;
                hasPhrase = true;
            }
        } else {
            const DateAndPhrase split = splitDatePhrase(n.value);
            date = split.date;
            phrase = split.phrase;
            hasPhrase = split.hasPhrase;
        }
        date = trim(date);
        if (hasPhrase && (ours_ || date.empty())) {
            return std::string(phrase);
        }
        if (date.empty()) {
            return {};
        }
        const GedcomDateText r = registerDate(date);
        switch (r.kind) {
        case GedcomDateText::Kind::Converted:
            return r.text;
        case GedcomDateText::Kind::KeptAsWritten:
            notice(n.line, about(),
                   "「" + std::string(label) + "」の日付「" + std::string(date) +
                       "」は和暦にできないので、書かれたとおりに取り込みました");
            break;
        case GedcomDateText::Kind::Unreadable:
            notice(n.line, about(),
                   "「" + std::string(label) + "」の「" + std::string(date) +
                       "」はGEDCOMの日付として読めないので、書かれたとおりに取り込みました");
            break;
        }
        return hasPhrase ? std::string(phrase) : r.text;
    }

    // The date of an event (BIRT, DEAT, DIV, ADOP, EVEN): its DATE, or nothing.
    template <class About>
    std::optional<std::string> eventDate(std::size_t e, std::string_view label, About&& about) {
        const long d = childNode(e, "DATE");
        if (d < 0) {
            return std::nullopt;
        }
        return dateText(static_cast<std::size_t>(d), label, about);
    }

    // The record a pointer names when it is of `tag`; kNone (after an error) otherwise.
    long target(std::size_t i, std::string_view tag, const std::string& about) {
        const GedcomNode& n = node(i);
        const long r = n.target;
        if (r < 0) {
            return kNone; // @VOID@, or a pointer to nothing (already an error)
        }
        if (node(static_cast<std::size_t>(r)).tag() != tag) {
            error(n.line, about,
                  std::string(n.tag()) + " が指す「" + std::string(n.value) + "」は " +
                      std::string(tag) + " ではありません");
            return kNone;
        }
        return r;
    }

    // --- persons ---------------------------------------------------------------------------
    // What a person's lines said so far: the first BIRT, DEAT, RESI with ADDR and FACT 本籍
    // are placed, later ones are not; the NOTEs are gathered.
    struct PersonLines {
        bool born = false;
        bool died = false;
        bool housed = false;
        bool domiciled = false;
        std::vector<std::string_view> notes;
        int noteLine = 0;
    };

    void person(std::size_t i) {
        const std::size_t r = indi_[i];
        use(r);
        out_.personLines.push_back(node(r).line);
        当事者& p = out_.registers.persons.persons[i];
        const long n = static_cast<long>(i) + 1;
        p.当事者NO = n;
        p.C_当事者NO = n;
        auto about = [this, i] { return aboutPerson(i); };
        if (const long name = childNode(r, "NAME"); name >= 0) {
            this->name(static_cast<std::size_t>(name), p, about); // a later NAME is not placed
        }
        PersonLines seen;
        f_.forChildren(r, [&](std::size_t c) {
            if (!personFact(c, p, seen, about) && !familyLink(c, links_[i], about) &&
                node(c).tag().rfind("_TSUBAKI_", 0) == 0) {
                tsubakiPersonTag(c, i, p, about);
            }
        });
        if (!seen.notes.empty()) {
            std::string joined;
            for (std::size_t k = 0; k < seen.notes.size(); ++k) {
                if (k > 0) {
                    joined += '\n';
                }
                joined += seen.notes[k];
            }
            twoLines(joined, p.備考1, p.備考2, seen.noteLine, "備考１", "備考２", about);
        }
    }

    long typed(std::size_t c, std::string_view type) const {
        const long t = childNode(c, "TYPE");
        return t >= 0 && trim(node(static_cast<std::size_t>(t)).value) == type ? t : kNone;
    }

    // SEX, BIRT, DEAT, the address, the domicile and the notes; false for any other line.
    template <class About>
    bool personFact(std::size_t c, 当事者& p, PersonLines& seen, About&& about) {
        const GedcomNode& t = node(c);
        const std::string_view tag = t.tag();
        if (tag == "SEX") {
            use(c);
            const std::string_view v = trim(t.value);
            p.男女 = v == "M" ? 1 : v == "F" ? 2 : 0;
        } else if (tag == "BIRT" && !seen.born) {
            use(c);
            seen.born = true;
            text(p.生年月日, eventDate(c, "生年月日", about).value_or(""), t.line, "生年月日",
                 about);
        } else if (tag == "DEAT" && !seen.died) {
            use(c);
            seen.died = true;
            // A death without a date is still a death: the register marks the living by an
            // empty date.
            const auto date = eventDate(c, "死亡年月日", about);
            text(p.死亡年月日, date && !date->empty() ? *date : std::string("不詳"), t.line,
                 "死亡年月日", about);
        } else if (tag == "RESI" && !seen.housed && childNode(c, "ADDR") >= 0) {
            use(c);
            seen.housed = true;
            const auto a = static_cast<std::size_t>(childNode(c, "ADDR"));
            use(a);
            twoLines(node(a).value, p.住所1, p.住所2, node(a).line, "住所１", "住所２", about);
        } else if (tag == "FACT" && !seen.domiciled && typed(c, "本籍") != kNone) {
            use(c);
            use(static_cast<std::size_t>(typed(c, "本籍")));
            seen.domiciled = true;
            twoLines(t.value, p.本籍1, p.本籍2, t.line, "本籍１", "本籍２", about);
        } else if (tag == "NOTE" && !t.pointer) {
            use(c);
            seen.notes.push_back(t.value);
            if (seen.noteLine == 0) {
                seen.noteLine = t.line;
            }
        } else {
            return false;
        }
        return true;
    }

    // FAMC (with PEDI), FAMS, ADOP and the 認知 EVEN, kept until the families are built;
    // false for any other line.
    template <class About> bool familyLink(std::size_t c, Links& links, About&& about) {
        const GedcomNode& t = node(c);
        const std::string_view tag = t.tag();
        if (tag == "FAMC" && t.pointer) {
            use(c);
            const long fam = target(c, "FAM", about());
            if (fam != kNone) {
                links.famc.push_back({static_cast<std::size_t>(fam), pedigree(c, about)});
            }
        } else if (tag == "FAMS" && t.pointer) {
            use(c);
            const long fam = target(c, "FAM", about());
            if (fam != kNone) {
                links.fams.emplace_back(static_cast<std::size_t>(fam), t.line);
            }
        } else if (tag == "ADOP") {
            links.adoptions.push_back({c, eventFamily(c, {"FAMC"}, about)});
        } else if (tag == "EVEN" && typed(c, "認知") != kNone) {
            links.acknowledgments.push_back({c, eventFamily(c, {"_TSUBAKI_FAMC", "FAMC"}, about)});
        } else {
            return false;
        }
        return true;
    }

    // A FAMC's PEDI: 1 adopted, 0 birth (and what is neither, said), -1 when there is none.
    template <class About> int pedigree(std::size_t famc, About&& about) {
        const long pd = childNode(famc, "PEDI");
        if (pd < 0) {
            return -1;
        }
        use(static_cast<std::size_t>(pd));
        const std::string_view v = trim(node(static_cast<std::size_t>(pd)).value);
        const int pedi = v == "adopted" || v == "ADOPTED" ? 1 : 0;
        if (!ours_ && pedi == 0 && v != "birth" && v != "BIRTH") {
            notice(node(static_cast<std::size_t>(pd)).line, about(),
                   "親子関係「" + std::string(v) + "」は実子として取り込みました");
        }
        return pedi;
    }

    template <class About>
    long eventFamily(std::size_t e, std::initializer_list<std::string_view> tags, About&& about) {
        for (std::string_view tag : tags) {
            const long c = childNode(e, tag);
            if (c >= 0 && node(static_cast<std::size_t>(c)).pointer) {
                return target(static_cast<std::size_t>(c), "FAM", about());
            }
        }
        return kNone;
    }

    template <class About> void name(std::size_t nameNode, 当事者& p, About&& about) {
        use(nameNode);
        const GedcomNode& n = node(nameNode);
        const std::string_view v = n.value;
        std::string_view surname;
        std::string given;
        const std::size_t s1 = v.find('/');
        if (s1 == std::string_view::npos) {
            given = std::string(trim(v));
        } else {
            const std::size_t s2 = v.find('/', s1 + 1);
            const std::string_view before = trim(v.substr(0, s1));
            const std::string_view after =
                s2 == std::string_view::npos ? std::string_view() : trim(v.substr(s2 + 1));
            surname =
                s2 == std::string_view::npos ? v.substr(s1 + 1) : v.substr(s1 + 1, s2 - s1 - 1);
            given = std::string(before);
            if (!after.empty()) {
                given += given.empty() ? "" : " ";
                given += after;
            }
        }
        // GIVN and SURN say the same as NAME; taken as they stand when they rebuild it (a
        // surname holding "/" is cut wrongly at the slashes).
        const long givn = childNode(nameNode, "GIVN");
        const long surn = childNode(nameNode, "SURN");
        if (givn >= 0 || surn >= 0) {
            const std::string_view g = givn >= 0 ? node(static_cast<std::size_t>(givn)).value : "";
            const std::string_view s = surn >= 0 ? node(static_cast<std::size_t>(surn)).value : "";
            const std::string rebuilt =
                (g.empty() ? std::string() : std::string(g) + " ") + "/" + std::string(s) + "/";
            if (rebuilt == v || (s1 == std::string_view::npos && trim(v).empty())) {
                given = std::string(g);
                surname = s;
            }
            if (givn >= 0) {
                use(static_cast<std::size_t>(givn));
            }
            if (surn >= 0) {
                use(static_cast<std::size_t>(surn));
            }
        }
        const std::string s(surname);
        p.姓 = s; // the whole name is known before either part is checked (for the messages)
        p.名 = given;
        text(p.姓, s, n.line, "姓", about);
        text(p.名, given, n.line, "名", about);
    }

    template <class About>
    void tsubakiPersonTag(std::size_t c, std::size_t i, 当事者& p, About&& about) {
        const GedcomNode& t = node(c);
        const std::string_view tag = t.tag();
        if (tag == "_TSUBAKI_LINK" && t.pointer) {
            use(c);
            const long r = target(c, "INDI", about());
            if (r != kNone) {
                p.C_当事者NO = number_[static_cast<std::size_t>(r)];
            }
            return;
        }
        long* field = tag == "_TSUBAKI_NO"               ? &p.当事者NO
                      : tag == "_TSUBAKI_LINK"           ? &p.C_当事者NO
                      : tag == "_TSUBAKI_FATHER"         ? &p.実父NO
                      : tag == "_TSUBAKI_MOTHER"         ? &p.実母NO
                      : tag == "_TSUBAKI_PARENTS_FAMILY" ? &p.父母家族NO
                      : tag == "_TSUBAKI_DESCENDANT"     ? &p.子孫_F
                      : tag == "_TSUBAKI_DESCENDANT_SET" ? &p.子孫_FL
                      : tag == "_TSUBAKI_HIDE_SURNAME"   ? &p.当姓
                      : tag == "_TSUBAKI_NAME_ORDER"     ? &p.姓名順
                      : tag == "_TSUBAKI_SEX"            ? &p.男女
                      : tag == "_TSUBAKI_FOUNDER"        ? &out_.registers.founders[i]
                                                         : nullptr;
        if (field != nullptr) {
            integer(c, *field, about);
        }
    }

    // --- families --------------------------------------------------------------------------
    // What a family's lines said beyond the fields they set at once.
    struct FamilyLines {
        bool husband = false; // the first HUSB and WIFE are the partners
        bool wife = false;
        bool notMarried = false; // 7.0's NO MARR
        bool divorced = false;
        std::optional<long> divorceFlag; // _TSUBAKI_DIVORCE
        std::optional<std::string> husbandTitle;
        std::optional<std::string> wifeTitle;
    };

    void family(std::size_t k) {
        const std::size_t r = fam_[k];
        use(r);
        out_.familyLines.push_back(node(r).line);
        家族& f = out_.registers.families[k];
        f.婚姻NO = static_cast<long>(k) + 1;
        auto about = [this, k] { return aboutFamily(k); };
        FamilyLines seen;
        f_.forChildren(r, [&](std::size_t c) {
            if (!familyFact(c, k, f, seen, about)) {
                tsubakiFamilyTag(c, f, seen, about);
            }
        });
        f.離婚_F = seen.divorceFlag.value_or(seen.divorced ? 1 : 0);
        if (f.離婚_F != 1) {
            f.離婚年月日.clear(); // the register keeps the date of a divorce only
        }
        if (ours_) {
            f.夫肩書 = seen.husbandTitle.value_or("");
            f.妻肩書 = seen.wifeTitle.value_or("");
            return;
        }
        // A family from elsewhere: what the family form would record for it.
        const bool both = f.夫NO != 0 && f.妻NO != 0;
        f.夫婦確定_f = both ? 1 : 0;
        f.形態 = both && seen.notMarried ? 1 : 0;
        f.形態L3 = (f.夫NO != 0) != (f.妻NO != 0) ? 1 : 0;
        f.夫肩書 = seen.husbandTitle.value_or("夫");
        f.妻肩書 = seen.wifeTitle.value_or("妻");
    }

    // HUSB, WIFE, MARR, NO MARR, DIV and CHIL; false for any other line.
    template <class About>
    bool familyFact(std::size_t c, std::size_t k, 家族& f, FamilyLines& seen, About&& about) {
        const GedcomNode& t = node(c);
        const std::string_view tag = t.tag();
        if ((tag == "HUSB" || tag == "WIFE") && t.pointer &&
            !(tag == "HUSB" ? seen.husband : seen.wife)) {
            use(c);
            (tag == "HUSB" ? seen.husband : seen.wife) = true;
            const long p = target(c, "INDI", about());
            if (p != kNone) {
                (tag == "HUSB" ? f.夫NO : f.妻NO) = number_[static_cast<std::size_t>(p)];
            }
        } else if (tag == "MARR") {
            use(c); // a marriage is the family's default; its date has no place
        } else if (tag == "NO" && trim(t.value) == "MARR") {
            use(c);
            seen.notMarried = true;
        } else if (tag == "DIV" && !seen.divorced) {
            use(c);
            seen.divorced = true;
            const auto date = eventDate(c, "離婚年月日", about);
            text(f.離婚年月日, date.value_or(""), t.line, "離婚年月日", about);
        } else if (tag == "CHIL" && t.pointer) {
            use(c);
            const long p = target(c, "INDI", about());
            if (p != kNone) {
                slots_[k].push_back(slot(c, number_[static_cast<std::size_t>(p)], true, about));
            }
        } else if (tag == "_TSUBAKI_CHIL") {
            long n = 0;
            if (integer(c, n, about)) {
                slots_[k].push_back(slot(c, n, false, about));
            }
        } else {
            return false;
        }
        return true;
    }

    template <class About>
    void tsubakiFamilyTag(std::size_t c, 家族& f, FamilyLines& seen, About&& about) {
        const GedcomNode& t = node(c);
        const std::string_view tag = t.tag();
        if (tag == "_TSUBAKI_HUSB_TITLE" || tag == "_TSUBAKI_WIFE_TITLE") {
            use(c);
            auto& title = tag == "_TSUBAKI_HUSB_TITLE" ? seen.husbandTitle : seen.wifeTitle;
            title.emplace();
            text(*title, t.value, t.line, tag == "_TSUBAKI_HUSB_TITLE" ? "夫肩書" : "妻肩書",
                 about);
            return;
        }
        if (tag == "_TSUBAKI_DIVORCE") {
            long v = 0;
            if (integer(c, v, about)) {
                seen.divorceFlag = v;
            }
            return;
        }
        long* field = tag == "_TSUBAKI_NO"                    ? &f.婚姻NO
                      : tag == "_TSUBAKI_CONFIRMED"           ? &f.夫婦確定_f
                      : tag == "_TSUBAKI_FORM"                ? &f.形態
                      : tag == "_TSUBAKI_FORM_UNCONFIRMED"    ? &f.形態L3
                      : tag == "_TSUBAKI_HUSB"                ? &f.夫NO
                      : tag == "_TSUBAKI_WIFE"                ? &f.妻NO
                      : tag == "_TSUBAKI_HIDE_SPOUSE"         ? &f.配偶者非表示_F
                      : tag == "_TSUBAKI_HIDE_SPOUSE_SURNAME" ? &f.配偶者姓F
                      : tag == "_TSUBAKI_LINEAGE"             ? &f.系統_F
                                                              : nullptr;
        if (field != nullptr) {
            integer(c, *field, about);
        }
    }

    template <class About> Slot slot(std::size_t c, long person, bool valid, About&& about) {
        Slot s;
        s.person = person;
        s.valid = valid;
        s.line = node(c).line;
        f_.forChildren(c, [&](std::size_t d) {
            const GedcomNode& t = node(d);
            if (t.tag() == "_TSUBAKI_TITLE") {
                use(d);
                s.title.emplace();
                text(*s.title, t.value, t.line, "子の肩書", about);
            } else if (t.tag() == "_TSUBAKI_KIND") {
                long v = 0;
                if (integer(d, v, about)) {
                    s.kind = v;
                }
            } else if (t.tag() == "_TSUBAKI_DATE") {
                use(d);
                s.date.emplace();
                text(*s.date, t.value, t.line, "縁組日・認知日", about);
            }
        });
        return s;
    }

    // The first event of `events` for the FAM node `family` not yet taken, else the first
    // one that names no family.
    Event* take(std::vector<Event>& events, std::size_t family) {
        for (auto* pass : {&family, static_cast<std::size_t*>(nullptr)}) {
            for (Event& e : events) {
                if (!e.taken &&
                    (pass != nullptr ? e.family == static_cast<long>(*pass) : e.family == kNone)) {
                    e.taken = true;
                    return &e;
                }
            }
        }
        return nullptr;
    }

    // An event's date, once it is known which child entry it dates.
    std::string eventText(const Event& e, std::size_t person, std::string_view label) {
        useTree(e.node); // its DATE, FAMC and TYPE are placed with it
        auto about = [this, person] { return aboutPerson(person); };
        const long d = childNode(e.node, "DATE");
        std::string out;
        if (d >= 0) {
            text(out, dateText(static_cast<std::size_t>(d), label, about), node(e.node).line, label,
                 about);
        }
        // What the event says beyond its date and family is not placed.
        f_.forChildren(e.node, [&](std::size_t c) {
            const std::string_view tag = node(c).tag();
            if (tag != "DATE" && tag != "FAMC" && tag != "_TSUBAKI_FAMC" && tag != "TYPE") {
                unuseTree(c);
            }
        });
        if (const long famc = childNode(e.node, "FAMC"); famc >= 0) {
            f_.forChildren(static_cast<std::size_t>(famc), [&](std::size_t c) { unuseTree(c); });
        }
        if (d >= 0) {
            f_.forChildren(static_cast<std::size_t>(d), [&](std::size_t c) {
                const std::string_view tag = node(c).tag();
                if (tag != "PHRASE" && tag != "_TSUBAKI_TEXT") {
                    unuseTree(c);
                }
            });
        }
        return out;
    }
    void unuseTree(std::size_t i) {
        std::fill(used_.begin() + static_cast<std::ptrdiff_t>(i),
                  used_.begin() + static_cast<std::ptrdiff_t>(f_.nodes[i].end), 0);
    }

    // Kinds and dates of the children, now that every person's events are known.
    void children() {
        auto& persons = out_.registers.persons.persons;
        const long count = static_cast<long>(persons.size());
        std::vector<std::vector<std::size_t>> famcOf(ours_ ? 0 : fam_.size());
        for (std::size_t i = 0; i < links_.size() && !ours_; ++i) {
            for (const auto& c : links_[i].famc) {
                famcOf[static_cast<std::size_t>(number_[c.family] - 1)].push_back(i);
            }
        }
        for (std::size_t k = 0; k < fam_.size(); ++k) {
            const std::size_t famNode = fam_[k];
            家族& f = out_.registers.families[k];
            auto& slots = slots_[k];
            // Children a person's FAMC names but the family's CHIL do not: added at the end.
            if (!ours_) {
                addChildrenNamedOnlyByFamc(k, famcOf[k]);
            }
            f.子.resize(slots.size());
            for (std::size_t j = 0; j < slots.size(); ++j) {
                const Slot& s = slots[j];
                家族の子& c = f.子[j];
                c.子NO = s.person;
                const bool person = s.valid && s.person >= 1 && s.person <= count;
                const std::size_t pi = person ? static_cast<std::size_t>(s.person - 1) : 0;
                if (s.kind) {
                    c.子の形態 = *s.kind;
                } else if (!ours_ && person) {
                    c.子の形態 = derivedKind(links_[pi], famNode);
                }
                if (!person) {
                    if (s.date) {
                        (c.子の形態 == 1 ? c.縁組日 : c.認知日) = *s.date;
                    }
                } else if (c.子の形態 == 1) {
                    if (Event* e = take(links_[pi].adoptions, famNode)) {
                        c.縁組日 = eventText(*e, pi, "縁組日");
                    }
                } else if (c.子の形態 == 2) {
                    if (Event* e = take(links_[pi].acknowledgments, famNode)) {
                        c.認知日 = eventText(*e, pi, "認知日");
                    }
                }
                if (s.title) {
                    c.子の肩書 = *s.title;
                } else if (!ours_) {
                    const bool female = person && persons[pi].isFemale();
                    c.子の肩書 = c.子の形態 == 1 ? (female ? "養女" : "養子") : "子";
                }
            }
        }
    }

    static long derivedKind(const Links& l, std::size_t famNode) {
        for (const auto& c : l.famc) {
            if (c.family == famNode && c.pedi == 1) {
                return 1;
            }
        }
        // An event that names no family dates the person's only family as a child.
        const bool only = l.famc.size() <= 1;
        const auto names = [&](const std::vector<Event>& events) {
            return std::any_of(events.begin(), events.end(), [&](const Event& e) {
                return e.family == static_cast<long>(famNode) || (e.family == kNone && only);
            });
        };
        if (names(l.adoptions)) {
            return 1;
        }
        if (names(l.acknowledgments)) {
            return 2;
        }
        return 0;
    }

    // `famcOf` lists, per family, the persons whose FAMC name it (once per FAMC).
    void addChildrenNamedOnlyByFamc(std::size_t k, const std::vector<std::size_t>& famcOf) {
        auto& slots = slots_[k];
        std::unordered_map<long, long> listed;
        for (const Slot& s : slots) {
            if (s.valid) {
                ++listed[s.person];
            }
        }
        for (const std::size_t i : famcOf) {
            const long n = static_cast<long>(i) + 1;
            auto it = listed.find(n);
            if (it != listed.end() && it->second > 0) {
                --it->second;
                continue;
            }
            Slot s;
            s.person = n;
            s.line = node(indi_[i]).line;
            slots.push_back(s);
            notice(s.line, aboutPerson(i),
                   "FAMC で家族 " + aboutFamily(k) +
                       " の子とされていますが、その家族の CHIL にないので、子の最後に加えました");
        }
    }

    // A person of a file from elsewhere: the parents are the couple of the family the person
    // was born into (the mother alone for a child not acknowledged).
    void parentsFromFamilies() {
        auto& persons = out_.registers.persons.persons;
        const long count = static_cast<long>(persons.size());
        for (std::size_t k = 0; k < fam_.size(); ++k) {
            const 家族& f = out_.registers.families[k];
            for (const auto& c : f.子) {
                if (c.子NO < 1 || c.子NO > count || c.子の形態 == 1) {
                    continue;
                }
                当事者& p = persons[static_cast<std::size_t>(c.子NO - 1)];
                if (p.父母家族NO != 0) {
                    continue; // born into one family only: the first that says so
                }
                p.実母NO = f.妻NO;
                p.実父NO = c.子の形態 == 3 ? 0 : f.夫NO;
                p.父母家族NO = static_cast<long>(k) + 1;
            }
        }
    }

    void spouseLinks() {
        for (std::size_t i = 0; i < links_.size(); ++i) {
            const long n = static_cast<long>(i) + 1;
            for (const auto& [famNode, line] : links_[i].fams) {
                const 家族& f =
                    out_.registers.families[static_cast<std::size_t>(number_[famNode] - 1)];
                if (f.夫NO != n && f.妻NO != n) {
                    notice(line, aboutPerson(i),
                           "FAMS で家族 " + std::string(node(famNode).xref()) +
                               " の夫婦とされていますが、その家族の HUSB と WIFE にいないので、夫婦"
                               "としては取り込んでいません");
                }
            }
        }
    }

    // The register's layout: the one mokuren's export names, when the persons fit it.
    void layout() {
        PersonRegister& reg = out_.registers.persons;
        reg.current = true;
        reg.version = 220;
        const long head = 0;
        if (const long v = childNode(static_cast<std::size_t>(head), "_TSUBAKI_VERSION"); v >= 0) {
            const GedcomNode& t = node(static_cast<std::size_t>(v));
            const std::string_view value = trim(t.value);
            long version = 0;
            if (value == "OLD") {
                reg.current = false;
                reg.version = 0;
            } else if (value.size() > 1 && value[0] == 'V' && parseLong(value.substr(1), version) &&
                       version >= 0 && version <= 32767) {
                reg.version = static_cast<int>(version);
            } else {
                error(t.line, {},
                      "_TSUBAKI_VERSION の値「" + std::string(value) + "」が正しくありません");
            }
        }
        const bool keepsLinks = reg.hasLinkFields();
        const bool fits = std::all_of(reg.persons.begin(), reg.persons.end(), [&](const 当事者& p) {
            const bool lines = reg.current || (p.住所2.empty() && p.本籍2.empty());
            const bool links =
                keepsLinks || (p.C_当事者NO == p.当事者NO && p.子孫_FL == 0 && p.当姓 == 0);
            return lines && links;
        });
        if (!fits) {
            reg.current = true;
            reg.version = 220;
            notice(0, {},
                   "旧い版の当事者目録に入らない項目があるので、当事者目録は今の版（V220）で書き"
                   "ます");
        }
        reg.header = common::formatInteger(static_cast<long>(reg.persons.size())) +
                     (reg.current ? "V" + std::to_string(reg.version) : std::string());
    }

    // Every line not placed, counted by its kind: the topmost unused line of each subtree.
    void unplaced() {
        std::unordered_map<std::string, std::size_t> index;
        auto& list = out_.report.unplaced;
        auto count = [&](const std::string& kind) {
            const auto [it, added] = index.emplace(kind, list.size());
            if (added) {
                list.emplace_back(kind, 0);
            }
            ++list[it->second].second;
        };
        std::vector<std::size_t> ancestors;
        std::size_t i = 0;
        while (i < f_.nodes.size()) {
            const GedcomNode& n = node(i);
            ancestors.resize(static_cast<std::size_t>(n.level));
            if (used_[i]) {
                ancestors.push_back(i);
                ++i;
                continue;
            }
            if (n.level == 0) {
                count(std::string(n.tag()) + " レコード");
            } else if (n.level == 1 && n.tag() == "NAME" && node(ancestors[0]).tag() == "INDI") {
                count("２つ目以降の NAME");
            } else if (n.tag() == "NOTE" && n.pointer) {
                count("NOTE レコードへの参照");
            } else {
                count(std::string(node(ancestors.back()).tag()) + "." + std::string(n.tag()));
            }
            i = n.end;
        }
    }

    const GedcomFile& f_;
    GedcomImport& out_;
    std::vector<char> used_;
    std::vector<std::int32_t> number_; // person or family number of each INDI and FAM node
    bool ours_ = false;
    std::vector<std::size_t> indi_;
    std::vector<std::size_t> fam_;
    std::vector<Links> links_;
    std::vector<std::vector<Slot>> slots_;
};

} // namespace

GedcomImport importGedcom(std::string bytes, const std::string& fileName) {
    const GedcomFile file = readGedcom(std::move(bytes), fileName);
    GedcomImport out;
    out.fileName = fileName;
    Importer(file, out).run();
    if (out.registers.persons.persons.empty()) {
        out.report.errors.push_back(
            {0, {}, "人（INDI）が一人もいないので、当事者目録を作れません"});
    }
    return out;
}

std::vector<GedcomFinding> capacityErrors(const GedcomImport& imported, const Capacities& limits) {
    std::vector<GedcomFinding> out;
    const std::string where = limits.source.empty()
                                  ? std::string("当事者目録が扱える数")
                                  : "「" + common::displayName(limits.source) + "」の";
    const auto& persons = imported.registers.persons.persons;
    const auto& families = imported.registers.families;
    const long personLimit = std::min(limits.最大登録人数, kMaxRegisterNumber);
    const long familyLimit = std::min(limits.最大婚姻数, kMaxRegisterNumber);
    if (static_cast<long>(persons.size()) > personLimit) {
        out.push_back({0,
                       {},
                       "人が " + std::to_string(persons.size()) + " 人います。" + where +
                           (limits.source.empty() ? "" : "最大登録人数") + "（" +
                           std::to_string(personLimit) + " 人）を超えるので取り込めません"});
    }
    if (static_cast<long>(families.size()) > familyLimit) {
        out.push_back({0,
                       {},
                       "家族が " + std::to_string(families.size()) + " あります。" + where +
                           (limits.source.empty() ? "" : "最大婚姻数") + "（" +
                           std::to_string(familyLimit) + "）を超えるので取り込めません"});
    }
    auto outOfRange = [](long v) { return v < -32768 || v > 32767; };
    for (std::size_t k = 0; k < families.size(); ++k) {
        const 家族& f = families[k];
        const int line = k < imported.familyLines.size() ? imported.familyLines[k] : 0;
        if (static_cast<long>(f.子.size()) > limits.一世帯当りの子供の最大数) {
            out.push_back({line, "家族 " + std::to_string(k + 1),
                           "子が " + std::to_string(f.子.size()) + " 人います。" + where +
                               (limits.source.empty() ? "" : "一世帯当りの子供の最大数") + "（" +
                               std::to_string(limits.一世帯当りの子供の最大数) +
                               " 人）を超えるので取り込めません"});
        }
        bool big = outOfRange(f.婚姻NO) || outOfRange(f.夫NO) || outOfRange(f.妻NO) ||
                   outOfRange(f.夫婦確定_f) || outOfRange(f.形態) || outOfRange(f.形態L3) ||
                   outOfRange(f.配偶者非表示_F) || outOfRange(f.配偶者姓F) ||
                   outOfRange(f.系統_F) || outOfRange(f.離婚_F);
        for (const auto& c : f.子) {
            big = big || outOfRange(c.子NO) || outOfRange(c.子の形態);
        }
        if (big) {
            out.push_back({line, "家族 " + std::to_string(k + 1),
                           "-32768 から 32767 の外の番号があるので、家族目録に書けません"});
        }
    }
    for (std::size_t i = 0; i < persons.size(); ++i) {
        const 当事者& p = persons[i];
        const long founder =
            i < imported.registers.founders.size() ? imported.registers.founders[i] : 0;
        if (outOfRange(p.当事者NO) || outOfRange(p.実父NO) || outOfRange(p.実母NO) ||
            outOfRange(p.父母家族NO) || outOfRange(p.子孫_F) || outOfRange(p.男女) ||
            outOfRange(p.C_当事者NO) || outOfRange(p.子孫_FL) || outOfRange(p.当姓) ||
            outOfRange(p.姓名順) || outOfRange(founder)) {
            out.push_back({i < imported.personLines.size() ? imported.personLines[i] : 0,
                           "人 " + std::to_string(i + 1),
                           "-32768 から 32767 の外の番号があるので、当事者目録に書けません"});
        }
    }
    return out;
}

RegisterFiles registerFiles(const GedcomSource& registers) {
    RegisterFiles files;
    files.persons = personRegisterBytes(registers.persons);
    std::vector<long> founders = registers.founders;
    founders.resize(registers.persons.persons.size(), 0);
    files.founders = companionBytes(founders);
    std::vector<long> order;
    order.reserve(registers.persons.persons.size());
    for (const auto& p : registers.persons.persons) {
        order.push_back(p.姓名順);
    }
    files.nameOrder = companionBytes(order);
    if (!registers.families.empty()) {
        files.families = familyRegisterBytes(registers.families);
    }
    return files;
}

std::optional<GedcomImport> readGedcomImport(const std::filesystem::path& file,
                                             common::Dialogs& dialogs) {
    const std::string name = common::displayName(file);
    std::optional<GedcomImport> imported;
    try {
        imported = importGedcom(common::readFile(file), name);
    } catch (const common::FileError& e) {
        dialogs.ok(kGedcomImportErrorTitle, e.what(), common::Icon::Stop);
        return std::nullopt;
    }
    if (!imported->report.errors.empty()) {
        dialogs.ok(kGedcomImportErrorTitle,
                   "「" + name + "」を取り込めません（何も書き込んでいません）：\n" +
                       findingsText(imported->report.errors),
                   common::Icon::Stop);
        return std::nullopt;
    }
    return imported;
}

namespace {

// What the import did, could not place and has to say, for the box that ends it.
std::string summary(const GedcomImport& imported, const std::filesystem::path& target,
                    const std::vector<std::string_view>& moved,
                    const std::optional<std::filesystem::path>& backup, const Capacities& limits) {
    std::string text = "「" + imported.fileName + "」から " +
                       std::to_string(imported.registers.persons.count()) + " 人、" +
                       std::to_string(imported.registers.families.size()) +
                       " 家族を取り込みました（" + target.string() + "）。";
    if (backup) {
        std::string names;
        for (std::string_view name : moved) {
            names += "「" + std::string(name) + "」";
        }
        text +=
            "\n置き換える前の" + names + "はバックアップ「" + backup->string() + "」にあります。";
    }
    if (limits.source.empty()) {
        text += "\n「KANKYO.TXT」が見つからないので、人と家族の数は 32767 までとして確かめました。";
    }
    if (const std::string line = imported.report.unplacedLine(); !line.empty()) {
        text += "\n" + line;
    }
    if (!imported.report.notices.empty()) {
        text += "\nお知らせ：\n" + findingsText(imported.report.notices);
    }
    return text;
}

} // namespace

JobOutcome writeGedcomImport(const GedcomImport& imported, const std::filesystem::path& folder,
                             const std::filesystem::path& environmentFile, common::Dialogs& dialogs,
                             std::filesystem::path* written) {
    RegisterFiles files;
    try {
        files = registerFiles(imported.registers);
    } catch (const common::FileError& e) {
        dialogs.ok(kGedcomImportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    const auto path = chooseImportTarget(dialogs, folder, kGedcomReplacedNote);
    if (!path) {
        return JobOutcome::Cancelled;
    }
    const std::filesystem::path target =
        path->parent_path().empty() ? std::filesystem::path(".") : path->parent_path();
    if (!recoverDataFolder(target, dialogs)) {
        return JobOutcome::Stopped;
    }
    if (refuseMaskedFolder(target, dialogs, kGedcomImportErrorTitle)) {
        return JobOutcome::Stopped;
    }
    Capacities limits;
    try {
        limits = findCapacities({environmentFile, target / "KANKYO.TXT"});
    } catch (const common::FileError& e) {
        dialogs.ok(kGedcomImportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    if (const auto errors = capacityErrors(imported, limits); !errors.empty()) {
        dialogs.ok(kGedcomImportErrorTitle,
                   "「" + imported.fileName + "」を取り込めません（何も書き込んでいません）：\n" +
                       findingsText(errors),
                   common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    const std::vector<std::string_view> moved = personReferencingFiles(target);
    std::optional<std::filesystem::path> backup;
    try {
        if (!moved.empty()) {
            backup = backupBeforeReplacing(target);
        }
        // The person register with fresh companions and the family register of the file, all
        // at once; the drawing settings name families and persons that are gone, so they leave
        // the folder (their copy is in the backup), and so does a family register when the
        // file has no family.
        common::FolderTransaction change(target);
        change.write(kPersonFile, std::move(files.persons));
        change.write(kFounderFile, std::move(files.founders));
        change.write(kNameOrderFile, std::move(files.nameOrder));
        if (imported.registers.families.empty()) {
            change.remove(kFamilyFile);
        } else {
            change.write(kFamilyFile, std::move(files.families));
        }
        change.remove(kSettingsFile);
        change.commit();
    } catch (const common::FileError& e) {
        dialogs.ok(kGedcomImportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    if (written != nullptr) {
        *written = *path;
    }
    dialogs.ok(kGedcomImportedTitle, summary(imported, target, moved, backup, limits),
               common::Icon::Information);
    return JobOutcome::Done;
}

} // namespace converter
