#include "app/convert/Unit.h"

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "app/convert/ConversionDialogParts.h"
#include "app/convert/WaitCursor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

Unit::Unit(ConversionHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("Unit"));
    setWindowTitle(QStringLiteral("単位の変更"));
    m_options = new QButtonGroup(this);
    // The blanks put every arrow of a column in the same place, in a fixed-pitch font.
    const QStringList captions = {
        QStringLiteral("0.001 mm → 1 mm"), QStringLiteral("0.01  mm → 1 mm"),
        QStringLiteral("  1 inch → 1 mm"), QStringLiteral("1 mm → 1 inch"),
        QStringLiteral("1 mm → 0.001 mm"), QStringLiteral("1 mm → 0.01  mm"),
    };
    QList<QRadioButton *> options = AddOptionButtons(this, m_options, captions);
    const QFont captionFont = FixedPitchCaptionFont(font());
    for (QRadioButton *option : options)
        option->setFont(captionFont);
    options[0]->setChecked(true);

    // Each row pairs a conversion with its reverse.
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(32);
    const int leftColumn[] = {0, 1, 2};
    const int rightColumn[] = {4, 5, 3};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(options[leftColumn[row]], row, 0);
        grid->addWidget(options[rightColumn[row]], row, 1);
    }
    const ConversionDialogButtons buttons = LayOutConversionDialog(this, grid);
    connect(buttons.ok, &QPushButton::clicked, this, &Unit::OKButton_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &Unit::CancelButton_Click);
}

UnitOption Unit::SelectedOption() const
{
    return static_cast<UnitOption>(m_options->checkedId());
}

void Unit::OKButton_Click()
{
    {
        WaitCursor wait;
        const QString source = m_host.SourceText();
        m_host.State().UndoText = source;
        m_host.SetResultText(ConvertUnit(source, SelectedOption()));
    }
    m_host.ShowConversionResult();
    accept();
}

void Unit::CancelButton_Click()
{
    reject();
}
