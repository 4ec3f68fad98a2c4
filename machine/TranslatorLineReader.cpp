#include "machine/TranslatorLineReader.h"

#include "nc/LineWalk.h"
#include "nc/NcNumber.h"

#include <algorithm>

namespace {

// Units, incremental mode, coordinate rotation, mirror image, polar interpolation and the work offsets
// other than G54 (the one in force at power-on): the rules write nothing for these.
bool IsUntranslatableG(double g)
{
    return g == 20 || g == 21 || g == 91 || g == 68 || g == 69 || g == 50.1 || g == 51.1 || g == 12.1 ||
           g == 13.1 || g == 112 || g == 113 || g == 54.1 || (g >= 55 && g < 60);
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Whether `line` holds `word` at `at` (0-based), then any blanks, then a character `next` accepts.
template <typename Next> bool WordBefore(QStringView line, qsizetype at, QStringView word, Next next)
{
    if (!line.sliced(at).startsWith(word))
        return false;
    qsizetype i = at + word.size();
    while (i < line.size() && line[i] == u' ')
        ++i;
    return i < line.size() && next(line[i]);
}

// A macro statement or a word of one: a variable, a jump, a loop or a condition.
bool MacroStatementAt(QStringView line, qsizetype i)
{
    const auto bracket = [](QChar c) { return c == u'['; };
    switch (line[i].unicode()) {
    case u'#':
        return true;
    case u'G':
        return line.sliced(i).startsWith(u"GOTO");
    case u'W':
        return WordBefore(line, i, u"WHILE", bracket);
    case u'I':
        return WordBefore(line, i, u"IF", bracket);
    case u'D':
        return WordBefore(line, i, u"DO", IsDigit);
    case u'E':
        return WordBefore(line, i, u"END", IsDigit);
    default:
        return false;
    }
}

// An argument of a macro call: any address other than the call's own G, P and L and a sequence or
// program number.
bool IsMacroArgument(QChar c)
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
    case u'N':
        // The sequence number is not carried over; reading it keeps "NT01" from being read as a T word.
        m_scan.ReadWordValue();
        break;
    case u'G':
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
        ReadValue(line.Q);
        break;
    case u'R':
        ReadValue(line.R);
        break;
    case u'M':
        ReadMWord();
        break;
    case u'P':
        m_scan.ReadNumber();
        if (!m_scan.Token.isEmpty())
            line.P = m_scan.Token;
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
    if (m_scan.Pos == 1 || m_scan.Pos == 2) {
        m_scan.ReadWordValue();
        m_context.Words.ProgramNumber = m_scan.Token;
    }
    if (m_scan.Pos < m_scan.LineLength && m_scan.CharAt(m_scan.Pos + 1) == u'G')
        ++m_scan.Pos;
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
    else
        m_context.State.ModalG = g;
    if (IsUntranslatableG(g))
        line.UntranslatableG = true;
    else if (g == 65 || g == 66)
        line.MacroCallG = true;
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

// The text outside comments, walked with the same comment step as the words, so that a comment never
// holds a statement.
bool TranslatorLineReader::HoldsMacroStatement() const
{
    const QStringView line = QStringView(m_scan.Line).left(m_scan.LineLength);
    const bool call = m_context.Line.MacroCallG;
    bool inComment = m_startedInComment;
    qsizetype i = 0;
    while (i < line.size()) {
        if (inComment || line[i] == u'(') {
            qsizetype pos = i + 1;
            inComment = !nc::StepOverComment(line, pos);
            i = pos; // the character after the ")", or past the end
            continue;
        }
        if (MacroStatementAt(line, i) || (call && IsMacroArgument(line[i])))
            return true;
        ++i;
    }
    return false;
}
