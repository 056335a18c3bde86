// Building the registers of a data folder from a GEDCOM file (5.5.1 or 7.0), the way back of
// gedcom_export.h.
//
// Every INDI becomes a person and every FAM a family, in file order. A person's first NAME
// is split at its slashes ("名 /姓/"), SEX gives 男女, BIRT and DEAT their dates, the first
// RESI with an ADDR the address lines, the FACT with TYPE 本籍 the domicile lines, the NOTEs
// the remarks. A family's HUSB, WIFE, DIV and CHIL give the partners, the divorce and the
// children; a child's kind comes from its FAMC's PEDI and its ADOP and 認知 events, which
// also carry the dates. Dates are written as 和暦 (gedcom_dates.h); in a file that mokuren
// wrote, the date phrase (the register's own text) is taken as it stands.
//
// The _TSUBAKI_* tags of mokuren's export give back every field the registers hold and GEDCOM
// does not (numbers, links, flags, titles, kinds, name order, founder generation, the
// register's version), so that export and import give back the registers field for field.
// A file from another program gets what the registers would hold for a family entered by
// hand: each person its own entry, parents from the family it was born into, couples
// confirmed when both partners are there, the titles 夫, 妻, 子, 養子 and 養女.
//
// What cannot be placed is never dropped silently: every line that was not used is counted
// in one report line by its kind (SOUR records, a second NAME, BIRT.PLAC ...); a text the
// registers cannot hold (a character Shift-JIS lacks, a control character) is an error that
// names the person and the line; a text that would not read back (half-width commas and
// colons) is written full-width as the person form would, and said so.
#pragma once

#include "common/dialogs.h"
#include "converter/capacities.h"
#include "converter/gedcom_export.h"
#include "converter/gedcom_reader.h"
#include "converter/job.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace converter {

struct GedcomReport {
    std::vector<GedcomFinding> errors;  // nothing is written while there is one
    std::vector<GedcomFinding> notices; // written, and worth knowing
    // Lines that could not be placed, by kind, in the order first met: ("SOUR レコード", 3).
    std::vector<std::pair<std::string, long>> unplaced;

    // "取り込めなかったもの：SOUR レコード 3 件、２つ目以降の NAME 1 件"; empty when all was
    // placed.
    std::string unplacedLine() const;
};

struct GedcomImport {
    GedcomSource registers; // persons (with 姓名順), founder generations, families
    GedcomReport report;
    std::vector<int> personLines; // the line of each person's INDI
    std::vector<int> familyLines; // the line of each family's FAM
    std::string fileName;
};

// Reads GEDCOM bytes and builds the registers. Throws common::FileError for a file that
// cannot be read at all (gedcom_reader.h); everything else is in the report.
GedcomImport importGedcom(std::string bytes, const std::string& fileName);

// What the chart editor could not load: more persons, families or children of a family than
// the capacities allow, a number outside its 16-bit range.
std::vector<GedcomFinding> capacityErrors(const GedcomImport& imported, const Capacities& limits);

// The files the import writes. `families` is empty when there is no family.
struct RegisterFiles {
    std::string persons;
    std::string founders;
    std::string nameOrder;
    std::string families;
};
// Throws common::FileError for a text that would not read back.
RegisterFiles registerFiles(const GedcomSource& registers);

// The findings one a line, the first `shown` of them and how many more there are.
std::string findingsText(const std::vector<GedcomFinding>& findings, std::size_t shown = 30);

inline constexpr std::string_view kGedcomImportErrorTitle = "GEDCOMファイルを取り込めません";
inline constexpr std::string_view kGedcomImportedTitle = "GEDCOMファイルを取り込みました";
inline constexpr std::string_view kGedcomReplacedNote =
    "（家族目録はGEDCOMの家族で置き換えます。今の家族目録と作図設定は、フォルダをバックアップして"
    "そのバックアップへ移します）";

// The first half of the import job: reads and converts `file`. When it cannot be imported,
// shows one stop box with every error (file and line) and returns nullopt.
std::optional<GedcomImport> readGedcomImport(const std::filesystem::path& file,
                                             common::Dialogs& dialogs);

// The second half: asks where to write ("当事者目録の書き込み", starting in `folder`; the
// file is always "当事者目録.TXT" in the folder chosen, an existing register or family
// register only after the overwrite question), checks the capacities of "KANKYO.TXT"
// (`environmentFile`, else the one in the chosen folder, else only the 16-bit limits),
// backs the folder up when it has a family register or drawing settings (they name the
// persons replaced; the drawing settings move into that backup), writes the person
// register, its companions and the family register in one folder transaction, and says in
// one box what was done, what could not be placed and what is worth knowing.
JobOutcome writeGedcomImport(const GedcomImport& imported, const std::filesystem::path& folder,
                             const std::filesystem::path& environmentFile, common::Dialogs& dialogs,
                             std::filesystem::path* written = nullptr);

} // namespace converter
