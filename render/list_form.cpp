#include "render/list_form.h"

#include "render/rounding.h"

#include "core/heirs.h"
#include "layout/name_text.h"

#include <algorithm>
#include <set>

namespace render {

namespace {

// One full-width space per character of a label, so that a second line starts under the
// first line's value.
std::string under(std::size_t characters) {
    std::string s;
    for (std::size_t i = 0; i < characters; ++i) {
        s += "　";
    }
    return s;
}

void addressLines(std::vector<std::string>& lines, const std::string& label,
                  const std::string& first, const std::string& second, std::size_t labelChars) {
    lines.push_back(label + first);
    if (!second.empty()) {
        lines.push_back(under(labelChars) + second);
    }
}

class EntryBuilder {
public:
    EntryBuilder(const core::Registers& reg, const core::DrawingSettings& s, int deceased,
                 int applicant)
        : reg_(reg), s_(s), d_(deceased), applicant_(applicant) {
        names_.listChart = true;
        names_.氏名を１文字間隔で表示 = s.氏名を１文字間隔で表示;
        names_.姓と名の間に___を付ける = s.姓と名の間に___を付ける;
        names_.本家と同じ名字は省略する = s.本家と同じ名字は省略する;
    }

    std::vector<ListFormEntry> build() {
        std::vector<ListFormEntry> out;
        if (d_ < 1 || d_ > reg_.personCount()) {
            return out;
        }
        out.push_back(deceased());
        std::vector<int> chosen;
        for (int p : s_.heirs()) {
            if (p >= 1 && p <= reg_.personCount() && p != d_) {
                chosen.push_back(p);
            }
        }
        const core::HeirOutcome o = core::workOutHeirs(reg_, d_, chosen);
        const auto isChosen = [&](int p) {
            return std::find(chosen.begin(), chosen.end(), p) != chosen.end();
        };
        std::set<int> shown;
        // A 被代襲者 is shown when one of the lines below it is.
        for (std::size_t i = 0; i < o.lines.size(); ++i) {
            const core::SuccessionLine& l = o.lines[i];
            if (!l.substituted) {
                if (isChosen(l.person)) {
                    out.push_back(heir(l.person, l.depth, l.relationship));
                    shown.insert(l.person);
                }
                continue;
            }
            bool below = false;
            for (std::size_t k = i + 1; k < o.lines.size() && o.lines[k].depth > l.depth; ++k) {
                below = below || (!o.lines[k].substituted && isChosen(o.lines[k].person));
            }
            if (below) {
                out.push_back(substituted(l.person, l.depth, l.relationship));
            }
        }
        for (int p : chosen) {
            if (shown.count(p) == 0) {
                out.push_back(heir(p, 0, childTitle(p)));
            }
        }
        return out;
    }

private:
    const core::当事者& person(int p) const { return reg_.person(p); }

    std::string name(int p) const {
        return layout::P_氏名結合_SUB(person(p), names_, &person(d_), p == d_);
    }

    ListFormEntry deceased() const {
        const core::当事者& p = person(d_);
        ListFormEntry e;
        e.person = d_;
        if (s_.家督相続 != 0) {
            addressLines(e.lines, "隠居時の本籍　", p.本籍1, p.本籍2, 7);
            e.lines.push_back("出生　" + p.生年月日);
            e.lines.push_back("隠居　" + p.死亡年月日);
        } else {
            if (!p.住所1.empty() || !p.住所2.empty()) {
                addressLines(e.lines, "最後の住所　", p.住所1, p.住所2, 6);
            }
            if (!p.本籍1.empty() || !p.本籍2.empty()) {
                addressLines(e.lines, "最後の本籍　", p.本籍1, p.本籍2, 6);
            }
            e.lines.push_back("出生　" + p.生年月日);
            e.lines.push_back("死亡　" + p.死亡年月日);
        }
        e.lines.push_back("（被相続人）");
        e.lines.push_back(name(d_));
        return e;
    }

    ListFormEntry heir(int n, int depth, const std::string& relationship) const {
        const core::当事者& p = person(n);
        ListFormEntry e;
        e.person = n;
        e.depth = depth;
        if (s_.一覧図に住所を記載する != 0 && (!p.住所1.empty() || !p.住所2.empty())) {
            addressLines(e.lines, "住所　", p.住所1, p.住所2, 3);
        }
        e.lines.push_back("出生　" + p.生年月日);
        if (!relationship.empty()) {
            e.lines.push_back("（" + relationship + "）");
        }
        e.lines.push_back(name(n) + (n == applicant_ ? "　　（申出人）" : ""));
        return e;
    }

    ListFormEntry substituted(int n, int depth, const std::string& relationship) const {
        ListFormEntry e;
        e.person = n;
        e.depth = depth;
        e.lines.push_back("（" + relationship + "）");
        e.lines.push_back("被代襲者");
        e.lines.push_back("（" + person(n).死亡年月日 + "死亡）");
        return e;
    }

    // A person the law does not make an heir: the title of the first family that has it as
    // a child, if any.
    std::string childTitle(int n) const {
        for (const core::家族& f : reg_.families) {
            for (const core::Child& c : f.子) {
                if (c.子NO == n) {
                    return c.子の肩書.empty() ? "子" : c.子の肩書;
                }
            }
        }
        return {};
    }

    const core::Registers& reg_;
    const core::DrawingSettings& s_;
    int d_;
    int applicant_;
    layout::NameOptions names_;
};

} // namespace

std::vector<ListFormEntry> listFormEntries(const core::Registers& reg,
                                           const core::DrawingSettings& s, int deceased,
                                           int applicant) {
    return EntryBuilder(reg, s, deceased, applicant).build();
}

ListFormHeadings::ListFormHeadings(const core::DrawingSettings& settings, bool textMode,
                                   CanvasFactory& factory, ApplicantBlocks blocks,
                                   std::vector<ListFormEntry> entries)
    : LegalHeadings(LegalChartKind::List, settings, textMode, factory, blocks),
      entries_(std::move(entries)) {}

ChartFrame ListFormHeadings::frame(const layout::SurveyResult& survey, CellMetrics cellMetrics) {
    const ChartFrame f = LegalHeadings::frame(survey, cellMetrics);
    const auto charPitch = static_cast<float>(cell().CW + 字間());
    const auto linePitch = static_cast<float>(cell().CH + 行間());
    // The blocks start where the trees would, two characters in from the left.
    const float left = 2 * charPitch;
    float y = f.treeStart + static_cast<float>(cell().CH);
    body_.clear();
    bodyRight_ = left;
    for (const ListFormEntry& e : entries_) {
        HeadingBlock b = measured(e.lines);
        b.shown = true;
        b.x = left + 2 * charPitch * static_cast<float>(e.depth);
        b.y = y;
        y += b.height + linePitch;
        bodyRight_ = std::max(bodyRight_, b.x + b.width);
        body_.push_back(std::move(b));
    }
    bodyEnd_ = body_.empty() ? y : y - linePitch;
    return f;
}

ChartSize ListFormHeadings::chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                                      ChartSize) {
    // The room of the blocks as the trees' room would be: their extent and the margins of
    // the drawing (two characters at the right, two cell heights below).
    ChartSize own;
    own.width = px(bodyRight_) + 2 * (cell().CW + 字間());
    own.height = px(bodyEnd_) + 2 * cell().CH;
    return LegalHeadings::chartSize(layout, frame, own);
}

void ListFormHeadings::drawBeforeBlocks(const ChartContext& context, Typesetter& typesetter,
                                        Canvas& chart) {
    LegalHeadings::drawBeforeBlocks(context, typesetter, chart);
    for (const HeadingBlock& b : body_) {
        drawBlock(typesetter, chart, b);
    }
}

} // namespace render
