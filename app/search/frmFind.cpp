#include "app/search/frmFind.h"

#include "search/FindRun.h"
#include "app/search/SearchDialogFonts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmFind::frmFind(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage, QWidget *parent)
    : QDialog(parent), m_state(state), m_target(target),
      m_showMessage(showMessage ? std::move(showMessage) : MessageBoxShower(this))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("検索"));
    setAttribute(Qt::WA_DeleteOnClose); // closing destroys it: the next Find starts from the top again
    setFont(SearchDialogFont());
    BuildControls();
    connect(m_txtFind, &QLineEdit::textChanged, this, &frmFind::txtFind_Change);
    connect(m_nextFind, &QPushButton::clicked, this, &frmFind::NextFind_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &frmFind::CancelButton_Click);
}

void frmFind::BuildControls()
{
    m_label1 = new QLabel(QStringLiteral("検索文字列        :"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtFind->setMinimumWidth(260);
    m_check1 = new QCheckBox(QStringLiteral("先頭から検索"), this);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setChecked(true);
    m_nextFind = new QPushButton(QStringLiteral("次を検索"), this);
    m_nextFind->setObjectName(QStringLiteral("NextFind"));
    m_cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton *button : {m_nextFind, m_cancelButton})
        button->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_label1, 0, 0);
    layout->addWidget(m_txtFind, 0, 1);
    layout->addWidget(m_nextFind, 0, 2);
    layout->addWidget(m_check1, 1, 1);
    layout->addWidget(m_cancelButton, 1, 2);
}

void frmFind::SetFindText(const QString &text)
{
    m_txtFind->setText(text);
}

void frmFind::CheckFromTop()
{
    m_check1->setChecked(true);
}

bool frmFind::FromTop() const
{
    return m_check1->isChecked();
}

void frmFind::txtFind_Change()
{
    m_state.FindText = m_txtFind->text();
    m_state.FindCount = 0;
}

void frmFind::NextFind_Click()
{
    bool fromTop = m_check1->isChecked();
    const std::optional<SearchMessage> message = FindDialogNext(m_state, m_target, fromTop);
    m_check1->setChecked(fromTop);
    if (message)
        m_showMessage(*message);
}

void frmFind::CancelButton_Click()
{
    close();
}
