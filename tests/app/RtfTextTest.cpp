#include "app/window/RtfText.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *what;
    QByteArray rtf;
    QString text;
    bool damaged = false; // braces that do not pair up
};

TEST(RtfText, TakesThePlainText)
{
    const Case cases[] = {
        {"a pane's own file",
         QByteArray(
             "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
             "\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
             "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs24 O1000(\\'83\\'65\\'83\\'58\\'83\\'67)\\par\r\n"
             "G00 X1.\\par\r\n}\r\n"),
         QStringLiteral("O1000(テスト)\r\nG00 X1.\r\n")},
        {"trail byte written as a plain character", QByteArray("{\\rtf1 (\\'83e)}"), QStringLiteral("(テ)")},
        {"raw code page 932 bytes", QByteArray("{\\rtf1 \x83\x65\x83\x58}"), QStringLiteral("テス")},
        {"unicode with its fallback skipped", QByteArray("{\\rtf1\\uc1 A\\u12354?B}"),
         QStringLiteral("AあB")},
        {"two-byte fallback", QByteArray("{\\rtf1\\uc2 \\u12354\\'82\\'a0X}"), QStringLiteral("あX")},
        {"negative unicode", QByteArray("{\\rtf1\\u-257?}"), QString(QChar(0xFEFF))},
        {"line, tab and escaped symbols", QByteArray("{\\rtf1 a\\line b\\tab c \\{\\}\\\\}"),
         QStringLiteral("a\r\nb\tc {}\\")},
        {"ignorable destinations", QByteArray("{\\rtf1{\\*\\generator Riched20 10.0;}{\\info{\\title T}}X}"),
         QStringLiteral("X")},
        {"style sheet and nested font table",
         QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\fonttbl{\\f0 A;}{\\f1 B;}}Y}"),
         QStringLiteral("Y")},
        {"group state ends with its group", QByteArray("{\\rtf1 {\\uc0 \\u65 B}\\u66 CD}"),
         QStringLiteral("ABBD")},
        {"binary data is skipped", QByteArray("{\\rtf1 A{\\pict\\bin4 }}{\\}B}"), QStringLiteral("AB")},
        {"line breaks in the file are not text", QByteArray("{\\rtf1 G0\r\n1\\par}"),
         QStringLiteral("G01\r\n")},
        {"backslash before a line break is a paragraph", QByteArray("{\\rtf1 A\\\r\nB}"),
         QStringLiteral("A\r\nB")},
        {"text after the document group", QByteArray("{\\rtf1 A}B"), QStringLiteral("A")},
        {"extra closing braces", QByteArray("{\\rtf1 {A}}}}B"), QStringLiteral("A")},
        {"unclosed groups", QByteArray("{\\rtf1 {A{\\b B"), QStringLiteral("AB"), true},
        {"cut off inside an escape", QByteArray("{\\rtf1 A\\'8"), QStringLiteral("A"), true},
        {"cut off after a backslash", QByteArray("{\\rtf1 A\\"), QStringLiteral("A"), true},
        {"huge parameter", QByteArray("{\\rtf1 \\u99999999999999999999 A\\bin99999999999999 B}"),
         QStringLiteral("A"), true},
    };
    for (const Case &c : cases) {
        const rtf::PlainTextResult read = rtf::ReadPlainText(c.rtf);
        EXPECT_EQ(read.text, c.text) << c.what;
        EXPECT_EQ(read.damaged, c.damaged) << c.what;
    }
}

TEST(RtfText, KnowsRichTextByItsOpening)
{
    EXPECT_TRUE(rtf::IsRichText("{\\rtf1 x}"));
    EXPECT_FALSE(rtf::IsRichText("{\\RTF1 x}"));
    EXPECT_FALSE(rtf::IsRichText(" {\\rtf1 x}"));
    EXPECT_FALSE(rtf::IsRichText("%\r\nO1000\r\n"));
}

TEST(RtfText, SurvivesDeepNesting)
{
    constexpr int Depth = 200000;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(Depth, '{') + "X" + QByteArray(Depth, '}') + "Y}";
    EXPECT_EQ(rtf::PlainText(rtf), QStringLiteral("XY"));
    const QByteArray skipped = "{\\rtf1 {\\*" + QByteArray(Depth, '{') + "X" + QByteArray(Depth, '}') + "}Z}";
    EXPECT_EQ(rtf::PlainText(skipped), QStringLiteral("Z"));
    // Nesting the reader cannot keep apart is reported, even where the braces pair up.
    EXPECT_TRUE(rtf::ReadPlainText(rtf).damaged);
    EXPECT_FALSE(
        rtf::ReadPlainText("{\\rtf1 " + QByteArray(100, '{') + "X" + QByteArray(100, '}') + "}").damaged);
}

} // namespace
