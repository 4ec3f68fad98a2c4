#include "nc/LineWalk.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The pieces of one line written as "W[G01]O[ ]C[(A)]": kind letter and the piece's text.
QString Describe(QStringView line, const std::vector<nc::LinePiece> &pieces)
{
    QString out;
    for (const nc::LinePiece &p : pieces) {
        out += p.kind == nc::LinePieceKind::Word ? u'W' : p.kind == nc::LinePieceKind::Comment ? u'C' : u'O';
        out += u'[' + line.mid(p.start, p.length).toString() + u']';
    }
    return out;
}

} // namespace

TEST(LineWalk, CutsLinesIntoWordsCommentsAndTheRest)
{
    struct Case
    {
        const char16_t *line;
        bool inComment;
        const char16_t *pieces;
        bool inCommentAfter;
    } cases[] = {
        {u"", false, u"", false},
        {u"", true, u"", true},
        {u"G01 X20. Z-5. F0.2", false, u"W[G01]O[ ]W[X20.]O[ ]W[Z-5.]O[ ]W[F0.2]", false},
        {u"G01X20.Z-5.", false, u"W[G01]W[X20.]W[Z-5.]", false},
        {u"N10 G00 (MOVE X10) X20", false, u"W[N10]O[ ]W[G00]O[ ]C[(MOVE X10)]O[ ]W[X20]", false},
        {u"G1 (OPEN", false, u"W[G1]O[ ]C[(OPEN]", true},
        // a line that continues a comment: its first character is comment text, even a ")"
        {u"X10 Y", true, u"C[X10 Y]", true},
        {u"Z) X2", true, u"C[Z)]O[ ]W[X2]", false},
        {u") X1", true, u"C[) X1]", true},
        // a lone ")" closes the comment
        {u")", true, u"C[)]", false},
        {u"()X1", false, u"C[()]W[X1]", false},
        {u"X1(", false, u"W[X1]C[(]", true},
        {u"X(NOTE)Y2", false, u"W[X]C[(NOTE)]W[Y2]", false},
        {u"%", false, u"O[%]", false},
        {u"#100=5.", false, u"O[#100=5.]", false},
        {u"x1 /M01", false, u"O[x1 /]W[M01]", false},
        {u"X[5+5]", false, u"W[X[5+5]O[]]", false},
        {u"G01\u240aX1", false, u"W[G01]O[\u240a]W[X1]", false},
        {u"X", false, u"W[X]", false},
        {u"(\u52a0\u5de5)", false, u"C[(\u52a0\u5de5)]", false},
    };
    std::vector<nc::LinePiece> pieces;
    for (const Case &c : cases) {
        const QString line = QString::fromUtf16(c.line);
        bool inComment = c.inComment;
        nc::CutLine(line, inComment, pieces);
        EXPECT_EQ(Describe(line, pieces), QString::fromUtf16(c.pieces)) << line.toStdString();
        EXPECT_EQ(inComment, c.inCommentAfter) << line.toStdString();
        qsizetype covered = 0;
        for (const nc::LinePiece &p : pieces) {
            EXPECT_EQ(p.start, covered) << line.toStdString();
            covered += p.length;
        }
        EXPECT_EQ(covered, line.size()) << line.toStdString();
    }
}

TEST(LineWalk, CommentStepStopsOnTheClosingBracket)
{
    struct Case
    {
        const char16_t *line;
        qsizetype from;
        bool closed;
        qsizetype pos;
    } cases[] = {
        {u"(A)B", 1, true, 3}, {u"(AB", 1, false, 4}, {u"(", 1, false, 2},  {u")", 1, true, 2},
        {u"))", 1, true, 2},   {u"X)", 1, true, 2},   {u"XY", 1, false, 3}, {u"A(B)", 2, true, 4},
    };
    for (const Case &c : cases) {
        qsizetype pos = c.from;
        EXPECT_EQ(nc::StepOverComment(QStringView(c.line), pos), c.closed)
            << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(pos, c.pos) << QString::fromUtf16(c.line).toStdString();
    }
}
