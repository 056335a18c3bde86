#include "editing/person_editing.h"

#include "common/cp932.h"
#include "common/text.h"
#include "editing/names.h"
#include "editing/person_dates.h"
#include "editing/person_links.h"
#include "editing/person_text.h"

#include <array>
#include <optional>
#include <vector>

namespace editing {

namespace {

const char* sexMark(const core::当事者& p) {
    return p.isFemale() ? "(女) " : "(男) ";
}

// "（住所：...）" when there is an address, else "（本籍：...）" when there is a domicile.
std::string wherePart(const core::当事者& p) {
    if (!p.住所1.empty()) {
        return "（住所：" + p.住所1 + p.住所2 + "）";
    }
    if (!p.本籍1.empty()) {
        return "（本籍：" + p.本籍1 + p.本籍2 + "）";
    }
    return "";
}

std::string listHead(const core::Registers& reg, int n) {
    const auto& p = reg.person(n);
    return std::to_string(n) + " " + sexMark(p) + displayName(p) + "　";
}

} // namespace

std::string personListLine(const core::Registers& reg, int n) {
    const auto& p = reg.person(n);
    std::string line = listHead(reg, n);
    if (!p.生年月日.empty()) {
        line += "(生年月日 " + p.生年月日 + "）";
    }
    return line + wherePart(p);
}

std::string personChoiceLine(const core::Registers& reg, int n) {
    return listHead(reg, n) + wherePart(reg.person(n));
}

std::string personDetailText(const core::Registers& reg, int n) {
    const auto& p = reg.person(n);
    std::string first = "当事者Ｎｏ：" + std::to_string(n);
    if (p.C_当事者NO != n) {
        first += "　　当事者Ｎｏ：" + std::to_string(p.C_当事者NO) + "のリンク先";
    } else if (const auto s = 当事者リンク検索_SUB1(reg, n); s.result == LinkRole::Source) {
        first += "　　当事者Ｎｏ：" + std::to_string(s.partner) + "のリンク元";
    }
    auto parent = [&](int no) {
        return no > 0 ? std::to_string(no) + " " + displayName(reg, no) : std::string();
    };
    const std::string lines[] = {
        first,
        std::string("　　　性別：") + (p.isFemale() ? "女" : "男"),
        "　　　氏名：" + displayName(p),
        "　生年月日：" + p.生年月日,
        "死亡年月日：" + p.死亡年月日,
        "　　住所１：" + p.住所1,
        "　　住所２：" + p.住所2,
        "　　本籍１：" + p.本籍1,
        "　　本籍２：" + p.本籍2,
        "　　備考１：" + p.備考1,
        "　　備考２：" + p.備考2,
        "　　　実父：" + parent(p.実父NO),
        "　　　実母：" + parent(p.実母NO),
        "創始階層登録" + strNumber(p.創始階層),
    };
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string parentLine(std::string_view label, const core::Registers& reg, int parent) {
    std::string line(label);
    if (parent > 0) {
        line += std::to_string(parent) + " ";
        if (parent <= reg.personCount()) {
            line += reg.person(parent).姓 + reg.person(parent).名;
        }
    }
    return common::leftSjisBytes(line, 30);
}

bool sexLocked(const core::Registers& reg, int n) {
    for (const auto& f : reg.families) {
        if (f.夫NO == n || f.妻NO == n) {
            return true;
        }
    }
    return false;
}

PersonSession beginEdit(const core::Registers& reg, int n) {
    return {n, false, reg.personCount(), reg.persons};
}

std::optional<PersonSession> beginAdd(core::Registers& reg, const core::Environment& env,
                                      common::Dialogs& dialogs) {
    const int count = reg.personCount();
    if (count >= env.最大登録人数) {
        common::STOP_SUB(
            dialogs, "当事者を追加できません",
            "当事者の数が「KANKYO.TXT」の「最大登録人数」（" + std::to_string(env.最大登録人数) +
                "人）に達しています。\n"
                "追加するには、「KANKYO.TXT」の最大登録人数の値を大きくしてください。");
        return std::nullopt;
    }
    PersonSession session{count + 1, true, count, reg.persons};
    core::当事者 p;
    p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(count + 1);
    if (env.Mode == 0) {
        p.姓名順 = 1;
    }
    reg.persons.push_back(p);
    return session;
}

void cancelSession(core::Registers& reg, const PersonSession& session) {
    reg.persons = session.before;
}

namespace {

// A text field of the person form and the member it is stored in.
struct TextField {
    const char* label;
    const std::string& typed;
    std::string core::当事者::*member;
};

constexpr std::size_t kTextFields = 10;
constexpr std::size_t kBirthField = 6;
constexpr std::size_t kDeathField = 7;

// The form's text fields, in the order they are converted.
std::array<TextField, kTextFields> textFields(const TypedPerson& typed) {
    return {{
        {"姓", typed.姓, &core::当事者::姓},
        {"名", typed.名, &core::当事者::名},
        {"住所１", typed.住所1, &core::当事者::住所1},
        {"住所２", typed.住所2, &core::当事者::住所2},
        {"本籍１", typed.本籍1, &core::当事者::本籍1},
        {"本籍２", typed.本籍2, &core::当事者::本籍2},
        {"生年月日", typed.生年月日, &core::当事者::生年月日},
        {"死亡年月日", typed.死亡年月日, &core::当事者::死亡年月日},
        {"備考１", typed.備考1, &core::当事者::備考1},
        {"備考２", typed.備考2, &core::当事者::備考2},
    }};
}

// The register's texts of the fields; nullopt when one is refused (its message is shown).
std::optional<std::vector<std::string>>
storedTexts(const std::array<TextField, kTextFields>& fields, common::Dialogs& dialogs) {
    std::vector<std::string> stored;
    for (const auto& f : fields) {
        auto text = storedText(dialogs, f.label, f.typed);
        if (!text) {
            return std::nullopt;
        }
        stored.push_back(std::move(*text));
    }
    return stored;
}

// Whether the user keeps the dates typed when they are not real dates, or the death is
// before the birth; false at the first No.
bool keepsDoubtfulDates(const core::当事者& p, const std::vector<std::string>& stored,
                        common::Dialogs& dialogs) {
    for (const auto& doubt :
         dateDoubts(p.生年月日, p.死亡年月日, stored[kBirthField], stored[kDeathField])) {
        if (!dialogs.yes(kDateQuestionTitle, doubt, common::Icon::Question)) {
            return false;
        }
    }
    return true;
}

// Asks about each earlier person with the same names: Accepted at the first Yes or when
// there is none, Refused when every answer was No.
CommitOutcome askAboutNamesakes(const core::Registers& reg, int selected,
                                common::Dialogs& dialogs) {
    const auto& p = reg.person(selected);
    bool answeredNo = false;
    for (int n = 1; n <= reg.personCount(); ++n) {
        const auto& other = reg.person(n);
        if (other.名 != p.名) {
            continue;
        }
        if (n == selected) {
            break;
        }
        if (other.姓 != p.姓) {
            continue;
        }
        if (dialogs.yes(strNumber(n) + "番目に同姓同名が登録されています",
                        "別人として登録しますか？", common::Icon::Exclamation)) {
            return CommitOutcome::Accepted;
        }
        answeredNo = true;
    }
    return answeredNo ? CommitOutcome::Refused : CommitOutcome::Accepted;
}

} // namespace

CommitOutcome commitPerson(core::Registers& reg, const PersonSession& session,
                           const TypedPerson& typed, common::Dialogs& dialogs) {
    const auto founder = typedInteger(typed.創始階層);
    if (!founder) {
        common::STOP_SUB(dialogs, "入力エラー",
                         "「創始階層登録」には -32768 から 32767 までの整数を入力してください。\n"
                         "入力された値：" +
                             typed.創始階層);
        return CommitOutcome::NotStored;
    }
    // Every field is converted before anything is stored, so that a refusal leaves the
    // person untouched.
    const auto fields = textFields(typed);
    const auto stored = storedTexts(fields, dialogs);
    if (!stored) {
        return CommitOutcome::NotStored;
    }

    // Dates that are not real dates, or a death before the birth, are stored only when the
    // user keeps them; a No leaves the form open for the correction.
    const int selected = session.person;
    auto& p = reg.person(selected);
    if (!keepsDoubtfulDates(p, *stored, dialogs)) {
        return CommitOutcome::NotStored;
    }
    p.創始階層 = static_cast<std::int16_t>(*founder);
    const std::string kept姓 = p.姓;
    const std::string kept名 = p.名;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        p.*(fields[i].member) = (*stored)[i];
    }
    p.setSex(typed.female);
    p.当姓 = typed.当姓 ? 1 : 0;

    if (askAboutNamesakes(reg, selected, dialogs) == CommitOutcome::Accepted) {
        return CommitOutcome::Accepted;
    }
    if (session.adding) {
        cancelSession(reg, session);
    } else {
        p.姓 = kept姓;
        p.名 = kept名;
    }
    return CommitOutcome::Refused;
}

int findByGivenName(const core::Registers& reg, std::string_view name, int from) {
    std::string wanted;
    try {
        wanted = common::toFullWidth(name);
    } catch (const common::Cp932Error&) {
        return 0; // a character no register can hold matches nobody
    }
    for (int n = std::max(from, 1); n <= reg.personCount(); ++n) {
        if (reg.person(n).名 == wanted) {
            return n;
        }
    }
    return 0;
}

} // namespace editing
