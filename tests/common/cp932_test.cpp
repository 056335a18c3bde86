#include "common/cp932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>

using namespace common;

namespace {

std::string bytesOf(unsigned code) {
    return code > 0xFF ? std::string{char(code >> 8), char(code & 0xFF)}
                       : std::string(1, char(code));
}

unsigned codeOf(const std::string& bytes) {
    unsigned code = 0;
    for (unsigned char c : bytes) {
        code = code << 8 | c;
    }
    return code;
}

std::string u8(char32_t cp) {
    return utf32ToUtf8(std::u32string(1, cp));
}

// The single character a code decodes to, or nullopt when decoding throws.
std::optional<char32_t> decodeCode(unsigned code) {
    try {
        const std::u32string s = utf8ToUtf32(decodeCp932(bytesOf(code)));
        EXPECT_EQ(s.size(), 1u) << std::hex << code;
        return s.empty() ? std::nullopt : std::optional<char32_t>(s[0]);
    } catch (const Cp932Error&) {
        return std::nullopt;
    }
}

// Every valid code and its character, found by decoding all 256 bytes and every lead byte
// with every trail byte 0x40-0xFC (0x7F included).
const std::map<unsigned, char32_t>& validCodes() {
    static const std::map<unsigned, char32_t> valid = [] {
        std::map<unsigned, char32_t> m;
        for (unsigned code = 0; code <= 0xFCFC; ++code) {
            const unsigned trail = code & 0xFF;
            if (code > 0xFF && !(isCp932LeadByte(code >> 8) && trail >= 0x40 && trail <= 0xFC)) {
                continue;
            }
            if (const auto cp = decodeCode(code)) {
                m[code] = *cp;
            }
        }
        return m;
    }();
    return valid;
}

// Windows' preference among codes of the same character: JIS rows, NEC row 13, IBM
// 0xFA-0xFC, NEC-selected IBM 0xED/0xEE.
int preferenceClass(unsigned code) {
    const unsigned lead = code >> 8;
    return lead == 0x87                     ? 1
           : (lead >= 0xFA && lead <= 0xFC) ? 2
           : (lead == 0xED || lead == 0xEE) ? 3
                                            : 0;
}

template <class F> Cp932Error catchCp932(F f) {
    try {
        f();
    } catch (const Cp932Error& e) {
        return e;
    }
    ADD_FAILURE() << "no Cp932Error";
    return Cp932Error("", static_cast<std::size_t>(-1), 0);
}

} // namespace

TEST(Cp932Decode, LandmarkCharacters) {
    const struct {
        unsigned code;
        char32_t cp;
    } cases[] = {
        {0x5C, U'\\'},    {0x7E, U'~'},    {0x7F, 0x7F},     {0x00, 0x00},     {0x8140, U'　'},
        {0x82A0, U'あ'},  {0x815F, U'＼'}, {0x8160, 0xFF5E}, {0x817C, 0xFF0D}, {0x815C, 0x2015},
        {0x8161, 0x2225}, {0x8191, U'￠'}, {0x8192, 0xFFE1}, {0x81CA, 0xFFE2}, {0x889F, U'亜'},
        {0x9872, U'腕'},  {0x989F, U'弌'}, {0xEAA4, U'熙'},  {0x8740, U'①'},   {0x8754, U'Ⅰ'},
        {0xED40, U'纊'},  {0xFA40, U'ⅰ'},  {0xFC4B, U'黑'},  {0xF040, 0xE000}, {0xF9FC, 0xE757},
        {0x824F, U'０'},  {0x8260, U'Ａ'}, {0x8393, U'ン'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeCode(c.code), c.cp) << std::hex << c.code;
    }
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        EXPECT_EQ(decodeCode(b), 0xFF61 + (b - 0xA1)) << std::hex << b;
    }
    for (unsigned code = 0x829F; code <= 0x82F1; ++code) {
        EXPECT_EQ(decodeCode(code), U'ぁ' + (code - 0x829F)) << std::hex << code;
    }
    EXPECT_EQ(decodeCp932("A\x82\xA0\xB1\\\x81\x40z"), "Aあｱ\\　z");
    EXPECT_EQ(decodeCp932(""), "");
}

TEST(Cp932Decode, NumberOfValidCodesPerArea) {
    std::map<std::string, int> counts;
    for (const auto& [code, cp] : validCodes()) {
        const unsigned lead = code >> 8;
        ++counts[code < 0x80                    ? "ASCII"
                 : code < 0x100                 ? "half-width katakana"
                 : lead >= 0xF0 && lead <= 0xF9 ? "user-defined"
                 : lead == 0x87                 ? "NEC row 13"
                 : lead == 0xED || lead == 0xEE ? "NEC-selected IBM"
                 : lead >= 0xFA                 ? "IBM"
                                                : "JIS X 0208"];
    }
    const std::map<std::string, int> expected = {
        {"ASCII", 128},      {"half-width katakana", 63}, {"user-defined", 1880},
        {"NEC row 13", 83},  {"NEC-selected IBM", 374},   {"IBM", 388},
        {"JIS X 0208", 6879}};
    EXPECT_EQ(counts, expected);
}

TEST(Cp932Decode, RejectsInvalidBytesAtTheirOffset) {
    const struct {
        std::string bytes;
        std::size_t offset;
    } cases[] = {
        {"ab\x82", 2},           // lone lead byte at the end
        {"ab\x82\x3F", 2},       // trail below 0x40 (0x81FC is assigned)
        {"\x82\xA0\x81\x7F", 2}, // trail 0x7F
        {"\x88\xFD", 0},         // trail above 0xFC (0x8940 is assigned)
        {"x\x85\x40", 1},        // unassigned row
        {"\x81\xAD", 0},         // unassigned cell in an assigned row
        {"xy\x80", 2},           {"\xA0", 0}, {"\xFD\x40", 0}, {"\xFE", 0}, {"\xFF", 0},
    };
    for (const auto& c : cases) {
        const Cp932Error e = catchCp932([&] { decodeCp932(c.bytes); });
        EXPECT_EQ(e.offset, c.offset) << testing::PrintToString(c.bytes);
        EXPECT_EQ(e.codePoint, 0u);
        EXPECT_NE(std::string(e.what()).find("Shift-JIS"), std::string::npos);
    }
    // A lead byte at the end of a view whose next byte in memory would complete it.
    EXPECT_EQ(catchCp932([] { decodeCp932(std::string_view("\x82\xA0", 1)); }).offset, 0u);
    EXPECT_NE(
        std::string(catchCp932([] { decodeCp932("ab\x85\x40"); }).what()).find("3バイト目: 85 40"),
        std::string::npos);
}

TEST(Cp932Encode, EveryCodeRoundTripsToTheCodeWindowsPrefers) {
    const auto& valid = validCodes();
    std::map<char32_t, std::vector<unsigned>> codesOf;
    for (const auto& [code, cp] : valid) {
        codesOf[cp].push_back(code);
    }
    int nonPreferred = 0;
    for (const auto& [code, cp] : valid) {
        const auto& candidates = codesOf[cp];
        const unsigned preferred =
            *std::min_element(candidates.begin(), candidates.end(), [](unsigned a, unsigned b) {
                return std::pair(preferenceClass(a), a) < std::pair(preferenceClass(b), b);
            });
        EXPECT_EQ(codeOf(encodeCp932(u8(cp))), preferred) << std::hex << code;
        EXPECT_TRUE(isCp932Encodable(cp));
        nonPreferred += code != preferred;
    }
    // Windows' CP932 has 398 codes that do not survive a round trip.
    EXPECT_EQ(nonPreferred, 398);

    const struct {
        unsigned from, to;
    } duplicates[] = {
        {0x8790, 0x81E0}, {0xED40, 0xFA5C}, {0xFA54, 0x81CA}, {0xFA4A, 0x8754},
        {0xEEF9, 0x81CA}, {0x879A, 0x81E6}, {0xFA5B, 0x81E6}, {0xEEEF, 0xFA40},
        {0xFA58, 0x878A}, {0x879B, 0x81BF}, {0xEEFA, 0xFA55},
    };
    for (const auto& d : duplicates) {
        EXPECT_EQ(codeOf(encodeCp932(decodeCp932(bytesOf(d.from)))), d.to) << std::hex << d.from;
    }
}

TEST(Cp932Encode, RejectsCharactersCp932CannotHold) {
    // Characters outside CP932, and characters that some encoders map one way onto a code
    // decoding to something else (¥ -> 5C, − -> 817C, 〜 -> 8160, ‖ -> 8161, ¢ £ ¬, —).
    const char32_t rejected[] = {0x20BB7, 0x1F600, 0xA5,   0x203E,  0x2212, 0x301C, 0x2016, 0xA2,
                                 0xA3,    0xAC,    0x2014, 0xE0001, 0x80,   0xFFFD, 0xE758};
    for (char32_t cp : rejected) {
        const Cp932Error e = catchCp932([&] { encodeCp932("あa" + u8(cp) + "b"); });
        EXPECT_EQ(e.offset, 4u) << std::hex << static_cast<unsigned>(cp);
        EXPECT_EQ(e.codePoint, cp);
        EXPECT_EQ(firstUnencodable("x" + u8(cp) + u8(0x1F600)), cp);
        EXPECT_FALSE(isCp932Encodable(cp));
    }
    const std::string message = catchCp932([] { encodeCp932("吉𠮷"); }).what();
    EXPECT_NE(message.find("「𠮷」"), std::string::npos) << message;
    EXPECT_NE(message.find("U+20BB7"), std::string::npos) << message;

    EXPECT_EQ(firstUnencodable("山田　太郎ｱ\\~①纊"), std::nullopt);
    EXPECT_EQ(firstUnencodable(""), std::nullopt);
    EXPECT_EQ(encodeCp932("A\\あｱ\xEE\x80\x80"), "A\\\x82\xA0\xB1\xF0\x40");
}

TEST(Cp932Utf8, MalformedInputIsRejected) {
    const struct {
        std::string bytes;
        std::size_t offset;
    } cases[] = {
        {"a\x80", 1},            // stray continuation byte
        {"ab\xE3\x81", 2},       // truncated
        {"\xE3\x81z", 0},        // continuation missing
        {"\xC0\xAF", 0},         // overlong '/'
        {"\xE0\x80\xAF", 0},     // overlong
        {"\xF0\x80\x80\xAF", 0}, // overlong
        {"x\xED\xA0\x80", 1},    // surrogate U+D800
        {"\xF4\x90\x80\x80", 0}, // past U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xFF", 0},
    };
    for (const auto& c : cases) {
        const Cp932Error e = catchCp932([&] { encodeCp932(c.bytes); });
        EXPECT_EQ(e.offset, c.offset) << testing::PrintToString(c.bytes);
        EXPECT_EQ(e.codePoint, 0xFFFDu);
        EXPECT_EQ(firstUnencodable(c.bytes), 0xFFFDu);
        EXPECT_THROW(utf8ToUtf32(c.bytes), std::invalid_argument);
    }
    // A sequence cut off by the end of a view, though the next byte in memory completes it.
    EXPECT_EQ(catchCp932([] { encodeCp932(std::string_view("a\xE3\x81\x82", 3)); }).offset, 1u);
    EXPECT_THROW(utf8ToUtf32(std::string_view("\xE3\x81\x82", 2)), std::invalid_argument);
    EXPECT_THROW(utf32ToUtf8(std::u32string(1, 0xD800)), std::invalid_argument);
    EXPECT_THROW(utf32ToUtf8(std::u32string(1, 0x110000)), std::invalid_argument);

    const std::u32string edges = {0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                  0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    const std::string utf8 = "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
                             "\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    EXPECT_EQ(utf32ToUtf8(edges), utf8);
    EXPECT_EQ(utf8ToUtf32(utf8), edges);
}

// Python's cp932 codec has its own tables (not glibc's). It is known to differ from
// Windows in a few ways only: it decodes 0x80, 0xA0 and 0xFD-0xFF; it encodes the IBM
// characters to the NEC-selected 0xED/0xEE codes; and it accepts a few one-way mappings.
TEST(Cp932CrossCheck, AgreesWithPythonCodecExceptKnownDifferences) {
    const char* script =
        "L=list(range(0x81,0xa0))+list(range(0xe0,0xfd))\n"
        "for c in list(range(256))+[l<<8|t for l in L for t in range(0x40,0xfd)]:\n"
        "  try: s=c.to_bytes(1+(c>255),'big').decode('cp932'); print('D',c,ord(s) if len(s)==1 "
        "else -1)\n"
        "  except UnicodeDecodeError: pass\n"
        "for u in range(0x80,0x10000):\n"
        "  if 0xd800<=u<0xe000: continue\n"
        "  try: print('E',u,int.from_bytes(chr(u).encode('cp932'),'big'))\n"
        "  except UnicodeEncodeError: pass\n";
    FILE* p = popen(("python3 -c \"" + std::string(script) + "\" 2>/dev/null").c_str(), "r");
    if (p == nullptr) {
        GTEST_SKIP() << "python3 not available";
    }
    std::map<unsigned, char32_t> pyDecode;
    std::map<char32_t, unsigned> pyEncode;
    char kind;
    long a, b;
    while (std::fscanf(p, " %c %ld %ld", &kind, &a, &b) == 3) {
        if (kind == 'D') {
            pyDecode[a] = static_cast<char32_t>(b);
        } else {
            pyEncode[a] = static_cast<unsigned>(b);
        }
    }
    const int status = pclose(p);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        GTEST_SKIP() << "python3 not available";
    }
    ASSERT_EQ(status, 0) << "the python3 script failed";

    const auto& valid = validCodes();
    std::set<unsigned> decodeDiffs;
    for (const auto& [code, cp] : valid) {
        if (!pyDecode.contains(code) || pyDecode.at(code) != cp) {
            decodeDiffs.insert(code);
        }
    }
    for (const auto& [code, cp] : pyDecode) {
        if (!valid.contains(code)) {
            decodeDiffs.insert(code);
        }
    }
    EXPECT_EQ(decodeDiffs, (std::set<unsigned>{0x80, 0xA0, 0xFD, 0xFE, 0xFF}));

    int ibmDiffs = 0;
    std::set<char32_t> pythonOnly;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const auto theirs = pyEncode.find(cp);
        if (!isCp932Encodable(cp)) {
            if (theirs != pyEncode.end()) {
                pythonOnly.insert(cp);
            }
            continue;
        }
        ASSERT_NE(theirs, pyEncode.end()) << std::hex << static_cast<unsigned>(cp);
        const unsigned ours = codeOf(encodeCp932(u8(cp)));
        if (ours != theirs->second) {
            // Same character, Windows' IBM code against Python's NEC-selected one.
            EXPECT_EQ(preferenceClass(ours), 2) << std::hex << static_cast<unsigned>(cp);
            EXPECT_EQ(preferenceClass(theirs->second), 3) << std::hex << static_cast<unsigned>(cp);
            EXPECT_EQ(decodeCode(theirs->second), cp);
            ++ibmDiffs;
        }
    }
    // 360 kanji, ⅰ-ⅹ, ￤, ＇ and ＂ (¬ goes to 0x81CA in both).
    EXPECT_EQ(ibmDiffs, 373);
    EXPECT_EQ(pythonOnly, (std::set<char32_t>{0x80, 0xA2, 0xA3, 0xAC, 0x2016, 0x2212, 0x301C,
                                              0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3}));
}
