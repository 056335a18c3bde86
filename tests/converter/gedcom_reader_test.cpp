// The GEDCOM line grammar, the encodings and the damage a file can have, on files written by
// hand.
#include "converter/gedcom_reader.h"

#include "common/cp932.h"
#include "common/file_io.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using converter::GedcomFile;
using converter::GedcomVersion;

namespace {

std::string ged(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string s;
    for (const auto& l : lines) {
        s += l + end;
    }
    return s;
}

std::string head551(const std::string& charset = "UTF-8") {
    return "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR " + charset +
           "\r\n";
}

const converter::GedcomNode& first(const GedcomFile& f, std::string_view tag) {
    for (const auto& n : f.nodes) {
        if (n.tag() == tag) {
            return n;
        }
    }
    throw std::runtime_error("no " + std::string(tag));
}

std::vector<int> lines(const std::vector<converter::GedcomFinding>& findings) {
    std::vector<int> out;
    for (const auto& f : findings) {
        out.push_back(f.line);
    }
    return out;
}

std::string refusal(const std::string& bytes) {
    try {
        converter::readGedcom(bytes, "in.ged");
    } catch (const common::FileError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(GedcomLines, LevelsSubtreesAndContinuation) {
    // LF line ends, leading spaces, a CONC that must not lose the space at its start, a CONT
    // carrying an empty line, and "@@" standing for "@".
    const GedcomFile f = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "1 CHAR UTF-8", "0 @I1@ INDI",
             "  1 NAME 太郎 /山田/", "1 NOTE 第一@@行", "2 CONC の続き", "2 CONC  と空白", "2 CONT",
             "2 CONT 三行目", "1 BIRT", "2 DATE 1 JAN 1900", "0 TRLR"},
            "\n"),
        "in.ged");
    EXPECT_TRUE(f.errors.empty()) << f.errors.at(0).message();
    EXPECT_EQ(f.version, GedcomVersion::V551);
    ASSERT_EQ(f.nodes.size(), 10u); // CONC and CONT are folded into the NOTE
    EXPECT_EQ(first(f, "NOTE").value, "第一@行の続き と空白\n\n三行目");
    EXPECT_EQ(first(f, "NOTE").line, 7);
    EXPECT_EQ(first(f, "DATE").line, 13);
    const long indi = f.record("@I1@");
    ASSERT_EQ(indi, 4);
    std::vector<std::string> children;
    f.forChildren(static_cast<std::size_t>(indi),
                  [&](std::size_t c) { children.emplace_back(f.nodes[c].tag()); });
    EXPECT_EQ(children, (std::vector<std::string>{"NAME", "NOTE", "BIRT"}));
    EXPECT_EQ(
        f.nodes[static_cast<std::size_t>(f.child(static_cast<std::size_t>(indi), "BIRT"))].end,
        9u); // BIRT's subtree holds its DATE
    EXPECT_EQ(f.record("@I2@"), -1);
}

TEST(GedcomLines, Version7EscapesOnlyALeadingAt) {
    const GedcomFile f = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 7.0", "0 @I1@ INDI", "1 NOTE @@home@@ and a@@b",
             "2 CONT @@second", "1 FAMC @VOID@  ", "0 TRLR"}),
        "in.ged");
    EXPECT_TRUE(f.errors.empty()) << f.errors.at(0).message();
    EXPECT_EQ(f.version, GedcomVersion::V70);
    EXPECT_EQ(first(f, "NOTE").value, "@home@@ and a@@b\n@second");
    EXPECT_TRUE(first(f, "FAMC").pointer);       // @VOID@ points at nothing and is no error
    EXPECT_EQ(first(f, "FAMC").value, "@VOID@"); // the spaces after a pointer are not its own
}

TEST(GedcomLines, DamagedLinesAreNamedByTheirLine) {
    const GedcomFile f = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "0 @I1@ INDI", "NAME 太郎 /山田/", "1 BIRT",
             "3 DATE 1 JAN 1900", "1 N@ME x", "1", "1 @X1@ NOTE inner", "0 CONT stray",
             "0 @I1@ INDI", "1 FAMS @F9@", "1 BIRTH 1900", "1 _MYTAG ok", "0 TRLR"}),
        "in.ged");
    EXPECT_EQ(lines(f.errors), (std::vector<int>{5, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_NE(f.errors[0].message().find("5 行目"), std::string::npos);
    EXPECT_NE(f.errors[1].text.find("1 から 3 へ飛んで"), std::string::npos) << f.errors[1].text;
    EXPECT_NE(f.errors[5].text.find("CONT"), std::string::npos);
    EXPECT_NE(f.errors[6].text.find("二度"), std::string::npos);
    EXPECT_NE(f.errors[7].text.find("「@F9@」のレコードがありません"), std::string::npos)
        << f.errors[7].text;
    // An unknown tag is read but said; a user tag is not.
    ASSERT_EQ(f.notices.size(), 1u);
    EXPECT_EQ(f.notices[0].line, 14);
    EXPECT_NE(f.notices[0].text.find("BIRTH"), std::string::npos);
}

TEST(GedcomLines, TheTrailerAndWhatComesAfterIt) {
    const GedcomFile cut = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "0 @I1@ INDI", "1 NAME 花子 //"}), "in.ged");
    ASSERT_EQ(cut.errors.size(), 1u);
    EXPECT_EQ(cut.errors[0].line, 5);
    EXPECT_NE(cut.errors[0].text.find("TRLR"), std::string::npos);

    const GedcomFile after = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "0 TRLR", "0 @I1@ INDI", "1 SEX M"}), "in.ged");
    EXPECT_EQ(lines(after.errors), std::vector<int>{5});
}

TEST(GedcomLines, ALongerLineThan551AllowsIsReadWholeAndSaid) {
    const std::string note(300, 'x');
    const GedcomFile f = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 5.5.1", "0 @I1@ INDI", "1 NOTE " + note,
             "1 NOTE " +
                 [] {
                     std::string s;
                     for (int k = 0; k < 100; ++k) {
                         s += "あ"; // 300 bytes, 100 characters
                     }
                     return s;
                 }(),
             "0 TRLR"}),
        "in.ged");
    EXPECT_TRUE(f.errors.empty());
    ASSERT_EQ(lines(f.notices), std::vector<int>{5}); // 255 characters, not bytes
    EXPECT_NE(f.notices[0].text.find("307 文字"), std::string::npos) << f.notices[0].text;
    EXPECT_EQ(first(f, "NOTE").value, note);
    // 7.0 has no line limit.
    const GedcomFile seven = converter::readGedcom(
        ged({"0 HEAD", "1 GEDC", "2 VERS 7.0", "0 @I1@ INDI", "1 NOTE " + note, "0 TRLR"}),
        "in.ged");
    EXPECT_TRUE(seven.notices.empty());
}

TEST(GedcomLines, FilesThatAreNoGedcomAtAll) {
    EXPECT_NE(refusal(""), "(read)");
    EXPECT_NE(refusal("0 @I1@ INDI\r\n0 TRLR\r\n").find("0 HEAD"), std::string::npos);
    EXPECT_NE(refusal("0 HEAD\r\n1 GEDC\r\n2 VERS 4.0\r\n0 TRLR\r\n").find("4.0"),
              std::string::npos);
    EXPECT_NE(refusal(head551("UTF-32") + "0 TRLR\r\n").find("UTF-32"), std::string::npos);
}

TEST(GedcomEncodings, EachDeclaredEncodingIsReadAsDeclared) {
    const std::string body = "0 @I1@ INDI\r\n1 NAME 太郎 /山田/\r\n0 TRLR\r\n";
    // UTF-8 with and without the byte-order mark; undeclared 5.5.1 and 7.0 are UTF-8 too.
    for (const std::string& bytes : {head551() + body, "\xEF\xBB\xBF" + head551() + body,
                                     "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n" + body,
                                     "0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n" + body}) {
        const GedcomFile f = converter::readGedcom(bytes, "in.ged");
        EXPECT_EQ(first(f, "NAME").value, "太郎 /山田/");
        EXPECT_EQ(f.charset, converter::GedcomCharset::Utf8);
    }
    for (const char* name : {"SHIFT_JIS", "Shift-JIS", "SJIS"}) {
        const GedcomFile f =
            converter::readGedcom(common::encodeCp932(head551(name) + body + ""), "in.ged");
        EXPECT_EQ(first(f, "NAME").value, "太郎 /山田/") << name;
        EXPECT_EQ(f.charset, converter::GedcomCharset::ShiftJis);
    }
    // ANSEL writes a diacritic before its letter: "Mu\xE8ller" is M, u, combining diaeresis.
    const GedcomFile ansel = converter::readGedcom(
        head551("ANSEL") + "0 @I1@ INDI\r\n1 NAME J\xE2"
                           "erome /M\xE8uller/\r\n1 NOTE \xA5 \xB1 \xC3\xE8\r\n0 TRLR\r\n",
        "in.ged");
    EXPECT_EQ(first(ansel, "NAME").value, "Je\u0301rome /Mu\u0308ller/");
    EXPECT_EQ(first(ansel, "NOTE").value, "\u00C6 \u0142 \u00A9\u0308"); // a last mark stays
}

TEST(GedcomEncodings, AnEncodingDeclaredWronglyIsRefusedWithItsLine) {
    const std::string body = "0 @I1@ INDI\r\n1 NAME 太郎 /山田/\r\n0 TRLR\r\n";
    // Shift-JIS bytes under "UTF-8": the line, and what the bytes look like.
    const std::string sjis = refusal(head551() + common::encodeCp932(body));
    EXPECT_NE(sjis.find("7 行目"), std::string::npos) << sjis;
    EXPECT_NE(sjis.find("Shift-JIS で書かれているよう"), std::string::npos) << sjis;
    // Undeclared 5.5.1 and 7.0 are UTF-8, and say so when they are not.
    EXPECT_NE(refusal("0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n" + common::encodeCp932(body))
                  .find("CHAR がないので UTF-8 として読みました"),
              std::string::npos);
    EXPECT_NE(refusal("0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n" + common::encodeCp932(body))
                  .find("5 行目を読めません：UTF-8 として正しくないバイトがあります（GEDCOM 7.0"),
              std::string::npos);
    // UTF-8 bytes under "SHIFT_JIS" or "ANSEL" (both would read them as something else).
    const std::string utf8 = refusal(head551("SHIFT_JIS") + body);
    EXPECT_NE(utf8.find("7 行目"), std::string::npos) << utf8;
    EXPECT_NE(utf8.find("UTF-8 で書かれています"), std::string::npos) << utf8;
    EXPECT_NE(refusal(head551("ANSEL") + body).find("UTF-8 で書かれています"), std::string::npos);
    // A UTF-8 byte-order mark before another declaration; bytes ANSEL does not have; ASCII
    // with a byte above 127; UTF-16.
    EXPECT_NE(refusal("\xEF\xBB\xBF" + head551("ANSEL") + "0 TRLR\r\n").find("バイト順マーク"),
              std::string::npos);
    EXPECT_NE(refusal(head551("ANSEL") + "0 @I1@ INDI\r\n1 NOTE \x90\r\n0 TRLR\r\n").find("7 行目"),
              std::string::npos);
    EXPECT_NE(refusal(head551("ASCII") + "0 @I1@ INDI\r\n1 NOTE \xE9t\xE9\r\n0 TRLR\r\n")
                  .find("ASCII にない"),
              std::string::npos);
    EXPECT_NE(refusal(std::string("\xFF\xFE\x30\x00", 4)).find("UTF-16"), std::string::npos);
    EXPECT_NE(refusal(head551("UNICODE") + "0 TRLR\r\n").find("UTF-16"), std::string::npos);
}

} // namespace
