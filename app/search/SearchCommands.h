#pragma once

#include "app/search/SearchMessageBox.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <QPointer>
#include <functional>

class QDialog;
class QWidget;
class frmFind;
class frmReplace;
class frmSizeShift;

// The Edit and Convert menu commands of search and replace, over the source pane. The main window owns
// one and calls it from its menu and toolbar handlers. The Find and Replace dialogs may exist without
// being shown (Find next and the line-end repair check their "from the top" boxes), so this keeps them
// until they close.
class SearchCommands
{
public:
    // Shows a dialog modally; tests replace it to press buttons instead of waiting for the user.
    using ShowModalFunction = std::function<void(QDialog &)>;

    SearchCommands(SearchState &state, SearchTarget &target, QWidget *parent,
                   ShowMessageFunction showMessage = ShowMessageFunction(),
                   ShowModalFunction showModal = ShowModalFunction());

    void Find();        // 検索: the Find dialog with the selected text
    void FindNext();    // 次を検索 (F3), without a dialog
    void Replace();     // 置換: the Replace dialog
    void CalcReplace(); // 計算による置換: the calculation replace dialog
    void AddCR();       // 改行コードにCR追加: a CR before every LF

    // The dialogs while they exist (null after they closed).
    frmFind *FindDialog() const;
    frmReplace *ReplaceDialog() const;

private:
    frmFind &EnsureFindDialog();
    frmReplace &EnsureReplaceDialog();

    SearchState &m_state;
    SearchTarget &m_target;
    QWidget *m_parent;
    ShowMessageFunction m_showMessage;
    ShowModalFunction m_showModal;
    QPointer<frmFind> m_find;
    QPointer<frmReplace> m_replace;
    QPointer<frmSizeShift> m_sizeShift;
};
