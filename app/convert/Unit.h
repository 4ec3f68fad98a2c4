#pragma once

#include "convert/UnitPass.h"

#include <QDialog>

class ConversionHost;
class QButtonGroup;

// "単位の変更": rescales the word values between 0.001 mm, 0.01 mm, mm and inch.
class Unit : public QDialog
{
    Q_OBJECT

public:
    Unit(ConversionHost &host, QWidget *parent = nullptr);

    UnitOption SelectedOption() const;

private:
    void OKButton_Click();
    void CancelButton_Click();

    ConversionHost &m_host;
    QButtonGroup *m_options;
};
