#include "convert/XyCxPass.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *name;
    const char16_t *source;
    const char16_t *result;
};

void RunCases(XyCxDirection direction, const Case *begin, const Case *end)
{
    for (const Case *c = begin; c != end; ++c)
        EXPECT_EQ(ConvertXyCx(QString::fromUtf16(c->source), direction), QString::fromUtf16(c->result))
            << c->name;
}

} // namespace

TEST(XyCxPass, ToCx)
{
    const Case cases[] = {
        {"worked example", u"G01 X10. Y0\r\nY10.\r\nY10.\r\n", u"G01 C0 X20\r\nC45X28.284\r\n\r\n"},
        {"no blanks of its own", u"X10.Y10.", u"C45X28.284\r\n"},
        {"the blank between stays", u"X10. Y10.", u"C45 X28.284\r\n"},
        {"origin", u"X0 Y0", u"C270 X0\r\n"},
        {"negative x on the axis", u"X-10. Y0", u"C180 X20\r\n"},
        {"positive x on the axis", u"X10. Y0", u"C0 X20\r\n"},
        {"second quadrant", u"X-10. Y10.", u"C135 X28.284\r\n"},
        {"fourth quadrant", u"X10. Y-10.", u"C315 X28.284\r\n"},
        {"third quadrant", u"X-10. Y-10.", u"C225 X28.284\r\n"},
        {"on the positive y axis", u"X0 Y5.", u"C90 X10\r\n"},
        {"on the negative y axis", u"X0 Y-5.", u"C270 X10\r\n"},
        {"three decimals", u"X3. Y4.\r\nX-3.", u"C53.13 X10\r\nC126.87\r\n"},
        {"unchanged words are left out, blanks stay", u"X10. Y10.\r\nX10. Y10.", u"C45 X28.284\r\n \r\n"},
        {"a letter without a value uses the last value", u"X10. Y0\r\nX Y5.",
         u"C0 X20\r\nC26.565 X22.361\r\n"},
        {"a line with a C word is copied, its X still counts", u"C30. X10.\r\nY10.",
         u"C30. X10.\r\nC45X28.284\r\n"},
        {"other words stay", u"G01 X10. Y10. Z-5. F0.2 I1. J2.", u"G01 C45 X28.284 Z-5. F0.2 I1. J2.\r\n"},
        {"Y before X", u"Y10. X10.", u"C45 X28.284\r\n"},
        {"no Y letter", u"G01 X10.", u"G01 C0X20\r\n"},
        {"no X letter", u"G01 Y10. F1.", u"G01 C90X20 F1.\r\n"},
        {"a word inside a comment is not read", u"X10. (Y5.) Y10.", u"C45 (Y5.) X28.284\r\n"},
        {"brackets and =", u"X[5+5] Y=10.", u"C45] X28.284\r\n"},
        {"lower case is no address", u"x10. Y10.", u"x10. C90X20\r\n"},
        {"lines without the words", u"G00 Z5.\r\n\r\n%", u"G00 Z5.\r\n\r\n%\r\n"},
        {"empty program", u"", u"\r\n"},
        // The diameter is single precision: 2 x 0.50025 is 1.0005 in seven digits (1.00049996... as a
        // double).
        {"diameter rounded on its single-precision digits", u"X0.50025 Y0", u"C0 X1.001\r\n"},
        // 20000.0009 has no single-precision form finer than 20000.
        {"diameter held in single precision", u"X10000. Y3.", u"C0.017 X20000\r\n"},
    };
    RunCases(XyCxDirection::ToCx, std::begin(cases), std::end(cases));
}

TEST(XyCxPass, ToXy)
{
    const Case cases[] = {
        {"worked example", u"G01 C90. X20.", u"G01 X0 Y10\r\n"},
        {"X before C", u"X20. C30.", u"X8.66 Y5\r\n"},
        {"a lone blank left before the Y word goes", u"C90. X20.\r\nC90. X20.\r\n", u"X0 Y10\r\n\r\n"},
        {"negative angle turns by a full turn", u"C-90. X20.", u"X0 Y-10\r\n"},
        {"zero angle", u"C0 X20.", u"X10 Y0\r\n"},
        {"a line with a Y word is copied", u"C30. Y5.", u"C30. Y5.\r\n"},
        {"only a C word", u"C45. X10.\r\nC135.", u"X3.536 Y3.536\r\nX-3.536\r\n"},
        {"other words stay", u"G01 C120. X7. Z-1. F0.1", u"G01 X-1.75 Y3.031 Z-1. F0.1\r\n"},
        // sin(3.14159265358979) is 3.2e-15, sin of the exact pi 1.2e-16: with a radius of 1e12 the third
        // decimal shows which value was used.
        {"the angle uses 3.14159265358979", u"C180. X2000000000000.", u"X-1000000000000 Y0.003\r\n"},
    };
    RunCases(XyCxDirection::ToXy, std::begin(cases), std::end(cases));
}

// Incremental values are added to the last absolute position, and the G91 word becomes a comment.
TEST(XyCxPass, IncrementalPositionsAccumulate)
{
    EXPECT_EQ(ConvertXyCx(u"G91 X10. Y10.\r\nX10.\r\nG90 X10."_qs, XyCxDirection::ToCx),
              u"(G91) C45 X28.284\r\nC26.565X44.721\r\nG90 C45X28.284\r\n");
    EXPECT_EQ(ConvertXyCx(u"G91 C90. X20.\r\nC90."_qs, XyCxDirection::ToXy), u"(G91) X0 Y10\r\nX-10Y0\r\n");
    EXPECT_EQ(ConvertXyCx(u"G91\r\nG91 G91"_qs, XyCxDirection::ToCx), u"(G91)\r\n(G91) G91\r\n");
}
