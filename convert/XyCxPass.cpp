#include "convert/XyCxPass.h"

#include "convert/ConvertText.h"
#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

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
    const bool toCx = m_direction == XyCxDirection::ToCx;
    if (!m_targetWordSeen && toCx && (m_x.letter || m_y.letter)) {
        PolarLine();
    } else if (!m_targetWordSeen && !toCx && (m_x.letter || m_c.letter)) {
        CartesianLine();
    } else {
        m_line.resize(0);
        m_line += Scan.Line;
    }
    convert::BracketFirst(m_line, u"G91");
    Emit(m_line);
}

// A new text equal to the last one written is left out; the texts are written in rooms kept from line to
// line, and the last ones are kept by swapping them in.
void XyCxPass::PolarLine()
{
    const float diameter = float(2 * std::sqrt(m_lastX * m_lastX + m_lastY * m_lastY));
    QString &cText = m_firstText;
    QString &xText = m_secondText;
    cText.resize(0);
    nc::AppendValue3Of(cText, AngleOf(m_lastX, m_lastY));
    xText.resize(0);
    nc::AppendSingle3(xText, diameter);
    JoinWords(m_x, m_y, u'C', cText == m_lastCText ? QStringView() : QStringView(cText), u'X',
              xText == m_lastXText ? QStringView() : QStringView(xText), false);
    std::swap(m_lastCText, cText);
    std::swap(m_lastXText, xText);
}

void XyCxPass::CartesianLine()
{
    const double angle = (m_lastC > 0 ? m_lastC : m_lastC + 360) * Pi / 180;
    const double radius = m_lastX / 2;
    QString &xText = m_firstText;
    QString &yText = m_secondText;
    xText.resize(0);
    nc::AppendValue3Of(xText, radius * std::cos(angle));
    yText.resize(0);
    nc::AppendValue3Of(yText, radius * std::sin(angle));
    JoinWords(m_x, m_c, u'X', xText == m_lastXText ? QStringView() : QStringView(xText), u'Y',
              yText == m_lastYText ? QStringView() : QStringView(yText), true);
    std::swap(m_lastXText, xText);
    std::swap(m_lastYText, yText);
}

// Puts the two new words where the old pair stood: the line up to the first old word, the first new
// word, whatever stood between the old words, the second new word, the line after the second old word.
// The new words bring no blanks of their own; an empty text writes no word.
void XyCxPass::JoinWords(WordSpan a, WordSpan b, QChar firstLetter, QStringView first, QChar secondLetter,
                         QStringView second, bool dropLoneBlank)
{
    const bool aLeads = a.letter == 0 || (b.letter != 0 && a.letter < b.letter);
    if (!aLeads)
        std::swap(a, b);
    const QStringView line = Scan.Line;
    QString &out = m_line;
    out.resize(0);
    out += line.left((a.letter ? a.letter : b.letter) - 1);
    if (!first.isEmpty()) {
        out += firstLetter;
        out += first;
    }
    if (a.letter)
        out += Between(line, a.end, b.letter);
    // Without this a line whose first word is left out would start with the blank that followed it.
    if (dropLoneBlank && out == u" ")
        out.resize(0);
    if (!second.isEmpty()) {
        out += secondLetter;
        out += second;
    }
    out += line.mid(b.end);
}

QString ConvertXyCx(const QString &source, XyCxDirection direction)
{
    XyCxPass pass(direction);
    return pass.Run(source);
}
