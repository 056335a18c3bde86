#include "common/text.h"

#include "common/cp932.h"

#include <array>
#include <cstdint>

namespace common {

namespace {

// Full-width Shift-JIS codes for ASCII 0x20..0x7F.
constexpr std::array<std::uint16_t, 96> kAsciiWide = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, // space ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E, // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, // 0..7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, // @ A..G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, // H..O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, // P..W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151, // X Y Z [ \ ] ^ _
    0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, // ` a..g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, // h..o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, // p..w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150, 0x8140, // x y z { | } ~ DEL
};

// Full-width Shift-JIS codes for half-width katakana 0xA0..0xDF.
constexpr std::array<std::uint16_t, 64> kKanaWide = {
    0x8140, 0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, // sp 。 「 」 、 ・ ヲ ァ
    0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, // ィ ゥ ェ ォ ャ ュ ョ ッ
    0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, // ー ア イ ウ エ オ カ キ
    0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, // ク ケ コ サ シ ス セ ソ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, // タ チ ツ テ ト ナ ニ ヌ
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, // ネ ノ ハ ヒ フ ヘ ホ マ
    0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, // ミ ム メ モ ヤ ユ ヨ ラ
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B, // リ ル レ ロ ワ ン ゛ ゜
};

constexpr std::uint16_t kBlackSquare = 0x81A1;

void put(std::string& out, std::uint16_t code) {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

bool isVoiceable(unsigned char b) {
    return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
}
bool isHaHo(unsigned char b) {
    return b >= 0xCA && b <= 0xCE;
}

// Decodes one UTF-8 sequence at `i` without validation beyond its length.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

} // namespace

std::string toFullWidthBytes(std::string_view in) {
    std::string out;
    out.reserve(in.size() * 2);
    unsigned char previous = 0; // previous source byte, for the voiced marks
    for (std::size_t i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (isCp932LeadByte(b)) {
            if (i + 1 < in.size()) {
                out.push_back(in[i]);
                out.push_back(in[i + 1]);
                ++i;
            } else {
                put(out, kBlackSquare);
            }
            previous = 0;
            continue;
        }
        if (b == 0xDE && isVoiceable(previous)) {
            out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) + 1);
        } else if (b == 0xDF && isHaHo(previous)) {
            out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) + 2);
        } else if (b >= 0x20 && b <= 0x7F) {
            put(out, kAsciiWide[b - 0x20]);
        } else if (b >= 0xA0 && b <= 0xDF) {
            put(out, kKanaWide[b - 0xA0]);
        } else {
            put(out, kBlackSquare);
        }
        previous = b;
    }
    return out;
}

bool needsFullWidth(std::string_view in) {
    // Steps over whole two-byte characters; a single byte or a cut lead byte needs it.
    for (std::size_t i = 0; i < in.size(); i += 2) {
        if (!isCp932LeadByte(static_cast<unsigned char>(in[i])) || i + 1 == in.size()) {
            return true;
        }
    }
    return false;
}

std::string toFullWidth(std::string_view utf8) {
    return decodeCp932(toFullWidthBytes(encodeCp932(utf8)));
}

std::size_t charCount(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

std::size_t sjisWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = sequenceLength(lead);
        if (len == 1) {
            width += 1;
        } else if (len == 3 && i + 2 < utf8.size()) {
            // U+FF61..U+FF9F (half-width katakana) is EF BD A1..EF BD BF, EF BE 80..EF BE 9F.
            const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
            const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
            const bool halfKana =
                lead == 0xEF && ((b1 == 0xBD && b2 >= 0xA1) || (b1 == 0xBE && b2 <= 0x9F));
            width += halfKana ? 1 : 2;
        } else {
            width += 2;
        }
        i += len;
    }
    return width;
}

std::string leftChars(std::string_view utf8, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < utf8.size() && count < n; ++count) {
        i += sequenceLength(static_cast<unsigned char>(utf8[i]));
    }
    return std::string(utf8.substr(0, std::min(i, utf8.size())));
}

std::string leftSjisBytes(std::string_view utf8, std::size_t bytes) {
    std::size_t i = 0;
    std::size_t used = 0;
    while (i < utf8.size()) {
        const std::size_t len = sequenceLength(static_cast<unsigned char>(utf8[i]));
        const std::size_t w = sjisWidth(utf8.substr(i, len));
        if (used + w > bytes) {
            break;
        }
        used += w;
        i += len;
    }
    return std::string(utf8.substr(0, std::min(i, utf8.size())));
}

bool readsBackUnquoted(std::string_view utf8) {
    if (utf8.empty()) {
        return true;
    }
    if (utf8.front() == '"' || utf8.front() == ' ' || utf8.back() == ' ') {
        return false;
    }
    for (unsigned char c : utf8) {
        if (c == ',' || c == ':' || c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace common
