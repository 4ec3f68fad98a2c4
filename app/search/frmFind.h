#pragma once

#include "app/search/SearchMessageBox.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Find dialog: searches the source pane forward for the text in its box, one hit per press.
class frmFind : public QDialog
{
    Q_OBJECT

public:
    frmFind(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage,
            QWidget *parent = nullptr);

    // Puts a text into the search box, as the Find command does with the selected text.
    void SetFindText(const QString &text);
    // Checks "先頭から検索", as Find next does at the end of its run.
    void CheckFromTop();
    bool FromTop() const;

    void txtFind_Change();
    void NextFind_Click();
    void CancelButton_Click();

private:
    void BuildControls();

    SearchState &m_state;
    SearchTarget &m_target;
    ShowMessageFunction m_showMessage;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_txtFind = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_nextFind = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
