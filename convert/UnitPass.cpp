#include "convert/UnitPass.h"

#include "nc/ConversionPass.h"
#include "nc/NcNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A factor applied by multiplication or by division: dividing by 1000 and multiplying by 0.001 round
// differently in single precision, and the values are divided.
struct Scaling
{
    double factor;
    bool divide;

    // The operation is exact, its result rounded to single precision.
    float Apply(float value) const { return float(divide ? double(value) / factor : double(value) * factor); }
};

constexpr Scaling Unchanged{1, false};
constexpr double MmPerInch = 25.4;
// Surface speed: metres per minute to feet per minute.
constexpr double FeetPerMetre = 3.28;

// The NC text of a single-precision value rounded to 3 (4) decimals: its seven significant digits rounded
// half away from zero to the places, without trailing zeros or a bare point ("12", "0.5", "-0.04", "0").
// This is what FormatValue3 (FormatValue4) makes of the value's plain text, without the detour through
// the text and back. Written into `text`, in the room it already has. True when the text is a whole
// number's digits, which need not be read again to know that they are a number.
bool FormatSingleShortest(float value, QStringView pattern, QString &text)
{
    // A whole number below 10^7 has at most seven digits: its decimal form is itself, and nothing is
    // rounded. Millimetres become such numbers of micrometres.
    if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
        char16_t digits[12];
        int first = 12;
        for (auto whole = std::uint32_t(std::fabs(value)); first == 12 || whole > 0; whole /= 10)
            digits[--first] = char16_t(u'0' + whole % 10);
        if (value < 0)
            digits[--first] = u'-';
        text.resize(0);
        text.append(reinterpret_cast<const QChar *>(digits + first), 12 - first);
        return true;
    }
    nc::FormatSingleInto(value, pattern, text);
    if (text.endsWith(u'.'))
        text.chop(1);
    return false;
}

bool FormatSingle3(float value, QString &text)
{
    return FormatSingleShortest(value, u"0.###", text);
}

bool FormatSingle4(float value, QString &text)
{
    return FormatSingleShortest(value, u"0.####", text);
}

class UnitPass : public ConversionPass
{
public:
    explicit UnitPass(UnitOption option) : m_option(option) { HandOnly(u"NG)ABCDHIJKLRWYZFUXES"); }

protected:
    void Prepare() override
    {
        m_feedMode = 95;
        m_spindleMode = 97;
    }

    bool WriteCarriedState(CarriedState &state) const override
    {
        WriteFrameState(state);
        state.Add(m_feedMode);
        state.Add(m_spindleMode);
        return true;
    }

    // The line goes to the result as it is scanned: the stretch before each changed value, the new value,
    // and at the end the rest of the line. The line itself is never changed.
    void BeginLine() override
    {
        Pass.LineG = 0;
        m_copied = 0;
    }

    void EndLine() override
    {
        EmitRaw(QStringView(Scan.Line).sliced(std::min(m_copied, Scan.Line.size())));
        EmitRaw(u"\r\n");
    }

    void HandleChar() override
    {
        switch (Pass.CurrentChar.unicode()) {
        case u'N':
            // The character right after the N is not examined.
            ++Scan.Pos;
            break;
        case u'G':
            ReadGWord();
            break;
        case u')':
            Pass.InComment = false;
            break;
        case u'A':
        case u'B':
        case u'C':
            // Rotary axes are in degrees under inch and millimetre alike.
            if (!IsInchOption())
                ConvertLengthWord();
            break;
        case u'D':
        case u'H':
        case u'I':
        case u'J':
        case u'K':
        case u'L':
        case u'R':
        case u'W':
        case u'Y':
        case u'Z':
            ConvertLengthWord();
            break;
        case u'F':
        case u'U':
        case u'X':
            ConvertFeedOrDwellWord();
            break;
        case u'E':
            ConvertEWord();
            break;
        case u'S':
            ConvertSpindleWord();
            break;
        default:
            break;
        }
    }

private:
    bool IsInchOption() const { return m_option == UnitOption::InchToMm || m_option == UnitOption::MmToInch; }
    bool IsDwellBlock() const { return Pass.LineG == 4; }

    // The modes change where the G word stands: words before it on the line are converted under the mode
    // in force before the line.
    void ReadGWord()
    {
        Scan.ReadNumber();
        Pass.LineG = nc::ValueOfText(Scan.Token);
        if (Pass.LineG == 94 || Pass.LineG == 98)
            m_feedMode = 94;
        else if (Pass.LineG == 95 || Pass.LineG == 99)
            m_feedMode = 95;
        else if (Pass.LineG == 96)
            m_spindleMode = 96;
        else if (Pass.LineG == 97)
            m_spindleMode = 97;
    }

    // In a dwell block the first F, U or X word is a time, which inches and millimetres share; the
    // metric options scale it like every length.
    void ConvertFeedOrDwellWord()
    {
        if (IsInchOption() && IsDwellBlock())
            Pass.LineG = 1;
        else
            ConvertLengthWord();
    }

    Scaling LengthScaling() const
    {
        switch (m_option) {
        case UnitOption::UmToMm:
            return {1000, true};
        case UnitOption::TenUmToMm:
            return {100, true};
        case UnitOption::InchToMm:
            return {MmPerInch, false};
        case UnitOption::MmToInch:
            return {MmPerInch, true};
        case UnitOption::MmToUm:
            return {1000, false};
        case UnitOption::MmToTenUm:
            return {100, false};
        }
        return Unchanged;
    }

    // The E word is a dwell time in a dwell block and a feed otherwise, and a feed per minute is written
    // in other units than a feed per revolution.
    Scaling EScaling() const
    {
        const bool dwell = IsDwellBlock();
        const bool perRevolution = m_feedMode == 95;
        switch (m_option) {
        case UnitOption::UmToMm:
            return {dwell ? 100.0 : perRevolution ? 1000.0 : 10.0, true};
        case UnitOption::TenUmToMm:
            return dwell ? Scaling{10, true} : perRevolution ? Scaling{100, true} : Unchanged;
        case UnitOption::MmToUm:
            return {dwell ? 100.0 : perRevolution ? 1000.0 : 10.0, false};
        case UnitOption::MmToTenUm:
            return dwell ? Scaling{10, false} : perRevolution ? Scaling{100, false} : Unchanged;
        case UnitOption::InchToMm:
        case UnitOption::MmToInch:
            break;
        }
        return LengthScaling();
    }

    void ConvertLengthWord()
    {
        const bool toInch = m_option == UnitOption::MmToInch;
        const Scaling scaling = LengthScaling();
        ReplaceWordValue([&](float value, QString &text) {
            const float scaled = scaling.Apply(value);
            return toInch ? FormatSingle4(scaled, text) : FormatSingle3(scaled, text);
        });
    }

    void ConvertEWord()
    {
        const Scaling scaling = EScaling();
        ReplaceWordValue(
            [&](float value, QString &text) { return FormatSingle3(scaling.Apply(value), text); });
    }

    // Under the metric options the S word stays as written; between inch and mm a constant surface
    // speed changes from metres to feet per minute or back, cut to a whole number.
    void ConvertSpindleWord()
    {
        if (!IsInchOption()) {
            Scan.ReadExpression();
            return;
        }
        const bool surfaceSpeed = m_spindleMode == 96;
        const Scaling scaling{FeetPerMetre, m_option == UnitOption::InchToMm};
        ReplaceWordValue([&](float value, QString &text) {
            if (surfaceSpeed)
                value = std::floor(scaling.Apply(value));
            return FormatSingle3(value, text);
        });
    }

    // Reads the value after the letter at `Pos` as an expression and, when there is one, puts the new text
    // in place of everything the expression consumed. A "=" right after the letter stays in the line.
    template <typename Rewrite> void ReplaceWordValue(Rewrite rewrite)
    {
        qsizetype splice = Scan.Pos;
        if (Scan.Pos < Scan.LineLength && Scan.CharAt(Scan.Pos + 1) == u'=')
            splice = Scan.Pos + 1;
        // Beyond single precision the expression gives no number ("INF"), and a scaled value may leave it:
        // such a word stays as written rather than become a plausible wrong number. A plain number read
        // from its digits writes no text and is always one.
        double read = 0;
        Scan.Token.resize(0);
        if (!Scan.ReadExpressionValue(read) || !(Scan.Token.isEmpty() || nc::ReadsWhollyAsNumber(Scan.Token)))
            return;
        const float value = float(read);
        const bool number = rewrite(value, m_text);
        if (!number && !nc::ReadsWhollyAsNumber(m_text))
            return;
        EmitRaw(QStringView(Scan.Line).mid(m_copied, splice - m_copied));
        EmitRaw(m_text);
        m_copied = Scan.Pos;
    }

    UnitOption m_option;
    int m_feedMode = 95;
    int m_spindleMode = 97;
    qsizetype m_copied = 0; // the characters of the line already in the result
    QString m_text;         // the room every new value is written in
};

} // namespace

QString ConvertUnit(const QString &source, UnitOption option)
{
    UnitPass pass(option);
    return pass.Run(source);
}

std::unique_ptr<ConversionPass> UnitConversion(UnitOption option)
{
    return std::make_unique<UnitPass>(option);
}
