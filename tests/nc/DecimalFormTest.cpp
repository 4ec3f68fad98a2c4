#include "nc/DecimalForm.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace nc;

namespace {

std::string Show(const DecimalForm &d)
{
    return std::string(d.negative ? "-" : "+") + "0." + std::string(d.digits, d.count) + "e" +
           std::to_string(d.point);
}

template <typename Float> void ExpectSameAsExact(Float value, int significant)
{
    const DecimalForm fast = DecimalFormOf(value, significant);
    const DecimalForm exact = ExactDecimalFormOf(value, significant);
    ASSERT_EQ(Show(fast), Show(exact)) << std::hexfloat << value << " at " << significant << " digits";
}

// Values either side of every power of ten: the digits 1000... and 9999... meet there.
template <typename Float> std::vector<Float> AroundPowersOfTen(int lowest, int highest)
{
    std::vector<Float> values;
    for (int k = lowest; k <= highest; ++k) {
        const Float power = Float(std::pow(10.0L, k));
        Float below = power;
        Float above = power;
        for (int step = 0; step < 4; ++step) {
            values.push_back(below);
            values.push_back(above);
            below = std::nextafter(below, Float(0));
            above = std::nextafter(above, std::numeric_limits<Float>::infinity());
        }
    }
    return values;
}

// Values a program holds: three or four decimals, scaled by the factors the conversions use.
std::vector<double> ProgramValues()
{
    std::vector<double> values;
    for (int i = -20000; i <= 20000; i += 7) {
        const double milli = i / 1000.0;
        for (double v : {milli, i / 10000.0, milli * 25.4, milli / 25.4, milli * 1000, milli / 1000,
                         milli * 3.28, milli + 0.1, milli * 0.1 + 0.2})
            values.push_back(v);
    }
    return values;
}

// Exact ties at the last kept digit and the values next to them: half away from zero decides.
template <typename Float> std::vector<Float> Halves(int significant)
{
    std::vector<Float> values;
    for (long long k : {0LL, 1LL, 2LL, 12LL, 99LL, 12345LL, 999999LL, 1234567LL, 8388607LL, 123456789012345LL,
                        999999999999999LL, 4503599627370495LL}) {
        for (int shift = -3; shift <= 3; ++shift) {
            const Float half = Float((k + 0.5L) * std::pow(2.0L, shift));
            values.push_back(half);
            values.push_back(std::nextafter(half, Float(0)));
            values.push_back(std::nextafter(half, std::numeric_limits<Float>::infinity()));
        }
    }
    // a tie exactly at the last kept digit: a 5 after `significant` digits
    for (int k = 1; k < 12; ++k) {
        const long double tie = (std::pow(10.0L, significant) + 2 * k + 1) / 2 * std::pow(10.0L, -k);
        values.push_back(Float(tie));
    }
    return values;
}

} // namespace

TEST(DecimalForm, FastDigitsAgreeWithTheExactExpansionForDoubles)
{
    std::vector<double> values = ProgramValues();
    for (double v : AroundPowersOfTen<double>(-320, 308))
        values.push_back(v);
    for (int significant : {7, 15})
        for (double v : Halves<double>(significant))
            values.push_back(v);
    for (double v : {0.1 + 0.2, 1.005, 2.675, 100000000000000.5, 4503599627370495.5, 123456789012345.6,
                     1234567890123456.7, 0.30000000000000004, 1e15 + 0.5, 9.9999999999999995e14,
                     std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::epsilon()})
        values.push_back(v);
    std::mt19937_64 random(12345);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    for (double v : values) {
        for (int significant : {7, 15, 16, 17}) {
            ExpectSameAsExact(v, significant);
            ExpectSameAsExact(-v, significant);
        }
    }
}

TEST(DecimalForm, FastDigitsAgreeWithTheExactExpansionForSingles)
{
    std::vector<float> values;
    for (double v : ProgramValues())
        values.push_back(float(v));
    for (float v : AroundPowersOfTen<float>(-45, 38))
        values.push_back(v);
    for (float v : Halves<float>(7))
        values.push_back(v);
    for (float v : {0.1f, 1.0005f, 1234.5678f, 12345678.0f, 9999999.5f, 8589934592.0f, 0.0009765625f,
                    std::numeric_limits<float>::max(), std::numeric_limits<float>::min(),
                    std::numeric_limits<float>::denorm_min()})
        values.push_back(v);
    std::mt19937 random(6789);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = random();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    // where an ulp is larger than a unit of the seventh digit: every value of one stretch, every fifth of
    // another
    for (float v = 0.0009765625f; v < 0.001f; v = std::nextafter(v, 1.0f))
        values.push_back(v);
    for (float v = 8589934592.0f; v < 1e10f; v += 5 * 1024.0f)
        values.push_back(v);
    for (float v : values) {
        ExpectSameAsExact(v, 7);
        ExpectSameAsExact(-v, 7);
    }
    for (size_t i = 0; i < values.size(); i += 3)
        for (int significant : {1, 6, 8, 9})
            ExpectSameAsExact(values[i], significant);
}

TEST(DecimalForm, ZeroHasNoDigitsAndKeepsItsSign)
{
    for (const DecimalForm &d : {DecimalFormOf(-0.0, 15), DecimalFormOf(-0.0f, 7)}) {
        EXPECT_TRUE(d.negative);
        EXPECT_EQ(d.count, 0);
        EXPECT_EQ(d.point, 0);
    }
    EXPECT_FALSE(DecimalFormOf(0.0, 15).negative);
}

TEST(DecimalForm, RoundsHalvesOfTheLastDigitAwayFromZero)
{
    struct Case
    {
        double value;
        int significant;
        const char *digits;
        int point;
    } cases[] = {
        {0.125, 2, "13", 0},
        {-0.125, 2, "13", 0},
        {100000000000000.5, 15, "100000000000001", 15},
        {2.5, 1, "3", 1},
        {9.5, 1, "1", 2},
        {0.30000000000000004, 15, "3", 0},
        {1.005, 3, "1", 1},
        {123456.75, 7, "1234568", 6},
    };
    for (const Case &c : cases) {
        const DecimalForm d = DecimalFormOf(c.value, c.significant);
        EXPECT_EQ(std::string(d.digits, d.count), c.digits) << c.value;
        EXPECT_EQ(d.point, c.point) << c.value;
    }
}
