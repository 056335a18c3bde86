#include "editing/person_form.h"

#include "common/cp932.h"
#include "common/text.h"
#include "core/constants.h"
#include "editing/link_editing.h"
#include "editing/names.h"
#include "editing/person_links.h"

#include <filesystem>

namespace editing {

PersonFormView personFormView(const core::Registers& reg, const PersonSession& session) {
    const int p = session.person;
    const auto& person = reg.person(p);
    PersonFormView view;
    view.numberCaption = "当事者Ｎｏ : " + std::to_string(p);
    view.fields = typedFields(person);
    view.givenNameFirst = person.姓名順 == 1;
    view.linked = person.C_当事者NO != p;
    if (view.linked) {
        view.linkLabel = linkLabel(person.C_当事者NO);
    }
    // A link source cannot itself be linked to another source.
    view.linkable = 当事者リンク検索_SUB1(reg, p).result != LinkRole::Source;
    view.sexLocked = sexLocked(reg, p);
    view.copyAvailable = session.committedCount >= 1;
    if (!view.linkable) {
        view.linkWhyNot = "この当事者は他の当事者のリンク元なので、リンクできません";
    }
    if (view.sexLocked) {
        view.sexWhyLocked = "家族の夫または妻として登録されているので、性別は変えられません";
    }
    if (!view.copyAvailable) {
        view.copyWhyNot = "複写できる当事者がまだ登録されていません";
    }
    view.fatherLine = parentLine("実父：", reg, person.実父NO);
    view.motherLine = parentLine("実母：", reg, person.実母NO);
    return view;
}

TypedPerson typedFields(const core::当事者& person) {
    TypedPerson t;
    t.姓 = person.姓;
    t.名 = person.名;
    t.住所1 = person.住所1;
    t.住所2 = person.住所2;
    t.本籍1 = person.本籍1;
    t.本籍2 = person.本籍2;
    t.生年月日 = person.生年月日;
    t.死亡年月日 = person.死亡年月日;
    t.備考1 = person.備考1;
    t.備考2 = person.備考2;
    t.創始階層 = std::to_string(person.創始階層);
    t.female = person.isFemale();
    t.当姓 = person.当姓 == 1;
    return t;
}

std::string typedDisplayName(const core::当事者& person, std::string_view surname,
                             std::string_view givenName) {
    core::当事者 shown = person;
    try {
        shown.姓 = common::toFullWidth(surname);
        shown.名 = common::toFullWidth(givenName);
    } catch (const common::Cp932Error&) {
        // A name the register cannot hold yet: the stored one stands in until the commit.
    }
    return displayName(shown);
}

void unlinkPerson(core::DataFolder& data, int p, common::Dialogs& dialogs) {
    const bool registerFile = std::filesystem::exists(data.folder / core::kPersonFile);
    removeLink(data.reg, p, registerFile, dialogs);
}

} // namespace editing
