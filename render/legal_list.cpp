#include "render/legal_list.h"

#include "render/legal_texts.h"

#include "core/descendant_flags.h"
#include "layout/family_case.h"

#include <algorithm>

namespace render {

namespace {

constexpr const char* kDeceasedLabel = "（被相続人）";
constexpr const char* kSubstituted = "被代襲者";

// The list chart's rewriting with its working state.
class ListBuilder {
public:
    ListBuilder(const core::Registers& original, const ListChartOptions& o)
        : original_(original), o_(o) {
        r_.reg = original;
        r_.heirFlags = o.heirFlags;
        r_.heirFlags.resize(static_cast<std::size_t>(original.personCount()), 0);
        r_.caseCodes.assign(static_cast<std::size_t>(original.familyCount()), 0);
        r_.counters.assign(static_cast<std::size_t>(original.personCount()), 0);
    }

    ListChartBuild build(const LineageAnswer& answer) {
        ListChartBuild out;
        if (o_.baseFamily < 1 || o_.baseFamily > reg().familyCount()) {
            out.failure =
                ListChartFailure{ListChartFailure::Kind::BadInput, o_.baseFamily, 0,
                                 "作図できません", "作図の基準になる家族が決まっていません。"};
            return out;
        }
        if (auto f = ensureLineage(o_.baseFamily, answer)) {
            out.failure = std::move(f);
            return out;
        }
        r_.deceased = deceasedPerson(reg(), o_.baseFamily, reg().family(o_.baseFamily).系統_F);
        if (r_.deceased == 0) {
            out.failure = ListChartFailure{
                ListChartFailure::Kind::BadInput, o_.baseFamily, 0, "作図できません",
                "家族番号" + std::to_string(o_.baseFamily) + "に被相続人が登録されていません。"};
            return out;
        }
        for (int f = 1; f <= reg().familyCount(); ++f) {
            if (!hidden(f)) {
                if (auto failure = ensureLineage(f, answer)) {
                    out.failure = std::move(failure);
                    return out;
                }
            }
        }
        keepSubstitutedHeirs();
        clearLabels();
        labelChildren();
        if (auto f = labelFamilies()) {
            out.failure = std::move(f);
            return out;
        }
        secondPass();
        rewritePersons();
        leaveOutBareLabels();
        out.result = std::move(r_);
        return out;
    }

private:
    core::Registers& reg() { return r_.reg; }
    bool valid(int p) const { return p >= 1 && p <= r_.reg.personCount(); }
    core::当事者& person(int p) { return r_.reg.person(p); }
    int& counter(int p) { return r_.counters[static_cast<std::size_t>(p - 1)]; }
    bool hidden(int f) const {
        return f != o_.baseFamily && static_cast<std::size_t>(f) <= o_.hidden.size() &&
               o_.hidden[static_cast<std::size_t>(f - 1)];
    }
    bool heir(int p) const {
        return p >= 1 && static_cast<std::size_t>(p) <= r_.heirFlags.size() &&
               r_.heirFlags[static_cast<std::size_t>(p - 1)] == 1;
    }
    // A person keeps the first relation label it receives: one from its title as a child,
    // or one given by a family's case code.
    bool labelled(int p) { return counter(p) > 0 || !person(p).備考1.empty(); }

    std::optional<ListChartFailure> ensureLineage(int f, const LineageAnswer& answer) {
        core::家族& family = reg().family(f);
        if (core::isChosen(family.系統_F)) {
            return std::nullopt;
        }
        const layout::CentreQuestion q = layout::centreQuestion(f);
        const std::optional<bool> husband = answer ? answer(q) : std::nullopt;
        if (!husband) {
            return ListChartFailure{ListChartFailure::Kind::LineageUnanswered, f, 0, q.title,
                                    q.text};
        }
        family.系統_F = core::lineageThrough(*husband);
        r_.answeredLineages.emplace_back(f, family.系統_F);
        return std::nullopt;
    }

    // A "被代襲者" (the main spouse of a visible family, titled so, who is not the deceased)
    // stands in the chart for the heirs below it: its case code makes it an heir, and it
    // must be one already when the children are sorted out (step 2), or it would be taken
    // out of its parents' family before its code is known.
    void keepSubstitutedHeirs() {
        for (int f = 1; f <= reg().familyCount(); ++f) {
            const core::家族& F = reg().family(f);
            if (hidden(f)) {
                continue;
            }
            const bool husbandMain = F.系統_F == core::Lineage::Paternal;
            const int main = husbandMain ? F.夫NO : F.妻NO;
            const std::string& title = husbandMain ? F.夫肩書 : F.妻肩書;
            if (title == kSubstituted && valid(main) && main != r_.deceased) {
                r_.heirFlags[static_cast<std::size_t>(main - 1)] = 1;
            }
        }
    }

    // Step 1.
    void clearLabels() {
        for (core::当事者& p : reg().persons) {
            p.備考1.clear();
            p.備考2.clear();
        }
    }

    // Step 2.
    void labelChildren() {
        for (int f = 1; f <= reg().familyCount(); ++f) {
            if (hidden(f)) {
                continue;
            }
            std::size_t k = 0;
            while (k < reg().family(f).子.size()) {
                core::Child& c = reg().family(f).子[k];
                const int x = c.子NO;
                if (valid(x)) {
                    person(x).備考1 =
                        "（" + (c.子の肩書.empty() ? std::string("子") : c.子の肩書) + "）";
                }
                c.子の形態 = core::ChildKind::Birth; // list charts show no adoption lines
                if (!heir(x) && x != r_.deceased) {
                    removeChild(f, k);
                    k = 0; // the family is examined again from its first child
                    continue;
                }
                ++k;
            }
        }
    }

    void removeChild(int f, std::size_t k) {
        core::家族& family = reg().family(f);
        const int x = family.子[k].子NO;
        family.子.erase(family.子.begin() + static_cast<std::ptrdiff_t>(k));
        if (!valid(x)) {
            return;
        }
        core::当事者& p = person(x);
        if (p.父母家族NO == f) {
            p.実父NO = 0;
            p.実母NO = 0;
            p.父母家族NO = 0;
        }
        core::repairAfterLeavingFamily(reg(), x, f);
    }

    // The deceased is labelled "（被相続人）" only, and is never renamed or left out of a
    // family, even where it is not the spouse a family's case code is about.
    bool deceased(int p) const { return p != 0 && p == r_.deceased; }

    void label(int p, const std::string& text, const char* code) {
        if (valid(p) && !deceased(p) && !labelled(p)) {
            person(p).備考1 = text;
            person(p).備考2 = code;
            counter(p) = 1;
        }
    }
    void replaceName(int p, const std::string& text, const char* code) {
        if (valid(p) && !deceased(p) && !labelled(p)) {
            person(p).姓 = text;
            person(p).名.clear();
            person(p).備考1.clear();
            person(p).備考2 = code;
            counter(p) = 1;
        }
    }
    // "（被相続人）" and "被代襲者" are written whether or not the person is labelled.
    void deceasedLabel(int p, const char* code, bool codeOnlyWhenNone) {
        if (!valid(p)) {
            return;
        }
        person(p).備考1 = kDeceasedLabel;
        if (!codeOnlyWhenNone || person(p).備考2.empty()) {
            person(p).備考2 = code;
        }
        ++counter(p);
    }
    void substituted(int p, const char* code) {
        if (!valid(p)) {
            return;
        }
        person(p).姓 = kSubstituted;
        person(p).名.clear();
        person(p).備考2 = code;
        ++counter(p);
    }
    void codeOnly(int p, const char* code) {
        if (valid(p)) {
            person(p).備考2 = code;
        }
    }

    // Step 3 (every visible family's lineage is set by now).
    std::optional<ListChartFailure> labelFamilies() {
        for (int f = 1; f <= reg().familyCount(); ++f) {
            if (hidden(f)) {
                continue;
            }
            core::家族& F = reg().family(f);
            const int code = layout::家族調査_SUB(F, r_.deceased, r_.heirFlags);
            r_.caseCodes[static_cast<std::size_t>(f - 1)] = code;
            if (auto failure = labelFamily(f, F, code)) {
                return failure;
            }
        }
        return std::nullopt;
    }

    // The labels (or names) a family's case code gives its spouses, and the spouse it
    // leaves out.
    std::optional<ListChartFailure> labelFamily(int f, core::家族& F, int code) {
        const int h = F.夫NO;
        const int w = F.妻NO;
        const std::string father = fatherLabel(F.夫肩書);
        const std::string mother = motherLabel(F.妻肩書);
        switch (code) {
        case 1:
            label(h, father, "01");
            if (!deceased(w)) {
                removeWife(F);
                F.系統_F = core::Lineage::Paternal;
            }
            break;
        case 2:
            if (!deceased(h)) {
                removeHusband(F);
                F.系統_F = core::Lineage::Maternal;
            }
            label(w, mother, "02");
            break;
        case 3:
            label(h, father, "03");
            label(w, mother, "03");
            break;
        case 4:
            deceasedLabel(h, "04", false);
            label(w, spouseLabel(F.妻肩書, "妻"), "04");
            break;
        case 5:
            label(h, spouseLabel(F.夫肩書, "夫"), "05");
            deceasedLabel(w, "05", false);
            break;
        case 6:
            replaceName(h, father, "06");
            replaceName(w, mother, "06");
            break;
        case 7:
            deceasedLabel(h, "07", true);
            codeOnly(w, "07");
            break;
        case 8:
            codeOnly(h, "08");
            deceasedLabel(w, "08", true);
            break;
        case 9:
            label(h, father, "09");
            F.系統_F = core::Lineage::Paternal;
            break;
        case 10:
            label(w, mother, "10");
            F.系統_F = core::Lineage::Maternal;
            break;
        case 11:
            replaceName(h, father, "11");
            break;
        case 12:
            replaceName(w, mother, "12");
            break;
        case 13:
            deceasedLabel(h, "13", false);
            break;
        case 14:
            deceasedLabel(w, "14", false);
            break;
        case 15:
        case 16: {
            const int main = code == 15 ? h : w;
            if (F.子.empty()) {
                const std::string name =
                    valid(main) ? joinedName(original_.person(main)) : std::string();
                return noSubstituteHeirs(f, main, name);
            }
            substituted(main, code == 15 ? "15" : "16");
            break;
        }
        default:
            break;
        }
        return std::nullopt;
    }

    // Step 4: the spouse of a deceased who married more than once is shown by a title
    // only, else left out; likewise the spouse of a "被代襲者".
    void secondPass() {
        for (int f = 1; f <= reg().familyCount(); ++f) {
            if (hidden(f)) {
                continue;
            }
            core::家族& F = reg().family(f);
            const int code = r_.caseCodes[static_cast<std::size_t>(f - 1)];
            const int h = F.夫NO;
            const int w = F.妻NO;
            const bool noChildren = F.子.empty();
            if (code == 7 && valid(w) && person(w).備考2 == "07") {
                if (!valid(h) || counter(h) == 1 || noChildren) {
                    removeWife(F);
                } else {
                    titleOnly(w, F.妻肩書 == "妻" || F.妻肩書.empty() ? "（女）"
                                                                      : "（" + F.妻肩書 + "）");
                }
            } else if (code == 8 && valid(h) && person(h).備考2 == "08") {
                if (!valid(w) || counter(w) == 1 || noChildren) {
                    removeHusband(F);
                } else {
                    titleOnly(h, F.夫肩書 == "夫" || F.夫肩書.empty() ? "（男）"
                                                                      : "（" + F.夫肩書 + "）");
                }
            } else if (code == 15 && valid(h) && person(h).備考2 == "15" && valid(w)) {
                if (counter(h) == 1) {
                    removeWife(F);
                } else {
                    titleOnly(w, spouseLabel(F.妻肩書, "妻"));
                }
            } else if (code == 16 && valid(w) && person(w).備考2 == "16" && valid(h)) {
                if (counter(w) == 1) {
                    removeHusband(F);
                } else {
                    titleOnly(h, spouseLabel(F.夫肩書, "夫"));
                }
            }
        }
    }
    void removeWife(core::家族& F) const {
        if (!deceased(F.妻NO)) {
            F.妻NO = 0;
            F.形態 = core::UnionForm::NonMarital;
        }
    }
    void removeHusband(core::家族& F) const {
        if (!deceased(F.夫NO)) {
            F.夫NO = 0;
            F.形態 = core::UnionForm::NonMarital;
        }
    }
    void titleOnly(int p, const std::string& title) {
        if (deceased(p)) {
            return;
        }
        person(p).姓 = title;
        person(p).名.clear();
        person(p).備考1.clear();
    }

    // Step 5.
    void rewritePersons() {
        for (int n = 1; n <= reg().personCount(); ++n) {
            core::当事者& p = person(n);
            if (p.備考2 == "15" || p.備考2 == "16") {
                p.備考1.clear();
                p.生年月日.clear();
                p.本籍1.clear();
                p.本籍2.clear();
                p.住所1.clear();
                p.住所2.clear();
                p.死亡年月日 = "（" + p.死亡年月日 + "死亡）";
                continue;
            }
            p.生年月日 = "出生　" + p.生年月日;
            if (n == r_.deceased) {
                rewriteDeceased(p);
            } else if (heir(n)) {
                p.本籍1.clear();
                p.本籍2.clear();
                p.死亡年月日.clear();
                if (o_.一覧図に住所を記載する) {
                    p.住所1 = "住所　" + p.住所1;
                    if (!p.住所2.empty()) {
                        p.住所2 = "　　　" + p.住所2;
                    }
                } else {
                    p.住所1.clear();
                    p.住所2.clear();
                }
            } else {
                // Only the name and the relation label.
                p.住所1.clear();
                p.住所2.clear();
                p.本籍1.clear();
                p.本籍2.clear();
                p.生年月日.clear();
                p.死亡年月日.clear();
            }
        }
    }

    // Step 6.
    void leaveOutBareLabels() {
        for (int f = 1; f <= reg().familyCount(); ++f) {
            const core::家族& F = reg().family(f);
            const auto named = [&](int p) { return valid(p) && (deceased(p) || heir(p)); };
            if (!hidden(f) && F.子.empty() && !named(F.夫NO) && !named(F.妻NO)) {
                r_.leftOut.push_back(f);
            }
        }
    }

    void rewriteDeceased(core::当事者& p) {
        const bool hasAddress = !p.住所1.empty() || !p.住所2.empty();
        const bool hasDomicile = !p.本籍1.empty() || !p.本籍2.empty();
        if (o_.家督相続) {
            p.死亡年月日 = "隠居　" + p.死亡年月日;
            p.住所1 = p.本籍1;
            p.住所2 = p.本籍2;
            p.本籍1 = "隠居時の本籍";
            p.本籍2.clear();
            if (p.住所1.empty() && p.住所2.empty()) {
                p.住所1 = "　";
            }
            return;
        }
        p.死亡年月日 = "死亡　" + p.死亡年月日;
        if (hasAddress) {
            p.本籍1 = "最後の住所";
        } else if (hasDomicile) {
            p.住所1 = p.本籍1;
            p.住所2 = p.本籍2;
            p.本籍1 = "最後の本籍";
        } else {
            p.本籍1 = "最後の住所";
            p.住所1 = "　";
        }
        p.本籍2.clear();
    }

    const core::Registers& original_;
    const ListChartOptions& o_;
    ListChartRegisters r_;
};

} // namespace

std::string fatherLabel(const std::string& t) {
    return t == "夫" || t.empty() ? "（父）" : "（" + t + "）";
}

std::string motherLabel(const std::string& t) {
    return t == "妻" || t.empty() ? "（母）" : "（" + t + "）";
}

std::string spouseLabel(const std::string& t, const std::string& plain) {
    return t == plain || t.empty() ? "（配偶者）" : "（" + t + "）";
}

ListChartFailure noSubstituteHeirs(int family, int person, const std::string& name) {
    return {ListChartFailure::Kind::NoSubstituteHeirs, family, person, "代襲相続の設定エラー",
            "家族番号" + std::to_string(family) + "の被代襲者「" + name +
                "」に相続権のある子供がいません"};
}

ListChartBuild buildListChart(const core::Registers& reg, const ListChartOptions& options,
                              const LineageAnswer& answer) {
    ListBuilder builder(reg, options);
    return builder.build(answer);
}

} // namespace render
