#pragma once

#include "compare/LineDiff.h"
#include "nc/LineWalk.h"

#include <QStringView>
#include <vector>

namespace compare {

// A run of characters of one line (0-based, within the line).
struct LineSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
};

// The parts of a changed pair of lines that differ: the pieces (words, comments and the runs between
// them, as the conversions cut a line) found on one side only. Neighbouring differing pieces form one
// span.
struct WordDiff
{
    std::vector<LineSpan> source;
    std::vector<LineSpan> result;
    // The lines had too many pieces to compare: each line is marked whole.
    bool wholeLines = false;
};

struct WordLimits
{
    // Pieces of the two lines multiplied together, beyond which the lines are marked whole.
    qsizetype cellCap = 64 * 64 * 4;
};

// `sourceInComment` and `resultInComment` say whether each line starts inside a comment.
WordDiff DiffWords(QStringView sourceLine, bool sourceInComment, QStringView resultLine, bool resultInComment,
                   const WordLimits &limits = {});

// Whether each line of a text starts inside a comment that an earlier line opened, read with the comment
// step the conversions use. Worked out on demand, from the nearest line already known, so that asking
// about the lines on screen costs no more than the lines above them read once.
class CommentStates
{
public:
    CommentStates(QStringView text, const std::vector<TextLine> &lines);

    bool StartsInComment(int line);

private:
    static constexpr int Spacing = 64;

    QStringView m_text;
    const std::vector<TextLine> &m_lines;
    // The state at lines 0, Spacing, 2 * Spacing, ... as far as worked out.
    std::vector<bool> m_known;
};

} // namespace compare
