#include "machine/TranslatorFormat.h"
#include "machine/TranslatorPass.h"

using namespace translator;

// FANUC's multiple repetitive cycles. The roughing cycle's profile blocks are read by the control, never
// run in line: they become the contour definition right after the call ("NLAP1 G81" ... "G80"), written
// by the motion rules. A call waits for the next line to know whether its profile follows; what comes
// meanwhile is held, so that a cycle that cannot be translated gives lines to check for its blocks and its
// profile and never a move.

namespace {

constexpr QStringView CrLf = u"\r\n";
// A profile longer than this is not read as one: the lines held for it stay bounded.
constexpr qsizetype MostProfileLines = 10000;

bool IsMotion(const std::optional<double> &g)
{
    return g && *g >= 0 && *g <= 3;
}

// The frame may hand a line over in the room of its piece, which the next piece takes again: a line kept
// beyond its own turn is copied.
QString Kept(const QString &line)
{
    return QString(line.constData(), line.size());
}

bool IsCommentOrEmpty(const QString &line)
{
    return line.isEmpty() || line.front() == u'(';
}

// Other cycles, a subprogram call and the end of the program or subprogram cut through a profile.
bool CrossesProfile(const TranslatorLineValues &line, const std::optional<double> &g)
{
    for (int i = 0; i < line.MCount; ++i) {
        const float m = line.MCodes[std::size_t(i)];
        if (m == 2 || m == 30 || m == 98 || m == 99)
            return true;
    }
    if (line.CycleG != 0)
        return true;
    if (!g)
        return false;
    const double code = *g;
    return code == 74 || code == 75 || code == 76 || code == 90 || code == 92 || code == 94 ||
           (code >= 80 && code <= 89);
}

} // namespace

void TranslatorPass::HandleLine(const QString &line, std::optional<double> modalBefore)
{
    const bool special = m_context.State.Mode && TranslatorPass::IsSpecialLine(line);
    const QString firstBlock = std::exchange(m_firstBlock, QString());
    switch (m_phase) {
    case CyclePhase::CallWaiting:
        if (HandleWaitingCall(line, special))
            return;
        break;
    case CyclePhase::ReadingProfile:
        if (HandleProfile(line, special))
            return;
        break;
    case CyclePhase::FlaggingProfile:
        if (special)
            break;
        if (CrossesProfile(m_context.Line, m_context.State.ModalG)) {
            m_phase = CyclePhase::None;
            break;
        }
        AppendLineToCheck(m_context.Result, line);
        if (m_context.Line.Sequence() == m_flagUntil || ++m_flaggedInProfile > MostProfileLines)
            m_phase = CyclePhase::None;
        return;
    case CyclePhase::None:
        break;
    }
    if (special) {
        TranslateLine(line);
        return;
    }
    const TranslatorLineValues &values = m_context.Line;
    if (values.CycleG != 0) {
        HandleCycleBlock(line, firstBlock, modalBefore);
        return;
    }
    if (!values.SequenceText.isEmpty() && m_cycles.RefusesProfiles()) {
        const std::optional<double> sequence = values.Sequence();
        if (const std::optional<double> last =
                sequence ? m_cycles.RefusedProfileFrom(*sequence) : std::nullopt) {
            StartFlaggingProfile(*last, line);
            return;
        }
    }
    TranslateLine(line);
}

// True when the line was taken: held while the call waits, or the first line of its contour.
bool TranslatorPass::HandleWaitingCall(const QString &line, bool special)
{
    if (special && IsCommentOrEmpty(line)) {
        TranslateLine(line);
        HoldResult(line, true);
        if (qsizetype(m_waiting.held.size()) > MostProfileLines)
            EndCallWithoutProfile(NextLine::Taken);
        return true;
    }
    const TranslatorLineValues &values = m_context.Line;
    if (!special && values.CycleG == 0 && values.Sequence() == m_waiting.call.first) {
        if (StartContour())
            ReadContourLine(line, false);
        else
            RefuseWaitingCall(NextLine::Taken, &line);
        return true;
    }
    EndCallWithoutProfile(NextLine::Continues);
    return false;
}

// True when the line was taken as a line of the contour; false when it ended the profile before its last
// block, refusing the call.
bool TranslatorPass::HandleProfile(const QString &line, bool special)
{
    if ((special && !IsCommentOrEmpty(line)) ||
        (!special && CrossesProfile(m_context.Line, m_context.State.ModalG))) {
        RefuseWaitingCall(NextLine::Continues);
        return false;
    }
    if (qsizetype(m_waiting.held.size()) > MostProfileLines) {
        RefuseWaitingCall(NextLine::Taken, &line);
        return true;
    }
    ReadContourLine(line, special);
    return true;
}

// A first block keeps its values and gives nothing; a block with P and Q becomes a call. A cycle is one
// block long: the motion mode before it stays in force.
void TranslatorPass::HandleCycleBlock(const QString &line, const QString &firstBlock,
                                      std::optional<double> modalBefore)
{
    TranslatorState &state = m_context.State;
    const TranslatorLineValues &values = m_context.Line;
    state.ModalG = modalBefore;
    state.MotionUnknown = true;
    if (values.F > 0)
        state.LastF = values.F;
    if (TranslatorCycles::IsFirstBlock(values)) {
        if (m_cycles.KeepFirstBlock(values))
            m_firstBlock = Kept(line);
        else
            AppendLineToCheck(m_context.Result, line);
        return;
    }
    QStringList blocks;
    if (!firstBlock.isEmpty())
        blocks.append(firstBlock);
    blocks.append(Kept(line));
    const std::optional<TranslatorCycles::Call> call = m_cycles.CallOf(values, state);
    if (!call || call->ospG == 87) {
        if (const TranslatorCycles::Contour *contour = call ? m_cycles.Find(*call) : nullptr) {
            WriteFinishingCall(*contour);
            return;
        }
        for (const QString &block : blocks)
            AppendLineToCheck(m_context.Result, block);
        const std::optional<double> first = values.PNumber();
        if (first && values.QGiven)
            m_cycles.NoteRefusedProfile(*first, values.Q);
        return;
    }
    m_waiting.Clear();
    m_waiting.call = *call;
    AppendCallComment(m_waiting.call.words);
    m_waiting.blocks = std::move(blocks);
    m_waiting.state = state;
    m_waiting.words = m_context.Words;
    m_waiting.flaggedLines = m_flaggedLines;
    m_waiting.modalBefore = modalBefore;
    m_waiting.prefix = CallLineStart();
    if (call->speed) {
        AppendWhole(m_waiting.prefix, state.RotaryToolMode ? u" SB=" : u" S", *call->speed, u"#####");
        state.LastS = float(*call->speed);
        m_waiting.prefix += CrLf;
        m_waiting.prefix += m_context.Line.BlockDelete ? u"/N000" : u"N000";
    }
    m_waiting.prefix += u" G"_qs + QString::number(call->ospG) + u' ';
    m_phase = CyclePhase::CallWaiting;
}

// The header if it is still due, and the sequence name the line takes (a tool label that waits goes here).
QString TranslatorPass::CallLineStart()
{
    m_context.OutLine.resize(0);
    AppendHeader();
    AppendSequenceLabel();
    return m_context.OutLine;
}

void TranslatorPass::WriteFinishingCall(const TranslatorCycles::Contour &contour)
{
    QString line = CallLineStart();
    line += u" G87 ";
    line += TranslatorCycles::LabelName(contour.label);
    AppendCallComment(line);
    m_context.Emit(line);
    m_context.State.LastG = -1;
}

// The comment of the cycle's block follows the call's words, as on any line.
void TranslatorPass::AppendCallComment(QString &out) const
{
    const QString &comment = m_context.Line.CommentText;
    if (comment.isEmpty())
        return;
    out += u"( ";
    out += comment;
    out += u')';
}

bool TranslatorPass::StartContour()
{
    m_waiting.label = m_cycles.AddContour(m_waiting.call);
    if (m_waiting.label == 0)
        return false;
    m_waiting.contourFrom = qsizetype(m_waiting.held.size());
    m_phase = CyclePhase::ReadingProfile;
    return true;
}

// A line of the contour, written by the motion rules. The contour takes G00 (in its first block only, given
// or in force), G01, G02, G03, positions, arc words, F and S: a line with anything else is shown for
// checking. The first
// block must give G00 or G01, as the control's cycle needs it.
void TranslatorPass::ReadContourLine(const QString &line, bool special)
{
    TranslatorState &state = m_context.State;
    const bool first = qsizetype(m_waiting.held.size()) == m_waiting.contourFrom;
    if (special) {
        TranslateLine(line);
    } else {
        if (first) {
            if (!(m_context.Line.MainGGiven && (state.ModalG == 0 || state.ModalG == 1))) {
                RefuseWaitingCall(NextLine::Taken, &line);
                return;
            }
            state.LastG = -1; // the first block writes its G code
        }
        TranslateLine(line, !ContourTakesLine(first));
        if (m_context.Failed()) {
            m_context.Result.resize(0);
            RefuseWaitingCall(NextLine::Taken);
            return;
        }
    }
    HoldResult(line, special);
    if (!special && m_context.Line.Sequence() == m_waiting.call.last)
        WriteContour();
}

void TranslatorPass::HoldResult(const QString &line, bool special)
{
    m_waiting.output += m_context.Result;
    m_context.Result.resize(0);
    m_waiting.sources += line;
    m_waiting.held.push_back({m_waiting.sources.size(), m_waiting.output.size(), special});
}

bool TranslatorPass::ContourTakesLine(bool first) const
{
    const TranslatorLineValues &values = m_context.Line;
    const std::optional<double> &g = m_context.State.ModalG;
    return IsMotion(g) && !(g == 0 && !first) && values.NoseRG == 0 && values.PlaneG == 0 &&
           values.SpindleG == 0 && values.FeedModeG == 0 && !(values.T > 0) && values.MCount == 0 &&
           !values.YGiven && !values.CGiven && values.H == -1 && !values.MacroCallG;
}

// The call, the lines held before the contour, the contour's heading, its lines and its end.
void TranslatorPass::WriteContour()
{
    QString &out = m_context.Result;
    const QString name = TranslatorCycles::LabelName(m_waiting.label);
    out += m_waiting.prefix;
    out += name;
    out += m_waiting.call.words;
    out += CrLf;
    const qsizetype contourFrom =
        m_waiting.contourFrom == 0 ? 0 : m_waiting.held[std::size_t(m_waiting.contourFrom - 1)].outputEnd;
    out += QStringView(m_waiting.output).first(contourFrom);
    out += name;
    out += m_waiting.call.transverse ? u" G82" : u" G81";
    out += CrLf;
    out += QStringView(m_waiting.output).sliced(contourFrom);
    out += u"N000 G80\r\n";
    // The control ends the cycle where it began: the contour moved nothing.
    TranslatorState &state = m_context.State;
    const bool headerDone = state.HeaderDone;
    const double labelledTool = state.LabelledTool;
    state = m_waiting.state;
    state.HeaderDone = headerDone;
    state.LabelledTool = labelledTool;
    m_context.Words = m_waiting.words;
    EndCycle(NextLine::Taken);
}

// The next line is not the profile's first block: the call runs a contour of the same blocks written
// before, or it cannot be translated.
void TranslatorPass::EndCallWithoutProfile(NextLine next)
{
    const TranslatorCycles::Contour *contour = m_cycles.Find(m_waiting.call);
    if (!contour) {
        RefuseWaitingCall(next);
        return;
    }
    QString &out = m_context.Result;
    QString rest = std::exchange(out, QString());
    out += m_waiting.prefix;
    out += TranslatorCycles::LabelName(contour->label);
    out += m_waiting.call.words;
    out += CrLf;
    out += m_waiting.output;
    out += rest;
    EndCycle(next);
}

// Everything the call did is taken back; its blocks and the lines of its profile held so far are shown
// for checking, the comments and empty lines among them as they are. With `profileLine`, a line of the
// profile that is not held, the profile's lines are shown for checking from it on up to its last block.
// A line read after the call that goes on to be translated keeps what it read.
void TranslatorPass::RefuseWaitingCall(NextLine next, const QString *profileLine)
{
    const double last = m_waiting.call.last;
    TranslatorState &state = m_context.State;
    const TranslatorState read = state;
    const TranslatorWords readWords = m_context.Words;
    state = m_waiting.state;
    m_context.Words = m_waiting.words;
    if (next == NextLine::Continues)
        KeepWhatTheLineRead(read, readWords);
    m_flaggedLines = m_waiting.flaggedLines;
    QString &out = m_context.Result;
    QString rest = std::exchange(out, QString());
    for (const QString &block : m_waiting.blocks)
        AppendLineToCheck(out, block);
    qsizetype outputFrom = 0;
    qsizetype sourceFrom = 0;
    for (const HeldLine &held : m_waiting.held) {
        if (held.special)
            out += QStringView(m_waiting.output).sliced(outputFrom, held.outputEnd - outputFrom);
        else
            AppendLineToCheck(out,
                              QStringView(m_waiting.sources).sliced(sourceFrom, held.sourceEnd - sourceFrom));
        outputFrom = held.outputEnd;
        sourceFrom = held.sourceEnd;
    }
    out += rest;
    if (m_waiting.label != 0)
        m_cycles.DropContour(m_waiting.call, m_waiting.label);
    m_cycles.NoteRefusedProfile(m_waiting.call.first, m_waiting.call.last);
    // nothing of the cycle was written: the output's motion mode is the one before it
    state.MotionUnknown = true;
    m_phase = CyclePhase::None;
    m_waiting.Clear();
    if (profileLine)
        StartFlaggingProfile(last, *profileLine);
}

void TranslatorPass::KeepWhatTheLineRead(const TranslatorState &read, const TranslatorWords &words)
{
    const TranslatorLineValues &line = m_context.Line;
    TranslatorState &state = m_context.State;
    TranslatorWords &kept = m_context.Words;
    if (line.MainGGiven)
        state.ModalG = read.ModalG;
    state.Inch = read.Inch;
    // the value of an axis the line gave and whether a source word gave it go together
    const auto keep = [&](bool given, std::optional<double> TranslatorWords::*value,
                          bool TranslatorWords::*fromSource) {
        if (given) {
            kept.*value = words.*value;
            kept.*fromSource = words.*fromSource;
        }
    };
    keep(line.XGiven, &TranslatorWords::X, &TranslatorWords::XFromSource);
    keep(line.YGiven, &TranslatorWords::Y, &TranslatorWords::YFromSource);
    keep(line.ZGiven, &TranslatorWords::Z, &TranslatorWords::ZFromSource);
    keep(line.CGiven, &TranslatorWords::C, &TranslatorWords::CFromSource);
    kept.ProgramNumber = words.ProgramNumber;
}

// After the call the output's next line writes its G code; the motion mode in force is the one before the
// cycle, unless the line that goes on gave its own.
void TranslatorPass::EndCycle(NextLine next)
{
    TranslatorState &state = m_context.State;
    if (!(next == NextLine::Continues && m_context.Line.MainGGiven))
        state.ModalG = m_waiting.modalBefore;
    state.LastG = -1;
    state.MotionUnknown = true;
    m_phase = CyclePhase::None;
    m_waiting.Clear();
}

// The lines of a profile whose cycle was not translated, up to its last block, are shown for checking.
void TranslatorPass::StartFlaggingProfile(double last, const QString &line)
{
    m_flagUntil = last;
    m_flaggedInProfile = 0;
    // the profile's G codes were read, not run: the motion mode after it is not known
    m_context.State.MotionUnknown = true;
    AppendLineToCheck(m_context.Result, line);
    m_phase = m_context.Line.Sequence() == last ? CyclePhase::None : CyclePhase::FlaggingProfile;
}
