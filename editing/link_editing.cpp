#include "editing/link_editing.h"

#include "core/descendant_flags.h"

#include "editing/names.h"
#include "editing/person_links.h"
#include "editing/person_text.h"

namespace editing {

namespace {

std::string numbered(const core::Registers& reg, int n) {
    return displayName(reg, n) + "(" + std::to_string(n) + "）";
}

// The second line of the refusal of a link that would register real parents twice.
std::string conflictText(const core::Registers& reg, int s, const LinkCheck& check) {
    switch (check.result) {
    case LinkConflict::ChosenHasParents:
        return displayName(reg, s) + "(" + std::to_string(s) + "）にも、既に実の親がいます。";
    case LinkConflict::TargetOfChosenHasParents:
        return "同じく" + numbered(reg, s) + "をリンク元にしている、\n" + numbered(reg, check.a) +
               "にも、実の親がいます。";
    case LinkConflict::SourceHasParents:
        return numbered(reg, check.b) + "にも、既に実の親がいます。";
    case LinkConflict::TargetOfSourceHasParents:
        return numbered(reg, check.b) + "をリンク元にしている、\n" + numbered(reg, check.a) +
               "に、実の親がいます。";
    case LinkConflict::None:
        break;
    }
    return {};
}

} // namespace

std::string linkLabel(int source) {
    return "No:" + strNumber(source);
}

std::optional<std::vector<int>> beginLink(core::Registers& reg, int p, bool female,
                                          std::string_view nameP, common::Dialogs& dialogs) {
    if (const auto s = 当事者リンク検索_SUB1(reg, p); s.result == LinkRole::Source) {
        common::STOP_SUB(dialogs, "リンクエラー",
                         std::string(nameP) + "は、\n " + std::to_string(s.partner) + ":" +
                             displayName(reg, s.partner) +
                             "からリンクされているので、\nリンクできません。");
        return std::nullopt;
    }
    reg.person(p).setSex(female);
    std::vector<int> candidates;
    for (int i = 1; i <= reg.personCount(); ++i) {
        if (i != p && reg.person(i).isFemale() == female) {
            candidates.push_back(i);
        }
    }
    if (candidates.empty()) {
        common::STOP_SUB(dialogs, "警告", "まだ登録できる状態ではありません。");
        return std::nullopt;
    }
    return candidates;
}

LinkOutcome chooseLinkSource(core::Registers& reg, int p, int s, std::string_view nameP,
                             common::Dialogs& dialogs) {
    const std::string name(nameP);
    if (s == p) {
        common::STOP_SUB(dialogs, "同一人登録によるリンクエラー",
                         "リンク先とリンク元が同一になります。\nよってリンクできません。");
        return {};
    }
    const LinkCheck check = 当事者リンク検索_SUB2(reg, p, s);
    if (check.chosen != 0) {
        common::STOP_SUB(dialogs, "当事者リンクメッセージ",
                         "選択した" + displayName(reg, check.chosen) + "は、既に\n" +
                             displayName(reg, check.b) + "がリンク元になっています。");
    }
    if (check.result != LinkConflict::None) {
        common::STOP_SUB(dialogs, "実の親の二重登録によるリンクエラー",
                         name + "には実の親がいて、\n" + conflictText(reg, s, check) +
                             "\nよってリンクできません。");
        return {};
    }
    const int source = check.b;
    if (check.chosen != 0) {
        common::STOP_SUB(dialogs, "当事者リンクメッセージ",
                         name + "のリンク元は、\n" + displayName(reg, source) + "になります。");
    }
    auto& target = reg.person(p);
    auto& src = reg.person(source);
    target.C_当事者NO = static_cast<std::int16_t>(source);
    if (!src.備考1.empty()) {
        src.備考1 += "　";
    }
    src.備考1 += name;
    if (src.子孫_F == 0) {
        src.子孫_F = target.子孫_F;
    }
    return {true, source, displayName(reg, source)};
}

void removeLink(core::Registers& reg, int p, bool registerFilePresent, common::Dialogs& dialogs) {
    const int s = reg.person(p).C_当事者NO;
    reg.person(p).C_当事者NO = static_cast<std::int16_t>(p);
    if (!registerFilePresent || s == p || s < 1 || s > reg.personCount()) {
        return;
    }
    auto& src = reg.person(s);
    const int f = src.子孫_F;
    if (f > 0 && f <= reg.familyCount()) {
        for (const auto& child : reg.family(f).子) {
            const int c = child.子NO;
            if (c >= 1 && c <= reg.personCount() && reg.person(c).C_当事者NO == s) {
                return;
            }
        }
    }
    if (src.子孫_FL != 0) {
        src.子孫_F = src.子孫_FL;
    } else if (!linkTargets(reg, s).empty()) {
        src.子孫_F = static_cast<std::int16_t>(core::firstTargetDescendantFamily(reg, s));
    } else {
        src.子孫_F = 0;
    }
    if (src.子孫_F > 0 && src.子孫_F != f) {
        common::STOP_SUB(dialogs, "子孫フラッグ関連メッセージ",
                         "リンク解除により子孫フラッグが付け変わりました。");
    }
}

} // namespace editing
