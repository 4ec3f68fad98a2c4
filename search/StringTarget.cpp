#include "search/StringTarget.h"

#include <algorithm>

void StringTarget::SetText(const QString &text)
{
    m_text = text;
    m_selStart = 0;
    m_selLength = 0;
}

void StringTarget::SetSelStart(qsizetype start)
{
    m_selStart = std::clamp<qsizetype>(start, 0, m_text.size());
    m_selLength = 0;
}

void StringTarget::SetSelLength(qsizetype length)
{
    m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selStart);
}

void StringTarget::SetSelText(const QString &text)
{
    m_text.replace(m_selStart, m_selLength, text);
    m_selStart += text.size();
    m_selLength = 0;
}
