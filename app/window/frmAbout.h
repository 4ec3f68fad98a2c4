#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: application icon, title and version, and an OK button that closes it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent);

    // "Ver. " and the major, minor and revision numbers of the build, each a plain integer.
    static QString VersionText();

private:
    void BuildControls();
    void Form_Load();
    void cmdOK_Click();

    QLabel *m_picIcon;
    QLabel *m_lblTitle;
    QLabel *m_lblVersion;
    QPushButton *m_cmdOK;
};
