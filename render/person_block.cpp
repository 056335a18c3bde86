#include "render/person_block.h"

#include "render/rounding.h"

#include "common/text.h"
#include "core/drawing_settings.h"
#include "core/registers.h"

#include <cctype>

namespace render {

namespace {

const std::string kLabelPrefix = "　　　";

// The text after the first `n` characters.
std::string_view afterChars(std::string_view s, std::size_t n) {
    return s.substr(common::leftChars(s, n).size());
}

} // namespace

void applyLabelPrefixes(std::array<std::string, kSlotCount>& text, bool 本籍ラベル,
                        bool 住所ラベル) {
    if (!本籍ラベル && !住所ラベル) {
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (i != 7 && i != kNameSlot && !text[i].empty()) {
            text[i] = kLabelPrefix + text[i];
        }
    }
    if (本籍ラベル && !text[0].empty()) {
        text[0] = "本籍" + std::string(afterChars(text[0], 2));
    }
    if (住所ラベル && !text[3].empty()) {
        text[3] = "住所" + std::string(afterChars(text[3], 2));
    }
}

BlockSlots personBlockSlots(const core::当事者& p, std::string_view name,
                            std::string_view acknowledgmentNote,
                            std::string_view divorceOrAdoptionNote, const core::DrawingSettings& s,
                            bool listChart) {
    BlockSlots b;
    if (listChart) {
        b.text[5] = p.本籍1;
        b.text[3] = p.住所1;
        b.text[9] = p.住所2;
        b.text[7] = p.生年月日;
        b.text[6] = p.死亡年月日;
        b.text[4] = p.備考1;
        b.text[kNameSlot] = std::string(name);
        for (int i : {3, 4, 5, 6, 7, 8, 9}) {
            b.shown[i] = true;
        }
    } else {
        b.text[0] = p.本籍1;
        b.text[1] = p.備考1;
        b.text[2] = p.備考2;
        b.text[3] = p.住所1;
        b.text[4] = std::string(acknowledgmentNote);
        b.text[5] = std::string(divorceOrAdoptionNote);
        b.text[6] = p.死亡年月日.empty() ? "" : p.死亡年月日 + "亡";
        b.text[7] = p.生年月日.empty() ? "" : p.生年月日 + "生";
        b.text[kNameSlot] = std::string(name);
        b.text[9] = p.住所2;
        b.text[10] = p.本籍2;
        const std::array<bool, 8> fields = {s.本籍欄,       s.備考欄１,  s.備考欄２,
                                            s.住所欄,       s.認知欄,    s.離婚_養子縁組欄,
                                            s.死亡年月日欄, s.生年月日欄};
        for (int i = 0; i < 8; ++i) {
            b.shown[i] = fields[i];
        }
        b.shown[kNameSlot] = true;
        b.shown[9] = s.住所欄;
        b.shown[10] = s.本籍欄;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        b.length[i] = b.text[i].empty() ? 0 : static_cast<int>(common::charCount(b.text[i])) + 3;
    }
    if (!listChart) {
        applyLabelPrefixes(b.text, s.本籍欄に_本籍_と入れる, s.住所欄に_住所_と入れる);
    }
    return b;
}

BlockTag parseBlockTag(std::string_view tag) {
    BlockTag t;
    if (tag.size() < 3 || (tag.front() != 'A' && tag.front() != 'B' && tag.front() != 'C') ||
        tag.back() != tag.front()) {
        return t;
    }
    int n = 0;
    bool digits = false;
    for (char c : tag.substr(1, tag.size() - 2)) {
        if (c == ' ' && !digits) {
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return t;
        }
        n = n * 10 + (c - '0');
        digits = true;
    }
    if (!digits) {
        return t;
    }
    t.letter = tag.front();
    t.person = n;
    return t;
}

PlacedBlock drawPersonBlock(Typesetter& ts, Canvas& chart, const PersonBlock& block,
                            const BlockStyle& style) {
    const int w = px(block.width) + 20;
    const int h = px(block.height) + 20;
    Canvas& canvas = ts.blockCanvas(w, h);
    const bool vertical = ts.vertical();

    for (int i = 0; i < kSlotCount; ++i) {
        if (!block.content.shown[i] || block.content.length[i] == 0) {
            continue;
        }
        const std::string& line = block.content.text[i];
        GridText item;
        item.kind = GridText::Kind::Block;
        item.x = block.slotX[i] + block.x;
        item.y = block.slotY[i] + block.y;
        item.text = line;
        item.length = block.content.length[i];
        chart.gridText(item);
        ts.PRINT_SUB(canvas, block.slotX[i], block.slotY[i], line, style.FONT_SIZE, style.字間,
                     kTextColour);
        if (i == kNameSlot && block.showPersonNumber) {
            // The number takes the first cell of the name line (its indent or label).
            if (ts.fontSize() != style.FONT_SIZE) {
                ts.文字_MAX(style.FONT_SIZE);
            }
            Canvas& glyph = ts.glyphCell();
            glyph.fillRect(0, 0, glyph.width() - 1, glyph.height() - 1, kBackgroundColour);
            glyph.drawText(0, 0, std::to_string(block.personNumber), block.personNumberColour);
            canvas.copyFrom(glyph, 0, 0, ts.metrics().CW, ts.metrics().CH,
                            px(block.slotX[kNameSlot]), px(block.slotY[kNameSlot]));
        }
    }

    PlacedBlock placed;
    const BlockTag tag = parseBlockTag(block.tag);
    placed.tag = tag.letter;
    placed.person = tag.person;
    placed.width = block.width;
    placed.height = block.height;
    const float nameX = block.x + block.slotX[kNameSlot];
    const float nameY = block.y + block.slotY[kNameSlot];
    if (vertical) {
        placed.anchorX = nameX + static_cast<float>(half(style.W));
        placed.anchorY = nameY;
    } else {
        placed.anchorX = nameX;
        placed.anchorY = nameY + static_cast<float>(half(style.H));
    }
    if (tag.letter == 'A') {
        // An own block's joins leave from the end of its name.
        const auto chars = static_cast<float>(common::charCount(block.content.text[kNameSlot]));
        if (vertical) {
            placed.anchorY += chars * (style.H + style.字間);
        } else {
            placed.anchorX += chars * (style.W + style.字間);
        }
    }

    chart.copyFrom(canvas, 0, 0, w, h, px(block.x), px(block.y));
    return placed;
}

} // namespace render
