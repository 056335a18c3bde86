#include "common/text.h"

#include "common/cp932.h"

#include <gtest/gtest.h>

namespace {

using common::toFullWidth;
using common::toFullWidthBytes;

std::string sjis(const std::string& utf8) {
    return common::encodeCp932(utf8);
}
std::string wide(const std::string& cp932) {
    return common::decodeCp932(toFullWidthBytes(cp932));
}

TEST(FullWidth, AsciiBecomesFullWidth) {
    EXPECT_EQ(wide("ABC xyz 019"), "ＡＢＣ　ｘｙｚ　０１９");
    EXPECT_EQ(wide("a,b:c\"d'e"), "ａ，ｂ：ｃ”ｄ’ｅ");
    EXPECT_EQ(wide("\\~-"), "￥￣－");
    EXPECT_EQ(wide("!#$%&()*+./;<=>?@[]^_`{|}"),
              "！＃＄％＆（）＊＋．／；＜＝＞？＠［］＾＿｀｛｜｝");
    EXPECT_EQ(wide("\x7F"), "　");
}

TEST(FullWidth, HalfWidthKatakanaWithVoicedMarks) {
    // ｶﾞｲ ABC -> ガイ　ＡＢＣ
    EXPECT_EQ(wide(sjis("ｶﾞｲ ABC")), "ガイ　ＡＢＣ");
    EXPECT_EQ(wide(sjis("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ")), "パピプペポ");
    EXPECT_EQ(wide(sjis("ﾂﾞﾄﾞﾊﾞ")), "ヅドバ");
    // ｳ is not voiceable here: the mark stays a mark.
    EXPECT_EQ(wide(sjis("ｳﾞ")), "ウ゛");
    // A semi-voiced mark after ｶ, and marks on their own.
    EXPECT_EQ(wide(sjis("ｶﾟ")), "カ゜");
    EXPECT_EQ(wide(sjis("ﾞﾟ")), "゛゜");
    // Two voiced marks: only the first one folds.
    EXPECT_EQ(wide(sjis("ｶﾞﾞ")), "ガ゛");
    EXPECT_EQ(wide(sjis("｡｢｣､･ｦｧｯｰﾝ")), "。「」、・ヲァッーン");
    EXPECT_EQ(wide("\xA0"), "　");
}

TEST(FullWidth, DoubleByteKeptAndOtherBytesBecomeSquares) {
    EXPECT_EQ(wide(sjis("山田　花子")), "山田　花子");
    EXPECT_EQ(wide("\t\r\n"), "■■■");
    EXPECT_EQ(wide("\x80\xFD\xFE\xFF"), "■■■■");
    // A lead byte at the very end cannot start a character.
    EXPECT_EQ(wide(sjis("山") + "\x88"), "山■");
    // A voiced mark after a double-byte character whose trail byte looks like ｶ.
    EXPECT_EQ(wide("\x83\xB6\xDE"), common::decodeCp932("\x83\xB6") + "゛");
}

TEST(FullWidth, Utf8Wrapper) {
    EXPECT_EQ(toFullWidth("Yamada, 1-2:3"), "Ｙａｍａｄａ，　１－２：３");
    EXPECT_EQ(toFullWidth("ﾔﾏﾀﾞ"), "ヤマダ");
    EXPECT_EQ(toFullWidth(""), "");
    EXPECT_THROW(toFullWidth("𠮷野"), common::Cp932Error);
    // The result always reads back unquoted.
    EXPECT_TRUE(common::readsBackUnquoted(toFullWidth(" \"a,b:c\" ")));
}

TEST(TextMeasure, CountsAndWidths) {
    EXPECT_EQ(common::charCount("山田ABCｶ"), 6u);
    EXPECT_EQ(common::sjisWidth("山田ABCｶ"), 8u);
    EXPECT_EQ(common::sjisWidth("ｰﾟ｡"), 3u);
    EXPECT_EQ(common::sjisWidth("ー。"), 4u);
    EXPECT_EQ(common::charCount(""), 0u);
}

TEST(TextMeasure, CuttingNeverSplitsACharacter) {
    EXPECT_EQ(common::leftChars("山田太郎", 2), "山田");
    EXPECT_EQ(common::leftChars("山田", 5), "山田");
    EXPECT_EQ(common::leftSjisBytes("実父：12 山田太郎", 9), "実父：12 ");
    EXPECT_EQ(common::leftSjisBytes("実父：12 山田太郎", 10), "実父：12 ");
    EXPECT_EQ(common::leftSjisBytes("実父：12 山田太郎", 11), "実父：12 山");
    EXPECT_EQ(common::leftSjisBytes("ｶｶ山", 3), "ｶｶ");
}

TEST(ReadsBack, UnsafeTextsAreRecognised) {
    EXPECT_TRUE(common::readsBackUnquoted("山田　花子"));
    EXPECT_TRUE(common::readsBackUnquoted(""));
    EXPECT_TRUE(common::readsBackUnquoted("a\"b"));
    for (const char* bad : {"a,b", "a:b", "\"ab", " ab", "ab ", "a\r\nb", "a\tb"}) {
        EXPECT_FALSE(common::readsBackUnquoted(bad)) << bad;
    }
}

} // namespace
