#include "FakeTarget.h"
#include "search/FindRun.h"
#include "search/SearchRoutines.h"

#include <gtest/gtest.h>

namespace {

struct FindCase
{
    const char16_t *text;
    const char16_t *find;
    qsizetype findStart;
    qsizetype hit; // -1: nothing found
    qsizetype findStartAfter;
};

} // namespace

TEST(FindNextText, FindsTheNextExactOccurrenceAndSelectsIt)
{
    const FindCase cases[] = {
        {u"G1 G10 G1", u"G1", 0, 0, 2}, {u"G1 G10 G1", u"G1", 2, 3, 5}, // inside G10
        {u"G1 G10 G1", u"G1", 5, 7, 9}, {u"G1 G10 G1", u"G1", 9, -1, 9},
        {u"G1 G10 G1", u"G1", 3, 3, 5}, // a hit at FindStart itself is found
        {u"G01", u"g01", 0, -1, 0},     // case counts
        {u"Ｇ01", u"G01", 0, -1, 0},    // full-width is another character
        {u"AAA", u"AA", 0, 0, 2},       {u"AAA", u"AA", 1, 1, 3},
        {u"AAA", u"AA", 2, -1, 2},      {u"G0\r\nX1", u"X", 0, 4, 5}, // CR LF counts two
        {u"G0\nX1", u"\n", 0, 2, 3},    {u"ABC", u"", 0, -1, 0},      // the empty text finds nothing
        {u"ABC", u"C", 3, -1, 3},       {u"ABC", u"C", 50, -1, 50},
        {u"", u"A", 0, -1, 0},
    };
    for (const FindCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " / " +
                     QString::fromUtf16(c.find).toStdString() + " from " + std::to_string(c.findStart));
        FakeTarget target(QString::fromUtf16(c.text), 1, 1);
        SearchState state;
        state.FindText = QString::fromUtf16(c.find);
        state.FindStart = c.findStart;
        const bool found = FindNextText(state, target);
        EXPECT_EQ(found, c.hit >= 0);
        EXPECT_EQ(state.FindStart, c.findStartAfter);
        EXPECT_EQ(target.resetCalls, 1);
        if (found) {
            EXPECT_EQ(target.SelStart(), c.hit);
            EXPECT_EQ(target.SelLength(), state.FindText.size());
        } else if (!target.Text().isEmpty()) {
            EXPECT_EQ(target.SelStart(), 1); // the selection is left alone
            EXPECT_EQ(target.SelLength(), 1);
        }
    }
}

namespace {

enum class FindAction
{
    Dialog, // the Find dialog's "次を検索"
    F3,     // Find next
    Caret,  // the user puts the caret at `caret`
};

struct FindStep
{
    FindAction action;
    qsizetype selStart; // after the step; for Caret, where the caret goes
    qsizetype selLength;
    qint64 findCount;
    const char16_t *message; // nullptr: no message
    bool fromTop;            // the dialog's "先頭から検索" afterwards (F3 checks it on its end message)
};

struct FindScript
{
    const char *name;
    const char16_t *text;
    const char16_t *find;
    std::vector<FindStep> steps;
};

} // namespace

TEST(FindRun, DialogAndFindNextRuns)
{
    using enum FindAction;
    const FindScript scripts[] = {
        {"three hits of G1, then the count, then from the top again",
         u"G1 G10 G1",
         u"G1",
         {{Dialog, 0, 2, 1, nullptr, false},
          {Dialog, 3, 2, 2, nullptr, false},
          {Dialog, 7, 2, 3, nullptr, false},
          {Dialog, 7, 2, 0, u"3 回 見つかりました。", true},
          {Dialog, 0, 2, 1, nullptr, false}}},
        {"not found in the dialog",
         u"G01 X1",
         u"g01",
         {{Dialog, 0, 0, 0, u"\"g01\" は見つかりませんでした。", true}}},
        {"AA in AAA: the dialog, then F3 finds the overlapping hit",
         u"AAA",
         u"AA",
         {{Dialog, 0, 2, 1, nullptr, false},
          {F3, 1, 2, 2, nullptr, false},
          {F3, 1, 2, 0, u"2回 見つかりました。", true}}},
        {"F3 skips a hit that begins at the caret",
         u"X G1 G1",
         u"G1",
         {{Caret, 2, 0, 0, nullptr, true}, {F3, 5, 2, 1, nullptr, true}}},
        {"F3 with the caret just before the only hit",
         u"X G1",
         u"G1",
         {{Caret, 2, 0, 0, nullptr, true}, {F3, 2, 0, 0, u"\"G1\"は見つかりませんでした。", true}}},
        {"F3 after its own end message leaves the dialog starting from the top",
         u"G1 G1",
         u"G1",
         {{Dialog, 0, 2, 1, nullptr, false},
          {F3, 3, 2, 2, nullptr, false},
          {F3, 3, 2, 0, u"2回 見つかりました。", true},
          {Dialog, 0, 2, 1, nullptr, false}}},
        {"an empty search text finds nothing",
         u"ABC",
         u"",
         {{Dialog, 0, 0, 0, u"\"\" は見つかりませんでした。", true},
          {F3, 0, 0, 0, u"\"\"は見つかりませんでした。", true}}},
    };
    for (const FindScript &script : scripts) {
        SCOPED_TRACE(script.name);
        FakeTarget target(QString::fromUtf16(script.text));
        SearchState state;
        state.FindText = QString::fromUtf16(script.find);
        bool fromTop = true;
        int stepNumber = 0;
        for (const FindStep &step : script.steps) {
            SCOPED_TRACE("step " + std::to_string(++stepNumber));
            std::optional<SearchMessage> message;
            switch (step.action) {
            case Dialog:
                message = FindDialogNext(state, target, fromTop);
                break;
            case F3:
                message = FindNext(state, target);
                if (message)
                    fromTop = true;
                break;
            case Caret:
                target.SetSelStart(step.selStart);
                break;
            }
            EXPECT_EQ(target.SelStart(), step.selStart);
            EXPECT_EQ(target.SelLength(), step.selLength);
            EXPECT_EQ(state.FindCount, step.findCount);
            EXPECT_EQ(fromTop, step.fromTop);
            ASSERT_EQ(message.has_value(), step.message != nullptr);
            if (message) {
                EXPECT_EQ(message->text, QString::fromUtf16(step.message));
                EXPECT_EQ(message->title, QStringLiteral("検索"));
            }
        }
        EXPECT_EQ(target.setTextCalls, 0);
    }
}
