#include "app/pane/TextPane.h"

#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

// Exposes the paste and copy paths the widget takes for the keyboard, the mouse and drops.
class PaneUnderTest : public TextPane
{
public:
    using TextPane::createMimeDataFromSelection;
    using TextPane::insertFromMimeData;
};

// Lines of a program text: one more than the number of CR LF pairs.
int LinesOf(const QString &text)
{
    int lines = 1;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'\r' && text[i + 1] == u'\n') {
            ++lines;
            ++i;
        }
    }
    return lines;
}

// More lines than the pane keeps in one block of the widget, with lone CR and LF characters among them.
QString ManyLines(int lines)
{
    const QString kinds[] = {QStringLiteral("A"), QString(), QStringLiteral("B\r"), QStringLiteral("\nC")};
    QString text;
    for (int i = 0; i < lines; ++i)
        text += kinds[i % 4] + QStringLiteral("\r\n");
    return text + QStringLiteral("Z");
}

// Texts that mix CR LF line ends with lone CR and LF characters in every order.
const QString Texts[] = {
    QString(),
    QStringLiteral("A"),
    QStringLiteral("AB\r\nCD"),
    QStringLiteral("A\rB"),
    QStringLiteral("A\nB"),
    QStringLiteral("\r\n\r\n"),
    QStringLiteral("A\r\n\rB\n"),
    QStringLiteral("\n\r"),
    QStringLiteral("A\r\r\nB"),
    QStringLiteral("\r\n\n\r\r\n"),
    QStringLiteral("G01\r\nX1\nY2\r"),
    QStringLiteral("(テスト)\r\n\u3000X"),
    ManyLines(19),
};

class TextPaneTexts : public ::testing::TestWithParam<QString>
{
};

TEST_P(TextPaneTexts, GivesBackTheTextItWasGiven)
{
    TextPane pane;
    pane.SetText(GetParam());
    EXPECT_EQ(pane.Text(), GetParam());
    EXPECT_EQ(pane.SystemLength(), GetParam().size());
    EXPECT_EQ(pane.LineCount(), LinesOf(GetParam()));
    EXPECT_EQ(pane.SelStart(), 0);
    EXPECT_EQ(pane.SelLength(), 0);
}

TEST_P(TextPaneTexts, EverySelectionReadsBackInProgramOffsets)
{
    const QString text = GetParam();
    TextPane pane;
    pane.SetText(text);
    for (qsizetype start = 0; start <= text.size(); ++start) {
        for (qsizetype length = 0; start + length <= text.size(); ++length) {
            pane.SetSelStart(start);
            pane.SetSelLength(length);
            ASSERT_EQ(pane.SelStart(), start) << start << "," << length;
            ASSERT_EQ(pane.SelLength(), length) << start << "," << length;
            ASSERT_EQ(pane.SelText(), text.mid(start, length)) << start << "," << length;
        }
    }
}

TEST_P(TextPaneTexts, EveryReplacementSplicesTheProgramText)
{
    const QString text = GetParam();
    const QString replacements[] = {QString(),
                                    QStringLiteral("X"),
                                    QStringLiteral("\r\n"),
                                    QStringLiteral("\r"),
                                    QStringLiteral("\n"),
                                    QStringLiteral("Y\r"),
                                    QStringLiteral("\nZ"),
                                    QStringLiteral("1\r\n2\r\n3\r\n")};
    TextPane pane;
    for (const QString &replacement : replacements) {
        for (qsizetype start = 0; start <= text.size(); ++start) {
            for (qsizetype length = 0; start + length <= text.size(); ++length) {
                pane.SetText(text);
                pane.SetSelStart(start);
                pane.SetSelLength(length);
                pane.SetSelText(replacement);
                const QString expected = text.left(start) + replacement + text.mid(start + length);
                const auto where = [&] {
                    return QStringLiteral("%1,%2 <- %3")
                        .arg(start)
                        .arg(length)
                        .arg(replacement.toUtf8().toHex());
                };
                ASSERT_EQ(pane.Text(), expected) << where().toStdString();
                ASSERT_EQ(pane.SystemLength(), expected.size()) << where().toStdString();
                ASSERT_EQ(pane.SelStart(), start + replacement.size()) << where().toStdString();
                ASSERT_EQ(pane.SelLength(), 0) << where().toStdString();
                // A CR that comes to stand before an LF is a line end again.
                ASSERT_EQ(pane.LineCount(), LinesOf(expected)) << where().toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, TextPaneTexts, ::testing::ValuesIn(Texts));

TEST(TextPane, ShowsLoneLineEndCharactersAsSymbols)
{
    TextPane pane;
    pane.SetText(QStringLiteral("A\rB\nC\r\nD"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("A\u240DB\u240AC\nD"));
    EXPECT_EQ(pane.LineCount(), 2);
}

TEST(TextPane, ShowsNulAsASymbolAndKeepsIt)
{
    TextPane pane;
    const QString text = QStringView(u"G01\0X1.\r\n\0\0", 11).toString();
    pane.SetText(text);
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("G01\u2400X1.\n\u2400\u2400"));
    EXPECT_EQ(pane.Text(), text);
    pane.SetSelStart(3);
    pane.SetSelLength(1);
    EXPECT_EQ(pane.SelText(), QString(QChar(u'\0')));
    pane.SetSelText(QStringLiteral("Z"));
    EXPECT_EQ(pane.Text(), QStringView(u"G01ZX1.\r\n\0\0", 11).toString());
}

TEST(TextPane, ClampsOffsetsToTheText)
{
    TextPane pane;
    pane.SetText(QStringLiteral("AB\r\nC"));
    pane.SetSelStart(100);
    EXPECT_EQ(pane.SelStart(), 5);
    pane.SetSelStart(1);
    pane.SetSelLength(100);
    EXPECT_EQ(pane.SelLength(), 4);
    EXPECT_EQ(pane.SelText(), QStringLiteral("B\r\nC"));
    pane.SetSelStart(-3);
    EXPECT_EQ(pane.SelStart(), 0);
}

TEST(TextPane, AppendsInOrderOnAnEmptiedPane)
{
    TextPane pane;
    pane.SetText(QStringLiteral("old"));
    pane.SetText(QString());
    for (const QString &line :
         {QStringLiteral("G00\r\n"), QStringLiteral("X1.\r\n"), QStringLiteral("M30\r\n")})
        pane.SetSelText(line);
    EXPECT_EQ(pane.Text(), QStringLiteral("G00\r\nX1.\r\nM30\r\n"));
}

TEST(TextPane, NotifiesOncePerChange)
{
    PaneUnderTest pane;
    QSignalSpy changes(&pane, &TextPane::Changed);
    struct Step
    {
        const char *what;
        std::function<void()> act;
        int notifications;
    };
    const Step steps[] = {
        {"set text", [&] { pane.SetText(QStringLiteral("A\r\nB\r\nC")); }, 1},
        {"set the same text", [&] { pane.SetText(QStringLiteral("A\r\nB\r\nC")); }, 1},
        {"select", [&] { pane.SetSelStart(1), pane.SetSelLength(3); }, 0},
        {"colour the selection", [&] { pane.SetSelColor(Qt::red); }, 0},
        {"reset the selection format", [&] { pane.ResetSelectionFormat(); }, 0},
        {"replace the selection", [&] { pane.SetSelText(QStringLiteral("x\r\ny")); }, 1},
        {"insert nothing at the caret", [&] { pane.SetSelText(QString()); }, 0},
        {"type a character", [&] { QTest::keyClick(&pane, Qt::Key_Q); }, 1},
        {"press Enter", [&] { QTest::keyClick(&pane, Qt::Key_Return); }, 1},
        {"press Backspace", [&] { QTest::keyClick(&pane, Qt::Key_Backspace); }, 1},
        {"paste three lines",
         [&] {
             QMimeData data;
             data.setText(QStringLiteral("1\n2\n3"));
             pane.insertFromMimeData(&data);
         },
         1},
    };
    for (const Step &step : steps) {
        changes.clear();
        step.act();
        EXPECT_EQ(changes.size(), step.notifications) << step.what;
    }
}

TEST(TextPane, EnterTypesCrLf)
{
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        TextPane pane;
        pane.SetText(QStringLiteral("G01X1."));
        pane.SetSelStart(3);
        QTest::keyClick(&pane, Qt::Key_Return, modifiers);
        EXPECT_EQ(pane.Text(), QStringLiteral("G01\r\nX1."));
        EXPECT_EQ(pane.SelStart(), 5);
    }
}

// Keys typed at every place of a long text: the program text changes as the key says, wherever the line
// end stands in the widget.
TEST(TextPane, KeysEditTheProgramTextEverywhere)
{
    struct Case
    {
        const char *what;
        Qt::Key key;
        QString inserted; // at the caret
        int removedBefore;
        int removedAfter;
    };
    const Case cases[] = {
        {"a letter", Qt::Key_Q, QStringLiteral("q"), 0, 0},
        {"Enter", Qt::Key_Return, QStringLiteral("\r\n"), 0, 0},
        {"Backspace", Qt::Key_Backspace, QString(), 1, 0},
        {"Delete", Qt::Key_Delete, QString(), 0, 1},
    };
    const QString text = ManyLines(40);
    TextPane pane;
    for (const Case &c : cases) {
        for (qsizetype caret = 0; caret <= text.size(); ++caret) {
            // A caret between the CR and the LF of a line end is not a place the widget has.
            if (caret > 0 && text.mid(caret - 1, 2) == QStringLiteral("\r\n"))
                continue;
            pane.SetText(text);
            pane.SetSelStart(caret);
            QTest::keyClick(&pane, c.key);
            // Backspace and Delete take a whole line end when they reach one.
            qsizetype from = caret;
            qsizetype to = caret;
            if (c.removedBefore > 0 && caret > 0)
                from -= text.mid(caret - 2, 2) == QStringLiteral("\r\n") ? 2 : 1;
            if (c.removedAfter > 0 && caret < text.size())
                to += text.mid(caret, 2) == QStringLiteral("\r\n") ? 2 : 1;
            // A lone CR and a lone LF brought together make a line end (the program text says so already).
            const QString expected = text.left(from) + c.inserted + text.mid(to);
            const auto where = [&] { return std::string(c.what) + " at " + std::to_string(caret); };
            ASSERT_EQ(pane.Text(), expected) << where();
            ASSERT_EQ(pane.SystemLength(), expected.size()) << where();
            ASSERT_EQ(pane.SelStart(), from + c.inserted.size()) << where();
            ASSERT_EQ(pane.LineCount(), LinesOf(expected)) << where();
        }
    }
}

TEST(TextPane, BackspaceBetweenLoneCrAndLfMakesALineEnd)
{
    TextPane pane;
    pane.SetText(QStringLiteral("A\rX\nB"));
    pane.SetSelStart(3);
    QTest::keyClick(&pane, Qt::Key_Backspace);
    EXPECT_EQ(pane.Text(), QStringLiteral("A\r\nB"));
    EXPECT_EQ(pane.LineCount(), 2);
    EXPECT_EQ(pane.SelStart(), 2);
}

TEST(TextPane, PastedLineEndsBecomeCrLf)
{
    struct Case
    {
        QString pasted;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("a\nb\rc\r\nd"), QStringLiteral("[a\r\nb\r\nc\r\nd]")},
        {QStringLiteral("\r\r\n\n"), QStringLiteral("[\r\n\r\n\r\n]")},
        {QStringLiteral("x"), QStringLiteral("[x]")},
    };
    for (const Case &c : cases) {
        PaneUnderTest pane;
        pane.SetText(QStringLiteral("[]"));
        pane.SetSelStart(1);
        QMimeData data;
        data.setText(c.pasted);
        pane.insertFromMimeData(&data);
        EXPECT_EQ(pane.Text(), c.expected);
    }
}

TEST(TextPane, CopiesTheProgramText)
{
    PaneUnderTest pane;
    pane.SetText(QStringLiteral("A\rB\r\nC\nD"));
    pane.SetSelStart(1);
    pane.SetSelLength(6);
    std::unique_ptr<QMimeData> data(pane.createMimeDataFromSelection());
    EXPECT_EQ(data->text(), QStringLiteral("\rB\r\nC\n"));
}

TEST(TextPane, KeepsTheSelectionVisibleWithoutFocus)
{
    TextPane pane;
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        EXPECT_EQ(pane.palette().color(QPalette::Inactive, role),
                  pane.palette().color(QPalette::Active, role));
    }
    QPalette changed = pane.palette();
    changed.setColor(QPalette::Active, QPalette::Highlight, Qt::darkGreen);
    pane.setPalette(changed);
    EXPECT_EQ(pane.palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::darkGreen));
}

TEST(TextPane, ColoursTheSelectionOnly)
{
    TextPane pane;
    pane.SetText(QStringLiteral("G01 X1."));
    pane.SetSelStart(4);
    pane.SetSelLength(3);
    pane.SetSelColor(Qt::red);
    QTextCursor inside(pane.document());
    inside.setPosition(6);
    EXPECT_EQ(inside.charFormat().foreground().color(), QColor(Qt::red));
    QTextCursor before(pane.document());
    before.setPosition(2);
    EXPECT_NE(before.charFormat().foreground().color(), QColor(Qt::red));
    pane.ResetSelectionFormat();
    EXPECT_EQ(inside.charFormat().foreground().color(), pane.palette().color(QPalette::Text));
    EXPECT_EQ(pane.Text(), QStringLiteral("G01 X1."));
}

TEST(TextPane, ReportsTheRightButtonWithItsPosition)
{
    TextPane pane;
    pane.resize(200, 100);
    QSignalSpy presses(&pane, &TextPane::RightButtonDown);
    QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mousePress(pane.viewport(), Qt::RightButton, {}, QPoint(12, 7));
    ASSERT_EQ(presses.size(), 1);
    EXPECT_EQ(presses.at(0).at(0).toPoint(), pane.viewport()->mapToGlobal(QPoint(12, 7)));
}

// The scroll bar reaches every line of a long program before any of it was drawn, after a change of width
// and after lines were pasted far below the visible part.
TEST(TextPane, ScrollBarSpansEveryLine)
{
    PaneUnderTest pane;
    // a scroll bar that comes and goes would change the width and lay the text out again by itself
    pane.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.resize(300, 200);
    pane.show();
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("N%1 X1.\r\n").arg(i);
    const QScrollBar &bar = *pane.verticalScrollBar();
    const auto expectAllLines = [&](const char *when) {
        QApplication::processEvents();
        EXPECT_EQ(bar.maximum() + bar.pageStep(), pane.LineCount()) << when;
    };
    pane.SetText(text);
    expectAllLines("after the text was set");
    pane.resize(400, 250);
    expectAllLines("after the width changed");
    QMimeData data;
    data.setText(text.left(20 * 9));
    pane.SetSelStart(text.size() - 9);
    pane.insertFromMimeData(&data);
    EXPECT_EQ(pane.LineCount(), LinesOf(pane.Text()));
    expectAllLines("after lines were pasted");
}

TEST(TextPane, FindsOffsetsFarIntoALongProgram)
{
    constexpr int Lines = 200000;
    QString text;
    text.reserve(Lines * 14);
    for (int i = 0; i < Lines; ++i)
        text += QStringLiteral("N%1 X1.\r\n").arg(i, 6, 10, QLatin1Char('0'));
    TextPane pane;
    pane.SetText(text);
    EXPECT_EQ(pane.LineCount(), Lines + 1);
    EXPECT_EQ(pane.Text(), text);
    const qsizetype lineLength = 13;
    const qsizetype start = 150000 * lineLength + 1;
    pane.SetSelStart(start);
    pane.SetSelLength(lineLength);
    EXPECT_EQ(pane.SelText(), QStringLiteral("150000 X1.\r\nN"));
    pane.SetSelText(QStringLiteral("X"));
    EXPECT_EQ(pane.SelStart(), start + 1);
    EXPECT_EQ(pane.LineCount(), Lines);
}

} // namespace
