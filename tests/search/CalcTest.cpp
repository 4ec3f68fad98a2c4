#include "FakeTarget.h"
#include "search/CalcRun.h"
#include "search/SearchRoutines.h"

#include <gtest/gtest.h>

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <cmath>
#include <random>

namespace {

struct ReadCase
{
    const char16_t *text;
    qsizetype from;
    const char16_t *number;
    bool equals;
    qsizetype consumed;
};

} // namespace

TEST(CalcReplace, ReadsTheNumberInTheTenCharactersAfterTheOccurrence)
{
    const ReadCase cases[] = {
        {u"Z5. X1", 1, u"5.", false, 2},
        {u"X 10", 1, u"10", false, 3},    // blanks before the value are read over
        {u"SB = 10", 2, u"10", true, 5},  // and so are blanks around "="
        {u"X10-5", 1, u"10", false, 2},   // a sign after the number began ends it
        {u"X-0.2", 1, u"-0.2", false, 4}, // a leading sign belongs to it
        {u"X+-5", 1, u"+", false, 1},     // only one sign
        {u"X12345678901234", 1, u"1234567890", false, 10},
        {u"X   1234567890", 1, u"1234567", false, 10}, // the blanks count among the ten
        {u"SB=1.5", 1, u"", false, 0},                 // a letter: no number
        {u"X", 1, u"", false, 0},                      // the end of the text
        {u"X\t5", 1, u"", false, 0},                   // a tab is not a blank here
        {u"X  ", 1, u"", false, 2},
        {u"X 1 2", 1, u"1", false, 2}, // a blank after the number began ends it
        {u"X1.2.3", 1, u"1.2.3", false, 5},
        {u"X10=5", 1, u"105", true, 4}, // "=" is passed over wherever it stands
        {u"X=", 1, u"", true, 1},
        {u"X1\r\nX2", 1, u"1", false, 1},
        {u"ＸX５", 2, u"", false, 0}, // full-width digits are not digits
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const CalcNumberText read = ReadCalcNumber(QString::fromUtf16(c.text), c.from);
        EXPECT_EQ(read.number, QString::fromUtf16(c.number));
        EXPECT_EQ(read.equals, c.equals);
        EXPECT_EQ(read.consumed, c.consumed);
    }
}

namespace {

struct ValueCase
{
    double oldValue;
    CalcOperator op;
    const char16_t *operand;
    int format;
    const char16_t *text;
};

} // namespace

TEST(CalcReplace, ComputesInSinglePrecisionAndWritesTheFormat)
{
    using enum CalcOperator;
    const ValueCase cases[] = {
        {5, Add, u"100", 1, u"105"},
        {5, Add, u"100", 2, u"105."},
        {5, Add, u"100", 3, u"105.0"},
        {5, Add, u"100", 4, u"105"},
        {12.5, Multiply, u"2", 1, u"25"},
        {-0.2, Multiply, u"2", 1, u"-0.4"},
        {10, Multiply, u"1.5", 1, u"15"},
        {10, Multiply, u"1.5", 3, u"15.0"},
        {3, Add, u"0", 4, u"03"},
        {12.5, Add, u"0", 2, u"12.5"},
        {12.5, Add, u"0", 3, u"12.5"},
        {12.5, Add, u"0", 4, u"13"}, // halves away from zero
        {-12.5, Add, u"0", 4, u"-13"},
        {0.5, Add, u"0", 1, u"0.5"},
        {-0.5, Add, u"0", 1, u"-0.5"},
        {0.5, Add, u"0", 2, u"0.5"},
        {-0.5, Add, u"0", 2, u"-0.5"},
        {0.1, Add, u"0.2", 1, u"0.3"},
        {1.0005, Add, u"0", 1, u"1.001"}, // the single's seven digits 1.000500 round up
        {1.0005, Add, u"0", 2, u"1.001"},
        {2.0004, Add, u"0", 3, u"2.0"},
        {10, Divide, u"4", 1, u"2.5"},
        {10, Divide, u"3", 1, u"3.333"},
        {10, Divide, u"3", 3, u"3.333"},
        {1, Divide, u"3", 4, u"00"},
        {10, Subtract, u"12.5", 1, u"-2.5"},
        {10, Subtract, u" 2 ", 1, u"8"},         // blanks around a number are allowed
        {9999999, Add, u"1", 1, u"10000000"},    // no exponent form
        {123456789, Add, u"0", 1, u"123456800"}, // seven significant digits
        {5, Multiply, u"abc", 1, u"0"},          // a text without a number is 0
        {5, Multiply, u"2abc", 1, u"10"},        // a text that starts with a number gives that number
        {5, Add, u"1e1", 1, u"15"},
        {-0.0, Multiply, u"1", 1, u"0"},
        {-0.0, Multiply, u"1", 2, u"0."},
        {-0.0004, Add, u"0", 1, u"0"},
        {0, Subtract, u"0.5", 4, u"-01"},
    };
    for (const ValueCase &c : cases) {
        SCOPED_TRACE(std::to_string(c.oldValue) + " " + QString::fromUtf16(c.operand).toStdString() +
                     " format " + std::to_string(c.format));
        const CalcSettings settings{c.op, QString::fromUtf16(c.operand), c.format};
        ASSERT_FALSE(CalcOperandProblem(settings).has_value());
        const std::optional<QString> text = CalcValueText(c.oldValue, settings);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, QString::fromUtf16(c.text));
    }
}

// The new value's text in every format is what the display patterns make of the single-precision result
// (the first format: its plain text rounded to three places), for values of every magnitude, both signs,
// whole ones and the halves of a thousandth, whichever way the text is written.
TEST(CalcReplace, ValueTextIsThatOfTheDisplayPatterns)
{
    const auto expected = [](float value, int format) {
        QString text;
        switch (format) {
        case 2:
            text = nc::FormatSingle(value, u"#####0.###");
            break;
        case 3:
            text = nc::FormatSingle(value, u"#####0.0##");
            break;
        case 4:
            text = nc::FormatSingle(value, u"####00");
            break;
        default: {
            QString plain = nc::PlainTextSingle(value);
            text = nc::FormatValue3(plain);
        }
        }
        if (text.startsWith(u'.'))
            text.prepend(u'0');
        else if (text.startsWith(u"-."))
            text.insert(1, u'0');
        return text;
    };
    std::mt19937 random(5);
    std::uniform_real_distribution<double> exponent(-4, 7);
    std::uniform_int_distribution<int> places(0, 4);
    const double fixed[] = {0, -0.0, 12, -12, 0.0005, 2.0005, 1024.0625, 999999.9, 1e6, 0.5, -0.0004};
    for (int i = 0; i < 40000; ++i) {
        double old = i < int(std::size(fixed)) ? fixed[i] : std::pow(10.0, exponent(random));
        const double scale = std::pow(10.0, places(random));
        if (i % 3 == 0)
            old = std::round(old * scale) / scale;
        if (i % 2 == 1)
            old = -old;
        const int format = 1 + i % 4;
        const CalcSettings settings{CalcOperator::Add, u"0"_qs, format};
        const std::optional<QString> text = CalcValueText(old, settings);
        ASSERT_TRUE(text.has_value());
        ASSERT_EQ(text->toStdString(), expected(float(old), format).toStdString())
            << old << " format " << format;
    }
}

namespace {

struct OperandCase
{
    CalcOperator op;
    const char16_t *operand;
    const char16_t *message; // nullptr: usable
};

} // namespace

TEST(CalcReplace, RefusesOperandsItCannotUse)
{
    using enum CalcOperator;
    const char16_t *notNumber = u"値が数値ではありません。";
    const char16_t *byZero = u"0 で割ることはできません。";
    const char16_t *tooLarge = u"値が計算できる範囲を超えています。";
    const OperandCase cases[] = {
        {Add, u"100", nullptr},        {Add, u" -2.5 ", nullptr},       {Add, u"1e3", nullptr},
        {Add, u"1a", notNumber},       {Add, u"", notNumber},           {Add, u" ", notNumber},
        {Subtract, u"--5", notNumber}, {Subtract, u"1,000", notNumber}, {Subtract, u"+", notNumber},
        {Multiply, u"abc", nullptr}, // multiplies by 0
        {Multiply, u"", nullptr},      {Divide, u"2", nullptr},         {Divide, u"0", byZero},
        {Divide, u"0.0", byZero},      {Divide, u"abc", byZero},        {Divide, u"", byZero},
        {Multiply, u"1e20", nullptr},  {Multiply, u"1e30", tooLarge},   {Divide, u"1e-30", tooLarge},
        {Add, u"1e39", tooLarge},
    };
    for (const OperandCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.operand).toStdString());
        const std::optional<SearchMessage> problem =
            CalcOperandProblem({c.op, QString::fromUtf16(c.operand), 1});
        ASSERT_EQ(problem.has_value(), c.message != nullptr);
        if (problem) {
            EXPECT_EQ(problem->text, QString::fromUtf16(c.message));
            EXPECT_EQ(problem->title, QStringLiteral("計算による置換"));
        }
    }
}

namespace {

struct AllCase
{
    const char16_t *text;
    const char16_t *find;
    CalcOperator op;
    const char16_t *operand;
    int format;
    const char16_t *textAfter;
    const char16_t *message;
};

} // namespace

TEST(CalcRun, AllChangeFromTheTop)
{
    using enum CalcOperator;
    const AllCase cases[] = {
        {u"G00 X10. Z5.", u"Z", Add, u"100", 1, u"G00 X10. Z105", u"1 回変更しました。"},
        {u"G00 X10. Z5.", u"Z", Add, u"100", 2, u"G00 X10. Z105.", u"1 回変更しました。"},
        {u"G00 X10. Z5.", u"Z", Add, u"100", 3, u"G00 X10. Z105.0", u"1 回変更しました。"},
        {u"X12.5\r\nX-0.2\r\nX 10\r\n", u"X", Multiply, u"2", 1, u"X25\r\nX-0.4\r\nX20\r\n",
         u"3 回変更しました。"},
        {u"SB=10 SB = 10", u"SB", Multiply, u"1.5", 1, u"SB=15 SB=15", u"2 回変更しました。"},
        {u"M3", u"M", Add, u"0", 4, u"M03", u"1 回変更しました。"},
        {u"X10-5", u"X", Multiply, u"2", 1, u"X20-5", u"1 回変更しました。"},
        {u"X+000000000123", u"X", Add, u"1", 1, u"X1123", u"1 回変更しました。"}, // ten characters only
        {u"SB=1.5", u"S", Add, u"1", 1, u"SB=1.5", u"\"S\" 見つかりません。"},
        {u"SB=1.5 S100", u"S", Add, u"1", 1, u"SB=1.5 S101", u"1 回変更しました。"},
        {u"G00 X10.", u"Q", Add, u"1", 1, u"G00 X10.", u"\"Q\" 見つかりません。"},
        {u"11", u"1", Add, u"10", 1, u"111", u"1 回変更しました。"}, // the new value holds the search text
        {u"X1X2", u"X", Add, u"1", 1, u"X2X3", u"2 回変更しました。"},
        {u"X=", u"X", Add, u"1", 1, u"X=", u"\"X\" 見つかりません。"},
        {u"X-Y1", u"X", Add, u"100", 1, u"X100Y1", u"1 回変更しました。"}, // a lone sign reads as 0
        {u"X1 (Z2)", u"", Add, u"1", 1, u"X1 (Z2)", u"\"\" 見つかりません。"},
    };
    for (const AllCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " / " +
                     QString::fromUtf16(c.find).toStdString());
        FakeTarget target(QString::fromUtf16(c.text));
        SearchState state;
        state.WorkText = target.Text();
        state.FindText = QString::fromUtf16(c.find);
        state.FirstChange = true;
        bool fromTop = true;
        const RunEnd end =
            CalcAllChange(state, target, {c.op, QString::fromUtf16(c.operand), c.format}, fromTop);
        EXPECT_TRUE(end.ran);
        EXPECT_EQ(target.Text(), QString::fromUtf16(c.textAfter));
        EXPECT_EQ(state.WorkText, target.Text());
        EXPECT_EQ(end.message.text, QString::fromUtf16(c.message));
        EXPECT_EQ(end.message.title, QStringLiteral("計算による変更"));
        EXPECT_EQ(state.CalcFormat, c.format);
        EXPECT_EQ(state.FindCount, 0);
        EXPECT_TRUE(state.FirstChange);
        EXPECT_TRUE(fromTop);
        EXPECT_LE(target.setTextCalls, 1);
    }
}

namespace {

enum class Button
{
    NextFind,
    Change,
    AllChange,
};

struct CalcStep
{
    Button button;
    const char16_t *text; // afterwards
    qsizetype selStart;
    qsizetype selLength;
    qsizetype findStart;
    qint64 findCount;
    bool firstChange;
    bool fromTop;
    const char16_t *message; // nullptr: no message
    const char16_t *title;
};

struct CalcScript
{
    const char *name;
    const char16_t *text;
    const char16_t *find;
    CalcSettings settings;
    std::vector<CalcStep> steps;
};

} // namespace

TEST(CalcRun, ButtonPresses)
{
    using enum Button;
    const char16_t *changeTitle = u"データ変更";
    const char16_t *calcTitle = u"計算による変更";
    const CalcSettings plusOne{CalcOperator::Add, QStringLiteral("1"), 1};
    const CalcScript scripts[] = {
        {"three Change presses with two occurrences",
         u"Z1 Z2",
         u"Z",
         plusOne,
         {{Change, u"Z1 Z2", 0, 1, 1, 0, false, false, nullptr, nullptr},
          {Change, u"Z2 Z2", 3, 1, 4, 1, false, false, nullptr, nullptr},
          {Change, u"Z2 Z3", 0, 0, 4, 0, true, true, u"2 回 データを変更しました.", changeTitle}}},
        {"NextFind to the end",
         u"Z1",
         u"Z",
         plusOne,
         {{NextFind, u"Z1", 0, 1, 1, 0, true, false, nullptr, nullptr},
          {NextFind, u"Z1", 0, 1, 1, 0, true, false, u"\"Z\" 見つかりません。", calcTitle}}},
        {"a single Change goes on from the second character of the occurrence",
         u"11",
         u"1",
         CalcSettings{CalcOperator::Add, QStringLiteral("10"), 1},
         {{Change, u"11", 0, 1, 1, 0, false, false, nullptr, nullptr},
          {Change, u"111", 1, 1, 2, 1, false, false, nullptr, nullptr}}},
        {"AllChange after Change: a one-character occurrence at offset 0 is not caught again",
         u"Z1 Z2",
         u"Z",
         plusOne,
         {{Change, u"Z1 Z2", 0, 1, 1, 0, false, false, nullptr, nullptr},
          {AllChange, u"Z1 Z3", 0, 0, 5, 0, true, true, u"1 回変更しました。", calcTitle}}},
        {"AllChange after Change: at offset 1 it is",
         u"xZ1 Z2",
         u"Z",
         plusOne,
         {{Change, u"xZ1 Z2", 1, 1, 2, 0, false, false, nullptr, nullptr},
          {AllChange, u"xZ2 Z3", 0, 0, 6, 0, true, true, u"2 回変更しました。", calcTitle}}},
        {"AllChange whose last occurrence has no number leaves that occurrence selected",
         u"Z1 Z2 Zx",
         u"Z",
         plusOne,
         {{AllChange, u"Z2 Z3 Zx", 6, 1, 7, 0, true, true, u"2 回変更しました。", calcTitle}}},
        {"an operand that is not a number changes nothing",
         u"Z1 Z2",
         u"Z",
         CalcSettings{CalcOperator::Add, QStringLiteral("1a"), 1},
         {{Change, u"Z1 Z2", 0, 0, 0, 0, true, true, u"値が数値ではありません。", u"計算による置換"},
          {AllChange, u"Z1 Z2", 0, 0, 0, 0, true, true, u"値が数値ではありません。", u"計算による置換"}}},
        {"dividing by 0 changes nothing",
         u"Z1 Z2",
         u"Z",
         CalcSettings{CalcOperator::Divide, QStringLiteral("0"), 1},
         {{AllChange, u"Z1 Z2", 0, 0, 0, 0, true, true, u"0 で割ることはできません。", u"計算による置換"}}},
    };
    for (const CalcScript &script : scripts) {
        SCOPED_TRACE(script.name);
        FakeTarget target(QString::fromUtf16(script.text));
        SearchState state;
        state.WorkText = target.Text();
        state.FindText = QString::fromUtf16(script.find);
        state.FirstChange = true;
        bool fromTop = true;
        int stepNumber = 0;
        for (const CalcStep &step : script.steps) {
            SCOPED_TRACE("step " + std::to_string(++stepNumber));
            std::optional<SearchMessage> message;
            switch (step.button) {
            case NextFind:
                message = CalcNextFind(state, target, fromTop);
                break;
            case Change:
                message = CalcChange(state, target, script.settings, fromTop);
                break;
            case AllChange:
                message = CalcAllChange(state, target, script.settings, fromTop).message;
                break;
            }
            EXPECT_EQ(target.Text(), QString::fromUtf16(step.text));
            EXPECT_EQ(state.WorkText, target.Text());
            EXPECT_EQ(target.SelStart(), step.selStart);
            EXPECT_EQ(target.SelLength(), step.selLength);
            EXPECT_EQ(state.FindStart, step.findStart);
            EXPECT_EQ(state.FindCount, step.findCount);
            EXPECT_EQ(state.FirstChange, step.firstChange);
            EXPECT_EQ(fromTop, step.fromTop);
            ASSERT_EQ(message.has_value(), step.message != nullptr);
            if (message) {
                EXPECT_EQ(message->text, QString::fromUtf16(step.message));
                EXPECT_EQ(message->title, QString::fromUtf16(step.title));
            }
        }
    }
}

namespace {

// The run as the dialog describes it, one search and one whole-text rewrite per occurrence; after a change
// the search goes on after the text just written.
void CalcHitByHit(SearchState &state, SearchTarget &target, const CalcSettings &settings)
{
    while (FindNextText(state, target)) {
        const qsizetype start = target.SelStart();
        const CalcOutcome outcome = CalcReplaceValue(state, target, settings);
        if (outcome.changed)
            state.FindStart = start + outcome.writtenLength;
    }
}

QString RandomText(std::mt19937 &random, const QString &alphabet, int maxLength)
{
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    QString text;
    for (int n = length(random); n > 0; --n)
        text += alphabet[pick(random)];
    return text;
}

} // namespace

TEST(CalcRun, OnePassRunEndsLikeTheHitByHitRun)
{
    std::mt19937 random(7031);
    const QString alphabet = QStringLiteral("XXZ1290.-+= \r\n");
    const QString finds[] = {QStringLiteral("X"),  QStringLiteral("Z"), QStringLiteral("1"),
                             QStringLiteral("XZ"), QStringLiteral("="), QStringLiteral("X1"),
                             QStringLiteral("-"),  QStringLiteral("")};
    const QString operands[] = {QStringLiteral("1"), QStringLiteral("-2.5"),  QStringLiteral("0"),
                                QStringLiteral("3"), QStringLiteral("0.001"), QStringLiteral("x")};
    qint64 changes = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString text = RandomText(random, alphabet, 40);
        CalcSettings settings{static_cast<CalcOperator>(random() % 4),
                              operands[random() % std::size(operands)], static_cast<int>(random() % 4) + 1};
        if (CalcOperandProblem(settings))
            settings.operand = QStringLiteral("7");
        SearchState start;
        start.FindText = finds[random() % std::size(finds)];
        if (round % 3 != 0)
            start.FindStart = std::uniform_int_distribution<qsizetype>(0, text.size() + 1)(random);
        start.FindCount = round % 2;
        start.WorkText = text;
        SCOPED_TRACE("round " + std::to_string(round) + ": " + text.toStdString());

        SearchState fast = start;
        FakeTarget fastTarget(text, 1, 1);
        changes += CalcEveryHit(fast, fastTarget, settings);
        SearchState slow = start;
        FakeTarget slowTarget(text, 1, 1);
        CalcHitByHit(slow, slowTarget, settings);

        ASSERT_EQ(fastTarget.Text(), slowTarget.Text());
        EXPECT_EQ(fastTarget.SelStart(), slowTarget.SelStart());
        EXPECT_EQ(fastTarget.SelLength(), slowTarget.SelLength());
        EXPECT_EQ(fast.WorkText, slow.WorkText);
        EXPECT_EQ(fast.FindStart, slow.FindStart);
        EXPECT_EQ(fast.FindCount, slow.FindCount);
        EXPECT_LE(fastTarget.setTextCalls, 1);
    }
    EXPECT_GT(changes, 800); // many random cases do change values
}
