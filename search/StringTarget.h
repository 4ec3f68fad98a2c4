#pragma once

#include "search/SearchTarget.h"

// A text with a selection and nothing else: the target of the command-line tool.
class StringTarget : public SearchTarget
{
public:
    explicit StringTarget(QString text = QString()) : m_text(std::move(text)) {}

    QString Text() const override { return m_text; }
    // Like a text pane, setting the text puts the caret at the top.
    void SetText(const QString &text) override;
    qsizetype SelStart() const override { return m_selStart; }
    void SetSelStart(qsizetype start) override;
    qsizetype SelLength() const override { return m_selLength; }
    void SetSelLength(qsizetype length) override;
    QString SelText() const override { return m_text.mid(m_selStart, m_selLength); }
    void SetSelText(const QString &text) override;
    void ResetSelectionFormat() override {}

private:
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
};
