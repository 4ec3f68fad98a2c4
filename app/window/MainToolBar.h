#pragma once

#include <QString>
#include <QToolBar>

#include <span>

class QAction;

// One entry of the toolbar: a button named by its key, or a separator (empty key).
struct ToolBarEntry
{
    QString Key;
    QString ToolTip;
    QString IconName;
    // objectName of the menu entry whose command the button runs.
    const char *Command;
};

// The 19 entries in their order: file commands, edit and search commands, conversions.
std::span<const ToolBarEntry> ToolBarEntries();

// `tbToolBar`: icon-only buttons that run the menu commands of their keys. A button is enabled exactly
// when its menu entry is (so the Undo button follows `mnuEditUndo`, and a command whose menu entry is
// still disabled cannot be run from the toolbar either).
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    // `commands` holds the menu entries (QActions named `mnuFileNew`, `mnuEditUndo`, ...).
    MainToolBar(QWidget &commands, QWidget *parent);

    // The button with this key, or nullptr.
    QAction *Button(const QString &key) const;

private:
    void AddButton(const ToolBarEntry &entry);
    QAction *MenuCommand(const QString &key) const;
    void tbToolBar_ButtonClick(QAction *button);

    QWidget &m_commands;
};
