#pragma once

#include "search/SearchTarget.h"

#include <algorithm>

// A source pane over a plain text that also counts how often the whole text was set, so that tests see
// a run set it once.
class FakeTarget : public SearchTarget
{
public:
    explicit FakeTarget(QString text = QString(), qsizetype selStart = 0, qsizetype selLength = 0)
        : m_text(std::move(text)), m_selStart(selStart), m_selLength(selLength)
    {
    }

    QString Text() const override { return m_text; }
    void SetText(const QString &text) override
    {
        m_text = text;
        m_selStart = 0; // as a text pane does: the caret goes to the top
        m_selLength = 0;
        ++setTextCalls;
    }
    qsizetype SelStart() const override { return m_selStart; }
    void SetSelStart(qsizetype start) override
    {
        m_selStart = std::clamp<qsizetype>(start, 0, m_text.size());
        m_selLength = 0;
    }
    qsizetype SelLength() const override { return m_selLength; }
    void SetSelLength(qsizetype length) override
    {
        m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selStart);
    }
    QString SelText() const override { return m_text.mid(m_selStart, m_selLength); }
    void SetSelText(const QString &text) override
    {
        m_text.replace(m_selStart, m_selLength, text);
        m_selStart += text.size();
        m_selLength = 0;
        ++setTextCalls;
    }
    void ResetSelectionFormat() override { ++resetCalls; }

    int setTextCalls = 0;
    int resetCalls = 0;

private:
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
};
