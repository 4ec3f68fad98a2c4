#include "convert/G90G91Pass.h"

#include "convert/ConvertText.h"
#include "nc/NcNumber.h"

namespace {

// A point written as a comment line, its coordinates always absolute.
QString PointComment(QStringView title, const QString &x, const QString &y, const QString &z)
{
    return QStringLiteral("(%1 G90 X%2 Y%3 Z%4)").arg(title, x, y, z);
}

} // namespace

void G90G91Pass::Prepare()
{
    m_currentX = nc::ValueOfText(m_options.StartXText);
    m_currentY = nc::ValueOfText(m_options.StartYText);
    m_currentZ = float(nc::ValueOfText(m_options.StartZText));
    m_headerState = Header::NotYet;
    // The source is read in the mode the chosen direction starts from.
    Pass.DistanceMode = m_options.ToIncremental ? 90 : 91;
}

bool G90G91Pass::WriteCarriedState(CarriedState &state) const
{
    WriteFrameState(state);
    state.Add(m_currentX);
    state.Add(m_currentY);
    state.Add(m_currentZ);
    state.Add(m_headerState);
    return true;
}

void G90G91Pass::HandleChar()
{
    const QChar c = Pass.CurrentChar;
    if (c == u'G')
        ReadGWord();
    else if (c == u')')
        Pass.InComment = false;
    else if (c == u'X' || c == u'Y' || c == u'Z')
        ConvertAxisWord(c);
}

void G90G91Pass::ReadGWord()
{
    Scan.ReadNumber();
    Pass.LineG = nc::ValueOfText(Scan.Token);
    if (Pass.LineG == 90)
        Pass.DistanceMode = 90;
    else if (Pass.LineG == 91)
        Pass.DistanceMode = 91;
}

void G90G91Pass::ConvertAxisWord(QChar axis)
{
    // An "=" right after the letter stays in the line; the value after it is rewritten.
    qsizetype kept = Scan.Pos;
    if (kept < Scan.LineLength && Scan.CharAt(kept + 1) == u'=')
        ++kept;
    double read = 0;
    if (!Scan.ReadExpressionValue(read))
        return;

    const double current = axis == u'X' ? m_currentX : axis == u'Y' ? m_currentY : double(m_currentZ);
    const double absolute = Pass.DistanceMode == 91 ? current + read : read;
    // Scanning goes on in the line as read, after the value just rewritten.
    m_rewrite.Replace(Scan.Line, kept + 1, Scan.Pos,
                      ValueText(m_options.ToIncremental ? absolute - current : absolute));

    if (axis == u'X')
        m_currentX = absolute;
    else if (axis == u'Y')
        m_currentY = absolute;
    else
        m_currentZ = float(absolute);
    if (m_headerState == Header::NotYet)
        m_headerState = Header::ThisLine;
}

// Written in the room of the value before: every axis word gets one.
const QString &G90G91Pass::ValueText(double value)
{
    if (m_options.DecimalPoint) {
        m_valueText = nc::FormatDouble(value, u"#####0.####");
    } else {
        m_valueText.resize(0);
        nc::AppendValue3Of(m_valueText, value);
    }
    return m_valueText;
}

void G90G91Pass::BeginLine()
{
    Pass.LineG = 0;
    m_rewrite.Begin();
}

void G90G91Pass::EndLine()
{
    QString line = m_rewrite.Finish(Scan.Line);
    convert::BracketFirst(line, u"G90");
    convert::BracketFirst(line, u"G91");
    if (m_headerState == Header::ThisLine) {
        if (m_options.StartComment)
            Emit(PointComment(u"CONVERT START", nc::FormatValue3Of(nc::ValueOfText(m_options.StartXText)),
                              nc::FormatValue3Of(nc::ValueOfText(m_options.StartYText)),
                              nc::FormatValue3Of(nc::ValueOfText(m_options.StartZText))));
        Emit(m_options.ToIncremental ? u"G91" : u"G90");
        m_headerState = Header::Written;
    }
    Emit(line);
}

// The end point is the absolute position whichever way the program was converted.
void G90G91Pass::Finish()
{
    if (!m_options.EndComment)
        return;
    Emit(PointComment(u"END POINT", nc::FormatValue3Of(m_currentX), nc::FormatValue3Of(m_currentY),
                      convert::FormatValue3Single(m_currentZ)));
}

QString ConvertG90G91(const QString &source, const G90G91Options &options)
{
    G90G91Pass pass(options);
    return pass.Run(source);
}
