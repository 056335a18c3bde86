// Exporting a person register as comma-separated text (Shift-JIS, CR LF, every field in
// double quotes).
#pragma once

#include "common/dialogs.h"
#include "converter/job.h"
#include "converter/person_register.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace converter {

// The sex notations of both settings forms, by index: 0 none, 1 "男・女", 2 "M・F",
// 3 "男ならYes", 4 "女ならYes". Index 0 reads "無し" on the export form and "該当無し" on
// the import form.
inline constexpr int kSexNotationCount = 5;
inline constexpr int kDefaultSexNotation = 1;
const std::array<std::string_view, kSexNotationCount>& exportSexNotations();
const std::array<std::string_view, kSexNotationCount>& importSexNotations();

// The options of the export form.
struct ExportOptions {
    bool header = false;       // CHECK1: a line of column names first
    int sex = 1;               // LIST1: notation index; 0 = no sex column
    bool joinName = false;     // CHECK2: one name column
    bool joinAddress = false;  // CHECK13: 住所1 + 住所2 in one column (current registers)
    bool joinDomicile = false; // CHECK14: 本籍1 + 本籍2 (current registers)
    bool joinNote = false;     // CHECK15: 備考1 + 備考2
    // Old registers: a text longer than its limit is split into two columns (the first
    // `limit` characters and the rest). 0 stands for the largest count in the register.
    long addressLimit = 0;
    long domicileLimit = 0;
};

// The name as one text: surname and given name (given name first when 姓名順 is 1), with
// "　" between them where the separator rule asks for one.
std::string joinedName(const 当事者& p);

// The sex column of a person in notation `notation` (1..4).
std::string sexText(const 当事者& p, int notation);

// What the columns depend on besides the options: the register's generation and, for an
// old register, its largest address and domicile lengths.
struct ExportShape {
    bool current = true;
    std::size_t largest住所 = 0;
    std::size_t largest本籍 = 0;
};
ExportShape shapeOf(const PersonRegister& reg);

// The column names and the fields of one person, as the options make them.
std::vector<std::string> exportHeader(const ExportShape& shape, const ExportOptions& options);
std::vector<std::string> exportFields(const ExportShape& shape, const ExportOptions& options,
                                      const 当事者& p);

// Builds the CSV bytes line by line: the header line (with options.header) first, then one
// line per person added. Throws common::FileError for a negative limit.
class CsvWriter {
public:
    CsvWriter(const ExportShape& shape, const ExportOptions& options, std::size_t expected);
    void add(const 当事者& p);
    std::string take() { return std::move(out_); }

private:
    void put(const std::vector<std::string>& fields);
    ExportShape shape_;
    ExportOptions options_;
    std::string out_;
    std::string line_;
};

// The whole CSV file as Shift-JIS bytes.
std::string csvBytes(const PersonRegister& reg, const ExportOptions& options);

// The CSV file of the register of `folder`, read record by record so that a large register
// is never held whole (an old register whose texts are split at a limit is read whole: the
// split depends on its longest texts). `persons` receives the count. Throws
// common::FileError for a register that cannot be read.
std::string csvBytesOfFolder(const std::filesystem::path& folder, const ExportOptions& options,
                             long* persons = nullptr);

// Reads a limit typed into the export form: a whole number of 0 or more, in half- or
// full-width digits, surrounding spaces allowed. False for anything else.
bool parseLimit(std::string_view typed, long& limit);

// The export job once the options are set: builds the file, asks for its name
// ("ＣＳＶファイルの書き込み", proposed "当事者データ.TXT" in `folder`, with the overwrite
// question) and writes it atomically.
// `written` receives the path of the file written.
JobOutcome exportCsv(const PersonRegister& reg, const std::filesystem::path& folder,
                     const ExportOptions& options, common::Dialogs& dialogs,
                     std::filesystem::path* written = nullptr);

// Writes the export to `path` (no dialogs). Throws common::FileError.
void writeCsv(const PersonRegister& reg, const ExportOptions& options,
              const std::filesystem::path& path);

// The export job straight from the folder's register (the command line): builds the file
// (a register that cannot be read is reported and nothing is asked), then asks for the
// name as exportCsv does and writes it.
JobOutcome exportFolderCsv(const std::filesystem::path& folder, const ExportOptions& options,
                           common::Dialogs& dialogs, std::filesystem::path* written = nullptr,
                           long* persons = nullptr);

} // namespace converter
