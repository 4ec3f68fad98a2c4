#include "app/convert/PointAdd.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "app/convert/WaitCursor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

PointAdd::PointAdd(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("PointAdd"));
    setWindowTitle(QStringLiteral("小数点の追加/削除"));
    m_options = new QButtonGroup(this);
    const QStringList captions = {
        QStringLiteral("小数点の追加 ( 1． )"),
        QStringLiteral("小数点の追加 ( 1．0 )"),
        QStringLiteral("小数点の削除"),
    };
    QList<QRadioButton *> options = AddOptionButtons(this, m_options, captions);
    options[0]->setChecked(true);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(32);
    grid->addWidget(options[0], 0, 0);
    grid->addWidget(options[2], 0, 1);
    grid->addWidget(options[1], 1, 0);
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, grid);
    connect(buttons.ok, &QPushButton::clicked, this, &PointAdd::OKButton_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &PointAdd::CancelButton_Click);
}

PointMode PointAdd::SelectedMode() const
{
    return static_cast<PointMode>(m_options->checkedId());
}

void PointAdd::OKButton_Click()
{
    {
        WaitCursor wait;
        const QString source = m_host.SourceText();
        m_host.State().UndoText = source;
        m_host.SetResultText(ConvertPointAdd(source, SelectedMode()));
    }
    m_host.ShowConversionResult();
    accept();
}

void PointAdd::CancelButton_Click()
{
    reject();
}
