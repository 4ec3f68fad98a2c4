#include "nc/NcNumber.h"

#include "nc/DecimalForm.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace nc {
namespace {

char DigitAt(const DecimalForm &d, int index) // index 0 is the first digit after "0."
{
    return index >= 0 && index < d.count ? d.digits[index] : '0';
}

} // namespace

// "0" is a digit always written; from the first "0" of the integer part on, every place is written.
NumberPattern NumberPattern::Of(QStringView pattern)
{
    NumberPattern p;
    qsizetype firstZero = -1;
    qsizetype i = 0;
    for (; i < pattern.size() && pattern[i] != u'.'; ++i)
        if (pattern[i] == u'0' && firstZero < 0)
            firstZero = i;
    p.minInteger = firstZero < 0 ? 0 : int(i - firstZero);
    if (i < pattern.size()) {
        p.hasPoint = true;
        const qsizetype dot = i;
        p.maxFraction = int(pattern.size() - dot - 1);
        for (++i; i < pattern.size(); ++i)
            if (pattern[i] == u'0')
                p.minFraction = int(i - dot);
    }
    return p;
}

namespace {

// The text is measured first and written once, into the room `out` already has: formatting runs for
// every word of long programs. The digits are rounded in place.
void RenderInto(DecimalForm &d, const NumberPattern &p, QString &out)
{
    RoundToPlaces(d, p.maxFraction);
    const bool minus = d.negative && d.count > 0;
    const int integerDigits = std::max(d.point, 0);
    const int leadingZeros = std::max(p.minInteger - integerDigits, 0);
    const int fractionDigits = p.hasPoint ? std::max(d.count - d.point, p.minFraction) : 0;
    out.resize(qsizetype(minus) + leadingZeros + integerDigits + (p.hasPoint ? 1 + fractionDigits : 0));
    QChar *to = out.data();
    if (minus)
        *to++ = u'-';
    for (int i = 0; i < leadingZeros; ++i)
        *to++ = u'0';
    for (int i = 0; i < integerDigits; ++i)
        *to++ = QLatin1Char(DigitAt(d, i));
    if (p.hasPoint) {
        *to++ = u'.';
        for (int i = 0; i < fractionDigits; ++i)
            *to++ = QLatin1Char(DigitAt(d, d.point + i));
    }
}

QString Render(DecimalForm d, QStringView pattern)
{
    QString out;
    RenderInto(d, NumberPattern::Of(pattern), out);
    return out;
}

QString NonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Writes the plain text into `out`, keeping the room `out` already has.
void WritePlainText(const DecimalForm &d, int significant, QString &out)
{
    char16_t text[48];
    int n = 0;
    text[n++] = d.negative && d.count > 0 ? u'-' : u' ';
    const int exponent = d.point - 1;
    if (d.count == 0) {
        text[n++] = u'0';
    } else if (exponent >= significant || exponent < -significant) {
        text[n++] = char16_t(d.digits[0]);
        if (d.count > 1) {
            text[n++] = u'.';
            for (int i = 1; i < d.count; ++i)
                text[n++] = char16_t(d.digits[i]);
        }
        text[n++] = u'E';
        text[n++] = exponent < 0 ? u'-' : u'+';
        const int magnitude = std::abs(exponent);
        char digits[8];
        const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
        if (magnitude < 10)
            text[n++] = u'0';
        for (const char *c = digits; c < end; ++c)
            text[n++] = char16_t(*c);
    } else {
        for (int i = 0; i < d.point; ++i)
            text[n++] = char16_t(DigitAt(d, i));
        if (d.count > d.point) {
            text[n++] = u'.';
            for (int i = d.point; i < d.count; ++i)
                text[n++] = char16_t(DigitAt(d, i));
        }
    }
    out.resize(0);
    out.append(reinterpret_cast<const QChar *>(text), n);
}

// 2^53: every whole number up to it is an exact double.
constexpr std::uint64_t ExactMantissa = std::uint64_t(1) << 53;
constexpr double ExactPowerOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsBlankChar(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsDigitChar(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A text such as "-12.50": an optional sign, digits, at most one point, nothing else, and at most 15
// significant digits. Its value read as a double has those digits again as its 15-digit form (a
// double is exact to better than a fifth of a unit in the fifteenth digit), so the digits are taken from
// the text itself; any other text is left to the reading of its value (false).
bool DecimalFormOfText(QStringView text, DecimalForm &d)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    d.negative = false;
    if (i < size && (text[i] == u'-' || text[i] == u'+'))
        d.negative = text[i++] == u'-';
    int count = 0;
    int point = 0;
    bool pointSeen = false;
    bool digitSeen = false;
    for (; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'.' && !pointSeen) {
            pointSeen = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        digitSeen = true;
        if (count == 0 && c == u'0') { // a leading zero: only moves the point after it
            if (pointSeen)
                --point;
            continue;
        }
        if (count == 15)
            return false;
        d.digits[count++] = char(c);
        if (!pointSeen)
            ++point;
    }
    if (!digitSeen)
        return false;
    while (count > 0 && d.digits[count - 1] == '0')
        --count;
    d.count = count;
    d.point = count == 0 ? 0 : point;
    return true;
}

} // namespace

double ValueOfText(QStringView text)
{
    char small[128];
    std::string large;
    char *buf = small;
    const qsizetype capacity = text.size() + 8;
    if (capacity > qsizetype(sizeof small)) {
        large.resize(capacity);
        buf = large.data();
    }
    int n = 0;
    bool negative = false;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    // The digits as a whole number and the power of ten that scales it, while they fit exactly.
    std::uint64_t mantissa = 0;
    int scale = 0;
    bool exact = true;
    qsizetype i = 0;
    const qsizetype size = text.size();
    for (; i < size; ++i) {
        const QChar c = text[i];
        if (IsBlankChar(c))
            continue;
        if ((c == u'+' || c == u'-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            negative = c == u'-';
        } else if (IsDigitChar(c)) {
            digitSeen = true;
            buf[n++] = char(c.unicode());
            const std::uint64_t longer = mantissa * 10 + (c.unicode() - u'0');
            if (!exact || longer > ExactMantissa) {
                exact = false;
            } else {
                mantissa = longer;
                scale -= pointSeen;
            }
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            buf[n++] = '.';
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0;
    const bool exponentFollows = i < size && (text[i] == u'E' || text[i] == u'e');
    // A whole number of at most 2^53 and a power of ten of at most 10^22 are both exact doubles, so one
    // multiplication or division gives the correctly rounded value, as reading the digits would.
    if (exact && !exponentFollows && scale >= -22) {
        const double value = scale == 0 ? double(mantissa) : double(mantissa) / ExactPowerOfTen[-scale];
        return negative ? -value : value;
    }
    if (exponentFollows) {
        // The exponent counts only when digits follow it.
        int mark = n;
        buf[n++] = 'e';
        qsizetype j = i + 1;
        bool exponentDigits = false;
        bool exponentSign = false;
        for (; j < size; ++j) {
            const QChar c = text[j];
            if (IsBlankChar(c))
                continue;
            if ((c == u'+' || c == u'-') && !exponentSign && !exponentDigits) {
                exponentSign = true;
                buf[n++] = char(c.unicode());
            } else if (IsDigitChar(c)) {
                exponentDigits = true;
                buf[n++] = char(c.unicode());
            } else {
                break;
            }
        }
        if (!exponentDigits)
            n = mark;
    }
    double value = 0;
    auto res = std::from_chars(buf, buf + n, value);
    if (res.ec != std::errc())
        return 0;
    return negative ? -value : value;
}

bool ReadsWhollyAsNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    auto skipBlanks = [&] {
        while (i < size && IsBlankChar(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < size && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < size; ++i) {
        if (IsDigitChar(text[i]))
            digits = true;
        else if (text[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return false;
    if (i < size && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < size && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        bool exponentDigits = false;
        while (i < size && IsDigitChar(text[i])) {
            exponentDigits = true;
            ++i;
        }
        if (!exponentDigits)
            return false;
    }
    skipBlanks();
    return i == size;
}

QString PlainText(double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    QString text;
    WritePlainText(DecimalFormOf(value, 15), 15, text);
    return text;
}

QString PlainTextSingle(float value)
{
    QString text;
    PlainTextSingleInto(value, text);
    return text;
}

double PlainTextSingleInto(float value, QString &text)
{
    if (!std::isfinite(value)) {
        text = NonFinite(value);
        return ValueOfText(text);
    }
    const DecimalForm d = DecimalFormOf(value, 7);
    WritePlainText(d, 7, text);
    if (d.count == 0)
        return 0; // the text is " 0", whatever the sign of the value
    // at most seven digits, a whole number below 2^53: scaled by an exact power of ten it is read with one
    // exact operation, as reading the text does
    std::uint64_t digits = 0;
    for (int i = 0; i < d.count; ++i)
        digits = digits * 10 + std::uint64_t(d.digits[i] - '0');
    const int scale = d.point - d.count;
    if (scale > 22 || scale < -22)
        return ValueOfText(text);
    const double magnitude =
        scale >= 0 ? double(digits) * ExactPowerOfTen[scale] : double(digits) / ExactPowerOfTen[-scale];
    return d.negative ? -magnitude : magnitude;
}

QString FormatDouble(double value, QStringView pattern)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    return Render(DecimalFormOf(value, 15), pattern);
}

QString FormatSingle(float value, QStringView pattern)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    return Render(DecimalFormOf(value, 7), pattern);
}

void FormatSingleInto(float value, QStringView pattern, QString &text)
{
    if (!std::isfinite(value))
        text = NonFinite(value);
    else {
        DecimalForm d = DecimalFormOf(value, 7);
        RenderInto(d, NumberPattern::Of(pattern), text);
    }
}

QString FormatText(QStringView text, QStringView pattern)
{
    QString formatted;
    FormatTextInto(text, pattern, formatted);
    return formatted;
}

void FormatTextInto(QStringView text, QStringView pattern, QString &formatted)
{
    FormatTextInto(text, NumberPattern::Of(pattern), formatted);
}

void FormatTextInto(QStringView text, const NumberPattern &pattern, QString &formatted)
{
    DecimalForm d;
    if (DecimalFormOfText(text, d)) {
        RenderInto(d, pattern, formatted);
        return;
    }
    if (!ReadsWhollyAsNumber(text)) {
        formatted = text.toString();
        return;
    }
    // as FormatDouble does with the value
    const double value = ValueOfText(text);
    if (!std::isfinite(value)) {
        formatted = NonFinite(value);
        return;
    }
    d = DecimalFormOf(value, 15);
    RenderInto(d, pattern, formatted);
}

double RoundDouble(double value, int places)
{
    if (!std::isfinite(value))
        return value;
    return ValueOfText(FormatDouble(value, QStringLiteral("0.") + QString(places, u'#')));
}

} // namespace nc
