#include "compare/LineDiff.h"

#include "nc/LineWalk.h"

#include <QHashFunctions>
#include <algorithm>
#include <cmath>

namespace compare {

std::vector<TextLine> CutLines(QStringView text)
{
    std::vector<TextLine> lines;
    lines.reserve(size_t(text.size() / 16 + 1));
    const char16_t *const chars = text.utf16();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (chars[i] == u'\r' && chars[i + 1] == u'\n') {
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

// A text with its lines and a hash of each line from `first` to `end`, the lines that are compared with
// more than one other, so that most unequal lines are told apart without reading them.
struct LineTexts
{
    QStringView text;
    const std::vector<TextLine> &lines;
    int first;
    std::vector<size_t> hashes;

    LineTexts(QStringView t, const std::vector<TextLine> &l, int from, int end)
        : text(t), lines(l), first(from)
    {
        hashes.reserve(size_t(end - from));
        for (int i = from; i < end; ++i)
            hashes.push_back(qHash(Line(i)));
    }
    QStringView Line(int i) const { return text.mid(lines[size_t(i)].start, lines[size_t(i)].length); }
    size_t Hash(int i) const { return hashes[size_t(i - first)]; }
};

bool SameLine(const LineTexts &x, int a, const LineTexts &y, int b)
{
    return x.Hash(a) == y.Hash(b) && x.Line(a) == y.Line(b);
}

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
    Matcher(const LineTexts &source, const LineTexts &result, std::int64_t budget)
        : m_source(source), m_result(result), m_budget(budget)
    {
        m_match.assign(source.lines.size(), NoLine);
    }

    // The lines before `first` and from `sourceEnd` and `resultEnd` on are known to be the same.
    std::vector<int> Run(int first, int sourceEnd, int resultEnd)
    {
        const int n = int(m_source.lines.size());
        const int m = int(m_result.lines.size());
        // The search never goes further from the middle diagonal than its budget allows: d steps cost
        // about d * d.
        const std::int64_t affordable = std::int64_t(std::sqrt(double(m_budget))) + 2;
        const size_t reach = size_t(std::min<std::int64_t>((n + m + 1) / 2, affordable) + 2);
        m_forward.assign(2 * reach + 1, Unreached);
        m_backward.assign(2 * reach + 1, Unreached);
        m_centre = qsizetype(reach);
        for (int i = 0; i < first; ++i)
            m_match[size_t(i)] = i;
        for (int a = sourceEnd, b = resultEnd; a < n; ++a, ++b)
            m_match[size_t(a)] = b;
        Compare(first, sourceEnd, first, resultEnd);
        return std::move(m_match);
    }

    bool RanOut() const { return m_ranOut; }

private:
    bool Equal(int a, int b) const { return SameLine(m_source, a, m_result, b); }

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
            if (d + 2 > m_centre)
                return false;
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

    const LineTexts &m_source;
    const LineTexts &m_result;
    std::vector<int> m_match;
    std::vector<qsizetype> m_forward;
    std::vector<qsizetype> m_backward;
    qsizetype m_centre = 0;
    std::int64_t m_budget;
    std::int64_t m_spent = 0;
    bool m_ranOut = false;
};

// Pairs the lines between two kept lines in order and gathers the rows that are not kept into hunks.
class Aligner
{
public:
    Aligner(const LineTexts &source, const LineTexts &result, LineDiff &diff)
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
        if (SameLine(m_source, a, m_result, b))
            Kept(a, b);
        else
            Row(a, b, LineState::Changed);
    }

    // Walks both sides together; where a line a little further on one side is more like the other side's
    // line than the one in step is, the lines passed over are deleted or inserted.
    void PairAlike(int a, int aEnd, int b, int bEnd)
    {
        constexpr int Reach = 3;
        const LineWords source(m_source, a, aEnd);
        const LineWords result(m_result, b, bEnd);
        while (a < aEnd && b < bEnd) {
            int best = LineWords::Likeness(source, a, result, b);
            int skipSource = 0;
            int skipResult = 0;
            // A line further on is only looked at when it could beat the best so far.
            const auto worth = [&best](const LineWords &x, int lineX, const LineWords &y, int lineY,
                                       int step) {
                return 3 * std::min(x.Count(lineX), y.Count(lineY)) - step > best;
            };
            // A pair in step that shares most of what it could is taken without looking further.
            const int reach =
                2 * best >= 3 * std::min(source.Count(a), result.Count(b)) && best > 0 ? 0 : Reach;
            for (int step = 1; step <= reach; ++step) {
                if (a + step < aEnd && worth(source, a + step, result, b, step)) {
                    const int score = LineWords::Likeness(source, a + step, result, b) - step;
                    if (score > best) {
                        best = score;
                        skipSource = step;
                        skipResult = 0;
                    }
                }
                if (b + step < bEnd && worth(source, a, result, b + step, step)) {
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
        LineWords(const LineTexts &texts, int first, int end) : m_first(first)
        {
            std::vector<nc::LinePiece> pieces;
            bool inComment = false;
            m_starts.reserve(size_t(end - first + 1));
            m_words.reserve(size_t(end - first) * 6);
            for (int line = first; line < end; ++line) {
                m_starts.push_back(m_words.size());
                const QStringView view = texts.Line(line);
                nc::CutLine(view, inComment, pieces);
                for (const nc::LinePiece &p : pieces) {
                    if (p.kind == nc::LinePieceKind::Other)
                        continue;
                    const QStringView piece = view.mid(p.start, p.length);
                    const char16_t letter = p.kind == nc::LinePieceKind::Comment ? u'(' : piece[0].unicode();
                    m_words.push_back({letter, quint32(qHash(piece))});
                    if (m_words.size() - m_starts.back() >= MostWords)
                        break;
                }
            }
            m_starts.push_back(m_words.size());
        }

        int Count(int line) const
        {
            const auto [first, end] = Range(line);
            return int(end - first);
        }

        // At most three for each word of the line with fewer.
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
            quint32 hash;
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
    }

    const LineTexts &m_source;
    const LineTexts &m_result;
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
    // The common start and end are found by reading the lines once, without hashing them: a result that
    // changes little costs little more than cutting it into lines.
    const auto line = [](QStringView text, const TextLine &l) { return text.mid(l.start, l.length); };
    int first = 0;
    while (first < n && first < m &&
           line(source, diff.sourceLines[size_t(first)]) == line(result, diff.resultLines[size_t(first)]))
        ++first;
    int sourceEnd = n;
    int resultEnd = m;
    while (sourceEnd > first && resultEnd > first &&
           line(source, diff.sourceLines[size_t(sourceEnd - 1)]) ==
               line(result, diff.resultLines[size_t(resultEnd - 1)])) {
        --sourceEnd;
        --resultEnd;
    }
    const LineTexts sourceTexts(source, diff.sourceLines, first, sourceEnd);
    const LineTexts resultTexts(result, diff.resultLines, first, resultEnd);
    std::vector<int> match;
    {
        // A search that has not ended after some steps per line will rarely end soon: what it would find
        // is seldom worth more than a moment of the conversion's own time.
        const std::int64_t lines = std::int64_t(sourceEnd - first) + (resultEnd - first);
        const std::int64_t budget =
            std::min(limits.searchBudget, limits.searchBase + limits.searchStepsPerLine * lines);
        Matcher matcher(sourceTexts, resultTexts, budget);
        match = matcher.Run(first, sourceEnd, resultEnd);
        diff.coarse = matcher.RanOut();
    }
    diff.resultOfSource.assign(size_t(n), NoLine);
    diff.sourceOfResult.assign(size_t(m), NoLine);
    diff.sourceStates.assign(size_t(n), LineState::Kept);
    diff.resultStates.assign(size_t(m), LineState::Kept);
    Aligner aligner(sourceTexts, resultTexts, diff);
    int a = 0;
    int b = 0;
    while (a < n || b < m) {
        int next = a;
        while (next < n && match[size_t(next)] == NoLine)
            ++next;
        const int paired = next < n ? match[size_t(next)] : m;
        aligner.Gap(a, next, b, paired);
        if (next == n)
            break;
        aligner.Kept(next, paired);
        a = next + 1;
        b = paired + 1;
    }
    for (const Hunk &hunk : diff.hunks)
        diff.changedLines += std::max(hunk.sourceCount, hunk.resultCount);
    return diff;
}

} // namespace compare
