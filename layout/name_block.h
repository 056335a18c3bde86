// Name blocks: which of a person's eleven text fields a chart block shows, with how many
// characters, and the box of each field inside the block; the block's size, its name
// anchor (where the chart's lines attach) and its line point.
//
// Field numbers: 0 本籍1, 1 備考1, 2 備考2, 3 住所1, 4 acknowledgment note, 5 divorce or
// adoption note, 6 死亡年月日, 7 生年月日, 8 the name with its label, 9 住所2, 10 本籍2.
// On the statutory list chart the fields are 8 name, 3 住所1, 9 住所2, 7 生年月日,
// 4 備考1, 6 死亡年月日, 5 本籍1 (備考2 holds the person's case code there).
#pragma once

#include "core/drawing_settings.h"
#include "core/registers.h"
#include "layout/name_text.h"

#include <array>
#include <string>

namespace layout {

inline constexpr int kFieldCount = 11;
inline constexpr int kNameField = 8;
inline constexpr int kBirthField = 7;

// Everything measurement reads from the drawing settings, with the cell metrics. One
// copy serves every slot: all slots of a chart carry the same display settings.
struct BlockStyle {
    int CW = 21;  // cell width of the chart font
    int CH = 21;  // cell height
    int 行間 = 0; // line spacing, whole pixels
    int 字間 = 0; // character spacing, whole pixels
    bool vertical = true;
    // Shown flags of fields 0..7 ("本籍欄" ... "生年月日欄"); 9 and 10 follow 3 and 0.
    std::array<bool, 8> shown{};
    int nameIndent = 0;  // "名前の字下げ", characters
    int birthIndent = 0; // "生年月日の字下げ", 0..15
    int labelCount = 0; // how many of the two "「本籍」/「住所」と入れる" switches are on
    bool explanationChart = false;  // "相続関係説明図にする"
    bool deceasedInfoBlock = false; // "被相続人の情報欄を表示する"
    bool listChart = false;         // "法定相続情報一覧図にする"
    bool 離婚年月日非表示 = false;
    bool 当事者リンク元に統一 = false;
    NameOptions names;

    // The pitches of the writing direction: along a line and from one line to the next.
    int charPitch() const { return vertical ? CH + 字間 : CW + 字間; }
    int linePitch() const { return vertical ? CW + 行間 : CH + 行間; }
};

// The style of a chart from the drawing settings and the measured cell. Spacings are
// rounded to whole pixels, the birth-date indent clamped to 0..15, a negative name indent
// taken as 0.
BlockStyle blockStyle(const core::DrawingSettings& s, int CW, int CH);

struct FieldBox {
    std::string text; // what the field shows (the name with its label for field 8)
    int length = 0;   // characters measured; 0 = not placed
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool placed() const { return length > 0; }
};

// A measured block. Coordinates are pixels inside the block.
struct NameBlock {
    std::array<FieldBox, kFieldCount> fields;
    int width = 0;
    int height = 0;
    int anchorX = 0; // centre line of the name field; vertical writing: x, anchorY = 0
    int anchorY = 0; // horizontal writing: y, anchorX = 0
    int lineX = 0;   // line point: across the generation direction the anchor,
    int lineY = 0;   // along it the far end of the name field
    int halfWidth = 0;
    int halfHeight = 0;
    bool empty = false; // measured empty (hidden spouse, shared appearance)
};

// The texts of a block before measuring: the person's fields and the two notes.
struct BlockTexts {
    std::array<std::string, kFieldCount> fields;
};

// How a block is to be measured beyond its texts.
enum class BlockBlanking {
    None,
    Empty,      // every length 0: hidden spouse, shared appearance
    HiddenHead, // the name becomes one "　", every other length 0
};

// P_個人座標_SUB: sets the field lengths from the texts (dates get two more characters on
// the ordinary chart) and lays the block out (基本相対位置計算_SUB). `dropDomicile` drops
// fields 0, 3, 9 and 10 (the deceased's block when its information block is shown).
// `caseCode` is the person's case text on the list chart ("15" and "16" order the rows
// differently).
NameBlock P_個人座標_SUB(const BlockStyle& style, const BlockTexts& texts, BlockBlanking blanking,
                         bool dropDomicile = false, const std::string& caseCode = {});

// The person fields of `p` in field order (the notes and the name left empty).
BlockTexts personTexts(const core::当事者& p, bool listChart);

// The running maxima of block width and height over a chart.
struct BlockMaxima {
    int width = 0;
    int height = 0;
    void update(const NameBlock& b);
};

// Measures the blocks of one chart run. Names and notes come from the run's registers
// (links resolved); the other fields from the person as registered (`source`) unless
// "当事者リンク元に統一" is on.
class BlockMeasurer {
public:
    // `centre` is the person at the centre of the chart (the deceased of the legal
    // charts); `applicant` the applicant of the list chart when that person is an heir,
    // else 0.
    BlockMeasurer(const BlockStyle& style, const core::Registers& run, int centre,
                  int applicant = 0);

    // P_世帯主座標_SUB: the block of a household head or of a child. `parentFamily` and
    // `childIndex` name the family the person hangs under (its title and notes), 0 when
    // the block carries none.
    NameBlock head(int person, int source, int parentFamily, int childIndex,
                   BlockBlanking blanking);

    // P_配偶者座標_SUB: the block of the spouse in household `family`.
    NameBlock spouse(int person, int source, int family, BlockBlanking blanking);

    const BlockStyle& style() const { return style_; }
    const BlockMaxima& maxima() const { return maxima_; }

private:
    const core::当事者& dataPerson(int person, int source) const;
    NameBlock measure(const BlockTexts& texts, int person, BlockBlanking blanking,
                      const core::当事者& data);

    BlockStyle style_;
    const core::Registers& run_;
    int centre_;
    int applicant_;
    BlockMaxima maxima_;
};

} // namespace layout
