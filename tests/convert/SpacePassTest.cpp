#include "convert/SpacePass.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    SpaceMode mode;
    const char16_t *source;
    const char16_t *result;
};

constexpr SpaceMode Add = SpaceMode::AddBlank;
constexpr SpaceMode Number = SpaceMode::SequenceNumber;
constexpr SpaceMode Remove = SpaceMode::RemoveBlanks;

void Check(const Case &c)
{
    EXPECT_EQ(ConvertSpace(QString::fromUtf16(c.source), c.mode), QString::fromUtf16(c.result))
        << "mode " << int(c.mode) << ": " << QString::fromUtf16(c.source).toStdString();
}

} // namespace

TEST(SpacePass, AddsOneBlankAfterEveryWord)
{
    const Case cases[] = {
        {Add, u"G00X10.Z-5.(ABC DEF)", u"G00 X10. Z-5. (ABC DEF)\r\n"},
        {Add, u"G00 X10. Z-5.", u"G00 X10. Z-5.\r\n"},
        // No blank at the end of a line; a tab after a word is not a blank.
        {Add, u"X1\tY2", u"X1 \tY2\r\n"},
        {Add, u"G1X2 ", u"G1 X2 \r\n"},
        // Words without a number, lower-case letters and words inside comments get nothing.
        {Add, u"G01X#100Y1", u"G01 X#100Y1\r\n"},
        {Add, u"g01x5", u"g01x5\r\n"},
        {Add, u"G1(X1Y2)X3Y4", u"G1 (X1Y2)X3 Y4\r\n"},
        {Add, u"X1,000Y2", u"X1,000 Y2\r\n"},
        {Add, u"X1\nY2", u"X1 \nY2\r\n"},
        // A comment spans lines; on a line that continues it, a ")" in the first column does not close it.
        {Add, u"G1(A\r\nX1Y2\r\nB)X3Y4", u"G1 (A\r\nX1Y2\r\nB)X3 Y4\r\n"},
        {Add, u"(A\r\n)X1Y2\r\nX3Y4)X5Y6", u"(A\r\n)X1Y2\r\nX3Y4)X5 Y6\r\n"},
        {Add, u"(A\r\n)\r\nX1Y2", u"(A\r\n)\r\nX1 Y2\r\n"},
        {Add, u"", u"\r\n"},
        {Add, u"\r\n\r\n", u"\r\n\r\n"},
    };
    for (const Case &c : cases)
        Check(c);
}

TEST(SpacePass, NumbersEveryBlockN000)
{
    const Case cases[] = {
        {Number, u"G0X10Z5", u"N000 G00 X10 Z5\r\n"},
        {Number, u"X20Z-3", u"N000     X20 Z-3\r\n"},
        {Number, u"T0101", u"N000 T0101\r\n"},
        {Number, u"M3", u"N000 M03 \r\n"},
        {Number, u"N123 G1 X5 M3", u"N000 G01 X5 M03 \r\n"},
        {Number, u"O1000", u"O1000\r\n"},
        {Number, u"%", u"%\r\n"},
        {Number, u"(COMMENT 1)", u"(COMMENT 1)\r\n"},
        {Number, u"G12.1", u"N000 G12 \r\n"},
        {Number, u"G100M99.5", u"N000 G100 M100 \r\n"},
        {Number, u"/N10 G00", u"N000 G00 \r\n"},
        {Number, u" G1", u"N000      G01 \r\n"},
        {Number, u"G1X2\tY3", u"N000 G01 X2 \tY3\r\n"},
        {Number, u"G01X1(A)", u"N000 G01 X1 (A)\r\n"},
        // An N word with nothing after it leaves an empty block.
        {Number, u"N10", u"\r\n"},
        // Tokens that are no number: no prefix without a numbered word; "##00" leaves 1-2 as written.
        {Number, u"X#1 G[#1]", u"X#1 G[#1]\r\n"},
        {Number, u"G1-2", u"N000 G1-2 \r\n"},
        // The prefix makes the whole line be visited again, here with the comment already closed.
        {Number, u"(A\r\nX1) G1", u"(A\r\nN000     X1 ) G01 \r\n"},
        // Its own output: the short prefix stays, the long one gains four blanks.
        {Number, u"N000 G00 X10 Z5", u"N000 G00 X10 Z5\r\n"},
        {Number, u"N000 G01 X5 M03 ", u"N000 G01 X5 M03 \r\n"},
        {Number, u"N000     X20 Z-3", u"N000         X20 Z-3\r\n"},
        {Number, u"", u"\r\n"},
    };
    for (const Case &c : cases)
        Check(c);
}

TEST(SpacePass, RemovesBlanksOutsideComments)
{
    const Case cases[] = {
        {Remove, u"G00 X10. Z-5. (ABC DEF)", u"G00X10.Z-5.(ABC DEF)\r\n"},
        {Remove, u"X1\tY2", u"X1\tY2\r\n"},
        {Remove, u"   ", u"\r\n"},
        {Remove, u"G1 (A B\r\nC D) X 1", u"G1(A B\r\nC D)X1\r\n"},
        {Remove, u"x 1 % 2", u"x1%2\r\n"},
    };
    for (const Case &c : cases)
        Check(c);
}

// A single line of any length is converted in one go.
TEST(SpacePass, LongLines)
{
    const qsizetype words = 200000;
    QString source;
    QString added;
    for (qsizetype i = 0; i < words; ++i) {
        source += QStringView(u"X1");
        added += QStringView(i + 1 < words ? u"X1 " : u"X1");
    }
    EXPECT_EQ(ConvertSpace(source, SpaceMode::AddBlank), added + u"\r\n"_qs);
    EXPECT_EQ(ConvertSpace(QString(1000000, u' ') + u"X1"_qs, SpaceMode::RemoveBlanks), u"X1\r\n");
}
