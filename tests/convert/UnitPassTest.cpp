#include "convert/UnitPass.h"

#include "nc/NcScanState.h"

#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    UnitOption option;
    const char16_t *source;
    const char16_t *result;
};

constexpr UnitOption UmToMm = UnitOption::UmToMm;
constexpr UnitOption TenUmToMm = UnitOption::TenUmToMm;
constexpr UnitOption InchToMm = UnitOption::InchToMm;
constexpr UnitOption MmToInch = UnitOption::MmToInch;
constexpr UnitOption MmToUm = UnitOption::MmToUm;
constexpr UnitOption MmToTenUm = UnitOption::MmToTenUm;

void CheckAll(std::initializer_list<Case> cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(ConvertUnit(QString::fromUtf16(c.source), c.option), QString::fromUtf16(c.result))
            << "option " << int(c.option) << ": " << QString::fromUtf16(c.source).toStdString();
}

} // namespace

TEST(UnitPass, MetricLengths)
{
    CheckAll({
        {UmToMm, u"G01 X12345 Z-500 F200", u"G01 X12.345 Z-0.5 F0.2\r\n"},
        {UmToMm, u"X100000", u"X100\r\n"},
        {UmToMm, u"M03 S1000 T0101", u"M03 S1000 T0101\r\n"},
        {UmToMm, u"A1000 B2000 C3000", u"A1 B2 C3\r\n"},
        {UmToMm, u"D1000H1000I1000J1000K1000L1000R1000U1000W1000Y1000Z1000", u"D1H1I1J1K1L1R1U1W1Y1Z1\r\n"},
        {UmToMm, u"O1000 P1000 Q1000 V1000 T1000 M1000 x1000",
         u"O1000 P1000 Q1000 V1000 T1000 M1000 x1000\r\n"},
        // Under a metric option the first X of a dwell block is scaled like every length.
        {UmToMm, u"G04 X1500", u"G04 X1.5\r\n"},
        {UmToMm, u"S1000 G96 S1000", u"S1000 G96 S1000\r\n"},
        {TenUmToMm, u"X150 Z-5", u"X1.5 Z-0.05\r\n"},
        {MmToUm, u"X12.345", u"X12345\r\n"},
        {MmToTenUm, u"X1.5", u"X150\r\n"},
    });
}

TEST(UnitPass, SignsExpressionsAndTheEqualsSign)
{
    CheckAll({
        {UmToMm, u"X=1000", u"X=1\r\n"},
        {UmToMm, u"X-1000 Z+1000", u"X-1 Z1\r\n"},
        // A value that rounds to zero has no sign.
        {UmToMm, u"X-0.4", u"X0\r\n"},
        {MmToUm, u"X10+5", u"X15000\r\n"},
        {MmToUm, u"X1+2*3", u"X9000\r\n"},
        {MmToUm, u"X2*-3", u"X-1000\r\n"},
        // A zero divisor leaves the value as it was.
        {UmToMm, u"X5000/0", u"X5\r\n"},
        // Everything the expression consumed is replaced; the closing bracket was not consumed.
        {UmToMm, u"X[1000+2000]", u"X3]\r\n"},
        {UmToMm, u"X=[1000+2000] Z1", u"X=3] Z0.001\r\n"},
        // No value: the word stays.
        {UmToMm, u"X Z+ W= Y#1", u"X Z+ W= Y#1\r\n"},
    });
}

// Whole numbers of micrometres are written from their digits up to seven of them; from 10^7 on and for a
// fraction the decimal form decides, single precision included.
TEST(UnitPass, WholeNumbersAtTheEdgeOfSevenDigits)
{
    CheckAll({
        {MmToUm, u"X9999.999 Z-9999.999", u"X9999999 Z-9999999\r\n"},
        {MmToUm, u"X10000 Z-10000", u"X10000000 Z-10000000\r\n"},
        // 16777.217 mm is 16777217 um, which single precision holds as 16777216
        {MmToUm, u"X16777.217", u"X16777220\r\n"},
        {MmToUm, u"X-0 Z0. W-.0", u"X0 Z0 W0\r\n"},
        {MmToUm, u"X0.0005 Z-0.0015", u"X0.5 Z-1.5\r\n"},
        {MmToTenUm, u"X-123.45 Z99999.99", u"X-12345 Z9999999\r\n"},
        {UmToMm, u"X1 Z-7", u"X0.001 Z-0.007\r\n"},
    });
}

TEST(UnitPass, CommentsAndNWords)
{
    CheckAll({
        {UmToMm, u"G1 (X1000) X1000", u"G1 (X1000) X1\r\n"},
        {UmToMm, u"(X1000\r\nZ1000) Z1000", u"(X1000\r\nZ1000) Z1\r\n"},
        {UmToMm, u"N10X5000", u"N10X5\r\n"},
        // The character right after an N is passed over unread.
        {UmToMm, u"NX5000 Z1000", u"NX5000 Z1\r\n"},
    });
}

TEST(UnitPass, RoundingAcrossADecimalPlace)
{
    CheckAll({
        {UmToMm, u"X999.5 Z9999.5", u"X1 Z10\r\n"},
        // A single-precision value is rounded on its seven digits: 2.0005 is held as 2.00049996...
        {UmToMm, u"X2000.5", u"X2.001\r\n"},
        {MmToInch, u"X0.00127", u"X0.0001\r\n"},
        {MmToInch, u"X0.00126", u"X0\r\n"},
        {MmToUm, u"X1.2345678", u"X1234.568\r\n"},
        // Seven significant digits are all single precision holds: 8192.021 is 8192.021484375.
        {MmToUm, u"X8192.021", u"X8192022\r\n"},
        {MmToUm, u"Z123456789", u"Z123456800000\r\n"},
        // Values beyond single precision stay as written.
        {UmToMm, u"X1234567890123456789012345678901234567890 Z1000",
         u"X1234567890123456789012345678901234567890 Z1\r\n"},
        {MmToUm, u"X300000000000000000000000000000000000000 Z1",
         u"X300000000000000000000000000000000000000 Z1000\r\n"},
    });
}

TEST(UnitPass, InchAndMillimetre)
{
    CheckAll({
        {MmToInch, u"X25.4 Z-12.7", u"X1 Z-0.5\r\n"},
        {MmToInch, u"X1.", u"X0.0394\r\n"},
        {MmToInch, u"A90. C45. B1", u"A90. C45. B1\r\n"},
        {MmToInch, u"F0.254 I2.54", u"F0.01 I0.1\r\n"},
        {InchToMm, u"X1.", u"X25.4\r\n"},
        {InchToMm, u"A1. B1. C1.", u"A1. B1. C1.\r\n"},
        // E values are always written with at most three decimals.
        {MmToInch, u"E1", u"E0.039\r\n"},
        {InchToMm, u"G98 E1 G04 E1", u"G98 E25.4 G04 E25.4\r\n"},
    });
}

TEST(UnitPass, SpindleSpeedUnderInchOptions)
{
    CheckAll({
        {InchToMm, u"G96 S1000", u"G96 S304\r\n"},
        {InchToMm, u"G97 S1000.", u"G97 S1000\r\n"},
        {InchToMm, u"S1000.", u"S1000\r\n"},
        {MmToInch, u"G96 S123", u"G96 S403\r\n"},
        // Cut towards minus infinity.
        {MmToInch, u"G96 S-123", u"G96 S-404\r\n"},
        {InchToMm, u"G96 S=1000", u"G96 S=304\r\n"},
        // The mode changes where the G word stands, and lasts from line to line.
        {InchToMm, u"S1000 G96 S1000 G97 S1000", u"S1000 G96 S304 G97 S1000\r\n"},
        {InchToMm, u"G96\r\nS1000\r\nG97\r\nS1000", u"G96\r\nS304\r\nG97\r\nS1000\r\n"},
        {InchToMm, u"G96 (G97) S1000", u"G96 (G97) S304\r\n"},
    });
}

TEST(UnitPass, DwellUnderInchOptions)
{
    CheckAll({
        {InchToMm, u"G04 X1.5", u"G04 X1.5\r\n"},
        {InchToMm, u"G04 U1. X2.", u"G04 U1. X50.8\r\n"},
        {InchToMm, u"G04 F1 F1", u"G04 F1 F25.4\r\n"},
        {MmToInch, u"G4 X2.54 Z2.54", u"G4 X2.54 Z0.1\r\n"},
        // The dwell is the block's own: the next line scales X again.
        {InchToMm, u"G04 X1.\r\nX1.", u"G04 X1.\r\nX25.4\r\n"},
        // Words before the G04 are read before the block is known to dwell.
        {InchToMm, u"X1. G04 X1.", u"X25.4 G04 X1.\r\n"},
    });
}

TEST(UnitPass, EWordsFollowTheFeedMode)
{
    CheckAll({
        {UmToMm, u"E1500", u"E1.5\r\n"},
        {UmToMm, u"G99 E1500", u"G99 E1.5\r\n"},
        {UmToMm, u"G98 E1500", u"G98 E150\r\n"},
        {UmToMm, u"G94 E1500\r\nE1500\r\nG95 E1500", u"G94 E150\r\nE150\r\nG95 E1.5\r\n"},
        {UmToMm, u"E1500 G98 E1500 G99 E1500", u"E1.5 G98 E150 G99 E1.5\r\n"},
        {UmToMm, u"G04 E1500", u"G04 E15\r\n"},
        {TenUmToMm, u"E150 G98 E1.23456 G04 E150", u"E1.5 G98 E1.235 G04 E15\r\n"},
        {MmToUm, u"E0.0015 G98 E1.5 G04 E1.5", u"E1.5 G98 E15 G04 E150\r\n"},
        {MmToTenUm, u"E1.5 G98 E1.23456 G04 E1.5", u"E150 G98 E1.235 G04 E15\r\n"},
        // A G word other than the feed codes leaves the feed mode but ends a dwell.
        {UmToMm, u"G98\r\nG04 G01 E1500", u"G98\r\nG04 G01 E150\r\n"},
    });
}

// Millimetres to 0.001 mm and back give the values with at most three decimals back, within the seven
// digits of single precision.
TEST(UnitPass, MillimetresToMicrometresAndBack)
{
    QString program;
    QString expected;
    for (qint64 k = -8191999; k <= 8191999; k += 4099) {
        for (const QStringView letter : {u"X", u"Z", u"E"}) {
            QString value = QString::number(k / 1000.0, 'f', 3);
            program += letter.toString() + value + u' ';
            expected += letter.toString() + nc::FormatValue3(value) + u' ';
        }
        program += u"\r\n";
        expected += u"\r\n";
    }
    const QString there = ConvertUnit(program, UnitOption::MmToUm);
    EXPECT_EQ(ConvertUnit(there, UnitOption::UmToMm), expected);
}
