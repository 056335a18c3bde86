#include "render/heir_choice.h"

#include "render/legal_checks.h"

#include <algorithm>

namespace render {

namespace {

constexpr const char* kRefusalTitle = "法定相続人を選べません";
constexpr const char* kNoticeTitle = "法定相続人";

} // namespace

LegalHeirSelection selectLegalHeirs(const core::Registers& reg, const core::HeirOutcome& heirs,
                                    const std::vector<int>& list) {
    LegalHeirSelection out;
    if (heirs.deceased == 0) {
        out.refusal = HeirChoiceMessage{kRefusalTitle, std::string(kDeceasedUnknown) + "。"};
        return out;
    }
    if (heirs.oldLaw) {
        out.refusal = HeirChoiceMessage{
            kRefusalTitle, "被相続人の死亡は旧民法の時代なので、相続人を自動では選べません。"};
        return out;
    }
    const core::HeirChoice choice = core::chooseLegalHeirs(heirs, list);
    for (int p : list) {
        out.selected.push_back(std::find(choice.selected.begin(), choice.selected.end(), p) !=
                               choice.selected.end());
    }
    std::string missing;
    for (int p : choice.notListed) {
        missing += "\n" + personLabel(reg, p);
    }
    if (!missing.empty()) {
        out.notices.push_back(
            {kNoticeTitle, "次の相続人は非表示の家族にいるので選べません。" + missing});
    }
    if (!heirs.complete) {
        out.notices.push_back({kNoticeTitle, "日付が読めない人がいるため、相続人をすべては決め"
                                             "られません。選ばれた人を確かめてください。"});
    }
    return out;
}

} // namespace render
