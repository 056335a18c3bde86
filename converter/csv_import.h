// Building a person register from comma-separated text made elsewhere.
//
// The file is read into a table of cells (row 0 is the first line; its cells name the
// columns in the lists of the import form). The user's check boxes give the registration
// chart, the list of person items in the order in which columns must be assigned; the
// assignment order lists the columns the user assigned, in that order. Import then takes,
// for every line, the cell of the k-th assigned column as the k-th chart item, converts it
// to full width and writes a register of the current layout.
#pragma once

#include "common/dialogs.h"
#include "converter/job.h"
#include "converter/person_register.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace converter {

struct CsvCell {
    std::string text; // UTF-8, quotation marks removed
    bool quoted = false;
};

struct CsvRow {
    int line = 0; // 1-based line of the file on which the row starts
    std::vector<CsvCell> cells;
};

struct CsvTable {
    std::vector<CsvRow> rows;
    // The number of columns: the cells of the first row.
    int columns() const { return rows.empty() ? 0 : static_cast<int>(rows[0].cells.size()); }
    // The text of row `row`, column `column` (0-based); empty when the row is shorter.
    const std::string& cell(std::size_t row, int column) const;
    // The name of a column in the lists: row 0's cell, or "（空白）" when that is empty.
    std::string caption(int column) const;
};

// The file's bytes as UTF-8: UTF-8 when the bytes start with a byte-order mark (dropped) or
// are valid UTF-8, Shift-JIS otherwise. Throws common::FileError naming the line of a byte
// sequence that is neither.
std::string decodeCsvBytes(std::string_view bytes, const std::string& fileName);

// Splits CSV text into rows and cells. A field that starts with a quotation mark runs to
// the closing mark (a doubled mark inside stands for one; commas and line breaks inside
// belong to the field); anything between the closing mark and the next comma is kept.
// Empty lines are skipped. Throws common::FileError for a quoted field left open at the end
// of the file.
CsvTable parseCsv(std::string_view utf8, const std::string& fileName);

// Reads and splits a CSV file.
CsvTable readCsvFile(const std::filesystem::path& path);

// Items of the registration chart.
enum class ChartItem {
    Sex = 0,
    Surname = 1,
    GivenName = 2,
    FullName = 3,
    Address1 = 4,
    Address2 = 5,
    Address = 6,
    Domicile1 = 7,
    Domicile2 = 8,
    Domicile = 9,
    BirthDate = 10,
    DeathDate = 11,
    Note1 = 12,
    Note2 = 13,
    Note = 14,
};

// The check boxes of the import form.
struct ImportChoices {
    bool sex = false;       // CHECK3: the file has a sex column
    int sexNotation = 1;    // LIST2
    bool splitName = false; // CHECK4: surname and given name in separate columns
    bool address = false;   // CHECK5
    bool address2 = false;  // CHECK6 (only with CHECK5)
    bool domicile = false;  // CHECK7
    bool domicile2 = false; // CHECK8 (only with CHECK7)
    bool birth = false;     // CHECK9
    bool death = false;     // CHECK10
    bool note = false;      // CHECK11
    bool note2 = false;     // CHECK12 (only with CHECK11)
};

struct RegistrationChart {
    std::vector<ChartItem> items;
    std::string text; // shown in Edit3
};

RegistrationChart registrationChart(const ImportChoices& choices);

// Which columns are still free and the order in which the user assigned the others.
class ColumnAssignment {
public:
    explicit ColumnAssignment(int columns = 0);

    // Assigns `columns` (0-based, as selected top to bottom in the list of free columns),
    // appending them to the order. Columns already assigned or out of range are ignored.
    void assign(const std::vector<int>& columns);
    // Frees the assignments at `positions` (0-based places in the order); the others keep
    // their order and close up.
    void release(const std::vector<int>& positions);

    std::vector<int> freeColumns() const; // in column order
    const std::vector<int>& order() const { return order_; }
    int columns() const { return static_cast<int>(assigned_.size()); }

private:
    std::vector<bool> assigned_;
    std::vector<int> order_;
};

// The sex code of a cell in notation `notation` (0..4); the cell is compared after
// full-width conversion without spaces, so "M", "Ｍ" and " m " read alike, and "男性"
// reads as "男".
long sexCode(std::string_view cell, int notation);

// A person item as stored: full-width, with every full-width space removed. Throws
// common::Cp932Error for a character Shift-JIS cannot hold.
std::string itemText(std::string_view cell);

// Splits a full name at the first registered surname (list order) that begins it; without
// one the surname is empty and the whole name is the given name.
void splitFullName(const std::string& fullName, const std::vector<std::string>& surnames,
                   std::string& 姓, std::string& 名);

// A registered surname as stored in the surname list: full width, without spaces.
std::string registeredSurname(std::string_view typed);

struct ImportResult {
    std::vector<当事者> persons;
    // Lines (1-based, of the file) that held more fields than the first line; their extra
    // fields were not read.
    std::vector<int> longLines;
};

// The largest person count a register can hold (person numbers are 16-bit in the chart
// editor).
inline constexpr long kMaxImportedPersons = 32767;

// Builds the persons: one per row (without row 0 when `headerLine`), the cell of the k-th
// assigned column giving the k-th chart item. Throws common::FileError naming the line and
// column of a cell that Shift-JIS cannot hold, and for no assignment, no rows or too many
// rows.
ImportResult importPersons(const CsvTable& table, const RegistrationChart& chart,
                           const std::vector<int>& order, const ImportChoices& choices,
                           bool headerLine, const std::vector<std::string>& surnames);

// The message shown after an import that met lines with extra fields.
std::string longLinesMessage(const std::vector<int>& lines);
inline constexpr std::string_view kLongLinesTitle = "ＣＳＶデータの項目数";
inline constexpr std::string_view kMovedTitle = "バックアップへ移しました";
inline constexpr std::string_view kMovedNote =
    "（家族目録と作図設定は今の当事者目録の人を指しているので、フォルダをバックアップして、"
    "そのバックアップへ移します）";

// The rest of the import job: asks where to write ("当事者目録の書き込み"; the file is
// always "当事者目録.TXT" in the chosen folder, an existing one only after the overwrite
// question), writes it with fresh companion files in one folder transaction and reports
// lines with extra fields. The family register and the drawing settings of that folder
// name persons of the register replaced: when one exists, the question says so, the
// folder is backed up first (as the main window's backup does) and they move into that
// backup, so that the folder loads afterwards; a message says where they went. A masked
// folder, and more persons than 最大登録人数 of "KANKYO.TXT" (the working directory's, else
// the folder's), are refused with nothing written.
// `written` receives the path of the file written.
JobOutcome writeImportedRegister(const ImportResult& result, const std::filesystem::path& folder,
                                 common::Dialogs& dialogs,
                                 std::filesystem::path* written = nullptr);

} // namespace converter
