#include "nc/NcNumber.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace nc {
namespace {

// A decimal number as digits: value = 0.d1 d2 ... dn x 10^point, no leading or trailing zero digits.
// Zero has no digits.
struct Decimal
{
    bool negative = false;
    char digits[48] = {};
    int count = 0;
    int point = 0;
};

void StripTrailingZeros(Decimal &d)
{
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    if (d.count == 0)
        d.point = 0;
}

// Adds one unit in the last kept digit (index keep - 1), carrying to the left.
void IncrementAt(Decimal &d, int keep)
{
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') {
        d.digits[i] = '0';
        --i;
    }
    if (i >= 0) {
        ++d.digits[i];
        d.count = keep;
    } else {
        d.digits[0] = '1';
        d.count = 1;
        ++d.point;
    }
}

// Digits of `magnitude` rounded half away from zero to `significant` digits, decided on its exact
// binary value. The fast path reads a few guard digits; only a near-tie asks for the exact expansion.
template <typename Float> Decimal ToDecimal(Float value, int significant)
{
    Decimal d;
    d.negative = std::signbit(value);
    Float magnitude = std::fabs(value);
    if (magnitude == 0 || !std::isfinite(magnitude))
        return d;

    constexpr int guard = 9;
    char buf[1100];
    auto digitsOf = [&](int precision, std::string_view &mantissa, int &exponent) {
        auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision);
        std::string_view text(buf, res.ptr - buf);
        auto e = text.find('e');
        std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
        mantissa = text.substr(0, e);
    };
    std::string_view mantissa;
    int exponent = 0;
    digitsOf(significant - 1 + guard, mantissa, exponent);
    // mantissa is "d.ddd...": drop the point
    char all[1100];
    int n = 0;
    for (char c : mantissa)
        if (c != '.')
            all[n++] = c;

    bool roundUp = all[significant] >= '5';
    bool nearTie = true;
    const char tieLead = all[significant];
    if (tieLead == '5' || tieLead == '4') {
        const char rest = tieLead == '5' ? '0' : '9';
        for (int i = significant + 1; i < n; ++i)
            if (all[i] != rest) {
                nearTie = false;
                break;
            }
    } else {
        nearTie = false;
    }
    if (nearTie) {
        // The exact expansion of a double has fewer than 800 significant digits (a float fewer than 150).
        int exact = sizeof(Float) == 4 ? 150 : 800;
        digitsOf(exact, mantissa, exponent);
        n = 0;
        for (char c : mantissa)
            if (c != '.')
                all[n++] = c;
        roundUp = all[significant] >= '5';
    }
    std::memcpy(d.digits, all, significant);
    d.count = significant;
    d.point = exponent + 1;
    if (roundUp)
        IncrementAt(d, significant);
    StripTrailingZeros(d);
    return d;
}

// Rounds half away from zero to `places` digits after the point.
void RoundToPlaces(Decimal &d, int places)
{
    const int keep = d.point + places;
    if (keep >= d.count)
        return;
    if (keep < 0) {
        d.count = 0;
        d.point = 0;
        return;
    }
    const bool up = d.digits[keep] >= '5';
    if (keep == 0) {
        if (up) {
            d.digits[0] = '1';
            d.count = 1;
            ++d.point;
        } else {
            d.count = 0;
        }
    } else if (up) {
        IncrementAt(d, keep);
    } else {
        d.count = keep;
    }
    StripTrailingZeros(d);
}

char DigitAt(const Decimal &d, int index) // index 0 is the first digit after "0."
{
    return index >= 0 && index < d.count ? d.digits[index] : '0';
}

struct Pattern
{
    int minInteger = 0;
    bool hasPoint = false;
    int minFraction = 0;
    int maxFraction = 0;
};

// "0" is a digit always written; from the first "0" of the integer part on, every place is written.
Pattern ParsePattern(QStringView pattern)
{
    Pattern p;
    const qsizetype dot = pattern.indexOf(u'.');
    const QStringView integer = dot < 0 ? pattern : pattern.left(dot);
    const qsizetype firstZero = integer.indexOf(u'0');
    p.minInteger = firstZero < 0 ? 0 : int(integer.size() - firstZero);
    if (dot >= 0) {
        p.hasPoint = true;
        const QStringView fraction = pattern.mid(dot + 1);
        p.maxFraction = int(fraction.size());
        p.minFraction = int(fraction.lastIndexOf(u'0') + 1);
    }
    return p;
}

QString Render(Decimal d, QStringView patternText)
{
    const Pattern p = ParsePattern(patternText);
    RoundToPlaces(d, p.maxFraction);
    QString out;
    if (d.negative && d.count > 0)
        out += u'-';
    const int integerDigits = std::max(d.point, 0);
    for (int i = integerDigits; i < p.minInteger; ++i)
        out += u'0';
    for (int i = 0; i < integerDigits; ++i)
        out += QChar::fromLatin1(DigitAt(d, i));
    if (p.hasPoint) {
        out += u'.';
        const int fractionDigits = std::max(d.count - d.point, p.minFraction);
        for (int i = 0; i < fractionDigits; ++i)
            out += QChar::fromLatin1(DigitAt(d, d.point + i));
    }
    return out;
}

QString NonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString PlainTextOf(const Decimal &d, int significant)
{
    QString out(d.negative && d.count > 0 ? u'-' : u' ');
    if (d.count == 0)
        return out + u'0';
    const int exponent = d.point - 1;
    if (exponent >= significant || exponent < -significant) {
        out += QChar::fromLatin1(d.digits[0]);
        if (d.count > 1) {
            out += u'.';
            for (int i = 1; i < d.count; ++i)
                out += QChar::fromLatin1(d.digits[i]);
        }
        out += exponent < 0 ? u"E-" : u"E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += u'0';
        out += QString::number(magnitude);
        return out;
    }
    for (int i = 0; i < d.point; ++i)
        out += QChar::fromLatin1(DigitAt(d, i));
    if (d.count > d.point) {
        out += u'.';
        for (int i = d.point; i < d.count; ++i)
            out += QChar::fromLatin1(DigitAt(d, i));
    }
    return out;
}

bool IsBlankChar(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsDigitChar(QChar c)
{
    return c >= u'0' && c <= u'9';
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
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            buf[n++] = '.';
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0;
    if (i < size && (text[i] == u'E' || text[i] == u'e')) {
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
    return PlainTextOf(ToDecimal(value, 15), 15);
}

QString PlainTextSingle(float value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    return PlainTextOf(ToDecimal(value, 7), 7);
}

QString FormatDouble(double value, QStringView pattern)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    return Render(ToDecimal(value, 15), pattern);
}

QString FormatSingle(float value, QStringView pattern)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    return Render(ToDecimal(value, 7), pattern);
}

QString FormatText(QStringView text, QStringView pattern)
{
    if (!ReadsWhollyAsNumber(text))
        return text.toString();
    return FormatDouble(ValueOfText(text), pattern);
}

double RoundDouble(double value, int places)
{
    if (!std::isfinite(value))
        return value;
    return ValueOfText(FormatDouble(value, QStringLiteral("0.") + QString(places, u'#')));
}

} // namespace nc
