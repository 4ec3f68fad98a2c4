#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"
#include "app/pane/TextPane.h"
#include "app/window/frmMain.h"
#include "tests/support/PrintQString.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
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

class LocksAlreadyOn : public KeyboardLocks
{
public:
    bool IsOn(int) const override { return true; }
    void PressKey(int) override {}
};

} // namespace

// The Convert menu's entries open their dialog modally; its OK puts the result beside the program and
// arms the main window's OK and Cancel.
TEST(ConvertMenu, EntriesShowTheirDialogsAndOfferTheResult)
{
    const struct
    {
        const char *entry;
        const char16_t *dialog;
        const char16_t *source;
        const char16_t *result;
        bool enablesUndo;
    } cases[] = {
        {"mnuConvertG90_G91", u"G90_G91", u"G90 X10.\r\nX30.", u"G91\r\n(G90) X10\r\nX20\r\n", false},
        {"mnuConvertXY_XC", u"XY_CX", u"X10. Y10.", u"C45 X28.284\r\n", false},
        {"mnuConvertRotation", u"Spindle", u"C90.\r\nC350.", u"C90.\r\nC350. M16", true},
    };
    for (const auto &c : cases) {
        QTemporaryDir folder;
        SilentPrompter prompter;
        LocksAlreadyOn locks;
        frmMain window({prompter, locks, folder.filePath(QStringLiteral("settings.ini")), folder.path()});
        window.Form_Load({});
        window.RichTextBox1->SetText(QString::fromUtf16(c.source));
        window.SetUndoEnabled(false);
        auto *entry = window.findChild<QAction *>(QString::fromLatin1(c.entry));
        ASSERT_NE(entry, nullptr) << c.entry;
        EXPECT_TRUE(entry->isEnabled()) << c.entry;

        QString shown;
        QTimer::singleShot(0, &window, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            shown = dialog->objectName();
            dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        });
        entry->trigger();

        EXPECT_EQ(shown, QString::fromUtf16(c.dialog)) << c.entry;
        EXPECT_EQ(window.RichTextBox2->Text(), QString::fromUtf16(c.result)) << c.entry;
        EXPECT_EQ(window.RichTextBox1->Text(), QString::fromUtf16(c.source)) << c.entry;
        EXPECT_TRUE(window.Command1->isEnabled()) << c.entry;
        EXPECT_EQ(window.findChild<QAction *>(QStringLiteral("mnuEditUndo"))->isEnabled(), c.enablesUndo)
            << c.entry;
    }
}

// The G90/G91 entries typed in one opening are there at the next, through the main window's state.
TEST(ConvertMenu, G90G91EntriesLastAsLongAsTheWindow)
{
    QTemporaryDir folder;
    SilentPrompter prompter;
    LocksAlreadyOn locks;
    frmMain window({prompter, locks, folder.filePath(QStringLiteral("settings.ini")), folder.path()});
    window.Form_Load({});
    auto *entry = window.findChild<QAction *>(QStringLiteral("mnuConvertG90_G91"));
    QString seen;
    QTimer::singleShot(0, &window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        dialog->findChild<QLineEdit *>(QStringLiteral("StartX"))->setText(QStringLiteral("12.5"));
        dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
    });
    entry->trigger();
    QTimer::singleShot(0, &window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        seen = dialog->findChild<QLineEdit *>(QStringLiteral("StartX"))->text();
        dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
    });
    entry->trigger();
    EXPECT_EQ(seen, u"12.5");
}
