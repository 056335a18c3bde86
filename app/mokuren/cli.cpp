#include "app/mokuren/cli.h"

#include "common/dialogs.h"
#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "converter/csv_export.h"
#include "converter/csv_import.h"
#include "converter/files.h"
#include "converter/gedcom_export.h"
#include "converter/gedcom_import.h"
#include "converter/job.h"
#include "converter/masking.h"
#include "converter/person_register.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

namespace mokuren_cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "使い方: mokuren                      画面を開きます\n"
    "        mokuren mask DATA_FOLDER [--seed N]\n"
    "        mokuren restore DATA_FOLDER\n"
    "        mokuren export DATA_FOLDER OUT_FILE [--header] [--sex N] [--join-name]\n"
    "                [--join-address] [--join-domicile] [--join-note]\n"
    "                [--address-limit N] [--domicile-limit N] [--yes]\n"
    "        mokuren import IN_FILE DATA_FOLDER --columns C1,C2,... [--header] [--sex N]\n"
    "                [--split-name] [--surnames A,B,...] [--address] [--address2]\n"
    "                [--domicile] [--domicile2] [--birth] [--death] [--note] [--note2] [--yes]\n"
    "        mokuren gedcom-export DATA_FOLDER OUT.ged [--version 5.5.1|7.0] [--yes]\n"
    "        mokuren gedcom-import IN.ged DATA_FOLDER [--yes]\n"
    "  --sex N       男女の表記の番号: 0 無し, 1 男・女, 2 M・F, 3 男ならYes, 4 女ならYes\n"
    "  --columns     登録チャートの順に並べたＣＳＶの列番号（1 から）\n"
    "  --version     GEDCOM の版（5.5.1 または 7.0、省略時は 5.5.1）\n"
    "  --yes         出力先のファイルが既にあるとき上書きします（import と gedcom-import\n"
    "                では家族目録と作図設定をバックアップへ移すことも認めます）\n";

// Wrong arguments: the message and the usage are shown.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The boxes of a job on the command line: messages are printed (information on `out`,
// everything else on `err`), the overwrite question is answered by --yes, and the file
// dialogs answer with the file named on the command line, once.
class CommandLineDialogs : public common::Dialogs {
public:
    CommandLineDialogs(std::ostream& out, std::ostream& err, bool yes)
        : out_(out), err_(err), yes_(yes) {}

    void answerFile(std::string path) { file_ = std::move(path); }
    bool declined() const { return declined_; }

    common::Answer message(std::string_view title, std::string_view text, common::Buttons buttons,
                           common::Icon icon) override {
        if (buttons == common::Buttons::YesNo) {
            err_ << title << text;
            if (yes_) {
                err_ << " → 上書きします\n";
                return common::Answer::Yes;
            }
            err_ << " → 上書きしません（上書きするには --yes を付けてください）\n";
            declined_ = true;
            return common::Answer::No;
        }
        std::ostream& to = icon == common::Icon::Information ? out_ : err_;
        to << title << "\n" << text << "\n";
        return common::Answer::Ok;
    }
    std::optional<std::string> input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::exchange(file_, std::nullopt);
    }
    std::optional<std::string> saveFile(std::string_view, std::string_view, std::string_view,
                                        std::string_view, bool) override {
        return std::exchange(file_, std::nullopt);
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    bool yes_;
    bool declined_ = false;
    std::optional<std::string> file_;
};

// The arguments after the job name: positional ones and options.
class Arguments {
public:
    Arguments(const std::vector<std::string>& args, const std::set<std::string>& flags,
              const std::set<std::string>& valued) {
        for (std::size_t i = 1; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a.rfind("--", 0) != 0) {
                positional_.push_back(a);
            } else if (flags.count(a) != 0) {
                flags_.insert(a);
            } else if (valued.count(a) != 0) {
                if (i + 1 >= args.size()) {
                    throw UsageError(a + " には値が必要です");
                }
                values_[a] = args[++i];
            } else {
                throw UsageError("不明なオプション「" + a + "」");
            }
        }
    }

    const std::string& positional(std::size_t n, std::size_t count) const {
        if (positional_.size() != count) {
            throw UsageError("引数の数が正しくありません");
        }
        return positional_[n];
    }
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    const std::string* value(const std::string& name) const {
        const auto it = values_.find(name);
        return it == values_.end() ? nullptr : &it->second;
    }
    long number(const std::string& name, long low, long high) const {
        const std::string* v = value(name);
        long n = 0;
        if (!converter::parseLong(*v, n) || v->empty() || n < low || n > high) {
            throw UsageError(name + " の値「" + *v + "」は " + std::to_string(low) + " から " +
                             std::to_string(high) + " までの整数で指定してください");
        }
        return n;
    }

private:
    std::vector<std::string> positional_;
    std::set<std::string> flags_;
    std::map<std::string, std::string> values_;
};

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return items;
        }
        start = comma + 1;
    }
}

// The data folder must exist; what a killed run left in it is put right first, with one
// line on `err` saying what was done.
void requireFolder(const fs::path& folder, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        throw common::FileError("データフォルダ「" + folder.string() + "」が見つかりません");
    }
    const std::string recovered = common::recoverFolder(folder);
    if (!recovered.empty()) {
        err << recovered << "\n";
    }
}

// Exit code of a job that ended without being done.
int notDone(converter::JobOutcome outcome, const CommandLineDialogs& dialogs, std::ostream& err) {
    if (outcome == converter::JobOutcome::Cancelled) {
        err << (dialogs.declined() ? "何も書き込んでいません\n" : "中止しました\n");
    }
    return 1;
}

int mask(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(args, {}, {"--seed"});
    const fs::path folder = a.positional(0, 1);
    requireFolder(folder, err);
    const std::uint32_t seed = a.value("--seed") != nullptr
                                   ? static_cast<std::uint32_t>(a.number("--seed", 0, 2147483647))
                                   : converter::clockSeed();
    CommandLineDialogs dialogs(out, err, false);
    converter::NameDrawer drawer(seed);
    const auto outcome = converter::maskFolder(folder, dialogs, drawer);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    out << "個人情報を隠しました: " << folder.string() << "（元のデータは "
        << converter::kSavedPersonFile << " にあります）\n";
    return 0;
}

int restore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(args, {}, {});
    const fs::path folder = a.positional(0, 1);
    requireFolder(folder, err);
    CommandLineDialogs dialogs(out, err, false);
    const auto outcome = converter::restoreFolder(folder, dialogs);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    out << "個人情報を戻しました: " << folder.string() << "\n";
    return 0;
}

int exportJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(
        args,
        {"--header", "--join-name", "--join-address", "--join-domicile", "--join-note", "--yes"},
        {"--sex", "--address-limit", "--domicile-limit"});
    const fs::path folder = a.positional(0, 2);
    const std::string outFile = a.positional(1, 2);
    requireFolder(folder, err);
    CommandLineDialogs dialogs(out, err, a.flag("--yes"));
    converter::RegisterLayout reg;
    try {
        reg = converter::readLayout(folder);
    } catch (const common::FileError& e) {
        dialogs.ok(converter::kReadErrorTitle, e.what(), common::Icon::Stop);
        return 1;
    }
    converter::ExportOptions o;
    o.header = a.flag("--header");
    if (a.value("--sex") != nullptr) {
        o.sex = static_cast<int>(a.number("--sex", 0, converter::kSexNotationCount - 1));
    }
    o.joinName = a.flag("--join-name");
    o.joinNote = a.flag("--join-note");
    if (reg.current) {
        if (a.value("--address-limit") != nullptr || a.value("--domicile-limit") != nullptr) {
            throw UsageError("--address-limit と --domicile-limit は旧形式の当事者目録"
                             "（住所と本籍が１行ずつ）にだけ使えます");
        }
        o.joinAddress = a.flag("--join-address");
        o.joinDomicile = a.flag("--join-domicile");
    } else {
        if (a.flag("--join-address") || a.flag("--join-domicile")) {
            throw UsageError("--join-address と --join-domicile は住所と本籍が２行ずつの当事者"
                             "目録にだけ使えます（この当事者目録は旧形式です）");
        }
        if (a.value("--address-limit") != nullptr) {
            o.addressLimit = a.number("--address-limit", 0, 1000000);
        }
        if (a.value("--domicile-limit") != nullptr) {
            o.domicileLimit = a.number("--domicile-limit", 0, 1000000);
        }
    }
    dialogs.answerFile(outFile);
    fs::path written;
    long persons = 0;
    const auto outcome = converter::exportFolderCsv(folder, o, dialogs, &written, &persons);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    out << "書き込み: " << written.string() << "（" << persons << " 人）\n";
    return 0;
}

// The items to import (and the notation of the sex), from the options.
converter::ImportChoices importChoices(const Arguments& a) {
    converter::ImportChoices c;
    if (a.value("--sex") != nullptr) {
        c.sex = true;
        c.sexNotation = static_cast<int>(a.number("--sex", 0, converter::kSexNotationCount - 1));
    }
    c.splitName = a.flag("--split-name");
    c.address = a.flag("--address");
    c.address2 = a.flag("--address2");
    c.domicile = a.flag("--domicile");
    c.domicile2 = a.flag("--domicile2");
    c.birth = a.flag("--birth");
    c.death = a.flag("--death");
    c.note = a.flag("--note");
    c.note2 = a.flag("--note2");
    if ((c.address2 && !c.address) || (c.domicile2 && !c.domicile) || (c.note2 && !c.note)) {
        throw UsageError("--address2、--domicile2、--note2 は --address、--domicile、--note "
                         "と一緒に指定してください");
    }
    return c;
}

// The surnames of --surnames that split a full name, as the register holds them.
std::vector<std::string> importSurnames(const Arguments& a, const converter::ImportChoices& c) {
    std::vector<std::string> surnames;
    if (c.splitName && a.value("--surnames") != nullptr) {
        throw UsageError("--surnames は姓と名が一つの列にあるとき（--split-name なし）に使います");
    }
    if (const std::string* list = a.value("--surnames")) {
        for (const auto& s : splitList(*list)) {
            const std::string surname = converter::registeredSurname(s);
            if (!surname.empty()) {
                surnames.push_back(surname);
            }
        }
    }
    return surnames;
}

// The CSV columns (from 0) of the --columns list, each of the table and named once.
std::vector<int> columnOrder(const std::string& list, const converter::CsvTable& table) {
    std::vector<int> order;
    std::set<int> seen;
    for (const auto& item : splitList(list)) {
        long column = 0;
        if (!converter::parseLong(item, column) || item.empty() || column < 1 ||
            column > table.columns()) {
            throw UsageError("--columns の「" + item + "」は列番号ではありません（ＣＳＶデータは " +
                             std::to_string(table.columns()) + " 列）");
        }
        if (!seen.insert(static_cast<int>(column)).second) {
            throw UsageError("--columns に列 " + item + " が二度あります");
        }
        order.push_back(static_cast<int>(column) - 1);
    }
    return order;
}

int importJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(args,
                      {"--header", "--split-name", "--address", "--address2", "--domicile",
                       "--domicile2", "--birth", "--death", "--note", "--note2", "--yes"},
                      {"--sex", "--surnames", "--columns"});
    const fs::path inFile = a.positional(0, 2);
    const fs::path folder = a.positional(1, 2);
    requireFolder(folder, err);

    const converter::ImportChoices c = importChoices(a);
    const std::vector<std::string> surnames = importSurnames(a, c);
    if (a.value("--columns") == nullptr) {
        throw UsageError("--columns で列を指定してください");
    }

    CommandLineDialogs dialogs(out, err, a.flag("--yes"));
    converter::CsvTable table;
    try {
        table = converter::readCsvFile(inFile);
    } catch (const common::FileError& e) {
        dialogs.ok(converter::kImportErrorTitle, e.what(), common::Icon::Stop);
        return 1;
    }
    const std::vector<int> order = columnOrder(*a.value("--columns"), table);

    const auto chart = converter::registrationChart(c);
    converter::ImportResult result;
    try {
        result = converter::importPersons(table, chart, order, c, a.flag("--header"), surnames);
    } catch (const common::FileError& e) {
        dialogs.ok(converter::kImportErrorTitle, e.what(), common::Icon::Stop);
        return 1;
    }
    dialogs.answerFile((folder / converter::kPersonFile).string());
    fs::path written;
    const auto outcome = converter::writeImportedRegister(result, folder, dialogs, &written);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    out << "書き込み: " << written.string() << "（" << result.persons.size() << " 人）\n";
    return 0;
}

int gedcomExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(args, {"--yes"}, {"--version"});
    const fs::path folder = a.positional(0, 2);
    const std::string outFile = a.positional(1, 2);
    converter::GedcomVersion version = converter::GedcomVersion::V551;
    if (const std::string* v = a.value("--version");
        v != nullptr && !converter::parseGedcomVersion(*v, version)) {
        throw UsageError("--version の値「" + *v + "」は 5.5.1 か 7.0 で指定してください");
    }
    requireFolder(folder, err);
    CommandLineDialogs dialogs(out, err, a.flag("--yes"));
    dialogs.answerFile(outFile);
    fs::path written;
    long persons = 0;
    long families = 0;
    const auto outcome =
        converter::exportGedcom(folder, version, dialogs, &written, &persons, &families);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    out << "書き込み: " << written.string() << "（" << persons << " 人、" << families
        << " 家族）\n";
    return 0;
}

int gedcomImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Arguments a(args, {"--yes"}, {});
    const fs::path inFile = a.positional(0, 2);
    const fs::path folder = a.positional(1, 2);
    requireFolder(folder, err);
    CommandLineDialogs dialogs(out, err, a.flag("--yes"));
    const auto imported = converter::readGedcomImport(inFile, dialogs);
    if (!imported) {
        return 1;
    }
    dialogs.answerFile((folder / converter::kPersonFile).string());
    // "KANKYO.TXT" of the working directory, as the chart editor reads it.
    const auto outcome = converter::writeGedcomImport(*imported, folder, "KANKYO.TXT", dialogs);
    if (outcome != converter::JobOutcome::Done) {
        return notDone(outcome, dialogs, err);
    }
    return 0;
}

} // namespace

bool isHeadlessJob(const std::vector<std::string>& args) {
    return !args.empty();
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string job = args.empty() ? "" : args[0];
    try {
        if (job == "mask") {
            return mask(args, out, err);
        }
        if (job == "restore") {
            return restore(args, out, err);
        }
        if (job == "export") {
            return exportJob(args, out, err);
        }
        if (job == "import") {
            return importJob(args, out, err);
        }
        if (job == "gedcom-export") {
            return gedcomExport(args, out, err);
        }
        if (job == "gedcom-import") {
            return gedcomImport(args, out, err);
        }
        if (job == "--help" || job == "-h") {
            out << kUsage;
            return 0;
        }
        throw UsageError(job.empty() ? "処理を指定してください" : "不明な処理「" + job + "」");
    } catch (const UsageError& e) {
        err << e.what() << "\n" << kUsage;
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

} // namespace mokuren_cli
