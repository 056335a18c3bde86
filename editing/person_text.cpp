#include "editing/person_text.h"

#include "common/cp932.h"
#include "common/text.h"

#include <cstdio>
#include <string>

namespace editing {

namespace {

std::string quoted(char32_t c) {
    std::string s = "「";
    try {
        s += common::utf32ToUtf8(std::u32string(1, c));
    } catch (const std::invalid_argument&) {
        s += "?";
    }
    s += "」";
    if (c >= 0x20 && c != 0xFFFD) {
        char code[32];
        std::snprintf(code, sizeof code, "（U+%04X）", static_cast<unsigned>(c));
        s += code;
    }
    return s;
}

// Decodes UTF-8 leniently: an invalid sequence becomes U+FFFD, one byte at a time.
std::u32string lenientUtf32(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = lead < 0x80             ? 1
                          : (lead & 0xE0) == 0xC0 ? 2
                          : (lead & 0xF0) == 0xE0 ? 3
                          : (lead & 0xF8) == 0xF0 ? 4
                                                  : 0;
        if (len == 0 || i + len > utf8.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        try {
            const std::u32string one = common::utf8ToUtf32(utf8.substr(i, len));
            out += one;
            i += len;
        } catch (const std::invalid_argument&) {
            out.push_back(0xFFFD);
            ++i;
        }
    }
    return out;
}

} // namespace

std::string replaceUnencodable(std::string_view text) {
    std::string out;
    for (char32_t c : lenientUtf32(text)) {
        if (c != 0xFFFD && common::isCp932Encodable(c)) {
            out += common::utf32ToUtf8(std::u32string(1, c));
        } else {
            out += "■";
        }
    }
    return out;
}

std::optional<std::string> storedText(common::Dialogs& dialogs, std::string_view fieldLabel,
                                      std::string_view text) {
    if (const auto bad = common::firstUnencodable(text)) {
        const std::string message = "「" + std::string(fieldLabel) + "」の" + quoted(*bad) +
                                    "は、ファイルに保存できない文字です。\n"
                                    "「■」に置き換えて登録しますか？\n"
                                    "（「いいえ」では何も登録せず、入力に戻ります）";
        if (!dialogs.yes("保存できない文字", message, common::Icon::Exclamation)) {
            return std::nullopt;
        }
        return common::toFullWidth(replaceUnencodable(text));
    }
    return common::toFullWidth(text);
}

std::optional<int> typedInteger(std::string_view text) {
    std::u32string chars;
    try {
        chars = common::utf8ToUtf32(text);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
    auto blank = [](char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; };
    std::size_t b = 0;
    std::size_t e = chars.size();
    while (b < e && blank(chars[b])) {
        ++b;
    }
    while (e > b && blank(chars[e - 1])) {
        --e;
    }
    if (b == e) {
        return 0;
    }
    bool negative = false;
    if (chars[b] == U'-' || chars[b] == U'－' || chars[b] == U'+' || chars[b] == U'＋') {
        negative = chars[b] == U'-' || chars[b] == U'－';
        ++b;
    }
    if (b == e) {
        return std::nullopt;
    }
    long value = 0;
    for (std::size_t i = b; i < e; ++i) {
        int digit = -1;
        if (chars[i] >= U'0' && chars[i] <= U'9') {
            digit = static_cast<int>(chars[i] - U'0');
        } else if (chars[i] >= U'０' && chars[i] <= U'９') {
            digit = static_cast<int>(chars[i] - U'０');
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 10 + digit;
        if (value > 32768) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string strNumber(int value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

} // namespace editing
