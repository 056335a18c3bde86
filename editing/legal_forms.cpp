#include "editing/legal_forms.h"

#include "common/cp932.h"
#include "common/text.h"
#include "core/heirs.h"
#include "editing/names.h"
#include "editing/person_editing.h"

#include <algorithm>

namespace editing {

FullWidthTexts fullWidthTexts(const std::vector<TypedField>& fields) {
    FullWidthTexts out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        try {
            out.texts.push_back(common::toFullWidth(fields[i].text));
        } catch (const common::Cp932Error&) {
            out.texts.clear();
            out.refusal = FieldRefusal{i, fields[i].caption + "「" + fields[i].text +
                                              "」に、Shift-JISで書けない文字があります。"};
            return out;
        }
    }
    return out;
}

ExplanationOptions explanationOptions(const core::DrawingSettings& s) {
    ExplanationOptions o;
    o.deceasedInfo = s.被相続人の情報欄を表示する;
    o.returnNote = s.戸籍還付欄を表示する;
    o.registryAddress = {s.登記簿上の住所１, s.登記簿上の住所２, s.登記簿上の住所３,
                         s.登記簿上の住所４};
    return o;
}

std::optional<FieldRefusal> storeExplanationOptions(const ExplanationOptions& typed,
                                                    core::DrawingSettings& s) {
    std::vector<TypedField> fields;
    for (std::size_t i = 0; i < typed.registryAddress.size(); ++i) {
        fields.push_back(
            {"登記簿上の住所の" + std::to_string(i + 1) + "行目", typed.registryAddress[i]});
    }
    const FullWidthTexts wide = fullWidthTexts(fields);
    if (wide.refusal) {
        return wide.refusal;
    }
    s.登記簿上の住所１ = wide.texts[0];
    s.登記簿上の住所２ = wide.texts[1];
    s.登記簿上の住所３ = wide.texts[2];
    s.登記簿上の住所４ = wide.texts[3];
    s.被相続人の情報欄を表示する = typed.deceasedInfo;
    s.戸籍還付欄を表示する = typed.returnNote;
    return std::nullopt;
}

std::vector<int> openHeirList(core::DrawingSettings& s, const core::Registers& reg, int baseFamily,
                              int deceased) {
    std::vector<int> list = core::heirListPersons(reg, s, baseFamily, deceased);
    for (int p = 1; p <= reg.personCount(); ++p) {
        if (!std::binary_search(list.begin(), list.end(), p)) {
            s.setHeir(p, false);
        }
    }
    return list;
}

std::vector<std::string> heirListLines(const core::Registers& reg, const std::vector<int>& list) {
    std::vector<std::string> lines;
    for (int p : list) {
        lines.push_back(personListLine(reg, p));
    }
    return lines;
}

std::vector<bool> heirSelection(const core::DrawingSettings& s, const std::vector<int>& list) {
    std::vector<bool> selected;
    for (int p : list) {
        selected.push_back(s.isHeir(p));
    }
    return selected;
}

HeirOptions heirOptions(const core::DrawingSettings& s, const core::FolderOptions& options) {
    HeirOptions o;
    o.withAddresses = s.一覧図に住所を記載する != 0;
    o.familyHeadship = s.家督相続 != 0;
    o.titleAddition = s.表題部追加情報;
    o.listForm = options.listChartForm == core::ListChartForm::List;
    return o;
}

std::optional<FieldRefusal> storeHeirs(const std::vector<int>& list,
                                       const std::vector<bool>& selected, const HeirOptions& typed,
                                       core::DrawingSettings& s, core::FolderOptions& options) {
    const FullWidthTexts wide = fullWidthTexts({{"表題部追加情報", typed.titleAddition}});
    if (wide.refusal) {
        return wide.refusal;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        s.setHeir(list[i], i < selected.size() && selected[i]);
    }
    s.一覧図に住所を記載する = typed.withAddresses ? 1 : 0;
    s.家督相続 = typed.familyHeadship ? 1 : 0;
    s.表題部追加情報 = wide.texts[0];
    options.listChartForm = typed.listForm ? core::ListChartForm::List : core::ListChartForm::Tree;
    return std::nullopt;
}

std::vector<std::string> applicantListLines(const core::Registers& reg) {
    std::vector<std::string> lines = {"このリストに申出人はいない"};
    for (int p = 1; p <= reg.personCount(); ++p) {
        lines.push_back(personListLine(reg, p));
    }
    return lines;
}

ApplicantFields applicantFields(const core::DrawingSettings& s, int personCount) {
    ApplicantFields f;
    const int applicant = s.申出人の当事者番号;
    f.applicant = applicant >= 0 && applicant <= personCount ? applicant : 0;
    f.applicantAddress = s.申出人の住所;
    f.applicantName = s.申出人の氏名;
    f.creatorAddress = s.作成者の住所;
    f.creatorName = s.作成者の氏名;
    f.date = s.作成日付;
    f.omitSettings = s.この系図では設定の記載を省略 != 0;
    return f;
}

std::optional<ApplicantLines> applicantLines(const core::Registers& reg, int entry) {
    if (entry < 1 || entry > reg.personCount()) {
        return std::nullopt;
    }
    const core::当事者& p = reg.person(entry);
    return ApplicantLines{p.住所1 + p.住所2, 氏名結合_SUB(p)};
}

std::optional<FieldRefusal> storeApplicant(const ApplicantFields& typed, core::DrawingSettings& s) {
    const FullWidthTexts wide = fullWidthTexts({{"申出人の住所", typed.applicantAddress},
                                                {"申出人の氏名", typed.applicantName},
                                                {"作成者の住所", typed.creatorAddress},
                                                {"作成者の氏名", typed.creatorName},
                                                {"作成日付", typed.date}});
    if (wide.refusal) {
        return wide.refusal;
    }
    s.申出人の当事者番号 = static_cast<std::int16_t>(std::max(0, typed.applicant));
    s.この系図では設定の記載を省略 = typed.omitSettings ? 1 : 0;
    s.申出人の住所 = wide.texts[0];
    s.申出人の氏名 = wide.texts[1];
    s.作成者の住所 = wide.texts[2];
    s.作成者の氏名 = wide.texts[3];
    s.作成日付 = wide.texts[4];
    return std::nullopt;
}

} // namespace editing
