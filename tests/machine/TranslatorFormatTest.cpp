#include "machine/TranslatorFormat.h"

#include <QString>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace {

// Values where the rounding is in doubt or the text changes form: halves of the last place, a sign that
// vanishes, the edge of the range double arithmetic decides, values no number text has.
std::vector<double> EdgeValues()
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {
        0,
        -0.0,
        0.0004,
        0.0005,
        -0.0005,
        0.00049999,
        -0.00049,
        0.0015,
        0.0025,
        1.2345,
        -1.2345,
        2.0005,
        99.9995,
        999999.9995,
        999999.9994,
        1e6,
        1e6 - 1e-4,
        999999.5,
        1e9,
        999999999.4,
        999999999.5,
        1e15,
        1e20,
        -1e20,
        1e-300,
        5e-324,
        12.3 + 0.1,
        0.1 + 0.2,
        123456.7895,
        2.5,
        -2.5,
        0.5,
        -0.5,
        1.5,
        9.5,
        99.5,
        0.49999999999999994,
        1.0 / 3,
        -2.0 / 3,
        0.12345,
        9999,
        0.01,
        inf,
        -inf,
        std::nan(""),
    };
    // the neighbours of the halves of a thousandth and of a unit, a few steps either way
    for (double half : {0.0005, 0.0015, 1.2345, 1.2355, 57.0005, 123.4565, 0.5, 2.5, 1234.5}) {
        for (double sign : {1.0, -1.0}) {
            double value = sign * half;
            for (int i = 0; i < 4; ++i)
                value = std::nextafter(value, -inf);
            for (int i = 0; i < 8; ++i) {
                values.push_back(value);
                value = std::nextafter(value, inf);
            }
        }
    }
    return values;
}

// Values as programs give them: decimals of up to five places over every magnitude of a position or a
// feed, read as text or through single precision as the scanner reads them, and sums of them.
std::vector<double> ProgramValues()
{
    std::vector<double> values;
    std::mt19937_64 random(20);
    QString text;
    for (int i = 0; i < 40000; ++i) {
        const int places = int(random() % 6);
        const int digits = 1 + int(random() % 9);
        const auto whole = std::int64_t(random() % std::uint64_t(std::pow(10.0, digits)));
        const double value = double(whole) / std::pow(10.0, places) * (random() % 2 ? -1 : 1);
        const double read = nc::ValueOfText(QString::number(value, 'f', places));
        values.push_back(read);
        values.push_back(nc::PlainTextSingleInto(float(read), text));
        values.push_back(read + values[random() % values.size()]);
        values.push_back(read * 2 / 1000);
    }
    return values;
}

bool SameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

} // namespace

// The appended words are the texts the general number routines give, and a variable is left holding the
// same rounded value, bit for bit (the sign of a zero too).
TEST(TranslatorFormat, WordsAreTheGeneralTexts)
{
    std::vector<double> values = EdgeValues();
    const std::vector<double> more = ProgramValues();
    values.insert(values.end(), more.begin(), more.end());
    QString out;
    for (const double value : values) {
        double expectedValue = value;
        const QString expected = u" X"_qs + nc::FormatValue3(expectedValue);
        double kept = value;
        out = u"N000"_qs;
        translator::AppendWord(out, u" X", kept);
        ASSERT_EQ(out.toStdString(), (u"N000"_qs + expected).toStdString()) << value;
        ASSERT_TRUE(SameDouble(kept, expectedValue)) << value << " left " << kept << " not " << expectedValue;

        out.clear();
        translator::AppendWordOf(out, u" I", value);
        ASSERT_EQ(out.toStdString(), (u" I"_qs + nc::FormatValue3Of(value)).toStdString()) << value;

        // the routine the conversions share gives the same text
        out.clear();
        nc::AppendValue3Of(out, value);
        ASSERT_EQ(out.toStdString(), nc::FormatValue3Of(value).toStdString()) << value;

        for (const char16_t *pattern : {u"0#", u"#####", u"000000", u"##"}) {
            out.clear();
            translator::AppendWhole(out, u" S", value, pattern);
            ASSERT_EQ(out.toStdString(), (u" S"_qs + nc::FormatDouble(value, pattern)).toStdString())
                << value << " through " << QString::fromUtf16(pattern).toStdString();
        }
    }
}

// A position without a value writes the address alone and keeps having no value.
TEST(TranslatorFormat, PositionWithoutValue)
{
    struct Case
    {
        std::optional<double> value;
        const char *text;
        std::optional<double> kept;
    };
    const Case cases[] = {
        {std::nullopt, " X", std::nullopt},
        {12.34567, " X12.346", 12.346},
        {-0.0001, " X0", 0.0},
    };
    for (const Case &c : cases) {
        std::optional<double> value = c.value;
        QString out;
        translator::AppendWord(out, u" X", value);
        EXPECT_EQ(out.toStdString(), c.text);
        EXPECT_EQ(value, c.kept) << c.text;
    }
}

// Each fault early in a long line, late in it and alone, since the text is looked at in blocks.
TEST(TranslatorFormat, WordWithoutValue)
{
    const struct
    {
        const char16_t *text;
        bool holds;
    } cases[] = {
        {u"N000 G01 X40 Z-2.5 F0.2\r\n", false},
        {u"N000     X\r\n", true},
        {u"N000 S M03 M08 M09 M10 M11\r\n", true},
        {u"N000 G01 X40 Z F0.25 M08 M09\r\n", true},
        {u"N000 G183 C0 X0 Z-20 K1 D5 F0\r\n", true},
        {u"N000 F0 G01 X40 Z-2.5 M08 M09\r\n", true},
        {u"N000 G01 X40 F0.01 F01 F10 Z2\r\n", false},
        {u"N000 G01 X\tZ2\r\n", true},
        {u"NMAX G50 S\r\nN000 G00 X10 Z2\r\n", true},
        {u"N000 CALL O0012 MODIN O0100 MODOUT\r\n", false},
        {u"N000 SB=500 TG=1 OG=1 M12 M63\r\n", false},
        {u"N000 G00 X50 Z2( A B F0 X )\r\n", false},
        {u"(-----<ROUGH CUT X Z F0 >-----)\r\n", false},
        {u"N000 G00 X50( A ) Z\r\n", true},
        {u"NT01 G00 X50\r\n/N000 G01 Z2\r\n", false},
        {u"NT01 G00 X50\r\nX\r\n", true},
        {u"N000 G04 F0.01 xX\r\n", false},
        {u"X", true},
        {u"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(translator::HoldsWordWithoutValue(QStringView(c.text)), c.holds)
            << QString::fromUtf16(c.text).toStdString();
}
