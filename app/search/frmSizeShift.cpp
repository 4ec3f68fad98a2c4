#include "app/search/frmSizeShift.h"

#include "search/CalcRun.h"
#include "app/search/SearchDialogFonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPushButton *NamedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false); // Enter presses Change only when it is made the default button
    return button;
}

QLabel *NamedLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QRadioButton *NamedOption(const QString &name, const QString &caption, QWidget *parent)
{
    auto *option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    option->setFont(SearchOptionFont());
    return option;
}

bool IsEnterKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

frmSizeShift::frmSizeShift(SearchState &state, SearchTarget &target, ShowMessageFunction showMessage,
                           QWidget *parent)
    : QDialog(parent), m_state(state), m_target(target),
      m_showMessage(showMessage ? std::move(showMessage) : MessageBoxShower(this))
{
    setObjectName(QStringLiteral("frmSizeShift"));
    setWindowTitle(QStringLiteral("計算によるデータの置換"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(SearchDialogFont());
    BuildControls();
    // A new dialog knows of no selected occurrence: its first Change press only searches.
    m_state.FirstChange = true;
    UpdateButtons();
    m_txtFind->installEventFilter(this);
    m_txtValue->installEventFilter(this);
    connect(m_txtFind, &QLineEdit::textChanged, this, &frmSizeShift::txtFind_Change);
    connect(m_txtValue, &QLineEdit::textChanged, this, &frmSizeShift::txtValue_Change);
    connect(m_change, &QPushButton::clicked, this, &frmSizeShift::Change_Click);
    connect(m_nextFind, &QPushButton::clicked, this, &frmSizeShift::NextFind_Click);
    connect(m_allChange, &QPushButton::clicked, this, &frmSizeShift::AllChange_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frmSizeShift::Cancel_Click);
}

void frmSizeShift::BuildControls()
{
    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtFind->setToolTip(QStringLiteral("例: X , Z , S , SB , DA ,etc..."));
    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->addItems(
        {QStringLiteral("＋"), QStringLiteral("－"), QStringLiteral("×"), QStringLiteral("÷")});
    m_combo1->setCurrentIndex(0);
    m_txtValue = new QLineEdit(this);
    m_txtValue->setObjectName(QStringLiteral("txtValue"));
    m_check1 = new QCheckBox(QStringLiteral("先頭から開始"), this);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setChecked(true);
    m_change = NamedButton(QStringLiteral("Change"), QStringLiteral("変　更"), this);
    m_nextFind = NamedButton(QStringLiteral("NextFind"), QStringLiteral("スキップ"), this);
    m_allChange = NamedButton(QStringLiteral("AllChange"), QStringLiteral("全て変更"), this);
    m_cancel = NamedButton(QStringLiteral("Cancel"), QStringLiteral("閉じる"), this);

    // The search row reads like the calculation: "Z ＋ 100".
    auto *layout = new QGridLayout(this);
    layout->addWidget(NamedLabel(QStringLiteral("Label4"), QStringLiteral("検索文字列"), this), 0, 0);
    layout->addWidget(NamedLabel(QStringLiteral("Label2"), QStringLiteral("計算式"), this), 0, 1);
    layout->addWidget(NamedLabel(QStringLiteral("Label3"), QStringLiteral("値"), this), 0, 2);
    layout->addWidget(m_txtFind, 1, 0);
    layout->addWidget(m_combo1, 1, 1);
    layout->addWidget(m_txtValue, 1, 2);
    layout->addWidget(BuildFormatFrame(), 2, 0, 1, 3);
    layout->addWidget(m_check1, 3, 0, 1, 3);
    layout->addWidget(
        NamedLabel(QStringLiteral("Label1"), QStringLiteral("・Z原点変更例      ： Z ＋ 100"), this), 4, 0, 1,
        3);
    layout->addWidget(
        NamedLabel(QStringLiteral("Label5"), QStringLiteral("・Xを2倍に変更     ： X × 2"), this), 5, 0, 1,
        3);
    layout->addWidget(
        NamedLabel(QStringLiteral("Label6"), QStringLiteral("・変数名=値の変更例：SB × 1.5"), this), 6, 0, 1,
        3);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_change, m_nextFind, m_allChange, m_cancel})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 3, 7, 1);
}

QWidget *frmSizeShift::BuildFormatFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("出力フォーマット"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_option4 = NamedOption(QStringLiteral("Option4"), QStringLiteral("01"), frame);
    m_option1 = NamedOption(QStringLiteral("Option1"), QStringLiteral("1"), frame);
    m_option2 = NamedOption(QStringLiteral("Option2"), QStringLiteral("1．"), frame);
    m_option3 = NamedOption(QStringLiteral("Option3"), QStringLiteral("1．0"), frame);
    m_option1->setChecked(true);

    auto *layout = new QGridLayout(frame);
    layout->addWidget(NamedLabel(QStringLiteral("Label7"), QStringLiteral("G,Mｺｰﾄﾞ"), frame), 0, 0);
    layout->addWidget(NamedLabel(QStringLiteral("Label8"), QStringLiteral("標準"), frame), 0, 1);
    layout->addWidget(NamedLabel(QStringLiteral("Label9"), QStringLiteral("小数点付き"), frame), 0, 2, 1, 2);
    layout->addWidget(m_option4, 1, 0);
    layout->addWidget(m_option1, 1, 1);
    layout->addWidget(m_option2, 1, 2);
    layout->addWidget(m_option3, 1, 3);
    return frame;
}

void frmSizeShift::SetFindText(const QString &text)
{
    m_txtFind->setText(text);
}

void frmSizeShift::UpdateButtons()
{
    const bool enabled = !m_txtFind->text().isEmpty() && !m_txtValue->text().isEmpty();
    m_nextFind->setEnabled(enabled);
    m_change->setEnabled(enabled);
    m_allChange->setEnabled(enabled);
    m_change->setDefault(enabled);
}

void frmSizeShift::txtFind_Change()
{
    UpdateButtons();
    m_state.FindText = m_txtFind->text();
    m_state.FindCount = 0;
}

void frmSizeShift::txtValue_Change()
{
    txtFind_Change(); // both boxes have the same effect
}

bool frmSizeShift::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_txtFind || watched == m_txtValue) && IsEnterKey(event)) {
        if (watched == m_txtFind)
            m_txtValue->setFocus();
        else if (!m_txtFind->text().isEmpty() && !m_txtValue->text().isEmpty())
            m_change->setFocus();
        else
            m_txtFind->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int frmSizeShift::SelectedFormat() const
{
    if (m_option1->isChecked())
        return 1;
    if (m_option2->isChecked())
        return 2;
    if (m_option3->isChecked())
        return 3;
    return 4;
}

CalcSettings frmSizeShift::Settings()
{
    // The list holds the four operators only, and the box cannot be typed into.
    const CalcOperator op = CalcOperatorOfText(m_combo1->currentText()).value_or(CalcOperator::Add);
    return {op, m_txtValue->text(), SelectedFormat()};
}

void frmSizeShift::Show(const std::optional<SearchMessage> &message)
{
    if (message)
        m_showMessage(*message);
}

void frmSizeShift::Change_Click()
{
    bool fromTop = m_check1->isChecked();
    const std::optional<SearchMessage> message = CalcChange(m_state, m_target, Settings(), fromTop);
    m_check1->setChecked(fromTop);
    Show(message);
}

void frmSizeShift::NextFind_Click()
{
    bool fromTop = m_check1->isChecked();
    const std::optional<SearchMessage> message = CalcNextFind(m_state, m_target, fromTop);
    m_check1->setChecked(fromTop);
    Show(message);
}

void frmSizeShift::AllChange_Click()
{
    bool fromTop = m_check1->isChecked();
    const RunEnd end = CalcAllChange(m_state, m_target, Settings(), fromTop);
    m_check1->setChecked(fromTop);
    Show(end.message);
}

void frmSizeShift::Cancel_Click()
{
    close();
}
