#pragma once

#include "search/CalcReplace.h"
#include "app/search/SearchMessageBox.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The calculation replace dialog: changes the number after each occurrence of the search text by
// adding, subtracting, multiplying or dividing, and writes it in the chosen style.
class frmSizeShift : public QDialog
{
    Q_OBJECT

public:
    frmSizeShift(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage,
                 QWidget *parent = nullptr);

    // Puts a text into the search box, as the calculation replace command does with the selected text.
    void SetFindText(const QString &text);

    void txtFind_Change();
    void txtValue_Change();
    void Change_Click();
    void NextFind_Click();
    void AllChange_Click();
    void Cancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    QWidget *BuildFormatFrame();
    void UpdateButtons();
    int SelectedFormat() const;
    CalcSettings Settings();
    void Show(const std::optional<SearchMessage> &message);

    SearchState &m_state;
    SearchTarget &m_target;
    ShowMessageFunction m_showMessage;
    QLineEdit *m_txtFind = nullptr;
    QComboBox *m_combo1 = nullptr;
    QLineEdit *m_txtValue = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QRadioButton *m_option3 = nullptr;
    QRadioButton *m_option4 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_nextFind = nullptr;
    QPushButton *m_allChange = nullptr;
    QPushButton *m_cancel = nullptr;
};
