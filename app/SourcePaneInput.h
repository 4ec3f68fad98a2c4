#pragma once

#include <QObject>

class QKeyEvent;
class QMenu;
class TextPane;

// The source pane's keys and right button as the edit commands want them: the Insert key toggles
// overwrite mode; the shortcuts of the Edit menu (Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A) run the menu's
// commands instead of the pane's own clipboard handling, which would bypass the undo copy; the right
// button focuses the pane and opens the Edit menu at the pointer.
class SourcePaneInput : public QObject
{
    Q_OBJECT

public:
    SourcePaneInput(TextPane &source, QMenu &editMenu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsEditMenuShortcut(const QKeyEvent &event) const;
    void RichTextBox1_MouseDown(const QPoint &globalPos);

    TextPane &m_source;
    QMenu &m_editMenu;
};
