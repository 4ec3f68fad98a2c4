#include "nc/ConversionPass.h"
#include "tests/nc/PassInPieces.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Marks every address letter the pass hands over with "|", so the test sees what the frame delivered.
class MarkLetters : public ConversionPass
{
protected:
    void HandleChar() override
    {
        if (Pass.CurrentChar >= u'A' && Pass.CurrentChar <= u'Z') {
            ReplaceInLine(Scan.Pos, Scan.Pos, QString(u'|') + Pass.CurrentChar);
            ++Scan.Pos;
        }
    }
};

class StopOnM : public ConversionPass
{
protected:
    void HandleChar() override
    {
        if (Pass.CurrentChar == u'M')
            Fail(QStringLiteral("stopped"));
    }
};

} // namespace

TEST(ConversionPass, CutsLinesAndSkipsComments)
{
    struct Case
    {
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {u"", u"\r\n"},
        {u"G01 X1", u"|G01 |X1\r\n"},
        {u"G01\r\nX1\r\n", u"|G01\r\n|X1\r\n"},
        {u"G01 (MOVE X10) X20", u"|G01 (MOVE X10) |X20\r\n"},
        {u"G1 (OPEN\r\nX10 Y\r\nZ) X2\r\n", u"|G1 (OPEN\r\nX10 Y\r\nZ) |X2\r\n"},
        {u"X10\nY20\r\n", u"|X10\n|Y20\r\n"},
        {u"X10\rY20", u"|X10\r|Y20\r\n"},
        {u"(A\r\n)\r\nX1", u"(A\r\n)\r\n|X1\r\n"},
        // On a line that continues a comment the first character is not looked at for ")".
        {u"(A\r\n) X1\r\nY2) Z3", u"(A\r\n) X1\r\nY2) |Z3\r\n"},
        {u"(A\r\nB) X1", u"(A\r\nB) |X1\r\n"},
        {u"()X1", u"()|X1\r\n"},
        {u"X1(", u"|X1(\r\n"},
        {u"(ABC X", u"(ABC X\r\n"},
        {u"\r\n\r\n", u"\r\n\r\n"},
        {u"x1 (X)", u"x1 (X)\r\n"},
    };
    for (const Case &c : cases) {
        MarkLetters pass;
        EXPECT_EQ(pass.Run(QString::fromUtf16(c.source)), QString::fromUtf16(c.result))
            << QString::fromUtf16(c.source).toStdString();
    }
}

TEST(ConversionPass, EveryPassStartsOutsideAComment)
{
    MarkLetters pass;
    EXPECT_EQ(pass.Run(u"(OPEN"_qs), u"(OPEN\r\n");
    EXPECT_EQ(pass.Run(u"X1"_qs), u"|X1\r\n");
}

TEST(ConversionPass, FailureKeepsTheLinesBefore)
{
    StopOnM pass;
    const QString result = pass.Run(u"G1\r\nM3\r\nG2\r\n"_qs);
    EXPECT_TRUE(pass.Failed());
    EXPECT_EQ(pass.FailureMessage(), u"stopped");
    EXPECT_EQ(result, u"G1\r\n");
}

TEST(ConversionPass, ProgressCanStopThePass)
{
    MarkLetters pass;
    int calls = 0;
    pass.SetProgress([&](qsizetype done, qsizetype total) {
        EXPECT_LE(done, total);
        return ++calls < 2;
    });
    pass.Run(u"X1\r\nX2\r\nX3\r\n"_qs);
    EXPECT_TRUE(pass.Cancelled());
    EXPECT_EQ(calls, 2);
}

namespace {

template <typename Pass> QString RunInPieces(const QString &program, const std::vector<qsizetype> &cuts)
{
    Pass pass;
    return RunPassInPieces(pass, program, cuts);
}

} // namespace

// Cut into pieces anywhere (inside a line, a comment, a CR LF), a program gives the result it gives whole.
TEST(ConversionPass, PiecesGiveWhatTheWholeGives)
{
    const QString programs[] = {
        QString(),
        u"\r\n"_qs,
        u"G01 X1"_qs,
        u"G01\r\nX1\r\n"_qs,
        u"G1 (OPEN\r\nX10 Y\r\nZ) X2\r\nM30"_qs,
        u"X10\nY20\r\r\n(A\r\n) X1\r\nY2) Z3\r"_qs,
        u"N1 G00 X1. Z2.\r\n\r\nN2 (C) G01 X-3.5 F0.2\r\nM3\r\nG4\r\n"_qs,
    };
    std::mt19937 random(11);
    for (const QString &program : programs) {
        MarkLetters whole;
        const QString expected = whole.Run(program);
        StopOnM stopping;
        const QString expectedStopped = stopping.Run(program);
        for (int attempt = 0; attempt < 200; ++attempt) {
            std::vector<qsizetype> cuts;
            for (qsizetype at = 0; at <= program.size(); ++at)
                if (random() % 4 == 0)
                    cuts.push_back(at);
            ASSERT_EQ(RunInPieces<MarkLetters>(program, cuts), expected) << program.toStdString();
            ASSERT_EQ(RunInPieces<StopOnM>(program, cuts), expectedStopped) << program.toStdString();
        }
    }
}
