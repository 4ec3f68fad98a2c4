#include "app/search/TextPaneTarget.h"

#include "app/pane/TextPane.h"

QString TextPaneTarget::Text() const
{
    return m_pane.Text();
}

void TextPaneTarget::SetText(const QString &text)
{
    m_pane.SetText(text);
}

qsizetype TextPaneTarget::SelStart() const
{
    return m_pane.SelStart();
}

void TextPaneTarget::SetSelStart(qsizetype start)
{
    m_pane.SetSelStart(start);
}

qsizetype TextPaneTarget::SelLength() const
{
    return m_pane.SelLength();
}

void TextPaneTarget::SetSelLength(qsizetype length)
{
    m_pane.SetSelLength(length);
}

QString TextPaneTarget::SelText() const
{
    return m_pane.SelText();
}

void TextPaneTarget::SetSelText(const QString &text)
{
    m_pane.SetSelText(text);
}

void TextPaneTarget::ResetSelectionFormat()
{
    m_pane.ResetSelectionFormat();
}
