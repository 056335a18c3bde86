#include "render/legal_headings.h"

#include "render/rounding.h"

#include "common/cp932.h"
#include "common/text.h"

#include <algorithm>

namespace render {

namespace {

int chars(const std::string& s) {
    return static_cast<int>(common::charCount(s));
}

int longest(const std::vector<std::string>& lines) {
    int n = 0;
    for (const std::string& l : lines) {
        n = std::max(n, chars(l));
    }
    return n;
}

} // namespace

LegalHeadings::LegalHeadings(LegalChartKind kind, const core::DrawingSettings& settings,
                             bool textMode, CanvasFactory& factory, ApplicantBlocks blocks)
    : kind_(kind), s_(settings), textMode_(textMode), factory_(factory), blocks_(blocks),
      字間_(px(settings.字間)), 行間_(px(settings.行間)) {}

bool LegalHeadings::vertical() const {
    return s_.縦書き && kind_ == LegalChartKind::Explanation;
}

float LegalHeadings::headingFontSize() const {
    return textMode_ ? s_.FONT_SIZE : static_cast<float>(px(s_.FONT_SIZE * 1.5));
}

HeadingBlock LegalHeadings::measured(std::vector<std::string> lines) const {
    HeadingBlock b;
    b.fontSize = s_.FONT_SIZE;
    b.pitch = static_cast<float>(字間_);
    const auto n = static_cast<float>(lines.size());
    const auto m = static_cast<float>(longest(lines) + 1);
    if (vertical()) {
        b.linePitch = static_cast<float>(cell_.CW + 行間_);
        b.width = n * b.linePitch;
        b.height = static_cast<float>(cell_.CH + 字間_) * m;
    } else {
        b.linePitch = static_cast<float>(cell_.CH + 行間_);
        b.width = static_cast<float>(cell_.CW + 字間_) * m;
        b.height = n * b.linePitch;
    }
    b.lines = std::move(lines);
    return b;
}

ChartFrame LegalHeadings::frame(const layout::SurveyResult& survey, CellMetrics cell) {
    cell_ = cell;
    {
        Typesetter measure(factory_, vertical(), KanjiNumerals::None);
        heading_ = measure.文字_MAX(headingFontSize());
    }
    p_ = LegalPlacement{};
    const int centre = survey.centre;
    const bool known = centre >= 1 && centre <= survey.run.personCount();
    const core::当事者 deceased = known ? survey.run.person(centre) : core::当事者{};
    const std::string name = headingName(deceased);
    const bool explanation = kind_ == LegalChartKind::Explanation;
    const std::string title =
        explanation ? explanationTitle(name) : listTitle(name, s_.表題部追加情報);
    wordPosition_ = characterPosition(title, kExplanationWord).value_or(0);

    // The title: the heading font, a pitch of one pixel, one line.
    HeadingBlock& t = p_.title;
    t.lines = {title};
    t.fontSize = headingFontSize();
    t.pitch = 1;
    t.shown = true;
    const auto titleChars = static_cast<float>(chars(title) + 1);
    if (vertical()) {
        t.linePitch = static_cast<float>(heading_.CW + 行間_);
        t.width = t.linePitch;
        t.height = static_cast<float>(heading_.CH + 1) * titleChars;
    } else {
        t.linePitch = static_cast<float>(heading_.CH + 行間_);
        t.width = static_cast<float>(heading_.CW + 1) * titleChars;
        t.height = static_cast<float>(heading_.CH);
    }

    if (explanation) {
        p_.information =
            measured(informationBlockLines(informationLines(deceased, s_, vertical())));
        p_.information.shown = s_.被相続人の情報欄を表示する;
        p_.returnMessage = measured({std::string(kReturnMessage)});
        p_.returnMessage.shown = s_.戸籍還付欄を表示する;
    } else {
        p_.footer = measured({std::string(kListFooter)});
        p_.footer.shown = true;
        const std::array<std::string, 5> lines = applicantLines(s_);
        p_.applicant = measured({lines[0], lines[1]});
        p_.applicant.shown = !blocks_.omitted && !blocks_.applicantIsHeir;
        p_.creator = measured({lines[2], lines[3], lines[4]});
        p_.creator.shown = !blocks_.omitted;
    }

    ChartFrame frame;
    const float linePitch = static_cast<float>(cell_.CH + 行間_);
    if (vertical()) {
        // The return message stands at the left edge; the trees keep clear of it.
        if (p_.returnMessage.shown) {
            frame.headingColumn = 2 * p_.returnMessage.width;
        }
        return frame;
    }
    // The heading area: one title line and two lines; on the explanation chart also the
    // information block and three lines after it.
    const float titleLine = static_cast<float>(heading_.CH + 行間_);
    frame.treeStart = titleLine + 2 * linePitch;
    if (explanation && p_.information.shown) {
        p_.information.x = static_cast<float>(2 * (cell_.CW + 字間_));
        p_.information.y = frame.treeStart;
        frame.treeStart += p_.information.height + 3 * linePitch;
    }
    return frame;
}

ChartSize LegalHeadings::chartSize(const layout::ChartLayout&, const ChartFrame& frame,
                                   ChartSize plain) {
    if (vertical()) {
        return verticalChartSize(frame, plain);
    }
    // The narrowest chart that holds the title (in the heading font; at least the title's
    // own block, whose pitch is one pixel).
    const int titleChars = chars(p_.title.lines.front()) + 1;
    const int minWidth = (heading_.CW + std::max(字間_, 1)) * titleChars;
    return kind_ == LegalChartKind::Explanation ? explanationChartSize(plain, minWidth)
                                                : listChartSize(plain, minWidth);
}

ChartSize LegalHeadings::verticalChartSize(const ChartFrame& frame, ChartSize plain) {
    const int columnPitch = cell_.CW + 行間_;
    const int charDown = cell_.CH + 字間_;
    HeadingBlock& info = p_.information;
    HeadingBlock& ret = p_.returnMessage;
    const int infoWidth = info.shown ? px(info.width) : 0;
    // Title column, 2 pitches, the information block, 3 pitches, 3 before the trees.
    const int right = columnPitch + 2 * columnPitch + infoWidth + 3 * columnPitch + 3 * columnPitch;
    ChartSize size;
    size.width = plain.width + px(frame.headingColumn) + right;
    p_.title.x = static_cast<float>(size.width - 2 * cell_.CW);
    p_.title.y = 0;
    info.x = p_.title.x - static_cast<float>(2 * columnPitch + infoWidth);
    info.y = static_cast<float>((wordPosition_ + 6) * charDown);
    ret.x = ret.width;
    ret.y = static_cast<float>(wordPosition_ * charDown);
    size.height = std::max(plain.height, px(p_.title.height));
    if (info.shown) {
        size.height = std::max(size.height, px(info.y + info.height));
    }
    if (ret.shown) {
        size.height = std::max(size.height, px(ret.y + ret.height));
    }
    return size;
}

ChartSize LegalHeadings::explanationChartSize(ChartSize plain, int minWidth) {
    const int charPitch = cell_.CW + 字間_;
    const int linePitch = cell_.CH + 行間_;
    HeadingBlock& info = p_.information;
    HeadingBlock& ret = p_.returnMessage;
    ChartSize size = plain;
    if (info.shown) {
        minWidth = std::max(minWidth, px(info.x + info.width));
    }
    size.width = std::max(size.width, minWidth);
    ret.x = static_cast<float>(wordPosition_ * charPitch);
    if (ret.shown) {
        size.width = std::max(size.width, px(ret.x + ret.width));
    }
    size.height = plain.height + 2 * linePitch;
    ret.y = static_cast<float>(size.height) - 2 * ret.height;
    p_.title.x = 0;
    p_.title.y = 0;
    return size;
}

// The list chart's footer: "以下余白" one cell above the end of the trees' area, then the
// applicant and creator blocks.
ChartSize LegalHeadings::listChartSize(ChartSize plain, int minWidth) {
    const int charPitch = cell_.CW + 字間_;
    const int linePitch = cell_.CH + 行間_;
    HeadingBlock& footer = p_.footer;
    HeadingBlock& applicant = p_.applicant;
    HeadingBlock& creator = p_.creator;
    ChartSize size = plain;
    size.width = std::max(size.width, minWidth);
    const int footerWidth = charPitch * 5;
    size.width = std::max(size.width, size.width / 2 + footerWidth / 2);
    const int top = plain.height - cell_.CH;
    footer.y = static_cast<float>(top);
    int y = top + linePitch;
    if (creator.shown) {
        y += 3 * linePitch;
        const int wider = std::max(applicant.shown ? px(applicant.width) : 0, px(creator.width));
        if (wider > size.width) {
            size.width = wider + 4 * charPitch;
        }
        size.width = std::max(size.width, size.width / 2 + wider / 2);
        const auto left = static_cast<float>(size.width / 2 - wider / 2);
        if (applicant.shown) {
            applicant.x = left;
            applicant.y = static_cast<float>(y);
            y += px(applicant.height) + 3 * linePitch;
        }
        creator.x = left;
        creator.y = static_cast<float>(y);
        y += px(creator.height) + 2 * linePitch;
    }
    size.height = y;
    footer.x = static_cast<float>(size.width / 2 - footerWidth / 2);
    p_.title.x = static_cast<float>(size.width / 2 - px(p_.title.width) / 2);
    p_.title.y = 0;
    return size;
}

void LegalHeadings::drawBlock(Typesetter& ts, Canvas& chart, const HeadingBlock& b) const {
    if (!b.shown || b.lines.empty()) {
        return;
    }
    const int w = std::max(px(b.width), 1);
    const int h = std::max(px(b.height), 1);
    // A character turned in a vertical column reaches a cell height to the right of its
    // column; the copy keeps that much more.
    const int extra = vertical() ? std::max(0, ts.metrics().CH - ts.metrics().CW) : 0;
    Canvas& block = ts.blockCanvas(w + extra, h);
    for (std::size_t i = 0; i < b.lines.size(); ++i) {
        const auto n = static_cast<float>(i);
        const float lx = vertical() ? b.width - (n + 1) * b.linePitch : 0;
        const float ly = vertical() ? 0 : n * b.linePitch;
        ts.PRINT_SUB(block, lx, ly, b.lines[i], b.fontSize, b.pitch, kTextColour);
        if (!vertical()) {
            GridText item;
            item.kind = GridText::Kind::Heading;
            item.x = b.x + lx;
            item.y = b.y + ly;
            item.text = b.lines[i];
            item.length = chars(b.lines[i]);
            chart.gridText(item);
        }
    }
    chart.copyFrom(block, 0, 0, w + extra, h, px(b.x), px(b.y));
    if (ts.fontSize() != s_.FONT_SIZE) {
        ts.文字_MAX(s_.FONT_SIZE); // back to the chart font for what follows
    }
}

void LegalHeadings::drawBeforeBlocks(const ChartContext&, Typesetter& ts, Canvas& chart) {
    if (vertical()) {
        drawBlock(ts, chart, p_.returnMessage);
        return;
    }
    drawBlock(ts, chart, p_.title);
    if (kind_ == LegalChartKind::Explanation) {
        drawBlock(ts, chart, p_.information);
    }
}

void LegalHeadings::drawAfterBlocks(const ChartContext&, Typesetter& ts, Canvas& chart) {
    if (vertical()) {
        drawBlock(ts, chart, p_.title);
        drawBlock(ts, chart, p_.information);
        return;
    }
    if (kind_ == LegalChartKind::Explanation) {
        drawBlock(ts, chart, p_.returnMessage);
        return;
    }
    drawBlock(ts, chart, p_.footer);
    drawBlock(ts, chart, p_.applicant);
    drawBlock(ts, chart, p_.creator);
}

} // namespace render
