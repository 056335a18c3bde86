// Shift-JIS (Windows code page 932) <-> UTF-8, exactly as Windows maps it.
//
// Every data file of both programs is CP932; inside the programs text is UTF-8. Decoding
// accepts every code Windows assigns, including NEC row 13, the IBM extensions (both the
// 0xFA-0xFC rows and the NEC-selected 0xED/0xEE rows) and the user-defined area
// 0xF040-0xF9FC (U+E000-U+E757). Encoding writes, for a character that has several codes,
// the one Windows writes, and accepts only characters some code decodes to, so
// decodeCp932(encodeCp932(s)) == s whenever encoding succeeds.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace common {

// Thrown when bytes are not valid CP932 or a character cannot be held in CP932. The
// message is plain Japanese for the user.
struct Cp932Error : std::runtime_error {
    // Byte offset in the input: the first byte of the sequence that could not be read, or
    // the first byte of the character that could not be written.
    std::size_t offset;
    // For encode errors, the character that CP932 cannot hold (U+FFFD for invalid UTF-8);
    // 0 for decode errors.
    char32_t codePoint;

    Cp932Error(const std::string& message, std::size_t offset, char32_t codePoint = 0)
        : std::runtime_error(message), offset(offset), codePoint(codePoint) {}
};

// CP932 bytes -> UTF-8. Throws Cp932Error on an invalid or unassigned code.
std::string decodeCp932(std::string_view cp932);

// UTF-8 -> CP932 bytes. Throws Cp932Error for invalid UTF-8 or a character CP932 cannot
// hold (codePoint set, message names the character).
std::string encodeCp932(std::string_view utf8);

// The first code point of `utf8` that CP932 cannot hold (invalid UTF-8 counts as U+FFFD),
// or nullopt when the whole text can be encoded.
std::optional<char32_t> firstUnencodable(std::string_view utf8);

// True when the character can be encoded (false for surrogates and out-of-range values).
bool isCp932Encodable(char32_t codePoint);

// First byte of a double-byte code: 0x81-0x9F or 0xE0-0xFC.
constexpr bool isCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Strict UTF-8 <-> UTF-32. utf8ToUtf32 throws std::invalid_argument on malformed UTF-8
// (bad or missing continuation bytes, overlong forms, surrogates, values past U+10FFFF);
// utf32ToUtf8 throws it for surrogates and values past U+10FFFF.
std::u32string utf8ToUtf32(std::string_view utf8);
std::string utf32ToUtf8(std::u32string_view utf32);

} // namespace common
