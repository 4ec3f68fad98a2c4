#include "app/review/PaneColouring.h"
#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

constexpr char16_t LineBreak = 0x2028;

// The colour the layout gives the character at `column` of program line `line`; invalid when the
// character keeps the pane's own colour.
QColor ColourAt(const TextPane &pane, int line, int column)
{
    int first = 0;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const int lines = int(text.count(QChar(LineBreak))) + 1;
        if (line < first + lines) {
            int at = 0;
            for (int skip = line - first; skip > 0; --skip)
                at = int(text.indexOf(QChar(LineBreak), at)) + 1;
            at += column;
            for (const QTextLayout::FormatRange &range : block.layout()->formats())
                if (range.start <= at && at < range.start + range.length)
                    return range.format.foreground().color();
            return {};
        }
        first += lines;
    }
    ADD_FAILURE() << "no line " << line;
    return {};
}

// Lines "N<i> G01 X<i>." with the given lines put in at their numbers.
QString Program(int lines, const std::map<int, QString> &special = {})
{
    QString text;
    for (int i = 0; i < lines; ++i) {
        const auto it = special.find(i);
        text += it != special.end() ? it->second : QStringLiteral("N%1 G01 X%1.").arg(i);
        text += QStringLiteral("\r\n");
    }
    return text;
}

class PaneColouringTest : public ::testing::Test
{
protected:
    PaneColouringTest() : m_colours(new PaneColouring(m_pane))
    {
        // Tall enough to show every line of the short programs at once.
        m_pane.resize(600, 1400);
        m_pane.show();
    }

    void Show(const QString &text)
    {
        m_pane.SetText(text);
        m_colours->ColourVisibleBlocks();
    }

    TextPane m_pane;
    PaneColouring *m_colours;
};

} // namespace

TEST_F(PaneColouringTest, GivesEachKindOfWordItsOwnColourAcrossBlocks)
{
    // Line 15 opens a comment that runs over the block break after line 16 and closes on line 18; a lone
    // ")" line inside a comment closes it; line 20 continues nothing.
    Show(Program(40, {{3, QStringLiteral("N3 M03 S500 (\u52a0\u5de5)")},
                      {15, QStringLiteral("G00 X1. (OPEN")},
                      {16, QStringLiteral("X2. G01")},
                      {17, QStringLiteral("M05")},
                      {18, QStringLiteral("Z3) G02 X4.")},
                      {19, QStringLiteral("(A")},
                      {20, QStringLiteral(")")},
                      {21, QStringLiteral("x1 % #100=2. M30")}}));
    const QColor sequence = ColourAt(m_pane, 3, 0);
    const QColor mCode = ColourAt(m_pane, 3, 3);
    const QColor address = ColourAt(m_pane, 3, 7);
    const QColor number = ColourAt(m_pane, 3, 8);
    const QColor comment = ColourAt(m_pane, 3, 13);
    const QColor gCode = ColourAt(m_pane, 30, 4);
    // values keep the pane's own colour
    EXPECT_EQ(number, QColor());
    const QColor kinds[] = {sequence, mCode, address, comment, gCode};
    for (size_t a = 0; a < std::size(kinds); ++a) {
        EXPECT_TRUE(kinds[a].isValid()) << a;
        for (size_t b = a + 1; b < std::size(kinds); ++b)
            EXPECT_NE(kinds[a], kinds[b]) << a << " " << b;
    }
    struct Case
    {
        int line;
        int column;
        QColor expected;
    } cases[] = {
        {3, 14, comment}, // Japanese comment text
        {15, 0, gCode},
        {15, 4, address},
        {15, 5, number},
        {15, 8, comment},
        {15, 12, comment},
        {16, 0, comment},
        {16, 4, comment},
        {17, 1, comment},
        {18, 1, comment},
        {18, 4, gCode},
        {18, 8, address},
        {19, 0, comment},
        {20, 0, comment},
        {21, 0, QColor()},
        {21, 3, QColor()},
        {21, 5, QColor()},
        {21, 13, mCode},
        {39, 0, sequence},
        {39, 4, gCode},
        {39, 8, address},
        // a blank takes the colour of the word before it, and shows none
        {39, 3, sequence},
        {39, 7, gCode},
        {21, 2, QColor()},
        {15, 7, QColor()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ColourAt(m_pane, c.line, c.column), c.expected) << c.line << ":" << c.column;
}

TEST_F(PaneColouringTest, ColouringIsNoChangeOfTheText)
{
    const QString text = Program(40, {{5, QStringLiteral("(NOTE")}});
    m_pane.SetText(text);
    m_pane.document()->setModified(false);
    QSignalSpy changes(&m_pane, &TextPane::Changed);
    QSignalSpy contents(m_pane.document(), &QTextDocument::contentsChange);
    m_colours->ColourVisibleBlocks();
    ASSERT_TRUE(ColourAt(m_pane, 30, 0).isValid());
    EXPECT_EQ(changes.size(), 0);
    EXPECT_EQ(contents.size(), 0);
    EXPECT_FALSE(m_pane.document()->isModified());
    EXPECT_FALSE(m_pane.document()->isUndoAvailable());
    EXPECT_EQ(m_pane.Text(), text);
    // The next edit is told as what it changed, not as the coloured blocks.
    m_pane.SetSelStart(2);
    m_pane.SetSelText(QStringLiteral("7"));
    ASSERT_EQ(contents.size(), 1);
    EXPECT_EQ(contents.at(0).at(0).toInt(), 2);
    EXPECT_EQ(contents.at(0).at(1).toInt(), 0);
    EXPECT_EQ(contents.at(0).at(2).toInt(), 1);
}

TEST_F(PaneColouringTest, FollowsEditsThatOpenAndCloseComments)
{
    Show(Program(40));
    const QColor gCode = ColourAt(m_pane, 35, 4);
    // A "(" at the end of line 2 makes every later line comment text, in every block.
    m_pane.SetSelStart(Program(3).size() - 2);
    m_pane.SetSelText(QStringLiteral("("));
    m_colours->ColourVisibleBlocks();
    const QColor comment = ColourAt(m_pane, 2, 10);
    EXPECT_NE(comment, gCode);
    for (const int line : {3, 16, 17, 35})
        EXPECT_EQ(ColourAt(m_pane, line, 4), comment) << line;
    // Typing inside a block that leaves its comment state as it was recolours that block only.
    m_pane.SetSelStart(Program(20).size() + 1);
    m_pane.SetSelText(QStringLiteral("Q"));
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 20, 1), comment);
    // A lone ")" line closes it again from the next line on (the "(" put in above moved line 10 on).
    m_pane.SetSelStart(Program(10).size() + 1);
    m_pane.SetSelText(QStringLiteral(")\r\n"));
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 10, 0), comment);
    EXPECT_EQ(ColourAt(m_pane, 11, 0), ColourAt(m_pane, 36, 0));
    EXPECT_EQ(ColourAt(m_pane, 36, 4), gCode);
    EXPECT_EQ(ColourAt(m_pane, 5, 4), comment);
}

TEST_F(PaneColouringTest, ColoursAFarBlockFromTheCommentsBeforeIt)
{
    // Closed and opened again far from both places looked at: found by the scan over the whole text.
    Show(Program(20000, {{7, QStringLiteral("X1 (OPEN")},
                         {5000, QStringLiteral("Z)")},
                         {6000, QStringLiteral("G01 (B")},
                         {12000, QStringLiteral("Z)")}}));
    const QColor gCode = ColourAt(m_pane, 3, 4);
    const QColor comment = ColourAt(m_pane, 7, 4);
    m_pane.verticalScrollBar()->setValue(11990);
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 11999, 4), comment);
    EXPECT_EQ(ColourAt(m_pane, 12001, 7), gCode);
    m_pane.verticalScrollBar()->setValue(m_pane.verticalScrollBar()->maximum());
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 19999, 7), gCode);
    m_pane.verticalScrollBar()->setValue(5490);
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 5500, 7), gCode);
}

TEST_F(PaneColouringTest, LeavesTheSearchColourOnTop)
{
    Show(Program(5));
    const QColor gCode = ColourAt(m_pane, 1, 4);
    m_pane.SetSelStart(Program(1).size() + 3);
    m_pane.SetSelLength(4);
    m_pane.SetSelColor(Qt::red);
    m_colours->ColourVisibleBlocks();
    // " G01" of line 1 carries the search's red: the layout leaves it alone, and the rest of the line.
    EXPECT_EQ(ColourAt(m_pane, 1, 4), QColor());
    EXPECT_EQ(ColourAt(m_pane, 1, 6), QColor());
    EXPECT_TRUE(ColourAt(m_pane, 1, 0).isValid());
    EXPECT_TRUE(ColourAt(m_pane, 1, 7).isValid());
    EXPECT_EQ(ColourAt(m_pane, 2, 4), gCode);
    m_pane.ResetSelectionFormat();
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 1, 4), gCode);
}

TEST_F(PaneColouringTest, TurnedOffTakesTheColoursAway)
{
    Show(Program(40));
    ASSERT_TRUE(ColourAt(m_pane, 20, 4).isValid());
    m_colours->SetEnabled(false);
    m_colours->ColourVisibleBlocks();
    for (const int line : {0, 1, 20, 39})
        EXPECT_EQ(ColourAt(m_pane, line, 4), QColor()) << line;
    // Off, an edit colours nothing; on again, every line in view has its colours back.
    m_pane.SetSelStart(0);
    m_pane.SetSelText(QStringLiteral("G00"));
    m_colours->ColourVisibleBlocks();
    EXPECT_EQ(ColourAt(m_pane, 0, 0), QColor());
    m_colours->SetEnabled(true);
    m_colours->ColourVisibleBlocks();
    for (const int line : {0, 1, 20, 39})
        EXPECT_TRUE(ColourAt(m_pane, line, 4).isValid()) << line;
}

TEST(PaneColouringWindow, ViewMenuEntryTurnsBothPanesOff)
{
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeKeyboardLocks locks;
    frmMain window({prompter, locks, dir.filePath(QStringLiteral("settings.ini")), dir.path()});
    window.Form_Load({});
    window.resize(1000, 700);
    window.show();
    QAction *entry = window.findChild<QAction *>(QStringLiteral("mnuViewColor"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(window.mnuView->actions().contains(entry));
    EXPECT_EQ(entry->text(), QStringLiteral("色分け表示(&H)"));
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_TRUE(entry->isChecked());
    window.RichTextBox1->SetText(Program(10));
    window.SetResultText(Program(10));
    window.ShowConversionResult();
    QTest::qWait(50);
    EXPECT_TRUE(ColourAt(*window.RichTextBox1, 2, 4).isValid());
    EXPECT_TRUE(ColourAt(*window.RichTextBox2, 2, 4).isValid());
    entry->trigger();
    EXPECT_FALSE(entry->isChecked());
    QTest::qWait(50);
    EXPECT_EQ(ColourAt(*window.RichTextBox1, 2, 4), QColor());
    EXPECT_EQ(ColourAt(*window.RichTextBox2, 2, 4), QColor());
    entry->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(ColourAt(*window.RichTextBox1, 2, 4).isValid());
}
