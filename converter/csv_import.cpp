#include "converter/csv_import.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "converter/capacities.h"
#include "converter/files.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace converter {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kIdeographicSpace = "　";

int lineOfOffset(std::string_view bytes, std::size_t offset) {
    return 1 +
           static_cast<int>(std::count(
               bytes.begin(),
               bytes.begin() + static_cast<std::ptrdiff_t>(std::min(offset, bytes.size())), '\n'));
}

bool isValidUtf8(std::string_view bytes) {
    try {
        common::utf8ToUtf32(bytes);
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

} // namespace

const std::string& CsvTable::cell(std::size_t row, int column) const {
    static const std::string empty;
    const auto& cells = rows.at(row).cells;
    return column >= 0 && static_cast<std::size_t>(column) < cells.size()
               ? cells[static_cast<std::size_t>(column)].text
               : empty;
}

std::string CsvTable::caption(int column) const {
    if (rows.empty()) {
        return "（空白）";
    }
    const std::string& text = cell(0, column);
    return text.empty() ? "（空白）" : text;
}

std::string decodeCsvBytes(std::string_view bytes, const std::string& fileName) {
    if (bytes.substr(0, kBom.size()) == kBom) {
        const std::string_view body = bytes.substr(kBom.size());
        if (!isValidUtf8(body)) {
            // The line of the first bad sequence, for the message.
            std::size_t start = 0;
            while (start < body.size()) {
                const std::size_t nl = body.find('\n', start);
                const std::size_t stop = nl == std::string_view::npos ? body.size() : nl + 1;
                if (!isValidUtf8(body.substr(start, stop - start))) {
                    break;
                }
                start = stop;
            }
            throw common::FileError("「" + fileName + "」の " +
                                    std::to_string(lineOfOffset(body, start)) +
                                    " 行目を読めません：UTF-8として正しくない文字があります");
        }
        return std::string(body);
    }
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    try {
        return common::decodeCp932(bytes);
    } catch (const common::Cp932Error& e) {
        throw common::FileError("「" + fileName + "」の " +
                                std::to_string(lineOfOffset(bytes, e.offset)) +
                                " 行目を読めません：Shift-JISとしてもUTF-8としても読めない文字があ"
                                "ります");
    }
}

CsvTable parseCsv(std::string_view s, const std::string& fileName) {
    CsvTable table;
    std::size_t i = 0;
    int line = 1;
    auto skipLineBreak = [&] {
        if (i < s.size() && s[i] == '\r') {
            ++i;
        }
        if (i < s.size() && s[i] == '\n') {
            ++i;
        }
        ++line;
    };
    while (i < s.size()) {
        if (isLineBreak(s[i])) {
            skipLineBreak(); // an empty line holds no row
            continue;
        }
        CsvRow row;
        row.line = line;
        for (;;) {
            CsvCell cell;
            if (i < s.size() && s[i] == '"') {
                cell.quoted = true;
                const int opened = line;
                ++i;
                for (;;) {
                    if (i >= s.size()) {
                        throw common::FileError("「" + fileName + "」の " + std::to_string(opened) +
                                                " 行目を読めません：引用符（\"）で始まる項目が"
                                                "ファイルの終わりまで閉じられていません");
                    }
                    const char c = s[i];
                    if (c == '"') {
                        if (i + 1 < s.size() && s[i + 1] == '"') {
                            cell.text += '"'; // a doubled mark stands for one
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (isLineBreak(c)) {
                        // A line break inside a field: the register holds one-line texts, so
                        // the parts are joined.
                        skipLineBreak();
                        continue;
                    }
                    cell.text += c;
                    ++i;
                }
            }
            while (i < s.size() && s[i] != ',' && !isLineBreak(s[i])) {
                cell.text += s[i];
                ++i;
            }
            row.cells.push_back(std::move(cell));
            if (i < s.size() && s[i] == ',') {
                ++i;
                continue;
            }
            if (i < s.size()) {
                skipLineBreak();
            }
            break;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

CsvTable readCsvFile(const std::filesystem::path& path) {
    const std::string name = common::displayName(path);
    return parseCsv(decodeCsvBytes(common::readFile(path), name), name);
}

RegistrationChart registrationChart(const ImportChoices& c) {
    RegistrationChart chart;
    std::string list;
    auto add = [&](ChartItem item, std::string_view label) {
        chart.items.push_back(item);
        list += label;
    };
    if (c.sex) {
        add(ChartItem::Sex, "性別、");
    }
    if (c.splitName) {
        add(ChartItem::Surname, "姓、");
        add(ChartItem::GivenName, "名、");
    } else {
        add(ChartItem::FullName, "氏名、");
    }
    if (c.address) {
        if (c.address2) {
            add(ChartItem::Address1, "住所１、");
            add(ChartItem::Address2, "住所２、");
        } else {
            add(ChartItem::Address, "住所、");
        }
    }
    if (c.domicile) {
        if (c.domicile2) {
            add(ChartItem::Domicile1, "本籍１、");
            add(ChartItem::Domicile2, "本籍２、");
        } else {
            add(ChartItem::Domicile, "本籍、");
        }
    }
    if (c.birth) {
        add(ChartItem::BirthDate, "生年月日、");
    }
    if (c.death) {
        add(ChartItem::DeathDate, "死亡年月日、");
    }
    if (c.note) {
        if (c.note2) {
            add(ChartItem::Note1, "備考１、");
            add(ChartItem::Note2, "備考２　");
        } else {
            add(ChartItem::Note, "備考　");
        }
    }
    chart.text = "登録チャート\n" + list + "の順に登録して下さい。";
    return chart;
}

ColumnAssignment::ColumnAssignment(int columns)
    : assigned_(static_cast<std::size_t>(std::max(columns, 0)), false) {}

void ColumnAssignment::assign(const std::vector<int>& columns) {
    for (int c : columns) {
        if (c >= 0 && c < this->columns() && !assigned_[static_cast<std::size_t>(c)]) {
            assigned_[static_cast<std::size_t>(c)] = true;
            order_.push_back(c);
        }
    }
}

void ColumnAssignment::release(const std::vector<int>& positions) {
    std::vector<bool> drop(order_.size(), false);
    for (int p : positions) {
        if (p >= 0 && static_cast<std::size_t>(p) < order_.size()) {
            drop[static_cast<std::size_t>(p)] = true;
        }
    }
    std::vector<int> kept;
    for (std::size_t k = 0; k < order_.size(); ++k) {
        if (drop[k]) {
            assigned_[static_cast<std::size_t>(order_[k])] = false;
        } else {
            kept.push_back(order_[k]);
        }
    }
    order_ = std::move(kept);
}

std::vector<int> ColumnAssignment::freeColumns() const {
    std::vector<int> free;
    for (int c = 0; c < columns(); ++c) {
        if (!assigned_[static_cast<std::size_t>(c)]) {
            free.push_back(c);
        }
    }
    return free;
}

std::string itemText(std::string_view cell) {
    std::string wide = common::toFullWidth(cell);
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size();) {
        if (wide.compare(i, kIdeographicSpace.size(), kIdeographicSpace) == 0) {
            i += kIdeographicSpace.size();
        } else {
            out += wide[i];
            ++i;
        }
    }
    return out;
}

std::string registeredSurname(std::string_view typed) {
    return itemText(typed);
}

long sexCode(std::string_view cell, int notation) {
    std::string v;
    try {
        v = itemText(cell);
    } catch (const common::Cp932Error&) {
        v = std::string(cell); // none of the notation's words, but not empty either
    }
    switch (notation) {
    case 1:
        return v == "男" || v == "男性" ? 1 : 2;
    case 2:
        return v == "Ｍ" || v == "ｍ" ? 1 : 2;
    case 3:
        return v.empty() ? 2 : 1;
    case 4:
        return v.empty() ? 1 : 2;
    default:
        return 1;
    }
}

void splitFullName(const std::string& fullName, const std::vector<std::string>& surnames,
                   std::string& 姓, std::string& 名) {
    for (const auto& s : surnames) {
        if (!s.empty() && fullName.compare(0, s.size(), s) == 0) {
            姓 = s;
            名 = fullName.substr(s.size());
            return;
        }
    }
    姓.clear();
    名 = fullName;
}

namespace {

// The index of the first row to import; throws when nothing can be imported.
std::size_t firstImportedRow(const CsvTable& table, const std::vector<int>& order,
                             bool headerLine) {
    if (order.empty()) {
        throw common::FileError(
            "ＣＳＶデータの項目が当事者目録の項目に割り当てられていません。登録チャートの順に"
            "項目を選んでください");
    }
    const std::size_t first = headerLine ? 1 : 0;
    if (table.rows.size() <= first) {
        throw common::FileError("ＣＳＶデータに取り込む行がありません");
    }
    const std::size_t count = table.rows.size() - first;
    if (count > static_cast<std::size_t>(kMaxImportedPersons)) {
        throw common::FileError("ＣＳＶデータが " + std::to_string(count) +
                                " 行あります。当事者目録には " +
                                std::to_string(kMaxImportedPersons) + " 人までしか登録できません");
    }
    return first;
}

// The register's text of one cell; throws, naming the line and column, when it cannot hold it.
std::string cellItemText(const std::string& cell, const CsvRow& row, int column) {
    try {
        return itemText(cell);
    } catch (const common::Cp932Error& e) {
        throw common::FileError("ＣＳＶデータの " + std::to_string(row.line) + " 行目、" +
                                std::to_string(column + 1) + " 列目を取り込めません：" + e.what());
    }
}

// Stores the text of one chart item in the person.
void storeItem(当事者& p, ChartItem item, std::string text,
               const std::vector<std::string>& surnames) {
    switch (item) {
    case ChartItem::Surname:
        p.姓 = std::move(text);
        break;
    case ChartItem::GivenName:
        p.名 = std::move(text);
        break;
    case ChartItem::FullName:
        splitFullName(text, surnames, p.姓, p.名);
        break;
    case ChartItem::Address1:
        p.住所1 = std::move(text);
        break;
    case ChartItem::Address2:
        p.住所2 = std::move(text);
        break;
    case ChartItem::Address:
        p.住所1 = std::move(text);
        p.住所2.clear();
        break;
    case ChartItem::Domicile1:
        p.本籍1 = std::move(text);
        break;
    case ChartItem::Domicile2:
        p.本籍2 = std::move(text);
        break;
    case ChartItem::Domicile:
        p.本籍1 = std::move(text);
        p.本籍2.clear();
        break;
    case ChartItem::BirthDate:
        p.生年月日 = std::move(text);
        break;
    case ChartItem::DeathDate:
        p.死亡年月日 = std::move(text);
        break;
    case ChartItem::Note1:
        p.備考1 = std::move(text);
        break;
    case ChartItem::Note2:
        p.備考2 = std::move(text);
        break;
    case ChartItem::Note:
        p.備考1 = std::move(text);
        p.備考2.clear();
        break;
    case ChartItem::Sex:
        break;
    }
}

// The person of row `r`, numbered `n`, from the columns assigned to the chart's items.
当事者 importedPerson(const CsvTable& table, std::size_t r, long n, const RegistrationChart& chart,
                      const std::vector<int>& order, const ImportChoices& choices,
                      const std::vector<std::string>& surnames) {
    const CsvRow& row = table.rows[r];
    当事者 p;
    p.当事者NO = n;
    p.C_当事者NO = n;
    const std::size_t items = std::min(order.size(), chart.items.size());
    for (std::size_t k = 0; k < items; ++k) {
        const int column = order[k];
        const std::string& cell = table.cell(r, column);
        const ChartItem item = chart.items[k];
        if (item == ChartItem::Sex) {
            p.男女 = sexCode(cell, choices.sexNotation);
            continue;
        }
        storeItem(p, item, cellItemText(cell, row, column), surnames);
    }
    return p;
}

} // namespace

ImportResult importPersons(const CsvTable& table, const RegistrationChart& chart,
                           const std::vector<int>& order, const ImportChoices& choices,
                           bool headerLine, const std::vector<std::string>& surnames) {
    const std::size_t first = firstImportedRow(table, order, headerLine);
    ImportResult result;
    const int columns = table.columns();
    for (std::size_t r = first; r < table.rows.size(); ++r) {
        if (static_cast<int>(table.rows[r].cells.size()) > columns) {
            result.longLines.push_back(table.rows[r].line);
        }
        const long n = static_cast<long>(result.persons.size()) + 1;
        result.persons.push_back(importedPerson(table, r, n, chart, order, choices, surnames));
    }
    return result;
}

std::string longLinesMessage(const std::vector<int>& lines) {
    constexpr std::size_t kShown = 20;
    std::string list;
    for (std::size_t k = 0; k < lines.size() && k < kShown; ++k) {
        if (k > 0) {
            list += "、";
        }
        list += std::to_string(lines[k]);
    }
    std::string text = "次の行は１行目より項目が多いので、１行目にある列だけを取り込みました"
                       "（余分な項目は読み込んでいません）。\n" +
                       list + " 行目";
    if (lines.size() > kShown) {
        text += "（ほか " + std::to_string(lines.size() - kShown) + " 行）";
    }
    return text;
}

namespace {

// Stops the import with the message of a failure.
JobOutcome stopImport(common::Dialogs& dialogs, std::string_view text) {
    dialogs.ok(kImportErrorTitle, text, common::Icon::Stop);
    return JobOutcome::Stopped;
}

// Whether the persons fit the register the chart editor accepts. It refuses a register with
// more persons than "KANKYO.TXT" allows (the working directory's, as it reads it, else the
// one in the folder).
bool fitsCapacities(const ImportResult& result, const std::filesystem::path& target,
                    common::Dialogs& dialogs) {
    try {
        const Capacities limits = findCapacities({"KANKYO.TXT", target / "KANKYO.TXT"});
        if (static_cast<long>(result.persons.size()) > limits.最大登録人数) {
            stopImport(dialogs, "ＣＳＶデータの " + std::to_string(result.persons.size()) +
                                    " 人は「" + common::displayName(limits.source) +
                                    "」の最大登録人数（" + std::to_string(limits.最大登録人数) +
                                    " 人）を超えるので取り込めません");
            return false;
        }
    } catch (const common::FileError& e) {
        stopImport(dialogs, e.what());
        return false;
    }
    return true;
}

// Writes the new register and its companion files and takes the files in `moved` out of the
// folder, after backing the folder up when there are any; the backup's path in `backup`.
bool replaceRegister(const std::filesystem::path& target, std::string bytes, std::size_t persons,
                     const std::vector<std::string_view>& moved,
                     std::optional<std::filesystem::path>& backup, common::Dialogs& dialogs) {
    try {
        if (!moved.empty()) {
            backup = backupBeforeReplacing(target);
        }
        // The companion files beside the register hold one value per person; those of the
        // register replaced would describe other persons (and a shorter one makes the
        // folder unreadable), so they are written anew with the values of new persons. The
        // files that name the persons replaced leave the folder (their copies are in the
        // backup). All of it in one folder transaction.
        common::FolderTransaction change(target);
        change.write(kPersonFile, std::move(bytes));
        for (std::string_view name : {kFounderFile, kNameOrderFile}) {
            change.write(name, companionBytes(std::vector<long>(persons, 0)));
        }
        for (std::string_view name : moved) {
            change.remove(name);
        }
        change.commit();
    } catch (const common::FileError& e) {
        stopImport(dialogs, e.what());
        return false;
    }
    return true;
}

// Tells where the files that named the replaced persons went.
void reportMovedFiles(const std::vector<std::string_view>& moved,
                      const std::filesystem::path& backup, common::Dialogs& dialogs) {
    std::string names;
    for (std::string_view name : moved) {
        names += "「" + std::string(name) + "」";
    }
    dialogs.ok(kMovedTitle,
               names + "は置き換えた当事者目録の人を指していたので、バックアップ「" +
                   backup.string() + "」に移しました。",
               common::Icon::Information);
}

} // namespace

JobOutcome writeImportedRegister(const ImportResult& result, const std::filesystem::path& folder,
                                 common::Dialogs& dialogs, std::filesystem::path* written) {
    std::string bytes;
    try {
        bytes = personRegisterBytes(currentRegister(result.persons));
    } catch (const common::FileError& e) {
        return stopImport(dialogs, e.what());
    }
    const auto path = chooseImportTarget(dialogs, folder, kMovedNote);
    if (!path) {
        return JobOutcome::Cancelled;
    }
    const std::filesystem::path target =
        path->parent_path().empty() ? std::filesystem::path(".") : path->parent_path();
    if (!recoverDataFolder(target, dialogs) ||
        refuseMaskedFolder(target, dialogs, kImportErrorTitle) ||
        !fitsCapacities(result, target, dialogs)) {
        return JobOutcome::Stopped;
    }
    const std::vector<std::string_view> moved = personReferencingFiles(target);
    std::optional<std::filesystem::path> backup;
    if (!replaceRegister(target, std::move(bytes), result.persons.size(), moved, backup, dialogs)) {
        return JobOutcome::Stopped;
    }
    if (written != nullptr) {
        *written = *path;
    }
    if (backup) {
        reportMovedFiles(moved, *backup, dialogs);
    }
    if (!result.longLines.empty()) {
        dialogs.ok(kLongLinesTitle, longLinesMessage(result.longLines), common::Icon::Information);
    }
    return JobOutcome::Done;
}

} // namespace converter
