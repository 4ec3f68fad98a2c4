#include "highlight/LineColours.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using highlight::SpanKind;

QChar KindLetter(SpanKind kind)
{
    switch (kind) {
    case SpanKind::Address:
        return u'A';
    case SpanKind::Number:
        return u'V';
    case SpanKind::Comment:
        return u'C';
    case SpanKind::Sequence:
        return u'N';
    case SpanKind::GCode:
        return u'G';
    case SpanKind::MCode:
        return u'M';
    }
    return u'?';
}

// The spans of one line written as "G[G01]A[X]V[20.]": kind letter and the span's text; characters
// between spans are written bare, so that a missing or misplaced span shows.
QString Describe(QStringView line, const std::vector<highlight::Span> &spans)
{
    QString out;
    qsizetype at = 0;
    for (const highlight::Span &s : spans) {
        if (s.start > at)
            out += line.mid(at, s.start - at);
        out += KindLetter(s.kind) + u'[' + line.mid(s.start, s.length).toString() + u']';
        at = s.start + s.length;
    }
    out += line.mid(at);
    return out;
}

struct Line
{
    const char16_t *text;
    const char16_t *spans;
};

// One program, line after line, starting outside a comment as a pass does.
struct Program
{
    const char *name;
    std::vector<Line> lines;
    bool inCommentAfter;
};

} // namespace

TEST(LineColours, ColoursEveryLineOfAProgramAsThePassesReadIt)
{
    const Program programs[] = {
        {"words",
         {{u"N10 G01 X20. Z-5. F0.2 M03", u"N[N10] G[G01] A[X]V[20.] A[Z]V[-5.] A[F]V[0.2] M[M03]"},
          {u"G01X20.Z-5.", u"G[G01]A[X]V[20.]A[Z]V[-5.]"},
          {u"X", u"A[X]"},
          {u"N", u"N[N]"},
          {u"/M01", u"/M[M01]"}},
         false},
        {"empty lines", {{u"", u""}, {u"", u""}}, false},
        {"comment spanning lines",
         {{u"G00 (OPEN", u"G[G00] C[(OPEN]"},
          {u"X10 Y2", u"C[X10 Y2]"},
          {u"", u""},
          {u"Z) X2", u"C[Z)] A[X]V[2]"},
          {u"G01", u"G[G01]"}},
         false},
        // the first character of a continued line is comment text, never its closing bracket
        {"continued line starting with a bracket",
         {{u"(A", u"C[(A]"}, {u") X1", u"C[) X1]"}, {u"X2)G01", u"C[X2)]G[G01]"}},
         false},
        {"lone bracket closes", {{u"(A", u"C[(A]"}, {u")", u"C[)]"}, {u"M30", u"M[M30]"}}, false},
        {"still open at the end", {{u"X1(", u"A[X]V[1]C[(]"}, {u"G01", u"C[G01]"}}, true},
        {"comments inside a line",
         {{u"X(NOTE)Y2", u"A[X]C[(NOTE)]A[Y]V[2]"},
          {u"()X1", u"C[()]A[X]V[1]"},
          {u"N5 (A)(B) M05", u"N[N5] C[(A)]C[(B)] M[M05]"}},
         false},
        // a lone CR or LF is shown as its symbol and is an ordinary character inside the line
        {"line end symbols",
         {{u"G01\u240aX1", u"G[G01]\u240aA[X]V[1]"},
          {u"(A\u240dB)Z3", u"C[(A\u240dB)]A[Z]V[3]"},
          {u"\u240d(", u"\u240dC[(]"},
          {u"\u240a)", u"C[\u240a)]"}},
         false},
        {"lower case is not a word", {{u"g01 x1 M3", u"g01 x1 M[M3]"}, {u"(x)", u"C[(x)]"}}, false},
        {"japanese",
         {{u"(\u52a0\u5de5\u958b\u59cb) G50", u"C[(\u52a0\u5de5\u958b\u59cb)] G[G50]"},
          {u"\u5916\u5f84 X10", u"\u5916\u5f84 A[X]V[10]"},
          {u"(\u30c6\u30b9\u30c8", u"C[(\u30c6\u30b9\u30c8]"},
          {u"\u7d42\u4e86)", u"C[\u7d42\u4e86)]"}},
         false},
        {"program marks and variables",
         {{u"%", u"%"}, {u"#100=5.", u"#100=5."}, {u"X#100", u"A[X]V[#100]"}, {u"O1234", u"A[O]V[1234]"}},
         false},
        {"values that are not plain numbers", {{u"X[5+5]", u"A[X]V[[5+5]]"}, {u"G1.5", u"G[G1.5]"}}, false},
    };
    highlight::LineColours colours;
    for (const Program &program : programs) {
        bool inComment = false;
        for (const Line &line : program.lines) {
            const QString text = QString::fromUtf16(line.text);
            const bool before = inComment;
            const auto &spans = colours.Colour(text, inComment);
            EXPECT_EQ(Describe(text, spans), QString::fromUtf16(line.spans))
                << program.name << ": " << text.toStdString();
            EXPECT_EQ(highlight::InCommentAfter(text, before), inComment)
                << program.name << ": " << text.toStdString();
        }
        EXPECT_EQ(inComment, program.inCommentAfter) << program.name;
    }
}
