#include "convert/G90G91Pass.h"
#include "nc/NcNumber.h"

#include "tests/support/PrintQString.h"
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *name;
    G90G91Options options;
    const char16_t *source;
    const char16_t *result;
};

G90G91Options ToIncremental(const char16_t *x = u"0", const char16_t *y = u"0", const char16_t *z = u"0")
{
    G90G91Options o;
    o.StartXText = QString::fromUtf16(x);
    o.StartYText = QString::fromUtf16(y);
    o.StartZText = QString::fromUtf16(z);
    return o;
}

G90G91Options ToAbsolute(const char16_t *x = u"0", const char16_t *y = u"0", const char16_t *z = u"0")
{
    G90G91Options o = ToIncremental(x, y, z);
    o.ToIncremental = false;
    return o;
}

G90G91Options WithComments(G90G91Options o, bool start, bool end)
{
    o.StartComment = start;
    o.EndComment = end;
    return o;
}

G90G91Options WithPoint(G90G91Options o)
{
    o.DecimalPoint = true;
    return o;
}

void RunCases(const Case *begin, const Case *end)
{
    for (const Case *c = begin; c != end; ++c)
        EXPECT_EQ(ConvertG90G91(QString::fromUtf16(c->source), c->options), QString::fromUtf16(c->result))
            << c->name;
}

} // namespace

TEST(G90G91Pass, ConvertsAndWritesTheHeaderBeforeTheFirstConvertedLine)
{
    const Case cases[] = {
        {"worked example", WithComments(ToIncremental(), true, true),
         u"O0001\r\nG90 G00 X10. Y20.\r\nX30.\r\nM30\r\n",
         u"O0001\r\n(CONVERT START G90 X0 Y0 Z0)\r\nG91\r\n(G90) G00 X10 Y20\r\nX20\r\nM30\r\n"
         u"(END POINT G90 X30 Y20 Z0)\r\n"},
        {"no comments asked for", ToIncremental(), u"O0001\r\nG90 G00 X10. Y20.\r\nX30.\r\nM30\r\n",
         u"O0001\r\nG91\r\n(G90) G00 X10 Y20\r\nX20\r\nM30\r\n"},
        {"start comment without end comment", WithComments(ToIncremental(u"1.5", u"-2", u"3"), true, false),
         u"X1.5 Z4.", u"(CONVERT START G90 X1.5 Y-2 Z3)\r\nG91\r\nX0 Z1\r\n"},
        {"incremental to absolute from 5,0,0", ToAbsolute(u"5"), u"G91 X10.\r\n", u"G90\r\n(G91) X15\r\n"},
        {"incremental to absolute accumulates", ToAbsolute(u"1", u"2", u"3"),
         u"X1. Y1. Z1.\r\nX-2.5\r\nZ0.25\r\n", u"G90\r\nX2 Y3 Z4\r\nX-0.5\r\nZ4.25\r\n"},
        {"the program's own mode words are followed", ToIncremental(), u"G90 X10.\r\nG91 X5.\r\nG90 X20.\r\n",
         u"G91\r\n(G90) X10\r\n(G91) X5\r\n(G90) X5\r\n"},
        {"an absolute program read from G91 on", ToAbsolute(), u"G91 X10.\r\nG90 X5.\r\nX7.\r\n",
         u"G90\r\n(G91) X10\r\n(G90) X5\r\nX7\r\n"},
        {"the end point is absolute in both directions",
         WithComments(ToAbsolute(u"1", u"1", u"1"), false, true), u"G91 X1. Y-3. Z0.5",
         u"G90\r\n(G91) X2 Y-2 Z1.5\r\n(END POINT G90 X2 Y-2 Z1.5)\r\n"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(G90G91Pass, EdgeCases)
{
    const Case cases[] = {
        {"no coordinates: no header, mode words commented, end point at the start",
         WithComments(ToIncremental(u"5", u"6", u"7"), true, true), u"G90 G00\r\nM30\r\n",
         u"(G90) G00\r\nM30\r\n(END POINT G90 X5 Y6 Z7)\r\n"},
        {"the = stays", ToIncremental(), u"X=10.", u"G91\r\nX=10\r\n"},
        {"a bracket is rewritten through its last digit", ToIncremental(), u"X[1+2]", u"G91\r\nX3]\r\n"},
        {"= and brackets together", ToIncremental(), u"G01 X=[2*3] Y1.", u"G91\r\nG01 X=6] Y1\r\n"},
        {"other words never change", ToIncremental(), u"G01 X10. I5. J6. K7. R8. U9. W1.",
         u"G91\r\nG01 X10 I5. J6. K7. R8. U9. W1.\r\n"},
        {"only the first G90 of a line", ToIncremental(), u"G90 G90 X1", u"G91\r\n(G90) G90 X1\r\n"},
        {"G90 then G91 on one line, inside a comment too", ToIncremental(), u"(MODE G90) G91\r\n",
         u"(MODE (G90)) (G91)\r\n"},
        {"a letter without a value stays", ToIncremental(), u"X Y5.\r\nZ\r\n", u"G91\r\nX Y5\r\nZ\r\n"},
        {"a word inside a comment is not converted", ToIncremental(u"1"), u"G01 (X10.) X5.",
         u"G91\r\nG01 (X10.) X4\r\n"},
        {"a comment over two lines", ToIncremental(), u"(START\r\nX10.)\r\nX1.",
         u"(START\r\nX10.)\r\nG91\r\nX1\r\n"},
        {"lower-case letters are no addresses", ToIncremental(), u"x10 X10", u"G91\r\nx10 X10\r\n"},
        {"empty program", ToIncremental(), u"", u"\r\n"},
        {"empty program with the end point", WithComments(ToIncremental(), true, true), u"",
         u"\r\n(END POINT G90 X0 Y0 Z0)\r\n"},
        {"a start box that is not a number has its value",
         WithComments(ToIncremental(u"abc", u"1,5", u" -2.5x"), true, false), u"Y3. Z0",
         u"(CONVERT START G90 X0 Y1 Z-2.5)\r\nG91\r\nY2 Z2.5\r\n"},
        {"three decimals, no trailing point", ToIncremental(), u"X1.23456 Y-0.0004 Z12.",
         u"G91\r\nX1.235 Y0 Z12\r\n"},
        {"decimal point: four decimals and a point always", WithPoint(ToIncremental(u"0", u"10")),
         u"X10. Y7.5 Z0.12345", u"G91\r\nX10. Y-2.5 Z0.1235\r\n"},
        {"decimal point: a value that rounds to zero", WithPoint(ToIncremental()), u"X0.00001 Y-0.00004",
         u"G91\r\nX0. Y0.\r\n"},
        {"a lone LF stays inside its line", ToIncremental(), u"X1.\nX3.\r\n", u"G91\r\nX1\nX2\r\n"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

// X and Y follow the tool in double precision, Z in single precision: 1234567.8 has no single-precision
// form (it becomes 1234567.75); a value read from the program has seven digits.
TEST(G90G91Pass, PositionPrecisions)
{
    const Case cases[] = {
        {"start point", ToIncremental(u"1234567.8", u"1234567.8", u"1234567.8"),
         u"X1234568. Y1234568. Z1234568.", u"G91\r\nX0.2 Y0.2 Z0.25\r\n"},
        {"end point Z is rounded on its single-precision digits", WithComments(ToIncremental(), false, true),
         u"X1.0005 Z1.0005", u"G91\r\nX1.001 Z1.001\r\n(END POINT G90 X1.001 Y0 Z1.001)\r\n"},
        {"header uses the start texts as typed",
         WithComments(ToIncremental(u"0.0005", u"-0.0005", u"1.0005"), true, false), u"X1.",
         u"(CONVERT START G90 X0.001 Y-0.001 Z1.001)\r\nG91\r\nX1\r\n"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

namespace {

// The X, Y and Z values of a program in order, read outside comments (for comparing two programs).
QList<std::pair<QChar, double>> Coordinates(const QString &program)
{
    QList<std::pair<QChar, double>> found;
    bool inComment = false;
    const QStringList lines = program.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (c == u'(')
                inComment = true;
            else if (c == u')')
                inComment = false;
            else if (!inComment && (c == u'X' || c == u'Y' || c == u'Z')) {
                qsizetype end = i + 1;
                while (end < line.size() && (line[end].isDigit() || line[end] == u'.' || line[end] == u'-'))
                    ++end;
                found.append({c, nc::ValueOfText(QStringView(line).mid(i + 1, end - i - 1))});
            }
        }
    }
    return found;
}

} // namespace

TEST(G90G91Pass, IncrementalAndBackGivesTheOriginalCoordinates)
{
    QString program = QStringLiteral("O1234\r\nG90 G00 X50. Z5.\r\n");
    const char *moves[] = {"G01 X48.125 Z-2.5 F0.2", "X40. Y3.333", "Z-17.75",  "G00 X100.001 Z50.",
                           "G01 X-12.5 Y-0.125",     "X0 Y0 Z0",    "Z-99.999", "X33.333 Y66.667 Z12.345"};
    for (int round = 0; round < 5; ++round)
        for (const char *move : moves)
            program += QString::fromLatin1(move) + QStringLiteral("\r\n");
    program += QStringLiteral("M30\r\n");

    const char16_t *starts[][3] = {{u"0", u"0", u"0"}, {u"200", u"-3.5", u"150.25"}};
    for (const auto &start : starts) {
        const QString incremental = ConvertG90G91(program, ToIncremental(start[0], start[1], start[2]));
        const QString absolute = ConvertG90G91(incremental, ToAbsolute(start[0], start[1], start[2]));
        const auto original = Coordinates(program);
        const auto back = Coordinates(absolute);
        ASSERT_EQ(back.size(), original.size());
        for (qsizetype i = 0; i < original.size(); ++i) {
            EXPECT_EQ(back[i].first, original[i].first) << i;
            EXPECT_NEAR(back[i].second, original[i].second, 0.0005) << i;
        }
        EXPECT_NE(incremental, program);
    }
}

TEST(G90G91Pass, ProgressIsReportedPerLineAndCanStop)
{
    G90G91Pass pass(ToIncremental());
    int lines = 0;
    pass.SetProgress([&](qsizetype, qsizetype) { return ++lines < 2; });
    const QString result = pass.Run(u"X1.\r\nX2.\r\nX3.\r\n"_qs);
    EXPECT_TRUE(pass.Cancelled());
    EXPECT_EQ(lines, 2);
    EXPECT_FALSE(result.contains(u"X3"));
}
