// The edit commands, toolbar, status bar, context menu and about box as the main window wires them.
#include "app/window/KeyboardLocks.h"
#include "app/window/MainStatusBar.h"
#include "app/window/MainToolBar.h"
#include "app/window/Prompter.h"
#include "app/window/StatusPanel.h"
#include "app/pane/TextPane.h"
#include "app/window/frmAbout.h"
#include "app/window/frmMain.h"

#include "FakeClipboard.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Answers Yes and cancels every file dialog; nothing here asks anything.
class QuietPrompter final : public Prompter
{
public:
    bool AskYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void ShowMessage(QWidget *, const QString &, const QString &, Icon) override {}
    FileChoice ChooseFileToOpen(QWidget *, const QString &folder, const QString &) override
    {
        return {{}, folder};
    }
    FileChoice ChooseFileToSave(QWidget *, const QString &folder, const QString &) override
    {
        return {{}, folder};
    }
};

// Caps Lock already on (so start-up presses nothing); records every key pressed.
class RecordingKeyboardLocks final : public KeyboardLocks
{
public:
    bool IsOn(int virtualKey) const override { return virtualKey == CapsLockKey; }
    void PressKey(int virtualKey) override { presses.push_back(virtualKey); }

    std::vector<int> presses;
};

struct Editor
{
    QTemporaryDir folder;
    QuietPrompter prompter;
    RecordingKeyboardLocks locks;
    FakeClipboard clipboard;
    frmMain window{{prompter, locks, folder.filePath("settings.ini"), folder.path(), &clipboard}};

    explicit Editor(const QStringList &arguments = {})
    {
        window.Form_Load(arguments);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    MainToolBar &ToolBar() { return *static_cast<MainToolBar *>(window.tbToolBar); }
    QAction *UndoButton() { return ToolBar().Button("元に戻す"); }
    bool UndoControlsEnabled()
    {
        EXPECT_EQ(window.mnuEditUndo->isEnabled(), UndoButton()->isEnabled()) << "Undo controls disagree";
        return window.mnuEditUndo->isEnabled();
    }
    void Click(const char *key)
    {
        QTest::mouseClick(ToolBar().widgetForAction(ToolBar().Button(key)), Qt::LeftButton);
    }
};

TEST(MainWindowEditTest, TypingAfterAStartWithoutFileEnablesUndoWhichEmptiesThePane)
{
    Editor editor;
    EXPECT_FALSE(editor.UndoControlsEnabled());
    editor.window.RichTextBox1->setFocus();
    QTest::keyClicks(editor.window.RichTextBox1, "G");
    EXPECT_TRUE(editor.UndoControlsEnabled());

    editor.Click("元に戻す");
    EXPECT_EQ(editor.window.RichTextBox1->Text(), "");
    EXPECT_FALSE(editor.UndoControlsEnabled());
    EXPECT_TRUE(editor.window.DocumentModified()) << "putting the undo copy back is a change";
}

TEST(MainWindowEditTest, CutThenUndoRestoresTheTextAndEmptiesTheClipboard)
{
    Editor editor;
    TextPane &source = *editor.window.RichTextBox1;
    source.SetText("G00 X10. Z5.\r\nG01 Z-20. F0.2\r\n");
    source.SetSelStart(4);
    source.SetSelLength(4);
    editor.window.mnuEditCut->trigger();
    EXPECT_EQ(source.Text(), "G00  Z5.\r\nG01 Z-20. F0.2\r\n");
    EXPECT_EQ(editor.clipboard.Content, std::optional<QString>("X10."));

    editor.window.mnuEditUndo->trigger();
    EXPECT_EQ(source.Text(), "G00 X10. Z5.\r\nG01 Z-20. F0.2\r\n");
    EXPECT_FALSE(editor.clipboard.Content.has_value());
    EXPECT_FALSE(editor.UndoControlsEnabled());
}

TEST(MainWindowEditTest, PasteWithAnEmptyClipboardRemovesTheSelection)
{
    Editor editor;
    TextPane &source = *editor.window.RichTextBox1;
    source.SetText("N10 G00 X0\r\n");
    source.SetSelStart(0);
    source.SetSelLength(4);
    EXPECT_TRUE(editor.ToolBar().Button("貼り付け")->isEnabled()) << "Paste is enabled from the start";
    editor.Click("貼り付け");
    EXPECT_EQ(source.Text(), "G00 X0\r\n");
    EXPECT_TRUE(editor.UndoControlsEnabled());
}

// A conversion that keeps an undo copy, as the conversion dialogs do through the host.
void RunConversion(ConversionHost &host, const QString &result, bool keepsUndoCopy)
{
    if (keepsUndoCopy)
        host.State().UndoText = host.SourceText();
    host.SetResultText(result);
    host.ShowConversionResult();
}

TEST(MainWindowEditTest, UndoAfterAnAcceptedConversionRestoresThePreConversionTextOnce)
{
    struct Case
    {
        const char *name;
        bool keepsUndoCopy;
        const char *afterUndo;
    };
    const Case cases[] = {
        {"conversion with an undo copy", true, "G0X1.\r\n"},
        // The G90/G91 conversion keeps none: Undo goes back to the copy of the last Cut.
        {"conversion without an undo copy", false, "G0X1.\r\nM30\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor;
        TextPane &source = *editor.window.RichTextBox1;
        source.SetText("G0X1.\r\nM30\r\n");
        source.SetSelStart(7);
        source.SetSelLength(5);
        editor.window.mnuEditCut->trigger();
        EXPECT_EQ(source.Text(), "G0X1.\r\n");

        RunConversion(editor.window, "G0 X1.\r\n", c.keepsUndoCopy);
        QTest::mouseClick(editor.window.Command1, Qt::LeftButton);
        EXPECT_EQ(source.Text(), "G0 X1.\r\n");
        EXPECT_TRUE(editor.UndoControlsEnabled());

        editor.window.mnuEditUndo->trigger();
        EXPECT_EQ(source.Text(), QString(c.afterUndo));
        EXPECT_FALSE(editor.UndoControlsEnabled()) << "a second Undo must wait for the next change";
        EXPECT_FALSE(editor.UndoButton()->isEnabled());
    }
}

TEST(MainWindowEditTest, OpenAndFileArgumentDisableUndo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("PROG.NC");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("O1\r\nM30\r\n");
    file.close();
    Editor editor({path});
    EXPECT_EQ(editor.window.RichTextBox1->Text(), "O1\r\nM30\r\n");
    EXPECT_FALSE(editor.UndoControlsEnabled());
}

TEST(MainWindowEditTest, RightButtonOpensTheEditMenuOverTheSourcePaneOnly)
{
    Editor editor;
    TextPane &source = *editor.window.RichTextBox1;
    TextPane &result = *editor.window.RichTextBox2;
    result.setFocus();
    QTest::mousePress(result.viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(editor.window.mnuEdit->isVisible());
    QTest::mouseRelease(result.viewport(), Qt::RightButton, {}, QPoint(10, 10));

    QTest::mousePress(source.viewport(), Qt::RightButton, {}, QPoint(12, 8));
    EXPECT_TRUE(source.hasFocus());
    EXPECT_TRUE(editor.window.mnuEdit->isVisible());
    EXPECT_EQ(editor.window.mnuEdit->pos(), source.viewport()->mapToGlobal(QPoint(12, 8)));
    editor.window.mnuEdit->close();

    QTest::mousePress(source.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(editor.window.mnuEdit->isVisible());
}

TEST(MainWindowEditTest, StatusBarPanelsPressTheirKeysThroughTheKeyboardLocks)
{
    Editor editor;
    editor.locks.presses.clear();
    const int expected[] = {
        0, KeyboardLocks::InsertKey, KeyboardLocks::CapsLockKey, KeyboardLocks::NumLockKey, 0, 0};
    for (int i = 1; i <= MainStatusBar::PanelCount; ++i) {
        SCOPED_TRACE(i);
        QTest::mouseClick(editor.window.sbStatusBar->Panel(i), Qt::LeftButton);
        EXPECT_EQ(editor.locks.presses,
                  expected[i - 1] == 0 ? std::vector<int>{} : std::vector<int>{expected[i - 1]});
        editor.locks.presses.clear();
    }
}

TEST(MainWindowEditTest, InsertIndicatorFollowsTheInsertKeyInTheSourcePane)
{
    Editor editor;
    StatusPanel *insert = editor.window.sbStatusBar->Panel(2);
    EXPECT_FALSE(insert->IsLit());
    editor.window.RichTextBox1->setFocus();
    QTest::keyClick(editor.window.RichTextBox1, Qt::Key_Insert);
    editor.window.sbStatusBar->Refresh();
    EXPECT_TRUE(insert->IsLit());
    QTest::keyClick(editor.window.RichTextBox1, Qt::Key_Insert);
    editor.window.sbStatusBar->Refresh();
    EXPECT_FALSE(insert->IsLit());
}

TEST(MainWindowEditTest, AboutShowsTheBoxModallyOverTheMainWindow)
{
    Editor editor;
    ASSERT_TRUE(editor.window.mnuHelpAbout->isEnabled());
    QString caption;
    QWidget *owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        owner = box->parentWidget();
        box->findChild<QPushButton *>("cmdOK")->click();
    });
    editor.window.mnuHelpAbout->trigger();
    EXPECT_EQ(caption, "ﾊﾞｰｼﾞｮﾝ情報 Brindlewick");
    EXPECT_EQ(owner, &editor.window);
}

} // namespace
