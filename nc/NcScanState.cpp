#include "nc/NcScanState.h"

#include "nc/NcNumber.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <cstdint>

void NcScanState::ReadNumber()
{
    const qsizetype end = std::min(LineLength, Line.size());
    const QChar *chars = Line.constData();
    const qsizetype first = Pos + 1;
    qsizetype p = first;
    while (p <= end && nc::IsNumericChar(chars[p - 1]))
        ++p;
    SetToken(first, p - first);
    Pos = p - 1;
}

void NcScanState::ReadWordValue()
{
    bool digitsBegun = false;
    const qsizetype end = std::min(LineLength, Line.size());
    const qsizetype first = Pos + 1;
    qsizetype p = first;
    for (; p <= end; ++p) {
        const QChar c = CharAt(p);
        if (nc::IsBlank(c))
            break;
        const bool numeric = nc::IsNumericChar(c);
        if (numeric)
            digitsBegun = true;
        if (digitsBegun && !numeric)
            break;
    }
    SetToken(first, p - first);
    Pos = p - 1;
}

void NcScanState::SetToken(qsizetype first, qsizetype length)
{
    // in the room Token already has: a token is read for every word
    Token.resize(length);
    std::copy(Line.constData() + first - 1, Line.constData() + first - 1 + length, Token.data());
}

namespace {

// Applies the pending operator in single precision; a zero divisor leaves the accumulator as it is.
float ApplyOperator(float accumulator, QChar op, double operand)
{
    switch (op.unicode()) {
    case u'+':
        return float(double(accumulator) + operand);
    case u'-':
        return float(double(accumulator) - operand);
    case u'*':
        return float(double(accumulator) * operand);
    case u'/':
        return operand == 0 ? accumulator : float(double(accumulator) / operand);
    default:
        return float(operand);
    }
}

bool IsOperator(QChar c)
{
    return c == u'+' || c == u'-' || c == u'*' || c == u'/';
}

} // namespace

double NcScanState::ReadExpression()
{
    // The operand being read: its characters need not stand together in the line ("[" is passed over).
    QVarLengthArray<char16_t, 32> operand;
    const auto operandValue = [&] {
        return nc::ValueOfText(QStringView(operand.constData(), operand.size()));
    };
    QChar pending;
    float accumulator = 0;
    const qsizetype end = std::min(LineLength, Line.size());
    ++Pos;
    for (; Pos <= end; ++Pos) {
        const QChar c = CharAt(Pos);
        if (c == u'[')
            continue;
        if (IsOperator(c)) {
            if (!operand.isEmpty())
                accumulator = ApplyOperator(accumulator, pending, operandValue());
            operand.clear();
            pending = c;
            continue;
        }
        if (c < u'*' || (c > u'9' && c != u'='))
            break;
        if (c != u'=')
            operand.append(c.unicode());
    }
    double value = 0;
    if (operand.isEmpty()) {
        Token.resize(0);
    } else {
        accumulator = ApplyOperator(accumulator, pending, operandValue());
        value = nc::PlainTextSingleInto(accumulator, Token);
    }
    --Pos;
    return value;
}

namespace {

// A character that ends an expression where it stands ("[" is passed over, "=" read over).
bool EndsExpression(QChar c)
{
    return c < u'*' || (c > u'9' && c != u'=' && c != u'[');
}

} // namespace

// A number of at most seven significant digits and seven places, alone in its expression, is held in single
// precision to within less than half a unit of its seventh digit, so the text of that single is its own
// digits and its value theirs: the one exact division of its digits by a power of ten, as reading that
// text gives it. Any other expression is evaluated.
bool NcScanState::ReadExpressionValue(double &value)
{
    constexpr int MostDigits = 7;
    constexpr double PowerOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};
    const qsizetype end = std::min(LineLength, Line.size());
    const QChar *chars = Line.constData();
    qsizetype p = Pos + 1;
    bool negative = false;
    if (p <= end && (chars[p - 1] == u'-' || chars[p - 1] == u'+'))
        negative = chars[p++ - 1] == u'-';
    std::uint32_t digits = 0;
    int digitCount = 0;
    int significant = 0;
    int places = 0;
    bool point = false;
    for (; p <= end; ++p) {
        const char16_t c = chars[p - 1].unicode();
        if (c >= u'0' && c <= u'9') {
            ++digitCount;
            significant += significant > 0 || c != u'0';
            places += point;
            digits = digits * 10 + (c - u'0');
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digitCount == 0 || significant > MostDigits || places > MostDigits ||
        (p <= end && !EndsExpression(chars[p - 1]))) {
        const double read = ReadExpression();
        if (Token.isEmpty())
            return false;
        value = read;
        return true;
    }
    Pos = p - 1;
    // a zero has no sign: the expression subtracts it from zero
    const double magnitude = double(digits) / PowerOfTen[places];
    value = digits == 0 ? 0.0 : negative ? -magnitude : magnitude;
    return true;
}

namespace nc {
namespace {

// The significant digits of a number text: from its first non-zero digit to its last.
int SignificantDigits(QStringView text)
{
    qsizetype first = -1;
    qsizetype last = -1;
    qsizetype digitsBetween = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            continue;
        if (c != u'0') {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return 0;
    for (qsizetype i = first; i <= last; ++i)
        digitsBetween += text[i] >= u'0' && text[i] <= u'9';
    return int(digitsBetween);
}

// Writes the value of a rounded text ("12.", "-0.5") read back, in its shortest form. A text of at most
// 15 significant digits reads back as a double whose 15-digit form is that text again, so its shortest
// form is the text itself without a bare point; only a longer one goes the way round.
QString ShortestOfRounded(QString rounded)
{
    if (SignificantDigits(rounded) <= 15) {
        if (rounded.endsWith(u'.'))
            rounded.chop(1);
        return rounded;
    }
    const double back = ValueOfText(rounded);
    QString text = FormatDouble(back, u"0.###############");
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QString FormatValueText(QString &value, QStringView pattern)
{
    if (value.isEmpty())
        return QString();
    if (!ReadsWhollyAsNumber(value))
        return value;
    value = FormatText(value, pattern);
    return ShortestOfRounded(value);
}

// Infinity and NaN are shown as such, never as a plausible number, and a variable keeps them.
QString FormatValueNumber(double &value, QStringView pattern)
{
    QString rounded = FormatDouble(value, pattern);
    if (!std::isfinite(value))
        return rounded;
    value = ValueOfText(rounded);
    return ShortestOfRounded(std::move(rounded));
}

// The same for a value no variable keeps: nothing to read back.
QString FormatValueOf(double value, QStringView pattern)
{
    QString rounded = FormatDouble(value, pattern);
    if (!std::isfinite(value))
        return rounded;
    return ShortestOfRounded(std::move(rounded));
}

constexpr QStringView Places3 = u"0.###";
constexpr QStringView Places4 = u"0.####";

} // namespace

QString FormatValue3(QString &value)
{
    return FormatValueText(value, Places3);
}

QString FormatValue4(QString &value)
{
    if (value == u"-")
        return value;
    return FormatValueText(value, Places4);
}

QString FormatValue3(double &value)
{
    return FormatValueNumber(value, Places3);
}

QString FormatValue4(double &value)
{
    return FormatValueNumber(value, Places4);
}

QString FormatValue3(std::optional<double> &value)
{
    if (!value)
        return QString();
    return FormatValueNumber(*value, Places3);
}

QString FormatValue3Of(double value)
{
    return FormatValueOf(value, Places3);
}

// The texts are rounded half away from zero on the value's 15-digit decimal form, which differs from the
// value by at most 5e-15 of it. Below 10^9 units (thousandths, or ones) that moves the scaled value by
// less than 6e-6 of a unit, the scaling's own rounding included: unless the scaled value lies within
// HalfDoubt of a half, it rounds as the decimal form does.
bool RoundedUnits(double value, double scale, std::uint64_t &units)
{
    constexpr double FastUnits = 1e9;
    constexpr double HalfDoubt = 1e-5;
    const double scaled = std::fabs(value) * scale;
    if (!(scaled < FastUnits))
        return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < HalfDoubt)
        return false;
    units = std::uint64_t(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

int ThousandthsText(bool negative, std::uint64_t units, char16_t *out)
{
    int size = 0;
    if (units == 0) {
        out[size++] = u'0';
        return size;
    }
    if (negative)
        out[size++] = u'-';
    char digits[24];
    int count = 0;
    for (std::uint64_t whole = units / 1000; count == 0 || whole > 0; whole /= 10)
        digits[count++] = char('0' + whole % 10);
    while (count > 0)
        out[size++] = char16_t(digits[--count]);
    std::uint64_t fraction = units % 1000;
    if (fraction != 0) {
        int places = 3;
        for (; fraction % 10 == 0; fraction /= 10)
            --places;
        out[size++] = u'.';
        for (int i = places - 1; i >= 0; --i, fraction /= 10)
            out[size + i] = char16_t(u'0' + fraction % 10);
        size += places;
    }
    return size;
}

void AppendValue3Of(QString &out, double value)
{
    std::uint64_t units = 0;
    if (!RoundedUnits(value, 1000, units)) {
        out += FormatValue3Of(value);
        return;
    }
    char16_t text[32];
    const int size = ThousandthsText(value < 0, units, text);
    out.append(reinterpret_cast<const QChar *>(text), size);
}

QString FormatValue4Of(double value)
{
    return FormatValueOf(value, Places4);
}

// A single is a double exactly. With e digits before the point (10^(e-1) <= |v| < 10^e) its seven
// significant digits are |v| * 10^(7-e) rounded: the power of ten is exact, the product below 10^7 is off
// by less than 2e-9, so unless it lies within HalfDoubt of a half it rounds as the exact value does.
// Those seven digits rounded again to three places is integer arithmetic on the digits, as the text's
// rounding is.
bool SingleThousandths(float value, bool &negative, std::uint64_t &units)
{
    constexpr double HalfDoubt = 1e-6;
    constexpr double PowerOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    constexpr std::uint64_t WholePowerOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const double v = value;
    negative = v < 0;
    if (v == 0) {
        units = 0;
        return true;
    }
    const double magnitude = std::fabs(v);
    if (!(magnitude >= 1e-3 && magnitude < 1e6))
        return false;
    int digits = -2; // e: from -2 (0.001 <= |v| < 0.01) to 6
    while (digits < 6 && magnitude >= (digits >= 0 ? PowerOfTen[digits] : 1 / PowerOfTen[-digits]))
        ++digits;
    // 10^(e-1) <= |v| < 10^e: the comparison with 10^-1 and 10^-2 is with their nearest doubles, which
    // a single never falls between
    const double scaled = magnitude * PowerOfTen[7 - digits];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < HalfDoubt)
        return false;
    const std::uint64_t seven = std::uint64_t(whole) + (fraction > 0.5 ? 1 : 0);
    // the value is seven * 10^(e-7): seven * 10^(e-4) thousandths
    if (digits >= 4) {
        units = seven * WholePowerOfTen[digits - 4];
        return true;
    }
    const std::uint64_t divisor = WholePowerOfTen[4 - digits];
    units = seven / divisor + (2 * (seven % divisor) >= divisor ? 1 : 0);
    return true;
}

bool AppendSingleThousandths(QString &out, float value)
{
    bool negative = false;
    std::uint64_t units = 0;
    if (!SingleThousandths(value, negative, units))
        return false;
    char16_t text[32];
    const int size = ThousandthsText(negative, units, text);
    out.append(reinterpret_cast<const QChar *>(text), size);
    return true;
}

void AppendSingle3(QString &out, float value)
{
    if (AppendSingleThousandths(out, value))
        return;
    QString rounded = FormatSingle(value, Places3);
    out += FormatValue3(rounded);
}

} // namespace nc
