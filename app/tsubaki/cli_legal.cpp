#include "app/tsubaki/cli_legal.h"

#include "core/heirs.h"
#include "core/json_writer.h"
#include "layout/chart_survey.h"
#include "render/legal_checks.h"
#include "render/legal_texts.h"

namespace app {

namespace {

std::string name(const core::Registers& reg, int p) {
    const std::string n = render::joinedName(reg.person(p));
    return n.empty() ? "氏名不詳" : n;
}

std::string rankText(const core::Registers& reg, const core::Heir& h) {
    std::string text;
    switch (h.rank) {
    case core::HeirRank::Spouse:
        text = "配偶者";
        break;
    case core::HeirRank::Descendant:
        text = "第1順位";
        break;
    case core::HeirRank::Ascendant:
        text = "第2順位";
        break;
    case core::HeirRank::Sibling:
        text = "第3順位";
        break;
    }
    if (h.represents != 0) {
        text += "・代襲（" + std::to_string(h.represents) + " " + name(reg, h.represents) + "）";
    }
    if (h.halfBlood) {
        text += "・半血";
    }
    return text;
}

const char* rankCode(core::HeirRank r) {
    switch (r) {
    case core::HeirRank::Spouse:
        return "spouse";
    case core::HeirRank::Descendant:
        return "descendant";
    case core::HeirRank::Ascendant:
        return "ascendant";
    case core::HeirRank::Sibling:
        return "sibling";
    }
    return "";
}

const char* reasonCode(core::PassReason r) {
    using R = core::PassReason;
    switch (r) {
    case R::Substituted:
        return "substituted";
    case R::DiedBefore:
        return "died_before";
    case R::SameDay:
        return "same_day";
    case R::Divorced:
        return "divorced";
    case R::NotMarried:
        return "not_married";
    case R::PriorRank:
        return "prior_rank";
    case R::NearerAscendant:
        return "nearer_ascendant";
    case R::ParentInherits:
        return "parent_inherits";
    case R::BornBeforeAdoption:
        return "born_before_adoption";
    case R::BeyondNephews:
        return "beyond_nephews";
    case R::SurvivalUnknown:
        return "survival_unknown";
    case R::LinkCopy:
        return "link_copy";
    case R::NoLine:
        return "no_line";
    }
    return "";
}

std::string reasonText(const core::Registers& reg, const core::PassedOver& p) {
    std::string text(core::passReasonText(p.reason));
    if (p.standsFor != 0) {
        text += "：" + std::to_string(p.standsFor) + " " + name(reg, p.standsFor);
    }
    return text;
}

void writeJson(const core::Registers& reg, const core::HeirOutcome& o, std::ostream& out) {
    core::JsonWriter j;
    j.beginObject();
    j.key("deceased");
    j.beginObject();
    j.key("person");
    j.value(o.deceased);
    j.key("name");
    j.value(name(reg, o.deceased));
    j.key("death");
    j.value(reg.person(o.deceased).死亡年月日);
    j.endObject();
    j.key("complete");
    j.value(o.complete);
    j.key("oldLaw");
    j.value(o.oldLaw);
    j.key("heirs");
    j.beginArray();
    for (const core::Heir& h : o.heirs) {
        j.beginObject();
        j.key("person");
        j.value(h.person);
        j.key("name");
        j.value(name(reg, h.person));
        j.key("relationship");
        j.value(h.relationshipText());
        j.key("rank");
        j.value(rankCode(h.rank));
        j.key("represents");
        j.value(h.represents);
        j.key("halfBlood");
        j.value(h.halfBlood);
        j.key("share");
        j.value(core::shareText(h.share));
        j.endObject();
    }
    j.endArray();
    j.key("passedOver");
    j.beginArray();
    for (const core::PassedOver& p : o.passedOver) {
        j.beginObject();
        j.key("person");
        j.value(p.person);
        j.key("name");
        j.value(name(reg, p.person));
        j.key("reason");
        j.value(reasonCode(p.reason));
        j.key("text");
        j.value(reasonText(reg, p));
        if (p.standsFor != 0) {
            j.key("standsFor");
            j.value(p.standsFor);
        }
        j.endObject();
    }
    j.endArray();
    j.key("unreadableDates");
    j.beginArray();
    for (const core::UnreadableDate& u : o.unreadable) {
        j.beginObject();
        j.key("person");
        j.value(u.person);
        j.key("field");
        j.value(u.field);
        j.key("text");
        j.value(u.text);
        j.key("reason");
        j.value(u.reason);
        j.endObject();
    }
    j.endArray();
    j.endObject();
    out << j.str() << "\n";
}

} // namespace

int legalDeceased(const core::DataFolder& data, int base, std::optional<bool> centreOnHusband,
                  std::ostream& err) {
    if (base < 1 || base > data.reg.familyCount()) {
        err << "家族No." << base << " はありません\n";
        return 0;
    }
    core::Lineage lineage = data.reg.family(base).系統_F;
    if (!core::isChosen(lineage)) {
        if (!centreOnHusband) {
            const layout::CentreQuestion q = layout::centreQuestion(base);
            err << q.title << "\n"
                << q.text << "\n（--centre husband または --centre wife で答えてください）\n";
            return 0;
        }
        lineage = core::lineageThrough(*centreOnHusband);
    }
    const int d = render::deceasedPerson(data.reg, base, lineage);
    if (d == 0) {
        err << "家族No." << base << " に被相続人が登録されていません\n";
    }
    return d;
}

int heirsJob(const core::DataFolder& data, int base, int deceased, bool json, std::ostream& out) {
    const core::Registers& reg = data.reg;
    const core::HeirOutcome o = core::workOutHeirs(
        reg, deceased, core::heirListPersons(reg, data.settings, base, deceased));
    if (json) {
        writeJson(reg, o, out);
        return 0;
    }
    const core::当事者& d = reg.person(o.deceased);
    out << "被相続人: " << o.deceased << " " << name(reg, o.deceased) << "（死亡 "
        << (d.死亡年月日.empty() ? std::string("年月日なし") : d.死亡年月日) << "）\n";
    if (o.oldLaw) {
        out << "旧民法の時代の相続なので、相続人は求めていません\n";
        return 0;
    }
    out << "相続人:\n";
    if (o.heirs.empty()) {
        out << "  （なし）\n";
    }
    for (const core::Heir& h : o.heirs) {
        out << "  " << h.person << " " << name(reg, h.person) << " " << h.relationshipText() << " "
            << rankText(reg, h) << " " << core::shareText(h.share) << "\n";
    }
    out << "相続人でない人:\n";
    for (const core::PassedOver& p : o.passedOver) {
        out << "  " << p.person << " " << name(reg, p.person) << " " << reasonText(reg, p) << "\n";
    }
    if (!o.unreadable.empty()) {
        out << "読めない日付:\n";
        for (const core::UnreadableDate& u : o.unreadable) {
            out << "  " << u.person << " " << name(reg, u.person) << " " << u.field << "「"
                << u.text << "」 " << u.reason << "\n";
        }
    }
    if (!o.complete) {
        out << "日付が読めないため、相続人と相続分の一部が決まっていません\n";
    }
    return 0;
}

int checkJob(const core::DataFolder& data, int base, int deceased, core::ListChartForm form,
             std::ostream& out, std::ostream& err) {
    render::LegalCheckRequest r;
    r.kind = render::legalChartKind(data.settings).value_or(render::LegalChartKind::List);
    r.form = form;
    r.baseFamily = base;
    r.deceased = deceased;
    const std::vector<render::Finding> findings =
        render::checkLegalChart(data.reg, data.settings, r);
    int errors = 0;
    for (const render::Finding& f : findings) {
        out << f.line() << "\n";
        errors += f.kind == render::Finding::Kind::Error ? 1 : 0;
    }
    err << (r.kind == render::LegalChartKind::List ? "法定相続情報一覧図" : "相続関係説明図")
        << "の確認: 誤り " << errors << " 件、注意 "
        << findings.size() - static_cast<std::size_t>(errors) << " 件\n";
    return errors > 0 ? 2 : 0;
}

bool legalFindingsAllowDrawing(const core::DataFolder& data, const render::LegalChart& chart,
                               bool strict, std::ostream& err) {
    render::LegalCheckRequest r;
    r.kind = chart.kind;
    r.form = chart.form;
    r.baseFamily = chart.baseFamily;
    r.deceased = chart.deceased;
    const std::vector<render::Finding> findings =
        render::checkLegalChart(data.reg, data.settings, r);
    for (const render::Finding& f : findings) {
        err << f.line() << "\n";
    }
    if (strict && render::hasErrors(findings)) {
        err << "誤りがあるので作図しません（--strict）\n";
        return false;
    }
    return true;
}

} // namespace app
