#include "machine/TranslatorPass.h"

#include "machine/TranslatorFormat.h"

using namespace translator;

namespace {

constexpr QStringView CrLf = u"\r\n";
// The sequence name of an ordinary line; an output line of nothing else is not written.
constexpr QStringView Label = u"N000";
constexpr QStringView BlockDeletedLabel = u"/N000";
constexpr double Pi = 3.14159265358979;

} // namespace

TranslatorPass::TranslatorPass(const ConversionTable &table, const TranslatorOptions &options)
    : m_context(table, options), m_reader(m_context), m_gCodes(m_context), m_toolAndM(m_context)
{
}

// A translation starts afresh each time the pass is run.
void TranslatorPass::Prepare()
{
    m_context.State = TranslatorState();
    m_context.State.Mode = m_context.Table.FanucToOsp;
    m_context.Words = TranslatorWords();
    m_context.Result.resize(0);
    m_context.Failure = TranslationFailure::None;
    m_context.FailureMessage.clear();
    m_reader.Reset();
    m_cycles.Reset();
    m_phase = CyclePhase::None;
    m_waiting = WaitingCall();
    m_firstBlock.clear();
    m_flaggedLines = 0;
}

// A call still waiting for its profile when the program ends gets it no more.
void TranslatorPass::Finish()
{
    if (m_phase == CyclePhase::CallWaiting)
        EndCallWithoutProfile(NextLine::Taken);
    else if (m_phase == CyclePhase::ReadingProfile)
        RefuseWaitingCall(NextLine::Taken);
    EmitRaw(m_context.Result);
    m_context.Result.resize(0);
    if (m_finished)
        m_finished(m_flaggedLines);
}

// The translator reads the words of the line with its own reader, which gathers the comment text the frame
// passes over: the frame hands it no characters, only the whole line at its end.
void TranslatorPass::BeginLine()
{
    Scan.Pos = Scan.LineLength + 1;
}

// The output of a line goes to the frame's result as soon as the line is done, a failing line's too (the
// lines it emitted before it failed).
void TranslatorPass::EndLine()
{
    const std::optional<double> modalBefore = m_context.State.ModalG;
    m_reader.Read(Scan.Line);
    if (!m_context.Failed())
        HandleLine(Scan.Line, modalBefore);
    else if (m_phase == CyclePhase::CallWaiting || m_phase == CyclePhase::ReadingProfile)
        RefuseWaitingCall(NextLine::Taken);
    EmitRaw(m_context.Result);
    m_context.Result.resize(0);
    if (m_context.Failed())
        Fail(m_context.FailureMessage);
}

// What a line gives is written only when it can be stood behind: a line whose output holds a word without
// a value, a position no source word gave or a feed of zero, a line with a code the rules would drop
// without a word, and a macro statement all give one comment line instead, quoting the source line, for
// the user to look at. Whatever else the line did stands. After a multiple repetitive cycle the control's
// motion mode is not the translation's to guess: a move without its G code is checked too.
void TranslatorPass::TranslateLine(const QString &line, bool mustCheck)
{
    if (m_context.State.Mode && WriteSpecialLine(line))
        return;
    TranslatorState &state = m_context.State;
    const TranslatorLineValues &values = m_context.Line;
    if (state.MotionUnknown) {
        if (values.MainGGiven && *state.ModalG >= 0 && *state.ModalG <= 3)
            state.MotionUnknown = false;
        else if (!values.MainGGiven && (values.XGiven || values.ZGiven || values.UGiven || values.WGiven ||
                                        values.YGiven || values.CGiven))
            mustCheck = true;
    }
    if (values.F > 0)
        state.LastF = values.F;
    const bool headerDone = state.HeaderDone;
    const double labelledTool = state.LabelledTool;
    const qsizetype outputFrom = m_context.Result.size();
    m_context.PositionNotFromSource = false;
    AssembleLine(headerDone, labelledTool);
    if (m_context.Failed())
        return;
    if (mustCheck || m_context.Line.UntranslatableG || m_context.PositionNotFromSource ||
        HoldsWordWithoutValue(QStringView(m_context.Result).sliced(outputFrom)) ||
        m_reader.HoldsMacroStatement())
        WriteLineToCheck(line, headerDone, labelledTool, outputFrom);
}

// The header goes out before the line if the line's own output held it; the tool label it held goes to
// the next line that gives output. The line's output begins at `outputFrom` of the result.
void TranslatorPass::WriteLineToCheck(const QString &line, bool headerDone, double labelledTool,
                                      qsizetype outputFrom)
{
    TranslatorState &state = m_context.State;
    m_context.Result.resize(outputFrom);
    state.HeaderDone = headerDone;
    state.LabelledTool = labelledTool;
    AppendLineToCheck(m_context.Result, line);
}

void TranslatorPass::AppendLineToCheck(QString &result, QStringView line)
{
    TranslatorState &state = m_context.State;
    if (!state.HeaderDone) {
        AppendHeaderText(result);
        state.HeaderDone = true;
    }
    result += u"(要確認 ";
    const qsizetype from = result.size();
    result += line;
    // the source line must stay one comment on one line
    QChar *quoted = result.data() + from;
    for (qsizetype i = 0; i < line.size(); ++i) {
        QChar &c = quoted[i];
        if (c == u'(')
            c = u'[';
        else if (c == u')')
            c = u']';
        else if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    result += u" )\r\n";
    ++m_flaggedLines;
}

void TranslatorPass::AssembleLine(bool headerDone, double labelledTool)
{
    TranslatorState &state = m_context.State;
    m_context.OutLine.resize(0);
    AppendHeader();
    AppendSequenceLabel();
    const TranslatorGCodeRules::Outcome outcome = m_gCodes.Apply();
    switch (outcome) {
    case TranslatorGCodeRules::Outcome::LineEnded:
        return;
    case TranslatorGCodeRules::Outcome::NoOutput:
        // The header and the tool label wait for the next line that gives output.
        state.HeaderDone = headerDone;
        state.LabelledTool = labelledTool;
        return;
    case TranslatorGCodeRules::Outcome::Continue:
    case TranslatorGCodeRules::Outcome::ContinueCycleKept:
        break;
    }
    AppendCoordinates();
    AppendCircleWords();
    AppendPlane();
    AppendNoseRadius();
    AppendFeedMode();
    AppendSpindleMode();
    if (m_context.Failed())
        return;
    AppendFeed();
    AppendSpeed();
    m_toolAndM.AppendToolWord();
    m_toolAndM.AppendMWords();
    if (m_context.Failed())
        return;
    AppendSpindleStopForConstantSpeed();
    AppendComment();
    if (m_context.OutLine != Label)
        m_context.Emit(m_context.OutLine);
    if (outcome != TranslatorGCodeRules::Outcome::ContinueCycleKept)
        EndOfLine();
}

bool TranslatorPass::IsSpecialLine(const QString &line)
{
    return line.isEmpty() || line.front() == u'%' || line.front() == u'O' || line.front() == u'(';
}

// Program-number, "%", comment-only and empty lines of a FANUC program have OSP forms of their own.
bool TranslatorPass::WriteSpecialLine(const QString &line)
{
    if (!IsSpecialLine(line))
        return false;
    QString &result = m_context.Result;
    if (line.isEmpty()) {
        result += CrLf;
        return true;
    }
    switch (line.front().unicode()) {
    case u'%':
        return true;
    case u'O':
        result += u'O';
        result += ProgramNumber(m_context.Words.ProgramNumber);
        result += CrLf;
        return true;
    case u'(':
        result += u'(';
        result += m_context.Line.CommentText;
        result += u")\r\n";
        return true;
    default:
        return false;
    }
}

void TranslatorPass::AppendHeader()
{
    TranslatorState &state = m_context.State;
    if (state.HeaderDone)
        return;
    AppendHeaderText(m_context.OutLine);
    state.HeaderDone = true;
}

void TranslatorPass::AppendHeaderText(QString &out) const
{
    out += u"NMAX G50 S";
    out += m_context.Table.MaxSpindleSpeed;
    out += CrLf;
}

// The tool label goes on the line after the T word: the T word sets the tool number later in the line.
void TranslatorPass::AppendSequenceLabel()
{
    TranslatorState &state = m_context.State;
    QString &out = m_context.OutLine;
    if (state.LabelledTool != state.ToolNumber) {
        AppendCodeWord(out, u"NT", state.ToolNumber);
        state.LabelledTool = state.ToolNumber;
    } else {
        out += m_context.Line.BlockDelete ? BlockDeletedLabel : Label;
    }
}

// The output holds absolute positions: U and W move from the last written X and Z. A position equal to
// the last written one is not written again.
void TranslatorPass::AppendCoordinates()
{
    TranslatorState &state = m_context.State;
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    if (line.CGiven && ValueOf(words.C) != state.LastC) {
        Pad();
        m_context.AppendPosition(u" C", words.C, words.CFromSource);
        state.LastC = ValueOf(words.C);
        state.LastCFromSource = words.CFromSource;
    }
    if (line.UGiven) {
        words.X = state.LastX + line.U;
        words.XFromSource = state.LastXFromSource;
        line.XGiven = true;
    }
    if (line.XGiven && ValueOf(words.X) != state.LastX) {
        Pad();
        m_context.AppendPosition(u" X", words.X, words.XFromSource);
        state.LastX = ValueOf(words.X);
        state.LastXFromSource = words.XFromSource;
    }
    if (line.YGiven && ValueOf(words.Y) != state.LastY) {
        Pad();
        m_context.AppendPosition(u" Y", words.Y, words.YFromSource);
        state.LastY = ValueOf(words.Y);
        state.LastYFromSource = words.YFromSource;
    }
    if (line.WGiven) {
        words.Z = state.LastZ + double(line.W);
        words.ZFromSource = state.LastZFromSource;
        line.ZGiven = true;
    }
    if (line.ZGiven && ValueOf(words.Z) != state.LastZ) {
        Pad();
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
        state.LastZ = ValueOf(words.Z);
        state.LastZFromSource = words.ZFromSource;
    }
}

// The first coordinate of a line without a G code stands in the column a " G01" would take.
void TranslatorPass::Pad()
{
    if (m_context.OutLine.size() < 5)
        m_context.OutLine += u"    ";
}

// The arc radius R becomes L.
void TranslatorPass::AppendCircleWords()
{
    const std::optional<double> &modal = m_context.State.ModalG;
    if (modal != 2 && modal != 3)
        return;
    TranslatorLineValues &line = m_context.Line;
    QString &out = m_context.OutLine;
    if (line.L != 0)
        AppendWord(out, u" L", line.L);
    if (line.R != 0)
        AppendWord(out, u" L", line.R);
    if (line.I != 0)
        AppendWord(out, u" I", line.I);
    if (line.J != 0)
        AppendWord(out, u" J", line.J);
    if (line.K != 0)
        AppendWord(out, u" K", line.K);
}

void TranslatorPass::AppendPlane()
{
    if (m_context.Line.PlaneG > 0)
        AppendCodeWord(m_context.OutLine, u" G", m_context.Line.PlaneG);
}

void TranslatorPass::AppendNoseRadius()
{
    TranslatorLineValues &line = m_context.Line;
    TranslatorState &state = m_context.State;
    if (line.NoseRG <= 0 || line.NoseRG == state.NoseRMode)
        return;
    QString &out = m_context.OutLine;
    AppendCodeWord(out, u" G", line.NoseRG);
    if (line.I != 0)
        AppendWord(out, u" I", line.I);
    if (line.K != 0)
        AppendWord(out, u" K", line.K);
    state.NoseRMode = line.NoseRG;
}

void TranslatorPass::AppendFeedMode()
{
    if (m_context.Line.FeedModeG > 0)
        AppendCodeWord(m_context.OutLine, u" G", m_context.Line.FeedModeG);
}

// Leaving constant surface speed without a speed: the speed that the last surface speed (metres per
// minute) gives at the last written diameter. Without a real diameter there is no such speed.
void TranslatorPass::AppendSpindleMode()
{
    TranslatorLineValues &line = m_context.Line;
    TranslatorState &state = m_context.State;
    if (line.SpindleG <= 0 || line.SpindleG == state.SpindleMode)
        return;
    AppendCodeWord(m_context.OutLine, u" G", line.SpindleG);
    if (line.SpindleG == 97 && line.S == 0) {
        const double x = state.LastX;
        if (x == 0 || x == TranslatorState::NotWritten || x == TranslatorState::HomePosition) {
            m_context.Fail(TranslationFailure::Other,
                           u"G97の回転数を計算できません。G96の後に書いたX座標がありません"
                           u"（Xが0、未指定、または原点復帰の後です）。"_qs);
            return;
        }
        line.S = double(state.LastS) * 1000 / Pi / x;
    }
    state.SpindleMode = line.SpindleG;
}

void TranslatorPass::AppendFeed()
{
    if (m_context.Line.F > 0 && m_context.State.ModalG != 4)
        AppendWord(m_context.OutLine, u" F", m_context.Line.F);
}

// With a rotary tool selected the speed is the rotary tool's.
void TranslatorPass::AppendSpeed()
{
    TranslatorLineValues &line = m_context.Line;
    if (!(line.S > 0))
        return;
    AppendWhole(m_context.OutLine, m_context.State.RotaryToolMode ? u" SB=" : u" S", line.S, u"#####");
    m_context.State.LastS = float(line.S);
}

void TranslatorPass::AppendSpindleStopForConstantSpeed()
{
    const TranslatorLineValues &line = m_context.Line;
    if (line.S > 0 && line.SpindleG == 97 && !m_context.OutLine.contains(u"M63"))
        m_context.OutLine += u" M63";
}

// A line of nothing but a comment becomes a banner; otherwise the comment follows the words.
void TranslatorPass::AppendComment()
{
    const QString &comment = m_context.Line.CommentText;
    if (comment.isEmpty())
        return;
    QString &out = m_context.OutLine;
    if (out == Label) {
        out = u"(-----<"_qs + comment + u">-----)"_qs;
    } else {
        out += u"( ";
        out += comment;
        out += u')';
    }
}

// A dwell is not modal, and neither a banner line nor a tool line without a G code carries the G code:
// the line after them writes it again.
void TranslatorPass::EndOfLine()
{
    TranslatorState &state = m_context.State;
    const QString &out = m_context.OutLine;
    if (state.ModalG == 4) {
        if (state.LastG == -1) {
            state.ModalG = 0;
        } else {
            state.ModalG = state.LastG;
            state.LastG = -1;
        }
    } else if (!m_context.Line.CommentText.isEmpty() && out.startsWith(u'(')) {
        state.ModalG = state.LastG;
    } else if (m_context.Line.T > 0 && out.size() >= 6 && out.at(5) == u'T') {
        state.ModalG = state.LastG;
        state.LastG = -1;
    } else {
        state.LastG = state.ModalG.value_or(0);
    }
}
