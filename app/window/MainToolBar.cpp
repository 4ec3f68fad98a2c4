#include "app/window/MainToolBar.h"

#include "app/edit/EditIcons.h"

#include <QAction>

#include <array>

namespace {

// Icons are ours; see app/icons (drawn by tools/icons).
const std::array<ToolBarEntry, 19> Entries = {{
    {"新規", "新規", "new", "mnuFileNew"},
    {"開く", "開く", "open", "mnuFileOpen"},
    {"名前を付けて保存", "名前を付けて保存", "saveas", "mnuFileSaveAs"},
    {"", "", "", nullptr},
    {"元に戻す", "元に戻す", "undo", "mnuEditUndo"},
    {"切り取り", "切り取り", "cut", "mnuEditCut"},
    {"コピー", "コピー", "copy", "mnuEditCopy"},
    {"貼り付け", "貼り付け", "paste", "mnuEditPaste"},
    {"検索", "検索", "find", "mnuEditFind"},
    {"置換", "置換", "replace", "mnuEditReplace"},
    {"計算置換", "計算による置換 (原点移動・拡大・縮小など)", "calcreplace", "mnuEditCalReplace"},
    {"", "", "", nullptr},
    {"回転軸の近回り", "回転軸の近回りMコード追加", "rotary", "mnuConvertRotation"},
    {"SpaceAdd", "スペースの追加/削除", "spaceadd", "mnuConvertSpaceAdd"},
    {"PointAdd", "小数点の追加/削除", "pointadd", "mnuConvertPointAdd"},
    {"XY-CX座標変換", "XY-CX座標変換", "xycx", "mnuConvertXY_XC"},
    {"G90-G91の変換", "G90-G91の変換", "g90g91", "mnuConvertG90_G91"},
    {"単位の変更", "単位の変更", "unit", "mnuConvertUnit"},
    {"機種間の変換", "機種間の変換", "machine", "mnuConvertMachine"},
}};

} // namespace

std::span<const ToolBarEntry> ToolBarEntries()
{
    return Entries;
}

MainToolBar::MainToolBar(QWidget &commands, QWidget *parent) : QToolBar(parent), m_commands(commands)
{
    setObjectName("tbToolBar");
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);
    for (const ToolBarEntry &entry : Entries) {
        if (entry.Key.isEmpty())
            addSeparator();
        else
            AddButton(entry);
    }
    connect(this, &QToolBar::actionTriggered, this, &MainToolBar::tbToolBar_ButtonClick);
}

QAction *MainToolBar::Button(const QString &key) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void MainToolBar::AddButton(const ToolBarEntry &entry)
{
    QAction *button = addAction(app::EditIcon(entry.IconName), entry.Key);
    button->setData(entry.Key);
    button->setToolTip(entry.ToolTip);
    QAction *command = MenuCommand(entry.Key);
    button->setEnabled(command != nullptr && command->isEnabled());
    if (command != nullptr)
        connect(command, &QAction::changed, button,
                [button, command] { button->setEnabled(command->isEnabled()); });
}

QAction *MainToolBar::MenuCommand(const QString &key) const
{
    for (const ToolBarEntry &entry : Entries) {
        if (entry.Command != nullptr && entry.Key == key)
            return m_commands.findChild<QAction *>(entry.Command);
    }
    return nullptr;
}

void MainToolBar::tbToolBar_ButtonClick(QAction *button)
{
    QAction *command = MenuCommand(button->data().toString());
    if (command != nullptr && command->isEnabled())
        command->trigger();
}
