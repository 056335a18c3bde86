// Small registers written out case by case for the layout tests.
#pragma once

#include "core/registers.h"
#include "layout/chart_survey.h"

#include <string>

namespace layout_test {

class RegisterBuilder {
public:
    // A person standing for itself; sex 1 male, 2 female.
    int person(int sex, const std::string& surname = "山田", const std::string& given = "",
               int founderLevel = 0) {
        core::当事者 p;
        const int n = reg.personCount() + 1;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
        p.男女 = static_cast<std::int16_t>(sex);
        p.姓 = surname;
        p.名 = given.empty() ? "人" + std::to_string(n) : given;
        p.創始階層 = static_cast<std::int16_t>(founderLevel);
        reg.persons.push_back(p);
        return n;
    }
    int man(const std::string& given = "") { return person(1, "山田", given); }
    int woman(const std::string& given = "") { return person(2, "山田", given); }

    // A family; 0 for a missing partner.
    int family(int husband, int wife, int lineage = 0, int form = 0) {
        core::家族 f;
        const int n = reg.familyCount() + 1;
        f.夫婦確定_f = 1;
        f.婚姻NO = static_cast<std::int16_t>(n);
        f.形態 = static_cast<core::UnionForm>(form);
        f.夫NO = static_cast<std::int16_t>(husband);
        f.妻NO = static_cast<std::int16_t>(wife);
        f.夫肩書 = "夫";
        f.妻肩書 = "妻";
        f.系統_F = static_cast<core::Lineage>(lineage);
        reg.families.push_back(f);
        return n;
    }

    // Adds `c` as the next child of `f`; a descendant child is continued under `f`.
    void child(int f, int c, bool descendant = true, int form = 0, const std::string& title = "") {
        core::Child k;
        k.子NO = static_cast<std::int16_t>(c);
        k.子の形態 = static_cast<core::ChildKind>(form);
        k.子の肩書 = title;
        reg.family(f).子.push_back(k);
        if (descendant) {
            reg.person(c).子孫_F = reg.person(c).子孫_FL = static_cast<std::int16_t>(f);
        }
    }

    // A child born into `f`, with `sex`.
    int childOf(int f, int sex) {
        const int c = person(sex);
        child(f, c);
        return c;
    }

    layout::SurveyOptions options(int base, bool vertical = false) const {
        layout::SurveyOptions o;
        o.baseFamily = base;
        o.縦書き = vertical;
        o.最大世代数 = 30;
        return o;
    }

    core::Registers reg;
};

// Runs a survey that must succeed.
inline layout::SurveyResult survey(const core::Registers& reg, const layout::SurveyOptions& o) {
    layout::SurveyOutcome outcome = layout::surveyChart(reg, o, {});
    if (!outcome.ok()) {
        throw std::runtime_error(outcome.error->title + ": " + outcome.error->text);
    }
    return std::move(*outcome.result);
}

} // namespace layout_test
