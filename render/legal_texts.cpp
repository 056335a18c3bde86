#include "render/legal_texts.h"

#include "common/cp932.h"
#include "common/name_rule.h"
#include "common/text.h"
#include "layout/name_text.h"

namespace render {

namespace {

const std::string kEightSpaces = "　　　　　　　　";

} // namespace

int deceasedPerson(const core::Registers& reg, int baseFamily, core::Lineage lineage) {
    if (baseFamily < 1 || baseFamily > reg.familyCount() || !core::isChosen(lineage)) {
        return 0;
    }
    const core::家族& f = reg.family(baseFamily);
    int p = lineage == core::Lineage::Paternal ? f.夫NO : f.妻NO;
    if (p < 1 || p > reg.personCount()) {
        return 0;
    }
    const int link = reg.person(p).C_当事者NO;
    if (link >= 1 && link <= reg.personCount()) {
        p = link;
    }
    return p;
}

std::string headingName(const core::当事者& p) {
    return p.姓 + p.名;
}

std::string joinedName(const core::当事者& p) {
    const bool both = !p.姓.empty() && !p.名.empty();
    if (p.姓名順 == 1) {
        return both ? p.名 + "・" + p.姓 : p.名 + p.姓;
    }
    return both && common::姓名判断_SUB(p.姓, p.名) ? p.姓 + "・" + p.名 : p.姓 + p.名;
}

std::string explanationTitle(const std::string& name) {
    return "被相続人　" + name + "　　" + std::string(kExplanationWord);
}

std::string listTitle(const std::string& name, const std::string& addition) {
    std::string title = "被相続人　" + name + "　　法定相続情報";
    if (!addition.empty()) {
        title += "　　" + addition;
    }
    return title;
}

std::optional<int> characterPosition(std::string_view text, std::string_view word) {
    const std::size_t at = text.find(word);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<int>(common::charCount(text.substr(0, at)));
}

InformationLines informationLines(const core::当事者& d, const core::DrawingSettings& s,
                                  bool vertical) {
    InformationLines l;
    l[0] = "被相続人の";
    l[1] = (vertical ? "　　最後の本籍　" : "最後の本籍　　　") + d.本籍1;
    l[2] = d.本籍2;
    l[3] = (vertical ? "　　最後の住所　" : "最後の住所　　　") + d.住所1;
    l[4] = d.住所2;
    l[5] = "登記簿上の住所　" + s.登記簿上の住所１;
    l[6] = s.登記簿上の住所２;
    l[10] = s.登記簿上の住所３;
    l[11] = s.登記簿上の住所４;
    l[7] = kEightSpaces + l[2];
    l[8] = kEightSpaces + l[4];
    l[9] = kEightSpaces + l[6];
    l[12] = kEightSpaces + l[10];
    l[13] = kEightSpaces + l[11];
    return l;
}

std::vector<std::string> informationBlockLines(const InformationLines& l) {
    std::vector<std::string> out{l[1]};
    if (!l[2].empty()) {
        out.push_back(l[7]);
    }
    out.push_back(l[3]);
    if (!l[4].empty()) {
        out.push_back(l[8]);
    }
    out.push_back(l[5]);
    if (!l[6].empty()) {
        out.push_back(l[9]);
    }
    if (!l[10].empty()) {
        out.push_back(l[12]);
    }
    if (!l[11].empty()) {
        out.push_back(l[13]);
    }
    return out;
}

std::array<std::string, 5> applicantLines(const core::DrawingSettings& s) {
    std::string applicant = s.申出人の氏名;
    std::string creator = s.作成者の氏名;
    if (s.氏名を１文字間隔で表示) {
        applicant = layout::氏名空白挿入_SUB(applicant);
        creator = layout::氏名空白挿入_SUB(creator);
    }
    return {"申出人：住所　" + s.申出人の住所, "　　　　氏名　" + applicant,
            "作成日：　　　" + s.作成日付, "作成者：住所　" + s.作成者の住所,
            "　　　　氏名　" + creator};
}

bool fillRegistryAddress(core::DrawingSettings& s, const core::当事者& deceased) {
    const std::string name = headingName(deceased);
    if (name == s.被相続人の名前) {
        return false;
    }
    s.被相続人の名前 = name;
    s.登記簿上の住所１ = deceased.住所1;
    s.登記簿上の住所２ = deceased.住所2;
    s.登記簿上の住所３.clear();
    s.登記簿上の住所４.clear();
    return true;
}

std::optional<int> registryLinesToFullWidth(core::DrawingSettings& s) {
    std::string* lines[] = {&s.登記簿上の住所１, &s.登記簿上の住所２, &s.登記簿上の住所３,
                            &s.登記簿上の住所４};
    std::array<std::string, 4> converted;
    for (std::size_t i = 0; i < 4; ++i) {
        try {
            converted[i] = common::toFullWidth(*lines[i]);
        } catch (const common::Cp932Error&) {
            return static_cast<int>(i) + 1;
        }
    }
    for (std::size_t i = 0; i < 4; ++i) {
        *lines[i] = std::move(converted[i]);
    }
    return std::nullopt;
}

} // namespace render
