#include "app/convert/XY_CX.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "convert/XyCxPass.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

XY_CX::XY_CX(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("XY_CX"));
    setWindowTitle(QStringLiteral("XY-CX座標変換"));
    BuildControls();
}

void XY_CX::BuildControls()
{
    auto *group = new QButtonGroup(this);
    const QList<QRadioButton *> options =
        AddOptionButtons(this, group, {QStringLiteral("XY→CX座標に変換"), QStringLiteral("CX→XY座標に変換")});
    m_option1[0] = options[0];
    m_option1[1] = options[1];
    m_option1[0]->setChecked(true);

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_option1[0]);
    layout->addWidget(m_option1[1]);
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, layout);
    m_okButton = buttons.ok;
    m_cancelButton = buttons.cancel;
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
