// A data folder as GEDCOM (5.5.1 or 7.0, UTF-8), so that genealogy programs can read its
// family: every person (INDI) and every family (FAM).
//
// A person's names go as "NAME 名 /姓/" with GIVN and SURN, the sex, birth and death with
// their dates, the address (RESI/ADDR, the two lines as CONT), the domicile (FACT with TYPE
// 本籍) and the notes. A family gives its husband, wife, marriage (for a marriage, not for
// a non-marital union), divorce and children; an adopted child's FAMC carries PEDI adopted
// and the child an ADOP event, an acknowledged child an EVEN with TYPE 認知.
//
// Dates are read as 和暦 and written as GEDCOM writes Gregorian dates ("12 MAR 1956"); the
// text as the register holds it stays beside the date ("INT 12 MAR 1956 (...)" in 5.5.1, a
// PHRASE in 7.0). A text that is no date is written as a phrase only.
//
// What only these registers know travels in user tags (_TSUBAKI_...): the person numbers
// and flags (links, descendant flags, parents' family, hidden surname, name order, founder
// generation) and the family's titles, display flags, lineage and the child's titles and
// kinds, so that nothing of the registers is lost on the way.
#pragma once

#include "common/dialogs.h"
#include "converter/family_register.h"
#include "converter/job.h"
#include "converter/person_register.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace converter {

enum class GedcomVersion { V551, V70 };

// "5.5.1" or "7.0"; false for anything else.
bool parseGedcomVersion(std::string_view text, GedcomVersion& version);

// A date of the registers in GEDCOM: the date value ("12 MAR 1956"; empty for a text that
// is no date) and the phrase (the text itself, kept whole).
struct GedcomDate {
    std::string value;
    std::string phrase;
};
GedcomDate gedcomDate(std::string_view wareki);

struct GedcomSource {
    PersonRegister persons;     // with 姓名順
    std::vector<long> founders; // 創始階層 per person (empty: all 0)
    std::vector<家族> families;
};

// Reads the registers of `folder` (person register, its companions, the family register
// when there is one). Throws common::FileError naming the file and the line.
GedcomSource readGedcomSource(const std::filesystem::path& folder);

// The GEDCOM text (UTF-8, CR LF, no byte-order mark).
std::string gedcomText(const GedcomSource& source, GedcomVersion version);

// The export job: reads `folder`, asks for the target (the save dialog with the overwrite
// question) and writes it through the atomic replace. `persons` and `families` receive the
// counts written.
JobOutcome exportGedcom(const std::filesystem::path& folder, GedcomVersion version,
                        common::Dialogs& dialogs, std::filesystem::path* written = nullptr,
                        long* persons = nullptr, long* families = nullptr);

inline constexpr std::string_view kGedcomExportErrorTitle = "GEDCOMファイルを書き込めません";
inline constexpr std::string_view kGedcomExportFile = "家系.ged";

} // namespace converter
