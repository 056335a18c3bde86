// The list form (列挙形式) of the 法定相続情報一覧図: instead of the family tree, the deceased's
// block and one block per heir, one below the other, in the order the bureau reads them: the
// spouse, the children by birth with the representatives under their 被代襲者 (indented), then
// the ascendants or the siblings. The title, "以下余白" and the applicant and creator blocks
// stand as on the tree form (legal_headings.h); the chart run draws the rest through the
// same canvases, so that the list form reaches every output the tree form reaches.
//
//   deceased:  最後の住所　…, 最後の本籍　…, 出生　…, 死亡　…, （被相続人）, the name
//              (with "隠居による家督相続": 隠居時の本籍　…, 出生　…, 隠居　…)
//   heir:      住所　… (with "一覧図に住所を記載する"), 出生　…, （続柄）, the name and, for the
//              applicant, "　　（申出人）"
//   被代襲者:  （続柄）, 被代襲者, （… 死亡）
// Blocks follow each other with one empty line between them; each 被代襲者 above a block
// indents it by two characters.
#pragma once

#include "render/legal_headings.h"

#include "core/drawing_settings.h"
#include "core/registers.h"

#include <string>
#include <vector>

namespace render {

struct ListFormEntry {
    int person = 0;
    int depth = 0; // 被代襲者 above the entry
    std::vector<std::string> lines;
    bool operator==(const ListFormEntry&) const = default;
};

// The blocks of the list form from the registers as they are: the deceased, then the
// selected heirs in the order of the worked-out heirs (core/heirs.h), each 被代襲者 before
// the representatives below it; selected persons whom the law does not make heirs come
// last (the checks report them). `applicant` is the applicant when an heir, else 0.
std::vector<ListFormEntry> listFormEntries(const core::Registers& reg,
                                           const core::DrawingSettings& s, int deceased,
                                           int applicant);

class ListFormHeadings : public LegalHeadings {
public:
    ListFormHeadings(const core::DrawingSettings& settings, bool textMode, CanvasFactory& factory,
                     ApplicantBlocks blocks, std::vector<ListFormEntry> entries);

    bool drawsTrees() const override { return false; }
    ChartFrame frame(const layout::SurveyResult& survey, CellMetrics cell) override;
    ChartSize chartSize(const layout::ChartLayout& layout, const ChartFrame& frame,
                        ChartSize plain) override;
    void drawBeforeBlocks(const ChartContext& context, Typesetter& typesetter,
                          Canvas& chart) override;

    // The entries' blocks with their places (after frame).
    const std::vector<HeadingBlock>& body() const { return body_; }

private:
    std::vector<ListFormEntry> entries_;
    std::vector<HeadingBlock> body_;
    float bodyRight_ = 0;
    float bodyEnd_ = 0;
};

} // namespace render
