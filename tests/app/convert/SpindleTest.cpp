#include "app/convert/Spindle.h"
#include "tests/app/convert/FakeConversionHost.h"
#include "tests/app/convert/NamedChild.h"
#include "tests/support/PrintQString.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

TEST(SpindleDialog, ControlsAndCaptions)
{
    FakeConversionHost host;
    Spindle dialog(host);
    EXPECT_EQ(dialog.windowTitle(), u"回転軸の近回り");
    const struct
    {
        const char *name;
        const char16_t *caption;
    } buttons[] = {
        {"Option1", u"A軸"},
        {"Option2", u"B軸"},
        {"Option3", u"C軸"},
        {"Option4", u"その他の軸"},
        {"Option5", u"M15(正転)  M16(逆転)"},
        {"Option6", u"M115(正転) M116(逆転)"},
        {"Option7", u"その他のMコード"},
        {"OKButton", u"実　行"},
        {"CancelButton", u"ｷｬﾝｾﾙ"},
    };
    for (const auto &b : buttons)
        if (auto *button = Child<QAbstractButton>(dialog, b.name)) {
            EXPECT_EQ(button->text(), QString::fromUtf16(b.caption)) << b.name;
        }
    EXPECT_EQ(Child<QGroupBox>(dialog, "Frame1")->title(), u"回転軸");
    EXPECT_EQ(Child<QGroupBox>(dialog, "Frame2")->title(), u"追加 Mコード");
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_EQ(labels.count(u"正転"_qs), 1);
    EXPECT_EQ(labels.count(u"逆転"_qs), 1);
    EXPECT_EQ(labels.count(u"M"_qs), 2);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "Option3")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "Option5")->isChecked());
    EXPECT_TRUE(Child<QProgressBar>(dialog, "ProgressBar1")->isHidden());
    for (const char *box : {"Text1", "Text2", "Text3"})
        EXPECT_FALSE(Child<QLineEdit>(dialog, box)->isEnabled()) << box;
}

// A typed-in box is usable only while its "other" option is chosen; its background tells which.
TEST(SpindleDialog, TheOtherOptionsEnableTheirBoxes)
{
    const struct
    {
        const char *click;
        bool text1, text2, text3;
    } steps[] = {
        {"Option4", true, false, false},  {"Option7", true, true, true},   {"Option1", false, true, true},
        {"Option6", false, false, false}, {"Option4", true, false, false}, {"Option2", false, false, false},
        {"Option7", false, true, true},   {"Option3", false, true, true},  {"Option5", false, false, false},
    };
    FakeConversionHost host;
    Spindle dialog(host);
    dialog.show();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    const QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
    for (const auto &s : steps) {
        Child<QRadioButton>(dialog, s.click)->click();
        const struct
        {
            const char *name;
            bool enabled;
        } boxes[] = {{"Text1", s.text1}, {"Text2", s.text2}, {"Text3", s.text3}};
        for (const auto &b : boxes) {
            auto *box = Child<QLineEdit>(dialog, b.name);
            EXPECT_EQ(box->isEnabled(), b.enabled) << s.click << " " << b.name;
            EXPECT_EQ(box->palette().color(QPalette::Base), b.enabled ? menu : buttonFace)
                << s.click << " " << b.name;
        }
    }
}

TEST(SpindleDialog, OkAppendsTheCodesAndEnablesUndo)
{
    const struct
    {
        const char *name;
        const char *axis;
        const char16_t *text1;
        const char *codes;
        const char16_t *text2, *text3;
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {"defaults", "Option3", u"", "Option5", u"", u"", u"G00 C90.\r\nC350.\r\nC10.",
         u"G00 C90.\r\nC350. M16\r\nC10. M15"},
        {"axis A, M115/M116", "Option1", u"", "Option6", u"", u"", u"A350.\r\nC10.\r\n",
         u"A350. M116\r\nC10.\r\n"},
        {"axis B", "Option2", u"", "Option5", u"", u"", u"B350.\r\n", u"B350. M16\r\n"},
        {"other axis and codes", "Option4", u"W", "Option7", u"25", u"26", u"W350.\r\nW10.\r\n",
         u"W350. M26\r\nW10. M25\r\n"},
        {"lower-case other axis matches nothing", "Option4", u"c", "Option5", u"", u"", u"c350. C350.\r\n",
         u"c350. C350.\r\n"},
        {"empty other axis", "Option4", u"", "Option5", u"", u"", u"C350.\r\n", u"C350.\r\n"},
        {"empty other codes", "Option3", u"", "Option7", u"", u"", u"C350.\r\n", u"C350.\r\n"},
        {"empty program", "Option3", u"", "Option5", u"", u"", u"", u""},
    };
    for (const auto &c : cases) {
        FakeConversionHost host;
        host.source = QString::fromUtf16(c.source);
        Spindle dialog(host);
        dialog.show();
        Child<QRadioButton>(dialog, c.axis)->click();
        Child<QRadioButton>(dialog, c.codes)->click();
        Child<QLineEdit>(dialog, "Text1")->setText(QString::fromUtf16(c.text1));
        Child<QLineEdit>(dialog, "Text2")->setText(QString::fromUtf16(c.text2));
        Child<QLineEdit>(dialog, "Text3")->setText(QString::fromUtf16(c.text3));
        Child<QPushButton>(dialog, "OKButton")->click();

        EXPECT_EQ(host.result, QString::fromUtf16(c.result)) << c.name;
        EXPECT_EQ(host.resultsShown, 1) << c.name;
        EXPECT_EQ(host.state.UndoText, host.source) << c.name;
        EXPECT_EQ(host.undoEnabled, 1) << c.name;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.name;
        EXPECT_TRUE(Child<QProgressBar>(dialog, "ProgressBar1")->isHidden()) << c.name;
        EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor) << c.name;
    }
}

TEST(SpindleDialog, CancelChangesNothing)
{
    FakeConversionHost host;
    host.source = QStringLiteral("C350.\r\n");
    Spindle dialog(host);
    dialog.show();
    Child<QPushButton>(dialog, "CancelButton")->click();
    EXPECT_TRUE(host.result.isEmpty()); // never set
    EXPECT_EQ(host.undoEnabled, 0);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(SpindleDialog, CancelDuringThePassStopsItAndOffersNothing)
{
    FakeConversionHost host;
    for (int i = 0; i < 2000; ++i)
        host.source += QStringLiteral("G00 C%1.\r\n").arg(i * 97 % 360);
    Spindle dialog(host);
    auto *bar = Child<QProgressBar>(dialog, "ProgressBar1");
    auto *ok = Child<QPushButton>(dialog, "OKButton");
    dialog.show();
    bool barShown = false, okDisabled = false, hourglass = false;
    QTimer::singleShot(0, &dialog, [&] {
        barShown = bar->isVisible();
        okDisabled = !ok->isEnabled();
        hourglass = dialog.cursor().shape() == Qt::WaitCursor;
        Child<QPushButton>(dialog, "CancelButton")->click();
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
}
