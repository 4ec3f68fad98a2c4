#pragma once

#include "compare/LineDiff.h"

#include <QString>
#include <algorithm>

namespace compare_test {

// What is wrong with a diff of `source` and `result`; empty when every line is accounted for once, in
// order, kept lines are equal, changed ones differ, and the hunks and the count cover exactly the lines
// that are not kept.
inline QString DiffProblem(QStringView source, QStringView result, const compare::LineDiff &diff)
{
    using compare::LineState;
    using compare::NoLine;
    const auto lines = [](QStringView text, const std::vector<compare::TextLine> &cut) {
        QString joined;
        for (size_t i = 0; i < cut.size(); ++i) {
            if (i > 0)
                joined += u"\r\n";
            joined += text.mid(cut[i].start, cut[i].length);
        }
        return joined;
    };
    if (lines(source, diff.sourceLines) != source || lines(result, diff.resultLines) != result)
        return QStringLiteral("the lines do not make up the text");
    const int n = int(diff.sourceLines.size());
    const int m = int(diff.resultLines.size());
    if (int(diff.resultOfSource.size()) != n || int(diff.sourceStates.size()) != n ||
        int(diff.sourceOfResult.size()) != m || int(diff.resultStates.size()) != m)
        return QStringLiteral("a table has the wrong length");
    const auto text = [](QStringView t, const compare::TextLine &l) { return t.mid(l.start, l.length); };
    int lastPaired = -1;
    qsizetype notKept = 0;
    for (int a = 0; a < n; ++a) {
        const int b = diff.resultOfSource[size_t(a)];
        const LineState state = diff.sourceStates[size_t(a)];
        if (b == NoLine) {
            if (state != LineState::Deleted)
                return QStringLiteral("source line %1 unpaired but not deleted").arg(a);
            ++notKept;
            continue;
        }
        if (b <= lastPaired || b >= m || diff.sourceOfResult[size_t(b)] != a)
            return QStringLiteral("source line %1 paired out of order or one-sided").arg(a);
        lastPaired = b;
        const bool same =
            text(source, diff.sourceLines[size_t(a)]) == text(result, diff.resultLines[size_t(b)]);
        if (state != diff.resultStates[size_t(b)] ||
            (state != LineState::Kept && state != LineState::Changed) || same != (state == LineState::Kept))
            return QStringLiteral("source line %1 has a wrong state").arg(a);
        notKept += state == LineState::Changed;
    }
    for (int b = 0; b < m; ++b) {
        const int a = diff.sourceOfResult[size_t(b)];
        if (a == NoLine) {
            if (diff.resultStates[size_t(b)] != LineState::Inserted)
                return QStringLiteral("result line %1 unpaired but not inserted").arg(b);
            ++notKept;
        } else if (a < 0 || a >= n || diff.resultOfSource[size_t(a)] != b) {
            return QStringLiteral("result line %1 paired one-sided").arg(b);
        }
    }
    // Each run counts its longer side: at least half the lines not kept, at most all of them.
    qsizetype counted = 0;
    for (const compare::Hunk &h : diff.hunks)
        counted += std::max(h.sourceCount, h.resultCount);
    if (counted != diff.changedLines || 2 * diff.changedLines < notKept || diff.changedLines > notKept)
        return QStringLiteral("the count %1 does not follow the %2 lines not kept")
            .arg(diff.changedLines)
            .arg(notKept);
    // The hunks, in order, hold exactly the lines that are not kept.
    std::vector<bool> sourceInHunk(size_t(n), false);
    std::vector<bool> resultInHunk(size_t(m), false);
    int sourceEnd = 0;
    int resultEnd = 0;
    for (const compare::Hunk &h : diff.hunks) {
        if (h.sourceFirst < sourceEnd || h.resultFirst < resultEnd || h.sourceCount + h.resultCount == 0 ||
            h.sourceFirst + h.sourceCount > n || h.resultFirst + h.resultCount > m)
            return QStringLiteral("a hunk is out of order or empty");
        sourceEnd = h.sourceFirst + h.sourceCount;
        resultEnd = h.resultFirst + h.resultCount;
        for (int a = h.sourceFirst; a < sourceEnd; ++a)
            sourceInHunk[size_t(a)] = true;
        for (int b = h.resultFirst; b < resultEnd; ++b)
            resultInHunk[size_t(b)] = true;
    }
    for (int a = 0; a < n; ++a)
        if (sourceInHunk[size_t(a)] != (diff.sourceStates[size_t(a)] != LineState::Kept))
            return QStringLiteral("source line %1 is wrongly in or out of a hunk").arg(a);
    for (int b = 0; b < m; ++b)
        if (resultInHunk[size_t(b)] != (diff.resultStates[size_t(b)] != LineState::Kept))
            return QStringLiteral("result line %1 is wrongly in or out of a hunk").arg(b);
    return {};
}

} // namespace compare_test
