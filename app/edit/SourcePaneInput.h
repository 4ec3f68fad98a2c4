#pragma once

#include <QObject>

class QKeyEvent;
class QMenu;
class TextPane;

// The source pane's keys as the edit commands want them: the Insert key toggles overwrite mode (which the
// status bar shows); the shortcuts of the Edit menu (Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A) run the menu's
// commands instead of the pane's own clipboard handling, which would bypass the undo copy.
class SourcePaneInput : public QObject
{
    Q_OBJECT

public:
    SourcePaneInput(TextPane &source, QMenu &editMenu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsEditMenuShortcut(const QKeyEvent &event) const;

    TextPane &m_source;
    QMenu &m_editMenu;
};
