#include "common/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

namespace common {

namespace {

struct Cp932EncodeEntry {
    char16_t codePoint;
    std::uint16_t code;
};

// kCp932Single, kCp932Double, kCp932Encode, kCp932TrailSpan, kCp932LeadCount.
#include "common/cp932_table.inc"

constexpr char16_t kUnassigned = 0xFFFF;
constexpr char32_t kReplacement = 0xFFFD;

static_assert(std::size(kCp932Double) == kCp932LeadCount * kCp932TrailSpan);

// Index of a lead byte in kCp932Double: 0x81-0x9F -> 0-30, 0xE0-0xFC -> 31-59.
constexpr std::size_t leadIndex(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81u : lead - 0xC1u;
}

// One decoded UTF-8 sequence; length 0 means the bytes at that position are malformed.
struct Utf8Char {
    char32_t codePoint;
    std::size_t length;
};

// Reads the UTF-8 sequence starting at s[i] (i < s.size()), strictly: no overlong forms,
// no surrogates, nothing past U+10FFFF, no truncated sequence.
Utf8Char readUtf8(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        return {b0, 1};
    }
    std::size_t length;
    char32_t cp;
    unsigned char lo = 0x80; // allowed range of the second byte
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0Fu;
        if (b0 == 0xE0) {
            lo = 0xA0; // overlong below U+0800
        } else if (b0 == 0xED) {
            hi = 0x9F; // surrogates U+D800-U+DFFF
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07u;
        if (b0 == 0xF0) {
            lo = 0x90; // overlong below U+10000
        } else if (b0 == 0xF4) {
            hi = 0x8F; // past U+10FFFF
        }
    } else {
        return {0, 0};
    }
    if (s.size() - i < length) {
        return {0, 0};
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) {
            return {0, 0};
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return {cp, length};
}

bool isScalarValue(char32_t cp) {
    return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The CP932 code for a character (a value below 0x100 is a single byte), or -1.
// Code point -> code for the whole BMP (0 = none), built once from kCp932Encode so that
// encoding is one lookup per character.
const std::uint16_t* encodeTable() {
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(0x10000, 0);
        for (const auto& e : kCp932Encode) {
            t[e.codePoint] = static_cast<std::uint16_t>(e.code);
        }
        return t;
    }();
    return table.data();
}

int cp932Code(char32_t cp) {
    if (cp < 0x80) {
        return static_cast<int>(cp);
    }
    if (cp > 0xFFFF) {
        return -1; // CP932 holds nothing outside the BMP
    }
    const std::uint16_t code = encodeTable()[cp];
    return code == 0 ? -1 : code;
}

// Length of the run of ASCII bytes starting at s[i].
std::size_t asciiRun(std::string_view s, std::size_t i) {
    std::size_t j = i;
    while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x80) {
        ++j;
    }
    return j - i;
}

[[noreturn]] void throwUnreadable(std::string_view bytes, std::size_t offset, std::size_t length) {
    std::string message =
        "Shift-JISとして読めないバイト列があります（" + std::to_string(offset + 1) + "バイト目:";
    for (std::size_t k = 0; k < length && offset + k < bytes.size(); ++k) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(bytes[offset + k]));
        message += hex;
    }
    message += "）";
    throw Cp932Error(message, offset);
}

std::string invalidUtf8Message(std::size_t offset) {
    return "UTF-8として正しくないバイト列があります（" + std::to_string(offset + 1) + "バイト目）";
}

[[noreturn]] void throwUnencodable(char32_t cp, std::size_t offset) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(cp));
    std::string shown;
    // Control characters are named only by number; everything else is shown as well.
    if (cp >= 0xA0) {
        shown = "「";
        appendUtf8(shown, cp);
        shown += "」";
    }
    throw Cp932Error("Shift-JISに変換できない文字" + shown + "（" + hex + "）があります", offset,
                     cp);
}

} // namespace

std::string decodeCp932(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() + cp932.size() / 2);
    std::size_t i = 0;
    while (i < cp932.size()) {
        if (const std::size_t run = asciiRun(cp932, i); run > 0) {
            out.append(cp932.data() + i, run);
            i += run;
            continue;
        }
        const auto b = static_cast<unsigned char>(cp932[i]);
        char16_t cp;
        std::size_t length;
        if (isCp932LeadByte(b)) {
            if (i + 1 >= cp932.size()) {
                throwUnreadable(cp932, i, 1);
            }
            const auto trail = static_cast<unsigned char>(cp932[i + 1]);
            if (trail < 0x40 || trail > 0xFC) {
                throwUnreadable(cp932, i, 2);
            }
            cp = kCp932Double[leadIndex(b) * kCp932TrailSpan + (trail - 0x40u)];
            length = 2;
        } else {
            cp = kCp932Single[b];
            length = 1;
        }
        if (cp == kUnassigned) {
            throwUnreadable(cp932, i, length);
        }
        appendUtf8(out, cp);
        i += length;
    }
    return out;
}

std::string encodeCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (const std::size_t run = asciiRun(utf8, i); run > 0) {
            out.append(utf8.data() + i, run);
            i += run;
            continue;
        }
        const Utf8Char c = readUtf8(utf8, i);
        if (c.length == 0) {
            throw Cp932Error(invalidUtf8Message(i), i, kReplacement);
        }
        const int code = cp932Code(c.codePoint);
        if (code < 0) {
            throwUnencodable(c.codePoint, i);
        }
        if (code >= 0x100) {
            out.push_back(static_cast<char>(code >> 8));
        }
        out.push_back(static_cast<char>(code & 0xFF));
        i += c.length;
    }
    return out;
}

std::optional<char32_t> firstUnencodable(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Char c = readUtf8(utf8, i);
        if (c.length == 0) {
            return kReplacement;
        }
        if (cp932Code(c.codePoint) < 0) {
            return c.codePoint;
        }
        i += c.length;
    }
    return std::nullopt;
}

bool isCp932Encodable(char32_t codePoint) {
    return cp932Code(codePoint) >= 0;
}

std::u32string utf8ToUtf32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Char c = readUtf8(utf8, i);
        if (c.length == 0) {
            throw std::invalid_argument(invalidUtf8Message(i));
        }
        out.push_back(c.codePoint);
        i += c.length;
    }
    return out;
}

std::string utf32ToUtf8(std::u32string_view utf32) {
    std::string out;
    out.reserve(utf32.size());
    for (const char32_t cp : utf32) {
        if (!isScalarValue(cp)) {
            throw std::invalid_argument("Unicodeの文字として正しくない値があります");
        }
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace common
