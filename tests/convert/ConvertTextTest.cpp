#include "convert/ConvertText.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

// The first whole occurrence is bracketed, also where the first letter stands earlier on its own.
TEST(ConvertText, BracketFirstPutsTheFirstOccurrenceInBrackets)
{
    struct Case
    {
        const char16_t *line;
        const char16_t *word;
        const char16_t *result;
    } cases[] = {
        {u"G90 X1.", u"G90", u"(G90) X1."},
        {u"G01G90G90", u"G90", u"G01(G90)G90"},
        {u"GG9G90", u"G90", u"GG9(G90)"},
        {u"X1.G9", u"G90", u"X1.G9"},
        {u"", u"G91", u""},
        {u"N1G91", u"G91", u"N1(G91)"},
        {u"G9G91G", u"G91", u"G9(G91)G"},
    };
    for (const Case &c : cases) {
        QString line = QString::fromUtf16(c.line);
        convert::BracketFirst(line, QStringView(c.word));
        EXPECT_EQ(line, QString::fromUtf16(c.result)) << QString::fromUtf16(c.line).toStdString();
    }
}
