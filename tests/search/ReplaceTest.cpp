#include "FakeTarget.h"
#include "search/ReplaceRun.h"
#include "search/SearchRoutines.h"

#include <gtest/gtest.h>

#include <random>

namespace {

enum class Button
{
    NextFind,
    Change,
    AllChange,
};

struct ReplaceStep
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
};

struct ReplaceScript
{
    const char *name;
    const char16_t *text;
    const char16_t *find;
    const char16_t *replace;
    std::vector<ReplaceStep> steps;
};

// The state the Replace command leaves when it opens a new dialog with the caret at the top.
SearchState OpenedState(const QString &text, const QString &find, const QString &replace)
{
    SearchState state;
    state.WorkText = text;
    state.FindStart = 0;
    state.FirstChange = true;
    state.FindText = find;
    state.ReplaceText = replace;
    return state;
}

} // namespace

TEST(ReplaceRun, ButtonPresses)
{
    using enum Button;
    const ReplaceScript scripts[] = {
        {"A by AB in AAA never runs into the inserted text",
         u"AAA",
         u"A",
         u"AB",
         {{AllChange, u"ABABAB", 0, 0, 6, 0, true, true, u"3 回 変更しました。"}}},
        {"G01 by G1: the search resumes right after each inserted text",
         u"G01 G01",
         u"G01",
         u"G1",
         {{AllChange, u"G1 G1", 0, 0, 5, 0, true, true, u"2 回 変更しました。"}}},
        {"three Change presses with two hits",
         u"X1 X2",
         u"X",
         u"Y",
         {{Change, u"X1 X2", 0, 1, 1, 0, false, false, nullptr},
          {Change, u"Y1 X2", 3, 1, 4, 1, false, false, nullptr},
          {Change, u"Y1 Y2", 0, 0, 4, 0, true, true, u"2 回　変更しました。"}}},
        {"NextFind keeps FirstChange: the following Change only moves on",
         u"X1 X2",
         u"X",
         u"Y",
         {{NextFind, u"X1 X2", 0, 1, 1, 0, true, false, nullptr},
          {Change, u"X1 X2", 3, 1, 4, 0, false, false, nullptr},
          {Change, u"X1 Y2", 0, 0, 4, 0, true, true, u"1 回　変更しました。"}}},
        {"NextFind to the end: nothing counted, the box stays unchecked",
         u"X1",
         u"X",
         u"Y",
         {{NextFind, u"X1", 0, 1, 1, 0, true, false, nullptr},
          {NextFind, u"X1", 0, 1, 1, 0, true, false, u"\"X\" 見つかりませんでした。"},
          {NextFind, u"X1", 0, 1, 1, 0, true, false, u"\"X\" 見つかりませんでした。"}}},
        {"AllChange without any hit leaves the text",
         u"ABC",
         u"Z",
         u"Y",
         {{AllChange, u"ABC", 0, 0, 0, 0, true, true, u"\"Z\" 見つかりませんでした。"}}},
        {"AllChange after a Change counts the whole run",
         u"X1 X2 X3",
         u"X",
         u"Y",
         {{Change, u"X1 X2 X3", 0, 1, 1, 0, false, false, nullptr},
          {Change, u"Y1 X2 X3", 3, 1, 4, 1, false, false, nullptr},
          {AllChange, u"Y1 Y2 Y3", 0, 0, 7, 0, true, true, u"3 回 変更しました。"}}},
        {"replacement holding the search text, one press at a time",
         u"G1 G1",
         u"G1",
         u"G1G1",
         {{Change, u"G1 G1", 0, 2, 2, 0, false, false, nullptr},
          {Change, u"G1G1 G1", 5, 2, 7, 1, false, false, nullptr},
          {Change, u"G1G1 G1G1", 0, 0, 9, 0, true, true, u"2 回　変更しました。"}}},
        {"deleting: an empty replacement",
         u"N10 G0 N20 G1",
         u"N",
         u"",
         {{AllChange, u"10 G0 20 G1", 0, 0, 6, 0, true, true, u"2 回 変更しました。"}}},
    };
    for (const ReplaceScript &script : scripts) {
        SCOPED_TRACE(script.name);
        FakeTarget target(QString::fromUtf16(script.text));
        SearchState state =
            OpenedState(target.Text(), QString::fromUtf16(script.find), QString::fromUtf16(script.replace));
        bool fromTop = true;
        int stepNumber = 0;
        for (const ReplaceStep &step : script.steps) {
            SCOPED_TRACE("step " + std::to_string(++stepNumber));
            std::optional<SearchMessage> message;
            switch (step.button) {
            case NextFind:
                message = ReplaceNextFind(state, target, fromTop);
                break;
            case Change:
                message = ReplaceChange(state, target, fromTop);
                break;
            case AllChange:
                message = ReplaceAllChange(state, target, fromTop).message;
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
                EXPECT_EQ(message->title, QStringLiteral("置き換え"));
            }
        }
    }
}

namespace {

struct TwoBackCase
{
    const char16_t *text;
    const char16_t *find;
    int nextFindPresses; // with the box unchecked after the first
    const char16_t *textAfter;
    qint64 count;
};

} // namespace

// AllChange starts two characters before FindStart, so a hit just selected by NextFind is included when
// the search text has two characters, or one character at offset 1 or later.
TEST(ReplaceRun, AllChangeStartsTwoCharactersBack)
{
    const TwoBackCase cases[] = {
        {u"xxABxAB", u"AB", 1, u"xx#x#", 2},  // two characters: the selected hit is included
        {u"ABxAB", u"AB", 1, u"#x#", 2},      // two characters at offset 0
        {u"AxA", u"A", 1, u"Ax#", 1},         // one character at offset 0: not included
        {u"xAxA", u"A", 1, u"x#x#", 2},       // one character at offset 1: included
        {u"AAxA", u"A", 2, u"##x#", 3},       // two back may even reach the hit before the selected one
        {u"ABCxABC", u"ABC", 1, u"ABCx#", 1}, // three characters: not included
        {u"ABCxABC", u"ABC", 2, u"ABCxABC", 0},
    };
    for (const TwoBackCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " / " +
                     QString::fromUtf16(c.find).toStdString());
        FakeTarget target(QString::fromUtf16(c.text));
        SearchState state = OpenedState(target.Text(), QString::fromUtf16(c.find), QStringLiteral("#"));
        bool fromTop = true;
        for (int i = 0; i < c.nextFindPresses; ++i)
            ASSERT_FALSE(ReplaceNextFind(state, target, fromTop).has_value());
        const RunEnd end = ReplaceAllChange(state, target, fromTop);
        EXPECT_EQ(target.Text(), QString::fromUtf16(c.textAfter));
        EXPECT_EQ(end.count, c.count);
    }
}

namespace {

struct RepairCase
{
    const char *name;
    const char16_t *text;
    qint64 leftoverCount;
    const char16_t *textAfter;
    const char16_t *message;
    qsizetype findStart;
};

} // namespace

TEST(ReplaceRun, LineEndRepair)
{
    const RepairCase cases[] = {
        {"bare LF line ends", u"a\nb\nc\n", 0, u"a\r\nb\r\nc\r\n", u"3 回 変更しました。", 9},
        {"no LF at all", u"abc", 0, u"abc", u"\"\n\" 見つかりませんでした。", 0},
        {"the empty text", u"", 0, u"", u"\"\n\" 見つかりませんでした。", 0},
        {"CR LF line ends get one more CR", u"a\r\nb\r\n", 0, u"a\r\r\nb\r\r\n", u"2 回 変更しました。", 8},
        {"mixed line ends, lone CR kept", u"a\r\nb\nc\rd", 0, u"a\r\r\nb\r\nc\rd", u"2 回 変更しました。", 7},
        {"a count left by an unfinished run is added", u"a\nb", 2, u"a\r\nb", u"3 回 変更しました。", 3},
    };
    for (const RepairCase &c : cases) {
        SCOPED_TRACE(c.name);
        FakeTarget target(QString::fromUtf16(c.text), 1, 0);
        SearchState state;
        state.FindText = QStringLiteral("G1");
        state.FindStart = 4;
        state.FindCount = c.leftoverCount;
        const RunEnd end = RepairLineEnds(state, target);
        EXPECT_EQ(target.Text(), QString::fromUtf16(c.textAfter));
        EXPECT_EQ(end.message.text, QString::fromUtf16(c.message));
        EXPECT_EQ(end.message.title, QStringLiteral("置き換え"));
        EXPECT_EQ(state.WorkText, target.Text());
        EXPECT_EQ(state.FindText, QStringLiteral("\n"));
        EXPECT_EQ(state.ReplaceText, QStringLiteral("\r\n"));
        EXPECT_EQ(state.FindStart, c.findStart);
        EXPECT_EQ(state.FindCount, 0);
        EXPECT_TRUE(state.FirstChange);
        EXPECT_LE(target.setTextCalls, 1);
    }
}

namespace {

// The run as the dialog describes it: one search and one whole-text replacement per hit.
void ReplaceHitByHit(SearchState &state, SearchTarget &target)
{
    while (FindNextText(state, target))
        ReplaceFound(state, target);
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

// Mostly a piece of the text itself, so that it is found, often several times and overlapping.
QString RandomFindText(std::mt19937 &random, const QString &text, const QString &alphabet)
{
    if (text.isEmpty() || random() % 4 == 0)
        return RandomText(random, alphabet, 3);
    const qsizetype from = std::uniform_int_distribution<qsizetype>(0, text.size() - 1)(random);
    return text.mid(from, std::uniform_int_distribution<qsizetype>(1, 3)(random));
}

} // namespace

TEST(ReplaceRun, OnePassRunEndsLikeTheHitByHitRun)
{
    std::mt19937 random(20240611);
    const QString alphabet = QStringLiteral("AAB G01\r\n");
    qint64 replacements = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString text = RandomText(random, alphabet, 30);
        SearchState start;
        start.FindText = RandomFindText(random, text, alphabet);
        start.ReplaceText = RandomText(random, alphabet, 4);
        if (round % 3 != 0)
            start.FindStart = std::uniform_int_distribution<qsizetype>(0, text.size() + 1)(random);
        start.FindCount = round % 3;
        start.WorkText = text;
        SCOPED_TRACE("round " + std::to_string(round));

        SearchState fast = start;
        FakeTarget fastTarget(text, 1, 1);
        replacements += ReplaceEveryHit(fast, fastTarget);
        SearchState slow = start;
        FakeTarget slowTarget(text, 1, 1);
        ReplaceHitByHit(slow, slowTarget);

        ASSERT_EQ(fastTarget.Text(), slowTarget.Text()) << text.toStdString();
        EXPECT_EQ(fastTarget.SelStart(), slowTarget.SelStart());
        EXPECT_EQ(fastTarget.SelLength(), slowTarget.SelLength());
        EXPECT_EQ(fast.WorkText, slow.WorkText);
        EXPECT_EQ(fast.FindStart, slow.FindStart);
        EXPECT_EQ(fast.FindCount, slow.FindCount);
        EXPECT_LE(fastTarget.setTextCalls, 1);
    }
    EXPECT_GT(replacements, 2000); // most random cases do replace, many of them several times
}
