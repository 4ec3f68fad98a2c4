// Fuzzes the line difference and the word difference of its changed pairs: every line accounted for
// once and in order, kept lines equal, changed lines differing, hunks and count covering exactly the
// lines not kept; the differing words lie inside their lines, in order, and a changed pair has some.
#include "compare/LineDiff.h"
#include "compare/WordDiff.h"
#include "tests/compare/DiffInvariants.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// Few distinct characters make many equal lines, which is where the matching has work to do.
QString Text(const QByteArray &bytes, bool fewCharacters)
{
    if (!fewCharacters)
        return QString::fromLatin1(bytes);
    static const char16_t *const pieces[] = {u"G00", u"X1.", u" ", u"(", u")", u"\r\n", u"\r\n", u"\n"};
    QString text;
    for (const char c : bytes)
        text += QString::fromUtf16(pieces[uint8_t(c) % 8]);
    return text;
}

bool SpansFit(const std::vector<compare::LineSpan> &spans, qsizetype length)
{
    qsizetype end = 0;
    for (const compare::LineSpan &s : spans) {
        if (s.start < end || s.length <= 0 || s.start + s.length > length)
            return false;
        end = s.start + s.length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t choice = input.Choice();
    const QString source = Text(input.Part(), choice & 1);
    const QString result = Text(input.Rest(), choice & 1);
    compare::DiffLimits limits;
    if (choice & 2)
        limits.searchBudget = choice >> 2; // runs out early: the in-order pairing is checked too
    const compare::LineDiff diff = compare::DiffLines(source, result, limits);
    FuzzCheck(compare_test::DiffProblem(source, result, diff).isEmpty());

    compare::CommentStates sourceComments(source, diff.sourceLines);
    compare::CommentStates resultComments(result, diff.resultLines);
    // The states asked for from the end back agree with those a reader cutting every line carries.
    {
        compare::CommentStates fromTheEnd(source, diff.sourceLines);
        std::vector<bool> carried;
        std::vector<nc::LinePiece> pieces;
        bool inComment = false;
        for (const compare::TextLine &l : diff.sourceLines) {
            carried.push_back(inComment);
            nc::CutLine(QStringView(source).mid(l.start, l.length), inComment, pieces);
        }
        for (int line = int(carried.size()) - 1; line >= 0; line -= 1 + line / 7)
            FuzzCheck(fromTheEnd.StartsInComment(line) == carried[size_t(line)]);
    }
    int checked = 0;
    for (size_t a = 0; a < diff.sourceLines.size() && checked < 64; ++a) {
        if (diff.sourceStates[a] != compare::LineState::Changed)
            continue;
        ++checked;
        const int b = diff.resultOfSource[a];
        const compare::TextLine &s = diff.sourceLines[a];
        const compare::TextLine &r = diff.resultLines[size_t(b)];
        compare::WordLimits words;
        words.cellCap = (choice & 4) ? 16 : words.cellCap;
        const compare::WordDiff w = compare::DiffWords(
            QStringView(source).mid(s.start, s.length), sourceComments.StartsInComment(int(a)),
            QStringView(result).mid(r.start, r.length), resultComments.StartsInComment(b), words);
        FuzzCheck(SpansFit(w.source, s.length) && SpansFit(w.result, r.length));
        FuzzCheck(!w.source.empty() || !w.result.empty());
    }
    return 0;
}
