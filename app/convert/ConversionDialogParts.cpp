#include "app/convert/ConversionDialogParts.h"

#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QList<QRadioButton *> AddOptionButtons(QDialog *dialog, QButtonGroup *group, const QStringList &captions)
{
    QList<QRadioButton *> buttons;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        auto *button = new QRadioButton(captions[i], dialog);
        button->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group->addButton(button, int(i));
        buttons.append(button);
    }
    return buttons;
}

ConversionDialogButtons LayOutConversionDialog(QDialog *dialog, QLayout *options)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("OKButton"));
    auto *cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(24);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(options);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return {ok, cancel};
}

QFont FixedPitchCaptionFont(const QFont &base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}
