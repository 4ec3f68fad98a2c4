#include "convert/RotaryAxisPass.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *name;
    const char16_t *source;
    const char16_t *result;
};

RotaryAxisOptions Options(const char16_t *axis, const char16_t *forward = u"15",
                          const char16_t *reverse = u"16")
{
    return {QString::fromUtf16(axis), QString::fromUtf16(forward), QString::fromUtf16(reverse)};
}

void RunCases(const RotaryAxisOptions &options, const Case *begin, const Case *end)
{
    for (const Case *c = begin; c != end; ++c)
        EXPECT_EQ(ConvertRotaryAxis(QString::fromUtf16(c->source), options), QString::fromUtf16(c->result))
            << c->name;
}

} // namespace

TEST(RotaryAxisPass, AppendsTheCodeWhenTheDirectionChanges)
{
    const Case cases[] = {
        {"worked example", u"G00 C90.\r\nC350.\r\nC10.\r\nC5. M16\r\nC0.\r\n",
         u"G00 C90.\r\nC350. M16\r\nC10. M15\r\nC5. M16\r\nC0.\r\n"},
        {"forward is in force at the start", u"C90.\r\n", u"C90.\r\n"},
        {"no axis word, no code", u"G00 X10.\r\nZ5. M3\r\n", u"G00 X10.\r\nZ5. M3\r\n"},
        {"the line already holds the code", u"C270. M16\r\n", u"C270. M16\r\n"},
        {"a code in the program sets the direction in force", u"M16\r\nC90.\r\n", u"M16\r\nC90. M15\r\n"},
        {"exactly 180 forward goes in reverse", u"C180.\r\n", u"C180. M16\r\n"},
        {"exactly 180 back goes in reverse", u"C270. M16\r\nM15\r\nC90.\r\n",
         u"C270. M16\r\nM15\r\nC90. M16\r\n"},
        {"more than 180 back goes forward", u"C350. M16\r\nC100.\r\n", u"C350. M16\r\nC100. M15\r\n"},
        {"360 stays 360", u"C360.\r\n", u"C360. M16\r\n"},
        {"a negative angle is brought into range", u"C-10.\r\n", u"C-10. M16\r\n"},
        {"another M code on the line", u"M3 C350.\r\n", u"M3 C350. M16\r\n"},
        {"the forward code does not stop a reverse move", u"C270. M15\r\n", u"C270. M15 M16\r\n"},
        {"= and brackets", u"C=350.\r\nC[5+5]\r\n", u"C=350. M16\r\nC[5+5] M15\r\n"},
        {"comments are not read", u"(C350.)\r\nG00 (TURN\r\nC350.)\r\nC10.\r\n",
         u"(C350.)\r\nG00 (TURN\r\nC350.)\r\nC10.\r\n"},
        {"a lone LF stays inside its line", u"C90.\nC350.\r\n", u"C90.\nC350. M16\r\n"},
        {"an angle that is not a number is 0", u"C350.\r\nC,\r\n", u"C350. M16\r\nC, M15\r\n"},
    };
    RunCases(RotaryAxisOptions(), std::begin(cases), std::end(cases));
}

TEST(RotaryAxisPass, ProgramEnds)
{
    const Case cases[] = {
        {"empty program stays empty", u"", u""},
        {"no line end is added", u"C90.", u"C90."},
        {"a move on the last line without CR LF gets its code", u"C90.\r\nC350.", u"C90.\r\nC350. M16"},
        {"an empty last line", u"C350.\r\n\r\n", u"C350. M16\r\n\r\n"},
        {"a trailing lone CR", u"C350.\r", u"C350.\r M16"},
    };
    RunCases(RotaryAxisOptions(), std::begin(cases), std::end(cases));
}

// In mode 91 the angle counts from the previous one and is brought back into range by at most one turn.
TEST(RotaryAxisPass, IncrementalAngles)
{
    const Case cases[] = {
        {"accumulates", u"G91 C200.\r\nC-10.\r\n", u"G91 C200. M16\r\nC-10.\r\n"},
        {"below zero", u"G91 C-90.\r\n", u"G91 C-90. M16\r\n"},
        {"one turn at most", u"G91 C800.\r\nC-100.\r\nG90 C80.\r\n",
         u"G91 C800. M16\r\nC-100.\r\nG90 C80. M15\r\n"},
        {"back to absolute", u"G91 C100.\r\nG90 C50.\r\n", u"G91 C100.\r\nG90 C50. M16\r\n"},
    };
    RunCases(RotaryAxisOptions(), std::begin(cases), std::end(cases));
}

TEST(RotaryAxisPass, AxisLettersAndCodes)
{
    const struct
    {
        const char *name;
        RotaryAxisOptions options;
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {"axis A", Options(u"A"), u"A350.\r\nC10.\r\n", u"A350. M16\r\nC10.\r\n"},
        {"lower-case axis letter matches nothing", Options(u"c"), u"C350.\r\nc350.\r\n",
         u"C350.\r\nc350.\r\n"},
        {"two-letter axis matches nothing", Options(u"CC"), u"C350.\r\n", u"C350.\r\n"},
        {"empty axis matches nothing", Options(u""), u"C350.\r\n", u"C350.\r\n"},
        {"a digit is no axis letter", Options(u"1"), u"G01 X1350.\r\n", u"G01 X1350.\r\n"},
        {"M115 and M116", Options(u"C", u"115", u"116"), u"C350.\r\nC10.\r\n",
         u"C350. M116\r\nC10. M115\r\n"},
        {"codes are written as typed", Options(u"C", u"015", u"016"), u"C350.\r\nC10.\r\n",
         u"C350. M016\r\nC10. M015\r\n"},
        {"codes are compared by value", Options(u"C", u"015", u"016"), u"C350. M16\r\n", u"C350. M16\r\n"},
        {"empty codes append nothing", Options(u"C", u"", u""), u"C350.\r\nC10.\r\n", u"C350.\r\nC10.\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ConvertRotaryAxis(QString::fromUtf16(c.source), c.options), QString::fromUtf16(c.result))
            << c.name;
}

TEST(RotaryAxisPass, ProgressRunsOverTheText)
{
    RotaryAxisPass pass(RotaryAxisOptions{});
    qsizetype last = 0;
    qsizetype length = 0;
    pass.SetProgress([&](qsizetype done, qsizetype total) {
        EXPECT_GT(done, last);
        last = done;
        length = total;
        return true;
    });
    EXPECT_EQ(pass.Convert(u"C90.\r\nC350."_qs), u"C90.\r\nC350. M16");
    EXPECT_EQ(last, length);
}
