#include "editing/main_window.h"

namespace editing {

ModeCaptions modeCaptions(int mode, bool atStartUp) {
    if (mode == 1) {
        return {"varovﾓｰﾄﾞへ", "通常モード"};
    }
    return {atStartUp ? "通常ﾓｰﾄﾞへ" : "通常モードへ", "viraモード"};
}

int switchedMode(int mode) {
    return mode == 1 ? 0 : 1;
}

bool canRelatePersons(const core::Registers& reg) {
    return reg.personCount() > 1;
}

std::string whyNoFamilyForm(const core::Registers& reg) {
    return canRelatePersons(reg) ? "" : "当事者が２人以上登録されると、家族構成を設定できます";
}

std::string whyNoLinkYet(const core::Registers& reg) {
    return canRelatePersons(reg) ? "" : "当事者が２人以上登録されると、リンクできます";
}

bool chartCanStart(const core::DataFolder& data) {
    return whyNoChart(data).empty();
}

std::string whyNoChart(const core::DataFolder& data) {
    if (!data.settingsFilePresent) {
        return "作図設定（作図設定.TXT）がまだありません。初めての作図は「家族構成へ」から"
               "「作図開始」で始めてください";
    }
    for (int f = 1; f <= data.reg.familyCount(); ++f) {
        if (data.reg.family(f).夫NO == 0 && data.reg.family(f).妻NO == 0) {
            return "夫も妻も登録されていない家族（" + std::to_string(f) +
                   "番）があるので作図できません";
        }
    }
    return "";
}

std::vector<core::Part> partsSavedAtEnd(const core::Registers& reg) {
    std::vector<core::Part> parts;
    if (reg.familyCount() >= 1) {
        parts.push_back(core::Part::Families);
    }
    if (reg.personCount() >= 1) {
        parts.push_back(core::Part::Persons);
    }
    return parts;
}

} // namespace editing
