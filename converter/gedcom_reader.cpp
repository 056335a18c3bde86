#include "converter/gedcom_reader.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/text.h"
#include "converter/ansel.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace converter {

std::string GedcomFinding::message() const {
    std::string s;
    if (line > 0) {
        s = std::to_string(line) + " 行目";
    }
    if (!about.empty()) {
        s += "（" + about + "）";
    }
    if (!s.empty()) {
        s += "：";
    }
    return s + text;
}

long GedcomFile::record(std::string_view pointer) const {
    const auto it = records_.find(pointer);
    return it == records_.end() ? -1 : static_cast<long>(it->second);
}

long GedcomFile::child(std::size_t i, std::string_view tag) const {
    for (std::size_t j = i + 1; j < nodes[i].end; j = nodes[j].end) {
        if (nodes[j].tag() == tag) {
            return static_cast<long>(j);
        }
    }
    return -1;
}

bool isStandardGedcomTag(std::string_view tag) {
    // The tags of 5.5.1 and of 7.0, sorted.
    // The tags of 5.5.1 and of 7.0.
    static constexpr std::string_view kTags[] = {
        "ABBR",  "ADDR", "ADOP",   "ADR1", "ADR2", "ADR3",  "AFN",   "AGE",    "AGNC", "ALIA",
        "ANCE",  "ANCI", "ANUL",   "ASSO", "AUTH", "BAPL",  "BAPM",  "BARM",   "BASM", "BIRT",
        "BLES",  "BURI", "CALN",   "CAST", "CAUS", "CENS",  "CHAN",  "CHAR",   "CHIL", "CHR",
        "CHRA",  "CITY", "CONC",   "CONF", "CONL", "CONT",  "COPR",  "CORP",   "CREA", "CREM",
        "CROP",  "CTRY", "DATA",   "DATE", "DEAT", "DESC",  "DESI",  "DEST",   "DIV",  "DIVF",
        "DSCR",  "EDUC", "EMAIL",  "EMIG", "ENDL", "ENGA",  "EVEN",  "EXID",   "FACT", "FAM",
        "FAMC",  "FAMF", "FAMS",   "FAX",  "FCOM", "FILE",  "FONE",  "FORM",   "GEDC", "GIVN",
        "GRAD",  "HEAD", "HEIGHT", "HUSB", "IDNO", "IMMI",  "INDI",  "INIL",   "LANG", "LATI",
        "LEFT",  "LONG", "MAP",    "MARB", "MARC", "MARL",  "MARR",  "MARS",   "MEDI", "MIME",
        "NAME",  "NATI", "NATU",   "NCHI", "NICK", "NMR",   "NO",    "NOTE",   "NPFX", "NSFX",
        "OBJE",  "OCCU", "ORDI",   "ORDN", "PAGE", "PEDI",  "PHON",  "PHRASE", "PLAC", "POST",
        "PROB",  "PROP", "PUBL",   "QUAY", "REFN", "RELA",  "RELI",  "REPO",   "RESI", "RESN",
        "RETI",  "RFN",  "RIN",    "ROLE", "ROMN", "SCHMA", "SDATE", "SEX",    "SLGC", "SLGS",
        "SNOTE", "SOUR", "SPFX",   "SSN",  "STAE", "STAT",  "SUBM",  "SUBN",   "SURN", "TAG",
        "TEMP",  "TEXT", "TIME",   "TITL", "TOP",  "TRAN",  "TRLR",  "TYPE",   "UID",  "VERS",
        "WIDTH", "WIFE", "WILL",   "WWW"};
    static const std::vector<std::string_view> sorted = [] {
        std::vector<std::string_view> v(std::begin(kTags), std::end(kTags));
        std::sort(v.begin(), v.end());
        return v;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), tag);
}

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

int lineOf(std::string_view bytes, std::size_t offset) {
    offset = std::min(offset, bytes.size());
    int line = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

// The offset of the first byte that does not belong to valid UTF-8; npos when all is valid.
std::size_t firstInvalidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            // A run of ASCII, eight bytes at a time.
            while (i + 8 <= n) {
                std::uint64_t word;
                std::memcpy(&word, s.data() + i, 8);
                if ((word & 0x8080808080808080ULL) != 0) {
                    break;
                }
                i += 8;
            }
            continue;
        }
        std::size_t len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
            min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
            min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
            min = 0x10000;
        } else {
            return i;
        }
        if (i + len > n) {
            return i;
        }
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return i;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return i;
        }
        i += len;
    }
    return std::string_view::npos;
}

std::size_t firstNonAscii(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string upper(std::string_view s) {
    std::string u(s);
    for (auto& c : u) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return u;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// One line cut into its parts, without checking them.
struct RawLine {
    std::string_view level, xref, tag, value;
    bool hasValue = false;
};

RawLine cutLine(std::string_view l) {
    RawLine r;
    std::size_t i = 0;
    while (i < l.size() && (l[i] == ' ' || l[i] == '\t')) {
        ++i;
    }
    std::size_t start = i;
    while (i < l.size() && l[i] >= '0' && l[i] <= '9') {
        ++i;
    }
    r.level = l.substr(start, i - start);
    while (i < l.size() && l[i] == ' ') {
        ++i;
    }
    if (i < l.size() && l[i] == '@') {
        start = i;
        const std::size_t close = l.find('@', i + 1);
        const std::size_t space = l.find(' ', i + 1);
        if (close != std::string_view::npos && (space == std::string_view::npos || close < space)) {
            i = close + 1;
        } else {
            i = space == std::string_view::npos ? l.size() : space; // damaged: no closing @
        }
        r.xref = l.substr(start, i - start);
        while (i < l.size() && l[i] == ' ') {
            ++i;
        }
    }
    start = i;
    while (i < l.size() && l[i] != ' ') {
        ++i;
    }
    r.tag = l.substr(start, i - start);
    if (i < l.size()) {
        r.hasValue = true;
        r.value = l.substr(i + 1); // one space delimits the value; the rest is the value
    }
    return r;
}

// Calls f(lineNumber, line) for each line of `text`; f returns false to stop. Lines end with
// LF (CR LF, and LF CR, too), or with CR alone in a file that has no LF.
template <class F> void forLines(std::string_view text, F&& f) {
    const char end = text.find('\n') != std::string_view::npos ? '\n' : '\r';
    const char other = end == '\n' ? '\r' : '\n';
    std::size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        const void* found = std::memchr(text.data() + pos, end, text.size() - pos);
        const std::size_t stop =
            found == nullptr
                ? text.size()
                : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        std::string_view line = text.substr(pos, stop - pos);
        if (!line.empty() && line.front() == other) {
            line.remove_prefix(1); // the CR of an LF CR end
        }
        if (!line.empty() && line.back() == other) {
            line.remove_suffix(1); // the CR of a CR LF end
        }
        ++number;
        if (!f(number, line)) {
            return;
        }
        pos = stop + 1;
    }
}

// What the HEAD record says before the file is decoded (its lines are ASCII).
struct Head {
    std::string version;
    std::string charset;
    bool hasVersion = false;
};

Head readHead(std::string_view bytes, const std::string& fileName) {
    Head h;
    bool first = true;
    bool inGedc = false;
    forLines(bytes, [&](int number, std::string_view line) {
        if (trimmed(line).empty()) {
            return true;
        }
        const RawLine r = cutLine(line);
        if (first) {
            first = false;
            if (r.level != "0" || r.tag != "HEAD" || !r.xref.empty()) {
                throw common::FileError("「" + fileName + "」は GEDCOM ファイルではありません（" +
                                        std::to_string(number) +
                                        " 行目が「0 HEAD」ではありません）");
            }
            return true;
        }
        if (r.level == "0") {
            return false; // the end of HEAD
        }
        if (r.level == "1") {
            inGedc = r.tag == "GEDC";
            if (r.tag == "CHAR") {
                h.charset = std::string(trimmed(r.value));
            }
        } else if (r.level == "2" && inGedc && r.tag == "VERS") {
            h.version = std::string(trimmed(r.value));
            h.hasVersion = true;
        }
        return true;
    });
    if (first) {
        throw common::FileError("「" + fileName + "」は空です（GEDCOM ファイルではありません）");
    }
    return h;
}

[[noreturn]] void refuse(const std::string& fileName, int line, const std::string& what) {
    throw common::FileError("「" + fileName + "」" +
                            (line > 0 ? "の " + std::to_string(line) + " 行目" : std::string()) +
                            "を読めません：" + what);
}

bool decodesAsShiftJis(std::string_view bytes) {
    try {
        common::decodeCp932(bytes);
        return true;
    } catch (const common::Cp932Error&) {
        return false;
    }
}

// The encoding HEAD's CHAR declares (7.0 is always UTF-8; an undeclared 5.5.1 file is read
// as UTF-8). Throws common::FileError for one these readers do not know.
GedcomCharset declaredCharset(const Head& head, GedcomVersion version,
                              const std::string& fileName) {
    const std::string declared = upper(head.charset);
    if (version == GedcomVersion::V70 || declared.empty() || declared == "UTF-8" ||
        declared == "UTF8") {
        return GedcomCharset::Utf8;
    }
    if (declared == "ANSEL") {
        return GedcomCharset::Ansel;
    }
    if (declared == "ASCII") {
        return GedcomCharset::Ascii;
    }
    if (declared == "SHIFT_JIS" || declared == "SHIFT-JIS" || declared == "SHIFTJIS" ||
        declared == "SJIS" || declared == "CP932" || declared == "MS932" ||
        declared == "WINDOWS-31J") {
        return GedcomCharset::ShiftJis;
    }
    if (declared == "UNICODE") {
        refuse(fileName, 0,
               "文字コードが UNICODE（UTF-16）と宣言されています。UTF-16 のファイルは読めません"
               "（UTF-8 で書き出してください）");
    }
    refuse(fileName, 0,
           "HEAD の CHAR「" + head.charset +
               "」は読めない文字コードです（UTF-8、ANSEL、ASCII、Shift-JIS を読みます）");
}

// The declared encoding, checked against the bytes, and the text as UTF-8.
std::string decode(std::string bytes, const Head& head, GedcomVersion version,
                   GedcomCharset& charset, const std::string& fileName) {
    const bool bom = std::string_view(bytes).substr(0, 3) == kBom;
    charset = declaredCharset(head, version, fileName);
    if (bom && charset != GedcomCharset::Utf8) {
        refuse(fileName, 1,
               "バイト順マークは UTF-8 のものですが、HEAD の CHAR は「" + head.charset +
                   "」です（文字コードの宣言が正しくありません）");
    }
    if (bom) {
        bytes.erase(0, kBom.size());
    }
    const std::string_view body(bytes);
    const std::size_t bad = firstInvalidUtf8(body);
    const std::size_t high =
        charset == GedcomCharset::Utf8 ? std::string_view::npos : firstNonAscii(body);
    const std::string said = "「" + head.charset + "」";
    switch (charset) {
    case GedcomCharset::Utf8:
        if (bad != std::string_view::npos) {
            std::string what = "UTF-8 として正しくないバイトがあります（";
            if (version == GedcomVersion::V70) {
                what += "GEDCOM 7.0 は UTF-8 で書かれるものです";
            } else if (head.charset.empty()) {
                what += "HEAD に CHAR がないので UTF-8 として読みました";
            } else {
                what += "文字コードは" + said + "と宣言されています";
            }
            if (decodesAsShiftJis(body)) {
                what += "が、Shift-JIS で書かれているようです";
            }
            refuse(fileName, lineOf(body, bad), what + "）");
        }
        return bytes;
    case GedcomCharset::Ansel:
    case GedcomCharset::Ascii:
    case GedcomCharset::ShiftJis:
        if (high != std::string_view::npos && bad == std::string_view::npos) {
            refuse(fileName, lineOf(body, high),
                   "文字コードは" + said +
                       "と宣言されていますが、ファイルは UTF-8 で書かれています（宣言が正しく"
                       "ありません）");
        }
        break;
    }
    if (charset == GedcomCharset::Ascii) {
        if (high != std::string_view::npos) {
            refuse(fileName, lineOf(body, high),
                   "文字コードは ASCII と宣言されていますが、ASCII にない文字があります");
        }
        return bytes;
    }
    if (charset == GedcomCharset::Ansel) {
        std::size_t at = 0;
        auto text = decodeAnsel(body, at);
        if (!text) {
            refuse(fileName, lineOf(body, at),
                   "文字コードは ANSEL と宣言されていますが、ANSEL にないバイトがあります");
        }
        return std::move(*text);
    }
    try {
        return common::decodeCp932(body);
    } catch (const common::Cp932Error& e) {
        refuse(fileName, lineOf(body, e.offset),
               "文字コードは Shift-JIS と宣言されていますが、Shift-JIS として読めないバイトがあり"
               "ます");
    }
}

bool isTagChar(char c) {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int c = 0; c < 256; ++c) {
            t[static_cast<std::size_t>(c)] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                             (c >= '0' && c <= '9') || c == '_';
        }
        return t;
    }();
    return table[static_cast<unsigned char>(c)];
}

bool looksLikePointer(std::string_view v) {
    if (v.size() < 3 || v.front() != '@' || v.back() != '@' || v[1] == '@' || v[1] == '#') {
        return false;
    }
    return v.find(' ') == std::string_view::npos &&
           v.find('@', 1) == v.size() - 1; // one id between two @
}

} // namespace

class GedcomParser {
public:
    GedcomParser(GedcomFile& f, std::string fileName) : f_(f), fileName_(std::move(fileName)) {}

    void parse() {
        const std::string_view text = *f_.text_;
        f_.nodes.reserve(text.size() / 24 + 16);
        ownedIndex_.reserve(f_.nodes.capacity());
        f_.records_.reserve(text.size() / 256 + 16); // a record takes a few hundred bytes
        forLines(text, [&](int number, std::string_view line) {
            f_.lines = number;
            take(number, line);
            return true;
        });
        closeTo(0);
        finish();
    }

private:
    void error(int line, std::string text) { f_.errors.push_back({line, {}, std::move(text)}); }
    void notice(int line, std::string text) { f_.notices.push_back({line, {}, std::move(text)}); }

    void closeTo(std::size_t depth) {
        while (open_.size() > depth) {
            f_.nodes[open_.back()].end = static_cast<std::uint32_t>(f_.nodes.size());
            open_.pop_back();
        }
    }

    std::string& owned(std::size_t node) {
        if (ownedIndex_[node] < 0) {
            f_.owned_->emplace_back(f_.nodes[node].value);
            ownedIndex_[node] = static_cast<std::int32_t>(f_.owned_->size() - 1);
            ownedNodes_.push_back(node);
        }
        return (*f_.owned_)[static_cast<std::size_t>(ownedIndex_[node])];
    }

    // 7.0 escapes a leading "@" of every line of a text as "@@".
    std::string_view unescapedLine(std::string_view v) const {
        if (f_.version == GedcomVersion::V70 && v.size() >= 2 && v[0] == '@' && v[1] == '@') {
            v.remove_prefix(1);
        }
        return v;
    }

    void take(int number, std::string_view line) {
        std::size_t lead = 0;
        while (lead < line.size() && (line[lead] == ' ' || line[lead] == '\t')) {
            ++lead;
        }
        if (lead == line.size()) {
            return; // an empty line
        }
        if (f_.version == GedcomVersion::V551 && line.size() > 255 &&
            common::charCount(line) > 255) {
            notice(number, "1 行が " + std::to_string(common::charCount(line)) +
                               " 文字あり、GEDCOM 5.5.1 の上限の 255 文字を超えています（行の全体を"
                               "読み込みました）");
        }
        const RawLine r = cutLine(line);
        const int level = checkedLevel(number, r);
        if (level < 0) {
            return;
        }
        if (r.tag == "CONC" || r.tag == "CONT") {
            continueValue(number, level, r);
        } else if (level > 0 && !r.xref.empty()) {
            error(number,
                  "レコード（レベル 0）でない行に参照名「" + std::string(r.xref) + "」があります");
        } else if (sawTrailer_) {
            if (!afterTrailerReported_) {
                error(number, "TRLR の後にも行があります");
                afterTrailerReported_ = true;
            }
        } else {
            add(number, level, r);
        }
    }

    // The line's level, when the line is whole and its level follows from the lines before;
    // -1 after the error that says what is wrong.
    int checkedLevel(int number, const RawLine& r) {
        if (r.level.empty()) {
            error(number, "行がレベル番号で始まっていません（壊れた行です）");
            return -1;
        }
        if (r.level.size() > 2 || (r.level.size() == 2 && r.level[0] == '0')) {
            error(number, "レベル番号「" + std::string(r.level) + "」が正しくありません");
            return -1;
        }
        const int level =
            r.level.size() == 1 ? r.level[0] - '0' : (r.level[0] - '0') * 10 + (r.level[1] - '0');
        if (r.tag.empty()) {
            error(number, "タグがありません（壊れた行です）");
            return -1;
        }
        if (!std::all_of(r.tag.begin(), r.tag.end(), isTagChar)) {
            error(number,
                  "タグ「" + std::string(r.tag) + "」に使えない文字があります（壊れた行です）");
            return -1;
        }
        if (r.tag.size() > 255 || r.xref.size() > 255) {
            error(number, "タグか参照名が長すぎます（壊れた行です）");
            return -1;
        }
        if (!r.xref.empty() && (r.xref.size() < 3 || r.xref.back() != '@')) {
            error(number, "参照名「" + std::string(r.xref) + "」が「@」で閉じられていません");
            return -1;
        }
        if (f_.nodes.empty() && level != 0) {
            error(number, "最初の行のレベルが 0 ではありません");
            return -1;
        }
        if (level > static_cast<int>(open_.size())) {
            error(number, "レベルが " + std::to_string(static_cast<int>(open_.size()) - 1) +
                              " から " + std::to_string(level) + " へ飛んでいます（壊れた行です）");
            return -1;
        }
        return level;
    }

    // A CONC or CONT line: its value joins the value of the line one level up.
    void continueValue(int number, int level, const RawLine& r) {
        if (level == 0 || !r.xref.empty()) {
            error(number, std::string(r.tag) + " の行が続ける行がありません（壊れた行です）");
            return;
        }
        const std::size_t parent = open_[static_cast<std::size_t>(level - 1)];
        std::string& v = owned(parent);
        if (r.tag == "CONT") {
            v += '\n';
        }
        v += unescapedLine(r.value);
        closeTo(static_cast<std::size_t>(level));
    }

    void add(int number, int level, const RawLine& r) {
        closeTo(static_cast<std::size_t>(level));
        GedcomNode n;
        n.line = number;
        n.level = static_cast<std::uint8_t>(level);
        n.xrefData = r.xref.data();
        n.xrefSize = static_cast<std::uint8_t>(r.xref.size());
        n.tagData = r.tag.data();
        n.tagSize = static_cast<std::uint8_t>(r.tag.size());
        n.value = r.value;
        // A pointer with spaces after it (some programs write them) is still a pointer.
        std::string_view bare = n.value;
        while (!bare.empty() && bare.back() == ' ') {
            bare.remove_suffix(1);
        }
        n.pointer = looksLikePointer(bare);
        if (n.pointer) {
            n.value = bare;
        } else {
            n.value = unescapedLine(n.value);
            if (f_.version == GedcomVersion::V551 && n.value.find("@@") != std::string_view::npos) {
                doubledAt_.push_back(f_.nodes.size()); // undone once the value is whole
            }
        }
        if (level == 0 && r.tag == "TRLR") {
            sawTrailer_ = true;
        }
        if (r.tag.front() != '_' && !knownTag(r.tag)) {
            notice(number, "不明なタグ「" + std::string(r.tag) + "」の行です（取り込みません）");
        }
        if (!r.xref.empty() &&
            !f_.records_.emplace(r.xref, static_cast<std::uint32_t>(f_.nodes.size())).second) {
            error(number, "参照名「" + std::string(r.xref) + "」が二度使われています");
        }
        open_.push_back(f_.nodes.size());
        f_.nodes.push_back(n);
        ownedIndex_.push_back(-1);
    }

    void finish() {
        // Values assembled from several lines: the views are set once they are complete.
        for (const std::size_t node : ownedNodes_) {
            std::string& v = (*f_.owned_)[static_cast<std::size_t>(ownedIndex_[node])];
            if (f_.version == GedcomVersion::V551 && v.find("@@") != std::string::npos) {
                undoDoubledAt(v);
            }
            f_.nodes[node].value = v;
            f_.nodes[node].pointer = false; // a pointer is never continued
        }
        if (f_.version == GedcomVersion::V551) {
            for (const std::size_t i : doubledAt_) {
                GedcomNode& n = f_.nodes[i];
                if (ownedIndex_[i] < 0) {
                    std::string v(n.value);
                    undoDoubledAt(v);
                    f_.owned_->push_back(std::move(v));
                    n.value = f_.owned_->back();
                }
            }
        }
        if (!sawTrailer_) {
            error(f_.lines, "ファイルが TRLR の行で終わっていません（途中で切れているかもしれま"
                            "せん）");
        }
        for (GedcomNode& n : f_.nodes) {
            if (!n.pointer || (f_.version == GedcomVersion::V70 && n.value == "@VOID@")) {
                continue;
            }
            const auto it = f_.records_.find(n.value);
            if (it == f_.records_.end()) {
                error(n.line, std::string(n.tag()) + " が指す「" + std::string(n.value) +
                                  "」のレコードがありません");
            } else {
                n.target = static_cast<std::int32_t>(it->second);
            }
        }
        const long head = 0;
        if (!f_.nodes.empty()) {
            if (const long sour = f_.child(head, "SOUR"); sour >= 0) {
                f_.source = std::string(trimmed(f_.nodes[static_cast<std::size_t>(sour)].value));
            }
        }
    }

    // isStandardGedcomTag, remembering the last tag found for each first letter (a file
    // repeats a few tags over and over).
    bool knownTag(std::string_view tag) {
        std::string_view& last = lastKnown_[static_cast<unsigned char>(tag.front()) & 0x7F];
        if (tag == last) {
            return true;
        }
        if (isStandardGedcomTag(tag)) {
            last = tag;
            return true;
        }
        return false;
    }

    static void undoDoubledAt(std::string& v) {
        std::string out;
        out.reserve(v.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
            out += v[i];
            if (v[i] == '@' && i + 1 < v.size() && v[i + 1] == '@') {
                ++i;
            }
        }
        v = std::move(out);
    }

    GedcomFile& f_;
    std::string fileName_;
    std::vector<std::size_t> open_;        // the open node of each level
    std::vector<std::int32_t> ownedIndex_; // per node: its assembled value in owned_, or -1
    std::vector<std::size_t> ownedNodes_;  // the nodes that have one
    std::vector<std::size_t> doubledAt_;   // 5.5.1 nodes whose first line holds "@@"
    bool sawTrailer_ = false;
    bool afterTrailerReported_ = false;
    std::array<std::string_view, 128> lastKnown_{}; // the last standard tag met, by first letter
};

GedcomFile readGedcom(std::string bytes, const std::string& fileName) {
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        refuse(fileName, 0, "UTF-16 のファイルは読めません（UTF-8 で書き出してください）");
    }
    std::string_view body(bytes);
    if (body.substr(0, 3) == kBom) {
        body.remove_prefix(3);
    }
    const Head head = readHead(body, fileName);
    GedcomFile f;
    if (!head.hasVersion || head.version == "5.5.1" || head.version == "5.5" ||
        head.version == "5.5.5") {
        f.version = GedcomVersion::V551;
    } else if (head.version == "7" || head.version.rfind("7.", 0) == 0) {
        f.version = GedcomVersion::V70;
    } else {
        refuse(fileName, 0,
               "GEDCOM の版「" + head.version + "」は読めません（5.5.1 と 7.0 を読みます）");
    }
    f.text_ = std::make_unique<std::string>(
        decode(std::move(bytes), head, f.version, f.charset, fileName));
    f.owned_ = std::make_unique<std::deque<std::string>>();
    GedcomParser(f, fileName).parse();
    if (!head.hasVersion) {
        f.notices.push_back(
            {0, {}, "HEAD に GEDC の VERS がないので、GEDCOM 5.5.1 として読みました"});
    }
    return f;
}

} // namespace converter
