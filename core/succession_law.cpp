#include "core/succession_law.h"

namespace core {

std::string_view passReasonText(PassReason r) {
    switch (r) {
    case PassReason::Substituted:
        return "被代襲者（被相続人より前か同じ日に死亡、子が代わって相続）";
    case PassReason::DiedBefore:
        return "被相続人より前に死亡";
    case PassReason::SameDay:
        return "被相続人と同じ日に死亡";
    case PassReason::Divorced:
        return "離婚";
    case PassReason::NotMarried:
        return "婚姻していない（内縁）";
    case PassReason::PriorRank:
        return "先の順位の相続人がいる";
    case PassReason::NearerAscendant:
        return "親等の近い直系尊属がいる";
    case PassReason::ParentInherits:
        return "親が相続人（代襲しない）";
    case PassReason::BornBeforeAdoption:
        return "養子縁組の前に生まれた養子の子（代襲しない）";
    case PassReason::BeyondNephews:
        return "兄弟姉妹の代襲は甥・姪まで";
    case PassReason::NoSiblingRepresentation:
        return "兄弟姉妹の子は代襲しない（応急措置法の時代）";
    case PassReason::SurvivalUnknown:
        return "日付が読めず、被相続人との死亡の前後が分からない";
    case PassReason::LinkCopy:
        return "同一人物の別の記載（当事者リンク）";
    case PassReason::NoLine:
        return "被相続人との相続の続柄が登録にない";
    }
    return "";
}

const LawPeriod* lawAt(const common::CivilDate& death) {
    for (const LawPeriod& s : kLawPeriods) {
        if (death >= s.from) {
            return &s;
        }
    }
    return nullptr;
}

} // namespace core
