#include "compare/WordDiff.h"

#include <gtest/gtest.h>

namespace {

using compare::DiffWords;
using compare::LineSpan;

// The spans of one line written as "[X10.][ ]": the text of each span in order.
std::string Spans(QStringView line, const std::vector<LineSpan> &spans)
{
    std::string out;
    for (const LineSpan &s : spans)
        out += '[' + line.mid(s.start, s.length).toString().toStdString() + ']';
    return out;
}

TEST(WordDiff, MarksTheWordsThatDiffer)
{
    const struct
    {
        const char16_t *source;
        bool sourceInComment;
        const char16_t *result;
        bool resultInComment;
        const char *sourceSpans;
        const char *resultSpans;
    } cases[] = {
        {u"G00 X10. Z5.", false, u"G00 X10000 Z5000", false, "[X10.][Z5.]", "[X10000][Z5000]"},
        {u"G01 X20. F0.2", false, u"G01 X20. F200", false, "[F0.2]", "[F200]"},
        // removed blanks are marked in the source, the words around them are not
        {u"G00 X1. Z2.", false, u"G00X1.Z2.", false, "[ ][ ]", ""},
        {u"G00X1.", false, u"G00 X1.", false, "", "[ ]"},
        {u"G00 X1. Z2.", false, u"G00 U1 W2", false, "[X1.][Z2.]", "[U1][W2]"},
        // neighbours join into one span
        {u"N10 G00 X1.", false, u"G00 X1.", false, "[N10 ]", ""},
        {u"X1.", false, u"X1.", false, "", ""},
        {u"", false, u"G00", false, "", "[G00]"},
        // a comment is one piece, read with the comment step: a word inside it is comment text
        {u"G00 (X1.) X2.", false, u"G00 (X9.) X2.", false, "[(X1.)]", "[(X9.)]"},
        // a line that continues a comment is comment text up to its ")"
        {u"X10) X20", true, u"X10) X30", true, "[X20]", "[X30]"},
        {u"X10) X20", true, u"X10) X20", false, "[X10) ]", "[X10) ]"},
        // a lone CR or LF inside a line is one more character of it
        {u"X1.\nY2.", false, u"X1.\rY3.", false, "[\nY2.]", "[\rY3.]"},
    };
    for (const auto &c : cases) {
        const QString source = QString::fromUtf16(c.source);
        const QString result = QString::fromUtf16(c.result);
        const compare::WordDiff diff = DiffWords(source, c.sourceInComment, result, c.resultInComment);
        EXPECT_EQ(Spans(source, diff.source), c.sourceSpans)
            << source.toStdString() << " | " << result.toStdString();
        EXPECT_EQ(Spans(result, diff.result), c.resultSpans)
            << source.toStdString() << " | " << result.toStdString();
        EXPECT_FALSE(diff.wholeLines);
    }
}

// A line of very many words is marked whole instead of being compared piece by piece.
TEST(WordDiff, MarksVeryLongLinesWhole)
{
    QString source;
    QString result;
    for (int i = 0; i < 20000; ++i) {
        source += QStringLiteral("X%1 ").arg(i);
        result += QStringLiteral("X%1 ").arg(i + (i == 19999));
    }
    const compare::WordDiff diff = DiffWords(source, false, result, false);
    EXPECT_TRUE(diff.wholeLines);
    ASSERT_EQ(diff.source.size(), 1u);
    EXPECT_EQ(diff.source[0].start, 0);
    EXPECT_EQ(diff.source[0].length, source.size());
    ASSERT_EQ(diff.result.size(), 1u);
    EXPECT_EQ(diff.result[0].length, result.size());
    // below the cap the same kind of line is compared word by word
    compare::WordLimits wide;
    wide.cellCap = 1 << 30;
    const QString shortSource = source.left(600);
    const QString shortResult = QStringLiteral("X0 X1 X2 Y3 ") + source.mid(12, 588);
    const compare::WordDiff fine = DiffWords(shortSource, false, shortResult, false, wide);
    EXPECT_FALSE(fine.wholeLines);
    EXPECT_EQ(Spans(shortSource, fine.source), "[X3]");
    EXPECT_EQ(Spans(shortResult, fine.result), "[Y3]");
}

TEST(WordDiff, KnowsWhichLinesStartInsideAComment)
{
    QString text;
    std::vector<bool> expected;
    // a comment opened on line 3 of every 100 and closed on line 90: the states cross the checkpoints
    for (int i = 0; i < 1000; ++i) {
        expected.push_back(i % 100 > 3 && i % 100 <= 90);
        if (i % 100 == 3)
            text += QStringLiteral("G00 (OPEN");
        else if (i % 100 == 90)
            text += QStringLiteral("X1) G01");
        else
            text += QStringLiteral("X%1").arg(i);
        text += u"\r\n";
    }
    const auto lines = compare::CutLines(text);
    // asked out of order, far ahead first, as a pane scrolled to the end would ask
    compare::CommentStates states(text, lines);
    for (const int line : {950, 10, 4, 3, 90, 91, 500, 199, 1000, 0, 704, 703}) {
        const bool want = line < int(expected.size()) ? expected[size_t(line)] : false;
        EXPECT_EQ(states.StartsInComment(line), want) << line;
    }
    compare::CommentStates fresh(text, lines);
    for (int line = 0; line < 1000; ++line)
        ASSERT_EQ(fresh.StartsInComment(line), expected[size_t(line)]) << line;
}

} // namespace
