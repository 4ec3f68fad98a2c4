#pragma once

#include "nc/LineWalk.h"

#include <QStringView>
#include <vector>

namespace highlight {

// What a coloured run of a program line is. Characters in no span (blanks, "%", "#100=", lower-case
// letters, ...) keep the pane's own colour.
enum class SpanKind : unsigned char
{
    Address,  // the letter of a word other than N, G or M
    Number,   // the value the scanner reads after such a letter
    Comment,  // a comment or the part of one on this line, brackets included
    Sequence, // an N word, letter and value
    GCode,    // a G word, letter and value
    MCode,    // an M word, letter and value
};

struct Span
{
    SpanKind kind = SpanKind::Address;
    qsizetype start = 0; // 0-based in the line
    qsizetype length = 0;
};

// Colours program lines one at a time, as the conversions read them (the line walker and its comment
// step), keeping its buffers from line to line so that a run over many lines does not allocate.
class LineColours
{
public:
    // The spans of `line`, in order, none empty, none overlapping. `inComment` says whether the line
    // starts inside a comment and is left saying whether the next one does. The result stays valid until
    // the next call.
    const std::vector<Span> &Colour(QStringView line, bool &inComment);

private:
    std::vector<nc::LinePiece> m_pieces;
    std::vector<Span> m_spans;
};

// Whether the line after `line` starts inside a comment, without cutting the line into words: what
// LineColours::Colour leaves in `inComment`, for the lines before the ones that are shown.
bool InCommentAfter(QStringView line, bool inComment);

} // namespace highlight
