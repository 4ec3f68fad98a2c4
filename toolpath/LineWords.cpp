#include "toolpath/LineWords.h"

#include "nc/LineWalk.h"
#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <cmath>
#include <initializer_list>

namespace toolpath {
namespace {

// No machine moves a kilometre: a larger value is a typing or conversion fault, not a position.
constexpr double LargestValue = 1e6;

constexpr std::uint32_t MaskOf(std::initializer_list<char> letters)
{
    std::uint32_t mask = 0;
    for (const char c : letters)
        mask |= 1u << (c - 'A');
    return mask;
}

// The letters whose values the path reads: the axes and arc words, whose faults are counted, and the
// feed, speed, tool, cycle and sequence words, which move nothing; every other word's value is digits
// the walk passes over.
constexpr std::uint32_t AxisLetters = MaskOf({'X', 'Y', 'Z', 'U', 'W', 'I', 'J', 'K', 'R', 'L', 'C'});
constexpr std::uint32_t ParameterLetters = MaskOf({'F', 'S', 'T', 'P', 'Q', 'D', 'N'});

bool IsValueLetter(QChar c)
{
    return nc::IsAddressLetter(c) && ((AxisLetters | ParameterLetters) & (1u << (c.unicode() - u'A')));
}

// FNV-1a of a label's text: labels are compared, never shown.
std::uint64_t HashOf(QStringView text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : hash;
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
    if (run.front() != u'N')
        return;
    // the digits that end a name such as NLAP1 belong to it
    qsizetype end = scan.Pos;
    while (end < scan.LineLength && scan.CharAt(end + 1).isDigit())
        ++end;
    words.nameLabel = HashOf(QStringView(scan.Line).mid(first - 1, end - first + 1));
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
    const bool axis = AxisLetters & (1u << index);
    double value = 0;
    // the fast path of the scanner leaves Token as it was; an expression writes its result there, "INF"
    // for a value beyond single precision, which reads as 0
    scan.Token.resize(0);
    if (!scan.ReadExpressionValue(value)) {
        problems.unreadableWords += axis;
        return;
    }
    const bool overflowed = !scan.Token.isEmpty() && scan.Token.contains(u"INF");
    if (overflowed || !std::isfinite(value) || std::fabs(value) > LargestValue) {
        problems.absurdValues += axis;
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
