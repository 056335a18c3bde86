#include "render/typesetting.h"

#include "render/rounding.h"

#include "common/cp932.h"
#include "common/text.h"

#include <algorithm>
#include <array>

namespace render {

namespace {

// Characters of vertical writing, all of three UTF-8 bytes.
constexpr std::array<char32_t, 16> kRotated = {U'（', U'）', U'＜', U'＞', U'～', U'＝',
                                               U'－', U'｜', U'［', U'］', U'｛', U'｝',
                                               U'「', U'」', U'『', U'』'};
constexpr std::array<char32_t, 18> kSmallKana = {U'ぁ', U'ぃ', U'ぅ', U'ぇ', U'ぉ', U'っ',
                                                 U'ゃ', U'ゅ', U'ょ', U'ァ', U'ィ', U'ゥ',
                                                 U'ェ', U'ォ', U'ッ', U'ャ', U'ュ', U'ョ'};
constexpr std::array<char32_t, 4> kMarks = {U'。', U'、', U'．', U'，'};
constexpr std::array<char32_t, 10> kDigits = {U'１', U'２', U'３', U'４', U'５',
                                              U'６', U'７', U'８', U'９', U'０'};
constexpr std::array<std::string_view, 10> kPlainNumerals = {"一", "二", "三", "四", "五",
                                                             "六", "七", "八", "九", "〇"};
constexpr std::array<std::string_view, 10> kFormalNumerals = {"壱", "弐", "参", "四", "五",
                                                              "六", "七", "八", "九", "〇"};

// The code point of one character of three UTF-8 bytes; 0 for anything else. Every
// character is tested against the lists above, so this is kept to a few instructions.
char32_t threeByteCode(std::string_view ch) {
    if (ch.size() != 3) {
        return 0;
    }
    const auto b0 = static_cast<unsigned char>(ch[0]);
    const auto b1 = static_cast<unsigned char>(ch[1]);
    const auto b2 = static_cast<unsigned char>(ch[2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) {
        return 0;
    }
    return static_cast<char32_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

template <std::size_t N> bool oneOf(const std::array<char32_t, N>& list, std::string_view ch) {
    const char32_t code = threeByteCode(ch);
    return code != 0 && std::find(list.begin(), list.end(), code) != list.end();
}

// Length of the UTF-8 sequence starting with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

} // namespace

std::string verticalDigit(std::string_view ch, KanjiNumerals mode) {
    const auto it = std::find(kDigits.begin(), kDigits.end(), threeByteCode(ch));
    if (it == kDigits.end() || mode == KanjiNumerals::None) {
        return std::string(ch);
    }
    const auto i = static_cast<std::size_t>(it - kDigits.begin());
    return std::string(mode == KanjiNumerals::Formal ? kFormalNumerals[i] : kPlainNumerals[i]);
}

Typesetter::Typesetter(CanvasFactory& factory, bool vertical, KanjiNumerals numerals)
    : factory_(factory), vertical_(vertical), numerals_(numerals) {}

void Typesetter::ensureGlyphCell(int width, int height) {
    if (glyph_ && glyph_->width() >= width && glyph_->height() >= height) {
        return;
    }
    const int w = std::max(width, glyph_ ? glyph_->width() : 0);
    const int h = std::max(height, glyph_ ? glyph_->height() : 0);
    glyph_ = factory_.create(w, h);
    if (fontSize_ > 0) {
        glyph_->setFontSize(fontSize_);
    }
}

Canvas& Typesetter::glyphCell() {
    if (!glyph_) {
        文字_MAX(16);
    }
    return *glyph_;
}

CellMetrics Typesetter::文字_MAX(float fontSize) {
    // Any canvas measures; the cell is then made large enough for the two-cell scratch area
    // of PRPR_SUB2 (both corners included) and for a family number label.
    ensureGlyphCell(64, 64);
    fontSize_ = fontSize;
    glyph_->setFontSize(fontSize);
    const TextEnd space = glyph_->drawText(0, 0, "　", kTextColour);
    const TextEnd line = glyph_->drawText(0, 0, "", kTextColour);
    metrics_ = {space.x, line.y};
    ensureGlyphCell(std::max(8 * metrics_.CW, 2 * metrics_.CW + 1) + 1, 2 * metrics_.CH + 1);
    return metrics_;
}

Canvas& Typesetter::blockCanvas(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!block_ || block_->width() < width || block_->height() < height) {
        block_ = factory_.create(std::max(width, block_ ? block_->width() : 0),
                                 std::max(height, block_ ? block_->height() : 0));
    }
    block_->fillRect(0, 0, width - 1, height - 1, kBackgroundColour);
    return *block_;
}

void Typesetter::PRINT_SUB(Canvas& block, float x, float y, std::string_view text, float fontSize,
                           float pitch, int colour) {
    if (!glyph_ || fontSize != fontSize_) {
        文字_MAX(fontSize);
    } else {
        // The glyph cell is shared (family number labels set their own size on it).
        glyph_->setFontSize(fontSize);
    }
    block.setFontSize(fontSize);
    std::string wide;
    try {
        wide = common::toFullWidth(text);
    } catch (const common::Cp932Error&) {
        // Text from the registers is always Shift-JIS; anything else is drawn as it is.
        wide = std::string(text);
    }
    curX_ = x;
    curY_ = y;
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t len =
            std::min(sequenceLength(static_cast<unsigned char>(wide[i])), wide.size() - i);
        const std::string_view ch(wide.data() + i, len);
        i += len;
        if (vertical_) {
            T_PRINT_SUB(block, ch, colour);
            curX_ = x;
            curY_ += pitch;
        } else {
            PRPR_SUB(block, ch, colour);
            curX_ += pitch;
            curY_ = y;
        }
    }
}

void Typesetter::T_PRINT_SUB(Canvas& block, std::string_view ch, int colour) {
    const float x = curX_;
    const float y = curY_;
    const float CW = static_cast<float>(metrics_.CW);
    const float CH = static_cast<float>(metrics_.CH);
    // The long-vowel mark is tested for turning before it is replaced, so it stands
    // upright as "｜".
    const bool rotated = oneOf(kRotated, ch);
    if (ch == "ー") {
        ch = "｜";
    }
    if (rotated) {
        block.drawTextRotated(px(x + CH), px(y), ch, colour);
    } else if (oneOf(kSmallKana, ch)) {
        PRPR_SUB2(block, 0.1f * CW, 0.13f * CH, ch, colour);
    } else if (oneOf(kMarks, ch)) {
        PRPR_SUB2(block, 0.6f * CW, 0.5f * CH, ch, colour);
    } else if (oneOf(kDigits, ch)) {
        PRPR_SUB(block, verticalDigit(ch, numerals_), colour);
    } else {
        PRPR_SUB(block, ch, colour);
    }
    curX_ = x;
    curY_ = y + CH;
}

void Typesetter::PRPR_SUB(Canvas& block, std::string_view ch, int colour) {
    Canvas& glyph = glyphCell();
    const int CW = metrics_.CW;
    const int CH = metrics_.CH;
    glyph.fillRect(0, 0, CW, CH, kBackgroundColour);
    glyph.drawText(0, 0, ch, colour);
    block.copyFrom(glyph, 0, 0, CW, CH, px(curX_), px(curY_));
    if (vertical_) {
        curY_ += static_cast<float>(CH);
    } else {
        curX_ += static_cast<float>(CW);
    }
}

void Typesetter::PRPR_SUB2(Canvas& block, float dx, float dy, std::string_view ch, int colour) {
    Canvas& glyph = glyphCell();
    const int CW = metrics_.CW;
    const int CH = metrics_.CH;
    glyph.fillRect(0, 0, 2 * CW, 2 * CH, kBackgroundColour);
    glyph.drawText(px(dx), px(static_cast<float>(CH) - dy), ch, colour);
    block.copyFrom(glyph, 0, CH, CW, CH, px(curX_), px(curY_));
    if (vertical_) {
        curY_ += static_cast<float>(CH);
    } else {
        curX_ += static_cast<float>(CW);
    }
}

} // namespace render
