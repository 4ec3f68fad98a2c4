#pragma once

#include <QStringView>
#include <cstdint>
#include <vector>

namespace compare {

// A line of a program text: where it starts and how long it is, its CR LF not counted. Lines end only at
// CR LF; a lone CR or LF is a character inside its line, as the conversions read it. A text of n CR LF
// has n + 1 lines (the last may be empty), as the panes count them.
struct TextLine
{
    qsizetype start = 0;
    qsizetype length = 0;
};

std::vector<TextLine> CutLines(QStringView text);

enum class LineState : unsigned char
{
    Kept,     // the same text on both sides
    Changed,  // paired with a line of the other side that differs
    Deleted,  // a source line with no line in the result
    Inserted, // a result line with no line in the source
};

// A run of lines that are not kept: the source lines [sourceFirst, sourceFirst + sourceCount) and the
// result lines [resultFirst, resultFirst + resultCount). An empty side is placed where its lines would be.
struct Hunk
{
    int sourceFirst = 0;
    int sourceCount = 0;
    int resultFirst = 0;
    int resultCount = 0;
};

constexpr int NoLine = -1;

struct LineDiff
{
    std::vector<TextLine> sourceLines;
    std::vector<TextLine> resultLines;
    // The line each line is paired with on the other side, in order; NoLine for a deleted or inserted one.
    std::vector<int> resultOfSource;
    std::vector<int> sourceOfResult;
    std::vector<LineState> sourceStates; // Kept, Changed or Deleted
    std::vector<LineState> resultStates; // Kept, Changed or Inserted
    std::vector<Hunk> hunks;
    // Lines changed, as a reader counts them: for each run of changes the longer of its two sides, so that
    // a line deleted in one place and one inserted there count one, and the count never exceeds the
    // longer text.
    qsizetype changedLines = 0;
    // The search for the fewest changes ran out of its budget: some lines were paired in order instead.
    bool coarse = false;
};

struct DiffLimits
{
    // Steps of the search for the fewest changes (diagonals visited plus equal lines stepped over) before
    // the lines not yet matched are paired in order; keeps a program in which every line differs linear.
    std::int64_t searchBudget = 2'000'000;
    // ... and no more than this many to begin with and for every line of either side.
    std::int64_t searchBase = 200'000;
    std::int64_t searchStepsPerLine = 20;
};

// The lines of `result` matched to those of `source`: the fewest inserted and deleted lines (Myers, in
// linear memory), the common start and end taken first; changed lines are the deleted and inserted lines
// of one place paired in order.
LineDiff DiffLines(QStringView source, QStringView result, const DiffLimits &limits = {});

} // namespace compare
