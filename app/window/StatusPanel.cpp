#include "app/window/StatusPanel.h"

#include <QMouseEvent>

StatusPanel::StatusPanel(const QString &key, const QString &toolTip, QWidget *parent)
    : QLabel(parent), m_key(key)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setToolTip(toolTip);
    setIndent(4);
}

void StatusPanel::SetLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    QPalette colours = palette();
    const QPalette standard = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    colours.setColor(QPalette::WindowText,
                     standard.color(lit ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    setPalette(colours);
}

void StatusPanel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// A click is a press and a release of the left button over the same panel.
void StatusPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit Clicked(this);
}
