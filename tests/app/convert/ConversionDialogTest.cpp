#include "app/convert/PointAdd.h"
#include "app/convert/Space.h"
#include "app/convert/Unit.h"
#include "tests/app/convert/FakeConversionHost.h"
#include "tests/support/PrintQString.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

enum class Kind
{
    Space,
    PointAdd,
    Unit
};

std::unique_ptr<QDialog> MakeDialog(Kind kind, ConversionHost &host)
{
    switch (kind) {
    case Kind::Space:
        return std::make_unique<Space>(host);
    case Kind::PointAdd:
        return std::make_unique<PointAdd>(host);
    case Kind::Unit:
        return std::make_unique<Unit>(host);
    }
    return nullptr;
}

QRadioButton *Option(QDialog &dialog, int index)
{
    return dialog.findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(index));
}

QPushButton *Button(QDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QString::fromLatin1(name));
}

// The top left corner of a control in the dialog's coordinates.
QPoint At(QDialog &dialog, QWidget *widget)
{
    return widget->mapTo(&dialog, QPoint(0, 0));
}

struct Captions
{
    Kind kind;
    const char16_t *title;
    QList<const char16_t *> options;
};

const Captions AllCaptions[] = {
    {Kind::Space,
     u"スペースの追加/削除",
     {u"スペースを1個追加", u"シーケンス番号とスペースを追加　　N000 G00 X Z", u"スペースを削除"}},
    {Kind::PointAdd,
     u"小数点の追加/削除",
     {u"小数点の追加 ( 1． )", u"小数点の追加 ( 1．0 )", u"小数点の削除"}},
    {Kind::Unit,
     u"単位の変更",
     {u"0.001 mm → 1 mm", u"0.01  mm → 1 mm", u"  1 inch → 1 mm", u"1 mm → 1 inch", u"1 mm → 0.001 mm",
      u"1 mm → 0.01  mm"}},
};

} // namespace

TEST(ConversionDialog, OpensOnTheFirstOptionWithItsCaptions)
{
    for (const Captions &c : AllCaptions) {
        FakeConversionHost host;
        std::unique_ptr<QDialog> dialog = MakeDialog(c.kind, host);
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf16(c.title));
        EXPECT_EQ(dialog->findChildren<QRadioButton *>().size(), c.options.size());
        for (int i = 0; i < c.options.size(); ++i) {
            QRadioButton *option = Option(*dialog, i);
            ASSERT_NE(option, nullptr) << i;
            EXPECT_EQ(option->text(), QString::fromUtf16(c.options[i]));
            EXPECT_EQ(option->isChecked(), i == 0) << i;
        }
        ASSERT_NE(Button(*dialog, "OKButton"), nullptr);
        ASSERT_NE(Button(*dialog, "CancelButton"), nullptr);
        EXPECT_EQ(Button(*dialog, "OKButton")->text(), u"OK");
        EXPECT_EQ(Button(*dialog, "CancelButton")->text(), u"ｷｬﾝｾﾙ");
    }
}

TEST(ConversionDialog, OkConvertsWithTheChosenOptionAndOffersTheResult)
{
    struct Case
    {
        Kind kind;
        int option;
        const char16_t *source;
        const char16_t *result;
    } cases[] = {
        {Kind::Space, 0, u"G0X10Z5\r\nX20Z-3\r\n", u"G0 X10 Z5\r\nX20 Z-3\r\n"},
        {Kind::Space, 1, u"G0X10Z5\r\nX20Z-3\r\n", u"N000 G00 X10 Z5\r\nN000     X20 Z-3\r\n"},
        {Kind::Space, 2, u"G0 X10 Z5", u"G0X10Z5\r\n"},
        {Kind::PointAdd, 0, u"X10 Z-5", u"X10. Z-5.\r\n"},
        {Kind::PointAdd, 1, u"X10 Z-5", u"X10.0 Z-5.0\r\n"},
        {Kind::PointAdd, 2, u"X10. Z-5.0", u"X10 Z-5\r\n"},
        {Kind::Unit, 0, u"X12345", u"X12.345\r\n"},
        {Kind::Unit, 1, u"X12345", u"X123.45\r\n"},
        {Kind::Unit, 2, u"X1.", u"X25.4\r\n"},
        {Kind::Unit, 3, u"X25.4", u"X1\r\n"},
        {Kind::Unit, 4, u"X1.5", u"X1500\r\n"},
        {Kind::Unit, 5, u"X1.5", u"X150\r\n"},
    };
    for (const Case &c : cases) {
        FakeConversionHost host;
        host.source = QString::fromUtf16(c.source);
        std::unique_ptr<QDialog> dialog = MakeDialog(c.kind, host);
        dialog->show();
        Option(*dialog, c.option)->click();
        Button(*dialog, "OKButton")->click();
        EXPECT_EQ(host.result, QString::fromUtf16(c.result)) << int(c.kind) << " option " << c.option;
        EXPECT_EQ(host.state.UndoText, host.source);
        EXPECT_EQ(host.resultsShown, 1);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(ConversionDialog, CancelChangesNothing)
{
    for (Kind kind : {Kind::Space, Kind::PointAdd, Kind::Unit}) {
        FakeConversionHost host;
        host.source = QStringLiteral("G0X1\r\n");
        host.result = QStringLiteral("earlier result");
        host.state.UndoText = QStringLiteral("earlier undo");
        std::unique_ptr<QDialog> dialog = MakeDialog(kind, host);
        dialog->show();
        Option(*dialog, 1)->click();
        Button(*dialog, "CancelButton")->click();
        EXPECT_EQ(host.result, u"earlier result");
        EXPECT_EQ(host.state.UndoText, u"earlier undo");
        EXPECT_EQ(host.resultsShown, 0);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_FALSE(dialog->isVisible());
    }
}

// Options 0 and 2 share the first row (0 on the left), option 1 is below them, OK and Cancel at the bottom.
TEST(ConversionDialog, SpaceAndPointAddLayout)
{
    for (Kind kind : {Kind::Space, Kind::PointAdd}) {
        FakeConversionHost host;
        std::unique_ptr<QDialog> dialog = MakeDialog(kind, host);
        dialog->show();
        QDialog &d = *dialog;
        EXPECT_EQ(At(d, Option(d, 0)).y(), At(d, Option(d, 2)).y());
        EXPECT_LT(At(d, Option(d, 0)).x(), At(d, Option(d, 2)).x());
        EXPECT_GT(At(d, Option(d, 1)).y(), At(d, Option(d, 0)).y());
        EXPECT_EQ(At(d, Option(d, 1)).x(), At(d, Option(d, 0)).x());
        EXPECT_GT(At(d, Button(d, "OKButton")).y(), At(d, Option(d, 1)).y());
        EXPECT_EQ(At(d, Button(d, "OKButton")).y(), At(d, Button(d, "CancelButton")).y());
        EXPECT_LT(At(d, Button(d, "OKButton")).x(), At(d, Button(d, "CancelButton")).x());
    }
}

// Two columns of three, each row a conversion beside its reverse.
TEST(ConversionDialog, UnitLayoutPairsEachConversionWithItsReverse)
{
    FakeConversionHost host;
    Unit dialog(host);
    dialog.show();
    const int left[] = {0, 1, 2};
    const int right[] = {4, 5, 3};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(At(dialog, Option(dialog, left[row])).y(), At(dialog, Option(dialog, right[row])).y())
            << row;
        EXPECT_LT(At(dialog, Option(dialog, left[row])).x(), At(dialog, Option(dialog, right[row])).x())
            << row;
        EXPECT_EQ(At(dialog, Option(dialog, left[row])).x(), At(dialog, Option(dialog, 0)).x()) << row;
        EXPECT_EQ(At(dialog, Option(dialog, right[row])).x(), At(dialog, Option(dialog, 4)).x()) << row;
        if (row > 0) {
            EXPECT_GT(At(dialog, Option(dialog, left[row])).y(),
                      At(dialog, Option(dialog, left[row - 1])).y());
        }
    }
    EXPECT_GT(At(dialog, Button(dialog, "OKButton")).y(), At(dialog, Option(dialog, 2)).y());
    EXPECT_LT(At(dialog, Button(dialog, "OKButton")).x(), At(dialog, Button(dialog, "CancelButton")).x());
}

// The arrows of a column stand in one place: the texts before them are as wide in the captions' font.
TEST(ConversionDialog, UnitCaptionsLineUpTheirArrows)
{
    FakeConversionHost host;
    Unit dialog(host);
    for (const QList<int> &column : {QList<int>{0, 1, 2}, QList<int>{4, 5, 3}}) {
        QList<int> widths;
        for (int index : column) {
            QRadioButton *option = Option(dialog, index);
            const QFontMetrics metrics(option->font());
            // Fixed pitch for the characters of the captions (a Japanese fixed-pitch face has wider kanji).
            EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'm'))
                << QFontInfo(option->font()).family().toStdString();
            EXPECT_EQ(metrics.horizontalAdvance(u' '), metrics.horizontalAdvance(u'0'));
            const QString caption = option->text();
            widths.append(metrics.horizontalAdvance(caption.left(caption.indexOf(u'→'))));
        }
        EXPECT_EQ(widths[0], widths[1]);
        EXPECT_EQ(widths[0], widths[2]);
    }
}

// Every control gets at least the room its text asks for.
TEST(ConversionDialog, NothingIsClipped)
{
    for (Kind kind : {Kind::Space, Kind::PointAdd, Kind::Unit}) {
        FakeConversionHost host;
        std::unique_ptr<QDialog> dialog = MakeDialog(kind, host);
        dialog->show();
        QList<QWidget *> controls;
        for (QRadioButton *option : dialog->findChildren<QRadioButton *>())
            controls.append(option);
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            controls.append(button);
        for (QWidget *control : controls) {
            EXPECT_GE(control->width(), control->sizeHint().width()) << control->objectName().toStdString();
            EXPECT_GE(control->height(), control->sizeHint().height()) << control->objectName().toStdString();
            EXPECT_TRUE(dialog->rect().contains(QRect(At(*dialog, control), control->size())))
                << control->objectName().toStdString();
        }
    }
}
