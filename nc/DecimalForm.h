#pragma once

// The decimal form of a binary floating-point value: its digits rounded half away from zero to a number of
// significant digits, the rounding decided on the exact binary value. The number texts are written from
// it; it has its own header so that its fast path can be checked against the exact one.
namespace nc {

// value = 0.d1 d2 ... dn x 10^point, no leading or trailing zero digits; zero has no digits.
struct DecimalForm
{
    bool negative = false;
    char digits[48] = {};
    int count = 0;
    int point = 0;
};

// The digits of `value` rounded to `significant` digits (at most 17). Taken from the shortest form of the
// value when that provably gives the same digits as the exact expansion, which is nearly always; from the
// exact expansion otherwise. Not for infinities and NaN.
DecimalForm DecimalFormOf(double value, int significant);
DecimalForm DecimalFormOf(float value, int significant);

// The same digits, always read from the exact expansion of the value: the reference for the above.
DecimalForm ExactDecimalFormOf(double value, int significant);
DecimalForm ExactDecimalFormOf(float value, int significant);

// Rounds half away from zero to `places` digits after the point.
void RoundToPlaces(DecimalForm &d, int places);

} // namespace nc
