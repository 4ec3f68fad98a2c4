#include "app/convert/Space.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "app/convert/WaitCursor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

Space::Space(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("Space"));
    setWindowTitle(QStringLiteral("スペースの追加/削除"));
    m_options = new QButtonGroup(this);
    const QStringList captions = {
        QStringLiteral("スペースを1個追加"),
        QStringLiteral("シーケンス番号とスペースを追加　　N000 G00 X Z"),
        QStringLiteral("スペースを削除"),
    };
    QList<QRadioButton *> options = AddOptionButtons(this, m_options, captions);
    options[0]->setChecked(true);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(32);
    grid->addWidget(options[0], 0, 0);
    grid->addWidget(options[2], 0, 1);
    grid->addWidget(options[1], 1, 0, 1, 2);
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, grid);
    connect(buttons.ok, &QPushButton::clicked, this, &Space::OKButton_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &Space::CancelButton_Click);
}

SpaceMode Space::SelectedMode() const
{
    return static_cast<SpaceMode>(m_options->checkedId());
}

void Space::OKButton_Click()
{
    {
        WaitCursor wait;
        const QString source = m_host.SourceText();
        m_host.State().UndoText = source;
        m_host.SetResultText(ConvertSpace(source, SelectedMode()));
    }
    m_host.ShowConversionResult();
    accept();
}

void Space::CancelButton_Click()
{
    reject();
}
