#include "app/window/frmMain.h"

#include "app/edit/EditCommands.h"
#include "app/pane/TextPane.h"
#include "app/search/SearchCommands.h"
#include "app/search/TextPaneTarget.h"
#include "app/window/Prompter.h"
#include "app/window/frmAbout.h"

#include <QMenu>

// The Edit menu: search and replace over the source pane, the edit commands, the context menu.

// ---- search and replace ----

void frmMain::CreateSearchCommands()
{
    m_sourceTarget = std::make_unique<TextPaneTarget>(*RichTextBox1);
    // Search messages are titled by the command, with an OK button only and no icon.
    auto showMessage = [this](const SearchMessage &message) {
        m_prompter.ShowMessage(this, message.title, message.text, Prompter::Icon::None);
    };
    m_search = std::make_unique<SearchCommands>(m_state.Search, *m_sourceTarget, this, showMessage);
}

void frmMain::mnuEditFind_Click()
{
    m_search->Find();
}

void frmMain::mnuEditNextFind_Click()
{
    m_search->FindNext();
}

void frmMain::mnuEditReplace_Click()
{
    m_search->Replace();
}

void frmMain::mnuEditCalReplace_Click()
{
    m_search->CalcReplace();
}

void frmMain::mnuAddCR_Click()
{
    m_search->AddCR();
}

// ---- edit commands, context menu and about box ----

void frmMain::mnuEditUndo_Click()
{
    m_editCommands->Undo();
}

void frmMain::mnuEditCut_Click()
{
    m_editCommands->Cut();
}

void frmMain::mnuEditCopy_Click()
{
    m_editCommands->Copy();
}

void frmMain::mnuEditPaste_Click()
{
    m_editCommands->Paste();
}

void frmMain::mnuEditAllSelect_Click()
{
    m_editCommands->SelectAll();
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

// The Edit menu is also the source pane's context menu; the result pane has none.
void frmMain::RichTextBox1_MouseDown(const QPoint &globalPos)
{
    RichTextBox1->setFocus();
    mnuEdit->popup(globalPos);
}
