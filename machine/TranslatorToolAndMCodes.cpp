#include "machine/TranslatorToolAndMCodes.h"

#include "machine/TranslatorFormat.h"
#include "nc/NcNumber.h"

#include <cmath>

// FANUC T words are tool and offset ("T0203": tool 2, offset 3). A T word without a tool number keeps the
// tool last labelled.
void TranslatorToolAndMCodes::AppendToolWord()
{
    const float t = m_context.Line.T;
    if (!(t > 0))
        return;
    TranslatorState &state = m_context.State;
    state.ToolNumber = std::trunc(double(t) / 100);
    if (state.ToolNumber == 0)
        state.ToolNumber = state.LabelledTool;
    QString plain = nc::PlainTextSingle(t);
    if (plain.startsWith(u' '))
        plain.remove(0, 1);
    const QString offset = plain.right(2);
    const double offsetValue = nc::ValueOfText(offset);
    QString &out = m_context.OutLine;
    if (!m_context.Table.ToolGroups) {
        // Six digits: offset, tool, offset. Offset 99 means "the offset of the tool's own number".
        const double osp =
            offset == u"99" ? 10101 * state.ToolNumber : offsetValue * 10001 + state.ToolNumber * 100;
        translator::AppendWhole(out, u" T", osp, u"000000");
        return;
    }
    if (state.LabelledTool != state.ToolNumber)
        translator::AppendWhole(out, u" TG=", state.ToolNumber, u"##");
    const bool ownOffset = offset == u"99" || offset == u"00" || offsetValue == state.ToolNumber;
    out += ownOffset ? u" OG=1" : u" OG=2";
}

void TranslatorToolAndMCodes::AppendMWords()
{
    const TranslatorLineValues &line = m_context.Line;
    for (int i = 0; i < line.MCount; ++i) {
        const int row = FindMRow(line.MCodes[i]);
        if (row < 0) {
            m_context.FailIndex();
            return;
        }
        AppendReplacement(row);
        ActOnReplacement(m_context.Table.MKinds[row]);
    }
}

// The first M-code row that names the code; -1 when none does.
int TranslatorToolAndMCodes::FindMRow(float m) const
{
    const auto &numbers = m_context.Table.MNumbers;
    for (int i = 0; i < int(numbers.size()); ++i)
        if (numbers[i] == m)
            return i;
    return -1;
}

// A spindle stop also stops the rotary tool when that is the spindle in use.
void TranslatorToolAndMCodes::AppendReplacement(int row)
{
    QString &out = m_context.OutLine;
    if (m_context.Table.MKinds[row] != MReplacementKind::SpindleStop) {
        out += u' ';
        out += m_context.Table.MReplacements[row];
    } else {
        out += m_context.State.RotaryToolMode ? u" M12 M63" : u" M05 M63";
    }
}

// Program end, sub-program return and program stop take the place of the line's "N000" with their own
// sequence name; the empty lines they add come before the line end that emission adds.
void TranslatorToolAndMCodes::ActOnReplacement(MReplacementKind kind)
{
    QString &out = m_context.OutLine;
    TranslatorState &state = m_context.State;
    switch (kind) {
    case MReplacementKind::Call:
        out += u" O"_qs + translator::ProgramNumber(m_context.Line.P);
        break;
    case MReplacementKind::ProgramEnd:
        if (m_context.Table.ToolGroups || m_context.Line.BlockDelete) {
            out = m_context.Table.ToolGroups ? u"N000 M100\r\nN000 TLID\r\nNEND M02\r\n\r\n\r\n"_qs
                                             : u"N000/M002\r\n"_qs;
            m_context.PositionNotFromSource = false; // the words written so far are gone
        } else {
            out = u"NEND "_qs + out.mid(5) + u"\r\n\r\n\r\n"_qs;
        }
        break;
    case MReplacementKind::SubprogramReturn:
        out = u"NRTS "_qs + out.mid(5) + u"\r\n"_qs;
        break;
    case MReplacementKind::ProgramStop:
        out = u"NSTP "_qs + out.mid(5);
        if (m_context.Options.Check1)
            out += u"\r\n";
        break;
    case MReplacementKind::RotaryToolOn:
        state.RotaryToolMode = true;
        break;
    case MReplacementKind::RotaryToolOff:
        state.RotaryToolMode = false;
        break;
    case MReplacementKind::Plain:
    case MReplacementKind::SpindleStop:
        break;
    }
}
