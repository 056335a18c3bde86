// Text rules shared by both programs: the full-width conversion that keeps separators
// out of the registers, character counts and Shift-JIS byte widths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// The full-width conversion on Shift-JIS bytes, byte by byte from the left: double-byte
// characters are kept, ASCII and half-width katakana become their full-width forms (with
// the voiced and semi-voiced marks folded into the previous kana where they belong), and
// every other byte becomes "■".
std::string toFullWidthBytes(std::string_view cp932);

// False when the conversion would leave the bytes as they are (only double-byte
// characters), so that readers can skip it.
bool needsFullWidth(std::string_view cp932);

// The same conversion for UTF-8 text (typed text). Throws Cp932Error when the text holds
// a character that Shift-JIS cannot hold.
std::string toFullWidth(std::string_view utf8);

// Number of characters (code points) of UTF-8 text: the length used by layout.
std::size_t charCount(std::string_view utf8);

// Width of UTF-8 text in Shift-JIS bytes: 1 for ASCII and half-width katakana, 2 for the
// rest. Text-grid positions count these bytes.
std::size_t sjisWidth(std::string_view utf8);

// The first `n` characters of UTF-8 text (all of it when shorter).
std::string leftChars(std::string_view utf8, std::size_t n);

// The longest prefix of UTF-8 text that fits in `bytes` Shift-JIS bytes, cut at a character
// boundary (never through a double-byte character).
std::string leftSjisBytes(std::string_view utf8, std::size_t bytes);

// True when a text written unquoted as a register value is read back unchanged: no
// half-width comma or colon, no line break or other control character, no leading double
// quote and no leading or trailing half-width space.
bool readsBackUnquoted(std::string_view utf8);

} // namespace common
