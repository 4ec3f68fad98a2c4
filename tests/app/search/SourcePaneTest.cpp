#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "search/CalcRun.h"
#include "search/FindRun.h"
#include "search/ReplaceRun.h"
#include "search/StringTarget.h"
#include "app/search/TextPaneTarget.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

enum class Operation
{
    FindNext,   // F3 from the caret
    ReplaceAll, // the Replace dialog's 全て変更 from the top
    CalcAll,    // the calculation replace's 全て変更 from the top, ＋ 1
    Repair,     // the line-end repair
};

struct PaneCase
{
    const char *name;
    const char16_t *text;
    qsizetype caret;
    Operation operation;
    const char16_t *find;
    const char16_t *replace;
};

std::optional<SearchMessage> RunOperation(const PaneCase &c, SearchState &state, SearchTarget &target)
{
    bool fromTop = true;
    switch (c.operation) {
    case Operation::FindNext:
        return FindNext(state, target);
    case Operation::ReplaceAll:
        return ReplaceAllChange(state, target, fromTop).message;
    case Operation::CalcAll:
        return CalcAllChange(state, target, {CalcOperator::Add, QStringLiteral("1"), 1}, fromTop).message;
    case Operation::Repair:
        return RepairLineEnds(state, target).message;
    }
    return std::nullopt;
}

} // namespace

// The pane shows a CR LF as one line break and a lone CR or LF as a symbol; the search must see the
// program's offsets all the same, exactly as over the plain text.
TEST(TextPaneTarget, GivesTheSameRunsAsThePlainText)
{
    using enum Operation;
    const PaneCase cases[] = {
        {"F3 past a CR LF", u"G0\r\nX1 X2\r\n", 4, FindNext, u"X", u""},
        {"F3 over a lone LF", u"G0\nX1\nX2", 3, FindNext, u"X", u""},
        {"F3 finds a CR LF itself", u"G0\r\nG1\r\n", 0, FindNext, u"\r\n", u""},
        {"F3 finds a lone CR", u"A\rB\r\nC", 0, FindNext, u"\r", u""},
        {"replace across lines", u"G01 X1\r\nG01 X2\r\n", 0, ReplaceAll, u"G01", u"G1"},
        {"replace a line end", u"A\r\nB\r\nC", 0, ReplaceAll, u"\r\n", u";\r\n"},
        {"calculation over mixed line ends", u"Z1\r\nZ2\nZ3\rZ4", 0, CalcAll, u"Z", u""},
        {"repair LF line ends", u"G0\nG1\nM30\n", 0, Repair, u"", u""},
        {"repair CR LF line ends", u"G0\r\nG1\r\n", 0, Repair, u"", u""},
        {"repair mixed line ends", u"G0\r\nG1\nG2\rG3", 0, Repair, u"", u""},
    };
    for (const PaneCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromUtf16(c.text);
        TextPane pane;
        pane.SetText(text);
        pane.SetSelStart(c.caret);
        TextPaneTarget paneTarget(pane);
        ASSERT_EQ(paneTarget.Text(), text);
        StringTarget plain(text);
        plain.SetSelStart(c.caret);

        SearchState paneState;
        paneState.FindText = QString::fromUtf16(c.find);
        paneState.ReplaceText = QString::fromUtf16(c.replace);
        paneState.WorkText = text;
        SearchState plainState = paneState;
        const std::optional<SearchMessage> paneMessage = RunOperation(c, paneState, paneTarget);
        const std::optional<SearchMessage> plainMessage = RunOperation(c, plainState, plain);

        EXPECT_EQ(paneTarget.Text(), plain.Text());
        EXPECT_EQ(paneTarget.SelStart(), plain.SelStart());
        EXPECT_EQ(paneTarget.SelLength(), plain.SelLength());
        EXPECT_EQ(paneTarget.SelText(), plain.SelText());
        EXPECT_EQ(paneState.FindStart, plainState.FindStart);
        EXPECT_EQ(paneState.WorkText, plainState.WorkText);
        EXPECT_EQ(paneMessage, plainMessage);
    }
}

namespace {

class QuietPrompter : public Prompter
{
public:
    bool AskYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void ShowMessage(QWidget *, const QString &title, const QString &text, Icon icon) override
    {
        shown.push_back({text, title});
        icons.push_back(icon);
    }
    FileChoice ChooseFileToOpen(QWidget *, const QString &, const QString &) override { return {}; }
    FileChoice ChooseFileToSave(QWidget *, const QString &, const QString &) override { return {}; }

    std::vector<SearchMessage> shown;
    std::vector<Icon> icons;
};

class NoLocks : public KeyboardLocks
{
public:
    bool IsOn(int) const override { return false; }
    void PressKey(int) override {}
};

} // namespace

// The main window's menu entries reach the search commands over its source pane.
TEST(frmMainSearch, MenuEntriesWorkOnTheSourcePane)
{
    QTemporaryDir folder;
    QuietPrompter prompter;
    NoLocks locks;
    frmMain window({prompter, locks, folder.filePath(QStringLiteral("settings.ini")), folder.path()});
    const QAction *entries[] = {window.mnuEditFind, window.mnuEditNextFind, window.mnuEditReplace,
                                window.mnuEditCalReplace, window.mnuAddCR};
    for (const QAction *entry : entries)
        EXPECT_TRUE(entry->isEnabled()) << entry->objectName().toStdString();

    window.RichTextBox1->SetText(QStringLiteral("G0\nG1\n"));
    window.mnuAddCR->trigger();
    EXPECT_EQ(window.RichTextBox1->Text(), QStringLiteral("G0\r\nG1\r\n"));
    EXPECT_TRUE(window.DocumentModified());

    window.State().Search.FindText = QStringLiteral("G");
    window.RichTextBox1->SetSelStart(0);
    window.mnuEditNextFind->trigger();
    EXPECT_EQ(window.RichTextBox1->SelStart(), 4);
    EXPECT_EQ(window.RichTextBox1->SelText(), QStringLiteral("G"));
    window.mnuEditNextFind->trigger();

    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0],
              (SearchMessage{QStringLiteral("2 回 変更しました。"), QStringLiteral("置き換え")}));
    EXPECT_EQ(prompter.shown[1],
              (SearchMessage{QStringLiteral("1回 見つかりました。"), QStringLiteral("検索")}));
    for (Prompter::Icon icon : prompter.icons)
        EXPECT_EQ(icon, Prompter::Icon::None);
}
