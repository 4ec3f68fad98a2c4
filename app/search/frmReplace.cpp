#include "app/search/frmReplace.h"

#include "search/ReplaceRun.h"
#include "app/search/SearchDialogFonts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QPushButton *NamedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false); // Enter presses Change only when it is made the default button
    return button;
}

} // namespace

frmReplace::frmReplace(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage,
                       QWidget *parent)
    : QDialog(parent), m_state(state), m_target(target),
      m_showMessage(showMessage ? std::move(showMessage) : MessageBoxShower(this))
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("文字列の置き換え"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(SearchDialogFont());
    BuildControls();
    // A new dialog knows of no selected hit: its first Change press only searches.
    m_state.FirstChange = true;
    EnableButtons(false);
    connect(m_txtFind, &QLineEdit::textChanged, this, &frmReplace::txtFind_Change);
    connect(m_txtReplace, &QLineEdit::textChanged, this, &frmReplace::txtReplace_Change);
    connect(m_nextFind, &QPushButton::clicked, this, &frmReplace::NextFind_Click);
    connect(m_change, &QPushButton::clicked, this, &frmReplace::Change_Click);
    connect(m_allChange, &QPushButton::clicked, this, &frmReplace::AllChange_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frmReplace::Cancel_Click);
}

void frmReplace::BuildControls()
{
    auto *label1 = new QLabel(QStringLiteral("検索文字列"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtFind->setMinimumWidth(260);
    auto *label2 = new QLabel(QStringLiteral("置き換え文字列"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_txtReplace = new QLineEdit(this);
    m_txtReplace->setObjectName(QStringLiteral("txtReplace"));
    m_check1 = new QCheckBox(QStringLiteral("先頭から開始"), this);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setChecked(true);
    m_nextFind = NamedButton(QStringLiteral("NextFind"), QStringLiteral("スキップ"), this);
    m_change = NamedButton(QStringLiteral("Change"), QStringLiteral("変　更"), this);
    m_allChange = NamedButton(QStringLiteral("AllChange"), QStringLiteral("全て変更"), this);
    m_cancel = NamedButton(QStringLiteral("Cancel"), QStringLiteral("閉じる"), this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label1, 0, 0);
    layout->addWidget(m_txtFind, 0, 1);
    layout->addWidget(m_nextFind, 0, 2);
    layout->addWidget(label2, 1, 0);
    layout->addWidget(m_txtReplace, 1, 1);
    layout->addWidget(m_change, 1, 2);
    layout->addWidget(m_check1, 2, 1);
    layout->addWidget(m_allChange, 2, 2);
    layout->addWidget(m_cancel, 3, 2);
}

void frmReplace::EnableButtons(bool enabled)
{
    m_nextFind->setEnabled(enabled);
    m_change->setEnabled(enabled);
    m_allChange->setEnabled(enabled);
    m_change->setDefault(enabled);
}

void frmReplace::Show(const std::optional<SearchMessage> &message)
{
    if (message)
        m_showMessage(*message);
}

void frmReplace::SetFindText(const QString &text)
{
    m_txtFind->setText(text);
}

void frmReplace::CheckFromTop()
{
    m_check1->setChecked(true);
}

bool frmReplace::FromTop() const
{
    return m_check1->isChecked();
}

void frmReplace::txtFind_Change()
{
    EnableButtons(!m_txtFind->text().isEmpty());
    txtReplace_Change();
}

void frmReplace::txtReplace_Change()
{
    m_state.FindText = m_txtFind->text();
    m_state.ReplaceText = m_txtReplace->text();
    m_state.FindCount = 0;
}

void frmReplace::NextFind_Click()
{
    bool fromTop = m_check1->isChecked();
    const std::optional<SearchMessage> message = ReplaceNextFind(m_state, m_target, fromTop);
    m_check1->setChecked(fromTop);
    Show(message);
}

void frmReplace::Change_Click()
{
    bool fromTop = m_check1->isChecked();
    const std::optional<SearchMessage> message = ReplaceChange(m_state, m_target, fromTop);
    m_check1->setChecked(fromTop);
    Show(message);
}

void frmReplace::AllChange_Click()
{
    bool fromTop = m_check1->isChecked();
    const RunEnd end = ReplaceAllChange(m_state, m_target, fromTop);
    m_check1->setChecked(fromTop);
    Show(end.message);
}

void frmReplace::Cancel_Click()
{
    close();
}
