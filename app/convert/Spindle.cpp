#include "app/convert/Spindle.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "app/convert/PassProgressPump.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
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

// A typed-in box that is in use gets the menu background, one that is not the button face, so the
// choice in force stands out.
void SetInUse(QLineEdit *box, bool inUse)
{
    box->setEnabled(inUse);
    QPalette palette = box->palette();
    const QColor background = inUse ? QApplication::palette("QMenu").color(QPalette::Window)
                                    : QApplication::palette().color(QPalette::Button);
    palette.setColor(QPalette::Base, background);
    box->setPalette(palette);
}

} // namespace

Spindle::Spindle(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("Spindle"));
    setWindowTitle(QStringLiteral("回転軸の近回り"));
    BuildControls();
    Form_Load();
}

void Spindle::BuildControls()
{
    m_progressBar1 = Named(new QProgressBar(this), "ProgressBar1");
    auto *layout = new QVBoxLayout;
    layout->addWidget(BuildAxisFrame());
    layout->addWidget(BuildCodeFrame());
    layout->addWidget(m_progressBar1);
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, layout);
    m_okButton = buttons.ok;
    m_okButton->setText(QStringLiteral("実　行"));
    m_cancelButton = buttons.cancel;
    connect(m_okButton, &QPushButton::clicked, this, &Spindle::OKButton_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &Spindle::CancelButton_Click);
}

QWidget *Spindle::BuildAxisFrame()
{
    auto *frame1 = Named(new QGroupBox(QStringLiteral("回転軸"), this), "Frame1");
    m_option1 = Named(new QRadioButton(QStringLiteral("A軸")), "Option1");
    m_option2 = Named(new QRadioButton(QStringLiteral("B軸")), "Option2");
    m_option3 = Named(new QRadioButton(QStringLiteral("C軸")), "Option3");
    m_option4 = Named(new QRadioButton(QStringLiteral("その他の軸")), "Option4");
    m_text1 = Named(new QLineEdit, "Text1");
    m_option3->setChecked(true);

    auto *grid = new QGridLayout(frame1);
    grid->addWidget(m_option1, 0, 0);
    grid->addWidget(m_option2, 1, 0);
    grid->addWidget(m_option3, 2, 0);
    grid->addWidget(m_option4, 3, 0);
    grid->addWidget(m_text1, 3, 1);

    for (QRadioButton *option : {m_option1, m_option2, m_option3})
        connect(option, &QRadioButton::clicked, this, [this] { AxisOption_Click(false); });
    connect(m_option4, &QRadioButton::clicked, this, [this] { AxisOption_Click(true); });
    return frame1;
}

QWidget *Spindle::BuildCodeFrame()
{
    auto *frame2 = Named(new QGroupBox(QStringLiteral("追加 Mコード"), this), "Frame2");
    m_option5 = Named(new QRadioButton(QStringLiteral("M15(正転)  M16(逆転)")), "Option5");
    m_option6 = Named(new QRadioButton(QStringLiteral("M115(正転) M116(逆転)")), "Option6");
    m_option7 = Named(new QRadioButton(QStringLiteral("その他のMコード")), "Option7");
    m_text2 = Named(new QLineEdit, "Text2");
    m_text3 = Named(new QLineEdit, "Text3");
    m_option5->setChecked(true);
    // The captions line up their second codes with blanks, which needs a fixed-pitch face.
    m_option5->setFont(FixedPitchCaptionFont(m_option5->font()));
    m_option6->setFont(FixedPitchCaptionFont(m_option6->font()));

    auto *grid = new QGridLayout(frame2);
    grid->addWidget(m_option5, 0, 0, 1, 4);
    grid->addWidget(m_option6, 1, 0, 1, 4);
    grid->addWidget(m_option7, 2, 0, 1, 4);
    grid->addWidget(Named(new QLabel(QStringLiteral("正転")), "Label1"), 3, 1);
    grid->addWidget(Named(new QLabel(QStringLiteral("M")), "Label2"), 3, 2);
    grid->addWidget(m_text2, 3, 3);
    grid->addWidget(Named(new QLabel(QStringLiteral("逆転")), "Label3"), 4, 1);
    grid->addWidget(Named(new QLabel(QStringLiteral("M")), "Label4"), 4, 2);
    grid->addWidget(m_text3, 4, 3);
    grid->setColumnMinimumWidth(0, 16);

    for (QRadioButton *option : {m_option5, m_option6})
        connect(option, &QRadioButton::clicked, this, [this] { CodeOption_Click(false); });
    connect(m_option7, &QRadioButton::clicked, this, [this] { CodeOption_Click(true); });
    return frame2;
}

void Spindle::Form_Load()
{
    m_progressBar1->hide();
    SetInUse(m_text1, false);
    SetInUse(m_text2, false);
    SetInUse(m_text3, false);
}

// Option1 to Option3 (other = false) and Option4 (other = true).
void Spindle::AxisOption_Click(bool other)
{
    SetInUse(m_text1, other);
}

// Option5 and Option6 (other = false) and Option7 (other = true).
void Spindle::CodeOption_Click(bool other)
{
    SetInUse(m_text2, other);
    SetInUse(m_text3, other);
}

RotaryAxisOptions Spindle::Options() const
{
    RotaryAxisOptions options;
    options.AxisLetter = m_option1->isChecked()   ? QStringLiteral("A")
                         : m_option2->isChecked() ? QStringLiteral("B")
                         : m_option3->isChecked() ? QStringLiteral("C")
                                                  : m_text1->text();
    if (m_option6->isChecked()) {
        options.ForwardCode = QStringLiteral("115");
        options.ReverseCode = QStringLiteral("116");
    } else if (m_option7->isChecked()) {
        options.ForwardCode = m_text2->text();
        options.ReverseCode = m_text3->text();
    }
    return options;
}

void Spindle::done(int result)
{
    if (m_pump) {
        m_pump->RequestCancel();
        return;
    }
    QDialog::done(result);
}

void Spindle::OKButton_Click()
{
    if (m_pump)
        return;
    const QString source = m_host.SourceText();
    m_host.State().UndoText = source;
    m_host.EnableUndo();
    RotaryAxisPass pass(Options());
    QString result;
    bool cancelled = false;
    {
        PassProgressPump pump(this, m_progressBar1);
        m_pump = &pump;
        m_okButton->setEnabled(false);
        pass.SetProgress([&pump](qsizetype done, qsizetype total) { return pump.Update(done, total); });
        result = pass.Convert(source);
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
void Spindle::CancelButton_Click()
{
    reject();
}
