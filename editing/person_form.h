// What the person form FORM5 shows when it opens on a person, and the rules of its fields
// that are not about widgets: the record's texts as the form shows them, the name as typed
// before a commit, and the link box "当事者リンク".
#pragma once

#include "common/dialogs.h"
#include "core/data_folder.h"
#include "core/registers.h"
#include "editing/person_editing.h"

#include <string>
#include <string_view>

namespace editing {

// A text field of the person form, named by the field of the person record it shows. The
// copy dialog FORM7 names its boxes the same way.
using PersonTextField = std::string core::当事者::*;

// The person form opened on a session.
struct PersonFormView {
    std::string numberCaption; // TEXT_A8A: "当事者Ｎｏ : " and the number
    TypedPerson fields;        // the record's texts, 創始階層, sex and 当姓
    bool givenNameFirst = false; // 姓名順 1: "名・姓表示" ticked, the name fields change places
    bool linked = false;         // the person links to another source: "当事者リンク" ticked
    std::string linkLabel;       // the label beside the box, empty when not linked
    bool linkable = false;       // the box can be used: the person is no link source
    bool sexLocked = false;      // a husband or wife keeps the sex
    bool copyAvailable = false; // "他の人のデータを利用": there are committed persons
    // Why each of the three cannot be used, for the tooltips; empty when it can.
    std::string linkWhyNot;
    std::string sexWhyLocked;
    std::string copyWhyNot;
    std::string fatherLine; // "実父：..."
    std::string motherLine; // "実母：..."
};

PersonFormView personFormView(const core::Registers& reg, const PersonSession& session);

// The fields of a record as the form shows them: the texts as stored, 創始階層 as its number.
TypedPerson typedFields(const core::当事者& person);

// The edited person's name as typed (`surname`, `givenName`) for the messages of linking
// before the commit: each part through the full-width conversion, the stored `person`'s
// parts standing in from the first that Shift-JIS cannot hold.
std::string typedDisplayName(const core::当事者& person, std::string_view surname,
                             std::string_view givenName);

// The box "当事者リンク" was cleared for person p: removeLink, which repairs the descendant
// flag of the former source when the data folder holds a person register file.
void unlinkPerson(core::DataFolder& data, int p, common::Dialogs& dialogs);

} // namespace editing
