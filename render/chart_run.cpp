#include "render/chart_run.h"

#include "render/person_block.h"
#include "render/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace render {

namespace {

constexpr float kTextModeFontSize = 16;

std::size_t index(int oneBased) {
    return static_cast<std::size_t>(oneBased - 1);
}

// The person whose data a block shows: the person as registered unless "当事者リンク元に統一"
// (as the measurement took it).
const core::当事者& dataPerson(const ChartContext& c, const layout::SlotLayout& slot) {
    const core::Registers& run = c.survey.run;
    const int source = slot.source;
    const int n = c.settings.当事者リンク元に統一 || source < 1 || source > run.personCount()
                      ? slot.person
                      : source;
    return run.person(n);
}

const layout::SlotLayout* householdSlot(const ChartContext& c, int f) {
    const layout::FamilyLayout& fl = c.layout.family(f);
    if (fl.slot < 1 || fl.slot > static_cast<int>(c.layout.slots.size())) {
        return nullptr;
    }
    return &c.layout.slot(fl.slot);
}

} // namespace

core::DrawingSettings runSettings(const core::DrawingSettings& settings, bool textMode) {
    core::DrawingSettings s = settings;
    if (textMode) {
        // A text drawing is made of rows: always horizontal writing.
        s.縦書き = false;
        s.横書き = true;
        s.FONT_SIZE = kTextModeFontSize;
        s.行間 = 0;
        s.字間 = 0;
        s.ラインの太さ = 1;
    }
    if (!(s.FONT_SIZE > 0)) {
        s.FONT_SIZE = kTextModeFontSize;
    }
    if (s.ラインの太さ <= 0) {
        s.ラインの太さ = 1;
    }
    return s;
}

namespace {

// "16", "10.5": a font size as the settings dialog shows it.
std::string formatPoints(float points) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(points));
    return text;
}

} // namespace

void checkChartExtent(double width, double height) {
    constexpr double largest = std::numeric_limits<std::int32_t>::max();
    if (!(width <= largest && height <= largest)) {
        char size[64];
        std::snprintf(size, sizeof size, "%.0f × %.0f", width, height);
        throw CanvasError(std::string("図面が大きすぎます（") + size +
                          " ピクセル）。BMP と PNG の幅と高さは 2147483647 ピクセルまでです");
    }
}

ChartSize chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                    const core::DrawingSettings& settings) {
    float width = layout.width + frame.extraWidth;
    float height = layout.height + frame.extraHeight;
    if (layout.vertical) {
        width += static_cast<float>(layout.CW) + static_cast<float>(px(settings.行間));
    } else {
        height += 2.0f * static_cast<float>(layout.CH);
    }
    checkChartExtent(width, height);
    return {std::max(px(width), 1), std::max(px(height), 1)};
}

Origin drawingOrigin(const layout::ChartLayout& layout, const ChartFrame& frame) {
    Origin o{static_cast<float>(layout.CW), static_cast<float>(layout.CH)};
    if (layout.vertical) {
        o.x += frame.headingColumn;
    }
    return o;
}

std::vector<bool> linkSources(const core::Registers& reg) {
    std::vector<bool> sources(static_cast<std::size_t>(reg.personCount()), false);
    for (int p = 1; p <= reg.personCount(); ++p) {
        const int c = reg.person(p).C_当事者NO;
        if (c != p && c >= 1 && c <= reg.personCount()) {
            sources[index(c)] = true;
        }
    }
    return sources;
}

std::optional<PersonBlock> slotBlock(const ChartContext& c, const layout::SlotLayout& slot,
                                     const std::vector<bool>& sources) {
    using K = layout::SlotKind;
    if (slot.kind != K::SingleParent && slot.kind != K::Spouse && slot.kind != K::Leaf) {
        return std::nullopt;
    }
    if (slot.block.empty || slot.person < 1 || slot.person > c.survey.run.personCount()) {
        return std::nullopt;
    }
    const layout::NameBlock& nb = slot.block;
    const core::当事者& data = dataPerson(c, slot);
    const bool listChart = c.settings.法定相続情報一覧図にする;
    PersonBlock b;
    b.content = personBlockSlots(data, nb.fields[layout::kNameField].text, nb.fields[4].text,
                                 nb.fields[5].text, c.settings, listChart);
    // The layout decided which fields the block has (display switches, hidden household
    // head, the deceased's domicile in the information block); the drawing follows it.
    for (int i = 0; i < kSlotCount; ++i) {
        const layout::FieldBox& box = nb.fields[static_cast<std::size_t>(i)];
        if (!box.placed()) {
            b.content.text[static_cast<std::size_t>(i)].clear();
            b.content.length[static_cast<std::size_t>(i)] = 0;
            b.content.shown[static_cast<std::size_t>(i)] = false;
        }
        b.slotX[static_cast<std::size_t>(i)] = static_cast<float>(box.left);
        b.slotY[static_cast<std::size_t>(i)] = static_cast<float>(box.top);
    }
    const Origin o = drawingOrigin(c.layout, c.frame);
    b.width = static_cast<float>(nb.width);
    b.height = static_cast<float>(nb.height);
    b.x = slot.x + o.x;
    b.y = slot.y + o.y;
    b.tag = slot.tag;
    b.showPersonNumber = c.settings.当事者No表示;
    b.personNumber = slot.person;
    b.personNumberColour =
        static_cast<std::size_t>(slot.person) <= sources.size() && sources[index(slot.person)]
            ? kLinkedPersonNumberColour
            : kPersonNumberColour;
    return b;
}

std::optional<FamilyLines> familyLines(const ChartContext& c, int f) {
    const layout::SurveyResult& s = c.survey;
    if (f < 1 || f > s.run.familyCount()) {
        return std::nullopt;
    }
    if (index(f) < s.hidden.size() && s.hidden[index(f)]) {
        return std::nullopt;
    }
    if (!s.family(f).taken()) {
        return std::nullopt;
    }
    const layout::SlotLayout* head = householdSlot(c, f);
    if (head == nullptr || !head->used()) {
        return std::nullopt;
    }
    const layout::FamilyLayout& fl = c.layout.family(f);
    const layout::TreeLayout& tree = c.layout.trees.at(index(fl.tree));
    const core::家族& family = s.run.family(f);
    const bool vertical = c.layout.vertical;
    const Origin o = drawingOrigin(c.layout, c.frame);

    FamilyLines lines;
    lines.familyNumber = f;
    // Base point: the tree origin one cell in, plus the household's place along the level
    // axis; the positions across the generations are relative to the tree.
    if (vertical) {
        lines.baseX = o.x + tree.stackOffset;
        lines.baseY = o.y + head->y;
    } else {
        lines.baseX = o.x + head->x;
        lines.baseY = o.y + tree.stackOffset;
    }
    lines.positions = fl.childAnchors;
    lines.positions.resize(static_cast<std::size_t>(family.子数()) + 1, 0.0f);
    const bool couple = head->kind == layout::SlotKind::Couple;
    lines.spousesShown = couple ? 2 : 1;
    if (!couple) {
        lines.parentBlockExtent =
            static_cast<float>(vertical ? head->block.height : head->block.width);
    }
    lines.階層 = s.family(f).階層;
    lines.形態 = family.形態;
    lines.離婚_F = family.離婚_F;
    for (const core::Child& child : family.子) {
        lines.子の形態.push_back(child.子の形態);
    }
    return lines;
}

LineSettings runLineSettings(const ChartContext& c) {
    core::DrawingSettings copy = c.settings;
    LineSettings ls =
        lineSettingsFrom(copy, static_cast<float>(c.cell.CW), static_cast<float>(c.cell.CH));
    // The descent ends one level pitch on: the widest (tallest) block of the whole chart
    // plus three cells, as the layout placed the generations.
    ls.largestBlockWidth =
        c.layout.vertical ? static_cast<float>(c.layout.maxima.width) : c.layout.widest;
    ls.largestBlockHeight =
        c.layout.vertical ? c.layout.widest : static_cast<float>(c.layout.maxima.height);
    return ls;
}

std::vector<PlacedBlock> drawChart(const ChartContext& c, Typesetter& ts, Canvas& chart,
                                   ChartHeadings* headings, int* familiesDrawn,
                                   std::vector<DrawnPerson>* persons) {
    if (headings != nullptr) {
        headings->drawBeforeBlocks(c, ts, chart);
    }

    // The block pass: the layout's groups in slot order, a couple's husband before its wife.
    const std::vector<bool> sources = linkSources(c.survey.run);
    BlockStyle style;
    style.FONT_SIZE = c.settings.FONT_SIZE;
    style.字間 = static_cast<float>(px(c.settings.字間));
    style.W = static_cast<float>(c.cell.CW);
    style.H = static_cast<float>(c.cell.CH);
    std::vector<PlacedBlock> placed;
    const bool trees = headings == nullptr || headings->drawsTrees();
    for (const layout::SlotLayout& slot : c.layout.slots) {
        if (!trees) {
            break;
        }
        if (const auto block = slotBlock(c, slot, sources)) {
            placed.push_back(drawPersonBlock(ts, chart, *block, style));
            if (persons != nullptr) {
                const int x = px(block->x);
                const int y = px(block->y);
                persons->push_back({block->personNumber, block->content.text[kNameSlot],
                                    Box{x, y, x + px(block->width), y + px(block->height)}});
            }
        }
    }

    if (headings != nullptr) {
        headings->drawAfterBlocks(c, ts, chart);
    }

    // The line pass, over the blocks.
    int drawn = 0;
    if (!trees) {
        if (familiesDrawn != nullptr) {
            *familiesDrawn = 0;
        }
        return placed;
    }
    LineDrawer lines(chart, runLineSettings(c), &ts.glyphCell());
    for (int f = 1; f <= c.survey.run.familyCount(); ++f) {
        if (const auto fl = familyLines(c, f)) {
            lines.drawFamily(*fl);
            ++drawn;
        }
    }
    if (c.settings.同一人物を繋ぐ) {
        lines.drawSamePersonLinks(placed);
    }
    if (c.settings.系図毎に区切る) {
        for (const layout::TreeLayout& tree : c.layout.trees) {
            lines.treeSeparator(tree.stackOffset, c.frame.headingColumn);
        }
    }
    if (familiesDrawn != nullptr) {
        *familiesDrawn = drawn;
    }
    return placed;
}

ChartOutcome runChart(const core::Registers& reg, const core::DrawingSettings& settings,
                      const core::Environment& env, const ChartRequest& request,
                      GlyphSource& glyphs) {
    ChartOutcome outcome;
    const core::DrawingSettings s = runSettings(settings, request.textMode);

    // 1. Preparation and survey.
    layout::SurveyOutcome surveyed =
        layout::surveyChart(reg, layout::surveyOptions(s, env, request.baseFamily), request.answer);
    if (!surveyed.ok()) {
        const layout::SurveyError& e = *surveyed.error;
        outcome.failure = ChartFailure{ChartFailure::Kind::Survey, e.title, e.text, e};
        return outcome;
    }
    const layout::SurveyResult& survey = *surveyed.result;

    try {
        // 2. Measurement and positioning with the cell of the chart font.
        if (!(s.FONT_SIZE <= kLargestChartFontSize)) {
            throw CanvasError("文字の大きさ " + formatPoints(s.FONT_SIZE) +
                              " ポイントでは作図できません（" +
                              formatPoints(kLargestChartFontSize) + " ポイントまで）");
        }
        DrawingCanvasFactory factory(glyphs);
        Typesetter ts(factory, s.縦書き,
                      static_cast<KanjiNumerals>(std::clamp<int>(s.漢数字の設定, 0, 2)));
        const CellMetrics cell = ts.文字_MAX(s.FONT_SIZE);
        ChartFrame frame;
        if (request.headings != nullptr) {
            frame = request.headings->frame(survey, cell);
        }
        const layout::BlockStyle style = layout::blockStyle(s, cell.CW, cell.CH);
        layout::PlacementOptions placement;
        placement.headingOffset = frame.treeStart;
        placement.最下層部を広げる値 = std::max(0, px(s.最下層部を広げる値));
        placement.applicant = request.applicant;
        const layout::ChartLayout chartLayout = layout::layoutChart(survey, style, placement);

        // 3. The chart's recording at the chart's size.
        ChartSize size = chartSize(chartLayout, frame, s);
        if (request.headings != nullptr) {
            size = request.headings->chartSize(chartLayout, frame, size);
        }
        const std::unique_ptr<DrawingCanvas> chart = factory.chart(size.width, size.height);
        ChartDrawing drawing;
        drawing.width = size.width;
        drawing.height = size.height;
        drawing.cell = cell;
        drawing.lineage = survey.lineage;

        // 4 and 5. Headings, blocks, lines.
        const ChartContext context{survey, chartLayout, s, frame, request.textMode, cell};
        drawing.blocks = drawChart(context, ts, *chart, request.headings, &drawing.familiesDrawn,
                                   &drawing.persons);
        std::unique_ptr<Drawing> recording = chart->finish();
        recording->vertical = s.縦書き;
        // A legal chart form is the one the settings choose (the list chart first).
        recording->kind = request.headings == nullptr  ? DrawingKind::FamilyChart
                          : s.法定相続情報一覧図にする ? DrawingKind::ListChart
                                                       : DrawingKind::ExplanationChart;

        // 6. Text mode: the text drawing from the recording.
        if (request.textMode) {
            drawing.text = drawTextGrid(
                *recording,
                GridMetrics{static_cast<float>(cell.CW), static_cast<float>(cell.CH),
                            static_cast<float>(px(s.字間)), static_cast<float>(px(s.行間))},
                textLineStyleFromSetting(s.テキスト罫線));
        }
        drawing.recording = std::move(recording);
        outcome.drawing = std::move(drawing);
    } catch (const CanvasError& e) {
        outcome.failure = ChartFailure{ChartFailure::Kind::Canvas, "作図できません", e.what(), {}};
    } catch (const TextDrawingError& e) {
        outcome.failure =
            ChartFailure{ChartFailure::Kind::TextDrawing, "テキスト化できません", e.what(), {}};
    }
    return outcome;
}

} // namespace render
