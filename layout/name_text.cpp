#include "layout/name_text.h"

#include "common/name_rule.h"
#include "common/text.h"

namespace layout {

namespace {

const std::string kSpace = "　";

std::string spaces(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += kSpace;
    }
    return s;
}

// Joins two name parts in written order with "　" when the separator rule asks for one.
std::string joinBySeparatorRule(const std::string& first, const std::string& second) {
    return common::姓名判断_SUB(first, second) ? first + kSpace + second : first + second;
}

} // namespace

std::string 氏名空白挿入_SUB(const std::string& name) {
    if (name.rfind("（", 0) == 0 || common::charCount(name) < 2) {
        return name;
    }
    std::string out;
    std::size_t i = 0;
    while (i < name.size()) {
        const std::string one = common::leftChars(std::string_view(name).substr(i), 1);
        if (!out.empty()) {
            out += kSpace;
        }
        out += one;
        i += one.size();
    }
    return out;
}

std::string P_氏名結合_SUB(const core::当事者& p, const NameOptions& options,
                           const core::当事者* deceased, bool isDeceased) {
    const std::string surname = p.当姓 == 0 ? p.姓 : std::string();
    const bool givenFirst = p.姓名順 != 0;
    std::string name;
    if (!options.listChart) {
        name = givenFirst ? joinBySeparatorRule(p.名, surname) : joinBySeparatorRule(surname, p.名);
        if (options.氏名を１文字間隔で表示 && name != "被代襲者") {
            name = 氏名空白挿入_SUB(name);
        }
        return name;
    }
    const bool omitSurname = options.本家と同じ名字は省略する && deceased != nullptr &&
                             !isDeceased && p.姓 == deceased->姓;
    if (omitSurname) {
        name = givenFirst ? p.名 : spaces(common::charCount(deceased->姓) / 2) + p.名;
    } else {
        const std::string& first = givenFirst ? p.名 : surname;
        const std::string& second = givenFirst ? surname : p.名;
        if (options.姓と名の間に___を付ける) {
            // The dot only between two parts that are both there.
            name = !first.empty() && !second.empty() ? first + "・" + second : first + second;
        } else {
            name = joinBySeparatorRule(first, second);
        }
    }
    if (options.氏名を１文字間隔で表示) {
        name = 氏名空白挿入_SUB(name);
    }
    return name;
}

std::string 氏名字下げ(const std::string& name, const std::string& label, int indent) {
    const std::size_t n = indent > 0 ? static_cast<std::size_t>(indent) : 0;
    const std::size_t labelChars = common::charCount(label);
    const std::string prefix = labelChars < n ? label + spaces(n - labelChars) : label;
    return prefix + name;
}

std::string spouseLabel(bool male, const std::string& householdTitle, bool explanationChart) {
    if (explanationChart) {
        return male ? "（夫）" : "（妻）";
    }
    return householdTitle.empty() ? std::string() : "（" + householdTitle + "）";
}

std::string headLabel(const std::string& childTitle, bool isDeceased, bool explanationChart) {
    if (explanationChart && isDeceased) {
        return "（被）";
    }
    return childTitle + kSpace;
}

} // namespace layout
