#pragma once

#include "toolpath/ToolPath.h"

#include <QVarLengthArray>
#include <array>
#include <cstdint>

struct NcScanState;

namespace toolpath {

// The words of one program line that matter to the path: the value of each address letter given (the last
// one when a letter is written twice) and every G code in order.
struct LineWords
{
    std::array<double, 26> values{};
    std::uint32_t given = 0;
    QVarLengthArray<double, 6> gCodes;
    // A label or keyword of the OSP dialect stood on the line (NMAX, NT01, CALL, SB=, ...).
    bool ospMark = false;
    // A name made of letters and digits after N (NLAP1), anywhere on the line: the label of an OSP
    // contour, or the contour a LAP call names. A hash of its text, 0 when the line has none.
    std::uint64_t nameLabel = 0;

    void Clear()
    {
        given = 0;
        gCodes.clear();
        ospMark = false;
        nameLabel = 0;
    }
    bool Has(char letter) const { return given & (1u << (letter - 'A')); }
    double Value(char letter) const { return values[std::size_t(letter - 'A')]; }
    void Drop(char letter) { given &= ~(1u << (letter - 'A')); }
    bool HasG(double code) const { return gCodes.contains(code); }
};

// Reads the words of `scan.Line` with the scanner, stepping over comments as every conversion does.
// `inComment` is carried from line to line. Values are taken as written (no unit applied); an axis word
// whose value cannot be read, or whose value is absurd, is counted in `problems` and left out. The words
// that are no position (F, S, T, P, Q, D, N) are left out silently: they never move the tool.
void ReadLineWords(NcScanState &scan, bool &inComment, LineWords &words, PathProblems &problems);

} // namespace toolpath
