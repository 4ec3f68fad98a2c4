#include "convert/RotaryAxisPass.h"

#include "nc/NcNumber.h"

namespace {
constexpr QStringView CrLf = u"\r\n";
}

RotaryAxisPass::RotaryAxisPass(RotaryAxisOptions options) : m_options(std::move(options))
{
    m_axisValid = m_options.AxisLetter.size() == 1 && nc::IsAddressLetter(m_options.AxisLetter.front());
    if (m_axisValid)
        m_axis = m_options.AxisLetter.front();
}

QString RotaryAxisPass::Convert(const QString &source)
{
    // The frame gives a program without a final CR LF one, so its last text is examined as a line; the
    // line end that brought is taken off again.
    QString result = Run(source);
    if (!source.endsWith(CrLf) && result.endsWith(CrLf))
        result.chop(CrLf.size());
    return result;
}

void RotaryAxisPass::Prepare()
{
    m_forwardValue = nc::ValueOfText(m_options.ForwardCode);
    m_reverseValue = nc::ValueOfText(m_options.ReverseCode);
    m_forwardActive = true;
    m_currentAngle = 0;
    m_previousAngle = 0;
    Pass.DistanceMode = 90;
}

bool RotaryAxisPass::WriteCarriedState(CarriedState &state) const
{
    WriteFrameState(state);
    state.Add(m_currentAngle);
    state.Add(m_previousAngle);
    state.Add(m_forwardActive);
    state.Add(m_lineM);
    return true;
}

void RotaryAxisPass::BeginLine()
{
    m_lineM = 0;
    Pass.LineG = 0;
}

void RotaryAxisPass::HandleChar()
{
    const QChar c = Pass.CurrentChar;
    if (c == u')')
        Pass.InComment = false;
    else if (c == u'G')
        ReadGWord();
    else if (m_axisValid && c == m_axis)
        ReadAngle();
    else if (c == u'M')
        ReadMWord();
}

void RotaryAxisPass::ReadGWord()
{
    Scan.ReadNumber();
    Pass.LineG = nc::ValueOfText(Scan.Token);
    if (Pass.LineG == 90)
        Pass.DistanceMode = 90;
    else if (Pass.LineG == 91)
        Pass.DistanceMode = 91;
}

// An incremental angle counts from the previous one; the result is brought back into 0 to 360 by at
// most one turn each way.
void RotaryAxisPass::ReadAngle()
{
    double angle = Scan.ReadExpression();
    if (Scan.Token.isEmpty())
        return;
    if (Pass.DistanceMode == 91)
        angle += m_previousAngle;
    if (angle > 360)
        angle -= 360;
    if (angle < 0)
        angle += 360;
    m_currentAngle = angle;
}

// A direction code written in the program sets the direction in force, whether the axis moves or not.
void RotaryAxisPass::ReadMWord()
{
    const double read = Scan.ReadExpression();
    if (!Scan.Token.isEmpty())
        m_lineM = read;
    if (m_lineM == m_forwardValue)
        m_forwardActive = true;
    else if (m_lineM == m_reverseValue)
        m_forwardActive = false;
}

void RotaryAxisPass::EndLine()
{
    if (const QString *code = CodeForMove()) {
        Scan.Line += u" M";
        Scan.Line += *code;
    }
    // The appended code goes straight to the result: it is never read again as program text.
    Emit(Scan.Line);
}

// A turn of exactly 180 degrees either way goes in reverse.
const QString *RotaryAxisPass::CodeForMove()
{
    if (float(m_currentAngle) == m_previousAngle)
        return nullptr;
    const double d = m_currentAngle - double(m_previousAngle);
    m_previousAngle = float(m_currentAngle);
    const bool forward = (d > 0 && d < 180) || d < -180;
    if (forward && !m_forwardActive && m_lineM != m_forwardValue) {
        m_forwardActive = true;
        return &m_options.ForwardCode;
    }
    if (!forward && m_forwardActive && m_lineM != m_reverseValue) {
        m_forwardActive = false;
        return &m_options.ReverseCode;
    }
    return nullptr;
}

QString ConvertRotaryAxis(const QString &source, const RotaryAxisOptions &options)
{
    RotaryAxisPass pass(options);
    return pass.Convert(source);
}
