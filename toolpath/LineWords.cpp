#include "toolpath/LineWords.h"

#include "nc/LineWalk.h"
#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <cmath>

namespace toolpath {
namespace {

// No machine moves a kilometre: a larger value is a typing or conversion fault, not a position.
constexpr double LargestValue = 1e6;

// The letters whose values the path reads; every other word's value is digits the walk passes over.
constexpr std::uint32_t ValueLetters = [] {
    std::uint32_t mask = 0;
    for (const char c : {'X', 'Y', 'Z', 'U', 'W', 'I', 'J', 'K', 'R', 'L', 'C'})
        mask |= 1u << (c - 'A');
    return mask;
}();

bool IsValueLetter(QChar c)
{
    return nc::IsAddressLetter(c) && (ValueLetters & (1u << (c.unicode() - u'A')));
}

// Whether only blanks and a block delete stand before the 1-based position `pos`.
bool StartsLine(const NcScanState &scan, qsizetype pos)
{
    for (qsizetype p = 1; p < pos; ++p)
        if (!nc::IsBlank(scan.CharAt(p)) && scan.CharAt(p) != u'/')
            return false;
    return true;
}

// OSP writes labels and commands as runs of letters (NMAX, NT01, NEND at the start of a line; CALL, MODIN,
// RTS, SB=); a FANUC program has such runs only in macro statements (IF, GOTO, WHILE, NE, EQ), which move
// nothing either.
void SkipLetterRun(NcScanState &scan, LineWords &words)
{
    const qsizetype first = scan.Pos;
    while (scan.Pos < scan.LineLength && nc::IsAddressLetter(scan.CharAt(scan.Pos + 1)))
        ++scan.Pos;
    const QStringView run = QStringView(scan.Line).mid(first - 1, scan.Pos - first + 1);
    if ((run.front() == u'N' && StartsLine(scan, first)) || run == u"SB" || run == u"CALL" || run == u"RTS" ||
        run.startsWith(u"MOD"))
        words.ospMark = true;
}

void ReadGCode(NcScanState &scan, LineWords &words, PathProblems &problems)
{
    scan.ReadNumber();
    if (scan.Token.isEmpty() || !nc::ReadsWhollyAsNumber(scan.Token)) {
        ++problems.unreadableWords;
        return;
    }
    words.gCodes.append(nc::ValueOfText(scan.Token));
}

void ReadValue(NcScanState &scan, LineWords &words, PathProblems &problems)
{
    const int index = scan.CharAt(scan.Pos).unicode() - u'A';
    double value = 0;
    // the fast path of the scanner leaves Token as it was; an expression writes its result there, "INF"
    // for a value beyond single precision, which reads as 0
    scan.Token.resize(0);
    if (!scan.ReadExpressionValue(value)) {
        ++problems.unreadableWords;
        return;
    }
    const bool overflowed = !scan.Token.isEmpty() && scan.Token.contains(u"INF");
    if (overflowed || !std::isfinite(value) || std::fabs(value) > LargestValue) {
        ++problems.absurdValues;
        return;
    }
    words.values[std::size_t(index)] = value;
    words.given |= 1u << index;
}

} // namespace

void ReadLineWords(NcScanState &scan, bool &inComment, LineWords &words, PathProblems &problems)
{
    words.Clear();
    nc::WalkLine(
        scan, inComment,
        [&](NcScanState &s) {
            const QChar c = s.CharAt(s.Pos);
            if (!nc::IsAddressLetter(c))
                return;
            if (s.Pos < s.LineLength && nc::IsAddressLetter(s.CharAt(s.Pos + 1)))
                SkipLetterRun(s, words);
            else if (c == u'G')
                ReadGCode(s, words, problems);
            else if (IsValueLetter(c))
                ReadValue(s, words, problems);
        },
        [](qsizetype, qsizetype) {});
}

} // namespace toolpath
