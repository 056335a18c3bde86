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

bool chartCanStart(const core::DataFolder& data) {
    return data.settingsFilePresent && !data.hasFamilyWithoutPartners();
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
