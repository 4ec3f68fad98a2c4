#include "tests/search/FakeTarget.h"
#include "app/search/SearchCommands.h"
#include "app/search/frmFind.h"
#include "app/search/frmReplace.h"
#include "app/search/frmSizeShift.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

struct Caption
{
    const char *name;
    const char16_t *text;
};

QString CaptionOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *frame = qobject_cast<QGroupBox *>(widget))
        return frame->title();
    return QStringLiteral("(no caption)");
}

void ExpectCaptions(QDialog &dialog, std::initializer_list<Caption> captions)
{
    for (const Caption &caption : captions) {
        SCOPED_TRACE(caption.name);
        auto *widget = dialog.findChild<QWidget *>(QString::fromLatin1(caption.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(CaptionOf(widget), QString::fromUtf16(caption.text));
    }
}

template <typename T> T *Child(QDialog &dialog, const char *name)
{
    T *child = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Collects the messages the dialogs would show.
struct Messages
{
    std::vector<SearchMessage> shown;
    ShowMessageFunction Function()
    {
        return [this](const SearchMessage &message) { shown.push_back(message); };
    }
};

void PressEnter(QWidget *widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(widget, &press);
}

void DeleteClosedDialogs()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(SearchDialogs, FindDialogControls)
{
    SearchState state;
    FakeTarget target;
    frmFind dialog(state, target, [](const SearchMessage &) {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("検索"));
    ExpectCaptions(dialog, {{"Label1", u"検索文字列        :"},
                            {"Check1", u"先頭から検索"},
                            {"NextFind", u"次を検索"},
                            {"CancelButton", u"ｷｬﾝｾﾙ"}});
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(dialog, "txtFind")->font().family(), QStringLiteral("ＭＳ ゴシック"));
}

TEST(SearchDialogs, ReplaceDialogControlsAndButtonRules)
{
    SearchState state;
    state.FirstChange = false;
    FakeTarget target;
    frmReplace dialog(state, target, [](const SearchMessage &) {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("文字列の置き換え"));
    ExpectCaptions(dialog, {{"Label1", u"検索文字列"},
                            {"Label2", u"置き換え文字列"},
                            {"Check1", u"先頭から開始"},
                            {"NextFind", u"スキップ"},
                            {"Change", u"変\u3000更"},
                            {"AllChange", u"全て変更"},
                            {"Cancel", u"閉じる"}});
    EXPECT_TRUE(state.FirstChange);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isChecked());
    auto *change = Child<QPushButton>(dialog, "Change");
    const char *threeButtons[] = {"NextFind", "Change", "AllChange"};
    for (const char *name : threeButtons)
        EXPECT_FALSE(Child<QPushButton>(dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(change->isDefault());

    state.FindCount = 5;
    Child<QLineEdit>(dialog, "txtFind")->setText(QStringLiteral("G01"));
    for (const char *name : threeButtons)
        EXPECT_TRUE(Child<QPushButton>(dialog, name)->isEnabled()) << name;
    EXPECT_TRUE(change->isDefault());
    EXPECT_EQ(state.FindText, QStringLiteral("G01"));
    EXPECT_EQ(state.FindCount, 0);

    state.FindCount = 5;
    Child<QLineEdit>(dialog, "txtReplace")->setText(QStringLiteral("G1"));
    EXPECT_EQ(state.ReplaceText, QStringLiteral("G1"));
    EXPECT_EQ(state.FindCount, 0);

    Child<QLineEdit>(dialog, "txtFind")->clear();
    for (const char *name : threeButtons)
        EXPECT_FALSE(Child<QPushButton>(dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(change->isDefault());
    EXPECT_EQ(state.FindText, QString());
}

TEST(SearchDialogs, CalcDialogControlsAndButtonRules)
{
    SearchState state;
    FakeTarget target;
    frmSizeShift dialog(state, target, [](const SearchMessage &) {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("計算によるデータの置換"));
    ExpectCaptions(dialog, {{"Label4", u"検索文字列"},
                            {"Label2", u"計算式"},
                            {"Label3", u"値"},
                            {"Frame1", u"出力フォーマット"},
                            {"Label7", u"G,Mｺｰﾄﾞ"},
                            {"Option4", u"01"},
                            {"Label8", u"標準"},
                            {"Option1", u"1"},
                            {"Label9", u"小数点付き"},
                            {"Option2", u"1．"},
                            {"Option3", u"1．0"},
                            {"Check1", u"先頭から開始"},
                            {"Change", u"変\u3000更"},
                            {"NextFind", u"スキップ"},
                            {"AllChange", u"全て変更"},
                            {"Cancel", u"閉じる"},
                            {"Label1", u"・Z原点変更例      ： Z ＋ 100"},
                            {"Label5", u"・Xを2倍に変更     ： X × 2"},
                            {"Label6", u"・変数名=値の変更例：SB × 1.5"}});
    auto *txtFind = Child<QLineEdit>(dialog, "txtFind");
    auto *txtValue = Child<QLineEdit>(dialog, "txtValue");
    auto *combo = Child<QComboBox>(dialog, "Combo1");
    EXPECT_EQ(txtFind->toolTip(), QStringLiteral("例: X , Z , S , SB , DA ,etc..."));
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("＋"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("－"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("×"));
    EXPECT_EQ(combo->itemText(3), QStringLiteral("÷"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("＋"));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "Option1")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(dialog, "Option1")->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(txtFind->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isChecked());
    EXPECT_TRUE(state.FirstChange);

    struct BoxCase
    {
        const char16_t *find;
        const char16_t *value;
        bool enabled;
        QWidget *focusAfterEnterInValue;
    };
    auto *change = Child<QPushButton>(dialog, "Change");
    const BoxCase cases[] = {
        // each case changes at least one box, so that the change handlers run
        {u"Z", u"100", true, change},
        {u"Z", u"", false, txtFind},
        {u"", u"100", false, txtFind},
        {u"", u"", false, txtFind},
    };
    for (const BoxCase &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.find).toStdString() + " / " +
                     QString::fromUtf16(c.value).toStdString());
        state.FindCount = 3;
        txtFind->setText(QString::fromUtf16(c.find));
        txtValue->setText(QString::fromUtf16(c.value));
        const char *threeButtons[] = {"NextFind", "Change", "AllChange"};
        for (const char *name : threeButtons)
            EXPECT_EQ(Child<QPushButton>(dialog, name)->isEnabled(), c.enabled) << name;
        EXPECT_EQ(change->isDefault(), c.enabled);
        EXPECT_EQ(state.FindText, txtFind->text());
        EXPECT_EQ(state.FindCount, 0);

        PressEnter(txtFind);
        EXPECT_EQ(dialog.focusWidget(), txtValue);
        PressEnter(txtValue);
        EXPECT_EQ(dialog.focusWidget(), c.focusAfterEnterInValue);
    }
}

TEST(SearchCommands, FindAndFindNext)
{
    SearchState state;
    FakeTarget target(QStringLiteral("G1 G10 G1"), 0, 2); // G1 selected
    Messages messages;
    int presses = 4;
    SearchCommands commands(state, target, nullptr, messages.Function(), [&](QDialog &dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtFind")->text(), QStringLiteral("G1"));
        for (int i = 0; i < presses; ++i)
            Child<QPushButton>(dialog, "NextFind")->click();
    });
    commands.Find();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              (SearchMessage{QStringLiteral("3 回 見つかりました。"), QStringLiteral("検索")}));
    ASSERT_NE(commands.FindDialog(), nullptr);
    EXPECT_TRUE(commands.FindDialog()->FromTop());

    // The dialog stays; one more search starts a new run from the top and unchecks the box.
    presses = 1;
    commands.Find();
    EXPECT_EQ(target.SelStart(), 0);
    EXPECT_FALSE(commands.FindDialog()->FromTop());

    // F3 goes on from one past the selection until its own end message, which checks the box again.
    commands.FindNext();
    EXPECT_EQ(target.SelStart(), 3);
    commands.FindNext();
    EXPECT_EQ(target.SelStart(), 7);
    commands.FindNext();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1],
              (SearchMessage{QStringLiteral("3回 見つかりました。"), QStringLiteral("検索")}));
    EXPECT_TRUE(commands.FindDialog()->FromTop());

    // Closing destroys the dialog; F3's end message creates it again, unseen, with the box checked.
    Child<QPushButton>(*commands.FindDialog(), "CancelButton")->click();
    DeleteClosedDialogs();
    EXPECT_EQ(commands.FindDialog(), nullptr);
    state.FindText = QStringLiteral("Q");
    commands.FindNext();
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("\"Q\"は見つかりませんでした。"));
    ASSERT_NE(commands.FindDialog(), nullptr);
    EXPECT_FALSE(commands.FindDialog()->isVisible());
    EXPECT_TRUE(commands.FindDialog()->FromTop());
}

TEST(SearchCommands, ReplaceDialogRuns)
{
    SearchState state;
    FakeTarget target(QStringLiteral("X1 X2 X3"), 3, 1); // the second X selected
    Messages messages;
    SearchCommands commands(state, target, nullptr, messages.Function(), [&](QDialog &dialog) {
        EXPECT_EQ(state.WorkText, QStringLiteral("X1 X2 X3"));
        EXPECT_EQ(state.FindStart, 3);
        EXPECT_TRUE(state.FirstChange);
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtFind")->text(), QStringLiteral("X"));
        EXPECT_TRUE(Child<QPushButton>(dialog, "Change")->isDefault());
        Child<QLineEdit>(dialog, "txtReplace")->setText(QStringLiteral("Y"));
        Child<QCheckBox>(dialog, "Check1")->setChecked(false);
        Child<QPushButton>(dialog, "Change")->click(); // finds the selected X again
        EXPECT_EQ(target.SelStart(), 3);
        Child<QPushButton>(dialog, "Change")->click(); // replaces it, finds the third
        Child<QPushButton>(dialog, "Change")->click(); // replaces that; nothing follows
        EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isChecked());
        Child<QPushButton>(dialog, "AllChange")->click(); // from the top: the first X
        Child<QPushButton>(dialog, "AllChange")->click(); // nothing left
    });
    commands.Replace();
    EXPECT_EQ(target.Text(), QStringLiteral("Y1 Y2 Y3"));
    ASSERT_EQ(messages.shown.size(), 3u);
    const QString title = QStringLiteral("置き換え");
    EXPECT_EQ(messages.shown[0], (SearchMessage{QStringLiteral("2 回　変更しました。"), title}));
    EXPECT_EQ(messages.shown[1], (SearchMessage{QStringLiteral("1 回 変更しました。"), title}));
    EXPECT_EQ(messages.shown[2], (SearchMessage{QStringLiteral("\"X\" 見つかりませんでした。"), title}));
}

TEST(SearchCommands, LineEndRepairChecksTheReplaceDialog)
{
    SearchState state;
    FakeTarget target(QStringLiteral("G0\nG1\n"));
    Messages messages;
    bool shown = false;
    SearchCommands commands(state, target, nullptr, messages.Function(), [&](QDialog &dialog) {
        shown = true;
        EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isChecked());
    });
    commands.AddCR();
    EXPECT_EQ(target.Text(), QStringLiteral("G0\r\nG1\r\n"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              (SearchMessage{QStringLiteral("2 回 変更しました。"), QStringLiteral("置き換え")}));
    ASSERT_NE(commands.ReplaceDialog(), nullptr);
    EXPECT_FALSE(commands.ReplaceDialog()->isVisible());
    EXPECT_TRUE(commands.ReplaceDialog()->FromTop());
    commands.Replace(); // the dialog made by the repair is the one shown
    EXPECT_TRUE(shown);
}

TEST(SearchCommands, CalcDialogRuns)
{
    SearchState state;
    FakeTarget target(QStringLiteral("G00 X10. Z5.\r\nG01 Z-20.\r\n"), 9, 1); // the first Z selected
    Messages messages;
    SearchCommands commands(state, target, nullptr, messages.Function(), [&](QDialog &dialog) {
        EXPECT_EQ(state.FindStart, 9);
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtFind")->text(), QStringLiteral("Z"));
        EXPECT_FALSE(Child<QPushButton>(dialog, "Change")->isEnabled());
        auto *txtValue = Child<QLineEdit>(dialog, "txtValue");
        txtValue->setText(QStringLiteral("1a"));
        Child<QPushButton>(dialog, "AllChange")->click(); // refused: not a number
        txtValue->setText(QStringLiteral("100"));
        Child<QRadioButton>(dialog, "Option3")->setChecked(true);
        Child<QPushButton>(dialog, "AllChange")->click();
        EXPECT_EQ(state.CalcFormat, 3);
        Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(3); // ÷
        txtValue->setText(QStringLiteral("0"));
        Child<QPushButton>(dialog, "Change")->click(); // refused: division by 0
        txtValue->setText(QStringLiteral("2"));
        Child<QRadioButton>(dialog, "Option4")->setChecked(true);
        Child<QPushButton>(dialog, "Change")->click();   // finds the first Z
        Child<QPushButton>(dialog, "Change")->click();   // halves it, finds the second
        Child<QPushButton>(dialog, "NextFind")->click(); // nothing more
    });
    commands.CalcReplace();
    EXPECT_EQ(target.Text(), QStringLiteral("G00 X10. Z53\r\nG01 Z80.0\r\n"));
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("値が数値ではありません。"));
    EXPECT_EQ(messages.shown[1],
              (SearchMessage{QStringLiteral("2 回変更しました。"), QStringLiteral("計算による変更")}));
    EXPECT_EQ(messages.shown[2].text, QStringLiteral("0 で割ることはできません。"));
    EXPECT_EQ(messages.shown[3],
              (SearchMessage{QStringLiteral("1 回変更いたしました。"), QStringLiteral("計算による変更")}));
}
