// The rules of the main window and the person form: the person list and detail texts,
// adding, committing with the namesake question, the sex lock and the given-name search.
//
// An open person form is a PersonSession. A person being added exists in the register
// from the moment the form opens (as the next number), so that the link rules and the
// namesake search see it where they expect it; it stays only when the commit accepts it.
// Cancelling the form puts the persons back exactly as they were when it opened.
#pragma once

#include "common/dialogs.h"
#include "core/environment.h"
#include "core/registers.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

// Line of the person list LIST_A1A: number, sex, name, birth date, then address or
// domicile.
std::string personListLine(const core::Registers& reg, int n);
// The same without the birth date: the lists of the copy and link-source dialogs.
std::string personChoiceLine(const core::Registers& reg, int n);

// The detail text of the main window (EDIT20): one line per field, each ended by CR LF.
std::string personDetailText(const core::Registers& reg, int n);

// "実父：" / "実母：" line of the person form: the label, then, for a parent number above 0,
// the number, a blank, surname and given name; cut to at most 30 Shift-JIS bytes, never
// through a double-byte character.
std::string parentLine(std::string_view label, const core::Registers& reg, int parent);

// True when the person is a husband or a wife of some family: the sex can then not be
// changed in the person form.
bool sexLocked(const core::Registers& reg, int n);

// The person form while it is open.
struct PersonSession {
    int person = 0;                   // the person being edited or added
    bool adding = false;              // person was appended when the form opened
    int committedCount = 0;           // persons before the form opened
    std::vector<core::当事者> before; // the persons when the form opened
};

// Opens the form for person `n` (1..count).
PersonSession beginEdit(const core::Registers& reg, int n);

// Opens the form for a new person: appended as count + 1 with its own number as link
// source, and the given-name-first order when `Mode` is 0. Refused with a message naming
// the capacity key of "KANKYO.TXT" when the count has reached 最大登録人数.
std::optional<PersonSession> beginAdd(core::Registers& reg, const core::Environment& env,
                                      common::Dialogs& dialogs);

// Closes the form without committing: the persons are put back as they were.
void cancelSession(core::Registers& reg, const PersonSession& session);

// The fields of the person form as typed.
struct TypedPerson {
    std::string 姓, 名, 住所1, 住所2, 本籍1, 本籍2, 生年月日, 死亡年月日, 備考1, 備考2;
    std::string 創始階層; // the text of its field
    bool female = false;
    bool 当姓 = false; // "姓は系図に表示しない"
};

enum class CommitOutcome {
    Accepted,  // stored (a new person is kept)
    Refused,   // a namesake question was answered No throughout: the names are put back
               // (a new person is dropped); the form closes
    NotStored, // a field could not be taken (the user was told), or a doubtful date was
               // not kept; nothing changed, the form stays open
};

// "リスト登録": takes the typed fields into the session's person (every text through the
// full-width conversion; a changed date that is not a real 和暦 date, or a death before the
// birth, only when the user keeps it: person_dates.h), then asks about each earlier
// namesake (same surname and given name) until one Yes. Reaching the person itself accepts,
// unless No was answered.
CommitOutcome commitPerson(core::Registers& reg, const PersonSession& session,
                           const TypedPerson& typed, common::Dialogs& dialogs);

// The first person from `from` (1-based) up to the count whose given name is `name`; 0
// when none. `name` is compared after the full-width conversion the register texts had.
int findByGivenName(const core::Registers& reg, std::string_view name, int from);

} // namespace editing
