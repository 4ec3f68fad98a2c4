#pragma once

#include "nc/NcScanState.h"

#include <QStringView>
#include <algorithm>
#include <vector>

namespace nc {

// The comment step every reader of program text shares. `pos` (1-based) is on the "(" that opens a
// comment or on the first character of a line that continues one. The scan for ")" starts after that
// character, so the first character of a continued line is never taken for the closing ")". Returns true
// when the comment closes on this line, with `pos` on its ")"; false, with `pos` past the end of the line,
// when it goes on. A line that continues a comment and is a lone ")" closes it: true, `pos` past the end,
// nothing left on the line to be read as a word.
inline bool StepOverComment(QStringView line, qsizetype &pos)
{
    const qsizetype bound = line.size();
    while (pos < bound) {
        ++pos;
        if (line[pos - 1] == u')')
            return true;
    }
    pos = bound + 1;
    return bound > 0 && line[bound - 1] == u')';
}

// Walks one program line as the conversions see it: every comment (or the part of one on this line) is
// stepped over with the comment step and handed to `onComment(first, last)` (1-based, inclusive, the
// brackets included), every other character to `onChar(scan)` with `scan.Pos` on it. `onChar` may read a
// word with the scanner and leave `Pos` on its last character. `scan.Line` is the line; `inComment` says
// whether it starts inside a comment and is left saying whether the next line does.
template <typename OnChar, typename OnComment>
void WalkLine(NcScanState &scan, bool &inComment, OnChar &&onChar, OnComment &&onComment)
{
    scan.LineLength = scan.Line.size();
    scan.Pos = 1;
    while (scan.Pos <= scan.LineLength) {
        if (inComment || scan.CharAt(scan.Pos) == u'(') {
            const qsizetype first = scan.Pos;
            inComment = !StepOverComment(QStringView(scan.Line).left(scan.LineLength), scan.Pos);
            onComment(first, std::min(scan.Pos, scan.LineLength));
        } else {
            onChar(scan);
        }
        ++scan.Pos;
    }
}

// What a piece of a program line is, for the readers that show or compare lines rather than convert them.
enum class LinePieceKind : unsigned char
{
    Comment, // a comment or the part of one on this line, brackets included
    Word,    // an address letter (A to Z) and the value the scanner reads after it
    Other,   // a run of anything else: blanks, "%", "/", "#", "=", lower-case letters, ...
};

struct LinePiece
{
    LinePieceKind kind = LinePieceKind::Other;
    qsizetype start = 0;  // 0-based in the line
    qsizetype length = 0; // a word's letter included
};

// Cuts `line` into comments, words and the runs between them, in order, covering every character; a
// word's value is what ReadWordValue reads after its letter ("G01X20." gives "G01" and "X20."), up to a
// "(" that opens a comment. The
// pieces are appended to `pieces`, which is cleared first. `inComment` is carried as WalkLine carries it.
void CutLine(QStringView line, bool &inComment, std::vector<LinePiece> &pieces);

} // namespace nc
