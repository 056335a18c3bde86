#include "render/legal_checks.h"

#include "render/legal_texts.h"

#include "common/wareki.h"
#include "core/heirs.h"

#include <algorithm>
#include <array>
#include <set>

namespace render {

namespace {

constexpr const char* kSubstituted = "被代襲者";

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// "長男", "二女", ... for the n-th son or daughter (1-based).
std::string ordinalChild(int n, bool female) {
    static constexpr std::array<const char*, 10> order = {"長", "二", "三", "四", "五",
                                                          "六", "七", "八", "九", "十"};
    if (n < 1 || n > static_cast<int>(order.size())) {
        return {};
    }
    return std::string(order[static_cast<std::size_t>(n - 1)]) + (female ? "女" : "男");
}

class Checker {
public:
    Checker(const core::Registers& reg, const core::DrawingSettings& s, const LegalCheckRequest& r)
        : reg_(reg), s_(s), r_(r), d_(r.deceased) {}

    std::vector<Finding> run() {
        if (!valid(d_)) {
            error(0, "被相続人が決まっていません（作図の基準家族と直系の接続を確かめてください）");
            return sorted();
        }
        deceased();
        if (r_.kind == LegalChartKind::List) {
            heirs();
            blocks();
        }
        dates();
        if (r_.kind == LegalChartKind::List) {
            openPlaces();
        }
        return sorted();
    }

private:
    bool valid(int p) const { return p >= 1 && p <= reg_.personCount(); }
    const core::当事者& person(int p) const { return reg_.person(p); }
    std::string who(int p) const { return personLabel(reg_, p); }
    bool selected(int p) const { return s_.isHeir(p); }
    bool hidden(int f) const {
        const auto i = static_cast<std::size_t>(f - 1);
        return f != r_.baseFamily && i < s_.familyEntries.size() &&
               s_.familyEntries[i].selected == 1;
    }

    void error(int p, std::string text) {
        out_.push_back({Finding::Kind::Error, p, std::move(text)});
    }
    void notice(int p, std::string text) {
        out_.push_back({Finding::Kind::Notice, p, std::move(text)});
    }

    std::vector<Finding> sorted() {
        std::stable_sort(out_.begin(), out_.end(), [](const Finding& a, const Finding& b) {
            return a.kind == Finding::Kind::Error && b.kind != Finding::Kind::Error;
        });
        return std::move(out_);
    }

    void deceased() {
        const core::当事者& p = person(d_);
        const std::string name = who(d_) + "（被相続人）";
        if (p.死亡年月日.empty()) {
            error(d_, name + "の死亡年月日がありません");
        }
        const bool address = !p.住所1.empty() || !p.住所2.empty();
        const bool domicile = !p.本籍1.empty() || !p.本籍2.empty();
        if (!address && !domicile) {
            error(d_, name + "の最後の住所も最後の本籍もありません");
        } else if (!address) {
            notice(d_, name + "の最後の住所がありません（最後の本籍で作図します）");
        } else if (!domicile) {
            notice(d_, name + "の最後の本籍がありません");
        }
    }

    // The family in which `child` is a child of `parent` (a link resolved on both sides),
    // with the child's position; {0, 0} when none.
    std::pair<int, int> tieFamily(int parent, int child) const {
        for (int f = 1; f <= reg_.familyCount(); ++f) {
            const core::家族& F = reg_.family(f);
            const bool parentHere = (valid(F.夫NO) && core::linkSource(reg_, F.夫NO) == parent) ||
                                    (valid(F.妻NO) && core::linkSource(reg_, F.妻NO) == parent);
            if (!parentHere) {
                continue;
            }
            for (int k = 1; k <= F.子数(); ++k) {
                const int c = F.child(k).子NO;
                if (valid(c) && core::linkSource(reg_, c) == child) {
                    return {f, k};
                }
            }
        }
        return {0, 0};
    }

    void heirs() {
        std::vector<int> candidates = core::heirListPersons(reg_, s_, r_.baseFamily, d_);
        const std::set<int> listed(candidates.begin(), candidates.end());
        const std::vector<int> chosen = chosenHeirs(listed, candidates);
        outcome_ = core::workOutHeirs(reg_, d_, candidates);
        if (chosen.empty()) {
            error(0, "相続人が一人も選ばれていません（相続人設定）");
        }
        const std::set<int> reported = diedNoLaterThanTheDeceased(chosen);
        if (outcome_.oldLaw) {
            notice(0, "被相続人の死亡（" + person(d_).死亡年月日 +
                          "）は旧民法の時代なので、相続人が法のとおりかは確かめていません");
            return;
        }
        chosenButNoHeirs(chosen, reported);
        heirsNotChosen(chosen, listed);
        selectedHeirsTitles();
    }

    // The persons chosen as heirs in the settings; each one the heir list does not hold is
    // added to `candidates`.
    std::vector<int> chosenHeirs(const std::set<int>& listed, std::vector<int>& candidates) const {
        std::vector<int> chosen;
        for (int p : s_.heirs()) {
            if (valid(p)) {
                chosen.push_back(p);
                if (listed.count(p) == 0) {
                    candidates.push_back(p);
                }
            }
        }
        return chosen;
    }

    // A chosen heir who died on the same day as the deceased, or before; returns those
    // reported.
    std::set<int> diedNoLaterThanTheDeceased(const std::vector<int>& chosen) {
        std::set<int> reported;
        const auto death = common::readWareki(person(d_).死亡年月日);
        for (int p : chosen) {
            if (p == d_ || person(p).死亡年月日.empty() || !death.ok()) {
                continue;
            }
            const auto died = common::readWareki(person(p).死亡年月日);
            if (!died.ok()) {
                continue; // reported with the dates
            }
            if (died.date->sameDay(*death.date)) {
                error(p, who(p) + "は被相続人と同じ日（" + person(p).死亡年月日 +
                             "）に死亡しているので相続人になりません");
                reported.insert(p);
            } else if (died.date->before(*death.date)) {
                error(p, who(p) + "は被相続人より前（" + person(p).死亡年月日 +
                             "）に死亡しているので相続人になりません");
                reported.insert(p);
            }
        }
        return reported;
    }

    // A chosen person the law does not make an heir (or another entry of one).
    void chosenButNoHeirs(const std::vector<int>& chosen, const std::set<int>& reported) {
        for (int p : chosen) {
            if (reported.count(p) != 0 || p == d_) {
                continue;
            }
            const int source = core::linkSource(reg_, p);
            if (outcome_.isHeir(source) && source == p) {
                continue;
            }
            if (source != p) {
                error(p, who(p) + "は" + who(source) + "の別の記載です（相続人には当事者NO." +
                             std::to_string(source) + "を選んでください）");
                continue;
            }
            const core::PassedOver* why = passed(p);
            if (why != nullptr && why->reason == core::PassReason::SurvivalUnknown) {
                notice(p, who(p) + "が相続人か、日付が読めないので確かめられません");
            } else {
                error(p, who(p) + "は法定相続人ではありません（" +
                             std::string(core::passReasonText(
                                 why != nullptr ? why->reason : core::PassReason::NoLine)) +
                             "）");
            }
        }
    }

    // An heir by law that no entry of the chosen stands for.
    void heirsNotChosen(const std::vector<int>& chosen, const std::set<int>& listed) {
        for (const core::Heir& h : outcome_.heirs) {
            const bool copyChosen = std::any_of(chosen.begin(), chosen.end(), [&](int p) {
                return core::linkSource(reg_, p) == h.person;
            });
            if (!copyChosen) {
                std::string text = who(h.person) + "（" + h.relationshipText() + "、相続分 " +
                                   core::shareText(h.share) +
                                   "）は法定相続人ですが選ばれていません";
                if (listed.count(h.person) == 0) {
                    text += "（非表示の家族にいるので、一覧図に載りません）";
                }
                error(h.person, text);
            }
        }
    }

    // The titles of the heirs chosen: a representative's and a child's, and (in the tree
    // form) the marking of the substituted.
    void selectedHeirsTitles() {
        for (const core::Heir& h : outcome_.heirs) {
            if (!selected(h.person)) {
                continue;
            }
            if (h.represents != 0 && r_.form == core::ListChartForm::Tree) {
                representative(h);
            }
            if (h.rank == core::HeirRank::Descendant && h.generation == 1) {
                childTitle(h);
            }
        }
        if (r_.form == core::ListChartForm::Tree) {
            for (const core::SuccessionLine& l : outcome_.lines) {
                if (l.substituted) {
                    substitutedMarked(l.person);
                }
            }
        }
    }

    const core::PassedOver* passed(int p) const {
        for (const core::PassedOver& po : outcome_.passedOver) {
            if (po.person == p) {
                return &po;
            }
        }
        return nullptr;
    }

    // A representative is titled by its generation (孫, 曾孫, 甥, 姪 ...).
    void representative(const core::Heir& h) {
        const auto [f, k] = tieFamily(h.represents, h.person);
        if (f == 0) {
            return;
        }
        const std::string& title = reg_.family(f).child(k).子の肩書;
        if (!startsWith(title, h.relationship)) {
            error(h.person, who(h.person) + "は代襲者なので、続柄は「" + h.relationship +
                                "」です（家族No." + std::to_string(f) + "の子の肩書がいまは「" +
                                (title.empty() ? std::string("なし") : title) + "」）");
        }
    }

    // The tree form shows a predeceased heir's place only when the 被代襲者 is the main spouse
    // of the family of the representatives, titled "被代襲者".
    void substitutedMarked(int x) {
        int family = 0;
        for (const core::Heir& h : outcome_.heirs) {
            if (h.represents == x) {
                family = tieFamily(x, h.person).first;
                if (family != 0) {
                    break;
                }
            }
        }
        if (family == 0) {
            return;
        }
        const core::家族& F = reg_.family(family);
        const bool husband = valid(F.夫NO) && core::linkSource(reg_, F.夫NO) == x;
        const std::string& title = husband ? F.夫肩書 : F.妻肩書;
        const std::string side = husband ? "夫" : "妻";
        const std::string place = "家族No." + std::to_string(family) + "の" + side;
        if (title != kSubstituted) {
            error(x, who(x) + "は被代襲者です（" + place + "の肩書を「被代襲者」にしてください）");
        } else if (!core::admitsSide(F.系統_F, core::lineageThrough(husband))) {
            error(x, who(x) + "は被代襲者です（" + place + "の直系の接続を「" +
                         (husband ? "父系" : "母系") + "」にしてください）");
        }
    }

    // A child's title empty or plain 子 while the register knows the child's order and sex.
    void childTitle(const core::Heir& h) {
        const auto [f, k] = tieFamily(d_, h.person);
        if (f == 0) {
            return;
        }
        const core::家族& F = reg_.family(f);
        const core::Child& slot = F.child(k);
        if (!slot.子の肩書.empty() && slot.子の肩書 != "子") {
            return;
        }
        const core::当事者& c = person(h.person);
        const auto born = common::readWareki(c.生年月日);
        if (!c.hasRecordedSex() || !born.ok()) {
            return;
        }
        std::string suggestion;
        if (slot.子の形態 == core::ChildKind::Adopted) {
            suggestion = c.isFemale() ? "養女" : "養子";
        } else {
            // The child's place among the children of its sex born into this family.
            int place = 1;
            bool known = true;
            for (const core::Child& other : F.子) {
                if (!valid(other.子NO) || other.子NO == slot.子NO ||
                    other.子の形態 == core::ChildKind::Adopted ||
                    person(other.子NO).isFemale() != c.isFemale()) {
                    continue;
                }
                const auto ob = common::readWareki(person(other.子NO).生年月日);
                if (!ob.ok()) {
                    known = false;
                } else if (ob.date->before(*born.date)) {
                    ++place;
                }
            }
            if (known) {
                suggestion = ordinalChild(place, c.isFemale());
            }
        }
        std::string text = who(h.person) + "の続柄が「" +
                           (slot.子の肩書.empty() ? std::string("（なし）") : slot.子の肩書) +
                           "」です（家族No." + std::to_string(f) + "の子の肩書";
        text += suggestion.empty() ? "に長男・長女などを入れてください）"
                                   : "は、出生順と性別からは「" + suggestion + "」）";
        notice(h.person, text);
    }

    void blocks() {
        if (s_.この系図では設定の記載を省略 != 0) {
            return;
        }
        const int a = s_.申出人の当事者番号;
        if (a <= 0) {
            error(0, "申出人が選ばれていません（申出人と作成者の設定）");
        } else if (!valid(a) || !selected(a)) {
            error(valid(a) ? a : 0, "申出人" + (valid(a) ? "の" + who(a) : std::string()) +
                                        "は選ばれた相続人ではありません");
        }
        if (s_.作成者の氏名.empty()) {
            error(0, "作成者の氏名がありません（申出人と作成者の設定）");
        }
        if (s_.作成日付.empty()) {
            error(0, "作成日付がありません（申出人と作成者の設定）");
        } else if (const auto r = common::readWareki(s_.作成日付); !r.ok()) {
            error(0, "作成日付「" + s_.作成日付 + "」は日付として読めません（" + r.reason + "）");
        }
    }

    // The persons whose dates the chart shows, each with whether a fault in them is one the
    // bureau sends back.
    std::vector<std::pair<int, bool>> drawnPersons() const {
        std::vector<std::pair<int, bool>> out;
        std::set<int> seen;
        const auto add = [&](int p, bool onDocument) {
            if (valid(p) && seen.insert(p).second) {
                out.emplace_back(p, onDocument);
            }
        };
        add(d_, true);
        if (r_.kind == LegalChartKind::List) {
            for (int p : s_.heirs()) {
                add(p, true);
            }
            for (const core::SuccessionLine& l : outcome_.lines) {
                if (l.substituted) {
                    add(l.person, true);
                }
            }
            for (int f = 1; f <= reg_.familyCount(); ++f) {
                const core::家族& F = reg_.family(f);
                if (!hidden(f) && F.系統_F == core::Lineage::Paternal && F.夫肩書 == kSubstituted) {
                    add(F.夫NO, true);
                } else if (!hidden(f) && F.系統_F == core::Lineage::Maternal &&
                           F.妻肩書 == kSubstituted) {
                    add(F.妻NO, true);
                }
            }
            return out;
        }
        for (int f = 1; f <= reg_.familyCount(); ++f) {
            if (hidden(f)) {
                continue;
            }
            const core::家族& F = reg_.family(f);
            add(F.夫NO, false);
            add(F.妻NO, false);
            for (const core::Child& c : F.子) {
                add(c.子NO, false);
            }
        }
        return out;
    }

    void dates() {
        for (const auto& [p, onDocument] : drawnPersons()) {
            const core::当事者& x = person(p);
            const auto report = [&, p = p, onDocument = onDocument](std::string text) {
                if (onDocument) {
                    error(p, std::move(text));
                } else {
                    notice(p, std::move(text));
                }
            };
            std::optional<common::WarekiDate> born;
            std::optional<common::WarekiDate> died;
            for (const auto& [field, text, date] :
                 {std::tuple{"生年月日", &x.生年月日, &born},
                  std::tuple{"死亡年月日", &x.死亡年月日, &died}}) {
                if (text->empty()) {
                    continue;
                }
                const common::WarekiReading r = common::readWareki(*text);
                if (r.ok()) {
                    *date = r.date;
                } else {
                    report(who(p) + "の" + field + "「" + *text + "」は日付として読めません（" +
                           r.reason + "）");
                    dateReported_.insert({p, field});
                }
            }
            if (born && died && died->before(*born)) {
                report(who(p) + "は死亡（" + x.死亡年月日 + "）より後に生まれています（出生 " +
                       x.生年月日 + "）");
            }
            if (r_.kind == LegalChartKind::List && x.生年月日.empty() && p != d_ && selected(p)) {
                notice(p, who(p) + "の生年月日がありません");
            }
        }
    }

    // Dates of persons not drawn that leave an heir's place open.
    void openPlaces() {
        for (const core::UnreadableDate& u : outcome_.unreadable) {
            if (dateReported_.count({u.person, u.field}) != 0) {
                continue;
            }
            std::string text = "相続人を確かめきれません：" + who(u.person) + "の" + u.field;
            text += u.text.empty() ? "がありません" : "「" + u.text + "」が読めません";
            text += "（" + u.reason + "）";
            notice(u.person, text);
        }
    }

    const core::Registers& reg_;
    const core::DrawingSettings& s_;
    const LegalCheckRequest& r_;
    int d_;
    core::HeirOutcome outcome_;
    std::set<std::pair<int, std::string>> dateReported_;
    std::vector<Finding> out_;
};

} // namespace

std::string Finding::line() const {
    return (kind == Kind::Error ? "誤り：" : "注意：") + text;
}

std::vector<Finding> checkLegalChart(const core::Registers& reg, const core::DrawingSettings& s,
                                     const LegalCheckRequest& request) {
    Checker c(reg, s, request);
    return c.run();
}

bool hasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.kind == Finding::Kind::Error; });
}

std::string findingsMessage(const std::vector<Finding>& findings) {
    const std::size_t errors = static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(),
                      [](const Finding& f) { return f.kind == Finding::Kind::Error; }));
    std::string text =
        errors > 0 ? "法務局に受け付けられない誤りが " + std::to_string(errors) + " 件あります。"
                   : "確かめておきたい点があります。";
    text += "\n";
    for (const Finding& f : findings) {
        text += "\n" + f.line();
    }
    return text;
}

std::vector<std::string> heirShareLines(const core::Registers& reg,
                                        const core::HeirOutcome& outcome) {
    std::vector<std::string> lines;
    if (outcome.deceased < 1 || outcome.deceased > reg.personCount()) {
        lines.push_back(kDeceasedUnknown);
        return lines;
    }
    if (outcome.oldLaw) {
        lines.push_back("旧民法の時代の相続なので、相続人は自動では求めません");
        return lines;
    }
    for (const core::Heir& h : outcome.heirs) {
        lines.push_back(core::shareText(h.share) + "　" + h.relationshipText() + "　" +
                        personLabel(reg, h.person));
    }
    if (outcome.heirs.empty()) {
        lines.push_back("法定相続人はいません");
    }
    if (!outcome.complete) {
        lines.push_back("日付が読めないため、決まらない相続人・相続分があります");
    }
    return lines;
}

std::string personLabel(const core::Registers& reg, int person) {
    if (person < 1 || person > reg.personCount()) {
        return "当事者NO." + std::to_string(person);
    }
    const std::string name = joinedName(reg.person(person));
    return "当事者NO." + std::to_string(person) + " " + (name.empty() ? "氏名不詳" : name);
}

} // namespace render
