#include "machine/TranslatorLineReader.h"

#include "nc/LineWalk.h"
#include "nc/NcNumber.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// Units, incremental mode, coordinate rotation, mirror image, polar interpolation and the work offsets
// other than G54 (the one in force at power-on): the rules write nothing for these.
bool IsUntranslatableG(double g)
{
    return g == 20 || g == 21 || g == 91 || g == 68 || g == 69 || g == 50.1 || g == 51.1 || g == 12.1 ||
           g == 13.1 || g == 112 || g == 113 || g == 54.1 || (g >= 55 && g < 60);
}

constexpr bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Whether `rest` (after the first letter of a word at `p`) follows, then any blanks, then a character
// `next` accepts.
template <typename Next>
bool WordBefore(const char16_t *p, const char16_t *end, std::u16string_view rest, Next next)
{
    ++p;
    if (end - p < qsizetype(rest.size()) || std::u16string_view(p, rest.size()) != rest)
        return false;
    for (p += rest.size(); p < end && *p == u' '; ++p) {
    }
    return p < end && next(*p);
}

// A macro statement or a word of one at `p`: a variable, a jump, a loop or a condition.
bool MacroStatementAt(const char16_t *p, const char16_t *end)
{
    const auto bracket = [](char16_t c) { return c == u'['; };
    switch (*p) {
    case u'#':
        return true;
    case u'G':
        return end - p >= 4 && p[1] == u'O' && p[2] == u'T' && p[3] == u'O';
    case u'W':
        return WordBefore(p, end, u"HILE", bracket);
    case u'I':
        return WordBefore(p, end, u"F", bracket);
    case u'D':
        return WordBefore(p, end, u"O", IsDigit);
    case u'E':
        return WordBefore(p, end, u"ND", IsDigit);
    default:
        return false;
    }
}

// An argument of a macro call: any address other than the call's own G, P and L and a sequence or
// program number.
constexpr bool IsMacroArgument(char16_t c)
{
    return c >= u'A' && c <= u'Z' && c != u'G' && c != u'P' && c != u'L' && c != u'N' && c != u'O';
}

} // namespace

void TranslatorLineReader::Read(const QString &line)
{
    m_startedInComment = m_inComment;
    m_context.Line.Reset();
    m_scan.Line = line;
    m_scan.LineLength = line.size();
    m_scan.Pos = 1;
    while (m_scan.Pos <= m_scan.LineLength) {
        if (m_scan.CharAt(m_scan.Pos) == u'(' || m_inComment)
            ReadComment();
        // A comment that runs past the end of the line leaves nothing behind to be read as a word.
        if (m_scan.Pos <= m_scan.LineLength)
            HandleChar(m_scan.CharAt(m_scan.Pos));
        if (m_context.Failed())
            return;
        ++m_scan.Pos;
    }
}

// Moves over the comment with the comment step every conversion shares, collecting its text; the ")" that
// closes it becomes one blank so that several comments on a line stay apart. The "(" that opens a comment
// is not part of its text, but a line that starts inside a comment begins with comment text, its first
// character included (that character is never taken for the closing ")", except on a lone ")" line). A
// ")" there becomes a blank too: inside the output comment it would end the comment early on the control.
void TranslatorLineReader::ReadComment()
{
    const bool continued = m_inComment;
    qsizetype textFrom = continued ? m_scan.Pos : m_scan.Pos + 1;
    const QStringView line = QStringView(m_scan.Line).left(m_scan.LineLength);
    const bool closed = nc::StepOverComment(line, m_scan.Pos);
    m_inComment = !closed;
    QString &text = m_context.Line.CommentText;
    // A lone ")" line leaves the step past the end of the line; its ")" is the line's only character.
    const qsizetype textEnd = closed ? std::min(m_scan.Pos, m_scan.LineLength) : m_scan.LineLength + 1;
    if (textEnd > textFrom && continued && line[textFrom - 1] == u')') {
        text += u' ';
        ++textFrom;
    }
    if (textEnd > textFrom)
        text += line.sliced(textFrom - 1, textEnd - textFrom);
    if (closed)
        text += u' ';
}

void TranslatorLineReader::HandleChar(QChar c)
{
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    double value = 0;
    switch (c.unicode()) {
    case u'O':
        ReadProgramNumber();
        break;
    case u'/':
        if (m_scan.Pos == 1)
            line.BlockDelete = true;
        break;
    case u'N': {
        // The sequence number is not carried over; reading it keeps "NT01" from being read as a T word.
        // A number that begins with a digit ends before the first letter after it.
        const qsizetype from = m_scan.Pos + 1;
        const bool digitFirst = from <= m_scan.LineLength && nc::IsNumericChar(m_scan.CharAt(from));
        m_scan.ReadWordValue();
        if (!digitFirst)
            NoteStatementChars(from, m_scan.Pos);
        else
            line.SequenceText = QStringView(m_scan.Line).sliced(from - 1, m_scan.Pos - from + 1);
        break;
    }
    case u'D':
        NoteStatementChars(m_scan.Pos, m_scan.Pos);
        if (m_scan.Pos < m_scan.LineLength && nc::IsNumericChar(m_scan.CharAt(m_scan.Pos + 1))) {
            m_scan.ReadNumber();
            line.D = m_scan.Token;
        }
        break;
    case u'#':
    case u'E':
        NoteStatementChars(m_scan.Pos, m_scan.Pos);
        break;
    case u'G':
        if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'O')
            NoteStatementChars(m_scan.Pos, m_scan.Pos);
        ReadGWord();
        break;
    case u')':
        m_inComment = false;
        break;
    case u'C':
        if (ReadValue(value)) {
            words.C = value;
            words.CFromSource = true;
            line.CGiven = true;
        }
        break;
    case u'X':
        if (ReadValue(value)) {
            words.X = value;
            words.XFromSource = true;
            line.XGiven = true;
        }
        break;
    case u'Y':
        if (ReadValue(value)) {
            words.Y = value;
            words.YFromSource = true;
            line.YGiven = true;
        }
        break;
    case u'Z':
        if (ReadValue(value)) {
            words.Z = value;
            words.ZFromSource = true;
            line.ZGiven = true;
        }
        break;
    case u'U':
        if (ReadValue(value)) {
            line.U = value;
            line.UGiven = true;
        }
        break;
    case u'W':
        if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'H')
            NoteStatementChars(m_scan.Pos, m_scan.Pos);
        if (ReadValue(value)) {
            line.W = float(value);
            line.WGiven = true;
        }
        break;
    case u'F':
        ReadValue(line.F);
        break;
    case u'H':
        ReadValue(line.H);
        break;
    case u'I':
        if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'F')
            NoteStatementChars(m_scan.Pos, m_scan.Pos);
        ReadValue(line.I);
        break;
    case u'J':
        ReadValue(line.J);
        break;
    case u'K':
        ReadValue(line.K);
        break;
    case u'L':
        ReadValue(line.L);
        break;
    case u'Q':
        line.QGiven = ReadValue(line.Q);
        break;
    case u'R':
        ReadValue(line.R);
        break;
    case u'M':
        ReadMWord();
        break;
    case u'P':
        m_scan.ReadNumber();
        if (!m_scan.Token.isEmpty()) {
            line.P = m_scan.Token;
            line.PGiven = true;
        }
        break;
    case u'S':
        ReadSWord();
        break;
    case u'T':
        if (ReadValue(value))
            line.T = float(value);
        break;
    default:
        break;
    }
}

// A program number is read only at the start of a line. A "G" right after it is part of the program line
// ("O1234G..."), never a G word.
void TranslatorLineReader::ReadProgramNumber()
{
    const qsizetype from = m_scan.Pos + 1;
    if (m_scan.Pos == 1 || m_scan.Pos == 2) {
        m_scan.ReadWordValue();
        m_context.Words.ProgramNumber = m_scan.Token;
    }
    if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'G')
        ++m_scan.Pos;
    NoteStatementChars(from, m_scan.Pos);
}

void TranslatorLineReader::ReadGWord()
{
    m_scan.ReadNumber();
    const double g = nc::ValueOfText(m_scan.Token);
    TranslatorLineValues &line = m_context.Line;
    if (g == 17 || g == 18 || g == 19)
        line.PlaneG = int(g);
    else if (g == 40 || g == 41 || g == 42)
        line.NoseRG = int(g);
    else if (g == 96 || g == 97)
        line.SpindleG = int(g);
    else if (g == 98)
        line.FeedModeG = 94;
    else if (g == 99)
        line.FeedModeG = 95;
    else {
        m_context.State.ModalG = g;
        line.MainGGiven = true;
    }
    if (g >= 70 && g <= 73 && g == std::floor(g))
        line.CycleG = int(g);
    else if (g == 20 || g == 21)
        m_context.State.Inch = g == 20;
    if (g >= 12) {
        if (IsUntranslatableG(g))
            line.UntranslatableG = true;
        else if (g == 65 || g == 66)
            line.MacroCallG = true;
    }
}

void TranslatorLineReader::ReadMWord()
{
    double value = 0;
    if (!ReadValue(value))
        return;
    TranslatorLineValues &line = m_context.Line;
    if (line.MCount == TranslatorLineValues::MaxMCodes) {
        m_context.FailIndex();
        return;
    }
    line.MCodes[line.MCount++] = float(value);
}

// "SB=" in the source is the rotary tool speed of an OSP program: it is swallowed.
void TranslatorLineReader::ReadSWord()
{
    if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'B') {
        ++m_scan.Pos;
        m_scan.ReadExpression();
        return;
    }
    ReadValue(m_context.Line.S);
}

bool TranslatorLineReader::ReadValue(double &value)
{
    return m_scan.ReadExpressionValue(value);
}

// The characters outside comments that may begin a statement come here: the one the walk stands on, or
// those of a sequence or program number read over (the value of any other word holds no letter and no
// "#").
void TranslatorLineReader::NoteStatementChars(qsizetype from, qsizetype to)
{
    const char16_t *const chars = QStringView(m_scan.Line).utf16();
    const char16_t *const end = chars + std::min(m_scan.LineLength, m_scan.Line.size());
    for (qsizetype pos = from; pos <= to; ++pos)
        if (MacroStatementAt(chars + pos - 1, end))
            m_context.Line.MacroStatement = true;
}

// Walks the line again as Read does, so that the text outside comments is the same for arguments as for
// statements: a sequence number, or a program number at the start of the line, is read over whole (its
// letters count, a "(" in it opens no comment); the value of any other word holds no letter. Only a line
// with a macro call is walked.
bool TranslatorLineReader::HoldsMacroArgument() const
{
    NcScanState scan = m_scan;
    const QStringView line = QStringView(scan.Line).left(scan.LineLength);
    bool inComment = m_startedInComment;
    for (scan.Pos = 1; scan.Pos <= scan.LineLength; ++scan.Pos) {
        if (inComment || scan.CharAt(scan.Pos) == u'(')
            inComment = !nc::StepOverComment(line, scan.Pos);
        if (scan.Pos > scan.LineLength)
            break;
        const char16_t c = scan.CharAt(scan.Pos).unicode();
        if (IsMacroArgument(c))
            return true;
        if (c == u'N' || (c == u'O' && scan.Pos <= 2)) {
            scan.ReadWordValue();
            for (const QChar read : scan.Token)
                if (IsMacroArgument(read.unicode()))
                    return true;
        }
    }
    return false;
}
