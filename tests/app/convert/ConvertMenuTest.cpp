#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "app/convert/PointAdd.h"
#include "app/convert/Space.h"
#include "app/convert/Unit.h"
#include "tests/support/PrintQString.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SilentPrompter : public Prompter
{
public:
    bool AskYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void ShowMessage(QWidget *, const QString &, const QString &, Icon) override {}
    FileChoice ChooseFileToOpen(QWidget *, const QString &, const QString &) override { return {}; }
    FileChoice ChooseFileToSave(QWidget *, const QString &, const QString &) override { return {}; }
};

class NoLocks : public KeyboardLocks
{
public:
    bool IsOn(int) const override { return false; }
    void PressKey(int) override {}
};

struct MenuCase
{
    QAction *frmMain::*entry;
    const char *dialogClass;
    int option;
    const char *button;
    const char16_t *result; // nullptr: the result pane stays idle
};

// Chooses the menu entry; once its dialog is up, picks the option and presses the button.
QString RunFromMenu(frmMain &window, const MenuCase &c, bool &sawModalDialog)
{
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        sawModalDialog = modal && modal->inherits(c.dialogClass);
        if (!modal)
            return;
        modal->findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(c.option))->click();
        modal->findChild<QPushButton *>(QString::fromLatin1(c.button))->click();
    });
    QAction *entry = window.*c.entry;
    EXPECT_TRUE(entry->isEnabled());
    entry->trigger();
    return window.RichTextBox2->Text();
}

} // namespace

TEST(ConvertMenu, EachEntryOpensItsDialogModallyAndOkFillsTheResultPane)
{
    const MenuCase cases[] = {
        {&frmMain::mnuConvertSpaceAdd, "Space", 1, "OKButton", u"N000 G00 X10 Z5\r\nN000     X20 Z-3\r\n"},
        {&frmMain::mnuConvertPointAdd, "PointAdd", 1, "OKButton", u"G0X10.0Z5.0\r\nX20.0Z-3.0\r\n"},
        {&frmMain::mnuConvertUnit, "Unit", 4, "OKButton", u"G0X10000Z5000\r\nX20000Z-3000\r\n"},
        {&frmMain::mnuConvertSpaceAdd, "Space", 2, "CancelButton", nullptr},
        {&frmMain::mnuConvertUnit, "Unit", 3, "CancelButton", nullptr},
    };
    for (const MenuCase &c : cases) {
        QTemporaryDir dir;
        SilentPrompter prompter;
        NoLocks locks;
        frmMain window({prompter, locks, dir.filePath(QStringLiteral("settings.ini")), dir.path()});
        window.Form_Load({});
        window.show();
        const QString source = QStringLiteral("G0X10Z5\r\nX20Z-3");
        window.RichTextBox1->SetText(source);

        bool sawModalDialog = false;
        const QString result = RunFromMenu(window, c, sawModalDialog);
        EXPECT_TRUE(sawModalDialog) << c.dialogClass;
        EXPECT_EQ(window.RichTextBox1->Text(), source);
        if (c.result) {
            EXPECT_EQ(result, QString::fromUtf16(c.result)) << c.dialogClass;
            EXPECT_EQ(window.State().UndoText, source);
            EXPECT_TRUE(window.Command1->isEnabled());
            EXPECT_EQ(window.Label2->text(), u"確認後[OK]を押すと左側へ反映します。");
        } else {
            EXPECT_EQ(result, QString());
            EXPECT_FALSE(window.Command1->isEnabled());
            EXPECT_EQ(window.Label2->text(), u"変換後");
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}
