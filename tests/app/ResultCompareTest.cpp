#include "app/review/ResultCompare.h"
#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Notice = QStringLiteral("確認後[OK]を押すと左側へ反映します。");

// "N0 X0.\r\nN1 X1.\r\n..." : `count` lines that all differ.
QString Lines(int first, int count, const QString &pattern = QStringLiteral("N%1 X%1."))
{
    QString text;
    for (int i = first; i < first + count; ++i)
        text += pattern.arg(i) + QStringLiteral("\r\n");
    return text;
}

class ResultCompareTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<frmMain>(MainWindowServices{m_prompter, m_locks,
                                                                m_dir.filePath(QStringLiteral("s.ini")),
                                                                m_dir.filePath(QStringLiteral("app"))});
        m_window->Form_Load({});
        m_window->show();
        QApplication::processEvents();
    }

    void Convert(const QString &source, const QString &result, qsizetype linesToCheck = 0)
    {
        m_window->RichTextBox1->SetText(source);
        m_window->SetResultText(result);
        m_window->SetLinesToCheck(linesToCheck);
        m_window->ShowConversionResult();
        QApplication::processEvents();
    }

    bool Marked() const
    {
        return m_window->Comparison().Shown() && m_window->lblChangeCount->isVisible() &&
               m_window->mnuViewNextChange->isEnabled() && m_window->mnuViewPreviousChange->isEnabled();
    }

    bool Unmarked() const
    {
        return !m_window->Comparison().Shown() && !m_window->lblChangeCount->isVisible() &&
               !m_window->mnuViewNextChange->isEnabled() && !m_window->mnuViewPreviousChange->isEnabled();
    }

    // The colour drawn in a pane's viewport at `x` on the row of program line `line` (which is on screen).
    // `top`: just under the row's top edge, above the characters of a line that fills the row.
    static QColor ColourAt(TextPane *pane, int line, int x, bool top = false)
    {
        const QImage image = pane->viewport()->grab().toImage();
        for (const PaneLine &l : pane->VisibleLines()) {
            if (l.line == line)
                return image.pixelColor(x < 0 ? image.width() + x : x,
                                        top ? int(l.row.top()) + 1 : int(l.row.center().y()));
        }
        return Qt::transparent;
    }

    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeKeyboardLocks m_locks;
    std::unique_ptr<frmMain> m_window;
};

TEST_F(ResultCompareTest, ViewMenuHasTheComparisonEntries)
{
    const QList<QAction *> actions = m_window->mnuView->actions();
    const struct
    {
        QAction *action;
        const char *name;
        const char *caption;
        QKeySequence shortcut;
    } entries[] = {
        {m_window->mnuViewScrollTogether, "mnuViewScrollTogether", "スクロールを連動(&S)", {}},
        {m_window->mnuViewNextChange, "mnuViewNextChange", "次の変更(&N)", QKeySequence(Qt::Key_F7)},
        {m_window->mnuViewPreviousChange, "mnuViewPreviousChange", "前の変更(&R)",
         QKeySequence(Qt::SHIFT | Qt::Key_F7)},
    };
    for (const auto &e : entries) {
        ASSERT_TRUE(actions.contains(e.action)) << e.name;
        EXPECT_EQ(e.action->objectName(), QLatin1String(e.name));
        EXPECT_EQ(e.action->text(), QString::fromUtf8(e.caption));
        EXPECT_EQ(e.action->shortcut(), e.shortcut) << e.name;
    }
    EXPECT_TRUE(m_window->mnuViewScrollTogether->isCheckable());
    EXPECT_TRUE(m_window->mnuViewScrollTogether->isChecked());
    EXPECT_TRUE(Unmarked());
}

// The marks come with a conversion's result and go with OK, Cancel, an edit of the source or of the
// result; the count tells the lines not kept.
TEST_F(ResultCompareTest, MarksLastUntilTheResultIsDecided)
{
    const QString source = QStringLiteral("%\r\nG00 X1.\r\nG01 Z2.\r\nM30\r\n%");
    const QString result = QStringLiteral("%\r\nG00 X1000\r\nG01 Z2000\r\nM30\r\nM99\r\n%");
    const struct
    {
        const char *name;
        std::function<void(frmMain &)> act;
    } endings[] = {
        {"OK", [](frmMain &w) { w.Command1_Click(); }},
        {"Cancel", [](frmMain &w) { w.Command2_Click(); }},
        {"typing in the source", [](frmMain &w) { QTest::keyClicks(w.RichTextBox1, QStringLiteral("X")); }},
        {"typing in the result", [](frmMain &w) { QTest::keyClicks(w.RichTextBox2, QStringLiteral("X")); }},
    };
    for (const auto &e : endings) {
        Convert(source, result);
        ASSERT_TRUE(Marked()) << e.name;
        EXPECT_EQ(m_window->lblChangeCount->text(), QStringLiteral("変更 3 行")) << e.name;
        EXPECT_EQ(m_window->Label2->text(), Notice);
        e.act(*m_window);
        EXPECT_TRUE(Unmarked()) << e.name;
    }
}

TEST_F(ResultCompareTest, CountsWithThousandsGrouped)
{
    EXPECT_EQ(ResultCompare::CountText(0), QStringLiteral("変更 0 行"));
    EXPECT_EQ(ResultCompare::CountText(999), QStringLiteral("変更 999 行"));
    EXPECT_EQ(ResultCompare::CountText(1234), QStringLiteral("変更 1,234 行"));
    EXPECT_EQ(ResultCompare::CountText(1000000), QStringLiteral("変更 1,000,000 行"));
}

// The marks are drawn on the rows of their program lines, also past the first block of the pane (which
// keeps several lines to a block), and leave the kept rows alone.
TEST_F(ResultCompareTest, DrawsTheMarksOnTheirLines)
{
    QString source = Lines(0, 60, QStringLiteral("N%1"));
    QString result = Lines(0, 60, QStringLiteral("N%1"));
    result.replace(QStringLiteral("N35\r\n"), QStringLiteral("N35 X1\r\n"));        // changed
    result.replace(QStringLiteral("N40\r\n"), QStringLiteral("N40\r\nM01\r\n"));    // inserted after 40
    source.replace(QStringLiteral("N45\r\n"), QStringLiteral("N45\r\nM99\r\n"));    // deleted after 45
    result.replace(QStringLiteral("N38\r\n"), QStringLiteral("(要確認 N38 )\r\n")); // to check
    Convert(source, result, 1);
    EXPECT_TRUE(m_window->lblCheckCount->isVisible());
    EXPECT_EQ(m_window->lblCheckCount->text(), QStringLiteral("要確認 1 行"));
    EXPECT_GE(m_window->lblCheckCount->x(), m_window->lblChangeCount->geometry().right());
    m_window->mnuViewScrollTogether->setChecked(false);
    m_window->Comparison().SetScrollTogether(false);
    m_window->RichTextBox1->SetTopLine(30);
    m_window->RichTextBox2->SetTopLine(30);
    QApplication::processEvents();
    const QColor white = m_window->RichTextBox2->palette().color(QPalette::Base);
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 34, -8), white);
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 35, -8), QColor(255, 236, 160));
    EXPECT_EQ(ColourAt(m_window->RichTextBox1, 35, -8), QColor(255, 236, 160));
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 38, -8), QColor(255, 190, 190));
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 41, -8), QColor(200, 238, 200));
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 42, -8), white);
    EXPECT_EQ(ColourAt(m_window->RichTextBox1, 46, 1), QColor(220, 40, 40));
    EXPECT_EQ(ColourAt(m_window->RichTextBox1, 47, 1), white);
    // the differing piece " X1" is boxed where it stands: the box's left edge where the blank starts
    const auto lines = m_window->RichTextBox2->VisibleLines();
    const auto changed =
        std::find_if(lines.begin(), lines.end(), [](const PaneLine &l) { return l.line == 35; });
    ASSERT_NE(changed, lines.end());
    const QImage image = m_window->RichTextBox2->viewport()->grab().toImage();
    const int edge = int(changed->X(3));
    const int middle = int(changed->row.center().y());
    bool boxed = false;
    for (int x = edge - 1; x <= edge + 1; ++x)
        boxed = boxed || image.pixelColor(x, middle) == QColor(200, 90, 0);
    EXPECT_TRUE(boxed);
    EXPECT_NE(image.pixelColor(int(changed->X(1)), int(changed->row.top()) + 1), QColor(200, 90, 0));
    // gone with Cancel
    m_window->Command2_Click();
    QApplication::processEvents();
    EXPECT_EQ(ColourAt(m_window->RichTextBox1, 35, -8), white);
    EXPECT_FALSE(m_window->lblCheckCount->isVisible());
}

// Scrolling either pane scrolls the other to the lines beside its own, through inserted lines, unless
// turned off.
TEST_F(ResultCompareTest, ScrollsThePanesTogether)
{
    const QString source = Lines(0, 400);
    const QString result = Lines(0, 100) + Lines(1000, 25) + Lines(100, 300);
    Convert(source, result);
    TextPane *left = m_window->RichTextBox1;
    TextPane *right = m_window->RichTextBox2;
    for (const int top : {200, 10, 300, 0}) {
        left->SetTopLine(top);
        const int expected =
            left->TopLine() + (left->TopLine() + int(left->VisibleLines().size()) / 2 >= 100 ? 25 : 0);
        EXPECT_EQ(right->TopLine(), expected) << top;
    }
    right->SetTopLine(225);
    EXPECT_EQ(left->TopLine(), 200);
    m_window->mnuViewScrollTogether->trigger();
    EXPECT_FALSE(m_window->mnuViewScrollTogether->isChecked());
    left->SetTopLine(150);
    EXPECT_EQ(right->TopLine(), 225);
    m_window->mnuViewScrollTogether->trigger();
    EXPECT_EQ(right->TopLine(), 175);
}

// F7 and Shift+F7 step through the runs of changes: both carets go to the run's first line, which comes
// into view.
TEST_F(ResultCompareTest, StepsFromChangeToChange)
{
    QString source = Lines(0, 300, QStringLiteral("N%1"));
    QString result = source;
    result.replace(QStringLiteral("N50\r\n"), QStringLiteral("N50 M01\r\n"));
    result.replace(QStringLiteral("N120\r\nN121\r\n"), QStringLiteral("N120\r\nM08\r\nN121\r\n"));
    result.replace(QStringLiteral("N250\r\n"), QString());
    Convert(source, result);
    const auto sourceLine = [&] {
        return m_window->RichTextBox1->Text().left(m_window->RichTextBox1->SelStart()).count(u'\n');
    };
    const auto resultLine = [&] {
        return m_window->RichTextBox2->Text().left(m_window->RichTextBox2->SelStart()).count(u'\n');
    };
    const struct
    {
        QAction *action;
        qsizetype source, result;
    } steps[] = {
        {m_window->mnuViewNextChange, 50, 50},       {m_window->mnuViewNextChange, 121, 121},
        {m_window->mnuViewNextChange, 250, 251},     {m_window->mnuViewNextChange, 250, 251}, // no further
        {m_window->mnuViewPreviousChange, 121, 121}, {m_window->mnuViewPreviousChange, 50, 50},
    };
    for (const auto &s : steps) {
        s.action->trigger();
        EXPECT_EQ(sourceLine(), s.source);
        EXPECT_EQ(resultLine(), s.result);
        const int top = m_window->RichTextBox1->TopLine();
        EXPECT_LE(top, s.source);
        EXPECT_GT(top + int(m_window->RichTextBox1->VisibleLines().size()), s.source);
    }
}

// Bad input: no line end at all, NUL characters, a very long line, lone CR and LF. The whole line is
// compared as one, marked as a whole when it has too many words, and the panes still draw and step.
TEST_F(ResultCompareTest, StaysUsableOnBadInput)
{
    QString source;
    for (int i = 0; i < 30000; ++i)
        source += QStringLiteral("X%1 ").arg(i) + (i % 1000 == 0 ? QChar(u'\0') : QChar(u'\n'));
    QString result = source;
    result.replace(QStringLiteral("X29999"), QStringLiteral("Y29999"));
    Convert(source, result);
    ASSERT_TRUE(Marked());
    EXPECT_EQ(m_window->lblChangeCount->text(), QStringLiteral("変更 1 行"));
    m_window->mnuViewNextChange->trigger();
    m_window->mnuViewPreviousChange->trigger();
    EXPECT_EQ(ColourAt(m_window->RichTextBox2, 0, -8, true), QColor(255, 236, 160));
    EXPECT_EQ(m_window->RichTextBox2->Text(), result);
    m_window->Command1_Click();
    EXPECT_TRUE(Unmarked());
    EXPECT_EQ(m_window->RichTextBox1->Text(), result);
}

// With a result waiting, at every window width the notice stays whole and clear of the buttons, and the
// count, where shown, clear of both.
TEST_F(ResultCompareTest, HeadingNeverRunsUnderTheButtons)
{
    Convert(Lines(0, 5000), Lines(0, 5000, QStringLiteral("N%1 Y%1.")));
    for (int width = 420; width <= 1600; width += 11) {
        m_window->resize(width, 600);
        m_window->Form_Resize();
        const QLabel *notice = m_window->Label2;
        ASSERT_EQ(notice->text(), Notice);
        const QRect text(notice->pos(),
                         QSize(notice->fontMetrics().horizontalAdvance(Notice), notice->height()));
        EXPECT_LE(text.right(), notice->geometry().right()) << width;
        for (const QPushButton *button : {m_window->Command1, m_window->Command2})
            EXPECT_FALSE(text.intersects(button->geometry())) << width;
        const QLabel *count = m_window->lblChangeCount;
        if (count->isVisible()) {
            EXPECT_FALSE(count->geometry().intersects(text)) << width;
            EXPECT_FALSE(count->geometry().intersects(m_window->Command1->geometry())) << width;
            EXPECT_TRUE(count->text() == QStringLiteral("変更 5,000 行") || count->text().endsWith(u'…'))
                << width << count->text().toStdString();
        }
    }
}

} // namespace
