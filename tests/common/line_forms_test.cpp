#include "common/line_forms.h"

#include "common/cp932.h"
#include "common/file_io.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using common::formatInteger;
using common::formatNumber;
using common::ItemReader;

TEST(ValueForms, IntegersHaveSignPositionAndTrailingSpace) {
    EXPECT_EQ(formatInteger(12), " 12 ");
    EXPECT_EQ(formatInteger(0), " 0 ");
    EXPECT_EQ(formatInteger(-1), "-1 ");
    EXPECT_EQ(formatInteger(-32768), "-32768 ");
}

TEST(ValueForms, NumbersAreShortestAndReadBack) {
    EXPECT_EQ(formatNumber(16), " 16 ");
    EXPECT_EQ(formatNumber(1.5f), " 1.5 ");
    EXPECT_EQ(formatNumber(0.5f), " .5 ");
    EXPECT_EQ(formatNumber(-0.25f), "-.25 ");
    EXPECT_EQ(formatNumber(0.1f), " .1 ");
    // Values far beyond the integer range come from damaged or hand-edited settings files;
    // they are written in exponent form and read back as they were.
    for (float v :
         {0.1f, 1.1f, 3.3333333f, 1e-3f, 12345.678f, -7.125f, 0.3f + 0.6f, 3e9f, -1e20f, 3.4e38f}) {
        float back = 0;
        ASSERT_TRUE(common::parseNumber(formatNumber(v), back)) << formatNumber(v);
        EXPECT_EQ(back, v) << formatNumber(v);
    }
}

TEST(ValueForms, ParsingIntegers) {
    std::int16_t v = 99;
    EXPECT_TRUE(common::parseInteger16(" 12 ", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(common::parseInteger16("-7", v));
    EXPECT_EQ(v, -7);
    EXPECT_TRUE(common::parseInteger16("", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(common::parseInteger16("   ", v));
    EXPECT_EQ(v, 0);
    for (const char* bad : {"abc", "1 2", "12x", "32768", "-32769", "1.5"}) {
        EXPECT_FALSE(common::parseInteger16(bad, v)) << bad;
    }
    // The 32-bit reading (registers beyond what tsubaki reads) has the same form, to the
    // edges of its range.
    long w = 0;
    EXPECT_TRUE(common::parseLong(" +2147483647 ", w));
    EXPECT_EQ(w, 2147483647L);
    EXPECT_TRUE(common::parseLong("-2147483648", w));
    EXPECT_EQ(w, -2147483648L);
    for (const char* bad : {"2147483648", "-2147483649", "99999999999999999999", "1e3", "0x1"}) {
        EXPECT_FALSE(common::parseLong(bad, w)) << bad;
    }
}

TEST(ItemReaderTest, KeyValueLinesAndEmptyValues) {
    ItemReader in("姓$(1)=,山田\r\n名$(1)=,\r\n当事者NO%(1)=, 1 \r\n", "t.TXT");
    // Keys and values are raw Shift-JIS; these keys are plain ASCII/kanji via UTF-8 here,
    // so read them as text.
    EXPECT_EQ(in.rawItem(), "姓$(1)=");
    EXPECT_EQ(in.rawItem(), "山田");
    EXPECT_EQ(in.rawItem(), "名$(1)=");
    EXPECT_EQ(in.rawItem(), "");
    EXPECT_EQ(in.lineNumber(), 3);
    EXPECT_EQ(in.rawItem(), "当事者NO%(1)=");
    EXPECT_EQ(in.integerItem(), 1);
    EXPECT_TRUE(in.atEnd());
}

TEST(ItemReaderTest, QuotesColonsAndExtraItems) {
    ItemReader in("\"a,b:c\", 1 \nx:y,z\n  lead  ,\n", "t.TXT");
    EXPECT_EQ(in.rawItem(), "a,b:c");
    EXPECT_EQ(in.integerItem(), 1);
    // A colon separates like a comma; extra items are left for the next request.
    EXPECT_EQ(in.rawItem(), "x");
    EXPECT_EQ(in.rawItem(), "y");
    EXPECT_EQ(in.rawItem(), "z");
    EXPECT_EQ(in.rawItem(), "lead");
    EXPECT_EQ(in.rawItem(), "");
    EXPECT_TRUE(in.atEnd());
}

TEST(ItemReaderTest, WholeLinesAndLfOnlyFiles) {
    ItemReader in("head\n\nk,v\n", "t.TXT");
    EXPECT_EQ(in.rawLine(), "head");
    EXPECT_EQ(in.rawLine(), "");
    EXPECT_EQ(in.rawItem(), "k");
    EXPECT_EQ(in.rawItem(), "v");
    EXPECT_TRUE(in.atEnd());
}

TEST(ItemReaderTest, FailuresNameFileAndLine) {
    {
        ItemReader wide("n, 40000 \nb,3000000000\n", "家族目録.TXT");
        wide.rawItem();
        EXPECT_EQ(wide.longItem(), 40000);
        wide.rawItem();
        EXPECT_THROW(
            {
                try {
                    wide.longItem();
                } catch (const common::FileError& e) {
                    EXPECT_EQ(std::string(e.what()), "「家族目録.TXT」の 2 行目を読めません："
                                                     "整数が入るところに「3000000000」があります");
                    throw;
                }
            },
            common::FileError);
    }
    ItemReader in("a, 1 \nb, x1 \n", "当事者目録.TXT");
    in.rawItem();
    in.integerItem();
    in.rawItem();
    try {
        in.integerItem();
        FAIL() << "no error";
    } catch (const common::FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "「当事者目録.TXT」の 2 行目を読めません：整数が入るところに「x1」があります");
    }
    try {
        in.rawItem();
        FAIL() << "no error";
    } catch (const common::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("途中で終わっています"), std::string::npos);
    }
}

TEST(ItemReaderTest, ShiftJisTrailBytesAreNotSeparators) {
    // "ソ" is 0x83 0x5C and "表" is 0x95 0x5C: trail bytes that are not separators anyway;
    // a text with many double-byte characters is one item.
    const std::string text = common::encodeCp932("ソ表能,次");
    ItemReader in(text, "t.TXT");
    EXPECT_EQ(common::decodeCp932(in.rawItem()), "ソ表能");
    EXPECT_EQ(common::decodeCp932(in.rawItem()), "次");
}

TEST(LineWriterTest, WritesCrLfAndRefusesUnreadableTexts) {
    common::LineWriter out("x.TXT");
    out.integer("当事者NO%(12)=,", 12);
    out.text("姓$(12)=,", "山田");
    out.number("FONT_SIZE,", 10.5f);
    out.quotedPair("pair", "1 : (1) 山田, 太郎", 1);
    EXPECT_EQ(common::decodeCp932(out.bytes()),
              "当事者NO%(12)=, 12 \r\n姓$(12)=,山田\r\nFONT_SIZE, 10.5 \r\n\"1 : (1) 山田, 太郎\", "
              "1 \r\n");
    EXPECT_THROW(out.text("姓$(1)=,", "a,b"), common::FileError);
    EXPECT_THROW(out.text("姓$(1)=,", "𠮷"), common::FileError);
    EXPECT_THROW(out.quotedPair("pair", "a\"b", 0), common::FileError);
}

} // namespace
