#include "compare/WordDiff.h"

#include <algorithm>

namespace compare {

namespace {

bool SamePiece(QStringView a, const nc::LinePiece &p, QStringView b, const nc::LinePiece &q)
{
    return p.kind == q.kind && a.mid(p.start, p.length) == b.mid(q.start, q.length);
}

// Appends the pieces not in the common subsequence as spans, joining neighbours.
void AddSpan(std::vector<LineSpan> &spans, const nc::LinePiece &piece)
{
    if (!spans.empty() && spans.back().start + spans.back().length == piece.start)
        spans.back().length += piece.length;
    else
        spans.push_back({piece.start, piece.length});
}

} // namespace

WordDiff DiffWords(QStringView sourceLine, bool sourceInComment, QStringView resultLine, bool resultInComment,
                   const WordLimits &limits)
{
    WordDiff diff;
    std::vector<nc::LinePiece> a;
    std::vector<nc::LinePiece> b;
    nc::CutLine(sourceLine, sourceInComment, a);
    nc::CutLine(resultLine, resultInComment, b);
    const qsizetype n = qsizetype(a.size());
    const qsizetype m = qsizetype(b.size());
    if (n * m > limits.cellCap) {
        diff.wholeLines = true;
        if (!sourceLine.isEmpty())
            diff.source.push_back({0, sourceLine.size()});
        if (!resultLine.isEmpty())
            diff.result.push_back({0, resultLine.size()});
        return diff;
    }
    // Longest common subsequence of the pieces, from the ends: common[i][j] covers a[i..], b[j..].
    const qsizetype width = m + 1;
    std::vector<int> common(size_t((n + 1) * width), 0);
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j) {
            int &cell = common[size_t(i * width + j)];
            if (SamePiece(sourceLine, a[size_t(i)], resultLine, b[size_t(j)]))
                cell = common[size_t((i + 1) * width + j + 1)] + 1;
            else
                cell = std::max(common[size_t((i + 1) * width + j)], common[size_t(i * width + j + 1)]);
        }
    }
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && SamePiece(sourceLine, a[size_t(i)], resultLine, b[size_t(j)])) {
            ++i;
            ++j;
        } else if (j == m ||
                   (i < n && common[size_t((i + 1) * width + j)] >= common[size_t(i * width + j + 1)])) {
            AddSpan(diff.source, a[size_t(i++)]);
        } else {
            AddSpan(diff.result, b[size_t(j++)]);
        }
    }
    return diff;
}

CommentStates::CommentStates(QStringView text, const std::vector<TextLine> &lines)
    : m_text(text), m_lines(lines), m_known{false}
{
}

bool CommentStates::StartsInComment(int line)
{
    line = std::clamp(line, 0, int(m_lines.size()) - 1);
    const int checkpoint = line / Spacing;
    int at = 0;
    bool inComment = false;
    if (checkpoint < int(m_known.size())) {
        at = checkpoint * Spacing;
        inComment = m_known[size_t(checkpoint)];
    } else {
        at = (int(m_known.size()) - 1) * Spacing;
        inComment = m_known.back();
    }
    // Only the comment step decides whether a comment is open, so the walk hands nothing on: the words
    // between comments are never read.
    NcScanState scan;
    for (; at < line; ++at) {
        const TextLine &l = m_lines[size_t(at)];
        scan.Line = QString::fromRawData(reinterpret_cast<const QChar *>(m_text.utf16() + l.start), l.length);
        nc::WalkLine(
            scan, inComment, [](NcScanState &) {}, [](qsizetype, qsizetype) {});
        if ((at + 1) % Spacing == 0 && (at + 1) / Spacing == int(m_known.size()))
            m_known.push_back(inComment);
    }
    return inComment;
}

} // namespace compare
