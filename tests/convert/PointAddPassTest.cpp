#include "convert/PointAddPass.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    PointMode mode;
    const char16_t *source;
    const char16_t *result;
};

constexpr PointMode Point = PointMode::Point;
constexpr PointMode PointZero = PointMode::PointZero;
constexpr PointMode Remove = PointMode::Remove;

} // namespace

TEST(PointAddPass, RewritesTheDimensionWords)
{
    const Case cases[] = {
        {Point, u"G01 X10 Z-5 F0.2", u"G01 X10. Z-5. F0.2\r\n"},
        {Point, u"G04 X2", u"G04 X2.\r\n"},
        {Point, u"S1000 M03 T0101", u"S1000 M03 T0101\r\n"},
        {Point, u"O1000 N10 P5 Q6 G1 S2 T3 V4 M5", u"O1000 N10 P5 Q6 G1 S2 T3 V4 M5\r\n"},
        {Point, u"A1B2C3D4E5F6H7I8J9K1L2R3U4W5Y6Z7", u"A1.B2.C3.D4.E5.F6.H7.I8.J9.K1.L2.R3.U4.W5.Y6.Z7.\r\n"},
        {Point, u"G00 X1 (X1 Z2)", u"G00 X1. (X1 Z2)\r\n"},
        {Point, u"G00 X1 (X1\r\nZ2) Z2", u"G00 X1. (X1\r\nZ2) Z2.\r\n"},
        {Point, u"X#100 Z[#1+2] x10", u"X#100 Z[#1+2] x10\r\n"},
        // A "+" goes, the sign of a negative value stays, a value that rounds to zero has none.
        {Point, u"X+5 Z-.5 W-0.00001", u"X5. Z-0.5 W0.\r\n"},
        {Point, u"X1.23456 Z9.99996 W1.00005", u"X1.2346 Z10. W1.0001\r\n"},
        {Point, u"X12345678", u"X12345678.\r\n"},
        // Tokens that are not one number stay as written.
        {Point, u"X1-2 Z- W1,5", u"X1-2 Z- W1,5\r\n"},
        {PointZero, u"X10. Z-5", u"X10.0 Z-5.0\r\n"},
        {PointZero, u"X1.23456 Z2.50 W.5", u"X1.2346 Z2.5 W0.5\r\n"},
        {PointZero, u"X-0.00004", u"X0.0\r\n"},
        {Remove, u"X10. Z-5.0 F.2", u"X10 Z-5 F0.2\r\n"},
        {Remove, u"X10.50 Z-.5 W-0.00004", u"X10.5 Z-0.5 W0\r\n"},
        {Remove, u"X9.99995 Z- W1-2", u"X10 Z- W1-2\r\n"},
        {Remove, u"", u"\r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ConvertPointAdd(QString::fromUtf16(c.source), c.mode), QString::fromUtf16(c.result))
            << "mode " << int(c.mode) << ": " << QString::fromUtf16(c.source).toStdString();
}

TEST(PointAddPass, AddingPointsTwiceChangesNothing)
{
    const QString program = u"O0001\r\nN1 G50 S2000\r\nG00 X100 Z50 T0101\r\nG01 X-0.5 Z.25 F.15\r\n"
                            u"G02 X20.123456 Z-3 R5 (R1 X2)\r\nG04 U1.5\r\nX1-2 Z#1\r\nM30"_qs;
    for (PointMode mode : {PointMode::Point, PointMode::PointZero, PointMode::Remove}) {
        const QString once = ConvertPointAdd(program, mode);
        EXPECT_EQ(ConvertPointAdd(once, mode), once) << int(mode);
    }
    const QString removed = ConvertPointAdd(ConvertPointAdd(program, PointMode::Point), PointMode::Remove);
    EXPECT_EQ(removed, u"O0001\r\nN1 G50 S2000\r\nG00 X100 Z50 T0101\r\nG01 X-0.5 Z0.25 F0.15\r\n"
                       u"G02 X20.1235 Z-3 R5 (R1 X2)\r\nG04 U1.5\r\nX1-2 Z#1\r\nM30\r\n"_qs);
}
