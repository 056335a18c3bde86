#include "converter/csv_export.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/name_rule.h"
#include "common/text.h"
#include "converter/files.h"

namespace converter {

namespace {

constexpr std::array<std::string_view, kSexNotationCount> kExportNotations = {
    "無し", "男・女", "M・F", "男ならYes", "女ならYes"};
constexpr std::array<std::string_view, kSexNotationCount> kImportNotations = {
    "該当無し", "男・女", "M・F", "男ならYes", "女ならYes"};

// The effective limit of an old register's column and whether the column is split.
struct Split {
    std::size_t limit = 0;
    bool split = false;
};

Split splitFor(long limit, std::size_t largest) {
    Split s;
    s.limit = limit == 0 ? largest : static_cast<std::size_t>(limit);
    s.split = s.limit < largest;
    return s;
}

void addSplit(std::vector<std::string>& fields, const std::string& text, const Split& s) {
    if (!s.split) {
        fields.push_back(text);
        return;
    }
    std::string first = common::leftChars(text, s.limit);
    std::string rest = text.substr(first.size());
    fields.push_back(std::move(first));
    fields.push_back(std::move(rest));
}

void appendQuoted(std::string& line, std::string_view field) {
    line += '"';
    for (char c : field) {
        if (c == '"') {
            line += '"'; // a quotation mark inside a field is doubled
        }
        line += c;
    }
    line += '"';
}

} // namespace

const std::array<std::string_view, kSexNotationCount>& exportSexNotations() {
    return kExportNotations;
}

const std::array<std::string_view, kSexNotationCount>& importSexNotations() {
    return kImportNotations;
}

std::string joinedName(const 当事者& p) {
    const std::string& first = p.姓名順 == 1 ? p.名 : p.姓;
    const std::string& second = p.姓名順 == 1 ? p.姓 : p.名;
    return common::姓名判断_SUB(first, second) ? first + "　" + second : first + second;
}

std::string sexText(const 当事者& p, int notation) {
    switch (notation) {
    case 1:
        return p.isFemale() ? "女" : "男";
    case 2:
        return p.isFemale() ? "F" : "M";
    case 3:
        return p.isFemale() ? "" : "Yes";
    case 4:
        return p.isFemale() ? "Yes" : "";
    default:
        return "";
    }
}

ExportShape shapeOf(const PersonRegister& reg) {
    ExportShape shape;
    shape.current = reg.current;
    shape.largest住所 = reg.largest住所;
    shape.largest本籍 = reg.largest本籍;
    return shape;
}

std::vector<std::string> exportHeader(const ExportShape& reg, const ExportOptions& o) {
    std::vector<std::string> h;
    if (o.sex > 0) {
        h.push_back("性別");
    }
    if (o.joinName) {
        h.push_back("氏名");
    } else {
        h.push_back("姓");
        h.push_back("名");
    }
    auto pair = [&](bool one, const char* single, const char* a, const char* b) {
        if (one) {
            h.push_back(single);
        } else {
            h.push_back(a);
            h.push_back(b);
        }
    };
    if (reg.current) {
        pair(o.joinAddress, "住所", "住所１", "住所２");
        pair(o.joinDomicile, "本籍", "本籍１", "本籍２");
    } else {
        pair(!splitFor(o.addressLimit, reg.largest住所).split, "住所", "住所１", "住所２");
        pair(!splitFor(o.domicileLimit, reg.largest本籍).split, "本籍", "本籍１", "本籍２");
    }
    h.push_back("生年月日");
    h.push_back("死亡年月日");
    pair(o.joinNote, "備考", "備考１", "備考２");
    return h;
}

std::vector<std::string> exportFields(const ExportShape& reg, const ExportOptions& o,
                                      const 当事者& p) {
    std::vector<std::string> f;
    if (o.sex > 0) {
        f.push_back(sexText(p, o.sex));
    }
    if (o.joinName) {
        f.push_back(joinedName(p));
    } else {
        f.push_back(p.姓);
        f.push_back(p.名);
    }
    auto pair = [&](bool one, const std::string& a, const std::string& b) {
        if (one) {
            f.push_back(a + b);
        } else {
            f.push_back(a);
            f.push_back(b);
        }
    };
    if (reg.current) {
        pair(o.joinAddress, p.住所1, p.住所2);
        pair(o.joinDomicile, p.本籍1, p.本籍2);
    } else {
        addSplit(f, p.住所1, splitFor(o.addressLimit, reg.largest住所));
        addSplit(f, p.本籍1, splitFor(o.domicileLimit, reg.largest本籍));
    }
    f.push_back(p.生年月日);
    f.push_back(p.死亡年月日);
    pair(o.joinNote, p.備考1, p.備考2);
    return f;
}

CsvWriter::CsvWriter(const ExportShape& shape, const ExportOptions& options, std::size_t expected)
    : shape_(shape), options_(options) {
    if (options.addressLimit < 0 || options.domicileLimit < 0) {
        throw common::FileError("文字数制限に負の値は使えません");
    }
    out_.reserve(expected * 160 + 256);
    if (options.header) {
        put(exportHeader(shape_, options_));
    }
}

void CsvWriter::add(const 当事者& p) {
    put(exportFields(shape_, options_, p));
}

void CsvWriter::put(const std::vector<std::string>& fields) {
    line_.clear();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line_ += ',';
        }
        appendQuoted(line_, fields[i]);
    }
    out_ += common::encodeCp932(line_);
    out_ += "\r\n";
}

std::string csvBytes(const PersonRegister& reg, const ExportOptions& o) {
    CsvWriter out(shapeOf(reg), o, reg.persons.size());
    for (const auto& p : reg.persons) {
        out.add(p);
    }
    return out.take();
}

std::string csvBytesOfFolder(const std::filesystem::path& folder, const ExportOptions& o,
                             long* persons) {
    PersonReader reader(common::readFile(folder / kPersonFile), std::string(kPersonFile));
    const RegisterLayout layout = reader.layout();
    if (persons != nullptr) {
        *persons = layout.count;
    }
    if (!layout.current && (o.addressLimit > 0 || o.domicileLimit > 0)) {
        return csvBytes(readPersonRegister(folder), o);
    }
    const std::vector<long> order = readNameOrder(folder, layout.count);
    ExportShape shape;
    shape.current = layout.current; // limits of 0 never split
    CsvWriter out(shape, o, order.size());
    当事者 p;
    for (std::size_t i = 0; reader.next(p); ++i) {
        p.姓名順 = order[i];
        out.add(p);
    }
    return out.take();
}

bool parseLimit(std::string_view typed, long& limit) {
    std::string ascii;
    for (std::size_t i = 0; i < typed.size();) {
        const auto c = static_cast<unsigned char>(typed[i]);
        // Full-width digits U+FF10..U+FF19 are EF BC 90..99; the ideographic space E3 80 80.
        if (c == 0xEF && i + 2 < typed.size() && static_cast<unsigned char>(typed[i + 1]) == 0xBC &&
            static_cast<unsigned char>(typed[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(typed[i + 2]) <= 0x99) {
            ascii += static_cast<char>('0' + (static_cast<unsigned char>(typed[i + 2]) - 0x90));
            i += 3;
        } else if (typed.substr(i, 3) == "　") {
            ascii += ' ';
            i += 3;
        } else {
            ascii += typed[i];
            ++i;
        }
    }
    long v = 0;
    if (!parseLong(ascii, v) || v < 0) {
        return false;
    }
    limit = v;
    return true;
}

void writeCsv(const PersonRegister& reg, const ExportOptions& options,
              const std::filesystem::path& path) {
    std::string bytes;
    try {
        bytes = csvBytes(reg, options);
    } catch (const common::Cp932Error& e) {
        throw common::FileError("「" + common::displayName(path) + "」を書き込めません：" +
                                e.what());
    }
    common::replaceFile(path, bytes);
}

JobOutcome exportCsv(const PersonRegister& reg, const std::filesystem::path& folder,
                     const ExportOptions& options, common::Dialogs& dialogs,
                     std::filesystem::path* written) {
    const auto path =
        chooseSavePath(dialogs, "ＣＳＶファイルの書き込み", folder, kExportFile, "ﾃｷｽﾄ形式(*.TXT)");
    if (!path) {
        return JobOutcome::Cancelled;
    }
    try {
        writeCsv(reg, options, *path);
    } catch (const common::FileError& e) {
        dialogs.ok(kExportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    if (written != nullptr) {
        *written = *path;
    }
    return JobOutcome::Done;
}

JobOutcome exportFolderCsv(const std::filesystem::path& folder, const ExportOptions& options,
                           common::Dialogs& dialogs, std::filesystem::path* written,
                           long* persons) {
    std::string bytes;
    try {
        bytes = csvBytesOfFolder(folder, options, persons);
    } catch (const common::FileError& e) {
        dialogs.ok(kReadErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    } catch (const common::Cp932Error& e) {
        dialogs.ok(kExportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    const auto path =
        chooseSavePath(dialogs, "ＣＳＶファイルの書き込み", folder, kExportFile, "ﾃｷｽﾄ形式(*.TXT)");
    if (!path) {
        return JobOutcome::Cancelled;
    }
    try {
        common::replaceFile(*path, bytes);
    } catch (const common::FileError& e) {
        dialogs.ok(kExportErrorTitle, e.what(), common::Icon::Stop);
        return JobOutcome::Stopped;
    }
    if (written != nullptr) {
        *written = *path;
    }
    return JobOutcome::Done;
}

} // namespace converter
