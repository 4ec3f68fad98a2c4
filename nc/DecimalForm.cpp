#include "nc/DecimalForm.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

namespace nc {
namespace {

void StripTrailingZeros(DecimalForm &d)
{
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    if (d.count == 0)
        d.point = 0;
}

// Adds one unit in the last kept digit (index keep - 1), carrying to the left.
void IncrementAt(DecimalForm &d, int keep)
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
// binary value. A few guard digits decide nearly every case; only a near-tie asks for the exact expansion.
template <typename Float> DecimalForm ExactDigits(Float value, int significant)
{
    DecimalForm d;
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

// 10^k for every exponent a unit of a kept digit can have; zero below the range of doubles.
double PowerOfTen(int k)
{
    constexpr int Lowest = -360;
    constexpr int Highest = 320;
    static const std::array<double, Highest - Lowest + 1> powers = [] {
        std::array<double, Highest - Lowest + 1> table{};
        for (int k = Lowest; k <= Highest; ++k)
            table[k - Lowest] = std::pow(10.0, k);
        return table;
    }();
    if (k < Lowest)
        return 0;
    if (k > Highest)
        return std::numeric_limits<double>::infinity();
    return powers[k - Lowest];
}

// The exact value x lies within half an ulp of its shortest form S (the fewest digits that read back as
// x). Rounding x and rounding S to `significant` digits give the same digits when x cannot lie on the
// other side of the rounding boundary nearest to S: half an ulp is less than S's distance to that boundary
// (half a unit of the last kept digit when S has no more digits than that). Just below a power of ten the
// unit is ten times smaller, so digits 1000... are judged with the smaller unit. An ulp too large for
// that, or S exactly on a boundary, leaves the decision to the exact expansion (false). (When S has more
// digits than are kept, S being the nearest of the shortest forms already puts x on its side of the
// boundary; the distance is checked all the same.)
bool ShortestDigits(double magnitude, int significant, DecimalForm &d)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    char digits[24];
    int n = 0;
    const char *p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[n++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), res.ptr, exponent);

    const double ulp = std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
    double unit = PowerOfTen(exponent - significant + 1);
    const int kept = std::min(n, significant);
    bool powerOfTen = digits[0] == '1';
    for (int i = 1; i < kept && powerOfTen; ++i)
        powerOfTen = digits[i] == '0';
    if (powerOfTen)
        unit /= 10;
    // the computed distances are exact to far better than this
    constexpr double Margin = 1 - 1e-6;
    bool roundUp = false;
    if (n <= significant) {
        if (!(ulp < unit * Margin))
            return false;
    } else {
        // the digits after the kept ones, as a fraction of the unit
        std::uint64_t tailDigits = 0;
        for (int i = significant; i < n; ++i)
            tailDigits = tailDigits * 10 + std::uint64_t(digits[i] - '0');
        if (tailDigits == 5 && n == significant + 1)
            return false;
        const double tail = double(tailDigits) * PowerOfTen(significant - n);
        if (!(ulp < std::fabs(2 * tail - 1) * unit * Margin))
            return false;
        roundUp = tail > 0.5;
    }
    std::memcpy(d.digits, digits, kept);
    d.count = kept;
    d.point = exponent + 1;
    if (roundUp)
        IncrementAt(d, kept);
    StripTrailingZeros(d);
    return true;
}

// Writes `value` (below 10^significant) as exactly `significant` digits.
void PutDigits(std::uint64_t value, int significant, DecimalForm &d)
{
    static constexpr char Pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int i = significant;
    for (; i >= 2; i -= 2) { // two digits per division
        const auto pair = unsigned(value % 100);
        value /= 100;
        d.digits[i - 1] = Pairs[2 * pair + 1];
        d.digits[i - 2] = Pairs[2 * pair];
    }
    if (i == 1)
        d.digits[0] = char('0' + value);
    d.count = significant;
}

#ifdef __SIZEOF_INT128__
using Wide = unsigned __int128;

// Exact integer arithmetic for the values programs hold: the value is m x 2^-s with m below 2^53, so m
// x 10^j (j from 0 to 19) fits in 128 bits, and its quotient and remainder by 2^s give the digits before
// the point of value x 10^j and decide the rounding exactly. Out of that range (false) the other ways
// are taken.
bool IntegerDigits(double magnitude, int significant, DecimalForm &d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = int(bits >> 52);
    if (biased == 0 || significant > 19)
        return false; // subnormal
    const std::uint64_t mantissa = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int shift = 1075 - biased; // value = mantissa / 2^shift
    if (shift <= 0 || shift >= 127)
        return false;
    static constexpr std::uint64_t Powers[20] = {1ull,
                                                 10ull,
                                                 100ull,
                                                 1000ull,
                                                 10000ull,
                                                 100000ull,
                                                 1000000ull,
                                                 10000000ull,
                                                 100000000ull,
                                                 1000000000ull,
                                                 10000000000ull,
                                                 100000000000ull,
                                                 1000000000000ull,
                                                 10000000000000ull,
                                                 100000000000000ull,
                                                 1000000000000000ull,
                                                 10000000000000000ull,
                                                 100000000000000000ull,
                                                 1000000000000000000ull,
                                                 10000000000000000000ull};
    const std::uint64_t lowest = Powers[significant - 1];
    const std::uint64_t highest = Powers[significant];
    int exponent = ((biased - 1023) * 78913) >> 18; // floor(log10 of the value), or one below it
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int scale = significant - 1 - exponent; // the value x 10^scale has `significant` digits
        if (scale < 0 || scale > 19)
            return false;
        const Wide scaled = Wide(mantissa) * Powers[scale];
        const Wide whole = scaled >> shift;
        if (whole >= highest) {
            ++exponent;
            continue;
        }
        if (whole < lowest)
            return false;
        const Wide remainder = scaled - (whole << shift);
        const Wide half = Wide(1) << (shift - 1);
        auto digits = std::uint64_t(whole);
        int point = exponent + 1;
        if (remainder >= half && ++digits == highest) { // halves go away from zero
            digits = lowest;
            ++point;
        }
        PutDigits(digits, significant, d);
        d.point = point;
        StripTrailingZeros(d);
        return true;
    }
    return false;
}
#else
bool IntegerDigits(double, int, DecimalForm &)
{
    return false;
}
#endif

// A single-precision value has at most 24 bits: scaled by an exact power of ten to `significant` (at
// most 9) digits before the point in double precision, it is exact to within a unit in the ninth decimal
// after that point. Unless the scaled value lies that close to a half, it rounds as the exact value does.
bool ScaledDigits(double magnitude, int significant, DecimalForm &d)
{
    // powers of ten that are exact doubles: scaling by one of them rounds once
    static constexpr double Exact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double lowest = Exact[significant - 1];
    const double highest = Exact[significant];
    const auto scaledBy = [&](int power, double &scaled) {
        if (power > 22 || power < -22)
            return false;
        scaled = power >= 0 ? magnitude * Exact[power] : magnitude / Exact[-power];
        return true;
    };
    // the decimal exponent, from the binary one, then put right by the scaled value itself
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binaryExponent = int(bits >> 52) - 1023; // the value is a normal double: it came from a float
    int exponent = (binaryExponent * 78913) >> 18;     // floor(binaryExponent * log10(2)), or one below
    double scaled = 0;
    if (!scaledBy(significant - 1 - exponent, scaled))
        return false;
    if (scaled >= highest && (++exponent, !scaledBy(significant - 1 - exponent, scaled)))
        return false;
    if (scaled < lowest || scaled >= highest)
        return false;
    const auto truncated = std::uint64_t(scaled); // below 10^9
    const double fraction = scaled - double(truncated);
    // one rounding of at most half an ulp: far less than this
    const double doubt = highest * 1e-15;
    if (std::fabs(fraction - 0.5) < doubt)
        return false;
    auto digits = truncated + (fraction > 0.5 ? 1 : 0);
    int point = exponent + 1;
    if (double(digits) >= highest) { // rounded up to the next power of ten
        digits /= 10;
        ++point;
    }
    PutDigits(digits, significant, d);
    d.point = point;
    StripTrailingZeros(d);
    return true;
}

// Every way out returns `d` itself, so that it is built where the caller wants it: copying the form
// just after its digits were written byte by byte costs more than finding them.
template <typename Float> DecimalForm FastDigits(Float value, int significant)
{
    DecimalForm d;
    d.negative = std::signbit(value);
    const double magnitude = std::fabs(double(value)); // exact for a float too
    if (magnitude == 0 || !std::isfinite(magnitude))
        return d;
    // a single takes the few double operations first, a double the exact integer arithmetic
    if (sizeof(Float) == sizeof(float) && significant <= 9 && ScaledDigits(magnitude, significant, d))
        return d;
    if (IntegerDigits(magnitude, significant, d))
        return d;
    if (ShortestDigits(magnitude, significant, d))
        return d;
    d = ExactDigits(value, significant);
    return d;
}

} // namespace

DecimalForm DecimalFormOf(double value, int significant)
{
    return FastDigits(value, significant);
}

DecimalForm DecimalFormOf(float value, int significant)
{
    return FastDigits(value, significant);
}

DecimalForm ExactDecimalFormOf(double value, int significant)
{
    return ExactDigits(value, significant);
}

DecimalForm ExactDecimalFormOf(float value, int significant)
{
    return ExactDigits(value, significant);
}

void RoundToPlaces(DecimalForm &d, int places)
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

} // namespace nc
