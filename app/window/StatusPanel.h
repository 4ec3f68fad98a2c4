#pragma once

#include <QLabel>

// One panel of the status bar: a sunken text field with a key, reporting a left-button click.
class StatusPanel : public QLabel
{
    Q_OBJECT

public:
    StatusPanel(const QString &key, const QString &toolTip, QWidget *parent);

    const QString &Key() const { return m_key; }
    // Lit shows the text in the normal colour, dimmed in the colour of disabled text; the panel stays
    // enabled either way, so that it can still be clicked.
    void SetLit(bool lit);
    bool IsLit() const { return m_lit; }

signals:
    void Clicked(StatusPanel *panel);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_key;
    bool m_lit = true;
    bool m_pressed = false;
};
