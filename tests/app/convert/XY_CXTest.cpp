#include "app/convert/XY_CX.h"
#include "tests/app/convert/FakeConversionHost.h"
#include "tests/app/convert/NamedChild.h"
#include "tests/support/PrintQString.h"

#include <QPushButton>
#include <QRadioButton>

TEST(XY_CXDialog, ControlsAndCaptions)
{
    FakeConversionHost host;
    XY_CX dialog(host);
    EXPECT_EQ(dialog.windowTitle(), u"XY-CX座標変換");
    const struct
    {
        const char *name;
        const char16_t *caption;
    } buttons[] = {{"Option1_0", u"XY→CX座標に変換"},
                   {"Option1_1", u"CX→XY座標に変換"},
                   {"OKButton", u"OK"},
                   {"CancelButton", u"ｷｬﾝｾﾙ"}};
    for (const auto &b : buttons)
        if (auto *button = Child<QAbstractButton>(dialog, b.name)) {
            EXPECT_EQ(button->text(), QString::fromUtf16(b.caption)) << b.name;
        }
    EXPECT_TRUE(Child<QRadioButton>(dialog, "Option1_0")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "Option1_1")->isChecked());
}

TEST(XY_CXDialog, OkConvertsInTheChosenDirection)
{
    const struct
    {
        const char *option;
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {"Option1_0", u"G01 X10. Y0\r\nY10.", u"G01 C0 X20\r\nC45X28.284\r\n"},
        {"Option1_1", u"G01 C90. X20.", u"G01 X0 Y10\r\n"},
    };
    for (const auto &c : cases) {
        FakeConversionHost host;
        host.source = QString::fromUtf16(c.source);
        XY_CX dialog(host);
        dialog.show();
        Child<QRadioButton>(dialog, c.option)->setChecked(true);
        Child<QPushButton>(dialog, "OKButton")->click();
        EXPECT_EQ(host.result, QString::fromUtf16(c.result)) << c.option;
        EXPECT_EQ(host.resultsShown, 1);
        EXPECT_EQ(host.state.UndoText, host.source); // the text before the conversion, for Undo
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.isHidden());
        EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor);
    }
}

TEST(XY_CXDialog, CancelChangesNothing)
{
    FakeConversionHost host;
    host.source = QStringLiteral("X10. Y10.");
    host.state.UndoText = QStringLiteral("before");
    XY_CX dialog(host);
    dialog.show();
    Child<QPushButton>(dialog, "CancelButton")->click();
    EXPECT_TRUE(host.result.isEmpty()); // never set
    EXPECT_EQ(host.resultsShown, 0);
    EXPECT_EQ(host.state.UndoText, u"before");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
