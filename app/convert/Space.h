#pragma once

#include "convert/SpacePass.h"

#include <QDialog>

class ConversionHost;
class QButtonGroup;

// "スペースの追加/削除": adds one blank after every word, numbers every block "N000", or removes the blanks.
class Space : public QDialog
{
    Q_OBJECT

public:
    Space(ConversionHost &host, QWidget *parent = nullptr);

    SpaceMode SelectedMode() const;

private:
    void OKButton_Click();
    void CancelButton_Click();

    ConversionHost &m_host;
    QButtonGroup *m_options;
};
