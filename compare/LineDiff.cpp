#include "compare/LineDiff.h"

#include "nc/LineWalk.h"

#include <QHashFunctions>
#include <algorithm>

namespace compare {

std::vector<TextLine> CutLines(QStringView text)
{
    std::vector<TextLine> lines;
    lines.reserve(size_t(text.size() / 24 + 1));
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (text[i] == u'\r' && text[i + 1] == u'\n') {
            lines.push_back({start, i - start});
            start = i + 2;
            ++i;
        }
    }
    lines.push_back({start, size - start});
    return lines;
}

namespace {

// The furthest point reached on a diagonal; Unreached where no path of the allowed length gets there.
constexpr qsizetype Unreached = -1;

struct Snake
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Finds the lines of the source kept in the result: the longest common subsequence by Myers' method,
// divided at the middle snake so that memory stays linear. Once the budget is spent, the parts not yet
// solved stay unmatched and are paired in order afterwards.
class Matcher
{
public:
    Matcher(QStringView source, const std::vector<TextLine> &sourceLines, QStringView result,
            const std::vector<TextLine> &resultLines, std::int64_t budget)
        : m_source(source), m_result(result), m_sourceLines(sourceLines), m_resultLines(resultLines),
          m_budget(budget)
    {
        m_sourceHashes = Hashes(source, sourceLines);
        m_resultHashes = Hashes(result, resultLines);
        m_match.assign(sourceLines.size(), NoLine);
    }

    std::vector<int> Run()
    {
        const int n = int(m_sourceLines.size());
        const int m = int(m_resultLines.size());
        const size_t reach = size_t((n + m + 1) / 2 + 2);
        m_forward.assign(2 * reach + 1, Unreached);
        m_backward.assign(2 * reach + 1, Unreached);
        m_centre = qsizetype(reach);
        Compare(0, n, 0, m);
        return std::move(m_match);
    }

    bool RanOut() const { return m_ranOut; }

private:
    static std::vector<size_t> Hashes(QStringView text, const std::vector<TextLine> &lines)
    {
        std::vector<size_t> hashes;
        hashes.reserve(lines.size());
        for (const TextLine &line : lines)
            hashes.push_back(qHash(text.mid(line.start, line.length)));
        return hashes;
    }

    bool Equal(int a, int b) const
    {
        if (m_sourceHashes[size_t(a)] != m_resultHashes[size_t(b)])
            return false;
        const TextLine &s = m_sourceLines[size_t(a)];
        const TextLine &r = m_resultLines[size_t(b)];
        return m_source.mid(s.start, s.length) == m_result.mid(r.start, r.length);
    }

    void Compare(int a0, int a1, int b0, int b1)
    {
        while (a0 < a1 && b0 < b1 && Equal(a0, b0))
            m_match[size_t(a0++)] = b0++;
        while (a0 < a1 && b0 < b1 && Equal(a1 - 1, b1 - 1))
            m_match[size_t(--a1)] = --b1;
        if (a0 == a1 || b0 == b1)
            return;
        Snake snake;
        if (!MiddleSnake(a0, a1, b0, b1, snake)) {
            m_ranOut = true;
            return;
        }
        // Each half holds fewer changes than the whole; a split that would not shrink is not taken.
        const bool shrinks = (snake.x0 - a0) + (snake.y0 - b0) < (a1 - a0) + (b1 - b0) &&
                             (a1 - snake.x1) + (b1 - snake.y1) < (a1 - a0) + (b1 - b0);
        if (!shrinks) {
            m_ranOut = true;
            return;
        }
        for (int x = snake.x0, y = snake.y0; x < snake.x1; ++x, ++y)
            m_match[size_t(x)] = y;
        Compare(a0, snake.x0, b0, snake.y0);
        Compare(snake.x1, a1, snake.y1, b1);
    }

    qsizetype &Forward(qsizetype k) { return m_forward[size_t(m_centre + k)]; }
    qsizetype &Backward(qsizetype k) { return m_backward[size_t(m_centre + k)]; }

    // The furthest x on diagonal k (x - y = k) after one more change than the paths in `v`; Unreached
    // when neither neighbour leads there inside the n by m box.
    static qsizetype Step(std::vector<qsizetype> &v, qsizetype centre, qsizetype k, qsizetype d, qsizetype n,
                          qsizetype m)
    {
        if (d == 0)
            return 0;
        qsizetype x = Unreached;
        const qsizetype left = v[size_t(centre + k - 1)];
        if (left != Unreached && left < n)
            x = left + 1;
        const qsizetype below = v[size_t(centre + k + 1)];
        if (below != Unreached && below - (k + 1) < m)
            x = std::max(x, below);
        return x;
    }

    bool MiddleSnake(int a0, int a1, int b0, int b1, Snake &snake)
    {
        const qsizetype n = a1 - a0;
        const qsizetype m = b1 - b0;
        const qsizetype delta = n - m;
        const bool odd = (delta & 1) != 0;
        const qsizetype most = (n + m + 1) / 2;
        for (qsizetype d = 0; d <= most; ++d) {
            for (const qsizetype edge : {d, d + 1}) {
                Forward(edge) = Forward(-edge) = Unreached;
                Backward(edge) = Backward(-edge) = Unreached;
            }
            m_spent += 2 * (d + 1);
            if (m_spent > m_budget)
                return false;
            for (qsizetype k = -d; k <= d; k += 2) {
                qsizetype x = Step(m_forward, m_centre, k, d, n, m);
                if (x == Unreached || x - k < 0 || x - k > m) {
                    Forward(k) = Unreached;
                    continue;
                }
                const qsizetype x0 = x;
                while (x < n && x - k < m && Equal(a0 + int(x), b0 + int(x - k)))
                    ++x;
                m_spent += x - x0;
                Forward(k) = x;
                const qsizetype c = delta - k;
                if (odd && c >= -(d - 1) && c <= d - 1 && Backward(c) != Unreached && x + Backward(c) >= n) {
                    snake = {a0 + int(x0), b0 + int(x0 - k), a0 + int(x), b0 + int(x - k)};
                    return true;
                }
            }
            for (qsizetype c = -d; c <= d; c += 2) {
                qsizetype u = Step(m_backward, m_centre, c, d, n, m);
                if (u == Unreached || u - c < 0 || u - c > m) {
                    Backward(c) = Unreached;
                    continue;
                }
                const qsizetype u0 = u;
                while (u < n && u - c < m && Equal(a1 - 1 - int(u), b1 - 1 - int(u - c)))
                    ++u;
                m_spent += u - u0;
                Backward(c) = u;
                const qsizetype k = delta - c;
                if (!odd && k >= -d && k <= d && Forward(k) != Unreached && Forward(k) + u >= n) {
                    snake = {a1 - int(u), b1 - int(u - c), a1 - int(u0), b1 - int(u0 - c)};
                    return true;
                }
            }
        }
        return false;
    }

    QStringView m_source;
    QStringView m_result;
    const std::vector<TextLine> &m_sourceLines;
    const std::vector<TextLine> &m_resultLines;
    std::vector<size_t> m_sourceHashes;
    std::vector<size_t> m_resultHashes;
    std::vector<int> m_match;
    std::vector<qsizetype> m_forward;
    std::vector<qsizetype> m_backward;
    qsizetype m_centre = 0;
    std::int64_t m_budget;
    std::int64_t m_spent = 0;
    bool m_ranOut = false;
};

bool SameText(QStringView source, const TextLine &s, QStringView result, const TextLine &r)
{
    return source.mid(s.start, s.length) == result.mid(r.start, r.length);
}

// Pairs the lines between two kept lines in order and gathers the rows that are not kept into hunks.
class Aligner
{
public:
    Aligner(QStringView source, QStringView result, LineDiff &diff)
        : m_source(source), m_result(result), m_diff(diff)
    {
    }

    void Gap(int a, int aEnd, int b, int bEnd)
    {
        // A conversion that rewrites lines one for one leaves as many lines on each side: those pair in
        // order. Otherwise (the translator writes several lines for some and none for others) each line is
        // paired with a like one nearby.
        if (aEnd - a != bEnd - b && aEnd > a && bEnd > b) {
            PairAlike(a, aEnd, b, bEnd);
            return;
        }
        PairInOrder(a, aEnd, b, bEnd);
    }

    void Kept(int a, int b)
    {
        m_diff.resultOfSource[size_t(a)] = b;
        m_diff.sourceOfResult[size_t(b)] = a;
        m_diff.sourceStates[size_t(a)] = LineState::Kept;
        m_diff.resultStates[size_t(b)] = LineState::Kept;
        m_open = false;
        m_nextSource = a + 1;
        m_nextResult = b + 1;
    }

private:
    void PairInOrder(int a, int aEnd, int b, int bEnd)
    {
        for (; a < aEnd && b < bEnd; ++a, ++b)
            Pair(a, b);
        for (; a < aEnd; ++a)
            Row(a, NoLine, LineState::Deleted);
        for (; b < bEnd; ++b)
            Row(NoLine, b, LineState::Inserted);
    }

    void Pair(int a, int b)
    {
        if (SameText(m_source, m_diff.sourceLines[size_t(a)], m_result, m_diff.resultLines[size_t(b)]))
            Kept(a, b);
        else
            Row(a, b, LineState::Changed);
    }

    // Walks both sides together; where a line a little further on one side is more like the other side's
    // line than the one in step is, the lines passed over are deleted or inserted.
    void PairAlike(int a, int aEnd, int b, int bEnd)
    {
        constexpr int Reach = 6;
        const LineWords source(m_source, m_diff.sourceLines, a, aEnd);
        const LineWords result(m_result, m_diff.resultLines, b, bEnd);
        while (a < aEnd && b < bEnd) {
            int best = LineWords::Likeness(source, a, result, b);
            int skipSource = 0;
            int skipResult = 0;
            for (int step = 1; step <= Reach; ++step) {
                if (a + step < aEnd) {
                    const int score = LineWords::Likeness(source, a + step, result, b) - step;
                    if (score > best) {
                        best = score;
                        skipSource = step;
                        skipResult = 0;
                    }
                }
                if (b + step < bEnd) {
                    const int score = LineWords::Likeness(source, a, result, b + step) - step;
                    if (score > best) {
                        best = score;
                        skipSource = 0;
                        skipResult = step;
                    }
                }
            }
            for (const int end = a + skipSource; a < end; ++a)
                Row(a, NoLine, LineState::Deleted);
            for (const int end = b + skipResult; b < end; ++b)
                Row(NoLine, b, LineState::Inserted);
            Pair(a++, b++);
        }
        PairInOrder(a, aEnd, b, bEnd);
    }

    // The words and comments of a run of lines, as the conversions cut them, for telling how alike two
    // lines are: the address letters they share, and twice the words they share whole.
    class LineWords
    {
    public:
        LineWords(QStringView text, const std::vector<TextLine> &lines, int first, int end) : m_first(first)
        {
            std::vector<nc::LinePiece> pieces;
            bool inComment = false;
            m_starts.reserve(size_t(end - first + 1));
            for (int line = first; line < end; ++line) {
                m_starts.push_back(m_words.size());
                const QStringView view = text.mid(lines[size_t(line)].start, lines[size_t(line)].length);
                nc::CutLine(view, inComment, pieces);
                for (const nc::LinePiece &p : pieces) {
                    if (p.kind == nc::LinePieceKind::Other)
                        continue;
                    const QStringView piece = view.mid(p.start, p.length);
                    const char16_t letter = p.kind == nc::LinePieceKind::Comment ? u'(' : piece[0].unicode();
                    m_words.push_back({letter, qHash(piece)});
                    if (m_words.size() - m_starts.back() >= MostWords)
                        break;
                }
            }
            m_starts.push_back(m_words.size());
        }

        static int Likeness(const LineWords &x, int lineX, const LineWords &y, int lineY)
        {
            const auto [xFirst, xEnd] = x.Range(lineX);
            const auto [yFirst, yEnd] = y.Range(lineY);
            bool usedLetter[MostWords] = {};
            bool usedWhole[MostWords] = {};
            int score = 0;
            for (size_t i = xFirst; i < xEnd; ++i) {
                const Word &w = x.m_words[i];
                bool letter = false;
                bool whole = false;
                for (size_t j = yFirst; j < yEnd && !(letter && whole); ++j) {
                    const Word &v = y.m_words[j];
                    if (!letter && !usedLetter[j - yFirst] && v.letter == w.letter) {
                        usedLetter[j - yFirst] = letter = true;
                        ++score;
                    }
                    if (!whole && !usedWhole[j - yFirst] && v.letter == w.letter && v.hash == w.hash) {
                        usedWhole[j - yFirst] = whole = true;
                        score += 2;
                    }
                }
            }
            return score;
        }

    private:
        static constexpr size_t MostWords = 32;

        struct Word
        {
            char16_t letter;
            size_t hash;
        };

        std::pair<size_t, size_t> Range(int line) const
        {
            const size_t i = size_t(line - m_first);
            return {m_starts[i], m_starts[i + 1]};
        }

        int m_first;
        std::vector<size_t> m_starts;
        std::vector<Word> m_words;
    };

    void Row(int a, int b, LineState state)
    {
        if (!m_open) {
            m_diff.hunks.push_back({m_nextSource, 0, m_nextResult, 0});
            m_open = true;
        }
        Hunk &hunk = m_diff.hunks.back();
        if (a != NoLine) {
            m_diff.sourceStates[size_t(a)] = state;
            m_diff.resultOfSource[size_t(a)] = b;
            ++hunk.sourceCount;
            m_nextSource = a + 1;
        }
        if (b != NoLine) {
            m_diff.resultStates[size_t(b)] = state;
            m_diff.sourceOfResult[size_t(b)] = a;
            ++hunk.resultCount;
            m_nextResult = b + 1;
        }
        ++m_diff.changedLines;
    }

    QStringView m_source;
    QStringView m_result;
    LineDiff &m_diff;
    bool m_open = false;
    int m_nextSource = 0;
    int m_nextResult = 0;
};

} // namespace

LineDiff DiffLines(QStringView source, QStringView result, const DiffLimits &limits)
{
    LineDiff diff;
    diff.sourceLines = CutLines(source);
    diff.resultLines = CutLines(result);
    const int n = int(diff.sourceLines.size());
    const int m = int(diff.resultLines.size());
    std::vector<int> match;
    {
        Matcher matcher(source, diff.sourceLines, result, diff.resultLines, limits.searchBudget);
        match = matcher.Run();
        diff.coarse = matcher.RanOut();
    }
    diff.resultOfSource.assign(size_t(n), NoLine);
    diff.sourceOfResult.assign(size_t(m), NoLine);
    diff.sourceStates.assign(size_t(n), LineState::Kept);
    diff.resultStates.assign(size_t(m), LineState::Kept);
    Aligner aligner(source, result, diff);
    int a = 0;
    int b = 0;
    while (a < n || b < m) {
        int next = a;
        while (next < n && match[size_t(next)] == NoLine)
            ++next;
        const int resultEnd = next < n ? match[size_t(next)] : m;
        aligner.Gap(a, next, b, resultEnd);
        if (next == n)
            break;
        aligner.Kept(next, resultEnd);
        a = next + 1;
        b = resultEnd + 1;
    }
    return diff;
}

} // namespace compare
