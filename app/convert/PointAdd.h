#pragma once

#include "convert/PointAddPass.h"

#include <QDialog>

class ConversionHost;
class QButtonGroup;

// "小数点の追加/削除": writes the values of the dimension words with a decimal point, or without a needless
// one.
class PointAdd : public QDialog
{
    Q_OBJECT

public:
    PointAdd(ConversionHost &host, QWidget *parent = nullptr);

    PointMode SelectedMode() const;

private:
    void OKButton_Click();
    void CancelButton_Click();

    ConversionHost &m_host;
    QButtonGroup *m_options;
};
