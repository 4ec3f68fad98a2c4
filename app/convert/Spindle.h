#pragma once

#include "convert/RotaryAxisPass.h"

#include <QDialog>

class ConversionHost;
class PassProgressPump;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The rotary axis shortest path dialog: the axis letter and the pair of direction M codes, each chosen
// from fixed options or typed in.
class Spindle : public QDialog
{
    Q_OBJECT

public:
    Spindle(ConversionHost &host, QWidget *parent = nullptr);

    // While a pass runs, closing asks it to stop instead; the dialog closes once it has.
    void done(int result) override;

private:
    void BuildControls();
    QWidget *BuildAxisFrame();
    QWidget *BuildCodeFrame();
    void Form_Load();
    void AxisOption_Click(bool other);
    void CodeOption_Click(bool other);
    void OKButton_Click();
    void CancelButton_Click();
    RotaryAxisOptions Options() const;

    ConversionHost &m_host;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QRadioButton *m_option3 = nullptr;
    QRadioButton *m_option4 = nullptr;
    QRadioButton *m_option5 = nullptr;
    QRadioButton *m_option6 = nullptr;
    QRadioButton *m_option7 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    PassProgressPump *m_pump = nullptr; // while a pass runs
};
