#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QDialog;
class QLayout;
class QPushButton;
class QRadioButton;

// The pieces every conversion dialog shares: its exclusive group of options "Option1_0", "Option1_1", ...
// and its "OK" and "ｷｬﾝｾﾙ" buttons below them, OK on the left.

// Makes one option button per caption, each in `group` with its index as id; none is checked yet.
QList<QRadioButton *> AddOptionButtons(QDialog *dialog, QButtonGroup *group, const QStringList &captions);

struct ConversionDialogButtons
{
    QPushButton *ok;
    QPushButton *cancel;
};

// Puts `options` above the OK and Cancel buttons; the dialog keeps the size its contents need.
ConversionDialogButtons LayOutConversionDialog(QDialog *dialog, QLayout *options);

// The fixed-pitch "ＭＳ ゴシック" where it exists, else a fixed-pitch face with Japanese glyphs, so that
// blanks line up the texts of captions.
QFont FixedPitchCaptionFont(const QFont &base);
