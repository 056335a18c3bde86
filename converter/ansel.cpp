#include "converter/ansel.h"

#include "common/cp932.h"

#include <array>

namespace converter {

namespace {

// Code point of each byte 0xA0-0xFF; 0 where ANSEL assigns nothing.
constexpr std::array<char32_t, 0x60> kHigh = {
    // 0xA0-0xAF
    0, 0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9, 0x00B7, 0x266D, 0x00AE, 0x00B1,
    0x01A0, 0x01AF, 0x02BC, 0,
    // 0xB0-0xBF (0xBE and 0xBF: GEDCOM's empty and black box)
    0x02BB, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153, 0x02BA, 0x0131, 0x00A3, 0x00F0, 0,
    0x01A1, 0x01B0, 0x25A1, 0x25A0,
    // 0xC0-0xCF (0xC7 and 0xCF: es-zet, in MARC's place and in GEDCOM's)
    0x00B0, 0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF, 0x20AC, 0, 0, 0, 0, 0, 0,
    0x00DF,
    // 0xD0-0xDF
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xE0-0xEF: combining marks
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308, 0x030C, 0x030A, 0xFE20,
    0xFE21, 0x0315, 0x030B, 0x0310,
    // 0xF0-0xFF
    0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326, 0x031C, 0x032E, 0xFE22, 0xFE23,
    0, 0, 0x0313, 0};

bool isCombining(unsigned char b) {
    return b >= 0xE0;
}

} // namespace

std::optional<std::string> decodeAnsel(std::string_view bytes, std::size_t& badOffset) {
    std::u32string out;
    out.reserve(bytes.size());
    std::u32string marks; // diacritics waiting for their letter
    auto flushMarks = [&] {
        out += marks;
        marks.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            if (b == '\r' || b == '\n') {
                flushMarks(); // a mark at the end of a line stands alone
                out += static_cast<char32_t>(b);
            } else {
                out += static_cast<char32_t>(b);
                flushMarks();
            }
            continue;
        }
        const char32_t c = b >= 0xA0 ? kHigh[b - 0xA0] : 0;
        if (c == 0) {
            badOffset = i;
            return std::nullopt;
        }
        if (isCombining(b)) {
            marks += c;
        } else {
            out += c;
            flushMarks();
        }
    }
    flushMarks();
    return common::utf32ToUtf8(out);
}

} // namespace converter
