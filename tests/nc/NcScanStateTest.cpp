#include "nc/NcScanState.h"

#include "nc/NcNumber.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Routine
{
    Number,
    WordValue,
    Expression
};

struct ScanCase
{
    Routine routine;
    const char16_t *line;
    qsizetype pos; // the letter's position
    const char16_t *token;
    qsizetype endPos;
};

NcScanState Scan(const ScanCase &c)
{
    NcScanState s;
    s.Line = QString::fromUtf16(c.line);
    s.LineLength = s.Line.size();
    s.Pos = c.pos;
    s.Token = QStringLiteral("stale");
    switch (c.routine) {
    case Routine::Number:
        s.ReadNumber();
        break;
    case Routine::WordValue:
        s.ReadWordValue();
        break;
    case Routine::Expression:
        s.ReadExpression();
        break;
    }
    return s;
}

} // namespace

TEST(NcScanState, ReadsTokensAndLeavesPosOnTheLastCharacter)
{
    const ScanCase cases[] = {
        {Routine::Number, u"G01X-12.5Y3.", 4, u"-12.5", 9},
        {Routine::Number, u"G01X", 4, u"", 4},
        {Routine::Number, u"N10(ABC)", 1, u"10", 3},
        {Routine::Number, u"X1,000", 1, u"1,000", 6},
        {Routine::Number, u"X--5", 1, u"--5", 4},
        {Routine::Number, u"X/2 Y", 1, u"/2", 3},
        {Routine::Number, u"X 10", 1, u"", 1},
        {Routine::Number, u"X#100", 1, u"", 1},
        {Routine::WordValue, u"X12.5 Y3", 1, u"12.5", 5},
        {Routine::WordValue, u"X[#1+2]", 1, u"[#1+2", 6},
        {Routine::WordValue, u"X#101 Y1", 1, u"#101", 5},
        {Routine::WordValue, u"XABC Y1", 1, u"ABC", 4},
        {Routine::WordValue, u"X12Y3", 1, u"12", 3},
        {Routine::WordValue, u"X\t1", 1, u"", 1},
        {Routine::Expression, u"X10.5Y", 1, u" 10.5", 5},
        {Routine::Expression, u"X[1+2]", 1, u" 3", 5},
        {Routine::Expression, u"X1+2*3", 1, u" 9", 6},
        {Routine::Expression, u"X10/4", 1, u" 2.5", 5},
        {Routine::Expression, u"X=5", 1, u" 5", 3},
        {Routine::Expression, u"X-0.5", 1, u"-.5", 5},
        {Routine::Expression, u"X.5", 1, u" .5", 3},
        {Routine::Expression, u"X0", 1, u" 0", 2},
        {Routine::Expression, u"X", 1, u"", 1},
        {Routine::Expression, u"X+", 1, u"", 2},
        {Routine::Expression, u"X1234.5678", 1, u" 1234.568", 10},
        {Routine::Expression, u"X2*-3", 1, u"-1", 5},
        {Routine::Expression, u"X5*0", 1, u" 0", 4},
        {Routine::Expression, u"X5/0", 1, u" 5", 4},
        {Routine::Expression, u"X5/0.0+1", 1, u" 6", 8},
        {Routine::Expression, u"X1+", 1, u"", 3},
        {Routine::Expression, u"X-5", 1, u"-5", 3},
        {Routine::Expression, u"X10 Y", 1, u" 10", 3},
        {Routine::Expression, u"X10(C)", 1, u" 10", 3},
        {Routine::Expression, u"X12345678", 1, u" 1.234568E+07", 9},
        {Routine::Expression, u"X1,5+1", 1, u" 2", 6},
        {Routine::Expression, u"G01X5", 2, u" 1", 3},
    };
    for (const ScanCase &c : cases) {
        const NcScanState s = Scan(c);
        const std::string label = QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(s.Token, QString::fromUtf16(c.token)) << label;
        EXPECT_EQ(s.Pos, c.endPos) << label;
    }
}

TEST(NcScanState, FormatValue3And4)
{
    struct Case
    {
        const char16_t *input;
        const char16_t *three;
        const char16_t *four;
    } cases[] = {
        {u"12", u"12", u"12"},
        {u"12.5", u"12.5", u"12.5"},
        {u"12.34567", u"12.346", u"12.3457"},
        {u"0.5", u"0.5", u"0.5"},
        {u"-0.5", u"-0.5", u"-0.5"},
        {u"-0.04", u"-0.04", u"-0.04"},
        {u"-0.0004", u"0", u"-0.0004"},
        {u"0", u"0", u"0"},
        {u"", u"", u""},
        {u" .5", u"0.5", u"0.5"},
        {u"-.5", u"-0.5", u"-0.5"},
        {u"10.", u"10", u"10"},
        {u"1.0005", u"1.001", u"1.0005"},
        {u"12345678", u"12345678", u"12345678"},
        {u" 1.234568E+07", u"12345680", u"12345680"},
        {u"1-2", u"1-2", u"1-2"},
        {u"-0.00004", u"0", u"0"},
        {u"99.99995", u"100", u"100"},
    };
    for (const Case &c : cases) {
        QString three = QString::fromUtf16(c.input);
        QString four = three;
        EXPECT_EQ(nc::FormatValue3(three), QString::fromUtf16(c.three)) << three.toStdString();
        EXPECT_EQ(nc::FormatValue4(four), QString::fromUtf16(c.four)) << four.toStdString();
    }
    QString dash = QStringLiteral("-");
    EXPECT_EQ(nc::FormatValue4(dash), u"-");
    EXPECT_EQ(dash, u"-");
}

// FormatValue3 and 4 round to the places, read the rounded text back and write that value's shortest
// form; written out here the long way, for values of every kind: halves at the last place, 15 and more
// significant digits, negative zero, values that round to zero.
TEST(NcScanState, FormatValueMatchesReadingTheRoundedTextBack)
{
    const auto longWay = [](double value, const char16_t *pattern) {
        const double back = nc::ValueOfText(nc::FormatDouble(value, pattern));
        QString text = nc::FormatDouble(back, u"0.###############");
        if (text.endsWith(u'.'))
            text.chop(1);
        return text;
    };
    std::vector<double> values = {-0.0,
                                  0.0005,
                                  -0.0005,
                                  0.00005,
                                  -0.00004,
                                  2.0005,
                                  1.00049999999,
                                  999.9995,
                                  123456789012.3455,
                                  1234567890123.4567,
                                  99999999999999.95,
                                  123456789012345.67,
                                  1e15 + 0.5,
                                  1.5e17,
                                  1e20,
                                  -1e300,
                                  0.1 + 0.2,
                                  4503599627370495.5};
    for (int i = -30000; i <= 30000; i += 3) {
        values.push_back(i / 10000.0 + 0.00005);
        values.push_back(i * 1.0000001 / 7);
        values.push_back(i * 12345.678901234567);
    }
    for (double v : values) {
        QString three = nc::PlainText(v);
        QString four = three;
        const double fromText = nc::ValueOfText(three);
        ASSERT_EQ(nc::FormatValue3Of(v), longWay(v, u"0.###")) << v;
        ASSERT_EQ(nc::FormatValue4Of(v), longWay(v, u"0.####")) << v;
        ASSERT_EQ(nc::FormatValue3(three), longWay(fromText, u"0.###")) << v;
        ASSERT_EQ(nc::FormatValue4(four), longWay(fromText, u"0.####")) << v;
    }
}

TEST(NcScanState, FormatValueLeavesTheRoundedValueInTheVariable)
{
    QString text = QStringLiteral("12");
    EXPECT_EQ(nc::FormatValue3(text), u"12");
    EXPECT_EQ(text, u"12.");
    text = QStringLiteral("0.12345");
    nc::FormatValue3(text);
    EXPECT_EQ(text, u"0.123");

    double x = 1.23456;
    EXPECT_EQ(nc::FormatValue3(x), u"1.235");
    EXPECT_EQ(x, 1.235);
    std::optional<double> none;
    EXPECT_EQ(nc::FormatValue3(none), u"");
    EXPECT_FALSE(none.has_value());
    std::optional<double> some = -2.0004;
    EXPECT_EQ(nc::FormatValue3(some), u"-2");
    EXPECT_EQ(*some, -2.0);
    EXPECT_EQ(nc::FormatValue3Of(0.0005), u"0.001");
    EXPECT_EQ(nc::FormatValue4Of(-0.00005), u"-0.0001");
}

// The value ReadExpression gives back is the value of the text it leaves in Token, for values of every
// size: short and long, halves, zero of either sign, beyond single precision.
TEST(NcScanState, ReadExpressionGivesTheValueOfItsToken)
{
    std::vector<QString> lines = {u"X"_s,          u"X+"_s,        u"X0"_s,
                                  u"X-0"_s,        u"X0*-1"_s,     u"X1E30"_s,
                                  u"X1/3"_s,       u"X-1/3"_s,     u"X12345678"_s,
                                  u"X1234567.5"_s, u"X.0000001"_s, u"X.00000001"_s,
                                  u"X3E38*10"_s,   u"X1E-45/10"_s, u"X99999995"_s,
                                  u"X[#1+2]"_s,    u"X2*-3"_s,     u"X5/0"_s,
                                  u"X0.1+0.2"_s,   u"X1E22"_s,     u"X-.0000000001*0"_s};
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i)
        lines.push_back(
            u"X"_s +
            QString::number(double(random()) / double(1 + random() % 100000), 'g', 1 + random() % 12) +
            (i % 3 == 0 ? u"/7"_s : QString()));
    NcScanState s;
    for (const QString &line : lines) {
        s.Line = line;
        s.LineLength = line.size();
        s.Pos = 1;
        const double value = s.ReadExpression();
        const double expected = nc::ValueOfText(s.Token);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0)
            << line.toStdString() << " gives " << s.Token.toStdString();
    }
}

// ReadExpressionValue gives what ReadExpression gives (whether there was an operand, the value bit for bit,
// where Pos is left) for plain numbers at the edge of the digits it reads itself, for what follows a
// number, and for expressions it leaves to ReadExpression.
TEST(NcScanState, ReadExpressionValueGivesWhatReadExpressionGives)
{
    std::vector<QString> words = {
        u""_s,          u"-"_s,          u"+"_s,         u"."_s,        u"-."_s,        u"0"_s,
        u"-0"_s,        u"+0"_s,         u"-0.000"_s,    u"12."_s,      u".5"_s,        u"-.5"_s,
        u"9.999999"_s,  u"8388607"_s,    u"8388609"_s,   u"9999999"_s,  u"99999999"_s,  u"12000000"_s,
        u"0.0000001"_s, u"0.00000001"_s, u"1.2345675"_s, u"123.4567"_s, u"1234.5678"_s, u"00000001.5"_s,
        u"1.2.3"_s,     u"1,5"_s,        u"5=3"_s,       u"5[1"_s,      u"[5]"_s,       u"--5"_s,
        u"5*2"_s,       u"5/0"_s,        u"5-2"_s,       u"-5+.5"_s,    u"0.1"_s,       u"0.3"_s,
        u"7.0000005"_s, u"0.8388607"_s,  u"1E5"_s,
    };
    const QString after[] = {u""_s,  u" "_s, u"Z1."_s, u"("_s, u")"_s,
                             u"#"_s, u"="_s, u"["_s,   u","_s, u"M3"_s};
    std::mt19937 random(17);
    for (int i = 0; i < 20000; ++i) {
        QString word = random() % 4 == 0 ? u"-"_s : QString();
        const int digits = 1 + int(random() % 9);
        const int point = int(random() % (digits + 2)) - 1; // -1: no point
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                word += u'.';
            word += QChar(u'0' + int(random() % 10));
        }
        words.push_back(word);
    }
    NcScanState expression;
    NcScanState valueOnly;
    for (const QString &word : words) {
        for (const QString &next : after) {
            const QString line = u"X"_s + word + next;
            for (NcScanState *s : {&expression, &valueOnly}) {
                s->Line = line;
                s->LineLength = line.size();
                s->Pos = 1;
            }
            const double expected = expression.ReadExpression();
            double value = -1;
            const bool read = valueOnly.ReadExpressionValue(value);
            ASSERT_EQ(read, !expression.Token.isEmpty()) << line.toStdString();
            if (read)
                ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0)
                    << line.toStdString() << " gives " << value << " not " << expected;
            else
                ASSERT_EQ(value, -1) << line.toStdString();
            ASSERT_EQ(valueOnly.Pos, expression.Pos) << line.toStdString();
        }
    }
}

// The text appended from plain double arithmetic is FormatValue3Of's, at the halves of a thousandth, for a
// zero of either sign, at the edge of the range arithmetic decides and beyond it.
TEST(NcScanState, AppendValue3OfWritesFormatValue3OfText)
{
    struct Case
    {
        double value;
        const char16_t *text;
    };
    const Case cases[] = {
        {0, u"0"},
        {-0.0, u"0"},
        {0.0005, u"0.001"},
        {-0.0005, u"-0.001"},
        {0.0004999, u"0"},
        {-0.0004, u"0"},
        {1.2345, u"1.235"},
        {2.0005, u"2.001"},
        {12.3, u"12.3"},
        {-0.04, u"-0.04"},
        {999999.9995, u"1000000"},
        {1e9, u"1000000000"},
        {1e15, u"1000000000000000"},
        {123456.789, u"123456.789"},
        {0.1 + 0.2, u"0.3"},
        {-7.0, u"-7"},
    };
    for (const Case &c : cases) {
        QString out = u"X"_qs;
        nc::AppendValue3Of(out, c.value);
        EXPECT_EQ(out, u"X"_qs + nc::FormatValue3Of(c.value)) << c.value;
        EXPECT_EQ(out, u"X"_qs + QString::fromUtf16(c.text)) << c.value;
    }
}

// The thousandths taken with plain arithmetic are those of the single's plain text rounded to three places
// and of FormatSingle with "0.###": at a half of the seventh digit (1024.0625), where the seven digits
// round up into a half of a thousandth (1.0004999 gives 1.0005 and then 1.001), at the powers of ten and
// the edges of the range, for both signs and for many values of every magnitude.
TEST(NcScanState, SingleThousandthsAreThoseOfTheDecimalForm)
{
    const auto byText = [](float value) {
        QString plain = nc::PlainTextSingle(value);
        return nc::FormatValue3(plain);
    };
    const auto byPattern = [](float value) {
        QString rounded = nc::FormatSingle(value, u"0.###");
        return nc::FormatValue3(rounded);
    };
    struct Case
    {
        float value;
        const char16_t *text;
    };
    const Case cases[] = {
        {0.0f, u"0"},
        {-0.0f, u"0"},
        {1024.0625f, u"1024.063"},
        {-1024.0625f, u"-1024.063"},
        {1.0004999f, u"1.001"},
        {0.0005f, u"0.001"},
        {-0.0004f, u"0"},
        {0.001f, u"0.001"},
        {0.01f, u"0.01"},
        {0.1f, u"0.1"},
        {1.0f, u"1"},
        {999999.94f, u"999999.9"},
        {1e6f, u"1000000"},
        {78.229f, u"78.229"},
        {-0.031f, u"-0.031"},
        {156.458f, u"156.458"},
        {0.3f, u"0.3"},
        {12345.678f, u"12345.68"},
        {9999.9995f, u"9999.999"},
        {-99.99995f, u"-100"},
    };
    for (const Case &c : cases) {
        QString out = u"X"_qs;
        nc::AppendSingle3(out, c.value);
        EXPECT_EQ(out, u"X"_qs + QString::fromUtf16(c.text)) << c.value;
        EXPECT_EQ(out, u"X"_qs + byText(c.value)) << c.value;
        EXPECT_EQ(out, u"X"_qs + byPattern(c.value)) << c.value;
    }

    std::mt19937 random(11);
    std::uniform_real_distribution<double> exponent(-4, 7);
    std::uniform_int_distribution<int> decimals(0, 6);
    int fast = 0;
    constexpr int Count = 200000;
    for (int i = 0; i < Count; ++i) {
        // decimal values of a few places, as programs write them, and values of any bits
        double wide = std::pow(10.0, exponent(random));
        const double scale = std::pow(10.0, decimals(random));
        if (i % 2 == 0)
            wide = std::round(wide * scale) / scale;
        const float value = float(i % 4 < 2 ? wide : -wide);
        QString out;
        if (nc::AppendSingleThousandths(out, value)) {
            ++fast;
            ASSERT_EQ(out, byText(value)) << value;
            ASSERT_EQ(out, byPattern(value)) << value;
        }
    }
    // the values below 0.001 and from 10^6 on (about a quarter) are left to the decimal form
    EXPECT_GT(fast, Count / 2);
}
