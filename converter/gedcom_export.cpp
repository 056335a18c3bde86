#include "converter/gedcom_export.h"

#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/wareki.h"
#include "converter/files.h"

#include <array>
#include <system_error>

namespace converter {

bool parseGedcomVersion(std::string_view text, GedcomVersion& version) {
    if (text == "5.5.1") {
        version = GedcomVersion::V551;
        return true;
    }
    if (text == "7.0") {
        version = GedcomVersion::V70;
        return true;
    }
    return false;
}

GedcomDate gedcomDate(std::string_view wareki) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    GedcomDate d;
    d.phrase = std::string(wareki);
    const common::WarekiReading r = common::readWareki(wareki);
    // A date of the lunisolar calendar has no Gregorian day: it stays a phrase.
    if (r.ok() && !r.date->lunisolar) {
        const common::CivilDate& c = r.date->civil;
        d.value = std::to_string(c.day) + " " +
                  std::string(kMonths[static_cast<std::size_t>(c.month - 1)]) + " " +
                  std::to_string(c.year);
    }
    return d;
}

namespace {

std::vector<long> readFounders(const std::filesystem::path& folder, long count) {
    const auto file = folder / kFounderFile;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return std::vector<long>(static_cast<std::size_t>(count), 0);
    }
    common::ItemReader in(common::readFile(file), std::string(kFounderFile));
    in.requireItems(count, 2, "当事者の数");
    std::vector<long> out;
    out.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        in.rawItem();
        long v = 0;
        if (!parseLong(in.rawItem(), v)) {
            in.fail("整数が入るところに数ではない値があります");
        }
        out.push_back(v);
    }
    return out;
}

// The lines of a GEDCOM file: level, optional cross-reference, tag and value. Values with
// line breaks or longer than a line may go on CONC (5.5.1 only) and CONT lines.
class GedcomLines {
public:
    explicit GedcomLines(GedcomVersion v) : version_(v) { out_.reserve(1 << 20); }

    // A line with a text value; in 5.5.1 a value longer than a line holds goes on CONC lines.
    void line(int level, std::string_view tag, std::string_view value = {},
              std::string_view xref = {}) {
        if (!xref.empty()) {
            put(level, xref, tag, escaped(value));
        } else {
            long_(level, tag, value, level + 1);
        }
    }
    // A value that points at a record ("@I12@").
    void pointer(int level, std::string_view tag, std::string_view xref) {
        put(level, {}, tag, xref);
    }
    // A text value of several lines: the first on the tag, the others on CONT lines (a long
    // line of them continued by CONC lines beside its CONT).
    void text(int level, std::string_view tag, const std::vector<std::string_view>& lines) {
        for (std::size_t k = 0; k < lines.size(); ++k) {
            long_(k == 0 ? level : level + 1, k == 0 ? tag : "CONT", lines[k], level + 1);
        }
    }
    void date(int level, std::string_view wareki) {
        const GedcomDate d = gedcomDate(wareki);
        if (version_ == GedcomVersion::V551) {
            // A date taken from a phrase is an interpreted date; a phrase alone is in
            // parentheses. Parentheses inside the phrase would end it early: they become
            // spaces there, and the text itself goes beside the date as it stands.
            std::string phrase = d.phrase;
            for (auto& c : phrase) {
                if (c == '(' || c == ')') {
                    c = ' ';
                }
            }
            long_(level, "DATE",
                  d.value.empty() ? "(" + phrase + ")" : "INT " + d.value + " (" + phrase + ")",
                  level + 1);
            if (phrase != d.phrase) {
                line(level + 1, "_TSUBAKI_TEXT", d.phrase);
            }
        } else {
            line(level, "DATE", d.value);
            line(level + 1, "PHRASE", d.phrase);
        }
    }
    std::string take() { return std::move(out_); }

private:
    // 5.5.1 doubles every "@" of a text; 7.0 only a leading one.
    std::string escaped(std::string_view value) const {
        std::string s;
        s.reserve(value.size());
        for (std::size_t i = 0; i < value.size(); ++i) {
            s += value[i];
            if (value[i] == '@' && (version_ == GedcomVersion::V551 || i == 0)) {
                s += '@';
            }
        }
        return s;
    }
    static bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
    // Where the piece of `v` that starts at `start` ends: at most kChunk bytes, between two
    // UTF-8 characters, and not beside a space (a reader may drop a space at the end or the
    // start of a line). Cut beside a space only when the piece holds nothing else.
    static std::size_t cut(std::string_view v, std::size_t start) {
        std::size_t end = std::min(v.size(), start + kChunk);
        while (end < v.size() && end > start && continuationByte(v[end])) {
            --end;
        }
        if (end >= v.size()) {
            return v.size();
        }
        for (std::size_t e = end; e > start; --e) {
            if (!continuationByte(v[e]) && v[e - 1] != ' ' && v[e] != ' ') {
                return e;
            }
        }
        return end > start ? end : v.size();
    }
    // A value that may be longer than a 5.5.1 line holds (255 characters with the level
    // and tag): the rest goes on CONC lines of level `concLevel`.
    void long_(int level, std::string_view tag, std::string_view value, int concLevel) {
        std::string copy;
        std::string_view v = value;
        if (value.find('@') != std::string_view::npos) {
            copy = escaped(value);
            v = copy;
        }
        if (version_ == GedcomVersion::V70 || v.size() <= kChunk) {
            put(level, {}, tag, v);
            return;
        }
        std::size_t start = 0;
        bool first = true;
        while (start < v.size()) {
            const std::size_t end = cut(v, start);
            put(first ? level : concLevel, {}, first ? tag : "CONC", v.substr(start, end - start));
            first = false;
            start = end;
        }
    }
    void put(int level, std::string_view xref, std::string_view tag, std::string_view value) {
        if (level < 10) {
            out_ += static_cast<char>('0' + level);
        } else {
            out_ += std::to_string(level);
        }
        out_ += ' ';
        if (!xref.empty()) {
            out_ += xref;
            out_ += ' ';
        }
        out_ += tag;
        if (!value.empty()) {
            out_ += ' ';
            out_ += value;
        }
        out_ += "\r\n";
    }
    static constexpr std::size_t kChunk = 200; // bytes of value on one line
    GedcomVersion version_;
    std::string out_;
};

std::string person(long n) {
    return "@I" + std::to_string(n) + "@";
}
std::string family(long n) {
    return "@F" + std::to_string(n) + "@";
}

void integerTag(GedcomLines& g, int level, std::string_view tag, long value) {
    if (value != 0) {
        g.line(level, tag, std::to_string(value));
    }
}

std::vector<std::string_view> twoLines(const std::string& a, const std::string& b) {
    if (b.empty()) {
        return {a};
    }
    return {a, b};
}

// Where a person is a child: family number and place in its list.
struct ChildPlace {
    long familyNo;
    const 家族の子* child;
};

} // namespace

GedcomSource readGedcomSource(const std::filesystem::path& folder) {
    GedcomSource s;
    s.persons = readPersonRegister(folder);
    s.founders = readFounders(folder, s.persons.count());
    s.families = readFamilyRegister(folder);
    return s;
}

namespace {

// The GEDCOM text of one data folder's registers, record by record.
class GedcomWriter {
public:
    GedcomWriter(const GedcomSource& source, GedcomVersion version)
        : source_(source), version_(version), g_(version),
          count_(static_cast<long>(source.persons.persons.size())),
          spouseOf_(source.persons.persons.size() + 1),
          childOf_(source.persons.persons.size() + 1) {
        // The families each person is a spouse and a child of, in family order.
        for (std::size_t i = 0; i < source.families.size(); ++i) {
            const 家族& f = source.families[i];
            const long n = static_cast<long>(i) + 1;
            if (valid(f.夫NO)) {
                spouseOf_[static_cast<std::size_t>(f.夫NO)].push_back(n);
            }
            if (valid(f.妻NO) && f.妻NO != f.夫NO) {
                spouseOf_[static_cast<std::size_t>(f.妻NO)].push_back(n);
            }
            for (const auto& c : f.子) {
                if (valid(c.子NO)) {
                    childOf_[static_cast<std::size_t>(c.子NO)].push_back({n, &c});
                }
            }
        }
    }

    std::string text() {
        head();
        for (long i = 1; i <= count_; ++i) {
            const 当事者& p = source_.persons.persons[static_cast<std::size_t>(i - 1)];
            g_.line(0, "INDI", {}, person(i));
            personFacts(p);
            childLinks(i);
            for (long f : spouseOf_[static_cast<std::size_t>(i)]) {
                g_.pointer(1, "FAMS", family(f));
            }
            personTags(i, p);
        }
        for (std::size_t k = 0; k < source_.families.size(); ++k) {
            familyRecord(static_cast<long>(k) + 1, source_.families[k]);
        }
        g_.line(0, "TRLR");
        return g_.take();
    }

private:
    bool valid(long n) const { return n >= 1 && n <= count_; }

    void head() {
        g_.line(0, "HEAD");
        g_.line(1, "GEDC");
        g_.line(2, "VERS", version_ == GedcomVersion::V551 ? "5.5.1" : "7.0");
        if (version_ == GedcomVersion::V551) {
            g_.line(2, "FORM", "LINEAGE-LINKED");
        }
        g_.line(1, "SOUR", "MOKUREN");
        g_.line(2, "NAME", "mokuren");
        if (version_ == GedcomVersion::V551) {
            g_.line(1, "CHAR", "UTF-8");
            g_.pointer(1, "SUBM", kSubmitter); // 5.5.1 requires the submitter
        }
        g_.line(1, "_TSUBAKI_VERSION",
                source_.persons.current ? "V" + std::to_string(source_.persons.version)
                                        : std::string("OLD"));
        if (version_ == GedcomVersion::V551) {
            g_.line(0, "SUBM", {}, kSubmitter);
            g_.line(1, "NAME", "mokuren");
        }
    }
    static constexpr std::string_view kSubmitter = "@U1@";

    // The name, sex, birth, death, address, domicile and notes.
    void personFacts(const 当事者& p) {
        g_.line(1, "NAME",
                p.名.empty() && p.姓.empty() ? std::string()
                                             : (p.名.empty() ? "" : p.名 + " ") + "/" + p.姓 + "/");
        if (!p.名.empty()) {
            g_.line(2, "GIVN", p.名);
        }
        if (!p.姓.empty()) {
            g_.line(2, "SURN", p.姓);
        }
        g_.line(1, "SEX", p.isFemale() ? "F" : "M");
        if (!p.生年月日.empty()) {
            g_.line(1, "BIRT");
            g_.date(2, p.生年月日);
        }
        if (!p.死亡年月日.empty()) {
            g_.line(1, "DEAT", "Y");
            g_.date(2, p.死亡年月日);
        }
        if (!p.住所1.empty() || !p.住所2.empty()) {
            g_.line(1, "RESI");
            g_.text(2, "ADDR", twoLines(p.住所1, p.住所2));
        }
        if (!p.本籍1.empty() || !p.本籍2.empty()) {
            g_.text(1, "FACT", twoLines(p.本籍1, p.本籍2));
            g_.line(2, "TYPE", "本籍");
        }
        if (!p.備考1.empty() || !p.備考2.empty()) {
            g_.text(1, "NOTE", twoLines(p.備考1, p.備考2));
        }
    }

    // The families the person is a child of, and the adoption and acknowledgment events.
    void childLinks(long i) {
        for (const ChildPlace& c : childOf_[static_cast<std::size_t>(i)]) {
            g_.pointer(1, "FAMC", family(c.familyNo));
            // 7.0 writes its enumerations in capitals.
            const bool adopted = c.child->子の形態 == 1;
            if (version_ == GedcomVersion::V551) {
                g_.line(2, "PEDI", adopted ? "adopted" : "birth");
            } else {
                g_.line(2, "PEDI", adopted ? "ADOPTED" : "BIRTH");
            }
        }
        for (const ChildPlace& c : childOf_[static_cast<std::size_t>(i)]) {
            if (c.child->子の形態 == 1) {
                g_.line(1, "ADOP", c.child->縁組日.empty() ? "Y" : "");
                if (!c.child->縁組日.empty()) {
                    g_.date(2, c.child->縁組日);
                }
                g_.pointer(2, "FAMC", family(c.familyNo));
            } else if (c.child->子の形態 == 2) {
                g_.line(1, "EVEN");
                g_.line(2, "TYPE", "認知");
                if (!c.child->認知日.empty()) {
                    g_.date(2, c.child->認知日);
                }
                g_.pointer(2, "_TSUBAKI_FAMC", family(c.familyNo));
            }
        }
    }

    // What only the registers know of a person.
    void personTags(long i, const 当事者& p) {
        if (p.当事者NO != i) {
            g_.line(1, "_TSUBAKI_NO", std::to_string(p.当事者NO));
        }
        if (p.C_当事者NO != i) {
            if (valid(p.C_当事者NO)) {
                g_.pointer(1, "_TSUBAKI_LINK", person(p.C_当事者NO));
            } else {
                g_.line(1, "_TSUBAKI_LINK", std::to_string(p.C_当事者NO));
            }
        }
        integerTag(g_, 1, "_TSUBAKI_FATHER", p.実父NO);
        integerTag(g_, 1, "_TSUBAKI_MOTHER", p.実母NO);
        integerTag(g_, 1, "_TSUBAKI_PARENTS_FAMILY", p.父母家族NO);
        integerTag(g_, 1, "_TSUBAKI_DESCENDANT", p.子孫_F);
        integerTag(g_, 1, "_TSUBAKI_DESCENDANT_SET", p.子孫_FL);
        integerTag(g_, 1, "_TSUBAKI_HIDE_SURNAME", p.当姓);
        integerTag(g_, 1, "_TSUBAKI_NAME_ORDER", p.姓名順);
        if (static_cast<std::size_t>(i - 1) < source_.founders.size()) {
            integerTag(g_, 1, "_TSUBAKI_FOUNDER",
                       source_.founders[static_cast<std::size_t>(i - 1)]);
        }
        if (p.男女 != 1 && p.男女 != 2) {
            g_.line(1, "_TSUBAKI_SEX", std::to_string(p.男女));
        }
    }

    void familyRecord(long n, const 家族& f) {
        g_.line(0, "FAM", {}, family(n));
        if (valid(f.夫NO)) {
            g_.pointer(1, "HUSB", person(f.夫NO));
        }
        if (valid(f.妻NO)) {
            g_.pointer(1, "WIFE", person(f.妻NO));
        }
        if (valid(f.夫NO) && valid(f.妻NO) && !f.nonMarital()) {
            g_.line(1, "MARR", "Y");
        }
        if (f.離婚_F == 1) {
            g_.line(1, "DIV", f.離婚年月日.empty() ? "Y" : "");
            if (!f.離婚年月日.empty()) {
                g_.date(2, f.離婚年月日);
            }
        }
        for (const auto& c : f.子) {
            child(c);
        }
        familyTags(n, f);
    }

    void child(const 家族の子& c) {
        if (valid(c.子NO)) {
            g_.pointer(1, "CHIL", person(c.子NO));
        } else {
            g_.line(1, "_TSUBAKI_CHIL", std::to_string(c.子NO));
        }
        if (!c.子の肩書.empty()) {
            g_.line(2, "_TSUBAKI_TITLE", c.子の肩書);
        }
        integerTag(g_, 2, "_TSUBAKI_KIND", c.子の形態);
        // A child entry that names no person of the register has no INDI for the event that
        // would carry its date.
        const std::string& date = c.子の形態 == 1 ? c.縁組日 : c.認知日;
        if (!valid(c.子NO) && (c.子の形態 == 1 || c.子の形態 == 2) && !date.empty()) {
            g_.line(2, "_TSUBAKI_DATE", date);
        }
    }

    // What only the registers know of a family.
    void familyTags(long n, const 家族& f) {
        if (f.婚姻NO != n) {
            g_.line(1, "_TSUBAKI_NO", std::to_string(f.婚姻NO));
        }
        integerTag(g_, 1, "_TSUBAKI_CONFIRMED", f.夫婦確定_f);
        integerTag(g_, 1, "_TSUBAKI_FORM", f.形態);
        integerTag(g_, 1, "_TSUBAKI_FORM_UNCONFIRMED", f.形態L3);
        if (!valid(f.夫NO)) {
            integerTag(g_, 1, "_TSUBAKI_HUSB", f.夫NO);
        }
        if (!valid(f.妻NO)) {
            integerTag(g_, 1, "_TSUBAKI_WIFE", f.妻NO);
        }
        g_.line(1, "_TSUBAKI_HUSB_TITLE", f.夫肩書);
        g_.line(1, "_TSUBAKI_WIFE_TITLE", f.妻肩書);
        integerTag(g_, 1, "_TSUBAKI_HIDE_SPOUSE", f.配偶者非表示_F);
        integerTag(g_, 1, "_TSUBAKI_HIDE_SPOUSE_SURNAME", f.配偶者姓F);
        integerTag(g_, 1, "_TSUBAKI_LINEAGE", f.系統_F);
        if (f.離婚_F != 0 && f.離婚_F != 1) {
            g_.line(1, "_TSUBAKI_DIVORCE", std::to_string(f.離婚_F));
        }
    }

    const GedcomSource& source_;
    GedcomVersion version_;
    GedcomLines g_;
    long count_;
    std::vector<std::vector<long>> spouseOf_;
    std::vector<std::vector<ChildPlace>> childOf_;
};

} // namespace

std::string gedcomText(const GedcomSource& source, GedcomVersion version) {
    return GedcomWriter(source, version).text();
}

JobOutcome exportGedcom(const std::filesystem::path& folder, GedcomVersion version,
                        common::Dialogs& dialogs, std::filesystem::path* written, long* persons,
                        long* families) {
    std::string bytes;
    GedcomSource source;
    try {
        source = readGedcomSource(folder);
        bytes = gedcomText(source, version);
    } catch (const common::FileError& e) {
        dialogs.ok(kReadErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    std::filesystem::path path;
    for (;;) {
        const auto chosen = dialogs.saveFile("GEDCOMファイルの書き込み", folder.string(),
                                             kGedcomExportFile, "GEDCOM(*.ged)", false);
        if (!chosen) {
            return JobOutcome::Cancelled;
        }
        path = *chosen;
        if (!path.has_extension()) {
            path += ".ged";
        }
        if (!fileExists(path) || confirmOverwrite(dialogs, path)) {
            break;
        }
    }
    try {
        common::replaceFile(path, bytes);
    } catch (const common::FileError& e) {
        dialogs.ok(kGedcomExportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    if (written != nullptr) {
        *written = path;
    }
    if (persons != nullptr) {
        *persons = source.persons.count();
    }
    if (families != nullptr) {
        *families = static_cast<long>(source.families.size());
    }
    return JobOutcome::Done;
}

} // namespace converter
