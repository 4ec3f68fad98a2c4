#include "nc/NcNumber.h"

#include <clocale>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace nc;
using namespace Qt::Literals::StringLiterals;

TEST(NcNumber, ValueOfText)
{
    struct Case
    {
        const char16_t *text;
        double value;
    } cases[] = {
        {u"12.5", 12.5},
        {u"-.5", -0.5},
        {u"1,5", 1},
        {u"1/2", 1},
        {u"+5", 5},
        {u"", 0},
        {u"-", 0},
        {u" 1 2 ", 12},
        {u"- 5", -5},
        {u"\t3.", 3},
        {u"1E+07", 1e7},
        {u"1.5e-2", 0.015},
        {u"2E", 2},
        {u"2E+", 2},
        {u"--5", 0},
        {u"5-3", 5},
        {u"1.2.3", 1.2},
        {u"abc", 0},
        {u".", 0},
        {u"0.1", 0.1},
        {u"1E999", 0},
        {u"12X3", 12},
        {u"  -0.0", -0.0},
        {u"1 E 2", 100},
        {u"123456789012345678", 123456789012345678.0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ValueOfText(QStringView(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(NcNumber, ReadsWhollyAsNumber)
{
    struct Case
    {
        const char16_t *text;
        bool number;
    } cases[] = {
        {u"5.", true},   {u".5", true},   {u"-0.5", true},   {u" 12 ", true}, {u"\t+3\t", true},
        {u"1E5", true},  {u"1e-5", true}, {u"1,000", false}, {u"1/2", false}, {u"--5", false},
        {u"1-2", false}, {u"+", false},   {u"-", false},     {u".", false},   {u"", false},
        {u"1E", false},  {u"1 2", false}, {u"1..2", false},  {u"X1", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadsWhollyAsNumber(QStringView(c.text)), c.number)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(NcNumber, PlainText)
{
    EXPECT_EQ(PlainText(12), u" 12");
    EXPECT_EQ(PlainText(0.5), u" .5");
    EXPECT_EQ(PlainText(-0.5), u"-.5");
    EXPECT_EQ(PlainText(0), u" 0");
    EXPECT_EQ(PlainText(-12.25), u"-12.25");
    EXPECT_EQ(PlainText(0.1 + 0.2), u" .3");
    EXPECT_EQ(PlainText(123456789012345.0), u" 123456789012345");
    EXPECT_EQ(PlainText(1e15), u" 1E+15");
    EXPECT_EQ(PlainTextSingle(1234.5678f), u" 1234.568");
    EXPECT_EQ(PlainTextSingle(12345678.0f), u" 1.234568E+07");
    EXPECT_EQ(PlainTextSingle(10000000.0f), u" 1E+07");
    EXPECT_EQ(PlainTextSingle(9999999.0f), u" 9999999");
    EXPECT_EQ(PlainTextSingle(-2.5f), u"-2.5");
    EXPECT_EQ(PlainTextSingle(0.1f), u" .1");
    EXPECT_EQ(PlainTextSingle(3.0f), u" 3");
}

TEST(NcNumber, FormatPatterns)
{
    struct Case
    {
        double value;
        const char16_t *pattern;
        const char16_t *text;
    } cases[] = {
        {0, u"##00", u"00"},
        {1, u"##00", u"01"},
        {100, u"##00", u"100"},
        {12.5, u"##00", u"13"},
        {-12.5, u"##00", u"-13"},
        {12.4, u"##00", u"12"},
        {12, u"#####0.###", u"12."},
        {12.3456, u"#####0.###", u"12.346"},
        {0.5, u"#####0.###", u"0.5"},
        {-0.00001, u"#####0.####", u"0."},
        {1.0005, u"#####0.###", u"1.001"},
        {2.675, u"#####0.##", u"2.68"},
        {12, u"#####0.0##", u"12.0"},
        {12.5, u"#####0.0###", u"12.5"},
        {105, u"####00", u"105"},
        {3, u"####00", u"03"},
        {1, u"0#", u"01"},
        {40, u"0#", u"40"},
        {143, u"0#", u"143"},
        {12, u"000#", u"0012"},
        {1234, u"000#", u"1234"},
        {0.4, u"#####", u""},
        {0, u"#####", u""},
        {1234.5, u"#####", u"1235"},
        {-1234.5, u"#####", u"-1235"},
        {10101, u"000000", u"010101"},
        {12345678, u"#####0.###", u"12345678."},
        {0.0005, u"0.###", u"0.001"},
        {-0.0005, u"0.###", u"-0.001"},
        {-0.0004, u"0.###", u"0."},
        {9.9996, u"#####0.###", u"10."},
        {999.9999, u"0.###", u"1000."},
        {1e20, u"0.###", u"100000000000000000000."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatDouble(c.value, QStringView(c.pattern)), QString::fromUtf16(c.text))
            << c.value << " " << QString::fromUtf16(c.pattern).toStdString();
}

// Halves are decided on the 15-digit (7-digit) decimal form, not on the binary value.
TEST(NcNumber, HalvesRoundAwayFromZeroOnTheDecimalForm)
{
    EXPECT_EQ(FormatDouble(0.125, u"0.##"), u"0.13");
    EXPECT_EQ(FormatDouble(-0.125, u"0.##"), u"-0.13");
    EXPECT_EQ(FormatDouble(1.005, u"0.##"), u"1.01"); // binary 1.00499999999999989...
    EXPECT_EQ(FormatDouble(0.5, u"0"), u"1");
    EXPECT_EQ(FormatDouble(1.5, u"0"), u"2");
    EXPECT_EQ(FormatDouble(2.5, u"0"), u"3");
    EXPECT_EQ(FormatSingle(0.1f, u"0.#########"), u"0.1");
    EXPECT_EQ(FormatSingle(1.0005f, u"0.###"), u"1.001");
    // an exact tie at the 15th significant digit goes away from zero
    EXPECT_EQ(FormatDouble(100000000000000.5, u"0"), u"100000000000001");
    EXPECT_EQ(FormatDouble(4503599627370495.5, u"0"), u"4503599627370500");
}

TEST(NcNumber, FormatTextLeavesNonNumbersAlone)
{
    EXPECT_EQ(FormatText(u"1-2", u"##00"), u"1-2");
    EXPECT_EQ(FormatText(u"+", u"##00"), u"+");
    EXPECT_EQ(FormatText(u"1,000", u"##00"), u"1,000");
    EXPECT_EQ(FormatText(u"3", u"##00"), u"03");
    EXPECT_EQ(FormatText(u"-.5", u"#####0.###"), u"-0.5");
}

TEST(NcNumber, NothingDependsOnTheLocale)
{
    const char *old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(FormatDouble(12.5, u"#####0.###"), u"12.5");
    EXPECT_EQ(ValueOfText(u"12.5"), 12.5);
    EXPECT_EQ(PlainText(-0.25), u"-.25");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(NcNumber, NonFiniteValuesAreVisible)
{
    EXPECT_EQ(FormatDouble(std::numeric_limits<double>::infinity(), u"0.###"), u"INF");
    EXPECT_EQ(PlainTextSingle(-std::numeric_limits<float>::infinity()), u"-INF");
}

// A plain decimal text is formatted from its own digits; it must come out as its value read and then
// formatted does: signs, leading and trailing zeros, halves at the last place, 15 and more digits.
TEST(NcNumber, FormatTextAgreesWithFormattingTheValue)
{
    std::vector<QString> texts = {u"0"_s,
                                  u"-0"_s,
                                  u"+0.0"_s,
                                  u"-0.00004"_s,
                                  u"0.00005"_s,
                                  u"007.50"_s,
                                  u".5"_s,
                                  u"5."_s,
                                  u"-.00015"_s,
                                  u"1.00005"_s,
                                  u"2.675"_s,
                                  u"-12.34565"_s,
                                  u"999.99995"_s,
                                  u"99999.99999"_s,
                                  u"12345678"_s,
                                  u"123456789012345"_s,
                                  u"1234567890123456"_s,
                                  u"0.1234567890123456"_s,
                                  u"100000000000000.5"_s,
                                  u"-4503599627370495.5"_s,
                                  u"1000000000000000000"_s,
                                  u"0.000000000000001"_s,
                                  u"12.500000000000001"_s};
    std::mt19937 random(77);
    for (int i = 0; i < 30000; ++i) {
        QString text;
        if (random() % 3 == 0)
            text += u'-';
        const int digits = 1 + int(random() % 17);
        const int point = int(random() % (digits + 1));
        for (int k = 0; k < digits; ++k) {
            if (k == point)
                text += u'.';
            text += QChar(u'0' + char16_t(random() % 10));
        }
        texts.push_back(text);
    }
    for (const QString &text : texts)
        for (const char16_t *pattern :
             {u"#####0.####", u"#####0.0###", u"0.###", u"##00", u"0.##############"})
            ASSERT_EQ(FormatText(text, pattern), FormatDouble(ValueOfText(text), pattern))
                << text.toStdString() << " " << QString::fromUtf16(pattern).toStdString();
}
