#include "machine/TranslatorFormat.h"

#include <cmath>
#include <cstdint>

namespace translator {
namespace {

// The texts are rounded half away from zero on the value's 15-digit decimal form, which lies within 5e-15
// of the value. Below 10^9 units (thousandths, or ones for a whole number) that moves the scaled value by
// less than 6e-6 of a unit, the scaling's own rounding included: unless the scaled value lies within
// HalfDoubt of a half, it rounds as the decimal form does, and plain double arithmetic gives the digits.
constexpr double FastUnits = 1e9;
constexpr double HalfDoubt = 1e-5;

// The magnitude of `value` times `scale` (1 or 1000) rounded half away from zero as its decimal form
// rounds; false when only the decimal form can tell (a near half, a large value, no finite value).
bool RoundedUnits(double value, double scale, std::uint64_t &units)
{
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

// At least `minDigits` digits; zero with no minimum writes nothing, as a pattern of "#" does.
void AppendDigits(QString &out, std::uint64_t number, int minDigits)
{
    char16_t digits[24];
    int count = 0;
    while (number > 0 || count < minDigits) {
        digits[count++] = char16_t(u'0' + number % 10);
        number /= 10;
    }
    char16_t text[24];
    for (int i = 0; i < count; ++i)
        text[i] = digits[count - 1 - i];
    out.append(reinterpret_cast<const QChar *>(text), count);
}

// The shortest text of a value that rounds to `units` thousandths ("12", "12.3", "-0.04", "0": zero has no
// sign); returns the value that text reads as.
double AppendThousandths(QString &out, bool negative, std::uint64_t units)
{
    if (units == 0) {
        out += u'0';
        return 0;
    }
    if (negative)
        out += u'-';
    AppendDigits(out, units / 1000, 1);
    std::uint64_t fraction = units % 1000;
    if (fraction != 0) {
        int places = 3;
        for (; fraction % 10 == 0; fraction /= 10)
            --places;
        out += u'.';
        AppendDigits(out, fraction, places);
    }
    // both the text read back and this quotient are the double nearest to the same decimal
    const double magnitude = double(units) / 1000;
    return negative ? -magnitude : magnitude;
}

// The digits a pattern writes at least: those from its first "0" on.
int MinimumDigits(QStringView pattern)
{
    const qsizetype firstZero = pattern.indexOf(u'0');
    return firstZero < 0 ? 0 : int(pattern.size() - firstZero);
}

} // namespace

void AppendWord(QString &out, QStringView address, double &value)
{
    out += address;
    std::uint64_t units = 0;
    if (RoundedUnits(value, 1000, units))
        value = AppendThousandths(out, value < 0, units);
    else
        out += nc::FormatValue3(value);
}

void AppendWord(QString &out, QStringView address, std::optional<double> &value)
{
    if (value)
        AppendWord(out, address, *value);
    else
        out += address;
}

void AppendWordOf(QString &out, QStringView address, double value)
{
    out += address;
    std::uint64_t units = 0;
    if (RoundedUnits(value, 1000, units))
        AppendThousandths(out, value < 0, units);
    else
        out += nc::FormatValue3Of(value);
}

void AppendWhole(QString &out, QStringView address, double value, QStringView pattern)
{
    out += address;
    std::uint64_t units = 0;
    if (!RoundedUnits(value, 1, units)) {
        out += nc::FormatDouble(value, pattern);
        return;
    }
    if (value < 0 && units > 0)
        out += u'-';
    AppendDigits(out, units, MinimumDigits(pattern));
}

} // namespace translator
