#include "convert/XyCxPass.h"

#include "convert/ConvertText.h"
#include "nc/NcNumber.h"

#include <cmath>

namespace {

// The value of pi the angles are computed with; a more precise one would move some results in the third
// decimal.
constexpr double Pi = 3.14159265358979;

// Angle of the point (x, y) in degrees, 0 to 360; the origin gives 270.
double AngleOf(double x, double y)
{
    if (x == 0)
        return y > 0 ? 90 : 270;
    const double a = std::atan(std::fabs(y) / std::fabs(x)) * 180 / Pi;
    if (x < 0 && y > 0)
        return 180 - a;
    if (x > 0 && y < 0)
        return 360 - a;
    if (x < 0 && y < 0)
        return 180 + a;
    if (x < 0 && y == 0)
        return 180;
    return a;
}

// The text between two 1-based positions, both excluded.
QStringView Between(QStringView line, qsizetype after, qsizetype before)
{
    const qsizetype length = before - 1 - after;
    return length > 0 ? line.mid(after, length) : QStringView();
}

} // namespace

void XyCxPass::Prepare()
{
    Pass.DistanceMode = 90;
    m_lastX = m_lastY = m_lastC = 0;
    m_lastXText.clear();
    m_lastYText.clear();
    m_lastCText.clear();
}

bool XyCxPass::WriteCarriedState(CarriedState &state) const
{
    WriteFrameState(state);
    state.Add(m_lastX);
    state.Add(m_lastY);
    state.Add(m_lastC);
    state.Add(QStringView(m_lastXText));
    state.Add(QStringView(m_lastYText));
    state.Add(QStringView(m_lastCText));
    for (const WordSpan &span : {m_x, m_y, m_c}) {
        state.Add(span.letter);
        state.Add(span.end);
    }
    state.Add(m_targetWordSeen);
    return true;
}

void XyCxPass::BeginLine()
{
    Pass.LineG = 0;
    m_x = m_y = m_c = WordSpan();
    m_targetWordSeen = false;
}

// Each direction reads its own pair of words with their places; a word of the target pair only marks the
// line as already converted.
void XyCxPass::HandleChar()
{
    const QChar c = Pass.CurrentChar;
    const bool toCx = m_direction == XyCxDirection::ToCx;
    if (c == u'G')
        ReadGWord();
    else if (c == u')')
        Pass.InComment = false;
    else if (c == u'X')
        ReadSourceWord(m_x, m_lastX);
    else if (c == u'Y' && toCx)
        ReadSourceWord(m_y, m_lastY);
    else if (c == u'Y')
        ReadTargetWord(m_lastY);
    else if (c == u'C' && toCx)
        ReadTargetWord(m_lastC);
    else if (c == u'C')
        ReadSourceWord(m_c, m_lastC);
}

void XyCxPass::ReadGWord()
{
    Scan.ReadNumber();
    Pass.LineG = nc::ValueOfText(Scan.Token);
    if (Pass.LineG == 90)
        Pass.DistanceMode = 90;
    else if (Pass.LineG == 91)
        Pass.DistanceMode = 91;
}

// A word of the pair being converted: its place is kept even without a value, so the pair is still
// rewritten from the last values.
void XyCxPass::ReadSourceWord(WordSpan &span, double &last)
{
    span.letter = Scan.Pos;
    double read = 0;
    if (Scan.ReadExpressionValue(read))
        last = Absolute(last, read);
    span.end = Scan.Pos;
}

void XyCxPass::ReadTargetWord(double &last)
{
    double read = 0;
    if (!Scan.ReadExpressionValue(read))
        return;
    last = Absolute(last, read);
    m_targetWordSeen = true;
}

// Incremental values are added to the word's last absolute value, so the converted positions are
// absolute and the "(G91)" the line gets is true to them.
double XyCxPass::Absolute(double last, double read) const
{
    return Pass.DistanceMode == 91 ? last + read : read;
}

void XyCxPass::EndLine()
{
    QString line;
    if (m_targetWordSeen)
        line = Scan.Line;
    else if (m_direction == XyCxDirection::ToCx && (m_x.letter || m_y.letter))
        line = PolarLine();
    else if (m_direction == XyCxDirection::ToXy && (m_x.letter || m_c.letter))
        line = CartesianLine();
    else
        line = Scan.Line;
    convert::BracketFirst(line, u"G91");
    Emit(line);
}

QString XyCxPass::PolarLine()
{
    const float diameter = float(2 * std::sqrt(m_lastX * m_lastX + m_lastY * m_lastY));
    QString cText;
    nc::AppendValue3Of(cText, AngleOf(m_lastX, m_lastY));
    const QString xText = convert::FormatValue3Single(diameter);
    const QString line = JoinWords(m_x, m_y, cText == m_lastCText ? QString() : u'C' + cText,
                                   xText == m_lastXText ? QString() : u'X' + xText, false);
    m_lastCText = cText;
    m_lastXText = xText;
    return line;
}

QString XyCxPass::CartesianLine()
{
    const double angle = (m_lastC > 0 ? m_lastC : m_lastC + 360) * Pi / 180;
    const double radius = m_lastX / 2;
    QString xText;
    nc::AppendValue3Of(xText, radius * std::cos(angle));
    QString yText;
    nc::AppendValue3Of(yText, radius * std::sin(angle));
    const QString line = JoinWords(m_x, m_c, xText == m_lastXText ? QString() : u'X' + xText,
                                   yText == m_lastYText ? QString() : u'Y' + yText, true);
    m_lastXText = xText;
    m_lastYText = yText;
    return line;
}

// Puts the two new words where the old pair stood: the line up to the first old word, the first new
// word, whatever stood between the old words, the second new word, the line after the second old word.
// The new words bring no blanks of their own.
QString XyCxPass::JoinWords(WordSpan a, WordSpan b, const QString &first, const QString &second,
                            bool dropLoneBlank) const
{
    const bool aLeads = a.letter == 0 || (b.letter != 0 && a.letter < b.letter);
    if (!aLeads)
        std::swap(a, b);
    const QStringView line = Scan.Line;
    QString out;
    out.reserve(line.size() + first.size() + second.size());
    out += line.left((a.letter ? a.letter : b.letter) - 1);
    out += first;
    if (a.letter)
        out += Between(line, a.end, b.letter);
    // Without this a line whose first word is left out would start with the blank that followed it.
    if (dropLoneBlank && out == u" ")
        out.clear();
    out += second;
    out += line.mid(b.end);
    return out;
}

QString ConvertXyCx(const QString &source, XyCxDirection direction)
{
    XyCxPass pass(direction);
    return pass.Run(source);
}
