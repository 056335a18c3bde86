// The statutory list chart (法定相続情報一覧図) is drawn from registers rewritten for it: the
// persons who are neither heirs nor the deceased leave their families, every person of a
// visible family gets a relation label ("（長男）", "（被相続人）", "（配偶者）" ...) by the case
// code of 家族調査_SUB, and dates, domiciles and addresses are rewritten into the words of
// the list chart ("出生　…", "死亡　…", "最後の住所" ...).
//
// The rewriting works on a copy: the caller's registers are never touched, so that nothing
// typed since the last save can be lost by a drawing.
//
// Steps, in order (buildListChart):
//   0. the lineage of every visible family that has none is asked for, and a "被代襲者"
//      counts as an heir from the start
//   1. every 備考1 (relation label) and 備考2 (case code) is cleared
//   2. children of the visible families: label from their title, no adoption lines, and
//      those who are neither heirs nor the deceased are taken out of the family
//   3. per visible family its case code 1..16 with the labels, name replacements and
//      spouse removals of that code
//   4. the second pass over the codes "07", "08", "15" and "16"
//   5. per person: the dates, domiciles and addresses of the list chart
//   6. a family none of whose drawn members is named (no child left, and neither spouse
//      the deceased or an heir: both shown as labels, or removed) is left out, so that no
//      pair of bare labels stands on the chart connected to nothing
#pragma once

#include "core/registers.h"
#include "layout/chart_survey.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace render {

struct ListChartOptions {
    int baseFamily = 0; // its centre person (link resolved) is the deceased
    // Families chosen in "非表示にする家族の選択欄" (index family − 1); the base family is
    // never hidden.
    std::vector<bool> hidden;
    std::vector<std::uint8_t> heirFlags; // index person − 1; 1 = heir
    bool 家督相続 = false;               // "隠居による家督相続"
    bool 一覧図に住所を記載する = false;
};

// Asked for a visible family whose lineage (系統_F) is not set: true for the husband
// ("父系"), false for the wife ("母系"), nullopt when it cannot be answered.
using LineageAnswer = std::function<std::optional<bool>(const layout::CentreQuestion&)>;

// Why the list chart cannot be drawn: the message box to show.
struct ListChartFailure {
    enum class Kind {
        LineageUnanswered, // a visible family's lineage is not set and was not answered
        NoSubstituteHeirs, // a "被代襲者" whose family has no child left
        BadInput,          // base family or deceased out of range
    };
    Kind kind = Kind::BadInput;
    int family = 0;
    int person = 0;
    std::string title;
    std::string text;
};

struct ListChartRegisters {
    core::Registers reg; // the registers as the list chart draws them
    int deceased = 0;
    std::vector<std::uint8_t> heirFlags; // with the "被代襲者" made heirs by their case code
    std::vector<int> caseCodes;          // index family − 1; 0 for a hidden family
    std::vector<int> counters;           // index person − 1: how often the person was labelled
    std::vector<int> leftOut;            // the families left out by step 6, increasing
    // The lineages answered, as (family, 系統_F); the base family's belongs in FORM6.
    std::vector<std::pair<int, core::Lineage>> answeredLineages;
};

struct ListChartBuild {
    std::optional<ListChartRegisters> result;
    std::optional<ListChartFailure> failure;
    bool ok() const { return result.has_value(); }
};

// The relation labels of a family's titles: "（父）" for the title "夫" (or none), else the
// title in brackets; likewise "（母）" with "妻"; the spouse label "（配偶者）" for the plain
// title, else the title in brackets.
std::string fatherLabel(const std::string& husbandTitle);
std::string motherLabel(const std::string& wifeTitle);
std::string spouseLabel(const std::string& title, const std::string& plainTitle);

// The message of a "被代襲者" in a family without children.
ListChartFailure noSubstituteHeirs(int family, int person, const std::string& name);

// Steps 1 to 5 on a copy of `reg`. `answer` is asked for every visible family whose
// lineage is not set, in family order (the base family first when its own is not set).
ListChartBuild buildListChart(const core::Registers& reg, const ListChartOptions& options,
                              const LineageAnswer& answer);

} // namespace render
