#include "app/window/MainToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct Button
{
    const char *key;
    const char *toolTip;
    const char *command; // nullptr: a separator
};

// The toolbar as the user sees it, left to right, and the menu command each button runs.
const Button Expected[] = {
    {"新規", "新規", "mnuFileNew"},
    {"開く", "開く", "mnuFileOpen"},
    {"名前を付けて保存", "名前を付けて保存", "mnuFileSaveAs"},
    {"", "", nullptr},
    {"元に戻す", "元に戻す", "mnuEditUndo"},
    {"切り取り", "切り取り", "mnuEditCut"},
    {"コピー", "コピー", "mnuEditCopy"},
    {"貼り付け", "貼り付け", "mnuEditPaste"},
    {"検索", "検索", "mnuEditFind"},
    {"置換", "置換", "mnuEditReplace"},
    {"計算置換", "計算による置換 (原点移動・拡大・縮小など)", "mnuEditCalReplace"},
    {"", "", nullptr},
    {"回転軸の近回り", "回転軸の近回りMコード追加", "mnuConvertRotation"},
    {"SpaceAdd", "スペースの追加/削除", "mnuConvertSpaceAdd"},
    {"PointAdd", "小数点の追加/削除", "mnuConvertPointAdd"},
    {"XY-CX座標変換", "XY-CX座標変換", "mnuConvertXY_XC"},
    {"G90-G91の変換", "G90-G91の変換", "mnuConvertG90_G91"},
    {"単位の変更", "単位の変更", "mnuConvertUnit"},
    {"機種間の変換", "機種間の変換", "mnuConvertMachine"},
};

// Menu entries that have no button: a click must never reach them.
const char *const NoButton[] = {"mnuFileSave",     "mnuFileExit", "mnuEditAllSelect",
                                "mnuEditNextFind", "mnuAddCR",    "mnuHelpAbout"};

// A main window with every menu entry, recording which entries ran.
class MenuWindow
{
public:
    MenuWindow()
    {
        QMenu *menu = m_window.menuBar()->addMenu("menu");
        for (const Button &button : Expected) {
            if (button.command != nullptr)
                AddEntry(menu, button.command);
        }
        for (const char *name : NoButton)
            AddEntry(menu, name);
    }

    QMainWindow &Window() { return m_window; }
    QAction *Entry(const char *name) { return m_window.findChild<QAction *>(name); }
    QStringList TakeRun() { return std::exchange(m_run, {}); }

private:
    void AddEntry(QMenu *menu, const char *name)
    {
        QAction *entry = menu->addAction(name);
        entry->setObjectName(name);
        QObject::connect(entry, &QAction::triggered, [this, name] { m_run << name; });
    }

    QMainWindow m_window;
    QStringList m_run;
};

TEST(ToolbarTest, HasTheNineteenEntriesInOrderWithKeysToolTipsAndIcons)
{
    MenuWindow menus;
    MainToolBar toolbar(menus.Window(), nullptr);
    EXPECT_EQ(toolbar.objectName(), "tbToolBar");
    EXPECT_EQ(toolbar.toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QList<QAction *> entries = toolbar.actions();
    ASSERT_EQ(entries.size(), std::size(Expected));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const Button &expected = Expected[i];
        EXPECT_EQ(entries[i]->isSeparator(), expected.command == nullptr);
        if (expected.command == nullptr)
            continue;
        EXPECT_EQ(entries[i]->data().toString(), QString(expected.key));
        EXPECT_EQ(entries[i]->toolTip(), QString(expected.toolTip));
        EXPECT_FALSE(entries[i]->icon().pixmap(24, 24).isNull());
        EXPECT_EQ(toolbar.Button(expected.key), entries[i]);
    }
}

TEST(ToolbarTest, EachButtonRunsTheMenuCommandOfItsKeyAndNothingElse)
{
    MenuWindow menus;
    auto *toolbar = new MainToolBar(menus.Window(), &menus.Window());
    menus.Window().addToolBar(toolbar);
    menus.Window().show();
    for (const Button &button : Expected) {
        if (button.command == nullptr)
            continue;
        SCOPED_TRACE(button.key);
        QWidget *widget = toolbar->widgetForAction(toolbar->Button(button.key));
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
        EXPECT_EQ(menus.TakeRun(), QStringList{button.command});
    }
}

TEST(ToolbarTest, ButtonIsEnabledExactlyWhenItsMenuEntryIs)
{
    MenuWindow menus;
    menus.Entry("mnuEditUndo")->setEnabled(false);
    menus.Entry("mnuConvertMachine")->setEnabled(false);
    auto *toolbar = new MainToolBar(menus.Window(), &menus.Window());
    menus.Window().addToolBar(toolbar);
    menus.Window().show();
    EXPECT_FALSE(toolbar->Button("元に戻す")->isEnabled());
    EXPECT_FALSE(toolbar->Button("機種間の変換")->isEnabled());
    EXPECT_TRUE(toolbar->Button("貼り付け")->isEnabled());

    // A disabled button cannot run its command.
    QTest::mouseClick(toolbar->widgetForAction(toolbar->Button("元に戻す")), Qt::LeftButton);
    EXPECT_TRUE(menus.TakeRun().isEmpty());

    menus.Entry("mnuEditUndo")->setEnabled(true);
    EXPECT_TRUE(toolbar->Button("元に戻す")->isEnabled());
    QTest::mouseClick(toolbar->widgetForAction(toolbar->Button("元に戻す")), Qt::LeftButton);
    EXPECT_EQ(menus.TakeRun(), QStringList{"mnuEditUndo"});

    menus.Entry("mnuEditPaste")->setEnabled(false);
    EXPECT_FALSE(toolbar->Button("貼り付け")->isEnabled());
}

TEST(ToolbarTest, ButtonWithoutMenuEntryIsDisabled)
{
    QMainWindow bare;
    MainToolBar toolbar(bare, nullptr);
    for (QAction *entry : toolbar.actions()) {
        if (!entry->isSeparator()) {
            EXPECT_FALSE(entry->isEnabled()) << entry->data().toString().toStdString();
        }
    }
}

} // namespace
