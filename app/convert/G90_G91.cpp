#include "app/convert/G90_G91.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "app/convert/PassProgressPump.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

G90_G91::G90_G91(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("G90_G91"));
    setWindowTitle(QStringLiteral("G90-G91の変換"));
    BuildControls();
    Form_Load();
}

void G90_G91::BuildControls()
{
    auto *group = new QButtonGroup(this);
    const QList<QRadioButton *> options =
        AddOptionButtons(this, group, {QStringLiteral("G90→G91に変換"), QStringLiteral("G91→G90に変換")});
    m_option1[0] = options[0];
    m_option1[1] = options[1];

    auto *frame1 = Named(new QGroupBox(QStringLiteral("開始座標"), this), "Frame1");
    auto *startGrid = new QGridLayout(frame1);
    m_startX = Named(new QLineEdit(frame1), "StartX");
    m_startY = Named(new QLineEdit(frame1), "StartY");
    m_startZ = Named(new QLineEdit(frame1), "StartZ");
    const char *labelNames[] = {"Label1_0", "Label1_1", "Label1_2"};
    const QString axes[] = {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")};
    QLineEdit *boxes[] = {m_startX, m_startY, m_startZ};
    for (int i = 0; i < 3; ++i) {
        startGrid->addWidget(Named(new QLabel(axes[i], frame1), labelNames[i]), i, 0);
        startGrid->addWidget(boxes[i], i, 1);
        boxes[i]->installEventFilter(this);
    }

    m_check1 = Named(new QCheckBox(QStringLiteral("開始座標出力"), this), "Check1");
    m_check2 = Named(new QCheckBox(QStringLiteral("終点座標出力"), this), "Check2");
    m_check3 = Named(new QCheckBox(QStringLiteral("小数点出力"), this), "Check3");
    m_progressBar1 = Named(new QProgressBar(this), "ProgressBar1");

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_option1[0]);
    layout->addWidget(m_option1[1]);
    layout->addWidget(frame1);
    layout->addWidget(m_check1);
    layout->addWidget(m_check2);
    layout->addWidget(m_check3);
    layout->addWidget(m_progressBar1);
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, layout);
    m_okButton = buttons.ok;
    m_cancelButton = buttons.cancel;
    connect(m_okButton, &QPushButton::clicked, this, &G90_G91::OKButton_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &G90_G91::CancelButton_Click);
}

void G90_G91::Form_Load()
{
    const G90G91Memory &memory = m_host.State().G90G91;
    m_startX->setText(memory.StartXText);
    m_startY->setText(memory.StartYText);
    m_startZ->setText(memory.StartZText);
    m_check1->setChecked(memory.StartCommentOn);
    m_check2->setChecked(memory.EndCommentOn);
    m_option1[memory.ToIncremental ? 0 : 1]->setChecked(true);
    m_progressBar1->hide();
}

void G90_G91::Form_Unload()
{
    G90G91Memory &memory = m_host.State().G90G91;
    memory.StartXText = m_startX->text();
    memory.StartYText = m_startY->text();
    memory.StartZText = m_startZ->text();
    memory.StartCommentOn = m_check1->isChecked();
    memory.EndCommentOn = m_check2->isChecked();
    memory.ToIncremental = m_option1[0]->isChecked();
}

void G90_G91::done(int result)
{
    if (m_pump) {
        m_pump->RequestCancel();
        return;
    }
    Form_Unload();
    QDialog::done(result);
}

// Enter moves on from one start box to the next and from the last to OKButton, instead of pressing OK.
bool G90_G91::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QWidget *next = watched == m_startX   ? static_cast<QWidget *>(m_startY)
                            : watched == m_startY ? static_cast<QWidget *>(m_startZ)
                            : watched == m_startZ ? static_cast<QWidget *>(m_okButton)
                                                  : nullptr;
            if (next) {
                next->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

G90G91Options G90_G91::Options() const
{
    G90G91Options options;
    options.ToIncremental = m_option1[0]->isChecked();
    options.StartXText = m_startX->text();
    options.StartYText = m_startY->text();
    options.StartZText = m_startZ->text();
    options.StartComment = m_check1->isChecked();
    options.EndComment = m_check2->isChecked();
    options.DecimalPoint = m_check3->isChecked();
    return options;
}

void G90_G91::OKButton_Click()
{
    if (m_pump)
        return;
    const QString source = m_host.SourceText();
    // The bar counts the program's lines.
    const qsizetype lines = source.count(u"\r\n") + 1;
    qsizetype lineCount = 0;
    G90G91Pass pass(Options());
    QString result;
    bool cancelled = false;
    {
        PassProgressPump pump(this, m_progressBar1);
        m_pump = &pump;
        m_okButton->setEnabled(false);
        pass.SetProgress([&](qsizetype, qsizetype) { return pump.Update(++lineCount, lines); });
        result = pass.Run(source);
        cancelled = pass.Cancelled() || pump.CancelRequested();
        m_okButton->setEnabled(true);
        m_pump = nullptr;
    }
    if (cancelled) {
        reject();
        return;
    }
    m_host.SetResultText(result);
    m_host.ShowConversionResult();
    accept();
}

// Pressed while a pass runs, Cancel stops it and nothing is offered (done() asks the pass to stop).
void G90_G91::CancelButton_Click()
{
    reject();
}
