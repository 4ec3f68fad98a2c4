#pragma once

class Clipboard;
class QAction;
class QString;
class TextPane;

// Undo, Cut, Copy, Paste and Select All on the source pane. The one undo step is `undoText`, the whole
// text from before the last Cut, Paste or conversion; typing never touches it.
class EditCommands
{
public:
    // `undo` and `paste` are the menu entries `mnuEditUndo` and `mnuEditPaste`; the toolbar buttons follow
    // them.
    EditCommands(TextPane &source, QString &undoText, Clipboard &clipboard, QAction &undo, QAction &paste);

    void Undo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();

private:
    TextPane &m_source;
    QString &m_undoText;
    Clipboard &m_clipboard;
    QAction &m_undo;
    QAction &m_paste;
};
