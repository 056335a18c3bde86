// Typesetting: text is never drawn straight onto a block. Each character is drawn alone on
// the glyph cell (a one-character scratch canvas) and copied from there into the block
// canvas at the current position; vertical writing turns brackets and dashes a quarter
// turn, draws "ー" upright as "｜", sets small kana and marks towards the upper right of
// their cell and may write digits as kanji numerals.
#pragma once

#include "render/canvas.h"

#include <memory>
#include <string>
#include <string_view>

namespace render {

// "漢数字の設定".
enum class KanjiNumerals {
    None = 0,   // "使わない": full-width digits stay
    Plain = 1,  // "普通の漢数字": 一二三四五六七八九〇
    Formal = 2, // "多角数字": 壱弐参四五六七八九〇
};

// Width and height of one full-width character of the chart font at a size, in pixels.
struct CellMetrics {
    int CW = 0;
    int CH = 0;
};

// The character a digit becomes in vertical writing ("１" -> "一" or "壱"); any other
// character, and every digit with KanjiNumerals::None, is returned unchanged.
std::string verticalDigit(std::string_view ch, KanjiNumerals mode);

class Typesetter {
public:
    // `vertical`: "縦書き"; `numerals` is used only in vertical writing.
    Typesetter(CanvasFactory& factory, bool vertical, KanjiNumerals numerals);

    bool vertical() const { return vertical_; }

    // 文字_MAX: sets the font size on the glyph cell, writes "　" and an empty line on it and
    // takes CW and CH from where writing ended. The glyph cell is made large enough for
    // 2 CW × 2 CH and for a short label ("(32767)").
    CellMetrics 文字_MAX(float fontSize);
    const CellMetrics& metrics() const { return metrics_; }
    float fontSize() const { return fontSize_; }

    // The glyph cell (made on first use at the chart font of 16 points).
    Canvas& glyphCell();

    // A block canvas of at least width × height, white in that area. Kept between blocks
    // and made anew only when a larger one is needed.
    Canvas& blockCanvas(int width, int height);

    // Typesets one line into `block` from (x, y): each character (after the full-width
    // conversion) drawn by PRPR_SUB in horizontal writing or T_PRINT_SUB in vertical
    // writing, with `pitch` added after each character. Re-measures the cell when the
    // font size differs from the last one measured.
    void PRINT_SUB(Canvas& block, float x, float y, std::string_view text, float fontSize,
                   float pitch, int colour);
    // One character in vertical writing at the current position, which then moves to
    // (x, y + CH).
    void T_PRINT_SUB(Canvas& block, std::string_view ch, int colour);
    // One character through the glyph cell at the current position, which then advances
    // by CW (horizontal writing) or CH (vertical writing).
    void PRPR_SUB(Canvas& block, std::string_view ch, int colour);
    // The same, the character shifted dx to the right and dy up within its cell.
    void PRPR_SUB2(Canvas& block, float dx, float dy, std::string_view ch, int colour);

    float currentX() const { return curX_; }
    float currentY() const { return curY_; }
    void setCurrent(float x, float y) {
        curX_ = x;
        curY_ = y;
    }

private:
    void ensureGlyphCell(int width, int height);

    CanvasFactory& factory_;
    bool vertical_;
    KanjiNumerals numerals_;
    std::unique_ptr<Canvas> glyph_;
    std::unique_ptr<Canvas> block_;
    CellMetrics metrics_;
    float fontSize_ = 0;
    float curX_ = 0;
    float curY_ = 0;
};

} // namespace render
