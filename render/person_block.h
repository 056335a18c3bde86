// Person blocks: the eleven slot texts of a person and the drawing of a block from its
// slots, offsets and size (the offsets and size come from the layout).
//
// Slots: 0 本籍1, 1 備考1, 2 備考2, 3 住所1, 4 acknowledgment note, 5 divorce or adoption
// note, 6 death date + "亡", 7 birth date + "生", 8 name, 9 住所2, 10 本籍2.
#pragma once

#include "render/canvas.h"
#include "render/lines.h"
#include "render/typesetting.h"

#include <array>
#include <string>
#include <string_view>

namespace core {
struct 当事者;
struct DrawingSettings;
} // namespace core

namespace render {

inline constexpr int kSlotCount = 11;
inline constexpr int kNameSlot = 8;

struct BlockSlots {
    std::array<std::string, kSlotCount> text;
    // Characters + 3 for a non-empty slot, 0 for an empty one.
    std::array<int, kSlotCount> length{};
    std::array<bool, kSlotCount> shown{};
};

// The slots of a person's block. `name` is the composed name with its label; the notes are
// those the layout built for the block. Shown: slots 0..7 by the field check boxes
// ("本籍欄" ... "生年月日欄"), 8 always, 9 with "住所欄", 10 with "本籍欄". With
// "本籍欄に「本籍」と入れる" or "住所欄に「住所」と入れる" on, every non-empty slot except 7 and 8
// is prefixed with "　　　", and slot 0 then reads "本籍　…", slot 3 "住所　…".
//
// `listChart`: the statutory list chart's slots instead: 5 本籍1, 3 住所1, 9 住所2, 7 生年月日,
// 6 死亡年月日, 4 備考1 and the name, dates without suffix (the list chart has already
// written its own words into them), no label prefixes.
BlockSlots personBlockSlots(const core::当事者& person, std::string_view name,
                            std::string_view acknowledgmentNote,
                            std::string_view divorceOrAdoptionNote,
                            const core::DrawingSettings& settings, bool listChart = false);

// The label prefixes alone, applied to slot texts in place.
void applyLabelPrefixes(std::array<std::string, kSlotCount>& text, bool 本籍ラベル,
                        bool 住所ラベル);

// A block tag "A 12A": letter, person number with its leading blank, the letter again.
struct BlockTag {
    char letter = 0; // 0: no tag
    int person = 0;
};
BlockTag parseBlockTag(std::string_view tag);

// Everything a person block is drawn from.
struct PersonBlock {
    BlockSlots content; // not "slots": a Qt keyword where Qt headers are included
    std::array<float, kSlotCount> slotX{}; // offset of each slot inside the block
    std::array<float, kSlotCount> slotY{};
    float width = 0; // block size as laid out
    float height = 0;
    float x = 0; // position of the block on the chart
    float y = 0;
    std::string tag; // "A 12A", or empty
    // "当事者No表示": the person number on the first cell of the name, in colour 10 for a
    // person with a link and 12 otherwise.
    bool showPersonNumber = false;
    int personNumber = 0;
    int personNumberColour = kPersonNumberColour;
};

struct BlockStyle {
    float FONT_SIZE = 16;
    float 字間 = 0;
    float W = 0; // cell of the chart font, for the anchor and the text grid
    float H = 0;
};

// Draws a person block: the block canvas (20 pixels wider and taller than the block)
// is cleared, every shown slot of non-zero length is typeset at its offset in colour 0
// with the pitch 字間 (and given to the chart as a text grid item), the person number
// follows the name, and the block is copied onto the chart at its position. Returns the
// block with its anchor for the same-person joins: at the start of the name
// (horizontal writing: half a cell down; vertical: half a cell right), moved to the end
// of the name for an "A" block.
PlacedBlock drawPersonBlock(Typesetter& typesetter, Canvas& chart, const PersonBlock& block,
                            const BlockStyle& style);

} // namespace render
