#include "app/edit/EditCommands.h"

#include "app/edit/Clipboard.h"
#include "app/pane/TextPane.h"

#include <QAction>

EditCommands::EditCommands(TextPane &source, QString &undoText, Clipboard &clipboard, QAction &undo,
                           QAction &paste)
    : m_source(source), m_undoText(undoText), m_clipboard(clipboard), m_undo(undo), m_paste(paste)
{
}

// Putting the text back is itself a change, which enables Undo again; the last step disables it, so
// there is no second Undo until the next change.
void EditCommands::Undo()
{
    m_clipboard.Clear();
    m_source.SetText(m_undoText);
    m_undo.setEnabled(false);
}

void EditCommands::Cut()
{
    m_undoText = m_source.Text();
    m_clipboard.Clear();
    m_clipboard.SetText(m_source.SelText());
    m_source.SetSelText(QString());
    m_undo.setEnabled(true);
    m_paste.setEnabled(true);
}

void EditCommands::Copy()
{
    m_clipboard.Clear();
    m_clipboard.SetText(m_source.SelText());
    m_paste.setEnabled(true);
}

void EditCommands::Paste()
{
    m_undoText = m_source.Text();
    m_source.SetSelText(m_clipboard.Text());
    m_undo.setEnabled(true);
}

void EditCommands::SelectAll()
{
    m_source.setFocus();
    m_source.SetSelStart(0);
    m_source.SetSelLength(m_source.SystemLength());
}
