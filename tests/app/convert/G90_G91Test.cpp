#include "app/convert/G90_G91.h"
#include "tests/app/convert/FakeConversionHost.h"
#include "tests/app/convert/NamedChild.h"
#include "tests/support/PrintQString.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const char16_t *const Example = u"O0001\r\nG90 G00 X10. Y20.\r\nX30.\r\nM30\r\n";

} // namespace

TEST(G90_G91Dialog, ControlsAndCaptions)
{
    FakeConversionHost host;
    G90_G91 dialog(host);
    EXPECT_EQ(dialog.windowTitle(), u"G90-G91の変換");
    const struct
    {
        const char *name;
        const char16_t *caption;
    } buttons[] = {
        {"Option1_0", u"G90→G91に変換"}, {"Option1_1", u"G91→G90に変換"}, {"Check1", u"開始座標出力"},
        {"Check2", u"終点座標出力"},     {"Check3", u"小数点出力"},       {"OKButton", u"OK"},
        {"CancelButton", u"ｷｬﾝｾﾙ"},
    };
    for (const auto &b : buttons)
        if (auto *button = Child<QAbstractButton>(dialog, b.name)) {
            EXPECT_EQ(button->text(), QString::fromUtf16(b.caption)) << b.name;
        }
    const struct
    {
        const char *name;
        const char16_t *caption;
    } labels[] = {{"Label1_0", u"X"}, {"Label1_1", u"Y"}, {"Label1_2", u"Z"}};
    for (const auto &l : labels)
        if (auto *label = Child<QLabel>(dialog, l.name)) {
            EXPECT_EQ(label->text(), QString::fromUtf16(l.caption)) << l.name;
        }
    EXPECT_EQ(Child<QGroupBox>(dialog, "Frame1")->title(), u"開始座標");
    for (const char *box : {"StartX", "StartY", "StartZ"})
        EXPECT_EQ(Child<QLineEdit>(dialog, box)->text(), u"") << box;
    EXPECT_TRUE(Child<QRadioButton>(dialog, "Option1_0")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "Check1")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "Check3")->isChecked());
    EXPECT_TRUE(Child<QProgressBar>(dialog, "ProgressBar1")->isHidden());
}

// Everything but the decimal point choice comes back at the next opening, whether the dialog was
// closed by OK or by Cancel.
TEST(G90_G91Dialog, EntriesAreKeptFromOneOpeningToTheNext)
{
    FakeConversionHost host;
    host.source = QString::fromUtf16(Example);
    const struct
    {
        const char *closeBy;
        const char16_t *x, *y, *z;
        bool start, end, toIncremental;
    } cases[] = {
        {"CancelButton", u"1.5", u"abc", u"", true, false, false},
        {"OKButton", u"-2", u"", u"7", false, true, true},
        {"CancelButton", u"", u"", u"", true, true, false},
    };
    for (const auto &c : cases) {
        {
            G90_G91 dialog(host);
            Child<QLineEdit>(dialog, "StartX")->setText(QString::fromUtf16(c.x));
            Child<QLineEdit>(dialog, "StartY")->setText(QString::fromUtf16(c.y));
            Child<QLineEdit>(dialog, "StartZ")->setText(QString::fromUtf16(c.z));
            Child<QCheckBox>(dialog, "Check1")->setChecked(c.start);
            Child<QCheckBox>(dialog, "Check2")->setChecked(c.end);
            Child<QCheckBox>(dialog, "Check3")->setChecked(true);
            Child<QRadioButton>(dialog, c.toIncremental ? "Option1_0" : "Option1_1")->setChecked(true);
            Child<QPushButton>(dialog, c.closeBy)->click();
            EXPECT_TRUE(dialog.isHidden());
        }
        const G90G91Memory &memory = host.state.G90G91;
        EXPECT_EQ(memory.StartXText, QString::fromUtf16(c.x));
        EXPECT_EQ(memory.StartYText, QString::fromUtf16(c.y));
        EXPECT_EQ(memory.StartZText, QString::fromUtf16(c.z));
        EXPECT_EQ(memory.StartCommentOn, c.start);
        EXPECT_EQ(memory.EndCommentOn, c.end);
        EXPECT_EQ(memory.ToIncremental, c.toIncremental);

        G90_G91 reopened(host);
        EXPECT_EQ(Child<QLineEdit>(reopened, "StartX")->text(), QString::fromUtf16(c.x));
        EXPECT_EQ(Child<QLineEdit>(reopened, "StartY")->text(), QString::fromUtf16(c.y));
        EXPECT_EQ(Child<QLineEdit>(reopened, "StartZ")->text(), QString::fromUtf16(c.z));
        EXPECT_EQ(Child<QCheckBox>(reopened, "Check1")->isChecked(), c.start);
        EXPECT_EQ(Child<QCheckBox>(reopened, "Check2")->isChecked(), c.end);
        EXPECT_FALSE(Child<QCheckBox>(reopened, "Check3")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(reopened, "Option1_0")->isChecked(), c.toIncremental);
        EXPECT_EQ(Child<QRadioButton>(reopened, "Option1_1")->isChecked(), !c.toIncremental);
    }
}

TEST(G90_G91Dialog, OkConvertsWithTheEntriesAndOffersTheResult)
{
    const struct
    {
        const char *name;
        const char *option;
        const char16_t *x, *y, *z;
        bool start, end, point;
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {"worked example", "Option1_0", u"0", u"0", u"0", true, true, false, Example,
         u"O0001\r\n(CONVERT START G90 X0 Y0 Z0)\r\nG91\r\n(G90) G00 X10 Y20\r\nX20\r\nM30\r\n"
         u"(END POINT G90 X30 Y20 Z0)\r\n"},
        {"to absolute from 5,0,0", "Option1_1", u"5", u"", u"", false, false, false, u"G91 X10.",
         u"G90\r\n(G91) X15\r\n"},
        {"decimal point", "Option1_0", u"", u"", u"", false, false, true, u"X10. Z-2.5",
         u"G91\r\nX10. Z-2.5\r\n"},
    };
    for (const auto &c : cases) {
        FakeConversionHost host;
        host.source = QString::fromUtf16(c.source);
        host.state.UndoText = QStringLiteral("before");
        G90_G91 dialog(host);
        Child<QRadioButton>(dialog, c.option)->setChecked(true);
        Child<QLineEdit>(dialog, "StartX")->setText(QString::fromUtf16(c.x));
        Child<QLineEdit>(dialog, "StartY")->setText(QString::fromUtf16(c.y));
        Child<QLineEdit>(dialog, "StartZ")->setText(QString::fromUtf16(c.z));
        Child<QCheckBox>(dialog, "Check1")->setChecked(c.start);
        Child<QCheckBox>(dialog, "Check2")->setChecked(c.end);
        Child<QCheckBox>(dialog, "Check3")->setChecked(c.point);
        dialog.show();
        Child<QPushButton>(dialog, "OKButton")->click();

        EXPECT_EQ(host.result, QString::fromUtf16(c.result)) << c.name;
        EXPECT_EQ(host.resultsShown, 1) << c.name;
        EXPECT_EQ(host.state.UndoText, u"before") << c.name; // this conversion keeps no undo copy
        EXPECT_EQ(host.undoEnabled, 0) << c.name;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.name;
        EXPECT_TRUE(dialog.isHidden()) << c.name;
        EXPECT_TRUE(Child<QProgressBar>(dialog, "ProgressBar1")->isHidden()) << c.name;
        EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor) << c.name;
    }
}

TEST(G90_G91Dialog, EnterMovesThroughTheStartBoxesToOk)
{
    FakeConversionHost host;
    G90_G91 dialog(host);
    dialog.show();
    auto *startX = Child<QLineEdit>(dialog, "StartX");
    auto *startY = Child<QLineEdit>(dialog, "StartY");
    auto *startZ = Child<QLineEdit>(dialog, "StartZ");
    auto *ok = Child<QPushButton>(dialog, "OKButton");
    const struct
    {
        QWidget *from;
        Qt::Key key;
        QWidget *to;
    } moves[] = {
        {startX, Qt::Key_Return, startY}, {startY, Qt::Key_Enter, startZ}, {startZ, Qt::Key_Return, ok}};
    for (const auto &m : moves) {
        m.from->setFocus();
        QTest::keyClick(m.from, m.key);
        EXPECT_EQ(dialog.focusWidget(), m.to) << m.from->objectName().toStdString();
    }
    EXPECT_TRUE(host.result.isEmpty()); // never set
    EXPECT_FALSE(dialog.isHidden());

    // Other keys reach the box.
    startX->setFocus();
    QTest::keyClicks(startX, QStringLiteral("-7.5"));
    EXPECT_EQ(startX->text(), u"-7.5");
}

// Cancel pressed while the pass runs (the pass lets events through) stops it; nothing is offered and
// the entries are still kept.
TEST(G90_G91Dialog, CancelDuringThePassStopsItAndOffersNothing)
{
    FakeConversionHost host;
    for (int i = 0; i < 2000; ++i)
        host.source += QStringLiteral("G01 X%1. Y%2.\r\n").arg(i).arg(i % 7);
    G90_G91 dialog(host);
    Child<QLineEdit>(dialog, "StartX")->setText(QStringLiteral("12"));
    auto *bar = Child<QProgressBar>(dialog, "ProgressBar1");
    auto *ok = Child<QPushButton>(dialog, "OKButton");
    dialog.show();
    bool barShown = false, okDisabled = false, hourglass = false;
    QTimer::singleShot(0, &dialog, [&] {
        barShown = bar->isVisible();
        okDisabled = !ok->isEnabled();
        hourglass = dialog.cursor().shape() == Qt::WaitCursor;
        Child<QPushButton>(dialog, "CancelButton")->click();
        EXPECT_FALSE(dialog.isHidden()); // the dialog waits for the pass to stop
    });
    ok->click();

    EXPECT_TRUE(barShown);
    EXPECT_TRUE(okDisabled);
    EXPECT_TRUE(hourglass);
    EXPECT_TRUE(host.result.isEmpty()); // never set
    EXPECT_EQ(host.resultsShown, 0);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_TRUE(bar->isHidden());
    EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(host.state.G90G91.StartXText, u"12");
}
