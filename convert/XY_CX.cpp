#include "convert/XY_CX.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "convert/XyCxPass.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

XY_CX::XY_CX(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setWindowTitle(QStringLiteral("XY-CX座標変換"));
    BuildControls();
}

void XY_CX::BuildControls()
{
    m_option1[0] = new QRadioButton(QStringLiteral("XY→CX座標に変換"));
    m_option1[0]->setObjectName(QStringLiteral("Option1_0"));
    m_option1[0]->setChecked(true);
    m_option1[1] = new QRadioButton(QStringLiteral("CX→XY座標に変換"));
    m_option1[1]->setObjectName(QStringLiteral("Option1_1"));
    m_okButton = new QPushButton(QStringLiteral("OK"));
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *options = new QVBoxLayout;
    options->addWidget(m_option1[0]);
    options->addWidget(m_option1[1]);
    options->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &XY_CX::OKButton_Click);
    connect(m_cancelButton, &QPushButton::clicked, this, &XY_CX::CancelButton_Click);
}

void XY_CX::OKButton_Click()
{
    setCursor(Qt::WaitCursor);
    const QString source = m_host.SourceText();
    m_host.State().UndoText = source;
    const QString result =
        ConvertXyCx(source, m_option1[0]->isChecked() ? XyCxDirection::ToCx : XyCxDirection::ToXy);
    unsetCursor();
    m_host.SetResultText(result);
    m_host.ShowConversionResult();
    accept();
}

void XY_CX::CancelButton_Click()
{
    reject();
}
