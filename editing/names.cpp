#include "editing/names.h"

#include "common/name_rule.h"

namespace editing {

std::string 氏名結合_SUB(const core::当事者& p) {
    const bool both = !p.姓.empty() && !p.名.empty();
    if (p.姓名順 == 1) {
        return both ? p.名 + "・" + p.姓 : p.名 + p.姓;
    }
    return both && common::姓名判断_SUB(p.姓, p.名) ? p.姓 + "・" + p.名 : p.姓 + p.名;
}

std::string displayName(const core::当事者& p) {
    std::string name = 氏名結合_SUB(p);
    return name.empty() ? "氏名不詳" : name;
}

std::string displayName(const core::Registers& reg, int person) {
    if (person < 1 || person > reg.personCount()) {
        return "氏名不詳";
    }
    return displayName(reg.person(person));
}

} // namespace editing
