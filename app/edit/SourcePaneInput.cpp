#include "app/edit/SourcePaneInput.h"

#include "app/pane/TextPane.h"

#include <QKeyEvent>
#include <QMenu>

SourcePaneInput::SourcePaneInput(TextPane &source, QMenu &editMenu)
    : QObject(&source), m_source(source), m_editMenu(editMenu)
{
    m_source.installEventFilter(this);
}

bool SourcePaneInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_source)
        return false;
    if (event->type() == QEvent::ShortcutOverride && IsEditMenuShortcut(*static_cast<QKeyEvent *>(event))) {
        // Not accepted: the key goes to the menu entry's shortcut, not to the pane.
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            m_source.setOverwriteMode(!m_source.overwriteMode());
            return true;
        }
    }
    return false;
}

bool SourcePaneInput::IsEditMenuShortcut(const QKeyEvent &event) const
{
    const QKeySequence pressed(event.keyCombination());
    for (const QAction *entry : m_editMenu.actions()) {
        if (entry->isEnabled() && !entry->shortcut().isEmpty() && entry->shortcut() == pressed)
            return true;
    }
    return false;
}
