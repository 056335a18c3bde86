#include "common/name_rule.h"

#include "common/cp932.h"

#include <string>

namespace common {

namespace {

bool isKatakana(char32_t c) {
    return c >= U'ァ' && c <= U'ヶ';
} // JIS 0x2521..0x2576

bool isLatin(char32_t c) {
    // Narrowed to the single-byte form: full-width Ａ..Ｚ and ａ..ｚ count as Latin.
    if (c >= U'Ａ' && c <= U'Ｚ') {
        c = c - U'Ａ' + U'A';
    } else if (c >= U'ａ' && c <= U'ｚ') {
        c = c - U'ａ' + U'a';
    }
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

char32_t lastChar(std::string_view s) {
    std::size_t i = s.size();
    while (i > 0 && (static_cast<unsigned char>(s[i - 1]) & 0xC0) == 0x80) {
        --i;
    }
    if (i > 0) {
        --i;
    }
    const auto cps = utf8ToUtf32(s.substr(i));
    return cps.empty() ? 0 : cps.back();
}

char32_t firstChar(std::string_view s) {
    std::size_t len = 1;
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead >= 0xF0) {
        len = 4;
    } else if (lead >= 0xE0) {
        len = 3;
    } else if (lead >= 0xC0) {
        len = 2;
    }
    const auto cps = utf8ToUtf32(s.substr(0, len));
    return cps.empty() ? 0 : cps.front();
}

} // namespace

bool 姓名判断_SUB(std::string_view first, std::string_view second) {
    if (first.empty() || second.empty()) {
        return false;
    }
    const char32_t b = lastChar(first);
    const char32_t a = firstChar(second);
    if (isKatakana(a)) {
        return b == U'ー' || isKatakana(b);
    }
    return isLatin(a) && isLatin(b);
}

} // namespace common
