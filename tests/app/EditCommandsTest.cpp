#include "app/edit/EditCommands.h"
#include "app/pane/TextPane.h"

#include "FakeClipboard.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString Program = "O0001\r\nG01 X1. Z2.\r\nM30\r\n";

// The source pane with its undo copy and the two menu entries, wired as the main window wires them:
// every change of the text enables Undo.
struct Editor
{
    TextPane source;
    QString undoText;
    FakeClipboard clipboard;
    QAction undo{"元に戻す(&U)"};
    QAction paste{"貼り付け(&P)"};
    EditCommands commands{source, undoText, clipboard, undo, paste};

    explicit Editor(const QString &text = QString())
    {
        source.SetText(text);
        QObject::connect(&source, &TextPane::Changed, &undo, [this] { undo.setEnabled(true); });
        undo.setEnabled(false);
    }

    void Select(qsizetype start, qsizetype length)
    {
        source.SetSelStart(start);
        source.SetSelLength(length);
    }
};

TEST(EditCommandsTest, TypingThenUndoGoesBackToTheUndoCopyNotBeforeTheTyping)
{
    Editor editor;
    editor.source.show();
    editor.source.setFocus();
    QTest::keyClicks(&editor.source, "G");
    EXPECT_EQ(editor.source.Text(), "G");
    EXPECT_TRUE(editor.undo.isEnabled());
    EXPECT_TRUE(editor.undoText.isEmpty()) << "typing must not take an undo copy";

    editor.commands.Undo();
    EXPECT_EQ(editor.source.Text(), "");
    EXPECT_FALSE(editor.undo.isEnabled());
}

TEST(EditCommandsTest, CutPutsTheSelectionOnTheClipboardAndUndoRestoresIt)
{
    struct Case
    {
        const char *name;
        qsizetype start, length;
        const char *cut;
        const char *left;
    };
    const Case cases[] = {
        {"within a line", 15, 3, "Z2.", "O0001\r\nG01 X1. \r\nM30\r\n"},
        // The line end travels whole, as CR LF.
        {"across a line end", 4, 6, "1\r\nG01", "O000 X1. Z2.\r\nM30\r\n"},
        {"nothing selected", 3, 0, "", "O0001\r\nG01 X1. Z2.\r\nM30\r\n"},
        {"everything", 0, Program.size(), "O0001\r\nG01 X1. Z2.\r\nM30\r\n", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor(Program);
        editor.clipboard.SetText("old");
        editor.paste.setEnabled(false);
        editor.Select(c.start, c.length);

        editor.commands.Cut();
        EXPECT_EQ(editor.source.Text(), QString(c.left));
        EXPECT_EQ(editor.clipboard.Content, std::optional<QString>(c.cut));
        EXPECT_EQ(editor.undoText, Program);
        EXPECT_EQ(editor.source.SelStart(), c.start);
        EXPECT_EQ(editor.source.SelLength(), 0);
        EXPECT_TRUE(editor.undo.isEnabled());
        EXPECT_TRUE(editor.paste.isEnabled());

        editor.commands.Undo();
        EXPECT_EQ(editor.source.Text(), Program);
        EXPECT_FALSE(editor.clipboard.Content.has_value()) << "Undo empties the clipboard";
        EXPECT_FALSE(editor.undo.isEnabled());
    }
}

TEST(EditCommandsTest, PasteReplacesTheSelectionByTheClipboardText)
{
    struct Case
    {
        const char *name;
        std::optional<QString> clipboard;
        qsizetype start, length;
        const char *result;
        qsizetype caret;
    };
    const Case cases[] = {
        {"empty clipboard removes the selection", std::nullopt, 15, 3, "O0001\r\nG01 X1. \r\nM30\r\n", 15},
        {"empty text removes the selection", QString(""), 0, 7, "G01 X1. Z2.\r\nM30\r\n", 0},
        {"text at the caret", QString("F0.2 "), 15, 0, "O0001\r\nG01 X1. F0.2 Z2.\r\nM30\r\n", 20},
        {"lines over a selection", QString("N1\r\nN2\r\n"), 0, 7, "N1\r\nN2\r\nG01 X1. Z2.\r\nM30\r\n", 8},
        {"at the end", QString("M02\r\n"), Program.size(), 0, "O0001\r\nG01 X1. Z2.\r\nM30\r\nM02\r\n",
         Program.size() + 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor(Program);
        editor.clipboard.Content = c.clipboard;
        editor.Select(c.start, c.length);

        editor.commands.Paste();
        EXPECT_EQ(editor.source.Text(), QString(c.result));
        EXPECT_EQ(editor.source.SelStart(), c.caret);
        EXPECT_EQ(editor.source.SelLength(), 0);
        EXPECT_EQ(editor.undoText, Program);
        EXPECT_EQ(editor.clipboard.Content, c.clipboard) << "Paste leaves the clipboard as it was";
        EXPECT_TRUE(editor.undo.isEnabled());

        editor.commands.Undo();
        EXPECT_EQ(editor.source.Text(), Program);
    }
}

TEST(EditCommandsTest, CopyLeavesTheTextAndTheUndoCopyAlone)
{
    Editor editor(Program);
    editor.undoText = "before";
    editor.paste.setEnabled(false);
    editor.Select(4, 6);

    editor.commands.Copy();
    EXPECT_EQ(editor.clipboard.Content, std::optional<QString>("1\r\nG01"));
    EXPECT_EQ(editor.clipboard.Clears, 1);
    EXPECT_EQ(editor.source.Text(), Program);
    EXPECT_EQ(editor.undoText, "before");
    EXPECT_FALSE(editor.undo.isEnabled());
    EXPECT_TRUE(editor.paste.isEnabled());
}

TEST(EditCommandsTest, SecondUndoIsNotPossibleUntilTheNextChange)
{
    Editor editor(Program);
    editor.Select(0, 7);
    editor.commands.Cut();
    editor.commands.Undo();
    EXPECT_FALSE(editor.undo.isEnabled());

    // Any change, even one made by the program, makes Undo possible again, back to the same copy.
    editor.source.SetSelStart(0);
    editor.source.SetSelText("%\r\n");
    EXPECT_TRUE(editor.undo.isEnabled());
    editor.commands.Undo();
    EXPECT_EQ(editor.source.Text(), Program);
}

TEST(EditCommandsTest, SelectAllSelectsTheWholeTextAndFocusesThePane)
{
    const QString texts[] = {"", "G01", Program, "A\nB\r\nC\r"};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        Editor editor(text);
        editor.source.show();
        editor.source.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor.source));
        editor.source.clearFocus();
        editor.Select(1, 0);
        editor.commands.SelectAll();
        EXPECT_EQ(editor.source.SelStart(), 0);
        EXPECT_EQ(editor.source.SelLength(), text.size());
        EXPECT_EQ(editor.source.SelText(), text);
        EXPECT_TRUE(editor.source.hasFocus());
    }
}

} // namespace
