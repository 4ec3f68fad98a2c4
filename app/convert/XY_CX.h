#pragma once

#include <QDialog>

class ConversionHost;
class QPushButton;
class QRadioButton;

// The XY-CX coordinate conversion dialog: the direction, OK and Cancel.
class XY_CX : public QDialog
{
    Q_OBJECT

public:
    XY_CX(ConversionHost &host, QWidget *parent = nullptr);

private:
    void BuildControls();
    void OKButton_Click();
    void CancelButton_Click();

    ConversionHost &m_host;
    QRadioButton *m_option1[2] = {};
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
