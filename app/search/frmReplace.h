#pragma once

#include "app/search/SearchMessageBox.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Replace dialog: replaces hits of the search text in the source pane one at a time or all at once.
class frmReplace : public QDialog
{
    Q_OBJECT

public:
    frmReplace(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage,
               QWidget *parent = nullptr);

    // Puts a text into the search box, as the Replace command does with the selected text.
    void SetFindText(const QString &text);
    // Checks "先頭から開始", as the line-end repair does.
    void CheckFromTop();
    bool FromTop() const;

    void txtFind_Change();
    void txtReplace_Change();
    void NextFind_Click();
    void Change_Click();
    void AllChange_Click();
    void Cancel_Click();

private:
    void BuildControls();
    void EnableButtons(bool enabled);
    void Show(const std::optional<SearchMessage> &message);

    SearchState &m_state;
    SearchTarget &m_target;
    ShowMessageFunction m_showMessage;
    QLineEdit *m_txtFind = nullptr;
    QLineEdit *m_txtReplace = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_nextFind = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_allChange = nullptr;
    QPushButton *m_cancel = nullptr;
};
