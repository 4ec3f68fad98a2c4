#include "machine/TranslatorGCodeRules.h"

#include "machine/TranslatorFormat.h"

#include <cmath>

using namespace translator;

namespace {

constexpr QStringView CrLf = u"\r\n";

bool IsDrillingCycle(double g)
{
    return (g >= 81 && g <= 85) || g == 87 || g == 88 || g == 89;
}

} // namespace

TranslatorGCodeRules::Outcome TranslatorGCodeRules::Apply()
{
    const std::optional<double> modal = m_context.State.ModalG;
    if (!modal)
        return Motion();
    const double g = *modal;
    if (g == 0 || g == 1 || g == 2 || g == 3)
        return Motion();
    if (g == 4)
        return Dwell();
    if (g == 28 || g == 30 || g == 53)
        return HomeReturn();
    if (g == 32)
        return ThreadCutting();
    if (g == 50)
        return CoordinateSetting();
    if (g == 65)
        return MacroCall();
    if (g == 66)
        return ModalMacroCall();
    if (g == 67)
        return ModalMacroCancel();
    if (g == 74 || g == 75 || g == 76)
        return IsNew() ? GroovingOrThreadingCycle(int(g)) : Outcome::Continue;
    if (g == 80)
        return CycleCancel();
    if (IsDrillingCycle(g)) {
        if (IsNew())
            return DrillingCycle(int(g));
        // Each further hole is an ordinary coordinate line, its words in the column after the cycle code.
        m_context.OutLine += u"     ";
        return Outcome::Continue;
    }
    if ((g == 90 || g == 92 || g == 94) && !GivesAxisWord())
        return Outcome::ContinueCycleKept;
    if (g == 90)
        return OuterDiameterCycle();
    if (g == 94)
        return FaceCycle();
    if (g == 92)
        return ThreadCuttingCycle();
    if (g == 143)
        return AutomaticNoseRadius();
    return Outcome::Continue; // nothing is written for any other G code
}

bool TranslatorGCodeRules::IsNew() const
{
    return m_context.State.LastG != m_context.State.ModalG;
}

// A turning cycle block needs an axis word: a line without one (a safe-start block, a speed) is no block
// of the cycle in force.
bool TranslatorGCodeRules::GivesAxisWord() const
{
    const TranslatorLineValues &line = m_context.Line;
    return line.XGiven || line.UGiven || line.ZGiven || line.WGiven;
}

bool TranslatorGCodeRules::DrillingCycleInForce() const
{
    return m_context.State.LastG >= 81 && m_context.State.LastG <= 89;
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::Motion()
{
    TranslatorState &state = m_context.State;
    if (!state.ModalG)
        state.ModalG = 0;
    // A drilling cycle is cancelled on a line of its own; the motion goes on on the next line.
    if (DrillingCycleInForce())
        m_context.OutLine += u" G180\r\nN000";
    if (IsNew())
        AppendCodeWord(m_context.OutLine, u" G", *state.ModalG);
    return Outcome::Continue;
}

// The dwell time comes from X, U or P (milliseconds), in that order of preference.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::Dwell()
{
    TranslatorLineValues &line = m_context.Line;
    std::optional<double> &x = m_context.Words.X;
    QString &out = m_context.OutLine;
    if (line.XGiven && ValueOf(x) > 0) {
        AppendWord(out, u" G04 F", x);
        line.XGiven = false;
    } else if (line.UGiven && line.U > 0) {
        AppendWord(out, u" G04 F", line.U);
        line.UGiven = false;
    } else if (nc::ValueOfText(line.P) > 0) {
        AppendWordOf(out, u" G04 F", nc::ValueOfText(line.P) / 1000);
    } else {
        out += u" G04 F0.01";
    }
    return Outcome::Continue;
}

// The home position is a text of the table. Afterwards both axes hold the home marker, so the X, Z, U and
// W words of the line are not written and the next X and Z are.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::HomeReturn()
{
    TranslatorState &state = m_context.State;
    if (m_context.Line.H == -1) {
        const QString &home = m_context.Table.HomePosition;
        if (state.LastG == 0)
            m_context.OutLine += u"     "_qs + home;
        else if (DrillingCycleInForce())
            m_context.OutLine += u" G180\r\nN000 G00 "_qs + home + u" M12 M63"_qs;
        else
            m_context.OutLine += u" G00 "_qs + home;
        TranslatorWords &words = m_context.Words;
        words.X = TranslatorState::HomePosition;
        words.Z = TranslatorState::HomePosition;
        state.LastX = TranslatorState::HomePosition;
        state.LastZ = TranslatorState::HomePosition;
        words.XFromSource = words.ZFromSource = false;
        state.LastXFromSource = state.LastZFromSource = false;
    }
    state.ModalG = 0;
    return Outcome::Continue;
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::ThreadCutting()
{
    if (IsNew())
        m_context.OutLine += u" G34";
    return Outcome::Continue;
}

// G50 sets the maximum spindle speed when it has an S word; a coordinate setting is dropped.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::CoordinateSetting()
{
    TranslatorState &state = m_context.State;
    if (m_context.Line.S > 0)
        m_context.OutLine += u" G50";
    TranslatorWords &words = m_context.Words;
    words.X = state.LastX;
    words.Z = state.LastZ;
    words.XFromSource = state.LastXFromSource;
    words.ZFromSource = state.LastZFromSource;
    state.ModalG = state.LastG;
    return Outcome::Continue;
}

// The macro arguments have no OSP counterpart and are dropped.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::MacroCall()
{
    if (!IsNew())
        return Outcome::Continue;
    m_context.OutLine += u" CALL O"_qs + ProgramNumber(m_context.Line.P);
    m_context.Emit(m_context.OutLine);
    m_context.State.ModalG = 0;
    return Outcome::LineEnded;
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::ModalMacroCall()
{
    if (IsNew())
        m_context.OutLine += u" MODIN O"_qs + ProgramNumber(m_context.Line.P);
    return Outcome::Continue;
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::ModalMacroCancel()
{
    if (IsNew())
        m_context.OutLine += u" MODOUT";
    return Outcome::Continue;
}

// FANUC writes these cycles in two blocks; the first has no F word and gives no output of its own.
// P, Q and R are in thousandths.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::GroovingOrThreadingCycle(int g)
{
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    if (FV3(line.F) == u"0")
        return Outcome::NoOutput;
    const double p = nc::ValueOfText(line.P);
    QString &out = m_context.OutLine;
    if (g == 74) {
        m_context.AppendPosition(u" G74 X", words.X, words.XFromSource);
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
        if (p > 0)
            AppendWordOf(out, u" I", p / 1000 * 2);
        AppendWordOf(out, u" D", line.Q / 1000);
    } else if (g == 75) {
        m_context.AppendPosition(u" G73 X", words.X, words.XFromSource);
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
        if (line.Q > 0)
            AppendWordOf(out, u" K", line.Q / 1000);
        AppendWordOf(out, u" D", p / 1000);
    } else {
        m_context.AppendPosition(u" G71 X", words.X, words.XFromSource);
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
        if (line.R > 0)
            AppendWordOf(out, u" I", line.R / 1000);
        AppendWordOf(out, u" H", p / 1000 * 2);
        AppendWordOf(out, u" D", line.Q / 1000 * 2);
        out += u" B55 U0.01";
    }
    AppendWord(out, u" F", line.F);
    return EndLine();
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::CycleCancel()
{
    m_context.OutLine += u" G180\r\nN000 G00";
    m_context.State.ModalG = 0;
    return Outcome::Continue;
}

// The R point is written as a distance (K for G81 to G85, I for G87 to G89); K of FANUC is the repeat
// count, Q of OSP. A cycle without a C word writes the last C value read.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::DrillingCycle(int g)
{
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    QString &out = m_context.OutLine;
    const double p = nc::ValueOfText(line.P);
    const bool peck = g == 83 || g == 87;
    const bool tapping = g == 84 || g == 88;
    out += peck ? u" G183" : tapping ? u" G178" : (g == 85 || g == 89) ? u" G189" : u" G181";
    m_context.AppendPosition(u" C", words.C, words.CFromSource);
    m_context.AppendPosition(u" X", words.X, words.XFromSource);
    m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
    AppendWordOf(out, g <= 85 ? u" K" : u" I", std::fabs(line.R));
    if (peck)
        AppendWordOf(out, u" D", line.Q / 1000);
    if (!tapping && p > 0)
        AppendWordOf(out, u" E", p / 1000);
    AppendWord(out, u" F", line.F);
    if (line.K > 0)
        AppendWord(out, u" Q", line.K);
    return EndLine();
}

// Each block becomes four lines: approach, cut, retract, return. The start point is the last written
// position, which the cycle does not change; a repeat block keeps the taper of its cycle.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::OuterDiameterCycle()
{
    TranslatorState &state = m_context.State;
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    QString &out = m_context.OutLine;
    const bool isNew = IsNew();
    if (isNew)
        state.CycleTaper = line.R;
    const double taper = state.CycleTaper;
    if (taper != 0) {
        m_context.AppendPositionOf(u"     X", ValueOf(words.X) + 2 * taper, words.XFromSource);
        out += CrLf;
        m_context.AppendPosition(u"N000 G01 X", words.X, words.XFromSource);
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
    } else {
        m_context.AppendPosition(u"     X", words.X, words.XFromSource);
        out += CrLf;
        m_context.AppendPosition(u"N000 G01 Z", words.Z, words.ZFromSource);
    }
    if (isNew)
        AppendWord(out, u" F", line.F);
    out += CrLf;
    m_context.AppendPosition(u"N000     X", state.LastX, state.LastXFromSource);
    out += CrLf;
    m_context.AppendPosition(u"N000 G00 Z", state.LastZ, state.LastZFromSource);
    out += CrLf;
    if (isNew)
        state.LastG = 90;
    m_context.Result += out;
    return Outcome::LineEnded;
}

// As the outer diameter cycle with the axes exchanged; the face taper is not doubled.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::FaceCycle()
{
    TranslatorState &state = m_context.State;
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    QString &out = m_context.OutLine;
    const bool isNew = IsNew();
    if (isNew)
        state.CycleTaper = line.R;
    const double taper = state.CycleTaper;
    if (taper != 0) {
        m_context.AppendPositionOf(u"     Z", ValueOf(words.Z) + taper, words.ZFromSource);
        out += CrLf;
        m_context.AppendPosition(u"N000 G01 X", words.X, words.XFromSource);
        m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
    } else {
        m_context.AppendPosition(u"     Z", words.Z, words.ZFromSource);
        out += CrLf;
        m_context.AppendPosition(u"N000 G01 X", words.X, words.XFromSource);
    }
    if (isNew)
        AppendWord(out, u" F", line.F);
    out += CrLf;
    m_context.AppendPosition(u"N000     Z", state.LastZ, state.LastZFromSource);
    out += CrLf;
    m_context.AppendPosition(u"N000 G00 X", state.LastX, state.LastXFromSource);
    out += CrLf;
    if (isNew)
        state.LastG = 94;
    m_context.Result += out;
    return Outcome::LineEnded;
}

// A taper thread moves the X word by twice the taper; the repeat blocks keep the taper of the cycle.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::ThreadCuttingCycle()
{
    TranslatorState &state = m_context.State;
    TranslatorLineValues &line = m_context.Line;
    TranslatorWords &words = m_context.Words;
    QString &out = m_context.OutLine;
    if (IsNew()) {
        out += u" G33";
        if (line.I != 0) {
            state.ThreadTaper = line.I;
            words.X = ValueOf(words.X) + 2 * line.I;
            m_context.AppendPosition(u" X", words.X, words.XFromSource);
            m_context.AppendPosition(u" Z", words.Z, words.ZFromSource);
            AppendWordOf(out, u" I", -line.I);
            state.LastX = ValueOf(words.X);
            state.LastZ = ValueOf(words.Z);
            state.LastXFromSource = words.XFromSource;
            state.LastZFromSource = words.ZFromSource;
        } else {
            state.ThreadTaper = 0;
        }
    } else {
        out += u"    ";
        if (state.ThreadTaper != 0)
            words.X = ValueOf(words.X) + 2 * state.ThreadTaper;
    }
    return Outcome::Continue;
}

TranslatorGCodeRules::Outcome TranslatorGCodeRules::AutomaticNoseRadius()
{
    m_context.OutLine += u"(*** G143 自動ノーズR補正機能は無いため手動でG40,G41,G42を追加してください。***)";
    m_context.State.ModalG = m_context.State.LastG;
    return Outcome::Continue;
}

// A rule that wrote the whole line emits it and leaves the cycle in force for the lines that follow.
TranslatorGCodeRules::Outcome TranslatorGCodeRules::EndLine()
{
    TranslatorState &state = m_context.State;
    const TranslatorWords &words = m_context.Words;
    m_context.Emit(m_context.OutLine);
    state.LastG = *state.ModalG;
    state.LastX = ValueOf(words.X);
    state.LastZ = ValueOf(words.Z);
    state.LastXFromSource = words.XFromSource;
    state.LastZFromSource = words.ZFromSource;
    return Outcome::LineEnded;
}
