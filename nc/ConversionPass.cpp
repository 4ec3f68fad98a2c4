#include "nc/ConversionPass.h"

#include "nc/LargeText.h"
#include "nc/LineWalk.h"
#include "nc/ProgramText.h"

#include <algorithm>

namespace {

constexpr QStringView CrLf = u"\r\n";

// The 0-based index of the next CR LF at or after `from`, or -1. The search for a CR is the library's
// fast one; a lone CR only sends it on.
qsizetype FindLineEnd(const QString &text, qsizetype from)
{
    const QStringView view(text);
    const qsizetype last = text.size() - 1;
    for (qsizetype i = view.indexOf(u'\r', from); i >= 0 && i < last; i = view.indexOf(u'\r', i + 1))
        if (view[i + 1] == u'\n')
            return i;
    return -1;
}

} // namespace

QString ConversionPass::Run(const QString &source)
{
    Pass.SourceText = source;
    if (AppendsFinalLineEnd() && !Pass.SourceText.endsWith(CrLf))
        Pass.SourceText += CrLf;
    Begin(Pass.SourceText.size());
    RunLines();
    if (!Stopped())
        Finish();
    m_result.resize(m_resultSize);
    return std::move(m_result);
}

void ConversionPass::Start(qsizetype pieceSize)
{
    Pass.SourceText.clear();
    m_fedAnything = false;
    Begin(pieceSize);
}

void ConversionPass::Feed(QStringView piece)
{
    // Only the part of a line that had no CR LF yet is kept from the pieces before.
    Pass.SourceText.remove(0, Pass.LineStart - 1);
    Pass.LineStart = 1;
    Pass.SourceText += piece;
    m_fedAnything = m_fedAnything || !piece.isEmpty();
    RunLines();
}

void ConversionPass::Feed(QString &&piece)
{
    if (Pass.LineStart - 1 < Pass.SourceText.size()) {
        Feed(QStringView(piece));
        return;
    }
    Pass.SourceText = std::move(piece);
    Pass.LineStart = 1;
    m_fedAnything = m_fedAnything || !Pass.SourceText.isEmpty();
    RunLines();
}

void ConversionPass::FeedCp932(QByteArrayView piece)
{
    Pass.SourceText.remove(0, Pass.LineStart - 1);
    Pass.LineStart = 1;
    nc::AppendCp932(piece, Pass.SourceText);
    m_fedAnything = m_fedAnything || !piece.isEmpty();
    RunLines();
}

void ConversionPass::End()
{
    Pass.SourceText.remove(0, Pass.LineStart - 1);
    Pass.LineStart = 1;
    // As Run does: a program that does not end with CR LF (an empty one too) gets one.
    if (AppendsFinalLineEnd() && (!Pass.SourceText.isEmpty() || !m_fedAnything)) {
        Pass.SourceText += CrLf;
        RunLines();
    }
    if (!Stopped())
        Finish();
}

void ConversionPass::TakeResult(const std::function<void(QStringView)> &take)
{
    take(QStringView(m_result.constData(), m_resultSize));
    m_resultSize = 0;
}

void ConversionPass::Begin(qsizetype sourceSize)
{
    m_result = QString();
    m_resultSize = 0;
    nc::ReserveLargeText(m_result, sourceSize + sourceSize / 4 + 16);
    m_result.resize(m_result.capacity());
    m_failed = false;
    m_cancelled = false;
    m_failureMessage.clear();
    Pass.LineStart = 1;
    Pass.InComment = false;
    Prepare();
}

// Runs every line of SourceText from LineStart that ends in CR LF; LineStart is left at the first
// character not run.
void ConversionPass::RunLines()
{
    const qsizetype total = Pass.SourceText.size();
    while (!Stopped()) {
        const qsizetype found = FindLineEnd(Pass.SourceText, Pass.LineStart - 1);
        if (found < 0)
            break;
        Pass.LineEnd = found + 1;
        // The line refers to the program's own characters: a conversion that changes the line gets a copy
        // of it at its first change. The program stays as it is while the pass runs.
        Scan.Line = QString::fromRawData(Pass.SourceText.constData() + Pass.LineStart - 1,
                                         Pass.LineEnd - Pass.LineStart);
        Pass.LineStart = Pass.LineEnd + 2;
        RunLine();
        if (m_progress && !m_progress(Pass.LineStart - 1, total))
            m_cancelled = true;
    }
}

void ConversionPass::RunLine()
{
    Scan.LineLength = Scan.Line.size();
    Scan.Pos = 1;
    BeginLine();
    while (Scan.Pos <= Scan.LineLength && !Stopped()) {
        Pass.CurrentChar = Scan.CharAt(Scan.Pos);
        const char16_t c = Pass.CurrentChar.unicode();
        if (c < m_passedOver.size() && m_passedOver[c] && !Pass.InComment) {
            ++Scan.Pos;
            continue;
        }
        if (Pass.CurrentChar == u'(' || Pass.InComment)
            SkipComment();
        // A comment that runs past the end of the line leaves nothing for the conversion: its last
        // character is comment text, never an address letter.
        if (Scan.Pos <= Scan.LineLength)
            HandleChar();
        Scan.LineLength = Scan.Line.size();
        ++Scan.Pos;
    }
    if (!Stopped())
        EndLine();
}

// The comment flag survives the line end: a comment may span lines. `CurrentChar` is left on the last
// character the step looked at: the ")" that closed the comment, or the line's last character.
void ConversionPass::SkipComment()
{
    const QStringView line = QStringView(Scan.Line).left(Scan.LineLength);
    Pass.InComment = !nc::StepOverComment(line, Scan.Pos);
    Pass.CurrentChar = line[std::min(Scan.Pos, line.size()) - 1];
}

void ConversionPass::HandOnly(QStringView characters)
{
    m_passedOver.fill(true);
    for (const QChar c : characters)
        if (c.unicode() < m_passedOver.size())
            m_passedOver[c.unicode()] = false;
    // The comment step comes before HandleChar and sees every character.
    m_passedOver[u'('] = false;
}

// The result is written straight into its room, grown when a conversion makes the text longer than was
// foreseen; its size is set once, at the end.
void ConversionPass::EmitRaw(QStringView text)
{
    if (m_resultSize + text.size() > m_result.size()) {
        m_result.resize(m_resultSize);
        m_result.reserve((m_resultSize + text.size()) * 2);
        m_result.resize(m_result.capacity());
    }
    std::copy(text.begin(), text.end(), m_result.data() + m_resultSize);
    m_resultSize += text.size();
}

void ConversionPass::Emit(QStringView line)
{
    EmitRaw(line);
    EmitRaw(CrLf);
}

void ConversionPass::Fail(const QString &message)
{
    m_failed = true;
    m_failureMessage = message;
}

void ConversionPass::WriteFrameState(CarriedState &state) const
{
    state.Add(Pass.InComment);
    state.Add(Pass.LineG);
    state.Add(Pass.DistanceMode);
    state.Add(Pass.CurrentChar);
    state.Add(QStringView(Scan.Token));
}

void ConversionPass::ReplaceInLine(qsizetype from, qsizetype to, QStringView text)
{
    Scan.Line.replace(from - 1, to - from + 1, text.constData(), text.size());
    Scan.LineLength = Scan.Line.size();
}
