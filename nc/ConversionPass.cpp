#include "nc/ConversionPass.h"

#include "nc/LargeText.h"

namespace {

constexpr QStringView CrLf = u"\r\n";

// The 0-based index of the next CR LF at or after `from`, or -1.
qsizetype FindLineEnd(const QString &text, qsizetype from)
{
    const auto *chars = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype last = text.size() - 1;
    for (qsizetype i = from; i < last; ++i)
        if (chars[i] == u'\r' && chars[i + 1] == u'\n')
            return i;
    return -1;
}

} // namespace

QString ConversionPass::Run(const QString &source)
{
    Pass.SourceText = source;
    if (AppendsFinalLineEnd() && !Pass.SourceText.endsWith(CrLf))
        Pass.SourceText += CrLf;
    m_result.clear();
    nc::ReserveLargeText(m_result, Pass.SourceText.size() + Pass.SourceText.size() / 4 + 16);
    m_failed = false;
    m_cancelled = false;
    m_failureMessage.clear();
    Pass.LineStart = 1;
    Pass.InComment = false;
    Prepare();
    const qsizetype total = Pass.SourceText.size();
    while (!Stopped()) {
        const qsizetype found = FindLineEnd(Pass.SourceText, Pass.LineStart - 1);
        if (found < 0)
            break;
        Pass.LineEnd = found + 1;
        // the line buffer keeps its capacity from line to line
        Scan.Line.resize(0);
        Scan.Line.append(Pass.SourceText.constData() + Pass.LineStart - 1, Pass.LineEnd - Pass.LineStart);
        Pass.LineStart = Pass.LineEnd + 2;
        RunLine();
        if (m_progress && !m_progress(Pass.LineStart - 1, total))
            m_cancelled = true;
    }
    if (!Stopped())
        Finish();
    return std::move(m_result);
}

void ConversionPass::RunLine()
{
    Scan.LineLength = Scan.Line.size();
    Scan.Pos = 1;
    BeginLine();
    while (Scan.Pos <= Scan.LineLength && !Stopped()) {
        Pass.CurrentChar = Scan.CharAt(Scan.Pos);
        if (Pass.CurrentChar == u'(' || Pass.InComment)
            SkipComment();
        // A comment that runs past the end of the line leaves nothing for the conversion: its last
        // character is comment text, never an address letter. Only a ")" left there (a line that is a lone
        // ")" inside a comment, which the scan for ")" never looked at) still closes the comment.
        if (Scan.Pos <= Scan.LineLength)
            HandleChar();
        else if (Pass.CurrentChar == u')')
            Pass.InComment = false;
        Scan.LineLength = Scan.Line.size();
        ++Scan.Pos;
    }
    if (!Stopped())
        EndLine();
}

// The comment flag survives the line end: a comment may span lines. The scan for ")" starts after the
// character at `Pos`: that is the "(" itself, or the first character of a line that continues a comment,
// which is therefore never taken for the closing ")".
void ConversionPass::SkipComment()
{
    Pass.InComment = true;
    const qsizetype bound = Scan.LineLength;
    while (Scan.Pos < bound) {
        ++Scan.Pos;
        Pass.CurrentChar = Scan.CharAt(Scan.Pos);
        if (Pass.CurrentChar == u')') {
            Pass.InComment = false;
            return;
        }
    }
    Scan.Pos = bound + 1;
}

void ConversionPass::Emit(QStringView line)
{
    m_result += line;
    m_result += CrLf;
}

void ConversionPass::Fail(const QString &message)
{
    m_failed = true;
    m_failureMessage = message;
}

void ConversionPass::ReplaceInLine(qsizetype from, qsizetype to, QStringView text)
{
    Scan.Line.replace(from - 1, to - from + 1, text.toString());
    Scan.LineLength = Scan.Line.size();
}
