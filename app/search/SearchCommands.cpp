#include "app/search/SearchCommands.h"

#include "search/FindRun.h"
#include "search/ReplaceRun.h"
#include "app/search/frmFind.h"
#include "app/search/frmReplace.h"
#include "app/search/frmSizeShift.h"

SearchCommands::SearchCommands(SearchState &state, SearchTarget &target, QWidget *parent,
                               ShowMessageFunction showMessage, ShowModalFunction showModal)
    : m_state(state), m_target(target), m_parent(parent),
      m_showMessage(showMessage ? std::move(showMessage) : MessageBoxShower(parent)),
      m_showModal(showModal ? std::move(showModal) : [](QDialog &dialog) { dialog.exec(); })
{
}

frmFind *SearchCommands::FindDialog() const
{
    return m_find;
}

frmReplace *SearchCommands::ReplaceDialog() const
{
    return m_replace;
}

frmFind &SearchCommands::EnsureFindDialog()
{
    if (!m_find)
        m_find = new frmFind(m_state, m_target, m_showMessage, m_parent);
    return *m_find;
}

frmReplace &SearchCommands::EnsureReplaceDialog()
{
    if (!m_replace)
        m_replace = new frmReplace(m_state, m_target, m_showMessage, m_parent);
    return *m_replace;
}

void SearchCommands::Find()
{
    frmFind &dialog = EnsureFindDialog();
    dialog.SetFindText(m_target.SelText());
    m_showModal(dialog);
}

void SearchCommands::FindNext()
{
    if (const std::optional<SearchMessage> message = ::FindNext(m_state, m_target)) {
        m_showMessage(*message);
        EnsureFindDialog().CheckFromTop();
    }
}

void SearchCommands::Replace()
{
    m_state.WorkText = m_target.Text();
    m_state.FindStart = m_target.SelStart();
    frmReplace &dialog = EnsureReplaceDialog();
    dialog.SetFindText(m_target.SelText());
    m_showModal(dialog);
}

void SearchCommands::CalcReplace()
{
    m_state.WorkText = m_target.Text();
    m_state.FindStart = m_target.SelStart();
    if (!m_sizeShift)
        m_sizeShift = new frmSizeShift(m_state, m_target, m_showMessage, m_parent);
    m_sizeShift->SetFindText(m_target.SelText());
    m_showModal(*m_sizeShift);
}

void SearchCommands::AddCR()
{
    const RunEnd end = RepairLineEnds(m_state, m_target);
    m_showMessage(end.message);
    EnsureReplaceDialog().CheckFromTop();
}
