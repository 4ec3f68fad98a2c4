#pragma once

#include "convert/G90G91Pass.h"

#include <QDialog>

class ConversionHost;
class PassProgressPump;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The G90/G91 conversion dialog: direction, start point and comment options. Its entries (except the
// decimal point choice) are kept in the application state from one opening to the next.
class G90_G91 : public QDialog
{
    Q_OBJECT

public:
    G90_G91(ConversionHost &host, QWidget *parent = nullptr);

    // Closing by OK, Cancel or the window stores the entries; while a pass runs it asks the pass to stop
    // instead, and the dialog closes once it has.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void OKButton_Click();
    void CancelButton_Click();
    G90G91Options Options() const;

    ConversionHost &m_host;
    QRadioButton *m_option1[2] = {};
    QLineEdit *m_startX = nullptr;
    QLineEdit *m_startY = nullptr;
    QLineEdit *m_startZ = nullptr;
    QCheckBox *m_check1 = nullptr;
    QCheckBox *m_check2 = nullptr;
    QCheckBox *m_check3 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    PassProgressPump *m_pump = nullptr; // while a pass runs
};
